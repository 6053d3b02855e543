// TChangeLogItem: the record copies of one change log item. See
// ChangeLogItem.h.
#include "ChangeLogItem.h"

#include <cstring>

#include "DataSetRecords.h"

namespace vorn {

void TChangeLogItem::FreeCopy::operator()(std::byte* record) const {
  delete HeaderOf(record).Blobs;
  delete[] record;
}

TChangeLogItem::~TChangeLogItem() = default;

TChangeLogItem::Copy TChangeLogItem::CopyOf(TRecordBuffer source, int size) {
  Copy copy(new std::byte[static_cast<size_t>(size)]);
  std::memcpy(copy.get(), source, static_cast<size_t>(size));
  TRecordHeader& header = HeaderOf(copy.get());
  header.Blobs = nullptr;
  header.InFilteredList = 0;
  return copy;
}

void TChangeLogItem::SetOldRecord(TRecordBuffer source, int size) {
  Copy copy = CopyOf(source, size);
  if (const TBlobList* blobs = HeaderOf(source).Blobs) {
    auto own = std::make_unique<TBlobList>();
    own->Copy(*blobs);
    HeaderOf(copy.get()).Blobs = own.release();
  }
  oldRecord_ = std::move(copy);
  SetRecordId(HeaderOf(source).RecordId);
}

void TChangeLogItem::SetNewRecord(TRecordBuffer source, int size,
                                  std::unique_ptr<TBlobList> blobs) {
  Copy copy = CopyOf(source, size);
  HeaderOf(copy.get()).Blobs = blobs.release();
  newRecord_ = std::move(copy);
  SetRecordId(HeaderOf(source).RecordId);
}

void TChangeLogItem::FreeNewRecord() {
  newRecord_.reset();
}

void TChangeLogItem::RestoreNewRecord(TRecordBuffer target, int size) const {
  if (newRecord_ == nullptr) return;
  TRecordHeader& header = HeaderOf(target);
  const uint32_t id = header.RecordId;
  const uint8_t filtered = header.InFilteredList;
  delete header.Blobs;
  std::memcpy(target, newRecord_.get(), static_cast<size_t>(size));
  header.RecordId = id;
  header.InFilteredList = filtered;
  header.Blobs = nullptr;
  if (const TBlobList* blobs = HeaderOf(newRecord_.get()).Blobs) {
    header.Blobs = new TBlobList;
    header.Blobs->Copy(*blobs);
  }
}

uint32_t TChangeLogItem::RecordId() const {
  if (oldRecord_ != nullptr) return HeaderOf(oldRecord_.get()).RecordId;
  if (newRecord_ != nullptr) return HeaderOf(newRecord_.get()).RecordId;
  return static_cast<uint32_t>(-1);
}

void TChangeLogItem::SetRecordId(uint32_t id) {
  if (oldRecord_ != nullptr) HeaderOf(oldRecord_.get()).RecordId = id;
  if (newRecord_ != nullptr) HeaderOf(newRecord_.get()).RecordId = id;
}

}  // namespace vorn
