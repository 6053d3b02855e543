// The fixture and the call log of the query tests; see QueryTestSupport.h.
#include "QueryTestSupport.h"

#include <sstream>

#include "vorn/client/ClientLibrary.h"
#include "vorn/host/Exceptions.h"
#include "vorn/platform/DynamicLibrary.h"

namespace vorn::query_test {

void QueryTest::SetUp() {
  session_ = NewSession();
  session_->LogOn();
}

void QueryTest::TearDown() {
  session_.reset();
}

std::unique_ptr<TOracleQuery> QueryTest::NewQuery(const std::string& sql, TOracleSession* session) {
  auto query = std::make_unique<TOracleQuery>();
  query->SetSession(session != nullptr ? session : session_.get());
  if (!sql.empty()) query->SQL()->SetText(sql);
  return query;
}

void QueryTest::Run(const std::string& sql) {
  NewQuery(sql)->Execute();
}

std::vector<std::string> QueryTest::Rows(const std::string& sql) {
  auto query = NewQuery(sql);
  query->Execute();
  std::vector<std::string> rows;
  for (; !query->Eof(); query->Next()) {
    std::string line;
    for (int i = 0; i < query->FieldCount(); ++i) {
      if (i > 0) line += "|";
      line += query->FieldAsString(i);
    }
    rows.push_back(line);
  }
  return rows;
}

namespace {

using LogFunction = const char* (*)();
using ClearFunction = void (*)();

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

CallLog::CallLog() {
  client::UnloadClientLibrary();
  client::SetClientLibraryPath(VORN_CALL_COUNTER_LIBRARY);
  client::LoadClientLibrary();
  Clear();
}

CallLog::~CallLog() {
  client::UnloadClientLibrary();
  client::SetClientLibraryPath("");
}

std::vector<std::string> CallLog::Calls() const {
  std::istringstream text(Shim<LogFunction>("vorn_shim_call_log")());
  std::vector<std::string> calls;
  for (std::string line; std::getline(text, line);)
    calls.push_back(line);
  return calls;
}

std::vector<std::string> CallLog::Statements() const {
  std::istringstream text(Shim<LogFunction>("vorn_shim_statement_log")());
  std::vector<std::string> statements;
  for (std::string line; std::getline(text, line);)
    statements.push_back(line);
  return statements;
}

void CallLog::Clear() const {
  Shim<ClearFunction>("vorn_shim_clear_call_log")();
}

int CallLog::Count(const std::string& prefix) const {
  int count = 0;
  for (const std::string& call : Calls())
    count += call.rfind(prefix, 0) == 0 ? 1 : 0;
  return count;
}

}  // namespace vorn::query_test
