// The compiler: tokens, errors, units, blocks, declarations and types; see
// Compiler.h.
#include <algorithm>

#include "engine/Session.h"
#include "engine/Statement.h"
#include "plsql/CompilerImpl.h"
#include "plsql/Errors.h"
#include "plsql/StoredCode.h"
#include "value/AsciiCase.h"
#include "value/OraError.h"

namespace vorn::server::plsql {

const char* const kExpectStatement =
    "begin case declare exit for goto if loop mod null pragma raise return select update "
    "while with <an identifier> <a double-quoted delimited-identifier> <a bind variable> << "
    "close current delete fetch lock insert open rollback savepoint set sql execute commit "
    "forall merge pipe";
const char* const kExpectExpression =
    "( - + case mod new not null others <an identifier> <a double-quoted delimited-identifier> "
    "<a bind variable> avg count current exists max min prior sql stddev sum variance execute "
    "forall merge time timestamp interval date <a string literal with character set "
    "specification> <a number> <a single-quoted SQL string> pipe";
const char* const kExpectOperator =
    "* & = - + ; < / > at in is mod remainder not rem <an exponent (**)> <> or != or ~= >= <= "
    "<> and or like between ||";

namespace {

const char* const kExpectDeclaration =
    "begin function pragma procedure subtype type <an identifier> <a double-quoted "
    "delimited-identifier> current cursor delete exists prior";

bool isAttributeWord(const Token& t) {
  return t.kind == TokenKind::Word &&
         (t.text == "FOUND" || t.text == "NOTFOUND" || t.text == "ROWCOUNT" || t.text == "ISOPEN");
}

// Named notation, name => value, becomes '\2NAME'(value): a call with one
// argument that the engine's parser reads wherever an argument may stand.
std::vector<Token> namedArguments(std::vector<Token> in) {
  std::vector<Token> out;
  out.reserve(in.size());
  std::vector<int> closeAt;  // input indexes before which a ')' goes
  for (size_t i = 0; i < in.size(); ++i) {
    while (!closeAt.empty() && closeAt.back() == static_cast<int>(i)) {
      Token close;
      close.kind = TokenKind::Symbol;
      close.text = ")";
      close.offset = in[i].offset;
      out.push_back(std::move(close));
      closeAt.pop_back();
    }
    const Token& t = in[i];
    if (t.isName() && i + 1 < in.size() && in[i + 1].isSymbol("=>") && i > 0 &&
        (in[i - 1].isSymbol("(") || in[i - 1].isSymbol(","))) {
      Token name = t;
      name.kind = TokenKind::Word;
      name.text = "\x02" + t.text;
      out.push_back(std::move(name));
      Token open = in[i + 1];
      open.text = "(";
      out.push_back(std::move(open));
      // The value ends at the next ',' or ')' of the argument list.
      int depth = 0;
      size_t j = i + 2;
      for (; j < in.size() && in[j].kind != TokenKind::End; ++j) {
        if (in[j].isSymbol("(")) ++depth;
        if (in[j].isSymbol(")") && depth-- == 0) break;
        if (depth == 0 && (in[j].isSymbol(",") || in[j].isSymbol(";"))) break;
      }
      closeAt.push_back(static_cast<int>(j));
      ++i;
      continue;
    }
    out.push_back(t);
  }
  return out;
}

}  // namespace

std::vector<Token> plsqlTokens(std::string_view text) {
  std::vector<Token> in = tokenize(text, 32767);
  std::vector<Token> out;
  out.reserve(in.size());
  for (size_t i = 0; i < in.size(); ++i) {
    Token t = in[i];
    if (t.isName() && i + 2 < in.size() && in[i + 1].isSymbol("%") && isAttributeWord(in[i + 2])) {
      const Token& attr = in[i + 2];
      Token merged;
      merged.kind = TokenKind::Word;
      merged.text = t.text + "%" + attr.text;
      merged.offset = t.offset;
      merged.length = attr.offset + attr.length - t.offset;
      out.push_back(std::move(merged));
      i += 2;
      continue;
    }
    if (t.kind == TokenKind::Bind && i + 1 < in.size() &&
        (in[i + 1].isSymbol("(") || in[i + 1].isSymbol("."))) {
      t.kind = TokenKind::Word;
      t.text = "\x01" + t.text;
    }
    // :t.EXISTS(i): EXISTS is reserved in SQL, the method name is not.
    if (t.isWord("EXISTS") && out.size() >= 2 && out.back().isSymbol(".") &&
        out[out.size() - 2].kind == TokenKind::Word && out[out.size() - 2].text[0] == '\x01') {
      t.text = "\x01EXISTS";
    }
    out.push_back(std::move(t));
  }
  return namedArguments(std::move(out));
}

const Entity* Scope::find(const std::string& name) const {
  for (const Scope* s = this; s; s = s->parent) {
    auto it = s->names.find(name);
    if (it != s->names.end()) return &it->second;
  }
  return nullptr;
}

Compiler::Compiler(CompileEnv env, Unit& unit)
    : env_(std::move(env)), u_(unit), tokens_(plsqlTokens(unit.text)), p_(unit.text, tokens_) {
  lineStarts_.push_back(0);
  for (size_t i = 0; i < u_.text.size(); ++i) {
    if (u_.text[i] == '\n') lineStarts_.push_back(static_cast<int>(i + 1));
  }
}

// ---------------------------------------------------------------------------
// Tokens and errors

size_t Compiler::tokenIndex(int offset) const {
  auto it = std::lower_bound(tokens_.begin(), tokens_.end(), offset,
                             [](const Token& t, int o) { return t.offset < o; });
  return static_cast<size_t>(it - tokens_.begin());
}

int Compiler::lineOf(int offset) const {
  auto it = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), offset);
  return static_cast<int>(it - lineStarts_.begin());
}

std::string Compiler::tokenText(const Token& t) const {
  switch (t.kind) {
    case TokenKind::End:
      return "end-of-file";
    case TokenKind::Word:
      if (!t.text.empty() && t.text[0] == '\x01') return ":" + t.text.substr(1);
      return t.text;
    default:
      return u_.text.substr(static_cast<size_t>(t.offset), static_cast<size_t>(t.length));
  }
}

void Compiler::syntaxError(const Token& t, std::string_view expected) const {
  compileError(u_.text, t.offset,
               plsMessage(103, "Encountered the symbol \"" + tokenText(t) +
                                   "\" when expecting one of the following:\n\n   " +
                                   std::string(expected)));
}

void Compiler::fail(int pos, int pls, const std::string& text) const {
  compileError(u_.text, pos, plsMessage(pls, text), statementPos_ >= 0 ? statementPos_ : pos);
}

void Compiler::failSql(const SqlSite& site, const OraError& e) const {
  int offset = e.offset() >= 0 ? site.sourceOffset(e.offset()) : site.pos;
  std::string message = e.message().substr(0, e.message().find('\n'));
  if (site.kind == SqlSite::Kind::Expression || site.kind == SqlSite::Kind::Condition) {
    // A name SQL does not know is, in a PL/SQL expression, an undeclared
    // identifier.
    if (e.code() == 904) {
      size_t open = message.find('"'), close = message.rfind('"');
      std::string name = open < close ? message.substr(open + 1, close - open - 1) : "";
      fail(offset, 201, "identifier '" + name + "' must be declared");
    }
    compileError(u_.text, offset, "PL/SQL: " + message,
                 statementPos_ >= 0 ? statementPos_ : site.pos);
  }
  compileError(u_.text, offset, "PL/SQL: " + message, site.pos);
}

void Compiler::parseFailure(const OraError& e) const {
  if (e.offset() < 0 || e.code() == 600) throw e;
  size_t at = std::min(tokenIndex(e.offset()), tokens_.size() - 1);
  const Token& t = tokens_[at];
  // A statement that ends where an operand is due (after ":=", an operator
  // or a comma) misses an expression.
  const Token* before = at > 0 ? &tokens_[at - 1] : nullptr;
  bool operandDue = e.code() == 911 && before &&
                    ((before->kind == TokenKind::Symbol && before->text != ")") ||
                     before->isWord("AND") || before->isWord("OR") || before->isWord("NOT"));
  const char* expected = e.code() == 936 || operandDue ? kExpectExpression
                         : e.code() == 907
                             ? ") , * & - + / at mod remainder rem <an exponent (**)> and or ||"
                             : kExpectOperator;
  syntaxError(t, expected);
}

void Compiler::expectWord(std::string_view w, const char* expected) {
  if (acceptWord(w)) return;
  std::string lower = asciiLowerCase(w);
  syntaxError(peek(), expected ? expected : lower.c_str());
}

void Compiler::expectSymbol(std::string_view s, const char* expected) {
  if (acceptSymbol(s)) return;
  syntaxError(peek(), expected ? std::string_view(expected) : s);
}

bool Compiler::atName() const {
  const Token& t = peek();
  return t.kind == TokenKind::QuotedWord ||
         (t.kind == TokenKind::Word && !isReservedWord(t.text) && t.text[0] != '\x01' &&
          t.text.find('%') == std::string::npos);
}

std::string Compiler::identifier(const char* expected) {
  if (!atName()) {
    syntaxError(peek(),
                expected ? expected : "<an identifier> <a double-quoted delimited-identifier>");
  }
  return next().text;
}

// ---------------------------------------------------------------------------
// Scopes

Scope* Compiler::pushScope() {
  auto s = std::make_unique<Scope>();
  s->parent = scope_;
  scope_ = s.get();
  u_.scopes.push_back(std::move(s));
  return scope_;
}

Entity& Compiler::declare(const std::string& name, int pos) {
  if (scope_->names.count(name)) {
    fail(pos, 371, "at most one declaration for '" + name + "' is permitted");
  }
  return scope_->names[name];
}

int Compiler::addSlot(const std::string& name, const VarType& type) {
  SlotInfo info;
  info.name = name;
  info.type = type;
  u_.slots.push_back(std::move(info));
  return static_cast<int>(u_.slots.size()) - 1;
}

// ---------------------------------------------------------------------------
// Units and blocks

std::string Compiler::label() {
  if (!(peek().isSymbol("<") && peek(1).isSymbol("<"))) return {};
  next();
  next();
  std::string name = identifier();
  if (!(peek().isSymbol(">") && peek(1).isSymbol(">"))) syntaxError(peek(), ">>");
  next();
  next();
  return name;
}

void Compiler::anonymous() {
  pushScope();
  auto b = std::make_unique<Block>();
  b->label = label();
  statementPos_ = peek().offset;
  if (acceptWord("DECLARE")) {
    declarations(*b);
  }
  expectWord("BEGIN", kExpectStatement);
  u_.body = blockAfterBegin(std::move(b));
  if (!p_.atEnd()) syntaxError(peek(), "end-of-file");
}

void Compiler::stored(bool headerOnly) {
  Signature& sig = u_.signature;
  const Token& kind = next();
  sig.function = kind.text == "FUNCTION";
  std::string name = identifier();
  if (acceptSymbol(".")) name = identifier();
  sig.name = name;
  u_.name = name;
  pushScope();
  std::vector<int> slots;
  parameterList(sig, &slots);
  if (sig.function) {
    expectWord("RETURN", "return");
    sig.returns = dataType(true);
  }
  if (headerOnly) return;
  if (!acceptWord("IS") && !acceptWord("AS")) syntaxError(peek(), "is as");
  auto b = std::make_unique<Block>();
  declarations(*b);
  expectWord("BEGIN", kExpectStatement);
  u_.body = blockAfterBegin(std::move(b));
  if (!p_.atEnd()) syntaxError(peek(), "end-of-file");
}

std::unique_ptr<Block> Compiler::blockAfterBegin(std::unique_ptr<Block> b) {
  b->body = statements({"EXCEPTION", "END"});
  if (acceptWord("EXCEPTION")) {
    if (!peek().isWord("WHEN")) syntaxError(peek(), "when");
    bool others = false;
    std::vector<std::pair<int, int>> seen;  // code, user
    while (acceptWord("WHEN")) {
      Handler h;
      int pos = peek().offset;
      if (others) fail(pos, 484, "redundant exception handler after OTHERS");
      if (acceptWord("OTHERS")) {
        h.others = others = true;
      } else {
        do {
          int at = peek().offset;
          std::vector<std::string> name{identifier()};
          while (acceptSymbol("."))
            name.push_back(identifier());
          ExceptionChoice c = exceptionName(name, at);
          if (std::find(seen.begin(), seen.end(), std::make_pair(c.code, c.user)) != seen.end()) {
            fail(at, 483,
                 "exception '" + name.back() +
                     "' may appear at most once in an exception handler in this block");
          }
          seen.emplace_back(c.code, c.user);
          h.choices.push_back(c);
        } while (acceptWord("OR"));
      }
      expectWord("THEN", "or then");
      ++handlerDepth_;
      h.body = statements({"WHEN", "END"});
      --handlerDepth_;
      b->handlers.push_back(std::move(h));
    }
  }
  expectWord("END", "end exception");
  if (atName()) next();  // END label
  expectSymbol(";", "; <an identifier> <a double-quoted delimited-identifier>");
  return b;
}

// ---------------------------------------------------------------------------
// Declarations

void Compiler::declarations(Block& b) {
  for (;;) {
    const Token& t = peek();
    if (t.isWord("BEGIN")) return;
    statementPos_ = t.offset;
    if (t.isWord("CURSOR")) {
      next();
      cursorDeclaration();
      b.cursors.push_back(static_cast<int>(u_.cursors.size()) - 1);
      continue;
    }
    if (t.isWord("PRAGMA")) {
      next();
      pragma();
      continue;
    }
    if (t.isWord("TYPE") && peek(2).isWord("IS") && peek(3).isWord("REF")) {
      next();
      refCursorType();
      continue;
    }
    if (t.isWord("TYPE") || t.isWord("SUBTYPE") || t.isWord("PROCEDURE") || t.isWord("FUNCTION")) {
      fail(t.offset, 999,
           "implementation restriction (may be temporary) " + t.text + " declarations");
    }
    if (!atName()) syntaxError(t, kExpectDeclaration);
    int pos = t.offset;
    std::string name = next().text;
    if (acceptWord("EXCEPTION")) {
      Entity& e = declare(name, pos);
      e.kind = Entity::Kind::Exception;
      e.index = static_cast<int>(u_.exceptions.size());
      u_.exceptions.push_back(ExceptionDecl{name, 0});
      expectSymbol(";");
      continue;
    }
    variableDeclaration(b, name, pos);
  }
}

void Compiler::variableDeclaration(Block& b, const std::string& name, int pos) {
  bool constant = acceptWord("CONSTANT");
  // name%ROWTYPE: a record with the columns of a table or cursor.
  if (atName() && !constant) {
    size_t save = p_.position();
    std::vector<std::string> source{next().text};
    while (acceptSymbol("."))
      source.push_back(identifier());
    if (acceptSymbol("%") && acceptWord("ROWTYPE")) {
      Entity record;
      record.kind = Entity::Kind::Record;
      int cursor = source.size() == 1 ? cursorIndex(source[0]) : -1;
      if (cursor >= 0) {
        recordFromColumns(record, u_.cursors[static_cast<size_t>(cursor)]->query->columns);
      } else {
        const ObjectRef* ref = env_.catalog ? env_.catalog->resolve(env_.user, source) : nullptr;
        if (!ref || (ref->type != ObjectType::Table && ref->type != ObjectType::View)) {
          fail(pos, 201, "identifier '" + source.back() + "' must be declared");
        }
        std::vector<ColumnDescription> columns;
        for (const ColumnInfo& c : ref->table()->columns) {
          ColumnDescription d;
          d.name = c.name;
          d.type = c.type;
          columns.push_back(d);
        }
        recordFromColumns(record, columns);
      }
      declare(name, pos) = std::move(record);
      expectSymbol(";");
      return;
    }
    p_.setPosition(save);
  }
  VarType type = dataType(false);
  bool notNull = false;
  if (acceptWord("NOT")) {
    expectWord("NULL");
    notNull = true;
  }
  NodePtr init;
  int initPos = peek().offset;
  if (acceptSymbol(":=") || acceptWord("DEFAULT")) {
    initPos = peek().offset;
    init = type.refCursor ? cursorExpression(*parseCondition()) : expression();
  } else if (constant) {
    fail(pos, 322,
         "declaration of a constant '" + name +
             "' must contain an initialization "
             "assignment");
  } else if (notNull) {
    fail(pos, 218, "a variable declared NOT NULL must have an initialization assignment");
  }
  expectSymbol(";", ":= . ( @ % ; not null range default character");
  int slot = addSlot(name, type);
  u_.slots[static_cast<size_t>(slot)].constant = constant;
  u_.slots[static_cast<size_t>(slot)].notNull = notNull;
  Entity& e = declare(name, pos);
  e.kind = Entity::Kind::Variable;
  e.slot = slot;
  VariableInit vi;
  vi.slot = slot;
  vi.value = std::move(init);
  vi.pos = initPos;
  vi.line = lineOf(pos);
  b.inits.push_back(std::move(vi));
}

void Compiler::recordFromColumns(Entity& e, const std::vector<ColumnDescription>& columns) {
  e.kind = Entity::Kind::Record;
  for (const ColumnDescription& c : columns) {
    VarType t;
    t.sql = c.type;
    if (t.sql.kind == TypeKind::Null) t.sql = OraType::varchar2(4000);
    if (t.sql.isText() && t.sql.kind != TypeKind::Char) t.sql.length = 0;
    e.fields.emplace_back(c.name, addSlot(c.name, t));
  }
}

void Compiler::cursorDeclaration() {
  int pos = peek().offset;
  std::string name = identifier();
  auto c = std::make_unique<CursorDecl>();
  c->name = name;
  pushScope();
  if (acceptSymbol("(")) {
    do {
      int at = peek().offset;
      std::string p = identifier();
      acceptWord("IN");
      VarType t = dataType(true);
      int slot = addSlot(p, t);
      Entity& e = declare(p, at);
      e.slot = slot;
      c->paramSlots.push_back(slot);
      std::shared_ptr<Node> def;
      if (acceptSymbol(":=") || acceptWord("DEFAULT")) def = expression();
      c->paramDefaults.push_back(std::move(def));
    } while (acceptSymbol(","));
    expectSymbol(")", ", )");
  }
  expectWord("IS", "is return");
  if (!peek().isWord("SELECT") && !peek().isSymbol("(")) syntaxError(peek(), "select (");
  size_t first = p_.position();
  size_t end = statementEnd(first);
  c->query = site(SqlSite::Kind::Query, tokens_[first].offset, tokens_[end].offset, {}, {"", ""});
  p_.setPosition(end);
  expectSymbol(";");
  popScope();
  Entity& e = declare(name, pos);
  e.kind = Entity::Kind::Cursor;
  e.index = static_cast<int>(u_.cursors.size());
  u_.cursors.push_back(std::move(c));
}

void Compiler::refCursorType() {
  // TYPE name IS REF CURSOR [RETURN type]: cursor variables are weak here,
  // a RETURN clause is read and not checked against the queries opened.
  int pos = peek().offset;
  std::string name = identifier();
  expectWord("IS");
  expectWord("REF");
  expectWord("CURSOR", "cursor");
  if (acceptWord("RETURN")) {
    identifier();
    while (acceptSymbol("."))
      identifier();
    if (acceptSymbol("%") && !acceptWord("ROWTYPE")) expectWord("TYPE", "rowtype type");
  }
  expectSymbol(";", "return ;");
  Entity& e = declare(name, pos);
  e.kind = Entity::Kind::Type;
  e.type.sql = OraType::of(TypeKind::Null);
  e.type.refCursor = true;
}

void Compiler::pragma() {
  int pos = peek().offset;
  if (!acceptWord("EXCEPTION_INIT")) {
    // Other pragmas (RESTRICT_REFERENCES, SERIALLY_REUSABLE) change nothing here.
    while (!p_.atEnd() && !peek().isSymbol(";"))
      next();
    expectSymbol(";");
    return;
  }
  expectSymbol("(");
  std::string name = identifier();
  expectSymbol(",");
  bool minus = acceptSymbol("-");
  if (peek().kind != TokenKind::Number) syntaxError(peek(), "<a number>");
  long code = std::strtol(next().text.c_str(), nullptr, 10);
  if (minus) code = -code;
  expectSymbol(")");
  expectSymbol(";");
  const Entity* e = scope_->find(name);
  if (!e || e->kind != Entity::Kind::Exception) {
    fail(pos, 109, "unknown exception name '" + name + "' in PRAGMA EXCEPTION_INIT");
  }
  if (code >= 0 || code < -1000000) {
    fail(pos, 701,
         "Illegal ORACLE error number " + std::to_string(code) + " for PRAGMA EXCEPTION_INIT");
  }
  u_.exceptions[static_cast<size_t>(e->index)].code = static_cast<int>(-code);
}

// ---------------------------------------------------------------------------
// Types

namespace {

constexpr int kNoScale = -1000;

int lengthOf(const Token& t) {
  return static_cast<int>(std::strtol(t.text.c_str(), nullptr, 10));
}

}  // namespace

VarType Compiler::columnType(const std::vector<std::string>& name, int pos) {
  // name.column or schema.name.column
  std::vector<std::string> table(name.begin(), name.end() - 1);
  const ObjectRef* ref = env_.catalog ? env_.catalog->resolve(env_.user, table) : nullptr;
  if (!ref || (ref->type != ObjectType::Table && ref->type != ObjectType::View)) {
    fail(pos, 201, "identifier '" + table.back() + "' must be declared");
  }
  int col = ref->table()->findColumn(name.back());
  if (col < 0) fail(pos, 302, "component '" + name.back() + "' must be declared");
  VarType t;
  t.sql = ref->table()->columns[static_cast<size_t>(col)].type;
  t.sql.nullable = true;
  return t;
}

VarType Compiler::dataType(bool parameter) {
  VarType t;
  const Token& tok = peek();
  int pos = tok.offset;
  if (tok.kind != TokenKind::Word && tok.kind != TokenKind::QuotedWord) {
    syntaxError(tok, "<an identifier> <a double-quoted delimited-identifier>");
  }
  std::string w = tok.text;
  auto constraint = [&](bool allowScale, int& first, int& second) {
    first = -1;
    second = kNoScale;
    if (!peek().isSymbol("(")) return false;
    if (parameter) syntaxError(peek(), ":= . ) , @ % default character");
    next();
    if (peek().isSymbol("*")) {
      next();
    } else {
      if (peek().kind != TokenKind::Number) syntaxError(peek(), "<an integer literal>");
      first = lengthOf(next());
    }
    if (allowScale && acceptSymbol(",")) {
      bool minus = acceptSymbol("-");
      if (peek().kind != TokenKind::Number) syntaxError(peek(), "<an integer literal>");
      second = lengthOf(next()) * (minus ? -1 : 1);
    }
    acceptWord("BYTE");
    acceptWord("CHAR");
    expectSymbol(")", ", )");
    return true;
  };
  int a = -1, b = -1;
  if (w == "NUMBER" || w == "DECIMAL" || w == "DEC" || w == "NUMERIC") {
    next();
    bool given = constraint(true, a, b);
    if (a > 38 || a == 0) fail(pos, 216, "NUMBER precision constraint must be in range (1 .. 38)");
    if (!given) {
      t.sql = OraType::number();
    } else {
      // NUMBER(p), NUMBER(p, s), NUMBER(*, s)
      t.sql = OraType::number(a > 0 ? a : 38, b == kNoScale ? 0 : b);
    }
  } else if (w == "INTEGER" || w == "INT" || w == "SMALLINT") {
    next();
    t.sql = OraType::number(38, 0);
  } else if (w == "FLOAT" || w == "REAL") {
    next();
    constraint(false, a, b);
    t.sql = OraType::number(a > 0 ? a : (w == "REAL" ? 63 : 126));
    t.sql.isFloat = true;
  } else if (w == "DOUBLE") {
    next();
    expectWord("PRECISION");
    t.sql = OraType::number(126);
    t.sql.isFloat = true;
  } else if (w == "PLS_INTEGER" || w == "BINARY_INTEGER" || w == "NATURAL" || w == "NATURALN" ||
             w == "POSITIVE" || w == "POSITIVEN" || w == "SIGNTYPE") {
    next();
    t.sql = OraType::number(38, 0);
    t.integer32 = true;
  } else if (w == "VARCHAR2" || w == "VARCHAR" || w == "STRING" || w == "NVARCHAR2") {
    next();
    if (!constraint(false, a, b) && !parameter) {
      fail(peek().offset, 215, "String length constraints must be in range (1 .. 32767)");
    }
    if (!parameter && (a < 1 || a > 32767)) {
      fail(pos, 215, "String length constraints must be in range (1 .. 32767)");
    }
    t.sql = OraType::varchar2(parameter ? 0 : a);
  } else if (w == "CHAR" || w == "CHARACTER" || w == "NCHAR") {
    next();
    constraint(false, a, b);
    if (a > 32767) fail(pos, 215, "String length constraints must be in range (1 .. 32767)");
    t.sql = OraType::charType(parameter ? 0 : (a > 0 ? a : 1));
  } else if (w == "LONG") {
    next();
    if (acceptWord("RAW")) {
      t.sql = OraType::of(TypeKind::LongRaw);
    } else {
      t.sql = OraType::of(TypeKind::Long);
    }
  } else if (w == "RAW") {
    next();
    if (!constraint(false, a, b) && !parameter) {
      fail(peek().offset, 215, "String length constraints must be in range (1 .. 32767)");
    }
    t.sql = OraType::of(TypeKind::Raw);
    t.sql.length = parameter ? 0 : a;
  } else if (w == "DATE") {
    next();
    t.sql = OraType::of(TypeKind::Date);
  } else if (w == "BOOLEAN") {
    next();
    t.sql = OraType::of(TypeKind::Boolean);
  } else if (w == "ROWID" || w == "UROWID") {
    next();
    t.sql = OraType::varchar2(0);
  } else if (w == "CLOB" || w == "NCLOB") {
    next();
    t.sql = OraType::of(TypeKind::Clob);
  } else if (w == "BLOB") {
    next();
    t.sql = OraType::of(TypeKind::Blob);
  } else if (w == "BFILE") {
    next();
    t.sql = OraType::of(TypeKind::Bfile);
  } else if (w == "SYS_REFCURSOR" && !(scope_ && scope_->find(w))) {
    next();
    t.sql = OraType::of(TypeKind::Null);
    t.refCursor = true;
  } else if (const Entity* type = scope_ && tok.kind == TokenKind::Word ? scope_->find(w) : nullptr;
             type && type->kind == Entity::Kind::Type && !peek(1).isSymbol("%") &&
             !peek(1).isSymbol(".")) {
    next();
    t = type->type;
  } else {
    // x%TYPE: the type of a variable, a record field or a column.
    std::vector<std::string> name{next().text};
    while (acceptSymbol("."))
      name.push_back(identifier());
    if (!acceptSymbol("%") || !acceptWord("TYPE")) {
      fail(pos, 201, "identifier '" + name.back() + "' must be declared");
    }
    const Entity* e = scope_ ? scope_->find(name[0]) : nullptr;
    if (e && name.size() == 1 && e->kind == Entity::Kind::Variable) {
      t = u_.slots[static_cast<size_t>(e->slot)].type;
    } else if (e && name.size() == 2 && e->kind == Entity::Kind::Record) {
      auto f = std::find_if(e->fields.begin(), e->fields.end(),
                            [&](const auto& x) { return x.first == name[1]; });
      if (f == e->fields.end()) fail(pos, 302, "component '" + name[1] + "' must be declared");
      t = u_.slots[static_cast<size_t>(f->second)].type;
    } else if (name.size() >= 2 && name.size() <= 3) {
      t = columnType(name, pos);
      if (parameter && t.sql.isText()) t.sql.length = 0;
    } else {
      fail(pos, 201, "identifier '" + name[0] + "' must be declared");
    }
  }
  return t;
}

void Compiler::parameterList(Signature& sig, std::vector<int>* slots) {
  if (!acceptSymbol("(")) return;
  do {
    int pos = peek().offset;
    Param p;
    p.name = identifier();
    if (acceptWord("IN")) {
      p.mode = acceptWord("OUT") ? ParamMode::InOut : ParamMode::In;
    } else if (acceptWord("OUT")) {
      p.mode = ParamMode::Out;
    }
    acceptWord("NOCOPY");
    p.type = dataType(true);
    if (acceptSymbol(":=") || acceptWord("DEFAULT")) {
      if (p.mode != ParamMode::In) {
        fail(pos, 230, "OUT and IN OUT formal parameters may not have default expressions");
      }
      p.hasDefault = true;
      int at = peek().offset;
      p.defaultValue = expression();
      // A cursor variable's only default is NULL (no cursor).
      if (p.type.refCursor &&
          !(p.defaultValue->kind == Node::Kind::Const && p.defaultValue->value.isNull())) {
        fail(at, 382, "expression is of wrong type");
      }
    }
    for (const Param& other : sig.params) {
      if (other.name == p.name) {
        fail(pos, 371, "at most one declaration for '" + p.name + "' is permitted");
      }
    }
    if (slots) {
      int slot = addSlot(p.name, p.type);
      Entity& e = declare(p.name, pos);
      e.slot = slot;
      slots->push_back(slot);
    }
    sig.params.push_back(std::move(p));
  } while (acceptSymbol(","));
  expectSymbol(")", ", ) default :=");
}

// ---------------------------------------------------------------------------
// Entry points

std::unique_ptr<Unit> compileBlock(Session& session, Statement& statement) {
  auto u = std::make_unique<Unit>();
  u->text = statement.text();
  u->anonymous = true;
  for (const Placeholder& p : statement.placeholders())
    u->binds.push_back(p.name);
  CompileEnv env;
  env.session = &session;
  env.catalog = session.catalog();
  env.user = session.user();
  env.block = &statement;
  Compiler c(env, *u);
  c.anonymous();
  return u;
}

std::unique_ptr<Unit> compileStored(Session& session, const std::string& owner,
                                    const std::string& source) {
  auto u = std::make_unique<Unit>();
  u->text = source;
  u->anonymous = false;
  u->owner = owner;
  CompileEnv env;
  env.session = &session;
  env.catalog = session.catalog();
  env.user = owner;
  Compiler c(env, *u);
  c.stored(false);
  u->where = "\"" + owner + "." + u->name + "\", ";
  return u;
}

Signature parseSignature(const std::string& source, std::shared_ptr<const Catalog> catalog,
                         const std::string& owner) {
  Unit u;
  u.text = source;
  u.anonymous = false;
  u.owner = owner;
  CompileEnv env;
  env.catalog = std::move(catalog);
  env.user = owner;
  Compiler c(env, u);
  c.stored(true);
  return std::move(u.signature);
}

CreateText splitCreate(const std::string& statement) {
  CreateText out;
  std::vector<Token> tokens = tokenize(statement, 32767);
  size_t i = 1;  // CREATE
  if (tokens.size() > 2 && tokens[i].isWord("OR")) {
    out.orReplace = true;
    i += 2;
  }
  if (i < tokens.size() && (tokens[i].isWord("PROCEDURE") || tokens[i].isWord("FUNCTION"))) {
    out.type = tokens[i].text;
    out.sourcePos = tokens[i].offset;
    size_t n = i + 1;
    if (n < tokens.size() && tokens[n].isName()) {
      out.namePos = tokens[n].offset;
      out.name.push_back(tokens[n].text);
      if (n + 2 < tokens.size() && tokens[n + 1].isSymbol(".") && tokens[n + 2].isName()) {
        out.name.push_back(tokens[n + 2].text);
      }
    }
  } else if (i < tokens.size()) {
    out.type = tokens[i].text;
    out.sourcePos = tokens[i].offset;
  }
  out.source = statement.substr(static_cast<size_t>(out.sourcePos));
  while (!out.source.empty() && std::isspace(static_cast<unsigned char>(out.source.back()))) {
    out.source.pop_back();
  }
  return out;
}

}  // namespace vorn::server::plsql
