// OCIContextSetValue and OCIContextGetValue: a program's own pointers kept
// under a key on an environment or a user session (drivers keep their
// per-session state so). The library never reads them; they go when the
// handle goes, whatever duration was asked for.
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "CallGuard.h"
#include "Environment.h"

using namespace vorn::server;
using namespace vorn::server::oci;

namespace {

Handle* contextOwner(void* hdl) {
  if (Environment* env = handleOf<Environment>(hdl)) return env;
  return anyHandleOf(hdl, OCI_HTYPE_SESSION);
}

}  // namespace

extern "C" sword OCIContextSetValue(void* hdl, OCIError* err, OCIDuration, ub1* key, ub1 keylen,
                                    void* ctx_value) {
  Handle* owner = contextOwner(hdl);
  ErrorHandle* e = handleOf<ErrorHandle>(err);
  if (!owner || !e || !key) return OCI_INVALID_HANDLE;
  return guardedCall(*owner->env, *e, [&](ErrorRecords&) -> sword {
    std::string name(reinterpret_cast<const char*>(key), keylen);
    owner->env->contextValues[{owner, name}] = ctx_value;
    return OCI_SUCCESS;
  });
}

extern "C" sword OCIContextGetValue(void* hdl, OCIError* err, ub1* key, ub1 keylen,
                                    void** ctx_value) {
  Handle* owner = contextOwner(hdl);
  ErrorHandle* e = handleOf<ErrorHandle>(err);
  if (!owner || !e || !key || !ctx_value) return OCI_INVALID_HANDLE;
  return guardedCall(*owner->env, *e, [&](ErrorRecords&) -> sword {
    std::string name(reinterpret_cast<const char*>(key), keylen);
    auto& values = owner->env->contextValues;
    auto it = values.find({owner, name});
    *ctx_value = it == values.end() ? nullptr : it->second;
    return OCI_SUCCESS;
  });
}

// OCIMemoryAlloc, OCIMemoryResize and OCIMemoryFree: blocks a program asks
// the library to hold for it, freed at the latest with the environment or
// session they were allocated on (whatever the duration asked for).
extern "C" sword OCIMemoryAlloc(void* hdl, OCIError* err, void** mem, OCIDuration, ub4 size,
                                ub4 flags) {
  Handle* owner = contextOwner(hdl);
  ErrorHandle* e = handleOf<ErrorHandle>(err);
  if (!owner || !e || !mem) return OCI_INVALID_HANDLE;
  return guardedCall(*owner->env, *e, [&](ErrorRecords&) -> sword {
    *mem = nullptr;
    void* block = std::malloc(size == 0 ? 1 : size);
    if (!block) throw std::bad_alloc();
    if (flags & OCI_MEMORY_CLEARED) std::memset(block, 0, size);
    owner->env->memoryBlocks[block] = owner;
    *mem = block;
    return OCI_SUCCESS;
  });
}

extern "C" sword OCIMemoryResize(void* hdl, OCIError* err, void** mem, ub4 newsize, ub4 flags) {
  Handle* owner = contextOwner(hdl);
  ErrorHandle* e = handleOf<ErrorHandle>(err);
  if (!owner || !e || !mem) return OCI_INVALID_HANDLE;
  return guardedCall(*owner->env, *e, [&](ErrorRecords&) -> sword {
    auto& blocks = owner->env->memoryBlocks;
    auto it = blocks.find(*mem);
    if (it == blocks.end()) raiseOra(21560, {"3"});
    const Handle* keeper = it->second;
    void* block = std::realloc(*mem, newsize == 0 ? 1 : newsize);
    if (!block) throw std::bad_alloc();
    (void)flags;
    blocks.erase(it);
    blocks[block] = keeper;
    *mem = block;
    return OCI_SUCCESS;
  });
}

extern "C" sword OCIMemoryFree(void* hdl, OCIError* err, void* mem) {
  Handle* owner = contextOwner(hdl);
  ErrorHandle* e = handleOf<ErrorHandle>(err);
  if (!owner || !e) return OCI_INVALID_HANDLE;
  return guardedCall(*owner->env, *e, [&](ErrorRecords&) -> sword {
    auto& blocks = owner->env->memoryBlocks;
    auto it = blocks.find(mem);
    // A block the library did not give out is refused, not freed.
    if (it == blocks.end()) raiseOra(21560, {"3"});
    std::free(it->first);
    blocks.erase(it);
    return OCI_SUCCESS;
  });
}
