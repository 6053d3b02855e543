// The registry, the command line and the choice of the Oracle home.
#include "vorn/client/OracleHome.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "vorn/host/StringList.h"
#include "vorn/host/TextUtils.h"
#include "vorn/platform/CommandLine.h"
#include "vorn/platform/Environment.h"
#include "vorn/platform/Registry.h"

namespace vorn::client {

namespace {

constexpr const char* kOracleKey = "SOFTWARE\\ORACLE";
constexpr const char* kAllHomesKey = "SOFTWARE\\ORACLE\\ALL_HOMES";

// The client's fixed buffers: 257 bytes for a registry value, 255
// characters of a command-line value, 1000 of an environment variable.
constexpr std::size_t kRegistryValueLength = 256;
constexpr std::size_t kCommandLineValueLength = 255;
constexpr std::size_t kEnvironmentValueLength = 1000;

// A HOME_COUNTER beyond any real machine (a damaged value) must not make
// the search read the registry for minutes.
constexpr int kMaxHomes = 1000;

std::string HomeKey(int number) {
  return std::string(kOracleKey) + "\\HOME" + std::to_string(number);
}

// `text` as a decimal integer, all of it; no value otherwise.
std::optional<int> ParseDecimal(const std::string& text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

}  // namespace

std::string ReadRegistryString(const std::string& keyPath, const std::string& valueName) {
  std::string value = platform::ReadMachineRegistryString(keyPath, valueName);
  if (value.size() > kRegistryValueLength) value.resize(kRegistryValueLength);
  return value;
}

std::string FindCommandLineParameter(const std::string& name) {
  const std::string prefix = name + "=";
  const int count = platform::ParamCount();
  for (int index = 1; index <= count; ++index) {
    const std::string parameter = platform::ParamStr(index);
    if (parameter.size() >= prefix.size() &&
        SameText(std::string_view(parameter).substr(0, prefix.size()), prefix)) {
      return parameter.substr(prefix.size(), kCommandLineValueLength);
    }
  }
  return {};
}

std::string ChooseOracleHomeKey() {
  // Sorted by name without regard to case; of two homes with one name the
  // first added, the lower number, stays.
  TStringList homes;
  homes.SetSorted(true);
  homes.SetDuplicates(dupIgnore);
  if (std::optional<int> count = ParseDecimal(ReadRegistryString(kAllHomesKey, "HOME_COUNTER"))) {
    for (int number = 0; number < std::min(*count, kMaxHomes); ++number) {
      const std::string name = ReadRegistryString(HomeKey(number), "ORACLE_HOME_NAME");
      if (!name.empty()) homes.AddTag(name, number);
    }
  }

  std::string key;
  if (homes.Count() == 0) {
    key = kOracleKey;
  } else {
    const std::string wanted = UpperCase(FindCommandLineParameter("ORACLEHOME"));
    const std::string path =
        UpperCase(platform::ReadEnvironmentVariable("PATH").substr(0, kEnvironmentValueLength));
    std::size_t best = path.size();
    for (int index = 0; index < homes.Count(); ++index) {
      const std::string homeKey = HomeKey(static_cast<int>(homes.Tags(index)));
      if (UpperCase(homes[index]) == wanted) {
        key = homeKey;
        break;
      }
      const std::string directory = UpperCase(ReadRegistryString(homeKey, "ORACLE_HOME"));
      if (directory.empty()) continue;
      const std::size_t position = path.find(directory);
      if (position != std::string::npos && position < best) {
        best = position;
        key = homeKey;
      }
    }
    if (key.empty()) key = HomeKey(static_cast<int>(homes.Tags(homes.Count() - 1)));
  }

  if (ReadRegistryString(key, "ORACLE_HOME").empty()) key = kOracleKey;
  return key;
}

}  // namespace vorn::client
