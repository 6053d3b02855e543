// A prepared statement of a session: the engine's counterpart of a
// statement handle. Lifecycle: Session::prepare(text) parses (syntax errors
// are raised there, with the offset of the offending token); binds are set
// by position or name; describe() reports the select list without running
// anything; execute() runs the statement; a query is then read with
// fetch() and the column accessors until fetch() returns false.
//
// Contract for callers (the OCI layer):
//  - type() is the OCI statement type and sqlFunctionCode() the SQL
//    function code, both from the statement's analysis
//    (StatementAnalysis.h), which the call interface may have made already
//    and hands to Session::prepare so that the text is read once.
//  - placeholders() lists every bind placeholder occurrence in order of
//    appearance; bind(position) sets one occurrence (1-based), bind(name)
//    sets every occurrence of the name (ORA-01036 when there is none).
//    Executing with an input placeholder never bound is ORA-01008.
//  - The Oracle type of a placeholder follows its value; a NULL takes the
//    declared kind given with it (VARCHAR2 when none). Declared CHAR makes
//    a text compare blank-padded, declared CLOB, BLOB or BFILE makes a
//    value that LOB type.
//  - execute() returns the rows processed (DML), 0 for queries and DDL.
//    A DML statement fails as a whole (statement-level rollback).
//  - After DML, lastRowid() holds the ROWID of the last row inserted,
//    updated or deleted, and returningRows() the RETURNING ... INTO values
//    (one row per affected row) for the placeholders of returningSlots().
//  - Column values stay valid until the next fetch(); text views point into
//    the statement.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Ast.h"
#include "engine/HostBinds.h"
#include "engine/Lob.h"
#include "engine/StatementAnalysis.h"
#include "engine/Types.h"
#include "engine/Value.h"
#include "value/RowidText.h"

struct sqlite3_stmt;

namespace vorn::server {

class NameHook;
class Session;
struct Cursor;
struct Plan;

struct ColumnDescription {
  std::string name;
  OraType type;
  int typeCode = 1;  // Oracle's describe type code
  int dataSize = 0;
  int precision = 0;  // NUMBER: 0 when not given
  int scale = 0;      // NUMBER: -127 when not given
  bool nullable = true;
};

class Statement {
 public:
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Session& session() { return *session_; }
  const std::string& text() const { return text_; }
  StatementType type() const { return analysis_->type; }
  int sqlFunctionCode() const { return static_cast<int>(analysis_->function); }
  SqlFunctionCode functionCode() const { return analysis_->function; }
  bool isQuery() const { return analysis_->type == StatementType::Select; }
  const StatementAnalysis& analysis() const { return *analysis_; }

  const std::vector<Placeholder>& placeholders() const { return analysis_->placeholders; }
  // position is 1-based; ORA-01036 when out of range.
  void bind(int position, const Value& value, TypeKind nullKind = TypeKind::Varchar2);
  void bind(int position, Value&& value, TypeKind nullKind = TypeKind::Varchar2);
  // Binds every occurrence of `name` (with or without the leading ':').
  void bind(std::string_view name, const Value& value, TypeKind nullKind = TypeKind::Varchar2);
  void clearBinds();
  // Binds a value of a user-defined type (an object, a collection or a REF
  // as ObjectValue.h's bytes; NULL for an atomically null one) as `type`.
  void bindTyped(int position, const Value& value, const OraType& type);
  void bindTyped(std::string_view name, const Value& value, const OraType& type);
  // The value bound at a position (1-based); a block handler reads its
  // inputs here and leaves OUT values with setBindValue for the caller.
  const Value& boundValue(int position) const;
  bool isBound(int position) const;
  void setBindValue(int position, const Value& value);
  // The Oracle type of a placeholder: its value's, for a NULL the declared
  // kind given with it.
  const OraType& placeholderType(int position) const;
  // PL/SQL blocks: a host array bound to an index-by table and a cursor
  // variable (HostBinds.h); the objects are the caller's and must live
  // until execute() returns.
  void bindTable(int position, HostTable* table);
  void bindTable(std::string_view name, HostTable* table);
  void bindCursor(int position, HostCursor* cursor);
  void bindCursor(std::string_view name, HostCursor* cursor);
  HostTable* boundTable(int position) const;
  HostCursor* boundCursor(int position) const;

  // The select list (empty for other statements); needs no rows.
  const std::vector<ColumnDescription>& describe();

  int64_t execute();

  // Array DML: runs the statement once for each row first .. end - 1.
  // bindRow(i) binds the values of row i (every input placeholder), and
  // afterRow(i) sees the results of row i (rowsProcessed(), lastRowid(),
  // returningRows()). An INSERT ... VALUES with nothing to check or read
  // back per row (CompiledDml::groupable) sends consecutive rows with binds
  // of the same types to SQLite as one multi-row statement under the
  // statement savepoint; afterRow then sees only the last row of the group
  // (rowsProcessed() counts the group). A group that fails is rolled back
  // and run again row by row, so that a failure is always the failing
  // row's: it propagates with `progress` counting the rows done before it
  // and the rows they processed. Returns the rows processed.
  struct ArrayProgress {
    size_t rowsDone = 0;
    int64_t rowsProcessed = 0;
  };
  int64_t executeArray(size_t first, size_t end, const std::function<void(size_t)>& bindRow,
                       const std::function<void(size_t)>& afterRow, ArrayProgress& progress);

  // Queries.
  bool fetch();
  int64_t rowsFetched() const;  // rows delivered so far
  size_t columnCount();
  Value value(int column) const;
  bool isNull(int column) const;
  // The raw representations (no conversion): NUMBER as int64 or double, DATE
  // as int64 seconds, text and RAW as bytes.
  Value::Kind valueKind(int column) const;
  int64_t intValue(int column) const;
  double doubleValue(int column) const;
  std::string_view textValue(int column) const;
  void close();  // ends the cursor (also done by the next execute)

  // DML results.
  int64_t rowsProcessed() const { return rowsProcessed_; }
  const std::optional<RowidParts>& lastRowid() const { return lastRowid_; }
  std::string lastRowidText() const;
  const std::vector<std::vector<Value>>& returningRows() const { return returning_; }
  // The placeholder (0-based occurrence) each RETURNING value goes to.
  const std::vector<int>& returningSlots() const;

  // LOB locators (engine/Lob.h): where the LOB value of a select-list
  // column of the current row lives, or of RETURNING value `value` of
  // returned row `row`; nullopt for a LOB an expression computed (and for
  // other columns).
  std::optional<LobRef> lobRef(int column) const;
  std::optional<LobRef> returningLobRef(size_t row, size_t value) const;

  // PL/SQL locals: names the catalog cannot resolve are offered to `hook`
  // (Compiler.h), which answers with a SQLite parameter index above the
  // placeholders; bindParameter gives that parameter its value before
  // execute(). Plans compiled with a hook are not shared with other
  // statements.
  void setNameHook(NameHook* hook);
  // As setNameHook, the statement keeping the hook (a query handed on to a
  // caller that knows nothing of the locals it uses).
  void adoptNameHook(std::unique_ptr<NameHook> hook);
  void bindParameter(int index, const Value& value);
  // Unqualified names resolve in `schema` instead of the session user's
  // schema (stored code runs with its owner's names); USER stays the
  // session's.
  void setDefaultSchema(std::string schema);

  // The syntax tree (the PL/SQL layer inspects blocks).
  const Stmt& tree() const { return *tree_; }

 private:
  friend class Session;
  Statement(Session& session, std::shared_ptr<const StatementAnalysis> analysis);
  // Plan cache (PlanCache.cpp).
  std::shared_ptr<Plan> plan();
  void rememberPlanKinds();
  Stmt& treeToCompile(StmtPtr& fresh);
  // Bind slots (BindSlots.cpp).
  void checkBound(const Plan& plan) const;
  std::vector<size_t> slotsOf(std::string_view name) const;
  void bindAll(sqlite3_stmt* stmt) const;
  // Execution: queries here, FOR UPDATE (ForUpdate.cpp), DML with its
  // constraint checks and cascades (DmlExecution.cpp), transaction and
  // session control (SessionControl.cpp).
  int64_t executeQuery(Plan& plan);
  std::vector<std::vector<Value>> readAndLockRows(Plan& plan);
  int64_t executeDml(Plan& plan);
  void executeControl();
  // Array DML (ArrayExecution.cpp).
  size_t groupCapacity(const Plan& plan);
  void keepGroupRow(size_t index);
  void restoreGroupRow(size_t index);
  void runGroup(size_t firstRow, size_t count, const std::function<void(size_t)>& afterRow,
                ArrayProgress& progress);
  void insertGroup(Plan& plan, size_t index, size_t count);

  Session* session_;
  std::shared_ptr<const StatementAnalysis> analysis_;
  const std::string& text_;
  StmtPtr tree_;
  bool treeCompiled_ = false;  // the first compilation annotated tree_
  std::vector<Value> binds_;
  std::vector<OraType> bindTypes_;
  std::vector<bool> bound_;
  std::vector<HostTable*> tables_;
  std::vector<HostCursor*> cursors_;
  std::shared_ptr<Plan> plan_;
  // The bind kinds (and user-defined types) plan_ was found for.
  struct PlanBindKind {
    TypeKind kind;
    int64_t udt;  // TypeInfo::obj, 0 for none
  };
  std::vector<PlanBindKind> planKinds_;
  std::vector<ColumnDescription> described_;
  bool describedValid_ = false;
  std::unique_ptr<Cursor> cursor_;
  int64_t rowsProcessed_ = 0;
  std::optional<RowidParts> lastRowid_;
  std::vector<std::vector<Value>> returning_;
  std::vector<int64_t> returningRowids_;
  NameHook* hook_ = nullptr;
  std::string schema_;
  std::unique_ptr<NameHook> ownedHook_;
  std::vector<std::pair<int, Value>> parameters_;
  // The binds of the rows of an array group (reused between groups, so that
  // copying a row into them seldom allocates), and the types they share.
  std::vector<std::vector<Value>> groupBinds_;
  std::vector<OraType> groupTypes_;
};

// ROWID <-> SQLite rowid of a table with object number `object`: rows map
// onto blocks of 65536 slots in file 1.
RowidParts rowidParts(int64_t object, int64_t sqliteRowid);
int64_t sqliteRowid(const RowidParts& parts);

}  // namespace vorn::server
