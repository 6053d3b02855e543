// The object cache of an environment made in object mode (OCI_OBJECT): the
// type descriptors of user-defined types, the instances of object types and
// collections, and the strings, raws, REFs and collections of the object
// layer that instances point to or that a caller allocates on its own.
//
// Every pointer the cache hands out is registered here, so that a call can
// tell one of its own from anything else (ORA-21710 or OCI_INVALID_HANDLE
// instead of a crash) and the environment frees what is left when it goes.
//
// Instances are of three lifetimes, as Oracle's:
//  - persistent: a row object of an object table, reached by its REF
//    (OCIObjectPin) or made by OCIObjectNew in a table pinned with
//    OCIObjectPinTable. One instance per REF in the cache; marked new,
//    updated or deleted until OCIObjectFlush, OCICacheFlush or the commit
//    writes it to its table through the session it came from.
//  - transient: made by OCIObjectNew without a table; lives until freed.
//  - value: fetched into an OCIDefineObject define, or made by OCIObjectNew
//    as a value; no identity.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "Handle.h"
#include "TypeDescriptor.h"
#include "engine/ObjectValue.h"

namespace vorn::server::oci {

class LobLocator;
class UserSession;

// The structs behind the object layer's opaque pointers.
struct OciString {
  std::string text;  // std::string keeps it NUL-terminated (OCIStringPtr)
};
struct OciRaw {
  std::string bytes;
};
struct OciRef {
  std::string bytes;              // a row object's REF, a type's (typeRefBytes), or empty: NULL
  UserSession* origin = nullptr;  // the session it was read through, if known
};
struct OciColl {
  const TypeDescriptor* type = nullptr;
  struct Element {
    std::unique_ptr<std::max_align_t[]> storage;  // the element's field, then its indicators
    bool exists = true;                           // false: deleted from a nested table
  };
  std::vector<Element> elements;
};
// A table pinned with OCIObjectPinTable: where OCIObjectNew makes
// persistent objects.
struct PinnedTable {
  int64_t table = 0;
  const TypeDescriptor* type = nullptr;
  UserSession* origin = nullptr;
};

enum class Lifetime { Persistent, Transient, Value };

struct Instance {
  const TypeDescriptor* type = nullptr;
  void* image = nullptr;  // the object's struct, or the OciColl of a collection
  std::unique_ptr<std::max_align_t[]> storage;
  std::unique_ptr<sb2[]> nulls;
  Lifetime lifetime = Lifetime::Transient;
  // Persistent objects.
  RefValue ref;
  UserSession* origin = nullptr;
  bool isNew = false, updated = false, deleted = false;
  bool gone = false;  // its row was deleted by a flush
  int pins = 0;
  bool isDirty() const { return isNew || updated || deleted; }
};

class ObjectCache {
 public:
  explicit ObjectCache(Environment& env) : env_(env) {}
  ~ObjectCache();
  ObjectCache(const ObjectCache&) = delete;
  ObjectCache& operator=(const ObjectCache&) = delete;

  Environment& environment() { return env_; }

  // ---- type descriptors ----
  // The descriptor of type `obj` as `session`'s database defines it now
  // (ORA-04043 when there is no such type).
  TypeDescriptor& type(UserSession& session, int64_t obj);
  // The descriptor of a type named [schema.]name (ORA-04043).
  TypeDescriptor& typeByName(UserSession& session, const std::string& schema,
                             const std::string& name);
  // A descriptor of this cache behind `p`, else null.
  TypeDescriptor* typeOf(const void* p) const;
  // The cache's own REF to type `obj` (OCI_ATTR_REF_TDO), made once.
  OciRef* typeRef(int64_t obj);

  // ---- the object layer's values ----
  OciString* newString();
  OciRaw* newRaw();
  OciRef* newRef();
  OciColl* newCollection(const TypeDescriptor& type);
  PinnedTable* newPinnedTable(int64_t table, const TypeDescriptor& type, UserSession* origin);
  OCINumber* newNumber();
  OCIDate* newDate();
  // The value behind `p` when it is one of this cache's, else null.
  OciString* string(const void* p) const;
  OciRaw* raw(const void* p) const;
  OciRef* ref(const void* p) const;
  OciColl* collection(const void* p) const;
  PinnedTable* pinnedTable(const void* p) const;
  bool isScalarBlock(const void* p) const;
  // LOB attributes point to locators of the environment (LobLocator.h).
  LobLocator* newLocator(TypeKind kind);
  LobLocator* locator(const void* p) const;
  void releaseLocator(const void* p);
  // Frees a value made by one of the new... calls.
  void release(const void* p);

  // ---- instances ----
  // A new instance of `type` (an object's image with its null structure,
  // pointer attributes allocated empty, every attribute NULL; or an empty
  // collection).
  Instance& newInstance(const TypeDescriptor& type, Lifetime lifetime);
  Instance* instance(const void* image) const;
  void freeInstance(Instance& instance);
  // The persistent instance of a REF in the cache, null when none.
  Instance* persistent(const std::string& refBytes) const;
  void makePersistent(Instance& instance, RefValue ref, UserSession* origin);
  // The persistent instances with changes not yet flushed (of `session`
  // only, when given), in the order they were made.
  std::vector<Instance*> dirtyInstances(UserSession* session) const;

  // ---- sessions ----
  // `wanted` when it is a logged-on session of this environment; without
  // one, the environment's first logged-on session; ORA-21522 when there is
  // none.
  UserSession& session(UserSession* wanted) const;
  // A handle of the environment goes away: REFs and instances forget it.
  void forget(const Handle* handle);

 private:
  enum class Kind { String, Raw, Ref, Collection, Table, Number, Date };
  template <class T>
  T* find(const void* p, Kind kind) const;
  TypeDescriptor& build(UserSession& session, const TypeInfo& info);

  Environment& env_;
  std::unordered_map<const void*, Kind> values_;
  std::unordered_map<const void*, std::unique_ptr<Instance>> instances_;
  std::map<std::string, Instance*> byRef_;
  std::vector<Instance*> order_;  // persistent instances in creation order
  std::vector<std::unique_ptr<TypeDescriptor>> types_;
  std::map<std::pair<const void*, int64_t>, TypeDescriptor*> typeIndex_;
  std::map<int64_t, OciRef*> typeRefs_;
  // Set while the cache goes: the environment has freed its locators.
  bool closing_ = false;
};

// The cache of the environment, made on first use; ORA-21301 when the
// environment is not in object mode.
ObjectCache& objectCacheOf(Environment& env);

}  // namespace vorn::server::oci
