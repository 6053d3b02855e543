// SQLite helpers; see Sqlite.h.
#include "engine/Sqlite.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "value/OraError.h"
#include "value/SessionValues.h"

namespace vorn::server {

void raiseSqlite(sqlite3* db, int rc, SessionValues* values) {
  if (values) values->rethrowPendingError();
  int primary = rc & 0xff;
  if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED) raiseOra(54);
  const char* msg = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  if (msg && std::strcmp(msg, "integer overflow") == 0) raiseOra(1426);
  if (primary == SQLITE_INTERRUPT) raiseOra(1013);
  raiseOra(600, {"vorn-sqlite", std::to_string(rc), msg ? msg : ""});
}

void execSql(sqlite3* db, std::string_view sql) {
  std::string text(sql);
  char* err = nullptr;
  int rc = sqlite3_exec(db, text.c_str(), nullptr, nullptr, &err);
  if (rc != SQLITE_OK) {
    std::string msg = err ? err : sqlite3_errstr(rc);
    sqlite3_free(err);
    int primary = rc & 0xff;
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED) raiseOra(54);
    raiseOra(600, {"vorn-sqlite-exec", std::to_string(rc), msg});
  }
}

SqlStatement::SqlStatement(sqlite3* db, std::string_view sql) : db_(db) {
  int rc = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr);
  if (rc != SQLITE_OK) raiseSqlite(db, rc);
}

SqlStatement::~SqlStatement() {
  sqlite3_finalize(stmt_);
}

SqlStatement& SqlStatement::bind(int index, int64_t v) {
  sqlite3_bind_int64(stmt_, index, v);
  return *this;
}

SqlStatement& SqlStatement::bind(int index, double v) {
  sqlite3_bind_double(stmt_, index, v);
  return *this;
}

SqlStatement& SqlStatement::bind(int index, std::string_view v) {
  if (v.empty()) {
    sqlite3_bind_null(stmt_, index);
  } else {
    sqlite3_bind_text(stmt_, index, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
  }
  return *this;
}

SqlStatement& SqlStatement::bindNull(int index) {
  sqlite3_bind_null(stmt_, index);
  return *this;
}

bool SqlStatement::step() {
  int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  sqlite3_reset(stmt_);
  raiseSqlite(db_, rc);
}

void SqlStatement::reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

std::string SqlStatement::getText(int col) const {
  const unsigned char* p = sqlite3_column_text(stmt_, col);
  if (!p) return {};
  return std::string(reinterpret_cast<const char*>(p),
                     static_cast<size_t>(sqlite3_column_bytes(stmt_, col)));
}

namespace {

// Calls f(start, end, n) for every numbered parameter ?n outside quotes;
// [start, end) is its text.
template <class F>
void forEachParameter(std::string_view sql, F&& f) {
  char quote = 0;
  for (size_t i = 0; i < sql.size(); ++i) {
    char c = sql[i];
    if (quote) {
      // A doubled quote character closes and reopens: it stays inside.
      if (c == quote) quote = 0;
      continue;
    }
    if (c == '\'' || c == '"') {
      quote = c;
      continue;
    }
    if (c != '?' || i + 1 >= sql.size() || sql[i + 1] < '0' || sql[i + 1] > '9') continue;
    size_t end = i + 1;
    int64_t n = 0;
    while (end < sql.size() && sql[end] >= '0' && sql[end] <= '9')
      n = std::min<int64_t>(n * 10 + (sql[end++] - '0'), INT32_MAX);
    f(i, end, n);
    i = end - 1;
  }
}

}  // namespace

std::string shiftParameters(std::string_view sql, int offset, int from) {
  std::string out;
  out.reserve(sql.size() + sql.size() / 8);
  size_t copied = 0;
  forEachParameter(sql, [&](size_t start, size_t end, int64_t n) {
    if (n < from) return;
    out.append(sql, copied, start - copied);
    out += '?';
    out += std::to_string(n + offset);
    copied = end;
  });
  out.append(sql, copied);
  return out;
}

int highestParameter(std::string_view sql, int below) {
  int64_t top = 0;
  forEachParameter(sql, [&](size_t, size_t, int64_t n) {
    if (n < below) top = std::max(top, n);
  });
  return static_cast<int>(top);
}

std::string quoteIdent(std::string_view name) {
  std::string out = "\"";
  for (char c : name) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

std::string quoteText(std::string_view text) {
  const bool hasNul = text.find('\0') != std::string_view::npos;
  std::string out = hasNul ? "('" : "'";
  for (char c : text) {
    if (c == '\0') {
      out += "'||char(0)||'";
      continue;
    }
    if (c == '\'') out += '\'';
    out += c;
  }
  out += hasNul ? "')" : "'";
  return out;
}

}  // namespace vorn::server
