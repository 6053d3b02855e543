// The numeric functions of filter expressions. Each takes exactly its
// number of parameters (PI takes any and reads none), every one of kind
// Float, Integer or Boolean, else "Invalid parameter to <NAME>" when it is
// evaluated. Parameters are read with AsFloat.
//
//   TRUNC(x)  Integer: x truncated toward zero
//   ROUND(x)  Integer: x rounded to nearest, ties to even
//   ABS(x)    Float: |x|; read as integer, |x's AsInteger| (wrapping)
//   ARCTAN, COS, EXP, LN, SIN, SQRT (radians)   Float
//   FRAC(x)   Float: x minus its integer part
//   INT(x)    Float: integer part (toward zero)
//   PI        Float: 3.141592653589793
//   SQR(x)    Float: x times x
//   POWER(x, y)  Float: Exp(Ln(x) * y)
//
// TRUNC and ROUND answer through AsInteger (their other conversions are the
// generic ones of an Integer node); the others through AsFloat, and reading
// them as integer raises "Cannot read Float as integer" (ABS excepted).
// A result that is not a number (the square root or logarithm of a
// negative value, say) raises the host's EInvalidOp, as does TRUNC or ROUND
// of a value beyond 32 bits, rather than flowing on as NaN or a wrapped
// integer; an infinite result (LN(0), EXP(1000), SQR(1E200)) raises the
// host's EOverflow rather than flowing on as an infinity.
#pragma once

#include <array>
#include <memory>
#include <string_view>

#include "vorn/filter/Functions.h"

namespace vorn::filter {

// Ordinals are the functions' indexes.
enum TMathFunction {
  mfTrunc,
  mfRound,
  mfAbs,
  mfArcTan,
  mfCos,
  mfExp,
  mfFrac,
  mfInt,
  mfLn,
  mfPi,
  mfSin,
  mfSqr,
  mfSqrt,
  mfPower
};

inline constexpr int MathFunctionCount = mfPower + 1;

// "TRUNC" ... "POWER".
std::string_view MathFunctionName(TMathFunction function);

class TMathExpression : public TFunction {
  VORN_CLASS(TMathExpression, TFunction)
  TMathExpression(TMathFunction function, std::unique_ptr<TParameterList> params)
      : TFunction(std::move(params)), function_(function) {}

  TMathFunction Function() const { return function_; }

  double AsFloat() const override;
  int32_t AsInteger() const override;
  TExprType ExprType() const override;

 private:
  // The parameters resolved for this request, after checking their count
  // and kinds.
  std::array<const TExpression*, 2> CheckedParameters() const;

  TMathFunction function_;
};

}  // namespace vorn::filter
