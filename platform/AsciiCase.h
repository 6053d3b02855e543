// Case folding for names that the platform compares without regard to
// case (file names, registry keys and value names). Only ASCII letters
// fold: the result must not depend on the process locale, and the names
// involved (ORA805.DLL, SOFTWARE\ORACLE) are ASCII.
#pragma once

#include <string>
#include <string_view>

namespace vorn::platform {

constexpr char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr char AsciiUpper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

constexpr bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

inline std::string AsciiUpperCopy(std::string_view text) {
  std::string result(text);
  for (char& c : result)
    c = AsciiUpper(c);
  return result;
}

}  // namespace vorn::platform
