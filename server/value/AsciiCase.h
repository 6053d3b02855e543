// Case conversion of the ASCII letters only: for keywords, names, format
// models, parameter values and everything else the server compares without
// regard to case whose letters are ASCII by definition. Other bytes pass
// unchanged, whatever the process locale. The SQL functions UPPER, LOWER and
// INITCAP work on the letters of the database character set instead
// (StringFunctions.h).
#pragma once

#include <string>
#include <string_view>

namespace vorn::server {

constexpr char asciiUpper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

constexpr char asciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string asciiUpperCase(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    c = asciiUpper(c);
  return out;
}

inline std::string asciiLowerCase(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    c = asciiLower(c);
  return out;
}

// True when `s` starts with `upperPrefix` (given in upper case), ignoring
// the case of `s`.
inline bool startsWithAsciiNoCase(std::string_view s, std::string_view upperPrefix) {
  if (s.size() < upperPrefix.size()) return false;
  for (size_t i = 0; i < upperPrefix.size(); ++i) {
    if (asciiUpper(s[i]) != upperPrefix[i]) return false;
  }
  return true;
}

}  // namespace vorn::server
