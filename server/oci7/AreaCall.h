// The frame of the version 7 entry points that work on a logged-on logon
// data area or an open cursor data area: it finds the state behind the
// area (ORA-01012 "not logged on", ORA-01001 "invalid cursor" when there is
// none or the check byte is wrong), holds the environment's mutex while the
// body runs, turns whatever the body throws into the area's return code,
// remembers the error on the logon (for oerhms) and reports. Nothing thrown
// inside the library crosses the C boundary.
#pragma once

#include <exception>
#include <memory>
#include <new>

#include "AreaTable.h"
#include "CursorArea.h"
#include "DataArea.h"
#include "Environment.h"
#include "LogonArea.h"
#include "value/OraError.h"

namespace vorn::server::oci7 {

// Runs `body` (returning an Outcome) and turns a failure into its outcome;
// any error is remembered on `logon`.
template <class Body>
Outcome runGuarded(LogonArea& logon, Body&& body) noexcept {
  try {
    Outcome outcome = body();
    if (outcome.code) logon.remember(OraError(outcome.code, oraMessage(outcome.code)));
    return outcome;
  } catch (const OraError& e) {
    try {
      logon.remember(e);
    } catch (...) {
    }
    return Outcome{e.code(), 0};
  } catch (const std::bad_alloc&) {
    return Outcome{600, 0};
  } catch (const std::exception& e) {
    try {
      logon.remember(OraError(600, oraMessage(600, {"oci7", e.what()})));
    } catch (...) {
    }
    return Outcome{600, 0};
  } catch (...) {
    return Outcome{600, 0};
  }
}

template <class Body>
sword logonCall(Lda_Def* lda, Body&& body) noexcept {
  if (!lda) return kNoArea;
  std::shared_ptr<LogonArea> logon;
  try {
    logon = areas().logon(lda);
  } catch (...) {
    return report(lda, Outcome{600, 0});
  }
  if (!logon || lda->chk != kLogonCheck) return report(lda, Outcome{1012, 0});
  oci::EnvironmentLock lock(logon->environment());
  return report(lda, runGuarded(*logon, [&] { return body(*logon); }));
}

template <class Body>
sword cursorCall(Cda_Def* cda, ub1 functionCode, Body&& body) noexcept {
  if (!cda) return kNoArea;
  cda->fc = functionCode;
  std::shared_ptr<CursorArea> cursor;
  try {
    cursor = areas().cursor(cda);
  } catch (...) {
    return report(cda, Outcome{600, 0});
  }
  if (!cursor || cda->chk != kCursorCheck) return report(cda, Outcome{1001, 0});
  // Held past the lock: the environment may belong to the logon.
  std::shared_ptr<LogonArea> logon = cursor->sharedLogon();
  oci::EnvironmentLock lock(logon->environment());
  return report(cda, runGuarded(*logon, [&] { return body(*cursor); }));
}

// The frame of the entry points that work on the table themselves: a
// failure of the library's own (out of memory) becomes ORA-00600 in the
// area instead of crossing the C boundary.
template <class Body>
sword shielded(Cda_Def* area, Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return area ? report(area, Outcome{600, 0}) : kNoArea;
  }
}

// Lets go of a logon the table no longer holds: its cursors close under its
// environment's mutex, and the logon itself (with the environment it may
// own, and a session it may still hold, which rolls back) after it.
void discardLogon(std::shared_ptr<LogonArea> logon) noexcept;

}  // namespace vorn::server::oci7
