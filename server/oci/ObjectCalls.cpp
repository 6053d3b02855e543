// Entry points whose features arrive with later parts of the server: the
// object cache and types, collections, references, strings and raws of the
// object layer, result sets and direct path (see Unimplemented.h). The
// OCINumber conversions, which need nothing but the NUMBER format, work now.
#include <cmath>
#include <cstring>

#include "CallGuard.h"
#include "ExternalData.h"
#include "ServiceContext.h"
#include "StatementHandle.h"
#include "Unimplemented.h"
#include "value/NumberBytes.h"
#include "value/SessionValues.h"

namespace vorn::server::oci {

sword unimplementedObjectCall(OCIEnv* envhp, OCIError* errhp, bool handlesValid) {
  Environment* env = handleOf<Environment>(envhp);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!env || !err || !handlesValid) return OCI_INVALID_HANDLE;
  return guardedCall(*env, *err, [&](ErrorRecords&) -> sword {
    if (!env->objectMode) raiseOra(21301);
    raiseOra(3001);
  });
}

}  // namespace vorn::server::oci

using namespace vorn::server;
using namespace vorn::server::oci;

namespace {

bool svcOk(const OCISvcCtx* svc) {
  return svc == nullptr || handleOf<ServiceContext>(svc) != nullptr;
}

template <class Body>
sword numberCall(OCIError* errhp, Body&& body) {
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!err) return OCI_INVALID_HANDLE;
  return guardedCall(*err->env, *err, [&](ErrorRecords&) -> sword {
    body();
    return OCI_SUCCESS;
  });
}

}  // namespace

extern "C" {

// ---- Objects, the object cache, types ----

sword OCIObjectNew(OCIEnv* env, OCIError* err, const OCISvcCtx* svc, OCITypeCode, OCIType*, void*,
                   OCIDuration, boolean, void** instance) {
  return unimplementedObjectCall(env, err, svcOk(svc) && instance);
}
sword OCIObjectPin(OCIEnv* env, OCIError* err, OCIRef* ref, OCIComplexObject*, OCIPinOpt,
                   OCIDuration, OCILockOpt, void** object) {
  return unimplementedObjectCall(env, err, ref && object);
}
sword OCIObjectUnpin(OCIEnv* env, OCIError* err, void* object) {
  return unimplementedObjectCall(env, err, object != nullptr);
}
sword OCIObjectPinCountReset(OCIEnv* env, OCIError* err, void* object) {
  return unimplementedObjectCall(env, err, object != nullptr);
}
sword OCIObjectFree(OCIEnv* env, OCIError* err, void* instance, ub2) {
  return unimplementedObjectCall(env, err, instance != nullptr);
}
sword OCIObjectLock(OCIEnv* env, OCIError* err, void* object) {
  return unimplementedObjectCall(env, err, object != nullptr);
}
sword OCIObjectMarkUpdate(OCIEnv* env, OCIError* err, void* object) {
  return unimplementedObjectCall(env, err, object != nullptr);
}
sword OCIObjectUnmark(OCIEnv* env, OCIError* err, void* object) {
  return unimplementedObjectCall(env, err, object != nullptr);
}
sword OCIObjectMarkDelete(OCIEnv* env, OCIError* err, void* instance) {
  return unimplementedObjectCall(env, err, instance != nullptr);
}
sword OCIObjectFlush(OCIEnv* env, OCIError* err, void* object) {
  return unimplementedObjectCall(env, err, object != nullptr);
}
sword OCIObjectRefresh(OCIEnv* env, OCIError* err, void* object) {
  return unimplementedObjectCall(env, err, object != nullptr);
}
sword OCIObjectCopy(OCIEnv* env, OCIError* err, const OCISvcCtx* svc, void* source, void*,
                    void* target, void*, OCIType*, OCIDuration, ub1) {
  return unimplementedObjectCall(env, err, svcOk(svc) && source && target);
}
sword OCIObjectGetTypeRef(OCIEnv* env, OCIError* err, void* instance, OCIRef* type_ref) {
  return unimplementedObjectCall(env, err, instance && type_ref);
}
sword OCIObjectGetObjectRef(OCIEnv* env, OCIError* err, void* object, OCIRef* object_ref) {
  return unimplementedObjectCall(env, err, object && object_ref);
}
sword OCIObjectGetInd(OCIEnv* env, OCIError* err, void* instance, void** null_struct) {
  return unimplementedObjectCall(env, err, instance && null_struct);
}
sword OCIObjectExists(OCIEnv* env, OCIError* err, void* ins, boolean* exist) {
  return unimplementedObjectCall(env, err, ins && exist);
}
sword OCIObjectIsLocked(OCIEnv* env, OCIError* err, void* ins, boolean* lock) {
  return unimplementedObjectCall(env, err, ins && lock);
}
sword OCIObjectIsDirty(OCIEnv* env, OCIError* err, void* ins, boolean* dirty) {
  return unimplementedObjectCall(env, err, ins && dirty);
}
sword OCIObjectPinTable(OCIEnv* env, OCIError* err, const OCISvcCtx* svc, const OraText*, ub4,
                        const OraText*, ub4, const OCIRef*, OCIDuration, void** object) {
  return unimplementedObjectCall(env, err, svcOk(svc) && object);
}
sword OCIObjectGetAttr(OCIEnv* env, OCIError* err, void* instance, void*, struct OCIType*,
                       const OraText**, const ub4*, const ub4, const ub4*, const ub4, OCIInd*,
                       void**, void**, struct OCIType**) {
  return unimplementedObjectCall(env, err, instance != nullptr);
}
sword OCIObjectSetAttr(OCIEnv* env, OCIError* err, void* instance, void*, struct OCIType*,
                       const OraText**, const ub4*, const ub4, const ub4*, const ub4, const OCIInd,
                       const void*, const void*) {
  return unimplementedObjectCall(env, err, instance != nullptr);
}
sword OCICacheFlush(OCIEnv* env, OCIError* err, const OCISvcCtx* svc, void*,
                    OCIRef* (*)(void*, ub1*), OCIRef**) {
  return unimplementedObjectCall(env, err, svcOk(svc));
}
sword OCITypeByName(OCIEnv* env, OCIError* err, const OCISvcCtx* svc, const OraText*, ub4,
                    const OraText*, ub4, const OraText*, ub4, OCIDuration, OCITypeGetOpt,
                    OCIType** tdo) {
  return unimplementedObjectCall(env, err, svcOk(svc) && tdo);
}

// ---- Strings, raws, references, collections of the object layer ----

OraText* OCIStringPtr(OCIEnv*, const OCIString*) {
  return nullptr;
}
ub4 OCIStringSize(OCIEnv*, const OCIString*) {
  return 0;
}
sword OCIStringAssignText(OCIEnv* env, OCIError* err, const OraText*, ub4, OCIString** lhs) {
  return unimplementedObjectCall(env, err, lhs != nullptr);
}
sword OCIStringAssign(OCIEnv* env, OCIError* err, const OCIString* rhs, OCIString** lhs) {
  return unimplementedObjectCall(env, err, rhs && lhs);
}
sword OCIStringResize(OCIEnv* env, OCIError* err, ub4, OCIString** str) {
  return unimplementedObjectCall(env, err, str != nullptr);
}
ub1* OCIRawPtr(OCIEnv*, const OCIRaw*) {
  return nullptr;
}
ub4 OCIRawSize(OCIEnv*, const OCIRaw*) {
  return 0;
}
sword OCIRawAssignBytes(OCIEnv* env, OCIError* err, const ub1*, ub4, OCIRaw** lhs) {
  return unimplementedObjectCall(env, err, lhs != nullptr);
}
sword OCIRefAssign(OCIEnv* env, OCIError* err, const OCIRef* source, OCIRef** target) {
  return unimplementedObjectCall(env, err, source && target);
}
void OCIRefClear(OCIEnv*, OCIRef*) {}
boolean OCIRefIsNull(OCIEnv*, const OCIRef*) {
  return 1;
}
sword OCIRefFromHex(OCIEnv* env, OCIError* err, const OCISvcCtx* svc, const OraText* hex, ub4,
                    OCIRef** ref) {
  return unimplementedObjectCall(env, err, svcOk(svc) && hex && ref);
}
ub4 OCIRefHexSize(OCIEnv*, const OCIRef*) {
  return 0;
}
sword OCIRefToHex(OCIEnv* env, OCIError* err, const OCIRef* ref, OraText* hex, ub4* hex_length) {
  return unimplementedObjectCall(env, err, ref && hex && hex_length);
}
sword OCICollSize(OCIEnv* env, OCIError* err, const OCIColl* coll, sb4* size) {
  return unimplementedObjectCall(env, err, coll && size);
}
sword OCICollTrim(OCIEnv* env, OCIError* err, sb4, OCIColl* coll) {
  return unimplementedObjectCall(env, err, coll != nullptr);
}
sb4 OCICollMax(OCIEnv*, const OCIColl*) {
  return 0;
}
sword OCICollGetElem(OCIEnv* env, OCIError* err, const OCIColl* coll, sb4, boolean* exists,
                     void** elem, void**) {
  return unimplementedObjectCall(env, err, coll && exists && elem);
}
sword OCICollAssignElem(OCIEnv* env, OCIError* err, sb4, const void* elem, const void*,
                        OCIColl* coll) {
  return unimplementedObjectCall(env, err, elem && coll);
}
sword OCICollAppend(OCIEnv* env, OCIError* err, const void* elem, const void*, OCIColl* coll) {
  return unimplementedObjectCall(env, err, elem && coll);
}
sword OCITableDelete(OCIEnv* env, OCIError* err, sb4, OCITable* tbl) {
  return unimplementedObjectCall(env, err, tbl != nullptr);
}
sword OCITableSize(OCIEnv* env, OCIError* err, const OCITable* tbl, sb4* size) {
  return unimplementedObjectCall(env, err, tbl && size);
}
sword OCITableExists(OCIEnv* env, OCIError* err, const OCITable* tbl, sb4, boolean* exists) {
  return unimplementedObjectCall(env, err, tbl && exists);
}

// ---- Numbers and dates of the object layer ----

sword OCINumberFromInt(OCIError* err, const void* inum, uword inum_length, uword inum_s_flag,
                       OCINumber* number) {
  return numberCall(err, [&] {
    if (!inum || !number) raiseOra(21560, {inum ? "5" : "2"});
    ub2 dty = inum_s_flag == OCI_NUMBER_SIGNED ? SQLT_INT : SQLT_UIN;
    Value v = readValue(inum, inum_length, static_cast<sb4>(inum_length), dty);
    unsigned char bytes[kVarnumBytes] = {};
    encodeVarnum(v.kind() == Value::Kind::Integer ? OraNumber(v.asInteger())
                                                  : OraNumber::fromDouble(v.asDouble()),
                 bytes);
    std::memcpy(number->OCINumberPart, bytes, sizeof bytes);
  });
}

sword OCINumberToInt(OCIError* err, const OCINumber* number, uword rsl_length, uword rsl_flag,
                     void* rsl) {
  return numberCall(err, [&] {
    if (!number || !rsl) raiseOra(21560, {number ? "5" : "2"});
    OraNumber n = decodeVarnum(number->OCINumberPart);
    Value v = n.isInteger() ? Value::integer(n.integer()) : Value::real(n.toDouble());
    SessionValues values;
    std::string scratch;
    writeValue(ValueView::of(v),
               OutElement{rsl, static_cast<sb4>(rsl_length),
                          static_cast<ub2>(rsl_flag == OCI_NUMBER_SIGNED ? SQLT_INT : SQLT_UIN)},
               values, scratch);
  });
}

sword OCINumberFromReal(OCIError* err, const void* rnum, uword rnum_length, OCINumber* number) {
  return numberCall(err, [&] {
    if (!rnum || !number) raiseOra(21560, {rnum ? "4" : "2"});
    double d;
    if (rnum_length == sizeof(float)) {
      float f;
      std::memcpy(&f, rnum, sizeof f);
      d = f;
    } else if (rnum_length == sizeof(double)) {
      std::memcpy(&d, rnum, sizeof d);
    } else if (rnum_length == sizeof(long double)) {
      long double l;
      std::memcpy(&l, rnum, sizeof l);
      d = static_cast<double>(l);
    } else {
      raiseOra(21560, {"3"});
    }
    if (!std::isfinite(d)) raiseOra(1426);
    unsigned char bytes[kVarnumBytes] = {};
    encodeVarnum(OraNumber::fromDouble(d), bytes);
    std::memcpy(number->OCINumberPart, bytes, sizeof bytes);
  });
}

sword OCINumberToReal(OCIError* err, const OCINumber* number, uword rsl_length, void* rsl) {
  return numberCall(err, [&] {
    if (!number || !rsl) raiseOra(21560, {number ? "4" : "2"});
    double d = decodeVarnum(number->OCINumberPart).toDouble();
    if (rsl_length == sizeof(float)) {
      float f = static_cast<float>(d);
      std::memcpy(rsl, &f, sizeof f);
    } else if (rsl_length == sizeof(double)) {
      std::memcpy(rsl, &d, sizeof d);
    } else if (rsl_length == sizeof(long double)) {
      long double l = d;
      std::memcpy(rsl, &l, sizeof l);
    } else {
      raiseOra(21560, {"3"});
    }
  });
}

sword OCINumberToText(OCIError* err, const OCINumber* number, const OraText*, ub4, const OraText*,
                      ub4, ub4* buf_size, OraText* buf) {
  return unimplemented(err, number && buf_size && buf);
}
sword OCINumberFromText(OCIError* err, const OraText* str, ub4, const OraText*, ub4, const OraText*,
                        ub4, OCINumber* number) {
  return unimplemented(err, str && number);
}
sword OCIDateToText(OCIError* err, const OCIDate* date, const OraText*, ub1, const OraText*, ub4,
                    ub4* buf_size, OraText* buf) {
  return unimplemented(err, date && buf_size && buf);
}
sword OCIDateFromText(OCIError* err, const OraText* date_str, ub4, const OraText*, ub1,
                      const OraText*, ub4, OCIDate* date) {
  return unimplemented(err, date_str && date);
}

// ---- Version 7 bridge, result sets, direct path ----

sword OCIResultSetToStmt(OCIResult* rsetdp, OCIError* errhp) {
  return unimplemented(errhp, rsetdp != nullptr);
}
sword OCIDirPathPrepare(OCIDirPathCtx* dpctx, OCISvcCtx* svchp, OCIError* errhp) {
  return unimplemented(errhp, dpctx && handleOf<ServiceContext>(svchp));
}

}  // extern "C"
