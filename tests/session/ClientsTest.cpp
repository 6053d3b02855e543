// The queries and datasets registered with a session: closed at logoff,
// detached when the session goes, and the session's own query among them.
#include <gtest/gtest.h>

#include "SessionTestSupport.h"
#include "vorn/host/Exceptions.h"

namespace vorn::session_test {
namespace {

class ClientsTest : public SessionTest {};

TEST_F(ClientsTest, LogOffClosesQueriesThenDataSetsFromTheLastRegistered) {
  auto session = NewSession();
  std::vector<std::string> log;
  RecordingQuery first(*session, "Q1", log);
  RecordingDataSet orders(*session, "Orders", log);
  RecordingQuery second(*session, "Q2", log);
  RecordingDataSet lines(*session, "Lines", log);
  session->LogOn();

  session->LogOff();

  EXPECT_EQ(log, (std::vector<std::string>{"Q2.close", "Q1.close", "Lines.close", "Orders.close"}));
}

TEST_F(ClientsTest, AFailingCloseDoesNotStopTheOthersOrTheLogoff) {
  auto session = NewSession();
  std::vector<std::string> log;
  RecordingQuery first(*session, "Q1", log);
  RecordingQuery second(*session, "Q2", log);
  RecordingDataSet orders(*session, "Orders", log);
  RecordingDataSet lines(*session, "Lines", log);
  second.failClose = true;
  lines.failClose = true;
  session->LogOn();

  session->LogOff();

  EXPECT_FALSE(session->Connected());
  EXPECT_EQ(log, (std::vector<std::string>{"Q2.close", "Q1.close", "Lines.close", "Orders.close"}));
}

TEST_F(ClientsTest, NothingIsClosedWhenTheSessionWasNotConnected) {
  auto session = NewSession();
  std::vector<std::string> log;
  RecordingQuery query(*session, "Q", log);

  session->LogOff();

  EXPECT_TRUE(log.empty());
}

TEST_F(ClientsTest, DestroyingTheSessionDetachesDataSetsThenQueries) {
  auto session = NewSession();
  std::vector<std::string> log;
  RecordingQuery first(*session, "Q1", log);
  RecordingDataSet orders(*session, "Orders", log);
  RecordingQuery second(*session, "Q2", log);
  RecordingDataSet lines(*session, "Lines", log);
  session->LogOn();

  session.reset();

  EXPECT_EQ(log,
            (std::vector<std::string>{"Q2.close", "Q1.close", "Lines.close", "Orders.close",
                                      "Lines.detach", "Orders.detach", "Q2.detach", "Q1.detach"}));
  EXPECT_EQ(first.session, nullptr);
  EXPECT_EQ(lines.session, nullptr);
}

TEST_F(ClientsTest, UnregisteringRemovesTheFirstRegistrationOnly) {
  TOracleSession session;
  std::vector<std::string> log;
  RecordingQuery query(session, "Q", log);
  RecordingQuery other(session, "R", log);
  session.RegisterQuery(&query);
  ASSERT_EQ(session.QueryCount(), 3);

  session.UnregisterQuery(&query);

  ASSERT_EQ(session.QueryCount(), 2);
  EXPECT_EQ(session.Queries(0), &other);
  EXPECT_EQ(session.Queries(1), &query);
  session.UnregisterQuery(&query);
  session.UnregisterQuery(&query);
  EXPECT_EQ(session.QueryCount(), 1);
}

TEST_F(ClientsTest, TheInternalQueryIsRegisteredAndDetachedLikeAnyQuery) {
  ScopedTestQueries queries;
  auto session = NewSession();
  session->LogOn();
  session->Savepoint("a");
  ASSERT_EQ(session->QueryCount(), 1);
  auto* internal = dynamic_cast<TestQuery*>(session->Queries(0));
  ASSERT_NE(internal, nullptr);
  EXPECT_EQ(internal->SQLText(), "SAVEPOINT a");

  // Reused for the next statement.
  session->Savepoint("b");
  EXPECT_EQ(session->QueryCount(), 1);
  EXPECT_EQ(internal->SQLText(), "SAVEPOINT b");

  session->LogOff();
  EXPECT_EQ(internal->Closes(), 1);
}

TEST_F(ClientsTest, TheProbesQueriesLeaveNoRegistrationBehind) {
  ScopedTestQueries queries;
  auto session = NewSession();
  session->SetBytesPerCharacter(bcAutoDetect);
  session->LogOn();

  session->BytesPerCharacterCount();
  session->DateTextLength();

  EXPECT_EQ(session->QueryCount(), 0);
}

TEST_F(ClientsTest, OwnedComponentsGoWithTheSession) {
  struct TProbe : TComponent {
    using TComponent::TComponent;
    ~TProbe() override { ++*destroyed; }
    int* destroyed = nullptr;
  };
  int destroyed = 0;
  auto session = NewSession();
  auto* probe = new TProbe(session.get());
  probe->destroyed = &destroyed;

  session.reset();

  EXPECT_EQ(destroyed, 1);
}

TEST_F(ClientsTest, TableInformationLivesAsLongAsTheSession) {
  struct TTableInfo : TObject {
    explicit TTableInfo(bool& gone) : gone_(gone) {}
    ~TTableInfo() override { gone_ = true; }
    bool& gone_;
  };
  bool gone = false;
  auto session = NewSession();
  session->SetTableInfoList(std::make_unique<TTableInfo>(gone));
  session->LogOn();
  session->LogOff();
  EXPECT_FALSE(gone);

  session.reset();

  EXPECT_TRUE(gone);
}

}  // namespace
}  // namespace vorn::session_test
