// The string functions: parameter checks and values.
#include "vorn/filter/StringExpression.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "vorn/host/TextUtils.h"

namespace vorn::filter {

namespace {

constexpr std::array<std::string_view, StringFunctionCount> kNames{"UPPER", "LOWER", "COPY", "POS",
                                                                   "LENGTH"};

bool IsCount(TExprType type) {
  return type == etInteger || type == etBoolean;
}

// `count` characters of `text` from the 1-based `index`, the range clipped
// to the text.
std::string CopyText(const std::string& text, int32_t index, int32_t count) {
  int64_t first = std::max<int64_t>(index, 1);
  int64_t end = std::min<int64_t>(int64_t{index} + count, static_cast<int64_t>(text.size()) + 1);
  if (end <= first) return {};
  return text.substr(static_cast<size_t>(first - 1), static_cast<size_t>(end - first));
}

}  // namespace

std::string_view StringFunctionName(TStringFunction function) {
  return static_cast<size_t>(function) < kNames.size() ? kNames[function] : "?";
}

std::array<const TExpression*, 3> TStringExpression::CheckedParameters() const {
  int expected = 1;
  if (function_ == sfCopy) expected = 3;
  if (function_ == sfPos) expected = 2;
  if (ParamCount() != expected) InvalidParameter(StringFunctionName(function_));
  std::array<const TExpression*, 3> params{};
  for (int i = 0; i < expected; ++i) {
    const TExpression& param = Param(i)->Resolved();
    // COPY's position and length are counts; every other parameter is a
    // text of any kind but Date.
    bool valid =
        function_ == sfCopy && i > 0 ? IsCount(param.ExprType()) : param.ExprType() != etDate;
    if (!valid) InvalidParameter(StringFunctionName(function_));
    params[static_cast<size_t>(i)] = &param;
  }
  return params;
}

TExprType TStringExpression::ExprType() const {
  return function_ == sfPos || function_ == sfLength ? etInteger : etString;
}

std::string TStringExpression::AsString() const {
  switch (function_) {
    case sfUpper:
      return UpperCase(CheckedParameters()[0]->AsString());
    case sfLower:
      return LowerCase(CheckedParameters()[0]->AsString());
    case sfCopy: {
      const auto params = CheckedParameters();
      std::string text = params[0]->AsString();
      int32_t index = params[1]->AsInteger();
      return CopyText(text, index, params[2]->AsInteger());
    }
    default:
      return TExpression::AsString();
  }
}

int32_t TStringExpression::AsInteger() const {
  switch (function_) {
    case sfPos: {
      const auto params = CheckedParameters();
      std::string part = params[0]->AsString();
      std::string text = params[1]->AsString();
      if (part.empty()) return 0;
      size_t at = text.find(part);
      return at == std::string::npos ? 0 : static_cast<int32_t>(at + 1);
    }
    case sfLength:
      return static_cast<int32_t>(CheckedParameters()[0]->AsString().size());
    default:
      return TExpression::AsInteger();
  }
}

}  // namespace vorn::filter
