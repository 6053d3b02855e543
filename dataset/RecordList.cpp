// The record list of a dataset; see RecordList.h.
#include "RecordList.h"

#include <algorithm>

#include "DataSetBlobs.h"
#include "DataSetRecords.h"
#include "vorn/host/Application.h"
#include "vorn/host/DbConsts.h"
#include "vorn/host/Exceptions.h"

namespace vorn {

namespace {

// No block grows beyond this, so that the room allocated ahead of the rows
// stays small against a large result.
constexpr int64_t kLargestBlockBytes = int64_t{1} << 20;

}  // namespace

TRecordDataList::TRecordDataList(int recordSize, int readBuffer, bool blobValues)
    : recordSize_(recordSize), readBuffer_(std::max(readBuffer, 1)), blobValues_(blobValues) {}

TRecordDataList::~TRecordDataList() {
  Clear();
}

void TRecordDataList::AddBlock() {
  const int64_t wanted = std::max<int64_t>(Count() / 2, readBuffer_ + 1);
  const int64_t largest = std::max<int64_t>(kLargestBlockBytes / recordSize_, readBuffer_ + 1);
  const int64_t capacity = std::min(wanted, largest);
  Block block;
  block.capacity = static_cast<int32_t>(capacity);
  block.size = static_cast<int32_t>(capacity * recordSize_);
  block.data.reset(new std::byte[static_cast<size_t>(block.size)]);
  blocks_.push_back(std::move(block));
  capacity_ += capacity;
  // The list grows with the storage, by at least a quarter, so that it
  // neither doubles ahead of the rows nor copies itself for every block.
  const size_t listCapacity = records_.capacity();
  if (listCapacity < static_cast<size_t>(capacity_)) {
    records_.reserve(std::max(static_cast<size_t>(capacity_), listCapacity + listCapacity / 4));
  }
}

TRecordBuffer TRecordDataList::ReserveSlot() {
  if (blocks_.empty() || blocks_.back().used == blocks_.back().capacity) AddBlock();
  Block& block = blocks_.back();
  return block.data.get() + static_cast<size_t>(block.used) * static_cast<size_t>(recordSize_);
}

void TRecordDataList::CountReserved(TRecordBuffer record) {
  // Only the slot ReserveSlot gave can be counted.
  if (blocks_.empty() || record != ReserveSlot()) {
    throw Exception("BUG: record list slot not reserved");
  }
  ++blocks_.back().used;
}

void TRecordDataList::Append(TRecordBuffer record) {
  CountReserved(record);
  records_.push_back(record);
}

void TRecordDataList::Insert(int visiblePosition, TRecordBuffer record, bool alsoFiltered) {
  if (visiblePosition < 0 || visiblePosition > VisibleCount()) Get(visiblePosition);
  const int fullPosition = FullIndex(visiblePosition);
  CountReserved(record);
  records_.insert(records_.begin() + fullPosition, record);
  if (alsoFiltered && filtering_) {
    if (HeaderOf(record).InFilteredList != 0) DuplicateFiltered(record);
    filtered_.insert(filtered_.begin() + visiblePosition, record);
    HeaderOf(record).InFilteredList = 1;
  }
}

void TRecordDataList::Delete(int visiblePosition, bool alsoFiltered) {
  TRecordBuffer record = Get(visiblePosition);
  records_.erase(records_.begin() + FullIndex(visiblePosition));
  if (alsoFiltered && HeaderOf(record).InFilteredList != 0) {
    filtered_.erase(std::find(filtered_.begin(), filtered_.end(), record));
    HeaderOf(record).InFilteredList = 0;
  }
  FreeBlobs(record);
}

TRecordBuffer TRecordDataList::Get(int index) const {
  if (index < 0 || index >= VisibleCount()) {
    EListError error(FormatDbMessage(SListIndexError, {index}));
    Application().ShowException(error);
    throw error;
  }
  return VisibleAt(index);
}

int TRecordDataList::FullIndex(int visibleIndex) const {
  if (!filtering_) return visibleIndex;
  if (visibleIndex >= static_cast<int>(filtered_.size())) return Count();
  const TRecordBuffer record = filtered_[static_cast<size_t>(visibleIndex)];
  return static_cast<int>(std::find(records_.begin(), records_.end(), record) - records_.begin());
}

int TRecordDataList::VisibleIndex(int fullIndex) const {
  if (!filtering_) return fullIndex;
  const TRecordBuffer record = records_[static_cast<size_t>(fullIndex)];
  if (HeaderOf(record).InFilteredList == 0) return -1;
  return static_cast<int>(std::find(filtered_.begin(), filtered_.end(), record) -
                          filtered_.begin());
}

void TRecordDataList::DuplicateFiltered(TRecordBuffer record) const {
  const auto found = std::find(filtered_.begin(), filtered_.end(), record);
  throw Exception("BUG: Duplicate record in filtered list (" +
                  std::to_string(found - filtered_.begin()) + ")");
}

void TRecordDataList::AppendFiltered(TRecordBuffer record) {
  if (HeaderOf(record).InFilteredList != 0) DuplicateFiltered(record);
  filtered_.push_back(record);
  HeaderOf(record).InFilteredList = 1;
}

void TRecordDataList::AddFiltered(TRecordBuffer record) {
  if (HeaderOf(record).InFilteredList != 0) DuplicateFiltered(record);
  auto next = std::find(records_.begin(), records_.end(), record);
  if (next != records_.end()) ++next;
  while (next != records_.end() && HeaderOf(*next).InFilteredList == 0)
    ++next;
  auto position = filtered_.end();
  if (next != records_.end()) position = std::find(filtered_.begin(), filtered_.end(), *next);
  filtered_.insert(position, record);
  HeaderOf(record).InFilteredList = 1;
}

void TRecordDataList::ClearFiltered() {
  for (TRecordBuffer record : filtered_)
    HeaderOf(record).InFilteredList = 0;
  filtered_.clear();
}

void TRecordDataList::ReplaceFiltered(const std::vector<TRecordBuffer>& records) {
  ClearFiltered();
  filtered_ = records;
  for (TRecordBuffer record : filtered_)
    HeaderOf(record).InFilteredList = 1;
}

void TRecordDataList::FreeBlobs(TRecordBuffer record) {
  TRecordHeader& header = HeaderOf(record);
  delete header.Blobs;
  header.Blobs = nullptr;
}

void TRecordDataList::Clear() {
  if (blobValues_) {
    for (TRecordBuffer record : records_)
      FreeBlobs(record);
  }
  filtered_.clear();
  filtered_.shrink_to_fit();
  records_.clear();
  records_.shrink_to_fit();
  blocks_.clear();
  capacity_ = 0;
}

size_t TRecordDataList::AllocatedBytes() const {
  size_t bytes = 0;
  for (const Block& block : blocks_)
    bytes += sizeof(Block) + static_cast<size_t>(block.size);
  bytes += records_.capacity() * sizeof(TRecordBuffer);
  bytes += filtered_.capacity() * sizeof(TRecordBuffer);
  return bytes;
}

}  // namespace vorn
