// Locale settings: the scoped override, the fallback for plain locales and
// the translation of the C library's date and time patterns.
#include "vorn/host/FormatSettings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "LocaleFormats.h"

namespace vorn {
namespace {

TEST(FormatSettingsTest, ScopedSettingsRestore) {
  TFormatSettings before = FormatSettings();
  {
    TFormatSettings german = DefaultFormatSettings();
    german.DecimalSeparator = ',';
    ScopedFormatSettings scope(german);
    EXPECT_EQ(FormatSettings().DecimalSeparator, ',');
    {
      ScopedFormatSettings inner(DefaultFormatSettings());
      EXPECT_EQ(FormatSettings().DecimalSeparator, '.');
    }
    EXPECT_EQ(FormatSettings().DecimalSeparator, ',');
  }
  EXPECT_EQ(FormatSettings().DecimalSeparator, before.DecimalSeparator);
  EXPECT_EQ(FormatSettings().ShortDateFormat, before.ShortDateFormat);
}

// Sets an environment variable for one test.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    ::setenv(name, value, 1);
  }
  ~ScopedEnv() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(FormatSettingsTest, PlainAndUnknownLocalesGiveTheFallback) {
  for (const char* locale : {"C", "POSIX", "C.UTF-8", "xx_NOWHERE.UTF-8"}) {
    ScopedEnv env("LC_ALL", locale);
    TFormatSettings s = LocaleFormatSettings();
    TFormatSettings d = DefaultFormatSettings();
    EXPECT_EQ(s.DecimalSeparator, d.DecimalSeparator) << locale;
    EXPECT_EQ(s.ShortDateFormat, "m/d/yyyy") << locale;
    EXPECT_EQ(s.LongTimeFormat, "h:nn:ss AMPM") << locale;
    EXPECT_EQ(s.DateSeparator, '/') << locale;
    EXPECT_EQ(s.LongMonthNames[0], "January") << locale;
  }
}

std::string Translate(const char* format, char code, char* separator = nullptr) {
  std::optional<char> sep;
  auto result = TranslateStrftime(format, code, sep);
  if (separator) *separator = sep.value_or('?');
  return result.value_or("<none>");
}

TEST(FormatSettingsTest, TranslatesDatePatterns) {
  char sep;
  EXPECT_EQ(Translate("%m/%d/%Y", '/', &sep), "mm/dd/yyyy");
  EXPECT_EQ(sep, '/');
  EXPECT_EQ(Translate("%d.%m.%Y", '/', &sep), "dd/mm/yyyy");
  EXPECT_EQ(sep, '.');
  EXPECT_EQ(Translate("%F", '/', &sep), "yyyy/mm/dd");
  EXPECT_EQ(sep, '-');
  EXPECT_EQ(Translate("%D", '/'), "mm/dd/yy");
  EXPECT_EQ(Translate("%e %B %Y", '/'), "d mmmm yyyy");
  EXPECT_EQ(Translate("%a %d %b", '/'), "ddd dd mmm");
  EXPECT_EQ(Translate("%Y\xE5\xB9\xB4%m", '/'), "<none>");
  EXPECT_EQ(Translate("%Q", '/'), "<none>");
  EXPECT_EQ(Translate("", '/'), "<none>");
  EXPECT_EQ(Translate("%", '/'), "<none>");
}

TEST(FormatSettingsTest, TranslatesTimePatterns) {
  char sep;
  EXPECT_EQ(Translate("%r", ':', &sep), "hh:nn:ss AMPM");
  EXPECT_EQ(sep, ':');
  EXPECT_EQ(Translate("%T", ':'), "hh:nn:ss");
  EXPECT_EQ(Translate("%H.%M.%S", ':', &sep), "hh:nn:ss");
  EXPECT_EQ(sep, '.');
  EXPECT_EQ(Translate("%Hh%M", ':'), "hh\"h\"nn");
  EXPECT_EQ(Translate("%l:%M:%S %p %Z", ':'), "h:nn:ss AMPM");
  EXPECT_EQ(WithoutSeconds("hh:nn:ss AMPM"), "hh:nn AMPM");
  EXPECT_EQ(WithoutSeconds("h:nn:s"), "h:nn");
  EXPECT_EQ(WithoutSeconds("hh:nn"), "hh:nn");
}

}  // namespace
}  // namespace vorn
