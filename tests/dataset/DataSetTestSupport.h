// What the dataset tests share: a fixture with a session logged on to the
// test's own copy of the demo database (in the call set of the test),
// datasets attached to it, and a dataset that opens its protected parts to
// the tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "SessionTestSupport.h"
#include "vorn/dataset/OracleDataSet.h"
#include "vorn/host/DataLink.h"
#include "vorn/host/DataSource.h"
#include "vorn/host/Exceptions.h"
#include "vorn/query/OracleQuery.h"

namespace vorn::dataset_test {

using session_test::CallSet;
using session_test::CallSetName;
using session_test::ErrorOf;

// The dataset with its record list, record numbers and record reading
// within reach of the tests.
class ProbeDataSet : public TOracleDataSet {
 public:
  using TOracleDataSet::FetchQuery;
  using TOracleDataSet::InternalQuery;
  using TOracleDataSet::LastRecordId;
  using TOracleDataSet::Records;
  using TOracleDataSet::SetLastRecordId;
  using TOracleDataSet::TOracleDataSet;

  // Reads with GetRecord into a buffer of the dataset's own.
  TGetResult Read(TGetMode mode, bool doCheck);
  // Copies the visible record at `from` into a new record of the list at
  // visible position `at`, with the next record number, as an insert of a
  // record would place it; returns that number.
  uint32_t InsertCopy(int from, int at);
};

class DataSetTest : public session_test::CallSetTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A closed dataset on the fixture's session (or on `session`).
  std::unique_ptr<ProbeDataSet> NewDataSet(const std::string& sql = "",
                                           TOracleSession* session = nullptr);
  // Runs a statement on a query of its own.
  void Run(const std::string& sql);
  // Table NUMBERS_T (N NUMBER(6) NOT NULL, LABEL VARCHAR2(20)) with rows
  // 1 .. count, LABEL "row <n>".
  void MakeNumbers(int count);

  // The records of an open dataset from the first, each as its fields'
  // AsString joined by "|"; leaves the dataset on the last record.
  static std::vector<std::string> Rows(TDataSet& dataSet);
  // One column's AsString from the first record to the last.
  static std::vector<std::string> Column(TDataSet& dataSet, const std::string& field);

  std::unique_ptr<TOracleSession> session_;
};

// A data link with a window of `rows` buffers, as a grid showing that many
// rows keeps.
class WindowLink : public TDataLink {
 public:
  WindowLink(TDataSet& dataSet, int rows);
  ~WindowLink() override;
  WindowLink(const WindowLink&) = delete;
  WindowLink& operator=(const WindowLink&) = delete;

  // The `field` values of the rows the window shows, top to bottom.
  std::vector<std::string> Shown(const std::string& field);

 private:
  TDataSource source_{nullptr};
};

}  // namespace vorn::dataset_test
