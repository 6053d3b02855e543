// FormatDateTime and the date and time parsers.
#include "vorn/host/DateTimeText.h"

#include <algorithm>
#include <optional>

#include "vorn/host/Exceptions.h"
#include "vorn/host/TextUtils.h"

namespace vorn {
namespace {

char UpperAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

bool StartsWithText(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

std::string Padded(int value, int digits) {
  std::string text = std::to_string(value);
  if (static_cast<int>(text.size()) < digits) text.insert(0, digits - text.size(), '0');
  return text;
}

class DateTimeFormatter {
 public:
  DateTimeFormatter(TDateTime value, const TFormatSettings& settings)
      : value_(value), settings_(settings) {}

  std::string Format(std::string_view format) {
    Append(format.empty() ? std::string_view("c") : format);
    return out_;
  }

 private:
  struct Date {
    uint16_t year, month, day;
  };
  struct Clock {
    uint16_t hour, min, sec, msec;
  };

  const Date& GetDate() {
    if (!date_) {
      date_.emplace();
      DecodeDate(value_, date_->year, date_->month, date_->day);
    }
    return *date_;
  }
  const Clock& GetTime() {
    if (!time_) {
      time_.emplace();
      DecodeTime(value_, time_->hour, time_->min, time_->sec, time_->msec);
    }
    return *time_;
  }
  int WeekDay() { return DayOfWeek(value_) - 1; }

  // Formats nested through "ddddd", "t" and "c" are expanded one level deep,
  // so a format that names itself cannot recurse without end.
  void Append(std::string_view f) {
    if (level_ >= 2) return;
    ++level_;
    char lastToken = ' ';
    bool twelveHour = false;
    size_t i = 0;
    while (i < f.size()) {
      const char starter = f[i++];
      auto count = [&] {
        int n = 1;
        while (i < f.size() && f[i] == starter) {
          ++i;
          ++n;
        }
        return n;
      };
      char token = UpperAscii(starter);
      if (token >= 'A' && token <= 'Z') {
        if (token == 'M' && lastToken == 'H') token = 'N';
        lastToken = token;
      }
      switch (token) {
        case 'Y': {
          int n = count();
          int year = GetDate().year;
          out_ += n <= 2 ? Padded(year % 100, 2) : Padded(year, 4);
          break;
        }
        case 'M': {
          int n = count();
          int month = GetDate().month;
          if (n <= 2) {
            out_ += Padded(month, n);
          } else if (n == 3) {
            out_ += settings_.ShortMonthNames[month - 1];
          } else {
            out_ += settings_.LongMonthNames[month - 1];
          }
          break;
        }
        case 'D': {
          int n = count();
          if (n <= 2) {
            out_ += Padded(GetDate().day, n);
          } else if (n == 3) {
            out_ += settings_.ShortDayNames[WeekDay()];
          } else if (n == 4) {
            out_ += settings_.LongDayNames[WeekDay()];
          } else if (n == 5) {
            Append(settings_.ShortDateFormat);
          } else {
            Append(settings_.LongDateFormat);
          }
          break;
        }
        case 'H': {
          int n = count();
          if (!twelveHour) twelveHour = AmPmFollows(f.substr(i));
          int hour = GetTime().hour;
          if (twelveHour) {
            if (hour == 0) {
              hour = 12;
            } else if (hour > 12) {
              hour -= 12;
            }
          }
          out_ += Padded(hour, std::min(n, 2));
          break;
        }
        case 'N':
          out_ += Padded(GetTime().min, std::min(count(), 2));
          break;
        case 'S':
          out_ += Padded(GetTime().sec, std::min(count(), 2));
          break;
        case 'Z':
          out_ += Padded(GetTime().msec, std::min(count(), 3));
          break;
        case 'T':
          Append(count() == 1 ? settings_.ShortTimeFormat : settings_.LongTimeFormat);
          break;
        case 'C': {
          count();
          Append(settings_.ShortDateFormat);
          const Clock& t = GetTime();
          if (t.hour != 0 || t.min != 0 || t.sec != 0 || t.msec != 0) {
            out_ += ' ';
            Append(settings_.LongTimeFormat);
          }
          break;
        }
        case 'A': {
          std::string_view rest = f.substr(i - 1);
          int hour = -1;
          auto h = [&] { return hour < 0 ? (hour = GetTime().hour) : hour; };
          if (StartsWithText(rest, "AM/PM")) {
            out_ += h() >= 12 ? rest.substr(3, 2) : rest.substr(0, 2);
            i += 4;
            twelveHour = true;
          } else if (StartsWithText(rest, "A/P")) {
            out_ += h() >= 12 ? rest[2] : rest[0];
            i += 2;
            twelveHour = true;
          } else if (StartsWithText(rest, "AMPM")) {
            out_ += h() < 12 ? settings_.TimeAMString : settings_.TimePMString;
            i += 3;
            twelveHour = true;
          } else if (StartsWithText(rest, "AAAA")) {
            out_ += settings_.LongDayNames[WeekDay()];
            i += 3;
          } else if (StartsWithText(rest, "AAA")) {
            out_ += settings_.ShortDayNames[WeekDay()];
            i += 2;
          } else {
            out_ += starter;
          }
          break;
        }
        case '/':
          if (settings_.DateSeparator != '\0') out_ += settings_.DateSeparator;
          break;
        case ':':
          if (settings_.TimeSeparator != '\0') out_ += settings_.TimeSeparator;
          break;
        case '\'':
        case '"': {
          size_t end = f.find(starter, i);
          if (end == std::string_view::npos) end = f.size();
          out_.append(f.substr(i, end - i));
          i = end < f.size() ? end + 1 : end;
          break;
        }
        default:
          out_ += starter;
          break;
      }
    }
    --level_;
  }

  // Whether an am/pm code comes before the next hour code.
  static bool AmPmFollows(std::string_view rest) {
    bool quoted = false;
    for (size_t p = 0; p < rest.size(); ++p) {
      char c = rest[p];
      if (c == '\'' || c == '"') {
        quoted = !quoted;
      } else if (!quoted && (c == 'A' || c == 'a')) {
        std::string_view at = rest.substr(p);
        return StartsWithText(at, "AM/PM") || StartsWithText(at, "A/P") ||
               StartsWithText(at, "AMPM");
      } else if (!quoted && (c == 'H' || c == 'h')) {
        return false;
      }
    }
    return false;
  }

  TDateTime value_;
  const TFormatSettings& settings_;
  std::string out_;
  int level_ = 0;
  std::optional<Date> date_;
  std::optional<Clock> time_;
};

enum DateOrder { doMDY, doDMY, doYMD };

DateOrder GetDateOrder(std::string_view format) {
  char quote = 0;
  for (char c : format) {
    if (quote) {
      if (c == quote) quote = 0;
      continue;
    }
    switch (UpperAscii(c)) {
      case '"':
      case '\'':
        quote = c;
        break;
      case 'E':
      case 'Y':
        return doYMD;
      case 'M':
        return doMDY;
      case 'D':
        return doDMY;
      default:
        break;
    }
  }
  return doMDY;
}

// Reads dates and times left to right; blanks before each part are skipped.
class Scanner {
 public:
  Scanner(std::string_view text, const TFormatSettings& settings)
      : text_(text), settings_(settings) {}

  bool AtEnd() const { return pos_ >= text_.size(); }

  bool ScanDate(TDateTime& date) {
    int n1, l1, n2, l2, n3 = 0, l3 = 0;
    if (!(ScanNumber(n1, l1) && ScanChar(settings_.DateSeparator) && ScanNumber(n2, l2))) {
      return false;
    }
    const DateOrder order = GetDateOrder(settings_.ShortDateFormat);
    int year, month, day;
    if (ScanChar(settings_.DateSeparator)) {
      if (!ScanNumber(n3, l3)) return false;
      int yearLength;
      switch (order) {
        case doMDY:
          year = n3, yearLength = l3, month = n1, day = n2;
          break;
        case doDMY:
          year = n3, yearLength = l3, month = n2, day = n1;
          break;
        default:
          year = n1, yearLength = l1, month = n2, day = n3;
          break;
      }
      if (yearLength <= 2) year = PlaceTwoDigitYear(year);
    } else {
      year = CurrentYear();
      if (order == doDMY) {
        day = n1, month = n2;
      } else {
        month = n1, day = n2;
      }
    }
    ScanChar(settings_.DateSeparator);
    SkipBlanks();
    return TryEncodeDate(year, month, day, date);
  }

  bool ScanTime(TDateTime& time) {
    int baseHour = ScanAmPm();
    if (baseHour >= 0) SkipBlanks();
    int hour, min = 0, sec = 0, msec = 0, length;
    if (!ScanNumber(hour, length)) return false;
    if (ScanChar(settings_.TimeSeparator)) {
      if (!ScanNumber(min, length)) return false;
      if (ScanChar(settings_.TimeSeparator)) {
        if (!ScanNumber(sec, length)) return false;
        if (ScanChar(settings_.DecimalSeparator) && !ScanFraction(msec)) return false;
      }
    }
    if (baseHour < 0) baseHour = ScanAmPm();
    if (baseHour >= 0) {
      if (hour == 0 || hour > 12) return false;
      if (hour == 12) hour = 0;
      hour += baseHour;
    }
    SkipBlanks();
    return TryEncodeTime(hour, min, sec, msec, time);
  }

 private:
  void SkipBlanks() {
    while (pos_ < text_.size() && text_[pos_] == ' ')
      ++pos_;
  }

  // At most four digits, as a year needs.
  bool ScanNumber(int& number, int& length) {
    SkipBlanks();
    size_t i = pos_;
    int n = 0;
    while (i < text_.size() && text_[i] >= '0' && text_[i] <= '9' && n < 1000) {
      n = n * 10 + (text_[i] - '0');
      ++i;
    }
    if (i == pos_) return false;
    length = static_cast<int>(i - pos_);
    pos_ = i;
    number = n;
    return true;
  }

  // Fractions of a second, to the millisecond (further digits are dropped).
  bool ScanFraction(int& msec) {
    size_t i = pos_;
    int scale = 100;
    msec = 0;
    while (i < text_.size() && text_[i] >= '0' && text_[i] <= '9') {
      msec += (text_[i] - '0') * scale;
      scale /= 10;
      ++i;
    }
    if (i == pos_) return false;
    pos_ = i;
    return true;
  }

  bool ScanChar(char c) {
    SkipBlanks();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }

  bool ScanString(std::string_view word) {
    SkipBlanks();
    if (!word.empty() && StartsWithText(text_.substr(pos_), word)) {
      pos_ += word.size();
      return true;
    }
    return false;
  }

  // 0 after an AM marker, 12 after a PM marker, -1 without one.
  int ScanAmPm() {
    if (ScanString(settings_.TimeAMString) || ScanString("AM")) return 0;
    if (ScanString(settings_.TimePMString) || ScanString("PM")) return 12;
    return -1;
  }

  int PlaceTwoDigitYear(int year) const {
    const int window = settings_.TwoDigitYearCenturyWindow;
    const int pivot = CurrentYear() - window;
    year += pivot / 100 * 100;
    if (window > 0 && year < pivot) year += 100;
    return year;
  }

  std::string_view text_;
  const TFormatSettings& settings_;
  size_t pos_ = 0;
};

[[noreturn]] void ConvertError(std::string_view text, const char* what) {
  throw EConvertError("'" + std::string(text) + "' is not a valid " + what);
}

}  // namespace

std::string FormatDateTime(std::string_view format, TDateTime value,
                           const TFormatSettings& settings) {
  return DateTimeFormatter(value, settings).Format(format);
}

std::string DateTimeToStr(TDateTime value, const TFormatSettings& settings) {
  return FormatDateTime("c", value, settings);
}

std::string DateToStr(TDateTime value, const TFormatSettings& settings) {
  return FormatDateTime("ddddd", value, settings);
}

std::string TimeToStr(TDateTime value, const TFormatSettings& settings) {
  return FormatDateTime("tt", value, settings);
}

bool TryStrToDate(std::string_view text, TDateTime& value, const TFormatSettings& settings) {
  Scanner scanner(text, settings);
  return scanner.ScanDate(value) && scanner.AtEnd();
}

bool TryStrToTime(std::string_view text, TDateTime& value, const TFormatSettings& settings) {
  Scanner scanner(text, settings);
  return scanner.ScanTime(value) && scanner.AtEnd();
}

bool TryStrToDateTime(std::string_view text, TDateTime& value, const TFormatSettings& settings) {
  Scanner scanner(text, settings);
  TDateTime date, time = 0;
  if (scanner.ScanDate(date) && (scanner.AtEnd() || (scanner.ScanTime(time) && scanner.AtEnd()))) {
    value = ComposeDateTime(date, time);
    return true;
  }
  return TryStrToTime(text, value, settings);
}

TDateTime StrToDate(std::string_view text, const TFormatSettings& settings) {
  TDateTime value;
  if (!TryStrToDate(text, value, settings)) ConvertError(text, "date");
  return value;
}

TDateTime StrToTime(std::string_view text, const TFormatSettings& settings) {
  TDateTime value;
  if (!TryStrToTime(text, value, settings)) ConvertError(text, "time");
  return value;
}

TDateTime StrToDateTime(std::string_view text, const TFormatSettings& settings) {
  TDateTime value;
  if (!TryStrToDateTime(text, value, settings)) ConvertError(text, "date and time");
  return value;
}

}  // namespace vorn
