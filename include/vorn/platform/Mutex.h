// An unnamed recursive mutex: the thread that holds it may take it again,
// and releases it once per take. A session that serialises client calls
// holds one; a failing call releases it from inside the error's
// construction, possibly on a path where the calling thread never took it,
// so releasing a mutex that the calling thread does not hold is a harmless,
// reported no-op rather than undefined behaviour.
//
// Waiting is unbounded: Lock() returns only when the mutex is held.
// Mutex satisfies Lockable, so std::lock_guard and std::unique_lock work
// with it.
//
// Built on the standard library alone: the holder and its count of takes
// are kept here, which is what lets a release by the wrong thread be
// detected instead of handed to the system as undefined behaviour.
#pragma once

#include <atomic>
#include <mutex>
#include <thread>

namespace vorn::platform {

class Mutex {
 public:
  Mutex() = default;
  // Must not be destroyed while a thread holds it.
  ~Mutex() = default;
  Mutex(const Mutex&) = delete;
  Mutex& operator=(const Mutex&) = delete;

  // Waits, however long it takes, until the calling thread holds the mutex.
  void Lock();
  // Takes the mutex if no other thread holds it; never waits.
  bool TryLock();
  // Releases one take by the calling thread. False, changing nothing, when
  // the calling thread does not hold the mutex.
  bool Unlock();

  // The standard library's names, for std::lock_guard and its kin.
  void lock() { Lock(); }
  bool try_lock() { return TryLock(); }
  void unlock() { Unlock(); }

 private:
  std::mutex mutex_;
  // Written only by the thread that holds mutex_; a thread that reads its
  // own id here therefore holds the mutex.
  std::atomic<std::thread::id> holder_;
  // Takes by the holder; touched only by the holder.
  long takes_ = 0;
};

}  // namespace vorn::platform
