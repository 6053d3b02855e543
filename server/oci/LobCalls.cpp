// LOB and BFILE locators and the LOB calls; see LobLocator.h.
#include "LobLocator.h"

#include "Attributes.h"
#include "CallGuard.h"
#include "ServiceContext.h"
#include "Unimplemented.h"

namespace vorn::server::oci {

LobLocator* lobLocatorOf(const void* p) {
  Handle* h = anyHandleOf(p, OCI_DTYPE_LOB);
  if (!h) h = anyHandleOf(p, OCI_DTYPE_FILE);
  return static_cast<LobLocator*>(h);
}

sword LobLocator::setAttribute(void* value, ub4, ub4 attribute) {
  if (attribute != OCI_ATTR_LOBEMPTY) raiseOra(24315);
  empty = takeAttribute<ub4>(value) == 0;
  return OCI_SUCCESS;
}

sword unimplemented(OCIError* errhp, bool handlesValid) {
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!err || !handlesValid) return OCI_INVALID_HANDLE;
  return guardedCall(*err->env, *err, [](ErrorRecords&) -> sword { raiseOra(3001); });
}

}  // namespace vorn::server::oci

using namespace vorn::server;
using namespace vorn::server::oci;

namespace {

bool svcOk(OCISvcCtx* svchp) {
  return handleOf<ServiceContext>(svchp) != nullptr;
}
bool envOk(OCIEnv* envhp) {
  return handleOf<Environment>(envhp) != nullptr;
}
bool lobOk(const OCILobLocator* locp) {
  return lobLocatorOf(locp) != nullptr;
}

}  // namespace

extern "C" {

sword OCILobAppend(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* dst, OCILobLocator* src) {
  return unimplemented(errhp, svcOk(svchp) && lobOk(dst) && lobOk(src));
}
sword OCILobAssign(OCIEnv* envhp, OCIError* errhp, const OCILobLocator* src, OCILobLocator** dst) {
  return unimplemented(errhp, envOk(envhp) && lobOk(src) && dst && lobOk(*dst));
}
sword OCILobCharSetForm(OCIEnv* envhp, OCIError* errhp, const OCILobLocator* locp, ub1* csfrm) {
  return unimplemented(errhp, envOk(envhp) && lobOk(locp) && csfrm);
}
sword OCILobCharSetId(OCIEnv* envhp, OCIError* errhp, const OCILobLocator* locp, ub2* csid) {
  return unimplemented(errhp, envOk(envhp) && lobOk(locp) && csid);
}
sword OCILobCopy(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* dst, OCILobLocator* src, ub4,
                 ub4, ub4) {
  return unimplemented(errhp, svcOk(svchp) && lobOk(dst) && lobOk(src));
}
sword OCILobDisableBuffering(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp) {
  return unimplemented(errhp, svcOk(svchp) && lobOk(locp));
}
sword OCILobEnableBuffering(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp) {
  return unimplemented(errhp, svcOk(svchp) && lobOk(locp));
}
sword OCILobErase(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp, ub4*, ub4) {
  return unimplemented(errhp, svcOk(svchp) && lobOk(locp));
}
sword OCILobFileClose(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* filep) {
  return unimplemented(errhp, svcOk(svchp) && lobOk(filep));
}
sword OCILobFileCloseAll(OCISvcCtx* svchp, OCIError* errhp) {
  return unimplemented(errhp, svcOk(svchp));
}
sword OCILobFileExists(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* filep, boolean* flag) {
  return unimplemented(errhp, svcOk(svchp) && lobOk(filep) && flag);
}
sword OCILobFileGetName(OCIEnv* envhp, OCIError* errhp, const OCILobLocator* filep, OraText*, ub2*,
                        OraText*, ub2*) {
  return unimplemented(errhp, envOk(envhp) && lobOk(filep));
}
sword OCILobFileIsOpen(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* filep, boolean* flag) {
  return unimplemented(errhp, svcOk(svchp) && lobOk(filep) && flag);
}
sword OCILobFileOpen(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* filep, ub1) {
  return unimplemented(errhp, svcOk(svchp) && lobOk(filep));
}
sword OCILobFileSetName(OCIEnv* envhp, OCIError* errhp, OCILobLocator** filepp, const OraText*, ub2,
                        const OraText*, ub2) {
  return unimplemented(errhp, envOk(envhp) && filepp && lobOk(*filepp));
}
sword OCILobFlushBuffer(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp, ub4) {
  return unimplemented(errhp, svcOk(svchp) && lobOk(locp));
}
sword OCILobGetLength(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp, ub4* lenp) {
  return unimplemented(errhp, svcOk(svchp) && lobOk(locp) && lenp);
}
sword OCILobIsEqual(OCIEnv* envhp, const OCILobLocator* x, const OCILobLocator* y,
                    boolean* is_equal) {
  Environment* env = handleOf<Environment>(envhp);
  if (!env || !lobOk(x) || !lobOk(y) || !is_equal) return OCI_INVALID_HANDLE;
  *is_equal = x == y;
  return OCI_SUCCESS;
}
sword OCILobLoadFromFile(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* dst, OCILobLocator* src,
                         ub4, ub4, ub4) {
  return unimplemented(errhp, svcOk(svchp) && lobOk(dst) && lobOk(src));
}
sword OCILobLocatorIsInit(OCIEnv* envhp, OCIError* errhp, const OCILobLocator* locp,
                          boolean* is_initialized) {
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!envOk(envhp) || !err || !lobOk(locp) || !is_initialized) return OCI_INVALID_HANDLE;
  // No locator points at a LOB value yet.
  *is_initialized = 0;
  return OCI_SUCCESS;
}
sword OCILobRead(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp, ub4* amtp, ub4, void*, ub4,
                 void*, OCICallbackLobRead, ub2, ub1) {
  return unimplemented(errhp, svcOk(svchp) && lobOk(locp) && amtp);
}
sword OCILobTrim(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp, ub4) {
  return unimplemented(errhp, svcOk(svchp) && lobOk(locp));
}
sword OCILobWrite(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp, ub4* amtp, ub4, void*,
                  ub4, ub1, void*, OCICallbackLobWrite, ub2, ub1) {
  return unimplemented(errhp, svcOk(svchp) && lobOk(locp) && amtp);
}
sword OCILobOpen(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp, ub1) {
  return unimplemented(errhp, svcOk(svchp) && lobOk(locp));
}
sword OCILobClose(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp) {
  return unimplemented(errhp, svcOk(svchp) && lobOk(locp));
}
sword OCILobIsOpen(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp, boolean* flag) {
  return unimplemented(errhp, svcOk(svchp) && lobOk(locp) && flag);
}
sword OCILobCreateTemporary(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp, ub2, ub1, ub1,
                            boolean, OCIDuration) {
  return unimplemented(errhp, svcOk(svchp) && lobOk(locp));
}
sword OCILobFreeTemporary(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp) {
  return unimplemented(errhp, svcOk(svchp) && lobOk(locp));
}
sword OCILobIsTemporary(OCIEnv* envp, OCIError* errhp, OCILobLocator* locp, boolean* flag) {
  return unimplemented(errhp, envOk(envp) && lobOk(locp) && flag);
}
sword OCILobGetChunkSize(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp, ub4* size) {
  return unimplemented(errhp, svcOk(svchp) && lobOk(locp) && size);
}

}  // extern "C"
