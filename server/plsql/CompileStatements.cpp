// The compiler: statements; see Compiler.h.
#include <algorithm>

#include "engine/Statement.h"
#include "plsql/CompilerImpl.h"
#include "plsql/Errors.h"
#include "plsql/StoredCode.h"
#include "value/OraError.h"

namespace vorn::server::plsql {
namespace {

struct Predefined {
  const char* name;
  int code;
};

constexpr Predefined kPredefined[] = {
    {"NO_DATA_FOUND", 1403},
    {"TOO_MANY_ROWS", 1422},
    {"DUP_VAL_ON_INDEX", 1},
    {"ZERO_DIVIDE", 1476},
    {"VALUE_ERROR", 6502},
    {"INVALID_NUMBER", 1722},
    {"INVALID_CURSOR", 1001},
    {"CURSOR_ALREADY_OPEN", 6511},
    {"PROGRAM_ERROR", 6501},
    {"STORAGE_ERROR", 6500},
    {"ROWTYPE_MISMATCH", 6504},
    {"TIMEOUT_ON_RESOURCE", 51},
    {"LOGIN_DENIED", 1017},
    {"NOT_LOGGED_ON", 1012},
    {"SYS_INVALID_ROWID", 1410},
    {"ACCESS_INTO_NULL", 6530},
    {"COLLECTION_IS_NULL", 6531},
    {"SUBSCRIPT_BEYOND_COUNT", 6533},
    {"SUBSCRIPT_OUTSIDE_LIMIT", 6532},
};

std::string joined(const std::vector<std::string>& name) {
  std::string out;
  for (size_t i = 0; i < name.size(); ++i)
    out += (i ? "." : "") + name[i];
  return out;
}

}  // namespace

Signature builtinSignature(const BuiltinRoutine& r) {
  Signature sig;
  sig.name = r.name;
  sig.function = r.returns.has_value();
  if (r.returns) sig.returns.sql = *r.returns;
  for (const BuiltinParameter& b : r.params) {
    Param p;
    p.name = b.name;
    p.mode = b.mode;
    p.type.sql = b.type;
    p.hasDefault = b.defaultValue.has_value();
    if (b.defaultValue) p.builtinDefault = *b.defaultValue;
    sig.params.push_back(std::move(p));
  }
  return sig;
}

StmtList Compiler::statements(std::initializer_list<std::string_view> enders) {
  StmtList out;
  for (;;) {
    const Token& t = peek();
    bool end = t.kind == TokenKind::End;
    for (std::string_view e : enders)
      end = end || t.isWord(e);
    if (end) {
      if (out.empty()) syntaxError(t, kExpectStatement);
      return out;
    }
    out.push_back(statement());
  }
}

StmtPtr Compiler::statement() {
  std::string lbl = label();
  const Token& t = peek();
  int pos = t.offset;
  statementPos_ = pos;
  StmtPtr s;
  if (t.kind == TokenKind::Bind || (t.kind == TokenKind::Word && t.text[0] == '\x01')) {
    s = assignmentOrCall(pos);
  } else if (t.kind == TokenKind::Word || t.kind == TokenKind::QuotedWord) {
    const std::string w = t.kind == TokenKind::Word ? t.text : std::string();
    if (w == "BEGIN" || w == "DECLARE") {
      pushScope();
      auto b = std::make_unique<Block>();
      b->label = lbl;
      if (acceptWord("DECLARE")) declarations(*b);
      expectWord("BEGIN", kExpectStatement);
      s = std::make_unique<Stmt>();
      s->kind = Stmt::Kind::Block;
      s->block = blockAfterBegin(std::move(b));
      popScope();
    } else if (w == "NULL") {
      next();
      expectSymbol(";");
      s = std::make_unique<Stmt>();
      s->kind = Stmt::Kind::Null;
    } else if (w == "IF") {
      s = ifStatement(pos);
    } else if (w == "LOOP" || w == "WHILE") {
      s = loopStatement(pos, lbl);
    } else if (w == "FOR") {
      s = forStatement(pos, lbl);
    } else if (w == "EXIT") {
      s = exitStatement(pos);
    } else if (w == "RETURN") {
      s = returnStatement(pos);
    } else if (w == "RAISE") {
      s = raiseStatement(pos);
    } else if (w == "SELECT" || w == "INSERT" || w == "UPDATE" || w == "DELETE" || w == "LOCK" ||
               (w == "SET" && peek(1).isWord("TRANSACTION"))) {
      s = sqlStatement(pos);
    } else if (w == "COMMIT" || w == "ROLLBACK" || w == "SAVEPOINT") {
      s = transactionStatement(pos);
    } else if (w == "OPEN") {
      s = openStatement(pos);
    } else if (w == "FETCH") {
      s = fetchStatement(pos);
    } else if (w == "CLOSE") {
      s = closeStatement(pos);
    } else if (w == "EXECUTE" && peek(1).isWord("IMMEDIATE")) {
      s = executeImmediate(pos);
    } else if (w == "GOTO" || w == "CASE" || w == "FORALL" || w == "MERGE" || w == "PIPE") {
      fail(pos, 999, "implementation restriction (may be temporary) " + w + " statements");
    } else if (atName()) {
      s = assignmentOrCall(pos);
    } else {
      syntaxError(t, kExpectStatement);
    }
  } else {
    syntaxError(t, kExpectStatement);
  }
  s->pos = pos;
  s->line = lineOf(pos);
  return s;
}

StmtPtr Compiler::ifStatement(int) {
  next();  // IF
  auto s = std::make_unique<Stmt>();
  s->kind = Stmt::Kind::If;
  for (;;) {
    NodePtr c = condition();
    checkCondition(*c);
    s->exprs.push_back(std::move(c));
    expectWord("THEN", "then and or");
    s->bodies.push_back(statements({"ELSIF", "ELSE", "END"}));
    if (!acceptWord("ELSIF")) break;
  }
  if (acceptWord("ELSE")) {
    s->hasElse = true;
    s->bodies.push_back(statements({"END"}));
  }
  expectWord("END", "else elsif end");
  expectWord("IF", "if");
  expectSymbol(";");
  return s;
}

StmtPtr Compiler::loopStatement(int, const std::string& label) {
  auto s = std::make_unique<Stmt>();
  s->label = label;
  if (acceptWord("WHILE")) {
    s->kind = Stmt::Kind::While;
    NodePtr c = condition();
    checkCondition(*c);
    s->exprs.push_back(std::move(c));
  } else {
    s->kind = Stmt::Kind::Loop;
  }
  expectWord("LOOP", "loop and or");
  loops_.push_back(label);
  s->bodies.push_back(statements({"END"}));
  loops_.pop_back();
  expectWord("END");
  expectWord("LOOP", "loop");
  if (atName()) next();
  expectSymbol(";");
  return s;
}

StmtPtr Compiler::forStatement(int pos, const std::string& label) {
  next();  // FOR
  auto s = std::make_unique<Stmt>();
  s->label = label;
  int namePos = peek().offset;
  std::string name = identifier();
  expectWord("IN", "in");
  pushScope();
  if (peek().isSymbol("(") && peek(1).isWord("SELECT")) {
    // FOR r IN (select ...) LOOP
    s->kind = Stmt::Kind::ForCursor;
    size_t open = p_.position();
    int depth = 0;
    size_t close = open;
    for (; close < tokens_.size() && tokens_[close].kind != TokenKind::End; ++close) {
      if (tokens_[close].isSymbol("(")) ++depth;
      if (tokens_[close].isSymbol(")") && --depth == 0) break;
    }
    if (tokens_[close].kind == TokenKind::End) syntaxError(tokens_[close], ")");
    s->site =
        site(SqlSite::Kind::Query, tokens_[open + 1].offset, tokens_[close].offset, {}, {"", ""});
    p_.setPosition(close + 1);
    Entity& record = declare(name, namePos);
    recordFromColumns(record, s->site->columns);
    auto t = std::make_unique<Target>();
    t->kind = Target::Kind::Record;
    for (const auto& f : record.fields)
      t->fields.push_back(f.second);
    s->targets.push_back(std::move(t));
  } else if (atName() && cursorIndex(peek().text) >= 0 && !peek(1).isSymbol("..")) {
    // FOR r IN cursor [(arguments)] LOOP
    s->kind = Stmt::Kind::ForCursor;
    s->cursor = cursorIndex(next().text);
    CursorDecl& c = *u_.cursors[static_cast<size_t>(s->cursor)];
    if (acceptSymbol("(")) {
      do {
        s->exprs.push_back(expression());
      } while (acceptSymbol(","));
      expectSymbol(")", ", )");
    }
    if (s->exprs.size() > c.paramSlots.size()) {
      fail(pos, 306, "wrong number or types of arguments in call to '" + c.name + "'");
    }
    Entity& record = declare(name, namePos);
    recordFromColumns(record, c.query->columns);
    auto t = std::make_unique<Target>();
    t->kind = Target::Kind::Record;
    for (const auto& f : record.fields)
      t->fields.push_back(f.second);
    s->targets.push_back(std::move(t));
  } else {
    s->kind = Stmt::Kind::ForRange;
    s->reverse = acceptWord("REVERSE");
    s->exprs.push_back(expression());
    expectSymbol("..", ".. * & - + / at mod remainder rem <an exponent (**)> ||");
    s->exprs.push_back(expression());
    VarType index;
    index.sql = OraType::number(38, 0);
    index.integer32 = true;
    int slot = addSlot(name, index);
    u_.slots[static_cast<size_t>(slot)].loopIndex = true;
    Entity& e = declare(name, namePos);
    e.slot = slot;
    s->slot = slot;
  }
  expectWord("LOOP", "loop");
  loops_.push_back(label);
  s->bodies.push_back(statements({"END"}));
  loops_.pop_back();
  popScope();
  expectWord("END");
  expectWord("LOOP", "loop");
  if (atName()) next();
  expectSymbol(";");
  return s;
}

StmtPtr Compiler::exitStatement(int pos) {
  next();  // EXIT
  auto s = std::make_unique<Stmt>();
  s->kind = Stmt::Kind::Exit;
  if (loops_.empty()) fail(pos, 376, "illegal EXIT statement; it must appear inside a loop");
  if (atName() && !peek().isWord("WHEN")) {
    int at = peek().offset;
    s->label = next().text;
    if (std::find(loops_.begin(), loops_.end(), s->label) == loops_.end()) {
      fail(at, 373, "EXIT label '" + s->label + "' must label a LOOP statement");
    }
  }
  if (acceptWord("WHEN")) {
    NodePtr c = condition();
    checkCondition(*c);
    s->exprs.push_back(std::move(c));
  }
  expectSymbol(";", "<an identifier> <a double-quoted delimited-identifier> when ;");
  return s;
}

StmtPtr Compiler::returnStatement(int pos) {
  next();  // RETURN
  auto s = std::make_unique<Stmt>();
  s->kind = Stmt::Kind::Return;
  bool function = !u_.anonymous && u_.signature.function;
  if (!peek().isSymbol(";")) {
    if (!function) fail(pos, 372, "In a procedure, RETURN statement cannot contain an expression");
    s->exprs.push_back(u_.signature.returns.refCursor ? cursorExpression(*parseCondition())
                                                      : expression());
  } else if (function) {
    fail(pos, 503, "RETURN <value> statement required for this return from function");
  }
  expectSymbol(";", kExpectOperator);
  return s;
}

ExceptionChoice Compiler::exceptionName(const std::vector<std::string>& name, int pos) {
  ExceptionChoice c;
  if (name.size() == 1) {
    if (const Entity* e = scope_->find(name[0])) {
      if (e->kind != Entity::Kind::Exception) {
        fail(pos, 201, "identifier '" + name[0] + "' must be declared");
      }
      c.user = e->index;
      c.code = u_.exceptions[static_cast<size_t>(e->index)].code;
      return c;
    }
  }
  if (name.size() <= 2 && (name.size() == 1 || name[0] == "STANDARD")) {
    for (const Predefined& p : kPredefined) {
      if (name.back() == p.name) {
        c.code = p.code;
        return c;
      }
    }
  }
  fail(pos, 201, "identifier '" + joined(name) + "' must be declared");
}

StmtPtr Compiler::raiseStatement(int pos) {
  next();  // RAISE
  auto s = std::make_unique<Stmt>();
  s->kind = Stmt::Kind::Raise;
  if (peek().isSymbol(";")) {
    if (handlerDepth_ == 0) {
      fail(pos, 367,
           "a RAISE statement with no exception name must be inside an exception handler");
    }
    s->reraise = true;
  } else {
    int at = peek().offset;
    std::vector<std::string> name{identifier()};
    while (acceptSymbol("."))
      name.push_back(identifier());
    s->choice = exceptionName(name, at);
  }
  expectSymbol(";", "; . @ %");
  return s;
}

size_t Compiler::statementEnd(size_t first) const {
  int depth = 0;
  size_t i = first;
  for (; i < tokens_.size() && tokens_[i].kind != TokenKind::End; ++i) {
    if (tokens_[i].isSymbol("(")) ++depth;
    if (tokens_[i].isSymbol(")")) --depth;
    if (depth <= 0 && tokens_[i].isSymbol(";")) break;
  }
  return i;
}

StmtPtr Compiler::sqlStatement(int pos) {
  auto s = std::make_unique<Stmt>();
  s->kind = Stmt::Kind::Sql;
  size_t first = p_.position();
  size_t end = statementEnd(first);
  const std::string verb = peek().text;
  // Top-level INTO (SELECT) and RETURNING ... INTO (DML).
  size_t into = 0, from = 0, returning = 0;
  int depth = 0;
  for (size_t i = first; i < end; ++i) {
    const Token& t = tokens_[i];
    if (t.isSymbol("(")) ++depth;
    if (t.isSymbol(")")) --depth;
    if (depth != 0) continue;
    if (verb == "SELECT") {
      if (!into && t.isWord("INTO")) into = i;
      if (into && !from && t.isWord("FROM")) from = i;
    } else if (t.isWord("RETURNING") || t.isWord("RETURN")) {
      returning = i;
    } else if (returning && !into && t.isWord("INTO")) {
      into = i;
    }
  }
  std::vector<std::unique_ptr<Target>> targets;
  std::vector<Cut> cuts;
  if (verb == "SELECT") {
    if (!into) fail(pos, 428, "an INTO clause is expected in this SELECT statement");
    if (!from) syntaxError(tokens_[end], "from");
    p_.setPosition(into + 1);
    do {
      targets.push_back(target());
    } while (acceptSymbol(","));
    if (p_.position() != from) syntaxError(peek(), ", from");
    cuts.push_back(Cut{tokens_[into].offset, tokens_[from].offset, ""});
  } else if (into) {
    p_.setPosition(into + 1);
    do {
      targets.push_back(target());
    } while (acceptSymbol(","));
    if (p_.position() != end) syntaxError(peek(), ", ;");
    std::string list;
    for (size_t i = 0; i < targets.size(); ++i)
      list += (i ? ", :\"#r" : ":\"#r") + std::to_string(i + 1) + "\"";
    cuts.push_back(Cut{tokens_[into + 1].offset, tokens_[end].offset, list + " "});
  }
  SqlSite::Kind kind = verb == "SELECT" ? SqlSite::Kind::Query
                       : verb == "INSERT" || verb == "UPDATE" || verb == "DELETE"
                           ? SqlSite::Kind::Dml
                           : SqlSite::Kind::Other;
  int endOffset = tokens_[end].offset;
  // The targets go with the site before it is prepared (its checks count them).
  s->site = site(kind, tokens_[first].offset, endOffset, std::move(cuts), {"", ""}, &targets);
  p_.setPosition(end);
  expectSymbol(";");
  return s;
}

StmtPtr Compiler::transactionStatement(int) {
  auto s = std::make_unique<Stmt>();
  const std::string w = next().text;
  if (w == "COMMIT") {
    s->kind = Stmt::Kind::Commit;
    acceptWord("WORK");
    if (acceptWord("COMMENT")) {
      if (peek().kind != TokenKind::String) syntaxError(peek(), "<a string literal>");
      next();
    }
  } else if (w == "SAVEPOINT") {
    s->kind = Stmt::Kind::Savepoint;
    s->text = identifier();
  } else {
    s->kind = Stmt::Kind::Rollback;
    acceptWord("WORK");
    if (acceptWord("TO")) {
      acceptWord("SAVEPOINT");
      s->text = identifier();
    }
  }
  expectSymbol(";");
  return s;
}

int Compiler::cursorIndex(const std::string& name) const {
  const Entity* e = scope_ ? scope_->find(name) : nullptr;
  return e && e->kind == Entity::Kind::Cursor ? e->index : -1;
}

std::unique_ptr<Target> Compiler::cursorVariable(const char* statement) {
  auto t = std::make_unique<Target>();
  t->pos = peek().offset;
  t->refCursor = true;
  if (peek().kind == TokenKind::Bind) {
    t->kind = Target::Kind::Bind;
    t->text = ":" + peek().text;
    t->bind = bindIndex(next().text, t->pos);
    if (env_.block && !env_.block->boundCursor(t->bind + 1)) {
      fail(t->pos, 382, "expression is of wrong type");
    }
    return t;
  }
  std::string name = identifier();
  t->text = name;
  const Entity* e = scope_->find(name);
  if (!e) fail(t->pos, 201, "identifier '" + name + "' must be declared");
  // An explicit cursor has its query already.
  if (e->kind == Entity::Kind::Cursor) fail(t->pos, 382, "expression is of wrong type");
  if (!isCursorVariable(name)) fail(t->pos, 456, "item '" + name + "' is not a cursor");
  t->kind = Target::Kind::Slot;
  t->slot = e->slot;
  // A cursor variable passed IN may be fetched from and closed, not opened.
  const std::vector<Param>& params = u_.signature.params;
  if (std::string_view(statement) == "OPEN" && !u_.anonymous &&
      static_cast<size_t>(t->slot) < params.size() &&
      params[static_cast<size_t>(t->slot)].mode == ParamMode::In) {
    fail(t->pos, 361, "IN cursor '" + name + "' cannot be OPEN'ed");
  }
  return t;
}

StmtPtr Compiler::openStatement(int pos) {
  next();  // OPEN
  auto s = std::make_unique<Stmt>();
  if (peek().kind == TokenKind::Bind || (atName() && peek(1).isWord("FOR"))) {
    // OPEN variable FOR query: a cursor variable, or a HostCursor bind the
    // block hands to its caller.
    s->kind = Stmt::Kind::OpenFor;
    s->variable = cursorVariable("OPEN");
    expectWord("FOR", "for");
    if (peek().isWord("SELECT") || peek().isSymbol("(")) {
      size_t first = p_.position();
      size_t end = statementEnd(first);
      s->site =
          site(SqlSite::Kind::Query, tokens_[first].offset, tokens_[end].offset, {}, {"", ""});
      p_.setPosition(end);
    } else {
      s->exprs.push_back(expression());
      if (acceptWord("USING")) {
        do {
          acceptWord("IN");
          s->exprs.push_back(expression());
          s->usingModes.push_back(ParamMode::In);
        } while (acceptSymbol(","));
      }
    }
    expectSymbol(";");
    return s;
  }
  s->kind = Stmt::Kind::Open;
  int at = peek().offset;
  std::string name = identifier();
  s->cursor = cursorIndex(name);
  if (s->cursor < 0) fail(at, 201, "identifier '" + name + "' must be declared");
  CursorDecl& c = *u_.cursors[static_cast<size_t>(s->cursor)];
  if (acceptSymbol("(")) {
    do {
      s->exprs.push_back(expression());
    } while (acceptSymbol(","));
    expectSymbol(")", ", )");
  }
  if (s->exprs.size() > c.paramSlots.size()) {
    fail(pos, 306, "wrong number or types of arguments in call to '" + c.name + "'");
  }
  for (size_t i = s->exprs.size(); i < c.paramSlots.size(); ++i) {
    if (!c.paramDefaults[i]) {
      fail(pos, 306, "wrong number or types of arguments in call to '" + c.name + "'");
    }
  }
  expectSymbol(";", "( ;");
  return s;
}

StmtPtr Compiler::fetchStatement(int) {
  next();  // FETCH
  auto s = std::make_unique<Stmt>();
  s->kind = Stmt::Kind::Fetch;
  int at = peek().offset;
  if (peek().kind == TokenKind::Bind || (atName() && cursorIndex(peek().text) < 0)) {
    // A cursor variable: what it returns is known when it is opened.
    s->variable = cursorVariable("FETCH");
  } else {
    s->cursor = cursorIndex(identifier());
  }
  expectWord("INTO", "into bulk");
  do {
    s->targets.push_back(target());
  } while (acceptSymbol(","));
  expectSymbol(";", ", ;");
  if (s->variable) return s;
  size_t fields = 0;
  for (const auto& t : s->targets)
    fields += t->kind == Target::Kind::Record ? t->fields.size() : 1;
  const CursorDecl& c = *u_.cursors[static_cast<size_t>(s->cursor)];
  if (fields != c.query->columns.size()) {
    fail(at, 394, "wrong number of values in the INTO list of a FETCH statement");
  }
  return s;
}

StmtPtr Compiler::closeStatement(int) {
  next();  // CLOSE
  auto s = std::make_unique<Stmt>();
  s->kind = Stmt::Kind::Close;
  if (peek().kind == TokenKind::Bind || (atName() && cursorIndex(peek().text) < 0)) {
    s->variable = cursorVariable("CLOSE");
  } else {
    s->cursor = cursorIndex(identifier());
  }
  expectSymbol(";");
  return s;
}

StmtPtr Compiler::executeImmediate(int) {
  next();  // EXECUTE
  next();  // IMMEDIATE
  auto s = std::make_unique<Stmt>();
  s->kind = Stmt::Kind::ExecuteImmediate;
  s->exprs.push_back(expression());
  if (acceptWord("INTO")) {
    do {
      s->targets.push_back(target());
    } while (acceptSymbol(","));
  }
  if (acceptWord("USING")) {
    do {
      ParamMode mode = ParamMode::In;
      if (acceptWord("IN")) {
        if (acceptWord("OUT")) mode = ParamMode::InOut;
      } else if (acceptWord("OUT")) {
        mode = ParamMode::Out;
      }
      s->usingModes.push_back(mode);
      if (mode == ParamMode::In) {
        s->exprs.push_back(expression());
        s->usingOut.push_back(nullptr);
      } else {
        auto t = target();
        // IN OUT reads the target's value first.
        s->exprs.push_back(nullptr);
        s->usingOut.push_back(std::move(t));
      }
    } while (acceptSymbol(","));
  }
  if (acceptWord("RETURNING") || acceptWord("RETURN")) {
    expectWord("INTO", "into");
    do {
      s->returning.push_back(target());
    } while (acceptSymbol(","));
  }
  expectSymbol(";", "into using returning ;");
  return s;
}

}  // namespace vorn::server::plsql
