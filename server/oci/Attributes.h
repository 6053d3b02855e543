// Helpers of the attribute calls: how a value is handed out through
// OCIAttrGet (scalars are copied into the caller's variable with their
// exact width; text attributes hand out a pointer and the length) and taken
// in through OCIAttrSet.
#pragma once

#include <cstring>
#include <string>

#include "oci.h"
#include "value/OraError.h"

namespace vorn::server::oci {

template <class T>
sword putAttribute(void* value, ub4* size, T v) {
  if (!value) raiseOra(21560, {"3"});
  std::memcpy(value, &v, sizeof v);
  if (size) *size = sizeof v;
  return OCI_SUCCESS;
}

inline sword putTextAttribute(void* value, ub4* size, const std::string& text) {
  if (!value) raiseOra(21560, {"3"});
  const auto* p = reinterpret_cast<const OraText*>(text.c_str());
  std::memcpy(value, &p, sizeof p);
  if (size) *size = static_cast<ub4>(text.size());
  return OCI_SUCCESS;
}

template <class T>
T takeAttribute(const void* value) {
  if (!value) raiseOra(21560, {"3"});
  T v;
  std::memcpy(&v, value, sizeof v);
  return v;
}

inline std::string takeTextAttribute(const void* value, ub4 size) {
  if (!value) return {};
  return std::string(static_cast<const char*>(value), size);
}

}  // namespace vorn::server::oci
