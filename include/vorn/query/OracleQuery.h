// TOracleQuery: the statement component. Every statement of the system
// reaches the database through one: the programs' own, the statements a
// session generates (SessionQuery.h), and the dataset's.
//
// Running a statement. Execute (or ExecuteArray, for Array DML) prepares
// the SQL text: substitution variables are replaced, carriage returns
// removed, and the text is parsed unless Optimize is set and the text is
// the one parsed last (and no variable is a long value, a table or an
// array). Then the variables are bound, the statement is executed, and a
// select is described (one TFieldData per column, FieldData.h) and its
// first ReadBuffer() rows fetched. Next moves to the following row and
// fetches the next batch when the current one is used up; Eof is true when
// there is no current row. Describe describes a select without executing
// it. Everything goes through the version 8 or the version 7 calls, as the
// session uses them.
//
// Columns are read by index (from 0) or name: Field gives a Variant (an
// unassigned one for null, a null one when the session's NullValue is
// nvNull), FieldAsString/Integer/Float/Date convert as their names say
// (null gives empty text or 0), GetLongField copies part of a LONG value.
// A CLOB, BLOB or BFILE column (version 8 calls only) has a TLOBLocator
// (LOBField, LobLocator.h) that always stands for the current row's value,
// read from position 0; moving to another row closes a BFILE its reads
// opened. Field reads such a value whole: text for a CLOB, bytes
// otherwise, and an empty LOB gives the null value. Likewise an object
// column has a TOracleObject (ObjectField, OracleObject.h) and a REF column
// a TOracleReference (ReferenceField, OracleReference.h) standing for the
// current row's value; Field gives the null value for both, FieldIsNull
// answers an object's own (atomic) null indicator.
// NUMBER columns are fetched as integers when their precision fits the
// integer precision (the session's IntegerPrecision, else 9) and their
// scale is at most 0, as doubles when it fits the float precision
// (FloatPrecision, else unbounded), else as text; an unconstrained NUMBER
// and a computed number (precision 0, scale 0 or -127) count as precision
// 38, so they are doubles unless FloatPrecision says otherwise.
//
// Errors. The server's errors raise EOracleError (ErrorLine and
// ErrorPosition then locate a parse error in the text); misuse raises
// vorn::Exception with fixed texts: "Session undefined", "Not logged on",
// "You cannot access field data beyond Eof", "Field <n> does not exist",
// "Cannot convert field <name> to a String" and the variable messages of
// Variables.h.
//
// Events. BeforeQuery fires when an execution starts, AfterQuery once per
// execution: when it ends at Eof (every non-query, a select without rows),
// when Next reaches Eof, or when an error ends it. OnArrayError handles a
// failing row of Array DML: without a handler the error is raised (for
// all elements) or ends the run quietly (for a range).
//
// Threaded execution. With Threaded set, Execute hands the whole
// execute-and-fetch cycle to the query's own thread (QueryThread.h) and
// returns at once; the cycle reports through OnThreadExecuted,
// OnThreadRecord (once per row: the handler reads the current row),
// OnThreadError and OnThreadFinished, run on the main thread when
// ThreadSynchronized is set (the default; the main thread must then run
// CheckSynchronize or an event loop that does). While the cycle runs
// (ThreadIsRunning), the query belongs to its thread: other threads touch
// it only from its synchronised event handlers, and Execute and Describe
// raise "Query thread is still in progress". BreakThread ends a cycle
// early, WaitForThread waits for its end; Close (and so a logoff or a new
// session) ends a running cycle first, and destroying the query stops its
// thread. Several threaded queries may run on one version 8 session at
// once; a version 7 session serialises its calls when ThreadSafe is set.
// Only the main thread shows the screen cursor (Cursor) and the Debug
// message; a thread passes the message to the main thread.
//
// A query is used by one thread at a time. It registers with its session,
// which closes it at logoff and detaches it when destroyed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "vorn/host/Component.h"
#include "vorn/host/StringList.h"
#include "vorn/host/UIServices.h"
#include "vorn/host/Variant.h"
#include "vorn/query/FieldData.h"
#include "vorn/query/QueryTypes.h"
#include "vorn/query/Variables.h"
#include "vorn/session/SessionClients.h"

namespace vorn {

class EOracleError;
struct BindRequest;
class SessionCallLock;
class StatementCalls;
class TOracleSession;
class TQueryThread;

class TOracleQuery : public TComponent, public RegisteredQuery {
  VORN_CLASS(TOracleQuery, TComponent)
  explicit TOracleQuery(TComponent* owner = nullptr);
  ~TOracleQuery() override;

  // --- Published properties ---

  TStrings* SQL() const { return sql_.get(); }
  // Copies the lines.
  void SetSQL(const TStrings* value);
  TOracleSession* Session() const { return session_; }
  // Leaves the old session (closing the query) and registers with the new.
  void SetSession(TOracleSession* value);
  // Rows per round trip; values below 1 are stored as 1.
  int ReadBuffer() const { return readBuffer_; }
  void SetReadBuffer(int value) { readBuffer_ = value < 1 ? 1 : value; }
  bool Optimize() const { return optimize_; }
  void SetOptimize(bool value) { optimize_ = value; }
  // Shows the statement and its variables before each execution.
  bool Debug() const { return debug_; }
  void SetDebug(bool value) { debug_ = value; }
  TVariables* Variables() const { return variables_.get(); }
  // Copies the declarations and values of `value`.
  void SetVariables(const TVariables* value);
  // Shown while the query works; crDefault (0) leaves the screen alone.
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor value) { cursor_ = value; }
  // Fetches numbers and dates as text; a change forces a parse.
  bool StringFieldsOnly() const { return stringFieldsOnly_; }
  void SetStringFieldsOnly(bool value);
  bool Threaded() const { return threaded_; }
  void SetThreaded(bool value) { threaded_ = value; }
  bool ThreadSynchronized() const { return threadSynchronized_; }
  void SetThreadSynchronized(bool value) { threadSynchronized_ = value; }

  const TOracleQueryEvent& BeforeQuery() const { return beforeQuery_; }
  void SetBeforeQuery(TOracleQueryEvent handler) { beforeQuery_ = std::move(handler); }
  const TOracleQueryEvent& AfterQuery() const { return afterQuery_; }
  void SetAfterQuery(TOracleQueryEvent handler) { afterQuery_ = std::move(handler); }
  const TArrayErrorEvent& OnArrayError() const { return onArrayError_; }
  void SetOnArrayError(TArrayErrorEvent handler) { onArrayError_ = std::move(handler); }
  const TOracleQueryEvent& OnThreadExecuted() const { return onThreadExecuted_; }
  void SetOnThreadExecuted(TOracleQueryEvent handler) { onThreadExecuted_ = std::move(handler); }
  const TOracleQueryEvent& OnThreadRecord() const { return onThreadRecord_; }
  void SetOnThreadRecord(TOracleQueryEvent handler) { onThreadRecord_ = std::move(handler); }
  const TOracleQueryEvent& OnThreadFinished() const { return onThreadFinished_; }
  void SetOnThreadFinished(TOracleQueryEvent handler) { onThreadFinished_ = std::move(handler); }
  const TThreadErrorEvent& OnThreadError() const { return onThreadError_; }
  void SetOnThreadError(TThreadErrorEvent handler) { onThreadError_ = std::move(handler); }

  // --- Execution ---

  // All elements of the variables: ExecuteArray(-1, -1).
  virtual void Execute();
  // Runs the statement for array elements index .. index + count - 1
  // (-1, -1: all) and returns the rows processed; count 0 does nothing.
  int ExecuteArray(int index, int count);
  // Describes a select without executing it: the columns are then known
  // and Eof is true.
  void Describe();
  void Next();
  bool Eof() const { return eof_; }
  // Ends the rows without fetching; the next Next does nothing.
  void MarkEof() { eof_ = true; }
  // The client's row count: rows affected, or rows fetched so far.
  int RowsProcessed();
  // Releases the statement (handles or cursor).
  void Close();
  // Deletes the variables, clears SQL and forgets the parse.
  void Clear();
  // The rowid of the row the last statement touched.
  std::string RowId();
  // 1-based line and column of the last execution error; 0 before any.
  int ErrorLine() const { return errorLine_; }
  int ErrorPosition() const { return errorPosition_; }
  // A threaded cycle runs (from Execute until after its OnThreadFinished).
  bool ThreadIsRunning() const;
  // Ends the running threaded cycle after the current row: no more rows
  // are read, and OnThreadFinished still fires. Nothing when none runs.
  void BreakThread();
  // Waits until the running threaded cycle (if any) has ended; on the main
  // thread it runs the synchronised events meanwhile. Raises "Query thread
  // is still in progress" from within the query's own event handler.
  void WaitForThread();
  // The SQL lines joined with CR LF, substitution variables replaced.
  std::string SubstitutedText();

  // --- Columns (index from 0) ---

  int FieldCount() const { return fields_.Count(); }
  std::string FieldName(int index) const;
  // -1 when absent.
  int FieldIndex(std::string_view name) const;
  int FieldType(int index) const;
  int FieldOracleType(int index) const;
  int FieldPrecision(int index) const;
  int FieldScale(int index) const;
  // Element size - 1 for string buffers, else 0.
  int FieldSize(int index) const;
  bool FieldOptional(int index) const;
  // The column, for the dataset.
  const TFieldData* FieldData(int index) const;

  bool FieldIsNull(int index) const;
  bool FieldIsNull(std::string_view name) const { return FieldIsNull(NamedField(name)); }
  Variant Field(int index) const;
  Variant Field(std::string_view name) const { return Field(NamedField(name)); }
  std::string FieldAsString(int index) const;
  std::string FieldAsString(std::string_view name) const { return FieldAsString(NamedField(name)); }
  int FieldAsInteger(int index) const;
  int FieldAsInteger(std::string_view name) const { return FieldAsInteger(NamedField(name)); }
  double FieldAsFloat(int index) const;
  double FieldAsFloat(std::string_view name) const { return FieldAsFloat(NamedField(name)); }
  TDateTime FieldAsDate(int index) const;
  TDateTime FieldAsDate(std::string_view name) const { return FieldAsDate(NamedField(name)); }
  // Copies up to `length` bytes of a LONG or LONG RAW value from `offset`
  // into `buffer` and returns the count.
  int GetLongField(int index, void* buffer, int offset, int length);
  TLOBLocator* LOBField(int index) const;
  // The object (or REF) of an object (REF) column's current row;
  // "Field <name> is not an Object" ("... is not a Reference") otherwise.
  TOracleObject* ObjectField(int index) const;
  TOracleReference* ReferenceField(int index) const;
  // The address of the current row's value in the column's buffer.
  const void* FieldValueAddress(int index) const;

  // --- Variables ---

  void DeclareVariable(const std::string& name, int typeCode);
  void DeclarePLSQLTable(const std::string& name, int tableSize, int stringSize);
  void SetVariable(const std::string& name, const Variant& value);
  Variant GetVariable(const std::string& name) const;
  void SetComplexVariable(const std::string& name, TObject* instance);
  void DeleteVariable(const std::string& name);
  void DeleteVariables();
  int VariableCount() const { return variables_->Count(); }
  std::string VariableName(int index) const;
  int VariableType(int index) const;
  // -1 when absent.
  int VariableIndex(std::string_view name) const { return variables_->IndexOf(name); }

  // The colon-prefixed names in `text`, upper-cased, outside quotes and
  // comments; every occurrence, or each name once. Each line carries the
  // 1-based position of the colon as its object (cast to intptr_t).
  static std::unique_ptr<TStringList> FindVariables(std::string_view text, bool allOccurrences);

  // --- RegisteredQuery ---

  void CloseForLogOff() override { Close(); }
  void DetachFromSession() override { SetSession(nullptr); }

 protected:
  void DefineProperties(TFiler& filer) override;

 private:
  // The steps of an execution (OracleQuery.cpp).
  void CoreExecute(bool describeOnly, int end, int start);
  void PrepareClient();
  void ShowDebug();
  void Parse();
  std::string PreparedText();
  bool MustParseAgain() const;
  void Bind();
  // The bind of an object, REF or LOB variable: its instance's address.
  void BindInstance(TVariableData& variable, BindRequest& request);
  void ExecuteNonQuery(bool describeOnly, int end, int start, uint32_t mode);
  void ExecuteQuery(bool describeOnly, uint32_t mode);
  void DescribeColumns();
  void ClearColumns();
  // Fetches the first batch unless the execution did (`fetch` false).
  void FetchBatch(bool fetch);
  void NormaliseComplexVariables();
  // Before a fetch: the LONG pieces dropped, the LOB columns' locators
  // released (an open BFILE closed) and their positions reset.
  void ResetColumnsForFetch();
  void ReleaseComplexColumns();
  // Points the companions of the LOB, object and REF columns at the
  // current row.
  void PrepareComplexColumns();
  // Raises "Not logged on" when the session lost its connection (or the
  // client library) since the statement was opened.
  void CheckCurrent();
  void Open();
  StatementCalls& Calls();
  // Raises a built error after the query's own tidying: the screen cursor
  // restored, AfterQuery fired if pending, the parse forgotten (and the
  // error located in the text) for an execution error.
  [[noreturn]] void RaiseExecutionError(EOracleError& error, bool locate);
  void LocateError();
  void FireAfterQuery();
  void ForgetParse() { rememberedText_.clear(); }
  // The SQL text changed.
  void SqlChanged() { sqlTextValid_ = false; }

  // Column access.
  const TFieldData& CurrentField(int index) const;
  int NamedField(std::string_view name) const;
  [[noreturn]] void RaiseNoField(int index) const;
  // The whole LONG or LONG RAW value of the current row.
  std::string WholeLong(int index);

  // Variables.
  TVariableData& DeclaredVariable(std::string_view name) const;
  void VariablesChanged();

  // Threads (OracleQuery.cpp, QueryThread.h).
  // Ends a running cycle before the statement goes (Close).
  void EndThreadCycle();
  // Makes the session learn the facts it asks the server for on first use.
  void PrepareSessionFacts();
  // The screen cursor a database step shows on the calling thread.
  TCursor ShownCursor() const;

  std::unique_ptr<TStringList> sql_;
  TOracleSession* session_ = nullptr;
  int readBuffer_ = 25;
  bool optimize_ = true;
  bool debug_ = false;
  std::unique_ptr<TVariables> variables_;
  TCursor cursor_ = crDefault;
  bool stringFieldsOnly_ = false;
  bool threaded_ = false;
  bool threadSynchronized_ = true;
  TOracleQueryEvent beforeQuery_;
  TOracleQueryEvent afterQuery_;
  TArrayErrorEvent onArrayError_;
  TOracleQueryEvent onThreadExecuted_;
  TOracleQueryEvent onThreadRecord_;
  TOracleQueryEvent onThreadFinished_;
  TThreadErrorEvent onThreadError_;

  // Made by the first threaded Execute.
  std::unique_ptr<TQueryThread> thread_;

  // The call set of the open statement: version 8 handles or a version 7
  // cursor; null while closed.
  std::unique_ptr<StatementCalls> calls_;
  int statementType_ = 0;
  TTypedCollection<TFieldData> fields_;
  // The items of fields_, for the field accessors.
  std::vector<TFieldData*> columns_;
  // The LOB, object and REF columns among them.
  std::vector<TFieldData*> complexColumns_;
  int rowsPerFetch_ = 1;
  int currentRow_ = 0;
  int rowsInBatch_ = 0;
  // The statement's row count after the last fetch.
  int rowsFetched_ = 0;
  bool described_ = false;
  // The text last parsed; empty: parse at the next execution.
  std::string rememberedText_;
  // The SQL lines joined, kept until SQL changes.
  std::string sqlText_;
  bool sqlTextValid_ = false;
  bool afterQueryPending_ = false;
  int errorLine_ = 0;
  int errorPosition_ = 0;
  bool cursorTarget_ = false;
  // Rows of the last execution call that fetched (version 8).
  int arrayCount_ = 0;
  bool eof_ = true;
};

}  // namespace vorn
