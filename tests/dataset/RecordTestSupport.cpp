// The fixture of the record modification tests; see RecordTestSupport.h.
#include "RecordTestSupport.h"

#include <sstream>

#include "vorn/client/ClientLibrary.h"
#include "vorn/platform/DynamicLibrary.h"

namespace vorn::dataset_test {

namespace {

template <class Function>
Function Shim(const char* name) {
  platform::LibraryHandle library = platform::LoadDynamicLibrary(VORN_CALL_COUNTER_LIBRARY);
  if (library == nullptr) throw Exception("no call counter: " + platform::LastLibraryError());
  auto symbol = platform::ResolveLibrarySymbol(library, name);
  platform::FreeDynamicLibrary(library);
  if (symbol == nullptr) throw Exception(std::string("no ") + name);
  return reinterpret_cast<Function>(symbol);
}

}  // namespace

StatementTrace::StatementTrace() {
  client::UnloadClientLibrary();
  client::SetClientLibraryPath(VORN_CALL_COUNTER_LIBRARY);
  client::LoadClientLibrary();
  Clear();
}

StatementTrace::~StatementTrace() {
  client::UnloadClientLibrary();
  client::SetClientLibraryPath("");
}

std::vector<std::string> StatementTrace::Entries() const {
  const std::string text = Shim<const char* (*)()>("vorn_shim_trace_log")();
  std::vector<std::string> entries;
  size_t start = 0;
  for (size_t end = text.find('\x1e'); end != std::string::npos; end = text.find('\x1e', start)) {
    entries.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return entries;
}

int StatementTrace::Parses(const std::string& prefix) const {
  std::istringstream text(Shim<const char* (*)()>("vorn_shim_statement_log")());
  int count = 0;
  for (std::string line; std::getline(text, line);)
    count += line.rfind(prefix, 0) == 0 ? 1 : 0;
  return count;
}

void StatementTrace::Clear() const {
  Shim<void (*)()>("vorn_shim_clear_call_log")();
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
