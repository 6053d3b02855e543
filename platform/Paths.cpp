// Path text helpers; no file system access.
#include "vorn/platform/Paths.h"

namespace vorn::platform {

std::string PathJoin(const std::string& folder, const std::string& name) {
  std::size_t start = 0;
  while (start < name.size() && IsPathSeparator(name[start]))
    ++start;
  if (folder.empty()) return name;
  if (start == name.size()) return folder;
  std::string result = folder;
  if (!IsPathSeparator(result.back())) result += PathSeparator;
  result.append(name, start, std::string::npos);
  return result;
}

std::string ExtractFileDir(const std::string& path) {
  std::size_t end = path.size();
  while (end > 0 && !IsPathSeparator(path[end - 1]))
    --end;
  if (end == 0) return {};
  // `end` is just past the last separator; drop it and any run before it,
  // but keep a separator that is the root itself.
  while (end > 1 && IsPathSeparator(path[end - 2]))
    --end;
  return end == 1 ? path.substr(0, 1) : path.substr(0, end - 1);
}

std::string ExtractFileName(const std::string& path) {
  std::size_t start = path.size();
  while (start > 0 && !IsPathSeparator(path[start - 1]))
    --start;
  return path.substr(start);
}

}  // namespace vorn::platform
