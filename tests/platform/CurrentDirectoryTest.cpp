// The current directory: round trip, failure leaves it alone.
#include <gtest/gtest.h>

#include <filesystem>

#include "TempFolder.h"
#include "vorn/platform/CurrentDirectory.h"

namespace vorn::platform {
namespace {

class CurrentDirectoryTest : public ::testing::Test {
 protected:
  CurrentDirectoryTest() : saved_(std::filesystem::current_path()) {}
  ~CurrentDirectoryTest() override { std::filesystem::current_path(saved_); }

  std::filesystem::path saved_;
  testing::TempFolder temp_;
};

TEST_F(CurrentDirectoryTest, GetGivesTheSystemsCurrentDirectory) {
  EXPECT_EQ(GetCurrentDir(), std::filesystem::current_path().string());
}

TEST_F(CurrentDirectoryTest, SetThenGetRoundTrips) {
  const std::string target = std::filesystem::canonical(temp_.MakeFolder("bin")).string();

  ASSERT_TRUE(SetCurrentDir(target));
  EXPECT_EQ(GetCurrentDir(), target);

  ASSERT_TRUE(SetCurrentDir(".."));
  EXPECT_EQ(GetCurrentDir(), std::filesystem::path(target).parent_path().string());
}

TEST_F(CurrentDirectoryTest, FailedSetLeavesTheDirectoryUnchanged) {
  const std::string file = temp_.WriteFile("oci.dll");
  const std::string before = GetCurrentDir();

  EXPECT_FALSE(SetCurrentDir(temp_ / "missing"));
  EXPECT_FALSE(SetCurrentDir(file));
  EXPECT_FALSE(SetCurrentDir(""));
  EXPECT_EQ(GetCurrentDir(), before);
}

TEST_F(CurrentDirectoryTest, LongPathsAreReadInFull) {
  // Deeper than the first buffer GetCurrentDir tries.
  std::string relative;
  for (int i = 0; i < 20; ++i)
    relative += std::string(30, static_cast<char>('a' + i)) + "/";
  const std::string deep = std::filesystem::canonical(temp_.MakeFolder(relative)).string();
  ASSERT_GT(deep.size(), 600U);

  ASSERT_TRUE(SetCurrentDir(deep));
  EXPECT_EQ(GetCurrentDir(), deep);
}

}  // namespace
}  // namespace vorn::platform
