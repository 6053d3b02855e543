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

void TStringExpression::CheckParameters() const {
  bool valid = false;
  switch (function_) {
    case sfUpper:
    case sfLower:
    case sfLength:
      valid = ParamCount() == 1 && Param(0)->ExprType() != etDate;
      break;
    case sfCopy:
      valid = ParamCount() == 3 && Param(0)->ExprType() != etDate &&
              IsCount(Param(1)->ExprType()) && IsCount(Param(2)->ExprType());
      break;
    case sfPos:
      valid = ParamCount() == 2 && Param(0)->ExprType() != etDate && Param(1)->ExprType() != etDate;
      break;
  }
  if (!valid) InvalidParameter(StringFunctionName(function_));
}

TExprType TStringExpression::ExprType() const {
  return function_ == sfPos || function_ == sfLength ? etInteger : etString;
}

std::string TStringExpression::AsString() const {
  switch (function_) {
    case sfUpper:
      CheckParameters();
      return UpperCase(Param(0)->AsString());
    case sfLower:
      CheckParameters();
      return LowerCase(Param(0)->AsString());
    case sfCopy: {
      CheckParameters();
      std::string text = Param(0)->AsString();
      int32_t index = Param(1)->AsInteger();
      return CopyText(text, index, Param(2)->AsInteger());
    }
    default:
      return TExpression::AsString();
  }
}

int32_t TStringExpression::AsInteger() const {
  switch (function_) {
    case sfPos: {
      CheckParameters();
      std::string part = Param(0)->AsString();
      std::string text = Param(1)->AsString();
      if (part.empty()) return 0;
      size_t at = text.find(part);
      return at == std::string::npos ? 0 : static_cast<int32_t>(at + 1);
    }
    case sfLength:
      CheckParameters();
      return static_cast<int32_t>(Param(0)->AsString().size());
    default:
      return TExpression::AsInteger();
  }
}

}  // namespace vorn::filter
