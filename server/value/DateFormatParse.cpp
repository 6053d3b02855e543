// TO_DATE: reading text through a compiled date format model with
// Oracle's lenient matching; see DateFormat.h for the rules.
#include <cctype>
#include <cstring>
#include <initializer_list>

#include "value/AsciiCase.h"
#include "value/DateFormat.h"
#include "value/DateNames.h"
#include "value/OraError.h"

namespace vorn::server {
namespace {

using Element = DateFormat::Element;
using Kind = Element::Kind;

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}
bool isAlnum(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

// Field groups: an element of a group may appear once (ORA-01810).
enum Group : unsigned {
  kYear = 1u << 0,
  kMonth = 1u << 1,
  kDay = 1u << 2,
  kDayOfYear = 1u << 3,
  kJulian = 1u << 4,
  kHour = 1u << 5,
  kMinute = 1u << 6,
  kSecond = 1u << 7,
  kSecondsOfDay = 1u << 8,
  kEra = 1u << 9,
  kMeridian = 1u << 10,
  kWeekday = 1u << 11,
};

unsigned groupOf(Kind k) {
  switch (k) {
    case Kind::Y:
    case Kind::YY:
    case Kind::YYY:
    case Kind::YYYY:
    case Kind::SYYYY:
    case Kind::RR:
    case Kind::RRRR:
    case Kind::YCommaYYY:
      return kYear;
    case Kind::MM:
    case Kind::Mon:
    case Kind::Month:
    case Kind::RM:
      return kMonth;
    case Kind::DD:
      return kDay;
    case Kind::DDD:
      return kDayOfYear;
    case Kind::J:
      return kJulian;
    case Kind::HH12:
    case Kind::HH24:
      return kHour;
    case Kind::MI:
      return kMinute;
    case Kind::SS:
      return kSecond;
    case Kind::SSSSS:
      return kSecondsOfDay;
    case Kind::AdBc:
      return kEra;
    case Kind::AmPm:
      return kMeridian;
    case Kind::D:
    case Kind::Day:
    case Kind::DY:
      return kWeekday;
    default:
      return 0;  // Literal, or an element not allowed on input
  }
}

// Fields without which the input cannot end (ORA-01840).
bool isDateField(Kind k) {
  return (groupOf(k) & (kYear | kMonth | kDay | kDayOfYear | kJulian)) != 0;
}

int maxDigits(Kind k) {
  switch (k) {
    case Kind::D:
    case Kind::Y:
      return 1;
    case Kind::DD:
    case Kind::HH12:
    case Kind::HH24:
    case Kind::MI:
    case Kind::MM:
    case Kind::SS:
    case Kind::YY:
    case Kind::RR:
      return 2;
    case Kind::DDD:
    case Kind::YYY:
      return 3;
    case Kind::YYYY:
    case Kind::SYYYY:
    case Kind::RRRR:
      return 4;
    case Kind::SSSSS:
      return 5;
    case Kind::J:
      return 7;
    default:
      return 0;
  }
}

class Reader {
 public:
  Reader(std::string_view text) : s_(text) {}

  bool atEnd() const { return pos_ >= s_.size(); }
  void skipBlanks() {
    while (pos_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[pos_])))
      ++pos_;
  }
  // Skips a run of punctuation; with `keepSign` a '-' or '+' right before
  // a digit stays (it is the sign of an SYYYY year).
  void skipPunctuation(bool keepSign = false) {
    while (pos_ < s_.size() && !isAlnum(s_[pos_])) {
      if (keepSign && (s_[pos_] == '-' || s_[pos_] == '+') && pos_ + 1 < s_.size() &&
          isDigit(s_[pos_ + 1]))
        break;
      ++pos_;
    }
  }
  char peek() const { return atEnd() ? '\0' : s_[pos_]; }
  void advance(size_t n) { pos_ += n; }
  std::string_view rest() const { return s_.substr(pos_); }

  // Up to `width` digits; raises ORA-01858 when there is none, ORA-01862
  // in FX mode when fewer than `width` are given and `exactWidth` is set.
  int64_t digits(int width, bool exactWidth) {
    size_t start = pos_;
    int64_t v = 0;
    while (pos_ < s_.size() && isDigit(s_[pos_]) && static_cast<int>(pos_ - start) < width)
      v = v * 10 + (s_[pos_++] - '0');
    if (pos_ == start) raiseOra(1858);
    if (exactWidth && static_cast<int>(pos_ - start) < width) raiseOra(1862);
    return v;
  }
  int digitsRead(size_t since) const { return static_cast<int>(pos_ - since); }
  size_t position() const { return pos_; }

  // The longest of `names` the input starts with (case-insensitive): its
  // index, or -1.
  int matchName(const char* const* names, int count) {
    int best = -1;
    size_t bestLen = 0;
    if (atEnd()) return -1;
    char first = asciiUpper(s_[pos_]);
    for (int i = 0; i < count; ++i) {
      if (names[i][0] != first) continue;
      size_t len = std::strlen(names[i]);
      if (len > bestLen && startsWithNoCase(names[i], len)) {
        best = i;
        bestLen = len;
      }
    }
    if (best >= 0) pos_ += bestLen;
    return best;
  }
  bool matchWord(const char* word) {
    size_t len = std::strlen(word);
    if (!startsWithNoCase(word, len)) return false;
    pos_ += len;
    return true;
  }

 private:
  bool startsWithNoCase(const char* upper, size_t len) const {
    if (s_.size() - pos_ < len) return false;
    for (size_t i = 0; i < len; ++i)
      if (asciiUpper(s_[pos_ + i]) != upper[i]) return false;
    return true;
  }

  std::string_view s_;
  size_t pos_ = 0;
};

int resolveTwoDigitYear(int64_t v, Kind k, int currentYear) {
  int cy = currentYear < 0 ? 0 : currentYear;
  int century = cy / 100, inCentury = cy % 100;
  if (k == Kind::RR || k == Kind::RRRR) {
    if (v < 50) return static_cast<int>((inCentury < 50 ? century : century + 1) * 100 + v);
    return static_cast<int>((inCentury < 50 ? century - 1 : century) * 100 + v);
  }
  return static_cast<int>(century * 100 + v);
}

// The month, by digits or (outside FX) by name.
int readMonth(Reader& in, const Element& e) {
  int m = -1;
  if (e.kind == Kind::MM && isDigit(in.peek())) {
    m = static_cast<int>(in.digits(2, e.exact && e.fill));
    if (m < 1 || m > 12) raiseOra(1843);
    return m;
  }
  if (e.kind == Kind::RM) {
    m = in.matchName(kRomanMonths, 12);
  } else if (e.exact) {
    m = e.kind == Kind::Month ? in.matchName(kMonthNames, 12)
                              : in.matchName(kMonthAbbreviations, 12);
  } else {
    m = in.matchName(kMonthNames, 12);
    if (m < 0) m = in.matchName(kMonthAbbreviations, 12);
  }
  if (m < 0) raiseOra(isDigit(in.peek()) || e.kind != Kind::MM ? 1843 : 1858);
  return m + 1;
}

}  // namespace

OraDate DateFormat::parse(std::string_view text, const OraDate& now) const {
  Reader in(text);
  unsigned seen = 0;
  int year = now.year, month = -1, day = -1, dayOfYear = -1, hour24 = -1, hour12 = -1;
  int minute = 0, second = 0, secondsOfDay = -1, meridian = -1, era = 0;
  int64_t julian = -1;

  for (size_t k = 0; k < elements_.size(); ++k) {
    const Element& e = elements_[k];
    if (e.kind == Kind::Literal) {
      bool hasAlnum = false;
      for (char c : e.text)
        hasAlnum = hasAlnum || isAlnum(c);
      if (e.exact || hasAlnum) {
        if (!e.exact) in.skipBlanks();
        std::string upper = asciiUpperCase(e.text);
        std::string_view want = upper;
        if (!e.exact) {
          // Outside FX the literal's punctuation is as lenient as elsewhere.
          size_t b = 0, en = want.size();
          while (b < en && !isAlnum(want[b]))
            ++b;
          while (en > b && !isAlnum(want[en - 1]))
            --en;
          in.skipPunctuation();
          if (in.atEnd()) continue;
          if (!in.matchWord(std::string(want.substr(b, en - b)).c_str())) raiseOra(1861);
          in.skipPunctuation();
        } else if (!in.matchWord(upper.c_str())) {
          raiseOra(1861);
        }
      } else {
        bool signedYearNext = k + 1 < elements_.size() && elements_[k + 1].kind == Kind::SYYYY;
        in.skipPunctuation(signedYearNext);
      }
      continue;
    }
    unsigned group = groupOf(e.kind);
    if (group == 0 || e.spelled || e.ordinal) raiseOra(1820);
    if (seen & group) raiseOra(1810);
    seen |= group;
    if (!e.exact) in.skipBlanks();
    if (in.atEnd()) {
      // The input may stop where only time fields and markers remain.
      for (size_t r = k; r < elements_.size(); ++r)
        if (isDateField(elements_[r].kind)) raiseOra(1840);
      break;
    }
    bool exactWidth = e.exact && e.fill;
    switch (e.kind) {
      case Kind::AdBc: {
        static const char* const kEras[] = {"AD", "A.D.", "BC", "B.C."};
        int i = in.matchName(kEras, 4);
        if (i < 0) raiseOra(1856);
        era = i < 2 ? 1 : -1;
        break;
      }
      case Kind::AmPm: {
        static const char* const kMeridians[] = {"AM", "A.M.", "PM", "P.M."};
        int i = in.matchName(kMeridians, 4);
        if (i < 0) raiseOra(1855);
        meridian = i < 2 ? 0 : 1;
        break;
      }
      case Kind::Day:
      case Kind::DY: {
        int i = in.matchName(kDayNames, 7);
        if (i < 0) i = in.matchName(kDayAbbreviations, 7);
        if (i < 0) raiseOra(1846);
        break;
      }
      case Kind::D: {
        int64_t v = in.digits(1, exactWidth);
        if (v < 1 || v > 7) raiseOra(1846);
        break;
      }
      case Kind::MM:
      case Kind::Mon:
      case Kind::Month:
      case Kind::RM:
        month = readMonth(in, e);
        break;
      case Kind::DD:
        day = static_cast<int>(in.digits(2, exactWidth));
        if (day < 1 || day > 31) raiseOra(1847);
        break;
      case Kind::DDD:
        dayOfYear = static_cast<int>(in.digits(3, exactWidth));
        if (dayOfYear < 1 || dayOfYear > 366) raiseOra(1848);
        break;
      case Kind::J:
        julian = in.digits(7, exactWidth);
        if (julian < 1 || julian > 5373484) raiseOra(1854);
        break;
      case Kind::HH12:
        hour12 = static_cast<int>(in.digits(2, exactWidth));
        if (hour12 < 1 || hour12 > 12) raiseOra(1849);
        break;
      case Kind::HH24:
        hour24 = static_cast<int>(in.digits(2, exactWidth));
        if (hour24 > 23) raiseOra(1850);
        break;
      case Kind::MI:
        minute = static_cast<int>(in.digits(2, exactWidth));
        if (minute > 59) raiseOra(1851);
        break;
      case Kind::SS:
        second = static_cast<int>(in.digits(2, exactWidth));
        if (second > 59) raiseOra(1852);
        break;
      case Kind::SSSSS:
        secondsOfDay = static_cast<int>(in.digits(5, exactWidth));
        if (secondsOfDay > 86399) raiseOra(1853);
        break;
      case Kind::YCommaYYY: {
        int64_t v = in.digits(1, false);
        if (in.peek() == ',') {
          in.advance(1);
          size_t at = in.position();
          int64_t low = in.digits(3, false);
          if (in.digitsRead(at) != 3) raiseOra(1858);
          v = v * 1000 + low;
        } else if (isDigit(in.peek())) {
          v = v * 1000 + in.digits(3, false);
        }
        year = static_cast<int>(v);
        break;
      }
      default: {  // the year elements
        int sign = 1;
        if (e.kind == Kind::SYYYY && (in.peek() == '-' || in.peek() == '+')) {
          sign = in.peek() == '-' ? -1 : 1;
          in.advance(1);
        }
        // Outside FX, YY and RR also take a four-digit year as it stands
        // unless another number follows without a separator.
        int width = maxDigits(e.kind);
        if (!e.exact && (e.kind == Kind::YY || e.kind == Kind::RR || e.kind == Kind::RRRR)) {
          bool numberFollows = k + 1 < elements_.size() && maxDigits(elements_[k + 1].kind) > 0;
          if (!numberFollows) width = 4;
        }
        size_t at = in.position();
        int64_t v = in.digits(width, exactWidth);
        int count = in.digitsRead(at);
        switch (e.kind) {
          case Kind::Y:
            year = (now.year / 10) * 10 + static_cast<int>(v);
            break;
          case Kind::YYY:
            year = (now.year / 1000) * 1000 + static_cast<int>(v);
            break;
          case Kind::YY:
          case Kind::RR:
          case Kind::RRRR:
            year = count <= 2 ? resolveTwoDigitYear(v, e.kind, now.year) : static_cast<int>(v);
            break;
          default:
            year = static_cast<int>(v) * sign;
            break;
        }
        if (year == 0) raiseOra(1841);
        break;
      }
    }
  }
  in.skipBlanks();
  if (!in.atEnd()) raiseOra(1830);

  OraDate d;
  d.year = year;
  if (era < 0 && d.year > 0) d.year = -d.year;
  if (d.year == 0 || d.year < kMinYear || d.year > kMaxYear) raiseOra(1841);
  if (julian >= 0) {
    civilFromDays(julian - kJulianDayOfEpoch, d.year, d.month, d.day);
  } else if (dayOfYear >= 0) {
    if (dayOfYear > (isLeapYear(d.year) ? 366 : 365)) raiseOra(1848);
    civilFromDays(daysFromCivil(d.year, 1, 1) + dayOfYear - 1, d.year, d.month, d.day);
  } else {
    d.month = month > 0 ? month : now.month;
    d.day = day > 0 ? day : 1;
    if (d.day > daysInMonth(d.year, d.month)) raiseOra(1839);
  }
  if (secondsOfDay >= 0) {
    d.hour = secondsOfDay / 3600;
    d.minute = secondsOfDay / 60 % 60;
    d.second = secondsOfDay % 60;
  } else {
    if (hour24 >= 0)
      d.hour = hour24;
    else if (hour12 >= 0)
      d.hour = hour12 % 12 + (meridian == 1 ? 12 : 0);
    else
      d.hour = meridian == 1 ? 12 : 0;
    d.minute = minute;
    d.second = second;
  }
  d.validate();
  return d;
}

}  // namespace vorn::server
