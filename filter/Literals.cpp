// Conversions of the constant nodes that need the host's text routines.
#include "vorn/filter/Literals.h"

#include "vorn/host/DateTimeText.h"
#include "vorn/host/NumberText.h"

namespace vorn::filter {

TDateTime TStringLiteral::AsDate() const {
  return StrToDateTime(value_);
}

std::string TFloatLiteral::AsString() const {
  return FloatToStr(value_);
}

std::string TIntegerLiteral::AsString() const {
  return IntToStr(value_);
}

std::string TBooleanLiteral::AsString() const {
  return value_ ? "TRUE" : "FALSE";
}

}  // namespace vorn::filter
