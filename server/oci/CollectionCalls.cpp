// The collection calls of the object layer over VARRAY and nested TABLE
// instances (OCIColl, OCIArray, OCITable). Indexes are 0-based. An element
// is handed out where it lies in the collection (an OCINumber *, an
// OCIString ** for a string element, an object's struct) with its
// indicator (an OCIInd, or an object element's null structure); elements
// are handed in the way OCIObjectSetAttr takes attribute values
// (ObjectImage.h's assignField). Deleting an element of a nested table
// leaves a hole: OCICollSize still counts it, OCITableSize does not.
#include <string>

#include "ObjectCall.h"
#include "ObjectImage.h"

using namespace vorn::server;
using namespace vorn::server::oci;

namespace {

OciColl& collectionOf(ObjectCache& cache, const void* p) {
  OciColl* c = cache.collection(p);
  if (!c) raiseOra(21710);
  return *c;
}

OciColl& nestedTableOf(ObjectCache& cache, const void* p) {
  OciColl& c = collectionOf(cache, p);
  if (c.type->collectionTypecode != OCI_TYPECODE_TABLE) raiseOra(22164);
  return c;
}

bool inRange(const OciColl& c, sb4 index) {
  return index >= 0 && static_cast<size_t>(index) < c.elements.size();
}

}  // namespace

extern "C" {

sword OCICollSize(OCIEnv* env, OCIError* err, const OCIColl* coll, sb4* size) {
  return objectCall(env, err, coll && size, [&](ObjectCache& cache) {
    *size = static_cast<sb4>(collectionOf(cache, coll).elements.size());
  });
}

sb4 OCICollMax(OCIEnv* envhp, const OCIColl* coll) {
  Environment* env = handleOf<Environment>(envhp);
  if (!env || !env->objectCache || !coll) return 0;
  EnvironmentLock lock(*env);
  OciColl* c = env->objectCache->collection(coll);
  return c && c->type->collectionTypecode == OCI_TYPECODE_VARRAY ? static_cast<sb4>(c->type->limit)
                                                                 : 0;
}

sword OCICollTrim(OCIEnv* env, OCIError* err, sb4 trim_num, OCIColl* coll) {
  return objectCall(env, err, coll != nullptr, [&](ObjectCache& cache) {
    OciColl& c = collectionOf(cache, coll);
    auto size = static_cast<sb4>(c.elements.size());
    if (trim_num < 0 || trim_num > size) {
      raiseOra(22167, {std::to_string(trim_num), std::to_string(size)});
    }
    for (sb4 i = 0; i < trim_num; ++i) {
      releaseElement(cache, c, c.elements.back());
      c.elements.pop_back();
    }
  });
}

sword OCICollGetElem(OCIEnv* env, OCIError* err, const OCIColl* coll, sb4 index, boolean* exists,
                     void** elem, void** elemind) {
  return objectCall(env, err, coll && exists && elem, [&](ObjectCache& cache) {
    OciColl& c = collectionOf(cache, coll);
    *elem = nullptr;
    if (elemind) *elemind = nullptr;
    *exists = inRange(c, index) && c.elements[static_cast<size_t>(index)].exists;
    if (!*exists) return;
    const OciColl::Element& e = c.elements[static_cast<size_t>(index)];
    *elem = elementValue(e);
    if (elemind) *elemind = elementIndicators(c, e);
  });
}

sword OCICollAssignElem(OCIEnv* env, OCIError* err, sb4 index, const void* elem,
                        const void* elemind, OCIColl* coll) {
  return objectCall(env, err, coll != nullptr, [&](ObjectCache& cache) {
    OciColl& c = collectionOf(cache, coll);
    if (!inRange(c, index)) {
      raiseOra(22165, {std::to_string(index), "0",
                       std::to_string(static_cast<sb4>(c.elements.size()) - 1)});
    }
    OciColl::Element& e = c.elements[static_cast<size_t>(index)];
    assignField(cache, c.type->element, elem, static_cast<const sb2*>(elemind), elementValue(e),
                elementIndicators(c, e));
    e.exists = true;
  });
}

sword OCICollAppend(OCIEnv* env, OCIError* err, const void* elem, const void* elemind,
                    OCIColl* coll) {
  return objectCall(env, err, coll != nullptr, [&](ObjectCache& cache) {
    OciColl& c = collectionOf(cache, coll);
    if (c.type->collectionTypecode == OCI_TYPECODE_VARRAY &&
        static_cast<int64_t>(c.elements.size()) >= c.type->limit) {
      raiseOra(22909);
    }
    OciColl::Element& e = appendElement(cache, c);
    try {
      assignField(cache, c.type->element, elem, static_cast<const sb2*>(elemind), elementValue(e),
                  elementIndicators(c, e));
    } catch (...) {
      releaseElement(cache, c, c.elements.back());
      c.elements.pop_back();
      throw;
    }
  });
}

sword OCITableDelete(OCIEnv* env, OCIError* err, sb4 index, OCITable* tbl) {
  return objectCall(env, err, tbl != nullptr, [&](ObjectCache& cache) {
    OciColl& c = nestedTableOf(cache, tbl);
    if (!inRange(c, index)) raiseOra(22160, {std::to_string(index)});
    OciColl::Element& e = c.elements[static_cast<size_t>(index)];
    if (!e.exists) raiseOra(22162, {std::to_string(index)});
    e.exists = false;
  });
}

sword OCITableSize(OCIEnv* env, OCIError* err, const OCITable* tbl, sb4* size) {
  return objectCall(env, err, tbl && size, [&](ObjectCache& cache) {
    const OciColl& c = nestedTableOf(cache, tbl);
    sb4 n = 0;
    for (const OciColl::Element& e : c.elements)
      n += e.exists ? 1 : 0;
    *size = n;
  });
}

sword OCITableExists(OCIEnv* env, OCIError* err, const OCITable* tbl, sb4 index, boolean* exists) {
  return objectCall(env, err, tbl && exists, [&](ObjectCache& cache) {
    const OciColl& c = nestedTableOf(cache, tbl);
    *exists = inRange(c, index) && c.elements[static_cast<size_t>(index)].exists;
  });
}

}  // extern "C"
