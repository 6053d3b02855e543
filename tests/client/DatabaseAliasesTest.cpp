// Finding tnsnames.ora (TNS_ADMIN, NET80, NET20, Network\Admin, Net80\Admin)
// and reading aliases out of it and the files it includes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ClientTestSupport.h"
#include "vorn/client/ClientLibrary.h"
#include "vorn/client/DatabaseAliases.h"
#include "vorn/host/Exceptions.h"
#include "vorn/platform/Environment.h"

namespace vorn::client {
namespace {

using testing::ClientTest;
using Aliases = std::vector<std::string>;

class DatabaseAliasesTest : public ClientTest {
 protected:
  // A home with the stand-in `variant` as bin/oci.dll and `moreValues` in
  // its registry key.
  void InstallClient(const std::string& variant, const std::string& moreValues = "") {
    InstallLibrary(variant, "home/bin/oci.dll");
    WriteRegistry(SingleHome(temp_ / "home", moreValues));
  }
  // Writes the default alias file of an 8.1 client.
  void WriteAliasFile(const std::string& text) {
    temp_.WriteFile("home/network/admin/tnsnames.ora", text);
  }
};

TEST_F(DatabaseAliasesTest, AliasesAreSortedWithoutCaseAndListedOnce) {
  InstallClient("full81");
  WriteAliasFile(
      "sales = (DESCRIPTION = (ADDRESS = (PROTOCOL = TCP)(HOST = s)(PORT = 1521)))\r\n"
      "Hr = (DESCRIPTION = (ADDRESS = (HOST = h)))\r\n"
      "SALES = (DESCRIPTION = (ADDRESS = (HOST = s2)))\r\n"
      "accounts=(DESCRIPTION=(ADDRESS=(HOST=a)))\r\n");

  EXPECT_EQ(ListDatabaseAliases(), (Aliases{"accounts", "Hr", "sales"}));
}

TEST_F(DatabaseAliasesTest, WorldSuffixIsCutAndDescriptionsMaySpanLines) {
  InstallClient("full81");
  WriteAliasFile(
      "# HIDDEN = (DESCRIPTION = (\n"
      "SALES.WORLD =\n"
      "  (DESCRIPTION =\n"
      "    (ADDRESS_LIST =\n"
      "      (ADDRESS = (PROTOCOL = TCP)(HOST = sales)(PORT = 1521))\n"
      "    )\n"
      "    (CONNECT_DATA = (SID = ORCL))\n"
      "  )\n"
      "Hr.world = (DESCRIPTION = (ADDRESS = (HOST = h)))\n"
      "  # an indented line is text, ignored without an equals sign\n"
      "PLAIN.WORLDWIDE.COM = (DESCRIPTION = (ADDRESS = (HOST = p)))\n");

  EXPECT_EQ(ListDatabaseAliases(), (Aliases{"Hr", "PLAIN", "SALES"}));
}

TEST_F(DatabaseAliasesTest, AliasInsideAnUnclosedParenthesisIsNotSeen) {
  InstallClient("full81");
  WriteAliasFile(
      "FIRST = (DESCRIPTION = (ADDRESS = (HOST = f))\n"
      "SECOND = (DESCRIPTION = (ADDRESS = (HOST = s)))\n");

  EXPECT_EQ(ListDatabaseAliases(), (Aliases{"FIRST"}));
}

TEST_F(DatabaseAliasesTest, StrayClosingParenthesisDoesNotHideTheRest) {
  InstallClient("full81");
  WriteAliasFile(
      "FIRST = (DESCRIPTION = (ADDRESS = (HOST = f))))\n"
      "SECOND = (DESCRIPTION = (ADDRESS = (HOST = s)))\n");

  EXPECT_EQ(ListDatabaseAliases(), (Aliases{"FIRST", "SECOND"}));
}

TEST_F(DatabaseAliasesTest, IfileIncludesAnotherFileOnTheSameOrTheNextLine) {
  InstallClient("full81");
  temp_.WriteFile("home/network/admin/same.ora", "SAME_LINE = (DESCRIPTION = ())\n");
  temp_.WriteFile("shared/next.ora", "NEXT_LINE = (DESCRIPTION = ())\n");
  WriteAliasFile(
      "IFILE = same.ora\n"
      "ifile =\n"
      "BETWEEN = (DESCRIPTION = ())\n"
      "  " +
      temp_ / "shared/next.ora" +
      "\n"
      "not a file name: nothing is pending\n"
      "LAST = (DESCRIPTION = ())\n");

  EXPECT_EQ(ListDatabaseAliases(), (Aliases{"BETWEEN", "LAST", "NEXT_LINE", "SAME_LINE"}));
}

TEST_F(DatabaseAliasesTest, IncludedFilesMayIncludeOthersButNotThemselves) {
  InstallClient("full81");
  temp_.WriteFile("home/network/admin/a.ora", "A = ()\nIFILE = b.ora\n");
  temp_.WriteFile("home/network/admin/b.ora", "B = ()\nIFILE = a.ora\nIFILE = tnsnames.ora\n");
  WriteAliasFile("TOP = ()\nIFILE = a.ora\nIFILE = missing.ora\nAFTER = ()\n");

  EXPECT_EQ(ListDatabaseAliases(), (Aliases{"A", "AFTER", "B", "TOP"}));
}

TEST_F(DatabaseAliasesTest, PathWithThreeLeadingBackslashesIsRead) {
  InstallClient("full81");
  const std::string included = temp_.WriteFile("unc/remote.ora", "REMOTE = ()\n");
  WriteAliasFile("IFILE = \\\\\\" + included.substr(1) + "\n");

  EXPECT_EQ(ListDatabaseAliases(), (Aliases{"REMOTE"}));
}

TEST_F(DatabaseAliasesTest, AliasFileNamesAreMatchedWithoutRegardToCase) {
  InstallClient("full81");
  temp_.WriteFile("home/NETWORK/Admin/TNSNAMES.ORA", "UPPER = ()\n");

  EXPECT_EQ(ListDatabaseAliases(), (Aliases{"UPPER"}));
}

TEST_F(DatabaseAliasesTest, TnsAdminEnvironmentVariableComesFirst) {
  InstallClient("full81", "TNS_ADMIN = \"" + temp_ / "registry" + "\"\n");
  temp_.WriteFile("environment/tnsnames.ora", "FROM_ENVIRONMENT = ()\n");
  temp_.WriteFile("registry/tnsnames.ora", "FROM_REGISTRY = ()\n");
  WriteAliasFile("FROM_HOME = ()\n");

  EXPECT_EQ(ListDatabaseAliases(), (Aliases{"FROM_REGISTRY"}));

  platform::WriteEnvironmentVariable("TNS_ADMIN", temp_ / "environment");
  EXPECT_EQ(ListDatabaseAliases(), (Aliases{"FROM_ENVIRONMENT"}));
}

TEST_F(DatabaseAliasesTest, Version8ClientReadsNet80AndVersion7ClientNet20) {
  const std::string values =
      "NET80 = \"" + temp_ / "net80" + "\"\nNET20 = \"" + temp_ / "net20" + "\"\n";
  temp_.WriteFile("net80/admin/tnsnames.ora", "NET80_ALIAS = ()\n");
  temp_.WriteFile("net20/ADMIN/tnsnames.ora", "NET20_ALIAS = ()\n");

  InstallClient("full81", values);
  EXPECT_EQ(ListDatabaseAliases(), (Aliases{"NET80_ALIAS"}));
  EXPECT_EQ(DatabaseAliasFolder(), temp_ / "net80/Admin");

  UnloadClientLibrary();
  InstallClient("v7only", values);
  EXPECT_EQ(ListDatabaseAliases(), (Aliases{"NET20_ALIAS"}));
}

TEST_F(DatabaseAliasesTest, Version80ClientLooksInNet80Admin) {
  InstallClient("v80");
  temp_.WriteFile("home/net80/admin/tnsnames.ora", "NET80_FOLDER = ()\n");
  WriteAliasFile("NETWORK_FOLDER = ()\n");

  EXPECT_EQ(ListDatabaseAliases(), (Aliases{"NET80_FOLDER"}));

  UnloadClientLibrary();
  InstallClient("v7only");
  EXPECT_EQ(ListDatabaseAliases(), (Aliases{"NETWORK_FOLDER"}));
}

TEST_F(DatabaseAliasesTest, MissingAliasFileGivesNoAliases) {
  InstallClient("full81");
  EXPECT_EQ(ListDatabaseAliases(), Aliases{});
}

TEST_F(DatabaseAliasesTest, FailedLoadIsRaised) {
  WriteRegistry("");
  EXPECT_THROW(ListDatabaseAliases(), Exception);
}

TEST_F(DatabaseAliasesTest, ForcedLibraryWithoutHomeHasNoAliasFolderButTnsAdmin) {
  SetCommandLine({"OCIDLL=" + testing::FakeLibrary("full81")});
  temp_.WriteFile("admin/tnsnames.ora", "ONLY = ()\n");

  EXPECT_EQ(ListDatabaseAliases(), Aliases{});
  EXPECT_EQ(DatabaseAliasFolder(), "");

  platform::WriteEnvironmentVariable("TNS_ADMIN", temp_ / "admin");
  EXPECT_EQ(ListDatabaseAliases(), (Aliases{"ONLY"}));
}

}  // namespace
}  // namespace vorn::client
