// Date format models both ways: TO_CHAR(date, fmt) and TO_DATE(text, fmt)
// with Oracle's padding, case, lenient input rules and error codes.
#include <gtest/gtest.h>

#include "value/DateFormat.h"
#include "value_support.h"

namespace vorn::server {
namespace {

using test::oraCode;
using test::oraText;

std::string toChar(const OraDate& d, const char* model) {
  return DateFormat(model).format(d);
}

// "Now" for the defaults and the RR rule: 15 June 2024, 10:20:30.
const OraDate kNow{2024, 6, 15, 10, 20, 30};

OraDate toDate(const char* text, const char* model, const OraDate& now = kNow) {
  return DateFormat(model).parse(text, now);
}

struct ToCharCase {
  OraDate date;
  const char* model;
  const char* expected;
};

void expectFormats(std::initializer_list<ToCharCase> cases) {
  for (const ToCharCase& c : cases)
    EXPECT_EQ(toChar(c.date, c.model), c.expected) << c.model;
}

const OraDate kNewYear2000{2000, 1, 1, 0, 0, 0};    // a Saturday
const OraDate kAfternoon{1992, 11, 30, 15, 17, 5};  // a Monday

TEST(DateToCharTest, NumericElements) {
  expectFormats({
      {kNewYear2000, "DD-MON-RR", "01-JAN-00"},
      {kNewYear2000, "DD-MON-YYYY HH24:MI:SS", "01-JAN-2000 00:00:00"},
      {kAfternoon, "YYYY-MM-DD HH24:MI:SS", "1992-11-30 15:17:05"},
      {kAfternoon, "HH:MI:SS", "03:17:05"},
      {kAfternoon, "HH12", "03"},
      {{2000, 1, 1, 0, 30, 0}, "HH12", "12"},
      {{2000, 1, 1, 12, 30, 0}, "HH", "12"},
      {{2000, 12, 31, 0, 0, 0}, "DDD", "366"},
      {kNewYear2000, "J", "2451545"},
      {kNewYear2000, "D", "7"},
      {kAfternoon, "D", "2"},
      {kAfternoon, "Q", "4"},
      {{2000, 1, 8, 0, 0, 0}, "WW W", "02 2"},
      {{2005, 1, 1, 0, 0, 0}, "IW IYYY IYY IY I", "53 2004 004 04 4"},
      {kAfternoon, "SSSSS", "55025"},
      {kNewYear2000, "Y YY YYY YYYY", "0 00 000 2000"},
      {kNewYear2000, "Y,YYY", "2,000"},
      {kNewYear2000, "RRRR RR", "2000 00"},
      {{999, 3, 4, 0, 0, 0}, "YYYY", "0999"},
      {kNewYear2000, "CC SCC", "20  20"},
      {{2001, 1, 1, 0, 0, 0}, "CC", "21"},
  });
}

TEST(DateToCharTest, NamesTakeTheirCaseFromTheModelAndArePadded) {
  expectFormats({
      {kNewYear2000, "DY dy Dy", "SAT sat Sat"},
      {kNewYear2000, "MON Mon mon", "JAN Jan jan"},
      {kNewYear2000, "Day, DD Month YYYY", "Saturday , 01 January   2000"},
      {kNewYear2000, "DAY", "SATURDAY "},
      {{2000, 5, 3, 0, 0, 0}, "MONTH|", "MAY      |"},
      {{2000, 9, 6, 0, 0, 0}, "Month Day", "September Wednesday"},
      {kAfternoon, "RM", "XI  "},
      {kAfternoon, "rm", "xi  "},
      {kAfternoon, "HH:MI AM", "03:17 PM"},
      {kAfternoon, "HH:MI am", "03:17 pm"},
      {kAfternoon, "HH12:MI a.m.", "03:17 p.m."},
      {kNewYear2000, "HH:MI P.M.", "12:00 A.M."},
      {kNewYear2000, "YYYY AD", "2000 AD"},
      {kNewYear2000, "YYYY B.C.", "2000 A.D."},
  });
}

TEST(DateToCharTest, FillModeToggles) {
  expectFormats({
      {kNewYear2000, "FMDay, DD Month YYYY", "Saturday, 1 January 2000"},
      {kNewYear2000, "FMDay, FMDD Month YYYY", "Saturday, 01 January   2000"},
      {{2000, 3, 5, 7, 8, 9}, "FMMM/DD/YYYY HH24:MI:SS", "3/5/2000 7:8:9"},
      {kAfternoon, "FMRM", "XI"},
      {{5, 1, 1, 0, 0, 0}, "FMYYYY", "5"},
  });
}

TEST(DateToCharTest, BcYearsAndSignedYears) {
  const OraDate ides{-44, 3, 15, 0, 0, 0};
  expectFormats({
      {ides, "SYYYY-MM-DD", "-0044-03-15"},
      {ides, "YYYY BC", "0044 BC"},
      {ides, "YYYY A.D.", "0044 B.C."},
      {ides, "SCC", "-01"},
      {kNewYear2000, "SYYYY", " 2000"},
      {{-4712, 1, 1, 0, 0, 0}, "SYYYY-MM-DD", "-4712-01-01"},
  });
}

TEST(DateToCharTest, OrdinalAndSpelledSuffixes) {
  expectFormats({
      {{2000, 1, 1, 0, 0, 0}, "DDTH", "01ST"},
      {{2000, 1, 1, 0, 0, 0}, "DDth", "01st"},
      {{2000, 1, 22, 0, 0, 0}, "FMDDth", "22nd"},
      {{2000, 1, 13, 0, 0, 0}, "DDTH", "13TH"},
      {{2000, 1, 23, 0, 0, 0}, "DDTH", "23RD"},
      {{2000, 1, 25, 0, 0, 0}, "DDSP", "TWENTY-FIVE"},
      {{2000, 1, 25, 0, 0, 0}, "DdSP", "Twenty-Five"},
      {{2000, 1, 25, 0, 0, 0}, "ddspth", "twenty-fifth"},
      {{2000, 1, 1, 0, 0, 0}, "DDSPTH", "FIRST"},
      {{2000, 1, 12, 0, 0, 0}, "DDSPTH", "TWELFTH"},
      {{2000, 1, 20, 0, 0, 0}, "DDSPTH", "TWENTIETH"},
      {{2000, 12, 31, 0, 0, 0}, "DDDSP", "THREE HUNDRED SIXTY-SIX"},
      {{2000, 1, 1, 0, 0, 0}, "\"the\" Ddspth \"of\" Month", "the First of January  "},
  });
}

TEST(DateToCharTest, PunctuationAndQuotedText) {
  expectFormats({
      {kNewYear2000, "YYYY-MM-DD\"T\"HH24:MI:SS", "2000-01-01T00:00:00"},
      {kAfternoon, "\"Quarter \"Q", "Quarter 4"},
      {kNewYear2000, "DD.MM.YYYY", "01.01.2000"},
      {kNewYear2000, "YYYY/MM/DD;HH24", "2000/01/01;00"},
      {kNewYear2000, "\"\"YYYY", "2000"},
  });
}

TEST(DateToCharTest, BadModelsRaise01821) {
  for (const char* model : {"YYYY-MM-DDTHH24", "XYZ", "\"open", "YYYYMMDD2", "DD-MON-YYYYY E"})
    EXPECT_EQ(oraCode([&] { DateFormat m(model); }), 1821) << model;
  EXPECT_EQ(oraText([] { DateFormat m("bad"); }), "ORA-01821: date format not recognized");
}

struct ToDateCase {
  const char* text;
  const char* model;
  OraDate expected;
};

void expectParses(std::initializer_list<ToDateCase> cases, const OraDate& now = kNow) {
  for (const ToDateCase& c : cases)
    EXPECT_EQ(toDate(c.text, c.model, now), c.expected) << c.text << " / " << c.model;
}

TEST(DateToDateTest, ExactInput) {
  expectParses({
      {"01-JAN-2000", "DD-MON-YYYY", {2000, 1, 1, 0, 0, 0}},
      {"1992-11-30 15:17:05", "YYYY-MM-DD HH24:MI:SS", {1992, 11, 30, 15, 17, 5}},
      {"2451545", "J", {2000, 1, 1, 0, 0, 0}},
      {"2000-366", "YYYY-DDD", {2000, 12, 31, 0, 0, 0}},
      {"55025", "SSSSS", {2024, 6, 1, 15, 17, 5}},
      {"Saturday 01-JAN-2000", "Day DD-MON-YYYY", {2000, 1, 1, 0, 0, 0}},
      {"2000-01-01T10:20", "YYYY-MM-DD\"T\"HH24:MI", {2000, 1, 1, 10, 20, 0}},
      {"2,000", "Y,YYY", {2000, 6, 1, 0, 0, 0}},
      {"XI-1992", "RM-YYYY", {1992, 11, 1, 0, 0, 0}},
  });
}

TEST(DateToDateTest, LenientMatching) {
  expectParses({
      {"1-jan-2000", "dd-mon-yyyy", {2000, 1, 1, 0, 0, 0}},
      {"01/JAN/2000", "DD-MON-YYYY", {2000, 1, 1, 0, 0, 0}},
      {"  01-JAN-2000  ", "DD-MON-YYYY", {2000, 1, 1, 0, 0, 0}},
      {"20000101", "YYYYMMDD", {2000, 1, 1, 0, 0, 0}},
      {"20000101", "YYYY-MM-DD", {2000, 1, 1, 0, 0, 0}},
      {"2000-1-5", "YYYY-MM-DD", {2000, 1, 5, 0, 0, 0}},
      {"01-JANUARY-2000", "DD-MON-YYYY", {2000, 1, 1, 0, 0, 0}},
      {"01-JAN-2000", "DD-MONTH-YYYY", {2000, 1, 1, 0, 0, 0}},
      {"01-JAN-2000", "DD-MM-YYYY", {2000, 1, 1, 0, 0, 0}},
      {"01 January 2000", "DD Month YYYY", {2000, 1, 1, 0, 0, 0}},
      {"03:17 PM", "HH:MI AM", {2024, 6, 1, 15, 17, 0}},
      {"03:17 p.m.", "HH:MI AM", {2024, 6, 1, 15, 17, 0}},
      {"12:00 AM", "HH:MI AM", {2024, 6, 1, 0, 0, 0}},
      {"12:00 PM", "HH:MI PM", {2024, 6, 1, 12, 0, 0}},
  });
}

TEST(DateToDateTest, MissingFieldsDefaultToCurrentYearAndMonthDayOneMidnight) {
  expectParses({
      {"2000", "YYYY", {2000, 6, 1, 0, 0, 0}},
      {"15", "DD", {2024, 6, 15, 0, 0, 0}},
      {"10:30", "HH24:MI", {2024, 6, 1, 10, 30, 0}},
      {"03", "MM", {2024, 3, 1, 0, 0, 0}},
      // Input may stop where only time fields remain.
      {"2000-01-01 10", "YYYY-MM-DD HH24:MI:SS", {2000, 1, 1, 10, 0, 0}},
      {"01-JAN-2000", "DD-MON-YYYY HH24:MI:SS", {2000, 1, 1, 0, 0, 0}},
  });
}

TEST(DateToDateTest, TwoDigitYears) {
  expectParses({
      {"01-JAN-00", "DD-MON-RR", {2000, 1, 1, 0, 0, 0}},
      {"01-JAN-49", "DD-MON-RR", {2049, 1, 1, 0, 0, 0}},
      {"01-JAN-50", "DD-MON-RR", {1950, 1, 1, 0, 0, 0}},
      {"01-JAN-99", "DD-MON-RR", {1999, 1, 1, 0, 0, 0}},
      {"01-JAN-99", "DD-MON-YY", {2099, 1, 1, 0, 0, 0}},
      {"01-JAN-2005", "DD-MON-YY", {2005, 1, 1, 0, 0, 0}},
      {"01-JAN-1950", "DD-MON-RR", {1950, 1, 1, 0, 0, 0}},
      {"01-JAN-75", "DD-MON-RRRR", {1975, 1, 1, 0, 0, 0}},
      {"05", "YYYY", {5, 6, 1, 0, 0, 0}},
      {"7", "Y", {2027, 6, 1, 0, 0, 0}},
      {"999", "YYY", {2999, 6, 1, 0, 0, 0}},
      {"050101", "YYMMDD", {2005, 1, 1, 0, 0, 0}},
      {"050101", "RRMMDD", {2005, 1, 1, 0, 0, 0}},
  });
  // In the second half of a century RR moves small years to the next one.
  const OraDate late{2060, 1, 1, 0, 0, 0};
  expectParses({{"01-JAN-49", "DD-MON-RR", {2149, 1, 1, 0, 0, 0}},
                {"01-JAN-51", "DD-MON-RR", {2051, 1, 1, 0, 0, 0}}},
               late);
}

TEST(DateToDateTest, BcYears) {
  expectParses({
      {"01-JAN-2000 BC", "DD-MON-YYYY BC", {-2000, 1, 1, 0, 0, 0}},
      {"15-03-0044 B.C.", "DD-MM-YYYY AD", {-44, 3, 15, 0, 0, 0}},
      {"-0044-03-15", "SYYYY-MM-DD", {-44, 3, 15, 0, 0, 0}},
      {"15.03.-0044", "DD.MM.SYYYY", {-44, 3, 15, 0, 0, 0}},
      {"15.03. 0044", "DD.MM.SYYYY", {44, 3, 15, 0, 0, 0}},
      {"01-01-4712 BC", "DD-MM-YYYY BC", {-4712, 1, 1, 0, 0, 0}},
      {"01-01-2000 AD", "DD-MM-YYYY BC", {2000, 1, 1, 0, 0, 0}},
  });
}

TEST(DateToDateTest, ExactModeWithFx) {
  expectParses({
      {"01-01-2000", "FXDD-MM-YYYY", {2000, 1, 1, 0, 0, 0}},
      {"1-1-2000", "FXFMDD-MM-YYYY", {2000, 1, 1, 0, 0, 0}},
  });
  EXPECT_EQ(oraCode([] { toDate("1-01-2000", "FXDD-MM-YYYY"); }), 1862);
  EXPECT_EQ(oraCode([] { toDate("01/01/2000", "FXDD-MM-YYYY"); }), 1861);
  EXPECT_EQ(oraCode([] { toDate(" 01-01-2000", "FXDD-MM-YYYY"); }), 1858);
}

TEST(DateToDateTest, ErrorsCarryOraclesCodes) {
  struct Case {
    const char* text;
    const char* model;
    int code;
  };
  const Case cases[] = {
      {"01-JAN-2000 extra", "DD-MON-YYYY", 1830},
      {"2000-01-01 10:00", "YYYY-MM-DD", 1830},
      {"200801", "YYYYMMDD", 1840},
      {"01-JAN", "DD-MON-YYYY", 1840},
      {"01-XYZ-2000", "DD-MON-YYYY", 1843},
      {"13", "MM", 1843},
      {"01-01-2000", "DD-MON-YYYY", 1843},
      {"32-01-2000", "DD-MM-YYYY", 1847},
      {"00-01-2000", "DD-MM-YYYY", 1847},
      {"30-02-2000", "DD-MM-YYYY", 1839},
      {"29-02-2001", "DD-MM-YYYY", 1839},
      {"0", "YYYY", 1841},
      {"01-01-0000", "DD-MM-YYYY", 1841},
      {"24:00", "HH24:MI", 1850},
      {"10:60", "HH24:MI", 1851},
      {"10:10:60", "HH24:MI:SS", 1852},
      {"13", "HH", 1849},
      {"86400", "SSSSS", 1853},
      {"0", "J", 1854},
      {"2001-366", "YYYY-DDD", 1848},
      {"AB-01-2000", "DD-MM-YYYY", 1858},
      {"2000-01-01X10", "YYYY-MM-DD\"T\"HH24", 1861},
      {"10:00 XM", "HH:MI AM", 1855},
      {"01-01-2000 XY", "DD-MM-YYYY BC", 1856},
      {"FOO 01-01-2000", "DY DD-MM-YYYY", 1846},
      {"20", "CC", 1820},
      {"4", "Q", 1820},
      {"01ST", "DDTH", 1820},
      {"2000 2001", "YYYY RRRR", 1810},
      {"01 02", "MM MON", 1810},
  };
  for (const Case& c : cases)
    EXPECT_EQ(oraCode([&] { toDate(c.text, c.model); }), c.code) << c.text << " / " << c.model;
  EXPECT_EQ(oraText([] { toDate("01-XYZ-2000", "DD-MON-YYYY"); }), "ORA-01843: not a valid month");
}

TEST(DateToDateTest, FormattedDatesReadBack) {
  const OraDate dates[] = {{-4712, 1, 1, 0, 0, 0}, {-1, 12, 31, 23, 59, 59},
                           {1, 1, 1, 0, 0, 0},     {1999, 12, 31, 12, 0, 1},
                           {2000, 2, 29, 4, 5, 6}, {9999, 12, 31, 23, 59, 59}};
  const char* models[] = {"SYYYY-MM-DD HH24:MI:SS", "DD-MON-YYYY HH:MI:SS AM BC", "J SSSSS",
                          "FMDay, DDth \"of\" Month YYYY BC HH24:MI:SS"};
  for (const char* model : models) {
    DateFormat f(model);
    for (const OraDate& d : dates) {
      if (std::string(model).find("TH") != std::string::npos ||
          std::string(model).find("th") != std::string::npos)
        continue;  // TH cannot be read back (ORA-01820)
      EXPECT_EQ(f.parse(f.format(d), kNow), d) << model << ": " << f.format(d);
    }
  }
}

}  // namespace
}  // namespace vorn::server
