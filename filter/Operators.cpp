// Unary, binary and relational operator nodes: the result-kind rule, the
// arithmetic on each kind, comparisons and pattern matching.
#include "vorn/filter/Operators.h"

#include <algorithm>
#include <string>
#include <vector>

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
//
// Chains. Operators of one precedence level chain to the left, so a
// machine-built filter of a thousand ORed comparisons is a thousand binary
// nodes deep along its left operands. Reading such a chain recursively
// would take a stack frame per link; instead each conversion walks the left
// spine down to its first link and folds the links back up, applying each
// one's operator to the value so far and its right operand, in the order
// the recursive definition evaluates them. A link continues the fold when
// it would compute the same conversion the same way: for AsBoolean every
// AND, OR or XOR; for the arithmetic conversions a link of the same result
// kind. Anything else is read by a call of its own, and the result kinds
// along a chain can change only a few times (they only descend), so the
// recursion stays shallow however long the chain.

namespace {

bool IsLogical(TOperator op) {
  return op == opAnd || op == opOr || op == opXor;
}

}  // namespace

TBinaryOp::TBinaryOp(TOperator op, std::unique_ptr<TExpression> left,
                     std::unique_ptr<TExpression> right)
    : op_(CheckedBinary(op)),
      left_(std::move(left)),
      right_(std::move(right)),
      operandType_(std::min(left_->ExprType(), right_->ExprType())) {}

TBinaryOp::~TBinaryOp() {
  // Freed link by link for the same reason: a recursive destruction of a
  // long chain would take a stack frame per link.
  std::unique_ptr<TExpression> next = std::move(left_);
  while (auto* link = dynamic_cast<TBinaryOp*>(next.get())) {
    std::unique_ptr<TExpression> below = std::move(link->left_);
    next = std::move(below);
  }
}

template <class Continues, class Start, class Step>
auto TBinaryOp::Fold(Continues continues, Start start, Step step) const {
  const auto* below = dynamic_cast<const TBinaryOp*>(left_.get());
  if (below == nullptr || !continues(*below)) return step(*this, start(*left_));
  // The links from the first (deepest) to this one.
  std::vector<const TBinaryOp*> links{this};
  while (below != nullptr && continues(*below)) {
    links.push_back(below);
    below = dynamic_cast<const TBinaryOp*>(links.back()->left_.get());
  }
  auto value = start(*links.back()->left_);
  for (auto link = links.rbegin(); link != links.rend(); ++link)
    value = step(**link, std::move(value));
  return value;
}

TDateTime TBinaryOp::AsDate() const {
  switch (ExprType()) {
    case etDate:
      return Fold([](const TBinaryOp& link) { return link.ExprType() == etDate; },
                  [](const TExpression& first) { return first.AsDate(); },
                  [](const TBinaryOp& link, TDateTime a) -> TDateTime {
                    TDateTime b = link.right_->AsDate();
                    if (link.op_ == opPlus) return CheckedFloat(a + b);
                    if (link.op_ == opMinus) return CheckedFloat(a - b);
                    InternalError(14);
                  });
    case etBoolean:
      return AsBoolean() ? 1 : 0;
    default:
      return TExpression::AsDate();
  }
}

std::string TBinaryOp::AsString() const {
  if (ExprType() != etString) return TExpression::AsString();
  if (op_ != opPlus) InternalError(10);
  return Fold([](const TBinaryOp& link) { return link.ExprType() == etString; },
              [](const TExpression& first) { return first.AsString(); },
              [](const TBinaryOp& link, std::string text) {
                if (link.op_ != opPlus) InternalError(10);
                text += link.right_->AsString();
                return text;
              });
}

double TBinaryOp::AsFloat() const {
  switch (ExprType()) {
    case etFloat:
      if (op_ != opMult && op_ != opDivide && op_ != opPlus && op_ != opMinus) InternalError(11);
      return Fold([](const TBinaryOp& link) { return link.ExprType() == etFloat; },
                  [](const TExpression& first) { return first.AsFloat(); },
                  [](const TBinaryOp& link, double a) {
                    double b = link.right_->AsFloat();
                    switch (link.op_) {
                      case opMult:
                        return CheckedFloat(a * b);
                      case opDivide:
                        return FloatDivide(a, b);
                      case opPlus:
                        return CheckedFloat(a + b);
                      case opMinus:
                        return CheckedFloat(a - b);
                      default:
                        InternalError(11);
                    }
                  });
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
    case etInteger:
      if (op_ == opDivide) InternalError(12);
      return Fold([](const TBinaryOp& link) { return link.ExprType() == etInteger; },
                  [](const TExpression& first) { return first.AsInteger(); },
                  [](const TBinaryOp& link, int32_t a) {
                    int32_t b = link.right_->AsInteger();
                    switch (link.op_) {
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
                      case opXor:
                        return a ^ b;
                      default:
                        InternalError(12);
                    }
                  });
    case etBoolean:
      return AsBoolean() ? 1 : 0;
    default:
      return 0;
  }
}

bool TBinaryOp::AsBoolean() const {
  if (!IsLogical(op_)) InternalError(13);
  return Fold([](const TBinaryOp& link) { return IsLogical(link.op_); },
              [](const TExpression& first) { return first.AsBoolean(); },
              [](const TBinaryOp& link, bool a) {
                switch (link.op_) {
                  case opAnd:
                    return a && link.right_->AsBoolean();
                  case opOr:
                    return a || link.right_->AsBoolean();
                  default:
                    return a != link.right_->AsBoolean();
                }
              });
}

// --- TRelationalOp

TRelationalOp::TRelationalOp(TOperator op, std::unique_ptr<TExpression> left,
                             std::unique_ptr<TExpression> right)
    : op_(CheckedRelational(op)), left_(std::move(left)), right_(std::move(right)) {}

bool TRelationalOp::AsBoolean() const {
  // Each side is resolved once, so an IF on either side evaluates its
  // condition once for the kind and the value together.
  const TExpression& left = left_->Resolved();
  const TExpression& right = right_->Resolved();
  TExprType leftType = left.ExprType();
  TExprType kind = std::min(leftType, right.ExprType());
  switch (kind) {
    case etDate: {
      TDateTime a = left.AsDate();
      return Compare(op_, a, right.AsDate());
    }
    case etString:
      return CompareTexts(left, right);
    case etFloat: {
      double a = left.AsFloat();
      return Compare(op_, a, right.AsFloat());
    }
    case etInteger: {
      int32_t a = left.AsInteger();
      return Compare(op_, a, right.AsInteger());
    }
    case etBoolean:
      if (op_ != opEq && op_ != opNEQ) ExpressionError(SCannotApplyToBoolean, OperatorName(op_));
      {
        bool a = left.AsBoolean();
        return Compare(op_, a, right.AsBoolean());
      }
  }
  return false;
}

bool TRelationalOp::CompareTexts(const TExpression& left, const TExpression& right) const {
  std::string a = left.AsString();
  std::string b = right.AsString();
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
