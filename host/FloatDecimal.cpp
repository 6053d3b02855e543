// Decimal digits of doubles and their rounding.
#include "FloatDecimal.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace vorn {
namespace {

void StripTrailingZeros(FloatDecimal& decimal) {
  while (!decimal.Digits.empty() && decimal.Digits.back() == '0')
    decimal.Digits.pop_back();
  if (decimal.Digits.empty()) decimal.Exponent = 0;
}

void RoundAt(FloatDecimal& decimal, int keep) {
  if (keep >= static_cast<int>(decimal.Digits.size())) return;
  if (keep < 0) {
    decimal.Digits.clear();
    decimal.Exponent = 0;
    return;
  }
  const bool up = decimal.Digits[keep] >= '5';
  decimal.Digits.resize(keep);
  if (up) {
    int i = keep - 1;
    while (i >= 0 && decimal.Digits[i] == '9')
      decimal.Digits[i--] = '0';
    if (i < 0) {
      decimal.Digits.insert(decimal.Digits.begin(), '1');
      ++decimal.Exponent;
    } else {
      ++decimal.Digits[i];
    }
  }
  StripTrailingZeros(decimal);
}

}  // namespace

FloatDecimal ToFloatDecimal(double value, int precision) {
  FloatDecimal decimal;
  decimal.Negative = std::signbit(value);
  precision = std::clamp(precision, 1, 17);
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                              std::chars_format::scientific, precision - 1);
  std::string_view text(buffer, result.ptr - buffer);
  size_t e = text.find('e');
  for (char c : text.substr(0, e)) {
    if (c != '.') decimal.Digits += c;
  }
  decimal.Exponent = std::atoi(std::string(text.substr(e + 1)).c_str()) + 1;
  StripTrailingZeros(decimal);
  return decimal;
}

void RoundDecimals(FloatDecimal& decimal, int decimals) {
  if (!decimal.IsZero()) RoundAt(decimal, decimal.Exponent + decimals);
}

void RoundSignificant(FloatDecimal& decimal, int digits) {
  RoundAt(decimal, digits);
}

}  // namespace vorn
