// Defines and binds of named types and REFs; see ObjectBinding.h.
#include "ObjectBinding.h"

#include <cstring>

#include "BindHandle.h"
#include "CallGuard.h"
#include "DefineHandle.h"
#include "ExternalData.h"
#include "ObjectCache.h"
#include "ObjectImage.h"
#include "ParamDescriptor.h"
#include "StatementHandle.h"
#include "engine/Catalog.h"
#include "engine/ObjectTypes.h"
#include "engine/Session.h"
#include "engine/Statement.h"

namespace vorn::server::oci {

namespace {

Value valueOf(const ValueView& v) {
  return v.isNull() ? Value() : Value::raw(std::string(v.bytes));
}

// Where the caller keeps element `index`'s instance pointer: the array
// OCIDefineObject or OCIBindObject gave, else the define's or bind's own
// buffer (REFs).
void** instanceSlot(const ObjectTarget& target, void* buffer, ub4 skip, ub4 index) {
  if (target.instances) return target.instances + index;
  if (!buffer) raiseOra(1009);
  return static_cast<void**>(elementAt(buffer, index, skip ? skip : sizeof(void*)));
}

std::string qualified(const TypeDescriptor& t) {
  return t.owner + "." + t.name;
}

}  // namespace

void writeObjectRow(DefineHandle& d, const ValueView& v, ub4 row, UserSession* session) {
  ObjectCache& cache = objectCacheOf(*d.env);
  void** slot = instanceSlot(d.object, d.value, d.valueSkip, row);
  auto* indicator = static_cast<sb2*>(elementAt(d.indicators, row, d.indicatorSkip));
  if (indicator) *indicator = v.isNull() ? -1 : 0;
  if (d.dty == SQLT_REF) {
    OciRef* ref = *slot ? cache.ref(*slot) : cache.newRef();
    if (!ref) raiseOra(21710);
    *slot = ref;
    ref->bytes = v.isNull() ? std::string() : std::string(v.bytes);
    ref->origin = session;
    if (d.object.nulls && d.object.nulls[row]) {
      *static_cast<sb2*>(d.object.nulls[row]) = v.isNull() ? OCI_IND_NULL : OCI_IND_NOTNULL;
    }
    return;
  }
  const TypeDescriptor* type = d.object.type;
  if (!type) raiseOra(1009);
  Instance* inst = *slot ? cache.instance(*slot) : &cache.newInstance(*type, Lifetime::Value);
  if (!inst) raiseOra(21710);
  if (inst->type->obj != type->obj) raiseOra(932, {qualified(*type), qualified(*inst->type)});
  *slot = inst->image;
  if (type->isCollection()) {
    loadCollection(cache, *static_cast<OciColl*>(inst->image), valueOf(v));
    inst->nulls[0] = v.isNull() ? OCI_IND_NULL : OCI_IND_NOTNULL;
  } else {
    loadImage(cache, *type, static_cast<unsigned char*>(inst->image), inst->nulls.get(),
              valueOf(v));
  }
  if (d.object.nulls) {
    void*& nulls = d.object.nulls[row];
    if (!nulls) {
      nulls = inst->nulls.get();
    } else if (nulls != inst->nulls.get()) {
      std::memcpy(nulls, inst->nulls.get(), type->nullCount * sizeof(sb2));
    }
  }
}

void checkObjectDefine(const DefineHandle& d, const ParamDescriptor& column) {
  bool named = column.dataType == SQLT_NTY || column.dataType == SQLT_REF;
  if (!named && !isObjectType(d.dty)) return;
  std::string columnType = named ? column.schemaName + "." + column.typeName : "CHAR";
  if (column.dataType == SQLT_REF) columnType = "REF " + columnType;
  if (!named || d.dty != column.dataType) {
    std::string defined = d.dty == SQLT_NTY && d.object.type ? qualified(*d.object.type)
                          : d.dty == SQLT_REF                ? "REF"
                                                             : "CHAR";
    raiseOra(932, {defined, columnType});
  }
  if (d.dty == SQLT_NTY && d.object.type && d.object.type->obj != column.typeObj) {
    raiseOra(932, {qualified(*d.object.type), columnType});
  }
}

void bindObjectInput(BindHandle& b, ub4 iteration, Statement& engine) {
  ObjectCache& cache = objectCacheOf(*b.env);
  void** slot = instanceSlot(b.object, b.value, b.valueSkip, iteration);
  const auto* indicator =
      static_cast<const sb2*>(elementAt(b.indicators, iteration, b.indicatorSkip));
  Value v;
  OraType type;  // kind Null: goes with any type
  if (b.dty == SQLT_REF) {
    OciRef* ref = *slot ? cache.ref(*slot) : nullptr;
    if (*slot && !ref) raiseOra(21710);
    bool isNull = !ref || ref->bytes.empty() || (indicator && *indicator == -1);
    RefValue row;
    if (!isNull) {
      if (!decodeRef(ref->bytes, row)) raiseOra(22880);
      v = Value::raw(ref->bytes);
    }
    // The REF's type: the bound type's, else that of the table it points into.
    const TypeInfo* target = b.object.type ? b.object.type->info : nullptr;
    if (!target && !isNull) {
      const TableInfo* t = engine.session().catalog()->tableById(row.table);
      if (t) target = t->ofType;
    }
    if (target) type = refType(*target);
  } else {
    const TypeDescriptor* t = b.object.type;
    if (!t || !*slot) raiseOra(1009);
    if (t->isCollection()) {
      OciColl* coll = cache.collection(*slot);
      if (!coll) raiseOra(21710);
      const sb2* nulls = b.object.nulls && b.object.nulls[iteration]
                             ? static_cast<const sb2*>(b.object.nulls[iteration])
                             : nullptr;
      Instance* inst = cache.instance(*slot);
      if (!nulls && inst) nulls = inst->nulls.get();
      bool isNull = (nulls && nulls[0] == OCI_IND_NULL) || (indicator && *indicator == -1);
      if (!isNull) v = collectionValue(cache, *coll);
    } else {
      Instance* inst = cache.instance(*slot);
      const sb2* nulls = b.object.nulls && b.object.nulls[iteration]
                             ? static_cast<const sb2*>(b.object.nulls[iteration])
                             : (inst ? inst->nulls.get() : nullptr);
      if (!nulls) raiseOra(21560, {"6"});
      if (!(indicator && *indicator == -1)) {
        v = imageValue(cache, *t, static_cast<const unsigned char*>(*slot), nulls);
      }
    }
    type = userDefinedType(*t->info);
  }
  if (!b.name.empty()) {
    engine.bindTyped(b.name, v, type);
  } else {
    engine.bindTyped(static_cast<int>(b.position), v, type);
  }
}

}  // namespace vorn::server::oci

using namespace vorn::server;
using namespace vorn::server::oci;

namespace {

// OCIDefineObject and OCIBindObject: the type and the caller's arrays.
ObjectTarget objectTarget(Environment& env, const OCIType* type, void** pgvpp, ub4* pvszsp,
                          void** indpp, ub4* indszp, bool typeRequired) {
  ObjectCache& cache = objectCacheOf(env);
  ObjectTarget t;
  t.type = type ? cache.typeOf(type) : nullptr;
  if ((type || typeRequired) && !t.type) raiseOra(21560, {"3"});
  t.instances = pgvpp;
  t.instanceSizes = pvszsp;
  t.nulls = indpp;
  t.nullSizes = indszp;
  return t;
}

}  // namespace

extern "C" sword OCIDefineObject(OCIDefine* defnp, OCIError* errhp, const OCIType* type,
                                 void** pgvpp, ub4* pvszsp, void** indpp, ub4* indszp) {
  DefineHandle* d = handleOf<DefineHandle>(defnp);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!d || !err) return OCI_INVALID_HANDLE;
  return guardedCall(*d->env, *err, [&](ErrorRecords&) -> sword {
    if (!isObjectType(d->dty)) raiseOra(1010);
    if (!pgvpp) raiseOra(21560, {"4"});
    d->object = objectTarget(*d->env, type, pgvpp, pvszsp, indpp, indszp, d->dty == SQLT_NTY);
    return OCI_SUCCESS;
  });
}

extern "C" sword OCIBindObject(OCIBind* bindp, OCIError* errhp, const OCIType* type, void** pgvpp,
                               ub4* pvszsp, void** indpp, ub4* indszp) {
  BindHandle* b = handleOf<BindHandle>(bindp);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!b || !err) return OCI_INVALID_HANDLE;
  return guardedCall(*b->env, *err, [&](ErrorRecords&) -> sword {
    if (!isObjectType(b->dty)) raiseOra(1010);
    if (!pgvpp) raiseOra(21560, {"4"});
    b->object = objectTarget(*b->env, type, pgvpp, pvszsp, indpp, indszp, b->dty == SQLT_NTY);
    return OCI_SUCCESS;
  });
}
