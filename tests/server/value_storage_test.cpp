// Column storage enforcement (NUMBER(p,s), FLOAT(b), VARCHAR2, CHAR, RAW)
// and the ROWID text.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "value/Decimal.h"
#include "value/RowidText.h"
#include "value/StorageFit.h"
#include "value_support.h"

namespace vorn::server {
namespace {

using test::oraCode;
using test::oraText;

std::string fit(double v, int p, int s) {
  return numberToText(fitNumber(OraNumber::fromDouble(v), p, s));
}

TEST(FitNumberTest, RoundsToTheScale) {
  EXPECT_EQ(fit(7456123.89, 9, 2), "7456123.89");
  EXPECT_EQ(fit(7456123.89, 9, 1), "7456123.9");
  EXPECT_EQ(fit(7456123.89, 9, 0), "7456124");
  EXPECT_EQ(fit(7456123.89, 7, 0), "7456124");
  EXPECT_EQ(fit(7456123.89, 7, -2), "7456100");
  EXPECT_EQ(fit(7456123.89, 38, 0), "7456124");
  EXPECT_EQ(fit(-2.5, 5, 0), "-3");
  EXPECT_EQ(fit(2.675, 5, 2), "2.68");
  EXPECT_EQ(fit(0.00012, 2, 5), ".00012");
  EXPECT_EQ(fit(1234.5, 0, 0), "1234.5");  // NUMBER: kept as it is
  EXPECT_TRUE(fitNumber(OraNumber::fromDouble(2.4), 5, 0).isInteger());
  EXPECT_EQ(numberToText(fitNumber(OraNumber(12345), 5, 0)), "12345");
  EXPECT_EQ(numberToText(fitNumber(OraNumber(-99), 2, 0)), "-99");
  EXPECT_EQ(numberToText(fitNumber(OraNumber(1250), 4, -2)), "1300");
}

TEST(FitNumberTest, RaisesPastThePrecision) {
  EXPECT_EQ(oraText([] { fit(7456123.89, 6, 0); }),
            "ORA-01438: value larger than specified precision allowed for this column");
  EXPECT_EQ(oraCode([] { fit(99.995, 4, 2); }), 1438);  // rounds to 100.00
  EXPECT_EQ(oraCode([] { fitNumber(OraNumber(100), 2, 0); }), 1438);
  EXPECT_EQ(oraCode([] { fitNumber(OraNumber(-100), 2, 0); }), 1438);
  EXPECT_EQ(oraCode([] { fitNumber(OraNumber(10), 2, 1); }), 1438);
  EXPECT_EQ(oraCode([] { fitNumber(OraNumber(1), 2, 5); }), 1438);
  EXPECT_EQ(oraCode([] { fit(0.00123, 2, 5); }), 1438);
  EXPECT_EQ(oraCode([] { fit(1e40, 38, 0); }), 1438);
  EXPECT_EQ(numberToText(fitNumber(OraNumber(0), 2, 5)), "0");
  EXPECT_EQ(oraCode([] { fitNumber(OraNumber::fromDouble(1.0 / 0.0), 0, 0); }), 1426);
}

// Rounding through the value's decimal digits, the way every fitted value
// with decimals once went: empty for ORA-01438.
std::optional<double> fitByDigits(double v, int precision, int scale) {
  Decimal d = Decimal::fromNumber(OraNumber::fromDouble(v));
  d.roundToScale(scale);
  if (!d.isZero() && d.pointPos > precision - scale) return std::nullopt;
  return d.toNumber().toDouble();
}

TEST(FitNumberTest, ValuesWithFewDecimalsFitAsTheirDigitsDo) {
  std::vector<double> values;
  for (int n = 1; n <= 20000; n += 7)
    values.push_back(n * 1.25 + 0.01);
  for (double v : {0.1 + 0.2, 2.675, 99.995, 99.99, 1e-8, 123456789.12, 99999999.99, 1e8 - 0.005,
                   0.07, 1.0 / 3, 5e-324, 1e15 + 0.5, 12345678901234.5})
    values.push_back(v);
  const std::pair<int, int> types[] = {{10, 2}, {10, 0}, {4, 2}, {15, 5}, {2, 5}, {38, 10}};
  for (double magnitude : values) {
    for (double v : {magnitude, -magnitude}) {
      for (const auto& [p, s] : types) {
        std::optional<double> expected = fitByDigits(v, p, s);
        try {
          double got = fitNumber(OraNumber::fromDouble(v), p, s).toDouble();
          ASSERT_TRUE(expected) << v << " " << p << "," << s;
          EXPECT_EQ(got, *expected) << v << " " << p << "," << s;
        } catch (const OraError& e) {
          EXPECT_EQ(e.code(), 1438);
          EXPECT_FALSE(expected) << v << " " << p << "," << s;
        }
      }
    }
  }
}

TEST(FitNumberTest, FloatFiveKeepsTwoDigitsAsInOraclesExample) {
  const std::pair<double, const char*> cases[] = {
      {1.23, "1.2"}, {7.89, "7.9"}, {12.79, "13"}, {123.45, "120"}};
  for (const auto& [value, expected] : cases)
    EXPECT_EQ(numberToText(fitFloat(OraNumber::fromDouble(value), 5)), expected) << value;
}

TEST(FitNumberTest, FloatKeepsBinaryPrecisionDigits) {
  EXPECT_EQ(numberToText(fitFloat(OraNumber::fromDouble(1.23456789), 10)), "1.235");  // 4 digits
  EXPECT_EQ(numberToText(fitFloat(OraNumber(123456), 1)), "100000");
  EXPECT_EQ(numberToText(fitFloat(OraNumber::fromDouble(1.23456789), 126)), "1.23456789");
}

TEST(FitTextTest, VarcharLimitsNameTheColumn) {
  std::string col = quotedColumnName("SCOTT", "EMP", "ENAME");
  EXPECT_EQ(col, "\"SCOTT\".\"EMP\".\"ENAME\"");
  EXPECT_EQ(fitText("SMITH", 10, col), "SMITH");
  EXPECT_EQ(fitText("", 10, col), "");
  EXPECT_EQ(oraText([&] { fitText("MARTINEZ-LOPEZ", 10, col); }),
            "ORA-12899: value too large for column \"SCOTT\".\"EMP\".\"ENAME\" (actual: 14, "
            "maximum: 10)");
}

TEST(FitTextTest, CharIsBlankPadded) {
  std::string col = quotedColumnName("SCOTT", "T", "C");
  EXPECT_EQ(fitChar("ab", 5, col), "ab   ");
  EXPECT_EQ(fitChar("abcde", 5, col), "abcde");
  EXPECT_EQ(fitChar("", 5, col), "");
  EXPECT_EQ(oraCode([&] { fitChar("abcdef", 5, col); }), 12899);
}

TEST(FitTextTest, RawLength) {
  std::string col = quotedColumnName("SCOTT", "T", "R");
  fitRaw("\x01\x02", 2, col);
  EXPECT_EQ(oraText([&] { fitRaw("\x01\x02\x03", 2, col); }),
            "ORA-12899: value too large for column \"SCOTT\".\"T\".\"R\" (actual: 3, maximum: 2)");
}

TEST(RowidTextTest, WorkedExample) {
  RowidParts parts{116, 1, 929, 0};
  EXPECT_EQ(rowidToText(parts), "AAAAB0AABAAAAOhAAA");
  EXPECT_EQ(rowidFromText("AAAAB0AABAAAAOhAAA"), parts);
}

TEST(RowidTextTest, RoundTripsTheFullRangeOfEachPart) {
  const RowidParts cases[] = {
      {0, 0, 0, 0},
      {(1ull << 36) - 1, (1ull << 18) - 1, (1ull << 36) - 1, (1ull << 18) - 1},
      {74565, 4, 4294967295, 65535},
      {1, 2, 3, 4}};
  for (const RowidParts& p : cases) {
    std::string text = rowidToText(p);
    EXPECT_EQ(text.size(), kRowidTextLength);
    EXPECT_EQ(rowidFromText(text), p) << text;
  }
  EXPECT_EQ(rowidToText({(1ull << 36) - 1, (1ull << 18) - 1, (1ull << 36) - 1, (1ull << 18) - 1}),
            "//////////////////");
}

TEST(RowidTextTest, MalformedTextRaises01410) {
  for (const char* text :
       {"", "AAAAB0AABAAAAOhAA", "AAAAB0AABAAAAOhAAAA", "AAAAB0AABAAAAOh*AA", "AAAAB0AAB AAAOhAAA"})
    EXPECT_EQ(oraCode([&] { rowidFromText(text); }), 1410) << text;
  EXPECT_EQ(oraText([] { rowidFromText("x"); }), "ORA-01410: invalid ROWID");
  RowidParts ignored;
  EXPECT_FALSE(tryRowidFromText("bad", ignored));
  EXPECT_EQ(oraCode([] { rowidToText(RowidParts{1ull << 36, 0, 0, 0}); }), 600);
}

}  // namespace
}  // namespace vorn::server
