// Whole-file reads and line splitting.
#include "vorn/platform/TextFile.h"

#include <fstream>
#include <iterator>

#include "vorn/platform/FileSystem.h"

namespace vorn::platform {

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '\n' || c == '\r') {
      lines.emplace_back(text.substr(start, i - start));
      i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::optional<std::string> ReadFileText(const std::string& path) {
  // A folder opens fine as a stream on some systems and then reads as
  // empty; it is not a file with no content.
  if (!FileExists(path)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return std::nullopt;
  return text;
}

std::optional<std::vector<std::string>> ReadTextFileLines(const std::string& path) {
  std::optional<std::string> text = ReadFileText(path);
  if (!text) return std::nullopt;
  return SplitLines(*text);
}

}  // namespace vorn::platform
