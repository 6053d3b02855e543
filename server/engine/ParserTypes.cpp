// The syntax of user-defined types: CREATE TYPE, column types that name a
// type (REF type [SCOPE IS table]), object tables (CREATE TABLE t OF type)
// and the storage clauses of their columns. The Oracle object features the
// server does not have (methods, inheritance, type bodies) fail here with
// ORA-03001 at the word that asks for them.
#include "engine/Parser.h"
#include "value/OraError.h"

namespace vorn::server {

namespace {

bool isMethodWord(const Token& t) {
  return t.isWord("MEMBER") || t.isWord("STATIC") || t.isWord("MAP") || t.isWord("ORDER") ||
         t.isWord("CONSTRUCTOR") || t.isWord("PRAGMA") || t.isWord("OVERRIDING") ||
         t.isWord("FINAL") || t.isWord("INSTANTIABLE") || t.isWord("NOT");
}

}  // namespace

// CREATE [OR REPLACE] TYPE: CREATE and OR REPLACE are read.
StmtPtr Parser::createType(bool orReplace) {
  next();  // TYPE
  if (peek().isWord("BODY")) raiseOra(3001, {}, peek().offset);
  auto s = std::make_unique<CreateTypeStmt>();
  s->orReplace = orReplace;
  s->namePos = peek().offset;
  s->name = qualifiedName(2);
  if (peek().isWord("UNDER")) raiseOra(3001, {}, peek().offset);
  if (acceptWord("AUTHID")) {
    if (!acceptWord("CURRENT_USER") && !acceptWord("DEFINER")) fail(922);
  }
  if (!acceptWord("AS") && !acceptWord("IS")) {
    // CREATE TYPE name; declares an incomplete type (a REF target to come).
    acceptSymbol(";");
    if (!atEnd()) fail(922);
    return s;
  }
  if (acceptWord("OBJECT")) {
    s->typeKind = CreateTypeStmt::Object;
    expectSymbol("(", 906);
    do {
      if (isMethodWord(peek())) raiseOra(3001, {}, peek().offset);
      ColumnDef a;
      a.pos = peek().offset;
      a.name = identifier(904);
      a.type = columnType(false);
      a.hasType = true;
      s->attributes.push_back(std::move(a));
    } while (acceptSymbol(","));
    expectSymbol(")", 907);
  } else if (peek().isWord("VARRAY") || peek().isWord("VARYING")) {
    if (next().text == "VARYING") expectWord("ARRAY", 905);
    s->typeKind = CreateTypeStmt::Varray;
    expectSymbol("(", 906);
    if (peek().kind != TokenKind::Number) fail(2017);
    s->limit = std::stoll(next().text);
    if (s->limit < 1) raiseOra(2017, {}, tokens_[pos_ - 1].offset);
    expectSymbol(")", 907);
    expectWord("OF", 905);
    s->element = columnType(false);
  } else if (acceptWord("TABLE")) {
    s->typeKind = CreateTypeStmt::Table;
    expectWord("OF", 905);
    s->element = columnType(false);
  } else {
    fail(905);
  }
  if (s->typeKind != CreateTypeStmt::Object && peek().isWord("NOT") && peek(1).isWord("NULL")) {
    // Elements that may not be NULL: a constraint the server does not keep.
    raiseOra(3001, {}, peek().offset);
  }
  // FINAL and INSTANTIABLE are what every type is; their negations ask for
  // inheritance.
  for (;;) {
    if (acceptWord("FINAL") || acceptWord("INSTANTIABLE")) continue;
    if (peek().isWord("NOT")) raiseOra(3001, {}, peek().offset);
    break;
  }
  acceptSymbol(";");
  return s;
}

// A column or attribute type: a built-in type, REF type, or the name of a
// user-defined type ([schema.]type). With `scoped`, REF may be followed by
// SCOPE IS table.
TypeSpec Parser::columnType(bool scoped) {
  int pos = peek().offset;
  if (peek().isWord("REF") && peek(1).isName()) {
    next();
    TypeSpec t;
    t.pos = pos;
    t.ref = true;
    t.udt = qualifiedName(2);
    t.name = t.udt.back();
    t.length = 0;
    if (scoped && peek().isWord("SCOPE")) {
      next();
      expectWord("IS", 905);
      t.scopePos = peek().offset;
      t.scope = qualifiedName(2);
    }
    return t;
  }
  size_t start = pos_;
  try {
    return dataType();
  } catch (const OraError& e) {
    if (e.code() != 902 || e.offset() != pos || !tokens_[start].isName()) throw;
  }
  // Not a built-in type: a user-defined type's name, resolved with the
  // statement (ORA-00902 there when it names no type).
  pos_ = start;
  TypeSpec t;
  t.pos = pos;
  t.udt = qualifiedName(2);
  t.name = t.udt.back();
  t.length = 0;
  return t;
}

// After CREATE TABLE name: OF type [( attribute constraints )] and the
// object identifier clause. The table's own storage clauses follow.
void Parser::objectTableSpec(CreateTableStmt& s) {
  s.ofTypePos = peek().offset;
  s.ofType = qualifiedName(2);
  if (acceptSymbol("(")) {
    do {
      if (peek().isWord("CONSTRAINT") || peek().isWord("PRIMARY") || peek().isWord("UNIQUE") ||
          peek().isWord("CHECK") || peek().isWord("FOREIGN")) {
        ConstraintDef c;
        constraintClause(c, false);
        s.constraints.push_back(std::move(c));
      } else if (peek().isWord("SCOPE")) {
        scopeFor(s);
      } else {
        s.columns.push_back(columnDefinition(false));
        if (s.columns.back().hasType) raiseOra(2330, {}, s.columns.back().type.pos);
      }
    } while (acceptSymbol(","));
    expectSymbol(")", 907);
  }
  if (peek().isWord("OBJECT") && peek(1).isWord("IDENTIFIER")) {
    pos_ += 2;
    expectWord("IS", 905);
    // Only system-generated identifiers: a PRIMARY KEY based one is not kept.
    if (!acceptWord("SYSTEM")) raiseOra(3001, {}, peek().offset);
    expectWord("GENERATED", 905);
  }
}

// SCOPE FOR (column) IS table, inside the column list.
void Parser::scopeFor(CreateTableStmt& s) {
  CreateTableStmt::ScopeFor scope;
  scope.pos = next().offset;  // SCOPE
  expectWord("FOR", 905);
  expectSymbol("(", 906);
  scope.column = identifier(904);
  expectSymbol(")", 907);
  expectWord("IS", 905);
  scope.table = qualifiedName(2);
  s.scopes.push_back(std::move(scope));
}

// NESTED TABLE column STORE AS table [RETURN AS LOCATOR | VALUE], after the
// column list.
void Parser::nestedTableClauses(CreateTableStmt& s) {
  while (peek().isWord("NESTED") && peek(1).isWord("TABLE")) {
    pos_ += 2;
    CreateTableStmt::NestedStorage n;
    n.pos = peek().offset;
    n.column = identifier(904);
    expectWord("STORE", 905);
    expectWord("AS", 905);
    n.table = identifier(903);
    if (acceptWord("RETURN")) {
      acceptWord("AS");
      if (!acceptWord("VALUE") && !acceptWord("LOCATOR")) fail(905);
    }
    s.nestedTables.push_back(std::move(n));
  }
}

}  // namespace vorn::server
