// Commit, rollback, savepoints and the obsolete auto-commit switch; see
// OracleSession.h.
#include "vorn/client/Oci7Calls.h"
#include "vorn/client/Oci8Calls.h"
#include "vorn/client/OciConstants.h"
#include "vorn/host/UIServices.h"
#include "vorn/session/OracleSession.h"
#include "vorn/session/SessionCallLock.h"

namespace vorn {

using namespace client;

namespace {

const char* const kAutoCommitWarning =
    "Warning: the TOracleSession.AutoCommit property is obsolete.\r\n"
    "It still can be set at run-time for backward compatibility,\r\n"
    "but in the next release this property will be removed.";

}  // namespace

// One call on the session's own handles: under the call lock (version 7)
// and, for a thread-safe session, the status lock, so that the status and
// the error handle read for one call are that call's. A failure raises
// EOracleError, whose construction releases the call lock.
template <class Call>
static void LockedSessionCall(TOracleSession& session, Call&& call) {
  const std::unique_lock status = session.LockStatus();
  SessionCallLock lock(session);
  if (call() != 0) lock.RaiseSessionError();
}

void TOracleSession::Commit() {
  if (!connected_) return;
  LockedSessionCall(*this, [this] {
    if (usesOCI8_) return TakeStatus(Oci8().OCITransCommit(serviceContext_, errorHandle_, 0));
    return TakeStatus(Oci7().ocom(&lda_));
  });
}

void TOracleSession::Rollback() {
  if (!connected_) return;
  LockedSessionCall(*this, [this] {
    if (usesOCI8_) return TakeStatus(Oci8().OCITransRollback(serviceContext_, errorHandle_, 0));
    return TakeStatus(Oci7().orol(&lda_));
  });
}

void TOracleSession::SetAutoCommit(bool value) {
  if (value == autoCommit_) return;
  if (value && (ComponentState() & csDesigning)) {
    ShowMessage(kAutoCommitWarning);
    return;
  }
  autoCommit_ = value;
  // Version 8 sessions commit per execution instead (the queries read the
  // property).
  if (!connected_ || usesOCI8_) return;
  LockedSessionCall(
      *this, [this, value] { return TakeStatus(value ? Oci7().ocon(&lda_) : Oci7().ocof(&lda_)); });
}

void TOracleSession::Savepoint(const std::string& name) {
  RunStatement("SAVEPOINT " + name, false);
}

void TOracleSession::RollbackToSavepoint(const std::string& name) {
  RunStatement("ROLLBACK TO SAVEPOINT " + name, false);
}

}  // namespace vorn
