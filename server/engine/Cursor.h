// An open query cursor: a SQLite statement being stepped, or, after the
// session's transaction ended under it, the remaining rows kept in memory
// (SQLite would abort a pending statement there; Oracle's cursor lives on).
#pragma once

#include <sqlite3.h>

#include <memory>
#include <vector>

#include "engine/Session.h"
#include "engine/Types.h"
#include "engine/Value.h"

namespace vorn::server {

struct Plan;

struct Cursor {
  Cursor(Session& session, Session::Connection& conn, sqlite3_stmt* stmt,
         std::shared_ptr<Plan> plan, std::vector<OraType> types);
  // A cursor over rows already read (FOR UPDATE queries).
  Cursor(std::vector<std::vector<Value>> rows, std::vector<OraType> types);
  ~Cursor();

  Session::Connection* connection() const { return conn_; }
  // Steps to the next row; false at the end (the statement is released).
  bool next();
  // Reads every remaining row into memory and releases the statement.
  void materialize();
  // The session is going away: keep the rows already read, drop the rest.
  void detach();

  Value value(int col) const;
  Value::Kind kind(int col) const;
  int64_t intValue(int col) const;
  double doubleValue(int col) const;
  std::string_view textValue(int col) const;

  int64_t fetched = 0;
  bool done = false;

 private:
  Value readLive(int col) const;
  void releaseStatement();

  Session* session_;
  Session::Connection* conn_;
  sqlite3_stmt* stmt_;
  std::shared_ptr<Plan> plan_;
  std::vector<OraType> types_;
  bool materialized_ = false;
  std::vector<std::vector<Value>> rows_;
  size_t nextRow_ = 0;
  const std::vector<Value>* current_ = nullptr;
  bool started_ = false;     // the live statement has been stepped at least once
  bool pendingRow_ = false;  // materialize() read the row next() will deliver
};

}  // namespace vorn::server
