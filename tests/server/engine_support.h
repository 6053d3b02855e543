// Fixtures of the engine tests: each test gets its own copy of a demo
// database (seeded once per test program) in a temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "DemoSeed.h"
#include "engine/Database.h"
#include "engine/Session.h"
#include "engine/Statement.h"
#include "value/OraError.h"

namespace vorn::server::test {

namespace fs = std::filesystem;

inline fs::path scratchFolder() {
  fs::path dir = fs::temp_directory_path() /
                 ("vorn-engine-test-" + std::to_string(static_cast<long long>(::getpid())));
  fs::create_directories(dir);
  return dir;
}

// The seeded template, created on first use.
inline const fs::path& demoTemplate() {
  static const fs::path path = [] {
    fs::path p = scratchFolder() / "template.db";
    fs::remove(p);
    auto db = Database::create(p.string());
    loadDemoSeed(db);
    return p;
  }();
  return path;
}

class DemoDatabase : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = scratchFolder() / (std::string(info->test_suite_name()) + "." + info->name() + ".db");
    for (const char* suffix : {"", "-wal", "-shm"})
      fs::remove(path_.string() + suffix);
    fs::copy_file(demoTemplate(), path_);
    db_ = Database::open(path_.string());
  }
  void TearDown() override {
    db_.reset();
    for (const char* suffix : {"", "-wal", "-shm"})
      fs::remove(path_.string() + suffix);
  }

  std::unique_ptr<Session> scott() { return db_->logon("scott", "tiger"); }

  // The rows of a query as text ("a|b" per row), through the statement API.
  static std::vector<std::string> rows(Session& s, const std::string& sql) {
    auto st = s.prepare(sql);
    st->execute();
    std::vector<std::string> out;
    while (st->fetch())
      out.push_back(rowText(*st));
    return out;
  }
  static std::string rowText(Statement& st) {
    std::string line;
    for (size_t i = 0; i < st.columnCount(); ++i) {
      if (i) line += '|';
      Value v = st.value(static_cast<int>(i));
      switch (v.kind()) {
        case Value::Kind::Null:
          break;
        case Value::Kind::Integer:
        case Value::Kind::Date:
          line += std::to_string(v.asInteger());
          break;
        case Value::Kind::Double:
          line += std::to_string(v.asDouble());
          break;
        default:
          line += v.asText();
      }
    }
    return line;
  }
  static std::string one(Session& s, const std::string& sql) {
    auto r = rows(s, sql);
    return r.empty() ? "<no row>" : r[0];
  }
  // The ORA code a statement fails with (0 when it succeeds).
  static int errorOf(Session& s, const std::string& sql) {
    try {
      auto st = s.prepare(sql);
      st->execute();
      if (st->isQuery()) {
        while (st->fetch()) {
        }
      }
    } catch (const OraError& e) {
      return e.code();
    }
    return 0;
  }

  fs::path path_;
  std::shared_ptr<Database> db_;
};

}  // namespace vorn::server::test
