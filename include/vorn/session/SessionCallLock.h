// The frame of one client call sequence under a session's call lock, for
// the session itself and for the queries (and later the datasets, LOB
// locators and objects) that call the client library on its behalf.
//
// The call lock is taken only when the session is ThreadSafe and uses the
// version 7 calls (OracleSession.h); otherwise the frame costs two tests.
// It is released when the frame ends, or earlier by Release(). A failed
// call is turned into EOracleError through the frame: building the error
// releases the call lock (OracleError.h), and the frame then knows not to
// release it a second time.
//
//   SessionCallLock lock(session);
//   if (Oci7().oexn(&cursor, 1, 0) != 0 && cursor.rc != 0) lock.Raise(cursor.rc);
//   // released here, on success
#pragma once

#include "vorn/client/OciTypes.h"
#include "vorn/session/OracleError.h"
#include "vorn/session/OracleSession.h"

namespace vorn {

class SessionCallLock {
 public:
  explicit SessionCallLock(TOracleSession& session) : session_(&session) { session.LockCall(); }
  ~SessionCallLock() {
    if (session_ != nullptr) session_->UnlockCall();
  }
  SessionCallLock(const SessionCallLock&) = delete;
  SessionCallLock& operator=(const SessionCallLock&) = delete;

  // Releases the lock now; the frame then does nothing more.
  void Release() {
    if (session_ != nullptr) session_->UnlockCall();
    session_ = nullptr;
  }

  // The error of the failed call, built (which releases the lock) but not
  // raised, so that the caller can tidy up before raising it: version 8,
  // from the error handle the call was given; version 7, from the return
  // code of its data area.
  EOracleError Error(client::OCIError* errorHandle) {
    TOracleSession& session = Take();
    return EOracleError(session, errorHandle);
  }
  EOracleError Error(int errorNumber) {
    TOracleSession& session = Take();
    return EOracleError(session, errorNumber);
  }
  [[noreturn]] void Raise(client::OCIError* errorHandle) { throw Error(errorHandle); }
  [[noreturn]] void Raise(int errorNumber) { throw Error(errorNumber); }
  // The error of a call on the session's own handles or logon data area.
  [[noreturn]] void RaiseSessionError() { Take().RaiseError(); }

 private:
  TOracleSession& Take() {
    TOracleSession* session = session_;
    session_ = nullptr;
    return *session;
  }

  TOracleSession* session_;
};

}  // namespace vorn
