// EOracleError: the error number and text of a failed client call, read
// from the call's error handle or through oerhms; see OracleError.h.
#include "vorn/session/OracleError.h"

#include <array>
#include <cstring>

#include "vorn/client/Oci7Calls.h"
#include "vorn/client/Oci8Calls.h"
#include "vorn/client/OciConstants.h"
#include "vorn/session/OracleSession.h"

namespace vorn {

namespace {

using namespace client;

// The buffer the client writes the text into; far larger than the message
// kept, since some clients write more than they are told.
constexpr std::size_t kTextBufferSize = 4001;
using TextBuffer = std::array<char, kTextBufferSize>;

std::string KeptMessage(TextBuffer& buffer) {
  buffer[EOracleError::kMaxMessageLength] = '\0';
  return std::string(buffer.data());
}

OraText* Text(TextBuffer& buffer) {
  return reinterpret_cast<OraText*>(buffer.data());
}

}  // namespace

EOracleError::EOracleError(TOracleSession& session, OCIError* errorHandle) : Exception("") {
  TextBuffer buffer{};
  sb4 number = 0;
  try {
    Oci8().OCIErrorGet(errorHandle, 1, nullptr, &number, Text(buffer),
                       static_cast<ub4>(buffer.size()), OCI_HTYPE_ERROR);
  } catch (const Exception&) {
    // No library to ask: the error keeps no text (and number 0).
  }
  session.UnlockCall();
  errorCode_ = number;
  SetMessage(KeptMessage(buffer));
}

EOracleError::EOracleError(TOracleSession& session, int errorNumber)
    : Exception(""), errorCode_(errorNumber) {
  TextBuffer buffer{};
  try {
    Oci7().oerhms(session.LogonDataArea(), static_cast<sb2>(errorNumber), Text(buffer),
                  static_cast<sword>(buffer.size()));
  } catch (const Exception&) {
    // No library, or one without oerhms: the number stands alone.
  }
  session.UnlockCall();
  SetMessage(KeptMessage(buffer));
}

}  // namespace vorn
