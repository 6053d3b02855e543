// The memory stream.
#include "vorn/host/MemoryStream.h"

#include <algorithm>

#include "StreamPosition.h"
#include "vorn/host/FileStream.h"

namespace vorn {

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  return ReadBytes(data_, position_, buffer, count);
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  return WriteBytes(data_, position_, buffer, count);
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  position_ = SeekTarget(position_, Size(), offset, origin);
  return position_;
}

void TMemoryStream::SetSize(int64_t size) {
  ResizeBytes(data_, position_, size);
}

void TMemoryStream::Clear() {
  data_.clear();
  data_.shrink_to_fit();
  position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& stream) {
  stream.SetPosition(0);
  int64_t size = stream.Size();
  std::vector<uint8_t> data(static_cast<size_t>(size));
  stream.ReadBuffer(data.data(), size);
  data_ = std::move(data);
  position_ = std::min(position_, size);
}

void TMemoryStream::SaveToStream(TStream& stream) const {
  stream.WriteBuffer(data_.data(), static_cast<int64_t>(data_.size()));
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
  TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(stream);
}

void TMemoryStream::SaveToFile(const std::string& fileName) const {
  TFileStream stream(fileName, fmCreate);
  SaveToStream(stream);
}

}  // namespace vorn
