// The condition texts of query by example; see QBEConditions.h.
#include "QBEConditions.h"

#include "RecordUpdater.h"
#include "vorn/dataset/SqlText.h"
#include "vorn/host/TextUtils.h"

namespace vorn::qbe_sql {

namespace {

std::string Upper(char c) {
  return AnsiUpperCase(std::string_view(&c, 1));
}

std::string Lower(char c) {
  return AnsiLowerCase(std::string_view(&c, 1));
}

// The case-insensitive forms: the prefix alternatives (l1l2, u1l2, l1u2,
// u1u2, each followed by `suffix`) compared with `op`, the ones that differ
// from the first only.
std::string PrefixAlternatives(const std::string& column, std::string_view text,
                               const std::string& op, const std::string& suffix) {
  const std::string l1 = Lower(text[0]), u1 = Upper(text[0]);
  const std::string l2 = Lower(text[1]), u2 = Upper(text[1]);
  auto compare = [&](const std::string& prefix) {
    return column + " " + op + " " + QuotedStr(prefix + suffix);
  };
  std::string result = "(" + compare(l1 + l2);
  if (l1 != u1) result += " or " + compare(u1 + l2);
  if (l2 != u2) result += " or " + compare(l1 + u2);
  if (l1 != u1 && l2 != u2) result += " or " + compare(u1 + u2);
  return result + ")";
}

}  // namespace

std::string PrepareText(std::string_view text, bool fileWildCards, bool partialMatch) {
  std::string result(text);
  if (fileWildCards) {
    for (char& c : result) {
      if (c == '*') c = '%';
      if (c == '?') c = '_';
    }
  }
  if (partialMatch && (result.empty() || result.back() != '%')) result += '%';
  return result;
}

bool HasWildcard(std::string_view text) {
  return text.find_first_of("%_") != std::string_view::npos;
}

std::string TextCondition(const std::string& column, std::string_view text, bool caseInsensitive) {
  if (text.empty()) return "";
  const std::string op = HasWildcard(text) ? "like" : "=";
  if (!caseInsensitive) return column + " " + op + " " + QuotedStr(text);
  if (text.size() == 1) {
    if (text[0] == '%' || text[0] == '_') return column + " like " + QuotedStr(text);
    const std::string lower = Lower(text[0]), upper = Upper(text[0]);
    if (lower != upper) return column + " in (" + QuotedStr(upper) + ", " + QuotedStr(lower) + ")";
    return column + " = " + QuotedStr(text);
  }
  if (text.size() == 2) return PrefixAlternatives(column, text, op, "");
  return PrefixAlternatives(column, text, "like", "%") + " and upper(" + column + ") " + op +
         " upper(" + QuotedStr(text) + ")";
}

std::string WholeDayCondition(const std::string& column, const std::string& variable) {
  return column + " >= :" + variable + " and " + column + " < :" + variable + " + 1";
}

std::string ValueCondition(const std::string& column, const std::string& variable) {
  return column + " = :" + variable;
}

std::string StatementWithConditions(std::string_view sql,
                                    const std::vector<std::string>& conditions) {
  if (conditions.empty()) return std::string(sql);
  std::string joined;
  for (const std::string& condition : conditions) {
    if (!joined.empty()) joined += "\r\nand ";
    joined += condition;
  }
  const TStatementParts parts = SplitStatement(sql);
  std::string text = parts.Head + "\r\n" + ConditionClause(parts, joined) + "\r\n";
  if (!parts.Tail.empty()) text += parts.Tail + "\r\n";
  return text + record_sql::kQBEMarker;
}

}  // namespace vorn::qbe_sql
