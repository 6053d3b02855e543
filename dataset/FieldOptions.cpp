// Field options and default values from the dictionary; see
// FieldOptions.h.
#include "FieldOptions.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "DictionaryDataSet.h"
#include "FieldValues.h"
#include "vorn/dataset/DictionaryCache.h"
#include "vorn/dataset/OracleDictionary.h"
#include "vorn/host/DataSet.h"
#include "vorn/host/NumericFields.h"
#include "vorn/session/OracleSession.h"

namespace vorn {

namespace {

// "#####0" becomes "###,##0": a separator before every third digit,
// counted from the right.
std::string Grouped(const std::string& digits) {
  std::string grouped;
  for (size_t i = 0; i < digits.size(); ++i) {
    const size_t fromRight = digits.size() - i;
    if (i > 0 && fromRight % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return grouped;
}

template <class Integer>
Integer ClampedBound(double bound) {
  const double rounded = std::round(bound);
  const auto limit = static_cast<double>(std::numeric_limits<Integer>::max());
  return rounded >= limit ? std::numeric_limits<Integer>::max() : static_cast<Integer>(rounded);
}

void ApplyRange(TNumericField& field, int precision, int scale) {
  if (precision <= 0) return;
  const double bound = NumericBound(precision, scale);
  if (auto* integer = dynamic_cast<TIntegerField*>(&field)) {
    if (integer->MinValue() != 0 || integer->MaxValue() != 0) return;
    // A smallint field keeps within its 16 bits.
    int32_t max = ClampedBound<int32_t>(bound);
    if (field.DataType() == ftSmallint && max > INT16_MAX) max = INT16_MAX;
    integer->SetMinValue(-max);
    integer->SetMaxValue(max);
  } else if (auto* large = dynamic_cast<TLargeintField*>(&field)) {
    if (large->MinValue() != 0 || large->MaxValue() != 0) return;
    const int64_t max = ClampedBound<int64_t>(bound);
    large->SetMinValue(-max);
    large->SetMaxValue(max);
  } else if (auto* floating = dynamic_cast<TFloatField*>(&field)) {
    if (floating->MinValue() != 0 || floating->MaxValue() != 0) return;
    floating->SetMinValue(-bound);
    floating->SetMaxValue(bound);
  }
}

void ApplyFormats(TNumericField& field, int precision, int scale) {
  if (!field.DisplayFormat().empty() || !field.EditFormat().empty()) return;
  const TNumericFormats formats = NumericFormats(precision, scale);
  if (formats.DisplayWidth == 0) return;
  if (!formats.DisplayFormat.empty()) {
    field.SetDisplayFormat(formats.DisplayFormat);
    field.SetEditFormat(formats.EditFormat);
  }
  field.SetDisplayWidth(formats.DisplayWidth);
}

// Fields that are no column of the updating table become read-only
// internal calculations.
void ApplyFieldKinds(DictionaryDataSet& dataSet) {
  // A statement without a table (a procedure's cursor) has no columns to
  // tell fields by.
  const std::string tableName = dataSet.UpdatingTableName();
  if (tableName.empty()) return;
  TOracleTableInfo& table = TableInfoOf(dataSet.Session(), tableName);
  // A table that could not be described says nothing about the fields.
  if (table.Columns().Count() == 0) return;
  TDataSet& fields = dataSet.DataSet();
  for (TField* field : fields.Fields()) {
    if (field->FieldKind() != fkData || table.FindColumn(field->FieldName()) != nullptr) continue;
    if (!fields.Active()) field->SetFieldKind(fkInternalCalc);
    field->SetReadOnly(true);
  }
}

}  // namespace

TNumericFormats NumericFormats(int precision, int scale) {
  TNumericFormats formats;
  if (precision <= 0) return formats;
  if (scale <= 0) {
    formats.DisplayWidth = precision + 1;
    return formats;
  }
  const std::string integerPart =
      scale >= precision ? "0" : std::string(static_cast<size_t>(precision - scale - 1), '#') + "0";
  const std::string decimals = "." + std::string(static_cast<size_t>(scale), '0');
  formats.DisplayFormat = Grouped(integerPart) + decimals;
  formats.EditFormat = integerPart + decimals;
  formats.DisplayWidth = static_cast<int>(formats.DisplayFormat.size()) + 1;
  return formats;
}

double NumericBound(int precision, int scale) {
  return (std::pow(10.0, precision) - 1) / std::pow(10.0, scale);
}

void ApplyFieldOptions(DictionaryDataSet& dataSet) {
  TOracleDictionary& dictionary = dataSet.Dictionary();
  if (!dictionary.HasFieldOptions()) return;
  TOracleSession* session = dataSet.Session();
  if (session == nullptr || !session->Connected()) return;
  TDataSet& fields = dataSet.DataSet();
  for (TField* field : fields.Fields()) {
    const TFieldKind kind = field->FieldKind();
    if (kind != fkData && kind != fkInternalCalc) continue;
    auto* numeric = dynamic_cast<TNumericField*>(field);
    int precision = 0;
    int scale = 0;
    // Scale -127 marks a binary FLOAT column, whose range and digits no
    // decimal precision describes.
    if (numeric == nullptr || !dataSet.ColumnPrecision(*field, precision, scale) || scale == -127)
      continue;
    if (dictionary.RangeValues()) ApplyRange(*numeric, precision, scale);
    if (dictionary.DisplayFormats()) ApplyFormats(*numeric, precision, scale);
  }
  if (dictionary.FieldKinds()) ApplyFieldKinds(dataSet);
}

void ApplyDefaultValues(DictionaryDataSet& dataSet) {
  TOracleDictionary& dictionary = dataSet.Dictionary();
  if (!dictionary.DefaultValues()) return;
  const std::string tableName = dataSet.UpdatingTableName();
  if (tableName.empty()) return;
  TOracleTableInfo& table = TableInfoOf(dataSet.Session(), tableName);
  if (!table.EvaluateDefaults(dictionary.DynamicDefaults())) return;
  TTypedCollection<TOracleColumnInfo>& columns = table.Columns();
  for (int i = 0; i < columns.Count(); ++i) {
    const TOracleColumnInfo& column = *columns.Items(i);
    if (column.DefaultExpression.empty() || column.DefaultValue.IsNull()) continue;
    TField* field = dataSet.DataSet().FindField(column.ColumnName);
    if (field == nullptr || HasValue(*field)) continue;
    field->SetValue(column.DefaultValue);
  }
}

}  // namespace vorn
