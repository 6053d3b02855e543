// The interpreter: expressions and assignment targets; see Interpreter.h.
#include <cmath>

#include "engine/Session.h"
#include "engine/Statement.h"
#include "plsql/Errors.h"
#include "plsql/Interpreter.h"
#include "plsql/SessionState.h"
#include "value/DateFunctions.h"
#include "value/NumberFunctions.h"
#include "value/OraError.h"
#include "value/SessionValues.h"
#include "value/StringFunctions.h"

namespace vorn::server::plsql {
namespace {

Datum typedNull(const Node& n) {
  Datum d;
  d.kind = n.type.sql.kind;
  return d;
}

std::optional<bool> notOf(std::optional<bool> b) {
  if (!b) return std::nullopt;
  return !*b;
}

}  // namespace

std::optional<bool> Interpreter::test(const Node& n, Activation& a) {
  return toBoolean(eval(n, a));
}

VarType Interpreter::bindType(const Activation& a, int bind) const {
  VarType t;
  t.sql = a.statement->placeholderType(bind + 1);
  // A bind variable holds what the host buffer takes; its length is the
  // host's business.
  if (t.sql.isText()) t.sql.length = 0;
  return t;
}

Value Interpreter::packageVariable(const std::string& qualified) {
  size_t dot = qualified.find('.');
  return state_.variable(qualified.substr(0, dot), qualified.substr(dot + 1));
}

Value Interpreter::localValue(const LocalRef& r, Activation& a) {
  if (r.kind == LocalRef::Kind::PackageVariable) return packageVariable(r.variable);
  return a.slots[static_cast<size_t>(r.slot)];
}

Interpreter::CursorRef Interpreter::cursorOf(const Node& n, Activation& a) {
  switch (n.kind) {
    case Node::Kind::Slot:
      return a.refs[static_cast<size_t>(n.slot)];
    case Node::Kind::Bind:
      return a.bindRefs[static_cast<size_t>(n.bind)];
    case Node::Kind::Call: {
      CursorRef ref;
      call(*n.call, a, &ref);
      return ref;
    }
    default:
      return nullptr;  // NULL
  }
}

Interpreter::CursorRef& Interpreter::variable(const Target& t, Activation& a) {
  if (t.kind == Target::Kind::Bind) return a.bindRefs[static_cast<size_t>(t.bind)];
  return a.refs[static_cast<size_t>(t.slot)];
}

int64_t Interpreter::tableIndex(const Node& n, Activation& a) {
  Datum d = eval(n, a);
  if (d.isNull()) valueError(": NULL index table key value");
  double v = std::round(toNumber(d).toDouble());
  if (v > 2147483647.0 || v < -2147483648.0) raiseOra(1426);
  return static_cast<int64_t>(v);
}

Datum Interpreter::arithmetic(const Node& n, Activation& a) {
  Datum x = eval(*n.args[0], a);
  Datum y = eval(*n.args[1], a);
  if (x.isNull() || y.isNull()) return typedNull(n);
  const std::string& op = n.text;
  bool xDate = x.value.kind() == Value::Kind::Date, yDate = y.value.kind() == Value::Kind::Date;
  if (op == "+" || op == "-") {
    if (xDate && yDate) {
      if (op == "+") valueError();
      return datum(numberValue(daysBetween(x.value.asInteger(), y.value.asInteger())),
                   TypeKind::Number);
    }
    if (xDate) {
      OraNumber days = toNumber(y);
      return datum(Value::date(addDays(x.value.asInteger(), op == "+" ? days : -days)),
                   TypeKind::Date);
    }
    if (yDate) {
      if (op == "-") valueError();
      return datum(Value::date(addDays(y.value.asInteger(), toNumber(x))), TypeKind::Date);
    }
    OraNumber r = op == "+" ? toNumber(x) + toNumber(y) : toNumber(x) - toNumber(y);
    return datum(numberValue(r), TypeKind::Number);
  }
  if (xDate || yDate) valueError();
  OraNumber r = op == "*" ? toNumber(x) * toNumber(y) : toNumber(x) / toNumber(y);
  return datum(numberValue(r), TypeKind::Number);
}

Datum Interpreter::eval(const Node& n, Activation& a) {
  switch (n.kind) {
    case Node::Kind::Const:
      return datum(n.value, n.type.sql.kind);
    case Node::Kind::Slot:
      return datum(a.slots[static_cast<size_t>(n.slot)], n.type.sql.kind);
    case Node::Kind::Bind:
      return a.binds[static_cast<size_t>(n.bind)];
    case Node::Kind::BindElement: {
      const auto& table = a.tables[static_cast<size_t>(n.bind)];
      auto it = table.find(tableIndex(*n.args[0], a));
      if (it == table.end()) throw PlsqlError(1403, oraMessage(1403));
      return datum(it->second, n.type.sql.kind);
    }
    case Node::Kind::BindCount: {
      const auto& table = a.tables[static_cast<size_t>(n.bind)];
      if (n.text == "COUNT")
        return datum(Value::integer(static_cast<int64_t>(table.size())), TypeKind::Number);
      if (table.empty()) return typedNull(n);
      return datum(Value::integer(n.text == "FIRST" ? table.begin()->first : table.rbegin()->first),
                   TypeKind::Number);
    }
    case Node::Kind::BindExists: {
      const auto& table = a.tables[static_cast<size_t>(n.bind)];
      Datum d = eval(*n.args[0], a);
      if (d.isNull()) return booleanDatum(false);
      return booleanDatum(table.count(tableIndex(*n.args[0], a)) > 0);
    }
    case Node::Kind::PackageVariable:
      return datum(packageVariable(n.text), n.type.sql.kind);
    case Node::Kind::Negate: {
      Datum x = eval(*n.args[0], a);
      if (x.isNull()) return typedNull(n);
      return datum(numberValue(-toNumber(x)), TypeKind::Number);
    }
    case Node::Kind::Arith:
      return arithmetic(n, a);
    case Node::Kind::Concat: {
      std::string text = toText(nls_, eval(*n.args[0], a));
      text += toText(nls_, eval(*n.args[1], a));
      return datum(Value::text(std::move(text)), TypeKind::Varchar2);
    }
    case Node::Kind::Compare: {
      std::optional<int> c = compare(nls_, eval(*n.args[0], a), eval(*n.args[1], a));
      if (!c) return booleanDatum(std::nullopt);
      const std::string& op = n.text;
      bool r = op == "="    ? *c == 0
               : op == "<>" ? *c != 0
               : op == "<"  ? *c < 0
               : op == ">"  ? *c > 0
               : op == "<=" ? *c <= 0
                            : *c >= 0;
      return booleanDatum(r);
    }
    case Node::Kind::And: {
      bool unknown = false;
      for (const NodePtr& arg : n.args) {
        std::optional<bool> b = test(*arg, a);
        if (b == false) return booleanDatum(false);
        if (!b) unknown = true;
      }
      return booleanDatum(unknown ? std::nullopt : std::optional<bool>(true));
    }
    case Node::Kind::Or: {
      bool unknown = false;
      for (const NodePtr& arg : n.args) {
        std::optional<bool> b = test(*arg, a);
        if (b == true) return booleanDatum(true);
        if (!b) unknown = true;
      }
      return booleanDatum(unknown ? std::nullopt : std::optional<bool>(false));
    }
    case Node::Kind::Not:
      return booleanDatum(notOf(test(*n.args[0], a)));
    case Node::Kind::IsNull: {
      bool isNull = eval(*n.args[0], a).isNull();
      return booleanDatum(n.negated ? !isNull : isNull);
    }
    case Node::Kind::Between: {
      Datum x = eval(*n.args[0], a);
      std::optional<int> lo = compare(nls_, x, eval(*n.args[1], a));
      std::optional<int> hi = compare(nls_, x, eval(*n.args[2], a));
      std::optional<bool> r;
      if ((lo && *lo < 0) || (hi && *hi > 0)) {
        r = false;
      } else if (lo && hi) {
        r = true;
      }
      return booleanDatum(n.negated ? notOf(r) : r);
    }
    case Node::Kind::InList: {
      Datum x = eval(*n.args[0], a);
      std::optional<bool> r = false;
      for (size_t i = 1; i < n.args.size(); ++i) {
        std::optional<int> c = compare(nls_, x, eval(*n.args[i], a));
        if (!c) {
          r = std::nullopt;
        } else if (*c == 0) {
          r = true;
          break;
        }
      }
      return booleanDatum(n.negated ? notOf(r) : r);
    }
    case Node::Kind::Like: {
      Datum x = eval(*n.args[0], a), p = eval(*n.args[1], a);
      Datum e = n.args.size() > 2 ? eval(*n.args[2], a) : Datum();
      if (x.isNull() || p.isNull() || (n.args.size() > 2 && e.isNull())) {
        return booleanDatum(std::nullopt);
      }
      bool r = like(toText(nls_, x), toText(nls_, p), n.args.size() > 2 ? toText(nls_, e) : "");
      return booleanDatum(n.negated ? !r : r);
    }
    case Node::Kind::Case: {
      size_t i = 0;
      Datum operand;
      if (n.hasOperand) operand = eval(*n.args[i++], a);
      size_t pairsEnd = n.args.size() - (n.hasElse ? 1 : 0);
      for (; i < pairsEnd; i += 2) {  // WHEN args[i] THEN args[i + 1]
        bool hit = n.hasOperand ? compare(nls_, operand, eval(*n.args[i], a)) == 0
                                : test(*n.args[i], a) == true;
        if (hit) return datum(eval(*n.args[i + 1], a).value, n.type.sql.kind);
      }
      if (n.hasElse) return datum(eval(*n.args.back(), a).value, n.type.sql.kind);
      return typedNull(n);
    }
    case Node::Kind::Call:
      return call(*n.call, a);
    case Node::Kind::Sql:
      return evalSql(*n.site, a);
    case Node::Kind::SqlCode:
      return datum(Value::integer(a.handling.empty() ? 0 : a.handling.back()->sqlcode()),
                   TypeKind::Number);
    case Node::Kind::SqlErrm: {
      if (n.args.empty()) {
        std::string m = a.handling.empty() ? "ORA-0000: normal, successful completion"
                                           : a.handling.back()->sqlerrm();
        return datum(Value::text(m), TypeKind::Varchar2);
      }
      Datum code = eval(*n.args[0], a);
      if (code.isNull()) return typedNull(n);
      int64_t c = static_cast<int64_t>(toNumber(code).toDouble());
      std::string m = c == 0     ? "ORA-0000: normal, successful completion"
                      : c == 100 ? oraMessage(1403)
                      : c > 0    ? "User-Defined Exception"
                                 : oraMessage(static_cast<int>(-c));
      return datum(Value::text(m), TypeKind::Varchar2);
    }
    case Node::Kind::CursorAttribute:
      return cursorAttribute(n, a);
    case Node::Kind::Sysdate:
      return datum(Value::date(nls_.sysdate()), TypeKind::Date);
    case Node::Kind::User:
      return datum(Value::text(session_.user()), TypeKind::Varchar2);
    case Node::Kind::Uid:
      return datum(Value::integer(session_.userId()), TypeKind::Number);
    case Node::Kind::Function:
      return function(n, a);
  }
  return Datum();
}

Datum Interpreter::function(const Node& n, Activation& a) {
  const std::string& f = n.text;
  Datum x = eval(*n.args[0], a);
  if (f == "NVL") return x.isNull() ? datum(eval(*n.args[1], a).value, n.type.sql.kind) : x;
  std::vector<Datum> rest;
  for (size_t i = 1; i < n.args.size(); ++i) {
    rest.push_back(eval(*n.args[i], a));
    if (rest.back().isNull()) return typedNull(n);
  }
  if (x.isNull()) return typedNull(n);
  if (f == "MOD") {
    return datum(numberValue(modNumber(toNumber(x), toNumber(rest[0]))), TypeKind::Number);
  }
  if (f == "ABS") return datum(numberValue(absNumber(toNumber(x))), TypeKind::Number);
  if (f == "TO_CHAR") return datum(Value::text(toText(nls_, x)), TypeKind::Varchar2);
  std::string text = toText(nls_, x);
  if (f == "UPPER") return datum(Value::text(upper(text)), n.type.sql.kind);
  if (f == "LOWER") return datum(Value::text(lower(text)), n.type.sql.kind);
  if (f == "LENGTH") {
    return datum(Value::integer(static_cast<int64_t>(text.size())), TypeKind::Number);
  }
  // SUBSTR
  int64_t pos = toNumber(rest[0]).truncToInt64();
  std::string_view part =
      rest.size() > 1 ? substr(text, pos, toNumber(rest[1]).truncToInt64()) : substr(text, pos);
  return datum(Value::text(std::string(part)), TypeKind::Varchar2);
}

Datum Interpreter::cursorAttribute(const Node& n, Activation& a) {
  const std::string& attr = n.text;
  if (n.slot >= 0) {
    const CursorRef& ref = a.refs[static_cast<size_t>(n.slot)];
    bool open = ref && ref->open;
    if (attr == "ISOPEN") return booleanDatum(open);
    if (!open) raiseOra(1001);
    if (attr == "ROWCOUNT") return datum(Value::integer(ref->rowcount), TypeKind::Number);
    if (!ref->found) return booleanDatum(std::nullopt);
    return booleanDatum(attr == "FOUND" ? *ref->found : !*ref->found);
  }
  if (n.cursor < 0) {
    int64_t rows = state_.sqlRowcount;
    if (attr == "ISOPEN") return booleanDatum(false);
    if (attr == "ROWCOUNT")
      return rows < 0 ? typedNull(n) : datum(Value::integer(rows), TypeKind::Number);
    if (rows < 0) return booleanDatum(std::nullopt);
    return booleanDatum(attr == "FOUND" ? rows > 0 : rows == 0);
  }
  const OpenCursor& c = a.cursors[static_cast<size_t>(n.cursor)];
  if (attr == "ISOPEN") return booleanDatum(c.open);
  if (!c.open) raiseOra(1001);
  if (attr == "ROWCOUNT") return datum(Value::integer(c.rowcount), TypeKind::Number);
  if (!c.found) return booleanDatum(std::nullopt);
  return booleanDatum(attr == "FOUND" ? *c.found : !*c.found);
}

// ---------------------------------------------------------------------------
// Targets

void Interpreter::assign(const Target& t, const Datum& d, Activation& a) {
  switch (t.kind) {
    case Target::Kind::Slot: {
      const SlotInfo& slot = a.unit->slots[static_cast<size_t>(t.slot)];
      Value v = plsql::assign(nls_, d, slot.type);
      if (slot.notNull && v.isNull()) valueError();
      a.slots[static_cast<size_t>(t.slot)] = std::move(v);
      return;
    }
    case Target::Kind::Bind: {
      VarType type = bindType(a, t.bind);
      Value v = plsql::assign(nls_, d, type);
      a.binds[static_cast<size_t>(t.bind)] = datum(std::move(v), type.sql.kind);
      a.bindWritten[static_cast<size_t>(t.bind)] = true;
      return;
    }
    case Target::Kind::BindElement: {
      HostTable* host = a.statement->boundTable(t.bind + 1);
      VarType element;
      element.sql = OraType::of(host->elementType);
      if (host->elementType == TypeKind::Varchar2) element.sql.length = host->elementSize;
      int64_t index = tableIndex(*t.index, a);
      a.tables[static_cast<size_t>(t.bind)][index] = plsql::assign(nls_, d, element);
      a.tableWritten[static_cast<size_t>(t.bind)] = true;
      return;
    }
    case Target::Kind::PackageVariable: {
      size_t dot = t.variable.find('.');
      std::string pkg = t.variable.substr(0, dot), name = t.variable.substr(dot + 1);
      const BuiltinPackage* p = findBuiltinPackage(pkg);
      const BuiltinVariable* var = p ? findBuiltinVariable(*p, name) : nullptr;
      if (!var) raiseOra(6508);
      VarType type;
      type.sql = var->type;
      state_.setVariable(pkg, name, plsql::assign(nls_, d, type));
      return;
    }
    case Target::Kind::Record:
      valueError();
  }
}

Datum Interpreter::read(const Target& t, Activation& a) {
  switch (t.kind) {
    case Target::Kind::Slot:
      return datum(a.slots[static_cast<size_t>(t.slot)],
                   a.unit->slots[static_cast<size_t>(t.slot)].type.sql.kind);
    case Target::Kind::Bind:
      return a.binds[static_cast<size_t>(t.bind)];
    case Target::Kind::BindElement: {
      const auto& table = a.tables[static_cast<size_t>(t.bind)];
      auto it = table.find(tableIndex(*t.index, a));
      if (it == table.end()) throw PlsqlError(1403, oraMessage(1403));
      return datum(it->second, TypeKind::Null);
    }
    case Target::Kind::PackageVariable:
      return datum(packageVariable(t.variable), TypeKind::Null);
    case Target::Kind::Record:
      break;
  }
  valueError();
}

void Interpreter::assignRow(const std::vector<std::unique_ptr<Target>>& targets,
                            const std::vector<Datum>& row, Activation& a) {
  size_t column = 0;
  for (const auto& t : targets) {
    if (t->kind == Target::Kind::Record) {
      for (int slot : t->fields) {
        const SlotInfo& info = a.unit->slots[static_cast<size_t>(slot)];
        a.slots[static_cast<size_t>(slot)] = plsql::assign(nls_, row.at(column++), info.type);
      }
    } else {
      assign(*t, row.at(column++), a);
    }
  }
}

}  // namespace vorn::server::plsql
