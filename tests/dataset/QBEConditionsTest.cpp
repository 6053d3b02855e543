// The texts of query by example on their own: text values made ready,
// every condition form, and the statement with the conditions added.
#include "QBEConditions.h"

#include <gtest/gtest.h>

namespace vorn::qbe_sql {
namespace {

TEST(QBEConditionsTest, FileWildCardsAndPartialMatchPrepareTheText) {
  EXPECT_EQ("S%H", PrepareText("S*H", true, false));
  EXPECT_EQ("_ING", PrepareText("?ING", true, false));
  EXPECT_EQ("S*H", PrepareText("S*H", false, false));
  EXPECT_EQ("SM%", PrepareText("SM", false, true));
  EXPECT_EQ("SM%", PrepareText("SM%", false, true));
  EXPECT_EQ("SM%", PrepareText("SM*", true, true));
  EXPECT_EQ("SM*%", PrepareText("SM*", false, true));
}

TEST(QBEConditionsTest, ATextComparesByLikeOnlyWithAWildcard) {
  EXPECT_EQ("ENAME = 'SMITH'", TextCondition("ENAME", "SMITH", false));
  EXPECT_EQ("ENAME like 'SM%'", TextCondition("ENAME", "SM%", false));
  EXPECT_EQ("ENAME like 'SM_TH'", TextCondition("ENAME", "SM_TH", false));
  EXPECT_EQ("ENAME = 'O''Neil'", TextCondition("ENAME", "O'Neil", false));
  EXPECT_EQ("", TextCondition("ENAME", "", false));
  EXPECT_EQ("", TextCondition("ENAME", "", true));
}

TEST(QBEConditionsTest, ALongerCaseInsensitiveTextOffersFourPrefixesAndComparesUpperCase) {
  EXPECT_EQ(
      "(ENAME like 'sm%' or ENAME like 'Sm%' or ENAME like 'sM%' or ENAME like 'SM%') and "
      "upper(ENAME) = upper('smith')",
      TextCondition("ENAME", "smith", true));
  EXPECT_EQ(
      "(ENAME like 'sm%' or ENAME like 'Sm%' or ENAME like 'sM%' or ENAME like 'SM%') and "
      "upper(ENAME) like upper('SM_TH%')",
      TextCondition("ENAME", "SM_TH%", true));
}

TEST(QBEConditionsTest, PrefixesWithoutASecondCaseAreLeftOut) {
  EXPECT_EQ("(C like '1a%' or C like '1A%') and upper(C) = upper('1ab')",
            TextCondition("C", "1ab", true));
  EXPECT_EQ("(C like 'a1%' or C like 'A1%') and upper(C) = upper('A12')",
            TextCondition("C", "A12", true));
  EXPECT_EQ("(C like '12%') and upper(C) = upper('123')", TextCondition("C", "123", true));
  EXPECT_EQ("(C like 'o''%' or C like 'O''%') and upper(C) = upper('O''Neil')",
            TextCondition("C", "O'Neil", true));
}

TEST(QBEConditionsTest, ATwoCharacterCaseInsensitiveTextComparesItsFormsWhole) {
  EXPECT_EQ("(C = 'ab' or C = 'Ab' or C = 'aB' or C = 'AB')", TextCondition("C", "ab", true));
  EXPECT_EQ("(C like 'a%' or C like 'A%')", TextCondition("C", "A%", true));
  EXPECT_EQ("(C = '1a' or C = '1A')", TextCondition("C", "1A", true));
  EXPECT_EQ("(C = '12')", TextCondition("C", "12", true));
}

TEST(QBEConditionsTest, AOneCharacterCaseInsensitiveTextIsAnInListOrAPlainCompare) {
  EXPECT_EQ("ENAME in ('A', 'a')", TextCondition("ENAME", "a", true));
  EXPECT_EQ("ENAME in ('A', 'a')", TextCondition("ENAME", "A", true));
  EXPECT_EQ("ENAME like '%'", TextCondition("ENAME", "%", true));
  EXPECT_EQ("ENAME like '_'", TextCondition("ENAME", "_", true));
  EXPECT_EQ("ENAME = '7'", TextCondition("ENAME", "7", true));
  EXPECT_EQ("ENAME = ''''", TextCondition("ENAME", "'", true));
}

TEST(QBEConditionsTest, DatesAndOtherValuesCompareWithTheirVariable) {
  EXPECT_EQ("HIREDATE >= :zuq__qbe4 and HIREDATE < :zuq__qbe4 + 1",
            WholeDayCondition("HIREDATE", "zuq__qbe4"));
  EXPECT_EQ("EMPNO = :zuq__qbe1", ValueCondition("EMPNO", "zuq__qbe1"));
}

TEST(QBEConditionsTest, TheConditionsGoIntoTheStatementBeforeItsTailWithTheMarkerLast) {
  EXPECT_EQ(
      "select * from emp\r\nwhere A = 1\r\nand B = 2\r\norder by ename\r\n/* Modified for QBE "
      "*/",
      StatementWithConditions("select * from emp order by ename", {"A = 1", "B = 2"}));
  EXPECT_EQ(
      "select * from emp e\r\nwhere (e.deptno = 10)\r\nand\r\n(A = 1)\r\n/* Modified for QBE */",
      StatementWithConditions("select * from emp e where e.deptno = 10", {"A = 1"}));
  EXPECT_EQ(
      "select deptno from emp group by deptno\r\nhaving (count(*) > 1)\r\nand\r\n(DEPTNO = "
      ":zuq__qbe1)\r\nfor update\r\n/* Modified for QBE */",
      StatementWithConditions("select deptno from emp group by deptno having count(*) > 1 for "
                              "update",
                              {"DEPTNO = :zuq__qbe1"}));
}

TEST(QBEConditionsTest, AGroupingStatementWithoutHavingGetsOne) {
  EXPECT_EQ(
      "select deptno from emp where sal > 0 group by deptno\r\nhaving DEPTNO = "
      ":zuq__qbe1\r\n/* Modified for QBE */",
      StatementWithConditions("select deptno from emp where sal > 0 group by deptno",
                              {"DEPTNO = :zuq__qbe1"}));
}

TEST(QBEConditionsTest, WithoutConditionsTheStatementStaysAsItIs) {
  const std::string sql = "select * /* all */ from emp\r\norder by 1\r\n";

  EXPECT_EQ(sql, StatementWithConditions(sql, {}));
}

TEST(QBEConditionsTest, CommentsAndTheMarkerOfTheStatementItselfDoNotSurviveTheRewrite) {
  EXPECT_EQ("select * from emp\r\nwhere A = 1\r\n/* Modified for QBE */",
            StatementWithConditions("select * -- all\r\nfrom emp /* where x */", {"A = 1"}));
}

}  // namespace
}  // namespace vorn::qbe_sql
