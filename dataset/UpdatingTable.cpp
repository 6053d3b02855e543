// The updating table and its alias, read from a SELECT statement; see
// UpdatingTable.h.
#include "UpdatingTable.h"

#include <algorithm>
#include <array>

#include "vorn/dataset/SqlText.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/TextUtils.h"

namespace vorn {

namespace {

constexpr size_t npos = std::string::npos;

// Control characters (line breaks, tabs) separate words as blanks do.
std::string BlanksForControls(std::string text) {
  std::replace_if(
      text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < ' '; }, ' ');
  return text;
}

size_t SkipBlanks(std::string_view text, size_t at, size_t end) {
  while (at < end && text[at] == ' ')
    ++at;
  return at;
}

size_t SkipWord(std::string_view text, size_t at, size_t end) {
  while (at < end && IsWordCharacter(text[at]))
    ++at;
  return at;
}

// Just past the literal ('...') or quoted name ("...") that opens at `at`;
// an unterminated one runs to `end`.
size_t SkipQuoted(std::string_view text, size_t at, size_t end) {
  const size_t close = text.substr(0, end).find(text[at], at + 1);
  return close == npos ? end : close + 1;
}

// The ")" that closes the "(" at `open`, or `end` when none does.
size_t MatchingParenthesis(std::string_view text, size_t open, size_t end) {
  int depth = 0;
  for (size_t i = open; i < end;) {
    const char c = text[i];
    if (c == '\'' || c == '"') {
      i = SkipQuoted(text, i, end);
      continue;
    }
    if (c == '(') ++depth;
    if (c == ')' && --depth == 0) return i;
    ++i;
  }
  return end;
}

// The first FROM of text[begin, end) that belongs to the statement itself:
// outside parentheses (subqueries, function calls), literals and quoted
// names, standing as a word and followed by a blank or "(". The text is
// upper-cased.
size_t FindFrom(std::string_view text, size_t begin, size_t end) {
  int depth = 0;
  for (size_t i = begin; i < end;) {
    const char c = text[i];
    if (c == '\'' || c == '"') {
      i = SkipQuoted(text, i, end);
      continue;
    }
    if (c == '(') {
      ++depth;
    } else if (c == ')') {
      if (depth > 0) --depth;
    } else if (depth == 0 && c == 'F' && i + 4 < end && text.substr(i, 4) == "FROM" &&
               (i == begin || !IsWordCharacter(text[i - 1])) &&
               (text[i + 4] == ' ' || text[i + 4] == '(')) {
      return i;
    }
    ++i;
  }
  return npos;
}

std::string WithoutDoubleQuotes(std::string_view text) {
  std::string result(text);
  std::erase(result, '"');
  return result;
}

bool IsClauseKeyword(std::string_view word) {
  static constexpr std::array<std::string_view, 6> kKeywords = {"WHERE", "ORDER", "GROUP",
                                                                "FOR",   "START", "CONNECT"};
  return std::find(kKeywords.begin(), kKeywords.end(), word) != kKeywords.end();
}

}  // namespace

std::string UpdatingTableOfStatement(std::string_view sql) {
  const std::string text = BlanksForControls(UpperCase(RemoveComments(sql)));
  size_t begin = 0;
  size_t end = text.size();
  for (;;) {
    // A subquery that is itself parenthesised: "from ((select ...))".
    begin = SkipBlanks(text, begin, end);
    if (begin < end && text[begin] == '(') {
      end = MatchingParenthesis(text, begin, end);
      ++begin;
      continue;
    }
    const size_t from = FindFrom(text, begin, end);
    if (from == npos) return "";
    const size_t at = SkipBlanks(text, from + 4, end);
    if (at < end && text[at] == '(') {
      // A subquery in FROM: its own FROM names the table. The span shrinks
      // with every round, so the search ends.
      end = MatchingParenthesis(text, at, end);
      begin = at + 1;
      continue;
    }
    return WithoutDoubleQuotes(std::string_view(text).substr(at, SkipWord(text, at, end) - at));
  }
}

std::string UpdatingTableAliasOf(std::string_view sql, std::string_view tableName) {
  const std::string text = RemoveComments(sql);
  // The mask hides literals and everything in parentheses, so the FROM
  // found is the statement's own and its position is one in `text`.
  const std::string masked = BlanksForControls(MaskStatement(text));
  const size_t end = masked.size();
  const size_t from = FindFrom(masked, 0, end);
  if (from == npos || tableName.empty()) return std::string(tableName);
  const size_t at = SkipBlanks(masked, from + 4, end);
  size_t after;
  if (at < end && masked[at] == '(') {
    after = MatchingParenthesis(masked, at, end);
    if (after < end) ++after;
  } else {
    after = SkipWord(masked, at, end);
    if (WithoutDoubleQuotes(std::string_view(masked).substr(at, after - at)) != tableName)
      return std::string(tableName);
  }
  // The alias follows after blanks; a comma or anything else ends the
  // table's entry without one.
  if (after >= end || masked[after] != ' ') return std::string(tableName);
  const size_t aliasAt = SkipBlanks(masked, after, end);
  const size_t aliasEnd = SkipWord(masked, aliasAt, end);
  const std::string word = masked.substr(aliasAt, aliasEnd - aliasAt);
  if (word.empty() || IsClauseKeyword(word)) return std::string(tableName);
  // A quoted alias is case-sensitive: it is taken as written.
  return word.front() == '"' ? text.substr(aliasAt, aliasEnd - aliasAt) : word;
}

std::string ChooseUpdatingTable(std::string_view updatingTable, std::string_view sql,
                                bool cursorDataSet) {
  std::string table = Trim(updatingTable);
  if (!table.empty()) return table;
  if (cursorDataSet) throw Exception("UpdatingTable property required for cursor dataset");
  return UpdatingTableOfStatement(sql);
}

}  // namespace vorn
