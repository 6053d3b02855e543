// TOracleDataSet: the framework's record-buffer contract over the record
// list: record buffers, navigation, bookmarks, record numbers, the record
// that field access addresses in each state, and field values.
#include <algorithm>
#include <cstring>

#include "DataSetBlobs.h"
#include "DataSetRecords.h"
#include "RecordList.h"
#include "vorn/dataset/OracleDataSet.h"
#include "vorn/host/DbConsts.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/Field.h"

namespace vorn {

// --- Record buffers ---

TRecordBuffer TOracleDataSet::AllocRecordBuffer() {
  TRecordBuffer buffer = new std::byte[static_cast<size_t>(bufferSize_)]();
  InitRecordHeader(buffer, bufferSize_);
  return buffer;
}

void TOracleDataSet::FreeRecordBuffer(TRecordBuffer& buffer) {
  // A window buffer shares its record's blob values and never owns them.
  delete[] buffer;
  buffer = nullptr;
}

void TOracleDataSet::InternalInitRecord(TRecordBuffer buffer) {
  TRecordHeader& header = HeaderOf(buffer);
  header.Blobs = nullptr;
  std::fill(std::begin(header.RecordRowId), std::end(header.RecordRowId), char{0});
  const int slots = dataAreaSize_ + CalcFieldsSize();
  std::memset(buffer + kRecordHeaderSize, 1, static_cast<size_t>(slots));
}

void TOracleDataSet::ClearCalcFields(TRecordBuffer buffer) {
  std::memset(buffer + kRecordHeaderSize + dataAreaSize_, 1, static_cast<size_t>(CalcFieldsSize()));
}

void TOracleDataSet::CalculateFields(TRecordBuffer buffer) {
  // A record under test of the filter has no calculated values.
  if (State() == dsFilter) return;
  TDataSet::CalculateFields(buffer);
}

void TOracleDataSet::ForgetSharedBlobs() {
  // The window's buffers share the blob values of the stored records they
  // copy; when those records go, the copies must not keep pointing at them.
  if (!hasBlobFields_ || !Active()) return;
  for (int i = 0; i <= BufferCount(); ++i)
    HeaderOf(Buffers(i)).Blobs = nullptr;
}

// --- Navigation ---

TGetResult TOracleDataSet::GetRecord(TRecordBuffer buffer, TGetMode mode, bool doCheck) {
  if (records_ == nullptr) return grError;
  TGetResult result = grOK;
  switch (mode) {
    case gmCurrent:
      if ((currentRecord_ < 0 || currentRecord_ >= records_->VisibleCount()) && !FetchRecord()) {
        result = grError;
      }
      break;
    case gmNext:
      if (currentRecord_ < records_->VisibleCount() - 1 || FetchRecord()) {
        ++currentRecord_;
      } else {
        result = grEOF;
      }
      break;
    case gmPrior:
      if (currentRecord_ > 0) {
        --currentRecord_;
      } else {
        result = grBOF;
      }
      break;
  }
  if (result == grOK) {
    if (currentRecord_ < 0 || currentRecord_ >= records_->VisibleCount()) return grError;
    std::memcpy(buffer, records_->VisibleAt(currentRecord_), static_cast<size_t>(bufferSize_));
    HeaderOf(buffer).BookmarkFlag = bfCurrent;
    GetCalcFields(buffer);
  } else if (result == grError && doCheck) {
    DatabaseError("No Records", this);
  }
  return result;
}

void TOracleDataSet::InternalSetToRecord(TRecordBuffer buffer) {
  InternalGotoBookmark(buffer);
}

// --- Bookmarks ---

void TOracleDataSet::GetBookmarkData(TRecordBuffer buffer, std::byte* data) {
  std::memcpy(data, &HeaderOf(buffer).RecordId, kBookmarkSize);
}

void TOracleDataSet::SetBookmarkData(TRecordBuffer buffer, const std::byte* data) {
  std::memcpy(&HeaderOf(buffer).RecordId, data, kBookmarkSize);
}

TBookmarkFlag TOracleDataSet::GetBookmarkFlag(TRecordBuffer buffer) {
  return static_cast<TBookmarkFlag>(HeaderOf(buffer).BookmarkFlag);
}

void TOracleDataSet::SetBookmarkFlag(TRecordBuffer buffer, TBookmarkFlag flag) {
  HeaderOf(buffer).BookmarkFlag = static_cast<uint8_t>(flag);
}

int TOracleDataSet::VisibleIndexOf(uint32_t recordId) const {
  const int count = records_ != nullptr ? records_->VisibleCount() : 0;
  // Records keep their number's position until the list changes.
  if (recordId >= 2 && recordId - 1 < static_cast<uint32_t>(count) &&
      HeaderOf(records_->VisibleAt(static_cast<int>(recordId - 1))).RecordId == recordId) {
    return static_cast<int>(recordId - 1);
  }
  for (int i = 0; i < count; ++i) {
    if (HeaderOf(records_->VisibleAt(i)).RecordId == recordId) return i;
  }
  return -1;
}

void TOracleDataSet::InternalGotoBookmark(const std::byte* bookmark) {
  uint32_t id = 0;
  std::memcpy(&id, bookmark, kBookmarkSize);
  const int index = VisibleIndexOf(id);
  if (index < 0) DatabaseError("Bookmark not found (" + std::to_string(id) + ")", this);
  currentRecord_ = index;
}

bool TOracleDataSet::BookmarkValid(const TBookmark& /*bookmark*/) {
  return true;
}

int TOracleDataSet::CompareBookmarks(const TBookmark& bookmark1, const TBookmark& bookmark2) {
  const bool absent1 = bookmark1.size() < static_cast<size_t>(kBookmarkSize);
  const bool absent2 = bookmark2.size() < static_cast<size_t>(kBookmarkSize);
  if (absent1 && absent2) return 0;
  if (absent1) return 1;
  if (absent2) return -1;
  uint32_t id1 = 0;
  uint32_t id2 = 0;
  std::memcpy(&id1, bookmark1.data(), kBookmarkSize);
  std::memcpy(&id2, bookmark2.data(), kBookmarkSize);
  if (id1 < id2) return -1;
  return id1 == id2 ? 0 : 1;
}

// --- Record numbers ---

int TOracleDataSet::GetRecNo() {
  if (records_ == nullptr) return -1;
  UpdateCursorPos();
  if (currentRecord_ == -1 && RecordCount() > 0) return 1;
  return currentRecord_ + 1;
}

void TOracleDataSet::SetRecNo(int recNo) {
  if (records_ == nullptr) return;
  if (recNo >= 0 && recNo <= records_->VisibleCount()) {
    currentRecord_ = recNo - 1;
    Resync(rmNone);
  }
  if (countAllRecords_ && recNo != RecNo() && recNo > 0 && recNo < RecordCount()) {
    MoveBy(recNo - RecNo());
  }
}

// --- The record field access addresses ---

TRecordBuffer TOracleDataSet::ListRecord() const {
  if (records_ == nullptr) return nullptr;
  const int count = records_->VisibleCount();
  // The record behind the active buffer. The framework puts the cursor on
  // it only around its own operations; a read of OldValue or CurrentRowId
  // in between must still see the active record, not the one the cursor
  // was left on while the window filled.
  if (!IsEmpty()) {
    const TRecordHeader& active = HeaderOf(ActiveBuffer());
    if (active.BookmarkFlag == bfEOF) return nullptr;
    if (active.BookmarkFlag == bfBOF) return count > 0 ? records_->VisibleAt(0) : nullptr;
    const uint32_t id = active.RecordId;
    if (currentRecord_ >= 0 && currentRecord_ < count &&
        HeaderOf(records_->VisibleAt(currentRecord_)).RecordId == id) {
      return records_->VisibleAt(currentRecord_);
    }
    for (int i = 0; i < count; ++i) {
      if (HeaderOf(records_->VisibleAt(i)).RecordId == id) return records_->VisibleAt(i);
    }
  }
  const int index = std::max(currentRecord_, 0);
  return index < count ? records_->VisibleAt(index) : nullptr;
}

TRecordBuffer TOracleDataSet::GetActiveRecord() {
  switch (State()) {
    case dsBrowse:
    case dsCurValue:
      if (ApplyingChangeLog()) return ApplyingRecord(State());
      return IsEmpty() ? nullptr : ActiveBuffer();
    case dsEdit:
    case dsInsert:
      return ActiveBuffer();
    case dsCalcFields:
      return CalcBuffer();
    case dsFilter:
      return fetchBuffer_;
    case dsNewValue:
      if (lockRecord_ != nullptr) return lockRecord_;
      if (TRecordBuffer applying = ApplyingRecord(dsNewValue)) return applying;
      return ListRecord();
    case dsOldValue: {
      if (lockRecord_ != nullptr) return lockRecord_;
      if (ApplyingChangeLog()) return ApplyingRecord(dsOldValue);
      TRecordBuffer record = ListRecord();
      if (cachedUpdates_ && record != nullptr) {
        if (TRecordBuffer old = LoggedOldRecord(record)) return old;
      }
      return record;
    }
    default:
      return nullptr;
  }
}

std::string TOracleDataSet::CurrentRowId() {
  TRecordBuffer record = nullptr;
  if (ControlsDisabled()) {
    record = GetActiveRecord();
  } else {
    const TDataSetState saved = SetTempState(dsOldValue);
    try {
      record = GetActiveRecord();
    } catch (...) {
      RestoreState(saved);
      throw;
    }
    RestoreState(saved);
  }
  return record != nullptr ? RecordRowIdOf(record) : std::string();
}

// --- Field values ---

int TOracleDataSet::SlotOffset(const TField* field) const {
  const int fieldNo = field->FieldNo();
  if (fieldNo < 0) return dataAreaSize_ + field->Offset();
  if (fieldNo == 0 || fieldNo >= static_cast<int>(fieldInfo_.size())) return -1;
  return fieldInfo_[static_cast<size_t>(fieldNo)].Offset;
}

bool TOracleDataSet::GetFieldData(TField* field, void* buffer) {
  TRecordBuffer record = GetActiveRecord();
  if (record == nullptr) return false;
  if (field->IsBlob()) {
    const TBlobList* blobs = HeaderOf(record).Blobs;
    if (blobs == nullptr) return false;
    const TOracleBlob* blob = blobs->BlobByField(field);
    return blob == nullptr || blob->BlobSize() > 0;
  }
  const int offset = SlotOffset(field);
  if (offset < 0) return false;
  const std::byte* slot = DataSlot(record, offset);
  if (slot[0] != std::byte{0}) return false;
  if (buffer != nullptr) std::memcpy(buffer, slot + 1, static_cast<size_t>(field->DataSize()));
  return true;
}

void TOracleDataSet::SetFieldData(TField* field, const void* buffer) {
  TRecordBuffer record = GetActiveRecord();
  if (record == nullptr) return;
  const TDataSetState state = State();
  const bool checking = (state == dsEdit || state == dsInsert) && !qbeMode_ && !initializingRecord_;
  // A count of query hits in QBE mode counts the example as it was.
  if (qbeMode_) InvalidateRecordCount();
  if (checking) field->Validate(buffer);
  const bool isNull = buffer == nullptr ||
                      (field->DataType() == ftString && *static_cast<const char*>(buffer) == 0);
  StoreFieldValue(field, isNull, record, buffer);
  if (checking) CheckFieldConstraints(field);
  if (state != dsCalcFields && state != dsFilter && state != dsNewValue) {
    DataEvent(deFieldChange, reinterpret_cast<intptr_t>(field));
  }
}

void TOracleDataSet::StoreFieldValue(TField* field, bool isNull, TRecordBuffer record,
                                     const void* value) {
  const int offset = SlotOffset(field);
  if (offset < 0) DatabaseErrorFmt(SFieldNotFound, {field->DisplayName()}, this);
  std::byte* slot = DataSlot(record, offset);
  if (isNull) {
    slot[0] = std::byte{1};
    return;
  }
  slot[0] = std::byte{0};
  const int size = field->DataSize();
  std::memcpy(slot + 1, value, static_cast<size_t>(size));
  if (field->DataType() == ftString && size > 0) slot[size] = std::byte{0};
}

}  // namespace vorn
