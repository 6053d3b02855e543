// The texts of the record statements that depend on no record: the row
// statement and the refresh statement built from a dataset's SQL.
#include <gtest/gtest.h>

#include "RecordUpdater.h"

namespace vorn::record_sql {
namespace {

TEST(RowStatementTest, SelectsTheRowByRowidAndLocksWithoutWaiting) {
  EXPECT_EQ("select * from EMP where rowid = :zuq__rowid", RowStatement("EMP", false));
  EXPECT_EQ("select * from EMP where rowid = :zuq__rowid\nfor update nowait",
            RowStatement("EMP", true));
}

TEST(RefreshStatementTest, AConditionIsKeptInParenthesesBesideTheRowids) {
  EXPECT_EQ("select * from emp e\nwhere (e.deptno = :d)\r\nand\r\n(E.rowid = :zuq__rowid)",
            RefreshStatement("select * from emp e where e.deptno = :d order by ename", "E", ""));
}

TEST(RefreshStatementTest, WithoutConditionTheRowidIsTheCondition) {
  EXPECT_EQ("select * from dept\nwhere DEPT.rowid = :zuq__rowid",
            RefreshStatement("select * from dept", "DEPT", ""));
}

TEST(RefreshStatementTest, AGroupedStatementGetsTheRowidInItsHaving) {
  EXPECT_EQ("select deptno, count(*) from emp group by deptno\nhaving E.rowid = :zuq__rowid",
            RefreshStatement("select deptno, count(*) from emp group by deptno", "E", ""));
}

TEST(RefreshStatementTest, LockingAddsForUpdateOfTheFirstColumn) {
  EXPECT_EQ("select ename from emp e\nwhere E.rowid = :zuq__rowid\nfor update of E.ENAME nowait",
            RefreshStatement("select ename from emp e for update", "E", "ENAME"));
}

TEST(RefreshStatementTest, OnlyThePartBeforeEndRefreshCountsInAnyCase) {
  EXPECT_EQ("select * from emp\nwhere EMP.rowid = :zuq__rowid",
            RefreshStatement("select * from emp   /* end_refresh */ where sal > 0", "EMP", ""));
}

TEST(RefreshStatementTest, CommentsAreLeftOut) {
  EXPECT_EQ("select * from emp\nwhere (sal > 0)\r\nand\r\n(EMP.rowid = :zuq__rowid)",
            RefreshStatement("select * from emp -- all\r\nwhere sal > 0 /* paid */", "EMP", ""));
}

TEST(JoinLinesTest, JoinsWithLineFeeds) {
  EXPECT_EQ("a\nb\nc", JoinLines({"a", "b", "c"}));
  EXPECT_EQ("", JoinLines({}));
}

}  // namespace
}  // namespace vorn::record_sql
