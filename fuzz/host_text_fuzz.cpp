// Feeds arbitrary text to the number and date parsers and formats the
// results back. Parsers either succeed or say no; a parsed value must format
// and, for dates, parse again to the same value.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "vorn/host/DateTimeText.h"
#include "vorn/host/NumberText.h"
#include "vorn/host/Variant.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  using namespace vorn;
  std::string text(reinterpret_cast<const char*>(bytes), size);
  TFormatSettings settings = DefaultFormatSettings();
  settings.TwoDigitYearCenturyWindow = 0;

  int64_t integer;
  if (TryStrToInt64(text, integer) && StrToInt64(IntToStr(integer)) != integer) std::abort();
  double number;
  if (TryStrToFloat(text, number, settings)) {
    FloatToStr(number, settings);
    FormatFloat("#,##0.00;(#,##0.00);zero", number, settings);
  }
  // The text itself as a number format.
  FormatFloat(text, 1234.5678, settings);
  FormatFloat(text, -0.001, settings);

  TDateTime date;
  if (TryStrToDateTime(text, date, settings)) {
    std::string shown = FormatDateTime("mm/dd/yyyy hh:nn:ss.zzz", date, settings);
    TDateTime again;
    if (!TryStrToDateTime(shown, again, settings) || again != date) std::abort();
  }
  // The text as a date format, on a date before the origin.
  FormatDateTime(text.substr(0, 64), -1.25, settings);
  return 0;
}
