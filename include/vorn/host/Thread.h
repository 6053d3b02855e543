// TThread: a worker thread with the host's life cycle, and the queue through
// which workers run code on the main thread.
//
// A thread is always created suspended: C++ has not finished constructing
// the derived object inside the base constructor, so the worker can only
// start once Start() (or Resume()) is called. Execute() runs on the worker
// unless Terminate() came first; an exception escaping it is kept in
// FatalException(). Afterwards DoTerminate() runs OnTerminate through
// Synchronize, the thread counts as finished, and with FreeOnTerminate the
// object deletes itself (WaitFor is then not allowed).
//
// Deleting a running thread terminates it and waits for it, but only after
// the derived destructors have run: a subclass whose Execute uses its own
// members calls Terminate() and WaitFor() in its own destructor.
//
// Synchronize(method) from a worker queues the call and blocks until the
// main thread has run it with CheckSynchronize(); an exception the method
// raises is raised again in the worker. On the main thread it runs the
// method at once. The wake hook (SetWakeMainThread) is called on the queuing
// thread for every queued call, so that an event loop can schedule
// CheckSynchronize; WaitFor on the main thread runs queued calls while it
// waits, so a worker synchronising its last events cannot deadlock it.
//
// The main thread is the one that initialised the program's static data.
#pragma once

#include <atomic>
#include <exception>
#include <functional>
#include <thread>

#include "vorn/host/Object.h"

namespace vorn {

using TThreadMethod = std::function<void()>;

class TThread : public TObject {
  VORN_CLASS(TThread, TObject)
  TThread() = default;
  ~TThread() override;
  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;

  // Starts the worker; EThread "Thread already started" the second time.
  void Start();
  void Resume() { Start(); }
  bool Suspended() const { return !started_; }

  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }
  // Waits until the thread has finished and returns ReturnValue(). Raises
  // EThread for a thread not started or one that frees itself.
  int WaitFor();
  bool Finished() const;

  bool FreeOnTerminate() const { return freeOnTerminate_; }
  void SetFreeOnTerminate(bool value) { freeOnTerminate_ = value; }
  const TNotifyEvent& OnTerminate() const { return onTerminate_; }
  void SetOnTerminate(TNotifyEvent handler) { onTerminate_ = std::move(handler); }

  std::thread::id ThreadID() const { return threadId_; }
  int ReturnValue() const { return returnValue_; }
  std::exception_ptr FatalException() const { return fatalException_; }

  // Runs `method` on the main thread (see above); `thread` may be nullptr.
  static void Synchronize(TThread* thread, const TThreadMethod& method);

 protected:
  virtual void Execute() = 0;
  // Runs OnTerminate through Synchronize when it is set.
  virtual void DoTerminate();
  void Synchronize(const TThreadMethod& method) { Synchronize(this, method); }
  void SetReturnValue(int value) { returnValue_ = value; }

 private:
  static void Run(TThread* thread);

  std::thread thread_;
  std::thread::id threadId_;
  std::atomic<bool> started_{false};
  std::atomic<bool> terminated_{false};
  bool finished_ = false;  // guarded by the synchronisation mutex
  bool freeOnTerminate_ = false;
  int returnValue_ = 0;
  std::exception_ptr fatalException_;
  TNotifyEvent onTerminate_;
};

// Runs the calls queued by Synchronize, waiting up to `timeoutMs` for one
// when none is queued; true when any ran. Raises EThread on another thread
// than the main one.
bool CheckSynchronize(int timeoutMs = 0);
// Installs the hook called whenever a call is queued (empty: none).
void SetWakeMainThread(std::function<void()> hook);
std::thread::id MainThreadID();
bool IsMainThread();

}  // namespace vorn
