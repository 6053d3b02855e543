// The host's exception classes and the routines that raise them.
#include "vorn/host/Exceptions.h"

#include <cstring>

namespace vorn {

EOSError::EOSError(int errorCode)
    : Exception("System Error.  Code: " + std::to_string(errorCode) + ".\n" +
                std::strerror(errorCode)),
      errorCode_(errorCode) {}

void DatabaseError(const std::string& message) {
  throw EDatabaseError(message);
}

void Abort() {
  throw EAbort();
}

}  // namespace vorn
