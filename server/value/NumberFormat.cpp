// Number format models; see NumberFormat.h.
#include "value/NumberFormat.h"
#include "value/AsciiCase.h"

#include <cctype>
#include <cmath>

#include "value/Decimal.h"
#include "value/OraError.h"

namespace vorn::server {
namespace {

bool startsWithNoCase(std::string_view s, std::string_view upper) {
  return startsWithAsciiNoCase(s, upper);
}

[[noreturn]] void badModel() {
  raiseOra(1481);
}

// The decimal digit of weight 10^w (0 outside the digits).
int digitAt(const Decimal& d, int w) {
  int index = d.pointPos - 1 - w;
  return index >= 0 && index < d.count ? d.digits[index] : 0;
}

void appendExponent(std::string& out, int exponent, bool lower) {
  out += lower ? 'e' : 'E';
  out += exponent < 0 ? '-' : '+';
  int a = exponent < 0 ? -exponent : exponent;
  if (a >= 100) out += static_cast<char>('0' + a / 100);
  out += static_cast<char>('0' + a / 10 % 10);
  out += static_cast<char>('0' + a % 10);
}

std::string toRoman(int64_t v) {
  static constexpr struct {
    int value;
    const char* text;
  } kRoman[] = {{1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"},
                {90, "XC"},  {50, "L"},   {40, "XL"}, {10, "X"},   {9, "IX"},
                {5, "V"},    {4, "IV"},   {1, "I"}};
  std::string out;
  for (const auto& r : kRoman)
    while (v >= r.value) {
      out += r.text;
      v -= r.value;
    }
  return out;
}

}  // namespace

NumberFormat::NumberFormat(std::string_view model, const NlsSettings& nls) : model_(model) {
  if (nls.numericCharacters.size() >= 2) {
    decimalChar_ = nls.numericCharacters[0];
    groupChar_ = nls.numericCharacters[1];
  }
  std::string_view m = model;
  size_t i = 0;
  if (startsWithNoCase(m, "FM")) {
    fill_ = false;
    i = 2;
  }
  std::string_view rest = m.substr(i);
  if (rest.empty()) badModel();
  if (startsWithNoCase(rest, "TM")) {
    if (rest.size() == 2 || (rest.size() == 3 && rest[2] == '9'))
      style_ = Style::TextMinimum;
    else if (rest.size() == 3 && (rest[2] == 'E' || rest[2] == 'e'))
      style_ = Style::TextMinimumSci;
    else
      badModel();
    return;
  }
  if (rest.size() == 2 && startsWithNoCase(rest, "RN")) {
    style_ = Style::Roman;
    lowerCase_ = rest[0] == 'r';
    return;
  }
  bool afterV = false, sawDigit = false, sawCurrency = false;
  size_t start = i;
  while (i < m.size()) {
    char c = m[i];
    std::string_view at = m.substr(i);
    char u = asciiUpper(c);
    if (style_ == Style::Scientific) {
      // After EEEE only a trailing sign may follow.
      if (startsWithNoCase(at, "MI") && i + 2 == m.size()) {
        sign_ = Sign::TrailingMI;
        i += 2;
      } else if (startsWithNoCase(at, "PR") && i + 2 == m.size()) {
        sign_ = Sign::Brackets;
        i += 2;
      } else if (u == 'S' && i + 1 == m.size() && sign_ == Sign::Default) {
        sign_ = Sign::TrailingS;
        ++i;
      } else {
        badModel();
      }
      continue;
    }
    if (c == '9' || c == '0') {
      if (style_ == Style::Hex) {
        badModel();
      }
      if (hasPoint_ && !afterV) {
        fracPattern_ += c;
      } else {
        if (c == '0' && firstZero_ < 0) firstZero_ = static_cast<int>(intPattern_.size());
        intPattern_ += c;
        ++intDigits_;
        if (afterV) ++shift_;
      }
      sawDigit = true;
      ++i;
    } else if (u == 'X') {
      // Hexadecimal: only leading 0s and FM may come before the X's.
      if (style_ != Style::Hex) {
        if (hasPoint_ || afterV || sawCurrency || blankZero_ || sign_ != Sign::Default ||
            intPattern_.find('9') != std::string::npos ||
            intPattern_.find(',') != std::string::npos)
          badModel();
        style_ = Style::Hex;
        hexZeros_ = !intPattern_.empty();
        hexDigits_ = static_cast<int>(intPattern_.size());
        lowerCase_ = c == 'x';
      }
      ++hexDigits_;
      ++i;
    } else if (c == ',' || u == 'G') {
      if (!sawDigit || hasPoint_ || afterV || style_ == Style::Hex) badModel();
      intPattern_ += ',';
      ++i;
    } else if (c == '.' || u == 'D') {
      if (hasPoint_ || afterV || style_ == Style::Hex) badModel();
      hasPoint_ = true;
      ++i;
    } else if (u == 'V') {
      if (hasPoint_ || afterV || style_ == Style::Hex) badModel();
      afterV = true;
      ++i;
    } else if (c == '$' || u == 'L' || u == 'U' || u == 'C') {
      if (sawCurrency || style_ == Style::Hex) badModel();
      sawCurrency = true;
      currency_ = u == 'C' ? nls.isoCurrency : (c == '$' ? std::string("$") : nls.currency);
      currencyLeading_ = c == '$' || !sawDigit;
      ++i;
    } else if (u == 'B') {
      if (blankZero_ || style_ == Style::Hex) badModel();
      blankZero_ = true;
      ++i;
    } else if (u == 'S') {
      if (sign_ != Sign::Default || style_ == Style::Hex) badModel();
      if (i == start)
        sign_ = Sign::LeadingS;
      else if (i + 1 == m.size())
        sign_ = Sign::TrailingS;
      else
        badModel();
      ++i;
    } else if (startsWithNoCase(at, "MI") || startsWithNoCase(at, "PR")) {
      if (i + 2 != m.size() || sign_ != Sign::Default || style_ == Style::Hex) badModel();
      sign_ = u == 'M' ? Sign::TrailingMI : Sign::Brackets;
      i += 2;
    } else if (startsWithNoCase(at, "EEEE")) {
      if (!sawDigit || afterV || style_ == Style::Hex || sawCurrency) badModel();
      style_ = Style::Scientific;
      lowerCase_ = c == 'e';
      i += 4;
    } else {
      badModel();
    }
  }
  if (style_ == Style::Fixed && !sawDigit && !hasPoint_) badModel();
}

int NumberFormat::fieldWidth() const {
  int width = static_cast<int>(intPattern_.size() + fracPattern_.size()) + (hasPoint_ ? 1 : 0) +
              static_cast<int>(currency_.size());
  width += sign_ == Sign::Brackets ? 2 : 1;
  return width;
}

std::string NumberFormat::format(OraNumber n) const {
  std::string out;
  format(n, out);
  return out;
}

void NumberFormat::format(OraNumber n, std::string& out) const {
  if (!n.isFinite()) {
    // Infinity fits no model.
    out.append(style_ == Style::Roman ? 15 : fieldWidth(), '#');
    return;
  }
  switch (style_) {
    case Style::Fixed:
      formatFixed(n, out);
      return;
    case Style::Scientific:
      formatScientific(n, out);
      return;
    case Style::Hex:
      formatHex(n, out);
      return;
    case Style::Roman:
      formatRoman(n, out);
      return;
    case Style::TextMinimum:
      appendNumberText(n, out);
      return;
    case Style::TextMinimumSci: {
      Decimal d = Decimal::fromNumber(n);
      if (d.negative) out += '-';
      out += static_cast<char>('0' + (d.isZero() ? 0 : d.digits[0]));
      if (d.count > 1) {
        out += '.';
        for (int k = 1; k < d.count; ++k)
          out += static_cast<char>('0' + d.digits[k]);
      }
      appendExponent(out, d.isZero() ? 0 : d.pointPos - 1, false);
      return;
    }
  }
}

void NumberFormat::finish(std::string_view body, bool negative, int width, std::string& out) const {
  std::string text;
  if (negative && (sign_ == Sign::Default)) text += '-';
  if (sign_ == Sign::LeadingS) text += negative ? '-' : '+';
  if (sign_ == Sign::Brackets && (negative || fill_)) text += negative ? '<' : ' ';
  if (!currency_.empty() && currencyLeading_) text += currency_;
  text += body;
  if (!currency_.empty() && !currencyLeading_) text += currency_;
  if (sign_ == Sign::TrailingS) text += negative ? '-' : '+';
  if (sign_ == Sign::TrailingMI && (negative || fill_)) text += negative ? '-' : ' ';
  if (sign_ == Sign::Brackets && (negative || fill_)) text += negative ? '>' : ' ';
  if (fill_ && static_cast<int>(text.size()) < width) out.append(width - text.size(), ' ');
  out += text;
}

void NumberFormat::formatFixed(OraNumber n, std::string& out) const {
  Decimal d = Decimal::fromNumber(n);
  if (shift_ > 0 && !d.isZero()) d.pointPos += shift_;
  d.roundToScale(static_cast<int64_t>(fracPattern_.size()));
  if (d.integerDigits() > intDigits_) {
    out.append(fieldWidth(), '#');
    return;
  }
  if (blankZero_ && d.isZero()) {
    if (fill_) out.append(fieldWidth(), ' ');
    return;
  }
  int needed = d.integerDigits();
  // The integer part, right to left: significant digits, forced zeros from
  // the first '0' of the model on, blanks before that; a group separator
  // shows when the digit left of it shows.
  std::string intPart(intPattern_.size(), ' ');
  int digitIndex = 0;  // weight of the next digit position from the right
  bool anyShown = false;
  for (int p = static_cast<int>(intPattern_.size()) - 1; p >= 0; --p) {
    char pc = intPattern_[p];
    if (pc == ',') continue;
    bool show = digitIndex < needed || (firstZero_ >= 0 && p >= firstZero_);
    if (show) {
      intPart[p] = static_cast<char>('0' + digitAt(d, digitIndex));
      anyShown = true;
    }
    ++digitIndex;
  }
  // A zero integer part shows as one 0 when the model has no fraction digits.
  if (!anyShown && fracPattern_.empty() && intDigits_ > 0) {
    size_t last = intPattern_.find_last_of("90");
    intPart[last] = '0';
  }
  for (size_t p = 0; p < intPattern_.size(); ++p) {
    if (intPattern_[p] != ',') continue;
    size_t left = intPattern_.find_last_of("90", p);
    if (left != std::string::npos && intPart[left] != ' ') intPart[p] = groupChar_;
  }
  std::string body;
  size_t firstShown = intPart.find_first_not_of(' ');
  if (firstShown != std::string::npos) body.append(intPart, firstShown);
  if (hasPoint_) {
    body += decimalChar_;
    size_t fracStart = body.size();
    for (size_t k = 0; k < fracPattern_.size(); ++k)
      body += static_cast<char>('0' + digitAt(d, -1 - static_cast<int>(k)));
    if (!fill_) {
      // FM drops trailing zeros that stand on 9s.
      size_t keep = fracPattern_.size();
      while (keep > 0 && fracPattern_[keep - 1] == '9' && body[fracStart + keep - 1] == '0')
        --keep;
      body.resize(fracStart + keep);
    }
  }
  finish(body, d.negative, fieldWidth(), out);
}

void NumberFormat::formatScientific(OraNumber n, std::string& out) const {
  Decimal d = Decimal::fromNumber(n);
  d.roundToSignificant(1 + static_cast<int>(fracPattern_.size()));
  int exponent = d.isZero() ? 0 : d.pointPos - 1;
  std::string body;
  body += static_cast<char>('0' + (d.isZero() ? 0 : d.digits[0]));
  if (hasPoint_) {
    body += decimalChar_;
    for (size_t k = 0; k < fracPattern_.size(); ++k) {
      int index = 1 + static_cast<int>(k);
      body += static_cast<char>('0' + (index < d.count ? d.digits[index] : 0));
    }
  }
  appendExponent(body, exponent, lowerCase_);
  // The field reserves five positions for the exponent (E+999), so
  // TO_CHAR(1234567890, '9.9EEEE') is '  1.2E+09'.
  finish(body, d.negative, fieldWidth() + 5, out);
}

void NumberFormat::formatHex(OraNumber n, std::string& out) const {
  int width = hexDigits_ + (fill_ && !hexZeros_ ? 1 : 0);
  double rounded = std::round(n.toDouble());
  if (n.isNegative() && !(n.isInteger() ? n.integer() == 0 : rounded == 0.0)) {
    out.append(hexDigits_ + 1, '#');
    return;
  }
  unsigned __int128 v;
  if (n.isInteger()) {
    v = static_cast<uint64_t>(n.integer());
  } else {
    if (rounded >= 1.7e38) {
      out.append(hexDigits_ + 1, '#');
      return;
    }
    v = static_cast<unsigned __int128>(rounded);
  }
  char digits[40];
  int len = 0;
  const char* alphabet = lowerCase_ ? "0123456789abcdef" : "0123456789ABCDEF";
  do {
    digits[len++] = alphabet[static_cast<int>(v & 15)];
    v >>= 4;
  } while (v);
  if (len > hexDigits_) {
    out.append(hexDigits_ + 1, '#');
    return;
  }
  if (hexZeros_)
    out.append(hexDigits_ - len, '0');
  else if (fill_)
    out.append(width - len, ' ');
  while (len)
    out += digits[--len];
}

void NumberFormat::formatRoman(OraNumber n, std::string& out) const {
  Decimal d = Decimal::fromNumber(n);
  d.roundToScale(0);
  OraNumber r = d.toNumber();
  if (!r.isInteger() || r.integer() < 1 || r.integer() > 3999) {
    out.append(15, '#');
    return;
  }
  std::string roman = toRoman(r.integer());
  if (lowerCase_) roman = asciiLowerCase(roman);
  if (fill_) out.append(15 - roman.size(), ' ');
  out += roman;
}

OraNumber NumberFormat::parse(std::string_view text) const {
  size_t b = 0, e = text.size();
  while (b < e && text[b] == ' ')
    ++b;
  while (e > b && text[e - 1] == ' ')
    --e;
  std::string_view s = text.substr(b, e - b);
  if (s.empty()) raiseOra(1722);
  switch (style_) {
    case Style::TextMinimum:
    case Style::TextMinimumSci:
      return textToNumber(s);
    case Style::Roman:
      raiseOra(1722);
    case Style::Hex: {
      if (static_cast<int>(s.size()) > hexDigits_) raiseOra(1722);
      unsigned __int128 v = 0;
      for (char c : s) {
        int digit;
        if (c >= '0' && c <= '9')
          digit = c - '0';
        else if (c >= 'a' && c <= 'f')
          digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
          digit = c - 'A' + 10;
        else
          raiseOra(1722);
        v = v * 16 + digit;
      }
      if (v <= static_cast<unsigned __int128>(INT64_MAX)) return static_cast<int64_t>(v);
      return OraNumber::fromDouble(static_cast<double>(v));
    }
    case Style::Fixed:
    case Style::Scientific:
      break;
  }
  bool negative = false;
  auto stripPrefix = [&s](std::string_view p) {
    if (s.size() >= p.size() && s.substr(0, p.size()) == p) {
      s.remove_prefix(p.size());
      return true;
    }
    return false;
  };
  auto stripSuffix = [&s](std::string_view p) {
    if (s.size() >= p.size() && s.substr(s.size() - p.size()) == p) {
      s.remove_suffix(p.size());
      return true;
    }
    return false;
  };
  switch (sign_) {
    case Sign::Brackets:
      if (!s.empty() && s.front() == '<') {
        if (!stripSuffix(">")) raiseOra(1722);
        s.remove_prefix(1);
        negative = true;
      }
      break;
    case Sign::TrailingMI:
    case Sign::TrailingS:
      if (stripSuffix("-"))
        negative = true;
      else if (sign_ == Sign::TrailingS && !stripSuffix("+"))
        raiseOra(1722);
      break;
    case Sign::LeadingS:
      if (stripPrefix("-"))
        negative = true;
      else if (!stripPrefix("+"))
        raiseOra(1722);
      break;
    case Sign::Default:
      if (stripPrefix("-"))
        negative = true;
      else
        stripPrefix("+");
      break;
  }
  if (!currency_.empty()) {
    if (!stripPrefix(currency_)) stripSuffix(currency_);
  }
  // What remains: digits (with group separators where the model has them),
  // the decimal character, digits, and for EEEE an exponent.
  std::string plain;
  if (negative) plain += '-';
  int intCount = 0, fracCount = 0;
  bool point = false, anyDigit = false;
  bool groupsAllowed = intPattern_.find(',') != std::string::npos;
  size_t k = 0;
  for (; k < s.size(); ++k) {
    char c = s[k];
    if (c >= '0' && c <= '9') {
      anyDigit = true;
      plain += c;
      if (point)
        ++fracCount;
      else
        ++intCount;
    } else if (c == decimalChar_ && !point && hasPoint_) {
      point = true;
      plain += '.';
    } else if (c == groupChar_ && groupsAllowed && !point && intCount > 0) {
      continue;
    } else {
      break;
    }
  }
  if (!anyDigit) raiseOra(1722);
  if (style_ == Style::Scientific) {
    if (k >= s.size() || (s[k] != 'E' && s[k] != 'e')) raiseOra(1722);
    plain += 'E';
    ++k;
    if (k < s.size() && (s[k] == '+' || s[k] == '-')) plain += s[k++];
    size_t expStart = k;
    while (k < s.size() && s[k] >= '0' && s[k] <= '9')
      plain += s[k++];
    if (k == expStart) raiseOra(1722);
  } else if (intCount > intDigits_ || fracCount > static_cast<int>(fracPattern_.size())) {
    raiseOra(1722);
  }
  if (k != s.size()) raiseOra(1722);
  OraNumber value = textToNumber(plain);
  if (shift_ > 0) {
    Decimal d = Decimal::fromNumber(value);
    if (!d.isZero()) d.pointPos -= shift_;
    value = d.toNumber();
  }
  return value;
}

}  // namespace vorn::server
