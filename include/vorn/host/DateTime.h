// The host's date-time value and the calendar arithmetic on it.
//
// A TDateTime is a double: whole days since 30 December 1899, plus the time
// of day as a fraction. Days before the origin are negative and their
// fraction still counts forward from midnight by its absolute value, so
// -1.25 is 29 December 1899 06:00. Years run from 1 to 9999.
//
// A TTimeStamp splits a value into a day number (1 January 0001 = day 1)
// and milliseconds since midnight; dates decode through it, rounding to the
// nearest millisecond. Encoding errors raise EConvertError ("Invalid
// argument to date encode", "Invalid argument to time encode"); a value
// outside the years 1..9999 (or not finite) raises EConvertError when it is
// decoded.
#pragma once

#include <cstdint>

namespace vorn {

using TDateTime = double;

struct TTimeStamp {
  int32_t Time;  // milliseconds since midnight
  int32_t Date;  // days, 1 January 0001 = 1
};

inline constexpr int32_t HoursPerDay = 24;
inline constexpr int32_t MinsPerHour = 60;
inline constexpr int32_t SecsPerMin = 60;
inline constexpr int32_t MSecsPerSec = 1000;
inline constexpr int32_t SecsPerDay = 86400;
inline constexpr int32_t MSecsPerDay = 86400000;
// Day number of 30 December 1899.
inline constexpr int32_t DateDelta = 693594;
inline constexpr TDateTime MinDateTime = -693593.0;  // 0001-01-01
inline constexpr TDateTime MaxDateTime =
    2958465.0 + 86399999.0 / 86400000.0;  // 9999-12-31 23:59:59.999

bool IsLeapYear(int year);
// Days in `month` of `year`; 0 for a month outside 1..12.
int DaysInAMonth(int year, int month);

bool TryEncodeDate(int year, int month, int day, TDateTime& date);
TDateTime EncodeDate(int year, int month, int day);
bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& time);
TDateTime EncodeTime(int hour, int min, int sec, int msec);
bool TryEncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec,
                       TDateTime& value);
TDateTime EncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec);
// Joins a date and a time of day, keeping the sign convention above.
TDateTime ComposeDateTime(TDateTime date, TDateTime time);

void DecodeDate(TDateTime value, uint16_t& year, uint16_t& month, uint16_t& day);
void DecodeTime(TDateTime value, uint16_t& hour, uint16_t& min, uint16_t& sec, uint16_t& msec);
void DecodeDateTime(TDateTime value, uint16_t& year, uint16_t& month, uint16_t& day, uint16_t& hour,
                    uint16_t& min, uint16_t& sec, uint16_t& msec);
// 1 = Sunday ... 7 = Saturday.
int DayOfWeek(TDateTime value);

TTimeStamp DateTimeToTimeStamp(TDateTime value);
TDateTime TimeStampToDateTime(const TTimeStamp& stamp);
double TimeStampToMSecs(const TTimeStamp& stamp);
TTimeStamp MSecsToTimeStamp(double msecs);

// The local clock: today at midnight, the time of day alone, both together.
TDateTime Date();
TDateTime Time();
TDateTime Now();
int CurrentYear();

}  // namespace vorn
