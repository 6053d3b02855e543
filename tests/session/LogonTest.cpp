// Logging on and off: the call set chosen, the logon values, credentials,
// password states, the events and the wait cursor, the switch to version 7
// calls for a release-7 server.
#include <gtest/gtest.h>

#include <algorithm>

#include "SessionTestSupport.h"
#include "vorn/client/ClientLibrary.h"
#include "vorn/host/TextUtils.h"
#include "vorn/platform/Environment.h"
#include "vorn/session/OracleError.h"
#include "vorn/session/SessionPreferences.h"

namespace vorn::session_test {
namespace {

// The events of a session, in the order they fired.
struct EventLog {
  std::vector<std::string> events;

  void Watch(TOracleSession& session) {
    session.SetBeforeLogOn([this](TOracleSession* sender) { Add("BeforeLogOn", sender); });
    session.SetAfterLogOn([this](TOracleSession* sender) { Add("AfterLogOn", sender); });
    session.SetOnChange([this](TOracleSession* sender) { Add("OnChange", sender); });
  }
  void Add(const std::string& name, TOracleSession* sender) {
    events.push_back(name + (sender->Connected() ? "+" : "-"));
  }
};

std::string User(TOracleSession& session) {
  return Rows(session, "select user from dual").at(0);
}

// Raises the error of a logon, or fails the test when it connects.
EOracleError LogOnError(TOracleSession& session) {
  try {
    session.LogOn();
  } catch (const EOracleError& error) {
    return error;
  }
  ADD_FAILURE() << "logged on";
  return EOracleError("", 0);
}

// Runs in both call sets.
class LogonTest : public CallSetTest {};
VORN_IN_BOTH_CALL_SETS(LogonTest);

// The version 8 path, its handles and the switch to version 7 calls.
class Version8LogonTest : public SessionTest {};

TEST_P(LogonTest, LogsOnAndOff) {
  auto session = NewSession();
  EventLog log;
  log.Watch(*session);

  session->LogOn();

  EXPECT_TRUE(session->Connected());
  EXPECT_EQ(session->UsesOCI8(), !UsesOCI7());
  EXPECT_FALSE(session->ConvertedToOCI7());
  EXPECT_EQ(User(*session), "SCOTT");
  EXPECT_EQ(session->LogonWarning(), "");
  EXPECT_EQ(log.events, (std::vector<std::string>{"BeforeLogOn-", "AfterLogOn+", "OnChange+"}));

  session->LogOff();

  EXPECT_FALSE(session->Connected());
  EXPECT_EQ(log.events.back(), "OnChange-");
  EXPECT_EQ(log.events.size(), 4u);
}

TEST_F(Version8LogonTest, HandlesLiveFromLogonToLogoff) {
  auto session = NewSession();

  session->LogOn();

  EXPECT_TRUE(session->UsesOCI8());
  EXPECT_NE(session->EnvironmentHandle(), nullptr);
  EXPECT_NE(session->ServiceContextHandle(), nullptr);
  EXPECT_NE(session->MainErrorHandle(), nullptr);
  EXPECT_NE(session->ServerHandle(), nullptr);
  EXPECT_NE(session->UserSessionHandle(), nullptr);

  session->LogOff();

  EXPECT_EQ(session->EnvironmentHandle(), nullptr);
  EXPECT_EQ(session->ServiceContextHandle(), nullptr);
  EXPECT_EQ(session->MainErrorHandle(), nullptr);
}

TEST_F(Version8LogonTest, UseOCI7TakesTheVersion7Calls) {
  auto session = NewSession();
  session->Preferences()->SetUseOCI7(true);

  session->LogOn();

  EXPECT_FALSE(session->UsesOCI8());
  EXPECT_EQ(session->EnvironmentHandle(), nullptr);
  EXPECT_EQ(session->LogonDataArea()->chk, 202) << "a logged-on logon data area";
  EXPECT_EQ(User(*session), "SCOTT");
}

TEST_P(LogonTest, SettingConnectedTwiceLogsOnOnceAndOffOnce) {
  auto session = NewSession();
  EventLog log;
  log.Watch(*session);

  session->SetConnected(true);
  session->SetConnected(true);
  ASSERT_EQ(log.events.size(), 3u);
  session->SetConnected(false);
  session->SetConnected(false);

  EXPECT_EQ(log.events,
            (std::vector<std::string>{"BeforeLogOn-", "AfterLogOn+", "OnChange+", "OnChange-"}));
}

TEST_P(LogonTest, LogOnWhileConnectedStartsANewConnection) {
  auto session = NewSession();
  session->LogOn();
  ASSERT_EQ(User(*session), "SCOTT");

  session->SetLogonUsername("system");
  session->SetLogonPassword("manager");
  session->LogOn();

  EXPECT_TRUE(session->Connected());
  EXPECT_EQ(User(*session), "SYSTEM");
}

TEST_P(LogonTest, UserNameTypedWithPasswordAndDatabaseFillsAllThree) {
  auto session = NewSession("scott/tiger@" + Database(), "");
  session->SetLogonDatabase("");

  session->LogOn();

  EXPECT_EQ(session->LogonUsername(), "scott");
  EXPECT_EQ(session->LogonPassword(), "tiger");
  EXPECT_EQ(session->LogonDatabase(), Database());
  EXPECT_EQ(User(*session), "SCOTT");
}

TEST_P(LogonTest, UserNameWithPasswordKeepsTheDatabaseProperty) {
  auto session = NewSession("scott/tiger", "");

  session->LogOn();

  EXPECT_EQ(session->LogonUsername(), "scott");
  EXPECT_EQ(session->LogonPassword(), "tiger");
  EXPECT_EQ(session->LogonDatabase(), Database());
}

TEST_P(LogonTest, SeparateLogonValuesStayAsTheyAre) {
  auto session = NewSession("scott", "tiger");

  session->LogOn();

  EXPECT_EQ(session->LogonUsername(), "scott");
  EXPECT_EQ(session->LogonPassword(), "tiger");
  EXPECT_EQ(session->LogonDatabase(), Database());
}

TEST_P(LogonTest, NormalisationHappensAlsoWhenTheLogonFails) {
  auto session = NewSession("scott/wrong@" + Database(), "");
  session->SetLogonDatabase("");

  EXPECT_EQ(LogOnError(*session).ErrorCode(), 1017);

  EXPECT_EQ(session->LogonUsername(), "scott");
  EXPECT_EQ(session->LogonPassword(), "wrong");
  EXPECT_EQ(session->LogonDatabase(), Database());
}

TEST_P(LogonTest, EmptyUserAndPasswordLogOnWithExternalCredentials) {
  // The database is a file path: its slashes must not be taken for the one
  // between user name and password.
  auto session = NewSession("", "");

  session->LogOn();

  EXPECT_EQ(session->LogonUsername(), "");
  EXPECT_EQ(session->LogonPassword(), "");
  EXPECT_EQ(session->LogonDatabase(), Database());
  EXPECT_EQ(User(*session), "OPS$" + UpperCase(OsUser()));
}

TEST_P(LogonTest, WrongPasswordRaisesAndStillFiresTheEvents) {
  auto session = NewSession("scott", "lion");
  EventLog log;
  log.Watch(*session);

  const EOracleError error = LogOnError(*session);

  EXPECT_EQ(error.ErrorCode(), 1017);
  EXPECT_EQ(error.Message().rfind("ORA-01017: invalid username/password; logon denied", 0), 0u)
      << error.Message();
  EXPECT_FALSE(session->Connected());
  EXPECT_EQ(log.events, (std::vector<std::string>{"BeforeLogOn-", "AfterLogOn-", "OnChange-"}));
}

TEST_P(LogonTest, FailedLogonLeavesTheSessionReadyForTheNextOne) {
  auto session = NewSession("scott", "lion");
  EXPECT_EQ(LogOnError(*session).ErrorCode(), 1017);

  session->SetLogonPassword("tiger");
  session->LogOn();

  EXPECT_EQ(User(*session), "SCOTT");
}

TEST_P(LogonTest, PasswordInItsGracePeriodConnectsWithAWarning) {
  auto session = NewSession("grace_user", "pw");

  session->LogOn();

  EXPECT_TRUE(session->Connected());
  EXPECT_EQ(session->LogonWarning().rfind("ORA-28002: the password will expire within 5 days", 0),
            0u)
      << session->LogonWarning();
  EXPECT_EQ(session->LastStatus(), 0);
  EXPECT_EQ(session->ErrorCode(), 0);
  EXPECT_EQ(User(*session), "GRACE_USER");
}

TEST_P(LogonTest, TheWarningGoesWithTheNextLogon) {
  auto session = NewSession("grace_user", "pw");
  session->LogOn();
  ASSERT_NE(session->LogonWarning(), "");

  session->SetLogonUsername("scott");
  session->SetLogonPassword("tiger");
  session->LogOn();

  EXPECT_EQ(session->LogonWarning(), "");
}

TEST_P(LogonTest, ExpiredPasswordRaises28001) {
  auto session = NewSession("expired_user", "pw");

  const EOracleError error = LogOnError(*session);

  EXPECT_EQ(error.ErrorCode(), 28001);
  EXPECT_NE(error.Message().find("ORA-28001"), std::string::npos) << error.Message();
  EXPECT_FALSE(session->Connected());
  EXPECT_EQ(session->LogonWarning(), "");
}

TEST_P(LogonTest, LockedAccountRaises28000) {
  auto session = NewSession("locked_user", "pw");

  EXPECT_EQ(LogOnError(*session).ErrorCode(), 28000);
  EXPECT_FALSE(session->Connected());
}

TEST_P(LogonTest, UnknownDatabaseRaises12154) {
  auto session = NewSession();
  session->SetLogonDatabase("NO_SUCH_ALIAS");

  EXPECT_EQ(LogOnError(*session).ErrorCode(), 12154);
  EXPECT_FALSE(session->Connected());
}

TEST_F(Version8LogonTest, MissingClientLibraryRaisesTheLoadFailureAndFiresTheEvents) {
  platform::WriteEnvironmentVariable("VORN_MACHINE_REGISTRY", Database() + ".no-registry.ini");
  auto session = NewSession();
  EventLog log;
  log.Watch(*session);

  try {
    session->LogOn();
    FAIL() << "logged on without a client library";
  } catch (const EOracleError&) {
    FAIL() << "a load failure is no database error";
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message().rfind("Initialization error\r\nSQL*Net not properly installed", 0),
              0u)
        << error.Message();
  }
  EXPECT_FALSE(session->Connected());
  EXPECT_EQ(log.events, (std::vector<std::string>{"BeforeLogOn-", "AfterLogOn-", "OnChange-"}));
}

TEST_F(Version8LogonTest, TheWaitCursorIsShownAndRestored) {
  auto session = NewSession();

  session->LogOn();
  session->LogOff();

  const std::vector<TCursor> cursors = ui_.Cursors();
  ASSERT_FALSE(cursors.empty());
  EXPECT_EQ(cursors.front(), crHourGlass);
  EXPECT_EQ(cursors.back(), crDefault);
  EXPECT_EQ(std::count(cursors.begin(), cursors.end(), crHourGlass),
            std::count(cursors.begin(), cursors.end(), crDefault));
}

TEST_F(Version8LogonTest, CursorOfTheSessionIsTheOneShown) {
  auto session = NewSession();
  session->SetCursor(crSQLWait);
  session->LogOn();
  EXPECT_EQ(ui_.Cursors().front(), crSQLWait);

  ui_.Clear();
  session->SetCursor(crDefault);
  session->LogOff();
  EXPECT_TRUE(ui_.Cursors().empty());
}

TEST_P(LogonTest, TheCursorIsRestoredWhenTheLogonFails) {
  auto session = NewSession("scott", "lion");

  EXPECT_EQ(LogOnError(*session).ErrorCode(), 1017);

  ASSERT_FALSE(ui_.Cursors().empty());
  EXPECT_EQ(ui_.Cursors().back(), crDefault);
}

// Servers after release 8 (and release 8 itself) keep the version 8 calls.
TEST_F(Version8LogonTest, LaterServersKeepTheVersion8Calls) {
  for (const char* banner : {"Oracle8 Enterprise Edition Release 8.0.5.0.0 - Production",
                             "Oracle9i Enterprise Edition Release 9.2.0.1.0 - Production",
                             "Oracle Database 19c Enterprise Edition Release 19.0.0.0.0"}) {
    SetBanner(banner);
    auto session = NewSession();
    session->LogOn();
    EXPECT_TRUE(session->UsesOCI8()) << banner;
    EXPECT_FALSE(session->ConvertedToOCI7()) << banner;
    EXPECT_EQ(User(*session), "SCOTT");
  }
}

TEST_F(Version8LogonTest, ARelease7ServerIsDrivenThroughVersion7Calls) {
  for (const char* banner : {"Oracle7 Server Release 7.3.4.0.0 - Production",
                             "Personal Oracle Release 7.2.2.4.1 - Production"}) {
    SetBanner(banner);
    auto session = NewSession();

    session->LogOn();

    EXPECT_FALSE(session->UsesOCI8()) << banner;
    EXPECT_TRUE(session->ConvertedToOCI7()) << banner;
    EXPECT_EQ(session->LogonDataArea()->chk, 202) << "a logged-on logon data area";
    // Statements and transactions go through the converted area.
    RunSql(*session, "insert into probe (id) values (7)");
    session->Commit();
    EXPECT_EQ(Rows(*Observer(), "select id from probe"), std::vector<std::string>{"7"});
    RunSql(*session, "delete from probe");
    session->Commit();

    session->LogOff();

    // Converted back: the version 8 session was ended, its handles freed.
    EXPECT_TRUE(session->UsesOCI8());
    EXPECT_FALSE(session->ConvertedToOCI7());
    EXPECT_EQ(session->EnvironmentHandle(), nullptr);
  }
}

TEST_F(Version8LogonTest, ASessionOfARelease7ServerLogsOnAgain) {
  SetBanner("Oracle7 Server Release 7.3.4.0.0 - Production");
  auto session = NewSession();
  session->LogOn();
  ASSERT_TRUE(session->ConvertedToOCI7());

  session->LogOn();

  EXPECT_TRUE(session->ConvertedToOCI7());
  EXPECT_EQ(User(*session), "SCOTT");
}

TEST_F(Version8LogonTest, AWarningAtLogonSkipsTheServerVersionCheck) {
  SetBanner("Oracle7 Server Release 7.3.4.0.0 - Production");
  auto session = NewSession("grace_user", "pw");

  session->LogOn();

  EXPECT_NE(session->LogonWarning(), "");
  EXPECT_TRUE(session->UsesOCI8());
  EXPECT_FALSE(session->ConvertedToOCI7());
}

}  // namespace
}  // namespace vorn::session_test
