// EOracleError: the one exception for errors that the database or the
// client library reports, with the Oracle error number in ErrorCode and the
// client library's text (at most 1023 characters) as the message.
//
// It is built right after a client call whose status the caller judged to
// be an error, from the session and the call's error source:
//
// - a version 8 call: the error handle the call was given (the session's
//   main error handle, or the handle of the query, LOB locator, object or
//   reference that failed). ErrorCode is the number of record 1 of that
//   handle, whatever number the caller saw.
// - a version 7 call: the error number itself (the return code of the logon
//   or cursor data area); the text comes from oerhms on the session's logon
//   data area, and ErrorCode is the number given.
//
// Building the error releases the session's call lock (OracleSession.h), so
// a caller that took the lock releases it itself only on success. Building
// never fails: when the client library gives no text (or cannot be asked),
// the message stays empty and ErrorCode still holds the number.
#pragma once

#include <string>

#include "vorn/client/OciTypes.h"
#include "vorn/host/Exceptions.h"

namespace vorn {

class TOracleSession;

class EOracleError : public Exception {
  VORN_CLASS(EOracleError, Exception)
  EOracleError(TOracleSession& session, client::OCIError* errorHandle);
  EOracleError(TOracleSession& session, int errorNumber);
  // An error whose text is already known, for code that passes one on with
  // a message of its own (datasets translating constraint errors, query
  // threads handing an error to the GUI thread).
  EOracleError(std::string message, int errorCode)
      : Exception(std::move(message)), errorCode_(errorCode) {}

  int ErrorCode() const noexcept { return errorCode_; }

  // The longest message kept; the client's text is cut there.
  static constexpr std::size_t kMaxMessageLength = 1023;

 private:
  int errorCode_ = 0;
};

}  // namespace vorn
