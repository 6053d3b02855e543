// The thread helpers of the client library (OCIThreadProcessInit,
// OCIThreadInit/Term, OCIThreadKey*, OCIThreadMutex*): thin wrappers over
// the standard thread primitives, which drivers use to guard their own
// state. A key or mutex the caller holds is an object with a check word, so
// a null or foreign pointer is refused (OCI_INVALID_HANDLE) instead of used.
#include <pthread.h>

#include <cstdint>
#include <mutex>
#include <new>

#include "CallGuard.h"
#include "Environment.h"

struct OCIThreadMutex {
  static constexpr uint32_t kCheck = 0x0C1A7E01u;
  uint32_t check = kCheck;
  std::mutex mutex;
};

struct OCIThreadKey {
  static constexpr uint32_t kCheck = 0x0C1A7E02u;
  uint32_t check = kCheck;
  pthread_key_t key{};
};

using namespace vorn::server::oci;

namespace {

// Whether `hndl` (an environment or a session) and `err` are usable.
bool handlesOk(void* hndl, OCIError* err) {
  bool owner = handleOf<Environment>(hndl) || anyHandleOf(hndl, OCI_HTYPE_SESSION);
  return owner && handleOf<ErrorHandle>(err);
}

template <class T>
T* checked(T* p) {
  return p && p->check == T::kCheck ? p : nullptr;
}

}  // namespace

extern "C" {

void OCIThreadProcessInit(void) {}

sword OCIThreadInit(void* hndl, OCIError* err) {
  return handlesOk(hndl, err) ? OCI_SUCCESS : OCI_INVALID_HANDLE;
}

sword OCIThreadTerm(void* hndl, OCIError* err) {
  return handlesOk(hndl, err) ? OCI_SUCCESS : OCI_INVALID_HANDLE;
}

sword OCIThreadMutexInit(void* hndl, OCIError* err, OCIThreadMutex** mutex) {
  if (!handlesOk(hndl, err) || !mutex) return OCI_INVALID_HANDLE;
  *mutex = new (std::nothrow) OCIThreadMutex;
  return *mutex ? OCI_SUCCESS : OCI_ERROR;
}

sword OCIThreadMutexDestroy(void* hndl, OCIError* err, OCIThreadMutex** mutex) {
  if (!handlesOk(hndl, err) || !mutex || !checked(*mutex)) return OCI_INVALID_HANDLE;
  (*mutex)->check = 0;
  delete *mutex;
  *mutex = nullptr;
  return OCI_SUCCESS;
}

sword OCIThreadMutexAcquire(void* hndl, OCIError* err, OCIThreadMutex* mutex) {
  if (!handlesOk(hndl, err) || !checked(mutex)) return OCI_INVALID_HANDLE;
  mutex->mutex.lock();
  return OCI_SUCCESS;
}

sword OCIThreadMutexRelease(void* hndl, OCIError* err, OCIThreadMutex* mutex) {
  if (!handlesOk(hndl, err) || !checked(mutex)) return OCI_INVALID_HANDLE;
  mutex->mutex.unlock();
  return OCI_SUCCESS;
}

sword OCIThreadKeyInit(void* hndl, OCIError* err, OCIThreadKey** key, OCIThreadKeyDestFunc destFn) {
  if (!handlesOk(hndl, err) || !key) return OCI_INVALID_HANDLE;
  auto* k = new (std::nothrow) OCIThreadKey;
  if (!k) return OCI_ERROR;
  if (pthread_key_create(&k->key, destFn) != 0) {
    delete k;
    return OCI_ERROR;
  }
  *key = k;
  return OCI_SUCCESS;
}

sword OCIThreadKeyDestroy(void* hndl, OCIError* err, OCIThreadKey** key) {
  if (!handlesOk(hndl, err) || !key || !checked(*key)) return OCI_INVALID_HANDLE;
  pthread_key_delete((*key)->key);
  (*key)->check = 0;
  delete *key;
  *key = nullptr;
  return OCI_SUCCESS;
}

sword OCIThreadKeyGet(void* hndl, OCIError* err, OCIThreadKey* key, void** pValue) {
  if (!handlesOk(hndl, err) || !checked(key) || !pValue) return OCI_INVALID_HANDLE;
  *pValue = pthread_getspecific(key->key);
  return OCI_SUCCESS;
}

sword OCIThreadKeySet(void* hndl, OCIError* err, OCIThreadKey* key, void* value) {
  if (!handlesOk(hndl, err) || !checked(key)) return OCI_INVALID_HANDLE;
  return pthread_setspecific(key->key, value) == 0 ? OCI_SUCCESS : OCI_ERROR;
}

}  // extern "C"
