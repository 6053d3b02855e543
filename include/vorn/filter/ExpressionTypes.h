// The vocabulary of filter expressions: the five value kinds a node can be
// read as, the operators, and EExpression, the one error class of parsing
// and evaluation.
//
// The kinds are ordered: where two operands meet, the lower kind wins
// (Integer with Float is Float, anything with String is String, anything
// with Date is Date). Kind names ("Date", "String", ...) and operator
// enumeration names ("opAnd", ...) are the texts messages show.
#pragma once

#include <string_view>

#include "vorn/host/Exceptions.h"

namespace vorn::filter {

enum TExprType { etDate, etString, etFloat, etInteger, etBoolean };

// Ordinals are fixed: they index the spelling table of the parser.
enum TOperator {
  opNot,
  opMult,
  opDivide,
  opDiv,
  opMod,
  opAnd,
  opShl,
  opShr,
  opPlus,
  opMinus,
  opOr,
  opXor,
  opEq,
  opNEQ,
  opLT,
  opGT,
  opLTE,
  opGTE
};

inline constexpr int OperatorCount = opGTE + 1;

// "Date", "String", "Float", "Integer", "Boolean".
std::string_view ExprTypeName(TExprType type);
// "opNot" ... "opGTE".
std::string_view OperatorName(TOperator op);
// How filter text writes the operator: "NOT", "*", "DIV", "<=", ...
std::string_view OperatorSpelling(TOperator op);

class EExpression : public Exception {
  VORN_CLASS(EExpression, Exception)
  using Exception::Exception;
};

}  // namespace vorn::filter
