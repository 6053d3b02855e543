// Expressions, conditions and queries of the Oracle dialect; see Parser.h.
#include <cctype>
#include <limits>

#include "engine/Parser.h"
#include "value/AsciiCase.h"
#include "value/OraError.h"

namespace vorn::server {
namespace {

// Nesting and chain limits keep the recursive parser, compiler and tree
// destruction within the stack whatever the input (Oracle itself stops at
// 255 nested subqueries).
constexpr int kMaxDepth = 255;
constexpr int kMaxChain = 1000;

[[noreturn]] void tooComplex(int offset) {
  raiseOra(600, {"statement nested or chained too deeply"}, offset);
}

// Words that may follow a table or select item and so are never aliases.
bool endsAlias(const Token& t) {
  if (t.kind != TokenKind::Word) return false;
  static const char* const kWords[] = {"JOIN",   "LEFT",    "RIGHT",  "FULL",     "INNER",
                                       "CROSS",  "NATURAL", "USING",  "OUTER",    "RETURNING",
                                       "RETURN", "LOG",     "SAMPLE", "PARTITION"};
  for (const char* w : kWords) {
    if (t.text == w) return true;
  }
  return isReservedWord(t.text);
}

// Reserved words that are valid in an expression as pseudo columns or
// functions.
bool isPseudoWord(const std::string& w) {
  return w == "ROWID" || w == "ROWNUM" || w == "SYSDATE" || w == "USER" || w == "UID" ||
         w == "LEVEL";
}

}  // namespace

Parser::Parser(std::string_view text, std::vector<Token> tokens)
    : text_(text), tokens_(std::move(tokens)) {}

const Token& Parser::peek(int ahead) const {
  size_t i = pos_ + static_cast<size_t>(ahead);
  return i < tokens_.size() ? tokens_[i] : tokens_.back();
}

const Token& Parser::next() {
  const Token& t = peek();
  if (pos_ + 1 < tokens_.size()) ++pos_;
  return t;
}

bool Parser::acceptWord(std::string_view w) {
  if (peek().isWord(w)) {
    next();
    return true;
  }
  return false;
}

bool Parser::acceptSymbol(std::string_view s) {
  if (peek().isSymbol(s)) {
    next();
    return true;
  }
  return false;
}

void Parser::expectWord(std::string_view w, int code) {
  if (!acceptWord(w)) fail(code);
}

void Parser::expectSymbol(std::string_view s, int code) {
  if (!acceptSymbol(s)) fail(code);
}

void Parser::fail(int code) const {
  failAt(code, peek());
}

void Parser::failAt(int code, const Token& t) const {
  // At the end of the text Oracle reports most "missing ..." errors as
  // ORA-00921; a semicolon left in the text is an invalid character.
  if (t.kind == TokenKind::End && code == 905) code = 921;
  if (t.isSymbol(";")) code = 911;
  raiseOra(code, {}, t.offset);
}

std::string Parser::identifier(int code) {
  const Token& t = peek();
  if (t.kind == TokenKind::QuotedWord || (t.kind == TokenKind::Word && !isReservedWord(t.text))) {
    return next().text;
  }
  fail(code);
}

std::vector<std::string> Parser::qualifiedName(int maxParts) {
  std::vector<std::string> parts;
  parts.push_back(identifier(903));
  while (static_cast<int>(parts.size()) < maxParts && peek().isSymbol(".") && peek(1).isName()) {
    next();
    parts.push_back(identifier(903));
  }
  return parts;
}

std::string Parser::labelOf(int begin, int end) const {
  std::string out;
  bool inQuote = false;
  for (int i = begin; i < end && i < static_cast<int>(text_.size()); ++i) {
    char c = text_[i];
    if (c == '\'') inQuote = !inQuote;
    if (!inQuote && std::isspace(static_cast<unsigned char>(c))) continue;
    out += asciiUpper(c);
  }
  if (out.size() > 30) out.resize(30);
  return out;
}

void Parser::finish(Expr& e) const {
  const Token& prev = tokens_[pos_ > 0 ? pos_ - 1 : 0];
  e.end = prev.offset + prev.length;
}

// ---------------------------------------------------------------------------
// Expressions

ExprPtr Parser::expression() {
  return additive(false);
}

ExprPtr Parser::condition() {
  return orExpr(true);
}

ExprPtr Parser::orExpr(bool cond) {
  ExprPtr left = andExpr(cond);
  if (!cond || !peek().isWord("OR")) return left;
  auto e = std::make_unique<Expr>(ExprKind::Or, left->pos);
  e->args.push_back(std::move(left));
  while (acceptWord("OR"))
    e->args.push_back(andExpr(cond));
  finish(*e);
  return e;
}

ExprPtr Parser::andExpr(bool cond) {
  ExprPtr left = notExpr(cond);
  if (!cond || !peek().isWord("AND")) return left;
  auto e = std::make_unique<Expr>(ExprKind::And, left->pos);
  e->args.push_back(std::move(left));
  while (acceptWord("AND"))
    e->args.push_back(notExpr(cond));
  finish(*e);
  return e;
}

ExprPtr Parser::notExpr(bool cond) {
  if (cond && peek().isWord("NOT")) {
    int pos = next().offset;
    auto e = std::make_unique<Expr>(ExprKind::Not, pos);
    e->args.push_back(notExpr(cond));
    finish(*e);
    return e;
  }
  return predicate(cond);
}

ExprPtr Parser::predicate(bool cond) {
  if (cond && peek().isWord("EXISTS")) {
    int pos = next().offset;
    expectSymbol("(", 906);
    auto e = std::make_unique<Expr>(ExprKind::Exists, pos);
    e->query = query();
    expectSymbol(")", 907);
    finish(*e);
    return e;
  }
  ExprPtr left = additive(cond);
  if (!cond) return left;
  const Token& t = peek();
  auto binary = [&](ExprKind kind, ExprPtr l) {
    auto e = std::make_unique<Expr>(kind, l->pos);
    e->args.push_back(std::move(l));
    return e;
  };
  if (t.kind == TokenKind::Symbol &&
      (t.text == "=" || t.text == "<>" || t.text == "!=" || t.text == "^=" || t.text == "<" ||
       t.text == ">" || t.text == "<=" || t.text == ">=")) {
    std::string op = next().text;
    if (op == "!=" || op == "^=") op = "<>";
    if (peek().isWord("ANY") || peek().isWord("SOME") || peek().isWord("ALL")) {
      auto e = binary(ExprKind::Quantified, std::move(left));
      e->text = op;
      e->quantAll = next().text == "ALL";
      expectSymbol("(", 906);
      if (peek().isWord("SELECT") || peek().isSymbol("(")) {
        size_t save = pos_;
        if (peek().isWord("SELECT")) {
          e->query = query();
        } else {
          // "( (select ...) )" or an expression list starting with "("
          try {
            e->query = query();
          } catch (const OraError&) {
            pos_ = save;
            e->query.reset();
          }
        }
      }
      if (!e->query) {
        do {
          e->args.push_back(expression());
        } while (acceptSymbol(","));
      }
      expectSymbol(")", 907);
      finish(*e);
      return e;
    }
    auto e = binary(ExprKind::Compare, std::move(left));
    e->text = op;
    e->args.push_back(additive(cond));
    finish(*e);
    return e;
  }
  if (t.isWord("IS")) {
    next();
    auto e = binary(ExprKind::IsNull, std::move(left));
    e->negated = acceptWord("NOT");
    if (!acceptWord("NULL")) fail(908);
    finish(*e);
    return e;
  }
  bool negated = false;
  size_t save = pos_;
  if (t.isWord("NOT")) {
    next();
    negated = true;
  }
  if (acceptWord("BETWEEN")) {
    auto e = binary(ExprKind::Between, std::move(left));
    e->negated = negated;
    e->args.push_back(additive(cond));
    expectWord("AND", 905);
    e->args.push_back(additive(cond));
    finish(*e);
    return e;
  }
  if (acceptWord("LIKE")) {
    auto e = binary(ExprKind::Like, std::move(left));
    e->negated = negated;
    e->args.push_back(additive(cond));
    if (acceptWord("ESCAPE")) e->args.push_back(additive(cond));
    finish(*e);
    return e;
  }
  if (acceptWord("IN")) {
    expectSymbol("(", 906);
    if (peek().isWord("SELECT") || (peek().isSymbol("(") && peek(1).isWord("SELECT"))) {
      auto e = binary(ExprKind::InQuery, std::move(left));
      e->negated = negated;
      e->query = query();
      expectSymbol(")", 907);
      finish(*e);
      return e;
    }
    auto e = binary(ExprKind::InList, std::move(left));
    e->negated = negated;
    do {
      e->args.push_back(additive(false));
    } while (acceptSymbol(","));
    if (e->args.size() > 1001) raiseOra(1795, {}, e->args[1001]->pos);
    expectSymbol(")", 907);
    finish(*e);
    return e;
  }
  if (negated) {
    pos_ = save;
    fail(920);
  }
  return left;
}

ExprPtr Parser::additive(bool cond) {
  ExprPtr left = multiplicative(cond);
  for (int chain = 0;; ++chain) {
    if (chain > kMaxChain) tooComplex(peek().offset);
    const Token& t = peek();
    ExprKind kind;
    if (t.isSymbol("+") || t.isSymbol("-")) {
      kind = ExprKind::Arith;
    } else if (t.isSymbol("||")) {
      kind = ExprKind::Concat;
    } else {
      return left;
    }
    auto e = std::make_unique<Expr>(kind, left->pos);
    e->text = next().text;
    e->args.push_back(std::move(left));
    e->args.push_back(multiplicative(cond));
    finish(*e);
    left = std::move(e);
  }
}

ExprPtr Parser::multiplicative(bool cond) {
  ExprPtr left = unary(cond);
  for (int chain = 0; peek().isSymbol("*") || peek().isSymbol("/"); ++chain) {
    if (chain > kMaxChain) tooComplex(peek().offset);
    auto e = std::make_unique<Expr>(ExprKind::Arith, left->pos);
    e->text = next().text;
    e->args.push_back(std::move(left));
    e->args.push_back(unary(cond));
    finish(*e);
    left = std::move(e);
  }
  return left;
}

ExprPtr Parser::unary(bool cond) {
  if (peek().isSymbol("-") || peek().isSymbol("+")) {
    if (++depth_ > kMaxDepth) tooComplex(peek().offset);
    struct Leave {
      int& d;
      ~Leave() { --d; }
    } leave{depth_};
    const Token& t = next();
    bool minus = t.text == "-";
    int pos = t.offset;
    ExprPtr operand = unary(cond);
    if (!minus) return operand;
    // A negative numeric literal stays a literal (its text carries the sign).
    if (operand->kind == ExprKind::Number && operand->text[0] != '-') {
      operand->text = "-" + operand->text;
      operand->pos = pos;
      return operand;
    }
    auto e = std::make_unique<Expr>(ExprKind::Negate, pos);
    e->args.push_back(std::move(operand));
    finish(*e);
    return e;
  }
  return primary(cond);
}

ExprPtr Parser::primary(bool cond) {
  if (++depth_ > kMaxDepth) tooComplex(peek().offset);
  struct Leave {
    int& d;
    ~Leave() { --d; }
  } leave{depth_};
  return primaryInner(cond);
}

ExprPtr Parser::primaryInner(bool cond) {
  const Token& t = peek();
  int pos = t.offset;
  switch (t.kind) {
    case TokenKind::Number: {
      auto e = std::make_unique<Expr>(ExprKind::Number, pos);
      e->text = next().text;
      finish(*e);
      return e;
    }
    case TokenKind::String: {
      // Oracle's empty string is NULL.
      auto e = std::make_unique<Expr>(t.text.empty() ? ExprKind::Null : ExprKind::String, pos);
      e->text = next().text;
      finish(*e);
      return e;
    }
    case TokenKind::Bind: {
      auto e = std::make_unique<Expr>(ExprKind::Bind, pos);
      e->text = next().text;
      e->bindSlot = bindCount_++;
      // Indicator variables (":v:ind", ":v INDICATOR :ind") are not supported.
      finish(*e);
      return e;
    }
    case TokenKind::Symbol: {
      if (t.text != "(") break;
      next();
      if (peek().isWord("SELECT") || (peek().isSymbol("(") && peek(1).isWord("SELECT"))) {
        auto e = std::make_unique<Expr>(ExprKind::ScalarQuery, pos);
        e->query = query();
        expectSymbol(")", 907);
        finish(*e);
        return e;
      }
      ExprPtr inner = cond ? orExpr(true) : additive(false);
      if (peek().isSymbol(",")) {
        auto row = std::make_unique<Expr>(ExprKind::Row, pos);
        row->args.push_back(std::move(inner));
        while (acceptSymbol(","))
          row->args.push_back(additive(false));
        expectSymbol(")", 907);
        finish(*row);
        return row;
      }
      expectSymbol(")", 907);
      // Keep the parentheses in the span so labels read as written.
      inner->pos = pos;
      finish(*inner);
      return inner;
    }
    case TokenKind::Word:
    case TokenKind::QuotedWord: {
      if (t.kind == TokenKind::Word) {
        if (t.text == "NULL") {
          next();
          auto e = std::make_unique<Expr>(ExprKind::Null, pos);
          finish(*e);
          return e;
        }
        if (t.text == "CASE") return caseExpr();
        if (t.text == "DATE" && peek(1).kind == TokenKind::String) {
          next();
          auto e = std::make_unique<Expr>(ExprKind::DateLiteral, pos);
          e->text = next().text;
          finish(*e);
          return e;
        }
        if (t.text == "PRIOR") raiseOra(900, {}, pos);
        if (isReservedWord(t.text) && !isPseudoWord(t.text)) break;
      }
      std::vector<std::string> names;
      names.push_back(next().text);
      while (peek().isSymbol(".")) {
        const Token& n = peek(1);
        if (n.kind == TokenKind::QuotedWord ||
            (n.kind == TokenKind::Word && (!isReservedWord(n.text) || isPseudoWord(n.text)))) {
          next();
          names.push_back(next().text);
        } else if (n.isSymbol("*")) {
          // t.* outside a select list
          break;
        } else {
          next();
          fail(931);
        }
      }
      if (names.size() > 4) raiseOra(1747, {}, pos);
      if (peek().isSymbol("(") && !(peek(1).isSymbol("+") && peek(2).isSymbol(")"))) {
        return functionCall(std::move(names), pos);
      }
      auto e = std::make_unique<Expr>(ExprKind::Name, pos);
      e->names = std::move(names);
      if (peek().isSymbol("(") && peek(1).isSymbol("+") && peek(2).isSymbol(")")) {
        pos_ += 3;
        e->outerJoin = true;
      }
      finish(*e);
      return e;
    }
    default:
      break;
  }
  fail(936);
}

ExprPtr Parser::caseExpr() {
  int pos = next().offset;  // CASE
  auto e = std::make_unique<Expr>(ExprKind::Case, pos);
  if (!peek().isWord("WHEN")) {
    e->hasCaseOperand = true;
    e->args.push_back(additive(false));
  }
  if (!peek().isWord("WHEN")) fail(905);
  while (acceptWord("WHEN")) {
    e->args.push_back(e->hasCaseOperand ? additive(false) : orExpr(true));
    expectWord("THEN", 905);
    e->args.push_back(additive(false));
  }
  if (acceptWord("ELSE")) {
    e->hasElse = true;
    e->args.push_back(additive(false));
  }
  expectWord("END", 905);
  finish(*e);
  return e;
}

ExprPtr Parser::functionCall(std::vector<std::string> names, int pos) {
  auto e = std::make_unique<Expr>(ExprKind::Function, pos);
  e->names = std::move(names);
  e->text = e->names.back();
  next();  // (
  const std::string& fn = e->text;
  if (fn == "TRIM" && e->names.size() == 1) {
    // TRIM([LEADING|TRAILING|BOTH] [char] FROM source) or TRIM(source)
    std::string mode = "BOTH";
    bool hadMode = false;
    if (peek().isWord("LEADING") || peek().isWord("TRAILING") || peek().isWord("BOTH")) {
      mode = next().text;
      hadMode = true;
    }
    ExprPtr first;
    if (!peek().isWord("FROM")) first = expression();
    if (acceptWord("FROM")) {
      ExprPtr source = expression();
      auto m = std::make_unique<Expr>(ExprKind::String, pos);
      m->text = mode;
      e->args.push_back(std::move(m));
      e->args.push_back(std::move(source));
      if (first) e->args.push_back(std::move(first));
    } else {
      if (hadMode || !first) fail(905);
      auto m = std::make_unique<Expr>(ExprKind::String, pos);
      m->text = mode;
      e->args.push_back(std::move(m));
      e->args.push_back(std::move(first));
    }
    e->text = "TRIM";
    expectSymbol(")", 907);
    finish(*e);
    return e;
  }
  if (fn == "CAST" && e->names.size() == 1) {
    e->args.push_back(expression());
    expectWord("AS", 905);
    TypeSpec spec = dataType();
    auto t = std::make_unique<Expr>(ExprKind::String, spec.pos);
    t->text = spec.name;
    t->names = {std::to_string(spec.length), std::to_string(spec.precision),
                std::to_string(spec.scale)};
    e->args.push_back(std::move(t));
    expectSymbol(")", 907);
    finish(*e);
    return e;
  }
  if (acceptSymbol(")")) {
    finish(*e);
    return e;
  }
  if (acceptWord("DISTINCT") || acceptWord("UNIQUE")) {
    e->distinct = true;
  } else {
    acceptWord("ALL");
  }
  if (peek().isSymbol("*")) {
    auto star = std::make_unique<Expr>(ExprKind::Star, next().offset);
    finish(*star);
    e->args.push_back(std::move(star));
  } else {
    do {
      e->args.push_back(expression());
    } while (acceptSymbol(","));
  }
  expectSymbol(")", 907);
  finish(*e);
  return e;
}

// ---------------------------------------------------------------------------
// Queries

QueryPtr Parser::query() {
  if (++depth_ > kMaxDepth) tooComplex(peek().offset);
  struct Leave {
    int& d;
    ~Leave() { --d; }
  } leave{depth_};
  QueryPtr left = queryTerm();
  for (int chain = 0;; ++chain) {
    if (chain > kMaxChain) tooComplex(peek().offset);
    SetOp op;
    if (peek().isWord("UNION")) {
      next();
      op = acceptWord("ALL") ? SetOp::UnionAll : SetOp::Union;
    } else if (peek().isWord("INTERSECT")) {
      next();
      op = SetOp::Intersect;
    } else if (peek().isWord("MINUS") || peek().isWord("EXCEPT")) {
      next();
      op = SetOp::Minus;
    } else {
      break;
    }
    auto q = std::make_unique<Query>();
    q->pos = left->pos;
    q->op = op;
    q->left = std::move(left);
    q->right = queryTerm();
    left = std::move(q);
  }
  // ORDER BY and FOR UPDATE, in either order.
  for (int i = 0; i < 2; ++i) {
    if (peek().isWord("ORDER")) {
      if (!left->orderBy.empty()) fail(933);
      next();
      expectWord("BY", 924);
      orderByClause(left->orderBy);
    } else if (peek().isWord("FOR")) {
      if (left->forUpdate) fail(933);
      left->forUpdate = forUpdateClause();
    }
  }
  return left;
}

QueryPtr Parser::queryTerm() {
  if (peek().isSymbol("(")) {
    next();
    QueryPtr q = query();
    expectSymbol(")", 907);
    q->parenthesized = true;
    return q;
  }
  if (!peek().isWord("SELECT")) fail(928);
  return selectBlock();
}

QueryPtr Parser::selectBlock() {
  auto q = std::make_unique<Query>();
  q->pos = next().offset;  // SELECT
  if (acceptWord("DISTINCT") || acceptWord("UNIQUE")) {
    q->distinct = true;
  } else {
    acceptWord("ALL");
  }
  do {
    SelectItem item;
    item.pos = peek().offset;
    if (peek().isSymbol("*")) {
      next();
      item.star = true;
    } else if (peek().isName() && peek(1).isSymbol(".") && peek(2).isSymbol("*")) {
      item.star = true;
      item.starQualifier.push_back(next().text);
      pos_ += 2;
    } else if (peek().isName() && peek(1).isSymbol(".") && peek(2).isName() &&
               peek(3).isSymbol(".") && peek(4).isSymbol("*")) {
      item.star = true;
      item.starQualifier.push_back(next().text);
      next();
      item.starQualifier.push_back(next().text);
      pos_ += 2;
    } else {
      item.expr = expression();
      item.label = labelOf(item.expr->pos, item.expr->end);
      item.alias = optionalAlias(true);
    }
    q->items.push_back(std::move(item));
  } while (acceptSymbol(","));
  if (peek().isWord("INTO")) fail(905);  // SELECT ... INTO belongs to PL/SQL
  if (!acceptWord("FROM")) fail(923);
  do {
    q->from.push_back(fromItem());
  } while (acceptSymbol(","));
  if (acceptWord("WHERE")) q->where = condition();
  if (peek().isWord("START") || peek().isWord("CONNECT")) raiseOra(900, {}, peek().offset);
  if (acceptWord("GROUP")) {
    expectWord("BY", 924);
    do {
      q->groupBy.push_back(expression());
    } while (acceptSymbol(","));
  }
  if (acceptWord("HAVING")) q->having = condition();
  return q;
}

void Parser::orderByClause(std::vector<OrderItem>& out) {
  do {
    OrderItem item;
    item.expr = expression();
    if (acceptWord("DESC")) {
      item.desc = true;
    } else {
      acceptWord("ASC");
    }
    if (acceptWord("NULLS")) {
      if (acceptWord("FIRST")) {
        item.nulls = 1;
      } else if (acceptWord("LAST")) {
        item.nulls = 2;
      } else {
        fail(905);
      }
    }
    out.push_back(std::move(item));
  } while (acceptSymbol(","));
}

std::unique_ptr<ForUpdate> Parser::forUpdateClause() {
  auto f = std::make_unique<ForUpdate>();
  f->pos = next().offset;  // FOR
  expectWord("UPDATE", 905);
  if (acceptWord("OF")) {
    do {
      ExprPtr col = expression();
      if (col->kind != ExprKind::Name) raiseOra(904, {}, col->pos);
      f->columns.push_back(std::move(col));
    } while (acceptSymbol(","));
  }
  if (acceptWord("NOWAIT")) {
    f->wait = 0;
  } else if (acceptWord("WAIT")) {
    if (peek().kind != TokenKind::Number) fail(30005);
    f->wait = leadingInteger(next().text);
  } else if (peek().isWord("SKIP")) {
    raiseOra(900, {}, peek().offset);
  }
  return f;
}

std::string Parser::optionalAlias(bool allowAs) {
  if (allowAs && acceptWord("AS")) {
    if (peek().kind == TokenKind::QuotedWord) return next().text;
    if (peek().kind == TokenKind::Word && !isReservedWord(peek().text)) return next().text;
    fail(923);
  }
  if (peek().kind == TokenKind::QuotedWord) return next().text;
  if (peek().kind == TokenKind::Word && !endsAlias(peek())) return next().text;
  return {};
}

FromPtr Parser::fromItem() {
  FromPtr left = tableReference();
  for (;;) {
    JoinType type = JoinType::None;
    int pos = peek().offset;
    if (peek().isWord("JOIN")) {
      next();
      type = JoinType::Inner;
    } else if (peek().isWord("INNER") && peek(1).isWord("JOIN")) {
      pos_ += 2;
      type = JoinType::Inner;
    } else if (peek().isWord("CROSS") && peek(1).isWord("JOIN")) {
      pos_ += 2;
      type = JoinType::Cross;
    } else if (peek().isWord("LEFT") || peek().isWord("RIGHT") || peek().isWord("FULL")) {
      std::string w = next().text;
      acceptWord("OUTER");
      expectWord("JOIN", 905);
      type = w == "LEFT" ? JoinType::Left : w == "RIGHT" ? JoinType::Right : JoinType::Full;
    } else if (peek().isWord("NATURAL")) {
      raiseOra(900, {}, pos);
    } else {
      return left;
    }
    auto j = std::make_unique<FromItem>();
    j->kind = FromItem::Join;
    j->pos = pos;
    j->join = type;
    j->left = std::move(left);
    j->right = tableReference();
    if (type != JoinType::Cross) {
      if (acceptWord("ON")) {
        j->on = condition();
      } else if (acceptWord("USING")) {
        expectSymbol("(", 906);
        do {
          j->usingColumns.push_back(identifier(904));
        } while (acceptSymbol(","));
        expectSymbol(")", 907);
      } else {
        fail(905);
      }
    }
    left = std::move(j);
  }
}

FromPtr Parser::tableReference() {
  auto f = std::make_unique<FromItem>();
  f->pos = peek().offset;
  if (peek().isSymbol("(")) {
    next();
    if (!(peek().isWord("SELECT") || peek().isSymbol("("))) fail(903);
    f->kind = FromItem::Subquery;
    f->query = query();
    expectSymbol(")", 907);
  } else {
    if (!peek().isName() || (peek().kind == TokenKind::Word && isReservedWord(peek().text))) {
      fail(903);
    }
    f->kind = FromItem::Table;
    f->name = qualifiedName(2);
    if (acceptSymbol("@")) f->dblink = identifier(903);
  }
  f->alias = optionalAlias(false);
  return f;
}

TypeSpec Parser::dataType() {
  TypeSpec t;
  t.pos = peek().offset;
  if (peek().kind != TokenKind::Word) fail(902);
  std::string w = next().text;
  auto length = [&](bool required) {
    if (acceptSymbol("(")) {
      if (peek().kind != TokenKind::Number) fail(910);
      t.length = leadingInteger(next().text);
      if (acceptWord("BYTE") || acceptWord("CHAR")) {
      }
      expectSymbol(")", 907);
    } else if (required) {
      fail(906);
    }
  };
  if (w == "NUMBER" || w == "NUMERIC" || w == "DECIMAL" || w == "DEC") {
    t.name = "NUMBER";
    if (acceptSymbol("(")) {
      if (acceptSymbol("*")) {
        t.precision = -1;
      } else {
        if (peek().kind != TokenKind::Number) fail(1727);
        t.precision = leadingInteger(next().text);
        if (t.precision < 1 || t.precision > 38) raiseOra(1727, {}, peek().offset);
      }
      if (acceptSymbol(",")) {
        bool neg = acceptSymbol("-");
        if (peek().kind != TokenKind::Number) fail(1728);
        t.scale = leadingInteger(next().text) * (neg ? -1 : 1);
        if (t.scale < -84 || t.scale > 127) raiseOra(1728, {}, peek().offset);
      } else if (t.precision > 0) {
        t.scale = 0;
      }
      expectSymbol(")", 907);
    }
    if (w != "NUMBER" && t.precision < 0) {
      t.precision = 38;
      t.scale = 0;
    }
  } else if (w == "INTEGER" || w == "INT" || w == "SMALLINT") {
    t.name = "NUMBER";
    t.integer = true;
    t.scale = 0;
  } else if (w == "FLOAT" || w == "REAL" || (w == "DOUBLE" && acceptWord("PRECISION"))) {
    t.name = "FLOAT";
    t.precision = w == "REAL" ? 63 : 126;
    if (w == "FLOAT" && acceptSymbol("(")) {
      if (peek().kind != TokenKind::Number) fail(1724);
      t.precision = leadingInteger(next().text);
      if (t.precision < 1 || t.precision > 126) raiseOra(1724, {}, peek().offset);
      expectSymbol(")", 907);
    }
  } else if (w == "VARCHAR2" || w == "VARCHAR" || w == "NVARCHAR2") {
    t.name = w == "NVARCHAR2" ? "NVARCHAR2" : "VARCHAR2";
    length(true);
    if (t.length < 1) raiseOra(1723, {}, t.pos);
    if (t.length > 4000) raiseOra(910, {}, t.pos);
  } else if (w == "CHAR" || w == "NCHAR" || w == "CHARACTER") {
    t.name = w == "NCHAR" ? "NCHAR" : "CHAR";
    if (w != "NCHAR" && acceptWord("VARYING")) {
      t.name = "VARCHAR2";
      length(true);
    } else {
      length(false);
      if (t.length < 0) t.length = 1;
    }
    if (t.length < 1) raiseOra(1723, {}, t.pos);
    if (t.length > (t.name == "VARCHAR2" ? 4000 : 2000)) raiseOra(910, {}, t.pos);
  } else if (w == "RAW") {
    t.name = "RAW";
    length(true);
    if (t.length < 1) raiseOra(1723, {}, t.pos);
    if (t.length > 2000) raiseOra(910, {}, t.pos);
  } else if (w == "LONG") {
    t.name = acceptWord("RAW") ? "LONG RAW" : "LONG";
  } else if (w == "DATE" || w == "CLOB" || w == "NCLOB" || w == "BLOB" || w == "BFILE" ||
             w == "ROWID") {
    t.name = w;
  } else {
    raiseOra(902, {}, t.pos);
  }
  return t;
}

int leadingInteger(std::string_view text) {
  constexpr int kMax = std::numeric_limits<int>::max();
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    const int digit = c - '0';
    if (value > (kMax - digit) / 10) return kMax;
    value = value * 10 + digit;
  }
  return value;
}

StmtPtr parseStatement(std::string_view text) {
  Parser p(text, tokenize(text));
  return p.statement();
}

}  // namespace vorn::server
