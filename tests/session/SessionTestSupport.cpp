// The fixture, the stand-in query and the recording clients of the session
// tests; see SessionTestSupport.h.
#include "SessionTestSupport.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "vorn/client/ClientLibrary.h"
#include "vorn/client/Oci7Calls.h"
#include "vorn/client/Oci8Calls.h"
#include "vorn/client/OciConstants.h"
#include "vorn/host/Exceptions.h"
#include "vorn/platform/CommandLine.h"
#include "vorn/platform/Environment.h"
#include "vorn/session/OracleError.h"
#include "vorn/session/SessionPreferences.h"

namespace vorn::session_test {

namespace fs = std::filesystem;
using namespace client;

namespace {

constexpr size_t kColumnWidth = 4001;

[[noreturn]] void Fail(const std::string& reason) {
  std::fprintf(stderr, "%s\n", reason.c_str());
  std::abort();
}

// The test program's own folder, removed when the program ends.
struct ScratchFolder {
  fs::path path;
  ScratchFolder() {
    std::random_device random;
    do {
      path = fs::temp_directory_path() /
             ("vorn-session-" + std::to_string(::getpid()) + "-" + std::to_string(random()));
    } while (!fs::create_directory(path));
  }
  ~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
  }
};

const fs::path& Scratch() {
  static const ScratchFolder folder;
  return folder.path;
}

void RunVornsql(const std::string& arguments, const std::string& script) {
  static int scripts = 0;
  const fs::path input = Scratch() / ("script" + std::to_string(++scripts) + ".sql");
  const fs::path output = Scratch() / "vornsql.log";
  std::ofstream(input) << script;
  const std::string command = std::string("\"") + VORN_VORNSQL + "\" " + arguments + " < \"" +
                              input.string() + "\" > \"" + output.string() + "\" 2>&1";
  if (std::system(command.c_str()) != 0) Fail("vornsql failed: " + command);
  std::ifstream log(output);
  std::string line;
  while (std::getline(log, line)) {
    if (line.rfind("ORA-", 0) == 0) Fail("vornsql: " + line + " in\n" + script);
  }
}

// The demo schema with the accounts and the table the tests use, made once.
const fs::path& TemplateDatabase() {
  static const fs::path path = [] {
    fs::path db = Scratch() / "template.db";
    RunVornsql("--create --seed demo \"" + db.string() + "\"",
               "create user grace_user identified by pw password grace 5;\n"
               "create user expired_user identified by pw password expire;\n"
               "create user locked_user identified by pw account lock;\n"
               "create user ops$" +
                   OsUser() +
                   " identified externally;\n"
                   "create table scott.probe (id number primary key, note varchar2(100));\n");
    return db;
  }();
  return path;
}

OraText* Text(std::string& text) {
  return reinterpret_cast<OraText*>(text.data());
}

}  // namespace

std::string OsUser() {
  const struct passwd* pw = ::getpwuid(::geteuid());
  return pw != nullptr && pw->pw_name != nullptr ? pw->pw_name : "";
}

// --- TestQuery ---

TestQuery::TestQuery(TOracleSession& session) : session_(&session) {
  session.RegisterQuery(this);
}

TestQuery::~TestQuery() {
  if (session_ != nullptr) session_->UnregisterQuery(this);
}

void TestQuery::DetachFromSession() {
  if (session_ != nullptr) session_->UnregisterQuery(this);
  session_ = nullptr;
}

std::vector<std::string>& TestQuery::Log() {
  static std::vector<std::string> log;
  return log;
}

void TestQuery::Clear() {
  sql_.clear();
  rows_.clear();
  row_ = 0;
}

void TestQuery::Execute() {
  if (session_ == nullptr) throw Exception("Session undefined");
  if (!session_->Connected()) throw Exception("Not logged on");
  rows_.clear();
  row_ = 0;
  {
    // Threads of the thread-safety tests execute at once; the log is read
    // only after they have joined.
    static std::mutex logMutex;
    std::lock_guard<std::mutex> lock(logMutex);
    Log().push_back(sql_);
  }
  if (session_->UsesOCI8()) {
    ExecuteOCI8();
  } else {
    ExecuteOCI7();
  }
}

int TestQuery::FieldAsInteger(int column) {
  return std::stoi(FieldAsString(column));
}

std::string TestQuery::FieldAsString(int column) {
  if (Eof()) throw Exception("You cannot access field data beyond Eof");
  return rows_.at(row_).at(static_cast<size_t>(column));
}

void TestQuery::ExecuteOCI8() {
  TOracleSession& session = *session_;
  OCIError* error = nullptr;
  OCIStmt* statement = nullptr;
  Oci8().OCIHandleAlloc(session.EnvironmentHandle(), reinterpret_cast<void**>(&error),
                        OCI_HTYPE_ERROR, 0, nullptr);
  Oci8().OCIHandleAlloc(session.EnvironmentHandle(), reinterpret_cast<void**>(&statement),
                        OCI_HTYPE_STMT, 0, nullptr);
  struct Handles {
    OCIError* error;
    OCIStmt* statement;
    ~Handles() {
      Oci8().OCIHandleFree(statement, OCI_HTYPE_STMT);
      Oci8().OCIHandleFree(error, OCI_HTYPE_ERROR);
    }
  } handles{error, statement};
  const auto check = [&](sword status) {
    if (status == OCI_SUCCESS || status == OCI_SUCCESS_WITH_INFO) return true;
    if (status == OCI_NO_DATA) return false;
    if (status == OCI_ERROR) throw EOracleError(session, error);
    throw Exception("OCI status " + std::to_string(status));
  };
  std::string text = sql_;
  check(Oci8().OCIStmtPrepare(statement, error, Text(text), static_cast<ub4>(text.size()),
                              OCI_NTV_SYNTAX, OCI_DEFAULT));
  ub2 type = 0;
  check(Oci8().OCIAttrGet(statement, OCI_HTYPE_STMT, &type, nullptr, OCI_ATTR_STMT_TYPE, error));
  const bool select = type == OCI_STMT_SELECT;
  check(Oci8().OCIStmtExecute(session.ServiceContextHandle(), statement, error, select ? 0 : 1, 0,
                              nullptr, nullptr, OCI_DEFAULT));
  if (!select) return;
  ub4 columns = 0;
  check(
      Oci8().OCIAttrGet(statement, OCI_HTYPE_STMT, &columns, nullptr, OCI_ATTR_PARAM_COUNT, error));
  std::vector<std::array<char, kColumnWidth>> values(columns);
  std::vector<sb2> indicators(columns);
  for (ub4 i = 0; i < columns; ++i) {
    OCIDefine* define = nullptr;
    check(Oci8().OCIDefineByPos(statement, &define, error, i + 1, values[i].data(),
                                static_cast<sb4>(kColumnWidth), SQLT_STR, &indicators[i], nullptr,
                                nullptr, OCI_DEFAULT));
  }
  while (check(Oci8().OCIStmtFetch(statement, error, 1, OCI_FETCH_NEXT, OCI_DEFAULT))) {
    std::vector<std::string> row;
    for (ub4 i = 0; i < columns; ++i)
      row.push_back(indicators[i] == -1 ? "" : values[i].data());
    rows_.push_back(std::move(row));
  }
}

void TestQuery::ExecuteOCI7() {
  TOracleSession& session = *session_;
  Cda_Def cursor{};
  // The call lock around the cursor's calls, as the query engine takes it;
  // a failure releases it when the error is built.
  session.LockCall();
  const auto check = [&](sword result) {
    if (result != 0 && cursor.rc != 0 && cursor.rc != kOci7NoDataFound) {
      const int code = cursor.rc;
      Oci7().oclose(&cursor);
      throw EOracleError(session, code);
    }
    return cursor.rc != kOci7NoDataFound;
  };
  std::string text = sql_;
  check(Oci7().oopen(&cursor, session.LogonDataArea(), nullptr, -1, -1, nullptr, -1));
  check(Oci7().oparse(&cursor, Text(text), -1, 0, kOci7Version7Behaviour));
  std::vector<std::array<char, kColumnWidth>> values;
  std::vector<sb2> indicators;
  if (cursor.ft == kOci7FunctionSelect) {
    values.reserve(64);
    indicators.reserve(64);
    for (sword position = 1;; ++position) {
      sb4 size = 0;
      sb2 type = 0;
      sb1 name[64];
      sb4 nameLength = sizeof name;
      sb4 displaySize = 0;
      sb2 precision = 0, scale = 0, nullable = 0;
      if (Oci7().odescr(&cursor, position, &size, &type, name, &nameLength, &displaySize,
                        &precision, &scale, &nullable) != 0) {
        if (cursor.rc == kOci7VariableNotInSelectList) break;
        check(-1);
      }
      values.emplace_back();
      indicators.emplace_back();
      check(Oci7().odefin(&cursor, position, reinterpret_cast<ub1*>(values.back().data()),
                          static_cast<sword>(kColumnWidth), static_cast<sword>(SQLT_STR), -1,
                          &indicators.back(), nullptr, -1, -1, nullptr, nullptr));
    }
  }
  check(Oci7().oexec(&cursor));
  if (cursor.ft == kOci7FunctionSelect) {
    while (check(Oci7().ofen(&cursor, 1))) {
      std::vector<std::string> row;
      for (size_t i = 0; i < values.size(); ++i) {
        row.push_back(indicators[i] == -1 ? "" : values[i].data());
      }
      rows_.push_back(std::move(row));
    }
  }
  Oci7().oclose(&cursor);
  session.UnlockCall();
}

std::vector<std::string> Rows(TOracleSession& session, const std::string& sql) {
  TestQuery query(session);
  query.SetSQLText(sql);
  query.Execute();
  std::vector<std::string> rows;
  for (; !query.Eof(); query.Next()) {
    std::string line;
    for (int column = 0;; ++column) {
      try {
        const std::string value = query.FieldAsString(column);
        if (column > 0) line += "|";
        line += value;
      } catch (const std::out_of_range&) {
        break;
      }
    }
    rows.push_back(line);
  }
  return rows;
}

void RunSql(TOracleSession& session, const std::string& sql) {
  TestQuery query(session);
  query.SetSQLText(sql);
  query.Execute();
}

ScopedQueryFactory::ScopedQueryFactory(SessionQueryFactory factory)
    : previous_(SetSessionQueryFactory(std::move(factory))) {}

ScopedQueryFactory::~ScopedQueryFactory() {
  SetSessionQueryFactory(previous_);
}

ScopedTestQueries::ScopedTestQueries()
    : ScopedQueryFactory(
          [](TOracleSession& session) { return std::make_unique<TestQuery>(session); }) {}

// --- Recording clients ---

RecordingQuery::RecordingQuery(TOracleSession& owner, std::string name,
                               std::vector<std::string>& log)
    : session(&owner), name_(std::move(name)), log_(log) {
  owner.RegisterQuery(this);
}

RecordingQuery::~RecordingQuery() {
  if (session != nullptr) session->UnregisterQuery(this);
}

void RecordingQuery::CloseForLogOff() {
  log_.push_back(name_ + ".close");
  if (failClose) throw Exception(name_ + " cannot close");
}

void RecordingQuery::DetachFromSession() {
  log_.push_back(name_ + ".detach");
  if (session != nullptr) session->UnregisterQuery(this);
  session = nullptr;
}

RecordingDataSet::RecordingDataSet(TOracleSession& owner, std::string name,
                                   std::vector<std::string>& log)
    : session(&owner), name_(std::move(name)), log_(log) {
  owner.RegisterDataSet(this);
}

RecordingDataSet::~RecordingDataSet() {
  if (session != nullptr) session->UnregisterDataSet(this);
}

void RecordingDataSet::CloseForLogOff() {
  log_.push_back(name_ + ".close");
  if (failClose) throw Exception(name_ + " cannot close");
  active = false;
}

void RecordingDataSet::DetachFromSession() {
  log_.push_back(name_ + ".detach");
  if (session != nullptr) session->UnregisterDataSet(this);
  session = nullptr;
}

void RecordingDataSet::ResetDataSetFieldDefs() {
  log_.push_back(name_ + ".reset");
  active = false;
}

void RecordingDataSet::OpenDataSet() {
  log_.push_back(name_ + ".open");
  if (failOpen) throw Exception(name_ + " cannot open");
  active = true;
}

// --- SessionTest ---

namespace {

void ResetClient() {
  UnloadClientLibrary();
  SetClientLibraryPath("");
  RestoreCurrentDirectory();
}

}  // namespace

std::string SessionTest::OracleHome() {
  return VORN_ORACLE_HOME;
}

std::string SessionTest::OracleHomeLibrary() {
  return OracleHome() + "/bin/oci.dll";
}

SessionTest::SessionTest() {
  for (const char* name : {"VORN_MACHINE_REGISTRY", "ORACLE_HOME", "TNS_ADMIN"}) {
    savedEnvironment_.emplace_back(name, platform::FindEnvironmentVariable(name));
  }
  platform::WriteEnvironmentVariable("VORN_MACHINE_REGISTRY",
                                     OracleHome() + "/machine-registry.ini");
  platform::RemoveEnvironmentVariable("ORACLE_HOME");
  platform::RemoveEnvironmentVariable("TNS_ADMIN");
  platform::SetCommandLineForTesting({});
  ResetClient();
}

SessionTest::~SessionTest() {
  ResetClient();
  platform::ResetCommandLineForTesting();
  for (const auto& [name, value] : savedEnvironment_) {
    if (value) {
      platform::WriteEnvironmentVariable(name, *value);
    } else {
      platform::RemoveEnvironmentVariable(name);
    }
  }
  if (!database_.empty()) {
    for (const char* suffix : {"", "-wal", "-shm"}) {
      std::error_code ignored;
      fs::remove(database_ + suffix, ignored);
    }
  }
}

const std::string& SessionTest::Database() {
  if (database_.empty()) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    // Parameterised tests have "/" in their names.
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    std::replace(name.begin(), name.end(), '/', '_');
    database_ = (Scratch() / (name + ".db")).string();
    fs::copy_file(TemplateDatabase(), database_, fs::copy_options::overwrite_existing);
  }
  return database_;
}

void SessionTest::SetBanner(const std::string& banner) {
  RunVornsql("--banner \"" + banner + "\" \"" + Database() + "\"", "");
}

void SessionTest::Administer(const std::string& sql) {
  RunVornsql("\"" + Database() + "\"", sql);
}

std::unique_ptr<TOracleSession> SessionTest::NewSession(const std::string& user,
                                                        const std::string& password) {
  auto session = std::make_unique<TOracleSession>();
  session->Preferences()->SetUseOCI7(useOCI7_);
  session->SetLogonUsername(user);
  session->SetLogonPassword(password);
  session->SetLogonDatabase(Database());
  return session;
}

std::unique_ptr<TOracleSession> SessionTest::Observer() {
  auto session = NewSession();
  session->LogOn();
  return session;
}

int SessionTest::ProbeRows(TOracleSession& session) {
  return std::stoi(Rows(session, "select count(*) from probe").at(0));
}

std::string CallSetName(const ::testing::TestParamInfo<CallSet>& info) {
  return info.param == CallSet::OCI8 ? "OCI8" : "OCI7";
}

}  // namespace vorn::session_test
