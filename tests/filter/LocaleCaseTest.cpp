// Which upper-casing each part of the filter uses. Case-insensitive
// comparisons upper-case both texts with the locale's rules (the host's
// AnsiUpperCase); UPPER and LOWER change "a"-"z" and "A"-"Z" only. In the C
// locale the two agree on every byte, so these tests run under a Latin-1
// locale, where a-umlaut (0xE4) upper-cases to A-umlaut (0xC4). They are
// skipped, saying so, when no Latin-1 locale is installed (tools/setup.sh
// generates en_US.ISO-8859-1).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "FilterTestSupport.h"

namespace vorn::filter_test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kLatin1Locales[] = {"en_US.ISO-8859-1", "en_US.iso88591", "de_DE.ISO-8859-1",
                                          "de_DE.iso88591"};

// Switches the character classes to a Latin-1 locale for one test.
class ScopedLatin1 {
 public:
  ScopedLatin1() {
    const char* current = std::setlocale(LC_CTYPE, nullptr);
    saved_ = current != nullptr ? current : "C";
    for (const char* name : kLatin1Locales) {
      if (std::setlocale(LC_CTYPE, name) != nullptr) {
        // Asked through the host's own routine: a compiler may fold
        // toupper of a constant as if the C locale were in effect.
        active_ = AnsiUpperCase("\xE4") == "\xC4";
        if (active_) return;
      }
    }
    std::setlocale(LC_CTYPE, saved_.c_str());
  }
  ~ScopedLatin1() { std::setlocale(LC_CTYPE, saved_.c_str()); }
  ScopedLatin1(const ScopedLatin1&) = delete;
  ScopedLatin1& operator=(const ScopedLatin1&) = delete;

  bool Active() const { return active_; }

 private:
  std::string saved_;
  bool active_ = false;
};

#define REQUIRE_LATIN1(scope)                                                               \
  if (!(scope).Active())                                                                    \
  GTEST_SKIP() << "No Latin-1 locale (en_US.ISO-8859-1) is installed, so locale-aware and " \
                  "a-z-only upper-casing cannot be told apart; tools/setup.sh generates it."

const std::string kLowerUmlaut = "\xE4";  // a-umlaut in Latin-1
const std::string kUpperUmlaut = "\xC4";  // A-umlaut

bool Holds(const std::string& text, TFilterOptions options = foNone) {
  return Parse(text, options)->AsBoolean();
}

TEST(LocaleCase, CaseInsensitiveComparisonUpperCasesByTheLocale) {
  ScopedLatin1 latin1;
  REQUIRE_LATIN1(latin1);

  EXPECT_TRUE(Holds("'b" + kLowerUmlaut + "r' = 'B" + kUpperUmlaut + "R'", foCaseInsensitive));
  EXPECT_TRUE(Holds("'b" + kLowerUmlaut + "r' = 'B" + kUpperUmlaut + "*'", foCaseInsensitive))
      << "the pattern is matched after upper-casing";
  EXPECT_FALSE(Holds("'" + kUpperUmlaut + "' <> '" + kLowerUmlaut + "'", foCaseInsensitive));
  EXPECT_FALSE(Holds("'b" + kLowerUmlaut + "r' = 'B" + kUpperUmlaut + "R'"))
      << "case matters without foCaseInsensitive";
}

TEST(LocaleCase, UpperAndLowerChangeOnlyAsciiLetters) {
  ScopedLatin1 latin1;
  REQUIRE_LATIN1(latin1);

  EXPECT_EQ(Parse("UPPER('b" + kLowerUmlaut + "r')")->AsString(), "B" + kLowerUmlaut + "R");
  EXPECT_EQ(Parse("LOWER('B" + kUpperUmlaut + "R')")->AsString(), "b" + kUpperUmlaut + "r");
  EXPECT_FALSE(Holds("UPPER('" + kLowerUmlaut + "') = '" + kUpperUmlaut + "'"));
}

class LocaleCaseDataSetTest : public EmployeeTest {};

TEST_F(LocaleCaseDataSetTest, ACaseInsensitiveFilterFindsNamesWithAccentedLetters) {
  ScopedLatin1 latin1;
  REQUIRE_LATIN1(latin1);
  ds->AddRow({9001, "M" + kUpperUmlaut + "LLER", "CLERK", 1000.0, Variant::MakeNull(), 10,
              Variant::FromDateTime(EncodeDate(1990, 1, 2)), false});

  EXPECT_THAT(Accepted("ENAME = 'm" + kLowerUmlaut + "ller'", foCaseInsensitive),
              ElementsAre("M" + kUpperUmlaut + "LLER"));
  EXPECT_THAT(Accepted("UPPER('m" + kLowerUmlaut + "ller') = ENAME"), IsEmpty());
}

}  // namespace
}  // namespace vorn::filter_test
