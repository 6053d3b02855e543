// Transactions across sessions and threads: commit and rollback seen from
// a second session, one environment shared by several threads (its mutex
// serialises them), sessions of separate environments in parallel.
#include <atomic>
#include <thread>

#include "oci_support.h"

namespace vorn::server::oci_test {
namespace {

using OciTransactionTest = OciTest;

TEST_F(OciTransactionTest, CommitAndRollbackAsASecondSessionSeesThem) {
  OCISvcCtx* writer = scott();
  OCISvcCtx* reader = scott();
  run(writer, "insert into dept values (80, 'NEW', 'X')");
  EXPECT_EQ(std::vector<std::string>{"0"},
            rows(reader, "select count(*) from dept where deptno = 80"));
  ASSERT_OCI(OCI_SUCCESS, oci().OCITransCommit(writer, err_, OCI_DEFAULT));
  EXPECT_EQ(std::vector<std::string>{"1"},
            rows(reader, "select count(*) from dept where deptno = 80"));

  run(writer, "delete from dept where deptno = 80");
  ASSERT_OCI(OCI_SUCCESS, oci().OCITransRollback(writer, err_, OCI_DEFAULT));
  EXPECT_EQ(std::vector<std::string>{"1"},
            rows(reader, "select count(*) from dept where deptno = 80"));
  EXPECT_EQ(std::vector<std::string>{"1"},
            rows(writer, "select count(*) from dept where deptno = 80"));
}

TEST_F(OciTransactionTest, CommitWithoutSessionIsOra01012) {
  OCISvcCtx* svc = nullptr;
  oci().OCIHandleAlloc(env_, reinterpret_cast<void**>(&svc), OCI_HTYPE_SVCCTX, 0, nullptr);
  EXPECT_EQ(OCI_ERROR, oci().OCITransCommit(svc, err_, OCI_DEFAULT));
  EXPECT_EQ(1012, errorCode());
}

// Counts the employees of a department through its own statement handle.
int countDepartment(OCIEnv* env, OCISvcCtx* svc, OCIError* err, int dept) {
  const OciCalls& c = oci();
  OCIStmt* stmt = nullptr;
  c.OCIHandleAlloc(env, reinterpret_cast<void**>(&stmt), OCI_HTYPE_STMT, 0, nullptr);
  std::string sql = "select count(*) from emp where deptno = :d";
  c.OCIStmtPrepare(stmt, err, reinterpret_cast<const OraText*>(sql.c_str()), sql.size(), 1, 0);
  OCIBind* b = nullptr;
  c.OCIBindByName(stmt, &b, err, reinterpret_cast<const OraText*>(":d"), -1, &dept, sizeof dept,
                  SQLT_INT, nullptr, nullptr, nullptr, 0, nullptr, 0);
  int count = -1;
  OCIDefine* d = nullptr;
  c.OCIDefineByPos(stmt, &d, err, 1, &count, sizeof count, SQLT_INT, nullptr, nullptr, nullptr, 0);
  sword status = c.OCIStmtExecute(svc, stmt, err, 1, 0, nullptr, nullptr, 0);
  c.OCIHandleFree(stmt, OCI_HTYPE_STMT);
  return status == OCI_SUCCESS ? count : -1;
}

TEST_F(OciTransactionTest, ThreadsShareOneEnvironmentThroughItsMutex) {
  OCISvcCtx* svc = scott();
  constexpr int kThreads = 4, kRounds = 50;
  std::atomic<int> wrong{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      OCIError* err = nullptr;
      oci().OCIHandleAlloc(env_, reinterpret_cast<void**>(&err), OCI_HTYPE_ERROR, 0, nullptr);
      int dept = (t % 3 + 1) * 10;
      int expected = dept == 10 ? 3 : dept == 20 ? 5 : 6;
      for (int i = 0; i < kRounds; ++i) {
        if (countDepartment(env_, svc, err, dept) != expected) ++wrong;
      }
      oci().OCIHandleFree(err, OCI_HTYPE_ERROR);
    });
  }
  for (auto& th : threads)
    th.join();
  EXPECT_EQ(0, wrong.load());
}

TEST_F(OciTransactionTest, SessionsOfSeparateEnvironmentsRunInParallel) {
  constexpr int kThreads = 3, kRounds = 40;
  std::atomic<int> wrong{0};
  std::vector<std::thread> threads;
  std::string path = databasePath();
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      const OciCalls& c = oci();
      OCIEnv* env = nullptr;
      OCIError* err = nullptr;
      OCISvcCtx* svc = nullptr;
      // The caller serialises an environment without mutex: here, one per thread.
      c.OCIEnvInit(&env, t == 0 ? OCI_ENV_NO_MUTEX : OCI_DEFAULT, 0, nullptr);
      c.OCIHandleAlloc(env, reinterpret_cast<void**>(&err), OCI_HTYPE_ERROR, 0, nullptr);
      if (c.OCILogon(env, err, &svc, reinterpret_cast<const OraText*>("scott"), 5,
                     reinterpret_cast<const OraText*>("tiger"), 5,
                     reinterpret_cast<const OraText*>(path.c_str()), path.size()) != OCI_SUCCESS) {
        ++wrong;
      } else {
        for (int i = 0; i < kRounds; ++i) {
          if (countDepartment(env, svc, err, 30) != 6) ++wrong;
        }
        c.OCILogoff(svc, err);
      }
      c.OCIHandleFree(env, OCI_HTYPE_ENV);
    });
  }
  for (auto& th : threads)
    th.join();
  EXPECT_EQ(0, wrong.load());
}

}  // namespace
}  // namespace vorn::server::oci_test
