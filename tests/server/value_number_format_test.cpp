// Number format models: TO_CHAR(number, fmt) and TO_NUMBER(text, fmt)
// against Oracle's results (blank padding included).
#include <gtest/gtest.h>

#include "value/NumberFormat.h"
#include "value_support.h"

namespace vorn::server {
namespace {

using test::oraCode;

std::string toChar(OraNumber n, const char* model) {
  return NumberFormat(model, NlsSettings()).format(n);
}
std::string toChar(double v, const char* model) {
  return toChar(OraNumber::fromDouble(v), model);
}
OraNumber toNumber(const char* text, const char* model) {
  return NumberFormat(model, NlsSettings()).parse(text);
}

struct FormatCase {
  double value;
  const char* model;
  const char* expected;
};

void expectFormats(std::initializer_list<FormatCase> cases) {
  for (const FormatCase& c : cases)
    EXPECT_EQ(toChar(c.value, c.model), c.expected) << c.value << " with " << c.model;
}

TEST(NumberFormatTest, DigitsPointAndGroups) {
  expectFormats({
      {1234.567, "9999.99", " 1234.57"},
      {1234.567, "9,999.99", " 1,234.57"},
      {-1234.567, "9,999.99", "-1,234.57"},
      {1234.5, "9G999D99", " 1,234.50"},
      {123, "9,999", "   123"},
      {1.5, "999.99", "   1.50"},
      {-5, "999", "  -5"},
      {2.675, "9.99", " 2.68"},
      {1234567, "9,999,999", " 1,234,567"},
  });
}

TEST(NumberFormatTest, ZerosAndTheLeadingZeroOfFractions) {
  expectFormats({
      {0, "999", "   0"},
      {0.4, "999", "   0"},
      {0.5, "999", "   1"},
      {0.5, "9.99", "  .50"},
      {0.5, "0.99", " 0.50"},
      {0, "99.99", "   .00"},
      {12, "0009", " 0012"},
      {123, "0,999", " 0,123"},
      {-0.75, "90.9", " -0.8"},
  });
}

TEST(NumberFormatTest, OverflowIsAFieldOfHashes) {
  expectFormats({
      {123, "99", "###"},
      {12345, "9,999", "######"},
      {1.5, ".99", "####"},
      {999.996, "999.99", "#######"},
      {1000, "$999", "#####"},
  });
}

TEST(NumberFormatTest, CurrencyFloatsBeforeTheDigits) {
  expectFormats({
      {5, "$999", "   $5"},
      {-5, "$999", "  -$5"},
      {1234.5, "$9,999.99", " $1,234.50"},
      {1234, "FML9999", "$1234"},
      {12, "FMC99", "USD12"},
  });
}

TEST(NumberFormatTest, SignElements) {
  expectFormats({
      {-12, "99MI", "12-"},
      {12, "99MI", "12 "},
      {12, "FM99MI", "12"},
      {12, "S99", "+12"},
      {-12, "S99", "-12"},
      {12, "99S", "12+"},
      {-12, "99S", "12-"},
      {-12, "99PR", "<12>"},
      {12, "99PR", " 12 "},
      {-5, "S999", "  -5"},
  });
}

TEST(NumberFormatTest, BlankZeroAndFillMode) {
  expectFormats({
      {0, "B999", "    "},
      {5, "B999", "   5"},
      {1.5, "FM999.99", "1.5"},
      {1, "FM999.99", "1."},
      {1.5, "FM990.00", "1.50"},
      {-5, "FM999", "-5"},
      {0.5, "FM9.99", ".5"},
  });
}

TEST(NumberFormatTest, ScientificHexRomanScaleAndTextMinimum) {
  expectFormats({
      {1234567890, "9.9EEEE", "  1.2E+09"},
      {12345, "9.99EEEE", "  1.23E+04"},
      {-0.00012345, "9.99EEEE", " -1.23E-04"},
      {9.99e125, "9.9EEEE", " 1.0E+126"},
      {0, "9.99EEEE", "  0.00E+00"},
      {255, "XX", " FF"},
      {255, "xx", " ff"},
      {255, "0XXX", "00FF"},
      {255, "FMXXXX", "FF"},
      {254.6, "XX", " FF"},
      {256, "XX", "###"},
      {-1, "XX", "###"},
      {12.34, "99V99", " 1234"},
      {1999, "RN", "        MCMXCIX"},
      {4, "FMrn", "iv"},
      {4000, "RN", "###############"},
      {123.456, "TM", "123.456"},
      {0.5, "TM9", ".5"},
      {12345, "TME", "1.2345E+04"},
  });
}

TEST(NumberFormatTest, IntegersBeyondDoublePrecisionFormatExactly) {
  EXPECT_EQ(toChar(OraNumber(1234567890123456789), "9999999999999999999"), " 1234567890123456789");
}

TEST(NumberFormatTest, BadModelsRaise01481) {
  for (const char* model : {"9.9.9", "ABC", "99MI9", ",999", "9V9.9", "S99S", "$$99", "", "FM",
                            "X9", "9EEEE9", "PR99", "9,9.9,9"})
    EXPECT_EQ(oraCode([&] { NumberFormat(model, NlsSettings()); }), 1481) << model;
}

TEST(NumberFormatTest, NlsNumericCharacters) {
  NlsSettings german;
  german.numericCharacters = ",.";
  EXPECT_EQ(NumberFormat("9G999D99", german).format(OraNumber::fromDouble(1234.5)), " 1.234,50");
  EXPECT_TRUE(NumberFormat("9G999D99", german).parse("1.234,50") == OraNumber::fromDouble(1234.5));
}

TEST(NumberFormatTest, ToNumberReadsWhatTheModelAllows) {
  struct Case {
    const char* text;
    const char* model;
    double value;
  };
  const Case cases[] = {
      {"1,234.50", "9,999.99", 1234.5},
      {"$1,234.50", "$9,999.99", 1234.5},
      {"12-", "99MI", -12},
      {"12", "99MI", 12},
      {"<12>", "99PR", -12},
      {"-12", "S99", -12},
      {"+12", "S99", 12},
      {"FF", "XX", 255},
      {"ff", "XXXX", 255},
      {"1.2E+03", "9.9EEEE", 1200},
      {" 12 ", "99", 12},
      {"-5", "999", -5},
      {"1234", "99V99", 12.34},
      {".5", "9.99", 0.5},
      {"1234.5", "TM", 1234.5},
  };
  for (const Case& c : cases)
    EXPECT_TRUE(toNumber(c.text, c.model) == OraNumber::fromDouble(c.value))
        << c.text << " with " << c.model;
}

TEST(NumberFormatTest, ToNumberRejectsTextOutsideTheModel) {
  const std::pair<const char*, const char*> cases[] = {
      {"1234", "99"}, {"1.234", "9.99"}, {"12a", "999"},  {"12", "S99"}, {"FFF", "XX"},
      {"G1", "XX"},   {"1.5", "99"},     {"<12", "99PR"}, {"", "99"},    {"1,2,3", "999"},
  };
  for (const auto& [text, model] : cases)
    EXPECT_EQ(oraCode([&] { toNumber(text, model); }), 1722) << text << " with " << model;
}

}  // namespace
}  // namespace vorn::server
