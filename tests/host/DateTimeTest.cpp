// Calendar arithmetic on TDateTime: encoding, decoding, the sign convention
// of dates before 1899-12-30 and time stamps.
#include "vorn/host/DateTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "vorn/host/Exceptions.h"

namespace vorn {
namespace {

struct Parts {
  int year, month, day, hour, min, sec, msec;
};

Parts Decode(TDateTime value) {
  uint16_t y, m, d, h, n, s, z;
  DecodeDateTime(value, y, m, d, h, n, s, z);
  return {y, m, d, h, n, s, z};
}

TEST(DateTimeTest, EncodesDaysFromTheOrigin) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(EncodeDate(1899, 12, 31), 1.0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
  EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
  EXPECT_EQ(EncodeDate(1899, 12, 29), -1.0);
  EXPECT_EQ(EncodeDate(1, 1, 1), MinDateTime);
  EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465.0);
}

TEST(DateTimeTest, LeapYearsFollowTheGregorianRules) {
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_TRUE(IsLeapYear(2024));
  EXPECT_FALSE(IsLeapYear(2023));
  EXPECT_EQ(DaysInAMonth(2000, 2), 29);
  EXPECT_EQ(DaysInAMonth(1900, 2), 28);
  EXPECT_EQ(DaysInAMonth(2023, 4), 30);
  EXPECT_EQ(DaysInAMonth(2023, 13), 0);
  EXPECT_EQ(EncodeDate(2000, 3, 1) - EncodeDate(2000, 2, 28), 2.0);
  EXPECT_EQ(EncodeDate(1900, 3, 1) - EncodeDate(1900, 2, 28), 1.0);
}

TEST(DateTimeTest, InvalidDatesAndTimesAreRejected) {
  TDateTime value = 123;
  EXPECT_FALSE(TryEncodeDate(2023, 2, 29, value));
  EXPECT_FALSE(TryEncodeDate(0, 1, 1, value));
  EXPECT_FALSE(TryEncodeDate(10000, 1, 1, value));
  EXPECT_FALSE(TryEncodeDate(2000, 0, 1, value));
  EXPECT_FALSE(TryEncodeTime(24, 0, 0, 0, value));
  EXPECT_FALSE(TryEncodeTime(0, 60, 0, 0, value));
  EXPECT_FALSE(TryEncodeTime(0, 0, 0, 1000, value));
  EXPECT_EQ(value, 123);
  try {
    EncodeDate(2023, 2, 29);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Invalid argument to date encode");
  }
  try {
    EncodeTime(25, 0, 0, 0);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Invalid argument to time encode");
  }
}

TEST(DateTimeTest, RoundTripsDatesAcrossTheWholeRange) {
  for (int year : {1, 4, 100, 400, 1582, 1899, 1900, 1999, 2000, 2100, 9999}) {
    for (int month = 1; month <= 12; ++month) {
      for (int day : {1, 15, DaysInAMonth(year, month)}) {
        Parts p = Decode(EncodeDate(year, month, day));
        EXPECT_EQ(p.year, year);
        EXPECT_EQ(p.month, month);
        EXPECT_EQ(p.day, day) << year << "-" << month;
      }
    }
  }
}

TEST(DateTimeTest, EncodesTimeAsFractionOfDay) {
  EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
  EXPECT_EQ(EncodeTime(6, 0, 0, 0), 0.25);
  Parts p = Decode(EncodeTime(23, 59, 59, 999));
  EXPECT_EQ(p.hour, 23);
  EXPECT_EQ(p.min, 59);
  EXPECT_EQ(p.sec, 59);
  EXPECT_EQ(p.msec, 999);
}

TEST(DateTimeTest, NegativeValuesCountTheirFractionForward) {
  // -1.25 is the day before the origin at 06:00, not 18:00.
  Parts p = Decode(-1.25);
  EXPECT_EQ(p.year, 1899);
  EXPECT_EQ(p.month, 12);
  EXPECT_EQ(p.day, 29);
  EXPECT_EQ(p.hour, 6);
  EXPECT_EQ(p.min, 0);

  TDateTime early = EncodeDateTime(1850, 6, 15, 18, 30, 0, 0);
  EXPECT_LT(early, 0);
  p = Decode(early);
  EXPECT_EQ(p.year, 1850);
  EXPECT_EQ(p.day, 15);
  EXPECT_EQ(p.hour, 18);
  EXPECT_EQ(p.min, 30);
  EXPECT_EQ(early, EncodeDate(1850, 6, 15) - 0.770833333333333333);

  // Between -1 and 0 the day is the origin itself.
  p = Decode(-0.5);
  EXPECT_EQ(p.day, 30);
  EXPECT_EQ(p.hour, 12);
}

TEST(DateTimeTest, ComposeKeepsTheSignConvention) {
  EXPECT_EQ(ComposeDateTime(-2, 0.25), -2.25);
  EXPECT_EQ(ComposeDateTime(2, 0.25), 2.25);
  EXPECT_EQ(ComposeDateTime(2.9, 1.25), 2.25);
}

TEST(DateTimeTest, DecodingRoundsToTheNearestMillisecond) {
  Parts p = Decode(EncodeTime(10, 0, 0, 0) - 1e-10);
  EXPECT_EQ(p.hour, 10);
  EXPECT_EQ(p.min, 0);
  EXPECT_EQ(p.msec, 0);
  // The last half millisecond of a day carries into the next day.
  p = Decode(EncodeDate(2000, 12, 31) + (MSecsPerDay - 0.4) / MSecsPerDay);
  EXPECT_EQ(p.year, 2001);
  EXPECT_EQ(p.month, 1);
  EXPECT_EQ(p.day, 1);
  EXPECT_EQ(p.hour, 0);
}

TEST(DateTimeTest, TimeStampsMatchTheDatasetConventions) {
  TTimeStamp stamp = DateTimeToTimeStamp(36526.0);
  EXPECT_EQ(stamp.Date, 730120);
  EXPECT_EQ(stamp.Time, 0);
  EXPECT_EQ(TimeStampToMSecs(stamp), 63082368000000.0);

  stamp = DateTimeToTimeStamp(0.5);
  EXPECT_EQ(stamp.Date, DateDelta);
  EXPECT_EQ(stamp.Time, 43200000);
  EXPECT_EQ(TimeStampToMSecs(stamp), 59926564800000.0);

  stamp = DateTimeToTimeStamp(-1.25);
  EXPECT_EQ(stamp.Date, DateDelta - 1);
  EXPECT_EQ(stamp.Time, 21600000);
  EXPECT_EQ(TimeStampToDateTime(stamp), -1.25);

  stamp = MSecsToTimeStamp(63082368000000.0 + 45000000);
  EXPECT_EQ(stamp.Date, 730120);
  EXPECT_EQ(stamp.Time, 45000000);
  EXPECT_EQ(TimeStampToDateTime(stamp), 36526.0 + 45000000.0 / MSecsPerDay);
}

TEST(DateTimeTest, ValuesOutsideTheCalendarRaise) {
  uint16_t y, m, d;
  EXPECT_THROW(DecodeDate(MaxDateTime + 2, y, m, d), EConvertError);
  EXPECT_THROW(DecodeDate(MinDateTime - 1, y, m, d), EConvertError);
  EXPECT_THROW(DecodeDate(std::numeric_limits<double>::quiet_NaN(), y, m, d), EConvertError);
  EXPECT_THROW(DecodeDate(std::numeric_limits<double>::infinity(), y, m, d), EConvertError);
  EXPECT_THROW(MSecsToTimeStamp(-1), EConvertError);
  EXPECT_NO_THROW(DecodeDate(MaxDateTime, y, m, d));
  EXPECT_EQ(y, 9999);
}

TEST(DateTimeTest, DayOfWeekStartsOnSunday) {
  EXPECT_EQ(DayOfWeek(EncodeDate(2000, 1, 1)), 7);  // a Saturday
  EXPECT_EQ(DayOfWeek(EncodeDate(2024, 6, 2)), 1);  // a Sunday
  EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 30)), 7);
  // -1.9 is Friday 29 December 1899, 21:36; -0.1 still the Saturday origin.
  EXPECT_EQ(DayOfWeek(EncodeDateTime(1899, 12, 29, 21, 36, 0, 0)), 6);
  EXPECT_EQ(DayOfWeek(-0.1), 7);
}

TEST(DateTimeTest, ClockValuesAreConsistent) {
  TDateTime now = Now();
  TDateTime today = Date();
  EXPECT_EQ(today, std::trunc(today));
  EXPECT_GE(Time(), 0.0);
  EXPECT_LT(Time(), 1.0);
  EXPECT_LE(today, now + 1);
  EXPECT_GE(CurrentYear(), 2024);
}

}  // namespace
}  // namespace vorn
