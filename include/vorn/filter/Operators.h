// The operator nodes of a filter expression.
//
// TUnaryOp (NOT, unary + and -) and TBinaryOp (the arithmetic, bitwise and
// logical operators opMult .. opXor) capture their operand kind when they
// are built: the operand's kind, or the lower of the two. Their own kind
// follows from the operator and that operand kind (OperatorResultType); an
// unfit combination raises "Operator <op> incompatible with <kind>" when the
// kind is asked, which a parent operator does while it is being built.
//
// TRelationalOp (opEq .. opGTE) is Boolean and looks at its operands' kinds
// only when it is evaluated, comparing by the lower of them: dates and
// numbers by value, Booleans for (in)equality only, texts byte by byte
// (after the host's locale upper-casing when the node is case-insensitive).
// With partial compare on, = and <> match the left text against the right
// one as a pattern: "*" any run of characters, "?" one character, anything
// else itself, the whole text used up.
//
// Integer arithmetic wraps in 32 bits and shifts use the low five bits of
// the count (SHR is unsigned). Integer DIV and MOD by zero raise the host's
// EDivByZero; "/" by zero raises EZeroDivide (EInvalidOp for 0/0); a float
// or date result beyond the double range raises EOverflow.
//
// Chains of one precedence level (a OR b OR c ..., 1 + 2 + 3 ...) are read
// and freed without a stack frame per link, so their length is not limited
// by the stack.
#pragma once

#include <memory>

#include "vorn/filter/Expression.h"

namespace vorn::filter {

// The kind of `op` applied to operands of kind `operandType`:
//   Date      + -             give Date
//   String    +               gives String (concatenation)
//   Float     * / + -         give Float
//   Integer   /               gives Float, every other operator Integer
//   Boolean   NOT AND OR XOR  give Boolean
// Other pairs raise EExpression "Operator <op> incompatible with <kind>".
TExprType OperatorResultType(TOperator op, TExprType operandType);

class TUnaryOp : public TExpression {
  VORN_CLASS(TUnaryOp, TExpression)
  // `op` must be opNot, opPlus or opMinus, else "<op> is not simple unary
  // operator".
  TUnaryOp(TOperator op, std::unique_ptr<TExpression> operand);

  TOperator Operator() const { return op_; }
  const TExpression& Operand() const { return *operand_; }
  TExprType OperandType() const { return operandType_; }

  // Plus is the operand's date, minus its negation.
  TDateTime AsDate() const override;
  // Plus on a String operand is the operand's text.
  std::string AsString() const override;
  double AsFloat() const override;
  int32_t AsInteger() const override;
  bool AsBoolean() const override;
  TExprType ExprType() const override { return OperatorResultType(op_, operandType_); }

 private:
  TOperator op_;
  std::unique_ptr<TExpression> operand_;
  TExprType operandType_;
};

class TBinaryOp : public TExpression {
  VORN_CLASS(TBinaryOp, TExpression)
  // `op` must lie in opMult .. opXor, else "<op> is not a simple binary
  // operator".
  TBinaryOp(TOperator op, std::unique_ptr<TExpression> left, std::unique_ptr<TExpression> right);
  ~TBinaryOp() override;

  TOperator Operator() const { return op_; }
  const TExpression& Left() const { return *left_; }
  const TExpression& Right() const { return *right_; }
  TExprType OperandType() const { return operandType_; }

  TDateTime AsDate() const override;
  std::string AsString() const override;
  double AsFloat() const override;
  int32_t AsInteger() const override;
  // AND and OR skip the right operand when the left decides; XOR reads
  // both. Other operators raise "Internal parser error. Code 13".
  bool AsBoolean() const override;
  TExprType ExprType() const override { return OperatorResultType(op_, operandType_); }

 private:
  // Reads the chain of links below this one iteratively: `start` reads the
  // first link's left operand, `step` applies a link to the value so far;
  // links below continue the chain while `continues` holds for them.
  template <class Continues, class Start, class Step>
  auto Fold(Continues continues, Start start, Step step) const;

  TOperator op_;
  std::unique_ptr<TExpression> left_;
  std::unique_ptr<TExpression> right_;
  TExprType operandType_;
};

class TRelationalOp : public TExpression {
  VORN_CLASS(TRelationalOp, TExpression)
  // `op` must lie in opEq .. opGTE, else "<op> is not relational operator".
  TRelationalOp(TOperator op, std::unique_ptr<TExpression> left,
                std::unique_ptr<TExpression> right);

  TOperator Operator() const { return op_; }
  const TExpression& Left() const { return *left_; }
  const TExpression& Right() const { return *right_; }

  std::string AsString() const override { return AsBoolean() ? "TRUE" : "FALSE"; }
  double AsFloat() const override { return AsBoolean() ? 1 : 0; }
  int32_t AsInteger() const override { return AsBoolean() ? 1 : 0; }
  bool AsBoolean() const override;
  TExprType ExprType() const override { return etBoolean; }

 private:
  bool CompareTexts(const TExpression& left, const TExpression& right) const;

  TOperator op_;
  std::unique_ptr<TExpression> left_;
  std::unique_ptr<TExpression> right_;
};

// Whether `value` matches `pattern` ("*" any run, "?" one character).
bool MatchesPattern(std::string_view value, std::string_view pattern);

}  // namespace vorn::filter
