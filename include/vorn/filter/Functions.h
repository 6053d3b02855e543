// The built-in functions of filter expressions: their parameter lists, the
// common base, the type casts and IF; the numeric and string functions are
// in MathExpression.h and StringExpression.h. A function checks its
// parameters each time it is evaluated, not when it is built, because the
// kinds of its parameters may change from record to record (IF).
//
// Type casts DATE, STRING, FLOAT, INTEGER, BOOLEAN have the target kind and
// answer every conversion with the same conversion of their first
// parameter, so a cast only changes which conversion a parent asks for:
// STRING(SAL) = '1000' compares texts. Further parameters are ignored; a
// cast without any raises "Invalid parameter to <name>" when read.
//
// IF(condition, a, b) takes exactly three parameters, the first of kind
// Boolean, else "Invalid parameters to If". Its kind and every conversion
// are those of a or b, chosen by evaluating the condition on each request:
// once per request, however deeply IFs nest (see TExpression::Resolved).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "vorn/filter/Expression.h"

namespace vorn::filter {

// The parameters of a function call; owns its nodes.
class TParameterList : public TObject {
  VORN_CLASS(TParameterList, TObject)
  TParameterList() = default;
  TParameterList(const TParameterList&) = delete;
  TParameterList& operator=(const TParameterList&) = delete;

  int Count() const { return static_cast<int>(items_.size()); }
  // Raises EListError "List index out of bounds (i)" outside the list.
  TExpression* Items(int index) const;
  void Add(std::unique_ptr<TExpression> item) { items_.push_back(std::move(item)); }

 private:
  std::vector<std::unique_ptr<TExpression>> items_;
};

class TFunction : public TExpression {
  VORN_CLASS(TFunction, TExpression)
  // 0 without a parameter list.
  int ParamCount() const { return params_ ? params_->Count() : 0; }
  TExpression* Param(int index) const;
  const TParameterList* Params() const { return params_.get(); }

 protected:
  // `params` may be null (the name was written without parentheses).
  explicit TFunction(std::unique_ptr<TParameterList> params) : params_(std::move(params)) {}
  // "Invalid parameter to <name>".
  [[noreturn]] static void InvalidParameter(std::string_view name);

 private:
  std::unique_ptr<TParameterList> params_;
};

class TTypeCast : public TFunction {
  VORN_CLASS(TTypeCast, TFunction)
  TTypeCast(TExprType target, std::unique_ptr<TParameterList> params)
      : TFunction(std::move(params)), target_(target) {}

  TExprType Target() const { return target_; }
  // "DATE", "STRING", "FLOAT", "INTEGER" or "BOOLEAN".
  std::string_view Name() const;

  TDateTime AsDate() const override { return Source().AsDate(); }
  std::string AsString() const override { return Source().AsString(); }
  double AsFloat() const override { return Source().AsFloat(); }
  int32_t AsInteger() const override { return Source().AsInteger(); }
  bool AsBoolean() const override { return Source().AsBoolean(); }
  TExprType ExprType() const override { return target_; }

 private:
  const TExpression& Source() const;

  TExprType target_;
};

class TConditional : public TFunction {
  VORN_CLASS(TConditional, TFunction)
  explicit TConditional(std::unique_ptr<TParameterList> params) : TFunction(std::move(params)) {}

  TDateTime AsDate() const override { return Chosen().AsDate(); }
  std::string AsString() const override { return Chosen().AsString(); }
  double AsFloat() const override { return Chosen().AsFloat(); }
  int32_t AsInteger() const override { return Chosen().AsInteger(); }
  bool AsBoolean() const override { return Chosen().AsBoolean(); }
  TExprType ExprType() const override { return Chosen().ExprType(); }
  const TExpression& Resolved() const override { return Chosen().Resolved(); }

 private:
  // Checks the parameters and evaluates the condition, once.
  const TExpression& Chosen() const;
};

// The built-in function called `name` (upper case: IF, the casts, the
// numeric and the string functions, looked up in that order) over `params`,
// which it takes; nullptr, leaving `params` alone, when there is none.
std::unique_ptr<TExpression> CreateFunction(std::string_view name,
                                            std::unique_ptr<TParameterList>& params);

}  // namespace vorn::filter
