// The string stream.
#include "vorn/host/StringStream.h"

#include <algorithm>
#include <cstring>

#include "StreamPosition.h"

namespace vorn {

int64_t TStringStream::Read(void* buffer, int64_t count) {
  int64_t available = Size() - position_;
  if (count <= 0 || available <= 0) return 0;
  int64_t n = std::min(count, available);
  std::memcpy(buffer, data_.data() + position_, static_cast<size_t>(n));
  position_ += n;
  return n;
}

int64_t TStringStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  if (!FitsAfter(position_, count)) throw EWriteError("Stream write error");
  int64_t end = position_ + count;
  if (end > Size()) data_.resize(static_cast<size_t>(end), '\0');
  std::memcpy(data_.data() + position_, buffer, static_cast<size_t>(count));
  position_ = end;
  return count;
}

int64_t TStringStream::Seek(int64_t offset, TSeekOrigin origin) {
  position_ = SeekTarget(position_, Size(), offset, origin);
  return position_;
}

void TStringStream::SetSize(int64_t size) {
  if (size < 0) throw EStreamError("Invalid stream size");
  data_.resize(static_cast<size_t>(size), '\0');
  position_ = std::min(position_, size);
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
