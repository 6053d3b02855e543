// The process-wide locale settings that number and date texts follow.
//
// FormatSettings() is read from the process environment's locale on first
// use (newlocale(LC_ALL_MASK, "", 0) and nl_langinfo_l; the process's own C
// locale is left untouched). When the environment names no locale, or names
// C/POSIX, or a value is missing or is not a single byte where a character
// is needed, the fallback of DefaultFormatSettings() is used for that value:
//
//   DecimalSeparator '.'    ThousandSeparator ','    DateSeparator '/'
//   TimeSeparator ':'       ShortDateFormat "m/d/yyyy"
//   LongDateFormat "dddd, mmmm d, yyyy"
//   ShortTimeFormat "h:nn AMPM"   LongTimeFormat "h:nn:ss AMPM"
//   TimeAMString "AM"       TimePMString "PM"
//   English month and day names, CurrencyString "$", CurrencyFormat 0
//   ("$1"), NegCurrFormat 0 ("($1)"), CurrencyDecimals 2,
//   TwoDigitYearCenturyWindow 50.
//
// Date and time formats use the host's format codes (see DateTimeText.h);
// "/" and ":" in them stand for the date and time separators.
//
// The settings are plain data: change them at start-up or, in tests, through
// ScopedFormatSettings; they are not guarded against concurrent change.
#pragma once

#include <array>
#include <string>

namespace vorn {

struct TFormatSettings {
  char DecimalSeparator = '.';
  char ThousandSeparator = ',';
  char DateSeparator = '/';
  char TimeSeparator = ':';
  char ListSeparator = ',';
  std::string ShortDateFormat = "m/d/yyyy";
  std::string LongDateFormat = "dddd, mmmm d, yyyy";
  std::string ShortTimeFormat = "h:nn AMPM";
  std::string LongTimeFormat = "h:nn:ss AMPM";
  std::string TimeAMString = "AM";
  std::string TimePMString = "PM";
  // January first; Sunday first.
  std::array<std::string, 12> ShortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<std::string, 12> LongMonthNames{"January",   "February", "March",    "April",
                                             "May",       "June",     "July",     "August",
                                             "September", "October",  "November", "December"};
  std::array<std::string, 7> ShortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::array<std::string, 7> LongDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                          "Thursday", "Friday", "Saturday"};
  std::string CurrencyString = "$";
  // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $".
  int CurrencyFormat = 0;
  // 0 "($1)" ... 15 "(1 $)", the host's table of negative currency layouts.
  int NegCurrFormat = 0;
  int CurrencyDecimals = 2;
  // Two-digit years fall into the hundred years that start this many years
  // before the current one; 0 means the current century.
  int TwoDigitYearCenturyWindow = 50;
};

// The process-wide settings.
TFormatSettings& FormatSettings();

// The fallback values listed above.
TFormatSettings DefaultFormatSettings();

// The values the environment's locale gives, completed from the fallback.
TFormatSettings LocaleFormatSettings();

// Installs `settings` as the process-wide settings for its lifetime and puts
// the previous ones back when it ends.
class ScopedFormatSettings {
 public:
  explicit ScopedFormatSettings(const TFormatSettings& settings);
  ~ScopedFormatSettings();
  ScopedFormatSettings(const ScopedFormatSettings&) = delete;
  ScopedFormatSettings& operator=(const ScopedFormatSettings&) = delete;

 private:
  TFormatSettings saved_;
};

}  // namespace vorn
