// Define handles and their entry points; see DefineHandle.h.
#include "DefineHandle.h"

#include <cstdint>

#include <cstring>

#include "CallGuard.h"
#include "ExternalData.h"
#include "LobLocator.h"
#include "StatementHandle.h"
#include "value/SessionValues.h"

namespace vorn::server::oci {

DefineHandle::Outcome DefineHandle::write(const ValueView& v, ub4 row, SessionValues& values,
                                          std::string& scratch) {
  if (isObjectType(dty)) {
    writeObjectRow(*this, v, row, statement->session());
    return {};
  }
  if (mode & OCI_DYNAMIC_FETCH) {
    if (!callback) raiseOra(3001);
    return writePieces(v, row, values, scratch);
  }
  auto* ind = static_cast<sb2*>(elementAt(indicators, row, indicatorSkip));
  void* len = elementAt(lengths, row, lengthSkip);
  auto* rc = static_cast<ub2*>(elementAt(returnCodes, row, returnCodeSkip));
  Written w;
  if (!v.isNull()) {
    w = writeValue(v, OutElement{elementAt(value, row, valueSkip), valueSize, dty}, values,
                   scratch);
  } else {
    w.null = true;
  }
  if (w.null) {
    if (ind) *ind = -1;
    if (len) writeLength(len, wideLengths, 0);
    if (rc) *rc = 1405;
    return ind ? Outcome{} : Outcome{1405, true};
  }
  if (ind) *ind = w.truncated ? truncatedIndicator(w.sourceLength) : 0;
  if (len) writeLength(len, wideLengths, w.length);
  if (rc) *rc = w.truncated ? 1406 : 0;
  if (!w.truncated) return {};
  return Outcome{1406, !ind && !rc};
}

DefineHandle::Outcome DefineHandle::writePieces(const ValueView& v, ub4 row, SessionValues& values,
                                                std::string& scratch) {
  bool isNull = v.isNull();
  std::string_view data;
  if (!isNull) {
    data = v.kind == Value::Kind::Text || v.kind == Value::Kind::Raw ? v.bytes
                                                                     : textOf(v, values, scratch);
  }
  size_t offset = 0;
  ub1 piece = OCI_FIRST_PIECE;
  do {
    void* buffer = nullptr;
    ub4* length = nullptr;
    void* indicator = nullptr;
    ub2* rc = nullptr;
    sb4 status =
        callback(context, opaque<OCIDefine>(this), row, &buffer, &length, &piece, &indicator, &rc);
    if (status != OCI_CONTINUE) throw CallbackStop{status};
    size_t room = length ? *length : 0;
    size_t n = isNull || !buffer ? 0 : std::min(room, data.size() - offset);
    if (n) std::memcpy(buffer, data.data() + offset, n);
    offset += n;
    if (length) *length = static_cast<ub4>(n);
    if (indicator) *static_cast<sb2*>(indicator) = isNull ? -1 : 0;
    if (rc) *rc = isNull ? 1405 : 0;
    // A callback that offers no room would be asked forever.
    if (!isNull && n == 0 && offset < data.size()) return Outcome{1406, true};
    piece = OCI_NEXT_PIECE;
  } while (!isNull && offset < data.size());
  return {};
}

void DefineHandle::pointLocator(ub4 row, const ValueView& v, std::optional<LobRef> where) {
  void* element = elementAt(value, row, valueSkip);
  if (!element || valueSize < static_cast<sb4>(sizeof(void*))) return;
  void* pointer = nullptr;
  std::memcpy(&pointer, element, sizeof pointer);
  LobLocator* locator = lobLocatorOf(pointer);
  if (!locator) return;
  if (v.isNull()) {
    locator->load(TypeKind::Null, v, std::nullopt);
  } else {
    locator->row = std::move(where);
  }
}

void DefineHandle::assign(void* valuep, sb4 value_sz, ub2 type, void* indp, ub2* rlenp, ub2* rcodep,
                          ub4 defineMode) {
  value = valuep;
  valueSize = value_sz;
  dty = type;
  indicators = indp;
  lengths = rlenp;
  wideLengths = false;
  returnCodes = rcodep;
  mode = defineMode;
  valueSkip = static_cast<ub4>(value_sz);
  indicatorSkip = sizeof(sb2);
  lengthSkip = sizeof(ub2);
  returnCodeSkip = sizeof(ub2);
  context = nullptr;
  callback = nullptr;
}

sword DefineHandle::setAttribute(void*, ub4, ub4 attribute) {
  switch (attribute) {
    case OCI_ATTR_CHARSET_ID:
    case OCI_ATTR_CHARSET_FORM:
    case OCI_ATTR_CHAR_COUNT:
    case OCI_ATTR_PDSCL:
    case OCI_ATTR_PDPRC:
    case OCI_ATTR_LOBPREFETCH_SIZE:
    case OCI_ATTR_LOBPREFETCH_LENGTH:
      // LOB prefetching: a locator reads its value from the engine on the
      // first call that needs it, whatever was asked here.
      return OCI_SUCCESS;
    default:
      raiseOra(24315);
  }
}

}  // namespace vorn::server::oci

using namespace vorn::server;
using namespace vorn::server::oci;

namespace {

// The define calls' work; `rlenp` holds ub4 lengths when `wide`.
sword define(OCIStmt* stmtp, OCIDefine** defnp, OCIError* errhp, ub4 position, void* valuep,
             sb8 value_sz, ub2 dty, void* indp, void* rlenp, bool wide, ub2* rcodep, ub4 mode) {
  StatementHandle* stmt = handleOf<StatementHandle>(stmtp);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!stmt || !err || !defnp) return OCI_INVALID_HANDLE;
  return guardedCall(*stmt->env, *err, [&](ErrorRecords&) -> sword {
    if (!stmt->prepared) raiseOra(24337);
    if (position == 0) raiseOra(1007);
    if (!isSupportedType(dty) && !isObjectType(dty)) raiseOra(1460);
    if (value_sz < 0 || value_sz > INT32_MAX) raiseOra(21560, {"6"});
    DefineHandle& d = stmt->defineAt(position);
    if (wide) {
      d.assign(valuep, static_cast<sb4>(value_sz), dty, indp, nullptr, rcodep, mode);
      d.useWideLengths(static_cast<ub4*>(rlenp));
    } else {
      d.assign(valuep, static_cast<sb4>(value_sz), dty, indp, static_cast<ub2*>(rlenp), rcodep,
               mode);
    }
    *defnp = opaque<OCIDefine>(&d);
    return OCI_SUCCESS;
  });
}

}  // namespace

extern "C" sword OCIDefineByPos(OCIStmt* stmtp, OCIDefine** defnp, OCIError* errhp, ub4 position,
                                void* valuep, sb4 value_sz, ub2 dty, void* indp, ub2* rlenp,
                                ub2* rcodep, ub4 mode) {
  return define(stmtp, defnp, errhp, position, valuep, value_sz, dty, indp, rlenp, false, rcodep,
                mode);
}

extern "C" sword OCIDefineByPos2(OCIStmt* stmtp, OCIDefine** defnp, OCIError* errhp, ub4 position,
                                 void* valuep, sb8 value_sz, ub2 dty, void* indp, ub4* rlenp,
                                 ub2* rcodep, ub4 mode) {
  return define(stmtp, defnp, errhp, position, valuep, value_sz, dty, indp, rlenp, true, rcodep,
                mode);
}

extern "C" sword OCIDefineDynamic(OCIDefine* defnp, OCIError* errhp, void* octxp,
                                  OCICallbackDefine ocbfp) {
  DefineHandle* d = handleOf<DefineHandle>(defnp);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!d || !err) return OCI_INVALID_HANDLE;
  return guardedCall(*d->env, *err, [&](ErrorRecords&) -> sword {
    if (!(d->mode & OCI_DYNAMIC_FETCH)) raiseOra(1010);
    d->context = octxp;
    d->callback = ocbfp;
    return OCI_SUCCESS;
  });
}

extern "C" sword OCIDefineArrayOfStruct(OCIDefine* defnp, OCIError* errhp, ub4 pvskip, ub4 indskip,
                                        ub4 rlskip, ub4 rcskip) {
  DefineHandle* d = handleOf<DefineHandle>(defnp);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!d || !err) return OCI_INVALID_HANDLE;
  return guardedCall(*d->env, *err, [&](ErrorRecords&) -> sword {
    d->valueSkip = pvskip;
    d->indicatorSkip = indskip;
    d->lengthSkip = rlskip;
    d->returnCodeSkip = rcskip;
    return OCI_SUCCESS;
  });
}
