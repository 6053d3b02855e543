// User sessions: session begin and end, logon and logoff, password change;
// see UserSession.h.
#include "UserSession.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "Attributes.h"
#include "CallGuard.h"
#include "Environment.h"
#include "LobLocator.h"
#include "ServerHandle.h"
#include "ServiceContext.h"
#include "StatementHandle.h"
#include "engine/Database.h"
#include "engine/Session.h"

namespace vorn::server::oci {

std::string operatingSystemUser() {
  struct passwd entry {};
  struct passwd* found = nullptr;
  char buffer[4096];
  if (getpwuid_r(geteuid(), &entry, buffer, sizeof buffer, &found) == 0 && found &&
      found->pw_name) {
    return found->pw_name;
  }
  const char* user = std::getenv("USER");
  return user ? user : "";
}

UserSession::UserSession(Environment* env) : Handle(kType, env) {}

UserSession::~UserSession() {
  end(false);
}

void UserSession::begin(ServerHandle& through, ub4 credentials, LogonInfo& info) {
  if (loggedOn()) raiseOra(24313);
  if (!through.attached()) raiseOra(24327);
  if (credentials == OCI_CRED_EXT) {
    engine = through.database->logonExternal(operatingSystemUser(), &info);
  } else if (credentials == OCI_CRED_RDBMS) {
    engine = through.database->logon(username, password, &info);
  } else {
    raiseOra(24300);
  }
  server = &through;
}

void UserSession::end(bool commit) {
  if (!engine) return;
  LobLocator::closeAllFiles(*this);
  std::vector<StatementHandle*> statements = statements_;
  for (StatementHandle* s : statements)
    s->releaseEngine();
  statements_.clear();
  std::unique_ptr<Session> ending = std::move(engine);
  server = nullptr;
  // A normal end commits, as Oracle does at logoff; when the commit fails
  // the session still ends (rolling back) and the caller sees the error.
  if (commit) ending->commit();
}

void UserSession::registerStatement(StatementHandle* statement) {
  if (std::find(statements_.begin(), statements_.end(), statement) == statements_.end()) {
    statements_.push_back(statement);
  }
}

void UserSession::unregisterStatement(StatementHandle* statement) {
  statements_.erase(std::remove(statements_.begin(), statements_.end(), statement),
                    statements_.end());
}

sword UserSession::getAttribute(void* value, ub4* size, ub4 attribute) {
  switch (attribute) {
    case OCI_ATTR_USERNAME:
      return putTextAttribute(value, size, username);
    case OCI_ATTR_CURRENT_SCHEMA:
      return putTextAttribute(value, size, currentSchema);
    case OCI_ATTR_TRANSACTION_IN_PROGRESS:
      return putAttribute(value, size,
                          static_cast<boolean>(engine && engine->hasUncommittedChanges()));
    case OCI_ATTR_DRIVER_NAME:
      return putTextAttribute(value, size, driverName);
    default:
      raiseOra(24315);
  }
}

sword UserSession::setAttribute(void* value, ub4 size, ub4 attribute) {
  switch (attribute) {
    case OCI_ATTR_USERNAME:
      username = takeTextAttribute(value, size);
      return OCI_SUCCESS;
    case OCI_ATTR_PASSWORD:
      password = takeTextAttribute(value, size);
      return OCI_SUCCESS;
    case OCI_ATTR_CURRENT_SCHEMA:
      currentSchema = takeTextAttribute(value, size);
      return OCI_SUCCESS;
    case OCI_ATTR_DRIVER_NAME:
      driverName = takeTextAttribute(value, size);
      return OCI_SUCCESS;
    case OCI_ATTR_MODULE:
    case OCI_ATTR_ACTION:
    case OCI_ATTR_CLIENT_INFO:
    case OCI_ATTR_CLIENT_IDENTIFIER:
    case OCI_ATTR_MIGSESSION:
      // Monitoring labels: the server keeps no session views that show them.
      return OCI_SUCCESS;
    default:
      raiseOra(24315);
  }
}

ServiceContext& logOnImplicitly(Environment& env, const std::string& user,
                                const std::string& password, const std::string& connectString,
                                ub4 credentials, LogonInfo& info) {
  auto svc = std::make_unique<ServiceContext>(&env);
  auto server = std::make_unique<ServerHandle>(&env);
  auto session = std::make_unique<UserSession>(&env);
  server->attach(connectString);
  session->username = user;
  session->password = password;
  session->begin(*server, credentials, info);
  svc->server = server.get();
  svc->session = session.get();
  svc->implicitHandles = true;
  env.adopt(server.release());
  env.adopt(session.release());
  ServiceContext& made = *svc;
  env.adopt(svc.release());
  return made;
}

void logOffImplicitly(ServiceContext& svc) {
  Environment* env = svc.env;
  std::exception_ptr failure;
  if (svc.session && svc.session->loggedOn()) {
    try {
      svc.session->end(true);
    } catch (...) {
      failure = std::current_exception();
    }
  }
  if (svc.server) svc.server->detach();
  if (svc.implicitHandles) env->free(&svc);
  if (failure) std::rethrow_exception(failure);
}

}  // namespace vorn::server::oci

using namespace vorn::server;
using namespace vorn::server::oci;

namespace {

std::string textArgument(const OraText* text, ub4 length) {
  return text ? std::string(reinterpret_cast<const char*>(text), length) : std::string();
}

// Turns a grace-period logon into its warning.
sword logonStatus(const LogonInfo& info, ErrorRecords& records) {
  if (info.warningCode == 0) return OCI_SUCCESS;
  records.set(OraError(info.warningCode, info.warning));
  return OCI_SUCCESS_WITH_INFO;
}

}  // namespace

extern "C" sword OCISessionBegin(OCISvcCtx* svchp, OCIError* errhp, OCISession* usrhp, ub4 credt,
                                 ub4 mode) {
  ServiceContext* svc = handleOf<ServiceContext>(svchp);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  UserSession* session = handleOf<UserSession>(usrhp);
  if (!svc || !err || !session || svc->env != session->env) return OCI_INVALID_HANDLE;
  return guardedCall(*svc->env, *err, [&](ErrorRecords& records) -> sword {
    (void)mode;
    if (!svc->server) raiseOra(24327);
    LogonInfo info;
    session->begin(*svc->server, credt, info);
    svc->session = session;
    return logonStatus(info, records);
  });
}

extern "C" sword OCISessionEnd(OCISvcCtx* svchp, OCIError* errhp, OCISession* usrhp, ub4) {
  ServiceContext* svc = handleOf<ServiceContext>(svchp);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!svc || !err) return OCI_INVALID_HANDLE;
  UserSession* session = usrhp ? handleOf<UserSession>(usrhp) : svc->session;
  if (usrhp && !session) return OCI_INVALID_HANDLE;
  return guardedCall(*svc->env, *err, [&](ErrorRecords&) -> sword {
    if (!session || !session->loggedOn()) raiseOra(1012);
    session->end(true);
    return OCI_SUCCESS;
  });
}

extern "C" sword OCILogon(OCIEnv* envhp, OCIError* errhp, OCISvcCtx** svchp,
                          const OraText* username, ub4 uname_len, const OraText* password,
                          ub4 passwd_len, const OraText* dbname, ub4 dbname_len) {
  Environment* env = handleOf<Environment>(envhp);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!env || !err || !svchp || err->env != env) return OCI_INVALID_HANDLE;
  return guardedCall(*env, *err, [&](ErrorRecords& records) -> sword {
    *svchp = nullptr;
    LogonInfo info;
    ServiceContext& svc =
        logOnImplicitly(*env, textArgument(username, uname_len), textArgument(password, passwd_len),
                        textArgument(dbname, dbname_len), OCI_CRED_RDBMS, info);
    *svchp = opaque<OCISvcCtx>(&svc);
    return logonStatus(info, records);
  });
}

extern "C" sword OCILogoff(OCISvcCtx* svchp, OCIError* errhp) {
  ServiceContext* svc = handleOf<ServiceContext>(svchp);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!svc || !err) return OCI_INVALID_HANDLE;
  return guardedCall(*svc->env, *err, [&](ErrorRecords&) -> sword {
    // The session ends normally (committing); whatever the commit says, the
    // handles OCILogon made are gone afterwards.
    logOffImplicitly(*svc);
    return OCI_SUCCESS;
  });
}

extern "C" sword OCIPasswordChange(OCISvcCtx* svchp, OCIError* errhp, const OraText* user_name,
                                   ub4 usernm_len, const OraText* opasswd, ub4 opasswd_len,
                                   const OraText* npasswd, ub4 npasswd_len, ub4 mode) {
  ServiceContext* svc = handleOf<ServiceContext>(svchp);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!svc || !err) return OCI_INVALID_HANDLE;
  return guardedCall(*svc->env, *err, [&](ErrorRecords& records) -> sword {
    if (!svc->server || !svc->server->attached()) raiseOra(24327);
    UserSession* session = svc->session;
    std::string user = textArgument(user_name, usernm_len);
    if (user.empty() && session) user = session->username;
    std::string oldPassword = textArgument(opasswd, opasswd_len);
    std::string newPassword = textArgument(npasswd, npasswd_len);
    if (user.empty()) raiseOra(1017);
    svc->server->database->changePassword(user, oldPassword, newPassword);
    if ((mode & OCI_AUTH) && session && !session->loggedOn()) {
      // The standard way out of ORA-28001: change, then stay logged on.
      session->username = user;
      session->password = newPassword;
      LogonInfo info;
      session->begin(*svc->server, OCI_CRED_RDBMS, info);
      return logonStatus(info, records);
    }
    if (session && session->loggedOn()) session->password = newPassword;
    return OCI_SUCCESS;
  });
}
