// Worker threads and the queue of calls they hand to the main thread.
#include "vorn/host/Thread.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>

#include "vorn/host/Exceptions.h"

namespace vorn {
namespace {

// Static data is initialised on the thread that starts the program.
const std::thread::id gMainThreadId = std::this_thread::get_id();

struct SyncRequest {
  const TThreadMethod* method;
  std::exception_ptr error;
  bool done = false;
};

// One lock for the queue, every thread's finished flag and the wake hook.
// `gWork` wakes the main thread (a call was queued or a thread finished);
// `gDone` wakes the workers whose calls have run.
std::mutex gMutex;
std::condition_variable gWork;
std::condition_variable gDone;
std::deque<SyncRequest*> gQueue;
std::function<void()> gWakeMainThread;

}  // namespace

TThread::~TThread() {
  if (started_ && std::this_thread::get_id() != threadId_) {
    bool finished;
    {
      std::lock_guard<std::mutex> lock(gMutex);
      finished = finished_;
    }
    if (!finished && !freeOnTerminate_) {
      Terminate();
      WaitFor();
    }
  }
  if (thread_.joinable()) {
    if (std::this_thread::get_id() == thread_.get_id()) {
      thread_.detach();
    } else {
      thread_.join();
    }
  }
}

void TThread::Start() {
  if (started_.exchange(true)) throw EThread("Thread already started");
  // The worker waits for this lock, so it sees thread_ and threadId_ set.
  std::lock_guard<std::mutex> lock(gMutex);
  try {
    thread_ = std::thread(&TThread::Run, this);
  } catch (const std::system_error& e) {
    started_ = false;
    throw EThread(std::string("Thread creation error: ") + e.what());
  }
  threadId_ = thread_.get_id();
}

void TThread::Run(TThread* thread) {
  { std::lock_guard<std::mutex> lock(gMutex); }
  try {
    if (!thread->terminated_) thread->Execute();
  } catch (...) {
    thread->fatalException_ = std::current_exception();
  }
  const bool freeThread = thread->freeOnTerminate_;
  try {
    thread->DoTerminate();
  } catch (...) {
    if (!thread->fatalException_) thread->fatalException_ = std::current_exception();
  }
  {
    std::lock_guard<std::mutex> lock(gMutex);
    thread->finished_ = true;
  }
  gWork.notify_all();
  if (freeThread) {
    thread->thread_.detach();
    delete thread;
  }
}

int TThread::WaitFor() {
  if (!started_) throw EThread("Cannot wait for a thread that has not been started");
  if (freeOnTerminate_) throw EThread("Cannot wait for a thread that frees itself");
  if (std::this_thread::get_id() == thread_.get_id()) {
    throw EThread("A thread cannot wait for itself");
  }
  std::unique_lock<std::mutex> lock(gMutex);
  if (IsMainThread()) {
    // Keep running the calls this thread (or any other) queues meanwhile.
    while (!finished_) {
      if (!gQueue.empty()) {
        lock.unlock();
        CheckSynchronize();
        lock.lock();
        continue;
      }
      gWork.wait(lock);
    }
  } else {
    gWork.wait(lock, [this] { return finished_; });
  }
  return returnValue_;
}

bool TThread::Finished() const {
  std::lock_guard<std::mutex> lock(gMutex);
  return finished_;
}

void TThread::DoTerminate() {
  if (onTerminate_) Synchronize([this] { onTerminate_(this); });
}

void TThread::Synchronize(TThread*, const TThreadMethod& method) {
  if (IsMainThread()) {
    method();
    return;
  }
  SyncRequest request{&method, nullptr};
  std::function<void()> wake;
  {
    std::lock_guard<std::mutex> lock(gMutex);
    gQueue.push_back(&request);
    wake = gWakeMainThread;
  }
  gWork.notify_all();
  if (wake) wake();
  {
    std::unique_lock<std::mutex> lock(gMutex);
    gDone.wait(lock, [&] { return request.done; });
  }
  if (request.error) std::rethrow_exception(request.error);
}

bool CheckSynchronize(int timeoutMs) {
  if (!IsMainThread()) {
    throw EThread("CheckSynchronize called from a thread that is not the main thread");
  }
  std::unique_lock<std::mutex> lock(gMutex);
  if (gQueue.empty() && timeoutMs > 0) {
    gWork.wait_for(lock, std::chrono::milliseconds(timeoutMs), [] { return !gQueue.empty(); });
  }
  if (gQueue.empty()) return false;
  std::deque<SyncRequest*> pending;
  pending.swap(gQueue);
  for (SyncRequest* request : pending) {
    lock.unlock();
    try {
      (*request->method)();
    } catch (...) {
      request->error = std::current_exception();
    }
    lock.lock();
    request->done = true;
  }
  lock.unlock();
  gDone.notify_all();
  return true;
}

void SetWakeMainThread(std::function<void()> hook) {
  std::lock_guard<std::mutex> lock(gMutex);
  gWakeMainThread = std::move(hook);
}

std::thread::id MainThreadID() {
  return gMainThreadId;
}

bool IsMainThread() {
  return std::this_thread::get_id() == gMainThreadId;
}

}  // namespace vorn
