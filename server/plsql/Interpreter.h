// The PL/SQL interpreter: runs a compiled Unit (Syntax.h) in a session.
//
// An anonymous block reads its bind variables from the statement it came
// with and writes back the ones it assigned when it completes; PL/SQL
// tables bound with Statement::bindTable are index-by tables while it runs
// and are copied back to the host array at the end; OPEN :c FOR hands the
// opened query to the bound HostCursor. Stored code is called with argument
// values and gives back its OUT parameters and function result.
//
// A cursor variable (SYS_REFCURSOR, REF CURSOR types) refers to a cursor
// that lives beside the activation's slots: assignment and parameter
// passing copy the reference, OPEN FOR reuses the cursor a variable refers
// to (so every variable referring to it sees it opened), and a cursor closes
// when nothing refers to it any more. A bound HostCursor is a cursor
// variable of the block; whatever cursor it refers to when the block ends
// goes to the caller, open and positioned where the block left it.
//
// Exceptions are PlsqlErrors; each program unit they leave adds its
// "ORA-06512: at ..." line. A statement's SQL runs through the engine with
// the unit's locals bound (SqlSite.h).
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "plsql/SqlSite.h"
#include "plsql/Syntax.h"
#include "plsql/Values.h"

namespace vorn::server {
class Session;
class SessionValues;
class Statement;
}  // namespace vorn::server

namespace vorn::server::plsql {

class PlsqlError;
class SessionState;

class Interpreter {
 public:
  explicit Interpreter(Session& session);

  // Runs an anonymous block compiled from `statement`.
  void runAnonymous(const Unit& unit, Statement& statement);

  // Calls a stored function from SQL: `args` are the call's arguments with
  // their types (given positionally; missing ones take their defaults).
  Value callFromSql(const std::string& owner, const std::string& name,
                    const std::vector<Datum>& args);

 private:
  struct OpenCursor {
    std::unique_ptr<Statement> statement;
    bool open = false;
    int64_t rowcount = 0;
    std::optional<bool> found;
  };
  // The cursor of a cursor variable: its query has a name hook of its own,
  // so that it outlives the unit that opened it.
  struct CursorVariable : OpenCursor {
    std::vector<ColumnDescription> columns;
  };
  using CursorRef = std::shared_ptr<CursorVariable>;
  struct Activation {
    const Unit* unit = nullptr;
    std::vector<Value> slots;
    Statement* statement = nullptr;  // anonymous blocks: the binds' statement
    std::vector<Datum> binds;
    std::vector<bool> bindWritten;
    std::vector<std::map<int64_t, Value>> tables;
    std::vector<bool> tableWritten;
    std::vector<OpenCursor> cursors;
    std::vector<CursorRef> refs;              // per slot: what a cursor variable refers to
    std::vector<CursorRef> bindRefs;          // per bind: what a bound HostCursor refers to
    std::vector<const PlsqlError*> handling;  // exceptions being handled
    Value result;
    CursorRef resultRef;  // functions returning a cursor
    bool returned = false;
  };
  enum class Flow { Next, Exit, Return };

  // ---- statements (Interpreter.cpp) ----
  Flow run(const StmtList& list, Activation& a);
  Flow run(const Stmt& s, Activation& a);
  Flow runStatement(const Stmt& s, Activation& a);
  Flow runBlock(const Block& b, Activation& a);
  Flow runLoopBody(const Stmt& s, Activation& a, bool& stop);
  Flow forRange(const Stmt& s, Activation& a);
  Flow forCursor(const Stmt& s, Activation& a);
  [[noreturn]] void raise(const Stmt& s, Activation& a);
  void initialize(const Block& b, Activation& a);
  void closeCursors(Activation& a);
  // `cursors`, when given, holds a cursor per parameter: what IN and IN OUT
  // cursor variables refer to, and afterwards what OUT and IN OUT ones do;
  // `returned` gets the cursor a function returns.
  Value invoke(const Unit& unit, std::vector<std::optional<Value>>& args, std::vector<Value>* outs,
               std::vector<CursorRef>* cursors = nullptr, CursorRef* returned = nullptr);
  Datum call(const Call& c, Activation& a, CursorRef* returned = nullptr);

  // ---- values (Evaluate.cpp) ----
  Datum eval(const Node& n, Activation& a);
  std::optional<bool> test(const Node& n, Activation& a);
  Datum arithmetic(const Node& n, Activation& a);
  Datum cursorAttribute(const Node& n, Activation& a);
  Datum function(const Node& n, Activation& a);
  int64_t tableIndex(const Node& n, Activation& a);
  void assign(const Target& t, const Datum& d, Activation& a);
  Datum read(const Target& t, Activation& a);
  void assignRow(const std::vector<std::unique_ptr<Target>>& targets, const std::vector<Datum>& row,
                 Activation& a);
  VarType bindType(const Activation& a, int bind) const;
  Value packageVariable(const std::string& qualified);
  Value localValue(const LocalRef& r, Activation& a);
  // What a cursor expression (Compiler::cursorExpression) refers to.
  CursorRef cursorOf(const Node& n, Activation& a);
  // The reference a cursor variable or bound HostCursor holds.
  CursorRef& variable(const Target& t, Activation& a);

  // ---- SQL (RunSql.cpp) ----
  std::unique_ptr<Statement> take(SqlSite& site);
  void giveBack(SqlSite& site, std::unique_ptr<Statement> st);
  // Binds the site's placeholders and locals (through `hook`, the site's
  // own by default) and executes.
  int64_t execute(SqlSite& site, Statement& st, Activation& a, SiteHook* hook = nullptr);
  std::vector<Datum> row(Statement& st, const std::vector<ColumnDescription>& columns);
  void selectInto(SqlSite& site, Activation& a);
  void dml(SqlSite& site, Activation& a);
  Datum evalSql(SqlSite& site, Activation& a);
  void openFor(const Stmt& s, Activation& a);
  void openCursor(const Stmt& s, Activation& a);
  void fetch(const Stmt& s, Activation& a);
  void close(const Stmt& s, Activation& a);
  void executeImmediate(const Stmt& s, Activation& a);
  void checkWrites(const char* what) const;

  Session& session_;
  SessionState& state_;
  SessionValues& nls_;
  std::string exitLabel_;
};

}  // namespace vorn::server::plsql
