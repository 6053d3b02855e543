// The parser of names, paths, values and conditions; see ExpressionParser.h.
#include "plsql/translator/ExpressionParser.h"

#include <algorithm>
#include <array>

namespace vorn::server::translator {
namespace {

constexpr std::array kKeywords = {"AND",   "ASC",   "BETWEEN", "BY",  "DESC",   "DISTINCT", "FROM",
                                  "GROUP", "IN",    "INTO",    "IS",  "LIKE",   "NOT",      "NULL",
                                  "OR",    "ORDER", "SELECT",  "SET", "VALUES", "WHERE"};

constexpr std::array kAggregates = {"AVG", "COUNT", "MAX", "MIN", "SUM"};

// Deeper nesting than this is refused rather than risking the stack: of
// the recursive rules while parsing (three of them per parenthesis, one per
// prefix operator), of operator chains in the tree that later passes walk
// recursively.
constexpr int kMaxDepth = 600;
constexpr int kMaxHeight = 1000;

const char* compareOperator(const Token& t) {
  if (t.kind != TokenKind::Symbol) return nullptr;
  for (const char* op : {"=", "<>", "<", ">", "<=", ">="}) {
    if (t.text == op) return op;
  }
  // Oracle's other spellings of "not equal".
  if (t.text == "!=" || t.text == "^=") return "<>";
  return nullptr;
}

bool isLeapYear(int y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

// Counts the nesting of the recursive rules; refuses statements nested past
// kMaxDepth with a syntax error where the nesting goes too deep.
class DepthGuard {
 public:
  DepthGuard(Scanner& s, int& depth) : depth_(depth) {
    if (depth_ >= kMaxDepth)
      s.fail(kSyntaxError, s.peek().offset, "the statement nests too deeply");
    ++depth_;
  }
  ~DepthGuard() { --depth_; }
  DepthGuard(const DepthGuard&) = delete;
  DepthGuard& operator=(const DepthGuard&) = delete;

 private:
  int& depth_;
};

}  // namespace

bool isLanguageKeyword(const std::string& w) {
  return std::find(kKeywords.begin(), kKeywords.end(), w) != kKeywords.end();
}

bool ExpressionParser::atName(size_t ahead) const {
  const Token& t = s_.peek(ahead);
  if (t.kind == TokenKind::QuotedWord) return true;
  return t.kind == TokenKind::Word && !isLanguageKeyword(t.text);
}

Name ExpressionParser::name(const std::string& what) {
  if (!atName()) s_.expected(what);
  const Token& t = s_.next();
  return Name{t.text, t.kind == TokenKind::QuotedWord, t.offset};
}

Path ExpressionParser::path(const std::string& what) {
  Path p;
  p.offset = s_.peek().offset;
  p.parts.push_back(name(what));
  while (s_.acceptSymbol("."))
    p.parts.push_back(name("an attribute"));
  return p;
}

ClassName ExpressionParser::className() {
  ClassName c;
  c.offset = s_.peek().offset;
  Name first = name("a class name");
  if (s_.acceptSymbol(".")) {
    c.schema = std::move(first);
    c.name = name("a class name");
  } else {
    c.name = std::move(first);
  }
  return c;
}

ExprPtr ExpressionParser::binary(ExprKind kind, std::string op, ExprPtr left, ExprPtr right) {
  auto e = std::make_unique<Expr>();
  e->kind = kind;
  e->op = std::move(op);
  e->offset = left->offset;
  e->end = right->end;
  e->height = 1 + std::max(left->height, right->height);
  if (e->height > kMaxHeight)
    s_.fail(kSyntaxError, right->offset, "the statement nests too deeply");
  e->args.push_back(std::move(left));
  e->args.push_back(std::move(right));
  return e;
}

ExprPtr ExpressionParser::condition() {
  ExprPtr left = andCondition();
  while (s_.acceptWord("OR"))
    left = binary(ExprKind::Or, "or", std::move(left), andCondition());
  return left;
}

ExprPtr ExpressionParser::andCondition() {
  ExprPtr left = notCondition();
  while (s_.acceptWord("AND"))
    left = binary(ExprKind::And, "and", std::move(left), notCondition());
  return left;
}

ExprPtr ExpressionParser::notCondition() {
  DepthGuard guard(s_, depth_);
  if (!s_.atWord("NOT")) return predicate();
  auto e = std::make_unique<Expr>();
  e->kind = ExprKind::Not;
  e->offset = s_.next().offset;
  e->args.push_back(notCondition());
  e->end = e->args[0]->end;
  e->height = 1 + e->args[0]->height;
  return e;
}

ExprPtr ExpressionParser::predicate() {
  ExprPtr left = value();
  if (const char* op = compareOperator(s_.peek())) {
    s_.next();
    return binary(ExprKind::Compare, op, std::move(left), value());
  }
  if (s_.atWord("IS")) {
    s_.next();
    auto e = std::make_unique<Expr>();
    e->kind = ExprKind::IsNull;
    e->offset = left->offset;
    e->negated = s_.acceptWord("NOT");
    s_.expectWord("NULL");
    e->end = s_.consumedEnd();
    e->height = 1 + left->height;
    e->args.push_back(std::move(left));
    return e;
  }
  bool negated =
      s_.atWord("NOT") && (s_.atWord("LIKE", 1) || s_.atWord("IN", 1) || s_.atWord("BETWEEN", 1));
  if (negated) s_.next();
  ExprPtr e;
  if (s_.acceptWord("LIKE")) {
    e = binary(ExprKind::Like, "like", std::move(left), value());
  } else if (s_.acceptWord("BETWEEN")) {
    ExprPtr low = value();
    s_.expectWord("AND");
    e = binary(ExprKind::Between, "between", std::move(left), std::move(low));
    e->args.push_back(value());
    e->end = e->args.back()->end;
    e->height = std::max(e->height, 1 + e->args.back()->height);
  } else if (s_.acceptWord("IN")) {
    e = std::make_unique<Expr>();
    e->kind = ExprKind::In;
    e->offset = left->offset;
    e->args.push_back(std::move(left));
    s_.expectSymbol("(");
    do {
      e->args.push_back(value());
    } while (s_.acceptSymbol(","));
    for (const ExprPtr& a : e->args)
      e->height = std::max(e->height, 1 + a->height);
    s_.expectSymbol(")");
    e->end = s_.consumedEnd();
  } else {
    return left;
  }
  e->negated = negated;
  return e;
}

ExprPtr ExpressionParser::value() {
  ExprPtr left = term();
  for (;;) {
    const Token& t = s_.peek();
    if (!t.isSymbol("+") && !t.isSymbol("-") && !t.isSymbol("||")) return left;
    std::string op = s_.next().text;
    left = binary(ExprKind::Arithmetic, op, std::move(left), term());
  }
}

ExprPtr ExpressionParser::term() {
  ExprPtr left = unary();
  for (;;) {
    const Token& t = s_.peek();
    if (!t.isSymbol("*") && !t.isSymbol("/")) return left;
    std::string op = s_.next().text;
    left = binary(ExprKind::Arithmetic, op, std::move(left), unary());
  }
}

ExprPtr ExpressionParser::unary() {
  DepthGuard guard(s_, depth_);
  if (s_.atSymbol("+")) {
    int offset = s_.next().offset;
    ExprPtr e = unary();
    e->offset = offset;
    return e;
  }
  if (!s_.atSymbol("-")) return primary();
  auto e = std::make_unique<Expr>();
  e->kind = ExprKind::Negate;
  e->offset = s_.next().offset;
  e->args.push_back(unary());
  e->end = e->args[0]->end;
  e->height = 1 + e->args[0]->height;
  return e;
}

bool ExpressionParser::atAggregate() const {
  const Token& t = s_.peek();
  return t.kind == TokenKind::Word && s_.atSymbol("(", 1) &&
         std::find(kAggregates.begin(), kAggregates.end(), t.text) != kAggregates.end();
}

bool ExpressionParser::atReference() const {
  // ( class WHERE ...  or  ( schema . class WHERE ...
  if (!atName(1)) return false;
  if (s_.atWord("WHERE", 2)) return true;
  return s_.atSymbol(".", 2) && atName(3) && s_.atWord("WHERE", 4);
}

ExprPtr ExpressionParser::primary() {
  const Token& t = s_.peek();
  auto e = std::make_unique<Expr>();
  e->offset = t.offset;
  if (t.kind == TokenKind::Number || t.kind == TokenKind::String) {
    e->kind = t.kind == TokenKind::Number ? ExprKind::Number : ExprKind::String;
    e->op = s_.next().text;
  } else if (t.isWord("DATE") && s_.peek(1).kind == TokenKind::String) {
    s_.next();
    checkDate(s_.peek());
    e->kind = ExprKind::Date;
    e->op = s_.next().text;
  } else if (t.isWord("NULL")) {
    s_.next();
    e->kind = ExprKind::Null;
  } else if (atAggregate()) {
    s_.fail(kInvalidUse, t.offset,
            t.text + " is an aggregate; aggregates stand only in a select list and its order by");
  } else if (t.isSymbol("(")) {
    return parenthesized();
  } else if (atName()) {
    e->kind = ExprKind::Path;
    e->path = path();
  } else {
    s_.expected("a value");
  }
  e->end = s_.consumedEnd();
  return e;
}

ExprPtr ExpressionParser::aggregate() {
  auto e = std::make_unique<Expr>();
  e->kind = ExprKind::Aggregate;
  e->offset = s_.peek().offset;
  e->op = s_.next().text;
  s_.expectSymbol("(");
  if (s_.atSymbol("*")) {
    if (e->op != "COUNT") s_.expected("an attribute");
    s_.next();
  } else {
    e->path = path();
  }
  s_.expectSymbol(")");
  e->end = s_.consumedEnd();
  return e;
}

ExprPtr ExpressionParser::parenthesized() {
  DepthGuard guard(s_, depth_);
  int offset = s_.peek().offset;
  if (atReference()) {
    s_.next();
    auto e = std::make_unique<Expr>();
    e->kind = ExprKind::Reference;
    e->offset = offset;
    e->refClass = className();
    s_.expectWord("WHERE");
    e->args.push_back(condition());
    s_.expectSymbol(")");
    e->end = s_.consumedEnd();
    e->height = 1 + e->args[0]->height;
    return e;
  }
  s_.next();
  ExprPtr inner = condition();
  s_.expectSymbol(")");
  inner->offset = offset;
  inner->end = s_.consumedEnd();
  return inner;
}

void ExpressionParser::checkDate(const Token& literal) const {
  const std::string& v = literal.text;
  auto digits = [&](size_t at, size_t n, int& out) {
    if (at + n > v.size()) return false;
    out = 0;
    for (size_t i = at; i < at + n; ++i) {
      if (v[i] < '0' || v[i] > '9') return false;
      out = out * 10 + (v[i] - '0');
    }
    return true;
  };
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  bool ok = (v.size() == 10 || v.size() == 19) && digits(0, 4, year) && v[4] == '-' &&
            digits(5, 2, month) && v[7] == '-' && digits(8, 2, day);
  if (ok && v.size() == 19) {
    ok = v[10] == ' ' && digits(11, 2, hour) && v[13] == ':' && digits(14, 2, minute) &&
         v[16] == ':' && digits(17, 2, second) && hour < 24 && minute < 60 && second < 60;
  }
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  ok = ok && year >= 1 && month >= 1 && month <= 12 && day >= 1 &&
       day <= kDays[month - 1] + (month == 2 && isLeapYear(year) ? 1 : 0);
  if (!ok) {
    s_.fail(kSyntaxError, literal.offset,
            s_.shown(literal) + " is not a date of the form 'YYYY-MM-DD' or " +
                "'YYYY-MM-DD HH24:MI:SS'");
  }
}

}  // namespace vorn::server::translator
