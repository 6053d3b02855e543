// TDataSet: the generic dataset. It owns the field definitions and fields,
// keeps a small window of record buffers for data-aware controls, runs the
// open, close, navigation and modification sequences with their events, and
// tells data sources what changed. A descendant supplies the records.
//
// How a descendant plugs in. It overrides the pure virtual operations:
//   record buffers  AllocRecordBuffer, FreeRecordBuffer, InternalInitRecord,
//                   GetRecordSize, GetRecord;
//   cursor          InternalFirst, InternalLast, InternalSetToRecord,
//                   InternalGotoBookmark, IsCursorOpen;
//   bookmarks       Get/SetBookmarkData, Get/SetBookmarkFlag;
//   lifecycle       InternalOpen, InternalClose, InternalInitFieldDefs;
//   editing         InternalAddRecord, InternalDelete;
//   field data      GetFieldData, SetFieldData;
// and may override the others (InternalPost, InternalEdit, CreateBlobStream,
// Locate, UpdateStatus, ...). Record buffers are opaque: the framework
// allocates BufferCount + 1 of them through AllocRecordBuffer and only moves
// the pointers. GetRecord(buffer, mode, doCheck) reads the record under the
// cursor (gmCurrent), the next one (gmNext; from the BOF crack the first)
// or the previous one (gmPrior; from the EOF crack the last); on grOK the
// buffer holds the record, its bookmark and flag bfCurrent, and the
// descendant has called GetCalcFields(buffer). grError with doCheck set
// makes the descendant raise.
//
// The window. Buffers(0 .. filled-1) hold records in display order, the
// active one is ActiveBuffer, Buffers(filled) is the scratch buffer the
// next record is read into. The window holds as many records as the
// largest BufferCount of the data links attached through data sources (at
// least 1) and slides as the dataset scrolls. The framework keeps the
// descendant's cursor on a window buffer and repositions it by the buffer's
// bookmark flag (bfCurrent/bfInserted: InternalSetToRecord, bfBOF:
// InternalFirst, bfEOF: InternalLast) when it must read next to another
// one. Navigation sends deDataSetScroll (with the number of rows the window
// slid, negative forwards) or deDataSetChange.
//
// States. dsBrowse after Open and after every Post, Cancel and Delete;
// dsEdit and dsInsert while a record is changed. SetState sends
// deUpdateState and clears Modified. Temporary states (dsCalcFields,
// dsFilter, dsNewValue, dsOldValue, dsCurValue) tell the descendant which
// record field access addresses: SetTempState/RestoreState also count as
// DisableControls, so nothing reaches the controls meanwhile; the
// calculated-field pass and OldValue/CurValue reads switch the state
// directly. In which record each state reads is the descendant's decision.
//
// Modification. Edit, Insert/Append, Post, Cancel and Delete fire their
// Before/After events (and scroll events where the record changes);
// InternalEdit, InternalPost and InternalDelete run in a loop that offers
// an EDatabaseError to OnEditError/OnPostError/OnDeleteError, whose action
// re-raises it (daFail), turns it into a silent EAbort (daAbort) or retries
// (daRetry). The base InternalPost checks that every Required, writable
// data field has a value; a descendant that replaces InternalPost decides
// for itself.
//
// Points where versions of the framework differ, decided here:
//  - the base InternalPost performs the required-field check;
//  - OldValue/CurValue reads switch the state directly (see Field.h);
//  - a dataset without data links keeps 1 buffer (plus the scratch one);
//  - variant conversions fail with "Invalid variant type conversion";
//  - Cancel of an insert fires BeforeScroll and AfterScroll.
//
// Destruction. The framework's close calls the descendant's virtual
// operations, which C++ no longer reaches from ~TDataSet: a descendant
// calls Destroying() and Close() at the start of its own destructor. A
// dataset that reaches ~TDataSet still open stops the program (in every
// build) with a message saying so, rather than leaking its record buffers
// and leaving its data sources on a half-destroyed dataset.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "vorn/host/Component.h"
#include "vorn/host/DataSetTypes.h"
#include "vorn/host/FieldDefs.h"
#include "vorn/host/Fields.h"
#include "vorn/host/Stream.h"
#include "vorn/host/Variant.h"

namespace vorn {

class TDataLink;
class TDataSource;
class TStrings;

// Creates a field of one class, owned by `owner`.
using TFieldClass = TField* (*)(TComponent* owner);

// The argument is a type; it cannot take parentheses.
// NOLINTBEGIN(bugprone-macro-parentheses)
#define VORN_DATASET_EVENT(Type, Name, member) \
  const Type& Name() const {                   \
    return member;                             \
  }                                            \
  void Set##Name(Type handler) {               \
    member = std::move(handler);               \
  }
// NOLINTEND(bugprone-macro-parentheses)

class TDataSet : public TComponent {
  VORN_CLASS(TDataSet, TComponent)
  explicit TDataSet(TComponent* owner);
  ~TDataSet() override;

  // --- Opening, state

  // True except in dsInactive and dsOpening.
  bool Active() const { return state_ != dsInactive && state_ != dsOpening; }
  // Opens or closes (Open and Close come here). While the component is
  // being read the request is only remembered, and Loaded carries it out.
  virtual void SetActive(bool active);
  void Open() { SetActive(true); }
  void Close() { SetActive(false); }
  TDataSetState State() const { return state_; }
  // A data field changed since the last state change.
  bool Modified() const { return modified_; }
  bool Bof() const { return bof_; }
  bool Eof() const { return eof_; }
  // No record in the window (an insert into an empty dataset is not empty).
  bool IsEmpty() const { return activeRecord_ >= recordCount_; }
  bool CanModify() const { return GetCanModify(); }
  // The fields were created at open (and are destroyed at close).
  bool DefaultFields() const { return defaultFields_; }
  bool AutoCalcFields() const { return autoCalcFields_; }
  void SetAutoCalcFields(bool value) { autoCalcFields_ = value; }

  // Controls hear nothing until the matching EnableControls, which then
  // sends one deDataSetChange (deLayoutChange after a layout change), and
  // deUpdateState first when the state changed meanwhile.
  void DisableControls();
  void EnableControls();
  bool ControlsDisabled() const { return disableCount_ != 0; }

  // --- Navigation

  void First();
  void Last();
  void Next() { MoveBy(1); }
  void Prior() { MoveBy(-1); }
  // The number of records actually moved (negative backwards).
  int MoveBy(int distance);
  void Refresh();
  // Rebuilds the window around the descendant's cursor: with rmExact the
  // cursor's record must exist ("Record not found"), with rmCenter it lands
  // in the middle row, else at the active row.
  void Resync(TResyncMode mode);
  // Puts the descendant's cursor on the active record.
  void UpdateCursorPos();
  // Forgets where the descendant's cursor is (it moved on its own).
  void CursorPosChanged() { currentRecord_ = -1; }
  int RecNo() { return GetRecNo(); }
  virtual void SetRecNo(int recNo);
  int RecordCount() { return GetRecordCount(); }
  int RecordSize() { return GetRecordSize(); }
  // Record numbers and counts are meaningful (grids size their scroll bar
  // from them).
  virtual bool IsSequenced() { return true; }
  TRecordBuffer ActiveBuffer() const {
    return buffers_.empty() ? nullptr : buffers_[activeRecord_];
  }
  // Index of the active buffer in the window.
  int ActiveRecord() const { return activeRecord_; }

  // --- Bookmarks

  // Browse, edit or insert state, a record in the window, and the active
  // buffer flagged bfCurrent (a record being inserted has none).
  bool BookmarkAvailable();
  // Empty when none is available.
  TBookmark GetBookmark();
  // Nothing for an empty bookmark; otherwise a scroll to its record, centred.
  void GotoBookmark(const TBookmark& bookmark);
  void FreeBookmark(TBookmark& bookmark) { bookmark.clear(); }
  TBookmarkStr Bookmark();
  void SetBookmark(const TBookmarkStr& bookmark);
  virtual bool BookmarkValid(const TBookmark& bookmark);
  // -1, 0, 1; the base answers 0.
  virtual int CompareBookmarks(const TBookmark& bookmark1, const TBookmark& bookmark2);

  // --- Modification

  void Edit();
  void Insert();
  void Append();
  virtual void Post();
  void Cancel();
  void Delete();
  // Insert (Append), assign `values` to the fields in order (Null clears,
  // Unassigned leaves a field alone), and add the record through
  // InternalAddRecord.
  void InsertRecord(const std::vector<Variant>& values);
  void AppendRecord(const std::vector<Variant>& values);
  // Posts a modified record, cancels an unmodified one.
  void CheckBrowseMode();
  // Lets the controls write pending text into their fields.
  void UpdateRecord();
  // Sets every field of the record being edited to null.
  void ClearFields();
  // The base answers usUnmodified.
  virtual TUpdateStatus UpdateStatus();

  // --- Searching and filtering (the base finds nothing; the filter
  // properties are stored for the descendant to interpret)

  virtual bool Locate(const std::string& keyFields, const Variant& keyValues,
                      TLocateOptions options);
  virtual Variant Lookup(const std::string& keyFields, const Variant& keyValues,
                         const std::string& resultFields);
  const std::string& Filter() const { return filterText_; }
  void SetFilter(const std::string& text) { SetFilterText(text); }
  bool Filtered() const { return filtered_; }
  virtual void SetFiltered(bool value);
  TFilterOptions FilterOptions() const { return filterOptions_; }
  virtual void SetFilterOptions(TFilterOptions value);

  // --- Fields

  TFieldDefs& FieldDefs() { return *fieldDefs_; }
  const TFieldDefs& FieldDefs() const { return *fieldDefs_; }
  TFields& Fields() { return *fields_; }
  const TFields& Fields() const { return *fields_; }
  int FieldCount() const { return fields_->Count(); }
  TField* FindField(std::string_view name) const { return fields_->FindField(name); }
  TField* FieldByName(std::string_view name) const { return fields_->FieldByName(name); }
  TField* FieldByNumber(int fieldNo) const { return fields_->FieldByNumber(fieldNo); }
  // The fields named in "A;B" (names trimmed; unknown or empty names raise
  // "Field '%s' not found"); an empty text gives none.
  void GetFieldList(std::vector<TField*>& list, std::string_view fieldNames) const;
  void GetFieldNames(TStrings& names) const;
  // One field's Value, or a variant array for several names.
  Variant FieldValues(const std::string& fieldNames) const;
  void SetFieldValues(const std::string& fieldNames, const Variant& values);
  // Bytes of the calculated area: (DataSize + 1) per calculated field.
  int CalcFieldsSize() const { return calcFieldsSize_; }
  // The native value of `field` in the record the state addresses; False
  // for null. `buffer` may be nullptr.
  virtual bool GetFieldData(TField* field, void* buffer) = 0;
  // A new stream on a blob field's value, owned by the caller; the base
  // gives none.
  virtual std::unique_ptr<TStream> CreateBlobStream(TField* field, TBlobStreamMode mode);

  // The framework's reaction to a data event (Modified, recalculation,
  // OnChange, ...), then the data sources, unless controls are disabled.
  virtual void DataEvent(TDataEvent event, intptr_t info);

  // --- Events

  VORN_DATASET_EVENT(TDataSetNotifyEvent, BeforeOpen, beforeOpen_)
  VORN_DATASET_EVENT(TDataSetNotifyEvent, AfterOpen, afterOpen_)
  VORN_DATASET_EVENT(TDataSetNotifyEvent, BeforeClose, beforeClose_)
  VORN_DATASET_EVENT(TDataSetNotifyEvent, AfterClose, afterClose_)
  VORN_DATASET_EVENT(TDataSetNotifyEvent, BeforeInsert, beforeInsert_)
  VORN_DATASET_EVENT(TDataSetNotifyEvent, AfterInsert, afterInsert_)
  VORN_DATASET_EVENT(TDataSetNotifyEvent, BeforeEdit, beforeEdit_)
  VORN_DATASET_EVENT(TDataSetNotifyEvent, AfterEdit, afterEdit_)
  VORN_DATASET_EVENT(TDataSetNotifyEvent, BeforePost, beforePost_)
  VORN_DATASET_EVENT(TDataSetNotifyEvent, AfterPost, afterPost_)
  VORN_DATASET_EVENT(TDataSetNotifyEvent, BeforeCancel, beforeCancel_)
  VORN_DATASET_EVENT(TDataSetNotifyEvent, AfterCancel, afterCancel_)
  VORN_DATASET_EVENT(TDataSetNotifyEvent, BeforeDelete, beforeDelete_)
  VORN_DATASET_EVENT(TDataSetNotifyEvent, AfterDelete, afterDelete_)
  VORN_DATASET_EVENT(TDataSetNotifyEvent, BeforeScroll, beforeScroll_)
  VORN_DATASET_EVENT(TDataSetNotifyEvent, AfterScroll, afterScroll_)
  VORN_DATASET_EVENT(TDataSetNotifyEvent, BeforeRefresh, beforeRefresh_)
  VORN_DATASET_EVENT(TDataSetNotifyEvent, AfterRefresh, afterRefresh_)
  VORN_DATASET_EVENT(TDataSetNotifyEvent, OnCalcFields, onCalcFields_)
  VORN_DATASET_EVENT(TDataSetNotifyEvent, OnNewRecord, onNewRecord_)
  VORN_DATASET_EVENT(TDataSetErrorEvent, OnEditError, onEditError_)
  VORN_DATASET_EVENT(TDataSetErrorEvent, OnPostError, onPostError_)
  VORN_DATASET_EVENT(TDataSetErrorEvent, OnDeleteError, onDeleteError_)
  VORN_DATASET_EVENT(TFilterRecordEvent, OnFilterRecord, onFilterRecord_)

 protected:
  // --- Record buffers (descendant)
  virtual TRecordBuffer AllocRecordBuffer() = 0;
  // Releases the buffer and sets it to nullptr.
  virtual void FreeRecordBuffer(TRecordBuffer& buffer) = 0;
  virtual void InternalInitRecord(TRecordBuffer buffer) = 0;
  virtual int GetRecordSize() = 0;
  virtual TGetResult GetRecord(TRecordBuffer buffer, TGetMode mode, bool doCheck) = 0;
  // InternalInitRecord, ClearCalcFields and the flag bfInserted.
  virtual void InitRecord(TRecordBuffer buffer);

  // --- Cursor (descendant)
  virtual void InternalFirst() = 0;
  virtual void InternalLast() = 0;
  // Moves the cursor to the record whose bookmark the buffer holds.
  virtual void InternalSetToRecord(TRecordBuffer buffer) = 0;
  virtual void InternalGotoBookmark(const std::byte* bookmark) = 0;
  virtual bool IsCursorOpen() const = 0;

  // --- Bookmarks (descendant)
  virtual void GetBookmarkData(TRecordBuffer buffer, std::byte* data) = 0;
  virtual void SetBookmarkData(TRecordBuffer buffer, const std::byte* data) = 0;
  virtual TBookmarkFlag GetBookmarkFlag(TRecordBuffer buffer) = 0;
  virtual void SetBookmarkFlag(TRecordBuffer buffer, TBookmarkFlag flag) = 0;

  // --- Lifecycle
  // Called with the state still dsInactive: typically InternalInitFieldDefs,
  // CreateFields when DefaultFields, BindFields(true), SetBookmarkSize and
  // opening the cursor at BOF.
  virtual void InternalOpen() = 0;
  // Typically BindFields(false), DestroyFields when DefaultFields, and
  // releasing the cursor.
  virtual void InternalClose() = 0;
  virtual void InternalInitFieldDefs() = 0;
  // Passes the exception being handled to the application.
  virtual void InternalHandleException();
  // Opens the dataset when Active was read as True.
  void Loaded() override;

  // --- Editing
  virtual void InternalEdit() {}
  virtual void InternalInsert() {}
  virtual void InternalCancel() {}
  virtual void InternalRefresh() {}
  // The required-field check: each Required, writable data field that is
  // null gets FocusControl and raises "Field '%s' must have a value".
  virtual void InternalPost();
  virtual void InternalAddRecord(TRecordBuffer buffer, bool append) = 0;
  virtual void InternalDelete() = 0;
  virtual bool GetCanModify() const { return true; }

  // --- Field data
  // Stores a native value (nullptr: null) in the record the state
  // addresses. Descendants call field->Validate first where they validate
  // and DataEvent(deFieldChange, field) after storing.
  virtual void SetFieldData(TField* field, const void* buffer) = 0;
  // Discards a blob field's pending edit value.
  virtual void CloseBlob(TField* field);
  virtual TFieldClass GetFieldClass(TFieldType type);

  // --- Calculated fields
  // Sets CalcBuffer, clears the calculated area (except in dsInternalCalc)
  // and fires OnCalcFields.
  virtual void CalculateFields(TRecordBuffer buffer);
  virtual void ClearCalcFields(TRecordBuffer buffer);

  // --- Counting
  virtual int GetRecordCount() { return -1; }
  virtual int GetRecNo() { return -1; }

  // --- Filtering (the base stores)
  virtual void SetFilterText(const std::string& value);

  // --- Event hooks (fire the events)
  virtual void DoBeforeOpen();
  virtual void DoAfterOpen();
  virtual void DoBeforeClose();
  virtual void DoAfterClose();
  virtual void DoBeforeInsert();
  virtual void DoAfterInsert();
  virtual void DoBeforeEdit();
  virtual void DoAfterEdit();
  virtual void DoBeforePost();
  virtual void DoAfterPost();
  virtual void DoBeforeCancel();
  virtual void DoAfterCancel();
  virtual void DoBeforeDelete();
  virtual void DoAfterDelete();
  virtual void DoBeforeScroll();
  virtual void DoAfterScroll();
  virtual void DoBeforeRefresh();
  virtual void DoAfterRefresh();
  virtual void DoOnCalcFields();
  virtual void DoOnNewRecord();

  // --- Framework services for descendants
  void SetState(TDataSetState state);
  // Enters a temporary state, counting as DisableControls; returns the
  // state to give RestoreState.
  TDataSetState SetTempState(TDataSetState state);
  void RestoreState(TDataSetState state);
  void SetModified(bool modified) { modified_ = modified; }
  void CheckActive() const;
  void CheckInactive() const;
  void CheckCanModify() const;

  int BufferCount() const { return bufferCount_; }
  TRecordBuffer Buffers(int index) const { return buffers_[index]; }
  // The buffer the next record is read into.
  TRecordBuffer TempBuffer() const { return buffers_[recordCount_]; }
  // The buffer the calculated-field pass works on.
  TRecordBuffer CalcBuffer() const { return calcBuffer_; }
  int BookmarkSize() const { return bookmarkSize_; }
  void SetBookmarkSize(int size) { bookmarkSize_ = size; }

  // Computes the calculated fields of `buffer` in dsCalcFields, when the
  // dataset has any.
  void GetCalcFields(TRecordBuffer buffer);
  // Puts the descendant's cursor on the record of window buffer `index`.
  void SetCurrentRecord(int index);
  bool GetNextRecord();
  bool GetPriorRecord();
  int GetNextRecords();
  int GetPriorRecords();
  void ClearBuffers();
  void ActivateBuffers();
  // Sizes the window for the attached data links.
  void UpdateBufferCount();

  // Definitions and fields.
  void InitFieldDefs();
  // One default field per definition that is not ftUnknown or hidden.
  void CreateFields();
  // Deletes every field.
  void DestroyFields();
  // Binding gives data fields their definition's number (checking name and
  // type) and calculated fields their offset in the calculated area;
  // unbinding sets every number to 0.
  void BindFields(bool binding);
  // Calls FreeBuffers of every field (CloseBlob for modified blobs).
  void FreeFieldBuffers();

 private:
  friend class TBlobField;
  friend class TDataLink;
  friend class TDataSource;
  friend class TField;
  friend class TFieldDef;
  friend class TFieldDefs;

  void SetBufferCount(int count);
  void MoveBuffer(int from, int to);
  void AdjustFirstRecords(int delta);
  void OpenCursor();
  void CloseCursor();
  // Enters `state` for a field read without counting as DisableControls.
  TDataSetState SwapState(TDataSetState state);
  template <class Operation>
  void CheckOperation(Operation operation, const TDataSetErrorEvent& errorEvent);
  void BeginInsertAppend();
  void EndInsertAppend();
  void SetFields(const std::vector<Variant>& values);
  void AddRecordWithValues(const std::vector<Variant>& values, bool append);
  void AddDataSource(TDataSource* dataSource);
  void RemoveDataSource(TDataSource* dataSource);
  template <class Visit>
  void ForEachActiveLink(Visit visit);

  std::unique_ptr<TFieldDefs> fieldDefs_;
  std::unique_ptr<TFields> fields_;
  std::vector<TDataSource*> dataSources_;

  std::vector<TRecordBuffer> buffers_;
  int bufferCount_ = 0;
  // Records in the window (the "filled count").
  int recordCount_ = 0;
  int activeRecord_ = 0;
  // Which window buffer the descendant's cursor is on; -1 when unknown.
  int currentRecord_ = -1;
  bool bof_ = true;
  bool eof_ = true;
  TRecordBuffer calcBuffer_ = nullptr;

  TDataSetState state_ = dsInactive;
  bool modified_ = false;
  bool defaultFields_ = false;
  bool autoCalcFields_ = true;
  bool streamedActive_ = false;
  int bookmarkSize_ = 0;
  int calcFieldsSize_ = 0;
  int calcFieldCount_ = 0;
  int disableCount_ = 0;
  TDataSetState disableState_ = dsInactive;
  TDataEvent enableEvent_ = deDataSetChange;

  std::string filterText_;
  bool filtered_ = false;
  TFilterOptions filterOptions_ = foNone;

  TDataSetNotifyEvent beforeOpen_, afterOpen_, beforeClose_, afterClose_;
  TDataSetNotifyEvent beforeInsert_, afterInsert_, beforeEdit_, afterEdit_;
  TDataSetNotifyEvent beforePost_, afterPost_, beforeCancel_, afterCancel_;
  TDataSetNotifyEvent beforeDelete_, afterDelete_, beforeScroll_, afterScroll_;
  TDataSetNotifyEvent beforeRefresh_, afterRefresh_, onCalcFields_, onNewRecord_;
  TDataSetErrorEvent onEditError_, onPostError_, onDeleteError_;
  TFilterRecordEvent onFilterRecord_;
};

#undef VORN_DATASET_EVENT

}  // namespace vorn
