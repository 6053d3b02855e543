// A session: one user logged on to one database. It is always in a
// transaction (Oracle's model): COMMIT and ROLLBACK end it and the next
// statement starts the next one. Reads see what was committed before the
// statement started plus the session's own changes; other sessions never
// see uncommitted changes. The first change of a transaction passes the
// database's writer gate (one writer per database: a second session that
// must write waits like a row lock, then fails with ORA-00054).
//
// Contract for callers (the shell, the OCI layer):
//  - prepare() parses a statement (syntax errors now, name errors at
//    describe or execute), see Statement.h.
//  - commit(), rollback(), savepoint(), rollbackToSavepoint() are the
//    transaction control of the call interface; the SQL statements COMMIT,
//    ROLLBACK [TO [SAVEPOINT] n], SAVEPOINT n do the same.
//  - Open query cursors survive COMMIT, ROLLBACK and ROLLBACK TO SAVEPOINT.
//  - One thread at a time per session; sessions of one database may run in
//    parallel threads.
#pragma once

#include <sqlite3.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/Catalog.h"
#include "engine/LruMap.h"
#include "value/SessionValues.h"

namespace vorn::server {

class Database;
class Statement;
struct StatementAnalysis;
struct Cursor;
struct Plan;

class Session {
 public:
  ~Session();  // rolls back what is uncommitted
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  Database& database() { return *database_; }
  const std::string& user() const { return user_; }
  int64_t userId() const { return userId_; }

  std::unique_ptr<Statement> prepare(std::string_view sql);
  // The same for a text already analysed (the call interface analyses at
  // OCIStmtPrepare; the engine then parses the same tokens).
  std::unique_ptr<Statement> prepare(std::shared_ptr<const StatementAnalysis> analysis);
  // Prepares and executes a statement without binds; returns the rows
  // processed (for a query: 0, the rows stay unfetched).
  int64_t execute(std::string_view sql);

  void commit();
  void rollback();
  void savepoint(const std::string& name);
  // ORA-01086 when the savepoint was never set in this transaction.
  void rollbackToSavepoint(const std::string& name);
  // Forgets the savepoint `name` when it is the last one set (the PL/SQL
  // layer's mark around a block that succeeded); otherwise does nothing.
  void releaseSavepoint(const std::string& name);
  bool hasUncommittedChanges() const { return inWrite_; }

  // NLS settings, format caches, SYSDATE clock, error carrying.
  SessionValues& values() { return values_; }

  // Lock wait without WAIT n; defaults to the database's.
  std::chrono::milliseconds lockWait() const;
  void setLockWait(std::chrono::milliseconds wait) { lockWait_ = wait; }

  // Runs PL/SQL blocks and CREATE of stored code when set (a later part of
  // the server); without it such statements fail with ORA-00900. The
  // handler receives the statement and may bind and read its placeholders.
  using BlockHandler = std::function<void(Session&, Statement&)>;
  static void setBlockHandler(BlockHandler handler);
  static const BlockHandler& blockHandler();
  // Called for every SQLite connection a session opens (after the engine's
  // functions are registered): later parts register their own functions.
  using ConnectionHook = std::function<void(Session&, sqlite3*)>;
  static void setConnectionHook(ConnectionHook hook);
  // State a later layer keeps per session (the PL/SQL layer's output buffer
  // and package variables); it lives as long as the session.
  struct Extension {
    virtual ~Extension() = default;
  };
  Extension* extension() const { return extension_.get(); }
  void setExtension(std::unique_ptr<Extension> extension) { extension_ = std::move(extension); }

  // Bounds of the caches (LruMap.h): compiled plans per session, texts
  // with prepared SQLite statements per connection (at most
  // kIdleStatementsPerText statements each). Beyond them the least recently
  // used entry goes.
  static constexpr size_t kPlanCacheCapacity = 128;
  static constexpr size_t kStatementCacheTexts = 64;
  static constexpr size_t kIdleStatementsPerText = 4;
  size_t cachedPlanCount() const { return plans_.size(); }
  // Prepared SQLite statements waiting for reuse, over all connections.
  size_t idleStatementCount() const;

  // ---- for the engine's own use ----
  // Prepared statements of one text that no cursor uses (finalized with
  // the object).
  struct IdleStatements {
    IdleStatements() = default;
    IdleStatements(const IdleStatements&) = delete;
    IdleStatements& operator=(const IdleStatements&) = delete;
    ~IdleStatements();
    std::vector<sqlite3_stmt*> statements;
  };
  struct Connection {
    sqlite3* db = nullptr;
    int active = 0;  // statements with an open cursor
    LruMap<IdleStatements> idle{kStatementCacheTexts};
    // SAVEPOINT, RELEASE and ROLLBACK TO of the statement savepoint,
    // prepared at first use.
    sqlite3_stmt* statementSavepoint[3] = {nullptr, nullptr, nullptr};
  };
  Connection& mainConnection() { return main_; }
  // A connection for a query: the main one inside a write transaction, else
  // an idle reader (each statement gets a fresh snapshot).
  Connection& readConnection();
  sqlite3_stmt* acquire(Connection& c, const std::string& sql);
  void release(Connection& c, sqlite3_stmt* stmt);
  // Enters the write transaction (writer gate, BEGIN IMMEDIATE).
  void beginWrite();
  // The savepoint that makes one DML statement fail as a whole on the main
  // connection (nested statements nest it); rolling back also releases it
  // and never throws.
  void openStatementSavepoint();
  void releaseStatementSavepoint();
  void rollbackStatementSavepoint() noexcept;
  // Ends the transaction for a DDL statement (Oracle commits before DDL).
  void commitForDdl();
  int savepointLevel() const { return savepointLevel_; }
  std::shared_ptr<const Catalog> catalog();
  void registerCursor(Cursor* cursor);
  void unregisterCursor(Cursor* cursor);
  // CURRVAL of this session.
  int64_t currval(const SequenceInfo& seq) const;
  int64_t nextval(const SequenceInfo& seq);

 private:
  friend class Database;
  friend class Statement;
  Session(std::shared_ptr<Database> database, const UserInfo& user);
  void openConnection(Connection& c);
  void closeConnection(Connection& c);
  void materializeMainCursors();
  void endTransaction(bool commit);

  std::shared_ptr<Database> database_;
  std::string user_;
  int64_t userId_ = 0;
  SessionValues values_;
  Connection main_;
  std::vector<std::unique_ptr<Connection>> readers_;
  bool inWrite_ = false;
  struct SavepointMark {
    std::string name;
    int level;
    bool inSqlite;  // set while the write transaction was open
  };
  std::vector<SavepointMark> savepoints_;
  int savepointLevel_ = 0;
  int savepointCounter_ = 0;
  // Statement savepoints open now (SQLite's savepoints above the marks').
  int statementSavepoints_ = 0;
  std::vector<Cursor*> cursors_;
  std::unordered_map<int64_t, int64_t> currval_;
  std::chrono::milliseconds lockWait_{-1};
  int64_t cacheVersion_ = -1;
  LruMap<std::shared_ptr<Plan>> plans_{kPlanCacheCapacity};
  std::unique_ptr<Extension> extension_;
};

}  // namespace vorn::server
