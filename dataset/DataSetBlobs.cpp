// Blob values of dataset records; see DataSetBlobs.h.
#include "DataSetBlobs.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

#include "DataSetRecords.h"
#include "vorn/dataset/OracleDataSet.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/Application.h"
#include "vorn/host/BlobFields.h"
#include "vorn/host/DbConsts.h"
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

void TOracleBlob::WriteAt(size_t position, const void* data, size_t count) {
  if (position + count > blobData_.size()) blobData_.resize(position + count);
  if (count > 0) std::memcpy(blobData_.data() + position, data, count);
}

// --- TOracleBlobStream ---

TOracleBlobStream::TOracleBlobStream(TField* field, TBlobStreamMode mode, TOracleDataSet* dataSet)
    : field_(field), dataSet_(dataSet), mode_(mode) {
  record_ = dataSet->GetActiveRecord();
  if (record_ == nullptr) return;
  const auto* blobField = dynamic_cast<const TBlobField*>(field);
  const bool modified = blobField != nullptr && blobField->Modified();
  TBlobList* recordBlobs = HeaderOf(record_).Blobs;
  TOracleBlob* own = recordBlobs != nullptr ? recordBlobs->BlobByField(field) : nullptr;
  if (modified || mode != bmRead) {
    blob_ = dataSet->editBlobs_ != nullptr ? dataSet->editBlobs_->BlobByField(field) : nullptr;
  } else {
    blob_ = own;
  }
  if (!modified && mode != bmRead) {
    const TDataSetState state = dataSet->State();
    if (state != dsEdit && state != dsInsert) DatabaseError(SNotEditing, dataSet);
    // A read-write stream goes on from the record's value, not from what an
    // earlier edit left behind.
    if (mode == bmReadWrite && blob_ != nullptr) {
      blob_->SetValue(own != nullptr ? own->Value() : std::string_view());
    }
  }
  opened_ = true;
  if (mode == bmWrite) Truncate();
}

TOracleBlobStream::~TOracleBlobStream() {
  if (!written_) return;
  if (opened_) {
    if (auto* blobField = dynamic_cast<TBlobField*>(field_)) blobField->SetModified(true);
  }
  try {
    dataSet_->DataEvent(deFieldChange, reinterpret_cast<intptr_t>(field_));
  } catch (...) {
    Application().HandleException(std::current_exception(), dataSet_);
  }
}

int64_t TOracleBlobStream::Read(void* buffer, int64_t count) {
  if (!opened_) return 0;
  const int64_t available = Size() - position_;
  if (count <= 0 || available <= 0) return 0;
  count = std::min(count, available);
  std::memcpy(buffer, blob_->BlobData() + position_, static_cast<size_t>(count));
  position_ += count;
  return count;
}

int64_t TOracleBlobStream::Write(const void* buffer, int64_t count) {
  if (!opened_ || blob_ == nullptr || count <= 0) return 0;
  // Sizes are 32-bit, as the value's BlobSize.
  if (position_ < 0 || position_ + count > INT32_MAX) throw EWriteError("Stream write error");
  blob_->WriteAt(static_cast<size_t>(position_), buffer, static_cast<size_t>(count));
  position_ += count;
  written_ = true;
  return count;
}

int64_t TOracleBlobStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t position = offset;
  if (origin == soFromCurrent) position += position_;
  if (origin == soFromEnd) position += Size();
  if (position < 0) throw EStreamError("Invalid stream position");
  position_ = position;
  return position_;
}

void TOracleBlobStream::Truncate() {
  if (!opened_) return;
  position_ = 0;
  if (blob_ != nullptr) blob_->Clear();
  written_ = true;
}

void TOracleBlobStream::SetSize(int64_t size) {
  if (!opened_) return;
  if (size <= 0) {
    Truncate();
    return;
  }
  if (size > INT32_MAX) throw EStreamError("Stream write error");
  if (blob_ != nullptr) {
    if (size < blob_->BlobSize()) {
      blob_->Truncate(static_cast<size_t>(size));
    } else {
      blob_->WriteAt(static_cast<size_t>(size), nullptr, 0);
    }
  }
  position_ = std::min(position_, size);
  written_ = true;
}

// --- The dataset's blob fields ---

std::unique_ptr<TStream> TOracleDataSet::CreateBlobStream(TField* field, TBlobStreamMode mode) {
  return std::make_unique<TOracleBlobStream>(field, mode, this);
}

void TOracleDataSet::CloseBlob(TField* field) {
  if (editBlobs_ == nullptr) return;
  if (TOracleBlob* blob = editBlobs_->BlobByField(field)) blob->Clear();
}

}  // namespace vorn
