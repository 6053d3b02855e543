// Values between the engine's C++ interface and SQLite: binding a Value to
// a statement parameter, reading a column back as a Value (a DATE column's
// integer becomes a Date), stepping with SQLite failures turned into ORA
// errors, and borrowing a prepared statement from the session's cache for
// the length of a scope.
#pragma once

#include <sqlite3.h>

#include <string>
#include <vector>

#include "engine/Session.h"
#include "engine/Types.h"
#include "engine/Value.h"

namespace vorn::server {

void bindValue(sqlite3_stmt* stmt, int index, const Value& v);
// Column `col` of the current row; `kind` says how an integer is meant
// (TypeKind::Date: seconds) and whether text of no characters is an empty
// CLOB (TypeKind::Clob, or Null when the type is not known) or NULL.
Value columnValue(sqlite3_stmt* stmt, int col, TypeKind kind);
// Steps `stmt`: true for a row, false at the end; raises the ORA error a
// failure stands for (the statement is reset then).
bool stepRow(Session& s, sqlite3* db, sqlite3_stmt* stmt);
// Runs a statement to its end; every row of its result.
std::vector<std::vector<Value>> runAll(Session& s, Session::Connection& c, sqlite3_stmt* stmt);

// A statement from the session's cache, returned on scope exit.
class Borrowed {
 public:
  Borrowed(Session& s, Session::Connection& c, const std::string& sql)
      : s_(s), c_(c), stmt_(s.acquire(c, sql)) {}
  ~Borrowed() { s_.release(c_, stmt_); }
  Borrowed(const Borrowed&) = delete;
  Borrowed& operator=(const Borrowed&) = delete;
  sqlite3_stmt* get() const { return stmt_; }

 private:
  Session& s_;
  Session::Connection& c_;
  sqlite3_stmt* stmt_;
};

}  // namespace vorn::server
