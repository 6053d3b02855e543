// Internals of the compiler shared by its source files (CompileExpr.cpp,
// CompileQuery.cpp, CompileDml.cpp); see Compiler.h for the contract.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "engine/Compiler.h"

namespace vorn::server {

// A FROM source as names resolve against it.
struct Source {
  std::string name;    // the alias, or the table name when not aliased
  std::string schema;  // owner of an unaliased table (S.T.C references)
  bool aliased = false;
  std::string sqlAlias;              // how the generated SQL names it
  const TableInfo* table = nullptr;  // a base table: ROWID is available
  // The SQLite rowid of the row: "alias.rowid" of a base table, the hidden
  // column of a key-preserved view over one table; empty when there is
  // none (ROWID is then ORA-01445).
  std::string rowidSql;
  int64_t rowidObject = 0;  // the table the ROWID belongs to
  bool isView = false;
  std::vector<ResultColumn> columns;
  std::vector<std::string> columnSql;
  bool outerJoined = false;
};

struct Scope {
  Scope* parent = nullptr;
  std::vector<Source> sources;
  bool aggregatesAllowed = false;
  bool rownumAllowed = false;
  bool sequencesAllowed = false;
  bool columnsForbidden = false;  // VALUES and DEFAULT: ORA-00984 for a name
};

// The compiled form of an expression.
struct Code {
  std::string sql;
  OraType type;
  bool aggregate = false;
  std::optional<std::string> literal;  // a text literal's value (CHAR comparison)
  std::string rowidAlias;              // a bare ROWID: the SQL of its SQLite rowid...
  int64_t rowidObject = 0;             // ...and table object number
  bool isBoolean = false;
};

struct QueryCode {
  std::string sql;  // select items aliased c0, c1, ...
  std::vector<ResultColumn> columns;
  bool hasOrderOrLimit = false;
  // FOR UPDATE (top level only)
  std::vector<int64_t> lockObjects;
  // LOB columns taken straight from a table (top level only).
  std::vector<LobColumn> lobColumns;
  // A view's query over one table without grouping or DISTINCT keeps the
  // table's rows: their rowid is its last column, "vr".
  int64_t rowidObject = 0;
};

struct FunctionArgs;

class Compiler {
 public:
  explicit Compiler(const CompileContext& ctx) : ctx_(ctx) {}

  Code expr(Expr& e, Scope& scope);
  Code condition(Expr& e, Scope& scope);
  QueryCode query(Query& q, Scope* parent, bool topLevel = false, int viewDepth = 0);

  // Conversions (raise ORA-00932 where Oracle refuses).
  std::string toNumber(const Code& c, int pos) const;
  std::string toText(const Code& c) const;
  std::string toDate(const Code& c, int pos) const;
  std::string toRaw(const Code& c, int pos) const;
  std::string convert(const Code& c, const OraType& to, int pos) const;

  std::string newAlias() { return "t" + std::to_string(++aliases_); }
  const CompileContext& context() const { return ctx_; }

  // Adds a base table or view source to `scope`; returns its FROM SQL.
  std::string tableSource(const std::vector<std::string>& name, const std::string& alias, int pos,
                          Scope& scope, int viewDepth, bool forDml = false);
  // The single-column subquery wrapped so that more than one row raises
  // ORA-01427.
  static std::string scalarSubquery(const std::string& sql, int column = 0);

  // User-defined types (CompileObjects.cpp).
  // VALUE(alias) of an object table: its row as an object.
  std::string objectRowSql(const TableInfo& t, const std::string& alias);
  // The object a REF points to (NULL when dangling).
  std::string derefSql(const std::string& ref, const TypeInfo& type);
  // INSERT into an object table of one object: its attributes as the
  // columns' values (false when `value` is no object of the table's type).
  bool objectRowValues(const TableInfo& t, const Code& value, std::vector<Code>& out);
  // UPDATE ... SET alias.column.attribute = value: `object` with the
  // attribute at path[from..] replaced by `value`.
  Code attributeAssignment(const Code& object, const std::vector<std::string>& path, size_t from,
                           const Code& value, int pos);

  int viewDepth = 0;
  // Compiling a view's query: its rows carry their table's rowid when the
  // view keeps them (QueryCode::rowidObject).
  bool exposeRowid = false;
  QueryCode* currentTop = nullptr;
  // Set when a stored function was called (it may change data), and when
  // a sequence's NEXTVAL was taken.
  bool callsStoredCode = false;
  bool takesNextval = false;
  std::vector<std::pair<std::string, int64_t>> forUpdateSources;  // (alias, obj)

 private:
  friend struct FunctionArgs;  // the built-in function rules
  Code name(Expr& e, Scope& scope);
  Code function(Expr& e, Scope& scope);
  Code storedFunction(Expr& e, const std::vector<Code>& args);
  // User-defined types (CompileObjects.cpp).
  Code attribute(const Code& base, const std::string& name, int pos,
                 const std::vector<std::string>& path);
  std::optional<Code> attributePath(Expr& e, Scope& scope);
  // SYS_NC_OID$ of an object table: its row objects' identifiers.
  std::optional<Code> objectIdColumn(Expr& e, Scope& scope);
  const Source& objectTableSource(Expr& e, Scope& scope);
  bool objectCall(Expr& e, Scope& scope, Code& out);
  std::optional<Code> constructorCall(Expr& e, const std::vector<Code>& args);
  Code objectCompare(const std::string& op, const Code& a, const Code& b, int pos);
  std::string convertUserDefined(const Code& c, const OraType& to, int pos) const;
  Code compare(const std::string& op, Code a, Code b, int pos);
  Code caseExpr(Expr& e, Scope& scope);
  void unify(Code& a, Code& b, int pos) const;
  OraType commonType(const std::vector<Code*>& codes, int pos) const;
  QueryCode block(Query& q, Scope* parent, bool topLevel, int viewDepth);
  QueryCode compound(Query& q, Scope* parent, bool topLevel, int viewDepth);

  CompileContext ctx_;  // a copy: callers may pass temporaries
  int aliases_ = 0;
};

// Type families for comparisons and conversions.
// Lob: a BFILE, which converts to nothing.
// Object, Ref, Collection: user-defined types, which convert only to
// themselves.
enum class Family { Null, Number, Text, Date, Raw, Rowid, Boolean, Lob, Object, Ref, Collection };
Family familyOf(const OraType& t);
// Oracle's name of a type in ORA-00932 texts.
std::string typeWord(const OraType& t);
[[noreturn]] void inconsistent(const OraType& expected, const OraType& got, int pos);
// LOBs are neither compared, sorted nor grouped: ORA-00932 for one; objects
// are not sorted or grouped without a MAP method (ORA-22950), collections
// not at all (ORA-00932).
void refuseLob(const OraType& t, int pos);
// ORA-00932 when one of two types is user-defined and the other is not the
// same type (NULL goes with every type).
void checkUserTypes(const OraType& a, const OraType& b, int pos);

// Splits a condition into its top-level AND terms.
void conjuncts(Expr& e, std::vector<Expr*>& out);
// True when `e` (not looking into subqueries) uses ROWNUM.
bool usesRownum(const Expr& e);
// The SQL of the LIMIT a ROWNUM condition amounts to (ROWNUM <, <=, =, >,
// >= a value that does not depend on the row); ORA-00900 for other uses.
std::string rownumLimit(Compiler& c, Expr& e, Scope& scope);

}  // namespace vorn::server
