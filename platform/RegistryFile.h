// The parser of the INI-style file that stands in for the local-machine
// hive on systems without a registry. The file format is described with
// ReadMachineRegistryString (vorn/platform/Registry.h).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vorn::platform {

// `key` in the one form used for comparison: blanks around it dropped, "/"
// read as "\", empty parts (repeated, leading, trailing separators)
// dropped, ASCII letters in upper case. "software/Oracle\\" gives
// "SOFTWARE\ORACLE".
std::string NormalizeRegistryKey(std::string_view key);

// The value `valueName` under `keyPath` in the file content `text`; no
// value when the file does not give one. A value given twice yields the
// later one.
std::optional<std::string> FindRegistryFileValue(std::string_view text, std::string_view keyPath,
                                                 std::string_view valueName);

}  // namespace vorn::platform
