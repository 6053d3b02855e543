// DATE values: the calendar, the seconds representation, the 7-byte wire
// form and the date SQL functions (arithmetic, ADD_MONTHS, MONTHS_BETWEEN,
// LAST_DAY, ROUND, TRUNC).
#include <gtest/gtest.h>

#include "value/DateFormat.h"
#include "value/DateFunctions.h"
#include "value/OraDate.h"
#include "value_support.h"

namespace vorn::server {
namespace {

using test::oraCode;

int64_t at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  return OraDate{y, mo, d, h, mi, s}.toSeconds();
}

std::string show(int64_t seconds) {
  return DateFormat("SYYYY-MM-DD HH24:MI:SS").format(OraDate::fromSeconds(seconds));
}

TEST(OraDateTest, SecondsSinceTheEpoch) {
  EXPECT_EQ(at(1970, 1, 1), 0);
  EXPECT_EQ(at(2000, 1, 1), 946684800);
  EXPECT_EQ(at(1969, 12, 31, 23, 59, 59), -1);
  EXPECT_EQ(OraDate::fromSeconds(-1), (OraDate{1969, 12, 31, 23, 59, 59}));
  EXPECT_EQ(OraDate::fromSeconds(951782400), (OraDate{2000, 2, 29, 0, 0, 0}));
}

TEST(OraDateTest, RoundTripsAcrossTheWholeRange) {
  const OraDate dates[] = {{-4712, 1, 1, 0, 0, 0},    {-1, 12, 31, 23, 59, 59},
                           {1, 1, 1, 0, 0, 0},        {1582, 10, 10, 12, 0, 0},
                           {1900, 2, 28, 1, 2, 3},    {2000, 2, 29, 4, 5, 6},
                           {9999, 12, 31, 23, 59, 59}};
  for (const OraDate& d : dates)
    EXPECT_EQ(OraDate::fromSeconds(d.toSeconds()), d) << show(d.toSeconds());
}

TEST(OraDateTest, NoYearZeroAndProlepticLeapYears) {
  EXPECT_EQ(daysFromCivil(-1, 12, 31) + 1, daysFromCivil(1, 1, 1));
  EXPECT_TRUE(isLeapYear(2000));
  EXPECT_FALSE(isLeapYear(1900));
  EXPECT_TRUE(isLeapYear(2024));
  EXPECT_TRUE(isLeapYear(-1));  // 1 BC is astronomical year 0
  EXPECT_TRUE(isLeapYear(-5));
  EXPECT_FALSE(isLeapYear(-4));
  EXPECT_EQ(daysInMonth(2000, 2), 29);
  EXPECT_EQ(daysInMonth(2100, 2), 28);
}

TEST(OraDateTest, WeekdaysJulianDaysAndIsoWeeks) {
  EXPECT_EQ(weekdayOfDays(daysFromCivil(2000, 1, 1)), 6);  // Saturday
  EXPECT_EQ(weekdayOfDays(daysFromCivil(1970, 1, 1)), 4);  // Thursday
  EXPECT_EQ(julianDay(daysFromCivil(2000, 1, 1)), 2451545);
  int isoYear, week;
  isoWeek(OraDate{2005, 1, 1, 0, 0, 0}, isoYear, week);
  EXPECT_EQ(isoYear, 2004);
  EXPECT_EQ(week, 53);
  isoWeek(OraDate{2008, 12, 29, 0, 0, 0}, isoYear, week);
  EXPECT_EQ(isoYear, 2009);
  EXPECT_EQ(week, 1);
  EXPECT_EQ(dayOfYear(OraDate{2000, 12, 31, 0, 0, 0}), 366);
}

TEST(OraDateTest, ValidationGivesOraclesCodes) {
  EXPECT_EQ(oraCode([] { OraDate{0, 1, 1, 0, 0, 0}.validate(); }), 1841);
  EXPECT_EQ(oraCode([] { OraDate{10000, 1, 1, 0, 0, 0}.validate(); }), 1841);
  EXPECT_EQ(oraCode([] { OraDate{2000, 13, 1, 0, 0, 0}.validate(); }), 1843);
  EXPECT_EQ(oraCode([] { OraDate{2000, 1, 32, 0, 0, 0}.validate(); }), 1847);
  EXPECT_EQ(oraCode([] { OraDate{2001, 2, 29, 0, 0, 0}.validate(); }), 1839);
  EXPECT_EQ(oraCode([] { OraDate{2000, 1, 1, 24, 0, 0}.validate(); }), 1850);
  EXPECT_EQ(oraCode([] { OraDate{2000, 1, 1, 0, 60, 0}.validate(); }), 1851);
  EXPECT_EQ(oraCode([] { OraDate{2000, 1, 1, 0, 0, 60}.validate(); }), 1852);
  EXPECT_TRUE((OraDate{2000, 2, 29, 23, 59, 59}.isValid()));
  EXPECT_EQ(oraCode([] { checkDateSeconds(at(9999, 12, 31, 23, 59, 59) + 1); }), 1841);
  EXPECT_EQ(oraCode([] { checkDateSeconds(at(-4712, 1, 1) - 1); }), 1841);
}

struct Date7Case {
  OraDate date;
  std::vector<int> bytes;
};

TEST(OraDateTest, SevenByteFormMatchesTheDocumentation) {
  const Date7Case cases[] = {
      {{1992, 11, 30, 15, 17, 0}, {119, 192, 11, 30, 16, 18, 1}},
      {{2000, 1, 1, 0, 0, 0}, {120, 100, 1, 1, 1, 1, 1}},
      {{-4712, 1, 1, 0, 0, 0}, {53, 88, 1, 1, 1, 1, 1}},
      {{-1, 12, 31, 23, 59, 59}, {100, 99, 12, 31, 24, 60, 60}},
      {{50, 6, 15, 0, 0, 0}, {100, 150, 6, 15, 1, 1, 1}},
      {{9999, 12, 31, 23, 59, 59}, {199, 199, 12, 31, 24, 60, 60}},
  };
  for (const Date7Case& c : cases) {
    unsigned char buf[7];
    encodeDate7(c.date, buf);
    EXPECT_EQ(std::vector<int>(buf, buf + 7), c.bytes) << c.date.year;
    std::vector<unsigned char> in(c.bytes.begin(), c.bytes.end());
    EXPECT_EQ(decodeDate7(in.data()), c.date) << c.date.year;
  }
}

TEST(OraDateTest, InvalidSevenByteDatesAreRejected) {
  const unsigned char badMonth[] = {120, 100, 13, 1, 1, 1, 1};
  const unsigned char badDay[] = {120, 101, 2, 29, 1, 1, 1};
  const unsigned char badHour[] = {120, 100, 1, 1, 25, 1, 1};
  const unsigned char yearZero[] = {100, 100, 1, 1, 1, 1, 1};
  EXPECT_EQ(oraCode([&] { decodeDate7(badMonth); }), 1843);
  EXPECT_EQ(oraCode([&] { decodeDate7(badDay); }), 1839);
  EXPECT_EQ(oraCode([&] { decodeDate7(badHour); }), 1850);
  EXPECT_EQ(oraCode([&] { decodeDate7(yearZero); }), 1841);
}

TEST(DateArithmeticTest, AddingDaysAndFractions) {
  EXPECT_EQ(show(addDays(at(2000, 2, 28), OraNumber(1))), " 2000-02-29 00:00:00");
  EXPECT_EQ(show(addDays(at(1999, 2, 28), OraNumber(1))), " 1999-03-01 00:00:00");
  EXPECT_EQ(show(addDays(at(2000, 1, 1), OraNumber(1) / OraNumber(24))), " 2000-01-01 01:00:00");
  EXPECT_EQ(show(addDays(at(2000, 1, 1), OraNumber::fromDouble(0.5))), " 2000-01-01 12:00:00");
  EXPECT_EQ(show(addDays(at(2000, 1, 1), OraNumber(-1) / OraNumber(86400))),
            " 1999-12-31 23:59:59");
  EXPECT_EQ(show(addDays(at(1, 1, 1), OraNumber(-1))), "-0001-12-31 00:00:00");
  EXPECT_EQ(oraCode([] { addDays(at(9999, 12, 31), OraNumber(1)); }), 1841);
  EXPECT_EQ(oraCode([] { addDays(at(2000, 1, 1), OraNumber::fromDouble(1e30)); }), 1841);
}

TEST(DateArithmeticTest, DifferencesInDays) {
  EXPECT_EQ(numberToText(daysBetween(at(2000, 3, 1), at(2000, 2, 1))), "29");
  EXPECT_TRUE(daysBetween(at(2000, 3, 1), at(2000, 2, 1)).isInteger());
  EXPECT_EQ(numberToText(daysBetween(at(2000, 1, 2, 12), at(2000, 1, 1))), "1.5");
  EXPECT_EQ(numberToText(daysBetween(at(2000, 1, 1), at(2000, 1, 1, 8))), "-.333333333333333");
  EXPECT_EQ(numberToText(daysBetween(at(1, 1, 1), at(-1, 1, 1))), "366");
}

TEST(DateFunctionsTest, AddMonthsKeepsLastDays) {
  EXPECT_EQ(show(addMonths(at(2000, 1, 31), OraNumber(1))), " 2000-02-29 00:00:00");
  EXPECT_EQ(show(addMonths(at(2000, 2, 29), OraNumber(12))), " 2001-02-28 00:00:00");
  EXPECT_EQ(show(addMonths(at(2001, 2, 28), OraNumber(1))), " 2001-03-31 00:00:00");
  EXPECT_EQ(show(addMonths(at(2000, 4, 30), OraNumber(1))), " 2000-05-31 00:00:00");
  EXPECT_EQ(show(addMonths(at(2000, 1, 15, 10, 30), OraNumber(-1))), " 1999-12-15 10:30:00");
  EXPECT_EQ(show(addMonths(at(2000, 1, 15), OraNumber::fromDouble(1.9))), " 2000-02-15 00:00:00");
  EXPECT_EQ(show(addMonths(at(1, 3, 1), OraNumber(-3))), "-0001-12-01 00:00:00");
  EXPECT_EQ(oraCode([] { addMonths(at(9999, 12, 1), OraNumber(1)); }), 1841);
}

TEST(DateFunctionsTest, MonthsBetweenUsesThirtyOneDayMonths) {
  EXPECT_EQ(numberToText(monthsBetween(at(1995, 2, 2), at(1995, 1, 1))), "1.03225806451613");
  EXPECT_EQ(numberToText(monthsBetween(at(1995, 3, 31), at(1995, 2, 28))), "1");
  EXPECT_EQ(numberToText(monthsBetween(at(2000, 1, 15), at(2000, 3, 15))), "-2");
  EXPECT_EQ(numberToText(monthsBetween(at(2000, 1, 15, 12), at(2000, 1, 15))), "0");
  EXPECT_EQ(numberToText(monthsBetween(at(2000, 3, 1), at(2000, 1, 31))), "1.03225806451613");
  EXPECT_EQ(numberToText(monthsBetween(at(2000, 1, 2, 12), at(2000, 1, 1))), ".0483870967741935");
}

TEST(DateFunctionsTest, LastDayKeepsTheTime) {
  EXPECT_EQ(show(lastDay(at(2000, 2, 15, 10))), " 2000-02-29 10:00:00");
  EXPECT_EQ(show(lastDay(at(1900, 2, 1))), " 1900-02-28 00:00:00");
  EXPECT_EQ(show(lastDay(at(2000, 12, 31))), " 2000-12-31 00:00:00");
}

struct UnitCase {
  int64_t date;
  const char* unit;
  const char* expected;
};

TEST(DateFunctionsTest, TruncToUnits) {
  const int64_t d = at(2000, 11, 15, 15, 17, 42);  // a Wednesday
  const UnitCase cases[] = {
      {d, "DD", " 2000-11-15 00:00:00"},
      {d, "dd", " 2000-11-15 00:00:00"},
      {d, "MM", " 2000-11-01 00:00:00"},
      {d, "MONTH", " 2000-11-01 00:00:00"},
      {d, "YYYY", " 2000-01-01 00:00:00"},
      {d, "YEAR", " 2000-01-01 00:00:00"},
      {d, "Q", " 2000-10-01 00:00:00"},
      {d, "DAY", " 2000-11-12 00:00:00"},
      {d, "IW", " 2000-11-13 00:00:00"},
      {d, "WW", " 2000-11-11 00:00:00"},
      {d, "W", " 2000-11-15 00:00:00"},
      {d, "HH", " 2000-11-15 15:00:00"},
      {d, "MI", " 2000-11-15 15:17:00"},
      {d, "CC", " 1901-01-01 00:00:00"},
      {at(2020, 5, 5), "CC", " 2001-01-01 00:00:00"},
      {at(2005, 1, 1), "IYYY", " 2003-12-29 00:00:00"},
  };
  for (const UnitCase& c : cases)
    EXPECT_EQ(show(truncDate(c.date, c.unit)), c.expected) << c.unit;
}

TEST(DateFunctionsTest, RoundToUnits) {
  const UnitCase cases[] = {
      {at(2000, 1, 1, 11, 59, 59), "DD", " 2000-01-01 00:00:00"},
      {at(2000, 1, 1, 12), "DD", " 2000-01-02 00:00:00"},
      {at(2000, 7, 1), "YYYY", " 2001-01-01 00:00:00"},
      {at(2000, 6, 30, 23), "YEAR", " 2000-01-01 00:00:00"},
      {at(2000, 1, 16), "MM", " 2000-02-01 00:00:00"},
      {at(2000, 1, 15, 23), "MM", " 2000-01-01 00:00:00"},
      {at(2000, 2, 16), "Q", " 2000-04-01 00:00:00"},
      {at(2000, 2, 15), "Q", " 2000-01-01 00:00:00"},
      {at(2000, 1, 1, 10, 30), "HH", " 2000-01-01 11:00:00"},
      {at(2000, 1, 1, 10, 29, 30), "MI", " 2000-01-01 10:30:00"},
      {at(2051, 1, 1), "CC", " 2101-01-01 00:00:00"},
      {at(2050, 12, 31), "CC", " 2001-01-01 00:00:00"},
      {at(2000, 1, 5, 12), "DAY", " 2000-01-09 00:00:00"},
      {at(2000, 1, 5, 11, 59), "DAY", " 2000-01-02 00:00:00"},
      {at(2000, 12, 31, 12), "DD", " 2001-01-01 00:00:00"},
  };
  for (const UnitCase& c : cases)
    EXPECT_EQ(show(roundDate(c.date, c.unit)), c.expected) << show(c.date) << " " << c.unit;
}

TEST(DateFunctionsTest, UnknownUnitsAndOverflow) {
  EXPECT_EQ(oraCode([] { truncDate(0, "XX"); }), 1899);
  EXPECT_EQ(oraCode([] { roundDate(0, ""); }), 1899);
  EXPECT_EQ(oraCode([] { roundDate(at(9999, 12, 31, 13), "DD"); }), 1841);
  EXPECT_EQ(oraCode([] { roundDate(at(9999, 7, 1), "YYYY"); }), 1841);
  EXPECT_EQ(show(roundDate(at(9999, 12, 10), "MM")), " 9999-12-01 00:00:00");
}

}  // namespace
}  // namespace vorn::server
