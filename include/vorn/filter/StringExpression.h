// The string functions of filter expressions, checked each time they are
// evaluated ("Invalid parameter to <NAME>"):
//
//   UPPER(s)           String: s with only "a"-"z" made upper case
//   LOWER(s)           String: s with only "A"-"Z" made lower case
//   COPY(s, i, n)      String: n characters of s from the 1-based position
//                      i, the range clipped to the text; i and n of kind
//                      Integer or Boolean
//   POS(sub, s)        Integer: 1-based position of sub in s, 0 when it is
//                      absent or empty
//   LENGTH(s)          Integer: number of characters of s
//
// Text parameters may be of any kind but Date. String-kind functions answer
// AsString and convert further by the generic rules (UPPER(x) can still be
// read as a date); Integer-kind ones answer AsInteger and show it as
// decimal text.
#pragma once

#include <array>
#include <memory>
#include <string_view>

#include "vorn/filter/Functions.h"

namespace vorn::filter {

// Ordinals are the functions' indexes.
enum TStringFunction { sfUpper, sfLower, sfCopy, sfPos, sfLength };

inline constexpr int StringFunctionCount = sfLength + 1;

// "UPPER" ... "LENGTH".
std::string_view StringFunctionName(TStringFunction function);

class TStringExpression : public TFunction {
  VORN_CLASS(TStringExpression, TFunction)
  TStringExpression(TStringFunction function, std::unique_ptr<TParameterList> params)
      : TFunction(std::move(params)), function_(function) {}

  TStringFunction Function() const { return function_; }

  std::string AsString() const override;
  int32_t AsInteger() const override;
  TExprType ExprType() const override;

 private:
  // The parameters resolved for this request, after checking their count
  // and kinds.
  std::array<const TExpression*, 3> CheckedParameters() const;

  TStringFunction function_;
};

}  // namespace vorn::filter
