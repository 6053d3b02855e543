// Threaded queries: the execute-and-fetch cycle on the query's own thread,
// its events on the main thread (ThreadSynchronized, while the main thread
// runs CheckSynchronize) or on the query's thread, errors through
// OnThreadError, breaking a cycle, several threaded queries on one session,
// and queries destroyed or closed while their cycle runs.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <future>
#include <mutex>
#include <thread>

#include "QueryTestSupport.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/Thread.h"
#include "vorn/query/QueryThread.h"

namespace vorn::query_test {
namespace {

// Runs the main thread's synchronised calls until `done` holds.
void PumpUntil(const std::function<bool()>& done) {
  while (!done())
    CheckSynchronize(1000);
}

// What the events of a threaded query saw, and where they ran. Every event
// appends to `events` under the lock (the events of an unsynchronised
// query run on its thread).
struct EventLog {
  std::mutex mutex;
  std::vector<std::string> events;
  std::vector<std::thread::id> threads;
  std::atomic<int> finished{0};

  void Add(std::string event) {
    std::lock_guard<std::mutex> lock(mutex);
    events.push_back(std::move(event));
    threads.push_back(std::this_thread::get_id());
  }
  std::vector<std::string> Events() {
    std::lock_guard<std::mutex> lock(mutex);
    return events;
  }
  // Every event ran on the main thread.
  bool AllOnMainThread() {
    std::lock_guard<std::mutex> lock(mutex);
    for (const std::thread::id& id : threads) {
      if (id != MainThreadID()) return false;
    }
    return true;
  }
  bool NoneOnMainThread() {
    std::lock_guard<std::mutex> lock(mutex);
    for (const std::thread::id& id : threads) {
      if (id == MainThreadID()) return false;
    }
    return true;
  }
};

class QueryThreadTest : public QueryTest {
 protected:
  // A threaded query whose events write to `log`: "executed", "record "
  // and the first column, "error <code> <message>", "finished".
  std::unique_ptr<TOracleQuery> ThreadedQuery(const std::string& sql, EventLog& log,
                                              bool synchronized = true,
                                              TOracleSession* session = nullptr) {
    auto query = NewQuery(sql, session);
    query->SetThreaded(true);
    query->SetThreadSynchronized(synchronized);
    query->SetOnThreadExecuted([&log](TOracleQuery*) { log.Add("executed"); });
    query->SetOnThreadRecord(
        [&log](TOracleQuery* sender) { log.Add("record " + sender->FieldAsString(0)); });
    query->SetOnThreadError([&log](TOracleQuery*, int code, const std::string& message) {
      log.Add("error " + std::to_string(code) + " " + message);
    });
    query->SetOnThreadFinished([&log](TOracleQuery*) {
      log.Add("finished");
      ++log.finished;
    });
    return query;
  }

  static constexpr const char* kThreeRows =
      "select deptno from dept where deptno <= 30 order by deptno";
};
VORN_QUERY_IN_BOTH_CALL_SETS(QueryThreadTest);

TEST_P(QueryThreadTest, ThreeRowsFireExecutedOnceRecordThriceFinishedOnceOnTheMainThread) {
  EventLog log;
  auto query = ThreadedQuery(kThreeRows, log);

  query->Execute();
  PumpUntil([&] { return log.finished > 0; });
  query->WaitForThread();

  EXPECT_EQ(
      (std::vector<std::string>{"executed", "record 10", "record 20", "record 30", "finished"}),
      log.Events());
  EXPECT_TRUE(log.AllOnMainThread());
  EXPECT_FALSE(query->ThreadIsRunning());
  EXPECT_TRUE(query->Eof());
}

TEST_P(QueryThreadTest, ExecuteAndDescribeDuringTheCycleRaise) {
  EventLog log;
  auto query = ThreadedQuery(kThreeRows, log);
  std::vector<std::string> refusals;
  query->SetOnThreadRecord([&](TOracleQuery* sender) {
    refusals.push_back(ErrorOf([&] { sender->Execute(); }));
    refusals.push_back(ErrorOf([&] { sender->Describe(); }));
    EXPECT_TRUE(sender->ThreadIsRunning());
  });

  query->Execute();
  EXPECT_TRUE(query->ThreadIsRunning());
  EXPECT_EQ("Query thread is still in progress", ErrorOf([&] { query->Execute(); }));
  PumpUntil([&] { return log.finished > 0; });
  query->WaitForThread();

  ASSERT_EQ(6u, refusals.size());
  for (const std::string& refusal : refusals)
    EXPECT_EQ("Query thread is still in progress", refusal);
}

TEST_P(QueryThreadTest, UnsynchronisedEventsRunOnTheQueryThread) {
  EventLog log;
  auto query = ThreadedQuery(kThreeRows, log, false);

  query->Execute();
  query->WaitForThread();

  EXPECT_EQ(
      (std::vector<std::string>{"executed", "record 10", "record 20", "record 30", "finished"}),
      log.Events());
  EXPECT_TRUE(log.NoneOnMainThread());
  EXPECT_FALSE(query->ThreadIsRunning());
}

TEST_P(QueryThreadTest, TheThreadRunsACycleForEveryExecute) {
  EventLog log;
  auto query = ThreadedQuery("select deptno from dept where deptno = :d", log);
  query->DeclareVariable("d", otInteger);

  query->SetVariable("d", 10);
  query->Execute();
  query->WaitForThread();
  query->SetVariable("d", 40);
  query->Execute();
  query->WaitForThread();

  EXPECT_EQ((std::vector<std::string>{"executed", "record 10", "finished", "executed", "record 40",
                                      "finished"}),
            log.Events());
}

TEST_P(QueryThreadTest, ADatabaseErrorArrivesThroughOnThreadError) {
  EventLog log;
  auto query = ThreadedQuery("select * from no_such_table", log);

  query->Execute();
  query->WaitForThread();

  const std::vector<std::string> events = log.Events();
  ASSERT_EQ(2u, events.size());
  EXPECT_EQ(0u, events[0].rfind("error 942 ORA-00942", 0)) << events[0];
  EXPECT_EQ("finished", events[1]);
  EXPECT_TRUE(log.AllOnMainThread());
}

TEST_P(QueryThreadTest, AnErrorOfAHandlerEndsTheRowsAndArrivesWithCodeZero) {
  EventLog log;
  auto query = ThreadedQuery(kThreeRows, log);
  query->SetOnThreadRecord([&log](TOracleQuery* sender) {
    log.Add("record " + sender->FieldAsString(0));
    if (sender->FieldAsInteger(0) == 20) throw Exception("handler failed");
  });

  query->Execute();
  query->WaitForThread();

  EXPECT_EQ((std::vector<std::string>{"executed", "record 10", "record 20",
                                      "error 0 handler failed", "finished"}),
            log.Events());
}

TEST_P(QueryThreadTest, AQueryWithoutSessionReportsItThroughOnThreadError) {
  EventLog log;
  auto query = ThreadedQuery(kThreeRows, log);
  query->SetSession(nullptr);

  query->Execute();
  query->WaitForThread();

  EXPECT_EQ((std::vector<std::string>{"error 0 Session undefined", "finished"}), log.Events());
}

TEST_P(QueryThreadTest, AnErrorOfTheErrorHandlerIsDroppedAndTheCycleFinishes) {
  EventLog log;
  auto query = ThreadedQuery("select * from no_such_table", log, false);
  query->SetOnThreadError(
      [](TOracleQuery*, int, const std::string&) { throw Exception("error handler failed"); });

  query->Execute();
  query->WaitForThread();

  EXPECT_EQ((std::vector<std::string>{"finished"}), log.Events());
  query->SetThreaded(false);
  query->SQL()->SetText(kThreeRows);
  query->Execute();
  EXPECT_EQ(10, query->FieldAsInteger(0));
}

TEST_P(QueryThreadTest, BreakThreadEndsTheCycleAfterTheCurrentRow) {
  EventLog log;
  auto query = ThreadedQuery("select empno from emp order by empno", log);
  query->SetOnThreadRecord([&log](TOracleQuery* sender) {
    log.Add("record");
    if (log.Events().size() == 3) sender->BreakThread();
  });

  query->Execute();
  query->WaitForThread();

  EXPECT_EQ((std::vector<std::string>{"executed", "record", "record", "finished"}), log.Events());
  EXPECT_FALSE(query->Eof());
}

TEST_P(QueryThreadTest, WaitingFromWithinItsOwnEventRaises) {
  EventLog log;
  auto query = ThreadedQuery(kThreeRows, log);
  std::string refusal;
  query->SetOnThreadExecuted(
      [&](TOracleQuery* sender) { refusal = ErrorOf([&] { sender->WaitForThread(); }); });

  query->Execute();
  query->WaitForThread();

  EXPECT_EQ("Query thread is still in progress", refusal);
}

TEST_P(QueryThreadTest, SeveralThreadedQueriesRunOnOneSessionAtOnce) {
  if (UsesOCI7()) {
    // Version 7 calls share the session's logon data area: a thread-safe
    // session serialises them.
    session_->LogOff();
    session_->SetThreadSafe(true);
    session_->LogOn();
  }
  constexpr int kQueries = 4;
  EventLog logs[kQueries];
  std::vector<std::unique_ptr<TOracleQuery>> queries;
  for (int i = 0; i < kQueries; ++i) {
    queries.push_back(ThreadedQuery("select empno from emp where deptno = " +
                                        std::to_string(10 * (i % 3 + 1)) + " order by empno",
                                    logs[i], i % 2 == 0));
    queries.back()->SetReadBuffer(2);
  }

  for (auto& query : queries)
    query->Execute();
  for (auto& query : queries)
    query->WaitForThread();

  const std::vector<size_t> rows{3, 5, 6, 3};
  for (int i = 0; i < kQueries; ++i) {
    const std::vector<std::string> events = logs[i].Events();
    ASSERT_EQ(rows[static_cast<size_t>(i)] + 2, events.size()) << i;
    EXPECT_EQ("executed", events.front());
    EXPECT_EQ("finished", events.back());
  }
  EXPECT_EQ("record 7782", logs[0].Events()[1]);
  EXPECT_EQ("record 7369", logs[1].Events()[1]);
  EXPECT_EQ("record 7499", logs[2].Events()[1]);
}

TEST_P(QueryThreadTest, TheThreadLeavesTheScreenCursorAloneAndHandsItsDebugMessageToTheMainThread) {
  EventLog log;
  auto query = ThreadedQuery("select deptno from dept where deptno = :d", log, false);
  query->DeclareVariable("d", otInteger);
  query->SetVariable("d", 10);
  query->SetDebug(true);
  query->SetCursor(crHourGlass);
  ui_.Clear();

  query->Execute();
  query->WaitForThread();

  EXPECT_EQ((std::vector<std::string>{"select deptno from dept where deptno = :d\r:D = 10"}),
            ui_.Texts());
  EXPECT_TRUE(ui_.Cursors().empty());
  EXPECT_EQ((std::vector<std::string>{"executed", "record 10", "finished"}), log.Events());
}

// --- Destroying and closing during a cycle ---

TEST_P(QueryThreadTest, DestroyingTheQueryStopsItsCycleWithoutFurtherEvents) {
  EventLog log;
  auto query = ThreadedQuery("select empno from emp", log);

  // Nothing is pumped: the thread waits for the main thread at its first
  // event, or has not reached it yet.
  query->Execute();
  query.reset();

  EXPECT_TRUE(log.Events().empty());
  EXPECT_EQ((std::vector<std::string>{"14"}), Rows("select count(*) from emp"));
}

TEST_P(QueryThreadTest, ASynchronisedHandlerMayDestroyItsQuery) {
  EventLog log;
  auto query = ThreadedQuery("select empno from emp order by empno", log);
  TOracleQuery* raw = query.release();
  raw->SetOnThreadRecord([&log](TOracleQuery* sender) {
    log.Add("record " + sender->FieldAsString(0));
    delete sender;
  });

  raw->Execute();
  PumpUntil([&] { return log.Events().size() == 2; });

  EXPECT_EQ((std::vector<std::string>{"executed", "record 7369"}), log.Events());
  EXPECT_EQ((std::vector<std::string>{"14"}), Rows("select count(*) from emp"));
}

TEST_P(QueryThreadTest, AnUnsynchronisedHandlerMayDestroyItsQuery) {
  EventLog log;
  std::promise<void> deleted;
  auto query = ThreadedQuery("select empno from emp order by empno", log, false);
  TOracleQuery* raw = query.release();
  raw->SetOnThreadRecord([&](TOracleQuery* sender) {
    log.Add("record " + sender->FieldAsString(0));
    delete sender;
    deleted.set_value();
  });

  raw->Execute();
  deleted.get_future().wait();

  EXPECT_EQ((std::vector<std::string>{"executed", "record 7369"}), log.Events());
}

TEST_P(QueryThreadTest, LoggingOffDuringACycleEndsItFirst) {
  EventLog log;
  auto query = ThreadedQuery("select empno from emp order by empno", log);
  query->Execute();
  // The thread now waits for the main thread at its first row, or is on
  // its way there.
  PumpUntil([&] { return !log.Events().empty(); });

  session_->LogOff();

  const std::vector<std::string> events = log.Events();
  EXPECT_EQ(1, log.finished.load());
  EXPECT_EQ("finished", events.back());
  // At most the row whose event was already waiting.
  EXPECT_LE(events.size(), 3u);
  EXPECT_FALSE(query->ThreadIsRunning());
  EXPECT_FALSE(session_->Connected());
}

}  // namespace
}  // namespace vorn::query_test
