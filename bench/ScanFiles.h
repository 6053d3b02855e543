// The files of the fetch benchmarks, made once per program in a folder of
// its own under the temporary directory (removed when the program ends):
// per row count, the demo database with SCAN_T that oci.dll (and the query
// engine through it) reads, and a copy that the raw SQLite baselines and
// Qt read, so that the two SQLite libraries in the process (oci.dll links
// its own) never hold locks on the same file.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>

#include "ScanTable.h"

namespace vorn::bench {

struct ScanFiles {
  std::string oci;
  std::string raw;
};

// The program's own folder, made on first use.
inline const std::filesystem::path& benchDirectory() {
  static const std::filesystem::path dir = [] {
    auto d = std::filesystem::temp_directory_path() /
             ("vorn-bench-" + std::to_string(static_cast<long>(getpid())));
    std::filesystem::create_directories(d);
    return d;
  }();
  return dir;
}

// The folder and everything in it; for the end of the program.
inline void removeBenchDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(benchDirectory(), ignored);
}

inline std::string benchFile(const std::string& name) {
  return (benchDirectory() / name).string();
}

// SCAN_T with `rows` rows.
inline const ScanFiles& scanFiles(int rows = kScanRows) {
  static std::map<int, ScanFiles> made;
  auto found = made.find(rows);
  if (found != made.end()) return found->second;
  const std::string stem = "scan-" + std::to_string(rows);
  ScanFiles f{benchFile(stem + ".db"), benchFile(stem + "-raw.db")};
  MakeScanDatabase(f.oci, rows);
  std::filesystem::remove(f.raw);
  std::filesystem::copy_file(f.oci, f.raw);
  return made.emplace(rows, f).first->second;
}

}  // namespace vorn::bench
