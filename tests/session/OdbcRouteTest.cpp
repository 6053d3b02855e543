// Sessions that log on through the client's ODBC adapter: the route and
// OCA flags, the forced version 7 library, the version 7 calls.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "SessionTestSupport.h"
#include "vorn/client/ClientLibrary.h"
#include "vorn/host/Exceptions.h"
#include "vorn/platform/Environment.h"
#include "vorn/session/OracleError.h"

namespace vorn::session_test {
namespace {

class OdbcRouteTest : public SessionTest {
 protected:
  // A copy of the test's database under a name that takes the ODBC route.
  std::string OdbcDatabase() {
    const std::filesystem::path own(Database());
    const std::string path = (own.parent_path() / ("ODBC:" + own.filename().string())).string();
    std::filesystem::copy_file(Database(), path, std::filesystem::copy_options::overwrite_existing);
    return path;
  }

  // A machine registry like the demo home's, with OCA installed.
  void InstallOca() {
    const std::string registry = Database() + ".registry.ini";
    std::ofstream(registry) << "[SOFTWARE\\ORACLE]\nORACLE_HOME = \"" << OracleHome()
                            << "\"\nOCA60 = \"" << OracleHome() << "/oca\"\n";
    platform::WriteEnvironmentVariable("VORN_MACHINE_REGISTRY", registry);
  }
};

TEST_F(OdbcRouteTest, TheRouteFlagFollowsTheLogonValues) {
  TOracleSession session;
  EXPECT_FALSE(session.TakesODBCRoute());

  session.SetLogonDatabase("odbc:Orders");
  EXPECT_TRUE(session.TakesODBCRoute());

  session.SetLogonDatabase("DEMO");
  EXPECT_FALSE(session.TakesODBCRoute());

  session.SetLogonUsername("ODBC:Orders");
  EXPECT_TRUE(session.TakesODBCRoute());

  session.SetLogonUsername("scott");
  session.SetLogonPassword("odbc:");
  EXPECT_FALSE(session.TakesODBCRoute());
}

TEST_F(OdbcRouteTest, OcaIsLookedUpForTheRouteOnly) {
  InstallOca();
  TOracleSession session;
  session.SetLogonDatabase("DEMO");
  EXPECT_FALSE(session.OCAInstalled());

  session.SetLogonDatabase("ODBC:Orders");
  EXPECT_TRUE(session.OCAInstalled());

  session.SetLogonDatabase("DEMO");
  EXPECT_FALSE(session.OCAInstalled());
}

TEST_F(OdbcRouteTest, WithoutOcaTheRouteForcesTheVersion7Library) {
  auto session = NewSession();
  session->SetLogonDatabase("ODBC:Orders");
  ASSERT_FALSE(session->OCAInstalled());

  try {
    session->LogOn();
    FAIL() << "logged on";
  } catch (const EOracleError& error) {
    // The library was loaded, and refused the connect string.
    EXPECT_EQ(error.ErrorCode(), 12154);
  }
  EXPECT_EQ(client::ClientLibraryPath(), "ora73.dll");
  EXPECT_TRUE(client::IsClientLibraryLoaded());
  EXPECT_FALSE(session->UsesOCI8());
}

TEST_F(OdbcRouteTest, ALoadedLibraryIsKeptForTheRoute) {
  client::LoadClientLibrary();
  auto session = NewSession();
  session->SetLogonDatabase("ODBC:Orders");

  EXPECT_THROW(session->LogOn(), Exception);

  EXPECT_EQ(client::ClientLibraryPath(), OracleHomeLibrary());
  EXPECT_FALSE(session->UsesOCI8());
}

TEST_F(OdbcRouteTest, PasswordChangesTakeTheRouteToo) {
  ScopedTestQueries queries;
  auto session = NewSession();
  session->SetLogonDatabase("ODBC:Orders");

  // Version 7 calls run ALTER USER, which needs a connection.
  try {
    session->ChangePassword("lion");
    ADD_FAILURE() << "ChangePassword without a connection succeeded";
  } catch (const Exception& error) {
    EXPECT_EQ("Not logged on", error.Message());
  }

  EXPECT_EQ(client::ClientLibraryPath(), "ora73.dll");
  EXPECT_FALSE(session->UsesOCI8());
}

TEST_F(OdbcRouteTest, WithOcaTheRouteLogsOnWithVersion7CallsThroughTheHomesLibrary) {
  InstallOca();
  auto session = NewSession();
  session->SetLogonDatabase(OdbcDatabase());

  session->LogOn();

  EXPECT_TRUE(session->Connected());
  EXPECT_FALSE(session->UsesOCI8());
  EXPECT_EQ(client::ClientLibraryPath(), OracleHomeLibrary());
  EXPECT_EQ(Rows(*session, "select user from dual"), std::vector<std::string>{"SCOTT"});
}

TEST_F(OdbcRouteTest, TheForcedLibraryIsFoundThroughTheSystemsSearch) {
  // The test program's run path holds a folder with an ora73.dll.
  auto session = NewSession();
  session->SetLogonDatabase(OdbcDatabase());

  session->LogOn();

  EXPECT_EQ(client::ClientLibraryPath(), "ora73.dll");
  EXPECT_FALSE(session->UsesOCI8());
  EXPECT_EQ(Rows(*session, "select user from dual"), std::vector<std::string>{"SCOTT"});
}

}  // namespace
}  // namespace vorn::session_test
