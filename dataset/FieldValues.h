// How the dictionary features look at field values: the server stores an
// empty text as null, so an empty text is no value either; and the
// variable type a field's value travels in.
#pragma once

#include "vorn/host/Field.h"
#include "vorn/host/Variant.h"

namespace vorn {

// Null or unassigned.
inline bool IsNullValue(const Variant& value) {
  return value.IsNull() || value.IsEmpty();
}
// A date, time or date-and-time field type.
inline bool IsDateType(TFieldType type) {
  return type == ftDate || type == ftTime || type == ftDateTime;
}
// Not null, and not an empty text.
bool HasValue(const TField& field);
// Both without a value (null, unassigned or an empty text), or equal.
bool SameValue(const Variant& a, const Variant& b);
// otString, otInteger, otFloat, otDate, otLong or otLongRaw, by the field's
// data type.
int VariableTypeOf(const TField& field);

}  // namespace vorn
