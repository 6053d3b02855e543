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
#pragma once

#include <memory>

namespace vorn::platform {

class Mutex {
 public:
  Mutex();
  // Must not be destroyed while a thread holds it.
  ~Mutex();
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
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace vorn::platform
