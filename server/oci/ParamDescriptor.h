// Parameter descriptors (OCI_DTYPE_PARAM): the description of one
// select-list column, handed out by OCIParamGet on an executed or
// described statement and owned by that statement. Attributes as Oracle
// reports them: data type (the describe type code), data size, name,
// precision (one unsigned byte), scale (one signed byte; -127 for a NUMBER
// without one), nullable.
//
// The describe handle (OCI_HTYPE_DESCRIBE) lives here too: OCIDescribeAny
// of schema objects arrives with the later dictionary work, so for now it
// only holds its attributes.
#pragma once

#include <string>

#include "Handle.h"

namespace vorn::server {
struct ColumnDescription;
}

namespace vorn::server::oci {

class ParamDescriptor : public Handle {
 public:
  static constexpr ub4 kType = OCI_DTYPE_PARAM;
  ParamDescriptor(Environment* env, const ColumnDescription& column, ub4 position);

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
};

class DescribeHandle : public Handle {
 public:
  static constexpr ub4 kType = OCI_HTYPE_DESCRIBE;
  explicit DescribeHandle(Environment* env) : Handle(kType, env) {}

  sword getAttribute(void* value, ub4* size, ub4 attribute);
  sword setAttribute(void* value, ub4 size, ub4 attribute);

  ub4 describePublic = 0;
};

}  // namespace vorn::server::oci
