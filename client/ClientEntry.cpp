// The one failure of a call through an entry: the library lacks it.
#include "vorn/client/ClientEntry.h"

#include <string>

#include "vorn/client/ClientLibrary.h"
#include "vorn/host/Exceptions.h"

namespace vorn::client {

void ClientEntryBase::RaiseUnavailable() const {
  const std::string call = "OCI function " + std::string(name_);
  if (!IsClientLibraryLoaded()) {
    throw Exception(call + " is not available: no client library is loaded");
  }
  throw Exception(call + " is not available in the loaded client library");
}

}  // namespace vorn::client
