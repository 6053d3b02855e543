// What the PL/SQL layer keeps per session (a Session::Extension): the
// DBMS_OUTPUT buffer, package variables, the implicit cursor's attributes
// (SQL%ROWCOUNT, SQL%FOUND), the stored code compiled for this session, and
// the nesting of calls (recursion limit; functions called from SQL may not
// change data).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "engine/Session.h"
#include "engine/Value.h"
#include "plsql/DbmsOutput.h"

namespace vorn::server {
struct StoredCodeInfo;
}

namespace vorn::server::plsql {

struct Unit;

class SessionState : public Session::Extension {
 public:
  // The state of `session`, created on first use.
  static SessionState& of(Session& session);

  DbmsOutput& output() { return output_; }

  // Package variables of built-in packages (ORA-06508 for unknown ones);
  // values are stored as given (callers convert to the declared type).
  Value variable(const std::string& package, const std::string& name);
  void setVariable(const std::string& package, const std::string& name, const Value& value);

  // The most recent SQL statement of a block: rows processed, -1 before the
  // first one (SQL%FOUND is NULL then).
  int64_t sqlRowcount = -1;

  // A stored procedure or function compiled for this session; compiled again
  // after any catalog change. Compile errors raise ORA-06550 (PLS-00905).
  std::shared_ptr<const Unit> storedUnit(Session& session, const StoredCodeInfo& code,
                                         int64_t catalogVersion);

  int callDepth = 0;     // program units running (recursion limit)
  int sqlFunctions = 0;  // functions running inside a SQL statement
  int blocks = 0;        // top-level blocks running (nested through dynamic SQL)

 private:
  DbmsOutput output_;
  std::map<std::string, Value> variables_;
  int64_t unitsVersion_ = -1;
  std::map<int64_t, std::shared_ptr<const Unit>> units_;
};

}  // namespace vorn::server::plsql
