// NUMBER values: normal form, arithmetic, text form; see OraNumber.h.
#include "value/OraNumber.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "value/Decimal.h"
#include "value/OraError.h"

namespace vorn::server {
namespace {

constexpr double kTwoTo63 = 9223372036854775808.0;
constexpr int kMaxTextWidth = 40;

bool isBlank(char c) {
  return c == ' ';
}

}  // namespace

OraNumber OraNumber::fromDouble(double value) {
  OraNumber n;
  if (value >= -kTwoTo63 && value < kTwoTo63 && value == std::trunc(value)) {
    n.int_ = static_cast<int64_t>(value);
    return n;
  }
  n.isInt_ = false;
  n.real_ = value;
  return n;
}

bool OraNumber::isFinite() const {
  return isInt_ || std::isfinite(real_);
}

int64_t OraNumber::truncToInt64() const {
  if (isInt_) return int_;
  if (std::isnan(real_)) return 0;
  if (real_ >= kTwoTo63) return std::numeric_limits<int64_t>::max();
  if (real_ < -kTwoTo63) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(real_);
}

bool operator==(const OraNumber& a, const OraNumber& b) {
  return compareNumbers(a, b) == 0;
}

int compareNumbers(OraNumber a, OraNumber b) {
  if (a.isInteger() && b.isInteger())
    return a.integer() < b.integer() ? -1 : (a.integer() > b.integer() ? 1 : 0);
  // long double holds every int64 exactly on the platforms the server runs on.
  long double x = a.isInteger() ? static_cast<long double>(a.integer()) : a.toDouble();
  long double y = b.isInteger() ? static_cast<long double>(b.integer()) : b.toDouble();
  return x < y ? -1 : (x > y ? 1 : 0);
}

double roundTo15Digits(double value) {
  if (value == 0.0 || !std::isfinite(value)) return value;
  // Integers below 10^15 already have at most 15 digits.
  if (std::fabs(value) < 1e15 && value == std::trunc(value)) return value;
  char buf[40];
  auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
  double out = value;
  std::from_chars(buf, res.ptr, out);
  return out;
}

namespace {
OraNumber realResult(double v) {
  return OraNumber::fromDouble(roundTo15Digits(v));
}
}  // namespace

OraNumber operator+(OraNumber a, OraNumber b) {
  int64_t r;
  if (a.isInteger() && b.isInteger() && !__builtin_add_overflow(a.integer(), b.integer(), &r))
    return r;
  return realResult(a.toDouble() + b.toDouble());
}

OraNumber operator-(OraNumber a, OraNumber b) {
  int64_t r;
  if (a.isInteger() && b.isInteger() && !__builtin_sub_overflow(a.integer(), b.integer(), &r))
    return r;
  return realResult(a.toDouble() - b.toDouble());
}

OraNumber operator*(OraNumber a, OraNumber b) {
  int64_t r;
  if (a.isInteger() && b.isInteger() && !__builtin_mul_overflow(a.integer(), b.integer(), &r))
    return r;
  return realResult(a.toDouble() * b.toDouble());
}

OraNumber operator/(OraNumber a, OraNumber b) {
  if (b.isZero()) raiseOra(1476);
  if (a.isInteger() && b.isInteger()) {
    int64_t x = a.integer(), y = b.integer();
    if (!(x == std::numeric_limits<int64_t>::min() && y == -1) && x % y == 0) return x / y;
  }
  return realResult(a.toDouble() / b.toDouble());
}

OraNumber operator-(OraNumber a) {
  if (a.isInteger() && a.integer() != std::numeric_limits<int64_t>::min()) return -a.integer();
  return OraNumber::fromDouble(-a.toDouble());
}

// ---- Text form -------------------------------------------------------------

size_t numberToText(OraNumber n, char* buf) {
  if (n.isInteger()) return std::to_chars(buf, buf + kNumberTextMax, n.integer()).ptr - buf;
  double v = n.toDouble();
  if (!std::isfinite(v)) {
    // Oracle's NUMBER infinities print as "~" and "-~".
    const char* text = std::isnan(v) ? "NaN" : (v > 0 ? "~" : "-~");
    size_t len = std::strlen(text);
    std::memcpy(buf, text, len);
    return len;
  }
  Decimal d = Decimal::fromNumber(n);
  if (d.isZero()) {
    buf[0] = '0';
    return 1;
  }
  char* p = buf;
  if (d.negative) *p++ = '-';
  // Fixed notation: digits, then zeros up to the point, or the point, zeros
  // and digits.
  int fixedLength = (d.negative ? 1 : 0) + (d.pointPos >= d.count ? d.pointPos
                                            : d.pointPos > 0      ? d.count + 1
                                                                  : 1 - d.pointPos + d.count);
  if (fixedLength <= kMaxTextWidth) {
    if (d.pointPos >= d.count) {
      for (int i = 0; i < d.count; ++i)
        *p++ = static_cast<char>('0' + d.digits[i]);
      for (int i = d.count; i < d.pointPos; ++i)
        *p++ = '0';
    } else if (d.pointPos > 0) {
      for (int i = 0; i < d.count; ++i) {
        if (i == d.pointPos) *p++ = '.';
        *p++ = static_cast<char>('0' + d.digits[i]);
      }
    } else {
      *p++ = '.';
      for (int i = d.pointPos; i < 0; ++i)
        *p++ = '0';
      for (int i = 0; i < d.count; ++i)
        *p++ = static_cast<char>('0' + d.digits[i]);
    }
    return p - buf;
  }
  // Scientific notation, mantissa padded with zeros to the full 40
  // characters: "1.0000000000000000000000000000000000E+40".
  int exponent = d.pointPos - 1;
  char expText[8];
  char* e = expText;
  *e++ = 'E';
  *e++ = exponent < 0 ? '-' : '+';
  int absExp = exponent < 0 ? -exponent : exponent;
  if (absExp < 10) *e++ = '0';
  e = std::to_chars(e, expText + sizeof expText, absExp).ptr;
  size_t expLen = e - expText;
  *p++ = static_cast<char>('0' + d.digits[0]);
  *p++ = '.';
  size_t mantissaEnd = kMaxTextWidth - expLen;
  for (int i = 1; static_cast<size_t>(p - buf) < mantissaEnd; ++i)
    *p++ = i < d.count ? static_cast<char>('0' + d.digits[i]) : '0';
  std::memcpy(p, expText, expLen);
  return p + expLen - buf;
}

std::string numberToText(OraNumber n) {
  char buf[kNumberTextMax];
  return std::string(buf, numberToText(n, buf));
}

void appendNumberText(OraNumber n, std::string& out) {
  char buf[kNumberTextMax];
  out.append(buf, numberToText(n, buf));
}

bool isBlankText(std::string_view text) {
  for (char c : text)
    if (!isBlank(c)) return false;
  return true;
}

bool tryTextToNumber(std::string_view text, OraNumber& out) {
  size_t b = 0, e = text.size();
  while (b < e && isBlank(text[b]))
    ++b;
  while (e > b && isBlank(text[e - 1]))
    --e;
  std::string_view s = text.substr(b, e - b);
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  size_t numberStart = i;
  // Significant digits (without leading zeros) and the position of the point.
  uint64_t mantissa = 0;
  int significant = 0;
  int64_t pointPos = 0;
  bool sawDigit = false, sawPoint = false;
  bool mantissaExact = true;
  for (; i < s.size(); ++i) {
    char c = s[i];
    if (c >= '0' && c <= '9') {
      sawDigit = true;
      if (c == '0' && significant == 0) {
        if (sawPoint) --pointPos;
        continue;
      }
      if (significant < 19) {
        mantissa = mantissa * 10 + static_cast<unsigned>(c - '0');
      } else if (c != '0') {
        mantissaExact = false;
      }
      ++significant;
      if (!sawPoint) ++pointPos;
    } else if (c == '.' && !sawPoint) {
      sawPoint = true;
    } else {
      break;
    }
  }
  if (!sawDigit) return false;
  int64_t exponent = 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    bool expNegative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) expNegative = s[i++] == '-';
    if (i >= s.size() || s[i] < '0' || s[i] > '9') return false;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
      if (exponent < 100000) exponent = exponent * 10 + (s[i] - '0');
    if (expNegative) exponent = -exponent;
  }
  if (i != s.size()) return false;
  if (significant == 0) {
    out = OraNumber(0);
    return true;
  }
  pointPos += exponent;
  // Oracle's NUMBER range ends below 1E126; values under 1E-130 are zero.
  if (pointPos > 126) raiseOra(1426);
  if (pointPos < -129) {
    out = OraNumber(0);
    return true;
  }
  // Integral values of up to 19 digits are exact integers.
  int stored = significant < 19 ? significant : 19;
  if (mantissaExact && pointPos >= significant && pointPos <= 19) {
    unsigned __int128 v = mantissa;
    for (int64_t k = stored; k < pointPos; ++k)
      v *= 10;
    unsigned __int128 limit =
        static_cast<unsigned __int128>(std::numeric_limits<int64_t>::max()) + (negative ? 1 : 0);
    if (v <= limit) {
      out = negative ? OraNumber(static_cast<int64_t>(-static_cast<__int128>(v)))
                     : OraNumber(static_cast<int64_t>(v));
      return true;
    }
  }
  double v = 0;
  const char* first = s.data() + numberStart;
  const char* last = s.data() + s.size();
  if (std::from_chars(first, last, v).ec == std::errc::result_out_of_range) v = 0;
  out = OraNumber::fromDouble(negative ? -v : v);
  return true;
}

OraNumber textToNumber(std::string_view text) {
  OraNumber n;
  if (!tryTextToNumber(text, n)) raiseOra(1722);
  return n;
}

}  // namespace vorn::server
