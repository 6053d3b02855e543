// Statements of the Oracle dialect: DML, DDL, session and transaction
// control; see Parser.h.
#include <cmath>
#include <cstdlib>

#include "engine/Parser.h"
#include "value/OraError.h"

namespace vorn::server {

StmtPtr Parser::statement() {
  const Token& first = peek();
  int pos = first.offset;
  StmtPtr s;
  if (first.kind != TokenKind::Word && !first.isSymbol("(")) {
    if (first.kind == TokenKind::End) raiseOra(900, {}, pos);
    fail(900);
  }
  const std::string w = first.text;
  if (w == "SELECT" || w == "(") {
    auto sel = std::make_unique<SelectStmt>();
    sel->query = query();
    s = std::move(sel);
  } else if (w == "WITH") {
    raiseOra(900, {}, pos);
  } else if (w == "INSERT") {
    s = insertStatement();
  } else if (w == "UPDATE") {
    s = updateStatement();
  } else if (w == "DELETE") {
    s = deleteStatement();
  } else if (w == "CREATE") {
    s = createStatement();
  } else if (w == "ALTER") {
    s = alterStatement();
  } else if (w == "DROP") {
    s = dropStatement();
  } else if (w == "TRUNCATE") {
    next();
    if (!acceptWord("TABLE")) fail(903);
    auto t = std::make_unique<TruncateStmt>();
    t->namePos = peek().offset;
    t->name = qualifiedName(2);
    while (peek().isWord("DROP") || peek().isWord("REUSE") || peek().isWord("STORAGE"))
      next();
    s = std::move(t);
  } else if (w == "COMMIT" || w == "ROLLBACK" || w == "SAVEPOINT") {
    s = transactionStatement();
  } else if (w == "GRANT") {
    s = acceptedStatement(StmtKind::Grant);
  } else if (w == "REVOKE") {
    s = acceptedStatement(StmtKind::Revoke);
  } else if (w == "COMMENT") {
    s = acceptedStatement(StmtKind::Comment);
  } else if (w == "SET" && peek(1).isWord("TRANSACTION")) {
    s = acceptedStatement(StmtKind::SetTransaction);
  } else if (w == "LOCK") {
    s = acceptedStatement(StmtKind::LockTable);
  } else if (w == "BEGIN" || w == "DECLARE") {
    auto o = std::make_unique<OtherStmt>(StmtKind::PlsqlBlock);
    o->text = std::string(text_);
    pos_ = tokens_.size() - 1;
    s = std::move(o);
  } else {
    fail(900);
  }
  s->pos = pos;
  if (!atEnd()) fail(933);
  return s;
}

StmtPtr Parser::acceptedStatement(StmtKind kind) {
  auto o = std::make_unique<OtherStmt>(kind);
  o->text = std::string(text_);
  if (kind == StmtKind::LockTable) {
    next();
    expectWord("TABLE", 905);
    o->name = qualifiedName(2);
  }
  // The rest of the statement is not interpreted (privileges are not
  // enforced, comments are not kept, table locks are row locks' business).
  pos_ = tokens_.size() - 1;
  return o;
}

StmtPtr Parser::transactionStatement() {
  const std::string w = next().text;
  if (w == "COMMIT") {
    auto s = std::make_unique<TransactionStmt>(StmtKind::Commit);
    acceptWord("WORK");
    if (acceptWord("COMMENT")) {
      if (peek().kind != TokenKind::String) fail(905);
      next();
    }
    return s;
  }
  if (w == "SAVEPOINT") {
    auto s = std::make_unique<TransactionStmt>(StmtKind::Savepoint);
    s->savepoint = identifier(931);
    return s;
  }
  auto s = std::make_unique<TransactionStmt>(StmtKind::Rollback);
  acceptWord("WORK");
  if (acceptWord("TO")) {
    acceptWord("SAVEPOINT");
    s->savepoint = identifier(931);
  }
  return s;
}

std::vector<std::pair<std::string, int>> Parser::nameList() {
  std::vector<std::pair<std::string, int>> out;
  expectSymbol("(", 906);
  do {
    int pos = peek().offset;
    out.emplace_back(identifier(904), pos);
  } while (acceptSymbol(","));
  expectSymbol(")", 907);
  return out;
}

std::unique_ptr<ReturningClause> Parser::returningClause() {
  if (!(peek().isWord("RETURNING") || peek().isWord("RETURN"))) return nullptr;
  next();
  auto r = std::make_unique<ReturningClause>();
  do {
    r->exprs.push_back(expression());
  } while (acceptSymbol(","));
  if (!acceptWord("INTO")) fail(925);
  do {
    if (peek().kind != TokenKind::Bind) fail(1745);
    r->into.push_back(primary(false));
  } while (acceptSymbol(","));
  if (r->into.size() < r->exprs.size()) raiseOra(947, {}, peek().offset);
  if (r->into.size() > r->exprs.size()) raiseOra(913, {}, r->into[r->exprs.size()]->pos);
  return r;
}

StmtPtr Parser::insertStatement() {
  next();  // INSERT
  if (!acceptWord("INTO")) fail(925);
  auto s = std::make_unique<InsertStmt>();
  s->tablePos = peek().offset;
  if (peek().isSymbol("(")) raiseOra(900, {}, peek().offset);
  if (!peek().isName() || (peek().kind == TokenKind::Word && isReservedWord(peek().text))) {
    fail(903);
  }
  s->table = qualifiedName(2);
  if (peek().kind == TokenKind::QuotedWord ||
      (peek().kind == TokenKind::Word && !isReservedWord(peek().text) &&
       !peek().isWord("RETURNING"))) {
    s->alias = next().text;
  }
  if (peek().isSymbol("(") && !peek(1).isWord("SELECT")) {
    next();
    do {
      int pos = peek().offset;
      // t.col is accepted as Oracle does when t names the table.
      std::string name = identifier(904);
      if (acceptSymbol(".")) name = identifier(904);
      s->columns.emplace_back(name, pos);
    } while (acceptSymbol(","));
    expectSymbol(")", 907);
  }
  if (acceptWord("VALUES")) {
    expectSymbol("(", 906);
    do {
      if (peek().isWord("DEFAULT")) {
        auto d = std::make_unique<Expr>(ExprKind::Name, next().offset);
        d->names = {"DEFAULT"};
        d->text = "DEFAULT";
        finish(*d);
        s->values.push_back(std::move(d));
      } else {
        s->values.push_back(expression());
      }
    } while (acceptSymbol(","));
    expectSymbol(")", 907);
    s->returning = returningClause();
  } else if (peek().isWord("SELECT") || peek().isSymbol("(")) {
    s->query = query();
  } else {
    fail(926);
  }
  return s;
}

StmtPtr Parser::updateStatement() {
  next();  // UPDATE
  auto s = std::make_unique<UpdateStmt>();
  s->tablePos = peek().offset;
  if (!peek().isName() || (peek().kind == TokenKind::Word && isReservedWord(peek().text))) {
    fail(903);
  }
  s->table = qualifiedName(2);
  if (peek().kind == TokenKind::QuotedWord ||
      (peek().kind == TokenKind::Word && !isReservedWord(peek().text))) {
    s->alias = next().text;
  }
  if (!acceptWord("SET")) fail(971);
  do {
    Assignment a;
    if (peek().isSymbol("(")) {
      a.columns = nameList();
      expectSymbol("=", 927);
      expectSymbol("(", 906);
      auto q = std::make_unique<Expr>(ExprKind::ScalarQuery, peek().offset);
      q->query = query();
      expectSymbol(")", 907);
      finish(*q);
      a.value = std::move(q);
    } else {
      int pos = peek().offset;
      std::string name = identifier(904);
      if (acceptSymbol(".")) name = identifier(904);
      while (acceptSymbol("."))
        a.path.push_back(identifier(904));
      a.columns.emplace_back(name, pos);
      expectSymbol("=", 927);
      if (peek().isWord("DEFAULT")) {
        next();
        a.isDefault = true;
      } else {
        a.value = expression();
      }
    }
    s->set.push_back(std::move(a));
  } while (acceptSymbol(","));
  if (acceptWord("WHERE")) s->where = condition();
  s->returning = returningClause();
  return s;
}

StmtPtr Parser::deleteStatement() {
  next();  // DELETE
  acceptWord("FROM");
  auto s = std::make_unique<DeleteStmt>();
  s->tablePos = peek().offset;
  if (!peek().isName() || (peek().kind == TokenKind::Word && isReservedWord(peek().text))) {
    fail(903);
  }
  s->table = qualifiedName(2);
  if (peek().kind == TokenKind::QuotedWord ||
      (peek().kind == TokenKind::Word && !isReservedWord(peek().text) &&
       !peek().isWord("RETURNING") && !peek().isWord("RETURN"))) {
    s->alias = next().text;
  }
  if (acceptWord("WHERE")) s->where = condition();
  s->returning = returningClause();
  return s;
}

// ---------------------------------------------------------------------------
// CREATE

StmtPtr Parser::createStatement() {
  int pos = next().offset;  // CREATE
  bool orReplace = false;
  if (acceptWord("OR")) {
    expectWord("REPLACE", 922);
    orReplace = true;
  }
  bool force = false;
  if (acceptWord("FORCE")) {
    force = true;
  } else {
    acceptWord("NOFORCE");
  }
  if (peek().isWord("VIEW")) {
    next();
    return createView(orReplace, force, pos);
  }
  if (peek().isWord("TYPE") && !force) return createType(orReplace);
  if (peek().isWord("PROCEDURE") || peek().isWord("FUNCTION") || peek().isWord("PACKAGE") ||
      peek().isWord("TRIGGER") || peek().isWord("TYPE")) {
    auto o = std::make_unique<OtherStmt>(StmtKind::CreateStoredCode);
    o->text = std::string(text_);
    pos_ = tokens_.size() - 1;
    return o;
  }
  if (peek().isWord("PUBLIC") && peek(1).isWord("SYNONYM")) {
    pos_ += 2;
    return createSynonym(orReplace, true);
  }
  if (acceptWord("SYNONYM")) return createSynonym(orReplace, false);
  if (acceptWord("DIRECTORY")) {
    if (force) fail(922);
    auto s = std::make_unique<CreateDirectoryStmt>();
    s->orReplace = orReplace;
    s->namePos = peek().offset;
    s->name = identifier(904);
    expectWord("AS", 905);
    if (peek().kind != TokenKind::String) fail(1780);
    s->path = next().text;
    return s;
  }
  if (orReplace || force) fail(922);
  if (acceptWord("TABLE")) return createTable();
  if (peek().isWord("GLOBAL")) raiseOra(900, {}, peek().offset);
  if (acceptWord("SEQUENCE")) return createSequence();
  if (peek().isWord("UNIQUE") && peek(1).isWord("INDEX")) {
    pos_ += 2;
    return createIndex(true);
  }
  if (acceptWord("INDEX")) return createIndex(false);
  if (acceptWord("USER")) return createUser();
  fail(901);
}

StmtPtr Parser::createTable() {
  auto s = std::make_unique<CreateTableStmt>();
  s->namePos = peek().offset;
  s->name = qualifiedName(2);
  if (acceptWord("AS")) {
    s->asQuery = query();
    return s;
  }
  if (acceptWord("OF")) {
    objectTableSpec(*s);
  } else {
    expectSymbol("(", 906);
    do {
      if (peek().isWord("CONSTRAINT") || peek().isWord("PRIMARY") || peek().isWord("UNIQUE") ||
          peek().isWord("CHECK") || peek().isWord("FOREIGN")) {
        ConstraintDef c;
        constraintClause(c, false);
        s->constraints.push_back(std::move(c));
      } else if (peek().isWord("SCOPE") && peek(1).isWord("FOR")) {
        scopeFor(*s);
      } else {
        s->columns.push_back(columnDefinition(true));
      }
    } while (acceptSymbol(","));
    expectSymbol(")", 907);
  }
  nestedTableClauses(*s);
  // Physical attributes (TABLESPACE, STORAGE, ...) are accepted and ignored.
  while (peek().isWord("TABLESPACE") || peek().isWord("PCTFREE") || peek().isWord("PCTUSED") ||
         peek().isWord("INITRANS") || peek().isWord("LOGGING") || peek().isWord("NOLOGGING")) {
    next();
    if (peek().kind == TokenKind::Word || peek().kind == TokenKind::Number) next();
  }
  if (acceptWord("AS")) s->asQuery = query();
  return s;
}

// The column definitions of ALTER TABLE ADD or MODIFY: one, or a list in
// parentheses.
std::vector<ColumnDef> Parser::alterColumns(bool requireType) {
  std::vector<ColumnDef> columns;
  if (!acceptSymbol("(")) {
    columns.push_back(columnDefinition(requireType));
    return columns;
  }
  do {
    columns.push_back(columnDefinition(requireType));
  } while (acceptSymbol(","));
  expectSymbol(")", 907);
  return columns;
}

ColumnDef Parser::columnDefinition(bool requireType) {
  ColumnDef c;
  c.pos = peek().offset;
  c.name = identifier(904);
  if (peek().kind == TokenKind::Word && !peek().isWord("DEFAULT") && !peek().isWord("CONSTRAINT") &&
      !peek().isWord("NOT") && !peek().isWord("NULL") && !peek().isWord("PRIMARY") &&
      !peek().isWord("UNIQUE") && !peek().isWord("CHECK") && !peek().isWord("REFERENCES")) {
    c.type = columnType(true);
    c.hasType = true;
  } else if (requireType) {
    fail(902);
  }
  if (peek().isWord("DEFAULT")) {
    next();
    int begin = peek().offset;
    c.defaultExpr = expression();
    c.hasDefault = true;
    const Token& prev = tokens_[pos_ - 1];
    c.defaultText = std::string(text_.substr(begin, prev.offset + prev.length - begin));
  }
  for (;;) {
    ConstraintDef con;
    if (!constraintClause(con, true)) break;
    c.constraints.push_back(std::move(con));
  }
  return c;
}

void Parser::constraintState(ConstraintDef& c) {
  for (;;) {
    if (acceptWord("ENABLE")) {
      c.disabled = false;
    } else if (acceptWord("DISABLE")) {
      c.disabled = true;
    } else if (acceptWord("VALIDATE") || acceptWord("NOVALIDATE") || acceptWord("RELY") ||
               acceptWord("NORELY")) {
    } else if (peek().isWord("DEFERRABLE") ||
               (peek().isWord("NOT") && peek(1).isWord("DEFERRABLE")) ||
               peek().isWord("INITIALLY")) {
      raiseOra(900, {}, peek().offset);
    } else if (peek().isWord("USING") && peek(1).isWord("INDEX")) {
      pos_ += 2;
      while (peek().isWord("TABLESPACE") || peek().isWord("PCTFREE")) {
        next();
        next();
      }
    } else {
      return;
    }
  }
}

bool Parser::constraintClause(ConstraintDef& c, bool inlineColumn) {
  c.pos = peek().offset;
  if (acceptWord("CONSTRAINT")) c.name = identifier(904);
  if (peek().isWord("NOT") && peek(1).isWord("NULL")) {
    if (!inlineColumn) fail(904);
    pos_ += 2;
    c.type = ConstraintDef::NotNull;
  } else if (peek().isWord("NULL")) {
    if (!inlineColumn) fail(904);
    next();
    c.type = ConstraintDef::Null;
  } else if (acceptWord("PRIMARY")) {
    expectWord("KEY", 905);
    c.type = ConstraintDef::PrimaryKey;
    if (!inlineColumn) c.columns = nameList();
  } else if (acceptWord("UNIQUE")) {
    c.type = ConstraintDef::Unique;
    if (!inlineColumn) c.columns = nameList();
  } else if (acceptWord("CHECK")) {
    c.type = ConstraintDef::Check;
    expectSymbol("(", 906);
    int begin = peek().offset;
    c.check = condition();
    const Token& prev = tokens_[pos_ - 1];
    c.checkText = std::string(text_.substr(begin, prev.offset + prev.length - begin));
    expectSymbol(")", 907);
  } else if (peek().isWord("FOREIGN") || (inlineColumn && peek().isWord("REFERENCES"))) {
    c.type = ConstraintDef::ForeignKey;
    if (acceptWord("FOREIGN")) {
      expectWord("KEY", 905);
      if (inlineColumn) fail(907);
      c.columns = nameList();
    }
    expectWord("REFERENCES", 905);
    c.refTable = qualifiedName(2);
    if (peek().isSymbol("(")) c.refColumns = nameList();
    if (acceptWord("ON")) {
      expectWord("DELETE", 905);
      if (acceptWord("CASCADE")) {
        c.deleteRule = "CASCADE";
      } else if (acceptWord("SET")) {
        expectWord("NULL", 905);
        c.deleteRule = "SET NULL";
      } else {
        fail(905);
      }
    }
  } else {
    if (!c.name.empty()) fail(902);
    return false;
  }
  constraintState(c);
  return true;
}

StmtPtr Parser::createView(bool orReplace, bool force, int pos) {
  auto s = std::make_unique<CreateViewStmt>();
  (void)pos;
  s->orReplace = orReplace;
  s->force = force;
  s->namePos = peek().offset;
  s->name = qualifiedName(2);
  if (peek().isSymbol("(")) s->columns = nameList();
  expectWord("AS", 905);
  int begin = peek().offset;
  s->query = query();
  if (acceptWord("WITH")) {
    if (acceptWord("READ")) {
      expectWord("ONLY", 905);
    } else {
      expectWord("CHECK", 905);
      expectWord("OPTION", 905);
    }
    if (acceptWord("CONSTRAINT")) identifier(904);
  }
  const Token& prev = tokens_[pos_ - 1];
  s->text = std::string(text_.substr(begin, prev.offset + prev.length - begin));
  return s;
}

double Parser::signedNumber() {
  bool neg = acceptSymbol("-");
  if (!neg) acceptSymbol("+");
  if (peek().kind != TokenKind::Number) fail(4012 == 0 ? 936 : 936);
  double v = std::strtod(next().text.c_str(), nullptr);
  return neg ? -v : v;
}

void Parser::sequenceOptions(SequenceOptions& o, bool create) {
  for (;;) {
    if (create && acceptWord("START")) {
      expectWord("WITH", 905);
      o.start = signedNumber();
      o.hasStart = true;
    } else if (acceptWord("INCREMENT")) {
      expectWord("BY", 924);
      o.increment = signedNumber();
      o.hasIncrement = true;
    } else if (acceptWord("MINVALUE")) {
      o.minValue = signedNumber();
      o.hasMin = true;
      o.noMin = false;
    } else if (acceptWord("NOMINVALUE")) {
      o.noMin = true;
      o.hasMin = false;
    } else if (acceptWord("MAXVALUE")) {
      o.maxValue = signedNumber();
      o.hasMax = true;
      o.noMax = false;
    } else if (acceptWord("NOMAXVALUE")) {
      o.noMax = true;
      o.hasMax = false;
    } else if (acceptWord("CYCLE")) {
      o.cycle = true;
    } else if (acceptWord("NOCYCLE")) {
      o.cycle = false;
    } else if (acceptWord("CACHE")) {
      o.cache = static_cast<int>(signedNumber());
    } else if (acceptWord("NOCACHE")) {
      o.cache = 0;
    } else if (acceptWord("ORDER")) {
      o.order = true;
    } else if (acceptWord("NOORDER")) {
      o.order = false;
    } else {
      return;
    }
  }
}

StmtPtr Parser::createSequence() {
  auto s = std::make_unique<CreateSequenceStmt>();
  s->namePos = peek().offset;
  s->name = qualifiedName(2);
  sequenceOptions(s->options, true);
  return s;
}

StmtPtr Parser::createSynonym(bool orReplace, bool isPublic) {
  auto s = std::make_unique<CreateSynonymStmt>();
  s->orReplace = orReplace;
  s->isPublic = isPublic;
  s->namePos = peek().offset;
  s->name = qualifiedName(isPublic ? 1 : 2);
  expectWord("FOR", 905);
  s->target = qualifiedName(2);
  if (acceptSymbol("@")) s->dblink = identifier(903);
  return s;
}

StmtPtr Parser::createIndex(bool unique) {
  auto s = std::make_unique<CreateIndexStmt>();
  s->unique = unique;
  s->namePos = peek().offset;
  s->name = qualifiedName(2);
  if (!acceptWord("ON")) fail(969);
  s->tablePos = peek().offset;
  s->table = qualifiedName(2);
  expectSymbol("(", 906);
  do {
    int pos = peek().offset;
    s->columns.emplace_back(identifier(904), pos);
    bool desc = false;
    if (acceptWord("DESC")) {
      desc = true;
    } else {
      acceptWord("ASC");
    }
    s->descending.push_back(desc);
  } while (acceptSymbol(","));
  expectSymbol(")", 907);
  while (peek().isWord("TABLESPACE") || peek().isWord("PCTFREE") || peek().isWord("LOGGING") ||
         peek().isWord("NOLOGGING") || peek().isWord("COMPUTE")) {
    std::string w = next().text;
    if (w == "COMPUTE") {
      expectWord("STATISTICS", 905);
    } else if (w != "LOGGING" && w != "NOLOGGING") {
      next();
    }
  }
  return s;
}

std::string Parser::userName() {
  const Token& t = peek();
  if (t.kind == TokenKind::QuotedWord || (t.kind == TokenKind::Word && !isReservedWord(t.text))) {
    return next().text;
  }
  fail(1935);
}

StmtPtr Parser::createUser() {
  auto s = std::make_unique<UserStmt>(StmtKind::CreateUser);
  s->userPos = peek().offset;
  s->user = userName();
  if (!acceptWord("IDENTIFIED")) fail(924);
  if (acceptWord("EXTERNALLY")) {
    s->external = true;
  } else {
    expectWord("BY", 924);
    if (!peek().isName()) fail(988);
    s->hasPassword = true;
    s->password = next().text;
  }
  for (;;) {
    if (acceptWord("DEFAULT") || acceptWord("TEMPORARY")) {
      expectWord("TABLESPACE", 905);
      identifier(904);
    } else if (acceptWord("QUOTA")) {
      if (!acceptWord("UNLIMITED")) {
        signedNumber();
        if (peek().kind == TokenKind::Word && (peek().text == "K" || peek().text == "M")) next();
      }
      expectWord("ON", 969);
      identifier(904);
    } else if (acceptWord("PROFILE")) {
      identifier(904);
    } else if (acceptWord("ACCOUNT")) {
      if (acceptWord("LOCK")) {
        s->lock = 1;
      } else if (acceptWord("UNLOCK")) {
        s->lock = 2;
      } else {
        fail(922);
      }
    } else if (acceptWord("PASSWORD")) {
      if (acceptWord("EXPIRE")) {
        s->expire = true;
      } else if (acceptWord("GRACE")) {
        s->graceDays = static_cast<int>(signedNumber());
      } else {
        fail(922);
      }
    } else {
      break;
    }
  }
  return s;
}

// ---------------------------------------------------------------------------
// ALTER

StmtPtr Parser::alterStatement() {
  next();  // ALTER
  if (acceptWord("TABLE")) return alterTable();
  if (acceptWord("USER")) return alterUser();
  if (acceptWord("SESSION")) return alterSession();
  if (acceptWord("SEQUENCE")) {
    auto s = std::make_unique<AlterSequenceStmt>();
    s->namePos = peek().offset;
    s->name = qualifiedName(2);
    if (peek().isWord("START")) raiseOra(2283, {}, peek().offset);
    sequenceOptions(s->options, false);
    return s;
  }
  if (peek().isWord("INDEX") || peek().isWord("VIEW") || peek().isWord("PROCEDURE") ||
      peek().isWord("FUNCTION") || peek().isWord("PACKAGE") || peek().isWord("TRIGGER") ||
      peek().isWord("TYPE")) {
    auto o = std::make_unique<OtherStmt>(StmtKind::AlterOther);
    o->text = std::string(text_);
    bool type = next().text == "TYPE";
    o->name = qualifiedName(2);
    // Only recompilation is accepted: the engine keeps nothing compiled (nor
    // evolves types).
    if (!acceptWord("COMPILE")) raiseOra(type ? 3001 : 900, {}, peek().offset);
    pos_ = tokens_.size() - 1;
    return o;
  }
  fail(940);
}

StmtPtr Parser::alterTable() {
  auto s = std::make_unique<AlterTableStmt>();
  s->namePos = peek().offset;
  s->name = qualifiedName(2);
  do {
    AlterTableAction a;
    a.pos = peek().offset;
    if (acceptWord("ADD")) {
      if (peek().isWord("CONSTRAINT") || peek().isWord("PRIMARY") || peek().isWord("UNIQUE") ||
          peek().isWord("CHECK") || peek().isWord("FOREIGN")) {
        a.kind = AlterTableAction::AddConstraint;
        constraintClause(a.constraint, false);
      } else if (peek().isSymbol("(") && (peek(1).isWord("CONSTRAINT") ||
                                          peek(1).isWord("PRIMARY") || peek(1).isWord("UNIQUE") ||
                                          peek(1).isWord("CHECK") || peek(1).isWord("FOREIGN"))) {
        next();
        a.kind = AlterTableAction::AddConstraint;
        constraintClause(a.constraint, false);
        expectSymbol(")", 907);
      } else {
        a.kind = AlterTableAction::AddColumns;
        a.columns = alterColumns(true);
      }
    } else if (acceptWord("MODIFY")) {
      if (acceptWord("CONSTRAINT")) {
        a.constraintName = identifier(904);
        if (acceptWord("ENABLE")) {
          a.kind = AlterTableAction::EnableConstraint;
        } else if (acceptWord("DISABLE")) {
          a.kind = AlterTableAction::DisableConstraint;
        } else {
          fail(905);
        }
      } else {
        a.kind = AlterTableAction::ModifyColumns;
        a.columns = alterColumns(false);
      }
    } else if (acceptWord("DROP")) {
      if (acceptWord("COLUMN")) {
        a.kind = AlterTableAction::DropColumns;
        int pos = peek().offset;
        a.names.emplace_back(identifier(904), pos);
      } else if (peek().isSymbol("(")) {
        a.kind = AlterTableAction::DropColumns;
        a.names = nameList();
      } else if (acceptWord("CONSTRAINT")) {
        a.kind = AlterTableAction::DropConstraint;
        a.constraintName = identifier(904);
      } else if (acceptWord("PRIMARY")) {
        expectWord("KEY", 905);
        a.kind = AlterTableAction::DropConstraint;
        a.primaryKey = true;
      } else if (peek().isWord("UNIQUE")) {
        next();
        a.kind = AlterTableAction::DropConstraint;
        a.names = nameList();
      } else {
        fail(905);
      }
      if (acceptWord("CASCADE")) {
        acceptWord("CONSTRAINTS");
        a.cascade = true;
      }
    } else if (acceptWord("ENABLE") || acceptWord("DISABLE")) {
      a.kind = tokens_[pos_ - 1].text == "ENABLE" ? AlterTableAction::EnableConstraint
                                                  : AlterTableAction::DisableConstraint;
      acceptWord("VALIDATE") || acceptWord("NOVALIDATE");
      if (acceptWord("CONSTRAINT")) {
        a.constraintName = identifier(904);
      } else if (acceptWord("PRIMARY")) {
        expectWord("KEY", 905);
        a.primaryKey = true;
      } else {
        fail(905);
      }
      if (acceptWord("CASCADE")) a.cascade = true;
    } else if (acceptWord("RENAME")) {
      if (acceptWord("COLUMN")) {
        a.kind = AlterTableAction::RenameColumn;
        int pos = peek().offset;
        a.names.emplace_back(identifier(904), pos);
        expectWord("TO", 905);
        pos = peek().offset;
        a.names.emplace_back(identifier(904), pos);
      } else if (acceptWord("TO")) {
        a.kind = AlterTableAction::RenameTable;
        int pos = peek().offset;
        a.names.emplace_back(identifier(903), pos);
      } else {
        fail(905);
      }
    } else {
      fail(1735);
    }
    s->actions.push_back(std::move(a));
  } while (peek().isWord("ADD") || peek().isWord("MODIFY") || peek().isWord("DROP") ||
           peek().isWord("ENABLE") || peek().isWord("DISABLE"));
  return s;
}

StmtPtr Parser::alterUser() {
  auto s = std::make_unique<UserStmt>(StmtKind::AlterUser);
  s->userPos = peek().offset;
  s->user = userName();
  bool any = false;
  for (;;) {
    if (acceptWord("IDENTIFIED")) {
      if (acceptWord("EXTERNALLY")) {
        s->external = true;
      } else {
        expectWord("BY", 924);
        if (!peek().isName()) fail(988);
        s->hasPassword = true;
        s->password = next().text;
        if (acceptWord("REPLACE")) {
          if (!peek().isName()) fail(988);
          next();
        }
      }
    } else if (acceptWord("ACCOUNT")) {
      if (acceptWord("LOCK")) {
        s->lock = 1;
      } else if (acceptWord("UNLOCK")) {
        s->lock = 2;
      } else {
        fail(922);
      }
    } else if (acceptWord("PASSWORD")) {
      if (acceptWord("EXPIRE")) {
        s->expire = true;
      } else if (acceptWord("GRACE")) {
        if (peek().kind != TokenKind::Number) fail(922);
        s->graceDays = leadingInteger(next().text);
      } else {
        fail(922);
      }
    } else if (acceptWord("DEFAULT") || acceptWord("TEMPORARY")) {
      if (tokens_[pos_ - 1].text == "DEFAULT" && acceptWord("ROLE")) {
        while (!atEnd())
          next();
      } else {
        expectWord("TABLESPACE", 905);
        identifier(904);
      }
    } else if (acceptWord("QUOTA")) {
      if (!acceptWord("UNLIMITED")) signedNumber();
      expectWord("ON", 969);
      identifier(904);
    } else if (acceptWord("PROFILE")) {
      identifier(904);
    } else {
      break;
    }
    any = true;
  }
  if (!any) fail(1916);
  return s;
}

StmtPtr Parser::alterSession() {
  auto s = std::make_unique<AlterSessionStmt>();
  if (!acceptWord("SET")) fail(2248);
  if (!peek().isName()) fail(922);
  s->parameter = next().text;
  expectSymbol("=", 922);
  s->valuePos = peek().offset;
  const Token& t = peek();
  if (t.kind == TokenKind::String || t.kind == TokenKind::Number || t.kind == TokenKind::Word ||
      t.kind == TokenKind::QuotedWord) {
    s->value = next().text;
    // READ COMMITTED is two words.
    while (peek().kind == TokenKind::Word)
      s->value += " " + next().text;
  } else {
    fail(922);
  }
  return s;
}

// ---------------------------------------------------------------------------
// DROP

StmtPtr Parser::dropStatement() {
  next();  // DROP
  auto s = std::make_unique<DropStmt>();
  if (peek().isWord("PUBLIC") && peek(1).isWord("SYNONYM")) {
    next();
    s->isPublic = true;
  }
  const Token& t = peek();
  if (t.kind != TokenKind::Word) fail(950);
  static const char* const kTypes[] = {"TABLE",   "VIEW",    "SEQUENCE",  "SYNONYM",
                                       "INDEX",   "USER",    "PROCEDURE", "FUNCTION",
                                       "PACKAGE", "TRIGGER", "TYPE",      "DIRECTORY"};
  bool known = false;
  for (const char* k : kTypes)
    known = known || t.text == k;
  if (!known) fail(950);
  s->objectType = next().text;
  if (s->objectType == "PACKAGE" && acceptWord("BODY")) s->objectType = "PACKAGE BODY";
  s->namePos = peek().offset;
  if (s->objectType == "USER" || s->objectType == "DIRECTORY") {
    s->name.push_back(s->objectType == "USER" ? userName() : identifier(904));
    if (acceptWord("CASCADE")) s->cascade = true;
    return s;
  }
  s->name = qualifiedName(s->isPublic ? 1 : 2);
  if (s->objectType == "TABLE") {
    if (acceptWord("CASCADE")) {
      expectWord("CONSTRAINTS", 905);
      s->cascade = true;
    }
    acceptWord("PURGE");
  } else if (s->objectType == "TYPE") {
    s->force = acceptWord("FORCE");
    if (!s->force && peek().isWord("VALIDATE")) raiseOra(3001, {}, peek().offset);
  } else if (s->objectType == "SYNONYM" || s->objectType == "VIEW") {
    acceptWord("FORCE");
    if (s->objectType == "VIEW" && acceptWord("CASCADE")) {
      expectWord("CONSTRAINTS", 905);
    }
  }
  return s;
}

}  // namespace vorn::server
