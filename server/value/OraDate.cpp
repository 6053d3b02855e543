// Calendar arithmetic of DATE values; see OraDate.h. The day counts use the
// proleptic Gregorian algorithms on astronomical years (1 BC = year 0).
#include "value/OraDate.h"

#include "value/OraError.h"

namespace vorn::server {
namespace {

int astronomical(int year) {
  return year < 0 ? year + 1 : year;
}
int oracleYear(int64_t astro) {
  return static_cast<int>(astro <= 0 ? astro - 1 : astro);
}

int64_t floorDiv(int64_t a, int64_t b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

}  // namespace

bool isLeapYear(int year) {
  int y = astronomical(year);
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month == 2 && isLeapYear(year)) return 29;
  return kDays[month - 1];
}

int64_t daysFromCivil(int year, int month, int day) {
  int64_t y = astronomical(year) - (month <= 2 ? 1 : 0);
  int64_t era = floorDiv(y, 400);
  int64_t yoe = y - era * 400;
  int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void civilFromDays(int64_t days, int& year, int& month, int& day) {
  int64_t z = days + 719468;
  int64_t era = floorDiv(z, 146097);
  int64_t doe = z - era * 146097;
  int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = oracleYear(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

int weekdayOfDays(int64_t days) {
  // 1970-01-01 was a Thursday.
  int64_t w = (days + 4) % 7;
  return static_cast<int>(w < 0 ? w + 7 : w);
}

int dayOfYear(const OraDate& d) {
  return static_cast<int>(daysFromCivil(d.year, d.month, d.day) - daysFromCivil(d.year, 1, 1)) + 1;
}

int64_t julianDay(int64_t days) {
  return days + kJulianDayOfEpoch;
}

int64_t isoYearStartDays(int isoYear) {
  int64_t jan4 = daysFromCivil(isoYear, 1, 4);
  int mondayBased = (weekdayOfDays(jan4) + 6) % 7;  // 0 = Monday
  return jan4 - mondayBased;
}

void isoWeek(const OraDate& d, int& isoYear, int& week) {
  int64_t days = daysFromCivil(d.year, d.month, d.day);
  int mondayBased = (weekdayOfDays(days) + 6) % 7;
  int64_t thursday = days - mondayBased + 3;
  int y, m, dd;
  civilFromDays(thursday, y, m, dd);
  isoYear = y;
  week = static_cast<int>((thursday - daysFromCivil(y, 1, 1)) / 7 + 1);
}

OraDate OraDate::fromSeconds(int64_t seconds) {
  int64_t days = floorDiv(seconds, kSecondsPerDay);
  int64_t rest = seconds - days * kSecondsPerDay;
  OraDate d;
  civilFromDays(days, d.year, d.month, d.day);
  d.hour = static_cast<int>(rest / 3600);
  d.minute = static_cast<int>(rest / 60 % 60);
  d.second = static_cast<int>(rest % 60);
  return d;
}

int64_t OraDate::toSeconds() const {
  return daysFromCivil(year, month, day) * kSecondsPerDay + hour * 3600 + minute * 60 + second;
}

bool OraDate::isValid() const {
  return year >= kMinYear && year <= kMaxYear && year != 0 && month >= 1 && month <= 12 &&
         day >= 1 && day <= daysInMonth(year, month) && hour >= 0 && hour <= 23 && minute >= 0 &&
         minute <= 59 && second >= 0 && second <= 59;
}

void OraDate::validate() const {
  if (year < kMinYear || year > kMaxYear || year == 0) raiseOra(1841);
  if (month < 1 || month > 12) raiseOra(1843);
  if (day < 1 || day > 31) raiseOra(1847);
  if (day > daysInMonth(year, month)) raiseOra(1839);
  if (hour < 0 || hour > 23) raiseOra(1850);
  if (minute < 0 || minute > 59) raiseOra(1851);
  if (second < 0 || second > 59) raiseOra(1852);
}

int64_t minDateSeconds() {
  static const int64_t seconds = daysFromCivil(kMinYear, 1, 1) * kSecondsPerDay;
  return seconds;
}
int64_t maxDateSeconds() {
  static const int64_t seconds = daysFromCivil(kMaxYear, 12, 31) * kSecondsPerDay + 86399;
  return seconds;
}

void checkDateSeconds(int64_t seconds) {
  if (seconds < minDateSeconds() || seconds > maxDateSeconds()) raiseOra(1841);
}

void encodeDate7(const OraDate& d, unsigned char* out) {
  int y = d.year < 0 ? -d.year : d.year;
  if (d.year >= 0) {
    out[0] = static_cast<unsigned char>(y / 100 + 100);
    out[1] = static_cast<unsigned char>(y % 100 + 100);
  } else {
    out[0] = static_cast<unsigned char>(100 - y / 100);
    out[1] = static_cast<unsigned char>(100 - y % 100);
  }
  out[2] = static_cast<unsigned char>(d.month);
  out[3] = static_cast<unsigned char>(d.day);
  out[4] = static_cast<unsigned char>(d.hour + 1);
  out[5] = static_cast<unsigned char>(d.minute + 1);
  out[6] = static_cast<unsigned char>(d.second + 1);
}

OraDate decodeDate7(const unsigned char* in) {
  OraDate d;
  d.year = (in[0] - 100) * 100 + (in[1] - 100);
  d.month = in[2];
  d.day = in[3];
  d.hour = in[4] - 1;
  d.minute = in[5] - 1;
  d.second = in[6] - 1;
  d.validate();
  return d;
}

}  // namespace vorn::server
