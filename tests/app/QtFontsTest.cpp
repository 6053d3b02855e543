// The Windows font names of the forms on this platform.
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>

#include "QtFonts.h"
#include "QtTestSupport.h"

namespace vorn::qt_test {
namespace {

QString General() {
  return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

QString Fixed() {
  return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

TEST(QtFontsTest, AnAbsentWindowsFamilyTakesThePlatformsFamilyOfItsPitch) {
  if (QFontDatabase::hasFamily("MS Sans Serif") || QFontDatabase::hasFamily("Courier New")) {
    GTEST_SKIP() << "this platform has the Windows families";
  }

  EXPECT_EQ(PlatformFontFamily("MS Sans Serif"), General());
  EXPECT_EQ(PlatformFontFamily("ms sans serif"), General());
  EXPECT_EQ(PlatformFontFamily("Courier New"), Fixed());
  EXPECT_TRUE(QFontInfo(VornixFont("Courier New", 10)).fixedPitch());
}

TEST(QtFontsTest, FamiliesThePlatformHasAndUnknownNamesStayAsTheyAre) {
  const QStringList families = QFontDatabase::families();
  ASSERT_FALSE(families.isEmpty()) << "no fonts on this platform";

  EXPECT_EQ(PlatformFontFamily(families.first()), families.first());
  EXPECT_EQ(PlatformFontFamily("No Such Family"), "No Such Family");
}

TEST(QtFontsTest, TheStylesAndTheSizeAreApplied) {
  const QFont font = VornixFont("Courier New", 10, fsBold | fsItalic | fsUnderline | fsStrikeOut);

  EXPECT_EQ(font.pointSize(), 10);
  EXPECT_TRUE(font.bold());
  EXPECT_TRUE(font.italic());
  EXPECT_TRUE(font.underline());
  EXPECT_TRUE(font.strikeOut());
  EXPECT_FALSE(VornixFont("Courier New", 10).bold());
}

TEST(QtFontsTest, TheApplicationSubstitutesTheAbsentWindowsFamilies) {
  if (QFontDatabase::hasFamily("MS Sans Serif")) GTEST_SKIP() << "the platform has the family";

  EXPECT_EQ(QFont::substitute("MS Sans Serif").toLower(), General().toLower());
  EXPECT_EQ(QFontInfo(QFont("MS Sans Serif", 8)).family(), QFontInfo(QFont(General(), 8)).family());
}

}  // namespace
}  // namespace vorn::qt_test
