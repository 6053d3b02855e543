// What the query tests share: a fixture with a session logged on to the
// test's own copy of the demo database (in the call set of the test), new
// queries attached to it, and the client library that logs the statement
// calls (shim/CallCounter.c).
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "CallLog.h"
#include "SessionTestSupport.h"
#include "vorn/host/Exceptions.h"
#include "vorn/query/OracleQuery.h"

namespace vorn::query_test {

using session_test::CallSet;
using session_test::CallSetName;
using session_test::ErrorOf;

class QueryTest : public session_test::CallSetTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A query on the fixture's session (or on `session`).
  std::unique_ptr<TOracleQuery> NewQuery(const std::string& sql = "",
                                         TOracleSession* session = nullptr);
  // Runs a statement on a query of its own.
  void Run(const std::string& sql);
  // The rows of a select, each row's columns as FieldAsString joined by "|".
  std::vector<std::string> Rows(const std::string& sql);

  std::unique_ptr<TOracleSession> session_;
};

// The fixture's tests in both call sets.
#define VORN_QUERY_IN_BOTH_CALL_SETS(Suite)                                                  \
  INSTANTIATE_TEST_SUITE_P(CallSets, Suite, ::testing::Values(CallSet::OCI8, CallSet::OCI7), \
                           CallSetName)

}  // namespace vorn::query_test
