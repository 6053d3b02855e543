// Joining and taking apart path text.
#include <gtest/gtest.h>

#include "vorn/platform/Paths.h"

namespace vorn::platform {
namespace {

TEST(PathsTest, JoinPutsExactlyOneSeparatorBetweenParts) {
  EXPECT_EQ(PathJoin("/opt/oracle", "bin"), "/opt/oracle/bin");
  EXPECT_EQ(PathJoin("/opt/oracle/", "bin"), "/opt/oracle/bin");
  EXPECT_EQ(PathJoin("/opt/oracle", "/bin"), "/opt/oracle/bin");
  EXPECT_EQ(PathJoin("C:\\orant\\", "bin"), "C:\\orant\\bin") << "a folder ending in \\ keeps it";
  EXPECT_EQ(PathJoin("/", "etc"), "/etc");
  EXPECT_EQ(PathJoin("home", "Network\\Admin"), "home/Network\\Admin");
}

TEST(PathsTest, JoinWithAnEmptyPartGivesTheOther) {
  EXPECT_EQ(PathJoin("", "tnsnames.ora"), "tnsnames.ora");
  EXPECT_EQ(PathJoin("/opt/oracle", ""), "/opt/oracle");
  EXPECT_EQ(PathJoin("", ""), "");
}

TEST(PathsTest, FileDirIsEverythingBeforeTheLastSeparator) {
  EXPECT_EQ(ExtractFileDir("/opt/oracle/bin/libclntsh.so"), "/opt/oracle/bin");
  EXPECT_EQ(ExtractFileDir("C:\\orant\\bin\\ora805.dll"), "C:\\orant\\bin");
  EXPECT_EQ(ExtractFileDir("/opt/oracle\\bin/oci.dll"), "/opt/oracle\\bin");
  EXPECT_EQ(ExtractFileDir("/libclntsh.so"), "/");
  EXPECT_EQ(ExtractFileDir("/opt//oci.dll"), "/opt");
  EXPECT_EQ(ExtractFileDir("lib/"), "lib");
  EXPECT_EQ(ExtractFileDir("libclntsh.so"), "");
  EXPECT_EQ(ExtractFileDir(""), "");
}

TEST(PathsTest, FileNameIsEverythingAfterTheLastSeparator) {
  EXPECT_EQ(ExtractFileName("/opt/oracle/bin/libclntsh.so"), "libclntsh.so");
  EXPECT_EQ(ExtractFileName("C:\\orant\\bin\\ORA805.DLL"), "ORA805.DLL");
  EXPECT_EQ(ExtractFileName("libclntsh.so"), "libclntsh.so");
  EXPECT_EQ(ExtractFileName("lib/"), "");
  EXPECT_EQ(ExtractFileName(""), "");
}

}  // namespace
}  // namespace vorn::platform
