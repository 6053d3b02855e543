// Handle checks shared by every entry point; see Handle.h.
#include "Handle.h"

namespace vorn::server::oci {

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
  if (!p) return nullptr;
  auto* h = static_cast<Handle*>(const_cast<void*>(p));
  return h->magic == magicOf(type) ? h : nullptr;
}

}  // namespace vorn::server::oci
