// Fixtures of the PL/SQL tests: a demo database per test (engine_support.h)
// with the PL/SQL layer installed, and helpers that run a block and report
// its binds, its error and the session's DBMS_OUTPUT.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine_support.h"
#include "plsql/Plsql.h"

namespace vorn::server::test {

class PlsqlTest : public DemoDatabase {
 protected:
  static void SetUpTestSuite() { plsql::installPlsql(); }

  void SetUp() override {
    DemoDatabase::SetUp();
    s_ = scott();
  }
  void TearDown() override {
    s_.reset();
    DemoDatabase::TearDown();
  }

  // Runs a statement without binds; the ORA message of its failure, "" when
  // it succeeds.
  std::string failure(const std::string& sql) { return failureOf(*s_, sql); }
  static std::string failureOf(Session& s, const std::string& sql) {
    try {
      auto st = s.prepare(sql);
      st->execute();
      if (st->isQuery()) {
        while (st->fetch()) {
        }
      }
    } catch (const OraError& e) {
      return e.message();
    }
    return {};
  }
  void run(const std::string& sql) { s_->execute(sql); }
  // The first `n` lines of a message.
  static std::string lines(const std::string& message, int n) {
    size_t end = 0;
    for (int i = 0; i < n && end != std::string::npos; ++i)
      end = message.find('\n', end ? end + 1 : 0);
    return message.substr(0, end);
  }

  // The session's DBMS_OUTPUT lines, read through DBMS_OUTPUT.GET_LINE.
  std::vector<std::string> output() {
    std::vector<std::string> lines;
    auto get = s_->prepare("begin dbms_output.get_line(:line, :status); end;");
    for (;;) {
      get->bind(":line", Value());
      get->bind(":status", Value(), TypeKind::Number);
      get->execute();
      if (get->boundValue(2) != Value::integer(0)) break;
      const Value& line = get->boundValue(1);
      lines.push_back(line.isNull() ? std::string() : line.asText());
    }
    return lines;
  }

  std::unique_ptr<Session> s_;
};

// Runs a block that assigns :r; its value as text, "<null>" when null.
inline std::string result(Session& s, const std::string& block) {
  auto st = s.prepare(block);
  st->bind(":r", Value());
  st->execute();
  const Value& v = st->boundValue(1);
  return v.isNull() ? "<null>" : v.asText();
}

}  // namespace vorn::server::test
