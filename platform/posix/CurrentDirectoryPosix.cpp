// The current directory through getcwd and chdir.
#include <unistd.h>

#include <cerrno>

#include "vorn/platform/CurrentDirectory.h"

namespace vorn::platform {

std::string GetCurrentDir() {
  std::string buffer(256, '\0');
  for (;;) {
    if (::getcwd(buffer.data(), buffer.size()) != nullptr) {
      buffer.resize(buffer.find('\0'));
      return buffer;
    }
    if (errno != ERANGE) return {};
    buffer.assign(buffer.size() * 2, '\0');
  }
}

bool SetCurrentDir(const std::string& path) {
  if (path.empty() || path.find('\0') != std::string::npos) return false;
  return ::chdir(path.c_str()) == 0;
}

}  // namespace vorn::platform
