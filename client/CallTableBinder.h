// Filling and emptying the call tables: the loader's side of ClientEntry,
// which nothing outside the loader may touch.
#pragma once

#include <span>

#include "vorn/client/ClientEntry.h"
#include "vorn/platform/DynamicLibrary.h"

namespace vorn::client {

class CallTableBinder {
 public:
  // Looks `entry` up in `library`. True when the library exports it.
  static bool Resolve(platform::LibraryHandle library, const ClientEntryBase& entry);

  // Resolves `entries` in their order, each only while every earlier one
  // resolved: the first missing name leaves it and all later entries empty.
  // True when every entry resolved.
  static bool ResolveInOrder(platform::LibraryHandle library,
                             std::span<const ClientEntryBase* const> entries);

  // Empties every entry of both tables.
  static void ClearAll();
};

}  // namespace vorn::client
