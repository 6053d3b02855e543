// The file stream over a POSIX file descriptor.
#include "vorn/host/FileStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "vorn/host/Exceptions.h"

namespace vorn {
namespace {

std::string Reason(int error) {
  return std::strerror(error);
}

}  // namespace

TFileStream::TFileStream(const std::string& fileName, uint16_t mode) : fileName_(fileName) {
  const bool create = (mode & fmCreate) == fmCreate;
  int flags = O_CLOEXEC;
  if (create) {
    flags |= O_RDWR | O_CREAT | O_TRUNC;
  } else {
    switch (mode & 3) {
      case fmOpenWrite:
        flags |= O_WRONLY;
        break;
      case fmOpenReadWrite:
        flags |= O_RDWR;
        break;
      default:
        flags |= O_RDONLY;
        break;
    }
  }
  do {
    handle_ = ::open(fileName.c_str(), flags, 0666);
  } while (handle_ < 0 && errno == EINTR);
  int error = handle_ < 0 ? errno : 0;
  struct stat info;
  if (handle_ >= 0 && ::fstat(handle_, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(handle_);
    handle_ = -1;
    error = EISDIR;
  }
  if (handle_ < 0) {
    if (create) throw EFCreateError("Cannot create file \"" + fileName + "\". " + Reason(error));
    throw EFOpenError("Cannot open file \"" + fileName + "\". " + Reason(error));
  }
}

TFileStream::~TFileStream() {
  if (handle_ >= 0) ::close(handle_);
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
  int64_t total = 0;
  auto* bytes = static_cast<char*>(buffer);
  while (total < count) {
    ssize_t n = ::read(handle_, bytes + total, static_cast<size_t>(count - total));
    if (n < 0) {
      if (errno == EINTR) continue;
      throw EReadError("Stream read error. " + Reason(errno));
    }
    if (n == 0) break;
    total += n;
  }
  return total;
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
  int64_t total = 0;
  const auto* bytes = static_cast<const char*>(buffer);
  while (total < count) {
    ssize_t n = ::write(handle_, bytes + total, static_cast<size_t>(count - total));
    if (n < 0) {
      if (errno == EINTR) continue;
      throw EWriteError("Stream write error. " + Reason(errno));
    }
    if (n == 0) break;
    total += n;
  }
  return total;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  int whence = origin == soFromBeginning ? SEEK_SET : origin == soFromCurrent ? SEEK_CUR : SEEK_END;
  off_t position = ::lseek(handle_, static_cast<off_t>(offset), whence);
  if (position < 0) throw EStreamError("Invalid stream position");
  return position;
}

int64_t TFileStream::Size() {
  struct stat info;
  if (::fstat(handle_, &info) != 0) throw EStreamError("Stream size unknown. " + Reason(errno));
  return info.st_size;
}

void TFileStream::SetSize(int64_t size) {
  if (size < 0) throw EStreamError("Invalid stream size");
  if (::ftruncate(handle_, static_cast<off_t>(size)) != 0) {
    throw EStreamError("Cannot change the size of \"" + fileName_ + "\". " + Reason(errno));
  }
  if (Position() > size) SetPosition(size);
}

}  // namespace vorn
