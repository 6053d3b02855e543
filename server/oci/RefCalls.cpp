// The REF calls of the object layer: assign, clear, is-null, and the
// hexadecimal form of a REF (OCIRefToHex, OCIRefFromHex, OCIRefHexSize).
// A REF is a row object's (engine/ObjectValue.h) or a type descriptor's
// (TypeDescriptor.h); its hexadecimal text is its bytes in hexadecimal.
#include <cstring>

#include "ObjectCall.h"
#include "ServiceContext.h"
#include "TypeDescriptor.h"
#include "UserSession.h"
#include "engine/Catalog.h"
#include "engine/ObjectStore.h"
#include "engine/Session.h"
#include "value/RawHex.h"

using namespace vorn::server;
using namespace vorn::server::oci;

namespace {

// The cache's REF behind `p` for the calls without an error handle (null
// when the environment is no object-mode environment or `p` is no REF).
OciRef* refOf(OCIEnv* envhp, const OCIRef* p) {
  Environment* env = handleOf<Environment>(envhp);
  if (!env || !env->objectCache || !p) return nullptr;
  EnvironmentLock lock(*env);
  return env->objectCache->ref(p);
}

// Where a REF assignment goes: the caller's REF, or a new one when it gave
// none.
OciRef& target(ObjectCache& cache, OCIRef** ref) {
  if (!*ref) {
    OciRef* made = cache.newRef();
    *ref = reinterpret_cast<OCIRef*>(made);
    return *made;
  }
  OciRef* r = cache.ref(*ref);
  if (!r) raiseOra(21710);
  return *r;
}

}  // namespace

extern "C" {

sword OCIRefAssign(OCIEnv* env, OCIError* err, const OCIRef* source, OCIRef** target_ref) {
  return objectCall(env, err, source && target_ref, [&](ObjectCache& cache) {
    OciRef* from = cache.ref(source);
    if (!from) raiseOra(21560, {"3"});
    OciRef& to = target(cache, target_ref);
    to.bytes = from->bytes;
    to.origin = from->origin;
  });
}

void OCIRefClear(OCIEnv* envhp, OCIRef* ref) {
  Environment* env = handleOf<Environment>(envhp);
  if (!env || !env->objectCache || !ref) return;
  EnvironmentLock lock(*env);
  if (OciRef* r = env->objectCache->ref(ref)) r->bytes.clear();
}

boolean OCIRefIsNull(OCIEnv* env, const OCIRef* ref) {
  OciRef* r = refOf(env, ref);
  return !r || r->bytes.empty();
}

sword OCIRefFromHex(OCIEnv* env, OCIError* err, const OCISvcCtx* svc, const OraText* hex,
                    ub4 length, OCIRef** ref) {
  ServiceContext* service = handleOf<ServiceContext>(svc);
  return objectCall(env, err, service && hex && ref, [&](ObjectCache& cache) {
    UserSession& session = service->loggedOnSession();
    std::string bytes = hexToRaw(std::string_view(reinterpret_cast<const char*>(hex), length));
    // Only a REF of this database is one: a row object's of an existing
    // object table, or a type's.
    RefValue row;
    int64_t typeObj = 0;
    auto catalog = session.engine->catalog();
    if (decodeRef(bytes, row)) {
      objectTableOf(*catalog, row);
    } else if (!decodeTypeRef(bytes, typeObj) || !catalog->typeById(typeObj)) {
      raiseOra(22880);
    }
    OciRef& to = target(cache, ref);
    to.bytes = std::move(bytes);
    to.origin = &session;
  });
}

ub4 OCIRefHexSize(OCIEnv* env, const OCIRef* ref) {
  OciRef* r = refOf(env, ref);
  return r ? static_cast<ub4>(2 * r->bytes.size()) : 0;
}

sword OCIRefToHex(OCIEnv* env, OCIError* err, const OCIRef* ref, OraText* hex, ub4* hex_length) {
  return objectCall(env, err, ref && hex && hex_length, [&](ObjectCache& cache) {
    OciRef* r = cache.ref(ref);
    if (!r) raiseOra(21560, {"3"});
    std::string text = rawToHex(r->bytes);
    if (text.size() > *hex_length) raiseOra(21560, {"5"});
    std::memcpy(hex, text.data(), text.size());
    *hex_length = static_cast<ub4>(text.size());
  });
}

}  // extern "C"
