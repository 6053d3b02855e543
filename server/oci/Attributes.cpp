// OCIAttrGet, OCIAttrSet and the parameter calls: each finds the handle of
// the type the caller names and lets its class answer (an attribute number
// means different things on different handle types).
#include "Attributes.h"

#include "BindHandle.h"
#include "CallGuard.h"
#include "DefineHandle.h"
#include "LobLocator.h"
#include "ParamDescriptor.h"
#include "ServerHandle.h"
#include "ServiceContext.h"
#include "SessionPool.h"
#include "StatementHandle.h"
#include "Trace.h"
#include "TypeDescribe.h"
#include "UserSession.h"

using namespace vorn::server;
using namespace vorn::server::oci;

namespace {

// The handle an attribute call names. A parameter descriptor is also taken
// under OCI_HTYPE_DESCRIBE, the type drivers name when they read the columns
// of a statement's select list (the descriptor comes from the statement, not
// from a describe handle; Oracle's client reads it either way).
Handle* attributeTarget(const void* p, ub4& type) {
  Handle* h = anyHandleOf(p, type);
  if (!h && type == OCI_HTYPE_DESCRIBE && (h = anyHandleOf(p, OCI_DTYPE_PARAM))) {
    type = OCI_DTYPE_PARAM;
  }
  return h;
}

ErrorRecords* recordsOf(OCIError* errhp) {
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  return err ? &err->errors : nullptr;
}

// OCIParamGet on an error handle: row error `pos` (0-based) of the last
// array DML with OCI_BATCH_ERRORS, copied into the caller's error handle at
// *parmdpp (its one record and OCI_ATTR_DML_ROW_OFFSET).
sword batchErrorGet(ErrorHandle& from, ErrorHandle& err, void** parmdpp, ub4 pos) {
  ErrorHandle* to = handleOf<ErrorHandle>(*parmdpp);
  if (!to) return OCI_INVALID_HANDLE;
  return guardedCall(*from.env, err, [&](ErrorRecords&) -> sword {
    if (pos >= from.batchErrors.size()) raiseOra(24334);
    const ErrorHandle::BatchError& e = from.batchErrors[pos];
    to->errors.set(OraError(e.record.code, e.record.text));
    to->dmlRowOffset = e.row;
    return OCI_SUCCESS;
  });
}

}  // namespace

extern "C" sword OCIAttrGet(const void* trgthndlp, ub4 trghndltyp, void* attributep, ub4* sizep,
                            ub4 attrtype, OCIError* errhp) {
  Handle* h = attributeTarget(trgthndlp, trghndltyp);
  if (!h || (errhp && !handleOf<ErrorHandle>(errhp)))
    return traceRefusal(OCI_INVALID_HANDLE, "OCIAttrGet", trghndltyp, attrtype, nullptr);
  sword status = guardedCall(*h->env, recordsOf(errhp), [&](ErrorRecords&) -> sword {
    switch (trghndltyp) {
      case OCI_HTYPE_ENV:
        return static_cast<Environment*>(h)->getAttribute(attributep, sizep, attrtype);
      case OCI_HTYPE_ERROR:
        return static_cast<ErrorHandle*>(h)->getAttribute(attributep, sizep, attrtype);
      case OCI_HTYPE_SVCCTX:
        return static_cast<ServiceContext*>(h)->getAttribute(attributep, sizep, attrtype);
      case OCI_HTYPE_STMT:
        return static_cast<StatementHandle*>(h)->getAttribute(attributep, sizep, attrtype);
      case OCI_HTYPE_BIND:
        return static_cast<BindHandle*>(h)->getAttribute(attributep, sizep, attrtype);
      case OCI_HTYPE_DESCRIBE:
        return static_cast<DescribeHandle*>(h)->getAttribute(attributep, sizep, attrtype);
      case OCI_HTYPE_SERVER:
        return static_cast<ServerHandle*>(h)->getAttribute(attributep, sizep, attrtype);
      case OCI_HTYPE_SESSION:
        return static_cast<UserSession*>(h)->getAttribute(attributep, sizep, attrtype);
      case OCI_HTYPE_SPOOL:
        return static_cast<SessionPool*>(h)->getAttribute(attributep, sizep, attrtype);
      case OCI_DTYPE_PARAM:
        return static_cast<ParamDescriptor*>(h)->getAttribute(attributep, sizep, attrtype);
      default:
        raiseOra(24315);
    }
  });
  return traceRefusal(status, "OCIAttrGet", trghndltyp, attrtype, recordsOf(errhp));
}

extern "C" sword OCIAttrSet(void* trgthndlp, ub4 trghndltyp, void* attributep, ub4 size,
                            ub4 attrtype, OCIError* errhp) {
  Handle* h = anyHandleOf(trgthndlp, trghndltyp);
  if (!h || (errhp && !handleOf<ErrorHandle>(errhp)))
    return traceRefusal(OCI_INVALID_HANDLE, "OCIAttrSet", trghndltyp, attrtype, nullptr);
  sword status = guardedCall(*h->env, recordsOf(errhp), [&](ErrorRecords&) -> sword {
    switch (trghndltyp) {
      case OCI_HTYPE_ENV:
        return static_cast<Environment*>(h)->setAttribute(attributep, size, attrtype);
      case OCI_HTYPE_SVCCTX:
        return static_cast<ServiceContext*>(h)->setAttribute(attributep, size, attrtype);
      case OCI_HTYPE_STMT:
        return static_cast<StatementHandle*>(h)->setAttribute(attributep, size, attrtype);
      case OCI_HTYPE_BIND:
        return static_cast<BindHandle*>(h)->setAttribute(attributep, size, attrtype);
      case OCI_HTYPE_DEFINE:
        return static_cast<DefineHandle*>(h)->setAttribute(attributep, size, attrtype);
      case OCI_HTYPE_DESCRIBE:
        return static_cast<DescribeHandle*>(h)->setAttribute(attributep, size, attrtype);
      case OCI_HTYPE_SERVER:
        return static_cast<ServerHandle*>(h)->setAttribute(attributep, size, attrtype);
      case OCI_HTYPE_SESSION:
        return static_cast<UserSession*>(h)->setAttribute(attributep, size, attrtype);
      case OCI_HTYPE_SPOOL:
        return static_cast<SessionPool*>(h)->setAttribute(attributep, size, attrtype);
      case OCI_DTYPE_LOB:
      case OCI_DTYPE_FILE:
        return static_cast<LobLocator*>(h)->setAttribute(attributep, size, attrtype);
      default:
        raiseOra(24315);
    }
  });
  return traceRefusal(status, "OCIAttrSet", trghndltyp, attrtype, recordsOf(errhp));
}

extern "C" sword OCIParamGet(const void* hndlp, ub4 htype, OCIError* errhp, void** parmdpp,
                             ub4 pos) {
  Handle* h = anyHandleOf(hndlp, htype);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!h || !err || !parmdpp) return OCI_INVALID_HANDLE;
  if (htype == OCI_HTYPE_ERROR)
    return batchErrorGet(*static_cast<ErrorHandle*>(h), *err, parmdpp, pos);
  return guardedCall(*h->env, *err, [&](ErrorRecords&) -> sword {
    *parmdpp = nullptr;
    // The parameters of a described type's lists (TypeDescribe.h).
    if (htype == OCI_DTYPE_PARAM) {
      *parmdpp = &describedChild(*static_cast<ParamDescriptor*>(h), pos);
      return OCI_SUCCESS;
    }
    if (htype != OCI_HTYPE_STMT) raiseOra(24334);
    *parmdpp = &static_cast<StatementHandle*>(h)->param(pos);
    return OCI_SUCCESS;
  });
}

extern "C" sword OCIParamSet(void* hdlp, ub4 htyp, OCIError* errhp, const void*, ub4, ub4) {
  Handle* h = anyHandleOf(hdlp, htyp);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!h || !err) return OCI_INVALID_HANDLE;
  return guardedCall(*h->env, *err, [&](ErrorRecords&) -> sword { raiseOra(3001); });
}
