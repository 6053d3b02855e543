// Names of the date language AMERICAN; see DateNames.h.
#include "value/DateNames.h"

#include <cstring>
#include <string_view>

namespace vorn::server {

const char* const kMonthNames[12] = {"JANUARY",   "FEBRUARY", "MARCH",    "APRIL",
                                     "MAY",       "JUNE",     "JULY",     "AUGUST",
                                     "SEPTEMBER", "OCTOBER",  "NOVEMBER", "DECEMBER"};
const char* const kMonthAbbreviations[12] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                             "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
const char* const kRomanMonths[12] = {"I",   "II",   "III", "IV", "V",  "VI",
                                      "VII", "VIII", "IX",  "X",  "XI", "XII"};
const char* const kDayNames[7] = {"SUNDAY",   "MONDAY", "TUESDAY", "WEDNESDAY",
                                  "THURSDAY", "FRIDAY", "SATURDAY"};
const char* const kDayAbbreviations[7] = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};

namespace {

const char* const kOnes[20] = {"ZERO",    "ONE",     "TWO",       "THREE",    "FOUR",
                               "FIVE",    "SIX",     "SEVEN",     "EIGHT",    "NINE",
                               "TEN",     "ELEVEN",  "TWELVE",    "THIRTEEN", "FOURTEEN",
                               "FIFTEEN", "SIXTEEN", "SEVENTEEN", "EIGHTEEN", "NINETEEN"};
const char* const kTens[10] = {"",      "",      "TWENTY",  "THIRTY", "FORTY",
                               "FIFTY", "SIXTY", "SEVENTY", "EIGHTY", "NINETY"};

void spellBelowThousand(int64_t v, std::string& out) {
  if (v >= 100) {
    out += kOnes[v / 100];
    out += " HUNDRED";
    v %= 100;
    if (v == 0) return;
    out += ' ';
  }
  if (v < 20) {
    out += kOnes[v];
    return;
  }
  out += kTens[v / 10];
  if (v % 10) {
    out += '-';
    out += kOnes[v % 10];
  }
}

void spell(int64_t v, std::string& out) {
  static constexpr struct {
    int64_t scale;
    const char* name;
  } kScales[] = {{1000000000, " BILLION"}, {1000000, " MILLION"}, {1000, " THOUSAND"}};
  if (v == 0) {
    out += kOnes[0];
    return;
  }
  bool first = true;
  for (const auto& s : kScales) {
    if (v >= s.scale) {
      if (!first) out += ' ';
      spellBelowThousand(v / s.scale % 1000, out);
      out += s.name;
      v %= s.scale;
      first = false;
    }
  }
  if (v > 0) {
    if (!first) out += ' ';
    spellBelowThousand(v, out);
  }
}

// Turns the last word of a spelled number into its ordinal form.
void makeOrdinal(std::string& s) {
  size_t start = s.find_last_of(" -");
  start = start == std::string::npos ? 0 : start + 1;
  std::string_view last(s.data() + start, s.size() - start);
  static constexpr struct {
    const char* word;
    const char* ordinal;
  } kIrregular[] = {{"ONE", "FIRST"},    {"TWO", "SECOND"}, {"THREE", "THIRD"},   {"FIVE", "FIFTH"},
                    {"EIGHT", "EIGHTH"}, {"NINE", "NINTH"}, {"TWELVE", "TWELFTH"}};
  for (const auto& w : kIrregular) {
    if (last == w.word) {
      s.replace(start, std::string::npos, w.ordinal);
      return;
    }
  }
  if (s.back() == 'Y') {
    s.pop_back();
    s += "IETH";
  } else {
    s += "TH";
  }
}

}  // namespace

std::string spellNumber(int64_t value, bool ordinal) {
  std::string out;
  if (value < 0) {
    out += "MINUS ";
    value = -value;
  }
  spell(value, out);
  if (ordinal) makeOrdinal(out);
  return out;
}

}  // namespace vorn::server
