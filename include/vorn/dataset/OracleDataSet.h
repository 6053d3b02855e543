// TOracleDataSet: the buffered dataset over a query, which data-aware
// controls browse.
//
// Opening runs the SQL through an internal TOracleQuery (CreateQuery),
// derives one field definition per select-list column, and copies fetched
// rows into the record list: all of them at once with QueryAllRecords (the
// default), else as navigation needs them. The framework (host/DataSet.h)
// gets copies of the stored records as record buffers and reads field
// values in its native formats out of them. Bookmarks are 4-byte record
// numbers: records are numbered 1, 2, ... in the order they are fetched,
// afresh every time the query runs.
//
// Columns and fields. Column NAME becomes field NAME (a second column
// NAME becomes NAME_1, a third NAME_2). NUMBER columns fetched as integers
// become ftInteger fields, or ftSmallint when their precision is at most
// the session's SmallIntPrecision (0 counting as 4); floats ftFloat;
// strings ftString of the column's size, or ftMemo when the session's
// MaxStringFieldSize is set and smaller; DATE ftDateTime; LONG and CLOB
// ftMemo; LONG RAW, BLOB and BFILE ftBlob. The rowid column (the column
// named ROWID, else the first column of a rowid type) never becomes a
// field: its value is the record's rowid (CurrentRowId). Object, reference
// and cursor columns are left out with a message box saying why.
//
// Cursor datasets. When a variable of the SQL is of the cursor type, the
// SQL is a PL/SQL block that opens a cursor: the dataset runs the block and
// fetches its rows from a second query bound to that variable.
//
// Filtering. With Filtered, a fetched record is visible when OnFilterRecord
// accepts it and the Filter expression (the filter language of
// vorn/filter) holds for it; records that fail are kept, invisible, and
// reappear when the filter changes. Changing Filter, Filtered or
// FilterOptions while open re-filters every record fetched and goes to the
// first record. A Filter text that does not parse is refused with the
// parser's error and changes nothing.
//
// AfterFetchRecord, raised after every fetched row, decides how fetching
// goes on: fraContinue, fraPause (stop for now; the next request fetches
// on), fraStop (no more rows, keep those fetched) or fraCancel (no more
// rows, and none kept). An exception in the handler is shown and counts as
// fraCancel.
//
// Lifecycle. The dataset registers with its session, which closes it at
// logoff and detaches it when the session goes. While a form is read,
// Active = True is remembered and carried out by Loaded (at design time a
// failure goes to the application's exception handler, at run time it is
// raised); with DesignActivation set, a stored Active counts only at design
// time. Assigning SQL or StringFieldsOnly reopens an open dataset.
//
// The data dictionary (OracleDictionary.h, DictionaryFields.cpp). The
// field options shape the fields on open; the key fields are found on open;
// constraint checks run as field values are stored in an edited or
// inserted record, and for the whole record when it is posted in cached
// mode; a new record gets its sequence number (SequenceField.h: when it is
// made, when it is posted, or from the server in the INSERT) and then its
// default values. Those statements run on a query of the dataset's own,
// never on the one its rows come from.
//
// Record modification. Edit, Insert, Append, Post, Delete and Cancel write
// through SQL the dataset generates and runs on a work query of its own
// (never the query that fetches its rows): records are found again by their
// rowid, so a modifiable dataset selects the rowid (or has an
// OnApplyRecord handler that takes the actions over). RecordUpdater.h
// describes the statements, the locking modes, the lock savepoint, the
// record checks, the refresh options and CommitOnPost.
//
// Blob fields. Memo and blob fields (LONG, CLOB and strings longer than
// the session's MaxStringFieldSize as memos; LONG RAW, BLOB and BFILE as
// blobs) hold their whole value in memory, read when the row is fetched;
// CreateBlobStream gives streams that read and write it (DataSetBlobs.h).
// LOB values are read through the column's locator and written through
// locators as well, which takes the version 8 calls: with the version 7
// calls a LOB column fails the open ("A query with LOB's requires OCI8
// mode, but OCI7 mode is used.").
//
// Master/detail. A detail follows its master's current record: its query
// runs again with the master's values whenever the master moves to another
// record or runs its own query again, and stays empty while the master has
// no record to follow (closed, empty, inserting a record or in QBE mode).
// Pending detail edits are posted before the master moves or refreshes; a
// new detail record needs the master's link values and starts with them;
// the master's link fields are read-only while a detail depends on them.
//
// Cached updates (ChangeLog.cpp, ApplyUpdates.cpp). With CachedUpdates on
// (opening then requires a rowid column, "CachedUpdates requires a
// rowid!") a posted insert, edit or delete changes the record list only
// and is kept in the change log, one item per record (an insert edited and
// then deleted leaves none). The whole record is checked against the
// dictionary's constraints when posted; a delete still locks or checks
// the row with lmLockImmediate or lmCheckImmediate, an edit only before
// the record is logged; Cancel never rolls back. When the query runs
// again, logged inserts come back where they were made, logged updates
// replace the rows' values and logged deletes hide their rows; a detail
// shows what was logged under its master's current record only.
// UpdateStatus and OldValue (hence the rowid that writing uses) come from
// the log. ApplyUpdates writes the log, all or nothing; CommitUpdates and
// CancelUpdates end it (see there). A post made while CachedUpdates is off
// and logged changes wait is written at once and logged as done, so that
// the waiting inserts keep their places and nothing is written twice.
//
// Searching (SearchRecord, Locate, Lookup) walks the records fetched and
// fetches on as it needs; RecordCount with CountAllRecords is a count
// query on the server. Query by example (QBEMode, ExecuteQBE) turns the
// values typed into an example record into conditions of the dataset's
// own statement (QBEDefinition.h holds the per-field settings).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "vorn/dataset/OracleDataSetTypes.h"
#include "vorn/host/DataSet.h"
#include "vorn/host/StringList.h"
#include "vorn/host/UIServices.h"
#include "vorn/session/SessionClients.h"

namespace vorn {

class DataSetDictionary;
class TBlobList;
class TChangeLog;
class TChangeLogItem;
class TLOBLocator;
class TOracleDictionary;
class TOracleQuery;
class TOracleSession;
class TQBEDefinition;
class TRecordDataList;
class TSequenceField;
class TVariables;
class TWorkQueries;
struct TGeneratedStatement;
struct TExtraFieldInfo;
struct TFetchField;

namespace filter {
class TExpression;
}

class TOracleDataSet : public TDataSet, public RegisteredDataSet {
  VORN_CLASS(TOracleDataSet, TDataSet)
  explicit TOracleDataSet(TComponent* owner = nullptr);
  ~TOracleDataSet() override;

  // --- Published properties ---

  // The statement. Changing it reopens an open dataset.
  TStrings* SQL() const { return sql_.get(); }
  void SetSQL(const TStrings* value);
  // Rows per round trip (values below 1 count as 1); also sizes the record
  // list's first blocks.
  int ReadBuffer() const;
  void SetReadBuffer(int value);
  bool Optimize() const;
  void SetOptimize(bool value);
  bool Debug() const;
  void SetDebug(bool value);
  // The screen cursor while rows are fetched; crDefault leaves it alone.
  TCursor Cursor() const;
  void SetCursor(TCursor value);
  // The bind variables of the SQL.
  TVariables* Variables() const;
  void SetVariables(const TVariables* value);
  // The variables' operations, as the query has them (OracleQuery.h).
  void DeclareVariable(const std::string& name, int typeCode);
  void SetVariable(const std::string& name, const Variant& value);
  Variant GetVariable(const std::string& name) const;
  void SetComplexVariable(const std::string& name, TObject* instance);
  void DeleteVariable(const std::string& name);
  void DeleteVariables();
  // Numbers and dates fetched as text. Changing it reopens an open dataset.
  bool StringFieldsOnly() const;
  void SetStringFieldsOnly(bool value);
  TOracleSession* Session() const;
  // Closes the dataset, leaves the old session's list and joins the new
  // one's; a pending activation then opens it.
  void SetSession(TOracleSession* value);
  TSequenceField* SequenceField() const { return sequenceField_.get(); }
  void SetSequenceField(const TSequenceField* value);
  TOracleDictionary* OracleDictionary() const { return oracleDictionary_.get(); }
  void SetOracleDictionary(const TOracleDictionary* value);
  TQBEDefinition* QBEDefinition() const { return qbeDefinition_.get(); }
  void SetQBEDefinition(const TQBEDefinition* value);
  // Query by example (QueryByExample.cpp). While the dataset is closed the
  // value is only stored: an open with QBEMode on executes nothing and
  // enters the mode. Turning it on while open empties the record list and
  // inserts the example record, into which search values are typed (fields
  // whose QBEFieldDef is not Enabled are read-only, none is Required; with
  // SaveQBEValues the last example's values are put back), then fires
  // BeforeQBE. It is refused for a cursor dataset ("QBE mode not supported
  // for cursors"), with pending cached updates or while editing or
  // inserting ("QBE mode not allowed with pending updates"), and for a
  // detail whose master has no usable record ("QBE mode not allowed
  // without a master record"). Turning it off fires OnCancelQBE, restores
  // the fields' ReadOnly and Required, cancels the example and, unless the
  // handler cleared Requery, runs the query again. In QBE mode the dataset
  // can always be modified; Post, Delete, Refresh and a second new record
  // raise "Operation not allowed in QBE mode".
  bool QBEMode() const { return qbeMode_; }
  void SetQBEMode(bool value);
  const std::string& UniqueFields() const { return uniqueFields_; }
  void SetUniqueFields(const std::string& value) { uniqueFields_ = value; }
  // The master/detail link (MasterDetail.cpp). A detail's query reads the
  // master's current values through variables named like DetailFields
  // ("where deptno = :deptno"); MasterFields names the master's fields,
  // pair by pair, separated by ";". Setting Master closes the dataset and
  // refuses a chain that comes back to it ("Circular master/detail
  // dependency not allowed"); in the designer it configures the link from
  // the foreign key between the two tables (MasterDetailConfig.h).
  TOracleDataSet* Master() const { return master_; }
  void SetMaster(TOracleDataSet* value);
  // The datasets whose Master this dataset is, in the order they joined.
  const std::vector<TOracleDataSet*>& Details() const { return details_; }
  const std::string& MasterFields() const { return masterFields_; }
  // Closes the dataset and stores the names.
  void SetMasterFields(const std::string& value);
  const std::string& DetailFields() const { return detailFields_; }
  void SetDetailFields(const std::string& value);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value) { readOnly_ = value; }
  TLockingModeOptions LockingMode() const { return lockingMode_; }
  void SetLockingMode(TLockingModeOptions value) { lockingMode_ = value; }
  // Fetch every row when the query runs (default), else as needed.
  bool QueryAllRecords() const { return queryAllRecords_; }
  void SetQueryAllRecords(bool value) { queryAllRecords_ = value; }
  // RecordCount answered by "select count(*) from (<the SQL>)" on a query
  // of the dataset's own (its ORDER BY and FOR clauses left out, the
  // variables it names carried over with their current values; in QBE
  // mode with the example's conditions), counted once and kept until the
  // dataset runs its query again, writes a record or, in QBE mode, the
  // example changes. While Filtered, RecordCount is the number of fetched
  // records that pass the filter instead. A cursor dataset cannot be
  // counted ("Cannot count query hits for cursor dataset").
  bool CountAllRecords() const { return countAllRecords_; }
  void SetCountAllRecords(bool value);
  // Forwards to OracleDictionary()->EnforceConstraints(); not stored. At
  // design time setting it also shows that it is obsolete.
  bool EnforceConstraints() const;
  void SetEnforceConstraints(bool value);
  // Obsolete; not stored. Assignable only while the dataset is read from a
  // form (rmAfterInsert adds roAfterInsert to RefreshOptions, rmAfterUpdate
  // roAfterInsert and roAfterUpdate); elsewhere it raises "RefreshMode is
  // obsolete, use RefreshOptions instead".
  TRefreshModeOptions RefreshMode() const { return rmObsolete; }
  void SetRefreshMode(TRefreshModeOptions value);
  TRefreshOptions RefreshOptions() const { return refreshOptions_; }
  void SetRefreshOptions(TRefreshOptions value) { refreshOptions_ = value; }
  const std::string& UpdatingTable() const { return updatingTable_; }
  // Also forgets the updating table taken from the SQL.
  void SetUpdatingTable(const std::string& value);
  bool CommitOnPost() const { return commitOnPost_; }
  void SetCommitOnPost(bool value) { commitOnPost_ = value; }
  bool CachedUpdates() const { return cachedUpdates_; }
  void SetCachedUpdates(bool value) { cachedUpdates_ = value; }

  // --- Cached updates (ChangeLog.cpp, ApplyUpdates.cpp) ---
  //
  // CachedUpdates is on and the change log holds items.
  bool UpdatesPending() const;
  // Writes the change log to the database, all or nothing (a detail writes
  // the items of its master's current record only). Deletes go first, then
  // updates, then inserts, each kind in the order it was logged: a key
  // given up by a deleted or updated row is free before an insert or
  // update takes it again. The writes run behind the savepoint
  // "ZUQ__APPLYPOINT"; with CommitOnPost (or the session's AutoCommit) the
  // transaction is committed, and only then is the log cleared, keeping the
  // records as they show; without CommitOnPost the caller's transaction
  // holds the writes and the log is cleared all the same (after a Rollback,
  // Refresh shows the rows as the database has them). On a failure the
  // database is rolled back to the savepoint, the log and the records are
  // left exactly as they were, the dataset is positioned on the failing
  // record (when the result set holds it: a deleted record it cannot) and
  // OnUpdateError is raised; unless the handler says otherwise the
  // failure (its message translated for the record's action, 'I', 'U' or
  // 'D') is raised. Posts a pending edit first. Answers False when the
  // handler chose not to raise, else True.
  bool ApplyUpdates();
  // Clears the change log (a detail: its master's current record's items),
  // keeping the records as they show: after the application wrote the
  // changes itself. ApplyUpdates calls it after a successful apply.
  void CommitUpdates();
  // Cancels a pending edit, drops the change log (a detail: its master's
  // current record's items) and runs the query again, so the records are
  // as the database has them.
  void CancelUpdates();
  // usUnmodified, usModified, usInserted or usDeleted for the current
  // record, as the change log and the dataset's state tell.
  TUpdateStatus UpdateStatus() override;
  const TUpdateErrorEvent& OnUpdateError() const { return onUpdateError_; }
  void SetOnUpdateError(TUpdateErrorEvent handler) { onUpdateError_ = std::move(handler); }
  // A stored Active = True counts only at design time.
  bool DesignActivation() const { return designActivation_; }
  void SetDesignActivation(bool value) { designActivation_ = value; }

  // Opens or closes; see the lifecycle above.
  void SetActive(bool active) override;

  // --- Events ---

  const TOracleDataSetEvent& BeforeQuery() const { return beforeQuery_; }
  void SetBeforeQuery(TOracleDataSetEvent handler) { beforeQuery_ = std::move(handler); }
  const TOracleDataSetEvent& AfterQuery() const { return afterQuery_; }
  void SetAfterQuery(TOracleDataSetEvent handler) { afterQuery_ = std::move(handler); }
  const TAfterFetchRecordEvent& AfterFetchRecord() const { return afterFetchRecord_; }
  void SetAfterFetchRecord(TAfterFetchRecordEvent handler) {
    afterFetchRecord_ = std::move(handler);
  }
  const TOracleDataSetEvent& AfterRefreshRecord() const { return afterRefreshRecord_; }
  void SetAfterRefreshRecord(TOracleDataSetEvent handler) {
    afterRefreshRecord_ = std::move(handler);
  }
  const TApplyRecordEvent& OnApplyRecord() const { return onApplyRecord_; }
  void SetOnApplyRecord(TApplyRecordEvent handler) { onApplyRecord_ = std::move(handler); }
  const TTranslateMessageEvent& OnTranslateMessage() const { return onTranslateMessage_; }
  void SetOnTranslateMessage(TTranslateMessageEvent handler) {
    onTranslateMessage_ = std::move(handler);
  }
  const TOracleDataSetEvent& BeforeQBE() const { return beforeQBE_; }
  void SetBeforeQBE(TOracleDataSetEvent handler) { beforeQBE_ = std::move(handler); }
  const TOracleDataSetEvent& AfterQBE() const { return afterQBE_; }
  void SetAfterQBE(TOracleDataSetEvent handler) { afterQBE_ = std::move(handler); }
  const TCancelQBEEvent& OnCancelQBE() const { return onCancelQBE_; }
  void SetOnCancelQBE(TCancelQBEEvent handler) { onCancelQBE_ = std::move(handler); }

  // --- Operations ---

  // Runs the query afresh: the record list is emptied, record numbers start
  // again at 1, and with QueryAllRecords every row is fetched. BeforeQuery
  // and AfterQuery surround it (AfterQuery also when it fails).
  void ExecuteQuery();
  // Fetches rows until one is visible and returns whether one was added;
  // rows the filter rejects are kept, invisible.
  bool FetchRecord();
  // Whether `record` passes OnFilterRecord and the Filter expression, read
  // in the dsFilter state.
  bool FilterRecord(TRecordBuffer record);
  // The record buffer field access addresses in the current state; nullptr
  // for none.
  TRecordBuffer GetActiveRecord();
  // Writes one field's value (or null) into `record`: DataSize bytes of
  // the native value, strings cut to their slot.
  void StoreFieldValue(TField* field, bool isNull, TRecordBuffer record, const void* value);
  // The rowid of the current record as fetched ("" when unknown).
  std::string CurrentRowId();

  // Searches the records fetched, and fetches on when it runs forwards
  // past them (RecordSearch.cpp). `fieldNames` is one name or several
  // separated by ";" ("ROWID" compares each record's rowid text);
  // `fieldValues` one value, or a variant array with one value per field.
  // A Null or Empty value, or a text that is empty once its trailing blanks
  // are cut, looks for a null field (or an empty string). Integer, float
  // and date fields compare as such (srDateOnly cuts the time of day off
  // both sides); with srWildcards ("*", "?") or srPartialKey (the field
  // need only begin with the value) every field compares as text. A found
  // record becomes current unless srDontMove. Refused when closed, for an
  // invalid option combination ("<Name>.SearchRecord options invalid") and
  // for a count of values other than the count of fields ("<Name>
  // .SearchRecord: number of fields and values do not match").
  bool SearchRecord(const std::string& fieldNames, const Variant& fieldValues,
                    TSearchRecordOptions options);
  // Builds the example's conditions into the SQL (QBEConditions.h), leaves
  // QBE mode without OnCancelQBE and runs the rewritten query, then fires
  // AfterQBE. Outside QBE mode it raises "Operation only allowed in QBE
  // mode". The SQL keeps the conditions until the dataset closes or the
  // next example is built; SQLBeforeQBE gives the statement as it was.
  void ExecuteQBE();
  // The SQL as it was before query by example changed it.
  std::string SQLBeforeQBE() const;

  // The table generated statements address: the trimmed UpdatingTable when
  // set, else the first table named after FROM in the SQL (a subquery's
  // own), upper-cased and without double quotes (kept until the SQL or
  // UpdatingTable changes or the dataset closes). A cursor dataset must
  // name it in UpdatingTable ("UpdatingTable property required for cursor
  // dataset").
  std::string UpdatingTableName();
  // The name the SQL's FROM clause gives the updating table: the word that
  // follows it when that is no keyword, else the table's own name.
  std::string UpdatingTableAlias();
  // The rowid of the record being inserted or edited, found through its
  // key fields (KeyFields: UniqueFields, or the table's primary or unique
  // key on the ODBC route):
  // "select rowid from <table> where <key> = :<key> and ...". Empty when
  // there is no key or a key names no field; "Error determining ROWID: no
  // record found" and "... more than one record found" when the key does
  // not name exactly one row.
  std::string RowIdByKey();

  // --- Framework operations ---

  void SetRecNo(int recNo) override;
  // Always True: a record number names a record of some execution.
  bool BookmarkValid(const TBookmark& bookmark) override;
  // By record number, so by the order records entered the list.
  int CompareBookmarks(const TBookmark& bookmark1, const TBookmark& bookmark2) override;
  bool GetFieldData(TField* field, void* buffer) override;
  // A stream over the field's value in the record field access addresses
  // (DataSetBlobs.h); writing needs the edit or insert state.
  std::unique_ptr<TStream> CreateBlobStream(TField* field, TBlobStreamMode mode) override;
  // Refuses in QBEMode ("Operation not allowed in QBE mode"), then posts.
  void Post() override;
  void DataEvent(TDataEvent event, intptr_t info) override;
  void SetFiltered(bool value) override;
  void SetFilterOptions(TFilterOptions value) override;
  // SearchRecord from the beginning: Locate moves to the record found
  // (loCaseInsensitive and loPartialKey as srIgnoreCase and srPartialKey);
  // Lookup does not move and gives the result fields' values (a variant
  // array for several names) of the record found, its calculated fields
  // computed, or Null.
  bool Locate(const std::string& keyFields, const Variant& keyValues,
              TLocateOptions options) override;
  Variant Lookup(const std::string& keyFields, const Variant& keyValues,
                 const std::string& resultFields) override;

  // --- RegisteredDataSet ---

  void CloseForLogOff() override { Close(); }
  void DetachFromSession() override;
  std::string DataSetName() const override { return Name(); }
  bool DataSetActive() const override { return Active(); }
  void ResetDataSetFieldDefs() override;
  void OpenDataSet() override { Open(); }

 protected:
  // The result of the Filter expression for the record in the fetch buffer;
  // True without an expression.
  virtual bool EvaluateFilter();
  // Makes the internal query, owned by the dataset. Called the first time
  // the query is needed (a constructor cannot reach a descendant's
  // override).
  virtual TOracleQuery* CreateQuery();

  // For descendants: the internal query, the query rows are fetched from
  // (the internal one, or the cursor query of a cursor dataset), and the
  // record list (nullptr while closed).
  TOracleQuery& InternalQuery() const;
  TOracleQuery* FetchQuery() const { return fetchQuery_; }
  TRecordDataList* Records() const { return records_.get(); }
  // The last record number given; the next record fetched gets one more.
  uint32_t LastRecordId() const { return nextRecordId_; }
  void SetLastRecordId(uint32_t id) { nextRecordId_ = id; }
  // Whether a stored record of this detail belongs to the master's current
  // record: for every field pair both values are null, or both are
  // non-null and equal (one null and one non-null do not match). Always
  // True without an active master. The record's fields are read in the
  // dsFilter state. (The change log of cached updates keeps apart what was
  // logged under each master record.)
  bool BelongsToMaster(TRecordBuffer record);

  // For descendants and the writing of records: what the data dictionary
  // and the sequence field give generated statements (DictionaryFields.cpp,
  // SequenceField.cpp).
  //
  // The fields that identify a record where the rowid cannot, found on
  // open: none unless the dataset has a rowid column and its session takes
  // the ODBC route or UniqueFields is set.
  const std::vector<std::string>& KeyFields();
  // The constraint checks of a record being posted in cached mode.
  void CheckRecordConstraints();
  // The message a record action ('I', 'U', 'D', 'L', 'R', 'C') reports for
  // a database error (`errorCode`, 0 for the dataset's own) with `text`.
  std::string TranslateMessage(char action, int errorCode, const std::string& text);
  // The sequence number of an inserted record being posted (amOnPost).
  void ApplySequenceOnPost();
  // The value a generated INSERT gives `field`'s column instead of a
  // variable: "<Sequence>.nextval" for the sequence field with amOnServer
  // while it is null, else empty.
  std::string ServerSequenceExpression(const TField& field) const;

  // --- Framework overrides ---

  void Loaded() override;
  void DefineProperties(TFiler& filer) override;

  TRecordBuffer AllocRecordBuffer() override;
  void FreeRecordBuffer(TRecordBuffer& buffer) override;
  void InternalInitRecord(TRecordBuffer buffer) override;
  int GetRecordSize() override { return dataAreaSize_; }
  TGetResult GetRecord(TRecordBuffer buffer, TGetMode mode, bool doCheck) override;
  void CalculateFields(TRecordBuffer buffer) override;
  void ClearCalcFields(TRecordBuffer buffer) override;

  void InternalFirst() override { currentRecord_ = -1; }
  void InternalLast() override;
  void InternalSetToRecord(TRecordBuffer buffer) override;
  void InternalGotoBookmark(const std::byte* bookmark) override;
  bool IsCursorOpen() const override { return records_ != nullptr; }

  void GetBookmarkData(TRecordBuffer buffer, std::byte* data) override;
  void SetBookmarkData(TRecordBuffer buffer, const std::byte* data) override;
  TBookmarkFlag GetBookmarkFlag(TRecordBuffer buffer) override;
  void SetBookmarkFlag(TRecordBuffer buffer, TBookmarkFlag flag) override;

  void InternalOpen() override;
  void InternalClose() override;
  void InternalInitFieldDefs() override;
  void InternalRefresh() override;

  void InternalEdit() override;
  void InternalPost() override;
  void InternalCancel() override;
  void InternalAddRecord(TRecordBuffer buffer, bool append) override;
  void InternalDelete() override;
  bool GetCanModify() const override;

  void SetFieldData(TField* field, const void* buffer) override;
  void CloseBlob(TField* field) override;

  int GetRecordCount() override;
  int GetRecNo() override;
  void SetFilterText(const std::string& value) override;

  void DoBeforeInsert() override;
  void DoAfterInsert() override;
  void DoBeforeCancel() override;
  void DoAfterCancel() override;
  void DoBeforeScroll() override;
  void DoOnNewRecord() override;

 private:
  friend class DataSetDictionary;
  friend class TOracleDictionary;

  // Lifecycle (OracleDataSet.cpp).
  void OpenDeferred();
  void SqlChanged();
  void ReopenAfterChange();
  void FireEvent(const TOracleDataSetEvent& event);
  // Design state without loading, reading, writing or destroying.
  bool DesigningAlone() const;

  // Opening, fetching and closing (DataSetFetch.cpp).
  void ChooseFetchQuery();
  void FindRowIdColumn();
  void AddFieldDefs();
  void FillFieldInfo();
  void ComputeLayout();
  void BuildFetchPlan();
  void ReadRow(TRecordBuffer record);
  void ReadText(const TFetchField& column, TRecordBuffer record);
  void ReadLong(const TFetchField& column, TRecordBuffer record);
  void DiscardSlot(TRecordBuffer record);
  TAfterFetchRecordAction RaiseAfterFetchRecord(bool visible);
  void ClearRecords();
  void FetchAll();
  void FreeSubQueries();
  std::unique_ptr<filter::TExpression> ParseFilter(const std::string& text, TFilterOptions options);
  // The records of the full list that pass the filter.
  std::vector<TRecordBuffer> PassingRecords();
  void ChangeFilter(const std::string& text, TFilterOptions options, bool filtered);

  // Record buffers and field access (DataSetNavigation.cpp).
  TRecordBuffer ListRecord() const;
  int SlotOffset(const TField* field) const;
  void ForgetSharedBlobs();

  // The data dictionary (DictionaryFields.cpp).
  void ApplyDictionaryFieldSettings();
  void DetermineKeyFields();
  void CheckFieldConstraints(TField* field);
  void ApplyDefaultValues();

  friend class TOracleBlobStream;
  // A temporary state for the life of the object (RecordLocking.cpp).
  class TempState;

  // Record modification (RecordUpdater.cpp): posting and deleting.
  void PostRecord();
  bool NothingToWrite(bool update);
  void WriteRecord(bool update, TRecordBuffer record);
  void RunRecordStatement(bool update, TRecordBuffer record);
  // Runs the statement RunRecordStatement made, gives a new record its
  // rowid and writes the LOB values through the locators it returns.
  void ExecuteRecordStatement(TOracleQuery& query, bool update, TRecordBuffer record,
                              const std::vector<TField*>& lobFields);
  void StorePostedRecord(bool update, TRecordBuffer record);
  void StorePostedBlobs(TRecordBuffer stored);
  void RefreshAfterWrite(bool update);
  void DeleteFromDatabase();
  void RemoveDeletedRecord();
  bool FieldModified(TField* field);
  bool FieldIsNullForPost(TField* field);
  // The value a blob field is posted with: the edited one when the field
  // is marked Modified, else the record's own.
  std::string_view PostedBlobValue(TField* field);
  // The variable value a field is posted with, for a column of `type`.
  Variant PostedValue(TField* field, int type);
  // Writes a non-empty LOB value through the locator RETURNING filled (a
  // CLOB's CR LF line breaks as line feeds with ConvertCRLF).
  void WriteThroughLocator(TLOBLocator& locator, std::string_view value);
  int BufferTypeOf(const TField* field) const;

  // Locks, checks, refreshes and messages (RecordLocking.cpp).
  // The work query holding `statement` (WorkQueries.h), set up for the
  // dataset's session: Debug as the dataset's unless `noDebug`, the
  // internal query's Cursor, one row per fetch.
  TOracleQuery& PrepareWorkQuery(const TGeneratedStatement& statement, bool noDebug);
  bool LockRefreshCheck(bool lock, bool check, TRecordBuffer record, bool useQuerySQL,
                        bool refresh);
  TGeneratedStatement LockStatement(bool lock, bool useQuerySQL);
  bool RefreshFromQuery(TOracleQuery& query);
  bool RecordDiffers(TOracleQuery& query);
  bool ValuesEqual(TField* field, const Variant& value);
  bool RaiseApplyRecord(char action, std::string& newRowId);
  // Translates `text` for `action` and raises it as a database error.
  [[noreturn]] void RaiseRecordError(char action, int errorCode, const std::string& text);
  // Re-raises the exception in flight for `action`: an EOracleError as a
  // database error with its translated text, anything else unchanged.
  [[noreturn]] void RethrowRecordError(char action);
  void RequireRowId(const std::string& rowId, const std::string& what);
  void SetLockPoint();
  void RollbackToLockPoint();
  void CommitAfterPost();
  bool UsesLockPoint() const;

  // Cached updates (ChangeLog.cpp, ApplyUpdates.cpp).
  //
  // What a fetch made of the next logged insert.
  enum class TLogMerge { None, Hidden, Shown };
  // Fetching: merges the next logged insert into `record`, a reserved slot
  // of the record list.
  TLogMerge MergeLoggedInsert(TRecordBuffer record);
  bool LoggedInsertsRemain();
  // Fetching: the row just read into `record` is hidden by a logged delete
  // (True), or takes a logged update's values.
  bool SkipLoggedRow(TRecordBuffer record);
  void MarkChangeLogUnplaced();
  void ClearChangeLog();
  bool ApplyingChangeLog() const;
  TRecordBuffer ApplyingRecord(TDataSetState state) const;
  // While the log is applied: the kind of the item ('I', 'U', 'D') and
  // whether its record is in the record list, visible at currentRecord_.
  char ApplyingKind() const;
  bool ApplyingPlaced() const;
  bool HasChangeLogItem(TRecordBuffer record);
  // While the log is applied: the item's new value of a blob field differs
  // from its value before the change.
  bool LoggedBlobModified(TField* field) const;
  void LogChange(TRecordBuffer oldRecord, TRecordBuffer newRecord, int position, uint32_t recordId,
                 char kind);
  TRecordBuffer LoggedOldRecord(TRecordBuffer record);
  // The log's searches, each among the items that belong to the master's
  // current record: the newest placed item of a record number, the newest
  // item whose old copy has `rowId`, the newest insert at `position`.
  TChangeLogItem* FindChange(uint32_t recordId);
  TChangeLogItem* FindChangeByRowId(const std::string& rowId);
  TChangeLogItem* FindInsertAt(int position);
  bool ItemBelongsToMaster(const TChangeLogItem& item);
  // The log holds an item of cached mode (not LoggedOutsideCache).
  bool HasPendingChanges() const;
  // An update written with CachedUpdates off to a record whose update
  // waits in `item`.
  void FoldWrittenUpdate(TChangeLogItem& item, TRecordBuffer oldRecord, TRecordBuffer newRecord);
  // The blob values a new copy of `record` keeps: the edited value of a
  // blob field marked Modified, else the record's own.
  std::unique_ptr<TBlobList> LoggedBlobs(TRecordBuffer record);
  // Applying (ApplyUpdates.cpp).
  void ApplyItem(int index);
  void PositionOnItem(const TChangeLogItem& item);
  // The indexes of the items this dataset applies, in the order they are
  // written.
  std::vector<int> ItemsToApply();
  // Removes the items of the master's current record (all without a
  // master).
  void DropOwnItems();

  std::unique_ptr<TChangeLog> changeLog_;
  TUpdateErrorEvent onUpdateError_;
  // While the log is applied: the item's record is visible at
  // currentRecord_.
  bool applyingVisible_ = false;

  // Master/detail (MasterDetail.cpp).
  bool HasMaster() const { return master_ != nullptr; }
  // The link's field pairs: MasterFields and DetailFields split at ";",
  // trimmed, cut to the shorter list.
  std::vector<std::pair<std::string, std::string>> LinkPairs() const;
  // Whether this dataset can give its details a record to follow.
  bool HasUsableRecord() const;
  // The record number of the current record while browsing or editing a
  // record; -1 otherwise.
  int CurrentRecordId() const;
  // Re-evaluates which link fields details depend on: all of them
  // writable again (as the application left them), then read-only those
  // of every detail that holds records or is inserting (only the first
  // step when `protect` is false or the dataset is inactive). A field's
  // ReadOnly changes at most once per call.
  void ProtectLinkFields(bool protect = true);
  // Brings a detail up to date with its master: browse mode, the query run
  // again, the window read anew.
  void FollowMaster();
  bool MasterHasUsableRecord() const;
  int MasterCurrentRecordId() const;
  void NotifyMaster();
  void BindMasterValues();
  void PostDetails();
  void ResetDetailRecordIds();
  void NotifyDetailsClosing();
  void UpdateDetails(TDataEvent event);
  bool NotifyingDetails() const;
  void CheckMasterFieldValues();
  void CopyMasterFieldValues();
  bool MasterAllowsModification() const;
  void NotifyDetailsOfInsert(bool before);
  void NotifyDetailsOfCancel(bool before);
  void DetachMasterDetail();
  // After an insert: the details' master record is the new one.
  void PassRecordIdToDetails();

  // Query by example (QueryByExample.cpp).
  void EnterQBEState();
  void RestoreQBEStatement();
  void CheckQBEAllowed();
  // Restores the fields' settings, cancels the example record and clears
  // QBEMode; OnCancelQBE first when `cancelEvent`. Returns Requery.
  bool LeaveQBEState(bool cancelEvent);
  void CaptureQBEValues();
  void BuildQBEStatement();
  // Replaces the SQL without the reopening an assignment causes.
  void SetSQLQuietly(const std::string& text);
  // The per-field settings of `field` from QBEDefinition.
  void ApplyQBEFieldDef(TExtraFieldInfo& info, const TField& field) const;

  // Searching and counting (RecordSearch.cpp, RecordCount.cpp).
  friend class TRecordSearch;
  void InvalidateRecordCount();
  int CountQueryHits();
  // The visible index of the record numbered `recordId`; -1 for none.
  int VisibleIndexOf(uint32_t recordId) const;

  // Sequence fields (SequenceField.cpp).
  void ApplySequenceOnNewRecord();

  std::unique_ptr<TStringList> sql_;
  TOracleQuery* query_ = nullptr;
  TOracleQuery* cursorQuery_ = nullptr;
  // The work query last used for a generated statement, among the few
  // that keep their statements prepared.
  TOracleQuery* workQuery_ = nullptr;
  std::unique_ptr<TWorkQueries> workQueries_;
  TOracleQuery* fetchQuery_ = nullptr;
  std::unique_ptr<TSequenceField> sequenceField_;
  std::unique_ptr<TOracleDictionary> oracleDictionary_;
  std::unique_ptr<TQBEDefinition> qbeDefinition_;
  // The dictionary features' view of the dataset, made on first use.
  std::unique_ptr<DataSetDictionary> dictionaryLink_;

  bool qbeMode_ = false;
  // Query by example and counting: the SQL before the last rewrite, and
  // the count of query hits (-1 until counted).
  std::string qbeSavedSQL_;
  int recordCountCache_ = -1;
  std::string uniqueFields_;
  TOracleDataSet* master_ = nullptr;
  std::string masterFields_;
  std::string detailFields_;
  bool readOnly_ = false;
  TLockingModeOptions lockingMode_ = lmCheckImmediate;
  bool queryAllRecords_ = true;
  bool countAllRecords_ = false;
  TRefreshOptions refreshOptions_ = roNone;
  std::string updatingTable_;
  bool commitOnPost_ = true;
  bool cachedUpdates_ = false;
  bool designActivation_ = false;

  TOracleDataSetEvent beforeQuery_;
  TOracleDataSetEvent afterQuery_;
  TAfterFetchRecordEvent afterFetchRecord_;
  TOracleDataSetEvent afterRefreshRecord_;
  TApplyRecordEvent onApplyRecord_;
  TTranslateMessageEvent onTranslateMessage_;
  TOracleDataSetEvent beforeQBE_;
  TOracleDataSetEvent afterQBE_;
  TCancelQBEEvent onCancelQBE_;

  // The record list; exists only while the dataset is open.
  std::unique_ptr<TRecordDataList> records_;
  // Index into the visible records; -1 before the first.
  int currentRecord_ = -1;
  // The last record number given out.
  uint32_t nextRecordId_ = 0;
  // Bytes of one record buffer (a multiple of 8), and of its data area.
  int bufferSize_ = 0;
  int dataAreaSize_ = 0;
  // The select-list column holding the rowid; -1 for none.
  int rowIdColumn_ = -1;
  bool hasRowId_ = false;
  // Per data field, by FieldNo (item 0 a placeholder).
  std::vector<TExtraFieldInfo> fieldInfo_;
  // The data fields in the order FetchRecord reads them.
  std::vector<TFetchField> fetchFields_;
  bool hasBlobFields_ = false;
  // The session's string preferences, taken when the query runs.
  bool trimStrings_ = false;
  bool convertLineBreaks_ = true;
  // The record a fetch fills; also the record read in dsFilter.
  TRecordBuffer fetchBuffer_ = nullptr;
  // The values of the blob fields of a record being edited or inserted.
  std::unique_ptr<TBlobList> editBlobs_;
  // The stored record that LockRefreshCheck works on: dsOldValue reads it
  // and dsNewValue writes it meanwhile.
  TRecordBuffer lockRecord_ = nullptr;
  // The change log is being applied, and the index of the item.
  bool applying_ = false;
  int applyIndex_ = -1;
  // The updating table taken from the SQL, until the SQL changes.
  std::string tableNameCache_;
  bool activateOnLoad_ = false;
  bool firstRowFetched_ = false;
  // A cursor dataset's block ran while the field definitions were made.
  bool cursorExecuted_ = false;
  int masterRecordId_ = -1;
  // The details (not owned); they leave when their Master changes or they
  // go.
  std::vector<TOracleDataSet*> details_;
  // The details are being brought up to date: this dataset's own data
  // events are swallowed meanwhile.
  bool notifyingDetails_ = false;
  // The details follow at the next state change too (after opening).
  bool detailRefreshPending_ = true;
  bool initializingRecord_ = false;
  std::unique_ptr<filter::TExpression> filterExpression_;
};

}  // namespace vorn
