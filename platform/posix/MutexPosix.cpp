// The recursive mutex as a POSIX recursive mutex. For that type POSIX
// requires pthread_mutex_unlock to fail, rather than misbehave, when the
// calling thread does not hold the mutex, which is exactly what Unlock
// promises.
#include <pthread.h>

#include <cerrno>
#include <system_error>

#include "vorn/platform/Mutex.h"

namespace vorn::platform {

struct Mutex::State {
  pthread_mutex_t mutex;
};

Mutex::Mutex() : state_(std::make_unique<State>()) {
  pthread_mutexattr_t attributes;
  int rc = ::pthread_mutexattr_init(&attributes);
  if (rc == 0) {
    rc = ::pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
    if (rc == 0) rc = ::pthread_mutex_init(&state_->mutex, &attributes);
    ::pthread_mutexattr_destroy(&attributes);
  }
  if (rc != 0) throw std::system_error(rc, std::generic_category(), "Cannot create a mutex");
}

Mutex::~Mutex() {
  ::pthread_mutex_destroy(&state_->mutex);
}

void Mutex::Lock() {
  // Fails only when the thread has taken the mutex more often than the
  // system can count: a runaway recursion, not a wait to retry.
  const int rc = ::pthread_mutex_lock(&state_->mutex);
  if (rc != 0) throw std::system_error(rc, std::generic_category(), "Cannot lock a mutex");
}

bool Mutex::TryLock() {
  return ::pthread_mutex_trylock(&state_->mutex) == 0;
}

bool Mutex::Unlock() {
  return ::pthread_mutex_unlock(&state_->mutex) == 0;
}

}  // namespace vorn::platform
