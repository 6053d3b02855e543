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
// FEditBlobs, one TBlobList of the dataset (made at open, freed at close),
// holds the values of the blob fields of the record being edited or
// inserted. A blob field marked Modified (the framework's flag, set when a
// stream that wrote is freed) reads and posts its value there; CloseBlob,
// called by the framework for each Modified field when an edit ends,
// empties it.
//
// TOracleBlobStream works directly on one TOracleBlob, without copying it:
//   bmRead       the record's own value, or the edited one of a Modified
//                field;
//   bmWrite      the edited value, emptied at once;
//   bmReadWrite  the edited value, which starts as the record's own when
//                the field is not Modified yet (so that writing into the
//                middle of a value, or appending to it, keeps the rest).
// A stream for writing needs the edit or insert state, unless the field is
// Modified already ("Dataset not in edit or insert mode"). Without an
// active record the stream is empty and moves no bytes. Reading past the
// end gives nothing; writing past it grows the value (zero bytes fill a
// gap). Freeing a stream that wrote marks the field Modified and tells the
// framework the field changed (an exception raised there goes to the
// application's exception handler, not to the code freeing the stream).
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "vorn/host/Collection.h"
#include "vorn/host/DataSetTypes.h"
#include "vorn/host/Stream.h"

namespace vorn {

class TField;
class TOracleDataSet;

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
  // Writes `count` bytes at `position`, growing the value (zero bytes fill
  // a gap past its end).
  void WriteAt(size_t position, const void* data, size_t count);
  // Keeps the first `size` bytes.
  void Truncate(size_t size) { blobData_.resize(std::min(size, blobData_.size())); }
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

class TOracleBlobStream : public TStream {
  VORN_CLASS(TOracleBlobStream, TStream)
  // A stream on `field`'s value in the record `dataSet`'s field access
  // addresses; see above for `mode`.
  TOracleBlobStream(TField* field, TBlobStreamMode mode, TOracleDataSet* dataSet);
  ~TOracleBlobStream() override;
  TOracleBlobStream(const TOracleBlobStream&) = delete;
  TOracleBlobStream& operator=(const TOracleBlobStream&) = delete;

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return opened_ && blob_ != nullptr ? blob_->BlobSize() : 0; }
  // Truncates at the position: to empty at 0.
  void SetSize(int64_t size) override;
  // Empties the value and goes to its start.
  void Truncate();

 private:
  TField* field_;
  TOracleBlob* blob_ = nullptr;
  TOracleDataSet* dataSet_;
  TRecordBuffer record_ = nullptr;
  TBlobStreamMode mode_;
  bool opened_ = false;
  bool written_ = false;
  int64_t position_ = 0;
};

}  // namespace vorn
