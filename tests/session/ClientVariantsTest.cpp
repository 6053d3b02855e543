// Sessions over other client libraries than the demo home's: a client
// with the version 7 calls only (with and without olog), and one whose
// version 7 set lacks a name.
#include <gtest/gtest.h>

#include "SessionTestSupport.h"
#include "vorn/client/ClientLibrary.h"
#include "vorn/host/Exceptions.h"
#include "vorn/session/OracleError.h"

namespace vorn::session_test {
namespace {

class ClientVariantsTest : public SessionTest {
 protected:
  void UseClient(const std::string& library) { client::SetClientLibraryPath(library); }
};

TEST_F(ClientVariantsTest, AVersion7ClientLogsOnWithVersion7Calls) {
  UseClient(VORN_VERSION7_CLIENT);
  auto session = NewSession();

  session->LogOn();

  EXPECT_FALSE(client::IsVersion8Mode());
  EXPECT_FALSE(session->UsesOCI8());
  EXPECT_EQ(session->EnvironmentHandle(), nullptr);
  RunSql(*session, "insert into probe (id) values (1)");
  session->Commit();
  EXPECT_EQ(ProbeRows(*Observer()), 1);
  EXPECT_EQ(session->MessageText(1017).rfind("ORA-01017", 0), 0u);
  try {
    session->CheckOCI8Feature("A query with objects");
    FAIL() << "no version 8 calls to use";
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(),
              "A query with objects requires Net8, which is not detected on this PC");
  }
  session->LogOff();
  EXPECT_FALSE(session->Connected());
}

TEST_F(ClientVariantsTest, WithoutOlogTheVersion7LogonUsesOrlon) {
  UseClient(VORN_VERSION7_CLIENT_WITHOUT_OLOG);
  auto session = NewSession();

  session->LogOn();

  EXPECT_FALSE(session->UsesOCI8());
  EXPECT_EQ(Rows(*session, "select user from dual"), std::vector<std::string>{"SCOTT"});
  session->SetLogonPassword("lion");
  try {
    session->LogOn();
    FAIL() << "a wrong password logged on";
  } catch (const EOracleError& error) {
    EXPECT_EQ(error.ErrorCode(), 1017);
  }
}

TEST_F(ClientVariantsTest, ARelease7ServerKeepsVersion8CallsWithoutTheWholeVersion7Set) {
  UseClient(VORN_CLIENT_WITHOUT_OEXFET);
  SetBanner("Oracle7 Server Release 7.3.4.0.0 - Production");
  auto session = NewSession();

  session->LogOn();

  ASSERT_TRUE(client::IsVersion8Mode());
  EXPECT_FALSE(client::IsVersion7SetComplete());
  EXPECT_TRUE(session->UsesOCI8());
  EXPECT_FALSE(session->ConvertedToOCI7());
  EXPECT_EQ(Rows(*session, "select user from dual"), std::vector<std::string>{"SCOTT"});
}

TEST_F(ClientVariantsTest, UseOCI7OverAnIncompleteVersion7SetStopsAtTheFirstMissingCall) {
  UseClient(VORN_CLIENT_WITHOUT_OEXFET);
  useOCI7_ = true;
  auto session = NewSession();

  // orlon comes before the missing oexfet in the set, so the logon works;
  // oexec comes after it and stays empty.
  session->LogOn();
  EXPECT_FALSE(session->UsesOCI8());
  try {
    RunSql(*session, "insert into probe (id) values (1)");
    FAIL() << "a statement ran without oexec";
  } catch (const EOracleError&) {
    FAIL() << "no database error: the call is not there";
  } catch (const Exception& error) {
    EXPECT_NE(error.Message().find("oexec is not available"), std::string::npos)
        << error.Message();
  }
  session->LogOff();
  EXPECT_FALSE(session->Connected());
}

}  // namespace
}  // namespace vorn::session_test
