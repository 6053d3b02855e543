// Reading one value out of the INI-style stand-in for the local-machine
// hive. The file is scanned from the top on every look-up; it is small and
// looked up only while the client library is being located.
#include "RegistryFile.h"

#include "AsciiCase.h"
#include "vorn/platform/TextFile.h"

namespace vorn::platform {

namespace {

constexpr bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back()))
    text.remove_suffix(1);
  return text;
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

}  // namespace

std::string NormalizeRegistryKey(std::string_view key) {
  key = TrimBlanks(key);
  std::string result;
  result.reserve(key.size());
  bool pendingSeparator = false;
  for (char c : key) {
    if (c == '\\' || c == '/') {
      pendingSeparator = !result.empty();
      continue;
    }
    if (pendingSeparator) result += '\\';
    pendingSeparator = false;
    result += AsciiUpper(c);
  }
  return result;
}

std::optional<std::string> FindRegistryFileValue(std::string_view text, std::string_view keyPath,
                                                 std::string_view valueName) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    text.remove_prefix(kByteOrderMark.size());
  }
  const std::string wantedKey = NormalizeRegistryKey(keyPath);
  const std::string_view wantedName = TrimBlanks(valueName);

  std::optional<std::string> found;
  bool inWantedKey = false;
  for (const std::string& rawLine : SplitLines(text)) {
    const std::string_view line = TrimBlanks(rawLine);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[') {
      const std::size_t close = line.find(']');
      // A broken header must not let its lines fall to the previous key.
      inWantedKey = close != std::string_view::npos &&
                    NormalizeRegistryKey(line.substr(1, close - 1)) == wantedKey;
      continue;
    }
    if (!inWantedKey) continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    if (!EqualsIgnoringAsciiCase(TrimBlanks(line.substr(0, equals)), wantedName)) continue;
    found = std::string(Unquote(TrimBlanks(line.substr(equals + 1))));
  }
  return found;
}

}  // namespace vorn::platform
