// Blob values of dataset records; see DataSetBlobs.h.
#include "DataSetBlobs.h"

#include <algorithm>
#include <cstring>

#include "DataSetRecords.h"
#include "vorn/dataset/OracleDataSet.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/Field.h"

namespace vorn {

TOracleBlob* TBlobList::BlobByField(const TField* field) const {
  for (int i = 0; i < Count(); ++i) {
    TOracleBlob* blob = Items(i);
    if (blob->BlobField() == field) return blob;
  }
  return nullptr;
}

void TBlobList::Copy(const TBlobList& source) {
  Clear();
  for (int i = 0; i < source.Count(); ++i) {
    const TOracleBlob& from = *source.Items(i);
    TOracleBlob* to = Add();
    to->SetBlobField(from.BlobField());
    to->SetValue(from.Value());
  }
}

int64_t TOracleBlobStream::Read(void* buffer, int64_t count) {
  const int64_t available = Size() - position_;
  if (count <= 0 || available <= 0) return 0;
  count = std::min(count, available);
  std::memcpy(buffer, blob_->BlobData() + position_, static_cast<size_t>(count));
  position_ += count;
  return count;
}

int64_t TOracleBlobStream::Write(const void* /*buffer*/, int64_t /*count*/) {
  throw EWriteError("Stream write error");
}

int64_t TOracleBlobStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t position = offset;
  if (origin == soFromCurrent) position += position_;
  if (origin == soFromEnd) position += Size();
  if (position < 0) throw EStreamError("Invalid stream position");
  position_ = position;
  return position_;
}

// --- The dataset's blob fields ---

std::unique_ptr<TStream> TOracleDataSet::CreateBlobStream(TField* field, TBlobStreamMode mode) {
  // Writing blob values comes with record modification.
  if (mode != bmRead) return nullptr;
  TRecordBuffer record = GetActiveRecord();
  const TBlobList* blobs = record != nullptr ? HeaderOf(record).Blobs : nullptr;
  return std::make_unique<TOracleBlobStream>(blobs != nullptr ? blobs->BlobByField(field)
                                                              : nullptr);
}

void TOracleDataSet::CloseBlob(TField* field) {
  if (editBlobs_ == nullptr) return;
  if (TOracleBlob* blob = editBlobs_->BlobByField(field)) blob->Clear();
}

}  // namespace vorn
