// Case mapping, trimming, comparison and quoting.
#include "vorn/host/TextUtils.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

TEST(TextUtilsTest, CaseMapping) {
  EXPECT_EQ(UpperCase("abc-xyz_1"), "ABC-XYZ_1");
  EXPECT_EQ(LowerCase("ABC-XYZ"), "abc-xyz");
  EXPECT_EQ(AnsiUpperCase("select * from dual"), "SELECT * FROM DUAL");
  EXPECT_EQ(AnsiLowerCase("ZUQ__ROWID"), "zuq__rowid");
  // Bytes outside ASCII pass unchanged in the C locale (and UTF-8 text stays
  // valid in any locale).
  EXPECT_EQ(AnsiUpperCase("m\xC3\xA4rz"), "M\xC3\xA4RZ");
  std::string withZero("a\0b", 3);
  EXPECT_EQ(UpperCase(withZero), std::string("A\0B", 3));
}

TEST(TextUtilsTest, TrimRemovesBlanksAndControlCharacters) {
  EXPECT_EQ(Trim(" \t\r\n x y \x01"), "x y");
  EXPECT_EQ(TrimLeft("  x  "), "x  ");
  EXPECT_EQ(TrimRight("  x  "), "  x");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim(""), "");
  EXPECT_EQ(Trim("\xA0x\xA0"), "\xA0x\xA0");
}

TEST(TextUtilsTest, Comparisons) {
  EXPECT_LT(CompareStr("ABC", "abc"), 0);
  EXPECT_EQ(CompareText("ABC", "abc"), 0);
  EXPECT_LT(CompareText("abc", "abd"), 0);
  EXPECT_LT(CompareText("ab", "abc"), 0);
  EXPECT_GT(CompareText("b", "A"), 0);
  // Upper-casing puts "_" after the letters.
  EXPECT_GT(CompareText("_", "a"), 0);
  EXPECT_TRUE(SameText("TRemoteDataModule", "TREMOTEDATAMODULE"));
  EXPECT_FALSE(SameText("abc", "abcd"));
  EXPECT_EQ(AnsiCompareText("Hello", "hELLO"), 0);
  EXPECT_LT(AnsiCompareText("apple", "Banana"), 0);
  EXPECT_NE(AnsiCompareStr("a", "A"), 0);
  EXPECT_EQ(AnsiCompareStr("same", "same"), 0);
  EXPECT_TRUE(AnsiSameText("x", "X"));
}

TEST(TextUtilsTest, Quoting) {
  EXPECT_EQ(QuotedStr("O'Brien"), "'O''Brien'");
  EXPECT_EQ(QuotedStr(""), "''");
  EXPECT_EQ(AnsiQuotedStr("say \"hi\"", '"'), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(AnsiDequotedStr("'O''Brien' rest", '\''), "O'Brien");
  EXPECT_EQ(AnsiDequotedStr("plain", '\''), "plain");
  EXPECT_EQ(AnsiDequotedStr("'open", '\''), "open");
}

TEST(TextUtilsTest, StringReplace) {
  EXPECT_EQ(StringReplace("a-b-c", "-", "+", rfNone), "a+b-c");
  EXPECT_EQ(StringReplace("a-b-c", "-", "+", rfReplaceAll), "a+b+c");
  EXPECT_EQ(StringReplace("Select SELECT", "select", "x", rfReplaceAll | rfIgnoreCase), "x x");
  EXPECT_EQ(StringReplace("Select", "select", "x", rfReplaceAll), "Select");
  EXPECT_EQ(StringReplace("aaa", "aa", "a", rfReplaceAll), "aa");
  EXPECT_EQ(StringReplace("abc", "", "x", rfReplaceAll), "abc");
}

TEST(TextUtilsTest, Identifiers) {
  EXPECT_TRUE(IsValidIdent("OracleSession1"));
  EXPECT_TRUE(IsValidIdent("_x"));
  EXPECT_FALSE(IsValidIdent("1x"));
  EXPECT_FALSE(IsValidIdent(""));
  EXPECT_FALSE(IsValidIdent("a b"));
  EXPECT_FALSE(IsValidIdent("a.b"));
}

}  // namespace
}  // namespace vorn
