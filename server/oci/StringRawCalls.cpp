// The variable-length strings (OCIString) and raws (OCIRaw) of the object
// layer: what the string and RAW attributes of instances point to, and what
// a caller makes to assign to them.
#include "ObjectCall.h"

using namespace vorn::server;
using namespace vorn::server::oci;

namespace {

template <class T, class Find>
T* lookup(OCIEnv* envhp, const void* p, Find&& find) {
  Environment* env = handleOf<Environment>(envhp);
  if (!env || !env->objectCache || !p) return nullptr;
  EnvironmentLock lock(*env);
  return find(*env->objectCache, p);
}

OciString* stringOf(OCIEnv* env, const OCIString* s) {
  return lookup<OciString>(env, s, [](ObjectCache& c, const void* p) { return c.string(p); });
}

OciRaw* rawOf(OCIEnv* env, const OCIRaw* r) {
  return lookup<OciRaw>(env, r, [](ObjectCache& c, const void* p) { return c.raw(p); });
}

// The string an assignment goes to: the caller's, or a new one.
OciString& stringTarget(ObjectCache& cache, OCIString** lhs) {
  if (!*lhs) {
    OciString* made = cache.newString();
    *lhs = reinterpret_cast<OCIString*>(made);
    return *made;
  }
  OciString* s = cache.string(*lhs);
  if (!s) raiseOra(21710);
  return *s;
}

}  // namespace

extern "C" {

OraText* OCIStringPtr(OCIEnv* env, const OCIString* vs) {
  OciString* s = stringOf(env, vs);
  return s ? reinterpret_cast<OraText*>(s->text.data()) : nullptr;
}

ub4 OCIStringSize(OCIEnv* env, const OCIString* vs) {
  OciString* s = stringOf(env, vs);
  return s ? static_cast<ub4>(s->text.size()) : 0;
}

sword OCIStringAssignText(OCIEnv* env, OCIError* err, const OraText* rhs, ub4 rhs_len,
                          OCIString** lhs) {
  return objectCall(env, err, lhs && (rhs || rhs_len == 0), [&](ObjectCache& cache) {
    stringTarget(cache, lhs).text.assign(reinterpret_cast<const char*>(rhs), rhs_len);
  });
}

sword OCIStringAssign(OCIEnv* env, OCIError* err, const OCIString* rhs, OCIString** lhs) {
  return objectCall(env, err, rhs && lhs, [&](ObjectCache& cache) {
    OciString* from = cache.string(rhs);
    if (!from) raiseOra(21560, {"3"});
    OciString& to = stringTarget(cache, lhs);
    if (&to != from) to.text = from->text;
  });
}

sword OCIStringResize(OCIEnv* env, OCIError* err, ub4 new_size, OCIString** str) {
  return objectCall(env, err, str != nullptr, [&](ObjectCache& cache) {
    // Size 0 frees the string.
    if (new_size == 0) {
      if (*str && !cache.string(*str)) raiseOra(21710);
      cache.release(*str);
      *str = nullptr;
      return;
    }
    OciString& s = stringTarget(cache, str);
    if (s.text.size() > new_size) s.text.resize(new_size);
    s.text.reserve(new_size);
  });
}

ub1* OCIRawPtr(OCIEnv* env, const OCIRaw* raw) {
  OciRaw* r = rawOf(env, raw);
  return r ? reinterpret_cast<ub1*>(r->bytes.data()) : nullptr;
}

ub4 OCIRawSize(OCIEnv* env, const OCIRaw* raw) {
  OciRaw* r = rawOf(env, raw);
  return r ? static_cast<ub4>(r->bytes.size()) : 0;
}

sword OCIRawAssignBytes(OCIEnv* env, OCIError* err, const ub1* rhs, ub4 rhs_len, OCIRaw** lhs) {
  return objectCall(env, err, lhs && (rhs || rhs_len == 0), [&](ObjectCache& cache) {
    OciRaw* to = nullptr;
    if (!*lhs) {
      to = cache.newRaw();
      *lhs = reinterpret_cast<OCIRaw*>(to);
    } else {
      to = cache.raw(*lhs);
      if (!to) raiseOra(21710);
    }
    to->bytes.assign(reinterpret_cast<const char*>(rhs), rhs_len);
  });
}

}  // extern "C"
