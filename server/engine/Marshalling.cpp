// Values to and from SQLite; see Marshalling.h.
#include "engine/Marshalling.h"

#include <cstring>

#include "engine/Sqlite.h"

namespace vorn::server {

void bindValue(sqlite3_stmt* stmt, int index, const Value& v) {
  switch (v.kind()) {
    case Value::Kind::Null:
      sqlite3_bind_null(stmt, index);
      break;
    case Value::Kind::Integer:
    case Value::Kind::Date:
      sqlite3_bind_int64(stmt, index, v.asInteger());
      break;
    case Value::Kind::Double:
      sqlite3_bind_double(stmt, index, v.asDouble());
      break;
    case Value::Kind::Text: {
      // Text without a NUL inside goes in as NUL-terminated, so that SQLite
      // need not copy it to terminate it when a function reads it.
      const std::string& text = v.asText();
      int length = std::strlen(text.c_str()) == text.size() ? -1 : static_cast<int>(text.size());
      sqlite3_bind_text(stmt, index, text.c_str(), length, SQLITE_STATIC);
      break;
    }
    case Value::Kind::Raw:
      sqlite3_bind_blob(stmt, index, v.asText().data(), static_cast<int>(v.asText().size()),
                        SQLITE_STATIC);
      break;
  }
}

Value columnValue(sqlite3_stmt* stmt, int col, TypeKind kind) {
  switch (sqlite3_column_type(stmt, col)) {
    case SQLITE_NULL:
      return Value();
    case SQLITE_INTEGER:
      if (kind == TypeKind::Date) return Value::date(sqlite3_column_int64(stmt, col));
      return Value::integer(sqlite3_column_int64(stmt, col));
    case SQLITE_FLOAT:
      return Value::real(sqlite3_column_double(stmt, col));
    case SQLITE_BLOB: {
      const char* p = static_cast<const char*>(sqlite3_column_blob(stmt, col));
      return Value::raw(
          std::string(p ? p : "", static_cast<size_t>(sqlite3_column_bytes(stmt, col))));
    }
    default: {
      const char* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt, col));
      size_t n = static_cast<size_t>(sqlite3_column_bytes(stmt, col));
      // Only an empty CLOB is stored as text of no characters.
      if (n == 0 && (kind == TypeKind::Clob || kind == TypeKind::Null)) return Value::emptyClob();
      return Value::text(std::string(p, n));
    }
  }
}

bool stepRow(Session& s, sqlite3* db, sqlite3_stmt* stmt) {
  int rc = sqlite3_step(stmt);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  sqlite3_reset(stmt);
  raiseSqlite(db, rc, &s.values());
}

std::vector<std::vector<Value>> runAll(Session& s, Session::Connection& c, sqlite3_stmt* stmt) {
  std::vector<std::vector<Value>> rows;
  int n = sqlite3_column_count(stmt);
  while (stepRow(s, c.db, stmt)) {
    std::vector<Value> row;
    row.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
      row.push_back(columnValue(stmt, i, TypeKind::Null));
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace vorn::server
