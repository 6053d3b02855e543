// The base node: the per-thread filter options nodes copy, and the generic
// conversions between the five kinds.
#include "vorn/filter/Expression.h"

#include <cmath>

#include "Arithmetic.h"
#include "Messages.h"
#include "vorn/host/DateTimeText.h"
#include "vorn/host/NumberText.h"

namespace vorn::filter {

namespace {

thread_local TFilterOptions currentOptions = foNone;

}  // namespace

TFilterOptions CurrentFilterOptions() {
  return currentOptions;
}

ScopedFilterOptions::ScopedFilterOptions(TFilterOptions options) : saved_(currentOptions) {
  currentOptions = options;
}

ScopedFilterOptions::~ScopedFilterOptions() {
  currentOptions = saved_;
}

TExpression::TExpression()
    : caseInsensitive_((currentOptions & foCaseInsensitive) != 0),
      partialCompare_((currentOptions & foNoPartialCompare) == 0) {}

void TExpression::CannotRead(std::string_view target) const {
  ExpressionError(SCannotRead, ExprTypeName(ExprType()), target);
}

TDateTime TExpression::AsDate() const {
  switch (ExprType()) {
    case etString:
      return StrToDateTime(AsString());
    case etFloat:
      return AsFloat();
    case etInteger:
      return AsInteger();
    default:
      CannotRead("Date");
  }
}

std::string TExpression::AsString() const {
  switch (ExprType()) {
    case etDate:
      return DateText(AsDate());
    case etFloat:
      return FloatToStr(AsFloat());
    case etInteger:
      return IntToStr(AsInteger());
    case etBoolean:
      return AsBoolean() ? "TRUE" : "FALSE";
    default:
      CannotRead("String");
  }
}

double TExpression::AsFloat() const {
  switch (ExprType()) {
    case etDate:
      return AsDate();
    case etInteger:
    case etBoolean:
      return AsInteger();
    default:
      CannotRead("Float");
  }
}

int32_t TExpression::AsInteger() const {
  switch (ExprType()) {
    case etDate:
      return TruncToInt32(AsDate());
    case etBoolean:
      return AsBoolean() ? 1 : 0;
    default:
      CannotRead("integer");
  }
}

bool TExpression::AsBoolean() const {
  CannotRead("boolean");
}

std::string DateText(TDateTime value) {
  return FormatDateTime(value != std::trunc(value) ? "ddddd tt" : "ddddd", value);
}

}  // namespace vorn::filter
