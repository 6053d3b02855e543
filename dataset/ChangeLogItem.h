// The change log of a TOracleDataSet in cached mode: one TChangeLogItem per
// record whose posted insert, update or delete has not been written to the
// database yet (ChangeLog.cpp logs, merges and searches them; ApplyUpdates.cpp
// writes them).
//
// An item owns two copies of whole record buffers (DataSetRecords.h) with
// their own TBlobList: the record before the change (none for an insert)
// and after it (none for a delete). The item's record number is the old
// copy's RecordId, else the new copy's; setting it sets both. A copy never
// counts as filtered in, whatever the record it was taken from.
#pragma once

#include <cstdint>
#include <memory>

#include "DataSetBlobs.h"
#include "vorn/host/Collection.h"
#include "vorn/host/DataSetTypes.h"

namespace vorn {

class TChangeLogItem : public TCollectionItem {
  VORN_CLASS(TChangeLogItem, TCollectionItem)
  explicit TChangeLogItem(TCollection* collection) : TCollectionItem(collection) {}
  ~TChangeLogItem() override;

  // 'I' insert, 'U' update, 'D' delete.
  char ChangeKind = ' ';
  // For an insert: the record's index in the dataset's full record list.
  int ListPosition = -1;
  // The change was posted while CachedUpdates was off: it has been written
  // to the database already and is never applied.
  bool LoggedOutsideCache = false;
  // The item has been matched to a record of the current result set.
  bool Placed = true;

  TRecordBuffer OldRecord() const { return oldRecord_.get(); }
  TRecordBuffer NewRecord() const { return newRecord_.get(); }
  // Replaces the old copy by a copy of `source` (`size` bytes) with a copy
  // of its blob values; the item takes the source's record number.
  void SetOldRecord(TRecordBuffer source, int size);
  // Replaces the new copy by a copy of `source` holding `blobs` (or none);
  // the item takes the source's record number.
  void SetNewRecord(TRecordBuffer source, int size, std::unique_ptr<TBlobList> blobs);
  void FreeNewRecord();
  // Copies the new copy over `target` (`size` bytes) but for its RecordId
  // and its place in the filtered list; `target` gets its own copy of the
  // blob values (its previous ones are freed).
  void RestoreNewRecord(TRecordBuffer target, int size) const;

  uint32_t RecordId() const;
  void SetRecordId(uint32_t id);

 private:
  struct FreeCopy {
    void operator()(std::byte* record) const;
  };
  using Copy = std::unique_ptr<std::byte[], FreeCopy>;
  static Copy CopyOf(TRecordBuffer source, int size);

  Copy oldRecord_;
  Copy newRecord_;
};

class TChangeLog : public TTypedCollection<TChangeLogItem> {
 public:
  TChangeLog() = default;
};

}  // namespace vorn
