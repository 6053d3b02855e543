// A NUMBER value as the embedded server stores it: a 64-bit integer when the
// value is integral and fits, otherwise a double. SQLite holds the two forms
// as INTEGER and REAL; every function here keeps that normal form, so an
// integral result is always an integer.
//
// Doubles carry about 15 significant decimal digits where Oracle's NUMBER
// carries 38 to 40. The server treats a REAL as the decimal number with at
// most 15 significant digits closest to it: that is what the text form
// prints (0.1 + 0.2 prints ".3", 1/3 prints ".333333333333333"), what
// rounding and the format models round, and what arithmetic on REAL values
// keeps (results are rounded to 15 significant digits, so 0.1 + 0.2 = 0.3
// compares equal). Integers are exact throughout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vorn::server {

class OraNumber {
 public:
  constexpr OraNumber() = default;
  constexpr OraNumber(int64_t value) : int_(value) {}  // NOLINT: numbers convert implicitly
  // Normal form: integral values in int64 range become integers (-0.0 is 0).
  // Infinities and NaN are kept as doubles; the callers that store values
  // reject them (ORA-01426).
  static OraNumber fromDouble(double value);

  bool isInteger() const { return isInt_; }
  // Valid only when isInteger().
  int64_t integer() const { return int_; }
  // The value as a double (exact for integers up to 2^53).
  double toDouble() const { return isInt_ ? static_cast<double>(int_) : real_; }
  bool isZero() const { return isInt_ ? int_ == 0 : real_ == 0.0; }
  bool isNegative() const { return isInt_ ? int_ < 0 : real_ < 0.0; }
  bool isFinite() const;

  // Integer part toward zero, clamped to the int64 range (positions,
  // lengths and counts given as NUMBER).
  int64_t truncToInt64() const;

  friend bool operator==(const OraNumber& a, const OraNumber& b);

 private:
  bool isInt_ = true;
  int64_t int_ = 0;
  double real_ = 0.0;
};

// Total order of numbers (-1, 0, 1); integers and doubles compare by value.
int compareNumbers(OraNumber a, OraNumber b);

// Arithmetic with Oracle's results: integer operations stay exact and fall
// back to doubles on overflow; division always gives the exact quotient
// (7/2 = 3.5) and raises ORA-01476 for a zero divisor.
OraNumber operator+(OraNumber a, OraNumber b);
OraNumber operator-(OraNumber a, OraNumber b);
OraNumber operator*(OraNumber a, OraNumber b);
OraNumber operator/(OraNumber a, OraNumber b);
OraNumber operator-(OraNumber a);

// Rounds a double to 15 significant decimal digits (the precision the server
// gives REAL values).
double roundTo15Digits(double value);

// ---- Text form -------------------------------------------------------------

// Longest text form numberToText() writes (sign, 40 digits, point, exponent).
constexpr size_t kNumberTextMax = 48;

// The text Oracle's TO_CHAR(n) gives without a format: no leading zero
// before the point, no trailing zeros ("0", "-1.5", ".5", "-.5",
// "123456789012345"), fixed notation while it fits in 40 characters, else
// scientific notation padded to 40 characters
// ("1.0000000000000000000000000000000000E+40"). Writes into `buf` (at least
// kNumberTextMax bytes, not terminated) and returns the length.
size_t numberToText(OraNumber n, char* buf);
std::string numberToText(OraNumber n);
// Appends the text form to `out`.
void appendNumberText(OraNumber n, std::string& out);

// Oracle's TO_NUMBER without a format: optional blanks, an optional sign,
// digits with at most one '.', an optional exponent (E or e, optional sign,
// digits), optional blanks. Anything else raises ORA-01722. Blank-only text
// is NULL in Oracle; callers treat it as such before calling (see
// isBlankText).
OraNumber textToNumber(std::string_view text);
// As textToNumber, but false instead of ORA-01722 when the text is not a
// number (a value beyond the NUMBER range still raises ORA-01426).
bool tryTextToNumber(std::string_view text, OraNumber& out);
// True when text holds only blanks (Oracle's TO_NUMBER gives NULL for it).
bool isBlankText(std::string_view text);

}  // namespace vorn::server
