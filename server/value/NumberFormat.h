// Oracle number format models (TO_CHAR(number, fmt) and TO_NUMBER(text,
// fmt)). A model is compiled once; SessionValues caches compiled models.
//
// Elements: 9 0 (digits; 0 forces leading or trailing zeros), ',' and G
// (group separator), '.' and D (decimal character), $ and L, U (currency,
// "$"), C ("USD"), B (blank when zero), MI (trailing sign), S (leading or
// trailing sign), PR (<negative>), FM (no padding), EEEE (scientific), V
// (multiply by 10^n, n = digits after V), X (hexadecimal, with leading 0s
// or FM only), RN/rn (Roman numerals) and TM, TM9, TME (text minimum).
//
// TO_CHAR: the value is rounded half away from zero to the model's scale.
// The result is right-aligned in the model's width, with one extra position
// for the sign unless S, MI or PR place it; FM trims the padding. A value
// that does not fit gives a field of '#' one longer than the model's digit
// and symbol positions, as Oracle does. A bad model raises ORA-01481.
//
// TO_NUMBER: the text must fit the model (blanks around it, the model's
// currency, group and sign symbols where it has them, at most as many
// digits as it allows); anything else raises ORA-01722.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "value/NlsSettings.h"
#include "value/OraNumber.h"

namespace vorn::server {

class NumberFormat {
 public:
  // Compiles `model` with the session's numeric characters and currency;
  // raises ORA-01481 when the model is invalid.
  NumberFormat(std::string_view model, const NlsSettings& nls);

  const std::string& model() const { return model_; }

  // TO_CHAR: appends the formatted number to `out`.
  void format(OraNumber n, std::string& out) const;
  std::string format(OraNumber n) const;
  // TO_NUMBER
  OraNumber parse(std::string_view text) const;

 private:
  enum class Sign : uint8_t { Default, LeadingS, TrailingS, TrailingMI, Brackets };
  enum class Style : uint8_t { Fixed, Scientific, Hex, Roman, TextMinimum, TextMinimumSci };

  void formatFixed(OraNumber n, std::string& out) const;
  void formatScientific(OraNumber n, std::string& out) const;
  void formatHex(OraNumber n, std::string& out) const;
  void formatRoman(OraNumber n, std::string& out) const;
  // Places sign and currency around `body` (digits without padding) and
  // pads to `width` unless FM is in effect.
  void finish(std::string_view body, bool negative, int width, std::string& out) const;
  int fieldWidth() const;

  std::string model_;
  Style style_ = Style::Fixed;
  Sign sign_ = Sign::Default;
  bool fill_ = true;         // no FM
  bool blankZero_ = false;   // B
  bool lowerCase_ = false;   // x, rn, eeee
  std::string intPattern_;   // '9', '0' and ',' left of the decimal character (and V's digits)
  std::string fracPattern_;  // '9' and '0' right of it
  bool hasPoint_ = false;
  int shift_ = 0;         // digits after V
  int firstZero_ = -1;    // index in intPattern_ of the first '0', -1 if none
  int intDigits_ = 0;     // digit positions in intPattern_
  std::string currency_;  // text of the currency element, if any
  bool currencyLeading_ = true;
  char decimalChar_ = '.';
  char groupChar_ = ',';
  int hexDigits_ = 0;  // X positions (and leading 0s) of a hexadecimal model
  bool hexZeros_ = false;
};

}  // namespace vorn::server
