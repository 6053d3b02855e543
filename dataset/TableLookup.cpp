// Table name resolution and the key fields of a dataset; see TableLookup.h.
#include "TableLookup.h"

#include "DictionaryDataSet.h"
#include "StatementLines.h"
#include "vorn/dataset/DictionaryCache.h"
#include "vorn/host/DataSet.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/TextUtils.h"
#include "vorn/session/OracleSession.h"

namespace vorn {

namespace {

// The ODBC route runs plain statements, one after the other, until one
// finds the name. Each is two lines joined by the query's line break, and
// none ends in ";", which the server would refuse.
TTableName ResolveOnOdbcRoute(TOracleQuery& query, const std::string& name) {
  static const std::string kWhere[][2] = {
      {"select owner, table_name from all_tables", "where owner = user and table_name = :name"},
      {"select table_owner, table_name from all_synonyms",
       "where owner = user and synonym_name = :name"},
      {"select table_owner, table_name from all_synonyms",
       "where owner = 'PUBLIC' and synonym_name = :name"},
  };
  for (const auto& lines : kWhere) {
    SetStatement(query, {lines[0], lines[1]});
    DeclareString(query, "name", name);
    query.Execute();
    if (!query.Eof()) return {query.FieldAsString(0), query.FieldAsString(1)};
  }
  return {};
}

TTableName ResolveInOneBlock(TOracleQuery& query, const std::string& name) {
  SetStatement(
      query,
      {"begin", "  begin", "    select user, table_name into :table_owner, :table_name",
       "      from sys.user_tables where table_name = :name;",
       "  exception when no_data_found then", "    begin",
       "      select table_owner, table_name into :table_owner, :table_name",
       "        from sys.user_synonyms where synonym_name = :name;",
       "    exception when no_data_found then", "      begin",
       "        select table_owner, table_name into :table_owner, :table_name",
       "          from sys.all_synonyms where owner = 'PUBLIC' and synonym_name = :name; return;",
       "      exception when no_data_found then",
       "        :table_owner := null; :table_name := null;", "      end;", "    end;", "  end;",
       "end;"});
  DeclareString(query, "name", name);
  query.DeclareVariable("table_owner", otString);
  query.DeclareVariable("table_name", otString);
  query.Execute();
  return {VarToStr(query.GetVariable("table_owner")), VarToStr(query.GetVariable("table_name"))};
}

[[noreturn]] void KeyColumnsMissing() {
  DatabaseError("Primary or Unique key columns must be included");
}

}  // namespace

TTableName ResolveTableName(TOracleQuery& query, const std::string& name) {
  if (name.empty()) return {};
  const size_t dot = name.find('.');
  if (dot != std::string::npos) {
    return {AnsiUpperCase(name.substr(0, dot)), AnsiUpperCase(name.substr(dot + 1))};
  }
  const std::string upper = AnsiUpperCase(name);
  if (query.Session() != nullptr && query.Session()->TakesODBCRoute())
    return ResolveOnOdbcRoute(query, upper);
  return ResolveInOneBlock(query, upper);
}

std::vector<std::string> SplitFieldNames(const std::string& names) {
  std::vector<std::string> result;
  size_t start = 0;
  while (start <= names.size()) {
    size_t end = names.find_first_of(";,", start);
    if (end == std::string::npos) end = names.size();
    std::string name = Trim(std::string_view(names).substr(start, end - start));
    if (!name.empty()) result.push_back(std::move(name));
    start = end + 1;
  }
  return result;
}

std::vector<std::string> KeyFieldNames(DictionaryDataSet& dataSet) {
  TOracleSession* session = dataSet.Session();
  const std::string uniqueFields = dataSet.UniqueFields();
  const bool odbcRoute = session != nullptr && session->TakesODBCRoute();
  if (!dataSet.HasRowId() || (!odbcRoute && Trim(uniqueFields).empty())) return {};
  if (!Trim(uniqueFields).empty()) return SplitFieldNames(uniqueFields);

  TOracleTableInfo& table = TableInfoOf(session, dataSet.UpdatingTableName());
  if (table.TableName().empty()) KeyColumnsMissing();
  TOracleQuery& query = table.Query();
  SetStatement(query, {"select constraint_name from all_constraints",
                       "where owner = :owner and table_name = :table_name",
                       "and constraint_type in ('P', 'U')", "order by constraint_type"});
  DeclareString(query, "owner", table.Owner());
  DeclareString(query, "table_name", table.TableName());
  query.Execute();
  if (query.Eof()) return {};
  const std::string constraint = query.FieldAsString(0);

  SetStatement(query, {"select column_name from all_cons_columns",
                       "where owner = :owner and table_name = :table_name",
                       "and constraint_name = :constraint_name"});
  DeclareString(query, "owner", table.Owner());
  DeclareString(query, "table_name", table.TableName());
  DeclareString(query, "constraint_name", constraint);
  query.Execute();
  std::vector<std::string> columns;
  for (; !query.Eof(); query.Next()) {
    std::string column = query.FieldAsString(0);
    if (dataSet.DataSet().FindField(column) == nullptr) KeyColumnsMissing();
    columns.push_back(std::move(column));
  }
  return columns;
}

}  // namespace vorn
