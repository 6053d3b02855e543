// Dictionary look-ups about a dataset's updating table: which table a name
// stands for, and which columns identify its records.
//
//   ResolveTableName  a name "OWNER.TABLE" is split at its first "." (both
//       parts upper-cased); an empty name gives nothing; any other name is
//       looked up, upper-cased, among the user's tables, then the user's
//       synonyms, then the public synonyms. Both parts are empty when the
//       name stands for nothing.
//   KeyFieldNames     the fields that identify a record when the rowid
//       cannot: on open, for a dataset with a rowid whose session takes the
//       ODBC route or which names UniqueFields. UniqueFields wins; else the
//       table's primary key, or else its first unique key. A key column
//       that is no field of the dataset, or a table that cannot be
//       resolved, raises the database error "Primary or Unique key columns
//       must be included"; a table without such key gives none.
#pragma once

#include <string>
#include <vector>

namespace vorn {

class DictionaryDataSet;
class TOracleQuery;

struct TTableName {
  std::string Owner;
  std::string Table;
};

// Runs the look-up on `query` (whose session decides the route).
TTableName ResolveTableName(TOracleQuery& query, const std::string& name);

std::vector<std::string> KeyFieldNames(DictionaryDataSet& dataSet);

// The names in a UniqueFields text ("EMPNO;ENAME" or "EMPNO, ENAME"),
// trimmed, empty ones left out.
std::vector<std::string> SplitFieldNames(const std::string& names);

}  // namespace vorn
