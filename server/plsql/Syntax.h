// The compiled form of a PL/SQL program unit (an anonymous block, or a
// stored procedure or function): statements and expressions with every
// name already resolved to a slot of the unit's activation, a bind
// variable, a cursor, an exception or a callable. The compiler
// (Compiler.h) builds it in one pass (PL/SQL declares before use); the
// interpreter (Interpreter.h) runs it.
//
// Values live in slots: one flat array per activation holds the variables
// of the unit's blocks, parameters first. Every slot has a static type;
// BOOLEAN values are held as Integer 1/0 or NULL.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/Types.h"
#include "engine/Value.h"
#include "plsql/Builtins.h"

namespace vorn::server {
struct ColumnDescription;
}

namespace vorn::server::plsql {

struct Node;
struct Stmt;
struct Block;
struct SqlSite;
using NodePtr = std::unique_ptr<Node>;
using StmtPtr = std::unique_ptr<Stmt>;
using StmtList = std::vector<StmtPtr>;

// A declared type: the Oracle type plus PL/SQL's integer subtypes
// (PLS_INTEGER, BINARY_INTEGER, NATURAL, POSITIVE: 32-bit integers) and
// cursor variables (SYS_REFCURSOR and REF CURSOR types; sql is then of kind
// Null). A cursor variable holds no value: it refers to a cursor, which the
// interpreter keeps beside the slots (see Interpreter::CursorVariable).
struct VarType {
  OraType sql;
  bool integer32 = false;
  bool refCursor = false;
};

struct SlotInfo {
  std::string name;
  VarType type;
  bool constant = false;
  bool notNull = false;
  bool loopIndex = false;  // FOR loop index: read-only
};

struct ExceptionDecl {
  std::string name;
  int code = 0;  // PRAGMA EXCEPTION_INIT: the ORA number it stands for
};

// What a name in a scope stands for.
struct Entity {
  enum class Kind { Variable, Record, Cursor, Exception, Type } kind = Kind::Variable;
  int slot = -1;                                    // Variable
  std::vector<std::pair<std::string, int>> fields;  // Record: field name, slot
  int index = -1;                                   // Cursor, Exception
  VarType type;                                     // Type (TYPE t IS REF CURSOR)
};

struct Scope {
  Scope* parent = nullptr;
  std::map<std::string, Entity> names;
  const Entity* find(const std::string& name) const;
};

// A parameter of a procedure or function.
struct Param {
  std::string name;
  ParamMode mode = ParamMode::In;
  VarType type;
  bool hasDefault = false;
  std::shared_ptr<Node> defaultValue;  // stored code: evaluated in the callee
  Value builtinDefault;                // built-in routines
};

struct Signature {
  std::string name;
  bool function = false;
  VarType returns;
  std::vector<Param> params;
};

// Where a value is written: a local, a bind variable, an element of a
// bound PL/SQL table, a package variable, or a record (field by field).
struct Target {
  enum class Kind { Slot, Bind, BindElement, PackageVariable, Record };
  Kind kind = Kind::Slot;
  int pos = 0;
  int slot = -1;
  int bind = -1;
  NodePtr index;
  std::string variable;     // PACKAGE.VARIABLE
  std::vector<int> fields;  // Record: field slots in order
  std::string text;         // as written, for messages
  // A cursor variable (Slot) or a bound HostCursor (Bind): what is written
  // is a reference to a cursor, not a value.
  bool refCursor = false;
};

// A call of a stored or built-in procedure or function. Arguments are in
// the order of the callee's parameters; a missing one takes the default.
struct Call {
  std::string owner, name;                          // stored code
  const BuiltinRoutine* builtin = nullptr;          // or a built-in routine
  std::string package;                              // of the built-in routine
  Signature signature;                              // the callee's (without defaults)
  std::vector<NodePtr> args;                        // null: not given
  std::vector<std::unique_ptr<Target>> outTargets;  // OUT / IN OUT arguments
};

struct Node {
  enum class Kind {
    Const,            // value (type)
    Slot,             // slot
    Bind,             // bind
    BindElement,      // bind(args[0])
    BindCount,        // :t.COUNT / FIRST / LAST (text)
    BindExists,       // :t.EXISTS(args[0])
    PackageVariable,  // text = PACKAGE.VARIABLE
    Negate,           // -args[0]
    Arith,            // args[0] text args[1]: + - * / **
    Concat,           // args[0] || args[1]
    Compare,          // args[0] text args[1]
    And,
    Or,
    Not,
    IsNull,   // args[0] IS [NOT] NULL (negated)
    Between,  // args[0] [NOT] BETWEEN args[1] AND args[2]
    InList,   // args[0] [NOT] IN (args[1..])
    Like,     // args[0] [NOT] LIKE args[1] [ESCAPE args[2]]
    Case,     // see Expr: hasOperand / hasElse
    Call,     // call
    Sql,      // evaluated by the SQL engine: site
    SqlCode,
    SqlErrm,          // args[0]: the code, when given
    CursorAttribute,  // cursor (-1: SQL, or the cursor variable in slot) text = FOUND ...
    Sysdate,
    User,
    Uid,
    Function,  // a SQL function evaluated here (text: NVL, MOD, UPPER, ...)
  };
  Kind kind = Kind::Const;
  int pos = 0;
  int end = 0;
  VarType type;  // static type; kind Null when it depends on a bind
  Value value;
  int slot = -1;
  int bind = -1;
  int cursor = -1;
  std::string text;
  bool negated = false;
  bool hasOperand = false;
  bool hasElse = false;
  std::vector<NodePtr> args;
  std::unique_ptr<Call> call;
  std::unique_ptr<SqlSite> site;
};

struct ExceptionChoice {
  int code = 0;   // predefined exceptions and EXCEPTION_INIT
  int user = -1;  // index of a user-defined exception of the unit
};

struct Handler {
  std::vector<ExceptionChoice> choices;
  bool others = false;
  StmtList body;
};

struct VariableInit {
  int slot = -1;
  NodePtr value;  // null: NULL
  int pos = 0;
  int line = 1;
};

struct Block {
  std::string label;
  std::vector<VariableInit> inits;  // run at entry, in order
  std::vector<int> cursors;         // declared here: closed when the block ends
  StmtList body;
  std::vector<Handler> handlers;
  bool hasHandlers() const { return !handlers.empty(); }
};

struct CursorDecl {
  std::string name;
  std::vector<int> paramSlots;
  std::vector<std::shared_ptr<Node>> paramDefaults;  // null: no default
  std::unique_ptr<SqlSite> query;
};

struct Stmt {
  enum class Kind {
    Null,
    Assign,                 // targets[0] := exprs[0]
    If,                     // exprs[i] THEN bodies[i]; ELSE bodies.back() when hasElse
    Loop,                   // bodies[0]
    While,                  // exprs[0], bodies[0]
    ForRange,               // slot := exprs[0] .. exprs[1] (reverse), bodies[0]
    ForCursor,              // record fields: targets[0]; site or cursor (+ exprs args)
    Exit,                   // label, exprs[0] (WHEN)
    Return,                 // exprs[0] (functions)
    Raise,                  // choice; reraise when choice empty
    RaiseApplicationError,  // exprs: code, message[, keep]
    Sql,                    // site: DML (RETURNING INTO targets), SELECT INTO (targets)
    OpenFor,                // variable; site or exprs[0] (dynamic) + using (exprs[1..])
    Open,                   // cursor, exprs: arguments
    Fetch,                  // cursor or variable, targets
    Close,                  // cursor or variable
    ExecuteImmediate,       // exprs[0] text; targets (INTO); using (exprs[1..]) with modes
    Call,                   // call
    Block,                  // block
    Commit,
    Rollback,   // text: savepoint name (empty: whole transaction)
    Savepoint,  // text
  };
  Kind kind = Kind::Null;
  int pos = 0;
  int line = 1;
  std::vector<NodePtr> exprs;
  std::vector<std::unique_ptr<Target>> targets;
  std::vector<StmtList> bodies;
  bool hasElse = false;
  bool reverse = false;
  int slot = -1;
  int cursor = -1;
  std::string text;
  std::string label;
  ExceptionChoice choice;
  bool reraise = false;
  std::vector<ParamMode> usingModes;               // EXECUTE IMMEDIATE / OPEN FOR USING
  std::vector<std::unique_ptr<Target>> usingOut;   // OUT / IN OUT USING arguments
  std::vector<std::unique_ptr<Target>> returning;  // EXECUTE IMMEDIATE ... RETURNING INTO
  std::unique_ptr<SqlSite> site;
  std::unique_ptr<Call> call;
  std::unique_ptr<Block> block;
  // OPEN FOR, FETCH, CLOSE of a cursor variable or a bound HostCursor.
  std::unique_ptr<Target> variable;
};

struct Unit {
  std::string text;  // the source the line numbers count in
  bool anonymous = true;
  std::string owner, name;  // stored code
  Signature signature;
  std::unique_ptr<Block> body;
  std::vector<SlotInfo> slots;
  std::vector<ExceptionDecl> exceptions;
  std::vector<std::unique_ptr<CursorDecl>> cursors;
  std::vector<std::unique_ptr<Scope>> scopes;
  std::vector<std::string> binds;  // anonymous blocks: the placeholders, in order
  // "" for an anonymous block, "\"SCOTT.P\", " for stored code (the
  // ORA-06512 location prefix).
  std::string where;
};

}  // namespace vorn::server::plsql

// Units own their SQL sites: whoever destroys a unit needs the whole type.
#include "plsql/SqlSite.h"  // IWYU pragma: export
