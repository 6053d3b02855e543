// Numeric SQL functions with Oracle's decimal results; see NumberFunctions.h.
#include "value/NumberFunctions.h"

#include <cmath>
#include <limits>

#include "value/Decimal.h"
#include "value/OraError.h"

namespace vorn::server {
namespace {

OraNumber roundOrTrunc(OraNumber n, int64_t digits, bool truncate) {
  if (n.isInteger() && digits >= 0) return n;
  if (!n.isFinite()) return n;
  Decimal d = Decimal::fromNumber(n);
  d.roundToScale(digits, truncate);
  return d.toNumber();
}

// Digits after the point of a decimal (0 for integers).
int fractionDigits(const Decimal& d) {
  return d.count > d.pointPos ? d.count - d.pointPos : 0;
}

// The decimal times 10^scale as an int64, when that is exact and fits in
// 18 digits.
bool scaledInteger(const Decimal& d, int scale, int64_t& out) {
  if (d.isZero()) {
    out = 0;
    return true;
  }
  int totalDigits = d.pointPos + scale;
  if (totalDigits > 18 || totalDigits < d.count) return false;
  int64_t v = 0;
  for (int i = 0; i < totalDigits; ++i)
    v = v * 10 + (i < d.count ? d.digits[i] : 0);
  out = d.negative ? -v : v;
  return true;
}

OraNumber fromScaled(int64_t v, int scale) {
  OraNumber n(v);
  Decimal d = Decimal::fromNumber(n);
  d.pointPos -= scale;
  return d.toNumber();
}

[[noreturn]] void outOfRange(OraNumber n) {
  raiseOra(1428, {numberToText(n)});
}

OraNumber checkedResult(double v) {
  if (!std::isfinite(v) || std::fabs(v) >= 1e126) raiseOra(1426);
  return OraNumber::fromDouble(roundTo15Digits(v));
}

}  // namespace

OraNumber roundNumber(OraNumber n, int64_t digits) {
  return roundOrTrunc(n, digits, false);
}
OraNumber truncNumber(OraNumber n, int64_t digits) {
  return roundOrTrunc(n, digits, true);
}

OraNumber modNumber(OraNumber m, OraNumber n) {
  if (n.isZero()) return m;
  if (m.isInteger() && n.isInteger()) {
    if (n.integer() == -1) return OraNumber(0);  // also avoids INT64_MIN % -1
    return m.integer() % n.integer();
  }
  // Decimal operands: compute on scaled integers so that MOD(1.1, 0.1) is 0
  // as in Oracle, not the binary remainder 0.09999999999999995.
  Decimal a = Decimal::fromNumber(m), b = Decimal::fromNumber(n);
  int scale = std::max(fractionDigits(a), fractionDigits(b));
  int64_t x, y;
  if (scaledInteger(a, scale, x) && scaledInteger(b, scale, y) && y != 0)
    return fromScaled(x % y, scale);
  return checkedResult(std::fmod(m.toDouble(), n.toDouble()));
}

OraNumber powerNumber(OraNumber m, OraNumber n) {
  double x = m.toDouble(), y = n.toDouble();
  bool integralExponent = n.isInteger() || y == std::trunc(y);
  if (x < 0 && !integralExponent) outOfRange(m);
  if (m.isZero() && y < 0) outOfRange(m);
  if (m.isInteger() && n.isInteger() && n.integer() >= 0) {
    // Exact integer power while it fits.
    int64_t base = m.integer(), result = 1;
    int64_t e = n.integer();
    bool overflow = false;
    while (e > 0 && !overflow) {
      if (e & 1) overflow = __builtin_mul_overflow(result, base, &result);
      e >>= 1;
      if (e > 0 && !overflow) overflow = __builtin_mul_overflow(base, base, &base);
    }
    if (!overflow) return result;
  }
  return checkedResult(std::pow(x, y));
}

OraNumber sqrtNumber(OraNumber n) {
  if (n.isNegative()) outOfRange(n);
  if (n.isInteger()) {
    auto r = static_cast<int64_t>(std::llround(std::sqrt(static_cast<double>(n.integer()))));
    if (r * r == n.integer()) return r;
  }
  return checkedResult(std::sqrt(n.toDouble()));
}

OraNumber absNumber(OraNumber n) {
  return n.isNegative() ? -n : n;
}

OraNumber signNumber(OraNumber n) {
  if (n.isZero()) return OraNumber(0);
  return OraNumber(n.isNegative() ? -1 : 1);
}

OraNumber floorNumber(OraNumber n) {
  if (n.isInteger() || !n.isFinite()) return n;
  return OraNumber::fromDouble(std::floor(roundTo15Digits(n.toDouble())));
}

OraNumber ceilNumber(OraNumber n) {
  if (n.isInteger() || !n.isFinite()) return n;
  return OraNumber::fromDouble(std::ceil(roundTo15Digits(n.toDouble())));
}

}  // namespace vorn::server
