// The rowid of the row a statement touched, in both call sets, and the two
// forms of its text.
#include <gtest/gtest.h>

#include "QueryTestSupport.h"
#include "RowIdText.h"

namespace vorn::query_test {
namespace {

class RowIdTest : public QueryTest {};
VORN_QUERY_IN_BOTH_CALL_SETS(RowIdTest);

TEST_P(RowIdTest, TheRowIdOfAnUpdatedRowIsTheServersRowid) {
  auto query = NewQuery("update emp set sal = sal where empno = 7839");
  query->Execute();

  const std::string rowid = query->RowId();

  EXPECT_EQ(18u, rowid.size());
  EXPECT_EQ(std::vector<std::string>{"KING"},
            Rows("select ename from emp where rowid = '" + rowid + "'"));
}

TEST_P(RowIdTest, AnInsertedRowCanBeFoundAgain) {
  auto query = NewQuery("insert into dept (deptno, dname) values (50, 'NEW')");
  query->Execute();

  EXPECT_EQ(std::vector<std::string>{"50"},
            Rows("select deptno from dept where rowid = '" + query->RowId() + "'"));
}

TEST(RowIdTextTest, TheExtendedFormWritesBase64Parts) {
  EXPECT_EQ("AAAAB0AABAAAAOhAAA", RowIdText({116, 1, 929, 0}));
  EXPECT_EQ("AAAAABA//AAAAAEAA/", RowIdText({1, 4095, 4, 63}));
}

TEST(RowIdTextTest, ObjectZeroGivesTheRestrictedForm) {
  EXPECT_EQ("000003a1.0000.0001", RowIdText({0, 1, 929, 0}));
  EXPECT_EQ("ffffffff.0012.00ab", RowIdText({0, 0xAB, 0xFFFFFFFF, 0x12}));
}

}  // namespace
}  // namespace vorn::query_test
