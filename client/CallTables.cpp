// The process's two call tables and the loader's access to them.
#include "CallTableBinder.h"
#include "vorn/client/Oci7Calls.h"
#include "vorn/client/Oci8Calls.h"

namespace vorn::client {

namespace detail {
// Constant-initialised, so that they exist before any static constructor
// could call through them and stay valid until the process ends.
constinit Oci7CallTable oci7CallTable;
constinit Oci8CallTable oci8CallTable;
}  // namespace detail

bool CallTableBinder::Resolve(platform::LibraryHandle library, const ClientEntryBase& entry) {
  const platform::LibrarySymbol address = platform::ResolveLibrarySymbol(library, entry.Name());
  entry.address_.store(address, std::memory_order_release);
  return address != nullptr;
}

bool CallTableBinder::ResolveInOrder(platform::LibraryHandle library,
                                     std::span<const ClientEntryBase* const> entries) {
  for (const ClientEntryBase* entry : entries) {
    if (!Resolve(library, *entry)) return false;
  }
  return true;
}

void CallTableBinder::ClearAll() {
  auto clear = [](const ClientEntryBase& entry) {
    entry.address_.store(nullptr, std::memory_order_release);
  };
  for (const ClientEntryBase* entry : Oci7().RequiredEntries())
    clear(*entry);
  clear(Oci7().olog);
  clear(Oci7().opinit);
  for (const ClientEntryBase* entry : Oci8().RequiredEntries())
    clear(*entry);
  clear(Oci8().OCIDirPathPrepare);
}

}  // namespace vorn::client
