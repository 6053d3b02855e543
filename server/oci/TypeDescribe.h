// OCIDescribeAny of user-defined types, by name (OCI_OTYPE_NAME), by type
// descriptor (OCI_OTYPE_PTR) or by a REF to one (OCI_OTYPE_REF): the
// describe handle's parameter (OCI_ATTR_PARAM) is the type
// (OCI_PTYPE_TYPE: type code, collection type code, the attribute count and
// list, the collection element, the REF of its descriptor ...), its
// attribute list a list parameter (OCI_PTYPE_LIST) whose parameters,
// reached with OCIParamGet from 1, are the attributes (OCI_PTYPE_TYPE_ATTR:
// name, data type, type code, size, precision, scale, type schema and name,
// REF of the type descriptor), and a collection's element is an
// OCI_PTYPE_TYPE_COLL parameter (with the VARRAY's limit). Describing
// other schema objects is not done (ORA-03001).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ParamDescriptor.h"

namespace vorn::server::oci {

class ObjectCache;
class TypeDescriptor;
struct FieldLayout;

struct DescribedNode {
  enum Kind { Type, AttributeList, MethodList, Attribute, Element } kind = Type;
  ObjectCache* cache = nullptr;
  const TypeDescriptor* type = nullptr;    // Type: the type described
  const FieldLayout* field = nullptr;      // Attribute, Element
  ub2 position = 0;                        // Attribute: 1-based
  std::string typeName, typeSchema;        // Attribute, Element: the field's type
  std::vector<ParamDescriptor*> children;  // lists
  ParamDescriptor* attributes = nullptr;   // Type
  ParamDescriptor* methods = nullptr;      // Type
  ParamDescriptor* element = nullptr;      // Type of a collection
};

// The parameters of one describe, owned by the describe handle.
struct TypeDescription {
  std::vector<std::unique_ptr<DescribedNode>> nodes;
  std::vector<std::unique_ptr<ParamDescriptor>> params;
  ParamDescriptor* top = nullptr;
};

std::shared_ptr<TypeDescription> describeType(Environment& env, ObjectCache& cache,
                                              const TypeDescriptor& type);
OCIParam* topParameter(TypeDescription& description);
// OCIAttrGet on a described parameter.
sword describedAttribute(ParamDescriptor& param, void* value, ub4* size, ub4 attribute);
// OCIParamGet on a list parameter: its parameter `position` (1-based;
// ORA-24334 past the last).
ParamDescriptor& describedChild(ParamDescriptor& list, ub4 position);
// OCI_ATTR_REF_TDO of a select-list column of a named type or REF.
OCIRef* columnTypeRef(ParamDescriptor& column);

}  // namespace vorn::server::oci
