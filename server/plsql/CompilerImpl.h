// The compiler's class, shared by CompileUnit.cpp (units, blocks,
// declarations, types, errors), CompileStatements.cpp (statements),
// CompileCalls.cpp (assignments, targets, calls) and CompileExpressions.cpp
// (expressions and SQL sites); see Compiler.h.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Catalog.h"
#include "engine/Lexer.h"
#include "engine/Parser.h"
#include "plsql/Compiler.h"
#include "plsql/SqlSite.h"
#include "value/OraError.h"

namespace vorn::server::plsql {

struct CompileEnv {
  Session* session = nullptr;  // null: header only
  std::shared_ptr<const Catalog> catalog;
  std::string user;
  Statement* block = nullptr;  // an anonymous block's statement (its binds)
};

// PLS-00103's lists of what may follow, as Oracle words them (abridged).
extern const char* const kExpectStatement;
extern const char* const kExpectExpression;
extern const char* const kExpectOperator;

// The signature of a built-in routine.
Signature builtinSignature(const BuiltinRoutine& r);

// Tokens of PL/SQL text with PL/SQL's own forms folded for the engine's
// parser: name%ATTRIBUTE becomes one word, and a bind variable followed by
// "(" or "." (a PL/SQL table element or method) a word starting with '\1'.
std::vector<Token> plsqlTokens(std::string_view text);

class Compiler {
 public:
  Compiler(CompileEnv env, Unit& unit);

  void anonymous();
  // Stored code; with headerOnly, stops after the parameters and RETURN.
  void stored(bool headerOnly);

 private:
  // ---- tokens and errors (CompileUnit.cpp) ----
  const Token& peek(int ahead = 0) const { return p_.peek(ahead); }
  const Token& next() { return p_.next(); }
  bool acceptWord(std::string_view w) { return p_.acceptWord(w); }
  bool acceptSymbol(std::string_view s) { return p_.acceptSymbol(s); }
  void expectWord(std::string_view w, const char* expected = nullptr);
  void expectSymbol(std::string_view s, const char* expected = nullptr);
  std::string identifier(const char* expected = nullptr);
  bool atName() const;
  [[noreturn]] void syntaxError(const Token& t, std::string_view expected) const;
  // A compile error at `pos` with a PLS text; the statement being compiled
  // is reported as ignored.
  [[noreturn]] void fail(int pos, int pls, const std::string& text) const;
  // A SQL error of a statement at `pos` (the engine's OraError).
  [[noreturn]] void failSql(const SqlSite& site, const OraError& e) const;
  size_t tokenIndex(int offset) const;
  std::string tokenText(const Token& t) const;
  int lineOf(int offset) const;
  // Engine parse errors inside PL/SQL text become PLS-00103.
  [[noreturn]] void parseFailure(const OraError& e) const;

  // ---- blocks and declarations (CompileUnit.cpp) ----
  Scope* pushScope();
  void popScope() { scope_ = scope_->parent; }
  Entity& declare(const std::string& name, int pos);
  int addSlot(const std::string& name, const VarType& type);
  std::string label();
  std::unique_ptr<Block> blockAfterBegin(std::unique_ptr<Block> b);
  void declarations(Block& b);
  void variableDeclaration(Block& b, const std::string& name, int pos);
  void cursorDeclaration();
  void pragma();
  void refCursorType();
  VarType dataType(bool parameter);
  void parameterList(Signature& sig, std::vector<int>* slots);
  void recordFromColumns(Entity& e, const std::vector<ColumnDescription>& columns);
  VarType columnType(const std::vector<std::string>& name, int pos);

  // ---- statements (CompileStatements.cpp; targets and calls in CompileCalls.cpp) ----
  StmtList statements(std::initializer_list<std::string_view> enders);
  StmtPtr statement();
  StmtPtr ifStatement(int pos);
  StmtPtr loopStatement(int pos, const std::string& label);
  StmtPtr forStatement(int pos, const std::string& label);
  StmtPtr exitStatement(int pos);
  StmtPtr returnStatement(int pos);
  StmtPtr raiseStatement(int pos);
  StmtPtr sqlStatement(int pos);
  StmtPtr transactionStatement(int pos);
  StmtPtr openStatement(int pos);
  StmtPtr fetchStatement(int pos);
  StmtPtr closeStatement(int pos);
  StmtPtr executeImmediate(int pos);
  StmtPtr assignmentOrCall(int pos);
  ExceptionChoice exceptionName(const std::vector<std::string>& name, int pos);
  std::unique_ptr<Target> target();
  std::unique_ptr<Target> targetFromExpr(Expr& e);
  std::unique_ptr<Target> nameTarget(const std::vector<std::string>& name, int pos);
  int bindIndex(const std::string& name, int pos) const;
  int cursorIndex(const std::string& name) const;
  // The cursor variable (or bound HostCursor) an OPEN FOR, FETCH or CLOSE
  // names; `statement` is the statement's word, for messages.
  std::unique_ptr<Target> cursorVariable(const char* statement);
  // A call of stored or built-in code; args parsed already (named ones with
  // their names).
  struct Argument {
    std::string name;  // named notation
    ExprPtr expr;
    int pos = 0;
  };
  std::vector<Argument> arguments();
  // An argument in named notation (see plsqlTokens) gets its name.
  Argument named(Argument a);
  // The arguments of a parsed call expression, taken out of it.
  std::vector<Argument> namedArguments(std::vector<ExprPtr>& exprs);
  std::unique_ptr<Call> resolveCall(const std::vector<std::string>& name, int pos,
                                    std::vector<Argument> args, bool function);
  bool findCallee(const std::vector<std::string>& name, Call& call, bool& isFunction,
                  size_t argumentCount, int pos);
  void checkCondition(const Node& n) const;

  // ---- expressions and SQL (CompileExpressions.cpp) ----
  NodePtr expression();
  // The syntax of an expression or condition alone (names are resolved
  // when it is lowered).
  ExprPtr parseCondition();
  NodePtr condition();
  NodePtr lower(Expr& e);
  NodePtr lowerName(Expr& e);
  NodePtr lowerFunction(Expr& e);
  // An expression that must give a cursor: a cursor variable, a bound
  // HostCursor, a function returning one, or NULL; else PLS-00382.
  NodePtr cursorExpression(Expr& e);
  bool isCursorVariable(const std::string& name) const;
  NodePtr sqlNode(Expr& e, bool isCondition);
  NodePtr directFunction(Expr& e);
  // The PL/SQL construct starting at token `index` (:t(i), :t.COUNT, SQLCODE,
  // SQLERRM(n)); `index` moves past it.
  NodePtr constructAt(size_t& index);
  NodePtr cursorAttribute(const std::string& word, int pos, int end);
  // Builds the engine text of the source [from, to) with PL/SQL's pieces
  // replaced and the `cuts` (INTO clauses) replaced by their text; the
  // result is the `pieces` with a copy of that text between each two (an
  // expression becomes SELECT ... FROM DUAL). `targets` (INTO) go with the
  // site.
  struct Cut {
    int from = 0, to = 0;
    std::string replacement;
  };
  std::unique_ptr<SqlSite> site(SqlSite::Kind kind, int from, int to, std::vector<Cut> cuts,
                                std::vector<std::string> pieces,
                                std::vector<std::unique_ptr<Target>>* targets = nullptr);
  void prepareSite(SqlSite& site);
  size_t statementEnd(size_t first) const;
  std::map<std::string, LocalRef> visibleLocals() const;

  CompileEnv env_;
  Unit& u_;
  std::vector<Token> tokens_;
  Parser p_;
  std::vector<int> lineStarts_;
  Scope* scope_ = nullptr;
  int statementPos_ = -1;
  std::vector<std::string> loops_;  // labels of the enclosing loops ("" when none)
  int handlerDepth_ = 0;
};

}  // namespace vorn::server::plsql
