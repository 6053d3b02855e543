// The fields of the small binary formats that components store in streams
// (query variables, query-by-example settings): 32-bit little-endian
// integers, one-byte flags and raw bytes.
//
// TStreamFieldReader reads them with every count and length checked against
// the bytes left, so that a damaged stream is refused before anything is
// allocated for it; every fault raises EReadError with the format's own
// message.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "vorn/host/Stream.h"

namespace vorn {

void WriteStreamInt32(TStream& stream, int32_t value);
void WriteStreamFlag(TStream& stream, bool value);

class TStreamFieldReader {
 public:
  TStreamFieldReader(TStream& stream, std::string invalidMessage)
      : stream_(stream), invalidMessage_(std::move(invalidMessage)) {}

  int32_t Int32();
  // A length in bytes: not negative, and not more than are left.
  int32_t Length() { return Count(1); }
  // A count of items of at least `itemSize` bytes each that must fit in
  // what is left.
  int32_t Count(int64_t itemSize);
  // Any byte but 0 reads as true.
  bool Flag();
  void Bytes(void* buffer, int64_t count);
  int64_t Remaining() { return stream_.Size() - stream_.Position(); }
  // Raises the format's EReadError.
  [[noreturn]] void Invalid() const;

 private:
  TStream& stream_;
  std::string invalidMessage_;
};

}  // namespace vorn
