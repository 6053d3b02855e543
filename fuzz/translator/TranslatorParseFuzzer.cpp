// Feeds arbitrary statements to parser.Parse through the PL/SQL block the
// front end sends (the statement as a bind, so any bytes pass). A statement
// may be refused, but only with the translator's application errors
// (ORA-20000 to ORA-20999); any other error, a crash or a sanitizer report
// is a finding. What it accepts must be valid for the engine: a query is
// described, a scalar VORN block and an ODML block run (ODML rolled back),
// and none of them may fail to compile. ODDL blocks are not run, so every
// input meets the same demo database.
//
// The first byte picks the language: its value modulo 3 gives VORN, ODDL or
// ODML; the rest is the statement.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

#include "DemoSeed.h"
#include "engine/Database.h"
#include "engine/Session.h"
#include "engine/Statement.h"
#include "plsql/Plsql.h"
#include "value/OraError.h"

namespace {

using namespace vorn::server;

// The demo database of the run and MAN's session on it (the session goes
// first when the program ends, then the database and its file).
struct World {
  World() {
    plsql::installPlsql();
    path = std::filesystem::temp_directory_path() /
           ("vorn-translator-fuzz-" + std::to_string(::getpid()) + ".db");
    std::filesystem::remove(path);
    database = Database::create(path.string());
    loadDemoSeed(database);
    session = database->logon("man", "man");
  }
  ~World() {
    session.reset();
    database.reset();
    for (const char* suffix : {"", "-wal", "-shm"})
      std::filesystem::remove(path.string() + suffix);
  }
  std::filesystem::path path;
  std::shared_ptr<Database> database;
  std::unique_ptr<Session> session;
};

Session& session() {
  static World world;
  return *world.session;
}

[[noreturn]] void finding(const std::string& what, const std::string& text) {
  std::fprintf(stderr, "%s\n%s\n", what.c_str(), text.c_str());
  std::abort();
}

std::string resultKind(const std::string& text) {
  size_t close = text.find("*/");
  size_t open = text.find("/*:");
  if (close == std::string::npos || open != 0) return "";
  return text.substr(3, close - 3);
}

// Runs what the translator produced; only the errors a valid statement may
// meet at run time are allowed (not compile errors: ORA-06550, ORA-009xx).
void check(const std::string& language, const std::string& text) {
  Session& s = session();
  std::string kind = resultKind(text);
  if (kind.empty()) finding("no result-kind tag", text);
  if (language == "ODDL") return;
  try {
    auto st = s.prepare(text);
    if (kind == "DS") {
      st->describe();
      return;
    }
    st->bind(":res", Value(), kind == "INT" ? TypeKind::Number : TypeKind::Varchar2);
    st->execute();
  } catch (const OraError& e) {
    if (e.code() == 6550 || (e.code() >= 900 && e.code() <= 999)) {
      finding("the translation does not compile: " + e.message(), text);
    }
  }
  s.rollback();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > 4000) return 0;
  static const char* const kLanguages[] = {"VORN", "ODDL", "ODML"};
  std::string language = kLanguages[data[0] % 3];
  std::string statement(reinterpret_cast<const char*>(data + 1), size - 1);
  Session& s = session();
  std::string text;
  try {
    auto st = s.prepare("begin parser.LoadLanguage('" + language +
                        "'); parser.Parse(:s); :r := " + language + ".result; end;");
    st->bind(":s", Value::text(statement));
    st->bind(":r", Value());
    st->execute();
    const Value& r = st->boundValue(2);
    if (r.isNull()) finding("Parse succeeded without a result", statement);
    text = r.asText();
  } catch (const OraError& e) {
    if (e.code() < 20000 || e.code() > 20999) {
      finding("not a translator error: " + e.message(), statement);
    }
    return 0;
  }
  check(language, text);
  return 0;
}
