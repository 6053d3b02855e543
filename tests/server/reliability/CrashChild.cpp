// The process the crash-safety test kills: it logs on to the database given
// as its first argument as SYSTEM, creates the table ROUND_<round> (DDL,
// committed on its own), then commits numbered transactions from
// <first> on until it is killed. Each transaction writes its number three
// times into LEDGER (with a sequence number as the key) and adds to the
// single row of TOTALS, so that a transaction applied in part shows.
//
// It reports on standard output, one line per event, written before the
// next step starts: "D <round>" after the DDL committed, "B <n>" just
// before COMMIT of transaction n, "C <n>" after COMMIT returned. Any ORA
// error is reported as "E <code> <message>" and ends the process with 1.
//
//   reliability_crash_child DATABASE ROUND FIRST
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/Database.h"
#include "engine/Session.h"
#include "engine/Statement.h"
#include "value/OraError.h"

namespace {

using namespace vorn::server;

constexpr int kParts = 3;

void report(const std::string& line) {
  const std::string text = line + "\n";
  // One write per line, unbuffered: the line is the test's evidence.
  if (::write(STDOUT_FILENO, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
    std::_Exit(2);
  }
}

void runTransaction(Session& session, Statement& insert, Statement& total, int64_t n) {
  int64_t sum = 0;
  for (int part = 0; part < kParts; ++part) {
    const int64_t amount = n * 10 + part;
    insert.bind(1, Value::integer(n));
    insert.bind(2, Value::integer(part));
    insert.bind(3, Value::integer(amount));
    insert.execute();
    sum += amount;
  }
  total.bind(1, Value::integer(sum));
  total.execute();
  report("B " + std::to_string(n));
  session.commit();
  report("C " + std::to_string(n));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s DATABASE ROUND FIRST\n", argv[0]);
    return 2;
  }
  const std::string round = argv[2];
  const int64_t first = std::atoll(argv[3]);
  try {
    auto database = Database::open(argv[1]);
    auto session = database->logon("system", "manager");
    session->execute("CREATE TABLE ROUND_" + round + " (N NUMBER)");
    report("D " + round);
    auto insert = session->prepare(
        "INSERT INTO LEDGER (ID, N, PART, AMOUNT) VALUES (LEDGER_ID.NEXTVAL, :1, :2, :3)");
    auto total = session->prepare("UPDATE TOTALS SET AMOUNT = AMOUNT + :1, TXNS = TXNS + 1");
    // Bounded, although the test always kills it first.
    for (int64_t n = first; n < first + 100000; ++n)
      runTransaction(*session, *insert, *total, n);
  } catch (const OraError& e) {
    report("E " + std::to_string(e.code()) + " " + e.what());
    return 1;
  }
  return 0;
}
