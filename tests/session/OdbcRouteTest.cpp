// Sessions that log on through the client's ODBC adapter: the route and
// OCA flags, the forced version 7 library, the version 7 calls.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "SessionTestSupport.h"
#include "vorn/client/ClientLibrary.h"
#include "vorn/host/Exceptions.h"
#include "vorn/platform/Environment.h"

namespace vorn::session_test {
namespace {

class OdbcRouteTest : public SessionTest {
 protected:
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
  } catch (const Exception& error) {
    EXPECT_NE(error.Message().find("OCIDLL forced to ora73.dll"), std::string::npos)
        << error.Message();
    EXPECT_NE(error.Message().find("Could not load \"ora73.dll\""), std::string::npos)
        << error.Message();
  }
  EXPECT_EQ(client::ClientLibraryPath(), "ora73.dll");
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
  auto session = NewSession();
  session->SetLogonDatabase("ODBC:Orders");

  EXPECT_THROW(session->ChangePassword("lion"), Exception);

  EXPECT_EQ(client::ClientLibraryPath(), "ora73.dll");
}

}  // namespace
}  // namespace vorn::session_test
