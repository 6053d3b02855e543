// Exact decimal digits of NUMBER values; see Decimal.h.
#include "value/Decimal.h"

#include <cassert>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace vorn::server {
namespace {

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// Fast path for the common doubles with few decimals (amounts, ratios):
// finds m and k with m / 10^k == v exactly in double arithmetic and m below
// 10^15. The double nearest to that decimal is v, and a half unit in the
// last place is far below half a unit of the 15th digit, so m * 10^-k is
// the 15-digit decimal of v that the general path would find.
bool fromShortDecimal(double v, Decimal& d) {
  if (v < 1e-7 || v >= 1e15) return false;
  for (int k = 0; k < 16; ++k) {
    double scaled = v * kPowersOfTen[k];
    if (scaled >= 1e15) return false;
    // The cheap integrality test first; the division proves the candidate.
    auto u = static_cast<uint64_t>(scaled);
    double m = static_cast<double>(u);
    if (m != scaled || m / kPowersOfTen[k] != v) continue;
    unsigned char rev[16];
    int len = 0;
    while (u) {
      rev[len++] = static_cast<unsigned char>(u % 10);
      u /= 10;
    }
    for (int i = 0; i < len; ++i)
      d.digits[i] = rev[len - 1 - i];
    d.count = len;
    d.pointPos = len - k;
    return true;
  }
  return false;
}

}  // namespace

Decimal Decimal::fromNumber(OraNumber n) {
  Decimal d;
  if (n.isInteger()) {
    int64_t v = n.integer();
    if (v == 0) return d;
    d.negative = v < 0;
    // Negating in unsigned arithmetic keeps INT64_MIN exact.
    uint64_t u = d.negative ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
    unsigned char rev[20];
    int k = 0;
    while (u) {
      rev[k++] = static_cast<unsigned char>(u % 10);
      u /= 10;
    }
    d.pointPos = k;
    for (int i = 0; i < k; ++i)
      d.digits[i] = rev[k - 1 - i];
    d.count = k;
    d.trim();
    return d;
  }
  double v = n.toDouble();
  if (v == 0.0 || !std::isfinite(v)) return d;
  d.negative = v < 0;
  if (fromShortDecimal(std::fabs(v), d)) {
    d.trim();
    return d;
  }
  // 15 significant digits: one before the point and 14 after.
  char buf[40];
  auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific, 14);
  assert(res.ec == std::errc());
  const char* p = buf;
  int k = 0;
  for (; p < res.ptr && *p != 'e'; ++p)
    if (*p >= '0' && *p <= '9') d.digits[k++] = static_cast<unsigned char>(*p - '0');
  int exp10 = 0;
  std::from_chars(p + 1 + (p[1] == '+'), res.ptr, exp10);
  d.count = k;
  d.pointPos = exp10 + 1;
  d.trim();
  return d;
}

void Decimal::trim() {
  int lead = 0;
  while (lead < count && digits[lead] == 0)
    ++lead;
  if (lead == count) {
    count = 0;
    pointPos = 0;
    negative = false;
    return;
  }
  if (lead) {
    std::memmove(digits, digits + lead, count - lead);
    count -= lead;
    pointPos -= lead;
  }
  while (count > 0 && digits[count - 1] == 0)
    --count;
}

void Decimal::roundToScale(int64_t scale, bool truncate) {
  if (count == 0) return;
  int64_t keep = pointPos + scale;
  if (keep >= count) return;
  if (keep < 0 || (keep == 0 && (truncate || digits[0] < 5))) {
    *this = Decimal();
    return;
  }
  if (keep == 0) {  // rounds up to one unit of the scale
    digits[0] = 1;
    count = 1;
    ++pointPos;
    return;
  }
  bool up = !truncate && digits[keep] >= 5;
  count = static_cast<int>(keep);
  if (up) {
    int i = count - 1;
    while (i >= 0 && digits[i] == 9)
      digits[i--] = 0;
    if (i >= 0) {
      ++digits[i];
    } else {
      digits[0] = 1;
      count = 1;
      ++pointPos;
    }
  }
  trim();
}

void Decimal::roundToSignificant(int significant) {
  if (count > significant) roundToScale(static_cast<int64_t>(significant) - pointPos);
}

OraNumber Decimal::toNumber() const {
  if (count == 0) return OraNumber(0);
  if (pointPos >= count && pointPos <= 19) {
    // Integral: accumulate in unsigned arithmetic and check the int64 range.
    uint64_t u = 0;
    bool overflow = false;
    for (int i = 0; i < pointPos; ++i) {
      unsigned d = i < count ? digits[i] : 0;
      if (u > (std::numeric_limits<uint64_t>::max() - d) / 10) {
        overflow = true;
        break;
      }
      u = u * 10 + d;
    }
    constexpr uint64_t kMaxPositive = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
    if (!overflow && u <= kMaxPositive) {
      int64_t v = static_cast<int64_t>(u);
      return OraNumber(negative ? -v : v);
    }
    if (!overflow && negative && u == kMaxPositive + 1)
      return OraNumber(std::numeric_limits<int64_t>::min());
  }
  char buf[kMaxDigits + 16];
  char* p = buf;
  *p++ = '.';
  for (int i = 0; i < count; ++i)
    *p++ = static_cast<char>('0' + digits[i]);
  *p++ = 'e';
  p = std::to_chars(p, buf + sizeof buf, pointPos).ptr;
  double v = 0;
  // from_chars leaves v untouched when the value is out of the double range.
  if (std::from_chars(buf, p, v).ec == std::errc::result_out_of_range && pointPos > 0)
    v = std::numeric_limits<double>::infinity();
  return OraNumber::fromDouble(negative ? -v : v);
}

}  // namespace vorn::server
