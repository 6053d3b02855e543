// The compiler: resolves the names of a parsed statement against a catalog
// snapshot, infers the Oracle type of every expression and writes the
// SQLite SQL that runs it. Oracle-only behaviour is expressed through the
// typed ora_* functions of value/SqlFunctions.h and the engine's own vorn_*
// functions (EngineFunctions.h), so that the generated statement gives
// Oracle's answer when SQLite runs it.
//
// Bind placeholders become SQLite parameters ?N with N = occurrence + 1;
// their Oracle types come from the values bound at compile time (a NULL or
// unbound placeholder is VARCHAR2).
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/Ast.h"
#include "engine/Catalog.h"
#include "engine/Lob.h"
#include "engine/Types.h"

namespace vorn::server {

// What a compiled query yields per select-list item.
struct ResultColumn {
  std::string name;
  OraType type;
};

// Names the compiler cannot resolve in the catalog are offered here before
// ORA-00904 is raised (PL/SQL locals; stored functions later).
class NameHook {
 public:
  virtual ~NameHook() = default;
  // The type of a local named `name` (upper-cased parts), or nullopt.
  virtual std::optional<OraType> localType(const std::vector<std::string>& name) = 0;
  // The SQLite parameter index (> 0) under which the local's value is
  // bound; called once per reference after localType answered.
  virtual int localParameter(const std::vector<std::string>& name) = 0;
};

// Stored functions (a later part of the server) are offered the calls the
// catalog cannot resolve: given the name and the argument types, the hook
// answers with the SQLite function that implements the call (registered on
// every connection through Session::setConnectionHook) and its result type.
struct FunctionBinding {
  std::string sqlName;
  OraType result;
  // SQL put before the call's own arguments (e.g. "'SCOTT', 'F'" naming the
  // stored function to one generic SQLite function).
  std::string firstArguments = {};
};
using FunctionHook = std::function<std::optional<FunctionBinding>(
    const Catalog& catalog, const std::string& user, const std::vector<std::string>& name,
    const std::vector<OraType>& args)>;
// Process-wide; set once before sessions compile statements.
void setFunctionHook(FunctionHook hook);
const FunctionHook& functionHook();

struct CompileContext {
  std::shared_ptr<const Catalog> catalog;
  std::string user;                // default schema of unqualified names
  std::string sessionUser;         // USER (differs from `user` inside a view)
  int64_t userId = 0;              // UID
  std::vector<OraType> bindTypes;  // per placeholder occurrence
  NameHook* hook = nullptr;
};

// A select-list LOB column that is a table's column: a locator of it points
// at the row, whose rowid is the hidden column `rowidColumn`.
struct LobColumn {
  int column = 0;
  int rowidColumn = 0;
  LobSource source;
};

struct CompiledQuery {
  std::string sql;
  std::vector<ResultColumn> columns;
  // FOR UPDATE: the rowids of the locked tables follow the visible columns.
  bool forUpdate = false;
  int lockWait = -1;  // -1 default, 0 NOWAIT, n seconds
  std::vector<int64_t> lockObjects;
  // Then the rowids of the rows the LOB columns come from.
  std::vector<LobColumn> lobColumns;
};

// One constraint check the DML executor runs after writing rows.
struct KeyCheck {
  const ConstraintInfo* constraint = nullptr;
  std::string owner, name;  // what ORA-00001 / ORA-02291 name
  int firstValue = 0;       // index of the first key value in the RETURNING row
  int count = 0;            // key columns
  std::string sql;          // P/U: count rows with the key; R: find the parent
};

// A parent-side check or action for rows removed or re-keyed in a
// referenced table.
struct ChildAction {
  const ConstraintInfo* constraint = nullptr;  // the foreign key of the child
  const TableInfo* child = nullptr;
  int firstValue = 0;  // first old key value in the pre-select / RETURNING row
  int count = 0;
  std::string findSql;    // SELECT rowid FROM child WHERE fk = ?...
  std::string actionSql;  // CASCADE: DELETE ... ; SET NULL: UPDATE ...
};

// UPDATE writes row by row: the row's rowid and its new values are SQLite
// parameters above every placeholder.
constexpr int kRowParameter = 30000;
constexpr int kSetParameter = 30001;

struct CompiledDml {
  StmtKind kind = StmtKind::Insert;
  const TableInfo* table = nullptr;
  // UPDATE/DELETE: rows to lock first: rowid, then the old values of
  // referenced keys.
  std::string lockSql;
  // The write itself, RETURNING rowid, check results, key values, then the
  // RETURNING ... INTO expressions.
  std::string sql;
  std::vector<std::string> checkNames;  // C constraints in RETURNING order (after rowid)
  std::vector<KeyCheck> uniqueChecks;
  std::vector<KeyCheck> parentChecks;     // this table's foreign keys
  std::vector<ChildAction> childActions;  // FKs referencing this table
  bool childKeysFromLockRow = false;      // UPDATE: old keys come from the lock query
  int returningFirst = 0;                 // first RETURNING ... INTO value in the row
  std::vector<ResultColumn> returning;
  std::vector<int> returningSlots;  // bind occurrence of each INTO target
  // Per RETURNING value: the table column a LOB value is (empty column name
  // for any other value); its row is the written row.
  std::vector<LobSource> returningLobs;
  // INSERT into a table with LOB columns locks the new rows, so that the
  // inserting transaction may write their LOBs through locators.
  bool lockInserted = false;
  // UPDATE: where the new values start in the lock row, and how many.
  int setFirst = 0;
  int setCount = 0;
  // INSERT ... VALUES and UPDATE write one row per run of `sql`, which has
  // no RETURNING (SQLite would collect its rows in a temporary table): the
  // rowid is known, and when the checks, keys or RETURNING ... INTO need
  // more of the written row, readBackSql selects the RETURNING list (rowid
  // first) of the row whose rowid is parameter rowParameter. readBackSql
  // is empty when the rowid is all.
  bool rowByRow = false;
  std::string readBackSql;
  // A value calls stored code, which may change data itself: the statement
  // savepoint must cover all of the statement's work.
  bool callsStoredCode = false;
  // INSERT ... VALUES with nothing to check or read back per row, no stored
  // code and no NEXTVAL: the rows of an array may go to SQLite as one
  // multi-row VALUES list. `sql` ends with the one row "( ... )", which
  // starts at rowAt; its parameters are the placeholders ?1 .. ?n.
  bool groupable = false;
  size_t rowAt = 0;
  // The parameters of the rowid (UPDATE and readBackSql) and of the first
  // new value (UPDATE): the first numbers above every other parameter, so
  // that SQLite's parameter arrays stay small. Compiled as kRowParameter
  // and kSetParameter, renumbered at the end.
  int rowParameter = kRowParameter;
  int setParameter = kSetParameter;
};

// Compiles a query (SELECT).
CompiledQuery compileQuery(const CompileContext& ctx, Query& query);
// Compiles INSERT, UPDATE or DELETE.
CompiledDml compileDml(const CompileContext& ctx, Stmt& stmt);
// Compiles a column DEFAULT or CHECK expression of `table` for DDL
// validation; returns the SQL (columns referenced as "NAME").
std::string compileTableExpression(const CompileContext& ctx, const TableInfo& table, Expr& e,
                                   bool condition, OraType* type = nullptr);
// The column names a CHECK condition references.
std::vector<std::string> referencedColumns(const Expr& e);

// The SQL of the storage function for `column` applied to `valueSql`
// (NUMBER rounding, VARCHAR2 length, CHAR padding, ...).
std::string fitColumnSql(const TableInfo& table, const ColumnInfo& column,
                         const std::string& valueSql);
// Converts SQL of type `from` to type `to` with Oracle's implicit
// conversion; raises ORA-00932 where Oracle refuses.
std::string convertSql(const std::string& sql, const OraType& from, const OraType& to, int pos);

}  // namespace vorn::server
