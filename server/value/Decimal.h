// The exact decimal digits of a NUMBER: the common ground of everything
// that must round or print like Oracle's decimal NUMBER rather than like a
// binary double (rounding to a scale, format models, the wire format).
// A double contributes its 15 significant digits (see OraNumber.h); an
// integer all of its digits.
#pragma once

#include <cstdint>

#include "value/OraNumber.h"

namespace vorn::server {

struct Decimal {
  // Value = 0.d1 d2 ... dn x 10^pointPos, digits 0..9 (not characters),
  // no leading or trailing zero digits; zero has count 0.
  static constexpr int kMaxDigits = 40;
  bool negative = false;
  int count = 0;
  int pointPos = 0;
  unsigned char digits[kMaxDigits] = {};

  static Decimal fromNumber(OraNumber n);
  bool isZero() const { return count == 0; }
  // Rounds half away from zero (or truncates) to `scale` digits after the
  // point; a negative scale rounds left of the point.
  void roundToScale(int64_t scale, bool truncate = false);
  // Rounds half away from zero to `significant` digits.
  void roundToSignificant(int significant);
  // Number of digits left of the point (0 for values below 1).
  int integerDigits() const { return pointPos > 0 ? pointPos : 0; }
  // Back to the normal form: an integer when integral and in range, else the
  // double closest to the decimal value.
  OraNumber toNumber() const;

 private:
  void trim();
};

}  // namespace vorn::server
