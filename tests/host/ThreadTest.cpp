// Worker threads and the main-thread call queue. Every wait here waits for
// an event (a future, WaitFor, a queued call); nothing sleeps.
#include "vorn/host/Thread.h"

#include <gtest/gtest.h>

#include <future>
#include <mutex>
#include <string>
#include <vector>

#include "vorn/host/Exceptions.h"

namespace vorn {
namespace {

// Runs a function as its Execute.
class TLambdaThread : public TThread {
 public:
  explicit TLambdaThread(std::function<void(TLambdaThread&)> body) : body_(std::move(body)) {}
  ~TLambdaThread() override {
    if (!Suspended() && !FreeOnTerminate()) {
      Terminate();
      WaitFor();
    }
  }
  using TThread::SetReturnValue;
  using TThread::Synchronize;

 protected:
  void Execute() override { body_(*this); }

 private:
  std::function<void(TLambdaThread&)> body_;
};

// Removes the wake hook whatever the test does.
struct WakeHook {
  explicit WakeHook(std::function<void()> hook) { SetWakeMainThread(std::move(hook)); }
  ~WakeHook() { SetWakeMainThread(nullptr); }
};

constexpr int kLongWaitMs = 60000;  // an upper bound for a stuck test, not a pace

TEST(ThreadTest, SynchronizeBlocksTheWorkerUntilTheMainThreadRunsTheCall) {
  std::mutex mutex;
  std::vector<std::string> log;
  auto note = [&](const std::string& s) {
    std::lock_guard<std::mutex> lock(mutex);
    log.push_back(s);
  };
  std::promise<void> queued;
  WakeHook hook([&] { queued.set_value(); });
  TLambdaThread worker([&](TLambdaThread& self) {
    note("before");
    self.Synchronize([&] { note(IsMainThread() ? "call on main" : "call elsewhere"); });
    note("after");
  });
  EXPECT_TRUE(worker.Suspended());
  worker.Start();
  EXPECT_FALSE(worker.Suspended());
  queued.get_future().wait();
  {
    std::lock_guard<std::mutex> lock(mutex);
    EXPECT_EQ(log, (std::vector<std::string>{"before"}));
  }
  EXPECT_TRUE(CheckSynchronize(kLongWaitMs));
  worker.WaitFor();
  EXPECT_EQ(log, (std::vector<std::string>{"before", "call on main", "after"}));
  EXPECT_FALSE(CheckSynchronize());
}

TEST(ThreadTest, ExceptionsOfTheCallReachTheWorker) {
  std::string caught;
  TLambdaThread worker([&](TLambdaThread& self) {
    try {
      self.Synchronize([] { throw EDatabaseError("Record not found"); });
    } catch (const EDatabaseError& e) {
      caught = std::string(e.ClassName()) + ": " + e.Message();
    }
  });
  worker.Start();
  worker.WaitFor();  // runs the queued call meanwhile
  EXPECT_EQ(caught, "EDatabaseError: Record not found");
}

TEST(ThreadTest, ExecuteErrorsAreKept) {
  TLambdaThread worker([](TLambdaThread&) { throw EConvertError("bad"); });
  worker.Start();
  worker.WaitFor();
  ASSERT_TRUE(worker.FatalException());
  EXPECT_THROW(std::rethrow_exception(worker.FatalException()), EConvertError);
  EXPECT_TRUE(worker.Finished());
}

TEST(ThreadTest, SynchronizeOnTheMainThreadRunsAtOnce) {
  bool ran = false;
  TThread::Synchronize(nullptr, [&] { ran = true; });
  EXPECT_TRUE(ran);
}

TEST(ThreadTest, OnlyTheMainThreadDrainsTheQueue) {
  std::string message;
  TLambdaThread worker([&](TLambdaThread&) {
    try {
      CheckSynchronize();
    } catch (const EThread& e) {
      message = e.Message();
    }
  });
  worker.Start();
  worker.WaitFor();
  EXPECT_EQ(message, "CheckSynchronize called from a thread that is not the main thread");
  EXPECT_TRUE(IsMainThread());
  EXPECT_EQ(MainThreadID(), std::this_thread::get_id());
}

TEST(ThreadTest, OnTerminateRunsOnTheMainThreadAndWaitForReturnsTheValue) {
  bool onMain = false;
  TThread* sender = nullptr;
  TLambdaThread worker([](TLambdaThread& self) { self.SetReturnValue(7); });
  worker.SetOnTerminate([&](TObject* s) {
    onMain = IsMainThread();
    sender = static_cast<TThread*>(s);
  });
  worker.Start();
  EXPECT_EQ(worker.WaitFor(), 7);
  EXPECT_TRUE(onMain);
  EXPECT_EQ(sender, &worker);
}

TEST(ThreadTest, TerminateStopsACooperativeLoop) {
  std::promise<void> running;
  TLambdaThread worker([&](TLambdaThread& self) {
    running.set_value();
    while (!self.Terminated())
      std::this_thread::yield();
  });
  worker.Start();
  running.get_future().wait();
  worker.Terminate();
  worker.WaitFor();
  EXPECT_TRUE(worker.Terminated());
}

TEST(ThreadTest, TerminatedBeforeStartSkipsExecute) {
  bool executed = false;
  TLambdaThread worker([&](TLambdaThread&) { executed = true; });
  worker.Terminate();
  worker.Start();
  worker.WaitFor();
  EXPECT_FALSE(executed);
}

TEST(ThreadTest, FreeOnTerminateDeletesTheThread) {
  struct TSelfFreeing : TThread {
    std::promise<void> gone;
    std::shared_future<void> release;
    ~TSelfFreeing() override { gone.set_value(); }
    void Execute() override { release.wait(); }
  };
  std::promise<void> release;
  auto* thread = new TSelfFreeing;
  thread->release = release.get_future().share();
  std::future<void> gone = thread->gone.get_future();
  thread->SetFreeOnTerminate(true);
  thread->Start();
  EXPECT_THROW(thread->WaitFor(), EThread);  // still running: it waits for release
  release.set_value();
  gone.wait();
}

TEST(ThreadTest, MisuseIsRefused) {
  TLambdaThread worker([](TLambdaThread&) {});
  EXPECT_THROW(worker.WaitFor(), EThread);
  worker.Start();
  try {
    worker.Start();
    FAIL();
  } catch (const EThread& e) {
    EXPECT_EQ(e.Message(), "Thread already started");
  }
  worker.WaitFor();
}

TEST(ThreadTest, ManyWorkersShareTheQueue) {
  constexpr int kWorkers = 8;
  int counter = 0;  // touched only on the main thread
  std::vector<std::unique_ptr<TLambdaThread>> workers;
  for (int i = 0; i < kWorkers; ++i) {
    workers.push_back(std::make_unique<TLambdaThread>([&](TLambdaThread& self) {
      for (int n = 0; n < 10; ++n)
        self.Synchronize([&] { ++counter; });
    }));
    workers.back()->Start();
  }
  for (auto& worker : workers)
    worker->WaitFor();
  EXPECT_EQ(counter, kWorkers * 10);
}

TEST(ThreadTest, DeletingARunningThreadStopsIt) {
  std::promise<void> running;
  auto* worker = new TLambdaThread([&](TLambdaThread& self) {
    running.set_value();
    while (!self.Terminated())
      std::this_thread::yield();
  });
  worker->Start();
  running.get_future().wait();
  delete worker;
}

}  // namespace
}  // namespace vorn
