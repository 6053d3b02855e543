// TMemoryStream: a stream over a growable block of memory that it owns.
// Memory() stays valid until the size changes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "vorn/host/Stream.h"

namespace vorn {

class TMemoryStream : public TStream {
  VORN_CLASS(TMemoryStream, TStream)
  TMemoryStream() = default;

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return static_cast<int64_t>(data_.size()); }
  // The position stays, or moves back to the new end.
  void SetSize(int64_t size) override;

  uint8_t* Memory() { return data_.data(); }
  const uint8_t* Memory() const { return data_.data(); }
  const std::vector<uint8_t>& Bytes() const { return data_; }
  // Empty, position 0.
  void Clear();

  // Replaces the contents with the whole of `stream` (from its start).
  void LoadFromStream(TStream& stream);
  // Writes the whole contents at the stream's position.
  void SaveToStream(TStream& stream) const;
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName) const;

 private:
  std::vector<uint8_t> data_;
  int64_t position_ = 0;
};

}  // namespace vorn
