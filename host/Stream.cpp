// The operations every stream shares.
#include "vorn/host/Stream.h"

#include <algorithm>
#include <vector>

#include "vorn/host/Exceptions.h"

namespace vorn {

int64_t TStream::Size() {
  int64_t position = Seek(0, soFromCurrent);
  int64_t size = Seek(0, soFromEnd);
  Seek(position, soFromBeginning);
  return size;
}

void TStream::SetSize(int64_t) {
  throw EStreamError("Stream does not support resizing");
}

void TStream::ReadBuffer(void* buffer, int64_t count) {
  if (count > 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count > 0 && Write(buffer, count) != count) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  constexpr int64_t kChunk = 64 * 1024;
  std::vector<uint8_t> buffer(static_cast<size_t>(std::min(count, kChunk)));
  int64_t copied = 0;
  while (copied < count) {
    int64_t n = std::min(count - copied, kChunk);
    source.ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.data(), n);
    copied += n;
  }
  return copied;
}

}  // namespace vorn
