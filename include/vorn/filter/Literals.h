// The constant nodes of a filter expression: text, floating-point number,
// 32-bit integer and Boolean. Each answers the conversions its value has a
// direct reading for; the rest follow TExpression's generic rules.
//
//   TStringLiteral   AsString the text; AsDate the text read as a date-time
//                    (locale date format).
//   TFloatLiteral    AsDate and AsFloat the value; AsString FloatToStr.
//   TIntegerLiteral  AsDate, AsFloat and AsInteger the value; AsString its
//                    decimal text.
//   TBooleanLiteral  AsDate, AsFloat and AsInteger 0 or 1; AsString "TRUE"
//                    or "FALSE"; AsBoolean the value.
#pragma once

#include <cstdint>
#include <string>

#include "vorn/filter/Expression.h"

namespace vorn::filter {

class TStringLiteral : public TExpression {
  VORN_CLASS(TStringLiteral, TExpression)
  explicit TStringLiteral(std::string value) : value_(std::move(value)) {}

  const std::string& Value() const { return value_; }
  TDateTime AsDate() const override;
  std::string AsString() const override { return value_; }
  TExprType ExprType() const override { return etString; }

 private:
  std::string value_;
};

class TFloatLiteral : public TExpression {
  VORN_CLASS(TFloatLiteral, TExpression)
  explicit TFloatLiteral(double value) : value_(value) {}

  double Value() const { return value_; }
  TDateTime AsDate() const override { return value_; }
  std::string AsString() const override;
  double AsFloat() const override { return value_; }
  TExprType ExprType() const override { return etFloat; }

 private:
  double value_;
};

class TIntegerLiteral : public TExpression {
  VORN_CLASS(TIntegerLiteral, TExpression)
  explicit TIntegerLiteral(int32_t value) : value_(value) {}

  int32_t Value() const { return value_; }
  TDateTime AsDate() const override { return value_; }
  std::string AsString() const override;
  double AsFloat() const override { return value_; }
  int32_t AsInteger() const override { return value_; }
  TExprType ExprType() const override { return etInteger; }

 private:
  int32_t value_;
};

class TBooleanLiteral : public TExpression {
  VORN_CLASS(TBooleanLiteral, TExpression)
  explicit TBooleanLiteral(bool value) : value_(value) {}

  bool Value() const { return value_; }
  TDateTime AsDate() const override { return value_ ? 1 : 0; }
  std::string AsString() const override;
  double AsFloat() const override { return value_ ? 1 : 0; }
  int32_t AsInteger() const override { return value_ ? 1 : 0; }
  bool AsBoolean() const override { return value_; }
  TExprType ExprType() const override { return etBoolean; }

 private:
  bool value_;
};

}  // namespace vorn::filter
