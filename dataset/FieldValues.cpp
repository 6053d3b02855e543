// Field values as the dictionary features see them; see FieldValues.h.
#include "FieldValues.h"

#include "vorn/query/QueryTypes.h"

namespace vorn {

namespace {

bool IsNoValue(const Variant& value) {
  return value.IsNull() || value.IsEmpty() || (VarIsStr(value) && value.AsString().empty());
}

}  // namespace

bool HasValue(const TField& field) {
  return !IsNoValue(field.Value());
}

bool SameValue(const Variant& a, const Variant& b) {
  const bool aNone = IsNoValue(a);
  const bool bNone = IsNoValue(b);
  if (aNone || bNone) return aNone && bNone;
  return a == b;
}

int VariableTypeOf(const TField& field) {
  switch (field.DataType()) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
    case ftBoolean:
      return otInteger;
    case ftLargeint:
    case ftFloat:
    case ftCurrency:
    case ftBCD:
      return otFloat;
    case ftDate:
    case ftTime:
    case ftDateTime:
      return otDate;
    case ftMemo:
    case ftFmtMemo:
      return otLong;
    case ftBlob:
    case ftGraphic:
    case ftBytes:
    case ftVarBytes:
    case ftTypedBinary:
      return otLongRaw;
    default:
      return otString;
  }
}

}  // namespace vorn
