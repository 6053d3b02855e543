// The texts of the record statements that do not depend on a record; see
// RecordUpdater.h.
#include "RecordUpdater.h"

#include "vorn/dataset/SqlText.h"
#include "vorn/host/TextUtils.h"

namespace vorn::record_sql {

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
  std::vector<std::string> lines{parts.Head, ConditionClause(parts, condition)};
  if (!lockColumn.empty()) lines.push_back("for update of " + alias + "." + lockColumn + " nowait");
  return JoinLines(lines);
}

}  // namespace vorn::record_sql
