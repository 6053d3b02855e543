// Integer and float texts: parsing, the general format and format strings.
#include "vorn/host/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "vorn/host/Exceptions.h"

namespace vorn {
namespace {

TFormatSettings Comma() {
  TFormatSettings s;
  s.DecimalSeparator = ',';
  s.ThousandSeparator = '.';
  return s;
}

class NumberTextTest : public testing::Test {
 protected:
  ScopedFormatSettings settings_{DefaultFormatSettings()};
};

std::string ConvertMessage(const std::function<void()>& parse) {
  try {
    parse();
  } catch (const EConvertError& e) {
    return e.Message();
  }
  return "no error";
}

TEST_F(NumberTextTest, IntegersParseDecimalAndHex) {
  EXPECT_EQ(StrToInt("42"), 42);
  EXPECT_EQ(StrToInt("  -42"), -42);
  EXPECT_EQ(StrToInt("+7"), 7);
  EXPECT_EQ(StrToInt("$FF"), 255);
  EXPECT_EQ(StrToInt("0x1a"), 26);
  EXPECT_EQ(StrToInt("-$10"), -16);
  EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
  EXPECT_EQ(StrToInt("2147483647"), 2147483647);
  EXPECT_EQ(StrToInt("-2147483648"), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(StrToInt64("9223372036854775807"), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(StrToInt64("-9223372036854775808"), std::numeric_limits<int64_t>::min());
  EXPECT_EQ(StrToInt64("2147483648"), 2147483648LL);
}

TEST_F(NumberTextTest, BadIntegersRaise) {
  EXPECT_EQ(ConvertMessage([] { StrToInt("2147483648"); }),
            "'2147483648' is not a valid integer value");
  EXPECT_EQ(ConvertMessage([] { StrToInt("12 "); }), "'12 ' is not a valid integer value");
  EXPECT_EQ(ConvertMessage([] { StrToInt(""); }), "'' is not a valid integer value");
  EXPECT_EQ(ConvertMessage([] { StrToInt("-"); }), "'-' is not a valid integer value");
  EXPECT_EQ(ConvertMessage([] { StrToInt("1.5"); }), "'1.5' is not a valid integer value");
  EXPECT_EQ(ConvertMessage([] { StrToInt("$"); }), "'$' is not a valid integer value");
  EXPECT_EQ(ConvertMessage([] { StrToInt64("99999999999999999999"); }),
            "'99999999999999999999' is not a valid integer value");
  int32_t value = 5;
  EXPECT_FALSE(TryStrToInt("$100000000", value));
  EXPECT_EQ(value, 5);
}

TEST_F(NumberTextTest, IntToStrAndHex) {
  EXPECT_EQ(IntToStr(-123), "-123");
  EXPECT_EQ(IntToStr(std::numeric_limits<int64_t>::min()), "-9223372036854775808");
  EXPECT_EQ(IntToHex(255, 4), "00FF");
  EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFFFFFFFFFF");
}

TEST_F(NumberTextTest, FloatsParseWithTheLocaleSeparator) {
  EXPECT_EQ(StrToFloat("1.5"), 1.5);
  EXPECT_EQ(StrToFloat(" -0.25 "), -0.25);
  EXPECT_EQ(StrToFloat(".5"), 0.5);
  EXPECT_EQ(StrToFloat("5."), 5.0);
  EXPECT_EQ(StrToFloat("1e5"), 1e5);
  EXPECT_EQ(StrToFloat("1E-5"), 1e-5);
  EXPECT_EQ(StrToFloat("1e+5"), 1e5);
  EXPECT_EQ(StrToFloat("1,5", Comma()), 1.5);
  EXPECT_EQ(StrToFloat("1e-400"), 0.0);
  EXPECT_EQ(StrToFloat("0.1"), 0.1);
}

TEST_F(NumberTextTest, BadFloatsRaise) {
  for (const char* text :
       {"", "abc", "1.5.2", "1e", "e5", "1,5", "--1", "1e5e5", "1e400", "INF", "1 000"}) {
    EXPECT_EQ(ConvertMessage([&] { StrToFloat(text); }),
              std::string("'").append(text).append("' is not a valid floating point value"))
        << text;
  }
  EXPECT_EQ(ConvertMessage([] { StrToFloat("1.5", Comma()); }),
            "'1.5' is not a valid floating point value");
}

TEST_F(NumberTextTest, FloatToStrUsesFifteenDigitsGeneralFormat) {
  EXPECT_EQ(FloatToStr(0), "0");
  EXPECT_EQ(FloatToStr(1.5), "1.5");
  EXPECT_EQ(FloatToStr(-2), "-2");
  EXPECT_EQ(FloatToStr(0.1), "0.1");
  EXPECT_EQ(FloatToStr(0.1 + 0.2), "0.3");
  EXPECT_EQ(FloatToStr(1.0 / 3), "0.333333333333333");
  EXPECT_EQ(FloatToStr(2.0 / 3), "0.666666666666667");
  EXPECT_EQ(FloatToStr(123456789012345.0), "123456789012345");
  EXPECT_EQ(FloatToStr(1e15), "1E15");
  EXPECT_EQ(FloatToStr(1234567890123456.0), "1.23456789012346E15");
  EXPECT_EQ(FloatToStr(1e20), "1E20");
  EXPECT_EQ(FloatToStr(0.0001), "0.0001");
  EXPECT_EQ(FloatToStr(0.00001), "1E-5");
  EXPECT_EQ(FloatToStr(-1.5e-7), "-1.5E-7");
  EXPECT_EQ(FloatToStr(999999999999999.9), "1E15");
  EXPECT_EQ(FloatToStr(1.5, Comma()), "1,5");
  EXPECT_EQ(FloatToStr(-9999), "-9999");
  EXPECT_EQ(FloatToStr(999.99), "999.99");
  EXPECT_EQ(FloatToStr(-0.0), "0");
}

TEST_F(NumberTextTest, SpecialValuesHaveNames) {
  EXPECT_EQ(FloatToStr(std::numeric_limits<double>::infinity()), "INF");
  EXPECT_EQ(FloatToStr(-std::numeric_limits<double>::infinity()), "-INF");
  EXPECT_EQ(FloatToStr(std::nan("")), "NAN");
  EXPECT_EQ(FormatFloat("0.00", std::nan("")), "NAN");
}

TEST_F(NumberTextTest, FloatToStrFFormats) {
  EXPECT_EQ(FloatToStrF(1234.5, ffExponent, 4, 2), "1.235E+03");
  EXPECT_EQ(FloatToStrF(0.00012, ffExponent, 3, 0), "1.20E-4");
  EXPECT_EQ(FloatToStrF(0, ffExponent, 4, 2), "0.000E+00");
  EXPECT_EQ(FloatToStrF(1234.5, ffFixed, 15, 2), "1234.50");
  EXPECT_EQ(FloatToStrF(2.675, ffFixed, 15, 2), "2.68");
  EXPECT_EQ(FloatToStrF(-0.001, ffFixed, 15, 2), "0.00");
  EXPECT_EQ(FloatToStrF(1234567.891, ffNumber, 15, 2), "1,234,567.89");
  EXPECT_EQ(FloatToStrF(1234567.891, ffNumber, 15, 2, Comma()), "1.234.567,89");
  EXPECT_EQ(FloatToStrF(1e20, ffFixed, 15, 2), "1E20");
  EXPECT_EQ(FloatToStrF(1234.5, ffCurrency, 15, 2), "$1,234.50");
  EXPECT_EQ(FloatToStrF(-1234.5, ffCurrency, 15, 2), "($1,234.50)");
  TFormatSettings euro = Comma();
  euro.CurrencyString = "EUR";
  euro.CurrencyFormat = 3;
  euro.NegCurrFormat = 8;
  EXPECT_EQ(FloatToStrF(-1234.5, ffCurrency, 15, 2, euro), "-1.234,50 EUR");
  EXPECT_EQ(FloatToStrF(1234.5, ffCurrency, 15, 0, euro), "1.235 EUR");
  EXPECT_EQ(FloatToStrF(1.0 / 3, ffGeneral, 4, 0), "0.3333");
  EXPECT_EQ(FloatToStrF(12345, ffGeneral, 4, 0), "1.235E4");
}

TEST_F(NumberTextTest, FormatFloatPlaceholders) {
  EXPECT_EQ(FormatFloat("0.00", 1234.567), "1234.57");
  EXPECT_EQ(FormatFloat("#,##0.00", 1234567.891), "1,234,567.89");
  EXPECT_EQ(FormatFloat("###,##0.00", 0.5), "0.50");
  EXPECT_EQ(FormatFloat("#.##", 5), "5");
  EXPECT_EQ(FormatFloat("#.##", 0.5), ".5");
  EXPECT_EQ(FormatFloat("0.##", 1.5), "1.5");
  EXPECT_EQ(FormatFloat("0.0#", 1.5), "1.5");
  EXPECT_EQ(FormatFloat("0.0#", 1.567), "1.57");
  EXPECT_EQ(FormatFloat("000", 7), "007");
  EXPECT_EQ(FormatFloat("#", 0), "");
  EXPECT_EQ(FormatFloat("0", 123456), "123456");
  EXPECT_EQ(FormatFloat("#,##0", 1234567), "1,234,567");
  EXPECT_EQ(FormatFloat("#,##0.00", 1234.5, Comma()), "1.234,50");
  EXPECT_EQ(FormatFloat(".00", 12.5), "12.50");
  EXPECT_EQ(FormatFloat("", 1.5), "1.5");
}

TEST_F(NumberTextTest, FormatFloatRoundsHalfAwayFromZero) {
  EXPECT_EQ(FormatFloat("0.00", 2.675), "2.68");
  EXPECT_EQ(FormatFloat("0.00", -2.675), "-2.68");
  EXPECT_EQ(FormatFloat("0", 0.5), "1");
  EXPECT_EQ(FormatFloat("0", 2.5), "3");
  EXPECT_EQ(FormatFloat("0.0", 9.96), "10.0");
  EXPECT_EQ(FormatFloat("#,##0.00", 999999.995), "1,000,000.00");
}

TEST_F(NumberTextTest, FormatFloatSections) {
  const char* format = "#,##0.00;(#,##0.00);\"zero\"";
  EXPECT_EQ(FormatFloat(format, 1234.5), "1,234.50");
  EXPECT_EQ(FormatFloat(format, -1234.5), "(1,234.50)");
  EXPECT_EQ(FormatFloat(format, 0), "zero");
  EXPECT_EQ(FormatFloat(format, 0.001), "zero");
  EXPECT_EQ(FormatFloat(format, -0.001), "zero");
  EXPECT_EQ(FormatFloat("0.00", -5), "-5.00");
  EXPECT_EQ(FormatFloat("0.00", -0.001), "0.00");
  EXPECT_EQ(FormatFloat("0.00;;\"nil\"", -5), "-5.00");
  EXPECT_EQ(FormatFloat("0.00;;\"nil\"", 0), "nil");
  EXPECT_EQ(FormatFloat("0;-0;zero", 0), "zero");
  EXPECT_EQ(FormatFloat("\"a;b\" 0", 3), "a;b 3");
}

TEST_F(NumberTextTest, FormatFloatLiteralsAndScientific) {
  EXPECT_EQ(FormatFloat("0.00 \"kg\"", 2.5), "2.50 kg");
  EXPECT_EQ(FormatFloat("'$'#,##0", -1500), "-$1,500");
  EXPECT_EQ(FormatFloat("000-000", 123456), "123-456");
  EXPECT_EQ(FormatFloat("0.00E+00", 1234.5), "1.23E+03");
  EXPECT_EQ(FormatFloat("0.00E-00", 1234.5), "1.23E03");
  EXPECT_EQ(FormatFloat("0.00E-00", 0.0012345), "1.23E-03");
  EXPECT_EQ(FormatFloat("00.0e+0", 1234.5), "12.3e+2");
  EXPECT_EQ(FormatFloat("0.0E+0", 0), "0.0E+0");
  EXPECT_EQ(FormatFloat("#,##0.00", 1e18), "1E18");
}

}  // namespace
}  // namespace vorn
