// Blob and memo fields: values read and written through the dataset's blob
// streams.
#include "vorn/host/BlobFields.h"

#include "vorn/host/DataSet.h"
#include "vorn/host/DbConsts.h"

namespace vorn {

TBlobField::TBlobField(TComponent* owner) : TBlobField(owner, ftBlob) {}

TBlobField::TBlobField(TComponent* owner, TFieldType type) : TField(owner) {
  SetDataType(type);
}

TMemoField::TMemoField(TComponent* owner) : TBlobField(owner, ftMemo) {}

bool TBlobField::Modified() const {
  return modified_ && DataSet() != nullptr && modifiedRecord_ == DataSet()->ActiveRecord();
}

void TBlobField::SetModified(bool modified) {
  modified_ = modified;
  if (modified && DataSet() != nullptr) modifiedRecord_ = DataSet()->ActiveRecord();
}

std::unique_ptr<TStream> TBlobField::OpenStream(TBlobStreamMode mode) const {
  if (DataSet() == nullptr) DatabaseErrorFmt(SDataSetMissing, {DisplayName()});
  std::unique_ptr<TStream> stream =
      DataSet()->CreateBlobStream(const_cast<TBlobField*>(this), mode);
  if (stream == nullptr && mode != bmRead) DatabaseErrorFmt(SFieldReadOnly, {DisplayName()});
  return stream;
}

int64_t TBlobField::BlobSize() const {
  std::unique_ptr<TStream> stream = OpenStream(bmRead);
  return stream != nullptr ? stream->Size() : 0;
}

std::string TBlobField::GetAsString() const {
  std::unique_ptr<TStream> stream = OpenStream(bmRead);
  if (stream == nullptr) return std::string();
  std::string value(static_cast<size_t>(stream->Size()), '\0');
  int64_t read = stream->Read(value.data(), static_cast<int64_t>(value.size()));
  value.resize(static_cast<size_t>(read));
  return value;
}

void TBlobField::SetAsString(const std::string& value) {
  std::unique_ptr<TStream> stream = OpenStream(bmWrite);
  stream->WriteBuffer(value.data(), static_cast<int64_t>(value.size()));
}

bool TBlobField::IsNull() const {
  if (!Modified()) return TField::IsNull();
  std::unique_ptr<TStream> stream = OpenStream(bmRead);
  return stream == nullptr || stream->Size() == 0;
}

void TBlobField::Clear() {
  OpenStream(bmWrite);
}

void TBlobField::LoadFromStream(TStream& stream) {
  std::unique_ptr<TStream> blob = OpenStream(bmWrite);
  blob->CopyFrom(stream, 0);
}

void TBlobField::SaveToStream(TStream& stream) const {
  std::unique_ptr<TStream> blob = OpenStream(bmRead);
  if (blob != nullptr) stream.CopyFrom(*blob, 0);
}

void TBlobField::FreeBuffers() {
  if (!modified_) return;
  if (DataSet() != nullptr) DataSet()->CloseBlob(this);
  modified_ = false;
}

Variant TBlobField::GetAsVariant() const {
  if (IsNull()) return Null();
  return Variant(GetAsString());
}

void TBlobField::SetVarValue(const Variant& value) {
  if (value.IsArray() && (value.VarType() & varTypeMask) == varByte) {
    const std::vector<uint8_t>& bytes = value.Bytes();
    std::unique_ptr<TStream> stream = OpenStream(bmWrite);
    stream->WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    return;
  }
  SetAsString(value.AsString());
}

void TBlobField::GetText(std::string& text, bool /*displayText*/) const {
  const bool memo = DataType() == ftMemo;
  if (IsNull()) {
    text = memo ? "(Memo)" : "(Blob)";
  } else {
    text = memo ? "(MEMO)" : "(BLOB)";
  }
}

}  // namespace vorn
