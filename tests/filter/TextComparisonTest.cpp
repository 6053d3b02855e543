// Comparing texts: patterns with partial compare, case-insensitive
// compare, ordinal order, and exact date equality.
#include <gtest/gtest.h>

#include "FilterTestSupport.h"

namespace vorn::filter_test {
namespace {

bool Compare(TOperator op, std::string left, std::string right, TFilterOptions options = foNone) {
  ScopedFilterOptions scope(options);
  return TRelationalOp(op, Str(std::move(left)), Str(std::move(right))).AsBoolean();
}

struct PatternCase {
  const char* value;
  const char* pattern;
  bool matches;
};

TEST(Patterns, StarTakesAnyRunAndQuestionMarkOneCharacter) {
  const PatternCase cases[] = {
      {"SMITH", "SM*", true},
      {"SM", "SM*", true},
      {"SMITH", "*TH", true},
      {"SMITH", "S*I*H", true},
      {"SMITH", "S?ITH", true},
      {"SMITH", "S?TH", false},
      {"SMITH", "SMITH", true},
      {"SMITH", "SMIT", false},
      {"SMIT", "SMITH", false},
      {"", "", true},
      {"", "*", true},
      {"", "?", false},
      {"A", "", false},
      {"ABC", "*", true},
      {"ABC", "***", true},
      {"ABC", "?*?", true},
      {"AB", "?*??", false},
      {"MISSISSIPPI", "M*SS*PI", true},
      {"MISSISSIPPI", "*SIP*", true},
      {"MISSISSIPPI", "*SSX*", false},
      {"AAAAAB", "*A*AB", true},
      {"AAAAAA", "*A*AB", false},
      {"a*b", "a*b", true},
      {"xyz", "x*z*", true},
      {"xyzq", "x*z", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MatchesPattern(c.value, c.pattern), c.matches)
        << "'" << c.value << "' against '" << c.pattern << "'";
  }
}

TEST(Patterns, ManyStarsOnALongTextStillDecideCorrectly) {
  std::string value(5000, 'A');
  std::string pattern;
  for (int i = 0; i < 40; ++i)
    pattern += "*A";
  EXPECT_TRUE(MatchesPattern(value, pattern));
  EXPECT_FALSE(MatchesPattern(value, pattern + "B"));
  EXPECT_TRUE(MatchesPattern(value + "B", pattern + "B"));
}

TEST(TextComparison, EqualsMatchesThePatternOnTheRightWithPartialCompare) {
  EXPECT_TRUE(Compare(opEq, "SMITH", "SM*"));
  EXPECT_FALSE(Compare(opEq, "SM*", "SMITH")) << "the left side is the value";
  EXPECT_FALSE(Compare(opNEQ, "SMITH", "SM*"));
  EXPECT_TRUE(Compare(opNEQ, "SCOTT", "SM*"));
}

TEST(TextComparison, WithoutPartialCompareWildcardsAreOrdinaryCharacters) {
  EXPECT_FALSE(Compare(opEq, "SMITH", "SM*", foNoPartialCompare));
  EXPECT_TRUE(Compare(opEq, "SM*", "SM*", foNoPartialCompare));
  EXPECT_TRUE(Compare(opNEQ, "SMITH", "SM*", foNoPartialCompare));
  EXPECT_FALSE(Compare(opEq, "SMITH", "S?ITH", foNoPartialCompare));
}

TEST(TextComparison, OrderingOperatorsNeverUsePatterns) {
  EXPECT_TRUE(Compare(opGT, "SMITH", "SM*")) << "'I' sorts after '*'";
  EXPECT_FALSE(Compare(opLTE, "SMITH", "SM*"));
  EXPECT_TRUE(Compare(opGTE, "SM*", "SM*"));
}

TEST(TextComparison, OrderIsOrdinalOverUnsignedBytesWithPrefixesFirst) {
  EXPECT_TRUE(Compare(opLT, "SM", "SMITH"));
  EXPECT_TRUE(Compare(opLT, "Z", "a")) << "upper case letters sort first";
  EXPECT_TRUE(Compare(opLT, "z", "\xE9")) << "bytes above 127 sort last";
  EXPECT_TRUE(Compare(opGT, "b", "abc"));
  EXPECT_TRUE(Compare(opLT, "", "a"));
}

TEST(TextComparison, CaseInsensitiveUpperCasesBothSidesFirst) {
  EXPECT_FALSE(Compare(opEq, "SMITH", "smith"));
  EXPECT_TRUE(Compare(opEq, "SMITH", "smith", foCaseInsensitive));
  EXPECT_TRUE(Compare(opEq, "smith", "SM*", foCaseInsensitive));
  EXPECT_TRUE(Compare(opLT, "apple", "BANANA", foCaseInsensitive));
  EXPECT_FALSE(Compare(opLT, "apple", "BANANA"));
  EXPECT_TRUE(Compare(opEq, "Sm*", "SM*", foCaseInsensitive | foNoPartialCompare));
  EXPECT_FALSE(Compare(opEq, "SMITH", "sm*", foCaseInsensitive | foNoPartialCompare));
}

TEST(TextComparison, TheOptionsOfTheComparisonNodeDecide) {
  // Operands built under other options do not matter.
  std::unique_ptr<TExpression> left, right;
  {
    ScopedFilterOptions scope(foCaseInsensitive);
    left = Str("SMITH");
    right = Str("smith");
  }
  EXPECT_FALSE(TRelationalOp(opEq, std::move(left), std::move(right)).AsBoolean());
}

TEST(DateComparison, DatesAreEqualOnlyWhenExactlyEqual) {
  EXPECT_TRUE(TRelationalOp(opEq, Dat(1.5), Flt(1.5)).AsBoolean());
  EXPECT_FALSE(TRelationalOp(opEq, Dat(1.5), Flt(1.5 + 1e-9)).AsBoolean());
  EXPECT_TRUE(TRelationalOp(opLT, Dat(1.5), Flt(1.5 + 1e-9)).AsBoolean());
}

}  // namespace
}  // namespace vorn::filter_test
