// strftime patterns as host format codes.
#include "LocaleFormats.h"

#include <cctype>
#include <cstring>

namespace vorn {

std::optional<std::string> TranslateStrftime(const char* format, char separatorCode,
                                             std::optional<char>& separator) {
  std::string result;
  std::string literal;
  auto flushLiteral = [&] {
    if (!literal.empty()) result += '"' + literal + '"';
    literal.clear();
  };
  for (const char* p = format; *p; ++p) {
    auto c = static_cast<unsigned char>(*p);
    if (c >= 0x80) return std::nullopt;
    if (c != '%') {
      if (std::isalpha(c)) {
        literal += static_cast<char>(c);
        continue;
      }
      flushLiteral();
      if (std::ispunct(c) && c != '"' && c != '\'') {
        if (!separator) separator = static_cast<char>(c);
        result +=
            c == static_cast<unsigned char>(*separator) ? separatorCode : static_cast<char>(c);
      } else {
        result += static_cast<char>(c);
      }
      continue;
    }
    flushLiteral();
    ++p;
    while (*p == 'E' || *p == 'O' || *p == '-' || *p == '_' || *p == '0' || *p == '^')
      ++p;
    std::optional<std::string> nested;
    switch (*p) {
      case 'd':
        result += "dd";
        break;
      case 'e':
        result += "d";
        break;
      case 'm':
        result += "mm";
        break;
      case 'y':
        result += "yy";
        break;
      case 'Y':
        result += "yyyy";
        break;
      case 'b':
      case 'h':
        result += "mmm";
        break;
      case 'B':
        result += "mmmm";
        break;
      case 'a':
        result += "ddd";
        break;
      case 'A':
        result += "dddd";
        break;
      case 'H':
      case 'I':
        result += "hh";
        break;
      case 'k':
      case 'l':
        result += "h";
        break;
      case 'M':
        result += "nn";
        break;
      case 'S':
        result += "ss";
        break;
      case 'p':
      case 'P':
        result += "AMPM";
        break;
      case 'n':
      case 't':
        result += ' ';
        break;
      case 'Z':
      case 'z':
        break;
      case 'D':
        nested = TranslateStrftime("%m/%d/%y", separatorCode, separator);
        break;
      case 'F':
        nested = TranslateStrftime("%Y-%m-%d", separatorCode, separator);
        break;
      case 'T':
        nested = TranslateStrftime("%H:%M:%S", separatorCode, separator);
        break;
      case 'r':
        nested = TranslateStrftime("%I:%M:%S %p", separatorCode, separator);
        break;
      case 'R':
        nested = TranslateStrftime("%H:%M", separatorCode, separator);
        break;
      default:
        return std::nullopt;
    }
    if (std::strchr("DFTrR", *p)) {
      if (!nested) return std::nullopt;
      result += *nested;
    }
  }
  flushLiteral();
  while (!result.empty() && result.back() == ' ')
    result.pop_back();
  if (result.empty()) return std::nullopt;
  return result;
}

std::string WithoutSeconds(std::string format) {
  size_t s = format.find(":s");
  if (s == std::string::npos) s = format.find(":S");
  if (s == std::string::npos) return format;
  size_t end = s + 1;
  while (end < format.size() && (format[end] == 's' || format[end] == 'S'))
    ++end;
  format.erase(s, end - s);
  return format;
}

}  // namespace vorn
