// The recursive-descent parser of the Oracle dialect. It works on the token
// list of one statement and builds the tree of Ast.h; syntax errors are
// OraErrors of the ORA-00900 family carrying the offset of the offending
// token, as Oracle reports them.
//
// The expression and query entry points are public so that the PL/SQL
// parser can drive the same grammar over its own token positions.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/Ast.h"
#include "engine/Lexer.h"

namespace vorn::server {

// Parses one SQL statement (no trailing ';'). Raises OraError.
StmtPtr parseStatement(std::string_view text);

// The integer a number token starts with (its leading digits), saturated at
// INT_MAX: a length, precision or count written too large reaches the
// caller's range check and its ORA error.
int leadingInteger(std::string_view text);

class Parser {
 public:
  Parser(std::string_view text, std::vector<Token> tokens);

  StmtPtr statement();

  // Grammar pieces, reusable by the PL/SQL parser.
  ExprPtr expression();  // a value expression (no conditions)
  ExprPtr condition();   // a condition (AND/OR/NOT, comparisons, ...)
  QueryPtr query();      // a full query with ORDER BY / FOR UPDATE
  TypeSpec dataType();
  std::vector<std::string> qualifiedName(int maxParts = 2);

  // Token access.
  const Token& peek(int ahead = 0) const;
  const Token& next();
  bool atEnd() const { return peek().kind == TokenKind::End; }
  bool acceptWord(std::string_view w);
  bool acceptSymbol(std::string_view s);
  void expectWord(std::string_view w, int code = 905);
  void expectSymbol(std::string_view s, int code);
  size_t position() const { return pos_; }
  void setPosition(size_t p) { pos_ = p; }
  std::string_view text() const { return text_; }
  // Raises ORA-`code` at the current token (ORA-00921 when at the end for
  // the codes that Oracle reports that way).
  [[noreturn]] void fail(int code) const;
  [[noreturn]] void failAt(int code, const Token& t) const;
  // Bind placeholders in order of appearance.
  int bindCount() const { return bindCount_; }

  // The column heading Oracle gives an expression: its text, upper-cased,
  // without blanks outside literals, at most 30 characters.
  std::string labelOf(int begin, int end) const;

 private:
  ExprPtr orExpr(bool cond);
  ExprPtr andExpr(bool cond);
  ExprPtr notExpr(bool cond);
  ExprPtr predicate(bool cond);
  ExprPtr additive(bool cond);
  ExprPtr multiplicative(bool cond);
  ExprPtr unary(bool cond);
  ExprPtr primary(bool cond);
  ExprPtr primaryInner(bool cond);
  ExprPtr functionCall(std::vector<std::string> names, int pos);
  ExprPtr caseExpr();
  void finish(Expr& e) const;

  QueryPtr queryTerm();
  QueryPtr selectBlock();
  void orderByClause(std::vector<OrderItem>& out);
  std::unique_ptr<ForUpdate> forUpdateClause();
  FromPtr fromItem();
  FromPtr tableReference();
  std::string optionalAlias(bool allowAs);

  StmtPtr insertStatement();
  StmtPtr updateStatement();
  StmtPtr deleteStatement();
  std::unique_ptr<ReturningClause> returningClause();
  StmtPtr createStatement();
  StmtPtr createTable();
  // User-defined types (ParserTypes.cpp).
  StmtPtr createType(bool orReplace);
  TypeSpec columnType(bool scoped);
  void objectTableSpec(CreateTableStmt& s);
  void scopeFor(CreateTableStmt& s);
  void nestedTableClauses(CreateTableStmt& s);
  StmtPtr createView(bool orReplace, bool force, int pos);
  StmtPtr createSequence();
  StmtPtr createSynonym(bool orReplace, bool isPublic);
  StmtPtr createIndex(bool unique);
  StmtPtr createUser();
  StmtPtr alterStatement();
  StmtPtr alterTable();
  StmtPtr alterUser();
  StmtPtr alterSession();
  StmtPtr dropStatement();
  StmtPtr transactionStatement();
  StmtPtr acceptedStatement(StmtKind kind);
  void sequenceOptions(SequenceOptions& o, bool create);
  double signedNumber();
  ColumnDef columnDefinition(bool requireType);
  std::vector<ColumnDef> alterColumns(bool requireType);
  bool constraintClause(ConstraintDef& c, bool inlineColumn);
  void constraintState(ConstraintDef& c);
  std::vector<std::pair<std::string, int>> nameList();
  std::string identifier(int code = 904);
  std::string userName();

  std::string_view text_;
  std::vector<Token> tokens_;
  size_t pos_ = 0;
  int bindCount_ = 0;
  int depth_ = 0;  // nesting of parentheses, subqueries, CASE
};

}  // namespace vorn::server
