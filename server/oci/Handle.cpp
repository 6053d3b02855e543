// Handle checks shared by every entry point; see Handle.h.
#include "Handle.h"

#include <mutex>
#include <shared_mutex>
#include <unordered_set>

#include "value/LibraryTable.h"

namespace vorn::server::oci {

namespace {

struct Registry {
  std::shared_mutex mutex;
  std::unordered_set<const void*> live;
  bool empty() const { return live.empty(); }
};

// Handles may be freed (and checked) while the process exits.
Registry& registry() {
  static LibraryTable<Registry> instance;
  return instance.get();
}

}  // namespace

bool isLiveHandle(const void* p) {
  Registry& r = registry();
  std::shared_lock lock(r.mutex);
  return r.live.contains(p);
}

Handle::Handle(ub4 handleType, Environment* owner)
    : magic(magicOf(handleType)), type(handleType), env(owner) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  r.live.insert(this);
}

Handle::~Handle() {
  magic = kFreedMagic;
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  r.live.erase(this);
}

void Handle::provideUserMemory(size_t size, void** usrmempp) {
  if (!usrmempp) return;
  if (size == 0) {
    *usrmempp = nullptr;
    return;
  }
  userMemory = std::make_unique<unsigned char[]>(size);
  *usrmempp = userMemory.get();
}

Handle* anyHandleOf(const void* p, ub4 type) {
  if (!p || !isLiveHandle(p)) return nullptr;
  auto* h = static_cast<Handle*>(const_cast<void*>(p));
  return h->magic == magicOf(type) ? h : nullptr;
}

}  // namespace vorn::server::oci
