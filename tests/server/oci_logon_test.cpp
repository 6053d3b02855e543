// Logon and logoff through the call interface in every account state,
// external credentials, OCILogon, password changes and the server banner.
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "oci_support.h"

namespace vorn::server::oci_test {
namespace {

using OciLogonTest = OciTest;

const OraText* text(const std::string& s) {
  return reinterpret_cast<const OraText*>(s.c_str());
}

TEST_F(OciLogonTest, OpenAccountLogsOnAndOff) {
  OCISvcCtx* svc = scott();
  EXPECT_EQ(std::vector<std::string>{"SCOTT"}, rows(svc, "select user from dual"));
  logoff(svc);
}

TEST_F(OciLogonTest, WrongPasswordIsOra01017) {
  sword status = OCI_SUCCESS;
  logon("scott", "lion", &status);
  EXPECT_EQ(OCI_ERROR, status);
  EXPECT_EQ(1017, errorCode());
  EXPECT_EQ("ORA-01017: invalid username/password; logon denied\n", errorText());
}

TEST_F(OciLogonTest, LockedAccountIsOra28000) {
  sword status = OCI_SUCCESS;
  logon("locked_user", "pw", &status);
  EXPECT_EQ(OCI_ERROR, status);
  EXPECT_EQ(28000, errorCode());
}

TEST_F(OciLogonTest, ExpiredAccountIsOra28001UntilThePasswordIsChanged) {
  sword status = OCI_SUCCESS;
  OCISvcCtx* svc = logon("expired_user", "pw", &status);
  ASSERT_EQ(OCI_ERROR, status);
  EXPECT_EQ(28001, errorCode());

  // The standard way out: change with OCI_AUTH, which logs the session on.
  std::string user = "expired_user", oldPw = "pw", newPw = "fresh";
  EXPECT_OCI(OCI_SUCCESS,
             oci().OCIPasswordChange(svc, err_, text(user), user.size(), text(oldPw), oldPw.size(),
                                     text(newPw), newPw.size(), OCI_AUTH));
  EXPECT_EQ(std::vector<std::string>{"EXPIRED_USER"}, rows(svc, "select user from dual"));
  logoff(svc);
  OCISvcCtx* again = logon("expired_user", "fresh");
  logoff(again);
}

TEST_F(OciLogonTest, GraceAccountLogsOnWithWarning28002) {
  sword status = OCI_SUCCESS;
  OCISvcCtx* svc = logon("grace_user", "pw", &status);
  EXPECT_EQ(OCI_SUCCESS_WITH_INFO, status);
  EXPECT_EQ(28002, errorCode());
  EXPECT_EQ("ORA-28002: the password will expire within 5 days\n", errorText());
  EXPECT_EQ(std::vector<std::string>{"GRACE_USER"}, rows(svc, "select user from dual"));
  logoff(svc);
}

TEST_F(OciLogonTest, PasswordChangeOfALoggedOnSession) {
  OCISvcCtx* svc = scott();
  std::string user = "scott", oldPw = "tiger", newPw = "lion";
  EXPECT_OCI(OCI_SUCCESS,
             oci().OCIPasswordChange(svc, err_, text(user), user.size(), text(oldPw), oldPw.size(),
                                     text(newPw), newPw.size(), OCI_DEFAULT));
  logoff(svc);
  sword status = OCI_SUCCESS;
  logon("scott", "tiger", &status);
  EXPECT_EQ(1017, errorCode());
  logoff(logon("scott", "lion"));
}

class OciExternalLogonTest : public OciTest {
 protected:
  sword beginExternal(OCISvcCtx** out) {
    const OciCalls& c = oci();
    OCIServer* srv = nullptr;
    OCISession* usr = nullptr;
    c.OCIHandleAlloc(env_, reinterpret_cast<void**>(out), OCI_HTYPE_SVCCTX, 0, nullptr);
    c.OCIHandleAlloc(env_, reinterpret_cast<void**>(&srv), OCI_HTYPE_SERVER, 0, nullptr);
    c.OCIHandleAlloc(env_, reinterpret_cast<void**>(&usr), OCI_HTYPE_SESSION, 0, nullptr);
    EXPECT_OCI(OCI_SUCCESS, c.OCIServerAttach(srv, err_, text(databasePath()),
                                              static_cast<sb4>(databasePath().size()), 0));
    c.OCIAttrSet(*out, OCI_HTYPE_SVCCTX, srv, 0, OCI_ATTR_SERVER, err_);
    c.OCIAttrSet(*out, OCI_HTYPE_SVCCTX, usr, 0, OCI_ATTR_SESSION, err_);
    return c.OCISessionBegin(*out, err_, usr, OCI_CRED_EXT, OCI_DEFAULT);
  }
};

TEST_F(OciExternalLogonTest, OperatingSystemUserLogsOnAsOpsAccount) {
  OCISvcCtx* svc = nullptr;
  ASSERT_OCI(OCI_SUCCESS, beginExternal(&svc));
  std::string expected = "OPS$" + osUser();
  for (char& ch : expected)
    ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  EXPECT_EQ(std::vector<std::string>{expected}, rows(svc, "select user from dual"));
}

TEST_F(OciExternalLogonTest, NoOpsAccountIsOra01017) {
  OCISvcCtx* system = logon("system", "manager");
  run(system, "drop user ops$" + osUser());
  OCISvcCtx* svc = nullptr;
  EXPECT_EQ(OCI_ERROR, beginExternal(&svc));
  EXPECT_EQ(1017, errorCode());
}

TEST_F(OciLogonTest, OciLogonMakesAndOciLogoffFreesTheHandles) {
  OCISvcCtx* svc = nullptr;
  std::string user = "scott", pw = "tiger";
  ASSERT_OCI(OCI_SUCCESS, oci().OCILogon(env_, err_, &svc, text(user), user.size(), text(pw),
                                         pw.size(), text(databasePath()), databasePath().size()));
  ASSERT_NE(nullptr, svc);
  EXPECT_EQ(std::vector<std::string>{"4"}, rows(svc, "select count(*) from dept"));
  EXPECT_OCI(OCI_SUCCESS, oci().OCILogoff(svc, err_));
}

TEST_F(OciLogonTest, OciLogonFailureLeavesNoServiceContext) {
  OCISvcCtx* svc = reinterpret_cast<OCISvcCtx*>(this);
  std::string user = "scott", pw = "wrong";
  EXPECT_EQ(OCI_ERROR, oci().OCILogon(env_, err_, &svc, text(user), user.size(), text(pw),
                                      pw.size(), text(databasePath()), databasePath().size()));
  EXPECT_EQ(nullptr, svc);
  EXPECT_EQ(1017, errorCode());
}

TEST_F(OciLogonTest, SessionEndCommitsWhatTheSessionDid) {
  OCISvcCtx* first = scott();
  run(first, "insert into dept values (50, 'LEGAL', 'PARIS')");
  logoff(first);
  OCISvcCtx* second = scott();
  EXPECT_EQ(std::vector<std::string>{"LEGAL"},
            rows(second, "select dname from dept where deptno = 50"));
}

TEST_F(OciLogonTest, UnknownConnectStringIsOra12154) {
  OCIServer* srv = nullptr;
  oci().OCIHandleAlloc(env_, reinterpret_cast<void**>(&srv), OCI_HTYPE_SERVER, 0, nullptr);
  std::string name = "NO_SUCH_ALIAS";
  EXPECT_EQ(OCI_ERROR, oci().OCIServerAttach(srv, err_, text(name), name.size(), OCI_DEFAULT));
  EXPECT_EQ(12154, errorCode());
}

TEST_F(OciLogonTest, AliasResolvesThroughTnsAdmin) {
  namespace fs = std::filesystem;
  fs::path admin = fs::path(databasePath()).parent_path() / "admin";
  fs::create_directories(admin);
  std::ofstream(admin / "tnsnames.ora") << "TESTDB.WORLD =\n  (DESCRIPTION =\n"
                                           "    (CONNECT_DATA =\n      (PATH = "
                                        << databasePath() << ")\n    )\n  )\n";
  const char* old = std::getenv("TNS_ADMIN");
  std::string saved = old ? old : "";
  setenv("TNS_ADMIN", admin.c_str(), 1);
  OCISvcCtx* svc = nullptr;
  std::string user = "scott", pw = "tiger", alias = "testdb";
  sword status = oci().OCILogon(env_, err_, &svc, text(user), user.size(), text(pw), pw.size(),
                                text(alias), alias.size());
  if (old) {
    setenv("TNS_ADMIN", saved.c_str(), 1);
  } else {
    unsetenv("TNS_ADMIN");
  }
  ASSERT_EQ(OCI_SUCCESS, status) << errorText();
  EXPECT_EQ(std::vector<std::string>{"SCOTT"}, rows(svc, "select user from dual"));
  oci().OCILogoff(svc, err_);
}

TEST_F(OciLogonTest, ServerVersionIsTheDatabaseBannerCutToTheBuffer) {
  OCISvcCtx* svc = scott();
  char banner[200];
  ASSERT_OCI(OCI_SUCCESS, oci().OCIServerVersion(svc, err_, reinterpret_cast<OraText*>(banner),
                                                 sizeof banner, OCI_HTYPE_SVCCTX));
  EXPECT_STREQ("Oracle8i Enterprise Edition Release 8.1.7.0.0 - Production", banner);

  char small[9];
  std::memset(small, 'x', sizeof small);
  ASSERT_OCI(OCI_SUCCESS, oci().OCIServerVersion(svc, err_, reinterpret_cast<OraText*>(small), 8,
                                                 OCI_HTYPE_SVCCTX));
  EXPECT_STREQ("Oracle8", small);
  EXPECT_EQ('x', small[8]);
}

TEST_F(OciLogonTest, SessionBeginWithoutAttachedServerIsOra24327) {
  OCISvcCtx* svc = nullptr;
  OCISession* usr = nullptr;
  oci().OCIHandleAlloc(env_, reinterpret_cast<void**>(&svc), OCI_HTYPE_SVCCTX, 0, nullptr);
  oci().OCIHandleAlloc(env_, reinterpret_cast<void**>(&usr), OCI_HTYPE_SESSION, 0, nullptr);
  EXPECT_EQ(OCI_ERROR, oci().OCISessionBegin(svc, err_, usr, OCI_CRED_RDBMS, OCI_DEFAULT));
  EXPECT_EQ(24327, errorCode());
}

TEST_F(OciLogonTest, StatementOnALoggedOffContextIsOra01012) {
  OCISvcCtx* svc = scott();
  OCISession* usr = nullptr;
  oci().OCIAttrGet(svc, OCI_HTYPE_SVCCTX, &usr, nullptr, OCI_ATTR_SESSION, err_);
  ASSERT_OCI(OCI_SUCCESS, oci().OCISessionEnd(svc, err_, usr, OCI_DEFAULT));
  EXPECT_EQ(OCI_ERROR, execute(svc, "select 1 from dual"));
  EXPECT_EQ(1012, errorCode());
}

}  // namespace
}  // namespace vorn::server::oci_test

namespace vorn::server::oci_test {
namespace {

// The home the library lies in: its aliases (a plain one, a .WORLD one, one
// from the IFILE) all name the demo database. Attaching only reads it.
TEST_F(OciLogonTest, TheHomesAliasesNameTheDemoDatabase) {
  namespace fs = std::filesystem;
  fs::path home = fs::path(VORN_OCI_LIBRARY).parent_path().parent_path();
  if (!fs::exists(home / "oradata" / "DEMO.db")) GTEST_SKIP() << "no demo database in " << home;
  for (std::string alias : {"DEMO", "vorn", "ORCL", ""}) {
    OCIServer* srv = nullptr;
    oci().OCIHandleAlloc(env_, reinterpret_cast<void**>(&srv), OCI_HTYPE_SERVER, 0, nullptr);
    EXPECT_OCI(OCI_SUCCESS, oci().OCIServerAttach(srv, err_, text(alias), alias.size(), 0));
    EXPECT_OCI(OCI_SUCCESS, oci().OCIServerDetach(srv, err_, OCI_DEFAULT));
    oci().OCIHandleFree(srv, OCI_HTYPE_SERVER);
  }
}

}  // namespace
}  // namespace vorn::server::oci_test
