// The thread of a threaded query; see QueryThread.h.
#include "vorn/query/QueryThread.h"

#include <vector>

#include "vorn/host/Exceptions.h"
#include "vorn/query/OracleQuery.h"
#include "vorn/session/OracleError.h"

namespace vorn {

namespace {

// How long the main thread waits for a synchronised call at a time while it
// waits for a cycle; the cycle's end always arrives as such a call, so this
// only bounds a wait nobody wakes.
constexpr int kPumpTimeoutMs = 1000;

// The threads of queries destroyed from within their own event handlers.
// Such a thread cannot be waited for where its query goes; it is kept here
// and joined once it has ended: when the next one comes, or when the
// program ends (this list is made after the host's thread machinery, so it
// goes first).
class OrphanedThreads {
 public:
  ~OrphanedThreads() {
    for (TQueryThread* thread : threads_)
      delete thread;
  }

  void Add(TQueryThread* thread) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto it = threads_.begin(); it != threads_.end();) {
      if ((*it)->Finished()) {
        delete *it;
        it = threads_.erase(it);
      } else {
        ++it;
      }
    }
    threads_.push_back(thread);
  }

 private:
  std::mutex mutex_;
  std::vector<TQueryThread*> threads_;
};

OrphanedThreads& Orphans() {
  static OrphanedThreads orphans;
  return orphans;
}

}  // namespace

TQueryThread::TQueryThread(TOracleQuery* query) : query_(query) {}

TQueryThread::~TQueryThread() {
  // The thread uses this object's members to its end: it must be over
  // before they go.
  if (!OnThisThread()) Stop();
}

void TQueryThread::Stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    Terminate();
  }
  wake_.notify_all();
  if (!Suspended()) WaitFor();
}

void TQueryThread::Orphan() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    query_ = nullptr;
    Terminate();
  }
  wake_.notify_all();
  Orphans().Add(this);
}

bool TQueryThread::InEventHere() const {
  return eventThread_.load() == std::this_thread::get_id();
}

void TQueryThread::StartCycle() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (running_.load()) throw Exception("Query thread is still in progress");
    running_.store(true, std::memory_order_release);
    break_.store(false);
    go_ = true;
  }
  wake_.notify_all();
  if (Suspended()) Start();
}

void TQueryThread::WaitForCycle() {
  if ((InEventHere() || OnThisThread()) && Running()) {
    throw Exception("Query thread is still in progress");
  }
  std::unique_lock<std::mutex> lock(mutex_);
  if (!IsMainThread()) {
    idle_.wait(lock, [this] { return !running_.load(); });
    return;
  }
  if (!running_.load()) return;
  mainWaiting_ = true;
  while (running_.load()) {
    lock.unlock();
    CheckSynchronize(kPumpTimeoutMs);
    lock.lock();
  }
  mainWaiting_ = false;
}

void TQueryThread::Execute() {
  for (;;) {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return go_ || Terminated(); });
      if (Terminated()) break;
      go_ = false;
    }
    try {
      RunCycle();
    } catch (...) {
      // Not an exception (those end up in OnThreadError): it ends the
      // thread, and the next threaded Execute makes a new one.
      EndCycle();
      throw;
    }
    EndCycle();
  }
  EndCycle();
}

void TQueryThread::EndCycle() {
  bool throughMain = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!running_.load()) return;
    throughMain = mainWaiting_ && !Terminated();
    if (!throughMain) running_.store(false, std::memory_order_release);
  }
  if (throughMain) {
    // The main thread waits in CheckSynchronize: this call wakes it, and
    // it sees the cycle over as soon as it has run it.
    Synchronize([this] {
      std::lock_guard<std::mutex> lock(mutex_);
      running_.store(false, std::memory_order_release);
    });
  }
  idle_.notify_all();
}

template <class Call>
void TQueryThread::Fire(bool assigned, Call&& call) {
  if (!assigned || Terminated()) return;
  const auto run = [this, &call] {
    // The query may have gone while the call waited for the main thread.
    if (Terminated()) return;
    const std::thread::id outer = eventThread_.exchange(std::this_thread::get_id());
    try {
      call();
    } catch (...) {
      eventThread_.store(outer);
      throw;
    }
    eventThread_.store(outer);
  };
  if (query_->ThreadSynchronized()) {
    Synchronize(run);
  } else {
    run();
  }
}

void TQueryThread::RunCycle() {
  TOracleQuery* query = query_;
  if (query == nullptr) return;
  // Each handler runs as a copy: one that destroys the query destroys the
  // query's handler, not the one running.
  const auto fire = [this, query](const TOracleQueryEvent& event) {
    Fire(static_cast<bool>(event), [query, handler = event] { handler(query); });
  };
  bool failed = false;
  try {
    query->ExecuteArray(-1, -1);
    fire(query->OnThreadExecuted());
    // Terminated first: a query destroyed by its own handler is not
    // touched again.
    while (!Terminated() && !break_.load() && !query->Eof()) {
      fire(query->OnThreadRecord());
      if (Terminated() || break_.load()) break;
      query->Next();
    }
  } catch (const EOracleError& error) {
    failed = true;
    lastErrorCode_ = error.ErrorCode();
    lastErrorMessage_ = error.Message();
  } catch (const std::exception& error) {
    failed = true;
    lastErrorCode_ = 0;
    lastErrorMessage_ = error.what();
  }
  if (Terminated()) return;
  if (failed) {
    try {
      const TThreadErrorEvent& event = query->OnThreadError();
      Fire(static_cast<bool>(event),
           [this, query, handler = event] { handler(query, lastErrorCode_, lastErrorMessage_); });
    } catch (const std::exception&) {
      // Nowhere to report an error of the error handler.
    }
  }
  if (Terminated()) return;
  try {
    fire(query->OnThreadFinished());
  } catch (const std::exception&) {
    // The cycle is over; nothing is left to report it to.
  }
}

}  // namespace vorn
