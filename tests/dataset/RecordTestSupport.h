// What the tests of record modification share: the client library that
// traces the statements, commits and rollbacks a session sends (the query
// tests' shim, tests/query/shim/CallCounter.c), loaded before the fixture's
// session logs on; a second session, as another user of the database; and
// the test table ITEMS.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "CallLog.h"
#include "DataSetTestSupport.h"

namespace vorn::dataset_test {

// The trace of the shim (query_test::CallLog) for the life of the object,
// as the record tests read it.
class StatementTrace : public query_test::CallLog {
 public:
  // Statements as they were executed (one entry each, lines joined by line
  // feeds) and "COMMIT" and "ROLLBACK" for the session calls.
  std::vector<std::string> Entries() const { return Trace(); }
  // How many times a statement beginning with `prefix` was prepared or
  // parsed.
  int Parses(const std::string& prefix) const;
};

class RecordTest : public DataSetTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Table ITEMS (ID NUMBER(4) PRIMARY KEY, NAME VARCHAR2(20), QTY
  // NUMBER(6), PRICE NUMBER(8,2), MADE DATE), rows 1 "bolt" 10 0.25,
  // 2 "nut" 20 0.1, 3 "washer" 30 0.05 (MADE null), committed.
  void MakeItems();
  // An open dataset over ITEMS with its rowid, ordered by ID.
  std::unique_ptr<ProbeDataSet> OpenItems(const std::string& columns = "rowid, i.*");
  // The rows of `sql` as the other user sees them (committed data only),
  // columns joined by "|".
  std::vector<std::string> Committed(const std::string& sql);
  // Runs a statement as the other user (not committed).
  void RunOther(const std::string& sql);
  void CommitOther();
  // The trace since the last Clear.
  std::vector<std::string> Traced() const;

  std::unique_ptr<StatementTrace> trace_;
  // The other user of the database, logged on as scott.
  std::unique_ptr<TOracleSession> other_;
};

}  // namespace vorn::dataset_test
