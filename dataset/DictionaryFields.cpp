// TOracleDataSet: what the data dictionary options do to the dataset's
// fields and records.
//
// The field settings of RangeValues and DisplayFormats come from the
// precision and scale of each numeric field's select-list column, and are
// applied to the default fields when the dataset opens (and at design time
// whenever the field list changes, or DisplayFormats is turned on), only
// while the session is connected:
//
//   RangeValues     the bound (10^p - 1) / 10^s becomes -bound .. bound
//                   (rounded for integer fields) of a field whose MinValue
//                   and MaxValue are both 0;
//   DisplayFormats  for p > 0 and s > 0 the display format "###,##0.00"
//                   (p - s - 1 "#", "0", the locale's grouping every three
//                   digits, s "0" after the point), the edit format
//                   "#####0.00" and a display width of the display format's
//                   length + 1; for p > 0 and s <= 0 only the display width
//                   p + 1; either only when the field has no display and no
//                   edit format.
//
// FieldKinds, the key columns, constraint checks and default values read
// the dictionary itself, which the dataset does not do yet (FieldKinds
// refuses to be turned on, OracleDictionary.h); the other three work on
// records being modified, which is not built yet either. Their places are
// below.
#include <cmath>
#include <limits>

#include "DataSetRecords.h"
#include "vorn/dataset/OracleDataSet.h"
#include "vorn/dataset/OracleDictionary.h"
#include "vorn/host/NumericFields.h"
#include "vorn/query/OracleQuery.h"
#include "vorn/session/OracleSession.h"

namespace vorn {

namespace {

// "0" after p - s - 1 "#"; with grouping, "," before every third place
// counted from the right.
std::string IntegerPart(int precision, int scale, bool grouped) {
  const int places = scale < precision ? precision - scale : 1;
  std::string part;
  for (int i = places; i >= 1; --i) {
    part += i == 1 ? '0' : '#';
    if (grouped && i > 1 && (i - 1) % 3 == 0) part += ',';
  }
  return part;
}

void ApplyDisplayFormats(TNumericField& field, int precision, int scale) {
  if (precision <= 0 || !field.DisplayFormat().empty() || !field.EditFormat().empty()) return;
  if (scale <= 0) {
    field.SetDisplayWidth(precision + 1);
    return;
  }
  const std::string fraction = "." + std::string(static_cast<size_t>(scale), '0');
  const std::string display = IntegerPart(precision, scale, true) + fraction;
  field.SetDisplayFormat(display);
  field.SetEditFormat(IntegerPart(precision, scale, false) + fraction);
  field.SetDisplayWidth(static_cast<int>(display.size()) + 1);
}

void ApplyRangeValues(TNumericField& field, int precision, int scale) {
  // Scale -127 marks a binary FLOAT column, whose range no decimal bound
  // describes.
  if (precision <= 0 || scale == -127) return;
  const double bound = (std::pow(10.0, precision) - 1) / std::pow(10.0, scale);
  if (auto* integer = dynamic_cast<TIntegerField*>(&field)) {
    if (integer->MinValue() != 0 || integer->MaxValue() != 0) return;
    const double limit = std::numeric_limits<int32_t>::max();
    const auto rounded = static_cast<int32_t>(std::min(std::round(bound), limit));
    integer->SetMinValue(-rounded);
    integer->SetMaxValue(rounded);
  } else if (auto* number = dynamic_cast<TFloatField*>(&field)) {
    if (number->MinValue() != 0 || number->MaxValue() != 0) return;
    number->SetMinValue(-bound);
    number->SetMaxValue(bound);
  }
}

}  // namespace

void TOracleDataSet::ApplyDictionaryFieldSettings() {
  const TOracleDictionary& dictionary = *oracleDictionary_;
  if (!dictionary.RangeValues() && !dictionary.DisplayFormats()) return;
  const TOracleSession* session = Session();
  if (session == nullptr || !session->Connected()) return;
  // The columns are known once the select list has been described.
  if (fetchQuery_ == nullptr || fieldInfo_.size() < 2) return;
  for (TField* field : Fields()) {
    const int fieldNo = field->FieldNo();
    if (fieldNo <= 0 || fieldNo >= static_cast<int>(fieldInfo_.size())) continue;
    if (field->FieldKind() != fkData && field->FieldKind() != fkInternalCalc) continue;
    auto* numeric = dynamic_cast<TNumericField*>(field);
    const int column = fieldInfo_[static_cast<size_t>(fieldNo)].ColumnIndex;
    if (numeric == nullptr || column < 0 || column >= fetchQuery_->FieldCount()) continue;
    const int precision = fetchQuery_->FieldPrecision(column);
    const int scale = fetchQuery_->FieldScale(column);
    if (dictionary.RangeValues()) ApplyRangeValues(*numeric, precision, scale);
    if (dictionary.DisplayFormats()) ApplyDisplayFormats(*numeric, precision, scale);
  }
}

// The key columns (UniqueFields, or the updating table's primary or unique
// key) identify records for generated statements.
void TOracleDataSet::DetermineKeyFields() {}

// The constraints of the updating table whose one editable column is
// `field`, checked while a record is edited.
void TOracleDataSet::CheckFieldConstraints(TField* /*field*/) {}

// The columns' default values, given to a new record.
void TOracleDataSet::ApplyDefaultValues() {}

}  // namespace vorn
