// TFileStream: a stream over an open file.
//
// Modes: fmCreate creates or truncates the file and opens it for reading and
// writing; otherwise fmOpenRead, fmOpenWrite or fmOpenReadWrite open an
// existing file. The share flags are accepted and have no effect on POSIX.
// Failures raise EFCreateError 'Cannot create file "name". reason' or
// EFOpenError 'Cannot open file "name". reason' (a folder cannot be opened);
// failing reads and writes of the open file raise EReadError/EWriteError
// with the system's reason.
#pragma once

#include <cstdint>
#include <string>

#include "vorn/host/Stream.h"

namespace vorn {

enum : uint16_t {
  fmOpenRead = 0x0000,
  fmOpenWrite = 0x0001,
  fmOpenReadWrite = 0x0002,
  fmShareCompat = 0x0000,
  fmShareExclusive = 0x0010,
  fmShareDenyWrite = 0x0020,
  fmShareDenyRead = 0x0030,
  fmShareDenyNone = 0x0040,
  fmCreate = 0xFF00,
};

class TFileStream : public TStream {
  VORN_CLASS(TFileStream, TStream)
  TFileStream(const std::string& fileName, uint16_t mode);
  ~TFileStream() override;

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override;
  void SetSize(int64_t size) override;

  const std::string& FileName() const { return fileName_; }
  int Handle() const { return handle_; }

 private:
  std::string fileName_;
  int handle_ = -1;
};

}  // namespace vorn
