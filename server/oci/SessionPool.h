// The session pool handle (OCI_HTYPE_SPOOL): logged-on sessions kept for
// reuse under one user, handed out by OCISessionGet in OCI_SESSGET_SPOOL
// mode and given back by OCISessionRelease (SessionPool.cpp).
//
// A pooled session is a service context made with its own server and user
// session (as OCILogon makes them). The pool knows the idle ones and counts
// the busy ones; a get takes an idle session or logs a new one on, up to
// the maximum (then ORA-24418, or a session past the maximum in
// OCI_SPOOL_ATTRVAL_FORCEGET mode). Nothing waits: a call that would have
// to wait for another thread to release a session fails at once. The pool
// is homogeneous: every session is the pool's user. Destroying the pool
// logs its idle sessions off; busy ones end when they are released.
#pragma once

#include <string>
#include <vector>

#include "Handle.h"

namespace vorn::server::oci {

class ServiceContext;

class SessionPool : public Handle {
 public:
  static constexpr ub4 kType = OCI_HTYPE_SPOOL;
  explicit SessionPool(Environment* env);
  ~SessionPool();

  // OCISessionPoolCreate: logs `minimum` sessions on.
  void create(const std::string& connect, const std::string& user, const std::string& password,
              ub4 minimum, ub4 maximum, ub4 increment);
  ServiceContext& get();
  // Back into the pool, or logged off when `drop` (or the pool is gone).
  void release(ServiceContext& svc, bool drop);
  // OCISessionPoolDestroy: logs the idle sessions off.
  void destroy();

  sword getAttribute(void* value, ub4* size, ub4 attribute);
  sword setAttribute(void* value, ub4 size, ub4 attribute);

  bool created = false;
  std::string name;  // what OCISessionGet names the pool by
  std::string connectString;
  std::string user;
  std::string password;
  ub4 minimum = 0;
  ub4 maximum = 0;
  ub4 increment = 1;
  ub4 getMode = 0;  // OCI_SPOOL_ATTRVAL_*
  ub4 timeout = 0;
  ub4 maxLifetime = 0;  // kept and reported; sessions live as long as the pool
  ub4 waitTimeout = 0;
  ub4 statementCacheSize = 0;
  std::string driverName;  // from OCI_ATTR_SPOOL_AUTH
  ub4 busy = 0;
  std::vector<ServiceContext*> idle;

 private:
  ServiceContext& logOn();
};

// The pool a pooled service context belongs to, or null.
SessionPool* poolOf(const ServiceContext& svc);

}  // namespace vorn::server::oci
