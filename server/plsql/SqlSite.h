// An SQL statement or expression of a program unit that the SQL engine
// runs: SELECT ... INTO, DML, cursor queries, and PL/SQL expressions the
// interpreter does not evaluate itself (SQL functions, subqueries).
//
// The text handed to the engine is the source with PL/SQL's own pieces
// taken out: the INTO clause of SELECT, the targets of RETURNING ... INTO
// (replaced by placeholders :"#r1", ...), and constructs SQL does not know
// (:t(i), cursor attributes, SQLCODE, SQLERRM), replaced by placeholders
// :"#1", ... whose values the interpreter computes. Locals, parameters,
// record fields and package variables stay as names: the engine resolves
// columns first and offers the rest to the site's NameHook (SiteHook),
// which is how PL/SQL gives columns precedence over locals.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/Compiler.h"
#include "engine/Statement.h"
#include "plsql/Syntax.h"

namespace vorn::server::plsql {

// A local that SQL text may name.
struct LocalRef {
  enum class Kind { Slot, PackageVariable } kind = Kind::Slot;
  int slot = -1;
  std::string variable;  // PACKAGE.VARIABLE
  OraType type;
};

// Answers the engine's questions about names it cannot resolve. While a
// statement of the site is being executed, `valueOf` gives the current
// value of a local and `binding` the statement, so that a local the
// compiler meets for the first time is bound at once; later executions
// bind every local named so far before they execute.
class SiteHook : public NameHook {
 public:
  std::optional<OraType> localType(const std::vector<std::string>& name) override;
  int localParameter(const std::vector<std::string>& name) override;

  std::map<std::string, LocalRef> visible;  // "NAME" or "RECORD.FIELD"
  int base = 0;                             // first parameter index
  std::vector<LocalRef> params;             // parameter base + i
  std::map<std::string, int> indexes;
  Statement* binding = nullptr;
  std::function<Value(const LocalRef&)> valueOf;

 private:
  const LocalRef* find(const std::vector<std::string>& name, std::string& key) const;
};

// Where each placeholder of the engine statement gets its value.
struct PlaceholderSource {
  enum class Kind { Bind, Value, Returning } kind = Kind::Bind;
  int index = -1;  // Bind: the unit's bind; Value: values[index]; Returning: target
};

struct SqlSite {
  enum class Kind { Query, Dml, Expression, Condition, Other };
  Kind kind = Kind::Query;
  std::string text;
  int pos = 0;         // the statement or expression in the unit's text
  std::string schema;  // stored code: its owner, whose names the SQL uses
  // Runs of the text and where they came from: (offset in text, offset in
  // the source), ascending.
  std::vector<std::pair<int, int>> offsets;
  std::vector<NodePtr> values;                // :"#1", :"#2", ...
  std::vector<std::unique_ptr<Target>> into;  // SELECT INTO / RETURNING INTO
  std::vector<PlaceholderSource> sources;     // per placeholder of `text`
  std::vector<ColumnDescription> columns;     // queries: the select list
  std::unique_ptr<SiteHook> hook;
  std::vector<std::unique_ptr<Statement>> idle;  // prepared, ready to reuse

  // The source offset of an offset in `text`.
  int sourceOffset(int textOffset) const;
};

}  // namespace vorn::server::plsql
