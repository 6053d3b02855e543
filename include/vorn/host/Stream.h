// TStream: the host's abstract byte stream.
//
// Read and Write move up to `count` bytes at the position and return how
// many moved (a negative count moves none); Seek sets the position relative
// to the start, the current position or the end and returns it. A position
// past the end is allowed: reading there gives nothing, writing there fills
// the gap with zero bytes. Seeking before the start raises EStreamError
// "Invalid stream position".
//
// ReadBuffer and WriteBuffer move exactly `count` bytes or raise EReadError
// "Stream read error" / EWriteError "Stream write error". Size is the length;
// SetSize truncates or extends (a stream that cannot raises EStreamError).
#pragma once

#include <cstdint>

#include "vorn/host/Object.h"

namespace vorn {

enum TSeekOrigin {
  soFromBeginning = 0,
  soFromCurrent = 1,
  soFromEnd = 2,
  soBeginning = soFromBeginning,
  soCurrent = soFromCurrent,
  soEnd = soFromEnd,
};

class TStream : public TObject {
  VORN_CLASS(TStream, TObject)
  TStream() = default;
  TStream(const TStream&) = delete;
  TStream& operator=(const TStream&) = delete;

  virtual int64_t Read(void* buffer, int64_t count) = 0;
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

  int64_t Position() { return Seek(0, soFromCurrent); }
  void SetPosition(int64_t position) { Seek(position, soFromBeginning); }
  virtual int64_t Size();
  virtual void SetSize(int64_t size);

  void ReadBuffer(void* buffer, int64_t count);
  void WriteBuffer(const void* buffer, int64_t count);
  // Copies `count` bytes from the source's position; a count of 0 copies the
  // whole source from its start. Returns the number copied.
  int64_t CopyFrom(TStream& source, int64_t count);
};

}  // namespace vorn
