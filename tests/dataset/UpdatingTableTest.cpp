// The updating table and its alias, read from the text of a dataset's
// SELECT statement.
#include <gtest/gtest.h>

#include <string>

#include "UpdatingTable.h"
#include "vorn/host/Exceptions.h"

namespace vorn {
namespace {

// --- The table

TEST(UpdatingTableOfStatement, IsTheFirstTableAfterFromUpperCased) {
  EXPECT_EQ(UpdatingTableOfStatement("select * from emp"), "EMP");
  EXPECT_EQ(UpdatingTableOfStatement("select e.*, d.dname from emp e, dept d"), "EMP");
  EXPECT_EQ(UpdatingTableOfStatement("SELECT * FROM scott.Emp WHERE 1 = 1"), "SCOTT.EMP");
}

TEST(UpdatingTableOfStatement, LosesTheDoubleQuotesOfAQuotedName) {
  EXPECT_EQ(UpdatingTableOfStatement("select * from \"Emp\" e"), "EMP");
  EXPECT_EQ(UpdatingTableOfStatement("select * from \"SCOTT\".\"EMP\""), "SCOTT.EMP");
}

TEST(UpdatingTableOfStatement, KeepsTheOtherWordCharacters) {
  EXPECT_EQ(UpdatingTableOfStatement("select * from sys.v$session@remote where 1=1"),
            "SYS.V$SESSION@REMOTE");
  EXPECT_EQ(UpdatingTableOfStatement("select * from t#1"), "T#1");
}

TEST(UpdatingTableOfStatement, LineBreaksAndTabsSeparateLikeBlanks) {
  EXPECT_EQ(UpdatingTableOfStatement("select *\r\nfrom\temp\r\nwhere x = 1"), "EMP");
  EXPECT_EQ(UpdatingTableOfStatement("select *\nfrom\n  dept\n"), "DEPT");
}

TEST(UpdatingTableOfStatement, ASubqueryInFromGivesItsOwnTable) {
  EXPECT_EQ(UpdatingTableOfStatement("select * from (select * from dept where loc = 'X') d"),
            "DEPT");
  EXPECT_EQ(UpdatingTableOfStatement("select * from(select * from emp)"), "EMP");
  EXPECT_EQ(UpdatingTableOfStatement("select * from ( ( select ename from emp ) )"), "EMP");
}

TEST(UpdatingTableOfStatement, ASubqueryInTheSelectListIsNotTheTable) {
  EXPECT_EQ(UpdatingTableOfStatement("select (select count(*) from dept) n, e.* from emp e"),
            "EMP");
  EXPECT_EQ(UpdatingTableOfStatement("select nvl((select max(sal) from bonus), 0) from emp"),
            "EMP");
}

TEST(UpdatingTableOfStatement, FromInsideLiteralsQuotedNamesAndCommentsDoesNotCount) {
  EXPECT_EQ(UpdatingTableOfStatement("select 'a from b' x from emp"), "EMP");
  EXPECT_EQ(UpdatingTableOfStatement("select \"FROM\" from dept"), "DEPT");
  EXPECT_EQ(UpdatingTableOfStatement("select * /* from bonus */ from emp -- from dept\nwhere 1=1"),
            "EMP");
}

TEST(UpdatingTableOfStatement, FromMustStandAsAWord) {
  EXPECT_EQ(UpdatingTableOfStatement("select fromage, x_from from cheese"), "CHEESE");
}

TEST(UpdatingTableOfStatement, IsEmptyWithoutAFrom) {
  EXPECT_EQ(UpdatingTableOfStatement("begin null; end;"), "");
  EXPECT_EQ(UpdatingTableOfStatement(""), "");
  EXPECT_EQ(UpdatingTableOfStatement("select * from"), "");
  EXPECT_EQ(UpdatingTableOfStatement("select * from ("), "");
}

// --- The alias

TEST(UpdatingTableAliasOf, IsTheWordAfterTheTable) {
  const std::string sql = "select e.*, e.rowid from emp e where deptno = :d order by ename";
  EXPECT_EQ(UpdatingTableAliasOf(sql, "EMP"), "E");
  EXPECT_EQ(UpdatingTableAliasOf("select * from scott.emp   x\n", "SCOTT.EMP"), "X");
}

TEST(UpdatingTableAliasOf, IsTheTableWithoutAnAlias) {
  EXPECT_EQ(UpdatingTableAliasOf("select * from emp", "EMP"), "EMP");
  EXPECT_EQ(UpdatingTableAliasOf("select * from emp\r\n", "EMP"), "EMP");
  EXPECT_EQ(UpdatingTableAliasOf("select * from emp, dept d", "EMP"), "EMP");
  EXPECT_EQ(UpdatingTableAliasOf("select * from emp , dept d", "EMP"), "EMP");
}

TEST(UpdatingTableAliasOf, AClauseKeywordIsNoAlias) {
  for (const std::string keyword : {"where x = 1", "order by x", "group by x", "for update",
                                    "start with x = 1", "connect by x = prior y"}) {
    EXPECT_EQ(UpdatingTableAliasOf("select * from emp " + keyword, "EMP"), "EMP") << keyword;
  }
}

TEST(UpdatingTableAliasOf, OfAQuotedTable) {
  EXPECT_EQ(UpdatingTableAliasOf("select * from \"EMP\" e where 1=1", "EMP"), "E");
}

TEST(UpdatingTableAliasOf, AQuotedAliasKeepsItsQuotesAndCase) {
  EXPECT_EQ(UpdatingTableAliasOf("select * from emp \"e\" where 1=1", "EMP"), "\"e\"");
}

TEST(UpdatingTableAliasOf, OfASubqueryInFromFollowsItsParenthesis) {
  const std::string sql = "select * from (select a.*, rowid r from dept a where x = ')') d";
  EXPECT_EQ(UpdatingTableAliasOf(sql, "DEPT"), "D");
  EXPECT_EQ(UpdatingTableAliasOf("select * from (select * from dept) where 1=1", "DEPT"), "DEPT");
}

TEST(UpdatingTableAliasOf, OfAnotherTableThanTheFirstIsThatTable) {
  // UpdatingTable may name a table the statement does not start its FROM
  // with: there is no alias to read.
  EXPECT_EQ(UpdatingTableAliasOf("select * from dept d, emp e", "EMP"), "EMP");
}

TEST(UpdatingTableAliasOf, IgnoresCommentsAndSubqueriesInTheSelectList) {
  EXPECT_EQ(
      UpdatingTableAliasOf("select (select 1 from dual x) n from /* t */ emp -- e\n e", "EMP"),
      "E");
}

// --- The updating table of a dataset

TEST(ChooseUpdatingTable, ThePropertyWinsTrimmed) {
  EXPECT_EQ(ChooseUpdatingTable("  dept ", "select * from emp", false), "dept");
  EXPECT_EQ(ChooseUpdatingTable("dept", "begin :c := x; end;", true), "dept");
}

TEST(ChooseUpdatingTable, WithoutThePropertyTheStatementTells) {
  EXPECT_EQ(ChooseUpdatingTable("", "select * from emp", false), "EMP");
  EXPECT_EQ(ChooseUpdatingTable("   ", "select * from emp", false), "EMP");
}

TEST(ChooseUpdatingTable, ACursorDataSetNeedsTheProperty) {
  try {
    ChooseUpdatingTable(" ", "begin open :c for select * from emp; end;", true);
    FAIL() << "no error";
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), "UpdatingTable property required for cursor dataset");
  }
}

}  // namespace
}  // namespace vorn
