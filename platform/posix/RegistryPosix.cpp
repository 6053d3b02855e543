// The local-machine hive on POSIX systems: an INI-style file (format in
// vorn/platform/Registry.h), with the ORACLE_HOME environment variable as
// the fallback for the one value that an ordinary installation sets there.
#include "AsciiCase.h"
#include "RegistryFile.h"
#include "vorn/platform/Environment.h"
#include "vorn/platform/Registry.h"
#include "vorn/platform/TextFile.h"

namespace vorn::platform {

namespace {

constexpr const char* kDefaultHiveFile = "/etc/vorn/machine-registry.ini";

std::string HiveFileName() {
  std::string name = ReadEnvironmentVariable("VORN_MACHINE_REGISTRY");
  return name.empty() ? kDefaultHiveFile : name;
}

bool IsOracleHomeOfRootKey(const std::string& keyPath, const std::string& valueName) {
  return NormalizeRegistryKey(keyPath) == "SOFTWARE\\ORACLE" &&
         EqualsIgnoringAsciiCase(valueName, "ORACLE_HOME");
}

}  // namespace

std::string ReadMachineRegistryString(const std::string& keyPath, const std::string& valueName) {
  std::string value;
  if (std::optional<std::string> text = ReadFileText(HiveFileName())) {
    value = FindRegistryFileValue(*text, keyPath, valueName).value_or(std::string());
  }
  if (value.empty() && IsOracleHomeOfRootKey(keyPath, valueName)) {
    value = ReadEnvironmentVariable("ORACLE_HOME");
  }
  return value;
}

}  // namespace vorn::platform
