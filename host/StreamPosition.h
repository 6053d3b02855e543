// Position arithmetic shared by the in-memory streams.
#pragma once

#include <cstdint>
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

}  // namespace vorn
