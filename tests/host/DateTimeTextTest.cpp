// FormatDateTime codes and the date and time parsers under explicit locale
// settings.
#include "vorn/host/DateTimeText.h"

#include <gtest/gtest.h>

#include "vorn/host/Exceptions.h"

namespace vorn {
namespace {

TFormatSettings German() {
  TFormatSettings s;
  s.DecimalSeparator = ',';
  s.ThousandSeparator = '.';
  s.DateSeparator = '.';
  s.ShortDateFormat = "dd/mm/yyyy";
  s.LongDateFormat = "dddd, d. mmmm yyyy";
  s.ShortTimeFormat = "hh:nn";
  s.LongTimeFormat = "hh:nn:ss";
  s.LongMonthNames[2] = "März";
  return s;
}

TFormatSettings Iso() {
  TFormatSettings s;
  s.DateSeparator = '-';
  s.ShortDateFormat = "yyyy/mm/dd";
  s.LongTimeFormat = "hh:nn:ss";
  return s;
}

class DateTimeTextTest : public testing::Test {
 protected:
  ScopedFormatSettings settings_{DefaultFormatSettings()};
  // Sunday 2 June 2024, 14:05:09.045
  TDateTime afternoon_ = EncodeDateTime(2024, 6, 2, 14, 5, 9, 45);
  TDateTime midnight_ = EncodeDate(2024, 3, 7);
};

TEST_F(DateTimeTextTest, DayMonthAndYearCodes) {
  EXPECT_EQ(FormatDateTime("d dd ddd dddd", midnight_), "7 07 Thu Thursday");
  EXPECT_EQ(FormatDateTime("m mm mmm mmmm", midnight_), "3 03 Mar March");
  EXPECT_EQ(FormatDateTime("yy yyyy", midnight_), "24 2024");
  EXPECT_EQ(FormatDateTime("y", EncodeDate(2005, 1, 1)), "05");
  EXPECT_EQ(FormatDateTime("yyyy", EncodeDate(33, 1, 1)), "0033");
  EXPECT_EQ(FormatDateTime("DD/MM/YYYY", midnight_), "07/03/2024");
}

TEST_F(DateTimeTextTest, TimeCodes) {
  EXPECT_EQ(FormatDateTime("h:n:s.z", afternoon_), "14:5:9.45");
  EXPECT_EQ(FormatDateTime("hh:nn:ss.zzz", afternoon_), "14:05:09.045");
  EXPECT_EQ(FormatDateTime("hhh", afternoon_), "14");
}

TEST_F(DateTimeTextTest, MinutesFollowAnHourCode) {
  EXPECT_EQ(FormatDateTime("hh:mm", afternoon_), "14:05");
  EXPECT_EQ(FormatDateTime("h 'and' m", afternoon_), "14 and 5");
  EXPECT_EQ(FormatDateTime("mm/dd hh:mm", afternoon_), "06/02 14:05");
  EXPECT_EQ(FormatDateTime("hh:nn mm", afternoon_), "14:05 06");
}

TEST_F(DateTimeTextTest, TwelveHourClock) {
  EXPECT_EQ(FormatDateTime("h:nn am/pm", afternoon_), "2:05 pm");
  EXPECT_EQ(FormatDateTime("h:nn AM/PM", EncodeTime(9, 30, 0, 0)), "9:30 AM");
  EXPECT_EQ(FormatDateTime("hh a/p", EncodeTime(0, 30, 0, 0)), "12 a");
  EXPECT_EQ(FormatDateTime("h ampm", EncodeTime(12, 0, 0, 0)), "12 PM");
  EXPECT_EQ(FormatDateTime("h ampm", EncodeTime(23, 0, 0, 0)), "11 PM");
  // An hour code after another one hides a later am/pm from the first.
  EXPECT_EQ(FormatDateTime("h h ampm", afternoon_), "14 2 PM");
  EXPECT_EQ(FormatDateTime("aaa aaaa", afternoon_), "Sun Sunday");
}

TEST_F(DateTimeTextTest, NamedFormatsAndSeparators) {
  EXPECT_EQ(FormatDateTime("ddddd", afternoon_), "6/2/2024");
  EXPECT_EQ(FormatDateTime("dddddd", afternoon_), "Sunday, June 2, 2024");
  EXPECT_EQ(FormatDateTime("t", afternoon_), "2:05 PM");
  EXPECT_EQ(FormatDateTime("tt", afternoon_), "2:05:09 PM");
  EXPECT_EQ(FormatDateTime("ddddd tt", afternoon_, German()), "02.06.2024 14:05:09");
  EXPECT_EQ(FormatDateTime("dddddd", midnight_, German()), "Thursday, 7. März 2024");
  EXPECT_EQ(FormatDateTime("yyyy/mm/dd hh:nn", afternoon_, Iso()), "2024-06-02 14:05");
}

TEST_F(DateTimeTextTest, CodeCShowsTheTimeOnlyWhenThereIsOne) {
  EXPECT_EQ(FormatDateTime("c", afternoon_), "6/2/2024 2:05:09 PM");
  EXPECT_EQ(FormatDateTime("c", midnight_), "3/7/2024");
  EXPECT_EQ(FormatDateTime("c", midnight_ + 1.0 / MSecsPerDay), "3/7/2024 12:00:00 AM");
  EXPECT_EQ(FormatDateTime("", afternoon_), "6/2/2024 2:05:09 PM");
  EXPECT_EQ(DateTimeToStr(midnight_), "3/7/2024");
  EXPECT_EQ(DateToStr(afternoon_), "6/2/2024");
  EXPECT_EQ(TimeToStr(afternoon_), "2:05:09 PM");
}

TEST_F(DateTimeTextTest, QuotedTextAndOtherCharactersAreCopied) {
  EXPECT_EQ(FormatDateTime("\"Date:\" dd 'mm' [yy]", midnight_), "Date: 07 mm [24]");
  EXPECT_EQ(FormatDateTime("'unterminated", midnight_), "unterminated");
  EXPECT_EQ(FormatDateTime("a x", midnight_), "a x");
}

TEST_F(DateTimeTextTest, SelfReferringFormatsStop) {
  TFormatSettings s = DefaultFormatSettings();
  s.ShortDateFormat = "ddddd";
  EXPECT_EQ(FormatDateTime("ddddd", midnight_, s), "");
  s.ShortDateFormat = "d ddddd";
  EXPECT_EQ(FormatDateTime("ddddd", midnight_, s), "7 ");
}

TEST_F(DateTimeTextTest, DatesBeforeTheOriginFormat) {
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", -1.25), "1899-12-29 06:00");
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd", EncodeDate(1, 1, 1)), "0001-01-01");
}

TEST_F(DateTimeTextTest, ParsesDatesInTheShortDateOrder) {
  EXPECT_EQ(StrToDate("6/2/2024"), EncodeDate(2024, 6, 2));
  EXPECT_EQ(StrToDate(" 6 / 2 / 2024 "), EncodeDate(2024, 6, 2));
  EXPECT_EQ(StrToDate("02.06.2024", German()), EncodeDate(2024, 6, 2));
  EXPECT_EQ(StrToDate("01.01.1990", German()), EncodeDate(1990, 1, 1));
  EXPECT_EQ(StrToDate("2024-06-02", Iso()), EncodeDate(2024, 6, 2));
  EXPECT_EQ(StrToDate("1.2", German()), EncodeDate(CurrentYear(), 2, 1));
  EXPECT_EQ(StrToDate("1.2.2024.", German()), EncodeDate(2024, 2, 1));
  EXPECT_EQ(StrToDate("6/2"), EncodeDate(CurrentYear(), 6, 2));
  EXPECT_EQ(StrToDate("0001-01-01", Iso()), MinDateTime);
}

TEST_F(DateTimeTextTest, TwoDigitYearsUseTheCenturyWindow) {
  TFormatSettings s = DefaultFormatSettings();
  s.TwoDigitYearCenturyWindow = 0;
  int century = CurrentYear() / 100 * 100;
  EXPECT_EQ(StrToDate("1/2/07", s), EncodeDate(century + 7, 1, 2));
  EXPECT_EQ(StrToDate("1/2/99", s), EncodeDate(century + 99, 1, 2));

  s.TwoDigitYearCenturyWindow = 50;
  int pivot = CurrentYear() - 50;
  auto expected = [&](int yy) {
    int year = pivot / 100 * 100 + yy;
    return year < pivot ? year + 100 : year;
  };
  EXPECT_EQ(StrToDate("1/2/99", s), EncodeDate(expected(99), 1, 2));
  EXPECT_EQ(StrToDate("1/2/00", s), EncodeDate(expected(0), 1, 2));
  // Three digits are a year as written.
  EXPECT_EQ(StrToDate("1/2/099", s), EncodeDate(99, 1, 2));
}

TEST_F(DateTimeTextTest, ParsesTimes) {
  EXPECT_EQ(StrToTime("14:05:09"), EncodeTime(14, 5, 9, 0));
  EXPECT_EQ(StrToTime("14:05"), EncodeTime(14, 5, 0, 0));
  EXPECT_EQ(StrToTime("14"), EncodeTime(14, 0, 0, 0));
  EXPECT_EQ(StrToTime("2:05 PM"), EncodeTime(14, 5, 0, 0));
  EXPECT_EQ(StrToTime("pm 2:05"), EncodeTime(14, 5, 0, 0));
  EXPECT_EQ(StrToTime("12:00 am"), EncodeTime(0, 0, 0, 0));
  EXPECT_EQ(StrToTime("12:30 PM"), EncodeTime(12, 30, 0, 0));
  EXPECT_EQ(StrToTime("10:00:00.5"), EncodeTime(10, 0, 0, 500));
  EXPECT_EQ(StrToTime("10:00:00.045"), EncodeTime(10, 0, 0, 45));
  EXPECT_EQ(StrToTime("10:00:00,25", German()), EncodeTime(10, 0, 0, 250));
}

TEST_F(DateTimeTextTest, ParsesDatesWithTimes) {
  EXPECT_EQ(StrToDateTime("6/2/2024 2:05:09 PM"), afternoon_ - 45.0 / MSecsPerDay);
  EXPECT_EQ(StrToDateTime("02.06.2024 14:05", German()), EncodeDateTime(2024, 6, 2, 14, 5, 0, 0));
  EXPECT_EQ(StrToDateTime("6/2/2024"), EncodeDate(2024, 6, 2));
  EXPECT_EQ(StrToDateTime("14:05"), EncodeTime(14, 5, 0, 0));
  TDateTime early = StrToDateTime("12/29/1899 6:00");
  EXPECT_EQ(early, -1.25);
  // What formatting writes, parsing reads back.
  EXPECT_EQ(StrToDateTime(DateTimeToStr(afternoon_)), afternoon_ - 45.0 / MSecsPerDay);
  EXPECT_EQ(StrToDateTime(DateTimeToStr(-1.25)), -1.25);
}

TEST_F(DateTimeTextTest, InvalidTextRaisesTheConvertErrors) {
  auto message = [](auto parse) {
    try {
      parse();
    } catch (const EConvertError& e) {
      return e.Message();
    }
    return std::string("no error");
  };
  EXPECT_EQ(message([] { StrToDate("xx"); }), "'xx' is not a valid date");
  EXPECT_EQ(message([] { StrToDate("2/30/2024"); }), "'2/30/2024' is not a valid date");
  EXPECT_EQ(message([] { StrToDate("6/2/2024 10:00"); }), "'6/2/2024 10:00' is not a valid date");
  EXPECT_EQ(message([] { StrToTime("25:00"); }), "'25:00' is not a valid time");
  EXPECT_EQ(message([] { StrToTime("13:00 PM"); }), "'13:00 PM' is not a valid time");
  EXPECT_EQ(message([] { StrToTime("10:"); }), "'10:' is not a valid time");
  EXPECT_EQ(message([] { StrToDateTime("6/2/2024 10:00 later"); }),
            "'6/2/2024 10:00 later' is not a valid date and time");
  EXPECT_EQ(message([] { StrToDateTime(""); }), "'' is not a valid date and time");
  EXPECT_EQ(message([] { StrToDate("12345/1/1"); }), "'12345/1/1' is not a valid date");
  // The order comes from the short date format: a German day.month text
  // read by the US order is the wrong date or none.
  TFormatSettings usOrder;
  usOrder.DateSeparator = '.';
  TDateTime value;
  EXPECT_FALSE(TryStrToDate("13.01.2024", value, usOrder));
  EXPECT_TRUE(TryStrToDate("01.13.2024", value, usOrder));
}

}  // namespace
}  // namespace vorn
