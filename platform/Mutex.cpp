// The recursive mutex: a plain mutex plus the holder's identity and count
// of takes. Only the first take waits for the plain mutex and only the last
// release gives it back.
#include "vorn/platform/Mutex.h"

namespace vorn::platform {

void Mutex::Lock() {
  if (holder_.load(std::memory_order_relaxed) == std::this_thread::get_id()) {
    ++takes_;
    return;
  }
  mutex_.lock();
  holder_.store(std::this_thread::get_id(), std::memory_order_relaxed);
  takes_ = 1;
}

bool Mutex::TryLock() {
  if (holder_.load(std::memory_order_relaxed) == std::this_thread::get_id()) {
    ++takes_;
    return true;
  }
  if (!mutex_.try_lock()) return false;
  holder_.store(std::this_thread::get_id(), std::memory_order_relaxed);
  takes_ = 1;
  return true;
}

bool Mutex::Unlock() {
  if (holder_.load(std::memory_order_relaxed) != std::this_thread::get_id()) return false;
  if (--takes_ == 0) {
    holder_.store(std::thread::id(), std::memory_order_relaxed);
    mutex_.unlock();
  }
  return true;
}

}  // namespace vorn::platform
