// Integers and floats to and from text, and the host's number format strings.
#include "vorn/host/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

#include "FloatDecimal.h"
#include "vorn/host/Exceptions.h"

namespace vorn {
namespace {

// The integer syntax shared by the 32- and 64-bit parsers: blanks, a sign,
// then decimal digits or "$"/"0x" and hexadecimal digits, nothing after.
struct ParsedInteger {
  bool negative = false;
  bool hex = false;
  int hexDigits = 0;
  uint64_t magnitude = 0;
};

bool ParseInteger(std::string_view text, ParsedInteger& parsed) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
    ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) parsed.negative = text[i++] == '-';
  if (i < text.size() && text[i] == '$') {
    parsed.hex = true;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    parsed.hex = true;
    i += 2;
  }
  const size_t start = i;
  for (; i < text.size(); ++i) {
    char c = text[i];
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (parsed.hex && c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (parsed.hex && c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return false;
    }
    if (parsed.hex) {
      if (parsed.magnitude != 0 || digit != 0) ++parsed.hexDigits;
      if (parsed.hexDigits > 16) return false;
      parsed.magnitude = parsed.magnitude * 16 + digit;
    } else {
      if (parsed.magnitude > (std::numeric_limits<uint64_t>::max() - digit) / 10) return false;
      parsed.magnitude = parsed.magnitude * 10 + digit;
    }
  }
  return i > start;
}

// Hexadecimal texts are bit patterns of the target width, as the host reads
// them: "$FFFFFFFF" is -1 as a 32-bit integer.
template <class T>
bool ToInteger(const ParsedInteger& parsed, T& value) {
  using U = std::make_unsigned_t<T>;
  if (parsed.hex) {
    if (parsed.magnitude > std::numeric_limits<U>::max()) return false;
    auto bits = static_cast<U>(parsed.magnitude);
    if (parsed.negative) bits = static_cast<U>(U(0) - bits);
    value = static_cast<T>(bits);
    return true;
  }
  const uint64_t limit = static_cast<uint64_t>(std::numeric_limits<T>::max()) + parsed.negative;
  if (parsed.magnitude > limit) return false;
  value = parsed.negative ? static_cast<T>(0 - static_cast<U>(parsed.magnitude))
                          : static_cast<T>(parsed.magnitude);
  return true;
}

[[noreturn]] void InvalidInteger(std::string_view text) {
  throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
}

// The digits every float text starts from: 15 significant digits (what a
// double holds reliably), then rounded half away from zero to fewer when
// asked; 16 and 17 digits come straight from the binary value.
FloatDecimal Decimal(double value, int precision) {
  if (precision > 15) return ToFloatDecimal(value, precision);
  FloatDecimal d = ToFloatDecimal(value, 15);
  RoundSignificant(d, precision);
  return d;
}

std::string SpecialText(double value) {
  if (std::isnan(value)) return "NAN";
  return value < 0 ? "-INF" : "INF";
}

std::string PaddedNumber(int value, int digits) {
  std::string text = std::to_string(value);
  if (static_cast<int>(text.size()) < digits) text.insert(0, digits - text.size(), '0');
  return text;
}

// The integer digits of a decimal ("" below 1).
std::string IntegerDigits(const FloatDecimal& d) {
  if (d.Exponent <= 0) return "";
  std::string digits = d.Digits.substr(0, std::min<size_t>(d.Digits.size(), d.Exponent));
  digits.append(d.Exponent - digits.size(), '0');
  return digits;
}

// The first `count` fraction digits, padded with zeros.
std::string FractionDigits(const FloatDecimal& d, int count) {
  std::string digits;
  for (int i = 0; i < count; ++i) {
    int index = d.Exponent + i;
    digits += (index >= 0 && index < static_cast<int>(d.Digits.size())) ? d.Digits[index] : '0';
  }
  return digits;
}

std::string Grouped(const std::string& digits, char separator) {
  std::string result;
  for (size_t i = 0; i < digits.size(); ++i) {
    result += digits[i];
    size_t remaining = digits.size() - i - 1;
    if (remaining > 0 && remaining % 3 == 0) result += separator;
  }
  return result;
}

// Fixed-point text of |d| with `decimals` places, optionally grouped.
std::string FixedText(const FloatDecimal& d, int decimals, bool grouped,
                      const TFormatSettings& settings) {
  std::string integer = IntegerDigits(d);
  if (integer.empty()) integer = "0";
  std::string text = grouped ? Grouped(integer, settings.ThousandSeparator) : integer;
  if (decimals > 0) {
    text += settings.DecimalSeparator;
    text += FractionDigits(d, decimals);
  }
  return text;
}

std::string GeneralText(double value, int precision, int expDigits,
                        const TFormatSettings& settings) {
  FloatDecimal d = Decimal(value, precision);
  if (d.IsZero()) return "0";
  std::string text = d.Negative ? "-" : "";
  if (d.Exponent > precision || d.Exponent < -3) {
    text += d.Digits[0];
    if (d.Digits.size() > 1) {
      text += settings.DecimalSeparator;
      text += d.Digits.substr(1);
    }
    int exponent = d.Exponent - 1;
    text += 'E';
    if (exponent < 0) text += '-';
    text += PaddedNumber(std::abs(exponent), expDigits);
    return text;
  }
  std::string integer = IntegerDigits(d);
  text += integer.empty() ? "0" : integer;
  int fraction = static_cast<int>(d.Digits.size()) - d.Exponent;
  if (fraction > 0) {
    text += settings.DecimalSeparator;
    text += FractionDigits(d, fraction);
  }
  return text;
}

std::string CurrencyText(const std::string& amount, bool negative,
                         const TFormatSettings& settings) {
  const std::string& c = settings.CurrencyString;
  if (!negative) {
    switch (settings.CurrencyFormat) {
      case 1:
        return amount + c;
      case 2:
        return c + " " + amount;
      case 3:
        return amount + " " + c;
      default:
        return c + amount;
    }
  }
  switch (settings.NegCurrFormat) {
    case 1:
      return "-" + c + amount;
    case 2:
      return c + "-" + amount;
    case 3:
      return c + amount + "-";
    case 4:
      return "(" + amount + c + ")";
    case 5:
      return "-" + amount + c;
    case 6:
      return amount + "-" + c;
    case 7:
      return amount + c + "-";
    case 8:
      return "-" + amount + " " + c;
    case 9:
      return "-" + c + " " + amount;
    case 10:
      return amount + " " + c + "-";
    case 11:
      return c + " " + amount + "-";
    case 12:
      return c + " -" + amount;
    case 13:
      return amount + "- " + c;
    case 14:
      return "(" + c + " " + amount + ")";
    case 15:
      return "(" + amount + " " + c + ")";
    default:
      return "(" + c + amount + ")";
  }
}

// ---- FormatFloat ----

// What one section of a format string asks for.
struct SectionLayout {
  int intPlaceholders = 0;
  int minInt = 0;
  int fracPlaceholders = 0;
  int minFrac = 0;
  bool thousands = false;
  bool scientific = false;
  int expDigits = 0;
};

std::vector<std::string_view> SplitSections(std::string_view format) {
  std::vector<std::string_view> sections;
  size_t start = 0;
  char quote = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    char c = format[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == ';') {
      sections.push_back(format.substr(start, i - start));
      start = i + 1;
      if (sections.size() == 2) break;
    }
  }
  sections.push_back(format.substr(start));
  if (sections.size() == 3) {
    // Anything after a third ";" is not part of the zero section.
    std::string_view zero = sections[2];
    quote = 0;
    for (size_t i = 0; i < zero.size(); ++i) {
      if (quote) {
        if (zero[i] == quote) quote = 0;
      } else if (zero[i] == '"' || zero[i] == '\'') {
        quote = zero[i];
      } else if (zero[i] == ';') {
        sections[2] = zero.substr(0, i);
        break;
      }
    }
  }
  return sections;
}

bool IsExponentMarker(std::string_view s, size_t i) {
  return (s[i] == 'E' || s[i] == 'e') && i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-');
}

SectionLayout ScanSection(std::string_view s) {
  SectionLayout layout;
  bool point = false, exponent = false;
  int firstIntZero = -1, lastFracZero = -1;
  for (size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c == '"' || c == '\'') {
      size_t end = s.find(c, i + 1);
      i = end == std::string_view::npos ? s.size() : end;
    } else if (c == '0' || c == '#') {
      if (exponent) {
        if (c == '0') ++layout.expDigits;
      } else if (!point) {
        if (c == '0' && firstIntZero < 0) firstIntZero = layout.intPlaceholders;
        ++layout.intPlaceholders;
      } else {
        if (c == '0') lastFracZero = layout.fracPlaceholders;
        ++layout.fracPlaceholders;
      }
    } else if (c == '.' && !exponent) {
      point = true;
    } else if (c == ',') {
      layout.thousands = true;
    } else if (!exponent && IsExponentMarker(s, i)) {
      exponent = layout.scientific = true;
      ++i;
    }
  }
  layout.minInt = firstIntZero < 0 ? 0 : layout.intPlaceholders - firstIntZero;
  layout.minFrac = lastFracZero + 1;
  layout.expDigits = std::min(layout.expDigits, 4);
  return layout;
}

bool HasPlaceholders(const SectionLayout& layout) {
  return layout.intPlaceholders + layout.fracPlaceholders > 0 || layout.scientific;
}

// Writes one section for the absolute value `d`, already rounded for it.
std::string RenderSection(std::string_view s, const SectionLayout& layout, const FloatDecimal& d,
                          const TFormatSettings& settings) {
  std::string intDigits, frac;
  int exponent = 0;
  if (layout.scientific) {
    const int intCount = std::max(layout.intPlaceholders, 1);
    const int significant = intCount + layout.fracPlaceholders;
    std::string mantissa = d.Digits.substr(0, significant);
    mantissa.append(significant - mantissa.size(), '0');
    intDigits = mantissa.substr(0, intCount);
    frac = mantissa.substr(intCount);
    exponent = d.IsZero() ? 0 : d.Exponent - intCount;
  } else {
    intDigits = IntegerDigits(d);
    frac = FractionDigits(d, layout.fracPlaceholders);
  }
  if (static_cast<int>(intDigits.size()) < layout.minInt) {
    intDigits.insert(0, layout.minInt - intDigits.size(), '0');
  }
  while (static_cast<int>(frac.size()) > layout.minFrac && frac.back() == '0')
    frac.pop_back();

  const int n = static_cast<int>(intDigits.size());
  const int p = layout.intPlaceholders;
  std::string out;
  auto emitIntDigit = [&](int index) {
    out += intDigits[index];
    int remaining = n - index - 1;
    if (layout.thousands && remaining > 0 && remaining % 3 == 0) out += settings.ThousandSeparator;
  };
  auto emitAllIntDigits = [&] {
    for (int i = 0; i < n; ++i)
      emitIntDigit(i);
  };
  int intSeen = 0, fracSeen = 0;
  bool point = false, exponentDone = false;
  for (size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c == '"' || c == '\'') {
      size_t end = s.find(c, i + 1);
      if (end == std::string_view::npos) end = s.size();
      out.append(s.substr(i + 1, end - i - 1));
      i = end;
    } else if (c == '0' || c == '#') {
      if (exponentDone) continue;
      if (!point) {
        if (intSeen == 0 && n > p) {
          for (int j = 0; j < n - p; ++j)
            emitIntDigit(j);
        }
        int fromRight = p - intSeen;
        if (fromRight <= n) emitIntDigit(n - fromRight);
        ++intSeen;
      } else {
        if (fracSeen < static_cast<int>(frac.size())) out += frac[fracSeen];
        ++fracSeen;
      }
    } else if (c == '.' && !exponentDone) {
      if (point) continue;
      point = true;
      if (p == 0) emitAllIntDigits();
      if (!frac.empty()) out += settings.DecimalSeparator;
    } else if (c == ',') {
      continue;
    } else if (!exponentDone && layout.scientific && IsExponentMarker(s, i)) {
      if (p == 0 && !point) emitAllIntDigits();
      exponentDone = true;
      out += c;
      if (exponent < 0) {
        out += '-';
      } else if (s[i + 1] == '+') {
        out += '+';
      }
      out += PaddedNumber(std::abs(exponent), std::max(layout.expDigits, 1));
      ++i;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

std::string IntToStr(int64_t value) {
  return std::to_string(value);
}

bool TryStrToInt(std::string_view text, int32_t& value) {
  ParsedInteger parsed;
  return ParseInteger(text, parsed) && ToInteger(parsed, value);
}

bool TryStrToInt64(std::string_view text, int64_t& value) {
  ParsedInteger parsed;
  return ParseInteger(text, parsed) && ToInteger(parsed, value);
}

int32_t StrToInt(std::string_view text) {
  int32_t value;
  if (!TryStrToInt(text, value)) InvalidInteger(text);
  return value;
}

int64_t StrToInt64(std::string_view text) {
  int64_t value;
  if (!TryStrToInt64(text, value)) InvalidInteger(text);
  return value;
}

std::string IntToHex(int64_t value, int digits) {
  static const char kHex[] = "0123456789ABCDEF";
  auto bits = static_cast<uint64_t>(value);
  std::string text;
  do {
    text.insert(text.begin(), kHex[bits & 15]);
    bits >>= 4;
  } while (bits != 0);
  if (static_cast<int>(text.size()) < digits) text.insert(0, digits - text.size(), '0');
  return text;
}

bool TryStrToFloat(std::string_view text, double& value, const TFormatSettings& settings) {
  size_t begin = 0, end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ')
    ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ')
    --end;
  std::string normal;
  size_t i = begin;
  bool negative = false;
  if (i < end && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int mantissaDigits = 0, exponentDigits = 0;
  int leadingDigits = 0, fractionZeros = 0;  // for telling underflow from overflow
  bool point = false, exponent = false, significant = false;
  long exponentValue = 0;
  bool exponentNegative = false;
  for (; i < end; ++i) {
    char c = text[i];
    if (c >= '0' && c <= '9') {
      if (exponent) {
        ++exponentDigits;
        if (exponentValue < 100000) exponentValue = exponentValue * 10 + (c - '0');
      } else {
        ++mantissaDigits;
        if (c != '0') significant = true;
        if (!point && significant) ++leadingDigits;
        if (point && !significant) ++fractionZeros;
      }
      normal += c;
    } else if (c == settings.DecimalSeparator && !point && !exponent) {
      point = true;
      normal += '.';
    } else if ((c == 'e' || c == 'E') && !exponent && mantissaDigits > 0) {
      exponent = true;
      normal += 'e';
      if (i + 1 < end && (text[i + 1] == '+' || text[i + 1] == '-')) {
        exponentNegative = text[++i] == '-';
        normal += text[i];
      }
    } else {
      return false;
    }
  }
  if (mantissaDigits == 0 || (exponent && exponentDigits == 0)) return false;
  double result = 0;
  auto parsed = std::from_chars(normal.data(), normal.data() + normal.size(), result);
  if (parsed.ptr != normal.data() + normal.size()) return false;
  if (parsed.ec == std::errc::result_out_of_range) {
    long magnitude = (exponentNegative ? -exponentValue : exponentValue) +
                     (leadingDigits > 0 ? leadingDigits - 1 : -(fractionZeros + 1));
    if (magnitude > 0) return false;
    result = 0;
  } else if (parsed.ec != std::errc()) {
    return false;
  }
  value = negative ? -result : result;
  return true;
}

double StrToFloat(std::string_view text, const TFormatSettings& settings) {
  double value;
  if (!TryStrToFloat(text, value, settings)) {
    throw EConvertError("'" + std::string(text) + "' is not a valid floating point value");
  }
  return value;
}

std::string FloatToStr(double value, const TFormatSettings& settings) {
  return FloatToStrF(value, ffGeneral, 15, 0, settings);
}

std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits,
                        const TFormatSettings& settings) {
  if (!std::isfinite(value)) return SpecialText(value);
  precision = std::clamp(precision, 1, 17);
  switch (format) {
    case ffGeneral:
      return GeneralText(value, precision, std::clamp(digits, 0, 4), settings);
    case ffExponent: {
      FloatDecimal d = Decimal(value, precision);
      std::string mantissa = d.Digits;
      mantissa.append(precision - mantissa.size(), '0');
      std::string text = (d.Negative && !d.IsZero()) ? "-" : "";
      text += mantissa[0];
      if (precision > 1) {
        text += settings.DecimalSeparator;
        text += mantissa.substr(1);
      }
      int exponent = d.IsZero() ? 0 : d.Exponent - 1;
      text += exponent < 0 ? "E-" : "E+";
      text += PaddedNumber(std::abs(exponent), std::clamp(digits, 0, 4));
      return text;
    }
    case ffFixed:
    case ffNumber:
    case ffCurrency: {
      digits = std::clamp(digits, 0, 18);
      FloatDecimal d = Decimal(value, precision);
      if (d.Exponent > precision) return GeneralText(value, precision, 0, settings);
      RoundDecimals(d, digits);
      const bool negative = d.Negative && !d.IsZero();
      std::string amount = FixedText(d, digits, format != ffFixed, settings);
      if (format == ffCurrency) return CurrencyText(amount, negative, settings);
      return negative ? "-" + amount : amount;
    }
  }
  return GeneralText(value, precision, 0, settings);
}

std::string FormatFloat(std::string_view format, double value, const TFormatSettings& settings) {
  if (format.empty() || !std::isfinite(value) || std::fabs(value) >= 1e18) {
    return FloatToStr(value, settings);
  }
  std::vector<std::string_view> sections = SplitSections(format);
  auto available = [&](size_t index) {
    return index < sections.size() && !sections[index].empty();
  };

  std::string_view section = sections[0];
  bool minus = false;
  if (value == 0) {
    if (available(2)) section = sections[2];
  } else if (value < 0) {
    if (available(1)) {
      section = sections[1];
    } else {
      minus = true;
    }
  }
  SectionLayout layout = ScanSection(section);
  FloatDecimal d = ToFloatDecimal(std::fabs(value), 15);
  if (layout.scientific) {
    RoundSignificant(d, std::max(layout.intPlaceholders, 1) + layout.fracPlaceholders);
  } else {
    RoundDecimals(d, layout.fracPlaceholders);
  }
  if (d.IsZero() && value != 0) {
    minus = false;
    if (available(2)) {
      section = sections[2];
      layout = ScanSection(section);
    }
  }
  if (!HasPlaceholders(layout)) {
    SectionLayout none;
    return (minus ? "-" : "") + RenderSection(section, none, FloatDecimal(), settings);
  }
  return (minus ? "-" : "") + RenderSection(section, layout, d, settings);
}

}  // namespace vorn
