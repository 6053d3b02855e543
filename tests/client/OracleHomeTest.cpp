// Reading the registry and the command line, and choosing among several
// Oracle homes by the ORACLEHOME parameter, by PATH and by name order.
#include <gtest/gtest.h>

#include <string>

#include "ClientTestSupport.h"
#include "vorn/client/OracleHome.h"
#include "vorn/platform/Environment.h"

namespace vorn::client {
namespace {

using testing::ClientTest;

// Registry text of numbered homes: ALL_HOMES with `counter`, then one key
// per home with its name and directory (either may be empty: left out).
struct Home {
  std::string name;
  std::string directory;
};

std::string Homes(const std::string& counter, const std::vector<Home>& homes) {
  std::string text = "[SOFTWARE\\ORACLE\\ALL_HOMES]\nHOME_COUNTER = " + counter + "\n";
  for (std::size_t number = 0; number < homes.size(); ++number) {
    text += "[SOFTWARE\\ORACLE\\HOME" + std::to_string(number) + "]\n";
    if (!homes[number].name.empty()) text += "ORACLE_HOME_NAME = " + homes[number].name + "\n";
    if (!homes[number].directory.empty()) {
      text += "ORACLE_HOME = \"" + homes[number].directory + "\"\n";
    }
  }
  return text;
}

class OracleHomeTest : public ClientTest {};

TEST_F(OracleHomeTest, RegistryValuesAreCutTo256Characters) {
  const std::string value(300, 'v');
  WriteRegistry("[SOFTWARE\\ORACLE]\nTNS_ADMIN = " + value + "\nNET80 = short\n");

  EXPECT_EQ(ReadRegistryString("SOFTWARE\\ORACLE", "TNS_ADMIN"), value.substr(0, 256));
  EXPECT_EQ(ReadRegistryString("SOFTWARE\\ORACLE", "NET80"), "short");
  EXPECT_EQ(ReadRegistryString("SOFTWARE\\ORACLE", "NET20"), "");
  EXPECT_EQ(ReadRegistryString("SOFTWARE\\MISSING", "NET80"), "");
}

TEST_F(OracleHomeTest, CommandLineParameterIsFoundByNameWithoutRegardToCase) {
  SetCommandLine({"ORACLEHOMEX=wrong", "/v", "oracleHome=Ora81=x", "ORACLEHOME=second"});
  EXPECT_EQ(FindCommandLineParameter("ORACLEHOME"), "Ora81=x") << "the first match counts";
  EXPECT_EQ(FindCommandLineParameter("OCIDLL"), "");

  SetCommandLine({"OCIDLL=" + std::string(300, 'p')});
  EXPECT_EQ(FindCommandLineParameter("OCIDLL"), std::string(255, 'p'));
}

TEST_F(OracleHomeTest, WithoutAListOfHomesTheRootKeyIsTheHome) {
  WriteRegistry(testing::ClientTest::SingleHome("/opt/oracle"));
  EXPECT_EQ(ChooseOracleHomeKey(), "SOFTWARE\\ORACLE");

  for (const std::string counter : {"two", "", "2x", " "}) {
    SCOPED_TRACE("HOME_COUNTER = '" + counter + "'");
    WriteRegistry(Homes(counter, {{"OraHome", "/opt/oracle"}}));
    EXPECT_EQ(ChooseOracleHomeKey(), "SOFTWARE\\ORACLE");
  }
}

TEST_F(OracleHomeTest, OnlyHomesBelowTheCounterWithANameAreListed) {
  platform::WriteEnvironmentVariable("PATH", "/opt/second/bin:/opt/first/bin");
  WriteRegistry(Homes("1", {{"First", "/opt/first"}, {"Second", "/opt/second"}}));
  EXPECT_EQ(ChooseOracleHomeKey(), "SOFTWARE\\ORACLE\\HOME0");

  WriteRegistry(Homes("2", {{"", "/opt/first"}, {"Second", "/opt/second"}}));
  platform::WriteEnvironmentVariable("PATH", "/opt/first/bin");
  EXPECT_EQ(ChooseOracleHomeKey(), "SOFTWARE\\ORACLE\\HOME1") << "a home without a name is none";
}

TEST_F(OracleHomeTest, HomeEarliestInPathIsChosen) {
  WriteRegistry(Homes("3", {{"A", "/opt/a"}, {"B", "/opt/Oracle/b"}, {"C", "/opt/c"}}));

  platform::WriteEnvironmentVariable("PATH", "/usr/bin:/OPT/ORACLE/B/bin:/opt/a/bin:/opt/c/bin");
  EXPECT_EQ(ChooseOracleHomeKey(), "SOFTWARE\\ORACLE\\HOME1");

  platform::WriteEnvironmentVariable("PATH", "/opt/c/bin:/opt/oracle/b/bin");
  EXPECT_EQ(ChooseOracleHomeKey(), "SOFTWARE\\ORACLE\\HOME2");
}

TEST_F(OracleHomeTest, OracleHomeParameterWinsOverPathAndIgnoresCase) {
  WriteRegistry(Homes("2", {{"Early", "/opt/early"}, {"Wanted", "/opt/wanted"}}));
  platform::WriteEnvironmentVariable("PATH", "/opt/early/bin");
  SetCommandLine({"ORACLEHOME=wANTED"});
  EXPECT_EQ(ChooseOracleHomeKey(), "SOFTWARE\\ORACLE\\HOME1");
}

TEST_F(OracleHomeTest, WithoutAMatchTheLastHomeInNameOrderIsChosen) {
  // Without regard to case the order is alpha, Mid, Zeta; by bytes it
  // would end with alpha.
  WriteRegistry(Homes("3", {{"Zeta", "/opt/z"}, {"alpha", "/opt/a"}, {"Mid", "/opt/m"}}));
  SetCommandLine({"ORACLEHOME=Other"});
  EXPECT_EQ(ChooseOracleHomeKey(), "SOFTWARE\\ORACLE\\HOME0");
}

TEST_F(OracleHomeTest, OfTwoHomesWithOneNameTheLowerNumberCounts) {
  WriteRegistry(Homes("3", {{"Other", "/opt/other"}, {"Same", "/opt/one"}, {"SAME", "/opt/two"}}));
  SetCommandLine({"ORACLEHOME=same"});
  EXPECT_EQ(ChooseOracleHomeKey(), "SOFTWARE\\ORACLE\\HOME1");
}

TEST_F(OracleHomeTest, PathIsReadUpTo1000Characters) {
  // Home B (HOME0) sorts last; home A would win if PATH were read further.
  WriteRegistry(Homes("2", {{"B", "/opt/b"}, {"A", "/opt/a"}}));
  platform::WriteEnvironmentVariable("PATH", std::string(995, 'x') + ":/opt/a/bin");
  EXPECT_EQ(ChooseOracleHomeKey(), "SOFTWARE\\ORACLE\\HOME0");

  platform::WriteEnvironmentVariable("PATH", std::string(980, 'x') + ":/opt/a/bin");
  EXPECT_EQ(ChooseOracleHomeKey(), "SOFTWARE\\ORACLE\\HOME1");
}

TEST_F(OracleHomeTest, ChosenHomeWithoutDirectoryFallsBackToTheRootKey) {
  WriteRegistry(Homes("2", {{"Good", "/opt/good"}, {"Broken", ""}}));
  SetCommandLine({"ORACLEHOME=Broken"});
  EXPECT_EQ(ChooseOracleHomeKey(), "SOFTWARE\\ORACLE");
}

}  // namespace
}  // namespace vorn::client
