// The demo database the server's fuzz targets compile against: created and
// seeded once per process in a temporary folder (removed at exit), with the
// PL/SQL layer installed, and one session logged on as SCOTT.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "DemoSeed.h"
#include "engine/Database.h"
#include "engine/Session.h"
#include "plsql/Plsql.h"

namespace vorn::server::fuzz {

inline std::filesystem::path& demoFolder() {
  static std::filesystem::path folder;
  return folder;
}

inline Session& demoSession() {
  static std::shared_ptr<Database> database;
  static std::unique_ptr<Session> session = [] {
    plsql::installPlsql();
    demoFolder() = std::filesystem::temp_directory_path() /
                   ("vorn-fuzz-" + std::to_string(static_cast<long long>(::getpid())));
    std::filesystem::remove_all(demoFolder());
    std::filesystem::create_directories(demoFolder());
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(demoFolder(), ignored);
    });
    database = Database::create((demoFolder() / "demo.db").string());
    loadDemoSeed(database);
    return database->logon("scott", "tiger");
  }();
  return *session;
}

}  // namespace vorn::server::fuzz
