// Position arithmetic and the reads and writes shared by the in-memory
// streams, whose bytes are one contiguous container (vector or string).
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

#include "vorn/host/Exceptions.h"
#include "vorn/host/Stream.h"

namespace vorn {

// The position a seek reaches from `current` in a stream of `size` bytes;
// EStreamError "Invalid stream position" before the start or on overflow.
inline int64_t SeekTarget(int64_t current, int64_t size, int64_t offset, TSeekOrigin origin) {
  int64_t base = origin == soFromBeginning ? 0 : origin == soFromCurrent ? current : size;
  if ((offset > 0 && base > std::numeric_limits<int64_t>::max() - offset) || base + offset < 0) {
    throw EStreamError("Invalid stream position");
  }
  return base + offset;
}

// Whether `count` bytes fit after `position` without overflowing.
inline bool FitsAfter(int64_t position, int64_t count) {
  return count <= std::numeric_limits<int64_t>::max() - position;
}

// Reads up to `count` bytes at `position` of `data` and moves past them.
template <class Bytes>
int64_t ReadBytes(const Bytes& data, int64_t& position, void* buffer, int64_t count) {
  int64_t available = static_cast<int64_t>(data.size()) - position;
  if (count <= 0 || available <= 0) return 0;
  int64_t n = std::min(count, available);
  std::memcpy(buffer, data.data() + position, static_cast<size_t>(n));
  position += n;
  return n;
}

// Writes `count` bytes at `position` of `data`, growing it (with zero bytes
// in a gap after a seek past the end), and moves past them.
template <class Bytes>
int64_t WriteBytes(Bytes& data, int64_t& position, const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  if (!FitsAfter(position, count)) throw EWriteError("Stream write error");
  int64_t end = position + count;
  if (end > static_cast<int64_t>(data.size())) data.resize(static_cast<size_t>(end), 0);
  std::memcpy(data.data() + position, buffer, static_cast<size_t>(count));
  position = end;
  return count;
}

// Sets the size of `data`; the position stays within it.
template <class Bytes>
void ResizeBytes(Bytes& data, int64_t& position, int64_t size) {
  if (size < 0) throw EStreamError("Invalid stream size");
  data.resize(static_cast<size_t>(size), 0);
  position = std::min(position, size);
}

}  // namespace vorn
