// Whole-file reads and line splitting.
#include <gtest/gtest.h>

#include "TempFolder.h"
#include "vorn/platform/TextFile.h"

namespace vorn::platform {
namespace {

using Lines = std::vector<std::string>;

TEST(TextFileTest, SplitLinesAcceptsEveryLineEnd) {
  EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n\r\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(SplitLines("a\n\rb"), (Lines{"a", "", "b"})) << "LF CR is two line ends";
  EXPECT_EQ(SplitLines("\n"), (Lines{""}));
}

TEST(TextFileTest, AFinalLineEndStartsNoExtraLine) {
  EXPECT_EQ(SplitLines("a\r\nb\r\n"), (Lines{"a", "b"}));
  EXPECT_EQ(SplitLines("a\nb"), (Lines{"a", "b"}));
  EXPECT_EQ(SplitLines("a\r"), (Lines{"a"}));
  EXPECT_EQ(SplitLines(""), Lines{});
}

TEST(TextFileTest, ReadsFilesByteForByte) {
  testing::TempFolder temp;
  const std::string content = std::string("SALES.WORLD =\r\n  (DESCRIPTION\r\n\0\xFF)", 34);
  const std::string file = temp.WriteFile("tnsnames.ora", content);

  EXPECT_EQ(ReadFileText(file), content);
  EXPECT_EQ(ReadTextFileLines(file),
            (Lines{"SALES.WORLD =", "  (DESCRIPTION", std::string("\0\xFF)", 3)}));
}

TEST(TextFileTest, EmptyFileHasNoLines) {
  testing::TempFolder temp;
  const std::string file = temp.WriteFile("empty.ora");

  EXPECT_EQ(ReadFileText(file), std::string());
  EXPECT_EQ(ReadTextFileLines(file), Lines{});
}

TEST(TextFileTest, MissingFilesAndFoldersCannotBeRead) {
  testing::TempFolder temp;

  EXPECT_EQ(ReadFileText(temp / "missing.ora"), std::nullopt);
  EXPECT_EQ(ReadTextFileLines(temp / "missing.ora"), std::nullopt);
  EXPECT_EQ(ReadFileText(temp.Path()), std::nullopt);
}

}  // namespace
}  // namespace vorn::platform
