// The object cache's entry points (OCIObject*, OCICacheFlush, OCITypeByName)
// over ObjectCache.h; persistent objects are read and written through the
// engine's object store (engine/ObjectStore.h) on the session they came
// from. Also the stubs of result sets and direct path, which the server
// does not have.
#include <cstring>

#include "ObjectCall.h"
#include "ObjectImage.h"
#include "ServiceContext.h"
#include "StatementHandle.h"
#include "Unimplemented.h"
#include "UserSession.h"
#include "engine/Catalog.h"
#include "engine/ObjectStore.h"
#include "engine/Session.h"

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

namespace {

Instance& persistentInstance(ObjectCache& cache, const void* p) {
  Instance& i = instanceOf(cache, p);
  if (i.lifetime != Lifetime::Persistent) raiseOra(21708);
  return i;
}

ObjectLock lockOf(OCILockOpt option) {
  switch (option) {
    case OCI_LOCK_X:
      return ObjectLock::Wait;
    case OCI_LOCK_X_NOWAIT:
      return ObjectLock::NoWait;
    default:
      return ObjectLock::None;
  }
}

// Reads a persistent instance's row again (and locks it when asked).
void reload(ObjectCache& cache, Instance& inst, ObjectLock lock) {
  UserSession& session = cache.session(inst.origin);
  std::optional<Value> v = loadObject(*session.engine, inst.ref, lock);
  if (!v) raiseOra(21700);
  loadImage(cache, *inst.type, static_cast<unsigned char*>(inst.image), inst.nulls.get(), *v);
}

Value instanceValue(const ObjectCache& cache, const Instance& inst) {
  if (inst.type->isCollection()) {
    return collectionValue(cache, *static_cast<const OciColl*>(inst.image));
  }
  return imageValue(cache, *inst.type, static_cast<const unsigned char*>(inst.image),
                    inst.nulls.get());
}

// The field a path of attribute names leads to, with where its value and
// indicators are.
struct AttributeSpot {
  const FieldLayout* field = nullptr;
  unsigned char* at = nullptr;
  sb2* ind = nullptr;
};

AttributeSpot findAttribute(ObjectCache& cache, void* instance, void* nullStruct, OCIType* tdo,
                            const OraText** names, const ub4* lengths, ub4 nameCount,
                            ub4 indexCount) {
  if (!instance) raiseOra(21560, {"3"});
  const TypeDescriptor* type = cache.typeOf(tdo);
  Instance* inst = cache.instance(instance);
  if (!type && inst) type = inst->type;
  if (!type || type->isCollection()) raiseOra(21560, {"5"});
  sb2* nulls = static_cast<sb2*>(nullStruct);
  if (!nulls && inst) nulls = inst->nulls.get();
  if (!nulls) raiseOra(21560, {"4"});
  if (!names || nameCount == 0) raiseOra(21560, {"6"});
  // Indexes into collections on the way are not followed.
  if (indexCount > 0) raiseOra(3001);
  AttributeSpot spot;
  auto* image = static_cast<unsigned char*>(instance);
  for (ub4 i = 0; i < nameCount; ++i) {
    if (!names[i]) raiseOra(21560, {"6"});
    std::string name(reinterpret_cast<const char*>(names[i]), lengths ? lengths[i] : 0);
    if (i > 0) {
      if (!spot.field->isInlineObject()) raiseOra(21601);
      type = spot.field->nested;
      image = spot.at;
      nulls = spot.ind;
    }
    const FieldLayout* f = type->field(name);
    if (!f) raiseOra(22305, {name});
    spot.field = f;
    spot.at = image + f->offset;
    spot.ind = nulls + f->nullIndex;
  }
  return spot;
}

void flushAll(ObjectCache& cache, UserSession* session) {
  for (Instance* inst : cache.dirtyInstances(session))
    flushInstance(cache, *inst);
}

}  // namespace

void flushInstance(ObjectCache& cache, Instance& inst) {
  if (!inst.isDirty()) return;
  UserSession& session = cache.session(inst.origin);
  Session& engine = *session.engine;
  if (inst.deleted) {
    if (!inst.isNew) deleteObject(engine, inst.ref);
    inst.gone = true;
  } else if (inst.isNew) {
    insertObject(engine, inst.ref, instanceValue(cache, inst));
  } else {
    updateObject(engine, inst.ref, instanceValue(cache, inst));
  }
  inst.isNew = inst.updated = inst.deleted = false;
}

void flushSessionObjects(Environment& env, UserSession& session) {
  if (!env.objectCache) return;
  flushAll(*env.objectCache, &session);
}

}  // namespace vorn::server::oci

using namespace vorn::server;
using namespace vorn::server::oci;

extern "C" {

sword OCIObjectNew(OCIEnv* env, OCIError* err, const OCISvcCtx* svc, OCITypeCode typecode,
                   OCIType* tdo, void* table, OCIDuration, boolean value, void** instance) {
  ServiceContext* service = handleOf<ServiceContext>(svc);
  return objectCall(env, err, (!svc || service) && instance, [&](ObjectCache& cache) {
    *instance = nullptr;
    UserSession* session = service ? &service->loggedOnSession() : nullptr;
    switch (typecode) {
      case OCI_TYPECODE_REF:
        *instance = cache.newRef();
        return;
      case OCI_TYPECODE_VARCHAR2:
      case OCI_TYPECODE_VARCHAR:
      case OCI_TYPECODE_CHAR:
        *instance = cache.newString();
        return;
      case OCI_TYPECODE_RAW:
        *instance = cache.newRaw();
        return;
      case OCI_TYPECODE_NUMBER:
      case OCI_TYPECODE_INTEGER:
      case OCI_TYPECODE_FLOAT:
      case OCI_TYPECODE_DECIMAL:
      case OCI_TYPECODE_SMALLINT:
        *instance = cache.newNumber();
        return;
      case OCI_TYPECODE_DATE:
        *instance = cache.newDate();
        return;
      case OCI_TYPECODE_CLOB:
      case OCI_TYPECODE_BLOB:
      case OCI_TYPECODE_BFILE: {
        ub4 kind = typecode == OCI_TYPECODE_BFILE ? OCI_DTYPE_FILE : OCI_DTYPE_LOB;
        if (OCIDescriptorAlloc(env, instance, kind, 0, nullptr) != OCI_SUCCESS)
          raiseOra(21560, {"9"});
        return;
      }
      case OCI_TYPECODE_OBJECT:
      case OCI_TYPECODE_NAMEDCOLLECTION:
      case OCI_TYPECODE_VARRAY:
      case OCI_TYPECODE_TABLE:
        break;
      default:
        raiseOra(21602);
    }
    // The descriptor decides between an object and a collection (a caller
    // may pass a collection column's describe code, 108, for either).
    TypeDescriptor* type = cache.typeOf(tdo);
    if (!type) raiseOra(21560, {"5"});
    if (!table) {
      Instance& inst = cache.newInstance(*type, value ? Lifetime::Value : Lifetime::Transient);
      *instance = inst.image;
      return;
    }
    // A new row object of a pinned table: it has its REF at once and is
    // inserted when flushed.
    PinnedTable* pinned = cache.pinnedTable(table);
    if (!pinned || value) raiseOra(21560, {"6"});
    if (pinned->type->obj != type->obj) {
      raiseOra(932,
               {pinned->type->owner + "." + pinned->type->name, type->owner + "." + type->name});
    }
    UserSession& owner = cache.session(pinned->origin ? pinned->origin : session);
    const TableInfo* t = owner.engine->catalog()->tableById(pinned->table);
    if (!t || !t->ofType) raiseOra(942);
    Instance& inst = cache.newInstance(*type, Lifetime::Persistent);
    cache.makePersistent(inst, newObjectRef(*t), &owner);
    inst.isNew = true;
    inst.pins = 1;
    *instance = inst.image;
  });
}

sword OCIObjectPin(OCIEnv* env, OCIError* err, OCIRef* object_ref, OCIComplexObject*,
                   OCIPinOpt pin_option, OCIDuration, OCILockOpt lock_option, void** object) {
  return objectCall(env, err, object_ref && object, [&](ObjectCache& cache) {
    *object = nullptr;
    OciRef* ref = cache.ref(object_ref);
    if (!ref) raiseOra(21560, {"3"});
    if (ref->bytes.empty()) raiseOra(22880);
    int64_t typeObj = 0;
    if (decodeTypeRef(ref->bytes, typeObj)) {
      *object = &cache.type(cache.session(ref->origin), typeObj);
      return;
    }
    RefValue target;
    if (!decodeRef(ref->bytes, target)) raiseOra(22880);
    ObjectLock lock = lockOf(lock_option);
    if (Instance* inst = cache.persistent(ref->bytes)) {
      if (inst->deleted || inst->gone) raiseOra(21700);
      if (!inst->isNew && !inst->isDirty() &&
          (pin_option == OCI_PIN_LATEST || lock != ObjectLock::None)) {
        reload(cache, *inst, lock);
      }
      ++inst->pins;
      *object = inst->image;
      return;
    }
    UserSession& session = cache.session(ref->origin);
    std::optional<Value> v = loadObject(*session.engine, target, lock);
    if (!v) raiseOra(21700);
    const TableInfo& t = objectTableOf(*session.engine->catalog(), target);
    TypeDescriptor& type = cache.type(session, t.ofType->obj);
    Instance& inst = cache.newInstance(type, Lifetime::Persistent);
    loadImage(cache, type, static_cast<unsigned char*>(inst.image), inst.nulls.get(), *v);
    cache.makePersistent(inst, target, &session);
    inst.pins = 1;
    *object = inst.image;
  });
}

sword OCIObjectUnpin(OCIEnv* env, OCIError* err, void* object) {
  return objectCall(env, err, object != nullptr, [&](ObjectCache& cache) {
    if (cache.typeOf(object)) return;  // type descriptors stay pinned for the cache's life
    Instance& inst = instanceOf(cache, object);
    if (inst.pins > 0) --inst.pins;
  });
}

sword OCIObjectPinCountReset(OCIEnv* env, OCIError* err, void* object) {
  return objectCall(env, err, object != nullptr, [&](ObjectCache& cache) {
    if (cache.typeOf(object)) return;
    instanceOf(cache, object).pins = 0;
  });
}

sword OCIObjectFree(OCIEnv* env, OCIError* err, void* instance, ub2 flags) {
  return objectCall(env, err, instance != nullptr, [&](ObjectCache& cache) {
    if (Instance* inst = cache.instance(instance)) {
      // Changes not yet written would be lost.
      if (inst->lifetime == Lifetime::Persistent && inst->isDirty() &&
          !(flags & OCI_OBJECTFREE_FORCE)) {
        raiseOra(21606);
      }
      cache.freeInstance(*inst);
      return;
    }
    if (cache.typeOf(instance)) return;
    if (cache.string(instance) || cache.raw(instance) || cache.ref(instance) ||
        cache.collection(instance) || cache.pinnedTable(instance) ||
        cache.isScalarBlock(instance)) {
      cache.release(instance);
      return;
    }
    if (anyHandleOf(instance, OCI_DTYPE_LOB)) {
      OCIDescriptorFree(instance, OCI_DTYPE_LOB);
      return;
    }
    if (anyHandleOf(instance, OCI_DTYPE_FILE)) {
      OCIDescriptorFree(instance, OCI_DTYPE_FILE);
      return;
    }
    raiseOra(21710);
  });
}

sword OCIObjectLock(OCIEnv* env, OCIError* err, void* object) {
  return objectCall(env, err, object != nullptr, [&](ObjectCache& cache) {
    Instance& inst = persistentInstance(cache, object);
    if (inst.deleted || inst.gone) raiseOra(21700);
    if (inst.isNew) return;  // not in the table yet: nobody else can have it
    UserSession& session = cache.session(inst.origin);
    if (!loadObject(*session.engine, inst.ref, ObjectLock::Wait)) raiseOra(21700);
  });
}

sword OCIObjectMarkUpdate(OCIEnv* env, OCIError* err, void* object) {
  return objectCall(env, err, object != nullptr, [&](ObjectCache& cache) {
    Instance& inst = instanceOf(cache, object);
    if (inst.lifetime == Lifetime::Value) raiseOra(21708);
    if (inst.deleted || inst.gone) raiseOra(21700);
    if (!inst.isNew) inst.updated = true;
  });
}

sword OCIObjectUnmark(OCIEnv* env, OCIError* err, void* object) {
  return objectCall(env, err, object != nullptr, [&](ObjectCache& cache) {
    Instance& inst = instanceOf(cache, object);
    inst.isNew = inst.updated = inst.deleted = false;
  });
}

sword OCIObjectMarkDelete(OCIEnv* env, OCIError* err, void* instance) {
  return objectCall(env, err, instance != nullptr, [&](ObjectCache& cache) {
    Instance& inst = persistentInstance(cache, instance);
    if (inst.gone) raiseOra(21700);
    inst.deleted = true;
  });
}

sword OCIObjectFlush(OCIEnv* env, OCIError* err, void* object) {
  return objectCall(env, err, object != nullptr, [&](ObjectCache& cache) {
    flushInstance(cache, persistentInstance(cache, object));
  });
}

sword OCIObjectRefresh(OCIEnv* env, OCIError* err, void* object) {
  return objectCall(env, err, object != nullptr, [&](ObjectCache& cache) {
    Instance& inst = persistentInstance(cache, object);
    if (inst.isDirty()) raiseOra(21709);
    if (inst.gone) raiseOra(21700);
    reload(cache, inst, ObjectLock::None);
  });
}

sword OCIObjectCopy(OCIEnv* env, OCIError* err, const OCISvcCtx* svc, void* source,
                    void* null_source, void* target, void* null_target, OCIType* tdo, OCIDuration,
                    ub1 option) {
  return objectCall(env, err, (!svc || handleOf<ServiceContext>(svc)) && source && target,
                    [&](ObjectCache& cache) {
                      const TypeDescriptor* type = cache.typeOf(tdo);
                      if (!type) raiseOra(21560, {"8"});
                      if (type->isCollection()) {
                        OciColl* from = cache.collection(source);
                        OciColl* to = cache.collection(target);
                        if (!from || !to) raiseOra(21710);
                        if (from->type->obj != type->obj || to->type->obj != type->obj) {
                          raiseOra(22163);
                        }
                        copyCollection(cache, *from, *to);
                        return;
                      }
                      Instance* src = cache.instance(source);
                      Instance* dst = cache.instance(target);
                      auto* fromNulls = static_cast<sb2*>(null_source);
                      auto* toNulls = static_cast<sb2*>(null_target);
                      if (!fromNulls && src) fromNulls = src->nulls.get();
                      if (!toNulls && dst) toNulls = dst->nulls.get();
                      if (!fromNulls || !toNulls) raiseOra(21560, {fromNulls ? "7" : "5"});
                      auto* to = static_cast<unsigned char*>(target);
                      copyImage(cache, *type, static_cast<const unsigned char*>(source), fromNulls,
                                to, toNulls);
                      if (option & OCI_OBJECTCOPY_NOREF) {
                        for (const FieldLayout& f : type->attributes) {
                          if (f.typecode != OCI_TYPECODE_REF) continue;
                          if (OciRef* r = cache.ref(slotPointer(to + f.offset))) r->bytes.clear();
                          toNulls[f.nullIndex] = OCI_IND_NULL;
                        }
                      }
                      if (dst && dst->lifetime == Lifetime::Persistent && !dst->isNew) {
                        dst->updated = true;
                      }
                    });
}

sword OCIObjectGetTypeRef(OCIEnv* env, OCIError* err, void* instance, OCIRef* type_ref) {
  return objectCall(env, err, instance && type_ref, [&](ObjectCache& cache) {
    Instance& inst = instanceOf(cache, instance);
    OciRef* ref = cache.ref(type_ref);
    if (!ref) raiseOra(21560, {"4"});
    ref->bytes = typeRefBytes(inst.type->obj);
    ref->origin = inst.origin;
  });
}

sword OCIObjectGetObjectRef(OCIEnv* env, OCIError* err, void* object, OCIRef* object_ref) {
  return objectCall(env, err, object && object_ref, [&](ObjectCache& cache) {
    Instance& inst = persistentInstance(cache, object);
    OciRef* ref = cache.ref(object_ref);
    if (!ref) raiseOra(21560, {"4"});
    ref->bytes = encodeRef(inst.ref);
    ref->origin = inst.origin;
  });
}

sword OCIObjectGetInd(OCIEnv* env, OCIError* err, void* instance, void** null_struct) {
  return objectCall(env, err, instance && null_struct, [&](ObjectCache& cache) {
    *null_struct = instanceOf(cache, instance).nulls.get();
  });
}

sword OCIObjectExists(OCIEnv* env, OCIError* err, void* ins, boolean* exist) {
  return objectCall(env, err, ins && exist, [&](ObjectCache& cache) {
    Instance& inst = instanceOf(cache, ins);
    *exist = inst.lifetime != Lifetime::Persistent || (!inst.deleted && !inst.gone);
  });
}

sword OCIObjectIsLocked(OCIEnv* env, OCIError* err, void* ins, boolean* lock) {
  return objectCall(env, err, ins && lock, [&](ObjectCache& cache) {
    Instance& inst = persistentInstance(cache, ins);
    if (inst.isNew || inst.gone) {
      *lock = inst.isNew;
      return;
    }
    *lock = objectRowLocked(*cache.session(inst.origin).engine, inst.ref);
  });
}

sword OCIObjectIsDirty(OCIEnv* env, OCIError* err, void* ins, boolean* dirty) {
  return objectCall(env, err, ins && dirty,
                    [&](ObjectCache& cache) { *dirty = instanceOf(cache, ins).isDirty(); });
}

sword OCIObjectPinTable(OCIEnv* env, OCIError* err, const OCISvcCtx* svc,
                        const OraText* schema_name, ub4 s_n_length, const OraText* object_name,
                        ub4 o_n_length, const OCIRef*, OCIDuration, void** object) {
  ServiceContext* service = handleOf<ServiceContext>(svc);
  return objectCall(env, err, service && object, [&](ObjectCache& cache) {
    *object = nullptr;
    if (!object_name || o_n_length == 0) raiseOra(21560, {"6"});
    UserSession& session = service->loggedOnSession();
    std::vector<std::string> name;
    if (schema_name && s_n_length > 0)
      name.emplace_back(reinterpret_cast<const char*>(schema_name), s_n_length);
    name.emplace_back(reinterpret_cast<const char*>(object_name), o_n_length);
    auto catalog = session.engine->catalog();
    const ObjectRef* ref = catalog->resolve(session.engine->user(), name);
    if (!ref || ref->type != ObjectType::Table || !ref->table()->ofType) {
      raiseOra(4043, {name.back()});
    }
    const TableInfo* t = ref->table();
    TypeDescriptor& type = cache.type(session, t->ofType->obj);
    *object = cache.newPinnedTable(t->obj, type, &session);
  });
}

sword OCIObjectGetAttr(OCIEnv* env, OCIError* err, void* instance, void* null_struct,
                       struct OCIType* tdo, const OraText** names, const ub4* lengths,
                       const ub4 name_count, const ub4*, const ub4 index_count,
                       OCIInd* attr_null_status, void** attr_null_struct, void** attr_value,
                       struct OCIType** attr_tdo) {
  return objectCall(env, err, instance != nullptr, [&](ObjectCache& cache) {
    AttributeSpot spot =
        findAttribute(cache, instance, null_struct, tdo, names, lengths, name_count, index_count);
    const FieldLayout& f = *spot.field;
    if (attr_null_status) *attr_null_status = spot.ind[0];
    if (attr_null_struct) *attr_null_struct = f.isInlineObject() ? spot.ind : nullptr;
    if (attr_value) *attr_value = spot.at;
    if (attr_tdo) {
      *attr_tdo =
          f.nested ? reinterpret_cast<OCIType*>(const_cast<TypeDescriptor*>(f.nested)) : nullptr;
    }
  });
}

sword OCIObjectSetAttr(OCIEnv* env, OCIError* err, void* instance, void* null_struct,
                       struct OCIType* tdo, const OraText** names, const ub4* lengths,
                       const ub4 name_count, const ub4*, const ub4 index_count,
                       const OCIInd null_status, const void* attr_null_struct,
                       const void* attr_value) {
  return objectCall(env, err, instance != nullptr, [&](ObjectCache& cache) {
    AttributeSpot spot =
        findAttribute(cache, instance, null_struct, tdo, names, lengths, name_count, index_count);
    if (null_status == OCI_IND_NULL) {
      setFieldNull(*spot.field, spot.ind);
      return;
    }
    assignField(cache, *spot.field, attr_value,
                spot.field->isInlineObject() ? static_cast<const sb2*>(attr_null_struct) : nullptr,
                spot.at, spot.ind);
  });
}

sword OCICacheFlush(OCIEnv* env, OCIError* err, const OCISvcCtx* svc, void* context,
                    OCIRef* (*get)(void* context, ub1* last), OCIRef** ref) {
  ServiceContext* service = handleOf<ServiceContext>(svc);
  return objectCall(env, err, !svc || service, [&](ObjectCache& cache) {
    if (ref) *ref = nullptr;
    UserSession* session = service ? &service->loggedOnSession() : nullptr;
    if (!get) {
      flushAll(cache, session);
      return;
    }
    // The caller names the objects, one REF per call of `get`.
    for (ub1 last = 0; !last;) {
      OCIRef* next = get(context, &last);
      OciRef* r = cache.ref(next);
      if (!r) continue;
      if (Instance* inst = cache.persistent(r->bytes)) flushInstance(cache, *inst);
    }
  });
}

sword OCITypeByName(OCIEnv* env, OCIError* err, const OCISvcCtx* svc, const OraText* schema_name,
                    ub4 s_length, const OraText* type_name, ub4 t_length, const OraText*, ub4,
                    OCIDuration, OCITypeGetOpt, OCIType** tdo) {
  ServiceContext* service = handleOf<ServiceContext>(svc);
  return objectCall(env, err, service && tdo, [&](ObjectCache& cache) {
    *tdo = nullptr;
    if (!type_name || t_length == 0) raiseOra(21560, {"6"});
    std::string schema =
        schema_name ? std::string(reinterpret_cast<const char*>(schema_name), s_length) : "";
    std::string name(reinterpret_cast<const char*>(type_name), t_length);
    TypeDescriptor& type = cache.typeByName(service->loggedOnSession(), schema, name);
    *tdo = reinterpret_cast<OCIType*>(&type);
  });
}

// ---- Version 7 bridge, result sets, direct path ----

sword OCIResultSetToStmt(OCIResult* rsetdp, OCIError* errhp) {
  return unimplemented(errhp, rsetdp != nullptr);
}
sword OCIDirPathPrepare(OCIDirPathCtx* dpctx, OCISvcCtx* svchp, OCIError* errhp) {
  return unimplemented(errhp, dpctx && handleOf<ServiceContext>(svchp));
}

}  // extern "C"
