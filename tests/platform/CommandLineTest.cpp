// The command line as library code sees it: from a fresh child process, and
// through the test hook.
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "ChildProcess.h"
#include "vorn/platform/CommandLine.h"

namespace vorn::platform {
namespace {

TEST(CommandLineTest, ParametersAreThoseTheProcessWasStartedWith) {
  const testing::ChildResult child = testing::RunChild(
      VORN_PLATFORM_PROBE,
      {"params", "OCIDLL=/opt/oracle/lib/libclntsh.so", "two words", "", "UserId=scott/tiger@db"});

  ASSERT_EQ(child.exitCode, 0) << child.output;
  const std::string program = std::filesystem::canonical(VORN_PLATFORM_PROBE).string();
  EXPECT_EQ(child.output,
            "5\n[" + program +
                "]\n[params]\n[OCIDLL=/opt/oracle/lib/libclntsh.so]\n[two words]\n[]\n"
                "[UserId=scott/tiger@db]\n");
}

TEST(CommandLineTest, IndexesOutsideTheListGiveEmptyText) {
  SetCommandLineForTesting({"ORACLEHOME=OraHome81"});

  EXPECT_EQ(ParamStr(-1), "");
  EXPECT_EQ(ParamStr(2), "");
  EXPECT_EQ(ParamStr(1), "ORACLEHOME=OraHome81");
  ResetCommandLineForTesting();
}

TEST(CommandLineTest, TestHookReplacesParametersButNotTheProgramUntilReset) {
  const int realCount = ParamCount();
  const std::string realFirst = ParamStr(1);
  const std::string program = ParamStr(0);
  ASSERT_FALSE(program.empty());

  SetCommandLineForTesting({"OCIDLL=libclntsh.so", "ORACLEHOME=OraHome81", ""});
  EXPECT_EQ(ParamCount(), 3);
  EXPECT_EQ(ParamStr(0), program);
  EXPECT_EQ(ParamStr(1), "OCIDLL=libclntsh.so");
  EXPECT_EQ(ParamStr(2), "ORACLEHOME=OraHome81");
  EXPECT_EQ(ParamStr(3), "");

  SetCommandLineForTesting({});
  EXPECT_EQ(ParamCount(), 0);
  EXPECT_EQ(ParamStr(1), "");

  ResetCommandLineForTesting();
  EXPECT_EQ(ParamCount(), realCount);
  EXPECT_EQ(ParamStr(1), realFirst);
}

TEST(CommandLineTest, ReadersSeeOneWholeListWhileTheHookChangesIt) {
  const std::string a(100, 'a');
  const std::string b(200, 'b');
  SetCommandLineForTesting({a});
  std::thread writer([&] {
    for (int i = 0; i < 2000; ++i)
      SetCommandLineForTesting({i % 2 == 0 ? b : a, a});
  });
  for (int i = 0; i < 2000; ++i) {
    const std::string seen = ParamStr(1);
    ASSERT_TRUE(seen == a || seen == b) << "a torn parameter of length " << seen.size();
  }
  writer.join();
  ResetCommandLineForTesting();
}

}  // namespace
}  // namespace vorn::platform
