// The service context: the server, user session and transaction handles
// one unit of work runs through (attributes OCI_ATTR_SERVER, OCI_ATTR_SESSION,
// OCI_ATTR_TRANS). OCILogon makes one together with an implicit server and
// session, which OCILogoff (or freeing the context) frees again. The
// transaction handle is a shell: transactions start implicitly.
#pragma once

#include <vector>

#include "Handle.h"

namespace vorn::server {
class Session;
}

namespace vorn::server::oci {

class ServerHandle;
class SessionPool;
class StatementHandle;
class UserSession;

class ServiceContext : public Handle {
 public:
  static constexpr ub4 kType = OCI_HTYPE_SVCCTX;
  explicit ServiceContext(Environment* env) : Handle(kType, env) {}

  // The logged-on user session; ORA-01012 when there is none.
  UserSession& loggedOnSession() const;

  sword getAttribute(void* value, ub4* size, ub4 attribute);
  sword setAttribute(void* value, ub4 size, ub4 attribute);

  ServerHandle* server = nullptr;
  UserSession* session = nullptr;
  Handle* transaction = nullptr;
  bool implicitHandles = false;
  // Made by OCISessionGet: the pool it returns to (SessionPool.h), or none
  // for a session OCISessionGet logged on by itself.
  SessionPool* pool = nullptr;
  bool fromSessionGet = false;
  ub4 statementCacheSize = 0;
  // Statements OCIStmtRelease kept for OCIStmtPrepare2 to hand out again
  // (StatementCache.cpp), the most recently released first; at most
  // statementCacheSize of them.
  std::vector<StatementHandle*> statementCache;
};

class TransactionHandle : public Handle {
 public:
  static constexpr ub4 kType = OCI_HTYPE_TRANS;
  explicit TransactionHandle(Environment* env) : Handle(kType, env) {}
};

}  // namespace vorn::server::oci
