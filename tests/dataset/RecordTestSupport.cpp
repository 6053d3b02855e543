// The fixture of the record modification tests; see RecordTestSupport.h.
#include "RecordTestSupport.h"

namespace vorn::dataset_test {

int StatementTrace::Parses(const std::string& prefix) const {
  int count = 0;
  for (const std::string& statement : Statements())
    count += statement.rfind(prefix, 0) == 0 ? 1 : 0;
  return count;
}

void RecordTest::SetUp() {
  trace_ = std::make_unique<StatementTrace>();
  DataSetTest::SetUp();
  other_ = NewSession();
  other_->LogOn();
}

void RecordTest::TearDown() {
  other_.reset();
  DataSetTest::TearDown();
  trace_.reset();
}

void RecordTest::MakeItems() {
  Run("create table items (id number(4) primary key, name varchar2(20), qty number(6), "
      "price number(8,2), made date)");
  Run("insert into items values (1, 'bolt', 10, 0.25, to_date('2001-02-03', 'YYYY-MM-DD'))");
  Run("insert into items values (2, 'nut', 20, 0.1, to_date('2001-02-04', 'YYYY-MM-DD'))");
  Run("insert into items values (3, 'washer', 30, 0.05, null)");
  session_->Commit();
}

std::unique_ptr<ProbeDataSet> RecordTest::OpenItems(const std::string& columns) {
  auto dataSet = NewDataSet("select " + columns + " from items i order by id");
  dataSet->Open();
  return dataSet;
}

std::vector<std::string> RecordTest::Committed(const std::string& sql) {
  // The other user has nothing of its own pending when it reads.
  return session_test::Rows(*other_, sql);
}

void RecordTest::RunOther(const std::string& sql) {
  session_test::RunSql(*other_, sql);
}

void RecordTest::CommitOther() {
  other_->Commit();
}

std::vector<std::string> RecordTest::Traced() const {
  return trace_->Entries();
}

}  // namespace vorn::dataset_test
