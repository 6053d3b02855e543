// Properties over many generated inputs (fixed seeds, so every run checks
// the same cases): conversions read back what they write, and arbitrary
// text or models give a value or an OraError, never anything else.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "value/DateFormat.h"
#include "value/NumberBytes.h"
#include "value/NumberFormat.h"
#include "value/NumberFunctions.h"
#include "value/OraDate.h"
#include "value/OraError.h"
#include "value/StorageFit.h"

namespace vorn::server {
namespace {

constexpr int kRounds = 20000;

double randomDouble(std::mt19937_64& rng) {
  std::uniform_real_distribution<double> mantissa(1.0, 10.0);
  std::uniform_int_distribution<int> exponent(-120, 120);
  std::uniform_int_distribution<int> kind(0, 3);
  double v = mantissa(rng) * std::pow(10.0, exponent(rng));
  switch (kind(rng)) {
    case 0:  // amounts with two decimals
      v = std::round(mantissa(rng) * 1e6) / 100;
      break;
    case 1:  // ordinary magnitudes
      v = mantissa(rng) * std::pow(10.0, exponent(rng) / 10);
      break;
    default:
      break;
  }
  return (rng() & 1) ? -v : v;
}

std::string randomText(std::mt19937_64& rng, const std::string& alphabet, int maxLength) {
  std::uniform_int_distribution<int> len(0, maxLength);
  std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
  std::string s;
  for (int i = len(rng); i > 0; --i)
    s += alphabet[pick(rng)];
  return s;
}

int significantDigits(const std::string& text) {
  std::string mantissa = text.substr(0, text.find('E'));
  std::string digits;
  for (char c : mantissa)
    if (c >= '0' && c <= '9') digits += c;
  size_t b = digits.find_first_not_of('0'), e = digits.find_last_not_of('0');
  return b == std::string::npos ? 0 : static_cast<int>(e - b + 1);
}

TEST(ValueProperties, NumberTextReadsBackAsTheFifteenDigitValue) {
  std::mt19937_64 rng(1);
  for (int i = 0; i < kRounds; ++i) {
    double v = randomDouble(rng);
    OraNumber n = OraNumber::fromDouble(v);
    std::string text = numberToText(n);
    OraNumber back = textToNumber(text);
    if (n.isInteger()) {  // integral doubles in int64 range are integers: exact
      ASSERT_TRUE(back.isInteger());
      ASSERT_EQ(back.integer(), n.integer()) << text;
      continue;
    }
    ASSERT_LE(significantDigits(text), 15) << text;
    ASSERT_TRUE(back == OraNumber::fromDouble(roundTo15Digits(v))) << v << " -> " << text;
  }
}

TEST(ValueProperties, IntegersAreExactEverywhere) {
  std::mt19937_64 rng(2);
  for (int i = 0; i < kRounds; ++i) {
    auto v = static_cast<int64_t>(rng()) >> (rng() % 63);
    OraNumber n(v);
    ASSERT_EQ(textToNumber(numberToText(n)).integer(), v);
    unsigned char bytes[kNumberBytesMax];
    size_t len = encodeNumber(n, bytes);
    OraNumber back = decodeNumber(bytes, len);
    ASSERT_TRUE(back.isInteger());
    ASSERT_EQ(back.integer(), v);
  }
}

TEST(ValueProperties, NumberBytesRoundTripDoubles) {
  std::mt19937_64 rng(3);
  for (int i = 0; i < kRounds; ++i) {
    OraNumber n = OraNumber::fromDouble(roundTo15Digits(randomDouble(rng)));
    unsigned char bytes[kNumberBytesMax];
    size_t len = encodeNumber(n, bytes);
    ASSERT_TRUE(decodeNumber(bytes, len) == n) << numberToText(n);
  }
}

TEST(ValueProperties, DatesRoundTripThroughBytesAndText) {
  std::mt19937_64 rng(4);
  std::uniform_int_distribution<int64_t> seconds(minDateSeconds(), maxDateSeconds());
  DateFormat full("SYYYY-MM-DD HH24:MI:SS");
  DateFormat julian("J SSSSS");
  const OraDate now{2024, 6, 15, 10, 20, 30};
  for (int i = 0; i < kRounds; ++i) {
    OraDate d = OraDate::fromSeconds(seconds(rng));
    ASSERT_TRUE(d.isValid());
    unsigned char bytes[7];
    encodeDate7(d, bytes);
    ASSERT_EQ(decodeDate7(bytes), d);
    ASSERT_EQ(full.parse(full.format(d), now), d) << full.format(d);
    if (julianDay(daysFromCivil(d.year, d.month, d.day)) >= 1) {
      ASSERT_EQ(julian.parse(julian.format(d), now), d) << julian.format(d);
    }
  }
}

template <class F>
void expectValueOrOraError(F&& f, const std::string& what) {
  try {
    f();
  } catch (const OraError&) {
  } catch (const std::exception& e) {
    FAIL() << what << ": " << e.what();
  }
}

TEST(ValueProperties, ArbitraryDateModelsAndInputsFailCleanly) {
  std::mt19937_64 rng(5);
  const std::string modelAlphabet = "DMYHSIQWJRCAPBTFXLNOU.,-/: \"thyms0129";
  const std::string inputAlphabet = "0123456789-/:., JANFEBMARPMADBCjan+";
  const OraDate now{2024, 6, 15, 10, 20, 30};
  for (int i = 0; i < kRounds; ++i) {
    std::string model = randomText(rng, modelAlphabet, 14);
    std::string input = randomText(rng, inputAlphabet, 16);
    expectValueOrOraError(
        [&] {
          DateFormat f(model);
          std::string out =
              f.format(OraDate::fromSeconds(static_cast<int64_t>(rng() % 4000000000)));
          expectValueOrOraError([&] { f.parse(out, now).validate(); }, model + " / " + out);
          f.parse(input, now).validate();
        },
        model + " / " + input);
  }
}

TEST(ValueProperties, ArbitraryNumberModelsAndInputsFailCleanly) {
  std::mt19937_64 rng(6);
  const std::string modelAlphabet = "90,.$BSMIPRVXEGDLCFrn";
  const std::string inputAlphabet = "0123456789,.-+$<>E ";
  for (int i = 0; i < kRounds; ++i) {
    std::string model = randomText(rng, modelAlphabet, 10);
    std::string input = randomText(rng, inputAlphabet, 10);
    expectValueOrOraError(
        [&] {
          NumberFormat f(model, NlsSettings());
          std::string out = f.format(OraNumber::fromDouble(randomDouble(rng)));
          ASSERT_FALSE(out.empty() && model.find('B') == std::string::npos) << model;
          f.parse(input);
        },
        model + " / " + input);
    expectValueOrOraError([&] { textToNumber(input); }, input);
  }
}

TEST(ValueProperties, FittedNumbersRespectPrecisionAndScale) {
  std::mt19937_64 rng(7);
  std::uniform_int_distribution<int> precision(1, 38), scale(-5, 12);
  for (int i = 0; i < kRounds; ++i) {
    double v = randomDouble(rng);
    int p = precision(rng), s = scale(rng);
    OraNumber n = OraNumber::fromDouble(v);
    try {
      OraNumber fitted = fitNumber(n, p, s);
      ASSERT_TRUE(fitted == roundNumber(n, s)) << v << " (" << p << "," << s << ")";
      ASSERT_LT(std::fabs(fitted.toDouble()), std::pow(10.0, p - s) * (1 + 1e-12));
    } catch (const OraError& e) {
      ASSERT_EQ(e.code(), 1438);
      ASSERT_GE(std::fabs(roundNumber(n, s).toDouble()), std::pow(10.0, p - s) * (1 - 1e-12))
          << v << " (" << p << "," << s << ")";
    }
  }
}

}  // namespace
}  // namespace vorn::server
