// TQueryThread: the thread on which a TOracleQuery with Threaded set runs
// its execute-and-fetch cycles (OracleQuery.h). The query makes it on its
// first threaded Execute and frees it when the query goes; nobody else
// creates one.
//
// A cycle: the statement is executed (ExecuteArray(-1, -1)), OnThreadExecuted
// fires, then OnThreadRecord for every row while the query is not at Eof
// (the handler reads the current row; Next follows), and OnThreadFinished
// at the end. An error of any of these steps (a handler's included) ends
// them and fires OnThreadError with the error code (an EOracleError's, 0
// for any other exception) and message before OnThreadFinished; no error
// escapes the thread, and one raised by the OnThreadError or
// OnThreadFinished handler itself is dropped. Between cycles the thread
// waits for the next Execute.
//
// With the query's ThreadSynchronized set, every event runs on the main
// thread through TThread::Synchronize (the thread waits until the main
// thread has run it from CheckSynchronize or its event loop); otherwise it
// runs on the query's thread. BeforeQuery, AfterQuery and OnArrayError
// always run on the query's thread.
//
// A cycle can be ended early (TOracleQuery::BreakThread): after the row
// whose event is running, no more rows are read and OnThreadFinished still
// fires. Destroying the query ends the cycle at once: the thread stops
// after the client call in progress and fires no more events. That is safe
// from any thread, also from within the query's own event handler (each
// handler runs as a copy, so its captures outlive the query).
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "vorn/host/Thread.h"

namespace vorn {

class TOracleQuery;

class TQueryThread : public TThread {
  VORN_CLASS(TQueryThread, TThread)
  ~TQueryThread() override;

  // The error of the last cycle that failed (code 0 for an error that was
  // not the database's).
  int LastErrorCode() const { return lastErrorCode_; }
  const std::string& LastErrorMessage() const { return lastErrorMessage_; }
  // The query served; null once the query has gone.
  TOracleQuery* Query() const { return query_; }

 protected:
  void Execute() override;

 private:
  friend class TOracleQuery;

  explicit TQueryThread(TOracleQuery* query);

  // --- For the query ---

  // A cycle has been asked for and has not ended (its OnThreadFinished
  // included).
  bool Running() const { return running_.load(std::memory_order_acquire); }
  // Starts a cycle; "Query thread is still in progress" while one runs.
  void StartCycle();
  void RequestBreak() { break_.store(true, std::memory_order_relaxed); }
  // Waits for the cycle in progress to end; on the main thread it runs the
  // synchronised calls of every thread meanwhile. Raises "Query thread is
  // still in progress" from within the query's own event handler and on
  // the thread itself, whose cycle cannot end while they wait.
  void WaitForCycle();
  // The calling thread is running one of the query's event handlers: the
  // thread is then parked in that event and calls nothing until it
  // returns.
  bool InEventHere() const;
  // The calling thread is this one.
  bool OnThisThread() const { return !Suspended() && std::this_thread::get_id() == ThreadID(); }
  // Stops the thread and waits for it; the events still queued for the
  // main thread run without their handlers.
  void Stop();
  // The query goes from within one of its own event handlers: the thread
  // leaves the query alone from now on, and a process-wide list takes it
  // over and joins it once it has ended (at the latest when the program
  // ends).
  void Orphan();

  // --- On the thread ---

  void RunCycle();
  void EndCycle();
  // Runs `call` (which fires one event) where the query's events run.
  template <class Call>
  void Fire(bool assigned, Call&& call);

  int32_t lastErrorCode_ = 0;
  std::string lastErrorMessage_;
  TOracleQuery* query_;

  // Guards go_, running_ changes and mainWaiting_.
  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  bool go_ = false;
  std::atomic<bool> running_{false};
  std::atomic<bool> break_{false};
  // The main thread waits in WaitForCycle: the cycle's end is then handed
  // to it through Synchronize, which wakes it.
  bool mainWaiting_ = false;
  // The thread running an event handler of the query, if any.
  std::atomic<std::thread::id> eventThread_{};
};

}  // namespace vorn
