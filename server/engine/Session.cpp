// Sessions: connections, transactions, savepoints; see Session.h.
#include "engine/Session.h"

#include <algorithm>

#include "engine/Cursor.h"
#include "engine/Database.h"
#include "engine/EngineFunctions.h"
#include "engine/Sqlite.h"
#include "engine/Statement.h"
#include "value/OraError.h"
#include "value/SqlFunctions.h"

namespace vorn::server {
namespace {

Session::BlockHandler& handlerSlot() {
  static Session::BlockHandler handler;
  return handler;
}

Session::ConnectionHook& connectionSlot() {
  static Session::ConnectionHook hook;
  return hook;
}

}  // namespace

void Session::setConnectionHook(ConnectionHook hook) {
  connectionSlot() = std::move(hook);
}

void Session::setBlockHandler(BlockHandler handler) {
  handlerSlot() = std::move(handler);
}
const Session::BlockHandler& Session::blockHandler() {
  return handlerSlot();
}

Session::Session(std::shared_ptr<Database> database, const UserInfo& user)
    : database_(std::move(database)), user_(user.name), userId_(user.id) {
  openConnection(main_);
}

Session::~Session() {
  // The extension may hold statements of this session: they go first.
  extension_.reset();
  try {
    rollback();
  } catch (...) {
  }
  for (Cursor* c : cursors_)
    c->detach();
  cursors_.clear();
  for (auto& r : readers_)
    closeConnection(*r);
  closeConnection(main_);
  database_->locks().release(this, 0);
  database_->locks().releaseWriter(this);
}

void Session::openConnection(Connection& c) {
  c.db = database_->openConnection();
  registerOracleFunctions(c.db, &values_);
  registerEngineFunctions(c.db, this);
  if (connectionSlot()) connectionSlot()(*this, c.db);
}

Session::IdleStatements::~IdleStatements() {
  for (sqlite3_stmt* s : statements)
    sqlite3_finalize(s);
}

void Session::closeConnection(Connection& c) {
  c.idle.clear();
  for (sqlite3_stmt*& s : c.statementSavepoint) {
    sqlite3_finalize(s);
    s = nullptr;
  }
  sqlite3_close_v2(c.db);
  c.db = nullptr;
}

size_t Session::idleStatementCount() const {
  size_t n = 0;
  auto count = [&n](std::string_view, const IdleStatements& idle) { n += idle.statements.size(); };
  main_.idle.forEach(count);
  for (const auto& r : readers_)
    r->idle.forEach(count);
  return n;
}

std::chrono::milliseconds Session::lockWait() const {
  return lockWait_.count() >= 0 ? lockWait_ : database_->defaultLockWait();
}

std::shared_ptr<const Catalog> Session::catalog() {
  auto cat = database_->catalog();
  if (cat->version() != cacheVersion_) {
    cacheVersion_ = cat->version();
    plans_.clear();
  }
  return cat;
}

std::unique_ptr<Statement> Session::prepare(std::string_view sql) {
  return prepare(analyseStatement(sql));
}

std::unique_ptr<Statement> Session::prepare(std::shared_ptr<const StatementAnalysis> analysis) {
  database_->refreshCatalog();
  return std::unique_ptr<Statement>(new Statement(*this, std::move(analysis)));
}

int64_t Session::execute(std::string_view sql) {
  return prepare(sql)->execute();
}

Session::Connection& Session::readConnection() {
  if (inWrite_) return main_;
  for (auto& r : readers_) {
    if (r->active == 0) return *r;
  }
  readers_.push_back(std::make_unique<Connection>());
  openConnection(*readers_.back());
  return *readers_.back();
}

sqlite3_stmt* Session::acquire(Connection& c, const std::string& sql) {
  if (IdleStatements* idle = c.idle.find(sql); idle && !idle->statements.empty()) {
    sqlite3_stmt* s = idle->statements.back();
    idle->statements.pop_back();
    return s;
  }
  sqlite3_stmt* s = nullptr;
  int rc = sqlite3_prepare_v3(c.db, sql.data(), static_cast<int>(sql.size()),
                              SQLITE_PREPARE_PERSISTENT, &s, nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_finalize(s);
    raiseSqlite(c.db, rc, &values_);
  }
  return s;
}

void Session::release(Connection& c, sqlite3_stmt* stmt) {
  sqlite3_reset(stmt);
  sqlite3_clear_bindings(stmt);
  // Many distinct texts (literals instead of binds) push the least recently
  // used ones out.
  auto& idle = c.idle.emplace(sqlite3_sql(stmt)).statements;
  if (idle.size() < kIdleStatementsPerText) {
    idle.push_back(stmt);
  } else {
    sqlite3_finalize(stmt);
  }
}

void Session::beginWrite() {
  if (inWrite_) return;
  database_->locks().acquireWriter(this, lockWait());
  int rc = sqlite3_exec(main_.db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) {
    database_->locks().releaseWriter(this);
    raiseSqlite(main_.db, rc);
  }
  inWrite_ = true;
}

namespace {
enum SavepointStep { kOpen, kRelease, kRollback };

void runSavepointStep(Session::Connection& c, SavepointStep step) {
  static const char* const kSql[] = {"SAVEPOINT vorn_stmt", "RELEASE vorn_stmt",
                                     "ROLLBACK TO vorn_stmt"};
  sqlite3_stmt*& stmt = c.statementSavepoint[step];
  if (!stmt) {
    int rc = sqlite3_prepare_v3(c.db, kSql[step], -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
    if (rc != SQLITE_OK) {
      sqlite3_finalize(stmt);
      stmt = nullptr;
      raiseSqlite(c.db, rc);
    }
  }
  int rc = sqlite3_step(stmt);
  sqlite3_reset(stmt);
  if (rc != SQLITE_DONE) raiseSqlite(c.db, rc);
}
}  // namespace

void Session::openStatementSavepoint() {
  runSavepointStep(main_, kOpen);
  ++statementSavepoints_;
}

void Session::releaseStatementSavepoint() {
  runSavepointStep(main_, kRelease);
  --statementSavepoints_;
}

void Session::rollbackStatementSavepoint() noexcept {
  --statementSavepoints_;
  try {
    runSavepointStep(main_, kRollback);
    runSavepointStep(main_, kRelease);
  } catch (...) {
    // The transaction is gone with it (SQLite rolled it back); nothing to undo.
  }
}

void Session::registerCursor(Cursor* cursor) {
  cursors_.push_back(cursor);
}

void Session::unregisterCursor(Cursor* cursor) {
  cursors_.erase(std::remove(cursors_.begin(), cursors_.end(), cursor), cursors_.end());
}

void Session::materializeMainCursors() {
  for (Cursor* c : std::vector<Cursor*>(cursors_)) {
    if (c->connection() == &main_) c->materialize();
  }
}

void Session::endTransaction(bool commit) {
  materializeMainCursors();
  if (inWrite_) {
    try {
      if (commit) {
        database_->flushSequences(main_.db);
        execSql(main_.db, "COMMIT");
      } else {
        execSql(main_.db, "ROLLBACK");
      }
    } catch (...) {
      sqlite3_exec(main_.db, "ROLLBACK", nullptr, nullptr, nullptr);
      inWrite_ = false;
      database_->locks().releaseWriter(this);
      database_->locks().release(this, 0);
      savepoints_.clear();
      savepointLevel_ = 0;
      throw;
    }
    inWrite_ = false;
    database_->locks().releaseWriter(this);
  }
  database_->locks().release(this, 0);
  savepoints_.clear();
  savepointLevel_ = 0;
}

void Session::commit() {
  endTransaction(true);
}
void Session::rollback() {
  endTransaction(false);
}
void Session::commitForDdl() {
  endTransaction(true);
}

void Session::savepoint(const std::string& name) {
  // A savepoint set again replaces the earlier one of its name. When that
  // one is the newest SQLite savepoint (no other mark and no statement's
  // savepoint above it), it is released in SQLite too (the work since it
  // stays in the transaction): a dataset sets its lock point before every
  // record it posts, and SQLite's cost of changing a page grows with the
  // number of savepoints open.
  if (!savepoints_.empty() && savepoints_.back().name == name && savepoints_.back().inSqlite &&
      inWrite_ && statementSavepoints_ == 0) {
    execSql(main_.db, "RELEASE sp" + std::to_string(savepoints_.back().level));
  }
  savepoints_.erase(std::remove_if(savepoints_.begin(), savepoints_.end(),
                                   [&](const SavepointMark& m) { return m.name == name; }),
                    savepoints_.end());
  SavepointMark mark{name, ++savepointCounter_, inWrite_};
  if (inWrite_) execSql(main_.db, "SAVEPOINT sp" + std::to_string(mark.level));
  savepoints_.push_back(mark);
  savepointLevel_ = mark.level;
}

void Session::rollbackToSavepoint(const std::string& name) {
  auto it = std::find_if(savepoints_.rbegin(), savepoints_.rend(),
                         [&](const SavepointMark& m) { return m.name == name; });
  if (it == savepoints_.rend()) raiseOra(1086, {name});
  SavepointMark mark = *it;
  materializeMainCursors();
  if (mark.inSqlite) {
    execSql(main_.db, "ROLLBACK TO sp" + std::to_string(mark.level));
  } else if (inWrite_) {
    // The write transaction began after the savepoint: all of it goes.
    execSql(main_.db, "ROLLBACK");
    inWrite_ = false;
    database_->locks().releaseWriter(this);
  }
  database_->locks().release(this, mark.level);
  savepoints_.erase(it.base(), savepoints_.end());
  savepointLevel_ = mark.level;
}

void Session::releaseSavepoint(const std::string& name) {
  if (savepoints_.empty() || savepoints_.back().name != name) return;
  SavepointMark mark = savepoints_.back();
  savepoints_.pop_back();
  if (mark.inSqlite && inWrite_) execSql(main_.db, "RELEASE sp" + std::to_string(mark.level));
  savepointLevel_ = savepoints_.empty() ? 0 : savepoints_.back().level;
}

int64_t Session::currval(const SequenceInfo& seq) const {
  auto it = currval_.find(seq.obj);
  if (it == currval_.end()) raiseOra(8002, {seq.owner + "." + seq.name});
  return it->second;
}

int64_t Session::nextval(const SequenceInfo& seq) {
  int64_t v = database_->nextSequenceValue(seq);
  currval_[seq.obj] = v;
  return v;
}

}  // namespace vorn::server
