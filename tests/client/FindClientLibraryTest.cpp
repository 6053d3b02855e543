// Choosing the library file in the home's bin folder (oci.dll, else the
// ora*.dll with the highest version), forced paths, the Linux folders, and
// the load log lines each decision writes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ClientTestSupport.h"
#include "vorn/client/ClientLibrary.h"
#include "vorn/platform/Environment.h"
#include "vorn/platform/FileSystem.h"

namespace vorn::client {
namespace {

using testing::ClientTest;

std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines)
    text += (text.empty() ? "" : "\r\n") + line;
  return text;
}

class FindClientLibraryTest : public ClientTest {
 protected:
  // A home whose bin folder holds (empty) files of the given names.
  std::string HomeWith(const std::vector<std::string>& binFiles) {
    std::string home = temp_.MakeFolder("home");
    for (const std::string& name : binFiles)
      temp_.WriteFile("home/bin/" + name, "");
    WriteRegistry(SingleHome(home));
    return home;
  }
};

TEST_F(FindClientLibraryTest, OciDllInBinIsTakenFirst) {
  const std::string home = HomeWith({"ORA805.DLL", "oci.dll"});

  ASSERT_EQ(FindClientLibrary(), ClientLibraryResult::Found);
  EXPECT_EQ(ClientLibraryPath(), home + "/bin/oci.dll");
  EXPECT_EQ(ClientLoadLog(), Lines({"OracleHomeKey: SOFTWARE\\ORACLE", "OracleHomeDir: " + home,
                                    "Using: " + home + "/bin/oci.dll"}));
  EXPECT_EQ(OracleHomeKey(), "SOFTWARE\\ORACLE");
  EXPECT_EQ(OracleHomeDirectory(), home);
}

TEST_F(FindClientLibraryTest, FolderAndFileNamesAreMatchedWithoutRegardToCase) {
  const std::string home = temp_.MakeFolder("home");
  temp_.WriteFile("home/BIN/Oci.Dll", "");
  WriteRegistry(SingleHome(home));

  ASSERT_EQ(FindClientLibrary(), ClientLibraryResult::Found);
  EXPECT_EQ(ClientLibraryPath(), home + "/BIN/Oci.Dll");
}

TEST_F(FindClientLibraryTest, Ora805IsChosenOverOra73AndBothAreLogged) {
  const std::string home = HomeWith({"ORA73.DLL", "ORA805.DLL"});
  const std::vector<std::string> listed = platform::FindFiles(home + "/bin", "ora*.dll");
  ASSERT_EQ(listed.size(), 2u);

  ASSERT_EQ(FindClientLibrary(), ClientLibraryResult::Found);
  EXPECT_EQ(ClientLibraryPath(), home + "/bin/ORA805.DLL");
  EXPECT_EQ(ClientLoadLog(), Lines({"OracleHomeKey: SOFTWARE\\ORACLE", "OracleHomeDir: " + home,
                                    "Found: " + listed[0], "Found: " + listed[1],
                                    "Using: " + home + "/bin/ORA805.DLL"}));
}

TEST_F(FindClientLibraryTest, VersionDigitsFollowTheNtInfix) {
  // ORANT8 reads 0.8, above ORA73's 0.73; ORA8 reads 0.8, above ORANT73.
  HomeWith({"ORA73.DLL", "ORANT8.DLL"});
  ASSERT_EQ(FindClientLibrary(), ClientLibraryResult::Found);
  EXPECT_TRUE(ClientLibraryPath().ends_with("/ORANT8.DLL")) << ClientLibraryPath();

  temp_.MakeFolder("other");
  temp_.WriteFile("other/bin/orant73.dll", "");
  temp_.WriteFile("other/bin/ora8.dll", "");
  WriteRegistry(SingleHome(temp_ / "other"));
  UnloadClientLibrary();
  ASSERT_EQ(FindClientLibrary(), ClientLibraryResult::Found);
  EXPECT_TRUE(ClientLibraryPath().ends_with("/ora8.dll")) << ClientLibraryPath();
}

TEST_F(FindClientLibraryTest, NamesWithoutAValidVersionAreSkippedUnlogged) {
  HomeWith({"ORAX.DLL", "ORA.DLL", "ORANT.DLL", "ORA7A.DLL", "ORA7-3.DLL", "ORA73.DLL"});

  ASSERT_EQ(FindClientLibrary(), ClientLibraryResult::Found);
  EXPECT_TRUE(ClientLibraryPath().ends_with("/ORA73.DLL"));
  const std::string log = ClientLoadLog();
  EXPECT_NE(log.find("Found: ORA73.DLL"), std::string::npos) << log;
  EXPECT_EQ(log.find("Found: ORA7A.DLL"), std::string::npos) << log;
  EXPECT_EQ(log.find("Found: ORAX.DLL"), std::string::npos) << log;
  EXPECT_EQ(log.find("Found: ORA.DLL"), std::string::npos) << log;
}

TEST_F(FindClientLibraryTest, OfEqualVersionsTheFirstListedStays) {
  const std::string home = HomeWith({"ORA73.DLL", "ORANT73.DLL", "ora730.dll"});
  const std::vector<std::string> listed = platform::FindFiles(home + "/bin", "ora*.dll");
  ASSERT_EQ(listed.size(), 3u);

  ASSERT_EQ(FindClientLibrary(), ClientLibraryResult::Found);
  EXPECT_EQ(ClientLibraryPath(), home + "/bin/" + listed[0]);
}

TEST_F(FindClientLibraryTest, EmptyBinFolderFindsNothing) {
  const std::string home = HomeWith({"sqlplus", "oracle.dll.bak"});

  EXPECT_EQ(FindClientLibrary(), ClientLibraryResult::NotFound);
  EXPECT_EQ(ClientLibraryPath(), "");
  EXPECT_EQ(ClientLoadLog(), Lines({"OracleHomeKey: SOFTWARE\\ORACLE", "OracleHomeDir: " + home}));
}

TEST_F(FindClientLibraryTest, NoHomeDirectoryMeansNoOracleHome) {
  WriteRegistry("[SOFTWARE\\ORACLE]\nNET80 = /somewhere\n");

  EXPECT_EQ(FindClientLibrary(), ClientLibraryResult::NoOracleHome);
  EXPECT_EQ(ClientLoadLog(), Lines({"OracleHomeKey: SOFTWARE\\ORACLE", "OracleHomeDir: "}));
}

TEST_F(FindClientLibraryTest, OracleHomeEnvironmentVariableServesWithoutARegistry) {
  const std::string home = temp_.MakeFolder("envhome");
  temp_.WriteFile("envhome/bin/oci.dll", "");
  platform::WriteEnvironmentVariable("ORACLE_HOME", home);

  ASSERT_EQ(FindClientLibrary(), ClientLibraryResult::Found);
  EXPECT_EQ(ClientLibraryPath(), home + "/bin/oci.dll");
}

TEST_F(FindClientLibraryTest, OcidllParameterIsUsedUnchangedEvenWithoutAHome) {
  SetCommandLine({"ocidll=Some\\Path\\ORA73.DLL"});

  ASSERT_EQ(FindClientLibrary(), ClientLibraryResult::Found);
  EXPECT_EQ(ClientLibraryPath(), "Some\\Path\\ORA73.DLL");
  EXPECT_EQ(ClientLoadLog(), "OCIDLL forced to Some\\Path\\ORA73.DLL");
}

TEST_F(FindClientLibraryTest, ForcedPathStillDeterminesTheHome) {
  const std::string home = HomeWith({"oci.dll"});
  SetClientLibraryPath("ora73.dll");

  ASSERT_EQ(FindClientLibrary(), ClientLibraryResult::Found);
  EXPECT_EQ(ClientLibraryPath(), "ora73.dll");
  EXPECT_EQ(ClientLoadLog(), "OCIDLL forced to ora73.dll");
  EXPECT_EQ(OracleHomeDirectory(), home);
}

TEST_F(FindClientLibraryTest, LinuxClientLibraryInLibIsTakenWhenBinHasNone) {
  const std::string home = HomeWith({"ORAX.DLL"});
  temp_.WriteFile("home/lib/libclntsh.so", "");
  temp_.WriteFile("home/libclntsh.so", "");

  ASSERT_EQ(FindClientLibrary(), ClientLibraryResult::Found);
  EXPECT_EQ(ClientLibraryPath(), home + "/lib/libclntsh.so");
  EXPECT_EQ(ClientLoadLog(), Lines({"OracleHomeKey: SOFTWARE\\ORACLE", "OracleHomeDir: " + home,
                                    "Using: " + home + "/lib/libclntsh.so"}));
}

TEST_F(FindClientLibraryTest, InstantClientFolderIsTakenLast) {
  const std::string home = temp_.MakeFolder("instantclient_19_8");
  temp_.WriteFile("instantclient_19_8/libclntsh.so", "");
  WriteRegistry(SingleHome(home));

  ASSERT_EQ(FindClientLibrary(), ClientLibraryResult::Found);
  EXPECT_EQ(ClientLibraryPath(), home + "/libclntsh.so");
}

TEST_F(FindClientLibraryTest, BinFolderWinsOverTheLinuxFolders) {
  const std::string home = HomeWith({"ORA805.DLL"});
  temp_.WriteFile("home/lib/libclntsh.so", "");

  ASSERT_EQ(FindClientLibrary(), ClientLibraryResult::Found);
  EXPECT_EQ(ClientLibraryPath(), home + "/bin/ORA805.DLL");
}

}  // namespace
}  // namespace vorn::client
