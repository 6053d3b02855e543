// Parameter descriptors (OCI_DTYPE_PARAM): the description of one
// select-list column, handed out by OCIParamGet on an executed or
// described statement and owned by that statement. Attributes as Oracle
// reports them: data type (the describe type code), data size, name,
// precision (one unsigned byte), scale (one signed byte; -127 for a NUMBER
// without one), nullable.
//
// A column of a named type (108) or REF (110) also gives the type's schema
// and name (OCI_ATTR_SCHEMA_NAME, OCI_ATTR_TYPE_NAME) and a REF to its type
// descriptor (OCI_ATTR_REF_TDO).
//
// The describe handle (OCI_HTYPE_DESCRIBE) lives here too; OCIDescribeAny
// describes user-defined types (TypeDescribe.h), whose parameters are
// parameter descriptors of their own kind.
#pragma once

#include <memory>
#include <string>

#include "Handle.h"

namespace vorn::server {
struct ColumnDescription;
}

namespace vorn::server::oci {

struct DescribedNode;
struct TypeDescription;

class ParamDescriptor : public Handle {
 public:
  static constexpr ub4 kType = OCI_DTYPE_PARAM;
  ParamDescriptor(Environment* env, const ColumnDescription& column, ub4 position);
  // A parameter of a described type; its attributes are the node's.
  ParamDescriptor(Environment* env, const DescribedNode* node) : Handle(kType, env), node(node) {}

  sword getAttribute(void* value, ub4* size, ub4 attribute);

  std::string name;
  ub2 dataType = SQLT_CHR;
  ub2 dataSize = 0;
  ub2 displaySize = 0;
  int precision = 0;
  int scale = 0;
  bool nullable = true;
  bool national = false;
  ub4 position = 0;
  // A named type or REF column: its type (for a REF, the objects').
  int64_t typeObj = 0;
  std::string typeName, schemaName;
  void* typeRef = nullptr;  // OCI_ATTR_REF_TDO, made on first use
  const DescribedNode* node = nullptr;
};

class DescribeHandle : public Handle {
 public:
  static constexpr ub4 kType = OCI_HTYPE_DESCRIBE;
  explicit DescribeHandle(Environment* env) : Handle(kType, env) {}

  sword getAttribute(void* value, ub4* size, ub4 attribute);
  sword setAttribute(void* value, ub4 size, ub4 attribute);

  ub4 describePublic = 0;
  // What the last OCIDescribeAny described.
  std::shared_ptr<TypeDescription> described;
};

}  // namespace vorn::server::oci
