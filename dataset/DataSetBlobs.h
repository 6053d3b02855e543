// The values of a dataset's blob and memo fields, which live beside the
// record rather than in its data area.
//
// TOracleBlob holds one value's bytes (none when empty: a value of size 0
// is empty) and the field it belongs to. TBlobList holds one TOracleBlob
// per blob field of a record, in field order. A stored record of the
// record list owns its list through the Blobs reference of its header
// (DataSetRecords.h), made when the record is fetched and freed when the
// record leaves the list or the list is cleared; record buffers handed to
// the framework share the stored record's list and never own it.
//
// TOracleBlobStream reads a field's value in the record that field access
// addresses (the dataset's GetActiveRecord). Writing values comes with
// record modification, which the dataset does not build yet: the dataset
// gives no stream for writing, and the framework's blob fields then refuse
// the value with "Field '<name>' cannot be modified".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "vorn/host/Collection.h"
#include "vorn/host/Stream.h"

namespace vorn {

class TField;

class TOracleBlob : public TCollectionItem {
  VORN_CLASS(TOracleBlob, TCollectionItem)
  explicit TOracleBlob(TCollection* collection) : TCollectionItem(collection) {}

  const uint8_t* BlobData() const {
    return blobData_.empty() ? nullptr : reinterpret_cast<const uint8_t*>(blobData_.data());
  }
  int32_t BlobSize() const { return static_cast<int32_t>(blobData_.size()); }
  TField* BlobField() const { return blobField_; }
  void SetBlobField(TField* field) { blobField_ = field; }

  // Replaces the value (an empty text empties it).
  void SetValue(std::string value) { blobData_ = std::move(value); }
  void SetValue(std::string_view value) { blobData_.assign(value); }
  std::string_view Value() const { return blobData_; }
  void Clear() { std::string().swap(blobData_); }

 private:
  std::string blobData_;
  TField* blobField_ = nullptr;
};

class TBlobList : public TTypedCollection<TOracleBlob> {
  VORN_CLASS(TBlobList, TCollection)
  TBlobList() = default;

  // The value of `field`; nullptr when the list has none.
  TOracleBlob* BlobByField(const TField* field) const;
  // Replaces the list with copies of `source`'s values.
  void Copy(const TBlobList& source);
};

// A read-only stream over one value, or over nothing (reads give no bytes).
class TOracleBlobStream : public TStream {
  VORN_CLASS(TOracleBlobStream, TStream)
  explicit TOracleBlobStream(const TOracleBlob* blob) : blob_(blob) {}

  int64_t Read(void* buffer, int64_t count) override;
  // Raises EWriteError: the stream only reads.
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return blob_ != nullptr ? blob_->BlobSize() : 0; }

 private:
  const TOracleBlob* blob_;
  int64_t position_ = 0;
};

}  // namespace vorn
