// TOracleDataSet: writing the change log to the database (ApplyUpdates),
// and ending it (CommitUpdates, CancelUpdates). See the declarations in
// OracleDataSet.h for the order and the transaction.
//
// Each item is written by the record routines of RecordUpdater.cpp in their
// applying mode: applying_ and applyIndex_ name the item, field access
// reads its record copies (ChangeLog.cpp), PostRecord writes an insert or
// an update and InternalDelete a delete, without logging and without
// touching the record list (but for the rowid a written insert gives its
// record, and a refresh after writing). Their own savepoint and commit do
// nothing in cached mode, so the apply alone decides the transaction:
//
//   1. the savepoint ZUQ__APPLYPOINT (a rollback of the whole transaction
//      on the ODBC route without savepoints);
//   2. every item, in order;
//   3. Commit, with CommitOnPost or the session's AutoCommit (which is off
//      meanwhile, so that no statement commits on its own);
//   4. only then the items leave the log.
//
// A failure in 2 or 3 rolls back to the savepoint, and puts back the rowids
// and refreshed values the records and the items had taken, so that the
// log and the records are exactly as before.
#include <algorithm>
#include <cstring>
#include <exception>
#include <utility>
#include <vector>

#include "ChangeLogItem.h"
#include "DataSetRecords.h"
#include "RecordList.h"
#include "vorn/dataset/OracleDataSet.h"
#include "vorn/host/Exceptions.h"
#include "vorn/session/OracleSession.h"

namespace vorn {

namespace {

constexpr const char* kApplyPoint = "ZUQ__APPLYPOINT";

// The stored record of `id` in the full list; nullptr when it is not there.
TRecordBuffer StoredRecord(const TRecordDataList& records, uint32_t id) {
  for (int i = 0; i < records.Count(); ++i) {
    if (HeaderOf(records.Records(i)).RecordId == id) return records.Records(i);
  }
  return nullptr;
}

TBookmark BookmarkOf(uint32_t id) {
  TBookmark bookmark(sizeof id);
  std::memcpy(bookmark.data(), &id, sizeof id);
  return bookmark;
}

// What applying may change outside the database: the records' bytes
// (rowids, refreshed values) and the rowids inserts write into their new
// copies. Blob values are never changed by applying.
class ApplySnapshot {
 public:
  void Keep(TRecordBuffer record, int size) {
    if (record == nullptr) return;
    saved_.emplace_back(record, std::vector<std::byte>(record, record + size));
  }
  void Restore() const {
    for (const auto& [record, bytes] : saved_)
      std::memcpy(record, bytes.data(), bytes.size());
  }

 private:
  std::vector<std::pair<TRecordBuffer, std::vector<std::byte>>> saved_;
};

}  // namespace

// --- Which items, in which order ---

std::vector<int> TOracleDataSet::ItemsToApply() {
  std::vector<int> order;
  if (changeLog_ == nullptr) return order;
  std::vector<bool> own(static_cast<size_t>(changeLog_->Count()));
  for (int i = 0; i < changeLog_->Count(); ++i) {
    const TChangeLogItem& item = *changeLog_->Items(i);
    own[static_cast<size_t>(i)] = !item.LoggedOutsideCache && ItemBelongsToMaster(item);
  }
  // Deletes and updates give up keys that inserts (and later updates) may
  // take again; within a kind the log's order keeps a parent row before
  // the rows that refer to it.
  for (char kind : {'D', 'U', 'I'}) {
    for (int i = 0; i < changeLog_->Count(); ++i) {
      if (own[static_cast<size_t>(i)] && changeLog_->Items(i)->ChangeKind == kind) {
        order.push_back(i);
      }
    }
  }
  return order;
}

void TOracleDataSet::PositionOnItem(const TChangeLogItem& item) {
  applyingVisible_ = false;
  if (!item.Placed || item.ChangeKind == 'D') return;
  const uint32_t id = item.RecordId();
  for (int i = 0; i < records_->VisibleCount(); ++i) {
    if (HeaderOf(records_->VisibleAt(i)).RecordId == id) {
      currentRecord_ = i;
      applyingVisible_ = true;
      return;
    }
  }
}

// --- Applying one item ---

void TOracleDataSet::ApplyItem(int index) {
  TChangeLogItem& item = *changeLog_->Items(index);
  PositionOnItem(item);
  struct ApplyingFrame {
    TOracleDataSet& dataSet;
    ~ApplyingFrame() {
      dataSet.applying_ = false;
      dataSet.applyIndex_ = -1;
      dataSet.applyingVisible_ = false;
    }
  } frame{*this};
  applyIndex_ = index;
  applying_ = true;
  if (item.ChangeKind == 'D') {
    InternalDelete();
    return;
  }
  PostRecord();
  if (item.ChangeKind == 'I' && item.Placed && item.NewRecord() != nullptr) {
    // A record the filter hides gets its rowid here; a visible one got it
    // from PostRecord already.
    if (TRecordBuffer stored = StoredRecord(*records_, item.RecordId())) {
      std::memcpy(HeaderOf(stored).RecordRowId, HeaderOf(item.NewRecord()).RecordRowId, kRowIdSize);
    }
  }
}

// --- Applying the log ---

bool TOracleDataSet::ApplyUpdates() {
  CheckActive();
  if (qbeMode_) throw Exception("Operation not allowed in QBE mode");
  CheckBrowseMode();
  // The rows the query has not given yet were read before the apply: once
  // the log is cleared, nothing would hide or replace them any more.
  FetchAll();
  const std::vector<int> order = ItemsToApply();
  if (order.empty()) {
    CommitUpdates();
    return true;
  }
  TOracleSession* session = Session();
  if (session == nullptr) throw Exception("Session undefined");

  ApplySnapshot snapshot;
  for (int index : order) {
    const TChangeLogItem& item = *changeLog_->Items(index);
    if (item.ChangeKind == 'I') snapshot.Keep(item.NewRecord(), bufferSize_);
    if (item.Placed && item.ChangeKind != 'D') {
      snapshot.Keep(StoredRecord(*records_, item.RecordId()), bufferSize_);
    }
  }
  const uint32_t current = IsEmpty() ? 0 : HeaderOf(ActiveBuffer()).RecordId;
  const int savedRecord = currentRecord_;
  const bool autoCommit = session->AutoCommit();
  const bool savepoints = !session->TakesODBCRoute() || session->OCAInstalled();
  const bool cached = cachedUpdates_;

  int failing = -1;
  std::exception_ptr failure;
  DisableControls();
  // The record routines take the applying mode as cached updates know it,
  // whatever CachedUpdates says now.
  cachedUpdates_ = true;
  try {
    if (autoCommit) session->SetAutoCommit(false);
    if (savepoints) session->Savepoint(kApplyPoint);
    for (int index : order) {
      failing = index;
      ApplyItem(index);
    }
    failing = -1;
    if (commitOnPost_ || autoCommit) session->Commit();
  } catch (...) {
    failure = std::current_exception();
    try {
      if (savepoints) {
        session->RollbackToSavepoint(kApplyPoint);
      } else {
        session->Rollback();
      }
    } catch (const Exception&) {
      // The savepoint is gone with a failed commit: the whole transaction
      // goes back.
      try {
        session->Rollback();
      } catch (const Exception&) {
        // The apply's own failure says more.
      }
    }
    snapshot.Restore();
  }
  cachedUpdates_ = cached;
  try {
    if (autoCommit) session->SetAutoCommit(true);
  } catch (const Exception&) {
    if (failure == nullptr) failure = std::current_exception();
  }
  currentRecord_ = savedRecord;
  EnableControls();

  if (failure == nullptr) {
    CommitUpdates();
    if (current != 0) GotoBookmark(BookmarkOf(current));
    return true;
  }
  Resync(rmNone);
  if (failing < 0) std::rethrow_exception(failure);
  const TChangeLogItem& item = *changeLog_->Items(failing);
  const char action = item.ChangeKind;
  const uint32_t recordId = item.RecordId();
  if (item.Placed && action != 'D' && StoredRecord(*records_, recordId) != nullptr) {
    const int visible = records_->VisibleCount();
    for (int i = 0; i < visible; ++i) {
      if (HeaderOf(records_->VisibleAt(i)).RecordId == recordId) {
        GotoBookmark(BookmarkOf(recordId));
        break;
      }
    }
  }
  bool raise = true;
  if (onUpdateError_) {
    std::string message;
    try {
      std::rethrow_exception(failure);
    } catch (const Exception& error) {
      message = error.Message();
    } catch (...) {
      // Not a failure of the record: it is raised as it is.
      throw;
    }
    onUpdateError_(this, message, action, recordId, raise);
  }
  if (raise) std::rethrow_exception(failure);
  return false;
}

// --- Ending the log ---

void TOracleDataSet::DropOwnItems() {
  if (changeLog_ == nullptr) return;
  std::vector<bool> own(static_cast<size_t>(changeLog_->Count()));
  for (int i = 0; i < changeLog_->Count(); ++i)
    own[static_cast<size_t>(i)] = ItemBelongsToMaster(*changeLog_->Items(i));
  for (int i = changeLog_->Count() - 1; i >= 0; --i) {
    if (own[static_cast<size_t>(i)]) changeLog_->Delete(i);
  }
}

void TOracleDataSet::CommitUpdates() {
  if (Active()) FetchAll();
  DropOwnItems();
}

void TOracleDataSet::CancelUpdates() {
  if (!Active()) {
    ClearChangeLog();
    return;
  }
  if (State() == dsEdit || State() == dsInsert) Cancel();
  DropOwnItems();
  Refresh();
}

}  // namespace vorn
