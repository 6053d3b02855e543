// Sessions of one database in threads, each running a seeded mix of
// transfers between accounts, accounts opened and closed, rows locked with
// SELECT ... FOR UPDATE (NOWAIT, the session's wait, WAIT 1), savepoints,
// rollbacks to them, rollbacks and commits. Every transaction keeps the
// total of the balances, so:
//  - every read outside a session's own write transaction sees the total,
//    and no session ever sees another's "dirty" flag, which each writer
//    sets first and clears just before it commits (no uncommitted data
//    seen);
//  - at the end the accounts are exactly what the committed transactions
//    made of them (a model kept by the test), the total unchanged;
//  - every ORA-00054 and ORA-30006 was a real conflict: while the failing
//    statement ran, another session held (or was taking) the writer gate or
//    a row lock the statement needed. Each session logs its holds and its
//    failures on one shared logical clock, and the log is checked at the end.
// Lock waits are short and bounded; nothing sleeps.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "engine/Database.h"
#include "engine/Session.h"
#include "engine/Statement.h"
#include "value/OraError.h"

namespace vorn::server::test {
namespace {

namespace fs = std::filesystem;

constexpr int kSessions = 4;
constexpr int kOperationsPerSession = 250;
constexpr int kAccounts = 16;
constexpr int64_t kOpening = 1000;
constexpr int64_t kTotal = kAccounts * kOpening;
constexpr int64_t kGate = -1;  // the writer gate as a lock resource

std::atomic<uint64_t> ticks{0};
uint64_t tick() {
  return ticks.fetch_add(1) + 1;
}

// A lock a session held (or was taking) from `start` to `end`.
struct Hold {
  int64_t resource;
  uint64_t start;
  uint64_t end;
};

// A statement that failed with ORA-00054 or ORA-30006.
struct Conflict {
  int code;
  std::string statement;
  std::set<int64_t> resources;  // what could have been in the way
  uint64_t start;
  uint64_t end;
};

// What the committed transactions made of the accounts.
struct Model {
  std::mutex mutex;
  std::map<int64_t, int64_t> balances;
  std::vector<int64_t> known;  // every id ever used, for picking
};

struct Snapshot {
  std::map<int64_t, int64_t> deltas;
  std::set<int64_t> opened, closed;
  bool flagged = false;
};

struct Counts {
  int operations = 0, commits = 0, rollbacks = 0, savepoints = 0, rollbacksToSavepoint = 0;
  int transfers = 0, opened = 0, closed = 0, lockQueries = 0, reads = 0, conflicts = 0;
};

class Worker {
 public:
  Worker(int id, Database& database, Model& model)
      : id_(id), model_(model), random_(1000 + id), session_(database.logon("scott", "tiger")) {
    session_->setLockWait(std::chrono::milliseconds(20));
    nextAccount_ = 1000 * (id + 1);
  }

  void run() {
    for (int i = 0; i < kOperationsPerSession && !failed_; ++i) {
      ++counts_.operations;
      try {
        step();
      } catch (const OraError& e) {
        if (e.code() != 54 && e.code() != 30006) {
          fail("unexpected " + std::string(e.what()) + " in " + current_);
          return;
        }
        conflicts_.push_back(Conflict{e.code(), current_, candidates_, attemptStart_, tick()});
        ++counts_.conflicts;
        rollback();
      }
    }
    try {
      commit();
    } catch (const OraError& e) {
      fail("the last commit failed: " + std::string(e.what()));
    }
  }

  const std::vector<Hold>& holds() const { return holds_; }
  const std::vector<Conflict>& conflicts() const { return conflicts_; }
  const Counts& counts() const { return counts_; }
  const std::string& failure() const { return failure_; }

 private:
  void step() {
    const int roll = std::uniform_int_distribution<int>(0, 99)(random_);
    if (roll < 14) {
      readCheck();
    } else if (roll < 40) {
      transfer();
    } else if (roll < 47) {
      openAccount();
    } else if (roll < 52) {
      closeAccount();
    } else if (roll < 64) {
      lockRows();
    } else if (roll < 72) {
      setSavepoint("S" + std::to_string(std::uniform_int_distribution<int>(1, 3)(random_)));
      ++counts_.savepoints;
    } else if (roll < 78) {
      userRollbackToSavepoint();
    } else if (roll < 92) {
      commit();
    } else {
      rollback();
    }
  }

  int64_t pickAccount() {
    std::lock_guard lock(model_.mutex);
    return model_.known[std::uniform_int_distribution<size_t>(0, model_.known.size() - 1)(
        random_)];
  }

  int64_t amount() { return std::uniform_int_distribution<int64_t>(1, 300)(random_); }

  // Runs `sql` with integer binds, noting what it may wait for; returns the
  // rows processed (a query: the first column of each row in `rows`).
  int64_t run(const std::string& sql, const std::vector<int64_t>& binds,
              const std::set<int64_t>& locks, bool takesGate,
              std::vector<int64_t>* rows = nullptr) {
    current_ = sql;
    candidates_ = locks;
    if (takesGate) candidates_.insert(kGate);
    attemptStart_ = tick();
    // A lock is held from before the statement that takes it.
    for (int64_t resource : candidates_) {
      if (!open_.count(resource)) open_[resource] = attemptStart_;
    }
    auto st = session_->prepare(sql);
    for (size_t i = 0; i < binds.size(); ++i)
      st->bind(static_cast<int>(i) + 1, Value::integer(binds[i]));
    const int64_t processed = st->execute();
    if (rows) {
      while (st->fetch())
        rows->push_back(st->intValue(0));
    }
    return processed;
  }

  int64_t queryOne(const std::string& sql, const std::vector<int64_t>& binds = {}) {
    std::vector<int64_t> rows;
    run(sql, binds, {}, false, &rows);
    return rows.empty() ? -1 : rows[0];
  }

  // The first change of a transaction passes the writer gate; the flag
  // tells readers of other sessions that uncommitted data exists here.
  void ensureWriting() {
    if (state_.flagged) return;
    run("UPDATE FLAGS SET DIRTY = 1 WHERE SID = :1", {id_}, {}, true);
    state_.flagged = true;
  }

  void readCheck() {
    ++counts_.reads;
    if (state_.flagged) {
      expect(queryOne("SELECT SUM(BALANCE) FROM ACCOUNTS") == kTotal, "own total");
      expect(queryOne("SELECT COUNT(*) FROM FLAGS WHERE DIRTY <> 0 AND SID <> :1", {id_}) == 0,
             "another session's uncommitted flag seen inside a transaction");
    } else {
      expect(queryOne("SELECT SUM(BALANCE) FROM ACCOUNTS") == kTotal,
             "a total other than the committed one seen");
      expect(queryOne("SELECT COUNT(*) FROM FLAGS WHERE DIRTY <> 0") == 0,
             "another session's uncommitted flag seen");
    }
  }

  void transfer() {
    const int64_t from = pickAccount(), to = pickAccount(), x = amount();
    if (from == to) return;
    ensureWriting();
    setSavepoint("OP");
    try {
      const bool done =
          run("UPDATE ACCOUNTS SET BALANCE = BALANCE - :1 WHERE ID = :2", {x, from}, {from},
              true) == 1 &&
          run("UPDATE ACCOUNTS SET BALANCE = BALANCE + :1 WHERE ID = :2", {x, to}, {to}, true) ==
              1;
      if (!done) {
        rollbackTo("OP");
        return;
      }
    } catch (const OraError& e) {
      if (e.code() != 2290) throw;  // the balance would go below zero
      rollbackTo("OP");
      return;
    }
    state_.deltas[from] -= x;
    state_.deltas[to] += x;
    ++counts_.transfers;
  }

  void openAccount() {
    const int64_t from = pickAccount(), x = amount(), id = nextAccount_++;
    ensureWriting();
    setSavepoint("OP");
    try {
      if (run("UPDATE ACCOUNTS SET BALANCE = BALANCE - :1 WHERE ID = :2", {x, from}, {from},
              true) != 1) {
        rollbackTo("OP");
        return;
      }
    } catch (const OraError& e) {
      if (e.code() != 2290) throw;
      rollbackTo("OP");
      return;
    }
    run("INSERT INTO ACCOUNTS (ID, BALANCE) VALUES (:1, :2)", {id, x}, {}, true);
    state_.deltas[from] -= x;
    state_.deltas[id] += x;
    state_.opened.insert(id);
    {
      std::lock_guard lock(model_.mutex);
      model_.known.push_back(id);
    }
    ++counts_.opened;
  }

  void closeAccount() {
    const int64_t closing = pickAccount(), into = pickAccount();
    if (closing == into) return;
    ensureWriting();
    setSavepoint("OP");
    std::vector<int64_t> balance;
    run("SELECT BALANCE FROM ACCOUNTS WHERE ID = :1 FOR UPDATE", {closing}, {closing}, false,
        &balance);
    if (balance.empty() ||
        run("UPDATE ACCOUNTS SET BALANCE = BALANCE + :1 WHERE ID = :2", {balance[0], into}, {into},
            true) != 1) {
      rollbackTo("OP");
      return;
    }
    expect(run("DELETE FROM ACCOUNTS WHERE ID = :1", {closing}, {closing}, true) == 1,
           "a locked account vanished");
    state_.deltas[closing] -= balance[0];
    state_.deltas[into] += balance[0];
    state_.closed.insert(closing);
    ++counts_.closed;
  }

  void lockRows() {
    const int64_t a = pickAccount(), b = pickAccount();
    const int mode = std::uniform_int_distribution<int>(0, 9)(random_);
    const char* wait = mode < 4 ? " NOWAIT" : mode < 8 ? "" : " WAIT 1";
    std::vector<int64_t> rows;
    run(std::string("SELECT BALANCE FROM ACCOUNTS WHERE ID IN (:1, :2) FOR UPDATE") + wait, {a, b},
        {a, b}, false, &rows);
    ++counts_.lockQueries;
  }

  void setSavepoint(const std::string& name) {
    session_->savepoint(name);
    std::erase_if(savepoints_, [&](const auto& s) { return s.first == name; });
    savepoints_.emplace_back(name, state_);
  }

  void rollbackTo(const std::string& name) {
    session_->rollbackToSavepoint(name);
    while (savepoints_.back().first != name)
      savepoints_.pop_back();
    state_ = savepoints_.back().second;
  }

  void userRollbackToSavepoint() {
    for (auto it = savepoints_.rbegin(); it != savepoints_.rend(); ++it) {
      if (it->first != "OP") {
        rollbackTo(it->first);
        ++counts_.rollbacksToSavepoint;
        return;
      }
    }
  }

  void commit() {
    if (state_.flagged) run("UPDATE FLAGS SET DIRTY = 0 WHERE SID = :1", {id_}, {}, true);
    current_ = "COMMIT";
    session_->commit();
    {
      std::lock_guard lock(model_.mutex);
      for (const auto& [account, delta] : state_.deltas)
        model_.balances[account] += delta;
      for (int64_t account : state_.closed)
        model_.balances.erase(account);
    }
    ++counts_.commits;
    endTransaction();
  }

  void rollback() {
    session_->rollback();
    ++counts_.rollbacks;
    endTransaction();
  }

  void endTransaction() {
    const uint64_t end = tick();
    for (const auto& [resource, start] : open_)
      holds_.push_back(Hold{resource, start, end});
    open_.clear();
    savepoints_.clear();
    state_ = Snapshot();
  }

  void expect(bool condition, const std::string& what) {
    if (!condition) fail(what);
  }
  void fail(const std::string& what) {
    if (!failed_) failure_ = "session " + std::to_string(id_) + ": " + what;
    failed_ = true;
  }

  const int64_t id_;
  Model& model_;
  std::mt19937 random_;
  std::unique_ptr<Session> session_;
  int64_t nextAccount_;
  Snapshot state_;
  std::vector<std::pair<std::string, Snapshot>> savepoints_;
  std::map<int64_t, uint64_t> open_;  // locks held or being taken: since when
  std::vector<Hold> holds_;
  std::vector<Conflict> conflicts_;
  std::string current_;
  std::set<int64_t> candidates_;
  uint64_t attemptStart_ = 0;
  Counts counts_;
  bool failed_ = false;
  std::string failure_;
};

class ConcurrencyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("vorn-concurrency-test-" + std::to_string(static_cast<long long>(::getpid())));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    database_ = Database::create((folder_ / "accounts.db").string());
    auto system = database_->logon("system", "manager");
    system->execute("CREATE USER SCOTT IDENTIFIED BY TIGER");
    auto scott = database_->logon("scott", "tiger");
    scott->execute(
        "CREATE TABLE ACCOUNTS (ID NUMBER PRIMARY KEY, BALANCE NUMBER NOT NULL CHECK (BALANCE >= "
        "0))");
    scott->execute("CREATE TABLE FLAGS (SID NUMBER PRIMARY KEY, DIRTY NUMBER NOT NULL)");
    for (int i = 1; i <= kAccounts; ++i) {
      scott->execute("INSERT INTO ACCOUNTS VALUES (" + std::to_string(i) + ", " +
                     std::to_string(kOpening) + ")");
      model_.balances[i] = kOpening;
      model_.known.push_back(i);
    }
    for (int i = 0; i < kSessions; ++i)
      scott->execute("INSERT INTO FLAGS VALUES (" + std::to_string(i) + ", 0)");
    scott->commit();
  }
  void TearDown() override {
    database_.reset();
    fs::remove_all(folder_);
  }

  fs::path folder_;
  std::shared_ptr<Database> database_;
  Model model_;
};

// Whether another session's hold on one of the conflict's resources
// overlapped the failing statement.
bool wasRealConflict(const Conflict& c, size_t self, const std::vector<std::unique_ptr<Worker>>& all) {
  for (size_t other = 0; other < all.size(); ++other) {
    if (other == self) continue;
    for (const Hold& h : all[other]->holds()) {
      if (c.resources.count(h.resource) && h.start < c.end && h.end > c.start) return true;
    }
  }
  return false;
}

TEST_F(ConcurrencyTest, SessionsKeepTheTotalSeeOnlyCommittedDataAndFailOnlyOnRealConflicts) {
  std::vector<std::unique_ptr<Worker>> workers;
  for (int i = 0; i < kSessions; ++i)
    workers.push_back(std::make_unique<Worker>(i, *database_, model_));
  {
    std::vector<std::thread> threads;
    for (auto& w : workers)
      threads.emplace_back([&w] { w->run(); });
    for (auto& t : threads)
      t.join();
  }

  Counts total;
  for (size_t i = 0; i < workers.size(); ++i) {
    const Worker& w = *workers[i];
    EXPECT_EQ(w.failure(), "");
    for (const Conflict& c : w.conflicts()) {
      EXPECT_TRUE(wasRealConflict(c, i, workers))
          << "session " << i << ": ORA-" << c.code << " with nobody in the way: " << c.statement;
    }
    const Counts& c = w.counts();
    total.operations += c.operations;
    total.commits += c.commits;
    total.rollbacks += c.rollbacks;
    total.savepoints += c.savepoints;
    total.rollbacksToSavepoint += c.rollbacksToSavepoint;
    total.transfers += c.transfers;
    total.opened += c.opened;
    total.closed += c.closed;
    total.lockQueries += c.lockQueries;
    total.reads += c.reads;
    total.conflicts += c.conflicts;
  }
  workers.clear();

  auto scott = database_->logon("scott", "tiger");
  std::map<int64_t, int64_t> stored;
  {
    auto st = scott->prepare("SELECT ID, BALANCE FROM ACCOUNTS");
    st->execute();
    while (st->fetch())
      stored[st->intValue(0)] = st->intValue(1);
  }
  EXPECT_EQ(stored, model_.balances);
  int64_t sum = 0;
  for (const auto& [id, balance] : stored)
    sum += balance;
  EXPECT_EQ(sum, kTotal);

  std::printf(
      "%d operations: %d transfers, %d accounts opened, %d closed, %d lock queries, %d reads, "
      "%d savepoints, %d rollbacks to one, %d commits, %d rollbacks, %d lock conflicts\n",
      total.operations, total.transfers, total.opened, total.closed, total.lockQueries,
      total.reads, total.savepoints, total.rollbacksToSavepoint, total.commits, total.rollbacks,
      total.conflicts);
  EXPECT_EQ(total.operations, kSessions * kOperationsPerSession);
  EXPECT_GT(total.commits, 0);
}

}  // namespace
}  // namespace vorn::server::test
