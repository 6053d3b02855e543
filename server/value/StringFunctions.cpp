// Character SQL functions; see StringFunctions.h.
#include "value/StringFunctions.h"
#include "value/AsciiCase.h"

#include <algorithm>
#include <cctype>

#include "value/OraError.h"

namespace vorn::server {
namespace {

// The 0-based start of SUBSTR's position, or npos when it lies outside.
size_t startOf(std::string_view s, int64_t pos) {
  auto len = static_cast<int64_t>(s.size());
  if (pos == 0) pos = 1;
  if (pos < 0) pos = len + pos + 1;
  if (pos < 1 || pos > len) return std::string_view::npos;
  return static_cast<size_t>(pos - 1);
}

std::string pad(std::string_view s, int64_t n, std::string_view padText, bool left) {
  if (s.empty() || padText.empty() || n < 1) return {};
  auto want = static_cast<size_t>(std::min(n, kMaxPaddedLength));
  if (s.size() >= want) return std::string(s.substr(0, want));
  std::string out;
  out.reserve(want);
  size_t fill = want - s.size();
  if (!left) out.append(s);
  for (size_t i = 0; i < fill; ++i)
    out += padText[i % padText.size()];
  if (left) out.append(s);
  return out;
}

}  // namespace

std::string_view substr(std::string_view s, int64_t pos) {
  size_t start = startOf(s, pos);
  return start == std::string_view::npos ? std::string_view() : s.substr(start);
}

std::string_view substr(std::string_view s, int64_t pos, int64_t len) {
  if (len < 1) return {};
  size_t start = startOf(s, pos);
  if (start == std::string_view::npos) return {};
  return s.substr(start,
                  static_cast<size_t>(std::min<int64_t>(len, static_cast<int64_t>(s.size()))));
}

std::optional<int64_t> instr(std::string_view s, std::string_view sub, int64_t pos,
                             int64_t occurrence) {
  if (s.empty() || sub.empty()) return std::nullopt;
  if (occurrence < 1) raiseOra(1428, {std::to_string(occurrence)});
  if (pos == 0) return 0;
  auto len = static_cast<int64_t>(s.size());
  if (pos > 0) {
    if (pos > len) return 0;
    size_t from = static_cast<size_t>(pos - 1);
    for (int64_t found = 0;;) {
      size_t at = s.find(sub, from);
      if (at == std::string_view::npos) return 0;
      if (++found == occurrence) return static_cast<int64_t>(at) + 1;
      from = at + 1;
    }
  }
  // Backwards: matches starting at or before the position counted from the end.
  int64_t start = len + pos;  // 0-based
  if (start < 0) return 0;
  size_t from = static_cast<size_t>(start);
  for (int64_t found = 0;;) {
    size_t at = s.rfind(sub, from);
    if (at == std::string_view::npos) return 0;
    if (++found == occurrence) return static_cast<int64_t>(at) + 1;
    if (at == 0) return 0;
    from = at - 1;
  }
}

std::optional<int64_t> length(std::string_view s) {
  if (s.empty()) return std::nullopt;
  return static_cast<int64_t>(s.size());
}

char upperChar(char c) {
  auto u = static_cast<unsigned char>(c);
  if (u >= 0xE0 && u <= 0xFE && u != 0xF7) return static_cast<char>(u - 0x20);
  return asciiUpper(c);
}

char lowerChar(char c) {
  auto u = static_cast<unsigned char>(c);
  if (u >= 0xC0 && u <= 0xDE && u != 0xD7) return static_cast<char>(u + 0x20);
  return asciiLower(c);
}

bool isLetterOrDigit(char c) {
  auto u = static_cast<unsigned char>(c);
  if (u < 0x80) return std::isalnum(u) != 0;
  // ª, µ, º and the letters 0xC0-0xFF but × and ÷.
  return u == 0xAA || u == 0xB5 || u == 0xBA || (u >= 0xC0 && u != 0xD7 && u != 0xF7);
}

std::string upper(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    c = upperChar(c);
  return out;
}

std::string lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    c = lowerChar(c);
  return out;
}

std::string initcap(std::string_view s) {
  std::string out(s);
  bool wordStart = true;
  for (char& c : out) {
    c = wordStart ? upperChar(c) : lowerChar(c);
    wordStart = !isLetterOrDigit(c);
  }
  return out;
}

std::string lpad(std::string_view s, int64_t n, std::string_view padText) {
  return pad(s, n, padText, true);
}

std::string rpad(std::string_view s, int64_t n, std::string_view padText) {
  return pad(s, n, padText, false);
}

std::string_view ltrim(std::string_view s, std::string_view set) {
  if (set.empty()) return {};
  size_t b = s.find_first_not_of(set);
  return b == std::string_view::npos ? std::string_view() : s.substr(b);
}

std::string_view rtrim(std::string_view s, std::string_view set) {
  if (set.empty()) return {};
  size_t e = s.find_last_not_of(set);
  return e == std::string_view::npos ? std::string_view() : s.substr(0, e + 1);
}

std::string_view trim(std::string_view s, TrimSide side, std::string_view c) {
  if (c.empty()) return {};
  if (c.size() != 1) raiseOra(30001);
  if (side != TrimSide::Trailing) s = ltrim(s, c);
  if (side != TrimSide::Leading) s = rtrim(s, c);
  return s;
}

std::string replace(std::string_view s, std::string_view search, std::string_view replacement) {
  if (s.empty()) return {};
  if (search.empty()) return std::string(s);
  std::string out;
  out.reserve(s.size());
  size_t from = 0;
  for (;;) {
    size_t at = s.find(search, from);
    if (at == std::string_view::npos) break;
    out.append(s.substr(from, at - from));
    out.append(replacement);
    from = at + search.size();
  }
  out.append(s.substr(from));
  return out;
}

std::string concat(std::string_view a, std::string_view b) {
  std::string out;
  out.reserve(a.size() + b.size());
  out.append(a);
  out.append(b);
  return out;
}

std::string chr(int64_t code) {
  auto byte = static_cast<unsigned char>(((code % 256) + 256) % 256);
  return std::string(1, static_cast<char>(byte));
}

std::optional<int64_t> ascii(std::string_view s) {
  if (s.empty()) return std::nullopt;
  return static_cast<unsigned char>(s[0]);
}

bool like(std::string_view s, std::string_view pattern, std::string_view escape) {
  if (escape.size() > 1) raiseOra(1425);
  bool hasEscape = escape.size() == 1;
  char esc = hasEscape ? escape[0] : '\0';
  // Iterative matching with backtracking to the last '%'.
  size_t si = 0, pi = 0;
  size_t starP = std::string_view::npos, starS = 0;
  auto literalAt = [&](size_t p, char& lit, size_t& width) {
    if (hasEscape && pattern[p] == esc) {
      if (p + 1 >= pattern.size()) raiseOra(1424);
      char next = pattern[p + 1];
      if (next != '%' && next != '_' && next != esc) raiseOra(1424);
      lit = next;
      width = 2;
      return true;
    }
    lit = pattern[p];
    width = 1;
    return false;
  };
  while (si < s.size()) {
    if (pi < pattern.size()) {
      char lit;
      size_t width;
      bool escaped = literalAt(pi, lit, width);
      if (!escaped && lit == '%') {
        starP = ++pi;
        starS = si;
        continue;
      }
      if ((!escaped && lit == '_') || lit == s[si]) {
        ++si;
        pi += width;
        continue;
      }
    }
    if (starP == std::string_view::npos) return false;
    pi = starP;
    si = ++starS;
  }
  while (pi < pattern.size()) {
    char lit;
    size_t width;
    bool escaped = literalAt(pi, lit, width);
    if (escaped || lit != '%') return false;
    pi += width;
  }
  return true;
}

}  // namespace vorn::server
