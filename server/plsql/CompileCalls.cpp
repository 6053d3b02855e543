// The compiler: assignments, assignment targets and calls of stored and
// built-in code; see Compiler.h.
#include <algorithm>

#include "engine/Statement.h"
#include "plsql/CompilerImpl.h"
#include "plsql/Errors.h"
#include "plsql/StoredCode.h"
#include "value/OraError.h"

namespace vorn::server::plsql {
namespace {

std::string joined(const std::vector<std::string>& name) {
  std::string out;
  for (size_t i = 0; i < name.size(); ++i)
    out += (i ? "." : "") + name[i];
  return out;
}

}  // namespace

int Compiler::bindIndex(const std::string& name, int pos) const {
  std::string n = !name.empty() && name[0] == '\x01' ? name.substr(1) : name;
  for (size_t i = 0; i < u_.binds.size(); ++i) {
    if (u_.binds[i] == n) return static_cast<int>(i);
  }
  fail(pos, 49, "bad bind variable '" + n + "'");
}

std::unique_ptr<Target> Compiler::nameTarget(const std::vector<std::string>& name, int pos) {
  auto t = std::make_unique<Target>();
  t->pos = pos;
  t->text = joined(name);
  const Entity* e = scope_->find(name[0]);
  if (e && e->kind == Entity::Kind::Variable && name.size() == 1) {
    const SlotInfo& slot = u_.slots[static_cast<size_t>(e->slot)];
    if (slot.constant || slot.loopIndex) {
      fail(pos, 363, "expression '" + name[0] + "' cannot be used as an assignment target");
    }
    t->kind = Target::Kind::Slot;
    t->slot = e->slot;
    t->refCursor = slot.type.refCursor;
    return t;
  }
  if (e && e->kind == Entity::Kind::Record) {
    if (name.size() == 1) {
      t->kind = Target::Kind::Record;
      for (const auto& f : e->fields)
        t->fields.push_back(f.second);
      return t;
    }
    if (name.size() == 2) {
      for (const auto& f : e->fields) {
        if (f.first == name[1]) {
          t->kind = Target::Kind::Slot;
          t->slot = f.second;
          return t;
        }
      }
    }
    fail(pos, 302, "component '" + name.back() + "' must be declared");
  }
  if (e) fail(pos, 363, "expression '" + t->text + "' cannot be used as an assignment target");
  if (name.size() == 2) {
    if (const BuiltinPackage* pkg = findBuiltinPackage(name[0])) {
      if (!findBuiltinVariable(*pkg, name[1])) {
        fail(pos, 302, "component '" + name[1] + "' must be declared");
      }
      t->kind = Target::Kind::PackageVariable;
      t->variable = name[0] + "." + name[1];
      return t;
    }
  }
  fail(pos, 201, "identifier '" + joined(name) + "' must be declared");
}

std::unique_ptr<Target> Compiler::target() {
  const Token& t = peek();
  int pos = t.offset;
  if (t.kind == TokenKind::Bind) {
    auto out = std::make_unique<Target>();
    out->kind = Target::Kind::Bind;
    out->pos = pos;
    out->text = ":" + t.text;
    out->bind = bindIndex(next().text, pos);
    // INTO and USING OUT write values, which a cursor is not.
    if (env_.block && env_.block->boundCursor(out->bind + 1)) {
      fail(pos, 382, "expression is of wrong type");
    }
    return out;
  }
  if (t.kind == TokenKind::Word && t.text[0] == '\x01') {
    auto out = std::make_unique<Target>();
    out->kind = Target::Kind::BindElement;
    out->pos = pos;
    out->text = t.text;
    out->text[0] = ':';
    out->bind = bindIndex(next().text, pos);
    if (env_.block && !env_.block->boundTable(out->bind + 1)) {
      fail(pos, 49, "bad bind variable '" + t.text.substr(1) + "'");
    }
    expectSymbol("(", "(");
    out->index = expression();
    expectSymbol(")", ")");
    return out;
  }
  if (!atName()) syntaxError(t, "<an identifier> <a double-quoted delimited-identifier>");
  std::vector<std::string> name{next().text};
  while (acceptSymbol("."))
    name.push_back(identifier());
  std::unique_ptr<Target> out = nameTarget(name, pos);
  if (out->refCursor) fail(pos, 382, "expression is of wrong type");
  return out;
}

std::unique_ptr<Target> Compiler::targetFromExpr(Expr& e) {
  switch (e.kind) {
    case ExprKind::Bind: {
      auto t = std::make_unique<Target>();
      t->kind = Target::Kind::Bind;
      t->pos = e.pos;
      t->text = ":" + e.text;
      t->bind = bindIndex(e.text, e.pos);
      t->refCursor = env_.block && env_.block->boundCursor(t->bind + 1);
      return t;
    }
    case ExprKind::Name:
      if (e.names[0][0] != '\x01') return nameTarget(e.names, e.pos);
      break;
    case ExprKind::Function:
      if (e.names.size() == 1 && e.names[0][0] == '\x01' && e.args.size() == 1) {
        auto t = std::make_unique<Target>();
        t->kind = Target::Kind::BindElement;
        t->pos = e.pos;
        t->text = e.names[0];
        t->text[0] = ':';
        t->bind = bindIndex(e.names[0], e.pos);
        t->index = lower(*e.args[0]);
        return t;
      }
      break;
    default:
      break;
  }
  fail(e.pos, 363,
       "expression '" +
           u_.text.substr(static_cast<size_t>(e.pos), static_cast<size_t>(e.end - e.pos)) +
           "' cannot be used as an assignment target");
}

std::vector<Compiler::Argument> Compiler::arguments() {
  std::vector<Argument> out;
  if (!acceptSymbol("(")) return out;
  if (acceptSymbol(")")) return out;
  do {
    Argument a;
    a.pos = peek().offset;
    try {
      a.expr = p_.condition();
    } catch (const OraError& e) {
      parseFailure(e);
    }
    out.push_back(named(std::move(a)));
  } while (acceptSymbol(","));
  expectSymbol(")", ", ) * & - + / at mod remainder rem <an exponent (**)> and or ||");
  return out;
}

Compiler::Argument Compiler::named(Argument a) {
  Expr& e = *a.expr;
  if (e.kind == ExprKind::Function && e.names.size() == 1 && e.names[0][0] == '\x02' &&
      e.args.size() == 1) {
    a.name = e.names[0].substr(1);
    ExprPtr value = std::move(e.args[0]);
    a.expr = std::move(value);
  }
  return a;
}

std::vector<Compiler::Argument> Compiler::namedArguments(std::vector<ExprPtr>& exprs) {
  std::vector<Argument> args;
  for (auto& e : exprs) {
    Argument arg;
    arg.pos = e->pos;
    arg.expr = std::move(e);
    args.push_back(named(std::move(arg)));
  }
  return args;
}

bool Compiler::findCallee(const std::vector<std::string>& name, Call& call, bool& isFunction,
                          size_t argumentCount, int pos) {
  if (!u_.anonymous && !u_.name.empty() &&
      ((name.size() == 1 && name[0] == u_.name) ||
       (name.size() == 2 && name[0] == u_.owner && name[1] == u_.name))) {
    call.owner = u_.owner;
    call.name = u_.name;
    call.signature = u_.signature;
    isFunction = u_.signature.function;
    return true;
  }
  if (name.size() == 2) {
    if (const BuiltinPackage* pkg = findBuiltinPackage(name[0])) {
      const BuiltinRoutine* r = findBuiltinRoutine(*pkg, name[1], argumentCount);
      if (!r) {
        if (!hasBuiltinRoutine(*pkg, name[1])) return false;
        fail(pos, 306, "wrong number or types of arguments in call to '" + name[1] + "'");
      }
      call.builtin = r;
      call.package = pkg->name;
      call.signature = builtinSignature(*r);
      isFunction = r->returns.has_value();
      return true;
    }
  }
  if (env_.catalog && name.size() <= 2) {
    if (const StoredCodeInfo* code = findStoredCode(*env_.catalog, env_.user, name)) {
      auto sig = code->status == "VALID" ? storedSignature(*code, env_.catalog) : nullptr;
      if (!sig) {
        fail(pos, 905, "object " + code->owner + "." + code->name + " is invalid");
      }
      call.owner = code->owner;
      call.name = code->name;
      call.signature = *sig;
      isFunction = sig->function;
      return true;
    }
  }
  return false;
}

std::unique_ptr<Call> Compiler::resolveCall(const std::vector<std::string>& name, int pos,
                                            std::vector<Argument> args, bool function) {
  auto call = std::make_unique<Call>();
  bool isFunction = false;
  if (!findCallee(name, *call, isFunction, args.size(), pos)) {
    if (name.size() == 2 && findBuiltinPackage(name[0])) {
      fail(pos, 302, "component '" + name[1] + "' must be declared");
    }
    fail(pos, 201, "identifier '" + joined(name) + "' must be declared");
  }
  if (function && !isFunction) {
    fail(pos, 222, "no function with name '" + name.back() + "' exists in this scope");
  }
  if (!function && isFunction) {
    fail(pos, 221, "'" + name.back() + "' is not a procedure or is undefined");
  }
  const std::vector<Param>& params = call->signature.params;
  std::string wrong = "wrong number or types of arguments in call to '" + name.back() + "'";
  std::vector<ExprPtr> byParam(params.size());
  bool named = false;
  for (size_t i = 0; i < args.size(); ++i) {
    Argument& a = args[i];
    size_t index = i;
    if (a.name.empty()) {
      if (named) {
        fail(a.pos, 312, "a positional parameter association may not follow a named association");
      }
    } else {
      named = true;
      index = params.size();
      for (size_t k = 0; k < params.size(); ++k) {
        if (params[k].name == a.name) index = k;
      }
    }
    if (index >= params.size() || byParam[index]) fail(pos, 306, wrong);
    byParam[index] = std::move(a.expr);
  }
  for (size_t k = 0; k < params.size(); ++k) {
    if (!byParam[k] && !params[k].hasDefault) fail(pos, 306, wrong);
  }
  call->args.resize(params.size());
  call->outTargets.resize(params.size());
  for (size_t k = 0; k < params.size(); ++k) {
    const Param& p = params[k];
    if (!byParam[k]) continue;
    int at = byParam[k]->pos;
    if (p.mode != ParamMode::In) {
      call->outTargets[k] = targetFromExpr(*byParam[k]);
      // A cursor goes only where a cursor is declared, and a value only
      // where a value is.
      if (call->outTargets[k]->refCursor != p.type.refCursor) fail(at, 306, wrong);
    }
    if (p.mode == ParamMode::Out) continue;
    const Expr& e = *byParam[k];
    bool cursor = e.kind == ExprKind::Name && e.names.size() == 1 && isCursorVariable(e.names[0]);
    bool value = e.kind != ExprKind::Null && e.kind != ExprKind::Name &&
                 e.kind != ExprKind::Function && e.kind != ExprKind::Bind;
    if (e.kind == ExprKind::Name && e.names.size() == 1 && !cursor && scope_->find(e.names[0])) {
      value = true;
    }
    if (e.kind == ExprKind::Bind && env_.block) {
      bool host = env_.block->boundCursor(bindIndex(e.text, e.pos) + 1) != nullptr;
      cursor = host;
      value = !host;
    }
    if (p.type.refCursor ? value : cursor) fail(at, 306, wrong);
    call->args[k] = p.type.refCursor ? cursorExpression(*byParam[k]) : lower(*byParam[k]);
  }
  return call;
}

StmtPtr Compiler::assignmentOrCall(int pos) {
  auto s = std::make_unique<Stmt>();
  const Token& t = peek();
  if (t.kind == TokenKind::Bind && env_.block &&
      env_.block->boundCursor(bindIndex(t.text, t.offset) + 1)) {
    // :c := cursor hands the caller the cursor.
    s->kind = Stmt::Kind::Assign;
    s->targets.push_back(cursorVariable(":="));
    expectSymbol(":=", ":= . ( @ % ;");
    s->exprs.push_back(cursorExpression(*parseCondition()));
    expectSymbol(";", kExpectOperator);
    return s;
  }
  if (t.kind == TokenKind::Bind || t.text[0] == '\x01') {
    s->kind = Stmt::Kind::Assign;
    s->targets.push_back(target());
    expectSymbol(":=", ":= . ( @ % ;");
    s->exprs.push_back(expression());
    expectSymbol(";", kExpectOperator);
    return s;
  }
  std::vector<std::string> name{next().text};
  while (acceptSymbol("."))
    name.push_back(identifier());
  if (acceptSymbol(":=")) {
    // The whole statement is read before its names are resolved: a syntax
    // error is reported before an undeclared target, as Oracle's parse
    // comes before name resolution.
    s->kind = Stmt::Kind::Assign;
    ExprPtr value = parseCondition();
    expectSymbol(";", kExpectOperator);
    s->targets.push_back(nameTarget(name, pos));
    s->exprs.push_back(s->targets[0]->refCursor ? cursorExpression(*value) : lower(*value));
    return s;
  }
  if (!peek().isSymbol("(") && !peek().isSymbol(";")) syntaxError(peek(), ":= . ( @ % ;");
  std::vector<Argument> args = arguments();
  expectSymbol(";", ":= . ( @ % ;");
  if (name.back() == "RAISE_APPLICATION_ERROR" &&
      (name.size() == 1 || (name.size() == 2 && name[0] == "DBMS_STANDARD"))) {
    if (args.size() < 2 || args.size() > 3) {
      fail(pos, 306, "wrong number or types of arguments in call to 'RAISE_APPLICATION_ERROR'");
    }
    s->kind = Stmt::Kind::RaiseApplicationError;
    for (Argument& a : args)
      s->exprs.push_back(lower(*a.expr));
    return s;
  }
  const Entity* local = scope_->find(name[0]);
  if (local && name.size() == 1) {
    fail(pos, 221, "'" + name[0] + "' is not a procedure or is undefined");
  }
  s->kind = Stmt::Kind::Call;
  s->call = resolveCall(name, pos, std::move(args), false);
  return s;
}

void Compiler::checkCondition(const Node& n) const {
  if (n.type.sql.kind == TypeKind::Boolean) return;
  if (n.kind == Node::Kind::Const && n.value.isNull()) return;
  fail(n.pos, 382, "expression is of wrong type");
}

}  // namespace vorn::server::plsql
