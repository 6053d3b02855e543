// The compiler: expressions, and the SQL the engine runs for a unit (SQL
// statements, cursor queries, expressions PL/SQL leaves to SQL); see
// Compiler.h and SqlSite.h.
#include <algorithm>
#include <cstdio>

#include "engine/Session.h"
#include "engine/Statement.h"
#include "plsql/CompilerImpl.h"
#include "plsql/Errors.h"
#include "plsql/StoredCode.h"
#include "plsql/Values.h"
#include "value/OraDate.h"
#include "value/OraError.h"

namespace vorn::server::plsql {

// ---------------------------------------------------------------------------
// SqlSite and its hook

int SqlSite::sourceOffset(int textOffset) const {
  int source = pos;
  for (const auto& [at, from] : offsets) {
    if (at > textOffset) break;
    source = from + (textOffset - at);
  }
  return source;
}

const LocalRef* SiteHook::find(const std::vector<std::string>& name, std::string& key) const {
  key.clear();
  for (size_t i = 0; i < name.size(); ++i)
    key += (i ? "." : "") + name[i];
  auto it = visible.find(key);
  if (it != visible.end()) return &it->second;
  return nullptr;
}

std::optional<OraType> SiteHook::localType(const std::vector<std::string>& name) {
  std::string key;
  if (const LocalRef* r = find(name, key)) return r->type;
  if (name.size() == 2) {
    if (const BuiltinPackage* pkg = findBuiltinPackage(name[0])) {
      if (const BuiltinVariable* v = findBuiltinVariable(*pkg, name[1])) {
        LocalRef r;
        r.kind = LocalRef::Kind::PackageVariable;
        r.variable = key;
        r.type = v->type;
        if (r.type.isText() && (r.type.length <= 0 || r.type.length > 4000)) r.type.length = 4000;
        visible.emplace(key, r);
        return r.type;
      }
    }
  }
  return std::nullopt;
}

int SiteHook::localParameter(const std::vector<std::string>& name) {
  std::string key;
  const LocalRef* r = find(name, key);
  auto it = indexes.find(key);
  int index;
  if (it != indexes.end()) {
    index = it->second;
  } else {
    index = base + static_cast<int>(params.size());
    indexes[key] = index;
    params.push_back(*r);
  }
  if (binding && valueOf) binding->bindParameter(index, valueOf(*r));
  return index;
}

// ---------------------------------------------------------------------------
// Expressions

NodePtr Compiler::condition() {
  return lower(*parseCondition());
}

ExprPtr Compiler::parseCondition() {
  ExprPtr e;
  try {
    e = p_.condition();
  } catch (const OraError& err) {
    parseFailure(err);
  }
  return e;
}

NodePtr Compiler::expression() {
  return condition();
}

namespace {

NodePtr node(Node::Kind kind, const Expr& e) {
  auto n = std::make_unique<Node>();
  n->kind = kind;
  n->pos = e.pos;
  n->end = e.end;
  return n;
}

VarType typeOf(TypeKind k) {
  VarType t;
  t.sql = OraType::of(k);
  return t;
}

}  // namespace

NodePtr Compiler::lower(Expr& e) {
  NodePtr n;
  switch (e.kind) {
    case ExprKind::Null:
      n = node(Node::Kind::Const, e);
      return n;
    case ExprKind::Number: {
      n = node(Node::Kind::Const, e);
      OraNumber v;
      if (!tryTextToNumber(e.text, v)) syntaxError(tokens_[tokenIndex(e.pos)], kExpectExpression);
      n->value = numberValue(v);
      n->type.sql = OraType::number();
      return n;
    }
    case ExprKind::String:
      n = node(Node::Kind::Const, e);
      n->value = Value::text(e.text);
      n->type.sql = OraType::charType(static_cast<int>(e.text.size()));
      return n;
    case ExprKind::DateLiteral: {
      n = node(Node::Kind::Const, e);
      OraDate d;
      if (std::sscanf(e.text.c_str(), "%d-%d-%d", &d.year, &d.month, &d.day) != 3) {
        fail(e.pos, 103, "Encountered the symbol \"" + e.text + "\"");
      }
      d.validate();
      n->value = Value::date(d.toSeconds());
      n->type = typeOf(TypeKind::Date);
      return n;
    }
    case ExprKind::Bind:
      n = node(Node::Kind::Bind, e);
      n->bind = bindIndex(e.text, e.pos);
      if (env_.block &&
          (env_.block->boundTable(n->bind + 1) || env_.block->boundCursor(n->bind + 1))) {
        fail(e.pos, 382, "expression is of wrong type");
      }
      return n;
    case ExprKind::Name:
      return lowerName(e);
    case ExprKind::Function:
      return lowerFunction(e);
    case ExprKind::Negate:
      n = node(Node::Kind::Negate, e);
      n->args.push_back(lower(*e.args[0]));
      n->type.sql = OraType::number();
      return n;
    case ExprKind::Arith: {
      n = node(Node::Kind::Arith, e);
      n->text = e.text;
      n->args.push_back(lower(*e.args[0]));
      n->args.push_back(lower(*e.args[1]));
      TypeKind a = n->args[0]->type.sql.kind, b = n->args[1]->type.sql.kind;
      bool date = (a == TypeKind::Date) != (b == TypeKind::Date);
      n->type.sql = date && (e.text == "+" || e.text == "-") ? OraType::of(TypeKind::Date)
                                                             : OraType::number();
      return n;
    }
    case ExprKind::Concat:
      n = node(Node::Kind::Concat, e);
      n->args.push_back(lower(*e.args[0]));
      n->args.push_back(lower(*e.args[1]));
      n->type.sql = OraType::varchar2(0);
      return n;
    case ExprKind::Compare:
      n = node(Node::Kind::Compare, e);
      n->text = e.text;
      n->args.push_back(lower(*e.args[0]));
      n->args.push_back(lower(*e.args[1]));
      n->type = typeOf(TypeKind::Boolean);
      return n;
    case ExprKind::And:
    case ExprKind::Or:
      n = node(e.kind == ExprKind::And ? Node::Kind::And : Node::Kind::Or, e);
      for (auto& a : e.args) {
        n->args.push_back(lower(*a));
        checkCondition(*n->args.back());
      }
      n->type = typeOf(TypeKind::Boolean);
      return n;
    case ExprKind::Not:
      n = node(Node::Kind::Not, e);
      n->args.push_back(lower(*e.args[0]));
      checkCondition(*n->args.back());
      n->type = typeOf(TypeKind::Boolean);
      return n;
    case ExprKind::IsNull:
    case ExprKind::Between:
    case ExprKind::InList:
    case ExprKind::Like:
      n = node(e.kind == ExprKind::IsNull    ? Node::Kind::IsNull
               : e.kind == ExprKind::Between ? Node::Kind::Between
               : e.kind == ExprKind::InList  ? Node::Kind::InList
                                             : Node::Kind::Like,
               e);
      n->negated = e.negated;
      for (auto& a : e.args)
        n->args.push_back(lower(*a));
      n->type = typeOf(TypeKind::Boolean);
      return n;
    case ExprKind::Case: {
      n = node(Node::Kind::Case, e);
      n->hasOperand = e.hasCaseOperand;
      n->hasElse = e.hasElse;
      for (auto& a : e.args)
        n->args.push_back(lower(*a));
      // The type of the first result that has one.
      size_t first = n->hasOperand ? 2 : 1;
      for (size_t i = first; i < n->args.size(); i += 2) {
        if (n->args[i]->type.sql.kind != TypeKind::Null) {
          n->type = n->args[i]->type;
          break;
        }
      }
      if (n->hasElse && n->type.sql.kind == TypeKind::Null) n->type = n->args.back()->type;
      if (n->type.sql.kind == TypeKind::Char) n->type.sql.kind = TypeKind::Varchar2;
      return n;
    }
    case ExprKind::ScalarQuery:
      return sqlNode(e, false);
    case ExprKind::Exists:
    case ExprKind::InQuery:
    case ExprKind::Quantified:
      return sqlNode(e, true);
    case ExprKind::Star:
    case ExprKind::Row:
      break;
  }
  syntaxError(tokens_[tokenIndex(e.pos)], kExpectExpression);
}

NodePtr Compiler::cursorAttribute(const std::string& word, int pos, int end) {
  auto n = std::make_unique<Node>();
  n->kind = Node::Kind::CursorAttribute;
  n->pos = pos;
  n->end = end;
  size_t percent = word.find('%');
  std::string name = word.substr(0, percent);
  n->text = word.substr(percent + 1);
  if (name == "SQL") {
    n->cursor = -1;
  } else {
    n->cursor = cursorIndex(name);
    if (n->cursor < 0) {
      const Entity* e = scope_->find(name);
      if (!e) fail(pos, 201, "identifier '" + name + "' must be declared");
      if (!isCursorVariable(name)) {
        fail(pos, 324, "cursor attribute may not be applied to non-cursor '" + name + "'");
      }
      n->slot = e->slot;
    }
  }
  n->type = typeOf(n->text == "ROWCOUNT" ? TypeKind::Number : TypeKind::Boolean);
  if (n->text == "ROWCOUNT") n->type.sql = OraType::number();
  return n;
}

NodePtr Compiler::lowerName(Expr& e) {
  const std::vector<std::string>& n = e.names;
  if (n.size() == 1) {
    const std::string& w = n[0];
    if (w.find('%') != std::string::npos) return cursorAttribute(w, e.pos, e.end);
    if (const Entity* ent = scope_->find(w)) {
      // A cursor variable is no value (cursorExpression takes it where a
      // cursor may stand).
      if (ent->kind != Entity::Kind::Variable || isCursorVariable(w)) {
        fail(e.pos, 382, "expression is of wrong type");
      }
      NodePtr out = node(Node::Kind::Slot, e);
      out->slot = ent->slot;
      out->type = u_.slots[static_cast<size_t>(ent->slot)].type;
      return out;
    }
    if (w == "TRUE" || w == "FALSE") {
      NodePtr out = node(Node::Kind::Const, e);
      out->value = Value::integer(w == "TRUE" ? 1 : 0);
      out->type = typeOf(TypeKind::Boolean);
      return out;
    }
    if (w == "SYSDATE" || w == "USER" || w == "UID" || w == "SQLCODE" || w == "SQLERRM") {
      NodePtr out = node(w == "SYSDATE"   ? Node::Kind::Sysdate
                         : w == "USER"    ? Node::Kind::User
                         : w == "UID"     ? Node::Kind::Uid
                         : w == "SQLCODE" ? Node::Kind::SqlCode
                                          : Node::Kind::SqlErrm,
                         e);
      out->type.sql = w == "SYSDATE"                 ? OraType::of(TypeKind::Date)
                      : w == "UID" || w == "SQLCODE" ? OraType::number()
                                                     : OraType::varchar2(0);
      return out;
    }
  } else if (n.size() == 2) {
    if (n[0][0] == '\x01') {
      if (n[1] != "COUNT" && n[1] != "FIRST" && n[1] != "LAST") {
        fail(e.pos, 302, "component '" + n[1] + "' must be declared");
      }
      NodePtr out = node(Node::Kind::BindCount, e);
      out->bind = bindIndex(n[0], e.pos);
      out->text = n[1];
      out->type.sql = OraType::number();
      return out;
    }
    if (const Entity* ent = scope_->find(n[0])) {
      if (ent->kind == Entity::Kind::Record) {
        for (const auto& f : ent->fields) {
          if (f.first == n[1]) {
            NodePtr out = node(Node::Kind::Slot, e);
            out->slot = f.second;
            out->type = u_.slots[static_cast<size_t>(f.second)].type;
            return out;
          }
        }
      }
      fail(e.pos, 302, "component '" + n[1] + "' must be declared");
    }
    if (const BuiltinPackage* pkg = findBuiltinPackage(n[0])) {
      if (const BuiltinVariable* v = findBuiltinVariable(*pkg, n[1])) {
        NodePtr out = node(Node::Kind::PackageVariable, e);
        out->text = pkg->name + "." + v->name;
        out->type.sql = v->type;
        return out;
      }
    }
  }
  // A function called without arguments.
  Call probe;
  bool isFunction = false;
  if (n.size() <= 2 && findCallee(n, probe, isFunction, 0, e.pos)) {
    NodePtr out = node(Node::Kind::Call, e);
    out->call = resolveCall(n, e.pos, {}, true);
    out->type = out->call->signature.returns;
    if (out->type.refCursor) fail(e.pos, 382, "expression is of wrong type");
    return out;
  }
  if (n.size() == 2 && findBuiltinPackage(n[0])) {
    fail(e.pos, 302, "component '" + n[1] + "' must be declared");
  }
  std::string name;
  for (size_t i = 0; i < n.size(); ++i)
    name += (i ? "." : "") + n[i];
  fail(e.pos, 201, "identifier '" + name + "' must be declared");
}

NodePtr Compiler::lowerFunction(Expr& e) {
  const std::vector<std::string>& n = e.names;
  if (n[0][0] == '\x01') {
    NodePtr out;
    if (n.size() == 1 && e.args.size() == 1) {
      out = node(Node::Kind::BindElement, e);
    } else if (n.size() == 2 && n[1] == "\x01EXISTS" && e.args.size() == 1) {
      out = node(Node::Kind::BindExists, e);
      out->type.sql = OraType::of(TypeKind::Boolean);
    } else {
      fail(e.pos, 306, "wrong number or types of arguments in call to '" + n.back() + "'");
    }
    out->bind = bindIndex(n[0], e.pos);
    HostTable* table = env_.block ? env_.block->boundTable(out->bind + 1) : nullptr;
    if (!table) fail(e.pos, 49, "bad bind variable '" + n[0].substr(1) + "'");
    if (out->kind == Node::Kind::BindElement) {
      out->type.sql = OraType::of(table->elementType);
      if (table->elementType == TypeKind::Varchar2) out->type.sql.length = table->elementSize;
    }
    out->args.push_back(lower(*e.args[0]));
    return out;
  }
  if (n.size() == 1 && n[0] == "SQLERRM" && e.args.size() == 1) {
    NodePtr out = node(Node::Kind::SqlErrm, e);
    out->args.push_back(lower(*e.args[0]));
    out->type.sql = OraType::varchar2(0);
    return out;
  }
  if (n.size() == 1 && scope_->find(n[0])) {
    fail(e.pos, 222, "no function with name '" + n[0] + "' exists in this scope");
  }
  Call probe;
  bool isFunction = false;
  if (n.size() <= 2 && findCallee(n, probe, isFunction, e.args.size(), e.pos)) {
    std::vector<Argument> args = namedArguments(e.args);
    NodePtr out = node(Node::Kind::Call, e);
    out->call = resolveCall(n, e.pos, std::move(args), true);
    out->type = out->call->signature.returns;
    if (out->type.refCursor) fail(e.pos, 382, "expression is of wrong type");
    return out;
  }
  // DBMS_LOB's functions are SQL's.
  if (n.size() == 2 && findBuiltinPackage(n[0]) && n[0] != "DBMS_LOB") {
    fail(e.pos, 302, "component '" + n[1] + "' must be declared");
  }
  if (NodePtr direct = directFunction(e)) return direct;
  return sqlNode(e, false);
}

bool Compiler::isCursorVariable(const std::string& name) const {
  const Entity* e = scope_ ? scope_->find(name) : nullptr;
  return e && e->kind == Entity::Kind::Variable &&
         u_.slots[static_cast<size_t>(e->slot)].type.refCursor;
}

NodePtr Compiler::cursorExpression(Expr& e) {
  VarType cursor;
  cursor.sql = OraType::of(TypeKind::Null);
  cursor.refCursor = true;
  NodePtr out;
  if (e.kind == ExprKind::Null) {
    out = node(Node::Kind::Const, e);
  } else if (e.kind == ExprKind::Bind) {
    out = node(Node::Kind::Bind, e);
    out->bind = bindIndex(e.text, e.pos);
    if (env_.block && !env_.block->boundCursor(out->bind + 1)) {
      fail(e.pos, 382, "expression is of wrong type");
    }
  } else if ((e.kind == ExprKind::Name || e.kind == ExprKind::Function) && e.names.size() <= 2 &&
             e.names[0][0] != '\x01' && e.names[0].find('%') == std::string::npos) {
    const std::vector<std::string>& n = e.names;
    if (const Entity* ent = scope_->find(n[0])) {
      if (e.kind != ExprKind::Name || n.size() != 1 || !isCursorVariable(n[0])) {
        fail(e.pos, 382, "expression is of wrong type");
      }
      out = node(Node::Kind::Slot, e);
      out->slot = ent->slot;
    } else {
      std::vector<Argument> args = namedArguments(e.args);
      Call probe;
      bool isFunction = false;
      if (!findCallee(n, probe, isFunction, args.size(), e.pos)) {
        fail(e.pos, 201, "identifier '" + n.back() + "' must be declared");
      }
      out = node(Node::Kind::Call, e);
      out->call = resolveCall(n, e.pos, std::move(args), true);
      if (!out->call->signature.returns.refCursor) fail(e.pos, 382, "expression is of wrong type");
    }
  } else {
    fail(e.pos, 382, "expression is of wrong type");
  }
  out->type = cursor;
  return out;
}

NodePtr Compiler::directFunction(Expr& e) {
  // Common functions whose arguments have types known now are evaluated
  // without a round trip through SQL; the rest goes there.
  if (e.names.size() != 1 || e.distinct) return nullptr;
  const std::string& f = e.names[0];
  struct Shape {
    const char* name;
    size_t minArgs, maxArgs;
    TypeKind first;  // Number, Varchar2 (any text) or Null (number, text or date)
  };
  static const Shape kShapes[] = {
      {"NVL", 2, 2, TypeKind::Null},        {"MOD", 2, 2, TypeKind::Number},
      {"ABS", 1, 1, TypeKind::Number},      {"UPPER", 1, 1, TypeKind::Varchar2},
      {"LOWER", 1, 1, TypeKind::Varchar2},  {"LENGTH", 1, 1, TypeKind::Varchar2},
      {"SUBSTR", 2, 3, TypeKind::Varchar2}, {"TO_CHAR", 1, 1, TypeKind::Null},
  };
  const Shape* shape = nullptr;
  for (const Shape& s : kShapes) {
    if (f == s.name) shape = &s;
  }
  if (!shape || e.args.size() < shape->minArgs || e.args.size() > shape->maxArgs) return nullptr;
  auto family = [](const Node& n) {
    TypeKind k = n.type.sql.kind;
    if (k == TypeKind::Char || k == TypeKind::Varchar2 || k == TypeKind::Long ||
        k == TypeKind::Clob) {
      return TypeKind::Varchar2;
    }
    return k;
  };
  auto out = std::make_unique<Node>();
  out->kind = Node::Kind::Function;
  out->pos = e.pos;
  out->end = e.end;
  out->text = f;
  for (auto& a : e.args) {
    out->args.push_back(lower(*a));
    TypeKind k = family(*out->args.back());
    bool known = k == TypeKind::Number || k == TypeKind::Varchar2 || k == TypeKind::Date;
    if (!known) return nullptr;
  }
  TypeKind first = family(*out->args[0]);
  if (shape->first != TypeKind::Null && first != shape->first) return nullptr;
  for (size_t i = 1; i < out->args.size(); ++i) {
    TypeKind k = family(*out->args[i]);
    // MOD and SUBSTR's positions are numbers; NVL's two values of one family.
    if (f == "NVL" ? k != first : k != TypeKind::Number) return nullptr;
  }
  if (f == "NVL") {
    out->type = out->args[0]->type;
    if (out->type.sql.kind == TypeKind::Char) out->type.sql.kind = TypeKind::Varchar2;
  } else if (f == "MOD" || f == "ABS" || f == "LENGTH") {
    out->type.sql = OraType::number();
  } else if (f == "UPPER" || f == "LOWER") {
    out->type.sql = out->args[0]->type.sql;
  } else {
    out->type.sql = OraType::varchar2(0);
  }
  return out;
}

NodePtr Compiler::sqlNode(Expr& e, bool isCondition) {
  auto n = std::make_unique<Node>();
  n->kind = Node::Kind::Sql;
  n->pos = e.pos;
  n->end = e.end;
  // The expression stands twice in a condition: CASE gives its three values.
  std::vector<std::string> pieces =
      isCondition ? std::vector<std::string>{"SELECT CASE WHEN (", ") THEN 1 WHEN NOT (",
                                             ") THEN 0 END FROM DUAL"}
                  : std::vector<std::string>{"SELECT ", " FROM DUAL"};
  n->site = site(isCondition ? SqlSite::Kind::Condition : SqlSite::Kind::Expression, e.pos, e.end,
                 {}, std::move(pieces));
  if (isCondition) {
    n->type.sql = OraType::of(TypeKind::Boolean);
  } else if (!n->site->columns.empty()) {
    n->type.sql = n->site->columns[0].type;
    if (n->type.sql.kind == TypeKind::Char) n->type.sql.kind = TypeKind::Varchar2;
  }
  return n;
}

// ---------------------------------------------------------------------------
// SQL sites

NodePtr Compiler::constructAt(size_t& index) {
  const Token& t = tokens_[index];
  size_t save = p_.position();
  p_.setPosition(index);
  ExprPtr e;
  try {
    e = p_.condition();  // the construct, and what may follow it
  } catch (const OraError& err) {
    parseFailure(err);
  }
  // Only the construct itself: :t(i), :t.COUNT, :t.EXISTS(i), SQLCODE,
  // SQLERRM(n); it is the leftmost operand of what was parsed.
  Expr* construct = e.get();
  while (construct->pos == t.offset && !construct->args.empty() &&
         construct->kind != ExprKind::Name &&
         !(construct->kind == ExprKind::Function && construct->names[0] == t.text)) {
    construct = construct->args[0].get();
  }
  if (construct->pos != t.offset ||
      (construct->kind != ExprKind::Name && construct->kind != ExprKind::Function)) {
    syntaxError(t, kExpectExpression);
  }
  NodePtr out = lower(*construct);
  index = tokenIndex(construct->end);
  p_.setPosition(save);
  return out;
}

std::unique_ptr<SqlSite> Compiler::site(SqlSite::Kind kind, int from, int to, std::vector<Cut> cuts,
                                        std::vector<std::string> pieces,
                                        std::vector<std::unique_ptr<Target>>* targets) {
  auto s = std::make_unique<SqlSite>();
  s->kind = kind;
  s->pos = from;
  if (!u_.anonymous) s->schema = env_.user;
  if (targets) s->into = std::move(*targets);
  // The text once, with offsets relative to it.
  std::string body;
  std::vector<std::pair<int, int>> offsets;
  int copied = from;
  auto copy = [&](int upTo) {
    if (upTo <= copied) return;
    offsets.emplace_back(static_cast<int>(body.size()), copied);
    body.append(u_.text, static_cast<size_t>(copied), static_cast<size_t>(upTo - copied));
    copied = upTo;
  };
  auto replace = [&](int srcFrom, int srcTo, const std::string& text) {
    copy(srcFrom);
    offsets.emplace_back(static_cast<int>(body.size()), srcFrom);
    body += text;
    copied = srcTo;
  };
  auto value = [&](NodePtr n) {
    s->values.push_back(std::move(n));
    return ":\"#" + std::to_string(s->values.size()) + "\"";
  };
  size_t i = tokenIndex(from);
  while (i < tokens_.size() && tokens_[i].kind != TokenKind::End && tokens_[i].offset < to) {
    const Token& t = tokens_[i];
    auto cut = std::find_if(cuts.begin(), cuts.end(),
                            [&](const Cut& c) { return t.offset >= c.from && t.offset < c.to; });
    if (cut != cuts.end()) {
      replace(cut->from, cut->to, cut->replacement);
      while (i < tokens_.size() && tokens_[i].offset < cut->to)
        ++i;
      continue;
    }
    bool qualified = (i > 0 && tokens_[i - 1].isSymbol(".")) || tokens_[i + 1].isSymbol(".");
    if ((t.kind == TokenKind::Word && t.text[0] == '\x01') ||
        (t.kind == TokenKind::Word && (t.text == "SQLCODE" || t.text == "SQLERRM") && !qualified)) {
      size_t j = i;
      NodePtr n = constructAt(j);
      int end = n->end;
      replace(t.offset, end, value(std::move(n)));
      i = j;
      continue;
    }
    if (t.kind == TokenKind::Word && t.text.find('%') != std::string::npos) {
      replace(t.offset, t.offset + t.length,
              value(cursorAttribute(t.text, t.offset, t.offset + t.length)));
      ++i;
      continue;
    }
    ++i;
  }
  copy(to);
  // The pieces around each copy.
  std::string text = pieces.empty() ? std::string() : pieces[0];
  s->offsets.emplace_back(0, from);
  for (size_t k = 1; k < pieces.size(); ++k) {
    int base = static_cast<int>(text.size());
    for (const auto& [at, src] : offsets)
      s->offsets.emplace_back(base + at, src);
    text += body;
    s->offsets.emplace_back(static_cast<int>(text.size()), to);
    text += pieces[k];
  }
  s->text = std::move(text);
  if (env_.session) prepareSite(*s);
  return s;
}

std::map<std::string, LocalRef> Compiler::visibleLocals() const {
  std::map<std::string, LocalRef> out;
  auto local = [&](int slot) {
    LocalRef r;
    r.slot = slot;
    r.type = u_.slots[static_cast<size_t>(slot)].type.sql;
    if (r.type.isText() && (r.type.length <= 0 || r.type.length > 4000)) r.type.length = 4000;
    // SQL sees a LONG variable as VARCHAR2; LOB variables keep their type.
    if (r.type.kind == TypeKind::Long) r.type = OraType::varchar2(4000);
    return r;
  };
  for (const Scope* s = scope_; s; s = s->parent) {
    for (const auto& [name, e] : s->names) {
      if (e.kind == Entity::Kind::Variable) {
        const VarType& type = u_.slots[static_cast<size_t>(e.slot)].type;
        if (type.sql.kind == TypeKind::Boolean || type.refCursor) continue;
        out.emplace(name, local(e.slot));
      } else if (e.kind == Entity::Kind::Record) {
        for (const auto& [field, slot] : e.fields)
          out.emplace(name + "." + field, local(slot));
      }
    }
  }
  return out;
}

void Compiler::prepareSite(SqlSite& s) {
  std::unique_ptr<Statement> st;
  try {
    st = env_.session->prepare(s.text);
  } catch (const OraError& e) {
    failSql(s, e);
  }
  st->setDefaultSchema(s.schema);
  s.hook = std::make_unique<SiteHook>();
  s.hook->visible = visibleLocals();
  s.hook->base = static_cast<int>(st->placeholders().size()) + 1;
  const auto& placeholders = st->placeholders();
  for (size_t i = 0; i < placeholders.size(); ++i) {
    const std::string& name = placeholders[i].name;
    PlaceholderSource src;
    TypeKind kind = TypeKind::Varchar2;
    if (name.rfind("#r", 0) == 0) {
      src.kind = PlaceholderSource::Kind::Returning;
      src.index = std::atoi(name.c_str() + 2) - 1;
    } else if (name.rfind("#", 0) == 0) {
      src.kind = PlaceholderSource::Kind::Value;
      src.index = std::atoi(name.c_str() + 1) - 1;
      const Node& v = *s.values[static_cast<size_t>(src.index)];
      if (v.type.sql.kind != TypeKind::Null && v.type.sql.kind != TypeKind::Boolean) {
        kind = v.type.sql.kind;
      }
    } else {
      src.kind = PlaceholderSource::Kind::Bind;
      src.index = bindIndex(name, s.sourceOffset(placeholders[i].offset));
      if (env_.block) {
        if (env_.block->boundTable(src.index + 1) || env_.block->boundCursor(src.index + 1)) {
          fail(s.sourceOffset(placeholders[i].offset), 382, "expression is of wrong type");
        }
        kind = env_.block->placeholderType(src.index + 1).kind;
      }
    }
    if (src.kind != PlaceholderSource::Kind::Returning) {
      st->bind(static_cast<int>(i + 1), Value(), kind);
    }
    s.sources.push_back(src);
  }
  st->setNameHook(s.hook.get());
  if (s.kind == SqlSite::Kind::Query || s.kind == SqlSite::Kind::Expression ||
      s.kind == SqlSite::Kind::Condition) {
    try {
      s.columns = st->describe();
    } catch (const OraError& e) {
      failSql(s, e);
    }
    if (!s.into.empty()) {
      size_t fields = 0;
      for (const auto& t : s.into)
        fields += t->kind == Target::Kind::Record ? t->fields.size() : 1;
      if (fields != s.columns.size()) {
        compileError(u_.text, s.into[0]->pos,
                     "PL/SQL: " + oraMessage(fields < s.columns.size() ? 913 : 947), s.pos);
      }
    }
  }
  s.idle.push_back(std::move(st));
}

}  // namespace vorn::server::plsql
