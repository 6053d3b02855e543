// Feeds arbitrary alias files to the tnsnames.ora reader, with the files it
// includes (IFILE). The input is split into up to four files at lines that
// read "=== next file ===": tnsnames.ora, then ifile1.ora beside it, then
// sub/Ifile2.ora and sub/ifile3.ora, so that relative and nested includes,
// include cycles and names in another case all occur. Every alias read must
// be non-empty text without control characters; a crash, a read out of
// bounds, a hang in an include cycle or an exception is a finding.
//
// The reader follows absolute IFILE paths too; inputs naming a device or
// kernel folder, or leaving the scratch folder with "..", are skipped so
// that a run never reads /dev/zero or /proc.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "vorn/client/DatabaseAliases.h"
#include "vorn/host/StringList.h"

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kSeparator = "\n=== next file ===\n";
const char* const kFiles[] = {"tnsnames.ora", "ifile1.ora", "sub/Ifile2.ora", "sub/ifile3.ora"};

const fs::path& scratch() {
  static const fs::path folder = [] {
    fs::path dir = fs::temp_directory_path() /
                   ("vorn-fuzz-tns-" + std::to_string(static_cast<long long>(::getpid())));
    fs::create_directories(dir / "sub");
    std::atexit([] {
      std::error_code ignored;
      fs::remove_all(scratch(), ignored);
    });
    return dir;
  }();
  return folder;
}

bool leavesScratch(std::string_view input) {
  std::string lower(input);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  for (std::string_view bad : {"..", "/proc", "\\proc", "/sys", "\\sys", "/dev", "\\dev"}) {
    if (lower.find(bad) != std::string::npos) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  if (leavesScratch(input)) return 0;
  size_t start = 0;
  for (const char* name : kFiles) {
    const fs::path path = scratch() / name;
    if (start == std::string_view::npos) {
      std::error_code ignored;
      fs::remove(path, ignored);
      continue;
    }
    const size_t end = input.find(kSeparator, start);
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        << input.substr(start, end == std::string_view::npos ? end : end - start);
    start = end == std::string_view::npos ? end : end + kSeparator.size();
  }

  vorn::TStringList aliases;
  vorn::client::AddAliasesFromFile((scratch() / kFiles[0]).string(), aliases);
  for (int i = 0; i < aliases.Count(); ++i) {
    const std::string& alias = aliases[i];
    if (alias.empty()) std::abort();
    for (char c : alias) {
      if (static_cast<unsigned char>(c) < 32) std::abort();
    }
  }
  return 0;
}
