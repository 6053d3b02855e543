// TOracleDataSet: the change log of cached updates (ChangeLogItem.h): how
// posts are logged and merged, how a new result set takes the log in, and
// what field access and UpdateStatus read from it.
//
// Record numbers. An item is found by its record's number only while it is
// placed, that is, logged or met since the query last ran: numbers start
// again at every execution, and an item whose record the result set has
// not (or no longer) shown would otherwise answer for whichever record got
// its old number. An item of a detail is found only under the master
// record it was logged for (BelongsToMaster).
//
// Positions. An insert item keeps its record's index in the full record
// list, so that a new result set shows the insert where it was made. Every
// logged insert moves the inserts behind it one place on, and every logged
// delete one place back, also when the change merges into an item that
// exists already (an edited record that is then deleted still leaves the
// list).
#include <algorithm>
#include <cstring>

#include "ChangeLogItem.h"
#include "DataSetBlobs.h"
#include "DataSetRecords.h"
#include "RecordList.h"
#include "vorn/dataset/OracleDataSet.h"
#include "vorn/host/BlobFields.h"
#include "vorn/host/Field.h"
#include "vorn/query/OracleQuery.h"

namespace vorn {

namespace {

bool SameRowId(TRecordBuffer record, const std::string& rowId) {
  const TRecordHeader& header = HeaderOf(record);
  return std::strncmp(header.RecordRowId, rowId.c_str(), kRowIdSize) == 0;
}

// Whether two slots of `column` hold the same value (a string up to its
// end, whatever the slot holds behind it).
bool SameSlotValue(const TFetchField& column, const std::byte* a, const std::byte* b) {
  const bool nullA = a[0] != std::byte{0};
  const bool nullB = b[0] != std::byte{0};
  if (nullA || nullB) return nullA == nullB;
  if (column.DataType == ftString) {
    return std::strncmp(reinterpret_cast<const char*>(a + 1), reinterpret_cast<const char*>(b + 1),
                        static_cast<size_t>(column.Size) + 1) == 0;
  }
  return std::memcmp(a + 1, b + 1, static_cast<size_t>(column.Field->DataSize())) == 0;
}

std::string_view BlobValueOf(TRecordBuffer record, const TField* field) {
  const TBlobList* blobs = record != nullptr ? HeaderOf(record).Blobs : nullptr;
  const TOracleBlob* blob = blobs != nullptr ? blobs->BlobByField(field) : nullptr;
  return blob != nullptr ? blob->Value() : std::string_view();
}

}  // namespace

// --- Searches ---

bool TOracleDataSet::ItemBelongsToMaster(const TChangeLogItem& item) {
  if (master_ == nullptr || !master_->Active()) return true;
  TRecordBuffer record = item.ChangeKind == 'I' ? item.NewRecord() : item.OldRecord();
  return record != nullptr && BelongsToMaster(record);
}

TChangeLogItem* TOracleDataSet::FindChange(uint32_t recordId) {
  if (changeLog_ == nullptr) return nullptr;
  for (int i = changeLog_->Count() - 1; i >= 0; --i) {
    TChangeLogItem* item = changeLog_->Items(i);
    if (item->Placed && !item->LoggedOutsideCache && item->RecordId() == recordId &&
        ItemBelongsToMaster(*item)) {
      return item;
    }
  }
  return nullptr;
}

TChangeLogItem* TOracleDataSet::FindChangeByRowId(const std::string& rowId) {
  if (changeLog_ == nullptr || rowId.empty()) return nullptr;
  for (int i = changeLog_->Count() - 1; i >= 0; --i) {
    TChangeLogItem* item = changeLog_->Items(i);
    if (item->OldRecord() != nullptr && !item->LoggedOutsideCache &&
        SameRowId(item->OldRecord(), rowId) && ItemBelongsToMaster(*item)) {
      return item;
    }
  }
  return nullptr;
}

TChangeLogItem* TOracleDataSet::FindInsertAt(int position) {
  if (changeLog_ == nullptr) return nullptr;
  for (int i = changeLog_->Count() - 1; i >= 0; --i) {
    TChangeLogItem* item = changeLog_->Items(i);
    if (item->ChangeKind == 'I' && !item->LoggedOutsideCache && item->ListPosition == position &&
        ItemBelongsToMaster(*item)) {
      return item;
    }
  }
  return nullptr;
}

bool TOracleDataSet::UpdatesPending() const {
  return cachedUpdates_ && changeLog_ != nullptr && changeLog_->Count() > 0;
}

bool TOracleDataSet::HasChangeLogItem(TRecordBuffer record) {
  return cachedUpdates_ && record != nullptr && FindChange(HeaderOf(record).RecordId) != nullptr;
}

TRecordBuffer TOracleDataSet::LoggedOldRecord(TRecordBuffer record) {
  const TChangeLogItem* item = FindChange(HeaderOf(record).RecordId);
  return item != nullptr && item->ChangeKind != 'I' ? item->OldRecord() : nullptr;
}

TUpdateStatus TOracleDataSet::UpdateStatus() {
  if (State() == dsInsert) return usInserted;
  if (!Active() || IsEmpty()) return usUnmodified;
  if (cachedUpdates_) {
    if (const TChangeLogItem* item = FindChange(HeaderOf(ActiveBuffer()).RecordId)) {
      switch (item->ChangeKind) {
        case 'D':
          return usDeleted;
        case 'I':
          return usInserted;
        case 'U':
          return usModified;
        default:
          return usUnmodified;
      }
    }
  }
  return State() == dsEdit ? usModified : usUnmodified;
}

// --- Logging ---

std::unique_ptr<TBlobList> TOracleDataSet::LoggedBlobs(TRecordBuffer record) {
  if (!hasBlobFields_) return nullptr;
  auto blobs = std::make_unique<TBlobList>();
  for (const TFetchField& column : fetchFields_) {
    if (!column.Blob) continue;
    TOracleBlob* blob = blobs->Add();
    blob->SetBlobField(column.Field);
    const auto* blobField = dynamic_cast<const TBlobField*>(column.Field);
    const TOracleBlob* edited =
        editBlobs_ != nullptr ? editBlobs_->BlobByField(column.Field) : nullptr;
    if (blobField != nullptr && blobField->Modified() && edited != nullptr) {
      blob->SetValue(edited->Value());
    } else {
      blob->SetValue(BlobValueOf(record, column.Field));
    }
  }
  return blobs;
}

void TOracleDataSet::LogChange(TRecordBuffer oldRecord, TRecordBuffer newRecord, int position,
                               uint32_t recordId, char kind) {
  if (records_ == nullptr) return;
  // With CachedUpdates off the change has been written already; it is
  // logged only while changes of cached mode wait, for their sake.
  const bool outside = !cachedUpdates_;
  if (outside && !HasPendingChanges()) return;
  if (changeLog_ == nullptr) changeLog_ = std::make_unique<TChangeLog>();
  if (position >= 0) position = records_->FullIndex(position);
  if (oldRecord != nullptr) recordId = HeaderOf(oldRecord).RecordId;
  TChangeLogItem* item = FindChange(recordId);
  if (kind == 'I' || kind == 'D') {
    for (int i = 0; i < changeLog_->Count(); ++i) {
      TChangeLogItem* other = changeLog_->Items(i);
      if (other == item || other->ChangeKind != 'I' || other->LoggedOutsideCache ||
          !ItemBelongsToMaster(*other)) {
        continue;
      }
      if (kind == 'I' && other->ListPosition >= position) ++other->ListPosition;
      if (kind == 'D' && other->ListPosition > position) --other->ListPosition;
    }
  }
  if (item != nullptr) {
    const char logged = item->ChangeKind;
    if (outside && logged == 'U' && kind == 'U') {
      FoldWrittenUpdate(*item, oldRecord, newRecord);
    } else if (outside && logged == 'U' && kind == 'D') {
      // The row is gone: nothing of the update is left to write.
      item->FreeNewRecord();
      item->ChangeKind = 'D';
      item->LoggedOutsideCache = true;
    } else if ((logged == 'I' || logged == 'U') && kind == 'U') {
      item->SetNewRecord(newRecord, bufferSize_, LoggedBlobs(newRecord));
    } else if (logged == 'I' && kind == 'D') {
      changeLog_->Delete(item->Index());
    } else if (logged == 'U' && kind == 'D') {
      item->FreeNewRecord();
      item->ChangeKind = 'D';
    }
  } else {
    item = changeLog_->Add();
    if (oldRecord != nullptr) item->SetOldRecord(oldRecord, bufferSize_);
    if (newRecord != nullptr) item->SetNewRecord(newRecord, bufferSize_, LoggedBlobs(newRecord));
    item->ChangeKind = kind;
    item->SetRecordId(recordId);
    item->ListPosition = position;
    item->LoggedOutsideCache = outside;
  }
  if (!HasPendingChanges()) changeLog_->Clear();
}

bool TOracleDataSet::HasPendingChanges() const {
  if (changeLog_ == nullptr) return false;
  for (int i = 0; i < changeLog_->Count(); ++i) {
    if (!changeLog_->Items(i)->LoggedOutsideCache) return true;
  }
  return false;
}

void TOracleDataSet::FoldWrittenUpdate(TChangeLogItem& item, TRecordBuffer oldRecord,
                                       TRecordBuffer newRecord) {
  // The UPDATE wrote the fields that differ between the record as it showed
  // (the logged new values) and as it was posted: the row now holds those,
  // so the item's old copy takes them too. Applying then checks the row
  // against what it holds and writes only what is still the log's own.
  TRecordBuffer old = item.OldRecord();
  for (const TFetchField& column : fetchFields_) {
    if (column.Blob) {
      const std::string_view before = BlobValueOf(oldRecord, column.Field);
      const auto* blobField = dynamic_cast<const TBlobField*>(column.Field);
      if (blobField == nullptr || !blobField->Modified()) continue;
      const TOracleBlob* edited = editBlobs_->BlobByField(column.Field);
      const std::string_view after = edited != nullptr ? edited->Value() : std::string_view();
      TBlobList* blobs = HeaderOf(old).Blobs;
      TOracleBlob* logged = blobs != nullptr ? blobs->BlobByField(column.Field) : nullptr;
      if (logged != nullptr && before != after) logged->SetValue(after);
      continue;
    }
    const std::byte* before = oldRecord + column.SlotOffset;
    const std::byte* after = newRecord + column.SlotOffset;
    if (SameSlotValue(column, before, after)) continue;
    std::memcpy(old + column.SlotOffset, after, static_cast<size_t>(column.Field->DataSize()) + 1);
  }
  item.SetNewRecord(newRecord, bufferSize_, LoggedBlobs(newRecord));
}

void TOracleDataSet::ClearChangeLog() {
  if (changeLog_ != nullptr) changeLog_->Clear();
}

// --- Fetching ---

void TOracleDataSet::MarkChangeLogUnplaced() {
  if (changeLog_ == nullptr) return;
  for (int i = 0; i < changeLog_->Count(); ++i)
    changeLog_->Items(i)->Placed = false;
}

bool TOracleDataSet::LoggedInsertsRemain() {
  if (changeLog_ == nullptr || (HasMaster() && !MasterHasUsableRecord())) return false;
  for (int i = 0; i < changeLog_->Count(); ++i) {
    const TChangeLogItem& item = *changeLog_->Items(i);
    if (item.ChangeKind == 'I' && !item.Placed && !item.LoggedOutsideCache &&
        ItemBelongsToMaster(item)) {
      return true;
    }
  }
  return false;
}

TOracleDataSet::TLogMerge TOracleDataSet::MergeLoggedInsert(TRecordBuffer record) {
  if (changeLog_ == nullptr || changeLog_->Count() == 0) return TLogMerge::None;
  if (HasMaster() && !MasterHasUsableRecord()) return TLogMerge::None;
  TChangeLogItem* candidate = nullptr;
  if (fetchQuery_->Eof()) {
    // The rows are all in: the remaining inserts follow them, oldest first.
    for (int i = 0; i < changeLog_->Count() && candidate == nullptr; ++i) {
      TChangeLogItem* item = changeLog_->Items(i);
      if (item->ChangeKind == 'I' && !item->Placed && !item->LoggedOutsideCache &&
          ItemBelongsToMaster(*item)) {
        candidate = item;
      }
    }
  } else {
    TChangeLogItem* item = FindInsertAt(records_->Count());
    if (item != nullptr && !item->Placed) candidate = item;
  }
  if (candidate == nullptr) return TLogMerge::None;
  candidate->RestoreNewRecord(record, bufferSize_);
  if (CalcFieldsSize() > 0) ClearCalcFields(record);
  records_->Append(record);
  TRecordHeader& header = HeaderOf(record);
  header.BookmarkFlag = bfCurrent;
  header.RecordId = ++nextRecordId_;
  candidate->SetRecordId(header.RecordId);
  candidate->ListPosition = records_->Count() - 1;
  candidate->Placed = true;
  bool visible = true;
  if (Filtered()) {
    visible = FilterRecord(record);
    if (visible) records_->AppendFiltered(record);
  }
  if (!visible) return TLogMerge::Hidden;
  if (records_->VisibleCount() == 1) NotifyMaster();
  return TLogMerge::Shown;
}

bool TOracleDataSet::SkipLoggedRow(TRecordBuffer record) {
  if (changeLog_ == nullptr || changeLog_->Count() == 0) return false;
  TChangeLogItem* item = FindChangeByRowId(RecordRowIdOf(record));
  if (item == nullptr) return false;
  item->Placed = true;
  if (item->ChangeKind == 'D') {
    // The number no record of this result set will have.
    item->SetRecordId(++nextRecordId_);
    return true;
  }
  if (item->ChangeKind == 'U') {
    item->RestoreNewRecord(record, bufferSize_);
    if (CalcFieldsSize() > 0) ClearCalcFields(record);
    // FetchRecord appends the record next, with the next number.
    item->SetRecordId(nextRecordId_ + 1);
    item->ListPosition = records_->Count();
  }
  return false;
}

// --- Field access while the log is applied ---

bool TOracleDataSet::ApplyingChangeLog() const {
  return applying_ && changeLog_ != nullptr && applyIndex_ >= 0 &&
         applyIndex_ < changeLog_->Count();
}

TRecordBuffer TOracleDataSet::ApplyingRecord(TDataSetState state) const {
  if (!ApplyingChangeLog()) return nullptr;
  const TChangeLogItem& item = *changeLog_->Items(applyIndex_);
  switch (state) {
    case dsBrowse:
    case dsCurValue:
      return item.ChangeKind == 'D' ? item.OldRecord() : item.NewRecord();
    case dsOldValue:
      return item.OldRecord();
    case dsNewValue:
      return ApplyingPlaced() ? nullptr : item.NewRecord();
    default:
      return nullptr;
  }
}

char TOracleDataSet::ApplyingKind() const {
  return ApplyingChangeLog() ? changeLog_->Items(applyIndex_)->ChangeKind : ' ';
}

bool TOracleDataSet::ApplyingPlaced() const {
  return ApplyingChangeLog() && changeLog_->Items(applyIndex_)->Placed && applyingVisible_;
}

bool TOracleDataSet::LoggedBlobModified(TField* field) const {
  if (!ApplyingChangeLog()) return false;
  // The value before the change is the one the row holds in the database;
  // the stored record shows the new value already.
  const TChangeLogItem& item = *changeLog_->Items(applyIndex_);
  return BlobValueOf(item.NewRecord(), field) != BlobValueOf(item.OldRecord(), field);
}

}  // namespace vorn
