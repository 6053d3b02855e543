// A finite double as decimal digits, the common ground of every float text:
// |value| = 0.D1D2...Dn x 10^Exponent, without trailing zeros; zero has no
// digits. Rounding on the digits is half away from zero, as the host's
// number formats round.
#pragma once

#include <string>

namespace vorn {

struct FloatDecimal {
  bool Negative = false;
  std::string Digits;
  int Exponent = 0;
  bool IsZero() const { return Digits.empty(); }
};

// At most `precision` (1..17) significant digits, correctly rounded.
FloatDecimal ToFloatDecimal(double value, int precision);
// Keeps `decimals` places after the decimal point.
void RoundDecimals(FloatDecimal& decimal, int decimals);
// Keeps `digits` significant digits.
void RoundSignificant(FloatDecimal& decimal, int digits);

}  // namespace vorn
