// Calendar arithmetic on TDateTime: the proleptic Gregorian calendar from
// 1 January 0001, with day 1 of the time stamp being that date.
#include "vorn/host/DateTime.h"

#include <chrono>
#include <cmath>
#include <ctime>

#include "vorn/host/Exceptions.h"

namespace vorn {
namespace {

constexpr int kMonthDays[2][12] = {{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                                   {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};

// The days of the year before each month.
constexpr int kDaysBeforeMonth[2][12] = {{0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334},
                                         {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335}};

// The time stamp's day number of a valid date.
int32_t DayNumber(int year, int month, int day) {
  day += kDaysBeforeMonth[IsLeapYear(year)][month - 1];
  int y = year - 1;
  return y * 365 + y / 4 - y / 100 + y / 400 + day;
}

void DecodeDayNumber(int32_t dayNumber, uint16_t& year, uint16_t& month, uint16_t& day) {
  constexpr int32_t D1 = 365, D4 = D1 * 4 + 1, D100 = D4 * 25 - 1, D400 = D100 * 4 + 1;
  if (dayNumber <= 0) {
    year = month = day = 0;
    return;
  }
  int32_t t = dayNumber - 1;
  int y = 1;
  y += 400 * (t / D400);
  t %= D400;
  int32_t i = t / D100;
  int32_t d = t % D100;
  if (i == 4) {
    --i;
    d += D100;
  }
  y += i * 100;
  y += 4 * (d / D4);
  d %= D4;
  i = d / D1;
  d %= D1;
  if (i == 4) {
    --i;
    d += D1;
  }
  y += i;
  const int* table = kMonthDays[IsLeapYear(y)];
  int m = 1;
  while (d >= table[m - 1]) {
    d -= table[m - 1];
    ++m;
  }
  year = static_cast<uint16_t>(y);
  month = static_cast<uint16_t>(m);
  day = static_cast<uint16_t>(d + 1);
}

}  // namespace

bool IsLeapYear(int year) {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInAMonth(int year, int month) {
  if (month < 1 || month > 12) return 0;
  return kMonthDays[IsLeapYear(year)][month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& date) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInAMonth(year, month)) {
    return false;
  }
  date = static_cast<TDateTime>(DayNumber(year, month, day) - DateDelta);
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime date;
  if (!TryEncodeDate(year, month, day, date)) {
    throw EConvertError("Invalid argument to date encode");
  }
  return date;
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& time) {
  if (hour < 0 || hour >= HoursPerDay || min < 0 || min >= MinsPerHour || sec < 0 ||
      sec >= SecsPerMin || msec < 0 || msec >= MSecsPerSec) {
    return false;
  }
  int32_t ms = ((hour * MinsPerHour + min) * SecsPerMin + sec) * MSecsPerSec + msec;
  time = static_cast<TDateTime>(ms) / MSecsPerDay;
  return true;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec) {
  TDateTime time;
  if (!TryEncodeTime(hour, min, sec, msec, time)) {
    throw EConvertError("Invalid argument to time encode");
  }
  return time;
}

bool TryEncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec,
                       TDateTime& value) {
  TDateTime date, time;
  if (!TryEncodeDate(year, month, day, date) || !TryEncodeTime(hour, min, sec, msec, time)) {
    return false;
  }
  value = ComposeDateTime(date, time);
  return true;
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec) {
  return ComposeDateTime(EncodeDate(year, month, day), EncodeTime(hour, min, sec, msec));
}

TDateTime ComposeDateTime(TDateTime date, TDateTime time) {
  double day = std::trunc(date);
  double fraction = std::fabs(time - std::trunc(time));
  return date < 0 ? day - fraction : day + fraction;
}

// Day number of 31 December 9999.
constexpr int32_t kLastDay = 3652059;

TTimeStamp DateTimeToTimeStamp(TDateTime value) {
  if (std::isfinite(value) && std::fabs(value) < 1e7) {
    auto ms = static_cast<int64_t>(std::nearbyint(value * MSecsPerDay));
    TTimeStamp stamp;
    stamp.Date = static_cast<int32_t>(DateDelta + ms / MSecsPerDay);
    stamp.Time = static_cast<int32_t>((ms < 0 ? -ms : ms) % MSecsPerDay);
    if (stamp.Date >= 1 && stamp.Date <= kLastDay) return stamp;
  }
  throw EConvertError("Date-time value out of range");
}

TDateTime TimeStampToDateTime(const TTimeStamp& stamp) {
  double days = stamp.Date - DateDelta;
  double fraction = static_cast<double>(stamp.Time) / MSecsPerDay;
  return days >= 0 ? days + fraction : days - fraction;
}

double TimeStampToMSecs(const TTimeStamp& stamp) {
  return static_cast<double>(stamp.Date) * MSecsPerDay + stamp.Time;
}

TTimeStamp MSecsToTimeStamp(double msecs) {
  if (!std::isfinite(msecs) || msecs < 0 || msecs >= 1e16) {
    throw EConvertError("Date-time value out of range");
  }
  auto ms = static_cast<int64_t>(msecs);
  TTimeStamp stamp;
  stamp.Date = static_cast<int32_t>(ms / MSecsPerDay);
  stamp.Time = static_cast<int32_t>(ms % MSecsPerDay);
  return stamp;
}

void DecodeDate(TDateTime value, uint16_t& year, uint16_t& month, uint16_t& day) {
  DecodeDayNumber(DateTimeToTimeStamp(value).Date, year, month, day);
}

namespace {

void DecodeMilliseconds(int32_t ms, uint16_t& hour, uint16_t& min, uint16_t& sec, uint16_t& msec) {
  hour = static_cast<uint16_t>(ms / 3600000);
  min = static_cast<uint16_t>(ms / 60000 % 60);
  sec = static_cast<uint16_t>(ms / 1000 % 60);
  msec = static_cast<uint16_t>(ms % 1000);
}

}  // namespace

void DecodeTime(TDateTime value, uint16_t& hour, uint16_t& min, uint16_t& sec, uint16_t& msec) {
  DecodeMilliseconds(DateTimeToTimeStamp(value).Time, hour, min, sec, msec);
}

// One conversion to a time stamp for both halves: every DATE bound or
// written goes through here.
void DecodeDateTime(TDateTime value, uint16_t& year, uint16_t& month, uint16_t& day, uint16_t& hour,
                    uint16_t& min, uint16_t& sec, uint16_t& msec) {
  const TTimeStamp stamp = DateTimeToTimeStamp(value);
  DecodeDayNumber(stamp.Date, year, month, day);
  DecodeMilliseconds(stamp.Time, hour, min, sec, msec);
}

int DayOfWeek(TDateTime value) {
  return DateTimeToTimeStamp(value).Date % 7 + 1;
}

TDateTime Now() {
  auto now = std::chrono::system_clock::now();
  std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
  std::tm local{};
  localtime_r(&seconds, &local);
  return EncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                        local.tm_min, local.tm_sec == 60 ? 59 : local.tm_sec,
                        static_cast<int>((ms % 1000 + 1000) % 1000));
}

TDateTime Date() {
  return std::trunc(Now());
}

TDateTime Time() {
  TDateTime now = Now();
  return now - std::trunc(now);
}

int CurrentYear() {
  uint16_t year, month, day;
  DecodeDate(Now(), year, month, day);
  return year;
}

}  // namespace vorn
