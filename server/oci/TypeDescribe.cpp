// OCIDescribeAny of user-defined types and their parameters; see
// TypeDescribe.h.
#include "TypeDescribe.h"

#include <cctype>

#include "Attributes.h"
#include "CallGuard.h"
#include "ObjectCache.h"
#include "ServiceContext.h"
#include "TypeDescriptor.h"
#include "UserSession.h"
#include "engine/Catalog.h"
#include "engine/Session.h"

namespace vorn::server::oci {

namespace {

ParamDescriptor* addNode(TypeDescription& d, Environment& env, std::unique_ptr<DescribedNode> n) {
  d.params.push_back(std::make_unique<ParamDescriptor>(&env, n.get()));
  d.nodes.push_back(std::move(n));
  return d.params.back().get();
}

std::unique_ptr<DescribedNode> node(DescribedNode::Kind kind, ObjectCache& cache) {
  auto n = std::make_unique<DescribedNode>();
  n->kind = kind;
  n->cache = &cache;
  return n;
}

// The size OCI reports for a field: 22 for NUMBER, 7 for DATE, the length
// of character and RAW types, 0 for the rest.
ub2 dataSizeOf(const FieldLayout& f) {
  switch (f.typecode) {
    case OCI_TYPECODE_NUMBER:
      return 22;
    case OCI_TYPECODE_DATE:
      return 7;
    case OCI_TYPECODE_VARCHAR2:
    case OCI_TYPECODE_CHAR:
    case OCI_TYPECODE_RAW:
      return static_cast<ub2>(f.type.length);
    default:
      return 0;
  }
}

// The schema and name of a field's type: a user-defined type's, or the
// built-in type's name.
std::string fieldTypeName(const FieldLayout& f) {
  return f.nested ? f.nested->name : dictionaryTypeName(f.type);
}

std::string fieldTypeSchema(const FieldLayout& f) {
  return f.nested ? f.nested->owner : std::string();
}

bool holds(const TypeDescriptor& t, OCITypeCode code) {
  for (const FieldLayout& f : t.attributes) {
    if (f.typecode == code) return true;
    if (code == OCI_TYPECODE_CLOB &&
        (f.typecode == OCI_TYPECODE_BLOB || f.typecode == OCI_TYPECODE_CLOB)) {
      return true;
    }
  }
  return false;
}

sword fieldAttribute(const DescribedNode& n, void* value, ub4* size, ub4 attribute) {
  const FieldLayout& f = *n.field;
  switch (attribute) {
    case OCI_ATTR_PTYPE:
      return putAttribute<ub1>(
          value, size,
          n.kind == DescribedNode::Attribute ? OCI_PTYPE_TYPE_ATTR : OCI_PTYPE_TYPE_COLL);
    case OCI_ATTR_NAME:
      return putTextAttribute(value, size, f.name);
    case OCI_ATTR_DATA_TYPE:
      // A collection is a named type (108) whose type code says collection.
      return putAttribute<ub2>(
          value, size,
          f.typecode == OCI_TYPECODE_NAMEDCOLLECTION ? OCI_TYPECODE_OBJECT : f.typecode);
    case OCI_ATTR_TYPECODE:
      return putAttribute<ub2>(value, size, f.typecode);
    case OCI_ATTR_DATA_SIZE:
      return putAttribute<ub2>(value, size, dataSizeOf(f));
    case OCI_ATTR_PRECISION:
      return putAttribute<ub1>(value, size, static_cast<ub1>(f.type.precision));
    case OCI_ATTR_SCALE:
      return putAttribute<sb1>(
          value, size, static_cast<sb1>(f.typecode == OCI_TYPECODE_NUMBER ? f.type.scale : 0));
    case OCI_ATTR_TYPE_NAME:
      return putTextAttribute(value, size, n.typeName);
    case OCI_ATTR_SCHEMA_NAME:
      return putTextAttribute(value, size, n.typeSchema);
    case OCI_ATTR_REF_TDO:
      return putAttribute<OCIRef*>(
          value, size,
          f.nested ? reinterpret_cast<OCIRef*>(n.cache->typeRef(f.nested->obj)) : nullptr);
    case OCI_ATTR_CHARSET_ID:
      return putAttribute<ub2>(value, size, 31);
    case OCI_ATTR_CHARSET_FORM:
      return putAttribute<ub1>(value, size, f.type.national ? SQLCS_NCHAR : SQLCS_IMPLICIT);
    case OCI_ATTR_POSITION:
      return putAttribute<ub2>(value, size, n.position);
    case OCI_ATTR_NUM_ELEMS:
      if (n.kind != DescribedNode::Element) raiseOra(24315);
      return putAttribute<ub4>(value, size, static_cast<ub4>(n.type->limit));
    default:
      raiseOra(24315);
  }
}

sword typeAttribute(const DescribedNode& n, void* value, ub4* size, ub4 attribute) {
  const TypeDescriptor& t = *n.type;
  switch (attribute) {
    case OCI_ATTR_PTYPE:
      return putAttribute<ub1>(value, size, OCI_PTYPE_TYPE);
    case OCI_ATTR_NAME:
    case OCI_ATTR_TYPE_NAME:
      return putTextAttribute(value, size, t.name);
    case OCI_ATTR_SCHEMA_NAME:
      return putTextAttribute(value, size, t.owner);
    case OCI_ATTR_OBJID:
      return putAttribute<ub4>(value, size, static_cast<ub4>(t.obj));
    case OCI_ATTR_TYPECODE:
      return putAttribute<ub2>(value, size, t.typecode);
    case OCI_ATTR_DATA_TYPE:
      return putAttribute<ub2>(value, size, OCI_TYPECODE_OBJECT);
    case OCI_ATTR_COLLECTION_TYPECODE:
      return putAttribute<ub2>(value, size, t.collectionTypecode);
    case OCI_ATTR_VERSION:
      return putTextAttribute(value, size, t.version);
    case OCI_ATTR_IS_INCOMPLETE_TYPE:
      return putAttribute<ub1>(value, size, t.info && t.info->incomplete ? 1 : 0);
    case OCI_ATTR_IS_SYSTEM_TYPE:
    case OCI_ATTR_IS_PREDEFINED_TYPE:
    case OCI_ATTR_IS_TRANSIENT_TYPE:
    case OCI_ATTR_IS_SYSTEM_GENERATED_TYPE:
    case OCI_ATTR_IS_INVOKER_RIGHTS:
      return putAttribute<ub1>(value, size, 0);
    case OCI_ATTR_HAS_NESTED_TABLE:
      return putAttribute<ub1>(value, size, holds(t, OCI_TYPECODE_NAMEDCOLLECTION) ? 1 : 0);
    case OCI_ATTR_HAS_LOB:
      return putAttribute<ub1>(value, size, holds(t, OCI_TYPECODE_CLOB) ? 1 : 0);
    case OCI_ATTR_HAS_FILE:
      return putAttribute<ub1>(value, size, holds(t, OCI_TYPECODE_BFILE) ? 1 : 0);
    case OCI_ATTR_NUM_TYPE_ATTRS:
      return putAttribute<ub2>(value, size, static_cast<ub2>(t.attributes.size()));
    case OCI_ATTR_LIST_TYPE_ATTRS:
      return putAttribute<OCIParam*>(value, size, opaque<OCIParam>(n.attributes));
    case OCI_ATTR_NUM_TYPE_METHODS:
      return putAttribute<ub2>(value, size, 0);
    case OCI_ATTR_LIST_TYPE_METHODS:
      return putAttribute<OCIParam*>(value, size, opaque<OCIParam>(n.methods));
    case OCI_ATTR_MAP_METHOD:
    case OCI_ATTR_ORDER_METHOD:
      // No methods: neither a MAP nor an ORDER method.
      return putAttribute<OCIParam*>(value, size, nullptr);
    case OCI_ATTR_COLLECTION_ELEMENT:
      if (!n.element) raiseOra(24328);
      return putAttribute<OCIParam*>(value, size, opaque<OCIParam>(n.element));
    case OCI_ATTR_REF_TDO:
      return putAttribute<OCIRef*>(value, size, reinterpret_cast<OCIRef*>(n.cache->typeRef(t.obj)));
    default:
      raiseOra(24315);
  }
}

// A described name: [schema.]name, upper-cased unless quoted.
std::vector<std::string> parseName(std::string_view text) {
  std::vector<std::string> parts(1);
  bool quoted = false;
  for (char c : text) {
    if (c == '"') {
      quoted = !quoted;
    } else if (c == '.' && !quoted) {
      parts.emplace_back();
    } else {
      parts.back() += quoted ? c : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
  }
  return parts;
}

}  // namespace

std::shared_ptr<TypeDescription> describeType(Environment& env, ObjectCache& cache,
                                              const TypeDescriptor& type) {
  auto d = std::make_shared<TypeDescription>();
  auto top = node(DescribedNode::Type, cache);
  top->type = &type;
  DescribedNode& t = *top;
  d->top = addNode(*d, env, std::move(top));
  auto list = node(DescribedNode::AttributeList, cache);
  DescribedNode& attributes = *list;
  t.attributes = addNode(*d, env, std::move(list));
  for (size_t i = 0; i < type.attributes.size(); ++i) {
    auto a = node(DescribedNode::Attribute, cache);
    a->type = &type;
    a->field = &type.attributes[i];
    a->position = static_cast<ub2>(i + 1);
    a->typeName = fieldTypeName(*a->field);
    a->typeSchema = fieldTypeSchema(*a->field);
    attributes.children.push_back(addNode(*d, env, std::move(a)));
  }
  t.methods = addNode(*d, env, node(DescribedNode::MethodList, cache));
  if (type.isCollection()) {
    auto e = node(DescribedNode::Element, cache);
    e->type = &type;
    e->field = &type.element;
    e->typeName = fieldTypeName(type.element);
    e->typeSchema = fieldTypeSchema(type.element);
    t.element = addNode(*d, env, std::move(e));
  }
  return d;
}

OCIParam* topParameter(TypeDescription& description) {
  return opaque<OCIParam>(description.top);
}

sword describedAttribute(ParamDescriptor& param, void* value, ub4* size, ub4 attribute) {
  const DescribedNode& n = *param.node;
  switch (n.kind) {
    case DescribedNode::Type:
      return typeAttribute(n, value, size, attribute);
    case DescribedNode::Attribute:
    case DescribedNode::Element:
      return fieldAttribute(n, value, size, attribute);
    default:
      switch (attribute) {
        case OCI_ATTR_PTYPE:
          return putAttribute<ub1>(value, size, OCI_PTYPE_LIST);
        case OCI_ATTR_LTYPE:
          return putAttribute<ub2>(
              value, size,
              n.kind == DescribedNode::AttributeList ? OCI_LTYPE_TYPE_ATTR : OCI_LTYPE_TYPE_METHOD);
        case OCI_ATTR_NUM_PARAMS:
          return putAttribute<ub2>(value, size, static_cast<ub2>(n.children.size()));
        default:
          raiseOra(24315);
      }
  }
}

ParamDescriptor& describedChild(ParamDescriptor& list, ub4 position) {
  const DescribedNode* n = list.node;
  if (!n || (n->kind != DescribedNode::AttributeList && n->kind != DescribedNode::MethodList)) {
    raiseOra(24334);
  }
  if (position == 0 || position > n->children.size()) raiseOra(24334);
  return *n->children[position - 1];
}

OCIRef* columnTypeRef(ParamDescriptor& column) {
  if (!column.typeObj) return nullptr;
  return reinterpret_cast<OCIRef*>(objectCacheOf(*column.env).typeRef(column.typeObj));
}

}  // namespace vorn::server::oci

using namespace vorn::server;
using namespace vorn::server::oci;

extern "C" sword OCIDescribeAny(OCISvcCtx* svchp, OCIError* errhp, void* objptr, ub4 objnm_len,
                                ub1 objptr_typ, ub1, ub1 objtyp, OCIDescribe* dschp) {
  ServiceContext* svc = handleOf<ServiceContext>(svchp);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  DescribeHandle* describe = handleOf<DescribeHandle>(dschp);
  if (!svc || !err || !describe || !objptr) return OCI_INVALID_HANDLE;
  return guardedCall(*svc->env, *err, [&](ErrorRecords&) -> sword {
    describe->described.reset();
    UserSession& session = svc->loggedOnSession();
    if (objtyp != OCI_PTYPE_TYPE && objtyp != OCI_PTYPE_UNK) raiseOra(3001);
    ObjectCache& cache = objectCacheOf(*svc->env);
    const TypeDescriptor* type = nullptr;
    if (objptr_typ == OCI_OTYPE_PTR) {
      type = cache.typeOf(objptr);
      if (!type) raiseOra(21560, {"3"});
    } else if (objptr_typ == OCI_OTYPE_REF) {
      OciRef* ref = cache.ref(objptr);
      int64_t obj = 0;
      if (!ref || !decodeTypeRef(ref->bytes, obj)) raiseOra(22880);
      type = &cache.type(session, obj);
    } else if (objptr_typ == OCI_OTYPE_NAME) {
      std::string text(static_cast<const char*>(objptr), objnm_len);
      std::vector<std::string> name = parseName(text);
      auto catalog = session.engine->catalog();
      const TypeInfo* info = catalog->findType(session.engine->user(), name);
      if (!info) {
        // Other schema objects are described by the dictionary's views.
        if (objtyp == OCI_PTYPE_UNK && catalog->resolve(session.engine->user(), name)) {
          raiseOra(3001);
        }
        raiseOra(4043, {text});
      }
      type = &cache.type(session, info->obj);
    } else {
      raiseOra(21560, {"5"});
    }
    describe->described = describeType(*svc->env, cache, *type);
    return OCI_SUCCESS;
  });
}
