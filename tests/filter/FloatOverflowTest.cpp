// Floating-point results beyond the double range raise the host's overflow
// error instead of flowing on as infinities, which would then compare as
// the text "INF"; results that are no number keep raising EInvalidOp.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "FilterTestSupport.h"

namespace vorn::filter_test {
namespace {

double FloatOf(std::string_view text) {
  return Parse(text)->AsFloat();
}

TEST(FloatOverflow, FunctionsWithInfiniteResultsRaiseOverflow) {
  for (const char* text :
       {"LN(0)", "EXP(1000)", "SQR(1E200)", "POWER(10, 400)", "POWER(0, -1)", "EXP(EXP(10))"}) {
    SCOPED_TRACE(text);
    EXPECT_THROW(FloatOf(text), EOverflow);
  }
}

TEST(FloatOverflow, TheOverflowErrorHasTheHostsText) {
  try {
    FloatOf("LN(0)");
    FAIL() << "no error";
  } catch (const EOverflow& e) {
    EXPECT_EQ(e.Message(), "Floating point overflow");
  }
}

TEST(FloatOverflow, ArithmeticBeyondTheDoubleRangeRaisesOverflow) {
  for (const char* text : {"1E300 * 1E300", "1E308 + 1E308", "-1E308 - 1E308", "1E300 / 1E-300",
                           "1E200 * 1E200 / 2"}) {
    SCOPED_TRACE(text);
    EXPECT_THROW(FloatOf(text), EOverflow);
  }
}

TEST(FloatOverflow, DateArithmeticBeyondTheDoubleRangeRaisesOverflow) {
  EXPECT_THROW(Parse("DATE(1E308) + DATE(1E308)")->AsDate(), EOverflow);
}

TEST(FloatOverflow, AnOverflowInAComparisonRaisesInsteadOfComparingAsText) {
  // As texts, "INF" = 'INF' would hold and "INF" > '9' too.
  EXPECT_THROW(Parse("STRING(EXP(1000)) = 'INF'")->AsBoolean(), EOverflow);
  EXPECT_THROW(Parse("EXP(1000) > 1")->AsBoolean(), EOverflow);
  EXPECT_THROW(Parse("TRUNC(LN(0)) < 0")->AsBoolean(), EOverflow);
}

TEST(FloatOverflow, LargeAndTinyButFiniteResultsStay) {
  EXPECT_DOUBLE_EQ(FloatOf("EXP(700)"), std::exp(700.0));
  EXPECT_DOUBLE_EQ(FloatOf("EXP(-1000)"), 0) << "underflow to zero is no error";
  EXPECT_DOUBLE_EQ(FloatOf("1E308 + 1"), 1e308);
  EXPECT_DOUBLE_EQ(FloatOf("POWER(0, 2)"), 0);
}

TEST(FloatOverflow, ResultsThatAreNoNumberStillRaiseInvalidOperation) {
  EXPECT_THROW(FloatOf("LN(-1)"), EInvalidOp);
  EXPECT_THROW(FloatOf("0.0 / 0"), EInvalidOp);
  EXPECT_THROW(FloatOf("1.5 / 0"), EZeroDivide);
}

}  // namespace
}  // namespace vorn::filter_test
