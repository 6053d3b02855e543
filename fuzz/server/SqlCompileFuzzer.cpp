// Feeds arbitrary text to the server's SQL front end: the tokenizer and
// parser, then, for a query or a DML statement that parses, the compiler
// against the demo catalog (SCOTT's schema), and SQLite's own prepare of the
// SQL the compiler wrote. Each step may refuse with an ORA error; a crash, a
// read out of bounds, another exception, or compiled SQL that SQLite does
// not accept (the engine would report ORA-00600) is a finding. The same text
// also goes through Session::prepare and describe, the path the call
// interfaces take. Nothing is executed.
#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "DemoSession.h"
#include "engine/Compiler.h"
#include "engine/Parser.h"
#include "engine/Statement.h"
#include "value/OraError.h"

namespace {

using namespace vorn::server;

// SQL the compiler wrote must be SQL that SQLite prepares.
void checkPrepares(Session& session, const std::string& sql) {
  if (sql.empty()) return;
  sqlite3* db = session.mainConnection().db;
  sqlite3_stmt* stmt = nullptr;
  const int rc = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &stmt, nullptr);
  sqlite3_finalize(stmt);
  if (rc != SQLITE_OK) {
    std::fprintf(stderr, "compiled SQL refused by SQLite: %s\n%s\n", sqlite3_errmsg(db),
                 sql.c_str());
    std::abort();
  }
}

void compile(Session& session, Stmt& tree) {
  CompileContext ctx;
  ctx.catalog = session.catalog();
  ctx.user = session.user();
  ctx.sessionUser = session.user();
  ctx.userId = session.userId();
  if (tree.kind == StmtKind::Select) {
    const CompiledQuery query = compileQuery(ctx, *static_cast<SelectStmt&>(tree).query);
    checkPrepares(session, query.sql);
  } else if (tree.kind == StmtKind::Insert || tree.kind == StmtKind::Update ||
             tree.kind == StmtKind::Delete) {
    const CompiledDml dml = compileDml(ctx, tree);
    checkPrepares(session, dml.lockSql);
    checkPrepares(session, dml.sql);
    for (const KeyCheck& check : dml.uniqueChecks)
      checkPrepares(session, check.sql);
    for (const KeyCheck& check : dml.parentChecks)
      checkPrepares(session, check.sql);
    for (const ChildAction& action : dml.childActions) {
      checkPrepares(session, action.findSql);
      checkPrepares(session, action.actionSql);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Session& session = fuzz::demoSession();
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    StmtPtr tree = parseStatement(text);
    compile(session, *tree);
  } catch (const OraError&) {
  }
  try {
    std::unique_ptr<Statement> statement = session.prepare(text);
    statement->describe();
  } catch (const OraError&) {
  }
  return 0;
}
