// The local-machine hive read from its INI-style stand-in file.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "TempFolder.h"
#include "vorn/platform/Environment.h"
#include "vorn/platform/Registry.h"

namespace vorn::platform {
namespace {

// Restores an environment variable to what it was when the guard was made.
class EnvironmentGuard {
 public:
  explicit EnvironmentGuard(std::string name)
      : name_(std::move(name)), saved_(FindEnvironmentVariable(name_)) {}
  ~EnvironmentGuard() {
    if (saved_) {
      WriteEnvironmentVariable(name_, *saved_);
    } else {
      RemoveEnvironmentVariable(name_);
    }
  }

 private:
  std::string name_;
  std::optional<std::string> saved_;
};

class RegistryTest : public ::testing::Test {
 protected:
  RegistryTest() {
    hiveFile_ = temp_ / "machine-registry.ini";
    WriteEnvironmentVariable("VORN_MACHINE_REGISTRY", hiveFile_);
    RemoveEnvironmentVariable("ORACLE_HOME");
  }

  void WriteHive(const std::string& content) { temp_.WriteFile("machine-registry.ini", content); }

  testing::TempFolder temp_;
  EnvironmentGuard hiveGuard_{"VORN_MACHINE_REGISTRY"};
  EnvironmentGuard homeGuard_{"ORACLE_HOME"};
  std::string hiveFile_;
};

TEST_F(RegistryTest, KeyPathsAndValueNamesIgnoreCase) {
  WriteHive(
      "[SOFTWARE\\ORACLE\\ALL_HOMES]\n"
      "HOME_COUNTER=2\n"
      "[SOFTWARE\\ORACLE\\HOME1]\n"
      "ORACLE_HOME_NAME=OraHome81\n");

  EXPECT_EQ(ReadMachineRegistryString("software\\oracle\\all_homes", "home_counter"), "2");
  EXPECT_EQ(ReadMachineRegistryString("SOFTWARE\\Oracle\\Home1", "Oracle_Home_Name"), "OraHome81");
  EXPECT_EQ(ReadMachineRegistryString("SOFTWARE\\ORACLE\\HOME1", "HOME_COUNTER"), "");
}

TEST_F(RegistryTest, SlashesAndSurplusSeparatorsInKeyPathsAreNormalised) {
  WriteHive(
      "[ software/oracle//HOME0\\ ]\n"
      "ORACLE_HOME=/opt/oracle\n");

  EXPECT_EQ(ReadMachineRegistryString("SOFTWARE\\ORACLE\\HOME0", "ORACLE_HOME"), "/opt/oracle");
  EXPECT_EQ(ReadMachineRegistryString("\\SOFTWARE/ORACLE/HOME0/", "ORACLE_HOME"), "/opt/oracle");
  EXPECT_EQ(ReadMachineRegistryString("SOFTWARE\\ORACLE", "ORACLE_HOME"), "");
}

TEST_F(RegistryTest, CommentLinesAreSkippedButHashAndSemicolonInsideValuesAreText) {
  WriteHive(
      "; the machine's Oracle homes\n"
      "[SOFTWARE\\ORACLE\\HOME0]\n"
      "# ORACLE_HOME=/commented/out\n"
      "   ; NET80=also commented\n"
      "ORACLE_HOME=C:\\orant;#1\n");

  EXPECT_EQ(ReadMachineRegistryString("SOFTWARE\\ORACLE\\HOME0", "ORACLE_HOME"), "C:\\orant;#1");
  EXPECT_EQ(ReadMachineRegistryString("SOFTWARE\\ORACLE\\HOME0", "NET80"), "");
}

TEST_F(RegistryTest, BlanksAroundNamesAndValuesAreDroppedUnlessQuoted) {
  WriteHive(
      "[SOFTWARE\\ORACLE]\n"
      "  TNS_ADMIN \t=  /etc/oracle admin  \t\n"
      "NET80=\"  padded value  \"\n"
      "OCA60=\"\"\n"
      "NET20=\"inner \"quotes\" kept\"\n"
      "HOME_COUNTER=a=b\n");

  EXPECT_EQ(ReadMachineRegistryString("SOFTWARE\\ORACLE", "TNS_ADMIN"), "/etc/oracle admin");
  EXPECT_EQ(ReadMachineRegistryString("SOFTWARE\\ORACLE", "NET80"), "  padded value  ");
  EXPECT_EQ(ReadMachineRegistryString("SOFTWARE\\ORACLE", "OCA60"), "");
  EXPECT_EQ(ReadMachineRegistryString("SOFTWARE\\ORACLE", "NET20"), "inner \"quotes\" kept");
  EXPECT_EQ(ReadMachineRegistryString("SOFTWARE\\ORACLE", "HOME_COUNTER"), "a=b");
}

TEST_F(RegistryTest, CrLfAndCrLineEndsAndByteOrderMarkAreAccepted) {
  WriteHive(
      "\xEF\xBB\xBF[SOFTWARE\\ORACLE\\HOME0]\r\n"
      "ORACLE_HOME=/crlf/home\r\n"
      "[SOFTWARE\\ORACLE\\HOME1]\r"
      "ORACLE_HOME=/cr/home\r");

  EXPECT_EQ(ReadMachineRegistryString("SOFTWARE\\ORACLE\\HOME0", "ORACLE_HOME"), "/crlf/home");
  EXPECT_EQ(ReadMachineRegistryString("SOFTWARE\\ORACLE\\HOME1", "ORACLE_HOME"), "/cr/home");
}

TEST_F(RegistryTest, LaterValueWinsAlsoAcrossRepeatedSections) {
  WriteHive(
      "[SOFTWARE\\ORACLE\\HOME0]\n"
      "ORACLE_HOME=/first\n"
      "oracle_home=/second\n"
      "NET80=/net/first\n"
      "[SOFTWARE\\ORACLE\\HOME1]\n"
      "NET80=/other/key\n"
      "[software\\oracle\\home0]\n"
      "NET80=/net/override\n");

  EXPECT_EQ(ReadMachineRegistryString("SOFTWARE\\ORACLE\\HOME0", "ORACLE_HOME"), "/second");
  EXPECT_EQ(ReadMachineRegistryString("SOFTWARE\\ORACLE\\HOME0", "NET80"), "/net/override");
  EXPECT_EQ(ReadMachineRegistryString("SOFTWARE\\ORACLE\\HOME1", "NET80"), "/other/key");
}

TEST_F(RegistryTest, LinesOutsideAValidSectionBelongToNoKey) {
  WriteHive(
      "ORACLE_HOME=/before/any/section\n"
      "[SOFTWARE\\ORACLE\\HOME0]\n"
      "ORACLE_HOME=/home0\n"
      "[SOFTWARE\\ORACLE\\HOME1\n"
      "NET80=/after/broken/header\n"
      "just some text\n");

  EXPECT_EQ(ReadMachineRegistryString("SOFTWARE\\ORACLE\\HOME0", "ORACLE_HOME"), "/home0");
  EXPECT_EQ(ReadMachineRegistryString("SOFTWARE\\ORACLE\\HOME0", "NET80"), "");
  EXPECT_EQ(ReadMachineRegistryString("SOFTWARE\\ORACLE\\HOME1", "NET80"), "");
  EXPECT_EQ(ReadMachineRegistryString("", "ORACLE_HOME"), "");
}

TEST_F(RegistryTest, MissingFileKeyOrValueYieldEmptyText) {
  EXPECT_EQ(ReadMachineRegistryString("SOFTWARE\\ORACLE\\ALL_HOMES", "HOME_COUNTER"), "");

  WriteHive("[SOFTWARE\\ORACLE\\ALL_HOMES]\nHOME_COUNTER=1\n");
  EXPECT_EQ(ReadMachineRegistryString("SOFTWARE\\ORACLE\\HOME9", "HOME_COUNTER"), "");
  EXPECT_EQ(ReadMachineRegistryString("SOFTWARE\\ORACLE\\ALL_HOMES", "HOME_COUNTERS"), "");
}

TEST_F(RegistryTest, AFolderInPlaceOfTheFileHoldsNoValues) {
  WriteEnvironmentVariable("VORN_MACHINE_REGISTRY", temp_.MakeFolder("not-a-file"));

  EXPECT_EQ(ReadMachineRegistryString("SOFTWARE\\ORACLE\\ALL_HOMES", "HOME_COUNTER"), "");
}

TEST_F(RegistryTest, LongValuesAreReturnedWhole) {
  const std::string longHome = "/opt/" + std::string(600, 'x');
  WriteHive("[SOFTWARE\\ORACLE\\HOME0]\nORACLE_HOME=" + longHome + "\n");

  EXPECT_EQ(ReadMachineRegistryString("SOFTWARE\\ORACLE\\HOME0", "ORACLE_HOME"), longHome);
}

TEST_F(RegistryTest, AChangedFileIsSeenByTheNextRead) {
  WriteHive("[SOFTWARE\\ORACLE\\ALL_HOMES]\nHOME_COUNTER=1\n");
  ASSERT_EQ(ReadMachineRegistryString("SOFTWARE\\ORACLE\\ALL_HOMES", "HOME_COUNTER"), "1");

  WriteHive("[SOFTWARE\\ORACLE\\ALL_HOMES]\nHOME_COUNTER=3\n");
  EXPECT_EQ(ReadMachineRegistryString("SOFTWARE\\ORACLE\\ALL_HOMES", "HOME_COUNTER"), "3");
}

TEST_F(RegistryTest, OracleHomeOfTheRootKeyFallsBackToTheEnvironment) {
  WriteEnvironmentVariable("ORACLE_HOME", "/u01/app/oracle/product/19c");

  // No file at all: an ordinary Linux installation.
  EXPECT_EQ(ReadMachineRegistryString("SOFTWARE\\ORACLE", "ORACLE_HOME"),
            "/u01/app/oracle/product/19c");
  EXPECT_EQ(ReadMachineRegistryString("software/oracle/", "oracle_home"),
            "/u01/app/oracle/product/19c");

  // A file that names other things, or gives the value empty.
  WriteHive("[SOFTWARE\\ORACLE]\nTNS_ADMIN=/etc/tns\nORACLE_HOME=\n");
  EXPECT_EQ(ReadMachineRegistryString("SOFTWARE\\ORACLE", "ORACLE_HOME"),
            "/u01/app/oracle/product/19c");
}

TEST_F(RegistryTest, TheFilesOracleHomeWinsOverTheEnvironment) {
  WriteEnvironmentVariable("ORACLE_HOME", "/from/environment");
  WriteHive("[SOFTWARE\\ORACLE]\nORACLE_HOME=/from/file\n");

  EXPECT_EQ(ReadMachineRegistryString("SOFTWARE\\ORACLE", "ORACLE_HOME"), "/from/file");
}

TEST_F(RegistryTest, TheEnvironmentStandsInForNoOtherKeyOrValue) {
  EnvironmentGuard tnsGuard("TNS_ADMIN");
  WriteEnvironmentVariable("ORACLE_HOME", "/from/environment");
  WriteEnvironmentVariable("TNS_ADMIN", "/tns/from/environment");

  EXPECT_EQ(ReadMachineRegistryString("SOFTWARE\\ORACLE\\HOME0", "ORACLE_HOME"), "");
  EXPECT_EQ(ReadMachineRegistryString("SOFTWARE", "ORACLE_HOME"), "");
  EXPECT_EQ(ReadMachineRegistryString("SOFTWARE\\ORACLE", "TNS_ADMIN"), "");
}

}  // namespace
}  // namespace vorn::platform
