// TColumnExpression: a filter node that reads a field of the record the
// dataset is testing. Every operation looks the field up by name through
// the dataset's FieldByName, so an unknown name raises the host's
// "Field '<name>' not found" as soon as the node's kind is asked (which a
// parent operator does while the filter is parsed).
//
// Kind by the field's type: ftSmallint, ftInteger, ftWord, ftLargeint
// Integer; ftBoolean Boolean; ftFloat, ftCurrency, ftBCD Float; ftDate,
// ftTime, ftDateTime Date; any other String. AsDate is the field's
// AsDateTime, AsString its AsString, AsFloat its AsDateTime for the three
// date types and AsFloat otherwise, AsInteger and AsBoolean the field's own;
// a null field reads as the field gives it ("", 0, false).
//
// The name NULL is no field: it is a String node whose text is empty, so
// COMM = NULL holds for the records whose COMM is null or empty.
#pragma once

#include <memory>
#include <string>

#include "vorn/filter/Expression.h"

namespace vorn {
class TDataSet;
class TField;
}  // namespace vorn

namespace vorn::filter {

class TParameterList;

class TColumnExpression : public TExpression {
  VORN_CLASS(TColumnExpression, TExpression)
  // `dataSet` is not owned and must outlive the node; without one every
  // read raises the field-not-found error.
  TColumnExpression(TDataSet* dataSet, std::string name);

  TDataSet* DataSet() const { return dataSet_; }
  const std::string& Name() const { return name_; }

  TDateTime AsDate() const override;
  std::string AsString() const override;
  double AsFloat() const override;
  int32_t AsInteger() const override;
  bool AsBoolean() const override;
  TExprType ExprType() const override;

 private:
  TField* Field() const;

  TDataSet* dataSet_;
  std::string name_;
  bool isNull_;
};

// The kind a column of type `type` has.
TExprType ColumnExprType(TFieldType type);

// The dataset's resolver for ParseFilterExpression: every name becomes a
// column of `context`, which must be a TDataSet (otherwise nullptr: the name
// stays unknown). A parameter list after the name is ignored.
std::unique_ptr<TExpression> ResolveColumn(TObject* context, const std::string& name,
                                           const TParameterList* params);

}  // namespace vorn::filter
