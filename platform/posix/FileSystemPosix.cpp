// File questions through stat and readdir.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <optional>

#include "AsciiCase.h"
#include "vorn/platform/FileSystem.h"
#include "vorn/platform/Paths.h"

namespace vorn::platform {

namespace {

enum class EntryKind { Missing, File, Directory, Other };

EntryKind KindOf(const std::string& path) {
  struct stat info {};
  if (path.empty() || path.find('\0') != std::string::npos || ::stat(path.c_str(), &info) != 0) {
    return EntryKind::Missing;
  }
  if (S_ISREG(info.st_mode)) return EntryKind::File;
  if (S_ISDIR(info.st_mode)) return EntryKind::Directory;
  return EntryKind::Other;
}

// Calls `visit` with the name of every entry of `folder` but "." and "..",
// in readdir order. False when the folder cannot be listed.
template <typename Visit>
bool ForEachEntry(const std::string& folder, Visit visit) {
  const std::string listed = folder.empty() ? std::string(".") : folder;
  if (listed.find('\0') != std::string::npos) return false;
  DIR* dir = ::opendir(listed.c_str());
  if (dir == nullptr) return false;
  // readdir is safe on a stream that no other thread uses.
  while (const dirent* entry = ::readdir(dir)) {  // NOLINT(concurrency-mt-unsafe)
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    visit(name);
  }
  ::closedir(dir);
  return true;
}

// The parts of a path written with "/" or "\", without empty ones.
std::vector<std::string> SplitPathParts(const std::string& path) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start < path.size()) {
    std::size_t end = start;
    while (end < path.size() && !IsPathSeparator(path[end]))
      ++end;
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// Depth-first over the case variants of parts[index..], below `resolved`.
// Only the last part may be something other than a folder.
std::optional<std::string> ResolveParts(const std::string& resolved,
                                        const std::vector<std::string>& parts, std::size_t index) {
  if (index == parts.size()) return resolved;
  const std::string& part = parts[index];
  const bool last = index + 1 == parts.size();
  auto usable = [&](const std::string& candidate) {
    const EntryKind kind = KindOf(candidate);
    return kind == EntryKind::Directory || (last && kind != EntryKind::Missing);
  };

  const std::string exact = PathJoin(resolved, part);
  if (usable(exact)) {
    if (auto found = ResolveParts(exact, parts, index + 1)) return found;
  }
  if (part == "." || part == "..") return std::nullopt;

  std::vector<std::string> variants;
  ForEachEntry(resolved, [&](std::string_view name) {
    if (name != part && EqualsIgnoringAsciiCase(name, part)) variants.emplace_back(name);
  });
  std::sort(variants.begin(), variants.end());
  for (const std::string& variant : variants) {
    const std::string candidate = PathJoin(resolved, variant);
    if (!usable(candidate)) continue;
    if (auto found = ResolveParts(candidate, parts, index + 1)) return found;
  }
  return std::nullopt;
}

}  // namespace

bool FileExists(const std::string& path) {
  return KindOf(path) == EntryKind::File;
}

bool DirectoryExists(const std::string& path) {
  return KindOf(path) == EntryKind::Directory;
}

std::vector<std::string> FindFiles(const std::string& folder, std::string_view mask) {
  std::vector<std::string> names;
  ForEachEntry(folder, [&](std::string_view name) {
    if (MatchesFileMask(name, mask)) names.emplace_back(name);
  });
  return names;
}

std::string ResolvePathCaseInsensitive(const std::string& path) {
  if (path.empty() || path.find('\0') != std::string::npos) return {};
  const std::string root =
      IsPathSeparator(path.front()) ? std::string(1, PathSeparator) : std::string();
  return ResolveParts(root, SplitPathParts(path), 0).value_or(std::string());
}

}  // namespace vorn::platform
