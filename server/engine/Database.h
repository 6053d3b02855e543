// A database of the embedded server: one SQLite file in WAL mode holding
// the catalog, the users and their schemas. Within a process every session
// of one file shares one Database object (Database::open finds it), which
// holds the row locks, the writer gate, the catalog snapshot and the
// sequence counters.
//
// Contract for callers (the shell, the OCI layer):
//  - Database::connect(identifier, oracleHome) names a database by path or
//    by name: an alias of <oracle home>/network/admin/tnsnames.ora (or of
//    $TNS_ADMIN/tnsnames.ora) whose description gives the file with
//    (PATH = ...), else <oracle home>/oradata/<NAME>.db. An identifier that
//    names no existing file is ORA-12154.
//  - logon() checks the password and the account status: ORA-01017 for a
//    wrong user or password, ORA-28000 locked, ORA-28001 expired; an
//    account in its grace period logs on and reports ORA-28002 with the
//    days left through LogonInfo.
//  - All methods are thread-safe; a Session is used by one thread at a time.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "engine/Catalog.h"
#include "engine/LockTable.h"

namespace vorn::server {

class Session;
class SqlStatement;

// Counts a catalog change in the file (call inside the changing
// transaction), so that other processes notice it.
void bumpCatalogVersion(sqlite3* db);

// What a successful logon reports besides the session.
struct LogonInfo {
  int warningCode = 0;  // 28002 when the password expires soon
  std::string warning;  // "ORA-28002: the password will expire within 5 days"
  int graceDays = 0;
};

class Database : public std::enable_shared_from_this<Database> {
 public:
  // The default banner (OCIServerVersion) of a new database.
  static constexpr const char* kDefaultBanner =
      "Oracle8i Enterprise Edition Release 8.1.7.0.0 - Production";

  // The file a connect identifier names (see above); ORA-12154 when none.
  static std::string resolvePath(const std::string& identifier, const std::string& oracleHome);
  // Opens an existing database file (shared within the process).
  static std::shared_ptr<Database> open(const std::string& path);
  // resolvePath + open.
  static std::shared_ptr<Database> connect(const std::string& identifier,
                                           const std::string& oracleHome);
  // Creates a new database file with SYS, SYSTEM and the dictionary views.
  // ORA-01501 ("CREATE DATABASE failed") when the file exists or cannot be
  // written.
  static std::shared_ptr<Database> create(const std::string& path);

  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  const std::string& path() const { return path_; }

  std::unique_ptr<Session> logon(const std::string& user, const std::string& password,
                                 LogonInfo* info = nullptr);
  // External credentials: the OS user maps to OPS$<OSUSER>, which must be
  // IDENTIFIED EXTERNALLY (else ORA-01017).
  std::unique_ptr<Session> logonExternal(const std::string& osUser, LogonInfo* info = nullptr);
  // Checks the old password (even of an expired account: the only way out
  // of ORA-28001) and sets the new one, reopening an expired account.
  void changePassword(const std::string& user, const std::string& oldPassword,
                      const std::string& newPassword);

  // The server banner (OCIServerVersion).
  std::string banner();
  void setBanner(const std::string& banner);

  // How long a lock wait lasts without WAIT n (also the writer gate).
  std::chrono::milliseconds defaultLockWait() const;
  void setDefaultLockWait(std::chrono::milliseconds wait);

  // ---- for the engine's own use ----
  std::shared_ptr<const Catalog> catalog() const;
  // Reloads the catalog from `db` (after a committed DDL statement).
  void publishCatalog(sqlite3* db);
  // Reloads the catalog when another process changed it (the stored
  // catalog version differs from the loaded one).
  void refreshCatalog();
  LockTable& locks() { return locks_; }
  // Opens a new SQLite connection to the file (WAL, busy timeout set).
  sqlite3* openConnection();

  // Sequences: values are handed out from memory; the high-water mark is
  // written to SYS.SEQ$ by the committing session (flushSequences).
  int64_t nextSequenceValue(const SequenceInfo& seq);
  void flushSequences(sqlite3* db);
  // Forgets the in-memory state of a dropped or altered sequence.
  void forgetSequence(int64_t obj);

 private:
  explicit Database(std::string path);
  void loadCatalog();
  std::unique_ptr<Session> startSession(const UserInfo& user, LogonInfo* info);

  std::string path_;
  mutable std::mutex mutex_;
  std::shared_ptr<const Catalog> catalog_;
  int64_t catalogVersion_ = 0;
  std::string storedVersion_;  // SYS.PROPS$ CATALOG_VERSION as last loaded
  LockTable locks_;
  std::chrono::milliseconds lockWait_{3000};
  sqlite3* admin_ = nullptr;  // catalog loads and account changes
  // CATALOG_VERSION as stored, asked before every statement a session
  // prepares: prepared once on admin_ (under mutex_).
  std::string storedCatalogVersion();
  std::unique_ptr<SqlStatement> versionQuery_;

  struct SequenceState {
    int64_t next = 0;  // the next value to hand out
    bool exhausted = false;
    bool dirty = false;  // handed out past what SYS.SEQ$ records
  };
  std::mutex sequenceMutex_;
  std::unordered_map<int64_t, SequenceState> sequences_;
};

}  // namespace vorn::server
