// The interpreter: SQL statements, cursors, cursor variables and dynamic
// SQL; see Interpreter.h and SqlSite.h.
#include "engine/Session.h"
#include "engine/Statement.h"
#include "plsql/Errors.h"
#include "plsql/Interpreter.h"
#include "plsql/SessionState.h"
#include "value/OraError.h"
#include "value/SessionValues.h"

namespace vorn::server::plsql {
namespace {

// While a site's statement executes, its hook binds locals the engine
// meets for the first time (see SiteHook); the previous state comes back
// afterwards (a function called by the statement may run the same site).
class HookBinding {
 public:
  HookBinding(SiteHook& hook, Statement& st, std::function<Value(const LocalRef&)> valueOf)
      : hook_(hook), binding_(hook.binding), valueOf_(std::move(hook.valueOf)) {
    hook.binding = &st;
    hook.valueOf = std::move(valueOf);
  }
  ~HookBinding() {
    hook_.binding = binding_;
    hook_.valueOf = std::move(valueOf_);
  }

 private:
  SiteHook& hook_;
  Statement* binding_;
  std::function<Value(const LocalRef&)> valueOf_;
};

PlsqlError noDataFound() {
  return PlsqlError(1403, oraMessage(1403));
}

PlsqlError tooManyRows() {
  return PlsqlError(1422, oraMessage(1422));
}

}  // namespace

void Interpreter::checkWrites(const char* what) const {
  if (state_.sqlFunctions == 0) return;
  if (std::string(what) == "DML") raisePlsql(14551);
  raisePlsql(14552);
}

std::unique_ptr<Statement> Interpreter::take(SqlSite& site) {
  if (!site.idle.empty()) {
    std::unique_ptr<Statement> st = std::move(site.idle.back());
    site.idle.pop_back();
    return st;
  }
  std::unique_ptr<Statement> st = session_.prepare(site.text);
  st->setDefaultSchema(site.schema);
  st->setNameHook(site.hook.get());
  return st;
}

void Interpreter::giveBack(SqlSite& site, std::unique_ptr<Statement> st) {
  if (!st) return;
  st->close();
  if (site.idle.size() < 4) site.idle.push_back(std::move(st));
}

int64_t Interpreter::execute(SqlSite& site, Statement& st, Activation& a, SiteHook* own) {
  std::vector<std::optional<Datum>> values(site.values.size());
  for (size_t i = 0; i < site.sources.size(); ++i) {
    const PlaceholderSource& src = site.sources[i];
    int pos = static_cast<int>(i + 1);
    if (src.kind == PlaceholderSource::Kind::Bind) {
      const Datum& d = a.binds[static_cast<size_t>(src.index)];
      st.bind(pos, d.value, a.statement->placeholderType(src.index + 1).kind);
    } else if (src.kind == PlaceholderSource::Kind::Value) {
      auto& v = values[static_cast<size_t>(src.index)];
      if (!v) v = eval(*site.values[static_cast<size_t>(src.index)], a);
      Value bound = v->kind == TypeKind::Boolean && !v->isNull()
                        ? Value::integer(v->value.asInteger())
                        : v->value;
      TypeKind kind =
          v->kind == TypeKind::Null || v->kind == TypeKind::Boolean ? TypeKind::Varchar2 : v->kind;
      st.bind(pos, bound, kind);
    }
  }
  SiteHook& hook = own ? *own : *site.hook;
  for (size_t k = 0; k < hook.params.size(); ++k) {
    st.bindParameter(hook.base + static_cast<int>(k), localValue(hook.params[k], a));
  }
  HookBinding binding(hook, st, [this, &a](const LocalRef& r) { return localValue(r, a); });
  return st.execute();
}

std::vector<Datum> Interpreter::row(Statement& st, const std::vector<ColumnDescription>& columns) {
  std::vector<Datum> out;
  out.reserve(columns.size());
  for (size_t i = 0; i < columns.size(); ++i)
    out.push_back(datum(st.value(static_cast<int>(i)), columns[i].type.kind));
  return out;
}

void Interpreter::selectInto(SqlSite& site, Activation& a) {
  std::unique_ptr<Statement> st = take(site);
  struct Back {
    Interpreter& self;
    SqlSite& site;
    std::unique_ptr<Statement>& st;
    ~Back() { self.giveBack(site, std::move(st)); }
  } back{*this, site, st};
  execute(site, *st, a);
  if (!st->fetch()) {
    state_.sqlRowcount = 0;
    throw noDataFound();
  }
  std::vector<Datum> values = row(*st, site.columns);
  if (st->fetch()) {
    state_.sqlRowcount = 1;
    throw tooManyRows();
  }
  state_.sqlRowcount = 1;
  assignRow(site.into, values, a);
}

void Interpreter::dml(SqlSite& site, Activation& a) {
  if (site.kind == SqlSite::Kind::Dml) checkWrites("DML");
  std::unique_ptr<Statement> st = take(site);
  struct Back {
    Interpreter& self;
    SqlSite& site;
    std::unique_ptr<Statement>& st;
    ~Back() { self.giveBack(site, std::move(st)); }
  } back{*this, site, st};
  int64_t rows = execute(site, *st, a);
  state_.sqlRowcount = rows;
  if (site.into.empty()) return;
  const auto& returned = st->returningRows();
  if (returned.size() > 1) throw tooManyRows();
  std::vector<Datum> values;
  for (size_t i = 0; i < site.into.size(); ++i) {
    values.push_back(returned.empty() ? Datum() : datum(returned[0][i], TypeKind::Null));
  }
  assignRow(site.into, values, a);
}

Datum Interpreter::evalSql(SqlSite& site, Activation& a) {
  std::unique_ptr<Statement> st = take(site);
  struct Back {
    Interpreter& self;
    SqlSite& site;
    std::unique_ptr<Statement>& st;
    ~Back() { self.giveBack(site, std::move(st)); }
  } back{*this, site, st};
  Value v;
  try {
    execute(site, *st, a);
    if (st->fetch()) v = st->value(0);
  } catch (const OraError& e) {
    // In procedural code a failed conversion is a VALUE_ERROR.
    if (e.code() == 1722) valueError(": character to number conversion error");
    throw;
  }
  if (site.kind == SqlSite::Kind::Condition) {
    return booleanDatum(v.isNull() ? std::nullopt : std::optional<bool>(v.asInteger() == 1));
  }
  return datum(std::move(v), site.columns.empty() ? TypeKind::Null : site.columns[0].type.kind);
}

// ---------------------------------------------------------------------------
// Cursors

Interpreter::Flow Interpreter::forCursor(const Stmt& s, Activation& a) {
  SqlSite* site;
  std::unique_ptr<Statement> own;
  OpenCursor* declared = nullptr;
  if (s.cursor >= 0) {
    openCursor(s, a);
    declared = &a.cursors[static_cast<size_t>(s.cursor)];
    site = a.unit->cursors[static_cast<size_t>(s.cursor)]->query.get();
  } else {
    site = s.site.get();
    own = take(*site);
    try {
      execute(*site, *own, a);
    } catch (...) {
      giveBack(*site, std::move(own));
      throw;
    }
  }
  struct Close {
    Interpreter& self;
    SqlSite& site;
    std::unique_ptr<Statement>& own;
    OpenCursor* declared;
    ~Close() {
      if (declared) {
        if (declared->open) self.giveBack(site, std::move(declared->statement));
        declared->open = false;
      } else {
        self.giveBack(site, std::move(own));
      }
    }
  } close{*this, *site, own, declared};
  Statement& st = declared ? *declared->statement : *own;
  bool stop = false;
  while (st.fetch()) {
    if (declared) {
      declared->found = true;
      ++declared->rowcount;
    }
    assignRow(s.targets, row(st, site->columns), a);
    Flow f = runLoopBody(s, a, stop);
    if (stop) return f;
  }
  return Flow::Next;
}

void Interpreter::openCursor(const Stmt& s, Activation& a) {
  const CursorDecl& decl = *a.unit->cursors[static_cast<size_t>(s.cursor)];
  OpenCursor& c = a.cursors[static_cast<size_t>(s.cursor)];
  if (c.open) raiseOra(6511);
  for (size_t i = 0; i < decl.paramSlots.size(); ++i) {
    int slot = decl.paramSlots[i];
    const SlotInfo& info = a.unit->slots[static_cast<size_t>(slot)];
    Datum d;
    if (i < s.exprs.size()) {
      d = eval(*s.exprs[i], a);
    } else if (decl.paramDefaults[i]) {
      d = eval(*decl.paramDefaults[i], a);
    }
    a.slots[static_cast<size_t>(slot)] = plsql::assign(nls_, d, info.type);
  }
  std::unique_ptr<Statement> st = take(*decl.query);
  try {
    execute(*decl.query, *st, a);
  } catch (...) {
    giveBack(*decl.query, std::move(st));
    throw;
  }
  c.statement = std::move(st);
  c.open = true;
  c.rowcount = 0;
  c.found.reset();
}

void Interpreter::fetch(const Stmt& s, Activation& a) {
  if (s.variable) {
    const CursorRef& ref = variable(*s.variable, a);
    if (!ref || !ref->open) raiseOra(1001);
    // What a weak cursor variable returns is known only now.
    size_t fields = 0;
    for (const auto& t : s.targets)
      fields += t->kind == Target::Kind::Record ? t->fields.size() : 1;
    if (fields != ref->columns.size()) raisePlsql(6504);
    if (!ref->statement->fetch()) {
      ref->found = false;
      return;
    }
    ref->found = true;
    ++ref->rowcount;
    assignRow(s.targets, row(*ref->statement, ref->columns), a);
    return;
  }
  OpenCursor& c = a.cursors[static_cast<size_t>(s.cursor)];
  if (!c.open) raiseOra(1001);
  const CursorDecl& decl = *a.unit->cursors[static_cast<size_t>(s.cursor)];
  if (!c.statement->fetch()) {
    c.found = false;
    return;
  }
  c.found = true;
  ++c.rowcount;
  assignRow(s.targets, row(*c.statement, decl.query->columns), a);
}

void Interpreter::close(const Stmt& s, Activation& a) {
  if (s.variable) {
    // Closed, the cursor stays the variable's (and its aliases'): a FETCH
    // fails until it is opened again.
    const CursorRef& ref = variable(*s.variable, a);
    if (!ref || !ref->open) raiseOra(1001);
    ref->statement.reset();
    ref->open = false;
    return;
  }
  OpenCursor& c = a.cursors[static_cast<size_t>(s.cursor)];
  if (!c.open) raiseOra(1001);
  giveBack(*a.unit->cursors[static_cast<size_t>(s.cursor)]->query, std::move(c.statement));
  c.open = false;
}

void Interpreter::openFor(const Stmt& s, Activation& a) {
  const Target& target = *s.variable;
  if (target.kind == Target::Kind::Bind && !a.statement->boundCursor(target.bind + 1)) {
    raiseOra(1001);
  }
  std::unique_ptr<Statement> st;
  if (s.site) {
    SqlSite& site = *s.site;
    st = session_.prepare(site.text);
    st->setDefaultSchema(site.schema);
    // The query goes to the caller: it keeps a hook of its own, so that it
    // can be described again after the block's unit is gone.
    auto hook = std::make_unique<SiteHook>(*site.hook);
    hook->binding = nullptr;
    hook->valueOf = nullptr;
    SiteHook& own = *hook;
    st->adoptNameHook(std::move(hook));
    execute(site, *st, a, &own);
  } else {
    std::string text = toText(nls_, eval(*s.exprs[0], a));
    if (text.empty()) raisePlsql(6535);
    st = session_.prepare(text);
    st->setDefaultSchema(a.unit->owner);
    if (!st->isQuery()) raiseOra(1001);
    size_t given = s.exprs.size() - 1;
    if (st->placeholders().size() > given) raiseOra(1008);
    if (st->placeholders().size() < given) raiseOra(1006);
    for (size_t i = 0; i < given; ++i) {
      Datum d = eval(*s.exprs[i + 1], a);
      st->bind(static_cast<int>(i + 1), d.value,
               d.kind == TypeKind::Null ? TypeKind::Varchar2 : d.kind);
    }
    st->execute();
  }
  // Opened again, a cursor lets go of its previous query; variables that
  // refer to it see the new one.
  CursorRef& ref = variable(target, a);
  if (!ref) ref = std::make_shared<CursorVariable>();
  ref->columns = st->describe();
  ref->statement = std::move(st);
  ref->open = true;
  ref->rowcount = 0;
  ref->found.reset();
}

// ---------------------------------------------------------------------------
// EXECUTE IMMEDIATE

void Interpreter::executeImmediate(const Stmt& s, Activation& a) {
  Datum textDatum = eval(*s.exprs[0], a);
  std::string text = toText(nls_, textDatum);
  if (text.empty()) raisePlsql(6535);
  std::unique_ptr<Statement> st = session_.prepare(text);
  st->setDefaultSchema(a.unit->owner);
  StatementType type = st->type();
  bool block = type == StatementType::Begin || type == StatementType::Declare;
  if (type != StatementType::Select && !block) checkWrites("DML");
  size_t using_ = s.usingModes.size();
  size_t expected = using_ + s.returning.size();
  size_t placeholders = st->placeholders().size();
  if (placeholders > expected) raiseOra(1008);
  if (placeholders < expected) raiseOra(1006);
  for (size_t i = 0; i < using_; ++i) {
    int pos = static_cast<int>(i + 1);
    Datum d;
    if (s.usingModes[i] == ParamMode::In) {
      d = eval(*s.exprs[i + 1], a);
    } else if (s.usingModes[i] == ParamMode::InOut) {
      d = read(*s.usingOut[i], a);
    }
    TypeKind kind =
        d.kind == TypeKind::Null || d.kind == TypeKind::Boolean ? TypeKind::Varchar2 : d.kind;
    if (s.usingModes[i] == ParamMode::Out && s.usingOut[i]->kind == Target::Kind::Slot) {
      TypeKind declared = a.unit->slots[static_cast<size_t>(s.usingOut[i]->slot)].type.sql.kind;
      if (declared == TypeKind::Number || declared == TypeKind::Date) kind = declared;
    }
    st->bind(pos, d.value, kind);
  }
  int64_t rows = st->execute();
  if (st->isQuery()) {
    if (s.targets.empty()) return;
    if (!st->fetch()) {
      state_.sqlRowcount = 0;
      throw noDataFound();
    }
    std::vector<Datum> values = row(*st, st->describe());
    if (st->fetch()) {
      state_.sqlRowcount = 1;
      throw tooManyRows();
    }
    state_.sqlRowcount = 1;
    assignRow(s.targets, values, a);
    return;
  }
  if (!block) state_.sqlRowcount = rows;
  // OUT values: of a PL/SQL block from its binds, of DML from RETURNING.
  const auto& slots = st->returningSlots();
  const auto& returned = st->returningRows();
  if (returned.size() > 1) throw tooManyRows();
  auto returnedValue = [&](size_t placeholder) -> Datum {
    for (size_t k = 0; k < slots.size(); ++k) {
      if (static_cast<size_t>(slots[k]) == placeholder) {
        return returned.empty() ? Datum() : datum(returned[0][k], TypeKind::Null);
      }
    }
    return datum(st->boundValue(static_cast<int>(placeholder + 1)), TypeKind::Null);
  };
  for (size_t i = 0; i < using_; ++i) {
    if (s.usingModes[i] != ParamMode::In) assign(*s.usingOut[i], returnedValue(i), a);
  }
  for (size_t i = 0; i < s.returning.size(); ++i)
    assign(*s.returning[i], returnedValue(using_ + i), a);
}

}  // namespace vorn::server::plsql
