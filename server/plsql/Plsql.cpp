// Hooking the PL/SQL layer into the engine; see Plsql.h.
#include "plsql/Plsql.h"

#include "engine/Session.h"
#include "engine/Statement.h"
#include "plsql/Builtins.h"
#include "plsql/Compiler.h"
#include "plsql/Errors.h"
#include "plsql/Interpreter.h"
#include "plsql/SessionState.h"
#include "plsql/StoredCode.h"
#include "value/OraError.h"

namespace vorn::server::plsql {
namespace {

void runBlock(Session& session, Statement& statement) {
  if (statement.tree().kind == StmtKind::CreateStoredCode) {
    createStoredCode(session, statement);
    return;
  }
  for (size_t i = 0; i < statement.placeholders().size(); ++i) {
    if (!statement.isBound(static_cast<int>(i + 1))) raiseOra(1008);
  }
  SessionState& state = SessionState::of(session);
  std::unique_ptr<Unit> unit = compileBlock(session, statement);
  // A block is one statement to its caller: when it fails, what it changed
  // goes (back to a savepoint taken here; gone if the block committed).
  struct Depth {
    int& n;
    ~Depth() { --n; }
  } depth{++state.blocks};
  bool marked = state.sqlFunctions == 0;
  std::string mark = "VORN$BLOCK" + std::to_string(state.blocks);
  if (marked) session.savepoint(mark);
  auto undo = [&] {
    if (!marked) return;
    try {
      session.rollbackToSavepoint(mark);
    } catch (const OraError&) {
    }
  };
  try {
    Interpreter(session).runAnonymous(*unit, statement);
    if (marked) session.releaseSavepoint(mark);
  } catch (const PlsqlError& e) {
    undo();
    throw e.toOraError();
  } catch (const OraError&) {
    undo();
    throw;
  }
}

}  // namespace

void installPlsql() {
  registerStandardPackages();
  Session::setBlockHandler(runBlock);
  Session::setConnectionHook(registerPlsqlFunctions);
  setFunctionHook(bindStoredFunction);
}

}  // namespace vorn::server::plsql
