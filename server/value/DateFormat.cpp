// Date format models: compiling a model and TO_CHAR; see DateFormat.h.
// TO_DATE lives in DateFormatParse.cpp.
#include "value/DateFormat.h"
#include "value/AsciiCase.h"

#include <cctype>
#include <charconv>
#include <cstring>

#include "value/DateNames.h"
#include "value/OraError.h"

namespace vorn::server {
namespace {

using Kind = DateFormat::Element::Kind;
using Case = DateFormat::Element::Case;

struct ElementName {
  const char* name;
  Kind kind;
  bool dots;
};

// Every element name; the compiler takes the longest one that matches.
constexpr ElementName kElementNames[] = {
    {"A.D.", Kind::AdBc, true},    {"B.C.", Kind::AdBc, true},    {"AD", Kind::AdBc, false},
    {"BC", Kind::AdBc, false},     {"A.M.", Kind::AmPm, true},    {"P.M.", Kind::AmPm, true},
    {"AM", Kind::AmPm, false},     {"PM", Kind::AmPm, false},     {"CC", Kind::CC, false},
    {"SCC", Kind::SCC, false},     {"D", Kind::D, false},         {"DAY", Kind::Day, false},
    {"DD", Kind::DD, false},       {"DDD", Kind::DDD, false},     {"DY", Kind::DY, false},
    {"HH", Kind::HH12, false},     {"HH12", Kind::HH12, false},   {"HH24", Kind::HH24, false},
    {"IW", Kind::IW, false},       {"I", Kind::I, false},         {"IY", Kind::IY, false},
    {"IYY", Kind::IYY, false},     {"IYYY", Kind::IYYY, false},   {"J", Kind::J, false},
    {"MI", Kind::MI, false},       {"MM", Kind::MM, false},       {"MON", Kind::Mon, false},
    {"MONTH", Kind::Month, false}, {"Q", Kind::Q, false},         {"RM", Kind::RM, false},
    {"RR", Kind::RR, false},       {"RRRR", Kind::RRRR, false},   {"SS", Kind::SS, false},
    {"SSSSS", Kind::SSSSS, false}, {"W", Kind::W, false},         {"WW", Kind::WW, false},
    {"Y", Kind::Y, false},         {"YY", Kind::YY, false},       {"YYY", Kind::YYY, false},
    {"YYYY", Kind::YYYY, false},   {"SYYYY", Kind::SYYYY, false}, {"Y,YYY", Kind::YCommaYYY, false},
};

bool isModelPunctuation(char c) {
  auto u = static_cast<unsigned char>(c);
  return c == ' ' || c == '\t' || c == '\n' || (std::ispunct(u) && c != '"');
}

bool startsWithNoCase(std::string_view s, std::string_view prefix) {
  return startsWithAsciiNoCase(s, prefix);
}

// The case an element's letters ask for: "MONTH", "Month", "month".
Case caseOf(std::string_view text) {
  char first = 0, second = 0;
  for (char c : text) {
    if (!std::isalpha(static_cast<unsigned char>(c))) continue;
    if (!first) {
      first = c;
    } else {
      second = c;
      break;
    }
  }
  if (std::islower(static_cast<unsigned char>(first))) return Case::Lower;
  if (second && std::islower(static_cast<unsigned char>(second))) return Case::Capitalized;
  return Case::Upper;
}

void appendCased(std::string& out, std::string_view upperText, Case c) {
  bool wordStart = true;
  for (char ch : upperText) {
    auto u = static_cast<unsigned char>(ch);
    if (c == Case::Lower || (c == Case::Capitalized && !wordStart))
      out += asciiLower(ch);
    else
      out += ch;
    wordStart = !std::isalpha(u);
  }
}

void appendPadded(std::string& out, std::string_view upperText, Case c, size_t width, bool fill) {
  appendCased(out, upperText, c);
  if (fill && upperText.size() < width) out.append(width - upperText.size(), ' ');
}

void appendNumber(std::string& out, int64_t v, int width, bool fill) {
  char buf[24];
  char* end = std::to_chars(buf, buf + sizeof buf, v).ptr;
  int len = static_cast<int>(end - buf);
  if (fill && len < width) out.append(width - len, '0');
  out.append(buf, len);
}

const char* ordinalSuffix(int64_t v) {
  int64_t lastTwo = v % 100, last = v % 10;
  if (lastTwo >= 11 && lastTwo <= 13) return "TH";
  if (last == 1) return "ST";
  if (last == 2) return "ND";
  if (last == 3) return "RD";
  return "TH";
}

int numericWidth(Kind k) {
  switch (k) {
    case Kind::D:
    case Kind::I:
    case Kind::Q:
    case Kind::W:
    case Kind::Y:
      return 1;
    case Kind::CC:
    case Kind::SCC:
    case Kind::DD:
    case Kind::HH12:
    case Kind::HH24:
    case Kind::IW:
    case Kind::IY:
    case Kind::MI:
    case Kind::MM:
    case Kind::RR:
    case Kind::SS:
    case Kind::WW:
    case Kind::YY:
      return 2;
    case Kind::DDD:
    case Kind::IYY:
    case Kind::YYY:
      return 3;
    case Kind::IYYY:
    case Kind::RRRR:
    case Kind::YYYY:
    case Kind::SYYYY:
      return 4;
    case Kind::SSSSS:
      return 5;
    case Kind::J:
      return 7;
    default:
      return 0;
  }
}

}  // namespace

DateFormat::DateFormat(std::string_view model) : model_(model) {
  bool fill = true, exact = false;
  size_t i = 0;
  while (i < model.size()) {
    char c = model[i];
    if (c == '"') {
      size_t close = model.find('"', i + 1);
      if (close == std::string_view::npos) raiseOra(1821);
      Element e;
      e.quoted = true;
      e.fill = fill;
      e.exact = exact;
      e.text = std::string(model.substr(i + 1, close - i - 1));
      elements_.push_back(std::move(e));
      i = close + 1;
      continue;
    }
    if (isModelPunctuation(c)) {
      // Runs of punctuation form one literal (on input they match any run).
      size_t end = i;
      while (end < model.size() && isModelPunctuation(model[end]))
        ++end;
      if (!elements_.empty() && elements_.back().kind == Kind::Literal &&
          !elements_.back().quoted && elements_.back().exact == exact) {
        elements_.back().text.append(model.substr(i, end - i));
      } else {
        Element e;
        e.fill = fill;
        e.exact = exact;
        e.text = std::string(model.substr(i, end - i));
        elements_.push_back(std::move(e));
      }
      i = end;
      continue;
    }
    std::string_view rest = model.substr(i);
    if (startsWithNoCase(rest, "FM")) {
      fill = !fill;
      i += 2;
      continue;
    }
    if (startsWithNoCase(rest, "FX")) {
      exact = !exact;
      i += 2;
      continue;
    }
    const ElementName* best = nullptr;
    for (const ElementName& n : kElementNames)
      if (startsWithNoCase(rest, n.name) &&
          (!best || std::strlen(n.name) > std::strlen(best->name)))
        best = &n;
    if (!best) raiseOra(1821);
    size_t len = std::strlen(best->name);
    Element e;
    e.kind = best->kind;
    e.dots = best->dots;
    e.fill = fill;
    e.exact = exact;
    e.letterCase = caseOf(rest.substr(0, len));
    i += len;
    if (numericWidth(e.kind) > 0 || e.kind == Kind::YCommaYYY) {
      std::string_view after = model.substr(i);
      if (startsWithNoCase(after, "SPTH") || startsWithNoCase(after, "THSP")) {
        e.spelled = e.ordinal = true;
        i += 4;
      } else if (startsWithNoCase(after, "SP")) {
        e.spelled = true;
        i += 2;
      } else if (startsWithNoCase(after, "TH")) {
        e.ordinal = true;
        e.suffixCase =
            std::islower(static_cast<unsigned char>(after[0])) ? Case::Lower : Case::Upper;
        i += 2;
      }
    }
    elements_.push_back(std::move(e));
  }
}

std::string DateFormat::format(const OraDate& date) const {
  std::string out;
  format(date, out);
  return out;
}

void DateFormat::format(const OraDate& d, std::string& out) const {
  int absYear = d.year < 0 ? -d.year : d.year;
  for (const Element& e : elements_) {
    int64_t value = 0;
    switch (e.kind) {
      case Kind::Literal:
        out += e.text;
        continue;
      case Kind::AdBc:
        appendCased(out, d.year < 0 ? (e.dots ? "B.C." : "BC") : (e.dots ? "A.D." : "AD"),
                    e.letterCase);
        continue;
      case Kind::AmPm:
        appendCased(out, d.hour < 12 ? (e.dots ? "A.M." : "AM") : (e.dots ? "P.M." : "PM"),
                    e.letterCase);
        continue;
      case Kind::Day: {
        int wd = weekdayOfDays(daysFromCivil(d.year, d.month, d.day));
        appendPadded(out, kDayNames[wd], e.letterCase, kLongestDayName, e.fill);
        continue;
      }
      case Kind::DY: {
        int wd = weekdayOfDays(daysFromCivil(d.year, d.month, d.day));
        appendCased(out, kDayAbbreviations[wd], e.letterCase);
        continue;
      }
      case Kind::Mon:
        appendCased(out, kMonthAbbreviations[d.month - 1], e.letterCase);
        continue;
      case Kind::Month:
        appendPadded(out, kMonthNames[d.month - 1], e.letterCase, kLongestMonthName, e.fill);
        continue;
      case Kind::RM:
        appendPadded(out, kRomanMonths[d.month - 1], e.letterCase, 4, e.fill);
        continue;
      case Kind::YCommaYYY: {
        appendNumber(out, absYear / 1000, 1, true);
        out += ',';
        appendNumber(out, absYear % 1000, 3, true);
        continue;
      }
      case Kind::CC:
      case Kind::SCC:
        value = (absYear + 99) / 100;
        if (e.kind == Kind::SCC && (e.fill || d.year < 0)) out += d.year < 0 ? '-' : ' ';
        break;
      case Kind::SYYYY:
        value = absYear;
        if (e.fill || d.year < 0) out += d.year < 0 ? '-' : ' ';
        break;
      case Kind::D:
        value = weekdayOfDays(daysFromCivil(d.year, d.month, d.day)) + 1;
        break;
      case Kind::DD:
        value = d.day;
        break;
      case Kind::DDD:
        value = dayOfYear(d);
        break;
      case Kind::HH12:
        value = d.hour % 12 == 0 ? 12 : d.hour % 12;
        break;
      case Kind::HH24:
        value = d.hour;
        break;
      case Kind::IW:
      case Kind::I:
      case Kind::IY:
      case Kind::IYY:
      case Kind::IYYY: {
        int isoYear, week;
        isoWeek(d, isoYear, week);
        int absIso = isoYear < 0 ? -isoYear : isoYear;
        value = e.kind == Kind::IW    ? week
                : e.kind == Kind::I   ? absIso % 10
                : e.kind == Kind::IY  ? absIso % 100
                : e.kind == Kind::IYY ? absIso % 1000
                                      : absIso;
        break;
      }
      case Kind::J:
        value = julianDay(daysFromCivil(d.year, d.month, d.day));
        break;
      case Kind::MI:
        value = d.minute;
        break;
      case Kind::MM:
        value = d.month;
        break;
      case Kind::Q:
        value = (d.month - 1) / 3 + 1;
        break;
      case Kind::SS:
        value = d.second;
        break;
      case Kind::SSSSS:
        value = d.hour * 3600 + d.minute * 60 + d.second;
        break;
      case Kind::W:
        value = (d.day - 1) / 7 + 1;
        break;
      case Kind::WW:
        value = (dayOfYear(d) - 1) / 7 + 1;
        break;
      case Kind::Y:
        value = absYear % 10;
        break;
      case Kind::YY:
      case Kind::RR:
        value = absYear % 100;
        break;
      case Kind::YYY:
        value = absYear % 1000;
        break;
      case Kind::YYYY:
      case Kind::RRRR:
        value = absYear;
        break;
    }
    if (e.spelled) {
      appendCased(out, spellNumber(value, e.ordinal), e.letterCase);
      continue;
    }
    appendNumber(out, value, numericWidth(e.kind), e.fill);
    if (e.ordinal) appendCased(out, ordinalSuffix(value), e.suffixCase);
  }
}

}  // namespace vorn::server
