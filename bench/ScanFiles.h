// The files of the fetch benchmarks, made once per program: the demo
// database with SCAN_T that oci.dll (and the query engine through it) reads,
// and a copy that the raw SQLite baselines read, so that the two SQLite
// libraries in the process never hold locks on the same file.
#pragma once

#include <filesystem>
#include <string>

#include "ScanTable.h"

namespace vorn::bench {

struct ScanFiles {
  std::string oci;
  std::string raw;
};

inline const ScanFiles& scanFiles() {
  static const ScanFiles files = [] {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path();
    ScanFiles f{(dir / "vorn-bench-oci.db").string(), (dir / "vorn-bench-oci-raw.db").string()};
    MakeScanDatabase(f.oci);
    fs::remove(f.raw);
    fs::copy_file(f.oci, f.raw);
    return f;
  }();
  return files;
}

}  // namespace vorn::bench
