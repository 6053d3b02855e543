// Names and spellings of the value kinds and operators.
#include "vorn/filter/ExpressionTypes.h"

#include <array>

namespace vorn::filter {

namespace {

constexpr std::array<std::string_view, 5> kTypeNames{"Date", "String", "Float", "Integer",
                                                     "Boolean"};

constexpr std::array<std::string_view, OperatorCount> kOperatorNames{
    "opNot",   "opMult", "opDivide", "opDiv", "opMod", "opAnd", "opShl", "opShr", "opPlus",
    "opMinus", "opOr",   "opXor",    "opEq",  "opNEQ", "opLT",  "opGT",  "opLTE", "opGTE"};

constexpr std::array<std::string_view, OperatorCount> kOperatorSpellings{
    "NOT", "*",  "/",   "DIV", "MOD", "AND", "SHL", "SHR", "+",
    "-",   "OR", "XOR", "=",   "<>",  "<",   ">",   "<=",  ">="};

}  // namespace

std::string_view ExprTypeName(TExprType type) {
  return static_cast<size_t>(type) < kTypeNames.size() ? kTypeNames[type] : "?";
}

std::string_view OperatorName(TOperator op) {
  return static_cast<size_t>(op) < kOperatorNames.size() ? kOperatorNames[op] : "?";
}

std::string_view OperatorSpelling(TOperator op) {
  return static_cast<size_t>(op) < kOperatorSpellings.size() ? kOperatorSpellings[op] : "?";
}

}  // namespace vorn::filter
