// Wildcard matching of file names.
#include <gtest/gtest.h>

#include "vorn/platform/FileSystem.h"

namespace vorn::platform {
namespace {

TEST(FileMaskTest, StarMatchesAnyRunIgnoringCase) {
  EXPECT_TRUE(MatchesFileMask("ORA805.DLL", "ora*.dll"));
  EXPECT_TRUE(MatchesFileMask("oraNT73.dll", "ORA*.DLL"));
  EXPECT_TRUE(MatchesFileMask("ora.dll", "ora*.dll")) << "a star may match nothing";
  EXPECT_TRUE(MatchesFileMask("anything at all", "*"));
  EXPECT_TRUE(MatchesFileMask("", "*"));
  EXPECT_FALSE(MatchesFileMask("oci.dll", "ora*.dll"));
  EXPECT_FALSE(MatchesFileMask("ora805.dll.bak", "ora*.dll"));
  EXPECT_FALSE(MatchesFileMask("xora805.dll", "ora*.dll"));
}

TEST(FileMaskTest, QuestionMarkMatchesExactlyOneCharacter) {
  EXPECT_TRUE(MatchesFileMask("ora8.dll", "ora?.dll"));
  EXPECT_FALSE(MatchesFileMask("ora.dll", "ora?.dll"));
  EXPECT_FALSE(MatchesFileMask("ora80.dll", "ora?.dll"));
  EXPECT_TRUE(MatchesFileMask("ora80.dll", "ora??.*"));
}

TEST(FileMaskTest, SeveralStarsBacktrackToALaterOccurrence) {
  EXPECT_TRUE(MatchesFileMask("ora_ora_x.dll.dll", "ora*.dll"));
  EXPECT_TRUE(MatchesFileMask("abcabcabd", "*ab?"));
  EXPECT_TRUE(MatchesFileMask("a-b-c-d", "a*b*c*d"));
  EXPECT_FALSE(MatchesFileMask("a-b-d-c", "a*b*c*d"));
  EXPECT_FALSE(MatchesFileMask(std::string(200, 'a'), std::string(20, '*') + "b"));
  EXPECT_TRUE(MatchesFileMask(std::string(200, 'a') + "b", "*a*a*a*a*a*b"));
}

TEST(FileMaskTest, OtherCharactersStandForThemselves) {
  EXPECT_TRUE(MatchesFileMask("[x].dll", "[x].dll"));
  EXPECT_FALSE(MatchesFileMask("x.dll", "[x].dll"));
  EXPECT_FALSE(MatchesFileMask("oraXdll", "ora.dll"));
  EXPECT_FALSE(MatchesFileMask("", "?"));
  EXPECT_TRUE(MatchesFileMask("", ""));
  EXPECT_FALSE(MatchesFileMask("a", ""));
}

}  // namespace
}  // namespace vorn::platform
