// The table a dataset's generated statements address, and the name under
// which its SELECT statement knows that table, read from the statement text.
//
//   UpdatingTableOfStatement  the first table named after the FROM of the
//       statement itself (never one of a subquery in the select list or in
//       a condition), upper-cased, without double quotes. When the FROM is
//       followed by a parenthesised subquery, the table is the one of that
//       subquery, found the same way. Comments, literals and quoted names
//       never count. Empty when there is none.
//   UpdatingTableAliasOf      the word that directly follows that table (or
//       that subquery's closing parenthesis) after the FROM, unless it is
//       WHERE, ORDER, GROUP, FOR, START or CONNECT; the table name itself
//       when there is no such word. A quoted alias keeps its quotes and
//       case, an unquoted one is upper-cased.
//   ChooseUpdatingTable       the trimmed UpdatingTable property when set,
//       else the table of the statement; a cursor dataset (whose statement
//       only opens a cursor) must name its table in the property.
#pragma once

#include <string>
#include <string_view>

namespace vorn {

std::string UpdatingTableOfStatement(std::string_view sql);
std::string UpdatingTableAliasOf(std::string_view sql, std::string_view tableName);
// Raises vorn::Exception "UpdatingTable property required for cursor
// dataset" for a cursor dataset without the property.
std::string ChooseUpdatingTable(std::string_view updatingTable, std::string_view sql,
                                bool cursorDataSet);

}  // namespace vorn
