// TRecordDataList: the records a TOracleDataSet has fetched, in display
// order (the full list), the records among them that pass the dataset's
// filter (the filtered list, in the same relative order, each at most
// once), and the blocks that store them.
//
// Storage. Records live in blocks of whole records, BufferSize bytes each
// (DataSetRecords.h). A block is allocated when the last one is full, for
// the larger of half the records held and ReadBuffer + 1 records, so that a
// large result costs few allocations; no block grows beyond 1 MiB (or one
// ReadBuffer of records, if that is more), which keeps the room allocated
// ahead of the rows within a few per cent of what they use. A slot is
// reserved (ReserveSlot) before it is filled and counted only when it
// joins the list, so a row that is not kept leaves its slot to the next.
// Removing a record from the list never frees or moves storage: records
// stay where they are until the whole list is cleared, and a record's
// address is valid as long as the list is not cleared.
//
// Visible records. While filtering (the dataset's Filtered), the visible
// records are the filtered list; otherwise the full list. Visible indexes
// address them; FullIndex and VisibleIndex map between the two.
//
// Blob values. A stored record owns the TBlobList its header names; Delete
// and Clear free it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "vorn/host/DataSetTypes.h"

namespace vorn {

class TRecordDataList {
 public:
  // `recordSize` is BufferSize (a multiple of 8); `readBuffer` the
  // dataset's ReadBuffer. Without `blobValues` (a dataset without blob
  // fields) no record has blob values, and Clear does not look for them.
  TRecordDataList(int recordSize, int readBuffer, bool blobValues = true);
  ~TRecordDataList();
  TRecordDataList(const TRecordDataList&) = delete;
  TRecordDataList& operator=(const TRecordDataList&) = delete;

  int RecordSize() const { return recordSize_; }

  // The next free slot, not yet counted; the same slot until a record is
  // added.
  TRecordBuffer ReserveSlot();
  // Counts the reserved slot `record` and appends it to the full list.
  void Append(TRecordBuffer record);
  // Counts the reserved slot `record` and inserts it into the full list
  // before the visible record at `visiblePosition` (at the end when that is
  // the visible count); with `alsoFiltered`, while filtering, also into the
  // filtered list at that position.
  void Insert(int visiblePosition, TRecordBuffer record, bool alsoFiltered);
  // Removes the visible record at `visiblePosition` from the full list and,
  // with `alsoFiltered`, from the filtered list, and frees its blob values.
  // Its storage stays allocated.
  void Delete(int visiblePosition, bool alsoFiltered);

  // Records in the full list.
  int Count() const { return static_cast<int>(records_.size()); }
  TRecordBuffer Records(int fullIndex) const { return records_[static_cast<size_t>(fullIndex)]; }
  int VisibleCount() const {
    return static_cast<int>(filtering_ ? filtered_.size() : records_.size());
  }
  // The visible record at `index`, unchecked.
  TRecordBuffer VisibleAt(int index) const {
    return filtering_ ? filtered_[static_cast<size_t>(index)]
                      : records_[static_cast<size_t>(index)];
  }
  // The visible record at `index`; outside the visible records the list
  // index error "List index out of bounds (index)" is shown and raised.
  TRecordBuffer Get(int index) const;
  // The full index of the visible record at `visibleIndex`; the full count
  // for the visible count.
  int FullIndex(int visibleIndex) const;
  // The visible index of the record at `fullIndex`; -1 when it is filtered
  // out.
  int VisibleIndex(int fullIndex) const;

  bool Filtering() const { return filtering_; }
  void SetFiltering(bool filtering) { filtering_ = filtering; }
  // Appends `record` (of the full list) to the filtered list.
  void AppendFiltered(TRecordBuffer record);
  // Puts `record` (of the full list) into the filtered list before the next
  // record that follows it in the full list and is filtered in already, or
  // at the end.
  void AddFiltered(TRecordBuffer record);
  void ClearFiltered();
  // Makes `records` (of the full list, in its order) the filtered list.
  void ReplaceFiltered(const std::vector<TRecordBuffer>& records);

  // Frees every record's blob values, then all storage and both lists.
  void Clear();

  // Bytes held: the blocks and the two lists' capacity.
  size_t AllocatedBytes() const;

 private:
  struct Block {
    int32_t capacity = 0;
    int32_t used = 0;
    int32_t size = 0;
    std::unique_ptr<std::byte[]> data;
  };

  void AddBlock();
  void CountReserved(TRecordBuffer record);
  // Raises the internal error for a record filtered in twice.
  [[noreturn]] void DuplicateFiltered(TRecordBuffer record) const;
  static void FreeBlobs(TRecordBuffer record);

  int recordSize_;
  int readBuffer_;
  bool blobValues_;
  std::vector<Block> blocks_;
  // Records held in all blocks (the full list may hold fewer).
  int64_t capacity_ = 0;
  std::vector<TRecordBuffer> records_;
  std::vector<TRecordBuffer> filtered_;
  bool filtering_ = false;
};

}  // namespace vorn
