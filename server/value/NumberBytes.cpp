// Oracle's base-100 NUMBER bytes; see NumberBytes.h.
#include "value/NumberBytes.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "value/Decimal.h"
#include "value/OraError.h"

namespace vorn::server {
namespace {

constexpr int kMaxMantissa = 20;
constexpr unsigned char kZeroByte = 128;
constexpr unsigned char kNegativeTerminator = 102;

}  // namespace

size_t encodeNumber(OraNumber n, unsigned char* out) {
  if (!n.isInteger()) {
    double v = n.toDouble();
    if (std::isnan(v)) raiseOra(1426);
    if (std::isinf(v)) {
      if (v < 0) {
        out[0] = 0;
        return 1;
      }
      out[0] = 255;
      out[1] = 101;
      return 2;
    }
  }
  Decimal d = Decimal::fromNumber(n);
  if (d.isZero() || d.pointPos < -129) {
    out[0] = kZeroByte;
    return 1;
  }
  if (d.pointPos > 126) raiseOra(1426);
  // Align the decimal digits to base-100 pairs: an odd number of integer
  // digits gets a leading zero digit.
  unsigned char digits[Decimal::kMaxDigits + 2];
  int count = 0;
  int pointPos = d.pointPos;
  if (pointPos % 2 != 0) {
    digits[count++] = 0;
    ++pointPos;
  }
  std::memcpy(digits + count, d.digits, d.count);
  count += d.count;
  if (count % 2 != 0) digits[count++] = 0;
  int pairs = count / 2;
  if (pairs > kMaxMantissa) pairs = kMaxMantissa;  // never reached: at most 40 digits
  int exponent = pointPos / 2 - 1;
  size_t len = 0;
  if (!d.negative) {
    out[len++] = static_cast<unsigned char>(193 + exponent);
    for (int i = 0; i < pairs; ++i)
      out[len++] = static_cast<unsigned char>(digits[2 * i] * 10 + digits[2 * i + 1] + 1);
  } else {
    out[len++] = static_cast<unsigned char>(62 - exponent);
    for (int i = 0; i < pairs; ++i)
      out[len++] = static_cast<unsigned char>(101 - (digits[2 * i] * 10 + digits[2 * i + 1]));
    if (pairs < kMaxMantissa) out[len++] = kNegativeTerminator;
  }
  return len;
}

OraNumber decodeNumber(const unsigned char* bytes, size_t len) {
  if (len == 0 || len > kNumberBytesMax) raiseOra(1722);
  unsigned char head = bytes[0];
  if (len == 1 && head == kZeroByte) return OraNumber(0);
  if (len == 1 && head == 0) return OraNumber::fromDouble(-std::numeric_limits<double>::infinity());
  if (len == 2 && head == 255 && bytes[1] == 101)
    return OraNumber::fromDouble(std::numeric_limits<double>::infinity());
  bool negative = head < kZeroByte;
  int exponent = negative ? 62 - head : head - 193;
  size_t mantissaLen = len - 1;
  if (negative && mantissaLen > 0 && bytes[len - 1] == kNegativeTerminator) --mantissaLen;
  if (mantissaLen == 0 || mantissaLen > kMaxMantissa) raiseOra(1722);
  Decimal d;
  d.negative = negative;
  for (size_t i = 0; i < mantissaLen; ++i) {
    int b = bytes[1 + i];
    int pair = negative ? 101 - b : b - 1;
    if (pair < 0 || pair > 99) raiseOra(1722);
    d.digits[d.count++] = static_cast<unsigned char>(pair / 10);
    d.digits[d.count++] = static_cast<unsigned char>(pair % 10);
  }
  d.pointPos = 2 * (exponent + 1);
  // Leading and trailing zero digits come from the pair alignment.
  int lead = 0;
  while (lead < d.count && d.digits[lead] == 0)
    ++lead;
  if (lead == d.count) return OraNumber(0);
  std::memmove(d.digits, d.digits + lead, d.count - lead);
  d.count -= lead;
  d.pointPos -= lead;
  while (d.digits[d.count - 1] == 0)
    --d.count;
  return d.toNumber();
}

size_t encodeVarnum(OraNumber n, unsigned char* out) {
  size_t len = encodeNumber(n, out + 1);
  out[0] = static_cast<unsigned char>(len);
  return len + 1;
}

OraNumber decodeVarnum(const unsigned char* in) {
  return decodeNumber(in + 1, in[0]);
}

}  // namespace vorn::server
