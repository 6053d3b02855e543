// Transactions: commit and rollback as a second session sees them,
// rollback before logoff, savepoints, and the obsolete auto-commit switch.
#include <gtest/gtest.h>

#include <algorithm>

#include "SessionTestSupport.h"
#include "vorn/client/ClientLibrary.h"
#include "vorn/host/Exceptions.h"
#include "vorn/platform/DynamicLibrary.h"
#include "vorn/session/OracleError.h"

namespace vorn::session_test {
namespace {

// The client library that fails rollbacks on request (shim/RollbackFailure.c),
// and its switch.
class RollbackFailure {
 public:
  RollbackFailure() : library_(platform::LoadDynamicLibrary(VORN_ROLLBACK_FAILURE_LIBRARY)) {
    EXPECT_NE(library_, nullptr) << platform::LastLibraryError();
  }
  ~RollbackFailure() { platform::FreeDynamicLibrary(library_); }
  RollbackFailure(const RollbackFailure&) = delete;
  RollbackFailure& operator=(const RollbackFailure&) = delete;

  void Fail(bool fail) const {
    reinterpret_cast<void (*)(int)>(Symbol("vorn_shim_fail_rollbacks"))(fail ? 1 : 0);
  }
  int Failed() const { return reinterpret_cast<int (*)()>(Symbol("vorn_shim_failed_rollbacks"))(); }

 private:
  platform::LibrarySymbol Symbol(const char* name) const {
    platform::LibrarySymbol symbol = platform::ResolveLibrarySymbol(library_, name);
    if (symbol == nullptr) throw Exception(std::string("no ") + name);
    return symbol;
  }
  platform::LibraryHandle library_;
};

void Insert(TOracleSession& session, int id) {
  RunSql(session, "insert into probe (id, note) values (" + std::to_string(id) + ", 'row')");
}

class TransactionTest : public CallSetTest {};

VORN_IN_BOTH_CALL_SETS(TransactionTest);

// The obsolete auto-commit switch.
class AutoCommitTest : public SessionTest {};

TEST_P(TransactionTest, CommitIsSeenFromASecondSession) {
  auto session = NewSession();
  session->LogOn();
  auto observer = Observer();

  Insert(*session, 1);
  EXPECT_EQ(ProbeRows(*session), 1);
  EXPECT_EQ(ProbeRows(*observer), 0);

  session->Commit();

  EXPECT_EQ(ProbeRows(*observer), 1);
}

TEST_P(TransactionTest, RollbackUndoesWhatWasNotCommitted) {
  auto session = NewSession();
  session->LogOn();
  Insert(*session, 1);
  session->Commit();
  Insert(*session, 2);

  session->Rollback();

  EXPECT_EQ(ProbeRows(*session), 1);
  EXPECT_EQ(ProbeRows(*Observer()), 1);
}

TEST_P(TransactionTest, CommitAndRollbackDoNothingWhenDisconnected) {
  auto session = NewSession();

  session->Commit();
  session->Rollback();

  EXPECT_FALSE(session->Connected());
  EXPECT_EQ(session->LastStatus(), 0);
}

TEST_P(TransactionTest, LogOffEndsTheTransactionAsTheServerDoes) {
  // Ending a user session commits, so without RollbackOnDisconnect the row
  // stays.
  auto session = NewSession();
  session->LogOn();
  Insert(*session, 1);

  session->LogOff();

  EXPECT_EQ(ProbeRows(*Observer()), 1);
}

TEST_P(TransactionTest, RollbackOnDisconnectRollsBackBeforeLoggingOff) {
  auto session = NewSession();
  session->SetRollbackOnDisconnect(true);
  session->LogOn();
  Insert(*session, 1);

  session->LogOff();

  EXPECT_FALSE(session->Connected());
  EXPECT_EQ(ProbeRows(*Observer()), 0);
}

TEST_P(TransactionTest, AFailingRollbackDoesNotPreventTheLogoff) {
  client::SetClientLibraryPath(VORN_ROLLBACK_FAILURE_LIBRARY);
  const RollbackFailure library;
  auto session = NewSession();
  session->SetRollbackOnDisconnect(true);
  session->LogOn();
  ASSERT_EQ(client::ClientLibraryPath(), VORN_ROLLBACK_FAILURE_LIBRARY);
  Insert(*session, 1);
  library.Fail(true);
  // The rollback really fails: on its own it raises.
  try {
    session->Rollback();
    FAIL() << "the rollback did not fail";
  } catch (const EOracleError& error) {
    EXPECT_EQ(error.ErrorCode(), 1012);
  }
  int changes = 0;
  session->SetOnChange([&changes](TOracleSession*) { ++changes; });

  session->LogOff();

  EXPECT_EQ(library.Failed(), 2);
  EXPECT_FALSE(session->Connected());
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(session->EnvironmentHandle(), nullptr);
  library.Fail(false);
  session->LogOn();
  EXPECT_TRUE(session->Connected());
}

TEST_P(TransactionTest, SavepointsUndoPartOfATransaction) {
  ScopedTestQueries queries;
  auto session = NewSession();
  session->LogOn();
  Insert(*session, 1);
  session->Savepoint("before_second");
  Insert(*session, 2);

  session->RollbackToSavepoint("before_second");
  session->Commit();

  EXPECT_EQ(Rows(*Observer(), "select id from probe"), std::vector<std::string>{"1"});
  const std::vector<std::string>& log = TestQuery::Log();
  EXPECT_NE(std::find(log.begin(), log.end(), "SAVEPOINT before_second"), log.end());
  EXPECT_NE(std::find(log.begin(), log.end(), "ROLLBACK TO SAVEPOINT before_second"), log.end());
}

TEST_P(TransactionTest, RollbackToAnUnknownSavepointRaisesTheServersError) {
  ScopedTestQueries queries;
  auto session = NewSession();
  session->LogOn();

  try {
    session->RollbackToSavepoint("never_set");
    FAIL() << "no error";
  } catch (const EOracleError& error) {
    EXPECT_EQ(error.ErrorCode(), 1086);
  }
}

TEST_P(TransactionTest, SavepointsNeedAQueryEngine) {
  ScopedQueryFactory none(nullptr);
  auto session = NewSession();
  session->LogOn();

  try {
    session->Savepoint("a");
    FAIL() << "no error";
  } catch (const EOracleError&) {
    FAIL() << "no statement can have run";
  } catch (const Exception& error) {
    EXPECT_NE(error.Message().find("no query engine"), std::string::npos) << error.Message();
  }
}

TEST_F(AutoCommitTest, AutoCommitSendsNothingWithVersion8Calls) {
  auto session = NewSession();
  session->LogOn();
  ASSERT_TRUE(session->UsesOCI8());

  session->SetAutoCommit(true);
  Insert(*session, 1);

  EXPECT_TRUE(session->AutoCommit());
  EXPECT_EQ(ProbeRows(*Observer()), 0);
}

TEST_F(AutoCommitTest, AutoCommitInTheDesignerOnlyWarns) {
  auto session = NewSession();
  session->SetDesigning(true);

  session->SetAutoCommit(true);

  EXPECT_FALSE(session->AutoCommit());
  ASSERT_EQ(ui_.Texts().size(), 1u);
  EXPECT_EQ(ui_.Texts()[0],
            "Warning: the TOracleSession.AutoCommit property is obsolete.\r\n"
            "It still can be set at run-time for backward compatibility,\r\n"
            "but in the next release this property will be removed.");
}

TEST_F(AutoCommitTest, AutoCommitCanBeSwitchedOffInTheDesigner) {
  auto session = NewSession();
  session->SetAutoCommit(true);
  session->SetDesigning(true);

  session->SetAutoCommit(false);

  EXPECT_FALSE(session->AutoCommit());
  EXPECT_TRUE(ui_.Texts().empty());
}

TEST_F(AutoCommitTest, Version7AutoCommitCommitsEveryStatement) {
  useOCI7_ = true;
  auto session = NewSession();
  session->LogOn();
  auto observer = Observer();

  session->SetAutoCommit(true);
  Insert(*session, 1);
  EXPECT_EQ(ProbeRows(*observer), 1);

  session->SetAutoCommit(false);
  Insert(*session, 2);
  EXPECT_EQ(ProbeRows(*observer), 1);
  session->Commit();
  EXPECT_EQ(ProbeRows(*observer), 2);
}

TEST_F(AutoCommitTest, Version7AutoCommitSetBeforeLogonIsSentAtLogon) {
  useOCI7_ = true;
  auto session = NewSession();
  session->SetAutoCommit(true);

  session->LogOn();
  Insert(*session, 1);

  EXPECT_TRUE(session->AutoCommit());
  EXPECT_EQ(ProbeRows(*Observer()), 1);
}

}  // namespace
}  // namespace vorn::session_test
