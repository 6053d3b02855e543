// Session pools and OCISessionGet/OCISessionRelease; see SessionPool.h.
#include "SessionPool.h"

#include <atomic>
#include <string>

#include "Attributes.h"
#include "CallGuard.h"
#include "Environment.h"
#include "ServiceContext.h"
#include "UserSession.h"
#include "engine/Database.h"

namespace vorn::server::oci {

namespace {

std::atomic<unsigned> poolNumber{0};

}  // namespace

SessionPool::SessionPool(Environment* env) : Handle(kType, env) {}

SessionPool::~SessionPool() {
  // Busy sessions outlive the pool: released later, they are logged off.
  for (Handle* h : env->handlesOfType(OCI_HTYPE_SVCCTX)) {
    auto* svc = static_cast<ServiceContext*>(h);
    if (svc->pool == this) svc->pool = nullptr;
  }
  try {
    destroy();
  } catch (...) {
  }
}

void SessionPool::create(const std::string& connect, const std::string& userName,
                         const std::string& userPassword, ub4 minimumSessions, ub4 maximumSessions,
                         ub4 incrementSessions) {
  if (created) raiseOra(24309);
  if (maximumSessions == 0 || minimumSessions > maximumSessions) raiseOra(24323);
  connectString = connect;
  user = userName;
  password = userPassword;
  minimum = minimumSessions;
  maximum = maximumSessions;
  increment = incrementSessions == 0 ? 1 : incrementSessions;
  name = "VORN_SPOOL_" + std::to_string(++poolNumber);
  for (ub4 i = 0; i < minimum; ++i)
    idle.push_back(&logOn());
  created = true;
}

ServiceContext& SessionPool::logOn() {
  LogonInfo info;
  ServiceContext& svc = logOnImplicitly(*env, user, password, connectString, OCI_CRED_RDBMS, info);
  svc.pool = this;
  svc.fromSessionGet = true;
  if (svc.session) svc.session->driverName = driverName;
  return svc;
}

ServiceContext& SessionPool::get() {
  if (!created) raiseOra(24327);
  ServiceContext* svc = nullptr;
  if (!idle.empty()) {
    svc = idle.back();
    idle.pop_back();
  } else {
    if (busy >= maximum && getMode != OCI_SPOOL_ATTRVAL_FORCEGET) raiseOra(24418);
    svc = &logOn();
  }
  ++busy;
  return *svc;
}

void SessionPool::release(ServiceContext& svc, bool drop) {
  if (busy > 0) --busy;
  bool healthy = svc.session && svc.session->loggedOn();
  if (drop || !healthy || idle.size() + busy >= maximum + increment) {
    svc.pool = nullptr;
    logOffImplicitly(svc);
    return;
  }
  idle.push_back(&svc);
}

void SessionPool::destroy() {
  std::vector<ServiceContext*> sessions;
  sessions.swap(idle);
  created = false;
  for (ServiceContext* svc : sessions) {
    svc->pool = nullptr;
    try {
      logOffImplicitly(*svc);
    } catch (...) {
      // A failing commit at logoff still ends the session.
    }
  }
}

sword SessionPool::getAttribute(void* value, ub4* size, ub4 attribute) {
  switch (attribute) {
    case OCI_ATTR_SPOOL_OPEN_COUNT:
      return putAttribute<ub4>(value, size, static_cast<ub4>(idle.size()) + busy);
    case OCI_ATTR_SPOOL_BUSY_COUNT:
      return putAttribute<ub4>(value, size, busy);
    case OCI_ATTR_SPOOL_MIN:
      return putAttribute<ub4>(value, size, minimum);
    case OCI_ATTR_SPOOL_MAX:
      return putAttribute<ub4>(value, size, maximum);
    case OCI_ATTR_SPOOL_INCR:
      return putAttribute<ub4>(value, size, increment);
    case OCI_ATTR_SPOOL_GETMODE:
      return putAttribute<ub1>(value, size, static_cast<ub1>(getMode));
    case OCI_ATTR_SPOOL_TIMEOUT:
      return putAttribute<ub4>(value, size, timeout);
    case OCI_ATTR_SPOOL_MAX_LIFETIME_SESSION:
      return putAttribute<ub4>(value, size, maxLifetime);
    case OCI_ATTR_SPOOL_WAIT_TIMEOUT:
      return putAttribute<ub4>(value, size, waitTimeout);
    case OCI_ATTR_SPOOL_STMTCACHESIZE:
      return putAttribute<ub4>(value, size, statementCacheSize);
    default:
      raiseOra(24315);
  }
}

sword SessionPool::setAttribute(void* value, ub4, ub4 attribute) {
  switch (attribute) {
    case OCI_ATTR_SPOOL_GETMODE: {
      ub1 mode = takeAttribute<ub1>(value);
      if (mode > OCI_SPOOL_ATTRVAL_FORCEGET) raiseOra(24328);
      getMode = mode;
      return OCI_SUCCESS;
    }
    case OCI_ATTR_SPOOL_TIMEOUT:
      // Idle sessions are kept until the pool goes: nothing times out.
      timeout = takeAttribute<ub4>(value);
      return OCI_SUCCESS;
    case OCI_ATTR_SPOOL_MAX_LIFETIME_SESSION:
      maxLifetime = takeAttribute<ub4>(value);
      return OCI_SUCCESS;
    case OCI_ATTR_SPOOL_WAIT_TIMEOUT:
      // A get never waits (see SessionPool.h).
      waitTimeout = takeAttribute<ub4>(value);
      return OCI_SUCCESS;
    case OCI_ATTR_SPOOL_STMTCACHESIZE:
      statementCacheSize = takeAttribute<ub4>(value);
      return OCI_SUCCESS;
    case OCI_ATTR_SPOOL_AUTH: {
      // The attributes every pooled session starts with (driver name ...);
      // the credentials stay those the pool was created with.
      UserSession* auth = handleOf<UserSession>(value);
      if (!auth || auth->env != env) raiseOra(24328);
      driverName = auth->driverName;
      return OCI_SUCCESS;
    }
    default:
      raiseOra(24315);
  }
}

SessionPool* poolOf(const ServiceContext& svc) {
  return svc.pool;
}

}  // namespace vorn::server::oci

using namespace vorn::server;
using namespace vorn::server::oci;

namespace {

std::string textOf(const OraText* text, ub4 length) {
  return text ? std::string(reinterpret_cast<const char*>(text), length) : std::string();
}

SessionPool* poolNamed(Environment& env, const std::string& name) {
  for (Handle* h : env.handlesOfType(OCI_HTYPE_SPOOL)) {
    auto* pool = static_cast<SessionPool*>(h);
    if (pool->created && pool->name == name) return pool;
  }
  return nullptr;
}

}  // namespace

extern "C" sword OCISessionPoolCreate(OCIEnv* envhp, OCIError* errhp, OCISPool* spoolhp,
                                      OraText** poolName, ub4* poolNameLen, const OraText* connStr,
                                      ub4 connStrLen, ub4 sessMin, ub4 sessMax, ub4 sessIncr,
                                      OraText* userid, ub4 useridLen, OraText* password,
                                      ub4 passwordLen, ub4 mode) {
  Environment* env = handleOf<Environment>(envhp);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  SessionPool* pool = handleOf<SessionPool>(spoolhp);
  if (!env || !err || !pool || pool->env != env || !poolName || !poolNameLen) {
    return OCI_INVALID_HANDLE;
  }
  return guardedCall(*env, *err, [&](ErrorRecords&) -> sword {
    (void)mode;
    pool->create(textOf(connStr, connStrLen), textOf(userid, useridLen),
                 textOf(password, passwordLen), sessMin, sessMax, sessIncr);
    *poolName = reinterpret_cast<OraText*>(pool->name.data());
    *poolNameLen = static_cast<ub4>(pool->name.size());
    return OCI_SUCCESS;
  });
}

extern "C" sword OCISessionPoolDestroy(OCISPool* spoolhp, OCIError* errhp, ub4) {
  SessionPool* pool = handleOf<SessionPool>(spoolhp);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!pool || !err) return OCI_INVALID_HANDLE;
  return guardedCall(*pool->env, *err, [&](ErrorRecords&) -> sword {
    if (!pool->created) raiseOra(24327);
    pool->destroy();
    return OCI_SUCCESS;
  });
}

extern "C" sword OCISessionGet(OCIEnv* envhp, OCIError* errhp, OCISvcCtx** svchp,
                               OCIAuthInfo* authInfop, OraText* dbName, ub4 dbName_len,
                               const OraText*, ub4, OraText** retTagInfo, ub4* retTagInfo_len,
                               boolean* found, ub4 mode) {
  Environment* env = handleOf<Environment>(envhp);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  UserSession* auth = authInfop ? handleOf<UserSession>(authInfop) : nullptr;
  if (!env || !err || !svchp || (authInfop && !auth)) return OCI_INVALID_HANDLE;
  return guardedCall(*env, *err, [&](ErrorRecords&) -> sword {
    *svchp = nullptr;
    // Sessions carry no tags: a tagged request finds none.
    if (retTagInfo) *retTagInfo = nullptr;
    if (retTagInfo_len) *retTagInfo_len = 0;
    if (found) *found = 0;
    std::string name = textOf(dbName, dbName_len);
    ServiceContext* svc = nullptr;
    if (mode & OCI_SESSGET_SPOOL) {
      SessionPool* pool = poolNamed(*env, name);
      if (!pool) raiseOra(24418);
      svc = &pool->get();
    } else {
      LogonInfo info;
      std::string user = auth ? auth->username : std::string();
      std::string password = auth ? auth->password : std::string();
      ub4 credentials = (mode & OCI_SESSGET_CREDEXT) ? OCI_CRED_EXT : OCI_CRED_RDBMS;
      svc = &logOnImplicitly(*env, user, password, name, credentials, info);
      svc->fromSessionGet = true;
    }
    *svchp = opaque<OCISvcCtx>(svc);
    return OCI_SUCCESS;
  });
}

extern "C" sword OCISessionRelease(OCISvcCtx* svchp, OCIError* errhp, OraText*, ub4, ub4 mode) {
  ServiceContext* svc = handleOf<ServiceContext>(svchp);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!svc || !err) return OCI_INVALID_HANDLE;
  return guardedCall(*svc->env, *err, [&](ErrorRecords&) -> sword {
    if (!svc->fromSessionGet) raiseOra(24327);
    if (SessionPool* pool = poolOf(*svc)) {
      pool->release(*svc, (mode & OCI_SESSRLS_DROPSESS) != 0);
    } else {
      logOffImplicitly(*svc);
    }
    return OCI_SUCCESS;
  });
}
