// Configuring a master/detail link from the foreign key between the two
// updating tables; see MasterDetailConfig.h.
#include "MasterDetailConfig.h"

#include <algorithm>
#include <array>

#include "StatementLines.h"
#include "TableLookup.h"
#include "vorn/dataset/OracleDataSet.h"
#include "vorn/dataset/SqlText.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/TextUtils.h"
#include "vorn/host/UIServices.h"
#include "vorn/query/OracleQuery.h"
#include "vorn/session/OracleError.h"
#include "vorn/session/OracleSession.h"

namespace vorn {

namespace {

constexpr const char* kNeedsSession =
    "Automatic Master/Detail configuration is only\r\npossible if the Session is connected.";
// The misspelling is the message's own.
constexpr const char* kNeedsDetailSQL =
    "Automatic Master/Detail configuraion is only\r\npossible if the Detail SQL text is set "
    "correctly.";
constexpr const char* kNeedsMasterSQL =
    "Automatic Master/Detail configuration is only\r\npossible if the Master SQL text is set "
    "correctly.";
constexpr const char* kNeedsForeignKey =
    "Automatic Master/Detail configuration is only\r\npossible if a foreign key constraint "
    "exists\r\nbetween the Master and Detail table.";
constexpr const char* kNeedsOneForeignKey =
    "Automatic Master/Detail configuration is only\r\npossible if just one foreign key "
    "constraint\r\nexists between the Master and Detail table.";
constexpr const char* kModifyQuery =
    "Modify query to add variables to WHERE clause?\r\nNOTE: This will remove any existing "
    "WHERE clause and variables!";

// The updating table of a dataset resolved; empty when its statement names
// no table (a cursor dataset without UpdatingTable names none either).
TTableName UpdatingTableOf(TOracleDataSet& dataSet, TOracleQuery& query, std::string& tableName) {
  try {
    tableName = dataSet.UpdatingTableName();
  } catch (const EOracleError&) {
    throw;
  } catch (const Exception&) {
    tableName.clear();
  }
  return ResolveTableName(query, tableName);
}

std::string Joined(const std::vector<std::string>& names, const std::string& separator) {
  std::string text;
  for (const std::string& name : names) {
    if (!text.empty()) text += separator;
    text += name;
  }
  return text;
}

size_t FindWordFrom(const std::string& masked, std::string_view word, size_t from) {
  if (from >= masked.size()) return std::string::npos;
  const size_t found = FindWord(std::string_view(masked).substr(from), word);
  return found == std::string::npos ? found : found + from;
}

// The first clause after `from` that may follow a WHERE clause.
size_t FollowingClause(const std::string& masked, size_t from) {
  static const std::array<std::string_view, 6> clauses = {"GROUP", "HAVING", "CONNECT",
                                                          "START", "ORDER",  "FOR"};
  size_t first = std::string::npos;
  for (std::string_view clause : clauses)
    first = std::min(first, FindWordFrom(masked, clause, from));
  return first;
}

}  // namespace

std::string ReplaceWhereClause(std::string_view sql, std::string_view clause) {
  const std::string text(sql);
  const std::string masked = MaskStatement(text);
  const size_t from = FindWord(masked, "FROM");
  const size_t start = from == std::string::npos ? 0 : from;
  const size_t where = FindWordFrom(masked, "WHERE", start);
  if (where != std::string::npos) {
    const size_t end = std::min(FollowingClause(masked, where), text.size());
    return text.substr(0, where) + std::string(clause) + text.substr(end);
  }
  const size_t at = std::min(FollowingClause(masked, start), text.size());
  // Trailing blanks and line breaks before the insertion would leave an
  // empty line or a blank at a line's end.
  return TrimRight(text.substr(0, at)) + "\r\n" + std::string(clause) + text.substr(at);
}

void TMasterDetailConfig::Run() {
  TOracleDataSet* master = detail_.Master();
  if (master == nullptr) {
    // No master: no link to configure, and nothing to tell the designer.
    detail_.SetDetailFields("");
    detail_.SetMasterFields("");
    return;
  }
  TOracleSession* session = detail_.Session();
  if (session == nullptr || !session->Connected()) session = master->Session();
  if (session == nullptr || !session->Connected()) {
    ShowMessage(kNeedsSession);
    return;
  }
  detail_.SetDetailFields("");
  detail_.SetMasterFields("");

  TOracleQuery query;
  query.SetSession(session);
  std::string detailTableName;
  std::string masterTableName;
  const TTableName detailTable = UpdatingTableOf(detail_, query, detailTableName);
  if (detailTable.Table.empty()) {
    ShowMessage(kNeedsDetailSQL);
    return;
  }
  const TTableName masterTable = UpdatingTableOf(*master, query, masterTableName);
  if (masterTable.Table.empty()) {
    ShowMessage(kNeedsMasterSQL);
    return;
  }

  SetStatement(query, {"select fk.constraint_name fkname, pk.constraint_name pkname",
                       "  from sys.all_constraints fk, sys.all_constraints pk",
                       " where fk.constraint_type = 'R'",
                       "   and fk.owner = :fk_owner and fk.table_name = :fk_table_name",
                       "   and pk.constraint_name = fk.r_constraint_name",
                       "   and pk.owner = :pk_owner and pk.table_name = :pk_table_name"});
  DeclareString(query, "fk_owner", detailTable.Owner);
  DeclareString(query, "fk_table_name", detailTable.Table);
  DeclareString(query, "pk_owner", masterTable.Owner);
  DeclareString(query, "pk_table_name", masterTable.Table);
  query.Execute();
  if (query.Eof()) {
    ShowMessage(kNeedsForeignKey);
    return;
  }
  const std::string foreignKey = query.FieldAsString(0);
  const std::string primaryKey = query.FieldAsString(1);
  query.Next();
  if (!query.Eof()) {
    ShowMessage(kNeedsOneForeignKey);
    return;
  }
  const bool modify = MessageDlg(kModifyQuery, mtConfirmation, mbYes | mbNo) == mrYes;

  const std::vector<std::string> detailColumns =
      ConstraintColumns(query, detailTable.Owner, foreignKey);
  detail_.SetDetailFields(Joined(detailColumns, ";"));
  detail_.SetMasterFields(Joined(ConstraintColumns(query, masterTable.Owner, primaryKey), ";"));
  if (modify) AddWhereClause(query, detailColumns, detailTableName);
}

std::vector<std::string> TMasterDetailConfig::ConstraintColumns(TOracleQuery& query,
                                                                const std::string& owner,
                                                                const std::string& constraint) {
  SetStatement(query, {"select column_name from sys.all_cons_columns",
                       " where owner = :owner and constraint_name = :constraint_name",
                       " order by position"});
  DeclareString(query, "owner", owner);
  DeclareString(query, "constraint_name", constraint);
  std::vector<std::string> columns;
  for (query.Execute(); !query.Eof(); query.Next())
    columns.push_back(query.FieldAsString(0));
  return columns;
}

void TMasterDetailConfig::AddWhereClause(TOracleQuery& query,
                                         const std::vector<std::string>& columns,
                                         const std::string& table) {
  detail_.DeleteVariables();
  SetStatement(query, {"select " + Joined(columns, ", ") + " from " + table});
  query.Describe();
  std::string clause = "where ";
  for (int i = 0; i < query.FieldCount(); ++i) {
    const std::string name = LowerCase(query.FieldName(i));
    if (i > 0) clause += " and ";
    clause.append(name).append(" = :").append(name);
    detail_.DeclareVariable(name, query.FieldType(i));
  }
  clause += "\r\n";
  detail_.SQL()->SetText(ReplaceWhereClause(detail_.SQL()->Text(), clause));
}

}  // namespace vorn
