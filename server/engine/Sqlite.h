// Thin RAII helpers over the SQLite C API for the engine's own catalog and
// bookkeeping statements. A failure that SQLite reports is turned into an
// OraError: a pending error of a registered SQL function when there is one
// (see value/SessionValues.h), Oracle's answer for the few SQLite errors
// that have one (busy: ORA-00054, integer overflow: ORA-01426), ORA-00600
// with SQLite's text otherwise (an engine fault).
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace vorn::server {

class SessionValues;

// Throws the OraError for SQLite result `rc` on `db` (see above).
[[noreturn]] void raiseSqlite(sqlite3* db, int rc, SessionValues* values = nullptr);

// Runs one or more statements without results.
void execSql(sqlite3* db, std::string_view sql);

// A prepared statement owned by this object.
class SqlStatement {
 public:
  SqlStatement(sqlite3* db, std::string_view sql);
  SqlStatement(const SqlStatement&) = delete;
  SqlStatement& operator=(const SqlStatement&) = delete;
  ~SqlStatement();

  SqlStatement& bind(int index, int64_t v);
  SqlStatement& bind(int index, double v);
  SqlStatement& bind(int index, std::string_view v);  // empty text binds NULL
  SqlStatement& bindNull(int index);
  // Steps once: true while there is a row.
  bool step();
  void reset();
  void run() {
    while (step()) {
    }
  }

  bool isNull(int col) const { return sqlite3_column_type(stmt_, col) == SQLITE_NULL; }
  int64_t getInt(int col) const { return sqlite3_column_int64(stmt_, col); }
  double getDouble(int col) const { return sqlite3_column_double(stmt_, col); }
  std::string getText(int col) const;
  sqlite3_stmt* handle() const { return stmt_; }

 private:
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

// The SQL with every numbered parameter ?N (N >= from) outside quotes
// renumbered ?(N + offset): the engine's own texts have no comments and
// quote only with '' and "".
std::string shiftParameters(std::string_view sql, int offset, int from = 1);
// The highest numbered parameter below `below` that the SQL uses (0 for
// none).
int highestParameter(std::string_view sql, int below);

// Quotes an identifier for SQLite ("A""B").
std::string quoteIdent(std::string_view name);
// Quotes a text literal for SQLite ('it''s'). SQLite ends a statement at a
// NUL byte, so a text holding one becomes ('a'||char(0)||'b').
std::string quoteText(std::string_view text);

}  // namespace vorn::server
