// Date arithmetic and the date SQL functions; see DateFunctions.h.
#include "value/DateFunctions.h"
#include "value/AsciiCase.h"

#include <cctype>
#include <cmath>
#include <string>

#include "value/OraDate.h"
#include "value/OraError.h"

namespace vorn::server {
namespace {

int64_t checked(int64_t seconds) {
  checkDateSeconds(seconds);
  return seconds;
}

int64_t floorDiv(int64_t a, int64_t b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

int astronomical(int year) {
  return year < 0 ? year + 1 : year;
}
int oracleYear(int64_t astro) {
  return static_cast<int>(astro <= 0 ? astro - 1 : astro);
}

int64_t dayStart(int64_t days) {
  return days * kSecondsPerDay;
}

// Months since year 0 (astronomical), for month arithmetic.
int64_t monthIndex(const OraDate& d) {
  return int64_t{astronomical(d.year)} * 12 + d.month - 1;
}

enum class Unit {
  Century,
  Year,
  IsoYear,
  Quarter,
  Month,
  Week,
  IsoWeek,
  MonthWeek,
  Day,
  WeekStart,
  Hour,
  Minute
};

Unit parseUnit(std::string_view text) {
  std::string u = asciiUpperCase(text);
  struct Name {
    const char* name;
    Unit unit;
  };
  static constexpr Name kNames[] = {
      {"CC", Unit::Century},    {"SCC", Unit::Century},  {"SYYYY", Unit::Year},
      {"YYYY", Unit::Year},     {"YEAR", Unit::Year},    {"SYEAR", Unit::Year},
      {"YYY", Unit::Year},      {"YY", Unit::Year},      {"Y", Unit::Year},
      {"IYYY", Unit::IsoYear},  {"IYY", Unit::IsoYear},  {"IY", Unit::IsoYear},
      {"I", Unit::IsoYear},     {"Q", Unit::Quarter},    {"MONTH", Unit::Month},
      {"MON", Unit::Month},     {"MM", Unit::Month},     {"RM", Unit::Month},
      {"WW", Unit::Week},       {"IW", Unit::IsoWeek},   {"W", Unit::MonthWeek},
      {"DDD", Unit::Day},       {"DD", Unit::Day},       {"J", Unit::Day},
      {"DAY", Unit::WeekStart}, {"DY", Unit::WeekStart}, {"D", Unit::WeekStart},
      {"HH", Unit::Hour},       {"HH12", Unit::Hour},    {"HH24", Unit::Hour},
      {"MI", Unit::Minute},
  };
  for (const Name& n : kNames)
    if (u == n.name) return n.unit;
  raiseOra(1899);
}

// The start of the period of `unit` that contains `date` (TRUNC), in seconds.
int64_t periodStart(int64_t date, Unit unit) {
  OraDate d = OraDate::fromSeconds(date);
  int64_t days = floorDiv(date, kSecondsPerDay);
  switch (unit) {
    case Unit::Century: {
      // Centuries begin with years ending in 01 (2001, 1901, and 100 BC
      // going backwards).
      int64_t astro = astronomical(d.year);
      int64_t first = floorDiv(astro - 1, 100) * 100 + 1;
      return dayStart(daysFromCivil(oracleYear(first), 1, 1));
    }
    case Unit::Year:
      return dayStart(daysFromCivil(d.year, 1, 1));
    case Unit::IsoYear: {
      int isoYear, week;
      isoWeek(d, isoYear, week);
      return dayStart(isoYearStartDays(isoYear));
    }
    case Unit::Quarter:
      return dayStart(daysFromCivil(d.year, (d.month - 1) / 3 * 3 + 1, 1));
    case Unit::Month:
      return dayStart(daysFromCivil(d.year, d.month, 1));
    case Unit::Week: {
      // Weeks start on the weekday of 1 January.
      int64_t jan1 = daysFromCivil(d.year, 1, 1);
      return dayStart(days - (days - jan1) % 7);
    }
    case Unit::IsoWeek:
      return dayStart(days - (weekdayOfDays(days) + 6) % 7);
    case Unit::MonthWeek:
      return dayStart(days - (d.day - 1) % 7);
    case Unit::Day:
      return dayStart(days);
    case Unit::WeekStart:
      return dayStart(days - weekdayOfDays(days));  // Sunday (territory AMERICA)
    case Unit::Hour:
      return date - (d.minute * 60 + d.second);
    case Unit::Minute:
      return date - d.second;
  }
  return date;
}

}  // namespace

int64_t addDays(int64_t date, OraNumber days) {
  int64_t delta;
  if (days.isInteger()) {
    if (__builtin_mul_overflow(days.integer(), kSecondsPerDay, &delta)) raiseOra(1841);
  } else {
    double seconds = days.toDouble() * kSecondsPerDay;
    if (!(std::fabs(seconds) < 9e18)) raiseOra(1841);
    delta = std::llround(seconds);
  }
  int64_t result;
  if (__builtin_add_overflow(date, delta, &result)) raiseOra(1841);
  return checked(result);
}

OraNumber daysBetween(int64_t later, int64_t earlier) {
  int64_t diff = later - earlier;
  if (diff % kSecondsPerDay == 0) return diff / kSecondsPerDay;
  return OraNumber::fromDouble(roundTo15Digits(static_cast<double>(diff) / kSecondsPerDay));
}

int64_t addMonths(int64_t date, OraNumber months) {
  int64_t k = months.truncToInt64();
  if (k > 200000 || k < -200000) raiseOra(1841);
  OraDate d = OraDate::fromSeconds(date);
  bool lastOfMonth = d.day == daysInMonth(d.year, d.month);
  int64_t index = monthIndex(d) + k;
  int64_t astro = floorDiv(index, 12);
  int year = oracleYear(astro);
  if (year < kMinYear || year > kMaxYear) raiseOra(1841);
  d.year = year;
  d.month = static_cast<int>(index - astro * 12) + 1;
  int last = daysInMonth(d.year, d.month);
  if (lastOfMonth || d.day > last) d.day = last;
  return checked(d.toSeconds());
}

OraNumber monthsBetween(int64_t date1, int64_t date2) {
  OraDate a = OraDate::fromSeconds(date1), b = OraDate::fromSeconds(date2);
  int64_t months = monthIndex(a) - monthIndex(b);
  bool bothLast = a.day == daysInMonth(a.year, a.month) && b.day == daysInMonth(b.year, b.month);
  if (a.day == b.day || bothLast) return months;
  int64_t timeA = a.hour * 3600 + a.minute * 60 + a.second;
  int64_t timeB = b.hour * 3600 + b.minute * 60 + b.second;
  double rest = static_cast<double>((a.day - b.day) * kSecondsPerDay + timeA - timeB) /
                (31.0 * kSecondsPerDay);
  return OraNumber::fromDouble(roundTo15Digits(static_cast<double>(months) + rest));
}

int64_t lastDay(int64_t date) {
  OraDate d = OraDate::fromSeconds(date);
  d.day = daysInMonth(d.year, d.month);
  return d.toSeconds();
}

int64_t truncDate(int64_t date, std::string_view unit) {
  return checked(periodStart(date, parseUnit(unit)));
}

int64_t roundDate(int64_t date, std::string_view unit) {
  Unit u = parseUnit(unit);
  int64_t start = periodStart(date, u);
  OraDate d = OraDate::fromSeconds(date);
  OraDate s = OraDate::fromSeconds(start);
  bool up = false;
  int64_t next = start;
  switch (u) {
    case Unit::Century: {
      // Rounds up from the 51st year of the century (2051 -> 2101).
      int64_t astro = astronomical(d.year);
      int64_t first = astronomical(s.year);
      up = astro - first >= 50;
      next = dayStart(daysFromCivil(oracleYear(first + 100), 1, 1));
      break;
    }
    case Unit::Year:
      up = d.month >= 7;
      next = dayStart(daysFromCivil(d.year == -1 ? 1 : d.year + 1, 1, 1));
      break;
    case Unit::IsoYear: {
      int isoYear, week;
      isoWeek(d, isoYear, week);
      up = date >= dayStart(daysFromCivil(isoYear, 7, 1));
      next = dayStart(isoYearStartDays(isoYear == -1 ? 1 : isoYear + 1));
      break;
    }
    case Unit::Quarter: {
      int inQuarter = (d.month - 1) % 3;  // 0, 1, 2
      up = inQuarter == 2 || (inQuarter == 1 && d.day >= 16);
      if (up) next = addMonths(start, 3);
      break;
    }
    case Unit::Month:
      up = d.day >= 16;
      if (up) next = addMonths(start, 1);
      break;
    case Unit::Week:
    case Unit::IsoWeek:
    case Unit::MonthWeek:
    case Unit::WeekStart:
      // Nearest week start; the midpoint (3.5 days in) rounds up.
      up = date - start >= 7 * kSecondsPerDay / 2;
      next = start + 7 * kSecondsPerDay;
      break;
    case Unit::Day:
      up = d.hour >= 12;
      next = start + kSecondsPerDay;
      break;
    case Unit::Hour:
      up = d.minute >= 30;
      next = start + 3600;
      break;
    case Unit::Minute:
      up = d.second >= 30;
      next = start + 60;
      break;
  }
  return checked(up ? next : start);
}

}  // namespace vorn::server
