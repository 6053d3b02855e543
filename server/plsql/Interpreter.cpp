// The interpreter: program units, blocks, statements, exceptions and
// calls; see Interpreter.h.
#include "plsql/Interpreter.h"

#include <cmath>

#include "engine/Catalog.h"
#include "engine/Session.h"
#include "engine/Statement.h"
#include "plsql/Errors.h"
#include "plsql/SessionState.h"
#include "plsql/StoredCode.h"
#include "value/OraError.h"
#include "value/SessionValues.h"

namespace vorn::server::plsql {
namespace {

// Deeper than this, a recursion is taken for a runaway one.
constexpr int kMaxCallDepth = 200;
constexpr int kMaxSqlDepth = 50;

struct DepthGuard {
  int& depth;
  explicit DepthGuard(int& d) : depth(d) {
    if (++depth > kMaxCallDepth) {
      --depth;
      raisePlsql(6500);
    }
  }
  ~DepthGuard() { --depth; }
};

PlsqlError errorOf(int code) {
  if (code >= 20000 && code <= 20999) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "ORA-%05d: ", code);
    return PlsqlError(code, buf);
  }
  return PlsqlError(code, oraMessage(code));
}

}  // namespace

Interpreter::Interpreter(Session& session)
    : session_(session), state_(SessionState::of(session)), nls_(session.values()) {}

// ---------------------------------------------------------------------------
// Units

void Interpreter::runAnonymous(const Unit& unit, Statement& st) {
  DepthGuard depth(state_.callDepth);
  Activation a;
  a.unit = &unit;
  a.statement = &st;
  a.slots.resize(unit.slots.size());
  a.refs.resize(unit.slots.size());
  a.cursors.resize(unit.cursors.size());
  size_t binds = unit.binds.size();
  a.binds.resize(binds);
  a.bindRefs.resize(binds);
  a.bindWritten.assign(binds, false);
  a.tables.resize(binds);
  a.tableWritten.assign(binds, false);
  for (size_t i = 0; i < binds; ++i) {
    int pos = static_cast<int>(i + 1);
    a.binds[i] = datum(st.boundValue(pos), st.placeholderType(pos).kind);
    if (HostTable* t = st.boundTable(pos)) {
      VarType element;
      element.sql = OraType::of(t->elementType);
      for (size_t k = 0; k < t->elements.size(); ++k) {
        a.tables[i][static_cast<int64_t>(k + 1)] =
            plsql::assign(nls_, datum(t->elements[k], TypeKind::Null), element);
      }
    }
  }
  try {
    runBlock(*unit.body, a);
    // PL/SQL tables go back to their host arrays.
    for (size_t i = 0; i < binds; ++i) {
      HostTable* t = st.boundTable(static_cast<int>(i + 1));
      if (!t || !a.tableWritten[i]) continue;
      const auto& table = a.tables[i];
      if (!table.empty() &&
          (table.begin()->first < 1 || table.rbegin()->first > static_cast<int64_t>(t->maxSize))) {
        throw PlsqlError(6513, plsqlMessage(6513));
      }
    }
  } catch (PlsqlError& e) {
    closeCursors(a);
    e.leaveUnit(unit.where);
    throw;
  }
  closeCursors(a);
  for (size_t i = 0; i < binds; ++i) {
    int pos = static_cast<int>(i + 1);
    // The cursor a HostCursor bind refers to goes to the caller.
    if (CursorRef& ref = a.bindRefs[i]) {
      if (HostCursor* host = st.boundCursor(pos)) {
        host->statement = ref->open ? std::move(ref->statement) : nullptr;
      }
      ref->statement.reset();
      ref->open = false;
    }
    if (a.bindWritten[i]) st.setBindValue(pos, a.binds[i].value);
    HostTable* t = st.boundTable(pos);
    if (t && a.tableWritten[i]) {
      const auto& table = a.tables[i];
      t->elements.assign(table.empty() ? 0 : static_cast<size_t>(table.rbegin()->first), Value());
      for (const auto& [index, value] : table)
        t->elements[static_cast<size_t>(index - 1)] = value;
    }
  }
}

Value Interpreter::invoke(const Unit& unit, std::vector<std::optional<Value>>& args,
                          std::vector<Value>* outs, std::vector<CursorRef>* cursors,
                          CursorRef* returned) {
  DepthGuard depth(state_.callDepth);
  Activation a;
  a.unit = &unit;
  a.slots.resize(unit.slots.size());
  a.refs.resize(unit.slots.size());
  a.cursors.resize(unit.cursors.size());
  const std::vector<Param>& params = unit.signature.params;
  try {
    for (size_t k = 0; k < params.size(); ++k) {
      const Param& p = params[k];
      if (p.type.refCursor) {
        // An OUT cursor variable starts referring to no cursor.
        if (cursors && p.mode != ParamMode::Out) a.refs[k] = (*cursors)[k];
      } else if (args[k]) {
        a.slots[k] = *args[k];
      } else if (p.mode == ParamMode::In && p.hasDefault && p.defaultValue) {
        a.slots[k] = plsql::assign(nls_, eval(*p.defaultValue, a), p.type);
      }
    }
    runBlock(*unit.body, a);
    if (unit.signature.function && !a.returned) {
      PlsqlError e = errorOf(6503);
      e.line = static_cast<int>(lineColumn(unit.text, static_cast<int>(unit.text.size())).line);
      throw e;
    }
  } catch (PlsqlError& e) {
    closeCursors(a);
    e.leaveUnit(unit.where);
    throw;
  }
  closeCursors(a);
  if (outs) {
    outs->assign(params.size(), Value());
    for (size_t k = 0; k < params.size(); ++k) {
      if (params[k].mode != ParamMode::In) (*outs)[k] = a.slots[k];
    }
  }
  if (cursors) {
    for (size_t k = 0; k < params.size(); ++k) {
      if (params[k].type.refCursor && params[k].mode != ParamMode::In) (*cursors)[k] = a.refs[k];
    }
  }
  if (returned) *returned = a.resultRef;
  return a.result;
}

Datum Interpreter::call(const Call& c, Activation& a, CursorRef* returned) {
  const std::vector<Param>& params = c.signature.params;
  if (c.builtin) {
    std::vector<Value> args(params.size());
    for (size_t k = 0; k < params.size(); ++k) {
      if (c.args[k]) {
        args[k] = plsql::assign(nls_, eval(*c.args[k], a), params[k].type);
      } else if (params[k].mode == ParamMode::In) {
        args[k] = params[k].builtinDefault;
      }
    }
    BuiltinCall bc(session_, state_, args);
    Value result = c.builtin->body(bc);
    for (size_t k = 0; k < params.size(); ++k) {
      if (c.outTargets[k]) assign(*c.outTargets[k], datum(args[k], params[k].type.sql.kind), a);
    }
    if (!c.signature.function) return Datum();
    return datum(plsql::assign(nls_, datum(result, TypeKind::Null), c.signature.returns),
                 c.signature.returns.sql.kind);
  }
  auto catalog = session_.catalog();
  const ObjectRef* ref = catalog->findObject(c.owner, c.name);
  if (!ref || (ref->type != ObjectType::Procedure && ref->type != ObjectType::Function)) {
    raiseOra(6508);
  }
  std::shared_ptr<const Unit> unit =
      state_.storedUnit(session_, *ref->storedCode(), catalog->version());
  const std::vector<Param>& actual = unit->signature.params;
  if (actual.size() != params.size()) raiseOra(6508);
  // The unit changed since the call was compiled, cursors where values were.
  if (unit->signature.returns.refCursor != c.signature.returns.refCursor) raiseOra(6508);
  std::vector<std::optional<Value>> args(params.size());
  std::vector<CursorRef> cursors(params.size());
  for (size_t k = 0; k < params.size(); ++k) {
    if (actual[k].type.refCursor != params[k].type.refCursor) raiseOra(6508);
    if (!c.args[k]) continue;
    if (actual[k].type.refCursor) {
      cursors[k] = cursorOf(*c.args[k], a);
    } else {
      args[k] = plsql::assign(nls_, eval(*c.args[k], a), actual[k].type);
    }
  }
  std::vector<Value> outs;
  CursorRef cursor;
  Value result = invoke(*unit, args, &outs, &cursors, &cursor);
  for (size_t k = 0; k < params.size(); ++k) {
    if (!c.outTargets[k]) continue;
    if (actual[k].type.refCursor) {
      variable(*c.outTargets[k], a) = cursors[k];
    } else {
      assign(*c.outTargets[k], datum(outs[k], actual[k].type.sql.kind), a);
    }
  }
  if (returned) *returned = std::move(cursor);
  return datum(result, unit->signature.returns.sql.kind);
}

Value Interpreter::callFromSql(const std::string& owner, const std::string& name,
                               const std::vector<Datum>& args) {
  // Each level through SQL costs SQLite's stack too: fewer of them.
  if (state_.sqlFunctions >= kMaxSqlDepth) raisePlsql(6500);
  struct InSql {
    int& n;
    explicit InSql(int& c) : n(c) { ++n; }
    ~InSql() { --n; }
  } inSql(state_.sqlFunctions);
  if (owner.empty()) {
    // PACKAGE.FUNCTION of a built-in package.
    size_t dot = name.find('.');
    const BuiltinPackage* pkg = findBuiltinPackage(name.substr(0, dot));
    const BuiltinRoutine* r =
        pkg ? findBuiltinRoutine(*pkg, name.substr(dot + 1), args.size()) : nullptr;
    if (!r) raiseOra(6508);
    std::vector<Value> values(r->params.size());
    for (size_t k = 0; k < r->params.size(); ++k) {
      VarType t;
      t.sql = r->params[k].type;
      if (k < args.size()) {
        values[k] = plsql::assign(nls_, args[k], t);
      } else if (r->params[k].defaultValue) {
        values[k] = *r->params[k].defaultValue;
      }
    }
    BuiltinCall bc(session_, state_, values);
    return r->body(bc);
  }
  auto catalog = session_.catalog();
  const ObjectRef* ref = catalog->findObject(owner, name);
  if (!ref || ref->type != ObjectType::Function) raiseOra(6508);
  std::shared_ptr<const Unit> unit =
      state_.storedUnit(session_, *ref->storedCode(), catalog->version());
  const std::vector<Param>& params = unit->signature.params;
  if (args.size() > params.size()) raiseOra(6508);
  std::vector<std::optional<Value>> values(params.size());
  for (size_t k = 0; k < args.size(); ++k)
    values[k] = plsql::assign(nls_, args[k], params[k].type);
  return invoke(*unit, values, nullptr);
}

// ---------------------------------------------------------------------------
// Blocks and statements

void Interpreter::initialize(const Block& b, Activation& a) {
  for (const VariableInit& init : b.inits) {
    const SlotInfo& slot = a.unit->slots[static_cast<size_t>(init.slot)];
    try {
      if (slot.type.refCursor) {
        a.refs[static_cast<size_t>(init.slot)] = init.value ? cursorOf(*init.value, a) : nullptr;
        continue;
      }
      a.slots[static_cast<size_t>(init.slot)] =
          init.value ? plsql::assign(nls_, eval(*init.value, a), slot.type) : Value();
    } catch (PlsqlError& e) {
      if (e.line < 0) e.line = init.line;
      throw;
    } catch (const OraError& e) {
      PlsqlError pe(e);
      pe.line = init.line;
      throw pe;
    }
  }
}

void Interpreter::closeCursors(Activation& a) {
  for (size_t i = 0; i < a.cursors.size(); ++i) {
    OpenCursor& c = a.cursors[i];
    if (c.open) giveBack(*a.unit->cursors[i]->query, std::move(c.statement));
    c.open = false;
  }
}

Interpreter::Flow Interpreter::runBlock(const Block& b, Activation& a) {
  // Errors in the declarations go to the enclosing block's handlers.
  initialize(b, a);
  // The block's own cursors close when it ends, however it ends.
  struct CloseOwn {
    Interpreter& self;
    const Block& b;
    Activation& a;
    ~CloseOwn() {
      for (int i : b.cursors) {
        OpenCursor& c = a.cursors[static_cast<size_t>(i)];
        if (c.open)
          self.giveBack(*a.unit->cursors[static_cast<size_t>(i)]->query, std::move(c.statement));
        c.open = false;
      }
    }
  } closeOwn{*this, b, a};
  if (!b.hasHandlers()) return run(b.body, a);
  try {
    return run(b.body, a);
  } catch (PlsqlError& e) {
    const Handler* chosen = nullptr;
    for (const Handler& h : b.handlers) {
      if (h.others) {
        chosen = &h;
        break;
      }
      for (const ExceptionChoice& c : h.choices) {
        bool user = c.user >= 0 && e.user() == &a.unit->exceptions[static_cast<size_t>(c.user)];
        if (user || (c.code != 0 && !e.userDefined() && e.code() == c.code)) chosen = &h;
      }
      if (chosen) break;
    }
    if (!chosen) throw;
    PlsqlError caught = e;
    caught.line = -1;
    a.handling.push_back(&caught);
    struct Pop {
      std::vector<const PlsqlError*>& h;
      ~Pop() { h.pop_back(); }
    } pop{a.handling};
    return run(chosen->body, a);
  }
}

Interpreter::Flow Interpreter::run(const StmtList& list, Activation& a) {
  for (const StmtPtr& s : list) {
    Flow f = run(*s, a);
    if (f != Flow::Next) return f;
  }
  return Flow::Next;
}

Interpreter::Flow Interpreter::run(const Stmt& s, Activation& a) {
  try {
    return runStatement(s, a);
  } catch (PlsqlError& e) {
    if (e.line < 0) e.line = s.line;
    throw;
  } catch (const OraError& e) {
    PlsqlError pe(e);
    pe.line = s.line;
    throw pe;
  }
}

void Interpreter::raise(const Stmt& s, Activation& a) {
  if (s.reraise) {
    PlsqlError again = *a.handling.back();
    again.line = -1;
    throw again;
  }
  if (s.choice.user >= 0) {
    const ExceptionDecl& decl = a.unit->exceptions[static_cast<size_t>(s.choice.user)];
    PlsqlError e = decl.code == 0 ? PlsqlError(1, "User-Defined Exception") : errorOf(decl.code);
    e.setUser(&decl, decl.code == 0);
    throw e;
  }
  throw errorOf(s.choice.code);
}

Interpreter::Flow Interpreter::runLoopBody(const Stmt& s, Activation& a, bool& stop) {
  Flow f = run(s.bodies[0], a);
  stop = false;
  if (f == Flow::Exit) {
    stop = true;
    if (exitLabel_.empty() || exitLabel_ == s.label) {
      exitLabel_.clear();
      return Flow::Next;
    }
  } else if (f == Flow::Return) {
    stop = true;
  }
  return f;
}

Interpreter::Flow Interpreter::forRange(const Stmt& s, Activation& a) {
  Datum lo = eval(*s.exprs[0], a), hi = eval(*s.exprs[1], a);
  if (lo.isNull() || hi.isNull()) valueError();
  auto bound = [](const Datum& d) {
    double v = std::round(toNumber(d).toDouble());
    if (v > 2147483647.0 || v < -2147483648.0) raiseOra(1426);
    return static_cast<int64_t>(v);
  };
  int64_t from = bound(lo), to = bound(hi);
  Value& index = a.slots[static_cast<size_t>(s.slot)];
  bool stop = false;
  if (s.reverse) {
    for (int64_t i = to; i >= from; --i) {
      index = Value::integer(i);
      Flow f = runLoopBody(s, a, stop);
      if (stop) return f;
    }
  } else {
    for (int64_t i = from; i <= to; ++i) {
      index = Value::integer(i);
      Flow f = runLoopBody(s, a, stop);
      if (stop) return f;
    }
  }
  return Flow::Next;
}

Interpreter::Flow Interpreter::runStatement(const Stmt& s, Activation& a) {
  switch (s.kind) {
    case Stmt::Kind::Null:
      return Flow::Next;
    case Stmt::Kind::Assign:
      if (s.targets[0]->refCursor) {
        CursorRef ref = cursorOf(*s.exprs[0], a);
        variable(*s.targets[0], a) = std::move(ref);
      } else {
        assign(*s.targets[0], eval(*s.exprs[0], a), a);
      }
      return Flow::Next;
    case Stmt::Kind::If:
      for (size_t i = 0; i < s.exprs.size(); ++i) {
        if (test(*s.exprs[i], a) == true) return run(s.bodies[i], a);
      }
      if (s.hasElse) return run(s.bodies.back(), a);
      return Flow::Next;
    case Stmt::Kind::Loop:
    case Stmt::Kind::While:
      for (;;) {
        if (s.kind == Stmt::Kind::While && test(*s.exprs[0], a) != true) return Flow::Next;
        bool stop = false;
        Flow f = runLoopBody(s, a, stop);
        if (stop) return f;
      }
    case Stmt::Kind::ForRange:
      return forRange(s, a);
    case Stmt::Kind::ForCursor:
      return forCursor(s, a);
    case Stmt::Kind::Exit:
      if (!s.exprs.empty() && test(*s.exprs[0], a) != true) return Flow::Next;
      exitLabel_ = s.label;
      return Flow::Exit;
    case Stmt::Kind::Return:
      if (!s.exprs.empty()) {
        if (a.unit->signature.returns.refCursor) {
          a.resultRef = cursorOf(*s.exprs[0], a);
        } else {
          a.result = plsql::assign(nls_, eval(*s.exprs[0], a), a.unit->signature.returns);
        }
        a.returned = true;
      }
      return Flow::Return;
    case Stmt::Kind::Raise:
      raise(s, a);
    case Stmt::Kind::RaiseApplicationError: {
      Datum code = eval(*s.exprs[0], a);
      Datum text = eval(*s.exprs[1], a);
      double n = code.isNull() ? 0 : toNumber(code).toDouble();
      if (n > -20000 || n < -20999) {
        std::string shown = code.isNull() ? "" : numberToText(toNumber(code));
        throw PlsqlError(21000, "ORA-21000: error number argument to raise_application_error of " +
                                    shown + " is out of range");
      }
      std::string message = toText(nls_, text);
      if (message.size() > 2048) message.resize(2048);
      int c = static_cast<int>(-n);
      char buf[16];
      std::snprintf(buf, sizeof buf, "ORA-%05d: ", c);
      throw PlsqlError(c, buf + message);
    }
    case Stmt::Kind::Sql:
      if (s.site->kind == SqlSite::Kind::Query) {
        selectInto(*s.site, a);
      } else {
        dml(*s.site, a);
      }
      return Flow::Next;
    case Stmt::Kind::OpenFor:
      openFor(s, a);
      return Flow::Next;
    case Stmt::Kind::Open:
      openCursor(s, a);
      return Flow::Next;
    case Stmt::Kind::Fetch:
      fetch(s, a);
      return Flow::Next;
    case Stmt::Kind::Close:
      close(s, a);
      return Flow::Next;
    case Stmt::Kind::ExecuteImmediate:
      executeImmediate(s, a);
      return Flow::Next;
    case Stmt::Kind::Call:
      call(*s.call, a);
      return Flow::Next;
    case Stmt::Kind::Block:
      return runBlock(*s.block, a);
    case Stmt::Kind::Commit:
      checkWrites("commit");
      session_.commit();
      return Flow::Next;
    case Stmt::Kind::Rollback:
      checkWrites("rollback");
      if (s.text.empty()) {
        session_.rollback();
      } else {
        session_.rollbackToSavepoint(s.text);
      }
      return Flow::Next;
    case Stmt::Kind::Savepoint:
      checkWrites("commit");
      session_.savepoint(s.text);
      return Flow::Next;
  }
  return Flow::Next;
}

}  // namespace vorn::server::plsql
