// The object cache of an environment; see ObjectCache.h.
#include "ObjectCache.h"

#include <algorithm>

#include "Environment.h"
#include "LobLocator.h"
#include "ObjectImage.h"
#include "UserSession.h"
#include "engine/Catalog.h"
#include "engine/Session.h"
#include "value/OraError.h"

namespace vorn::server::oci {

ObjectCache::~ObjectCache() {
  closing_ = true;
  // Instances first: their images point to values registered below.
  for (auto& [image, instance] : instances_) {
    if (instance->type->isCollection()) continue;
    try {
      releaseImage(*this, *instance->type, static_cast<unsigned char*>(instance->image));
    } catch (...) {
    }
  }
  instances_.clear();
  std::vector<const void*> left;
  for (const auto& [p, kind] : values_)
    left.push_back(p);
  for (const void* p : left) {
    try {
      release(p);
    } catch (...) {
    }
  }
}

// ---------------------------------------------------------------------------
// Type descriptors

TypeDescriptor& ObjectCache::type(UserSession& session, int64_t obj) {
  auto catalog = session.engine->catalog();
  const TypeInfo* info = catalog->typeById(obj);
  if (!info) raiseOra(4043, {std::to_string(obj)});
  return build(session, *info);
}

TypeDescriptor& ObjectCache::typeByName(UserSession& session, const std::string& schema,
                                        const std::string& name) {
  auto catalog = session.engine->catalog();
  std::vector<std::string> parts;
  if (!schema.empty()) parts.push_back(schema);
  parts.push_back(name);
  const TypeInfo* info = catalog->findType(session.engine->user(), parts);
  if (!info) raiseOra(4043, {schema.empty() ? name : schema + "." + name});
  return build(session, *info);
}

TypeDescriptor& ObjectCache::build(UserSession& session, const TypeInfo& info) {
  const void* database = &session.engine->database();
  std::string signature = typeSignature(info);
  auto key = std::make_pair(database, info.obj);
  auto it = typeIndex_.find(key);
  if (it != typeIndex_.end() && it->second->signature == signature) return *it->second;
  if (info.invalid) raiseOra(4063, {"type " + info.qualifiedName()});
  // A replaced definition gets a descriptor of its own; instances of the
  // old one keep theirs.
  auto t = std::make_unique<TypeDescriptor>();
  TypeDescriptor& type = *t;
  type.obj = info.obj;
  type.owner = info.owner;
  type.name = info.name;
  type.signature = signature;
  type.info = &info;
  type.catalog = session.engine->catalog();
  type.database = database;
  type.limit = info.limit;
  types_.push_back(std::move(t));
  // Registered before its attributes are: a REF attribute may name it.
  typeIndex_[key] = &type;
  try {
    auto field = [&](const std::string& name, const OraType& engineType) {
      FieldLayout f;
      f.name = name;
      f.type = engineType;
      if (engineType.udt) f.nested = &build(session, *engineType.udt);
      return f;
    };
    if (info.isCollection()) {
      type.typecode = OCI_TYPECODE_NAMEDCOLLECTION;
      type.collectionTypecode =
          info.kind == TypeInfo::Kind::Varray ? OCI_TYPECODE_VARRAY : OCI_TYPECODE_TABLE;
      type.element = field("", info.element);
      layoutField(type.element);
      type.nullCount = 1;
      type.size = sizeof(void*);
      type.align = alignof(void*);
    } else {
      for (const TypeAttribute& a : info.attributes)
        type.attributes.push_back(field(a.name, a.type));
      layoutObject(type);
    }
  } catch (...) {
    typeIndex_.erase(key);
    throw;
  }
  return type;
}

TypeDescriptor* ObjectCache::typeOf(const void* p) const {
  TypeDescriptor* t = nullptr;
  for (const auto& owned : types_) {
    if (owned.get() == p) t = owned.get();
  }
  return t;
}

OciRef* ObjectCache::typeRef(int64_t obj) {
  // A caller may have cleared or freed the one handed out before.
  OciRef*& r = typeRefs_[obj];
  if (!r || !ref(r)) r = newRef();
  r->bytes = typeRefBytes(obj);
  return r;
}

// ---------------------------------------------------------------------------
// Values of the object layer

template <class T>
T* ObjectCache::find(const void* p, Kind kind) const {
  auto it = values_.find(p);
  if (it == values_.end() || it->second != kind) return nullptr;
  return static_cast<T*>(const_cast<void*>(p));
}

OciString* ObjectCache::newString() {
  auto* s = new OciString;
  values_[s] = Kind::String;
  return s;
}

OciRaw* ObjectCache::newRaw() {
  auto* r = new OciRaw;
  values_[r] = Kind::Raw;
  return r;
}

OciRef* ObjectCache::newRef() {
  auto* r = new OciRef;
  values_[r] = Kind::Ref;
  return r;
}

OciColl* ObjectCache::newCollection(const TypeDescriptor& type) {
  auto* c = new OciColl;
  c->type = &type;
  values_[c] = Kind::Collection;
  return c;
}

PinnedTable* ObjectCache::newPinnedTable(int64_t table, const TypeDescriptor& type,
                                         UserSession* origin) {
  auto* t = new PinnedTable{table, &type, origin};
  values_[t] = Kind::Table;
  return t;
}

OCINumber* ObjectCache::newNumber() {
  auto* n = new OCINumber{};
  values_[n] = Kind::Number;
  return n;
}

OCIDate* ObjectCache::newDate() {
  auto* d = new OCIDate{};
  values_[d] = Kind::Date;
  return d;
}

OciString* ObjectCache::string(const void* p) const {
  return find<OciString>(p, Kind::String);
}

OciRaw* ObjectCache::raw(const void* p) const {
  return find<OciRaw>(p, Kind::Raw);
}

OciRef* ObjectCache::ref(const void* p) const {
  return find<OciRef>(p, Kind::Ref);
}

OciColl* ObjectCache::collection(const void* p) const {
  return find<OciColl>(p, Kind::Collection);
}

PinnedTable* ObjectCache::pinnedTable(const void* p) const {
  return find<PinnedTable>(p, Kind::Table);
}

LobLocator* ObjectCache::newLocator(TypeKind kind) {
  auto* loc = new LobLocator(kind == TypeKind::Bfile ? OCI_DTYPE_FILE : OCI_DTYPE_LOB, &env_);
  env_.adopt(loc);
  return loc;
}

LobLocator* ObjectCache::locator(const void* p) const {
  if (!p || closing_) return nullptr;
  for (ub4 type : {OCI_DTYPE_LOB, OCI_DTYPE_FILE}) {
    for (Handle* h : env_.handlesOfType(type)) {
      if (h == p) return static_cast<LobLocator*>(h);
    }
  }
  return nullptr;
}

void ObjectCache::releaseLocator(const void* p) {
  if (LobLocator* loc = locator(p)) env_.free(loc);
}

bool ObjectCache::isScalarBlock(const void* p) const {
  auto it = values_.find(p);
  return it != values_.end() && (it->second == Kind::Number || it->second == Kind::Date);
}

void ObjectCache::release(const void* p) {
  auto it = values_.find(p);
  if (it == values_.end()) return;
  Kind kind = it->second;
  values_.erase(it);
  void* q = const_cast<void*>(p);
  switch (kind) {
    case Kind::String:
      delete static_cast<OciString*>(q);
      break;
    case Kind::Raw:
      delete static_cast<OciRaw*>(q);
      break;
    case Kind::Ref:
      delete static_cast<OciRef*>(q);
      break;
    case Kind::Collection: {
      auto* c = static_cast<OciColl*>(q);
      clearCollection(*this, *c);
      delete c;
      break;
    }
    case Kind::Table:
      delete static_cast<PinnedTable*>(q);
      break;
    case Kind::Number:
      delete static_cast<OCINumber*>(q);
      break;
    case Kind::Date:
      delete static_cast<OCIDate*>(q);
      break;
  }
}

// ---------------------------------------------------------------------------
// Instances

Instance& ObjectCache::newInstance(const TypeDescriptor& type, Lifetime lifetime) {
  auto inst = std::make_unique<Instance>();
  inst->type = &type;
  inst->lifetime = lifetime;
  inst->nulls = std::make_unique<sb2[]>(type.nullCount);
  if (type.isCollection()) {
    inst->image = newCollection(type);
    inst->nulls[0] = OCI_IND_NOTNULL;
  } else {
    size_t units = (type.size + sizeof(std::max_align_t) - 1) / sizeof(std::max_align_t);
    inst->storage = std::make_unique<std::max_align_t[]>(units);
    inst->image = inst->storage.get();
    initImage(*this, type, static_cast<unsigned char*>(inst->image), inst->nulls.get());
  }
  Instance& made = *inst;
  instances_[made.image] = std::move(inst);
  return made;
}

Instance* ObjectCache::instance(const void* image) const {
  auto it = instances_.find(image);
  return it == instances_.end() ? nullptr : it->second.get();
}

void ObjectCache::freeInstance(Instance& instance) {
  if (instance.lifetime == Lifetime::Persistent) {
    byRef_.erase(encodeRef(instance.ref));
    order_.erase(std::remove(order_.begin(), order_.end(), &instance), order_.end());
  }
  void* image = instance.image;
  if (instance.type->isCollection()) {
    release(image);
  } else {
    releaseImage(*this, *instance.type, static_cast<unsigned char*>(image));
  }
  instances_.erase(image);
}

Instance* ObjectCache::persistent(const std::string& refBytes) const {
  auto it = byRef_.find(refBytes);
  return it == byRef_.end() ? nullptr : it->second;
}

void ObjectCache::makePersistent(Instance& instance, RefValue ref, UserSession* origin) {
  instance.lifetime = Lifetime::Persistent;
  instance.ref = std::move(ref);
  instance.origin = origin;
  byRef_[encodeRef(instance.ref)] = &instance;
  order_.push_back(&instance);
}

std::vector<Instance*> ObjectCache::dirtyInstances(UserSession* session) const {
  std::vector<Instance*> out;
  for (Instance* i : order_) {
    if (i->isDirty() && (!session || i->origin == session)) out.push_back(i);
  }
  return out;
}

// ---------------------------------------------------------------------------
// Sessions

UserSession& ObjectCache::session(UserSession* wanted) const {
  UserSession* first = nullptr;
  for (Handle* h : env_.handlesOfType(OCI_HTYPE_SESSION)) {
    auto* s = static_cast<UserSession*>(h);
    if (!s->loggedOn()) continue;
    if (s == wanted) return *s;
    if (!first) first = s;
  }
  if (!first || wanted) raiseOra(21522);
  return *first;
}

void ObjectCache::forget(const Handle* handle) {
  if (handle->type != OCI_HTYPE_SESSION) return;
  for (const auto& [p, kind] : values_) {
    if (kind == Kind::Ref) {
      auto* r = static_cast<OciRef*>(const_cast<void*>(p));
      if (r->origin == handle) r->origin = nullptr;
    } else if (kind == Kind::Table) {
      auto* t = static_cast<PinnedTable*>(const_cast<void*>(p));
      if (t->origin == handle) t->origin = nullptr;
    }
  }
  for (const auto& [image, inst] : instances_) {
    if (inst->origin == handle) inst->origin = nullptr;
  }
}

ObjectCache& objectCacheOf(Environment& env) {
  if (!env.objectMode) raiseOra(21301);
  if (!env.objectCache) env.objectCache = std::make_unique<ObjectCache>(env);
  return *env.objectCache;
}

}  // namespace vorn::server::oci
