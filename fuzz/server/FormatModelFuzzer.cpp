// Feeds arbitrary models and texts to the server's format models: the date
// models of TO_CHAR(date) and TO_DATE, the number models of TO_CHAR(number)
// and TO_NUMBER. A model either compiles or raises ORA-01821 / ORA-01481; a
// compiled model formats every value in the DATE range and every finite
// number, and parses any text, succeeding or raising an ORA error. Anything
// else (a crash, a read out of bounds, another exception) is a finding.
// A date a model printed and parsed back is a valid DATE.
//
// Input: a selector byte (bit 0: a comma as the decimal character and a
// period as the group separator), the model up to the first newline, then
// the text that TO_DATE and TO_NUMBER read. The text also picks the values
// formatted: its first eight bytes as DATE seconds (folded into the range)
// and as a double.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "value/DateFormat.h"
#include "value/NumberFormat.h"
#include "value/OraDate.h"
#include "value/OraError.h"
#include "value/OraNumber.h"

namespace {

using namespace vorn::server;

int64_t foldIntoDateRange(int64_t seconds) {
  const int64_t low = minDateSeconds();
  const int64_t span = maxDateSeconds() - low + 1;
  int64_t offset = seconds % span;
  if (offset < 0) offset += span;
  return low + offset;
}

void fuzzDateModel(std::string_view model, std::string_view text, int64_t seconds) {
  std::unique_ptr<DateFormat> format;
  try {
    format = std::make_unique<DateFormat>(model);
  } catch (const OraError&) {
    return;
  }
  const OraDate now = OraDate::fromSeconds(1700000000);
  std::string printed;
  for (int64_t value : {foldIntoDateRange(seconds), minDateSeconds(), maxDateSeconds(),
                        int64_t{951782400} /* 29-FEB-2000 */}) {
    try {
      printed = format->format(OraDate::fromSeconds(value));
    } catch (const OraError&) {
      continue;
    }
    try {
      if (!format->parse(printed, now).isValid()) std::abort();
    } catch (const OraError&) {
    }
  }
  try {
    OraDate parsed = format->parse(text, now);
    if (!parsed.isValid()) std::abort();
    format->format(parsed);
  } catch (const OraError&) {
  }
}

void fuzzNumberModel(std::string_view model, std::string_view text, double real,
                     const NlsSettings& nls) {
  std::unique_ptr<NumberFormat> format;
  try {
    format = std::make_unique<NumberFormat>(model, nls);
  } catch (const OraError&) {
    return;
  }
  for (OraNumber value : {OraNumber::fromDouble(std::isfinite(real) ? real : 0.5), OraNumber(0),
                          OraNumber(INT64_MIN), OraNumber(INT64_MAX),
                          OraNumber::fromDouble(-1.5e125), OraNumber::fromDouble(9.99e-130)}) {
    try {
      std::string printed = format->format(value);
      format->parse(printed);
    } catch (const OraError&) {
    }
  }
  try {
    format->format(format->parse(text));
  } catch (const OraError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t selector = data[0];
  std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  const size_t newline = rest.find('\n');
  const std::string_view model = rest.substr(0, newline);
  const std::string_view text =
      newline == std::string_view::npos ? std::string_view() : rest.substr(newline + 1);

  int64_t seconds = 0;
  double real = 0;
  if (!text.empty()) {
    std::memcpy(&seconds, text.data(), std::min(sizeof seconds, text.size()));
    std::memcpy(&real, text.data(), std::min(sizeof real, text.size()));
  }

  NlsSettings nls;
  if (selector & 1) nls.numericCharacters = ",.";
  fuzzDateModel(model, text, seconds);
  fuzzNumberModel(model, text, real, nls);
  return 0;
}
