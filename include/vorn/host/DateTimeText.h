// Date-time values as text: FormatDateTime and its shorthands, and the
// parsers that read dates and times by the locale settings.
//
// Format codes (letters in either case; a run of the same character counts):
//   c       short date, then " " and the long time unless the time is 00:00:00.000
//   d dd    day without / with leading zero    ddd dddd  short / long day name
//   ddddd   short date format                  dddddd    long date format
//   m mm    month (minutes right after an h code)  mmm mmmm  month names
//   yy yyyy two- / four-digit year
//   h hh    hour (12-hour when an am/pm code follows)   n nn  minutes
//   s ss    seconds      z zzz  milliseconds    t tt  short / long time format
//   am/pm a/p           the letters as written, by the hour (12-hour clock)
//   ampm                TimeAMString / TimePMString (12-hour clock)
//   /  :                date and time separators
//   "text" 'text'       copied as it stands; any other character is copied
// An empty format means "c".
//
// Parsing reads numbers only: the date as two or three numbers joined by the
// date separator, in the order of the first of the letters d, m, y in
// ShortDateFormat (two numbers take the current year; a year of one or two
// digits is placed by TwoDigitYearCenturyWindow); the time as hour[:min[:sec
// [.fraction]]] with an optional AM/PM marker (the locale's or the English
// one) before or after it. Blanks around the parts are allowed. Failures
// raise EConvertError "'text' is not a valid date" (time / date and time).
#pragma once

#include <string>
#include <string_view>

#include "vorn/host/DateTime.h"
#include "vorn/host/FormatSettings.h"

namespace vorn {

std::string FormatDateTime(std::string_view format, TDateTime value,
                           const TFormatSettings& settings = FormatSettings());
// "c", "ddddd" and "tt".
std::string DateTimeToStr(TDateTime value, const TFormatSettings& settings = FormatSettings());
std::string DateToStr(TDateTime value, const TFormatSettings& settings = FormatSettings());
std::string TimeToStr(TDateTime value, const TFormatSettings& settings = FormatSettings());

bool TryStrToDate(std::string_view text, TDateTime& value,
                  const TFormatSettings& settings = FormatSettings());
bool TryStrToTime(std::string_view text, TDateTime& value,
                  const TFormatSettings& settings = FormatSettings());
// A date, optionally followed by a time; or a time alone.
bool TryStrToDateTime(std::string_view text, TDateTime& value,
                      const TFormatSettings& settings = FormatSettings());
TDateTime StrToDate(std::string_view text, const TFormatSettings& settings = FormatSettings());
TDateTime StrToTime(std::string_view text, const TFormatSettings& settings = FormatSettings());
TDateTime StrToDateTime(std::string_view text, const TFormatSettings& settings = FormatSettings());

}  // namespace vorn
