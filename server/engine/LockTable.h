// Row locks and the writer gate of one database, shared by all sessions of
// the process. A row lock is keyed by (table object number, SQLite rowid),
// owned by a session's transaction and tagged with the savepoint level at
// which it was taken, so that ROLLBACK TO SAVEPOINT releases the later ones.
// The writer gate admits one session with uncommitted changes at a time
// (SQLite allows one writer per database).
//
// Waits are bounded and use a condition variable: a lock held by another
// owner fails at once with ORA-00054 when the wait is zero (NOWAIT), else
// after the wait with ORA-30006; the writer gate always fails with ORA-00054.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

namespace vorn::server {

class LockTable {
 public:
  using Owner = const void*;
  using Wait = std::chrono::milliseconds;

  // Locks the row for `owner` at savepoint `level`; a row the owner holds
  // already keeps its earlier level. Returns true when it had to wait.
  bool lockRow(Owner owner, int64_t table, int64_t row, int level, Wait wait, bool nowait);
  bool holdsRow(Owner owner, int64_t table, int64_t row) const;
  // Releases the owner's locks taken at `level` or later (all: level 0).
  void release(Owner owner, int level = 0);

  // The writer gate.
  void acquireWriter(Owner owner, Wait wait);
  void releaseWriter(Owner owner);
  bool isWriter(Owner owner) const;

  // Sessions waiting for a row lock or the writer gate now; blocks until
  // at least `count` wait (lets tests order two sessions without sleeping).
  int waiting() const;
  void awaitWaiting(int count) const;

 private:
  struct Entry {
    Owner owner;
    int level;
  };
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  int waiting_ = 0;
  std::map<std::pair<int64_t, int64_t>, Entry> rows_;
  std::map<Owner, std::vector<std::pair<int64_t, int64_t>>> byOwner_;
  Owner writer_ = nullptr;
};

}  // namespace vorn::server
