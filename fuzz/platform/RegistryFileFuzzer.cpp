// Feeds arbitrary text to the reader of the machine registry file (the
// INI-style stand-in for the local-machine hive, vorn/platform/Registry.h).
// The first line of the input is the key path looked up, the second the
// value name, the rest the file. A crash, a read out of bounds or an
// exception is a finding, and so is a broken promise of the format: key
// normalisation ignores case and the kind of separator and leaves no
// separator at either end, and a value found is text of the file. (It is
// not idempotent: blanks are trimmed before separators are dropped, so
// "A\B \" gives "A\B " and that gives "A\B"; both sides of a comparison
// are normalised from what was written, so that does not matter.)
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "AsciiCase.h"
#include "RegistryFile.h"

namespace {

using namespace vorn::platform;

std::string_view takeLine(std::string_view& text) {
  const size_t newline = text.find('\n');
  std::string_view line = text.substr(0, newline);
  text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
  return line;
}

void checkKey(std::string_view key) {
  const std::string normal = NormalizeRegistryKey(key);
  std::string flipped(key);
  for (char& c : flipped) {
    if (c == '/') c = '\\';
    c = AsciiLower(c);
  }
  if (NormalizeRegistryKey(flipped) != normal) std::abort();
  if (normal.starts_with('\\') || normal.ends_with('\\')) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string_view key = takeLine(text);
  const std::string_view name = takeLine(text);
  checkKey(key);

  for (auto [k, n] : {std::pair{key, name}, std::pair{std::string_view("SOFTWARE\\ORACLE"),
                                                      std::string_view("ORACLE_HOME")}}) {
    const std::optional<std::string> value = FindRegistryFileValue(text, k, n);
    if (!value || value->empty()) continue;
    if (text.find(*value) == std::string_view::npos) std::abort();
  }
  return 0;
}
