// The version 7 calls on logon data areas: logon and logoff, transactions,
// the auto-commit switch, break, message texts, process initialisation, and
// the conversions between a version 8 service context and a logon data
// area. See LogonArea.h for what stands behind an area.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "AreaCall.h"
#include "CallGuard.h"
#include "ServiceContext.h"
#include "UserSession.h"
#include "engine/Database.h"
#include "engine/Session.h"

namespace vorn::server::oci7 {

void discardLogon(std::shared_ptr<LogonArea> logon) noexcept {
  if (!logon) return;
  try {
    std::vector<std::shared_ptr<CursorArea>> cursors = areas().takeCursorsOf(logon.get());
    oci::EnvironmentLock lock(logon->environment());
    for (auto& cursor : cursors)
      cursor->close();
  } catch (...) {
  }
  logon.reset();
}

namespace {

// A text argument: `length` bytes, or up to the NUL when it is negative;
// empty for a null pointer.
std::string textArgument(const OraText* text, sword length) {
  if (!text) return {};
  const char* p = reinterpret_cast<const char*>(text);
  return length < 0 ? std::string(p) : std::string(p, static_cast<size_t>(length));
}

struct Credentials {
  std::string user;
  std::string password;
  std::string connect;
};

// "user/password@connect" as the user argument carries it (the connect
// string may be a path, with slashes of its own); a separate password or
// connect string, when given, takes precedence.
Credentials splitCredentials(const std::string& uid, const std::string& password,
                             const std::string& connect) {
  Credentials c;
  size_t at = uid.find('@');
  std::string logon = uid.substr(0, at);
  if (at != std::string::npos) c.connect = uid.substr(at + 1);
  size_t slash = logon.find('/');
  if (slash != std::string::npos) {
    c.user = logon.substr(0, slash);
    c.password = logon.substr(slash + 1);
  } else {
    c.user = logon;
  }
  if (!password.empty()) c.password = password;
  if (!connect.empty()) c.connect = connect;
  return c;
}

void markLoggedOn(Lda_Def* lda, ub1 how) {
  lda->ft = 0;
  lda->rpc = 0;
  lda->peo = 0;
  lda->fc = 0;
  lda->rcs1 = how;
  clearRowid(lda);
  lda->chk = kLogonCheck;
}

sword logOnArea(Lda_Def* lda, ub1* hda, const std::string& uid, const std::string& password,
                const std::string& connect, ub1 how) noexcept {
  if (!lda) return kNoArea;
  Outcome outcome;
  std::shared_ptr<LogonArea> replaced;
  try {
    // A logged-on area stays as it is: logging on into it again would lose
    // the session it stands for.
    if (lda->chk == kLogonCheck && areas().logon(lda)) return report(lda, Outcome{24313, 0});
    // The host data area stays the caller's; it must exist for the logon.
    if (!hda) raiseOra(1009);
    Credentials c = splitCredentials(uid, password, connect);
    ub4 credentials = c.user.empty() && c.password.empty() ? OCI_CRED_EXT : OCI_CRED_RDBMS;
    LogonInfo info;
    std::shared_ptr<LogonArea> logon =
        LogonArea::logOn(c.user, c.password, c.connect, credentials, info);
    if (info.warningCode) {
      // Logged on, with the expiry warning in the return code.
      OraError warning(info.warningCode, info.warning);
      logon->remember(warning);
      outcome.code = info.warningCode;
    }
    replaced = areas().putLogon(lda, logon);
    markLoggedOn(lda, how);
  } catch (const OraError& e) {
    lda->chk = 0;
    outcome.code = e.code();
  } catch (...) {
    lda->chk = 0;
    outcome.code = 600;
  }
  discardLogon(std::move(replaced));
  return report(lda, outcome);
}

}  // namespace

}  // namespace vorn::server::oci7

using namespace vorn::server;
using namespace vorn::server::oci7;

extern "C" sword olog(Lda_Def* lda, ub1* hda, OraText* uid, sword uidl, OraText* pswd, sword pswdl,
                      OraText* conn, sword connl, ub4 mode) {
  if (mode != OCI_LM_DEF && mode != OCI_LM_NBL) {
    // Every call completes before it returns, so non-blocking mode is
    // accepted as it is; other modes are not.
    if (!lda) return kNoArea;
    return report(lda, Outcome{24300, 0});
  }
  return logOnArea(lda, hda, textArgument(uid, uidl), textArgument(pswd, pswdl),
                   textArgument(conn, connl), kLoggedOnByOlog);
}

extern "C" sword orlon(Lda_Def* lda, ub1* hda, OraText* uid, sword uidl, OraText* pswd, sword pswdl,
                       sword) {
  return logOnArea(lda, hda, textArgument(uid, uidl), textArgument(pswd, pswdl), {},
                   kLoggedOnByOrlon);
}

extern "C" sword ologof(Lda_Def* lda) {
  if (!lda) return kNoArea;
  return shielded(lda, [&] {
    std::shared_ptr<LogonArea> logon = areas().logon(lda);
    if (!logon || lda->chk != kLogonCheck) return report(lda, Outcome{1012, 0});
    areas().takeLogon(lda);
    std::vector<std::shared_ptr<CursorArea>> cursors = areas().takeCursorsOf(logon.get());
    Outcome outcome;
    {
      oci::EnvironmentLock lock(logon->environment());
      for (auto& cursor : cursors)
        cursor->close();
      outcome = runGuarded(*logon, [&] {
        logon->logOff();
        return Outcome{};
      });
    }
    lda->chk = 0;
    cursors.clear();
    // The logon (and the environment it owns) goes now, outside that
    // environment's mutex.
    logon.reset();
    return report(lda, outcome);
  });
}

extern "C" sword oerhms(Lda_Def* lda, sb2 rcode, OraText* buf, sword bufsiz) {
  if (!buf || bufsiz <= 0) return 0;
  int code = rcode < 0 ? -static_cast<int>(rcode) : rcode;
  std::string text;
  try {
    std::shared_ptr<LogonArea> logon = lda ? areas().logon(lda) : nullptr;
    if (logon) {
      oci::EnvironmentLock lock(logon->environment());
      text = logon->messageFor(code);
    } else {
      text = catalogueMessage(code);
    }
  } catch (...) {
    text.clear();
  }
  size_t n = std::min(text.size(), static_cast<size_t>(bufsiz) - 1);
  std::memcpy(buf, text.data(), n);
  buf[n] = 0;
  return 0;
}

extern "C" sword ocom(Lda_Def* lda) {
  return logonCall(lda, [](LogonArea& logon) {
    logon.session().engine->commit();
    return Outcome{};
  });
}

extern "C" sword orol(Lda_Def* lda) {
  return logonCall(lda, [](LogonArea& logon) {
    logon.session().engine->rollback();
    return Outcome{};
  });
}

extern "C" sword ocon(Lda_Def* lda) {
  return logonCall(lda, [](LogonArea& logon) {
    logon.session();
    logon.autoCommit = true;
    return Outcome{};
  });
}

extern "C" sword ocof(Lda_Def* lda) {
  return logonCall(lda, [](LogonArea& logon) {
    logon.session();
    logon.autoCommit = false;
    return Outcome{};
  });
}

extern "C" sword obreak(Lda_Def* lda) {
  if (!lda) return kNoArea;
  return shielded(lda, [&] {
    if (!areas().logon(lda) || lda->chk != kLogonCheck) return report(lda, Outcome{1012, 0});
    // Every call runs to its end before it returns, so there is nothing to
    // interrupt. The area is left as it is: another thread's call on it may
    // be finishing and writing its own outcome there.
    return 0;
  });
}

extern "C" sword opinit(ub4 mode) {
  // Logons made by olog always have a mutex of their own, so both modes
  // work as thread-safe.
  if (mode != OCI_EV_DEF && mode != OCI_EV_TSF) return -24300;
  return 0;
}

extern "C" sword OCISvcCtxToLda(OCISvcCtx* svchp, OCIError* errhp, Lda_Def* ldap) {
  oci::ServiceContext* svc = oci::handleOf<oci::ServiceContext>(svchp);
  oci::ErrorHandle* err = oci::handleOf<oci::ErrorHandle>(errhp);
  if (!svc || !err || !ldap) return OCI_INVALID_HANDLE;
  std::shared_ptr<LogonArea> replaced;
  sword status = oci::guardedCall(*svc->env, *err, [&](oci::ErrorRecords&) -> sword {
    std::shared_ptr<LogonArea> existing = areas().logon(ldap);
    if (existing && ldap->chk == kLogonCheck) raiseOra(24313);
    std::shared_ptr<LogonArea> logon = LogonArea::convert(*svc);
    replaced = areas().putLogon(ldap, std::move(logon));
    markLoggedOn(ldap, kLoggedOnByOlog);
    report(ldap, Outcome{});
    return OCI_SUCCESS;
  });
  discardLogon(std::move(replaced));
  return status;
}

extern "C" sword OCILdaToSvcCtx(OCISvcCtx** svchpp, OCIError* errhp, Lda_Def* ldap) {
  oci::ErrorHandle* err = oci::handleOf<oci::ErrorHandle>(errhp);
  if (!svchpp || !err || !ldap) return OCI_INVALID_HANDLE;
  return oci::guardedCall(*err->env, *err, [&](oci::ErrorRecords&) -> sword {
    std::shared_ptr<LogonArea> logon = areas().logon(ldap);
    if (!logon || ldap->chk != kLogonCheck) raiseOra(1012);
    areas().takeLogon(ldap);
    std::vector<std::shared_ptr<CursorArea>> cursors = areas().takeCursorsOf(logon.get());
    oci::EnvironmentLock lock(logon->environment());
    for (auto& cursor : cursors)
      cursor->close();
    *svchpp = oci::opaque<OCISvcCtx>(&logon->handOut());
    ldap->chk = 0;
    report(ldap, Outcome{});
    return OCI_SUCCESS;
  });
}
