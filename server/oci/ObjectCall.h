// The frame of the object layer's entry points (objects, REFs, strings,
// raws, collections): the environment and error handle checked like every
// call's, the environment's object cache (ORA-21301 outside object mode),
// and the body run under the call guard.
#pragma once

#include "CallGuard.h"
#include "ErrorHandle.h"
#include "ObjectCache.h"

namespace vorn::server::oci {

template <class Body>
sword objectCall(OCIEnv* envhp, OCIError* errhp, bool argumentsValid, Body&& body) {
  Environment* env = handleOf<Environment>(envhp);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!env || !err || !argumentsValid) return OCI_INVALID_HANDLE;
  return guardedCall(*env, *err, [&](ErrorRecords&) -> sword {
    body(objectCacheOf(*env));
    return OCI_SUCCESS;
  });
}

// The instance behind `p` (ORA-21710 when it is none of the cache's).
inline Instance& instanceOf(ObjectCache& cache, const void* p) {
  Instance* i = cache.instance(p);
  if (!i) raiseOra(21710);
  return *i;
}

// Writes persistent instance changes to its table: INSERT of a new one,
// DELETE of one marked deleted, UPDATE of one marked updated.
void flushInstance(ObjectCache& cache, Instance& instance);
// Before a commit of `session`: its dirty objects go to the database, as
// OCITransCommit does for the object cache.
void flushSessionObjects(Environment& env, UserSession& session);

}  // namespace vorn::server::oci
