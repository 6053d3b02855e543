// Crash safety of the server's storage: a child process commits numbered
// transactions and is killed with SIGKILL at moments chosen by a seeded
// generator, round after round, on one database file. After every kill the
// database must open; every transaction the child reported committed must
// be there whole, one it was committing when it died whole or not at all,
// no other; the ledger and its running total must agree; and the catalog
// must hold every table the child created, each readable, with SQLite's
// own integrity check passing.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/Database.h"
#include "engine/Session.h"
#include "engine/Statement.h"

namespace vorn::server::test {
namespace {

namespace fs = std::filesystem;

constexpr int kParts = 3;  // rows per transaction, as the child writes them

// What the child reported before it died.
struct Reports {
  std::set<int64_t> committing;  // "B n": COMMIT was called
  std::set<int64_t> committed;   // "C n": COMMIT returned
  std::set<std::string> rounds;  // "D r": ROUND_r was created
  int started = 0;               // rounds started (a kill may catch its DDL)
  std::string errors;            // "E ..." lines
};

class ChildProcess {
 public:
  ChildProcess(const std::string& database, int round, int64_t first) {
    int fds[2];
    if (::pipe(fds) != 0) throw std::runtime_error("pipe");
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(fds[1], STDOUT_FILENO);
      ::close(fds[0]);
      ::close(fds[1]);
      const std::string roundText = std::to_string(round);
      const std::string firstText = std::to_string(first);
      ::execl(VORN_CRASH_CHILD, VORN_CRASH_CHILD, database.c_str(), roundText.c_str(),
              firstText.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(fds[1]);
    in_ = ::fdopen(fds[0], "r");
  }
  ~ChildProcess() {
    if (pid_ > 0) kill();
    if (in_) std::fclose(in_);
  }

  // The next line the child wrote; empty at its end.
  std::string readLine() {
    char buffer[512];
    if (!std::fgets(buffer, sizeof buffer, in_)) return {};
    std::string line(buffer);
    if (!line.empty() && line.back() == '\n') line.pop_back();
    return line;
  }

  void kill() {
    ::kill(pid_, SIGKILL);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  FILE* in_ = nullptr;
};

void record(const std::string& line, Reports& reports) {
  if (line.size() < 3) return;
  const std::string value = line.substr(2);
  switch (line[0]) {
    case 'B':
      reports.committing.insert(std::stoll(value));
      break;
    case 'C':
      reports.committed.insert(std::stoll(value));
      break;
    case 'D':
      reports.rounds.insert(value);
      break;
    default:
      reports.errors += line + "\n";
  }
}

class CrashSafetyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("vorn-crash-test-" + std::to_string(static_cast<long long>(::getpid())));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    path_ = (folder_ / "crash.db").string();
    auto database = Database::create(path_);
    auto session = database->logon("system", "manager");
    session->execute(
        "CREATE TABLE LEDGER (ID NUMBER PRIMARY KEY, N NUMBER NOT NULL, PART NUMBER, AMOUNT "
        "NUMBER)");
    session->execute("CREATE SEQUENCE LEDGER_ID");
    session->execute("CREATE TABLE TOTALS (AMOUNT NUMBER, TXNS NUMBER)");
    session->execute("INSERT INTO TOTALS VALUES (0, 0)");
    session->commit();
  }
  void TearDown() override { fs::remove_all(folder_); }

  // Runs one round: the child starts at `first` and dies when the reader
  // has seen `killAfter` lines (or the child stops by itself).
  void runRound(int round, int64_t first, int killAfter, Reports& reports) {
    ChildProcess child(path_, round, first);
    ++reports.started;
    for (int seen = 0; seen < killAfter; ++seen) {
      const std::string line = child.readLine();
      if (line.empty()) break;
      record(line, reports);
    }
    child.kill();
    // What it wrote before it died counts too.
    for (std::string line = child.readLine(); !line.empty(); line = child.readLine())
      record(line, reports);
  }

  static int64_t count(Session& session, const std::string& sql) {
    auto st = session.prepare(sql);
    st->execute();
    EXPECT_TRUE(st->fetch()) << sql;
    return st->intValue(0);
  }

  // Checks the database after a kill; returns the transactions checked.
  int64_t verify(const Reports& reports) {
    auto database = Database::open(path_);
    auto session = database->logon("system", "manager");

    std::map<int64_t, int64_t> rowsOf;
    std::map<int64_t, int64_t> amountOf;
    {
      auto st = session->prepare("SELECT N, COUNT(*), SUM(AMOUNT) FROM LEDGER GROUP BY N");
      st->execute();
      while (st->fetch()) {
        rowsOf[st->intValue(0)] = st->intValue(1);
        amountOf[st->intValue(0)] = st->intValue(2);
      }
    }
    int64_t checked = 0;
    for (int64_t n : reports.committed) {
      EXPECT_EQ(rowsOf[n], kParts) << "committed transaction " << n << " lost or cut";
      ++checked;
    }
    int64_t expectedAmount = 0;
    for (const auto& [n, rows] : rowsOf) {
      EXPECT_TRUE(reports.committing.count(n)) << "transaction " << n << " never committed";
      EXPECT_EQ(rows, kParts) << "transaction " << n << " half applied";
      EXPECT_EQ(amountOf[n], n * 10 * kParts + kParts * (kParts - 1) / 2);
      expectedAmount += amountOf[n];
    }
    EXPECT_EQ(count(*session, "SELECT AMOUNT FROM TOTALS"), expectedAmount);
    EXPECT_EQ(count(*session, "SELECT TXNS FROM TOTALS"), static_cast<int64_t>(rowsOf.size()));
    EXPECT_EQ(count(*session, "SELECT COUNT(*) FROM TOTALS"), 1);

    // The catalog: every table created is there and reads; no table of a
    // round that never started.
    for (const std::string& round : reports.rounds)
      EXPECT_EQ(count(*session, "SELECT COUNT(*) FROM ROUND_" + round), 0);
    const int64_t tables =
        count(*session, "SELECT COUNT(*) FROM USER_TABLES WHERE TABLE_NAME LIKE 'ROUND%'");
    EXPECT_GE(tables, static_cast<int64_t>(reports.rounds.size()));
    EXPECT_LE(tables, reports.started);
    EXPECT_EQ(count(*session, "SELECT COUNT(*) FROM USER_TABLES WHERE TABLE_NAME = 'LEDGER'"), 1);
    session.reset();
    database.reset();

    sqlite3* raw = nullptr;
    EXPECT_EQ(sqlite3_open_v2(path_.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* check = nullptr;
    sqlite3_prepare_v2(raw, "PRAGMA integrity_check", -1, &check, nullptr);
    EXPECT_EQ(sqlite3_step(check), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)), "ok");
    sqlite3_finalize(check);
    sqlite3_close(raw);
    return checked;
  }

  fs::path folder_;
  std::string path_;
};

TEST_F(CrashSafetyTest, KilledWritersLoseNothingCommittedAndLeaveNothingHalfDone) {
  constexpr int kRounds = 12;
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> lines(0, 40);
  Reports reports;
  int64_t checked = 0;
  for (int round = 1; round <= kRounds; ++round) {
    // 0 lines: killed while it logs on or creates its table; otherwise
    // after a "B" line (inside COMMIT) or a "C" line (between
    // transactions), as the count falls.
    runRound(round, round * int64_t{1000000}, lines(random), reports);
    ASSERT_EQ(reports.errors, "");
    checked += verify(reports);
    if (HasFailure()) break;
  }
  RecordProperty("rounds", kRounds);
  RecordProperty("transactions_checked", static_cast<int>(checked));
  std::printf("%d rounds killed, %lld committed transactions checked\n", kRounds,
              static_cast<long long>(checked));
  EXPECT_GT(checked, 0);
}

}  // namespace
}  // namespace vorn::server::test
