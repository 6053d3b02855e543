// Service contexts and transactions; see ServiceContext.h.
#include "ServiceContext.h"

#include "Environment.h"
#include "StatementHandle.h"

#include "Attributes.h"
#include "CallGuard.h"
#include "ObjectCall.h"
#include "ServerHandle.h"
#include "UserSession.h"
#include "engine/Session.h"

namespace vorn::server::oci {

UserSession& ServiceContext::loggedOnSession() const {
  if (!session || !session->loggedOn()) raiseOra(1012);
  return *session;
}

sword ServiceContext::getAttribute(void* value, ub4* size, ub4 attribute) {
  switch (attribute) {
    case OCI_ATTR_SERVER:
      return putAttribute<OCIServer*>(value, size, opaque<OCIServer>(server));
    case OCI_ATTR_SESSION:
      return putAttribute<OCISession*>(value, size, opaque<OCISession>(session));
    case OCI_ATTR_TRANS:
      return putAttribute<OCITrans*>(value, size, opaque<OCITrans>(transaction));
    case OCI_ATTR_ENV:
      return putAttribute<OCIEnv*>(value, size, opaque<OCIEnv>(reinterpret_cast<Handle*>(env)));
    case OCI_ATTR_IN_V8_MODE:
      return putAttribute<ub1>(value, size, 1);
    case OCI_ATTR_STMTCACHESIZE:
      return putAttribute<ub4>(value, size, statementCacheSize);
    default:
      raiseOra(24315);
  }
}

sword ServiceContext::setAttribute(void* value, ub4, ub4 attribute) {
  switch (attribute) {
    case OCI_ATTR_SERVER: {
      ServerHandle* s = handleOf<ServerHandle>(value);
      if (value && (!s || s->env != env)) raiseOra(24328);
      server = s;
      return OCI_SUCCESS;
    }
    case OCI_ATTR_SESSION: {
      UserSession* s = handleOf<UserSession>(value);
      if (value && (!s || s->env != env)) raiseOra(24328);
      session = s;
      return OCI_SUCCESS;
    }
    case OCI_ATTR_TRANS: {
      Handle* t = anyHandleOf(value, OCI_HTYPE_TRANS);
      if (value && (!t || t->env != env)) raiseOra(24328);
      transaction = t;
      return OCI_SUCCESS;
    }
    case OCI_ATTR_STMTCACHESIZE:
      statementCacheSize = takeAttribute<ub4>(value);
      while (statementCache.size() > statementCacheSize) {
        StatementHandle* oldest = statementCache.back();
        statementCache.pop_back();
        env->free(oldest);
      }
      return OCI_SUCCESS;
    default:
      raiseOra(24315);
  }
}

}  // namespace vorn::server::oci

using namespace vorn::server;
using namespace vorn::server::oci;

namespace {

template <class Body>
sword transactionCall(OCISvcCtx* svchp, OCIError* errhp, Body&& body) {
  ServiceContext* svc = handleOf<ServiceContext>(svchp);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!svc || !err) return OCI_INVALID_HANDLE;
  return guardedCall(*svc->env, *err, [&](ErrorRecords&) -> sword {
    body(*svc);
    return OCI_SUCCESS;
  });
}

}  // namespace

extern "C" sword OCITransStart(OCISvcCtx* svchp, OCIError* errhp, uword, ub4 flags) {
  return transactionCall(svchp, errhp, [&](ServiceContext& svc) {
    svc.loggedOnSession();
    // Local transactions start by themselves; joining, resuming and
    // serializable branches are distributed-transaction features.
    if (flags & (OCI_TRANS_JOIN | OCI_TRANS_RESUME | OCI_TRANS_SERIALIZABLE | OCI_TRANS_READONLY)) {
      raiseOra(3001);
    }
  });
}

extern "C" sword OCITransCommit(OCISvcCtx* svchp, OCIError* errhp, ub4) {
  return transactionCall(svchp, errhp, [](ServiceContext& svc) {
    // The object cache's changes of this session go with the transaction.
    flushSessionObjects(*svc.env, svc.loggedOnSession());
    svc.loggedOnSession().engine->commit();
  });
}

extern "C" sword OCITransRollback(OCISvcCtx* svchp, OCIError* errhp, ub4) {
  return transactionCall(svchp, errhp,
                         [](ServiceContext& svc) { svc.loggedOnSession().engine->rollback(); });
}

extern "C" sword OCITransDetach(OCISvcCtx* svchp, OCIError* errhp, ub4) {
  return transactionCall(svchp, errhp, [](ServiceContext&) { raiseOra(3001); });
}

extern "C" sword OCITransPrepare(OCISvcCtx* svchp, OCIError* errhp, ub4) {
  return transactionCall(svchp, errhp, [](ServiceContext&) { raiseOra(3001); });
}

extern "C" sword OCITransForget(OCISvcCtx* svchp, OCIError* errhp, ub4) {
  return transactionCall(svchp, errhp, [](ServiceContext&) { raiseOra(3001); });
}
