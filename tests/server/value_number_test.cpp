// NUMBER values: normal form, text form both ways, arithmetic and the
// numeric SQL functions, against Oracle's results.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "value/NumberFunctions.h"
#include "value/OraNumber.h"
#include "value_support.h"

namespace vorn::server {
namespace {

using test::oraCode;
using test::oraText;

OraNumber real(double v) {
  return OraNumber::fromDouble(v);
}

TEST(OraNumberTest, IntegralDoublesBecomeIntegers) {
  EXPECT_TRUE(real(3.0).isInteger());
  EXPECT_EQ(real(3.0).integer(), 3);
  EXPECT_TRUE(real(-0.0).isInteger());
  EXPECT_EQ(real(-0.0).integer(), 0);
  EXPECT_FALSE(real(3.5).isInteger());
  // 2^63 is integral but outside int64.
  EXPECT_FALSE(real(9223372036854775808.0).isInteger());
  EXPECT_TRUE(real(-9223372036854775808.0).isInteger());
  EXPECT_FALSE(real(std::numeric_limits<double>::infinity()).isFinite());
}

TEST(OraNumberTest, ComparesIntegersAndDoublesByValue) {
  EXPECT_EQ(compareNumbers(OraNumber(2), real(2.5)), -1);
  EXPECT_EQ(compareNumbers(real(2.5), OraNumber(2)), 1);
  EXPECT_EQ(compareNumbers(OraNumber(std::numeric_limits<int64_t>::max()), real(9.3e18)), -1);
  EXPECT_TRUE(OraNumber(7) == real(7.0));
}

TEST(OraNumberTest, TruncatesToInt64WithClamping) {
  EXPECT_EQ(real(2.9).truncToInt64(), 2);
  EXPECT_EQ(real(-2.9).truncToInt64(), -2);
  EXPECT_EQ(real(1e30).truncToInt64(), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(real(-1e30).truncToInt64(), std::numeric_limits<int64_t>::min());
}

struct TextCase {
  OraNumber value;
  const char* text;
};

TEST(NumberTextTest, PrintsAsOracleToCharWithoutFormat) {
  const TextCase cases[] = {
      {OraNumber(0), "0"},
      {OraNumber(1), "1"},
      {OraNumber(-1), "-1"},
      {real(1.5), "1.5"},
      {real(-1.5), "-1.5"},
      {real(0.5), ".5"},
      {real(-0.5), "-.5"},
      {real(0.001), ".001"},
      {real(-0.00001), "-.00001"},
      {real(1234.5678), "1234.5678"},
      {OraNumber(123456789012345), "123456789012345"},
      {OraNumber(std::numeric_limits<int64_t>::min()), "-9223372036854775808"},
      {real(1e20), "100000000000000000000"},
      {real(1234560000000.5), "1234560000000.5"},
      // 15 significant digits for doubles.
      {real(0.1 + 0.2), ".3"},
      {real(1.0 / 3), ".333333333333333"},
      {real(2.0 / 3), ".666666666666667"},
      {real(123456789.123456789), "123456789.123457"},
      // 40 characters still fit, 41 do not.
      {real(1e39), "1000000000000000000000000000000000000000"},
      {real(1e-39), ".000000000000000000000000000000000000001"},
      {real(1e40), "1.0000000000000000000000000000000000E+40"},
      {real(-1e40), "-1.000000000000000000000000000000000E+40"},
      {real(1.5e-39), "1.5000000000000000000000000000000000E-39"},
      {real(1e-130), "1.000000000000000000000000000000000E-130"},
      {real(1.2345e125), "1.234500000000000000000000000000000E+125"},
  };
  for (const TextCase& c : cases)
    EXPECT_EQ(numberToText(c.value), c.text) << c.text;
}

TEST(NumberTextTest, ScientificFormIsFortyCharactersWide) {
  EXPECT_EQ(numberToText(real(1e40)).size(), 40u);
  EXPECT_EQ(numberToText(real(-7.25e-100)).size(), 40u);
}

TEST(NumberTextTest, ReadsOracleNumberLiterals) {
  struct Case {
    const char* text;
    OraNumber value;
  };
  const Case cases[] = {
      {"0", OraNumber(0)},
      {"  12  ", OraNumber(12)},
      {"+5", OraNumber(5)},
      {"-.5", real(-0.5)},
      {".5", real(0.5)},
      {"12.", OraNumber(12)},
      {"007", OraNumber(7)},
      {"1e3", OraNumber(1000)},
      {"1.5E+2", OraNumber(150)},
      {"2.50", real(2.5)},
      {"-0.0", OraNumber(0)},
      {"1E-3", real(0.001)},
      {"9223372036854775807", OraNumber(std::numeric_limits<int64_t>::max())},
      {"-9223372036854775808", OraNumber(std::numeric_limits<int64_t>::min())},
      {"9223372036854775808", real(9223372036854775808.0)},
      {"100000000000000000000", real(1e20)},
      {"0.1", real(0.1)},
  };
  for (const Case& c : cases) {
    OraNumber n = textToNumber(c.text);
    EXPECT_TRUE(n == c.value) << c.text;
    EXPECT_EQ(n.isInteger(), c.value.isInteger()) << c.text;
  }
}

TEST(NumberTextTest, RejectsAnythingElseWithInvalidNumber) {
  for (const char* text :
       {"abc", "1,000", "1e", "--1", ".", "+", "1 2", "1.2.3", "$5", "0x10", "1e+", "e5", "12a"})
    EXPECT_EQ(oraCode([&] { textToNumber(text); }), 1722) << text;
  EXPECT_EQ(oraText([] { textToNumber("x"); }), "ORA-01722: invalid number");
}

TEST(NumberTextTest, OutOfRangeOverflowsAndTinyValuesAreZero) {
  EXPECT_EQ(oraCode([] { textToNumber("1e126"); }), 1426);
  EXPECT_TRUE(textToNumber("1e-200") == OraNumber(0));
  EXPECT_TRUE(isBlankText("   "));
  EXPECT_FALSE(isBlankText(" 1 "));
}

TEST(NumberArithmeticTest, IntegersStayExactAndDivisionIsDecimal) {
  EXPECT_TRUE((OraNumber(7) / OraNumber(2)) == real(3.5));
  OraNumber six = OraNumber(6) / OraNumber(3);
  EXPECT_TRUE(six.isInteger());
  EXPECT_EQ(six.integer(), 2);
  EXPECT_EQ((OraNumber(2) * OraNumber(21)).integer(), 42);
  EXPECT_EQ((OraNumber(2) - OraNumber(5)).integer(), -3);
  EXPECT_TRUE((real(0.5) + real(0.5)).isInteger());
}

TEST(NumberArithmeticTest, DivisionByZeroRaises01476) {
  EXPECT_EQ(oraText([] { OraNumber(1) / OraNumber(0); }), "ORA-01476: divisor is equal to zero");
  EXPECT_EQ(oraCode([] { real(1.5) / real(0.0); }), 1476);
}

TEST(NumberArithmeticTest, OverflowFallsBackToDoubles) {
  OraNumber big = OraNumber(std::numeric_limits<int64_t>::max()) + OraNumber(1);
  EXPECT_FALSE(big.isInteger());
  EXPECT_DOUBLE_EQ(big.toDouble(), 9223372036854775808.0);
  OraNumber negated = -OraNumber(std::numeric_limits<int64_t>::min());
  EXPECT_FALSE(negated.isInteger());
}

TEST(NumberArithmeticTest, RealResultsKeepFifteenDigits) {
  EXPECT_TRUE((real(0.1) + real(0.2)) == real(0.3));
  EXPECT_EQ(numberToText((OraNumber(1) / OraNumber(3)) * OraNumber(3)), ".999999999999999");
  EXPECT_EQ(numberToText(real(1.1) * real(1.1)), "1.21");
}

TEST(NumberFunctionsTest, RoundHalfAwayFromZeroInDecimal) {
  EXPECT_EQ(numberToText(roundNumber(real(2.675), 2)), "2.68");
  EXPECT_EQ(numberToText(roundNumber(real(1.5))), "2");
  EXPECT_EQ(numberToText(roundNumber(real(-1.5))), "-2");
  EXPECT_EQ(numberToText(roundNumber(real(2.5))), "3");
  EXPECT_EQ(numberToText(roundNumber(real(0.49999))), "0");
  EXPECT_EQ(numberToText(roundNumber(real(1234.5678), -2)), "1200");
  EXPECT_EQ(numberToText(roundNumber(OraNumber(15), -1)), "20");
  EXPECT_EQ(numberToText(roundNumber(OraNumber(-15), -1)), "-20");
  EXPECT_EQ(numberToText(roundNumber(OraNumber(1234), -5)), "0");
  EXPECT_EQ(numberToText(roundNumber(OraNumber(55555), -5)), "100000");
  EXPECT_EQ(numberToText(roundNumber(real(9.995), 2)), "10");
  EXPECT_EQ(numberToText(roundNumber(OraNumber(42), 3)), "42");
  EXPECT_TRUE(roundNumber(real(2.4)).isInteger());
}

TEST(NumberFunctionsTest, TruncTowardZero) {
  EXPECT_EQ(numberToText(truncNumber(real(1234.5678), 2)), "1234.56");
  EXPECT_EQ(numberToText(truncNumber(real(-1.9))), "-1");
  EXPECT_EQ(numberToText(truncNumber(OraNumber(1999), -3)), "1000");
  EXPECT_EQ(numberToText(truncNumber(real(0.999), 0)), "0");
  EXPECT_EQ(numberToText(truncNumber(real(-0.5))), "0");
}

TEST(NumberFunctionsTest, ModKeepsTheSignOfTheDividend) {
  EXPECT_EQ(numberToText(modNumber(OraNumber(11), OraNumber(4))), "3");
  EXPECT_EQ(numberToText(modNumber(OraNumber(-11), OraNumber(4))), "-3");
  EXPECT_EQ(numberToText(modNumber(OraNumber(11), OraNumber(-4))), "3");
  EXPECT_EQ(numberToText(modNumber(OraNumber(11), OraNumber(0))), "11");
  EXPECT_EQ(numberToText(modNumber(real(1.1), real(0.1))), "0");
  EXPECT_EQ(numberToText(modNumber(real(5.5), OraNumber(2))), "1.5");
  EXPECT_EQ(numberToText(modNumber(real(-7.25), real(2.5))), "-2.25");
  EXPECT_EQ(numberToText(modNumber(OraNumber(std::numeric_limits<int64_t>::min()), OraNumber(-1))),
            "0");
}

TEST(NumberFunctionsTest, PowerAndSqrt) {
  EXPECT_EQ(numberToText(powerNumber(OraNumber(2), OraNumber(10))), "1024");
  EXPECT_EQ(numberToText(powerNumber(OraNumber(2), OraNumber(-1))), ".5");
  EXPECT_EQ(numberToText(powerNumber(OraNumber(-2), OraNumber(3))), "-8");
  EXPECT_EQ(numberToText(powerNumber(OraNumber(2), real(0.5))), "1.4142135623731");
  EXPECT_EQ(numberToText(powerNumber(OraNumber(10), OraNumber(20))), "100000000000000000000");
  EXPECT_EQ(oraText([] { powerNumber(OraNumber(-8), real(1.0 / 3)); }),
            "ORA-01428: argument '-8' is out of range");
  EXPECT_EQ(oraCode([] { powerNumber(OraNumber(10), OraNumber(200)); }), 1426);
  EXPECT_EQ(numberToText(sqrtNumber(OraNumber(16))), "4");
  EXPECT_TRUE(sqrtNumber(OraNumber(16)).isInteger());
  EXPECT_EQ(numberToText(sqrtNumber(OraNumber(2))), "1.4142135623731");
  EXPECT_EQ(oraText([] { sqrtNumber(OraNumber(-4)); }), "ORA-01428: argument '-4' is out of range");
  EXPECT_EQ(oraText([] { sqrtNumber(real(-0.5)); }), "ORA-01428: argument '-.5' is out of range");
}

TEST(NumberFunctionsTest, AbsSignFloorCeil) {
  EXPECT_EQ(numberToText(absNumber(real(-2.5))), "2.5");
  EXPECT_EQ(numberToText(absNumber(OraNumber(std::numeric_limits<int64_t>::min()))),
            "9223372036854780000");
  EXPECT_EQ(numberToText(signNumber(OraNumber(-3))), "-1");
  EXPECT_EQ(numberToText(signNumber(real(0.0))), "0");
  EXPECT_EQ(numberToText(signNumber(real(0.001))), "1");
  EXPECT_EQ(numberToText(floorNumber(real(-1.5))), "-2");
  EXPECT_EQ(numberToText(floorNumber(real(2.9999999999999996))), "3");
  EXPECT_EQ(numberToText(ceilNumber(real(1.2))), "2");
  EXPECT_EQ(numberToText(ceilNumber(real(-1.2))), "-1");
  EXPECT_TRUE(ceilNumber(real(1.2)).isInteger());
}

}  // namespace
}  // namespace vorn::server
