// Parameter lists, type casts, IF, and the table that maps function names
// to nodes.
#include "vorn/filter/Functions.h"

#include <array>

#include "Messages.h"
#include "vorn/filter/MathExpression.h"
#include "vorn/filter/StringExpression.h"
#include "vorn/host/DbConsts.h"

namespace vorn::filter {

namespace {

// In the order of TExprType.
constexpr std::array<std::string_view, 5> kCastNames{"DATE", "STRING", "FLOAT", "INTEGER",
                                                     "BOOLEAN"};

}  // namespace

TExpression* TParameterList::Items(int index) const {
  if (index < 0 || index >= Count()) throw EListError(FormatDbMessage(SListIndexError, {index}));
  return items_[static_cast<size_t>(index)].get();
}

TExpression* TFunction::Param(int index) const {
  if (!params_) throw EListError(FormatDbMessage(SListIndexError, {index}));
  return params_->Items(index);
}

void TFunction::InvalidParameter(std::string_view name) {
  ExpressionError(SInvalidParameter, name);
}

std::string_view TTypeCast::Name() const {
  return kCastNames[target_];
}

const TExpression& TTypeCast::Source() const {
  if (ParamCount() == 0) InvalidParameter(Name());
  return *Param(0);
}

const TExpression& TConditional::Chosen() const {
  if (ParamCount() != 3) ExpressionError(SInvalidIfParameters);
  const TExpression& condition = Param(0)->Resolved();
  if (condition.ExprType() != etBoolean) ExpressionError(SInvalidIfParameters);
  return *Param(condition.AsBoolean() ? 1 : 2);
}

std::unique_ptr<TExpression> CreateFunction(std::string_view name,
                                            std::unique_ptr<TParameterList>& params) {
  if (name == "IF") return std::make_unique<TConditional>(std::move(params));
  for (size_t i = 0; i < kCastNames.size(); ++i) {
    if (name == kCastNames[i]) {
      return std::make_unique<TTypeCast>(static_cast<TExprType>(i), std::move(params));
    }
  }
  for (int i = 0; i < MathFunctionCount; ++i) {
    auto function = static_cast<TMathFunction>(i);
    if (name == MathFunctionName(function)) {
      return std::make_unique<TMathExpression>(function, std::move(params));
    }
  }
  for (int i = 0; i < StringFunctionCount; ++i) {
    auto function = static_cast<TStringFunction>(i);
    if (name == StringFunctionName(function)) {
      return std::make_unique<TStringExpression>(function, std::move(params));
    }
  }
  return nullptr;
}

}  // namespace vorn::filter
