// Loading the library under test and the per-test database; see oci_support.h.
#include "oci_support.h"

#include <dlfcn.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace vorn::server::oci_test {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void abortWith(const std::string& reason) {
  std::fprintf(stderr, "%s\n", reason.c_str());
  std::abort();
}

// The test program's own folder under the temporary directory, removed
// when the program ends.
struct ScratchFolder {
  fs::path path = fs::temp_directory_path() / ("vorn-oci-test-" + std::to_string(::getpid()));
  ScratchFolder() { fs::create_directories(path); }
  ~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
  }
};

fs::path scratchFolder() {
  static const ScratchFolder folder;
  return folder.path;
}

// The demo database with the accounts of the logon tests, made once.
const fs::path& templateDatabase() {
  static const fs::path path = [] {
    fs::path db = scratchFolder() / "template.db";
    fs::path script = scratchFolder() / "accounts.sql";
    std::ofstream(script) << "create user locked_user identified by pw account lock;\n"
                             "create user expired_user identified by pw password expire;\n"
                             "create user grace_user identified by pw password grace 5;\n"
                             "create user ops$"
                          << osUser() << " identified externally;\n";
    std::string command = std::string("\"") + VORN_VORNSQL + "\" --create --seed demo \"" +
                          db.string() + "\" < \"" + script.string() + "\" > \"" +
                          (scratchFolder() / "accounts.log").string() + "\" 2>&1";
    if (std::system(command.c_str()) != 0) abortWith("cannot seed the test database: " + command);
    return db;
  }();
  return path;
}

}  // namespace

std::string osUser() {
  struct passwd* pw = ::getpwuid(::geteuid());
  return pw && pw->pw_name ? pw->pw_name : "";
}

void* library() {
  static void* handle = [] {
    void* h = ::dlopen(VORN_OCI_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (!h) abortWith(std::string("cannot load ") + VORN_OCI_LIBRARY + ": " + ::dlerror());
    return h;
  }();
  return handle;
}

const OciCalls& oci() {
  static const OciCalls calls = [] {
    OciCalls c;
#define VORN_OCI_RESOLVE(name)                                            \
  c.name = reinterpret_cast<decltype(c.name)>(::dlsym(library(), #name)); \
  if (!c.name) abortWith("the library does not export " #name);
    VORN_OCI_TEST_CALLS(VORN_OCI_RESOLVE)
#undef VORN_OCI_RESOLVE
    c.OCIInitialize(OCI_THREADED | OCI_OBJECT, nullptr, nullptr, nullptr, nullptr);
    return c;
  }();
  return calls;
}

void OciTest::SetUp() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  path_ = (scratchFolder() / (std::string(info->test_suite_name()) + "." + info->name() + ".db"))
              .string();
  for (const char* suffix : {"", "-wal", "-shm"})
    fs::remove(path_ + suffix);
  fs::copy_file(templateDatabase(), path_);
  ASSERT_EQ(OCI_SUCCESS, oci().OCIEnvInit(&env_, OCI_DEFAULT, 0, nullptr));
  ASSERT_EQ(OCI_SUCCESS, oci().OCIHandleAlloc(env_, reinterpret_cast<void**>(&err_),
                                              OCI_HTYPE_ERROR, 0, nullptr));
}

void OciTest::TearDown() {
  if (env_) oci().OCIHandleFree(env_, OCI_HTYPE_ENV);
  env_ = nullptr;
  for (const char* suffix : {"", "-wal", "-shm"})
    fs::remove(path_ + suffix);
}

OCISvcCtx* OciTest::logon(const std::string& user, const std::string& password, sword* status) {
  const OciCalls& c = oci();
  OCISvcCtx* svc = nullptr;
  OCIServer* srv = nullptr;
  OCISession* usr = nullptr;
  c.OCIHandleAlloc(env_, reinterpret_cast<void**>(&svc), OCI_HTYPE_SVCCTX, 0, nullptr);
  c.OCIHandleAlloc(env_, reinterpret_cast<void**>(&srv), OCI_HTYPE_SERVER, 0, nullptr);
  c.OCIHandleAlloc(env_, reinterpret_cast<void**>(&usr), OCI_HTYPE_SESSION, 0, nullptr);
  sword attached = c.OCIServerAttach(srv, err_, reinterpret_cast<const OraText*>(path_.c_str()),
                                     static_cast<sb4>(path_.size()), OCI_DEFAULT);
  EXPECT_EQ(OCI_SUCCESS, attached) << errorText();
  c.OCIAttrSet(svc, OCI_HTYPE_SVCCTX, srv, 0, OCI_ATTR_SERVER, err_);
  c.OCIAttrSet(svc, OCI_HTYPE_SVCCTX, usr, 0, OCI_ATTR_SESSION, err_);
  c.OCIAttrSet(usr, OCI_HTYPE_SESSION, const_cast<char*>(user.c_str()),
               static_cast<ub4>(user.size()), OCI_ATTR_USERNAME, err_);
  c.OCIAttrSet(usr, OCI_HTYPE_SESSION, const_cast<char*>(password.c_str()),
               static_cast<ub4>(password.size()), OCI_ATTR_PASSWORD, err_);
  sword begun = c.OCISessionBegin(svc, err_, usr, OCI_CRED_RDBMS, OCI_DEFAULT);
  if (status) {
    *status = begun;
  } else {
    EXPECT_EQ(OCI_SUCCESS, begun) << errorText();
  }
  return svc;
}

void OciTest::logoff(OCISvcCtx* svc) {
  const OciCalls& c = oci();
  OCISession* usr = nullptr;
  OCIServer* srv = nullptr;
  c.OCIAttrGet(svc, OCI_HTYPE_SVCCTX, &usr, nullptr, OCI_ATTR_SESSION, err_);
  c.OCIAttrGet(svc, OCI_HTYPE_SVCCTX, &srv, nullptr, OCI_ATTR_SERVER, err_);
  EXPECT_EQ(OCI_SUCCESS, c.OCISessionEnd(svc, err_, usr, OCI_DEFAULT)) << errorText();
  EXPECT_EQ(OCI_SUCCESS, c.OCIServerDetach(srv, err_, OCI_DEFAULT)) << errorText();
  c.OCIHandleFree(usr, OCI_HTYPE_SESSION);
  c.OCIHandleFree(srv, OCI_HTYPE_SERVER);
  c.OCIHandleFree(svc, OCI_HTYPE_SVCCTX);
}

OCIStmt* OciTest::newStatement(const std::string& sql) {
  OCIStmt* stmt = nullptr;
  oci().OCIHandleAlloc(env_, reinterpret_cast<void**>(&stmt), OCI_HTYPE_STMT, 0, nullptr);
  EXPECT_EQ(OCI_SUCCESS,
            oci().OCIStmtPrepare(stmt, err_, reinterpret_cast<const OraText*>(sql.c_str()),
                                 static_cast<ub4>(sql.size()), OCI_NTV_SYNTAX, OCI_DEFAULT))
      << errorText();
  return stmt;
}

sword OciTest::execute(OCISvcCtx* svc, const std::string& sql, ub4 iters) {
  OCIStmt* stmt = newStatement(sql);
  sword status = oci().OCIStmtExecute(svc, stmt, err_, iters, 0, nullptr, nullptr, OCI_DEFAULT);
  oci().OCIHandleFree(stmt, OCI_HTYPE_STMT);
  return status;
}

void OciTest::run(OCISvcCtx* svc, const std::string& sql) {
  EXPECT_EQ(OCI_SUCCESS, execute(svc, sql)) << sql << ": " << errorText();
}

std::vector<std::string> OciTest::rows(OCISvcCtx* svc, const std::string& sql, ub4 batch) {
  const OciCalls& c = oci();
  constexpr sb4 kWidth = 4001;
  OCIStmt* stmt = newStatement(sql);
  std::vector<std::string> out;
  if (c.OCIStmtExecute(svc, stmt, err_, 0, 0, nullptr, nullptr, OCI_DEFAULT) != OCI_SUCCESS) {
    ADD_FAILURE() << sql << ": " << errorText();
    c.OCIHandleFree(stmt, OCI_HTYPE_STMT);
    return out;
  }
  ub4 columns = 0;
  c.OCIAttrGet(stmt, OCI_HTYPE_STMT, &columns, nullptr, OCI_ATTR_PARAM_COUNT, err_);
  std::vector<std::vector<char>> values(columns, std::vector<char>(batch * kWidth));
  std::vector<std::vector<sb2>> indicators(columns, std::vector<sb2>(batch));
  for (ub4 i = 0; i < columns; ++i) {
    OCIDefine* def = nullptr;
    c.OCIDefineByPos(stmt, &def, err_, i + 1, values[i].data(), kWidth, SQLT_STR,
                     indicators[i].data(), nullptr, nullptr, OCI_DEFAULT);
  }
  ub4 before = 0;
  for (;;) {
    sword status = c.OCIStmtFetch(stmt, err_, batch, OCI_FETCH_NEXT, OCI_DEFAULT);
    if (status != OCI_SUCCESS && status != OCI_NO_DATA) {
      ADD_FAILURE() << sql << ": " << errorText();
      break;
    }
    ub4 total = rowCount(stmt);
    for (ub4 r = 0; r < total - before; ++r) {
      std::string line;
      for (ub4 i = 0; i < columns; ++i) {
        if (i) line += '|';
        if (indicators[i][r] != -1) line += &values[i][r * kWidth];
      }
      out.push_back(line);
    }
    before = total;
    if (status == OCI_NO_DATA) break;
  }
  c.OCIHandleFree(stmt, OCI_HTYPE_STMT);
  return out;
}

ub4 OciTest::rowCount(OCIStmt* stmt) {
  ub4 n = 0;
  oci().OCIAttrGet(stmt, OCI_HTYPE_STMT, &n, nullptr, OCI_ATTR_ROW_COUNT, err_);
  return n;
}

sb4 OciTest::errorCode(OCIError* err) const {
  sb4 code = 0;
  char text[2048];
  oci().OCIErrorGet(err ? err : err_, 1, nullptr, &code, reinterpret_cast<OraText*>(text),
                    sizeof text, OCI_HTYPE_ERROR);
  return code;
}

std::string OciTest::errorText(OCIError* err) const {
  sb4 code = 0;
  char text[2048] = "";
  oci().OCIErrorGet(err ? err : err_, 1, nullptr, &code, reinterpret_cast<OraText*>(text),
                    sizeof text, OCI_HTYPE_ERROR);
  return text;
}

}  // namespace vorn::server::oci_test
