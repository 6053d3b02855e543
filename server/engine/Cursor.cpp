// Query cursors; see Cursor.h.
#include "engine/Cursor.h"

#include "engine/Plan.h"
#include "engine/Sqlite.h"

namespace vorn::server {

Cursor::Cursor(Session& session, Session::Connection& conn, sqlite3_stmt* stmt,
               std::shared_ptr<Plan> plan, std::vector<OraType> types)
    : session_(&session),
      conn_(&conn),
      stmt_(stmt),
      plan_(std::move(plan)),
      types_(std::move(types)) {
  ++conn_->active;
  session_->registerCursor(this);
}

Cursor::Cursor(std::vector<std::vector<Value>> rows, std::vector<OraType> types)
    : session_(nullptr),
      conn_(nullptr),
      stmt_(nullptr),
      types_(std::move(types)),
      materialized_(true),
      rows_(std::move(rows)) {}

Cursor::~Cursor() {
  releaseStatement();
  if (session_) session_->unregisterCursor(this);
}

void Cursor::releaseStatement() {
  if (!stmt_) return;
  if (session_) {
    session_->release(*conn_, stmt_);
  } else {
    sqlite3_finalize(stmt_);
  }
  stmt_ = nullptr;
  if (conn_) --conn_->active;
}

void Cursor::detach() {
  if (stmt_) {
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    --conn_->active;
  }
  session_ = nullptr;
  conn_ = nullptr;
  if (!materialized_) done = true;
}

bool Cursor::next() {
  if (done) return false;
  if (materialized_) {
    if (pendingRow_) pendingRow_ = false;
    if (nextRow_ < rows_.size()) {
      current_ = &rows_[nextRow_++];
      ++fetched;
      return true;
    }
    done = true;
    current_ = nullptr;
    return false;
  }
  started_ = true;
  int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) {
    ++fetched;
    return true;
  }
  sqlite3* db = conn_->db;
  if (rc == SQLITE_DONE) {
    releaseStatement();
    done = true;
    return false;
  }
  session_->values().rethrowPendingError();
  std::string msg = sqlite3_errmsg(db);
  releaseStatement();
  done = true;
  raiseSqlite(db, rc, &session_->values());
}

void Cursor::materialize() {
  if (materialized_ || done || !stmt_) return;
  // Hidden columns (the rows of LOB columns) are kept too.
  int width = sqlite3_column_count(stmt_);
  std::vector<Value> current;
  bool hasCurrent = started_;
  if (hasCurrent) {
    for (int i = 0; i < width; ++i)
      current.push_back(readLive(i));
  }
  std::vector<std::vector<Value>> rows;
  if (hasCurrent) rows.push_back(std::move(current));
  for (;;) {
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) {
      std::vector<Value> row;
      row.reserve(static_cast<size_t>(width));
      for (int i = 0; i < width; ++i)
        row.push_back(readLive(i));
      rows.push_back(std::move(row));
      continue;
    }
    if (rc != SQLITE_DONE) {
      // The error belongs to a row not yet fetched; the rows before it
      // stay available and the cursor ends there.
      session_->values().clearPendingError();
    }
    break;
  }
  releaseStatement();
  rows_ = std::move(rows);
  materialized_ = true;
  if (hasCurrent) {
    current_ = &rows_[0];
    nextRow_ = 1;
  } else {
    nextRow_ = 0;
  }
}

Value Cursor::readLive(int col) const {
  switch (sqlite3_column_type(stmt_, col)) {
    case SQLITE_NULL:
      return Value();
    case SQLITE_INTEGER:
      if (static_cast<size_t>(col) < types_.size() && types_[col].kind == TypeKind::Date) {
        return Value::date(sqlite3_column_int64(stmt_, col));
      }
      return Value::integer(sqlite3_column_int64(stmt_, col));
    case SQLITE_FLOAT:
      return Value::real(sqlite3_column_double(stmt_, col));
    case SQLITE_BLOB: {
      const char* p = static_cast<const char*>(sqlite3_column_blob(stmt_, col));
      return Value::raw(
          std::string(p ? p : "", static_cast<size_t>(sqlite3_column_bytes(stmt_, col))));
    }
    default: {
      const char* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, col));
      size_t n = static_cast<size_t>(sqlite3_column_bytes(stmt_, col));
      // Text of no characters is an empty CLOB (kind() says Text too).
      return n == 0 ? Value::emptyClob() : Value::text(std::string(p, n));
    }
  }
}

Value Cursor::value(int col) const {
  if (materialized_) return current_ ? (*current_)[col] : Value();
  return readLive(col);
}

Value::Kind Cursor::kind(int col) const {
  if (materialized_) return current_ ? (*current_)[col].kind() : Value::Kind::Null;
  switch (sqlite3_column_type(stmt_, col)) {
    case SQLITE_NULL:
      return Value::Kind::Null;
    case SQLITE_INTEGER:
      return static_cast<size_t>(col) < types_.size() && types_[col].kind == TypeKind::Date
                 ? Value::Kind::Date
                 : Value::Kind::Integer;
    case SQLITE_FLOAT:
      return Value::Kind::Double;
    case SQLITE_BLOB:
      return Value::Kind::Raw;
    default:
      return Value::Kind::Text;
  }
}

int64_t Cursor::intValue(int col) const {
  if (materialized_) return current_ ? (*current_)[col].asInteger() : 0;
  return sqlite3_column_int64(stmt_, col);
}

double Cursor::doubleValue(int col) const {
  if (materialized_) return current_ ? (*current_)[col].asDouble() : 0;
  return sqlite3_column_double(stmt_, col);
}

std::string_view Cursor::textValue(int col) const {
  if (materialized_) {
    if (!current_) return {};
    return (*current_)[col].asText();
  }
  if (sqlite3_column_type(stmt_, col) == SQLITE_BLOB) {
    const char* p = static_cast<const char*>(sqlite3_column_blob(stmt_, col));
    return std::string_view(p ? p : "", static_cast<size_t>(sqlite3_column_bytes(stmt_, col)));
  }
  const char* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, col));
  return std::string_view(p ? p : "", static_cast<size_t>(sqlite3_column_bytes(stmt_, col)));
}

}  // namespace vorn::server
