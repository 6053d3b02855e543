// What the session tests share.
//
// - SessionTest: a fixture that points the client binding at the demo Oracle
//   home of the build (through its machine-registry file), gives every test
//   its own copy of a test database (the demo schema plus the accounts the
//   logon tests need, seeded once per test program by vornsql), records the
//   UI (message boxes, cursor changes) and unloads the client library
//   before and after the test, so tests that force other libraries do not
//   meet each other.
// - TestQuery: a statement run over a session's own handles, through the
//   version 8 or the version 7 calls as the session uses them, with every
//   row fetched at once. It stands in for the query engine: installed as
//   the session query factory, it runs the statements the session
//   generates; used directly, it checks what a session's transaction left.
// - Recording clients: a registered query and dataset that log what the
//   session asks of them.
// - ErrorOf: the message of the vorn::Exception an action raises, for the
//   tests of the layers above as well.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "vorn/host/Exceptions.h"
#include "vorn/host/RecordingUIServices.h"
#include "vorn/host/UIServices.h"
#include "vorn/session/OracleSession.h"
#include "vorn/session/SessionClients.h"
#include "vorn/session/SessionQuery.h"

namespace vorn::session_test {

// The operating-system user that external credentials stand for.
std::string OsUser();

// A query over the session's handles; errors raise EOracleError built as the
// query engine builds it (error handle, or cursor return code).
class TestQuery : public SessionQuery, public RegisteredQuery {
 public:
  explicit TestQuery(TOracleSession& session);
  ~TestQuery() override;
  TestQuery(const TestQuery&) = delete;
  TestQuery& operator=(const TestQuery&) = delete;

  TOracleSession* Session() const { return session_; }

  void Clear() override;
  void SetSQLText(const std::string& text) override { sql_ = text; }
  void Execute() override;
  bool Eof() override { return row_ >= rows_.size(); }
  void Next() override { ++row_; }
  int FieldAsInteger(int column) override;
  std::string FieldAsString(int column) override;

  void CloseForLogOff() override { ++closes_; }
  void DetachFromSession() override;

  const std::string& SQLText() const { return sql_; }
  int Closes() const { return closes_; }

  // Every statement any TestQuery executed, in order, across the process.
  static std::vector<std::string>& Log();

 private:
  void ExecuteOCI8();
  void ExecuteOCI7();

  TOracleSession* session_;
  std::string sql_;
  std::vector<std::vector<std::string>> rows_;
  size_t row_ = 0;
  int closes_ = 0;
};

// Runs `sql` on `session` and returns its rows, the columns joined by "|".
std::vector<std::string> Rows(TOracleSession& session, const std::string& sql);
// Runs a statement that returns no rows.
void RunSql(TOracleSession& session, const std::string& sql);

// Installs a session query factory for its lifetime (an empty one: no
// query engine).
class ScopedQueryFactory {
 public:
  explicit ScopedQueryFactory(SessionQueryFactory factory);
  ~ScopedQueryFactory();
  ScopedQueryFactory(const ScopedQueryFactory&) = delete;
  ScopedQueryFactory& operator=(const ScopedQueryFactory&) = delete;

 private:
  SessionQueryFactory previous_;
};

// TestQuery as the session query factory.
class ScopedTestQueries : public ScopedQueryFactory {
 public:
  ScopedTestQueries();
};

// A registered query or dataset that appends "<name>.<call>" to a shared
// log, and fails the calls it is told to.
class RecordingQuery final : public RegisteredQuery {
 public:
  RecordingQuery(TOracleSession& session, std::string name, std::vector<std::string>& log);
  ~RecordingQuery();

  void CloseForLogOff() override;
  void DetachFromSession() override;

  TOracleSession* session = nullptr;
  bool failClose = false;

 private:
  std::string name_;
  std::vector<std::string>& log_;
};

class RecordingDataSet final : public RegisteredDataSet {
 public:
  RecordingDataSet(TOracleSession& session, std::string name, std::vector<std::string>& log);
  ~RecordingDataSet();

  void CloseForLogOff() override;
  void DetachFromSession() override;
  std::string DataSetName() const override { return name_; }
  bool DataSetActive() const override { return active; }
  void ResetDataSetFieldDefs() override;
  void OpenDataSet() override;

  TOracleSession* session = nullptr;
  bool active = false;
  bool failClose = false;
  bool failOpen = false;

 private:
  std::string name_;
  std::vector<std::string>& log_;
};

class SessionTest : public ::testing::Test {
 protected:
  SessionTest();
  ~SessionTest() override;

  // The test's own database (made on first use), optionally with another
  // server version text.
  const std::string& Database();
  void SetBanner(const std::string& banner);
  // A session for the test's database, not yet logged on, using the call
  // set of the test (UseOCI7 in its preferences for version 7 calls).
  std::unique_ptr<TOracleSession> NewSession(const std::string& user = "scott",
                                             const std::string& password = "tiger");
  // A second session, logged on as scott, that sees only what is committed.
  std::unique_ptr<TOracleSession> Observer();
  // Number of rows of scott's table PROBE.
  int ProbeRows(TOracleSession& session);

  // Runs `sql` through vornsql on the test's database as SYSTEM.
  void Administer(const std::string& sql);

  // The demo Oracle home of the build, and its client library.
  static std::string OracleHome();
  static std::string OracleHomeLibrary();

  RecordingUIServices ui_;
  // Sessions of this test log on with version 7 calls.
  bool useOCI7_ = false;

 private:
  ScopedUIServices uiScope_{ui_};
  std::string database_;
  std::vector<std::pair<std::string, std::optional<std::string>>> savedEnvironment_;
};

// The call sets a test runs in.
enum class CallSet { OCI8, OCI7 };

std::string CallSetName(const ::testing::TestParamInfo<CallSet>& info);

// A test that runs once with version 8 calls and once with version 7 calls.
class CallSetTest : public SessionTest, public ::testing::WithParamInterface<CallSet> {
 protected:
  CallSetTest() { useOCI7_ = GetParam() == CallSet::OCI7; }
  bool UsesOCI7() const { return useOCI7_; }
};

// The text of `error` when `action` raises a vorn::Exception; "" when it
// does not raise.
template <class Action>
std::string ErrorOf(Action&& action) {
  try {
    action();
  } catch (const Exception& error) {
    return error.Message();
  }
  return "";
}

#define VORN_IN_BOTH_CALL_SETS(Suite)                                                        \
  INSTANTIATE_TEST_SUITE_P(CallSets, Suite, ::testing::Values(CallSet::OCI8, CallSet::OCI7), \
                           CallSetName)

}  // namespace vorn::session_test
