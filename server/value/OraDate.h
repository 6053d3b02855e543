// Oracle's DATE: a calendar date and a time of day to the second, no time
// zone. The server stores a DATE as SQLite INTEGER seconds since
// 1970-01-01 00:00:00 in the proleptic Gregorian calendar; OraDate is the
// broken-down form. Years run from 4712 BC to 9999 AD and there is no year
// 0: year -1 is 1 BC (Oracle's own numbering, which TO_CHAR's SYYYY prints).
//
// Oracle itself switches to the Julian calendar before 15 October 1582; the
// server does not, so dates before then differ from Oracle's by the usual
// calendar offset (J, the Julian day number, matches Oracle from 1582 on).
#pragma once

#include <cstdint>

namespace vorn::server {

constexpr int kMinYear = -4712;
constexpr int kMaxYear = 9999;
constexpr int64_t kSecondsPerDay = 86400;

struct OraDate {
  int year = 1970;  // -4712..9999, never 0; negative years are BC
  int month = 1;    // 1..12
  int day = 1;      // 1..31
  int hour = 0;     // 0..23
  int minute = 0;   // 0..59
  int second = 0;   // 0..59

  // No range check: any int64 gives a date (callers keep DATE values in
  // range with checkDateSeconds).
  static OraDate fromSeconds(int64_t seconds);
  int64_t toSeconds() const;

  bool isValid() const;
  // Raises the ORA error Oracle gives for the first invalid field:
  // ORA-01841 year, 01843 month, 01847 day outside 1..31, 01839 day past the
  // end of the month, 01850 hour, 01851 minute, 01852 second.
  void validate() const;

  friend bool operator==(const OraDate&, const OraDate&) = default;
};

// Seconds of 4712 BC-01-01 00:00:00 and 9999-12-31 23:59:59.
int64_t minDateSeconds();
int64_t maxDateSeconds();
// Raises ORA-01841 when `seconds` lies outside the DATE range (date
// arithmetic past 9999 or before 4712 BC).
void checkDateSeconds(int64_t seconds);

bool isLeapYear(int year);  // Oracle year numbering (no year 0)
int daysInMonth(int year, int month);
// Days since 1970-01-01 of the given calendar day (Oracle year numbering).
int64_t daysFromCivil(int year, int month, int day);
// Inverse of daysFromCivil.
void civilFromDays(int64_t days, int& year, int& month, int& day);
// 0 = Sunday .. 6 = Saturday, for days since 1970-01-01.
int weekdayOfDays(int64_t days);
// 1..366
int dayOfYear(const OraDate& d);
// Julian day number (TO_CHAR's J): 2440588 for 1970-01-01.
int64_t julianDay(int64_t days);
constexpr int64_t kJulianDayOfEpoch = 2440588;
// ISO 8601 week (1..53) and the ISO year it belongs to.
void isoWeek(const OraDate& d, int& isoYear, int& week);
// Days since 1970-01-01 of the Monday starting ISO week 1 of `isoYear`.
int64_t isoYearStartDays(int isoYear);

// The 7-byte DATE of the call interface: century + 100, year of century +
// 100, month, day, hour + 1, minute + 1, second + 1; BC years as
// 100 - century, 100 - year of century (4712 BC = 53, 88).
void encodeDate7(const OraDate& d, unsigned char* out);
// Decodes and validates (the ORA errors of OraDate::validate).
OraDate decodeDate7(const unsigned char* in);

}  // namespace vorn::server
