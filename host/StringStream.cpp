// The string stream.
#include "vorn/host/StringStream.h"

#include <algorithm>

#include "StreamPosition.h"

namespace vorn {

int64_t TStringStream::Read(void* buffer, int64_t count) {
  return ReadBytes(data_, position_, buffer, count);
}

int64_t TStringStream::Write(const void* buffer, int64_t count) {
  return WriteBytes(data_, position_, buffer, count);
}

int64_t TStringStream::Seek(int64_t offset, TSeekOrigin origin) {
  position_ = SeekTarget(position_, Size(), offset, origin);
  return position_;
}

void TStringStream::SetSize(int64_t size) {
  ResizeBytes(data_, position_, size);
}

std::string TStringStream::ReadString(int64_t count) {
  int64_t n = std::clamp<int64_t>(Size() - position_, 0, std::max<int64_t>(count, 0));
  std::string text =
      data_.substr(static_cast<size_t>(std::min(position_, Size())), static_cast<size_t>(n));
  position_ += n;
  return text;
}

void TStringStream::WriteString(std::string_view text) {
  Write(text.data(), static_cast<int64_t>(text.size()));
}

}  // namespace vorn
