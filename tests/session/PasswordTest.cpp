// Changing the password: of a connected session, of an account whose
// password expired (which cannot log on), and refused changes.
#include <gtest/gtest.h>

#include "SessionTestSupport.h"
#include "vorn/host/Exceptions.h"
#include "vorn/session/OracleError.h"

namespace vorn::session_test {
namespace {

class PasswordTest : public SessionTest {
 protected:
  // Whether `user` can log on with `password`.
  bool CanLogOn(const std::string& user, const std::string& password) {
    auto session = NewSession(user, password);
    try {
      session->LogOn();
    } catch (const EOracleError&) {
      return false;
    }
    return true;
  }
};

TEST_F(PasswordTest, AConnectedSessionChangesItsPassword) {
  auto session = NewSession();
  session->LogOn();

  session->ChangePassword("lion");

  EXPECT_EQ(session->LogonPassword(), "lion");
  EXPECT_TRUE(session->Connected());
  EXPECT_TRUE(CanLogOn("scott", "lion"));
  EXPECT_FALSE(CanLogOn("scott", "tiger"));
}

TEST_F(PasswordTest, AnExpiredPasswordIsChangedAfterTheRefusedLogon) {
  auto session = NewSession("expired_user", "pw");
  try {
    session->LogOn();
    FAIL() << "an expired password logged on";
  } catch (const EOracleError& error) {
    ASSERT_EQ(error.ErrorCode(), 28001);
  }

  session->ChangePassword("fresh");
  session->LogOn();

  EXPECT_TRUE(session->Connected());
  EXPECT_EQ(session->LogonPassword(), "fresh");
}

TEST_F(PasswordTest, ASessionThatNeverLoggedOnAttachesToChange) {
  auto session = NewSession("expired_user/pw@" + Database(), "");
  session->SetLogonDatabase("");

  session->ChangePassword("fresh");

  EXPECT_FALSE(session->Connected());
  EXPECT_EQ(session->LogonUsername(), "expired_user");
  EXPECT_EQ(session->LogonPassword(), "fresh");
  EXPECT_EQ(session->LogonDatabase(), Database());
  EXPECT_TRUE(CanLogOn("expired_user", "fresh"));
}

TEST_F(PasswordTest, AWrongOldPasswordIsRefusedAndKept) {
  auto session = NewSession("scott", "lion");

  EXPECT_THROW(session->ChangePassword("panther"), EOracleError);

  EXPECT_EQ(session->LogonPassword(), "lion");
  EXPECT_TRUE(CanLogOn("scott", "tiger"));
  EXPECT_FALSE(CanLogOn("scott", "panther"));
}

TEST_F(PasswordTest, Version7SessionsChangeThePasswordWithAlterUser) {
  ScopedTestQueries queries;
  useOCI7_ = true;
  auto session = NewSession();
  session->LogOn();

  session->ChangePassword("lion");

  EXPECT_EQ(TestQuery::Log().back(), "ALTER USER scott IDENTIFIED BY lion");
  EXPECT_EQ(session->LogonPassword(), "lion");
  EXPECT_TRUE(CanLogOn("scott", "lion"));
  EXPECT_FALSE(CanLogOn("scott", "tiger"));
}

TEST_F(PasswordTest, Version7SessionsMustBeConnectedToChange) {
  ScopedTestQueries queries;
  useOCI7_ = true;
  auto session = NewSession();

  EXPECT_THROW(session->ChangePassword("lion"), Exception);

  EXPECT_EQ(session->LogonPassword(), "tiger");
  EXPECT_TRUE(CanLogOn("scott", "tiger"));
}

}  // namespace
}  // namespace vorn::session_test
