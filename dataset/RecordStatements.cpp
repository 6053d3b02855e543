// The texts of the record statements that do not depend on a record; see
// RecordUpdater.h.
#include <algorithm>
#include <array>

#include "RecordUpdater.h"
#include "vorn/dataset/SqlText.h"
#include "vorn/host/TextUtils.h"

namespace vorn::record_sql {

namespace {

bool IsWordChar(char c) {
  const auto code = static_cast<unsigned char>(c);
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '$' || c == '#' || c == '.' || c == '@' || c == '"' || code >= 128;
}

// Words that end a FROM item rather than name its alias.
bool IsClauseKeyword(const std::string& word) {
  static constexpr std::array<std::string_view, 9> kKeywords{
      "WHERE", "ORDER", "GROUP", "FOR", "START", "CONNECT", "UNION", "MINUS", "INTERSECT"};
  return std::find(kKeywords.begin(), kKeywords.end(), word) != kKeywords.end();
}

// The word of `masked` that starts at or after `at` (blanks skipped);
// `end` receives where it ends.
std::string WordAt(std::string_view text, std::string_view masked, size_t at, size_t& end) {
  while (at < masked.size() && static_cast<unsigned char>(masked[at]) <= ' ')
    ++at;
  end = at;
  while (end < masked.size() && IsWordChar(masked[end]))
    ++end;
  return std::string(text.substr(at, end - at));
}

std::string WithoutQuotes(std::string word) {
  word.erase(std::remove(word.begin(), word.end(), '"'), word.end());
  return word;
}

}  // namespace

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += '\n';
    text += lines[i];
  }
  return text;
}

std::string RowStatement(const std::string& table, bool lock) {
  std::string text = "select * from " + table + " where rowid = :zuq__rowid";
  if (lock) text += "\nfor update nowait";
  return text;
}

std::string RefreshStatement(std::string_view sql, const std::string& alias,
                             const std::string& lockColumn) {
  std::string text(sql);
  const size_t marker = UpperCase(text).find(kEndRefreshMarker);
  if (marker != std::string::npos) text = TrimRight(text.substr(0, marker));
  const TStatementParts parts = SplitStatement(text);
  const std::string condition = alias + ".rowid = :zuq__rowid";
  std::vector<std::string> lines{parts.Head};
  if (!parts.Condition.empty()) {
    lines.push_back(parts.Keyword + " (" + parts.Condition + ")\r\nand\r\n(" + condition + ")");
  } else {
    lines.push_back(parts.Keyword + " " + condition);
  }
  if (!lockColumn.empty()) lines.push_back("for update of " + alias + "." + lockColumn + " nowait");
  return JoinLines(lines);
}

std::string FirstTableOf(std::string_view sql, std::string& alias) {
  alias.clear();
  const std::string text = RemoveComments(sql);
  const std::string masked = MaskStatement(text);
  const size_t from = FindWord(masked, "FROM");
  if (from == std::string::npos) return "";
  size_t end = 0;
  const std::string table = UpperCase(WithoutQuotes(WordAt(text, masked, from + 4, end)));
  if (table.empty()) return "";
  std::string next = WordAt(text, masked, end, end);
  // A quoted alias keeps its case; a plain one is upper-cased as the server
  // folds it.
  if (next.empty() || next.front() != '"') next = UpperCase(next);
  alias = next.empty() || IsClauseKeyword(next) ? table : next;
  return table;
}

}  // namespace vorn::record_sql
