// The statements a session runs on its own queries, now that they are real
// ones: savepoints, the session options at once and at every logon, the
// version 7 password change, the probes; and a session and its queries
// when the client library is unloaded under them.
#include <gtest/gtest.h>

#include "QueryTestSupport.h"
#include "vorn/client/ClientLibrary.h"
#include "vorn/host/Exceptions.h"
#include "vorn/session/OracleError.h"
#include "vorn/session/SessionPreferences.h"

namespace vorn::query_test {
namespace {

class SessionOperationsTest : public QueryTest {
 protected:
  int Count(const std::string& table) {
    return std::stoi(Rows("select count(*) from " + table).at(0));
  }
};
VORN_QUERY_IN_BOTH_CALL_SETS(SessionOperationsTest);

TEST_P(SessionOperationsTest, RollingBackToASavepointKeepsWhatCameBefore) {
  Run("insert into probe (id, note) values (1, 'before')");
  session_->Savepoint("first");
  Run("insert into probe (id, note) values (2, 'after')");

  session_->RollbackToSavepoint("first");

  EXPECT_EQ(std::vector<std::string>{"1"}, Rows("select id from probe"));
  EXPECT_THROW(session_->RollbackToSavepoint("never_set"), EOracleError);
}

TEST_P(SessionOperationsTest, OptionsAreSentAtOnceAndAtEveryLogon) {
  session_->LogOff();
  CallLog log;
  session_->SetIsolationLevel(ilSerializable);
  session_->SetOptimizerGoal(ogFirstRows);
  EXPECT_TRUE(log.Statements().empty());

  session_->LogOn();
  session_->SetSQLTrace(stTrue);

  EXPECT_EQ((std::vector<std::string>{"ALTER SESSION SET OPTIMIZER_GOAL = FIRST_ROWS",
                                      "ALTER SESSION SET ISOLATION_LEVEL = SERIALIZABLE",
                                      "ALTER SESSION SET SQL_TRACE = TRUE"}),
            log.Statements());
  session_->LogOff();
}

TEST_P(SessionOperationsTest, TheProbesAskTheServer) {
  session_->SetBytesPerCharacter(bcAutoDetect);

  EXPECT_EQ(1, session_->BytesPerCharacterCount());
  EXPECT_EQ(UsesOCI7() ? 2000 : 4000, session_->MaxStringLength());
  Run("alter session set nls_date_format = 'DD-MON-RR'");
  EXPECT_EQ(9, session_->DateTextLength());
}

TEST_P(SessionOperationsTest, TheDateTextLengthFollowsTheSessionsFormat) {
  Run("alter session set nls_date_format = 'DD Month YYYY HH24:MI:SS'");
  EXPECT_EQ(static_cast<int>(std::string("10 September 1999 10:10:10").size()),
            session_->DateTextLength());
}

TEST_P(SessionOperationsTest, TheNewPasswordLogsOn) {
  auto scott = NewSession();
  scott->LogOn();
  scott->ChangePassword("lion");
  scott->LogOff();

  auto again = NewSession("scott", "lion");
  again->LogOn();
  EXPECT_TRUE(again->Connected());
  EXPECT_EQ("lion", scott->LogonPassword());
}

TEST_P(SessionOperationsTest, UnloadingTheLibraryLeavesTheSessionLoggedOffCleanly) {
  auto query = NewQuery("select ename from emp order by ename");
  query->Execute();

  client::UnloadClientLibrary();

  EXPECT_NO_THROW(session_->LogOff());
  EXPECT_FALSE(session_->Connected());
  EXPECT_TRUE(query->Eof());
  session_->LogOn();
  query->Execute();
  EXPECT_EQ("ADAMS", query->FieldAsString(0));
}

TEST_P(SessionOperationsTest, ASessionAndItsQueriesGoAfterAnUnload) {
  auto session = NewSession();
  session->LogOn();
  auto query = NewQuery("select ename from emp", session.get());
  query->Execute();
  session->Savepoint("held");

  client::UnloadClientLibrary();

  EXPECT_NO_THROW(query.reset());
  EXPECT_NO_THROW(session.reset());
}

TEST_P(SessionOperationsTest, AQueryAfterAnUnloadFindsTheSessionLoggedOff) {
  auto query = NewQuery("select ename from emp");
  query->SetReadBuffer(2);
  query->Execute();
  client::UnloadClientLibrary();

  EXPECT_EQ("Not logged on", ErrorOf([&] {
              query->Next();
              query->Next();
            }));
  EXPECT_FALSE(session_->Connected());
  EXPECT_EQ("Not logged on", ErrorOf([&] { query->Execute(); }));
}

TEST_P(SessionOperationsTest, AQueryOfAnUnloadedLibraryOpensAnewAfterTheNextLogon) {
  auto query = NewQuery("select count(*) from emp");
  query->Execute();
  client::UnloadClientLibrary();
  client::LoadClientLibrary();

  session_->LogOn();
  query->Execute();

  EXPECT_EQ(14, query->FieldAsInteger(0));
}

}  // namespace
}  // namespace vorn::query_test
