// Configuring a master/detail link from the data dictionary, in the
// designer: when a detail being designed gets a master (also being
// designed), the foreign key from the detail's updating table to the
// master's gives DetailFields (its columns) and MasterFields (the columns of
// the key it references), and, if the designer agrees, the detail's SQL gets
// a WHERE clause comparing each column with a variable of its name.
//
// The designer is told in a message box, and nothing more is changed,
// when no connected session is at hand (the detail's, else the master's),
// when either statement names no table the dictionary knows, and when the
// two tables are linked by no foreign key or by more than one. Errors of
// the dictionary statements themselves propagate.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorn {

class TOracleDataSet;
class TOracleQuery;

class TMasterDetailConfig {
 public:
  explicit TMasterDetailConfig(TOracleDataSet& detail) : detail_(detail) {}

  // Clears DetailFields and MasterFields and configures them anew (only
  // clears them when the detail has no master).
  void Run();

 private:
  // The column names of a constraint, in key order.
  std::vector<std::string> ConstraintColumns(TOracleQuery& query, const std::string& owner,
                                             const std::string& constraint);
  void AddWhereClause(TOracleQuery& query, const std::vector<std::string>& columns,
                      const std::string& table);

  TOracleDataSet& detail_;
};

// `sql` with its WHERE clause (from the word WHERE to the clause that
// follows it: GROUP, HAVING, CONNECT, START, ORDER or FOR, else the end)
// replaced by `clause`; a statement without WHERE gets CR LF and `clause`
// before such a following clause or at its end. Words are whole words in
// any case, outside literals and parentheses.
std::string ReplaceWhereClause(std::string_view sql, std::string_view clause);

}  // namespace vorn
