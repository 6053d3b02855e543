// Reading small text files (alias files, scripts) as lines, whatever line
// ends the system that wrote them used.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorn::platform {

// `text` cut into lines at CR LF, LF or a lone CR; the line ends are not
// part of the lines. A final line end does not start another, empty line,
// so "a\r\nb\r\n" and "a\nb" both give {"a", "b"}, and "" gives none.
std::vector<std::string> SplitLines(std::string_view text);

// The whole content of the regular file `path`, byte for byte; no value
// when it does not exist or cannot be read.
std::optional<std::string> ReadFileText(const std::string& path);

// SplitLines of the file's content; no value when it cannot be read.
std::optional<std::vector<std::string>> ReadTextFileLines(const std::string& path);

}  // namespace vorn::platform
