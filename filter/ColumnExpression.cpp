// Column nodes: kinds and values of a dataset's fields for the record under
// test, and the dataset's name resolver.
#include "vorn/filter/ColumnExpression.h"

#include "vorn/host/DataSet.h"
#include "vorn/host/DbConsts.h"
#include "vorn/host/Field.h"

namespace vorn::filter {

namespace {

bool IsDateType(TFieldType type) {
  return type == ftDate || type == ftTime || type == ftDateTime;
}

}  // namespace

TExprType ColumnExprType(TFieldType type) {
  switch (type) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftLargeint:
      return etInteger;
    case ftBoolean:
      return etBoolean;
    case ftFloat:
    case ftCurrency:
    case ftBCD:
      return etFloat;
    case ftDate:
    case ftTime:
    case ftDateTime:
      return etDate;
    default:
      return etString;
  }
}

TColumnExpression::TColumnExpression(TDataSet* dataSet, std::string name)
    : dataSet_(dataSet), name_(std::move(name)), isNull_(name_ == "NULL") {}

TField* TColumnExpression::Field() const {
  if (dataSet_ == nullptr) DatabaseErrorFmt(SFieldNotFound, {name_});
  return dataSet_->FieldByName(name_);
}

TExprType TColumnExpression::ExprType() const {
  if (isNull_) return etString;
  return ColumnExprType(Field()->DataType());
}

TDateTime TColumnExpression::AsDate() const {
  if (isNull_) return TExpression::AsDate();
  return Field()->AsDateTime();
}

std::string TColumnExpression::AsString() const {
  if (isNull_) return {};
  return Field()->AsString();
}

double TColumnExpression::AsFloat() const {
  if (isNull_) return TExpression::AsFloat();
  TField* field = Field();
  return IsDateType(field->DataType()) ? field->AsDateTime() : field->AsFloat();
}

int32_t TColumnExpression::AsInteger() const {
  if (isNull_) return TExpression::AsInteger();
  return Field()->AsInteger();
}

bool TColumnExpression::AsBoolean() const {
  if (isNull_) return TExpression::AsBoolean();
  return Field()->AsBoolean();
}

std::unique_ptr<TExpression> ResolveColumn(TObject* context, const std::string& name,
                                           const TParameterList* /*params*/) {
  auto* dataSet = dynamic_cast<TDataSet*>(context);
  if (dataSet == nullptr) return nullptr;
  return std::make_unique<TColumnExpression>(dataSet, name);
}

}  // namespace vorn::filter
