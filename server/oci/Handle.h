// The common shape of every handle and descriptor the call interface hands
// out. A caller only ever sees an opaque pointer; before using one, every
// entry point checks the magic number of the handle type it expects, so a
// null pointer or a handle of the wrong type yields OCI_INVALID_HANDLE
// instead of a crash.
//
// Every live handle and descriptor is listed in a process-wide registry from
// its construction to its destruction, and the checks ask the registry
// before they read a byte of what a pointer points at: a freed handle, a
// pointer to something that is no handle, or to fewer bytes than a handle
// has, is refused without being touched (so the check is sound under
// AddressSanitizer too, and a freed handle whose memory was reused for
// something else is never mistaken for it). A freed handle's magic number is
// also overwritten, for a check that runs while it is being destroyed.
//
// Layout rule: the first 16 bytes of every handle are its "front". Only the
// ROWID descriptor uses them (a client decodes its raw bytes: a type byte,
// then object, file, block and row, big-endian); the magic number follows
// at offset 16 in every handle, so one check serves all types. Handles have
// no virtual functions, which would put a vtable pointer in front.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "oci.h"

namespace vorn::server::oci {

class Environment;

constexpr uint32_t magicOf(ub4 type) {
  return 0x0C180000u | type;
}
constexpr uint32_t kFreedMagic = 0xDEADF4EEu;

// Whether `p` is the address of a handle that exists now.
bool isLiveHandle(const void* p);

struct Handle {
  Handle(ub4 handleType, Environment* owner);
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle();

  ub1 front[16] = {};
  uint32_t magic;
  ub4 type;
  Environment* env;
  // Memory the caller asked for with xtramem_sz; lives as long as the handle.
  std::unique_ptr<unsigned char[]> userMemory;

  // Allocates `size` bytes of user memory and hands them out (xtramem_sz).
  void provideUserMemory(size_t size, void** usrmempp);
};

// The handle behind `p` when it is a live handle of type T, else null.
template <class T>
T* handleOf(const void* p) {
  if (!p || !isLiveHandle(p)) return nullptr;
  auto* h = static_cast<Handle*>(const_cast<void*>(p));
  if (h->magic != magicOf(T::kType)) return nullptr;
  return static_cast<T*>(h);
}

// The handle behind `p` when it is a live handle of `type` (any class).
Handle* anyHandleOf(const void* p, ub4 type);

// The opaque pointer a caller receives for a handle.
template <class Opaque>
Opaque* opaque(Handle* h) {
  return reinterpret_cast<Opaque*>(h);
}

}  // namespace vorn::server::oci
