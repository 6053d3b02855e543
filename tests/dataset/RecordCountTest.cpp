// RecordCount with CountAllRecords: the count query as the server gets it
// (ordering and FOR UPDATE left out, grouping conditions kept, the
// variables it names carried over), on a query of the dataset's own that
// leaves the dataset's statement, variables and open cursor alone; the
// count kept until the query runs again; the in-memory count while
// filtered; the refusal for a cursor dataset.
#include <gtest/gtest.h>

#include "RecordList.h"
#include "RecordTestSupport.h"
#include "vorn/host/Field.h"
#include "vorn/query/Variables.h"

namespace vorn::dataset_test {
namespace {

using Lines = std::vector<std::string>;

class RecordCountTest : public RecordTest {};

VORN_IN_BOTH_CALL_SETS(RecordCountTest);

TEST_P(RecordCountTest, WithoutCountAllRecordsTheRecordsFetchedAreCounted) {
  MakeNumbers(50);
  auto numbers = NewDataSet("select n from numbers_t order by n");
  numbers->SetQueryAllRecords(false);
  numbers->SetReadBuffer(5);
  numbers->Open();
  trace_->Clear();

  const int count = numbers->RecordCount();

  EXPECT_EQ(numbers->Records()->Count(), count);
  EXPECT_LT(count, 50);
  EXPECT_TRUE(Traced().empty());
}

TEST_P(RecordCountTest, AnOrderedQueryIsCountedWithoutItsOrdering) {
  auto emp = NewDataSet("select empno, ename\n  from emp\n order by ename desc");
  emp->SetCountAllRecords(true);
  emp->Open();
  trace_->Clear();

  EXPECT_EQ(14, emp->RecordCount());

  EXPECT_EQ((Lines{"select count(*) from (\nselect empno, ename\n  from emp\n)"}), Traced());
}

TEST_P(RecordCountTest, TheConditionAndItsVariablesGoIntoTheCount) {
  auto emp = NewDataSet(
      "select ename from emp where deptno = :dept and sal > :minsal order by decode(:byname, 1, "
      "ename, job) for update");
  emp->DeclareVariable("dept", otInteger);
  emp->DeclareVariable("minsal", otFloat);
  emp->DeclareVariable("byname", otInteger);
  emp->SetVariable("dept", 20);
  emp->SetVariable("minsal", 1000.0);
  emp->SetCountAllRecords(true);
  emp->SetQueryAllRecords(false);
  emp->Open();
  trace_->Clear();

  EXPECT_EQ(4, emp->RecordCount());

  EXPECT_EQ((Lines{"select count(*) from (\nselect ename from emp\nwhere deptno = :dept and sal > "
                   ":minsal)"}),
            Traced());
}

TEST_P(RecordCountTest, AGroupingQueryIsCountedWithItsHavingClauseAndVariables) {
  auto groups = NewDataSet(
      "select deptno, count(*) n from emp where sal > :minsal group by deptno having count(*) > "
      ":least order by deptno");
  groups->DeclareVariable("minsal", otFloat);
  groups->DeclareVariable("least", otInteger);
  groups->SetVariable("minsal", 1000.0);
  groups->SetVariable("least", 3);
  groups->SetCountAllRecords(true);
  groups->Open();
  trace_->Clear();

  EXPECT_EQ(2, groups->RecordCount());

  EXPECT_EQ((Lines{"select count(*) from (\nselect deptno, count(*) n from emp where sal > :minsal "
                   "group by deptno\nhaving count(*) > :least)"}),
            Traced());
  EXPECT_EQ((Lines{"20|4", "30|5"}), Rows(*groups));
}

TEST_P(RecordCountTest, CountingLeavesTheStatementTheVariablesAndTheOpenCursorAlone) {
  MakeNumbers(60);
  auto numbers = NewDataSet("select n, label from numbers_t where n > :low order by n");
  numbers->DeclareVariable("low", otInteger);
  numbers->SetVariable("low", 10);
  numbers->SetQueryAllRecords(false);
  numbers->SetReadBuffer(4);
  numbers->SetCountAllRecords(true);
  numbers->Open();
  numbers->MoveBy(2);
  const std::string sql = numbers->SQL()->Text();

  EXPECT_EQ(50, numbers->RecordCount());

  EXPECT_EQ(sql, numbers->SQL()->Text());
  EXPECT_EQ(1, numbers->Variables()->Count());
  EXPECT_EQ(10, numbers->GetVariable("low").AsInteger());
  EXPECT_EQ(13, numbers->FieldByName("N")->AsInteger());
  const Lines values = Column(*numbers, "N");
  ASSERT_EQ(50u, values.size()) << "the rows not fetched yet still come";
  EXPECT_EQ("11", values.front());
  EXPECT_EQ("60", values.back());
}

TEST_P(RecordCountTest, TheCountIsKeptUntilTheQueryRunsAgain) {
  MakeNumbers(30);
  auto numbers = NewDataSet("select n from numbers_t");
  numbers->SetCountAllRecords(true);
  numbers->Open();
  EXPECT_EQ(30, numbers->RecordCount());
  trace_->Clear();

  EXPECT_EQ(30, numbers->RecordCount());
  EXPECT_TRUE(Traced().empty());

  Run("insert into numbers_t values (31, 'row 31')");
  numbers->Refresh();
  EXPECT_EQ(31, numbers->RecordCount());
  numbers->Close();
  Run("delete from numbers_t where n > 20");
  numbers->Open();
  EXPECT_EQ(20, numbers->RecordCount());
}

TEST_P(RecordCountTest, WhileFilteredTheRecordsPassingTheFilterAreCounted) {
  MakeNumbers(30);
  auto numbers = NewDataSet("select n from numbers_t");
  numbers->SetCountAllRecords(true);
  numbers->Open();
  numbers->SetFilter("N > 25");
  numbers->SetFiltered(true);
  trace_->Clear();

  EXPECT_EQ(5, numbers->RecordCount());

  EXPECT_TRUE(Traced().empty());
  numbers->SetFiltered(false);
  EXPECT_EQ(30, numbers->RecordCount());
}

TEST_P(RecordCountTest, ACursorDataSetCannotBeCounted) {
  auto emp = NewDataSet("begin open :c for select ename from emp; end;");
  emp->DeclareVariable("c", otCursor);
  emp->SetCountAllRecords(true);
  emp->Open();

  EXPECT_EQ("Cannot count query hits for cursor dataset", ErrorOf([&] { emp->RecordCount(); }));
  emp->SetFiltered(true);
  EXPECT_EQ(14, emp->RecordCount());
}

TEST_P(RecordCountTest, ACountQueryErrorReachesTheCaller) {
  auto emp = NewDataSet("select ename from emp where sal > :minsal");
  emp->DeclareVariable("minsal", otString);
  emp->SetVariable("minsal", "1000");
  emp->SetCountAllRecords(true);
  emp->Open();
  emp->SetVariable("minsal", "lots");

  EXPECT_NE("", ErrorOf([&] { emp->RecordCount(); }));
  EXPECT_EQ(14 - 2, static_cast<int>(Column(*emp, "ENAME").size()));
}

TEST_P(RecordCountTest, AClosedDataSetCountsNothing) {
  auto emp = NewDataSet("select ename from emp");
  emp->SetCountAllRecords(true);
  trace_->Clear();

  EXPECT_EQ(0, emp->RecordCount());

  EXPECT_TRUE(Traced().empty());
}

}  // namespace
}  // namespace vorn::dataset_test
