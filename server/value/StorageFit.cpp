// Column storage enforcement; see StorageFit.h.
#include "value/StorageFit.h"

#include <cmath>

#include "value/Decimal.h"
#include "value/OraError.h"

namespace vorn::server {

std::string quotedColumnName(std::string_view owner, std::string_view table,
                             std::string_view column) {
  std::string out;
  out.reserve(owner.size() + table.size() + column.size() + 8);
  out += '"';
  out += owner;
  out += "\".\"";
  out += table;
  out += "\".\"";
  out += column;
  out += '"';
  return out;
}

namespace {

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Whether the double v is m / 10^scale for an integer m below 10^15, with
// fewer than integerLimit digits before the point: the common amounts
// (12.5 into NUMBER(10,2)) that rounding to the scale leaves as they are.
// v is then the double nearest to that decimal of at most 15 digits, which
// is the decimal Decimal finds for v, so the slow path would give v back.
bool fitsAsItIs(double v, int scale, int integerLimit) {
  if (scale < 0 || scale > 15 || integerLimit < 0 || integerLimit > 22) return false;
  double scaled = v * kPowersOfTen[scale];
  if (!(std::fabs(scaled) < 1e15)) return false;
  double m = std::trunc(scaled);
  return m == scaled && m / kPowersOfTen[scale] == v && std::fabs(v) < kPowersOfTen[integerLimit];
}

}  // namespace

OraNumber fitNumber(OraNumber value, int precision, int scale) {
  if (!value.isFinite()) raiseOra(1426);
  if (precision <= 0) {
    if (!value.isInteger() && std::fabs(value.toDouble()) >= 1e126) raiseOra(1426);
    return value;
  }
  int integerLimit = precision - scale;  // digits allowed left of the point
  if (value.isInteger() && scale >= 0) {
    // Integers need no rounding; only their digit count matters.
    if (integerLimit >= 19) return value;
    int64_t v = value.integer();
    uint64_t magnitude = v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
    uint64_t limit = 1;
    for (int i = 0; i < integerLimit; ++i)
      limit *= 10;
    if (magnitude != 0 && (integerLimit <= 0 || magnitude >= limit)) raiseOra(1438);
    return value;
  }
  if (fitsAsItIs(value.toDouble(), scale, integerLimit)) return value;
  Decimal d = Decimal::fromNumber(value);
  d.roundToScale(scale);
  if (!d.isZero() && d.pointPos > integerLimit) raiseOra(1438);
  return d.toNumber();
}

OraNumber fitFloat(OraNumber value, int binaryPrecision) {
  if (!value.isFinite()) raiseOra(1426);
  if (value.isInteger() && binaryPrecision >= 63) return value;
  int digits = static_cast<int>(std::ceil(binaryPrecision * 0.30103));
  Decimal d = Decimal::fromNumber(value);
  if (d.pointPos > 126) raiseOra(1426);
  d.roundToSignificant(digits < 1 ? 1 : digits);
  return d.toNumber();
}

namespace {
[[noreturn]] void tooLarge(std::string_view column, size_t actual, int64_t maximum) {
  raiseOra(12899, {column, std::to_string(actual), std::to_string(maximum)});
}
}  // namespace

std::string_view fitText(std::string_view value, int64_t maxLength, std::string_view column) {
  if (static_cast<int64_t>(value.size()) > maxLength) tooLarge(column, value.size(), maxLength);
  return value;
}

std::string fitChar(std::string_view value, int64_t size, std::string_view column) {
  if (value.empty()) return {};
  if (static_cast<int64_t>(value.size()) > size) tooLarge(column, value.size(), size);
  std::string out(value);
  out.resize(static_cast<size_t>(size), ' ');
  return out;
}

void fitRaw(std::string_view value, int64_t maxLength, std::string_view column) {
  if (static_cast<int64_t>(value.size()) > maxLength) tooLarge(column, value.size(), maxLength);
}

}  // namespace vorn::server
