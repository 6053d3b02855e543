// The environment handle: the root under which every other handle and
// descriptor is allocated, and the unit of thread safety. Calls on the
// handles of one environment are serialised by its own recursive mutex
// (recursive because define and bind callbacks may call back into the
// library), unless it was created without one (OCIEnvInit mode
// OCI_ENV_NO_MUTEX, OCIEnvCreate without OCI_THREADED or with OCI_NO_MUTEX);
// then the caller serialises. Different environments share nothing but the
// engine's databases, which are thread-safe, so their sessions run in
// parallel.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "ErrorHandle.h"
#include "Handle.h"

namespace vorn::server::oci {

class ObjectCache;

class Environment : public Handle {
 public:
  static constexpr ub4 kType = OCI_HTYPE_ENV;
  Environment(bool useMutex, bool objectMode);
  ~Environment();

  const bool useMutex;
  const bool objectMode;
  // The character sets of its text (OCIEnvNlsCreate; Charsets.h).
  ub2 charsetId = 31;
  ub2 ncharsetId = 2000;
  std::recursive_mutex mutex;
  ErrorRecords errors;
  // Object mode: the object cache (ObjectCache.h), made on first use.
  std::unique_ptr<ObjectCache> objectCache;
  // The arrays OCIArrayDescriptorAlloc made: first descriptor -> count.
  std::unordered_map<void*, ub4> descriptorArrays;
  // What OCIContextSetValue stored: (handle, key) -> value, dropped with
  // the handle.
  std::map<std::pair<const Handle*, std::string>, void*> contextValues;
  // What OCIMemoryAlloc gave out: block -> the handle it lives as long as.
  std::unordered_map<void*, const Handle*> memoryBlocks;

  // Takes ownership of a handle or descriptor allocated under it.
  void adopt(Handle* handle);
  // Frees one of its handles (and whatever the handle owns); references to
  // it held by other handles are dropped first.
  void free(Handle* handle);
  // Frees the OCIMemoryAlloc blocks that live as long as `owner`.
  void releaseMemoryOf(const Handle* owner);
  // The handles of one type (a copy: callers may free while walking).
  std::vector<Handle*> handlesOfType(ub4 type) const;

  sword getAttribute(void* value, ub4* size, ub4 attribute);
  sword setAttribute(void* value, ub4 size, ub4 attribute);

 private:
  std::vector<Handle*> children_;
};

// Holds an environment's mutex for the length of one call (when it has one).
class EnvironmentLock {
 public:
  explicit EnvironmentLock(Environment& env) : env_(env) {
    if (env_.useMutex) env_.mutex.lock();
  }
  ~EnvironmentLock() {
    if (env_.useMutex) env_.mutex.unlock();
  }
  EnvironmentLock(const EnvironmentLock&) = delete;
  EnvironmentLock& operator=(const EnvironmentLock&) = delete;

 private:
  Environment& env_;
};

}  // namespace vorn::server::oci
