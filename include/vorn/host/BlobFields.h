// TBlobField (ftBlob) and TMemoField (ftMemo): values that live outside the
// record buffer and are read and written through the dataset's blob
// streams (CreateBlobStream). DataSize is 0.
//
// AsString reads the whole value through a bmRead stream and writes it
// through a bmWrite stream; Clear writes an empty value. Modified is set by
// the descendant when a written stream is freed; it remembers the active
// record at that moment and reads True only while that record is still the
// active one. When an edit ends (post, cancel, delete, close) FreeBuffers
// asks the dataset to CloseBlob each field marked Modified, then clears the
// mark. IsNull of a Modified field is whether the read stream is empty.
//
// DisplayText and Text are the tag "(MEMO)"/"(BLOB)" when a value exists
// and "(Memo)"/"(Blob)" when it is null. A dataset without blob streams
// (the base CreateBlobStream gives none) reads as empty and refuses writes
// with "Field '%s' cannot be modified".
#pragma once

#include <memory>

#include "vorn/host/Field.h"
#include "vorn/host/Stream.h"

namespace vorn {

class TBlobField : public TField {
  VORN_CLASS(TBlobField, TField)
  explicit TBlobField(TComponent* owner);

  bool IsBlob() const override { return true; }
  // ftBlob or ftMemo.
  TFieldType BlobType() const { return DataType(); }

  bool Modified() const;
  void SetModified(bool modified);
  // The size of the value, through a read stream.
  int64_t BlobSize() const;
  // Replaces the value with the whole of `stream` (from its start).
  void LoadFromStream(TStream& stream);
  // Writes the whole value at the stream's position.
  void SaveToStream(TStream& stream) const;

  void SetAsString(const std::string& value) override;
  bool IsNull() const override;
  void Clear() override;
  void FreeBuffers() override;

 protected:
  TBlobField(TComponent* owner, TFieldType type);
  std::string GetAsString() const override;
  Variant GetAsVariant() const override;
  // A byte array is stored as its bytes, anything else as its text.
  void SetVarValue(const Variant& value) override;
  void GetText(std::string& text, bool displayText) const override;

 private:
  std::unique_ptr<TStream> OpenStream(TBlobStreamMode mode) const;

  bool modified_ = false;
  int modifiedRecord_ = -1;
};

class TMemoField : public TBlobField {
  VORN_CLASS(TMemoField, TBlobField)
  explicit TMemoField(TComponent* owner);
};

}  // namespace vorn
