// The fields of stored binary formats; see StreamFields.h.
#include "vorn/host/StreamFields.h"

#include "vorn/host/Exceptions.h"

namespace vorn {

void WriteStreamInt32(TStream& stream, int32_t value) {
  uint8_t bytes[4];
  for (int i = 0; i < 4; ++i)
    bytes[i] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
  stream.WriteBuffer(bytes, 4);
}

void WriteStreamFlag(TStream& stream, bool value) {
  const uint8_t byte = value ? 1 : 0;
  stream.WriteBuffer(&byte, 1);
}

int32_t TStreamFieldReader::Int32() {
  uint8_t bytes[4];
  Bytes(bytes, 4);
  uint32_t value = 0;
  for (int i = 0; i < 4; ++i)
    value |= static_cast<uint32_t>(bytes[i]) << (8 * i);
  return static_cast<int32_t>(value);
}

int32_t TStreamFieldReader::Count(int64_t itemSize) {
  const int32_t count = Int32();
  if (count < 0 || count > Remaining() / itemSize) Invalid();
  return count;
}

bool TStreamFieldReader::Flag() {
  uint8_t byte = 0;
  Bytes(&byte, 1);
  return byte != 0;
}

void TStreamFieldReader::Bytes(void* buffer, int64_t count) {
  if (count > 0 && stream_.Read(buffer, count) != count) Invalid();
}

void TStreamFieldReader::Invalid() const {
  throw EReadError(invalidMessage_);
}

}  // namespace vorn
