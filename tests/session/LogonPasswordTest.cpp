// The password flows of the logon dialog against the server's account
// states: an expired password (ORA-28001) leads to the password-change
// dialog, a password in its grace period (ORA-28002) offers it; the
// change dialog's verification, refusals and cancelling.
#include <gtest/gtest.h>

#include "ScriptedLogonForm.h"
#include "SessionTestSupport.h"
#include "vorn/client/ClientLibrary.h"
#include "vorn/host/Exceptions.h"
#include "vorn/session/OracleError.h"
#include "vorn/session/OracleLogon.h"
#include "vorn/session/SessionPreferences.h"

namespace vorn::session_test {
namespace {

class LogonPasswordTest : public SessionTest {
 protected:
  std::unique_ptr<TOracleSession> Session(const std::string& user, const std::string& password) {
    auto session = NewSession(user, password);
    logon_.SetSession(session.get());
    logon_.SetOptions(ldDatabase);
    return session;
  }

  // Whether `user` logs on with `password`, and the warning it gets.
  bool CanLogOn(const std::string& user, const std::string& password,
                std::string* warning = nullptr) {
    auto session = NewSession(user, password);
    session->Preferences()->SetUseOCI7(false);
    try {
      session->LogOn();
    } catch (const EOracleError&) {
      return false;
    }
    if (warning != nullptr) *warning = session->LogonWarning();
    return true;
  }

  std::vector<std::string> Errors() const {
    std::vector<std::string> errors;
    for (const auto& message : ui_.Messages()) {
      if (message.Box.DlgType == mtError) errors.push_back(message.Box.Text);
    }
    return errors;
  }

  ScriptedUser user_;
  TOracleLogon logon_;
};

bool StartsWith(const std::string& text, const std::string& start) {
  return text.rfind(start, 0) == 0;
}

// --- Expired passwords ---

TEST_F(LogonPasswordTest, AnExpiredPasswordOpensTheChangeDialogAndLogsOnWithTheNewOne) {
  auto session = Session("expired_user", "pw");
  user_.Answer(ScriptedUser::Confirm());
  user_.Answer(ScriptedUser::NewPassword("fresh", "fresh"));

  EXPECT_TRUE(logon_.Execute());

  EXPECT_TRUE(session->Connected());
  EXPECT_EQ(session->LogonPassword(), "fresh");
  EXPECT_TRUE(Errors().empty()) << "the expiry leads to the change, not to a message";
  ASSERT_EQ(user_.Shown().size(), 2u);
  const ShownForm& change = user_.Shown()[1];
  EXPECT_EQ(change.form, 2) << "a form of its own";
  EXPECT_EQ(change.caption, "Your password has expired");
  EXPECT_EQ(change.usernameLabel, "New password");
  EXPECT_EQ(change.passwordLabel, "Verification");
  EXPECT_EQ(change.okCaption, "OK");
  EXPECT_EQ(change.cancelCaption, "Cancel");
  EXPECT_TRUE(change.usernameMasked);
  EXPECT_TRUE(change.databaseHidden);
  EXPECT_EQ(change.username, "");
  EXPECT_EQ(change.password, "");
  EXPECT_TRUE(CanLogOn("expired_user", "fresh"));
  EXPECT_FALSE(CanLogOn("expired_user", "pw"));
}

TEST_F(LogonPasswordTest, TheVerificationIgnoresCaseAndTheSecondFieldIsTaken) {
  auto session = Session("expired_user", "pw");
  user_.Answer(ScriptedUser::Confirm());
  user_.Answer(ScriptedUser::NewPassword("one", "two"));
  user_.Answer(ScriptedUser::NewPassword("Fresh", "fRESH"));

  EXPECT_TRUE(logon_.Execute());

  EXPECT_EQ(Errors(), std::vector<std::string>{"Verification failed"});
  EXPECT_EQ(user_.Shown().size(), 3u);
  EXPECT_EQ(user_.Shown()[2].username, "one") << "the dialog keeps what was typed";
  EXPECT_EQ(session->LogonPassword(), "fRESH");
  EXPECT_TRUE(session->Connected());
}

TEST_F(LogonPasswordTest, ARefusedChangeIsShownAndTheDialogAsksAgain) {
  auto session = Session("expired_user", "pw");
  user_.Answer(ScriptedUser::Confirm());
  user_.Answer(ScriptedUser::NewPassword("", ""));
  user_.Answer(ScriptedUser::NewPassword("fresh", "fresh"));

  EXPECT_TRUE(logon_.Execute());

  ASSERT_EQ(Errors().size(), 1u);
  EXPECT_TRUE(StartsWith(Errors()[0], "ORA-00988")) << Errors()[0];
  EXPECT_TRUE(session->Connected());
  EXPECT_EQ(session->LogonPassword(), "fresh");
}

TEST_F(LogonPasswordTest, CancellingTheChangeCountsAsAFailedAttempt) {
  auto session = Session("expired_user", "pw");
  logon_.SetRetries(1);
  user_.Answer(ScriptedUser::Confirm());
  user_.Answer(ScriptedUser::Cancel());
  user_.Answer(ScriptedUser::Confirm());
  user_.Answer(ScriptedUser::Cancel());

  EXPECT_TRUE(logon_.Execute());

  EXPECT_FALSE(session->Connected());
  std::vector<std::string> captions;
  for (const ShownForm& form : user_.Shown())
    captions.push_back(form.caption);
  EXPECT_EQ(captions, (std::vector<std::string>{"Oracle Logon", "Your password has expired",
                                                "Oracle Logon", "Your password has expired"}));
  EXPECT_EQ(session->LogonPassword(), "pw");
  EXPECT_FALSE(CanLogOn("expired_user", "pw"));
}

TEST_F(LogonPasswordTest, InVersion7ModeAnExpiredPasswordIsAnErrorLikeAnyOther) {
  client::SetClientLibraryPath(VORN_VERSION7_CLIENT);
  auto session = Session("expired_user", "pw");
  logon_.SetRetries(0);
  user_.Answer(ScriptedUser::Confirm());

  EXPECT_TRUE(logon_.Execute());

  EXPECT_FALSE(client::IsVersion8Mode());
  EXPECT_EQ(user_.Shown().size(), 1u) << "no change dialog";
  ASSERT_EQ(Errors().size(), 1u);
  EXPECT_TRUE(StartsWith(Errors()[0], "ORA-28001")) << Errors()[0];
}

TEST_F(LogonPasswordTest, AVersion7SessionInVersion8ModeCannotChangeAnExpiredPassword) {
  // The version 7 calls change a password with ALTER USER, which needs the
  // connection an expired account cannot get: the dialog would be a trap.
  useOCI7_ = true;
  auto session = Session("expired_user", "pw");
  logon_.SetRetries(0);
  user_.Answer(ScriptedUser::Confirm());

  EXPECT_TRUE(logon_.Execute());

  EXPECT_TRUE(client::IsVersion8Mode());
  EXPECT_EQ(user_.Shown().size(), 1u);
  ASSERT_EQ(Errors().size(), 1u);
  EXPECT_TRUE(StartsWith(Errors()[0], "ORA-28001")) << Errors()[0];
}

// --- The grace period ---

TEST_F(LogonPasswordTest, AGracePeriodLogonAsksWhetherToChangeNow) {
  auto session = Session("grace_user", "pw");
  user_.Answer(ScriptedUser::Confirm());
  ui_.AnswerNext(mrNo);

  EXPECT_TRUE(logon_.Execute());

  EXPECT_TRUE(session->Connected());
  ASSERT_EQ(ui_.Messages().size(), 1u);
  const TMessageBox box = ui_.Messages()[0].Box;
  EXPECT_EQ(box.Caption, "Confirm");
  EXPECT_EQ(box.DlgType, mtConfirmation);
  EXPECT_EQ(box.Buttons, mbYes | mbNo);
  EXPECT_EQ(box.Text, session->LogonWarning() + "\r\nDo you wish to change your password now?");
  EXPECT_TRUE(StartsWith(box.Text, "ORA-28002")) << box.Text;
  EXPECT_EQ(user_.Shown().size(), 1u) << "No: no change dialog";
  EXPECT_EQ(session->LogonPassword(), "pw");
}

TEST_F(LogonPasswordTest, YesChangesThePasswordAndEndsTheGracePeriod) {
  auto session = Session("grace_user", "pw");
  user_.Answer(ScriptedUser::Confirm());
  ui_.AnswerNext(mrYes);
  user_.Answer(ScriptedUser::NewPassword("renewed", "renewed"));

  EXPECT_TRUE(logon_.Execute());

  EXPECT_TRUE(session->Connected());
  ASSERT_EQ(user_.Shown().size(), 2u);
  EXPECT_EQ(user_.Shown()[1].caption, "Your password has expired");
  EXPECT_EQ(session->LogonPassword(), "renewed");
  std::string warning = "unset";
  EXPECT_TRUE(CanLogOn("grace_user", "renewed", &warning));
  EXPECT_EQ(warning, "");
}

TEST_F(LogonPasswordTest, AVersion7SessionChangesItsGracePeriodPasswordWithAlterUser) {
  // The session's own query runs ALTER USER; the stand-in query engine
  // serves here.
  ScopedTestQueries queries;
  useOCI7_ = true;
  auto session = Session("grace_user", "pw");
  user_.Answer(ScriptedUser::Confirm());
  ui_.AnswerNext(mrYes);
  user_.Answer(ScriptedUser::NewPassword("renewed", "renewed"));

  EXPECT_TRUE(logon_.Execute());

  EXPECT_FALSE(session->UsesOCI8());
  EXPECT_EQ(TestQuery::Log().back(), "ALTER USER grace_user IDENTIFIED BY renewed");
  EXPECT_EQ(session->LogonPassword(), "renewed");
  EXPECT_TRUE(CanLogOn("grace_user", "renewed"));
}

// --- The change dialog on its own ---

TEST_F(LogonPasswordTest, TheChangeDialogNeedsASession) {
  try {
    ChangePasswordDialog(nullptr, "Change");
    FAIL() << "a dialog without a session";
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), "Session undefined");
  }
  EXPECT_EQ(user_.FormsMade(), 0);
}

TEST_F(LogonPasswordTest, TheChangeDialogChangesAConnectedSessionsPassword) {
  auto session = NewSession();
  session->LogOn();
  user_.Answer(ScriptedUser::NewPassword("lion", "lion"));

  EXPECT_TRUE(ChangePasswordDialog(session.get(), "New password for scott"));

  EXPECT_EQ(user_.Shown().at(0).caption, "New password for scott");
  EXPECT_EQ(session->LogonPassword(), "lion");
  EXPECT_TRUE(CanLogOn("scott", "lion"));
}

TEST_F(LogonPasswordTest, CancellingTheChangeDialogReturnsFalse) {
  auto session = NewSession();
  user_.Answer(ScriptedUser::Cancel());

  EXPECT_FALSE(ChangePasswordDialog(session.get(), "Change"));

  EXPECT_EQ(session->LogonPassword(), "tiger");
  EXPECT_FALSE(client::IsClientLibraryLoaded());
}

}  // namespace
}  // namespace vorn::session_test
