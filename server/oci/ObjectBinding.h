// Defines and binds of named types (SQLT_NTY: objects and collections) and
// REFs (SQLT_REF), set up by OCIDefineObject and OCIBindObject.
//
// A define delivers each fetched row's value into an instance of the
// object cache: the caller's array `instances` holds one instance pointer
// per row; an empty one gets a new value instance (the caller frees it with
// OCIObjectFree), an existing one is overwritten. The row's null structure
// is the instance's; `nulls`, when given, receives a pointer to it (or a
// copy, when the caller's pointer is set). A REF define fills OCIRef
// instances the same way (from the define's own buffer when no
// OCIDefineObject was made); a NULL REF comes back cleared.
//
// A bind reads the instance of each array row (with its null structure, or
// the caller's) and hands the engine the value with its type, so that it
// compares with and is stored in columns of that type.
#pragma once

#include "oci.h"

namespace vorn::server {
class Statement;
}

namespace vorn::server::oci {

class BindHandle;
class DefineHandle;
class ParamDescriptor;
class TypeDescriptor;
class UserSession;
struct ValueView;

// What OCIDefineObject or OCIBindObject gave.
struct ObjectTarget {
  const TypeDescriptor* type = nullptr;
  void** instances = nullptr;
  ub4* instanceSizes = nullptr;
  void** nulls = nullptr;
  ub4* nullSizes = nullptr;
};

inline bool isObjectType(ub2 dty) {
  return dty == SQLT_NTY || dty == SQLT_REF;
}

// Fetch: row `row`'s value of an object or REF define (DefineHandle::write).
void writeObjectRow(DefineHandle& define, const ValueView& v, ub4 row, UserSession* session);
// Before a fetch: a define of a named type or REF reads a column of that
// type, and other defines no such column (ORA-00932).
void checkObjectDefine(const DefineHandle& define, const ParamDescriptor& column);
// Execute: the value of array row `iteration` of an object or REF bind,
// bound to the engine statement (by the bind's name or position).
void bindObjectInput(BindHandle& bind, ub4 iteration, Statement& engine);

}  // namespace vorn::server::oci
