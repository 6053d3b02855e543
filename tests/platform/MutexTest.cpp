// The recursive mutex: re-entry by its holder, exclusion of other threads,
// and harmless release by a thread that does not hold it.
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <mutex>
#include <thread>

#include "vorn/platform/Mutex.h"

namespace vorn::platform {
namespace {

// Runs `f` on a new thread and returns its result.
template <typename F>
auto OnOtherThread(F f) {
  return std::async(std::launch::async, f).get();
}

TEST(MutexTest, TheHolderMayTakeItAgainAndReleasesOncePerTake) {
  Mutex mutex;
  mutex.Lock();
  mutex.Lock();
  ASSERT_TRUE(mutex.TryLock());

  EXPECT_TRUE(mutex.Unlock());
  EXPECT_TRUE(mutex.Unlock());
  EXPECT_FALSE(OnOtherThread([&] { return mutex.TryLock(); })) << "still held once";

  EXPECT_TRUE(mutex.Unlock());
  EXPECT_FALSE(mutex.Unlock()) << "no take left to release";
}

TEST(MutexTest, OtherThreadsTakeItOnlyAfterTheLastRelease) {
  Mutex mutex;
  mutex.Lock();
  mutex.Lock();

  EXPECT_FALSE(OnOtherThread([&] { return mutex.TryLock(); }));
  mutex.Unlock();
  EXPECT_FALSE(OnOtherThread([&] { return mutex.TryLock(); }));
  mutex.Unlock();
  EXPECT_TRUE(OnOtherThread([&] {
    const bool taken = mutex.TryLock();
    if (taken) mutex.Unlock();
    return taken;
  }));
}

TEST(MutexTest, AWaitingThreadProceedsWhenTheHolderReleases) {
  Mutex mutex;
  mutex.Lock();
  std::promise<void> started;
  std::atomic<bool> acquired{false};
  std::thread waiter([&] {
    started.set_value();
    mutex.Lock();
    acquired = true;
    mutex.Unlock();
  });
  started.get_future().wait();

  EXPECT_FALSE(acquired) << "taken while this thread still held it";
  mutex.Unlock();
  waiter.join();
  EXPECT_TRUE(acquired);
}

TEST(MutexTest, ReleaseByAThreadThatDoesNotHoldItChangesNothing) {
  Mutex mutex;
  EXPECT_FALSE(OnOtherThread([&] { return mutex.Unlock(); })) << "nobody holds it";

  mutex.Lock();
  EXPECT_FALSE(OnOtherThread([&] { return mutex.Unlock(); }));
  EXPECT_FALSE(OnOtherThread([&] { return mutex.TryLock(); })) << "still held by its owner";
  EXPECT_TRUE(mutex.Unlock());
}

TEST(MutexTest, SerialisesNestedUpdatesFromSeveralThreads) {
  Mutex mutex;
  long counter = 0;
  auto work = [&] {
    for (int i = 0; i < 20000; ++i) {
      std::lock_guard<Mutex> outer(mutex);
      std::lock_guard<Mutex> inner(mutex);
      counter = counter + 1;
    }
  };
  std::thread a(work);
  std::thread b(work);
  std::thread c(work);
  a.join();
  b.join();
  c.join();

  EXPECT_EQ(counter, 60000);
  EXPECT_TRUE(mutex.TryLock()) << "every take was released";
  mutex.Unlock();
}

}  // namespace
}  // namespace vorn::platform
