// TDataSet: Edit, Insert/Append, Post, Cancel, Delete and the error-event
// loop around the descendant's operations.
#include "vorn/host/DataSet.h"
#include "vorn/host/DbConsts.h"
#include "vorn/host/Field.h"

namespace vorn {

template <class Operation>
void TDataSet::CheckOperation(Operation operation, const TDataSetErrorEvent& errorEvent) {
  for (;;) {
    try {
      UpdateCursorPos();
      operation();
      return;
    } catch (EDatabaseError& e) {
      TDataAction action = daFail;
      if (errorEvent) errorEvent(this, e, action);
      if (action == daFail) throw;
      if (action == daAbort) Abort();
    }
  }
}

void TDataSet::InitRecord(TRecordBuffer buffer) {
  InternalInitRecord(buffer);
  ClearCalcFields(buffer);
  SetBookmarkFlag(buffer, bfInserted);
}

void TDataSet::InternalPost() {
  for (TField* field : *fields_) {
    if (field->Required() && !field->ReadOnly() && field->FieldKind() == fkData &&
        field->IsNull()) {
      field->FocusControl();
      DatabaseErrorFmt(SFieldRequired, {field->DisplayName()});
    }
  }
}

void TDataSet::UpdateRecord() {
  if (!IsEditMode(state_)) DatabaseError(SNotEditing, this);
  DataEvent(deUpdateRecord, 0);
}

void TDataSet::CheckBrowseMode() {
  CheckActive();
  DataEvent(deCheckBrowseMode, 0);
  switch (state_) {
    case dsEdit:
    case dsInsert:
      UpdateRecord();
      if (modified_) {
        Post();
      } else {
        Cancel();
      }
      break;
    case dsSetKey:
      Post();
      break;
    default:
      break;
  }
}

void TDataSet::Edit() {
  if (state_ == dsEdit || state_ == dsInsert) return;
  if (recordCount_ == 0) {
    Insert();
    return;
  }
  CheckBrowseMode();
  CheckCanModify();
  DoBeforeEdit();
  CheckOperation([this] { InternalEdit(); }, onEditError_);
  GetCalcFields(ActiveBuffer());
  SetState(dsEdit);
  DataEvent(deRecordChange, 0);
  DoAfterEdit();
}

void TDataSet::BeginInsertAppend() {
  CheckBrowseMode();
  CheckCanModify();
  DoBeforeInsert();
  DoBeforeScroll();
}

void TDataSet::EndInsertAppend() {
  SetState(dsInsert);
  try {
    DoOnNewRecord();
  } catch (...) {
    UpdateCursorPos();
    FreeFieldBuffers();
    SetState(dsBrowse);
    Resync(rmNone);
    throw;
  }
  // Values put in by OnNewRecord are defaults, not changes: a new record
  // left as it is gets cancelled rather than posted.
  modified_ = false;
  DataEvent(deDataSetChange, 0);
  DoAfterInsert();
  DoAfterScroll();
}

void TDataSet::Insert() {
  BeginInsertAppend();
  TBookmark current = GetBookmark();
  MoveBuffer(recordCount_, activeRecord_);
  TRecordBuffer buffer = ActiveBuffer();
  InitRecord(buffer);
  // The new record sits in front of the record that was current; into an
  // empty dataset it goes at the beginning.
  if (recordCount_ == 0 || current.empty()) {
    SetBookmarkFlag(buffer, bfBOF);
  } else {
    SetBookmarkData(buffer, current.data());
  }
  if (recordCount_ < bufferCount_) ++recordCount_;
  // The buffers moved under the cursor: the buffer index it was on now
  // holds another record.
  CursorPosChanged();
  InternalInsert();
  EndInsertAppend();
}

void TDataSet::Append() {
  BeginInsertAppend();
  ClearBuffers();
  TRecordBuffer buffer = buffers_[0];
  InitRecord(buffer);
  SetBookmarkFlag(buffer, bfEOF);
  recordCount_ = 1;
  bof_ = false;
  GetPriorRecords();
  InternalInsert();
  EndInsertAppend();
}

void TDataSet::Post() {
  UpdateRecord();
  if (state_ != dsEdit && state_ != dsInsert) return;
  DataEvent(deCheckBrowseMode, 0);
  DoBeforePost();
  CheckOperation([this] { InternalPost(); }, onPostError_);
  FreeFieldBuffers();
  SetState(dsBrowse);
  Resync(rmNone);
  DoAfterPost();
}

void TDataSet::Cancel() {
  if (state_ != dsEdit && state_ != dsInsert) return;
  DataEvent(deCheckBrowseMode, 0);
  DoBeforeCancel();
  const bool inserting = state_ == dsInsert;
  if (inserting) DoBeforeScroll();
  UpdateCursorPos();
  InternalCancel();
  FreeFieldBuffers();
  SetState(dsBrowse);
  Resync(rmNone);
  DoAfterCancel();
  if (inserting) DoAfterScroll();
}

void TDataSet::Delete() {
  CheckActive();
  if (state_ == dsInsert || state_ == dsSetKey) {
    Cancel();
    return;
  }
  if (recordCount_ == 0) DatabaseError(SDataSetEmpty, this);
  DataEvent(deCheckBrowseMode, 0);
  DoBeforeDelete();
  DoBeforeScroll();
  CheckOperation([this] { InternalDelete(); }, onDeleteError_);
  FreeFieldBuffers();
  SetState(dsBrowse);
  Resync(rmNone);
  DoAfterDelete();
  DoAfterScroll();
}

void TDataSet::ClearFields() {
  if (!IsEditMode(state_)) DatabaseError(SNotEditing, this);
  DataEvent(deCheckBrowseMode, 0);
  FreeFieldBuffers();
  InternalInitRecord(ActiveBuffer());
  if (state_ != dsSetKey) GetCalcFields(ActiveBuffer());
  DataEvent(deRecordChange, 0);
}

void TDataSet::SetFields(const std::vector<Variant>& values) {
  for (size_t i = 0; i < values.size(); ++i) {
    if (!values[i].IsEmpty()) fields_->Fields(static_cast<int>(i))->SetAsVariant(values[i]);
  }
}

void TDataSet::AddRecordWithValues(const std::vector<Variant>& values, bool append) {
  // Refused before anything changes: more values than fields.
  if (static_cast<int>(values.size()) > FieldCount()) {
    throw EListError(FormatDbMessage(SListIndexError, {FieldCount()}));
  }
  if (append) {
    Append();
  } else {
    Insert();
  }
  SetFields(values);
  DoBeforePost();
  CheckOperation([this, append] { InternalAddRecord(ActiveBuffer(), append); }, onPostError_);
  FreeFieldBuffers();
  SetState(dsBrowse);
  Resync(rmNone);
  DoAfterPost();
}

void TDataSet::InsertRecord(const std::vector<Variant>& values) {
  AddRecordWithValues(values, false);
}

void TDataSet::AppendRecord(const std::vector<Variant>& values) {
  AddRecordWithValues(values, true);
}

}  // namespace vorn
