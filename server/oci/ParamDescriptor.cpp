// Select-list parameters and the describe handle; see ParamDescriptor.h.
#include "ParamDescriptor.h"

#include "Attributes.h"
#include "Environment.h"
#include "TypeDescribe.h"
#include "engine/ObjectTypes.h"
#include "engine/Statement.h"

namespace vorn::server::oci {

namespace {

ub2 displaySizeOf(const ColumnDescription& c) {
  switch (c.type.kind) {
    case TypeKind::Number:
      return static_cast<ub2>(c.precision > 0 ? c.precision + 2 : 40);
    case TypeKind::Date:
      return 9;
    case TypeKind::Rowid:
      return 18;
    case TypeKind::Raw:
      return static_cast<ub2>(c.dataSize * 2);
    default:
      return static_cast<ub2>(c.dataSize);
  }
}

bool isCharacterType(ub2 type) {
  return type == SQLT_CHR || type == SQLT_AFC || type == SQLT_VCS || type == SQLT_AVC;
}

}  // namespace

ParamDescriptor::ParamDescriptor(Environment* env, const ColumnDescription& column,
                                 ub4 columnPosition)
    : Handle(kType, env),
      name(column.name),
      dataType(static_cast<ub2>(column.typeCode)),
      dataSize(static_cast<ub2>(column.dataSize)),
      displaySize(displaySizeOf(column)),
      precision(column.precision),
      scale(column.scale),
      nullable(column.nullable),
      national(column.type.national),
      position(columnPosition) {
  if (column.type.udt) {
    typeObj = column.type.udt->obj;
    typeName = column.type.udt->name;
    schemaName = column.type.udt->owner;
  }
}

sword ParamDescriptor::getAttribute(void* value, ub4* size, ub4 attribute) {
  if (node) return describedAttribute(*this, value, size, attribute);
  switch (attribute) {
    case OCI_ATTR_DATA_SIZE:
      return putAttribute<ub2>(value, size, dataSize);
    case OCI_ATTR_DATA_TYPE:
      return putAttribute<ub2>(value, size, dataType);
    case OCI_ATTR_DISP_SIZE:
      return putAttribute<ub2>(value, size, displaySize);
    case OCI_ATTR_NAME:
      return putTextAttribute(value, size, name);
    case OCI_ATTR_PRECISION:
      return putAttribute<ub1>(value, size, static_cast<ub1>(precision));
    case OCI_ATTR_SCALE:
      return putAttribute<sb1>(value, size, static_cast<sb1>(scale));
    case OCI_ATTR_IS_NULL:
      return putAttribute<ub1>(value, size, nullable ? 1 : 0);
    case OCI_ATTR_TYPE_NAME:
      return putTextAttribute(value, size, typeName);
    case OCI_ATTR_SCHEMA_NAME:
      return putTextAttribute(value, size, schemaName);
    case OCI_ATTR_REF_TDO:
      return putAttribute<OCIRef*>(value, size, columnTypeRef(*this));
    case OCI_ATTR_POSITION:
      return putAttribute<ub2>(value, size, static_cast<ub2>(position));
    case OCI_ATTR_PTYPE:
      return putAttribute<ub1>(value, size, OCI_PTYPE_COL);
    case OCI_ATTR_CHARSET_FORM:
      return putAttribute<ub1>(value, size, national ? SQLCS_NCHAR : SQLCS_IMPLICIT);
    case OCI_ATTR_CHARSET_ID:
      return putAttribute<ub2>(value, size, env->charsetId);
    case OCI_ATTR_CHAR_USED:
      // Lengths are in bytes: the engine knows no character semantics.
      return putAttribute<ub1>(value, size, 0);
    case OCI_ATTR_CHAR_SIZE:
      return putAttribute<ub2>(value, size, isCharacterType(dataType) ? dataSize : 0);
    default:
      raiseOra(24315);
  }
}

sword DescribeHandle::getAttribute(void* value, ub4* size, ub4 attribute) {
  switch (attribute) {
    case OCI_ATTR_DESC_PUBLIC:
      return putAttribute<ub4>(value, size, describePublic);
    case OCI_ATTR_PARAM:
      // Nothing has been described through this handle yet.
      if (!described) raiseOra(24338);
      return putAttribute<OCIParam*>(value, size, topParameter(*described));
    case OCI_ATTR_PARAM_COUNT:
      if (!described) raiseOra(24338);
      return putAttribute<ub4>(value, size, 1);
    default:
      raiseOra(24315);
  }
}

sword DescribeHandle::setAttribute(void* value, ub4, ub4 attribute) {
  if (attribute != OCI_ATTR_DESC_PUBLIC) raiseOra(24315);
  describePublic = takeAttribute<ub4>(value);
  return OCI_SUCCESS;
}

}  // namespace vorn::server::oci
