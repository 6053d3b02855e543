// Filling in and raising the filter's error texts.
#include "Messages.h"

#include <string>

#include "vorn/filter/ExpressionTypes.h"

namespace vorn::filter {

void ExpressionError(std::string_view format, std::string_view arg1, std::string_view arg2) {
  std::string message;
  int used = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 's') {
      message += used++ == 0 ? arg1 : arg2;
      ++i;
    } else {
      message += format[i];
    }
  }
  throw EExpression(std::move(message));
}

void InternalError(int code) {
  throw EExpression("Internal parser error. Code " + std::to_string(code));
}

}  // namespace vorn::filter
