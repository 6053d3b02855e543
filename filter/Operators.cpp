// Unary, binary and relational operator nodes: the result-kind rule, the
// arithmetic on each kind, comparisons and pattern matching.
#include "vorn/filter/Operators.h"

#include <algorithm>
#include <string>

#include "Arithmetic.h"
#include "Messages.h"
#include "vorn/host/TextUtils.h"

namespace vorn::filter {

namespace {

TOperator CheckedUnary(TOperator op) {
  if (op != opNot && op != opPlus && op != opMinus) ExpressionError(SNotUnary, OperatorName(op));
  return op;
}

TOperator CheckedBinary(TOperator op) {
  if (op < opMult || op > opXor) ExpressionError(SNotBinary, OperatorName(op));
  return op;
}

TOperator CheckedRelational(TOperator op) {
  if (op < opEq || op > opGTE) ExpressionError(SNotRelational, OperatorName(op));
  return op;
}

template <class T>
bool Compare(TOperator op, const T& a, const T& b) {
  switch (op) {
    case opEq:
      return a == b;
    case opNEQ:
      return a != b;
    case opLT:
      return a < b;
    case opGT:
      return a > b;
    case opLTE:
      return a <= b;
    default:
      return a >= b;
  }
}

}  // namespace

TExprType OperatorResultType(TOperator op, TExprType operandType) {
  switch (operandType) {
    case etDate:
      if (op == opPlus || op == opMinus) return etDate;
      break;
    case etString:
      if (op == opPlus) return etString;
      break;
    case etFloat:
      if (op == opMult || op == opDivide || op == opPlus || op == opMinus) return etFloat;
      break;
    case etInteger:
      return op == opDivide ? etFloat : etInteger;
    case etBoolean:
      if (op == opNot || op == opAnd || op == opOr || op == opXor) return etBoolean;
      break;
  }
  ExpressionError(SIncompatible, OperatorName(op), ExprTypeName(operandType));
}

// --- TUnaryOp

TUnaryOp::TUnaryOp(TOperator op, std::unique_ptr<TExpression> operand)
    : op_(CheckedUnary(op)), operand_(std::move(operand)), operandType_(operand_->ExprType()) {}

TDateTime TUnaryOp::AsDate() const {
  // Only + and - reach the Date kind.
  if (ExprType() != etDate) return TExpression::AsDate();
  TDateTime value = operand_->AsDate();
  return op_ == opMinus ? -value : value;
}

std::string TUnaryOp::AsString() const {
  // Only + reaches the String kind.
  if (ExprType() != etString) return TExpression::AsString();
  return operand_->AsString();
}

double TUnaryOp::AsFloat() const {
  switch (op_) {
    case opPlus:
      return operand_->AsFloat();
    case opMinus:
      return -operand_->AsFloat();
    default:
      return TExpression::AsFloat();
  }
}

int32_t TUnaryOp::AsInteger() const {
  switch (op_) {
    case opPlus:
      return operand_->AsInteger();
    case opMinus:
      return WrapNeg(operand_->AsInteger());
    default:
      if (operandType_ == etInteger) return ~operand_->AsInteger();
      if (operandType_ == etBoolean) return AsBoolean() ? 1 : 0;
      InternalError(6);
  }
}

bool TUnaryOp::AsBoolean() const {
  if (op_ != opNot) CannotRead("boolean");
  return !operand_->AsBoolean();
}

// --- TBinaryOp

TBinaryOp::TBinaryOp(TOperator op, std::unique_ptr<TExpression> left,
                     std::unique_ptr<TExpression> right)
    : op_(CheckedBinary(op)),
      left_(std::move(left)),
      right_(std::move(right)),
      operandType_(std::min(left_->ExprType(), right_->ExprType())) {}

TDateTime TBinaryOp::AsDate() const {
  switch (ExprType()) {
    case etDate: {
      TDateTime a = left_->AsDate();
      TDateTime b = right_->AsDate();
      if (op_ == opPlus) return a + b;
      if (op_ == opMinus) return a - b;
      InternalError(14);
    }
    case etBoolean:
      return AsBoolean() ? 1 : 0;
    default:
      return TExpression::AsDate();
  }
}

std::string TBinaryOp::AsString() const {
  if (ExprType() != etString) return TExpression::AsString();
  if (op_ != opPlus) InternalError(10);
  std::string text = left_->AsString();
  text += right_->AsString();
  return text;
}

double TBinaryOp::AsFloat() const {
  switch (ExprType()) {
    case etFloat: {
      if (op_ != opMult && op_ != opDivide && op_ != opPlus && op_ != opMinus) InternalError(11);
      double a = left_->AsFloat();
      double b = right_->AsFloat();
      switch (op_) {
        case opMult:
          return a * b;
        case opDivide:
          return FloatDivide(a, b);
        case opPlus:
          return a + b;
        default:
          return a - b;
      }
    }
    case etInteger:
      return AsInteger();
    case etBoolean:
      return AsBoolean() ? 1 : 0;
    case etDate:
      return AsDate();
    default:
      return 0;
  }
}

int32_t TBinaryOp::AsInteger() const {
  switch (ExprType()) {
    case etInteger: {
      if (op_ == opDivide) InternalError(12);
      int32_t a = left_->AsInteger();
      int32_t b = right_->AsInteger();
      switch (op_) {
        case opMult:
          return WrapMul(a, b);
        case opDiv:
          return IntDiv(a, b);
        case opMod:
          return IntMod(a, b);
        case opAnd:
          return a & b;
        case opShl:
          return ShiftLeft(a, b);
        case opShr:
          return ShiftRight(a, b);
        case opPlus:
          return WrapAdd(a, b);
        case opMinus:
          return WrapSub(a, b);
        case opOr:
          return a | b;
        default:
          return a ^ b;
      }
    }
    case etBoolean:
      return AsBoolean() ? 1 : 0;
    default:
      return 0;
  }
}

bool TBinaryOp::AsBoolean() const {
  switch (op_) {
    case opAnd:
      return left_->AsBoolean() && right_->AsBoolean();
    case opOr:
      return left_->AsBoolean() || right_->AsBoolean();
    case opXor: {
      bool a = left_->AsBoolean();
      bool b = right_->AsBoolean();
      return a != b;
    }
    default:
      InternalError(13);
  }
}

// --- TRelationalOp

TRelationalOp::TRelationalOp(TOperator op, std::unique_ptr<TExpression> left,
                             std::unique_ptr<TExpression> right)
    : op_(CheckedRelational(op)), left_(std::move(left)), right_(std::move(right)) {}

bool TRelationalOp::AsBoolean() const {
  TExprType leftType = left_->ExprType();
  TExprType kind = std::min(leftType, right_->ExprType());
  switch (kind) {
    case etDate: {
      TDateTime a = left_->AsDate();
      return Compare(op_, a, right_->AsDate());
    }
    case etString:
      return CompareTexts();
    case etFloat: {
      double a = left_->AsFloat();
      return Compare(op_, a, right_->AsFloat());
    }
    case etInteger: {
      int32_t a = left_->AsInteger();
      return Compare(op_, a, right_->AsInteger());
    }
    case etBoolean:
      if (op_ != opEq && op_ != opNEQ) ExpressionError(SCannotApplyToBoolean, OperatorName(op_));
      {
        bool a = left_->AsBoolean();
        return Compare(op_, a, right_->AsBoolean());
      }
  }
  return false;
}

bool TRelationalOp::CompareTexts() const {
  std::string a = left_->AsString();
  std::string b = right_->AsString();
  if (CaseInsensitive()) {
    a = AnsiUpperCase(a);
    b = AnsiUpperCase(b);
  }
  if ((op_ == opEq || op_ == opNEQ) && PartialCompare()) {
    return MatchesPattern(a, b) == (op_ == opEq);
  }
  // Ordinal: std::string compares its bytes as unsigned characters.
  int order = a.compare(b);
  return Compare(op_, order, 0);
}

// Greedy matching that, on a mismatch, lets the last "*" seen take one more
// character and tries again from there. Earlier stars never need to
// backtrack, because any extra text they could take the last star can take
// as well; so the work stays proportional to value times pattern length
// however many stars the pattern holds.
bool MatchesPattern(std::string_view value, std::string_view pattern) {
  size_t v = 0, p = 0;
  size_t starPattern = std::string_view::npos, starValue = 0;
  while (v < value.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starPattern = p++;
      starValue = v;
    } else if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == value[v])) {
      ++p;
      ++v;
    } else if (starPattern != std::string_view::npos) {
      p = starPattern + 1;
      v = ++starValue;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*')
    ++p;
  return p == pattern.size();
}

}  // namespace vorn::filter
