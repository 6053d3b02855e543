// The numeric functions: parameter checks and values.
#include "vorn/filter/MathExpression.h"

#include <array>
#include <cmath>

#include "Arithmetic.h"

namespace vorn::filter {

namespace {

constexpr std::array<std::string_view, MathFunctionCount> kNames{
    "TRUNC", "ROUND", "ABS", "ARCTAN", "COS", "EXP",  "FRAC",
    "INT",   "LN",    "PI",  "SIN",    "SQR", "SQRT", "POWER"};

bool IsNumeric(TExprType type) {
  return type == etFloat || type == etInteger || type == etBoolean;
}

}  // namespace

std::string_view MathFunctionName(TMathFunction function) {
  return static_cast<size_t>(function) < kNames.size() ? kNames[function] : "?";
}

std::array<const TExpression*, 2> TMathExpression::CheckedParameters() const {
  const int expected = function_ == mfPower ? 2 : 1;
  if (ParamCount() != expected) InvalidParameter(MathFunctionName(function_));
  std::array<const TExpression*, 2> params{};
  for (int i = 0; i < expected; ++i) {
    const TExpression& param = Param(i)->Resolved();
    if (!IsNumeric(param.ExprType())) InvalidParameter(MathFunctionName(function_));
    params[static_cast<size_t>(i)] = &param;
  }
  return params;
}

TExprType TMathExpression::ExprType() const {
  return function_ == mfTrunc || function_ == mfRound ? etInteger : etFloat;
}

double TMathExpression::AsFloat() const {
  if (function_ == mfTrunc || function_ == mfRound) return TExpression::AsFloat();
  if (function_ == mfPi) return 3.141592653589793;
  const auto params = CheckedParameters();
  double x = params[0]->AsFloat();
  double result = 0;
  switch (function_) {
    case mfAbs:
      result = std::fabs(x);
      break;
    case mfArcTan:
      result = std::atan(x);
      break;
    case mfCos:
      result = std::cos(x);
      break;
    case mfExp:
      result = std::exp(x);
      break;
    case mfFrac:
      result = x - std::trunc(x);
      break;
    case mfInt:
      result = std::trunc(x);
      break;
    case mfLn:
      result = std::log(x);
      break;
    case mfSin:
      result = std::sin(x);
      break;
    case mfSqr:
      result = x * x;
      break;
    case mfSqrt:
      result = std::sqrt(x);
      break;
    default:
      result = std::exp(std::log(x) * params[1]->AsFloat());
      break;
  }
  return CheckedFloat(result);
}

int32_t TMathExpression::AsInteger() const {
  switch (function_) {
    case mfTrunc:
      return TruncToInt32(CheckedParameters()[0]->AsFloat());
    case mfRound:
      return RoundToInt32(CheckedParameters()[0]->AsFloat());
    case mfAbs: {
      int32_t value = CheckedParameters()[0]->AsInteger();
      return value < 0 ? WrapNeg(value) : value;
    }
    default:
      return TExpression::AsInteger();
  }
}

}  // namespace vorn::filter
