// The statement handle: text, binds, defines and the engine statement that
// runs it. OCIStmtPrepare only analyses the text (type and placeholders,
// engine/StatementAnalysis.h, no round trip); the engine parses the same
// analysis at the first execute on a session, and keeps the parsed
// statement while the session and text stay the same.
//
// Execute (OCIStmtExecute):
//  - a query runs with the binds of array row 0; `iters` rows are fetched
//    into the defines at once (0: none); OCI_DESCRIBE_ONLY describes the
//    select list without running anything;
//  - DML runs once per array row, rows `rowoff` to `iters` - 1 (the engine
//    may hand several rows of an INSERT to SQLite at once,
//    Statement::executeArray); a failing row stops the call, the rows
//    before it stay done and OCI_ATTR_ROW_COUNT counts the rows they
//    processed; RETURNING ... INTO values are written back after each row;
//  - anything else (DDL, transaction control, PL/SQL) runs once; a PL/SQL
//    block's binds are IN and OUT, PL/SQL tables and cursor variables
//    included (BindHandle.h).
// Fetch (OCIStmtFetch) delivers up to `nrows` rows into defines element
// 0 .. nrows-1 and returns OCI_NO_DATA (ORA-01403) when fewer remained;
// OCI_ATTR_ROW_COUNT is the number of rows fetched so far.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Handle.h"
#include "engine/Lob.h"
#include "engine/StatementAnalysis.h"
#include "engine/Value.h"
#include "value/RowidText.h"

namespace vorn::server {
class Statement;
}

namespace vorn::server::oci {

class BindHandle;
class DefineHandle;
class ErrorHandle;
class ErrorRecords;
class ParamDescriptor;
class ServiceContext;
class UserSession;

class StatementHandle : public Handle {
 public:
  static constexpr ub4 kType = OCI_HTYPE_STMT;
  explicit StatementHandle(Environment* env);
  ~StatementHandle();

  void prepare(std::string statementText);
  sword execute(ServiceContext& svc, ErrorHandle& err, ub4 iters, ub4 rowoff, ub4 mode,
                ErrorRecords& records);
  sword fetch(ub4 rows, ErrorRecords& records);
  // A query executed in OCI_STMT_SCROLLABLE_READONLY mode (ScrollableFetch.cpp):
  // rows are kept as they are read, so that OCIStmtFetch2 can go to any of
  // them. `orientation` and `offset` pick the first row delivered (NEXT,
  // PRIOR, FIRST, LAST, CURRENT, ABSOLUTE offset, RELATIVE offset from the
  // current row); up to `rows` rows follow it, and the last one delivered is
  // the new current row (OCI_ATTR_CURRENT_POSITION). OCI_NO_DATA when fewer
  // rows than asked for were delivered.
  bool scrollable() const { return scrollable_; }
  sword fetchScrolled(ub4 rows, ub2 orientation, sb4 offset, ErrorRecords& records);
  // Lets go of the engine statement (the session ends, the text changes).
  void releaseEngine();
  // Has the engine parse the text now (syntax errors, with the parse error
  // offset) instead of at the first execute.
  void parse(UserSession& session);
  // Takes over the query a PL/SQL block opened for a cursor variable bound
  // to this handle: it is then the handle's executed query, described and
  // ready to fetch (binds and defines of an earlier text are gone).
  void adoptQuery(std::unique_ptr<Statement> query, UserSession& session);
  // Parses if needed and describes the select list without running the
  // statement (an open query keeps its cursor).
  void describe(UserSession& session);

  // What the version 7 calls read back (see server/oci7).
  bool parsed() const { return engine_ != nullptr; }
  UserSession* session() const { return session_; }
  bool isQuery() const;
  bool queryOpen() const { return executed_; }
  ub4 rowCount() const { return rowCount_; }
  ub2 parseErrorOffset() const { return parseErrorOffset_; }
  int sqlFunctionCode() const;
  const std::optional<RowidParts>& lastRowid() const { return lastRowid_; }
  // The select list after an execute or describe (ORA-24338 before).
  size_t columnCount() const;
  // The value of a LONG or LONG RAW column in the last row fetched, kept
  // when keepLongValues is set; null for other columns or before a row.
  const Value* longValue(ub4 position) const;

  // Version 7 behaviour: a query may be fetched without defines (the rows
  // are counted and skipped), and the LONG columns of the last row fetched
  // stay readable (oflng) after the fetch moved past it.
  bool requireDefines = true;
  bool keepLongValues = false;

  // The bind of a placeholder: the existing one of that name or position,
  // else a new one. ORA-01036 for a name the statement does not have.
  BindHandle& bindByName(const std::string& name, BindHandle* existing);
  BindHandle& bindByPosition(ub4 position, BindHandle* existing);
  DefineHandle& defineAt(ub4 position);
  // Select-list column `position` (1-based): ORA-24338 before an execute or
  // describe, ORA-24334 past the last column.
  ParamDescriptor& param(ub4 position);
  // OCIStmtGetBindInfo.
  sword bindInfo(ub4 size, ub4 startloc, sb4* found, OraText* bvnp[], ub1 bvnl[], OraText* invp[],
                 ub1 inpl[], ub1 dupl[], OCIBind** hndl);

  sword getAttribute(void* value, ub4* size, ub4 attribute);
  sword setAttribute(void* value, ub4 size, ub4 attribute);

  // OCI_ATTR_STMT_TYPE: the analysis's, or what the engine or a cursor
  // variable made of the statement since.
  ub2 statementType() const { return type_; }
  // Whether the analysis read the placeholders (a text that does not
  // tokenize is checked at execute only).
  bool placeholdersKnown() const { return !analysis->tokens.empty(); }

  bool prepared = false;
  // Made by OCIStmtPrepare2: the service context whose statement cache
  // OCIStmtRelease puts it in, and the key it is cached under (empty: its
  // text).
  ServiceContext* preparedThrough = nullptr;
  std::string cacheKey;
  std::string text;
  std::shared_ptr<const StatementAnalysis> analysis;

 private:
  void attach(UserSession& session);
  bool isBlock() const;
  void bindInputs(ub4 iteration);
  // After a block ran: OUT scalars, PL/SQL tables and opened cursors go to
  // their binds; true when a value was truncated.
  bool writeBlockOutputs();
  int enginePosition(const BindHandle& b) const;
  StatementHandle* cursorTarget(const BindHandle& b) const;
  bool writeReturning(ub4 iteration, ub4 capacity);
  void describeColumns();
  // The checks every fetch makes of the defines before it writes a row.
  void checkDefines();
  // What a fetch returns once its rows are written: OCI_NO_DATA (1403) when
  // it delivered fewer than asked, else the warning of a truncated value.
  static sword fetchOutcome(bool noMoreRows, int warning, ErrorRecords& records);
  // Reads the engine's next row into the scroll cache; false at the end.
  bool cacheNextRow();
  sword runQuery(ub4 iters, ub4 mode, ErrorRecords& records);
  sword runOther(ErrorHandle& err, ub4 iters, ub4 rowoff, ub4 mode, ErrorRecords& records);
  // Array DML row by row (ArrayDml.cpp), for OCI_BATCH_ERRORS (a failing
  // row is kept on the error handle and the rows after it still run) and
  // OCI_RETURN_ROW_COUNT_ARRAY (each row's count is kept). True when a
  // RETURNING value was truncated.
  bool runRowByRow(ErrorHandle& err, ub4 iters, ub4 rowoff, ub4 mode);

  std::vector<std::unique_ptr<BindHandle>> binds_;
  std::vector<std::unique_ptr<DefineHandle>> defines_;  // index = position - 1
  std::vector<std::unique_ptr<ParamDescriptor>> params_;
  UserSession* session_ = nullptr;
  std::unique_ptr<Statement> engine_;
  bool described_ = false;
  bool executed_ = false;  // a query's cursor is open
  bool endOfFetch_ = false;
  ub4 rowCount_ = 0;
  // Scrollable queries: the rows read so far, with the LOB of each column.
  struct CachedRow {
    std::vector<Value> values;
    std::vector<std::optional<LobRef>> lobs;
  };
  bool scrollable_ = false;
  bool scrollComplete_ = false;  // every row is in the cache
  std::vector<CachedRow> scrollRows_;
  ub4 scrollPosition_ = 0;      // 1-based; 0 before the first row
  std::vector<ub8> rowCounts_;  // OCI_ATTR_DML_ROW_COUNT_ARRAY
  ub4 dmlErrorCount_ = 0;       // OCI_ATTR_NUM_DML_ERRORS
  ub4 rowsFetched_ = 0;
  ub2 parseErrorOffset_ = 0;
  ub4 prefetchRows_ = 1;
  ub4 prefetchMemory_ = 0;
  ub4 state_ = 0;
  ub2 type_ = OCI_STMT_UNKNOWN;
  std::optional<RowidParts> lastRowid_;
  std::vector<std::optional<Value>> longValues_;  // index = position - 1
  std::string scratch_;
  std::vector<std::string> bindNames_;  // OCIStmtGetBindInfo hands out pointers into these
};

}  // namespace vorn::server::oci
