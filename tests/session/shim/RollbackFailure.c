/* A client library that fails rollbacks on request: it stands in front of
 * the demo home's oci.dll (its one dependency, which provides every other
 * name when the client binding resolves the call sets through this
 * library) and replaces OCITransRollback and orol.
 *
 * While failing, a rollback is passed to the real library in a form it
 * refuses: on a service context without a user session (version 8), or on
 * a logon data area that is not logged on (version 7). The error the
 * caller then reads (ORA-01012 and its text) is therefore the real
 * library's, and nothing is rolled back, as with a connection that broke.
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <string.h>

#include "oci.h"

#define SHIM_EXPORT __attribute__((visibility("default")))

static int failRollbacks = 0;
static int failedRollbacks = 0;

SHIM_EXPORT void vorn_shim_fail_rollbacks(int fail) {
  failRollbacks = fail;
}

SHIM_EXPORT int vorn_shim_failed_rollbacks(void) {
  return failedRollbacks;
}

/* The real library's own entry point of that name. */
static void* realCall(const char* name) {
  void* library = dlopen("oci.dll", RTLD_LAZY | RTLD_NOLOAD);
  void* address = library ? dlsym(library, name) : NULL;
  if (library) dlclose(library);
  return address;
}

SHIM_EXPORT sword OCITransRollback(OCISvcCtx* svchp, OCIError* errhp, ub4 flags) {
  typedef sword (*Rollback)(OCISvcCtx*, OCIError*, ub4);
  Rollback real = (Rollback)realCall("OCITransRollback");
  if (!real) return OCI_INVALID_HANDLE;
  if (!failRollbacks) return real(svchp, errhp, flags);
  ++failedRollbacks;
  OCIEnv* env = NULL;
  OCISvcCtx* lost = NULL;
  if (OCIAttrGet(svchp, OCI_HTYPE_SVCCTX, &env, NULL, OCI_ATTR_ENV, errhp) != OCI_SUCCESS ||
      OCIHandleAlloc(env, (dvoid**)&lost, OCI_HTYPE_SVCCTX, 0, NULL) != OCI_SUCCESS) {
    return OCI_INVALID_HANDLE;
  }
  sword status = real(lost, errhp, flags);
  OCIHandleFree(lost, OCI_HTYPE_SVCCTX);
  return status;
}

SHIM_EXPORT sword orol(Lda_Def* lda) {
  typedef sword (*Rollback)(Lda_Def*);
  Rollback real = (Rollback)realCall("orol");
  if (!real) return -1;
  if (!failRollbacks) return real(lda);
  ++failedRollbacks;
  Lda_Def lost;
  memset(&lost, 0, sizeof lost);
  sword result = real(&lost);
  lda->rc = lost.rc;
  lda->v2_rc = lost.v2_rc;
  lda->fc = lost.fc;
  return result;
}
