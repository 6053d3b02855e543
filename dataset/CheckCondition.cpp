// Check-constraint conditions with bind variables for their columns; see
// CheckCondition.h.
#include "CheckCondition.h"

#include <algorithm>

#include "vorn/dataset/SqlText.h"
#include "vorn/host/TextUtils.h"

namespace vorn {

namespace {

bool IsColumn(std::string_view name, const std::vector<std::string>& columns) {
  return std::any_of(columns.begin(), columns.end(),
                     [name](const std::string& column) { return SameText(column, name); });
}

// Word characters other than the double quote, which opens a quoted name.
bool IsNameCharacter(char c) {
  return c != '"' && IsWordCharacter(c);
}

}  // namespace

std::string RewriteCheckCondition(std::string_view condition,
                                  const std::vector<std::string>& columns) {
  std::string result;
  result.reserve(condition.size() + 8);
  size_t i = 0;
  while (i < condition.size()) {
    const char c = condition[i];
    if (c == '\'' || c == '"') {
      // A literal (or quoted name) runs to its closing quote; a doubled
      // quote inside is the end of one and the start of the next, which
      // copies the same text.
      size_t close = condition.find(c, i + 1);
      size_t end = close == std::string_view::npos ? condition.size() : close + 1;
      std::string_view quoted = condition.substr(i, end - i);
      const bool beforeOk = i == 0 || !IsNameCharacter(condition[i - 1]);
      const bool afterOk = end >= condition.size() || !IsNameCharacter(condition[end]);
      if (c == '"' && close != std::string_view::npos && beforeOk && afterOk &&
          IsColumn(quoted.substr(1, quoted.size() - 2), columns)) {
        result += ':';
        result += quoted.substr(1, quoted.size() - 2);
      } else {
        result += quoted;
      }
      i = end;
      continue;
    }
    if (IsNameCharacter(c)) {
      size_t end = i;
      while (end < condition.size() && IsNameCharacter(condition[end]))
        ++end;
      std::string_view word = condition.substr(i, end - i);
      // A name right after a quoted name or literal ("A"B) is not standing
      // alone; neither is one that a quote follows.
      const bool standsAlone =
          (i == 0 || condition[i - 1] != '"') && (end >= condition.size() || condition[end] != '"');
      if (standsAlone && IsColumn(word, columns)) result += ':';
      result += word;
      i = end;
      continue;
    }
    result += c;
    ++i;
  }
  return result;
}

}  // namespace vorn
