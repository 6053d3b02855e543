// Case mapping, trimming, comparison and quoting of 8-bit text.
#include "vorn/host/TextUtils.h"

#include <algorithm>
#include <cctype>
#include <clocale>
#include <cstring>

namespace vorn {
namespace {

bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

char AsciiUpper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}
char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}
char LocaleUpper(char c) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}
char LocaleLower(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

int Sign(int value) {
  return (value > 0) - (value < 0);
}

// Collation in the C and POSIX locales is byte order; skipping strcoll then
// also keeps embedded zero bytes in the comparison.
bool CollatesByBytes() {
  const char* name = std::setlocale(LC_COLLATE, nullptr);
  return name == nullptr || std::strcmp(name, "C") == 0 || std::strcmp(name, "POSIX") == 0;
}

int CollateNoTie(std::string_view a, std::string_view b) {
  if (CollatesByBytes()) return CompareStr(a, b);
  std::string sa(a), sb(b);
  return Sign(std::strcoll(sa.c_str(), sb.c_str()));
}

}  // namespace

std::string UpperCase(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(), AsciiUpper);
  return result;
}

std::string LowerCase(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(), AsciiLower);
  return result;
}

std::string AnsiUpperCase(std::string_view text) {
  std::string result(text);
  AnsiUpperCaseInPlace(result);
  return result;
}

void AnsiUpperCaseInPlace(std::string& text) {
  std::transform(text.begin(), text.end(), text.begin(), LocaleUpper);
}

std::string AnsiLowerCase(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(), LocaleLower);
  return result;
}

std::string Trim(std::string_view text) {
  return TrimRight(TrimLeft(text));
}

std::string TrimLeft(std::string_view text) {
  size_t start = 0;
  while (start < text.size() && IsBlank(text[start]))
    ++start;
  return std::string(text.substr(start));
}

std::string TrimRight(std::string_view text) {
  size_t end = text.size();
  while (end > 0 && IsBlank(text[end - 1]))
    --end;
  return std::string(text.substr(0, end));
}

int CompareStr(std::string_view a, std::string_view b) {
  return Sign(a.compare(b));
}

int CompareText(std::string_view a, std::string_view b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    auto ca = static_cast<unsigned char>(AsciiUpper(a[i]));
    auto cb = static_cast<unsigned char>(AsciiUpper(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return Sign(static_cast<int>(a.size() > b.size()) - static_cast<int>(a.size() < b.size()));
}

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareText(a, b) == 0;
}

// Strings that collate alike but differ still get an order, so that sorted
// lists never hold two "equal" strings by accident.
int AnsiCompareStr(std::string_view a, std::string_view b) {
  int result = CollateNoTie(a, b);
  return result != 0 ? result : CompareStr(a, b);
}

int AnsiCompareText(std::string_view a, std::string_view b) {
  if (CollatesByBytes()) {
    // The common case needs no upper-cased copies.
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
      auto ca = static_cast<unsigned char>(LocaleUpper(a[i]));
      auto cb = static_cast<unsigned char>(LocaleUpper(b[i]));
      if (ca != cb) return ca < cb ? -1 : 1;
    }
    return Sign(static_cast<int>(a.size() > b.size()) - static_cast<int>(a.size() < b.size()));
  }
  std::string ua = AnsiUpperCase(a), ub = AnsiUpperCase(b);
  int result = CollateNoTie(ua, ub);
  return result != 0 ? result : CompareStr(ua, ub);
}

bool AnsiSameText(std::string_view a, std::string_view b) {
  return AnsiCompareText(a, b) == 0;
}

std::string QuotedStr(std::string_view text) {
  return AnsiQuotedStr(text, '\'');
}

std::string AnsiQuotedStr(std::string_view text, char quote) {
  std::string result;
  result.reserve(text.size() + 2);
  result += quote;
  for (char c : text) {
    if (c == quote) result += quote;
    result += c;
  }
  result += quote;
  return result;
}

std::string AnsiDequotedStr(std::string_view text, char quote) {
  if (text.empty() || text[0] != quote) return std::string(text);
  std::string result;
  for (size_t i = 1; i < text.size(); ++i) {
    if (text[i] == quote) {
      if (i + 1 < text.size() && text[i + 1] == quote) {
        result += quote;
        ++i;
      } else {
        break;
      }
    } else {
      result += text[i];
    }
  }
  return result;
}

std::string StringReplace(std::string_view text, std::string_view from, std::string_view to,
                          TReplaceFlags flags) {
  if (from.empty()) return std::string(text);
  const bool ignoreCase = flags & rfIgnoreCase;
  std::string haystack = ignoreCase ? AnsiUpperCase(text) : std::string(text);
  std::string needle = ignoreCase ? AnsiUpperCase(from) : std::string(from);
  std::string result;
  size_t pos = 0;
  while (true) {
    size_t found = haystack.find(needle, pos);
    if (found == std::string::npos) break;
    result.append(text.substr(pos, found - pos));
    result.append(to);
    pos = found + needle.size();
    if (!(flags & rfReplaceAll)) break;
  }
  result.append(text.substr(pos));
  return result;
}

bool IsValidIdent(std::string_view text) {
  auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  if (text.empty() || !alpha(text[0])) return false;
  return std::all_of(text.begin() + 1, text.end(),
                     [&](char c) { return alpha(c) || (c >= '0' && c <= '9'); });
}

}  // namespace vorn
