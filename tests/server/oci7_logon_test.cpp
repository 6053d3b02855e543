// The version 7 logon data area: logon through olog and orlon in every
// account state, logoff, transactions and the auto-commit switch, message
// texts, and the conversions between a version 8 service context and a
// logon data area.
#include <cstring>
#include <thread>

#include "oci7_support.h"

namespace vorn::server::oci_test {
namespace {

using Oci7LogonTest = Oci7Test;

// A second logon on the same database, for seeing what was committed.
struct OtherLogon {
  explicit OtherLogon(const std::string& connect) {
    std::string text = connect;
    oci7().olog(&lda, hda, reinterpret_cast<OraText*>(text.data()), -1, nullptr, -1, nullptr, -1,
                0);
  }
  ~OtherLogon() { oci7().ologof(&lda); }
  alignas(8) Lda_Def lda{};
  alignas(8) ub1 hda[HDA_SIZE] = {};
};

TEST_F(Oci7LogonTest, OlogWithTheJoinedConnectTextMarksTheArea) {
  logOn();
  EXPECT_EQ(202, lda_.chk);
  EXPECT_EQ(0, lda_.v2_rc);
  EXPECT_EQ(std::vector<std::string>{"SCOTT"}, rows7("select user from dual"));
  EXPECT_EQ(0, oci7().ologof(&lda_));
  EXPECT_EQ(0, lda_.rc);
  EXPECT_NE(202, lda_.chk);
}

TEST_F(Oci7LogonTest, OrlonTakesUserPasswordAndConnectApart) {
  std::string user = "scott@" + databasePath();
  std::string password = "tiger";
  EXPECT_EQ(0, oci7().orlon(&lda_, hda_, reinterpret_cast<OraText*>(user.data()), -1,
                            reinterpret_cast<OraText*>(password.data()), -1, 0))
      << message(lda_.rc);
  EXPECT_EQ(202, lda_.chk);
  EXPECT_EQ(std::vector<std::string>{"SCOTT"}, rows7("select user from dual"));
}

TEST_F(Oci7LogonTest, OlogTakesLengthsAndASeparateConnectString) {
  std::string text = "man/man and more";
  std::string connect = databasePath();
  oci7().olog(&lda_, hda_, reinterpret_cast<OraText*>(text.data()), 7, nullptr, -1,
              reinterpret_cast<OraText*>(connect.data()), static_cast<sword>(connect.size()), 0);
  ASSERT_EQ(0, lda_.rc) << message(lda_.rc);
  EXPECT_EQ(std::vector<std::string>{"MAN"}, rows7("select user from dual"));
}

TEST_F(Oci7LogonTest, FailedLogonsReportTheirErrorAndLeaveNoLogon) {
  std::string text = connectText("scott", "wrong");
  sword result = oci7().olog(&lda_, hda_, reinterpret_cast<OraText*>(text.data()), -1, nullptr, -1,
                             nullptr, -1, 0);
  EXPECT_EQ(-1017, result);
  EXPECT_EQ(1017, lda_.rc);
  EXPECT_EQ(-1017, lda_.v2_rc);
  EXPECT_NE(202, lda_.chk);
  EXPECT_EQ("ORA-01017: invalid username/password; logon denied\n", message(1017));
  EXPECT_NE(0, oci7().ocom(&lda_));
  EXPECT_EQ(1012, lda_.rc);

  text = connectText("locked_user", "pw");
  oci7().olog(&lda_, hda_, reinterpret_cast<OraText*>(text.data()), -1, nullptr, -1, nullptr, -1,
              0);
  EXPECT_EQ(28000, lda_.rc);

  text = "scott/tiger@NO_SUCH_ALIAS";
  oci7().olog(&lda_, hda_, reinterpret_cast<OraText*>(text.data()), -1, nullptr, -1, nullptr, -1,
              0);
  EXPECT_EQ(12154, lda_.rc);

  text = connectText("scott", "tiger");
  oci7().olog(&lda_, nullptr, reinterpret_cast<OraText*>(text.data()), -1, nullptr, -1, nullptr, -1,
              0);
  EXPECT_EQ(1009, lda_.rc);
  oci7().olog(&lda_, hda_, reinterpret_cast<OraText*>(text.data()), -1, nullptr, -1, nullptr, -1,
              7);
  EXPECT_EQ(24300, lda_.rc);
}

TEST_F(Oci7LogonTest, GracePeriodLogonSucceedsWithTheWarningAsReturnCode) {
  std::string text = connectText("grace_user", "pw");
  oci7().olog(&lda_, hda_, reinterpret_cast<OraText*>(text.data()), -1, nullptr, -1, nullptr, -1,
              0);
  EXPECT_EQ(28002, lda_.rc);
  EXPECT_EQ(202, lda_.chk);
  EXPECT_EQ("ORA-28002: the password will expire within 5 days\n", message(28002));
  EXPECT_EQ(std::vector<std::string>{"GRACE_USER"}, rows7("select user from dual"));
}

TEST_F(Oci7LogonTest, EmptyUserAndPasswordLogOnExternally) {
  std::string text = "/@" + databasePath();
  oci7().olog(&lda_, hda_, reinterpret_cast<OraText*>(text.data()), -1, nullptr, -1, nullptr, -1,
              0);
  ASSERT_EQ(0, lda_.rc) << message(lda_.rc);
  std::string expected = "OPS$";
  for (char ch : osUser())
    expected += static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  EXPECT_EQ(std::vector<std::string>{expected}, rows7("select user from dual"));
}

TEST_F(Oci7LogonTest, LoggingOnTwiceIntoOneAreaIsRefused) {
  logOn();
  std::string text = connectText("man", "man");
  oci7().olog(&lda_, hda_, reinterpret_cast<OraText*>(text.data()), -1, nullptr, -1, nullptr, -1,
              0);
  EXPECT_EQ(24313, lda_.rc);
  lda_.rc = 0;
  EXPECT_EQ(std::vector<std::string>{"SCOTT"}, rows7("select user from dual"));
}

TEST_F(Oci7LogonTest, CallsOnAnAreaNeverLoggedOnReportNotLoggedOn) {
  for (auto call :
       {oci7().ologof, oci7().ocom, oci7().orol, oci7().ocon, oci7().ocof, oci7().obreak}) {
    Lda_Def lda{};
    EXPECT_NE(0, call(&lda));
    EXPECT_EQ(1012, lda.rc);
  }
  Cda_Def cda{};
  Lda_Def lda{};
  EXPECT_NE(0, oci7().oopen(&cda, &lda, nullptr, -1, -1, nullptr, -1));
  EXPECT_EQ(1012, cda.rc);
  EXPECT_NE(0, oci7().ocom(nullptr));
}

TEST_F(Oci7LogonTest, CommitAndRollbackAreSeenByOtherSessions) {
  logOn();
  OtherLogon other(connectText("scott", "tiger"));
  ASSERT_EQ(0, other.lda.rc);
  run7("insert into dept values (50, 'TESTING', 'ROME')");
  EXPECT_EQ(0, oci7().orol(&lda_));
  EXPECT_TRUE(rows7("select dname from dept where deptno = 50").empty());
  run7("insert into dept values (60, 'SALES2', 'OSLO')");
  EXPECT_TRUE(rows7("select dname from dept where deptno = 60", &other.lda).empty());
  EXPECT_EQ(0, oci7().ocom(&lda_));
  EXPECT_EQ(std::vector<std::string>{"SALES2"},
            rows7("select dname from dept where deptno = 60", &other.lda));
}

TEST_F(Oci7LogonTest, AutoCommitCommitsEachSuccessfulStatementUntilSwitchedOff) {
  logOn();
  OtherLogon other(connectText("scott", "tiger"));
  ASSERT_EQ(0, oci7().ocon(&lda_));
  run7("insert into dept values (70, 'AUTO', 'BERN')");
  EXPECT_NE(0, execute7("insert into dept values (70, 'AGAIN', 'BERN')"));
  ASSERT_EQ(0, oci7().ocof(&lda_));
  run7("insert into dept values (80, 'MANUAL', 'BERN')");

  EXPECT_EQ(std::vector<std::string>{"AUTO"},
            rows7("select dname from dept where deptno >= 70 order by 1", &other.lda));
}

TEST_F(Oci7LogonTest, BreakIsHarmlessOnALoggedOnArea) {
  logOn();
  lda_.rc = 4711;
  EXPECT_EQ(0, oci7().obreak(&lda_));
  EXPECT_EQ(4711, lda_.rc);
  lda_.rc = 0;
}

TEST_F(Oci7LogonTest, MessageTextsComeFromTheLastErrorOrTheCatalogue) {
  // An area never logged on, of the 32-bit size, is enough for texts.
  alignas(8) ub1 small[64] = {};
  auto* lda = reinterpret_cast<Lda_Def*>(small);
  char text[200];
  EXPECT_EQ(0, oci7().oerhms(lda, 942, reinterpret_cast<OraText*>(text), sizeof text));
  EXPECT_STREQ("ORA-00942: table or view does not exist\n", text);
  for (ub1 b : small)
    EXPECT_EQ(0, b);
  oci7().oerhms(lda, 0, reinterpret_cast<OraText*>(text), sizeof text);
  EXPECT_STREQ("ORA-00000: normal, successful completion\n", text);
  std::memset(text, '#', sizeof text);
  oci7().oerhms(lda, 1403, reinterpret_cast<OraText*>(text), 10);
  EXPECT_STREQ("ORA-01403", text);
  EXPECT_EQ('#', text[10]);

  logOn();
  Cda_Def cda{};
  openCursor(cda);
  std::string bad = "select frob from emp";
  oci7().oparse(&cda, reinterpret_cast<OraText*>(bad.data()), -1, 0, 2);
  ASSERT_EQ(904, cda.rc);
  EXPECT_EQ("ORA-00904: \"FROB\": invalid identifier\n", message(904));
  EXPECT_EQ("ORA-00942: table or view does not exist\n", message(942));
  oci7().oclose(&cda);
}

TEST_F(Oci7LogonTest, ProcessInitialisationAcceptsItsTwoModes) {
  EXPECT_EQ(0, oci7().opinit(OCI_EV_DEF));
  EXPECT_EQ(0, oci7().opinit(OCI_EV_TSF));
  EXPECT_NE(0, oci7().opinit(5));
}

TEST_F(Oci7LogonTest, LogonAndCursorCallsWriteNothingPastTheDocumentedFields) {
  GuardedArea lda;
  std::string text = connectText("scott", "tiger");
  oci7().olog(&lda.area, hda_, reinterpret_cast<OraText*>(text.data()), -1, nullptr, -1, nullptr,
              -1, 0);
  ASSERT_EQ(0, lda.area.rc);
  GuardedArea cda;
  oci7().oopen(&cda.area, &lda.area, nullptr, -1, -1, nullptr, -1);
  std::string sql = "select ename from emp where empno = :e";
  oci7().oparse(&cda.area, reinterpret_cast<OraText*>(sql.data()), -1, 0, 2);
  int empno = 7839;
  oci7().obndra(&cda.area, reinterpret_cast<OraText*>(const_cast<char*>(":e")), -1,
                reinterpret_cast<ub1*>(&empno), sizeof empno, SQLT_INT, -1, nullptr, nullptr,
                nullptr, 0, nullptr, nullptr, -1, -1);
  sb4 size = 0;
  oci7().odescr(&cda.area, 1, &size, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  char name[20];
  oci7().odefin(&cda.area, 1, reinterpret_cast<ub1*>(name), sizeof name, SQLT_STR, -1, nullptr,
                nullptr, -1, -1, nullptr, nullptr);
  oci7().oexfet(&cda.area, 1, 0, 0);
  EXPECT_EQ(0, cda.area.rc);
  EXPECT_STREQ("KING", name);
  oci7().ofen(&cda.area, 1);
  EXPECT_EQ(1403, cda.area.rc);
  oci7().ocom(&lda.area);
  oci7().oclose(&cda.area);
  oci7().ologof(&lda.area);
  EXPECT_TRUE(lda.untouchedPastDocumentedFields());
  EXPECT_TRUE(cda.untouchedPastDocumentedFields());
}

TEST_F(Oci7LogonTest, LogonsOfSeveralThreadsWorkInParallel) {
  constexpr int kThreads = 4;
  std::vector<int> counts(kThreads, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      alignas(8) Lda_Def lda{};
      alignas(8) ub1 hda[HDA_SIZE] = {};
      std::string text = connectText("scott", "tiger");
      oci7().olog(&lda, hda, reinterpret_cast<OraText*>(text.data()), -1, nullptr, -1, nullptr, -1,
                  0);
      if (lda.rc != 0) return;
      for (int i = 0; i < 20; ++i) {
        Cda_Def cda{};
        std::string sql = "select count(*) from emp";
        int n = 0;
        oci7().oopen(&cda, &lda, nullptr, -1, -1, nullptr, -1);
        oci7().oparse(&cda, reinterpret_cast<OraText*>(sql.data()), -1, 0, 2);
        oci7().odefin(&cda, 1, reinterpret_cast<ub1*>(&n), sizeof n, SQLT_INT, -1, nullptr, nullptr,
                      -1, -1, nullptr, nullptr);
        oci7().oexfet(&cda, 1, 0, 0);
        if (cda.rc == 0 && n == 14) ++counts[t];
        oci7().oclose(&cda);
      }
      oci7().ologof(&lda);
    });
  }
  for (auto& thread : threads)
    thread.join();
  EXPECT_EQ(std::vector<int>(kThreads, 20), counts);
}

TEST_F(Oci7LogonTest, ThreadsMayShareOneLogonThroughCursorsOfTheirOwn) {
  logOn();
  constexpr int kThreads = 4;
  std::vector<std::string> seen(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      Cda_Def cda{};
      oci7().oopen(&cda, &lda_, nullptr, -1, -1, nullptr, -1);
      std::string sql = "select ename from emp where empno = :e";
      oci7().oparse(&cda, reinterpret_cast<OraText*>(sql.data()), -1, 0, 2);
      int empno = t % 2 ? 7839 : 7369;
      char name[11] = "";
      oci7().obndra(&cda, reinterpret_cast<OraText*>(const_cast<char*>(":e")), -1,
                    reinterpret_cast<ub1*>(&empno), sizeof empno, SQLT_INT, -1, nullptr, nullptr,
                    nullptr, 0, nullptr, nullptr, -1, -1);
      oci7().odefin(&cda, 1, reinterpret_cast<ub1*>(name), sizeof name, SQLT_STR, -1, nullptr,
                    nullptr, -1, -1, nullptr, nullptr);
      for (int i = 0; i < 20; ++i) {
        oci7().oexfet(&cda, 1, 0, 0);
        if (cda.rc != 0) break;
      }
      seen[t] = name;
      oci7().oclose(&cda);
    });
  }
  for (auto& thread : threads)
    thread.join();
  EXPECT_EQ((std::vector<std::string>{"SMITH", "KING", "SMITH", "KING"}), seen);
}

// ---- Between a version 8 service context and a logon data area ----

TEST_F(Oci7LogonTest, ServiceContextToLogonAreaAndBackKeepsTheSessionAndItsTransaction) {
  const OciCalls& c = oci();
  OCISvcCtx* svc = scott();
  run(svc, "insert into dept values (91, 'FROM V8', 'PARIS')");

  ASSERT_OCI(OCI_SUCCESS, c.OCISvcCtxToLda(svc, err_, &lda_));
  EXPECT_EQ(202, lda_.chk);
  EXPECT_EQ(std::vector<std::string>{"FROM V8"}, rows7("select dname from dept where deptno = 91"));
  run7("insert into dept values (92, 'FROM V7', 'PARIS')");
  Cda_Def open{};
  openCursor(open);

  OCISvcCtx* back = nullptr;
  ASSERT_OCI(OCI_SUCCESS, c.OCILdaToSvcCtx(&back, err_, &lda_));
  EXPECT_EQ(svc, back);
  EXPECT_NE(202, lda_.chk);
  // The area's cursors went with it.
  std::string sql = "select 1 from dual";
  EXPECT_NE(0, oci7().oparse(&open, reinterpret_cast<OraText*>(sql.data()), -1, 0, 2));
  EXPECT_EQ(1001, open.rc);

  EXPECT_EQ((std::vector<std::string>{"FROM V8", "FROM V7"}),
            rows(svc, "select dname from dept where deptno > 90 order by deptno"));
  ASSERT_OCI(OCI_SUCCESS, c.OCITransRollback(svc, err_, OCI_DEFAULT));
  EXPECT_TRUE(rows(svc, "select dname from dept where deptno > 90").empty());
  logoff(svc);
}

TEST_F(Oci7LogonTest, AnOlogLogonServesVersion8CallsAndReturns) {
  const OciCalls& c = oci();
  logOn();
  run7("insert into dept values (93, 'V7 FIRST', 'LIMA')");
  OCISvcCtx* svc = nullptr;
  ASSERT_OCI(OCI_SUCCESS, c.OCILdaToSvcCtx(&svc, err_, &lda_));
  ASSERT_NE(nullptr, svc);

  // Statements are allocated in the context's own environment.
  OCIEnv* env = nullptr;
  ASSERT_OCI(OCI_SUCCESS, c.OCIAttrGet(svc, OCI_HTYPE_SVCCTX, &env, nullptr, OCI_ATTR_ENV, err_));
  OCIError* err = nullptr;
  c.OCIHandleAlloc(env, reinterpret_cast<void**>(&err), OCI_HTYPE_ERROR, 0, nullptr);
  OCIStmt* stmt = nullptr;
  c.OCIHandleAlloc(env, reinterpret_cast<void**>(&stmt), OCI_HTYPE_STMT, 0, nullptr);
  std::string sql = "update dept set loc = 'QUITO' where deptno = 93";
  c.OCIStmtPrepare(stmt, err, reinterpret_cast<const OraText*>(sql.c_str()),
                   static_cast<ub4>(sql.size()), OCI_NTV_SYNTAX, OCI_DEFAULT);
  EXPECT_EQ(OCI_SUCCESS, c.OCIStmtExecute(svc, stmt, err, 1, 0, nullptr, nullptr, OCI_DEFAULT))
      << errorText(err);
  EXPECT_EQ(1u, rowCount(stmt));
  c.OCIHandleFree(stmt, OCI_HTYPE_STMT);
  c.OCIHandleFree(err, OCI_HTYPE_ERROR);

  ASSERT_OCI(OCI_SUCCESS, c.OCISvcCtxToLda(svc, err_, &lda_));
  EXPECT_EQ(std::vector<std::string>{"V7 FIRST|QUITO"},
            rows7("select dname, loc from dept where deptno = 93"));
  EXPECT_EQ(0, oci7().ologof(&lda_));
}

TEST_F(Oci7LogonTest, ConversionsCheckTheirArguments) {
  const OciCalls& c = oci();
  OCISvcCtx* svc = nullptr;
  EXPECT_EQ(OCI_INVALID_HANDLE, c.OCISvcCtxToLda(nullptr, err_, &lda_));
  EXPECT_EQ(OCI_INVALID_HANDLE, c.OCILdaToSvcCtx(&svc, nullptr, &lda_));
  EXPECT_EQ(OCI_INVALID_HANDLE, c.OCILdaToSvcCtx(nullptr, err_, &lda_));
  EXPECT_EQ(OCI_ERROR, c.OCILdaToSvcCtx(&svc, err_, &lda_));
  EXPECT_EQ(1012, errorCode());
  EXPECT_EQ(nullptr, svc);

  OCISvcCtx* unattached = nullptr;
  c.OCIHandleAlloc(env_, reinterpret_cast<void**>(&unattached), OCI_HTYPE_SVCCTX, 0, nullptr);
  EXPECT_EQ(OCI_ERROR, c.OCISvcCtxToLda(unattached, err_, &lda_));
  EXPECT_EQ(1012, errorCode());
  EXPECT_NE(202, lda_.chk);

  OCISvcCtx* live = scott();
  logOn();
  EXPECT_EQ(OCI_ERROR, c.OCISvcCtxToLda(live, err_, &lda_));
  EXPECT_EQ(24313, errorCode());
  logoff(live);
}

}  // namespace
}  // namespace vorn::server::oci_test
