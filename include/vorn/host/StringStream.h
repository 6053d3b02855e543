// TStringStream: a stream over a std::string, for text that is read or
// built through stream interfaces. Writing overwrites and extends like a
// memory stream; DataString() is the whole content.
#pragma once

#include <string>
#include <string_view>

#include "vorn/host/Stream.h"

namespace vorn {

class TStringStream : public TStream {
  VORN_CLASS(TStringStream, TStream)
  explicit TStringStream(std::string data = {}) : data_(std::move(data)) {}

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return static_cast<int64_t>(data_.size()); }
  void SetSize(int64_t size) override;

  const std::string& DataString() const { return data_; }
  // Up to `count` bytes from the position.
  std::string ReadString(int64_t count);
  void WriteString(std::string_view text);

 private:
  std::string data_;
  int64_t position_ = 0;
};

}  // namespace vorn
