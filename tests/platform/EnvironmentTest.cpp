// Environment variables: read, write, remove, and unset told from empty.
#include <gtest/gtest.h>

#include "vorn/platform/Environment.h"

namespace vorn::platform {
namespace {

constexpr const char* kName = "VORN_PLATFORM_TEST_VARIABLE";

class EnvironmentTest : public ::testing::Test {
 protected:
  EnvironmentTest() { RemoveEnvironmentVariable(kName); }
  ~EnvironmentTest() override { RemoveEnvironmentVariable(kName); }
};

TEST_F(EnvironmentTest, WrittenValueIsReadBackAndReplaced) {
  ASSERT_TRUE(WriteEnvironmentVariable(kName, "first value"));
  EXPECT_EQ(ReadEnvironmentVariable(kName), "first value");

  ASSERT_TRUE(WriteEnvironmentVariable(kName, "second"));
  EXPECT_EQ(ReadEnvironmentVariable(kName), "second");
}

TEST_F(EnvironmentTest, UnsetIsToldApartFromEmpty) {
  EXPECT_EQ(FindEnvironmentVariable(kName), std::nullopt);
  EXPECT_EQ(ReadEnvironmentVariable(kName), "");

  ASSERT_TRUE(WriteEnvironmentVariable(kName, ""));
  EXPECT_EQ(FindEnvironmentVariable(kName), std::optional<std::string>(""));

  ASSERT_TRUE(RemoveEnvironmentVariable(kName));
  EXPECT_EQ(FindEnvironmentVariable(kName), std::nullopt);
  EXPECT_TRUE(RemoveEnvironmentVariable(kName)) << "removing an unset variable";
}

TEST_F(EnvironmentTest, NamesAndValuesTheSystemWouldMangleAreRefused) {
  EXPECT_FALSE(WriteEnvironmentVariable("", "x"));
  EXPECT_FALSE(WriteEnvironmentVariable("A=B", "x"));
  EXPECT_FALSE(WriteEnvironmentVariable(std::string(kName) + std::string(1, '\0') + "X", "x"));
  EXPECT_FALSE(WriteEnvironmentVariable(kName, std::string("cut") + '\0' + "here"));
  EXPECT_EQ(FindEnvironmentVariable(kName), std::nullopt) << "nothing was set under a cut name";
  EXPECT_FALSE(RemoveEnvironmentVariable(""));
  EXPECT_EQ(FindEnvironmentVariable("A=B"), std::nullopt);
}

}  // namespace
}  // namespace vorn::platform
