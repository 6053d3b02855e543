// The library's Oracle home and default database; see OracleHome.h.
#include "OracleHome.h"

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>

namespace vorn::server::oci {

namespace {

std::string environmentValue(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

std::string libraryHome() {
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void*>(&oracleHome), &info) || !info.dli_fname) return {};
  std::filesystem::path library = std::filesystem::absolute(info.dli_fname);
  std::filesystem::path bin = library.parent_path();
  std::string folder = bin.filename().string();
  for (char& c : folder) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  // bin/oci.dll, or lib/libclntsh.so as the Linux client library.
  if (folder != "bin" && folder != "lib") return {};
  return bin.parent_path().string();
}

}  // namespace

std::string oracleHome() {
  static const std::string own = libraryHome();
  return own.empty() ? environmentValue("ORACLE_HOME") : own;
}

std::string defaultConnectString() {
  for (const char* name : {"TWO_TASK", "ORACLE_SID"}) {
    std::string v = environmentValue(name);
    if (!v.empty()) return v;
  }
  return "DEMO";
}

}  // namespace vorn::server::oci
