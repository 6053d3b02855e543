// Sessions shared by several threads: commits from many threads, the call
// lock and the list lock.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "SessionTestSupport.h"
#include "vorn/session/OracleError.h"

namespace vorn::session_test {
namespace {

constexpr int kThreads = 4;
constexpr int kRowsPerThread = 25;

class ThreadSafeTest : public CallSetTest {
 protected:
  // Every thread inserts its rows into PROBE and commits after each one;
  // returns the number of failures.
  static int InsertAndCommitFromThreads(TOracleSession& session) {
    std::atomic<int> failures = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
      threads.emplace_back([&session, &failures, t] {
        for (int i = 0; i < kRowsPerThread; ++i) {
          try {
            RunSql(session, "insert into probe (id, note) values (" + std::to_string(t * 1000 + i) +
                                ", 'thread')");
            session.Commit();
          } catch (const std::exception& error) {
            ++failures;
            ADD_FAILURE() << error.what();
          }
        }
      });
    }
    for (std::thread& thread : threads)
      thread.join();
    return failures;
  }
};

VORN_IN_BOTH_CALL_SETS(ThreadSafeTest);

TEST_P(ThreadSafeTest, ThreadsCommitThroughOneSession) {
  auto session = NewSession();
  session->SetThreadSafe(true);
  session->LogOn();

  EXPECT_EQ(InsertAndCommitFromThreads(*session), 0);

  EXPECT_EQ(ProbeRows(*Observer()), kThreads * kRowsPerThread);
}

// Whether another thread could take the session's call lock now.
bool CallLockFreeForOthers(TOracleSession& session) {
  bool free = false;
  std::thread other([&] {
    free = session.TryLockCall();
    if (free) session.UnlockCall();
  });
  other.join();
  return free;
}

TEST_P(ThreadSafeTest, OnlyVersion7SessionsTakeTheCallLock) {
  auto session = NewSession();
  session->SetThreadSafe(true);
  session->LogOn();

  session->LockCall();
  session->LockCall();
  EXPECT_EQ(CallLockFreeForOthers(*session), !UsesOCI7());
  session->UnlockCall();
  EXPECT_EQ(CallLockFreeForOthers(*session), !UsesOCI7());
  session->UnlockCall();
  EXPECT_TRUE(CallLockFreeForOthers(*session));
}

TEST_P(ThreadSafeTest, WithoutThreadSafeThereIsNoCallLock) {
  auto session = NewSession();
  session->LogOn();

  session->LockCall();

  EXPECT_TRUE(CallLockFreeForOthers(*session));
  session->UnlockCall();
}

TEST_P(ThreadSafeTest, RegistrationsFromManyThreadsAreAllKept) {
  TOracleSession session;
  session.SetThreadSafe(true);
  std::vector<std::vector<std::string>> logs(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&session, &logs, t] {
      for (int i = 0; i < 200; ++i) {
        RecordingQuery query(session, "Q", logs[t]);
        RecordingDataSet dataSet(session, "D", logs[t]);
      }
      // One of each stays registered per thread.
      new RecordingQuery(session, "kept", logs[t]);
    });
  }
  for (std::thread& thread : threads)
    thread.join();

  EXPECT_EQ(session.QueryCount(), kThreads);
  EXPECT_EQ(session.DataSetCount(), 0);
  while (session.QueryCount() > 0)
    delete static_cast<RecordingQuery*>(session.Queries(0));
}

}  // namespace
}  // namespace vorn::session_test
