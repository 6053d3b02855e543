// Running statements: parse, bind, execute, describe and fetch in batches,
// the parse a query keeps (Optimize), substitution, the position of an
// error in the text, and the events around an execution.
#include <gtest/gtest.h>

#include "QueryTestSupport.h"
#include "vorn/host/Exceptions.h"
#include "vorn/session/OracleError.h"

namespace vorn::query_test {
namespace {

class ExecutionTest : public QueryTest {};
VORN_QUERY_IN_BOTH_CALL_SETS(ExecutionTest);

TEST_P(ExecutionTest, ASelectFetchesItsRowsInOrder) {
  auto query = NewQuery("select empno, ename from emp where deptno = 10 order by empno");

  query->Execute();

  ASSERT_FALSE(query->Eof());
  EXPECT_EQ(2, query->FieldCount());
  EXPECT_EQ("EMPNO", query->FieldName(0));
  EXPECT_EQ(7782, query->FieldAsInteger(0));
  EXPECT_EQ("CLARK", query->FieldAsString(1));
  query->Next();
  EXPECT_EQ("KING", query->FieldAsString("ENAME"));
  query->Next();
  EXPECT_EQ("MILLER", query->Field(1).AsString());
  query->Next();
  EXPECT_TRUE(query->Eof());
  EXPECT_EQ("You cannot access field data beyond Eof", ErrorOf([&] { query->FieldAsString(0); }));
}

TEST_P(ExecutionTest, ANonQueryReportsTheRowsItProcessed) {
  auto query = NewQuery("update emp set sal = sal + 1 where deptno = :d");
  query->DeclareVariable("d", otInteger);
  query->SetVariable("d", 20);

  query->Execute();

  EXPECT_EQ(5, query->RowsProcessed());
  EXPECT_TRUE(query->Eof());
}

}  // namespace
}  // namespace vorn::query_test
