// The process-wide locale settings and how they are read from the
// environment's locale.
#include "vorn/host/FormatSettings.h"

#include "LocaleFormats.h"

#include <langinfo.h>
#include <locale.h>

#include <cstdlib>
#include <cstring>
#include <optional>

namespace vorn {
namespace {

// The locale name in effect for one category by the POSIX precedence of
// LC_ALL, LC_<category> and LANG.
std::string LocaleNameFor(const char* categoryVariable) {
  for (const char* variable : {"LC_ALL", categoryVariable, "LANG"}) {
    const char* value = std::getenv(variable);
    if (value && *value) return value;
  }
  return "C";
}

bool IsPlainLocale(const std::string& name) {
  return name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0;
}

std::optional<char> SingleByte(const char* text) {
  if (text && text[0] != '\0' && text[1] == '\0' && static_cast<unsigned char>(text[0]) < 0x80) {
    return text[0];
  }
  return std::nullopt;
}

void ReadNumeric(locale_t locale, TFormatSettings& settings) {
  if (auto decimal = SingleByte(nl_langinfo_l(RADIXCHAR, locale))) {
    settings.DecimalSeparator = *decimal;
  }
  if (auto thousands = SingleByte(nl_langinfo_l(THOUSEP, locale))) {
    settings.ThousandSeparator = *thousands;
  } else {
    settings.ThousandSeparator = settings.DecimalSeparator == ',' ? '.' : ',';
  }
  if (settings.ThousandSeparator == settings.DecimalSeparator) {
    settings.ThousandSeparator = settings.DecimalSeparator == ',' ? '.' : ',';
  }
  if (settings.DecimalSeparator == ',') settings.ListSeparator = ';';
}

void ReadTime(locale_t locale, TFormatSettings& settings) {
  std::optional<char> dateSeparator;
  if (auto date = TranslateStrftime(nl_langinfo_l(D_FMT, locale), '/', dateSeparator)) {
    settings.ShortDateFormat = *date;
    if (dateSeparator) settings.DateSeparator = *dateSeparator;
  }
  std::optional<char> timeSeparator;
  if (auto time = TranslateStrftime(nl_langinfo_l(T_FMT, locale), ':', timeSeparator)) {
    settings.LongTimeFormat = *time;
    settings.ShortTimeFormat = WithoutSeconds(*time);
    if (timeSeparator) settings.TimeSeparator = *timeSeparator;
  }
  auto text = [&](nl_item item, std::string& target) {
    const char* value = nl_langinfo_l(item, locale);
    if (value && *value) target = value;
  };
  text(AM_STR, settings.TimeAMString);
  text(PM_STR, settings.TimePMString);
  const nl_item months[12] = {MON_1, MON_2, MON_3, MON_4,  MON_5,  MON_6,
                              MON_7, MON_8, MON_9, MON_10, MON_11, MON_12};
  const nl_item shortMonths[12] = {ABMON_1, ABMON_2, ABMON_3, ABMON_4,  ABMON_5,  ABMON_6,
                                   ABMON_7, ABMON_8, ABMON_9, ABMON_10, ABMON_11, ABMON_12};
  for (int i = 0; i < 12; ++i) {
    text(months[i], settings.LongMonthNames[i]);
    text(shortMonths[i], settings.ShortMonthNames[i]);
  }
  const nl_item days[7] = {DAY_1, DAY_2, DAY_3, DAY_4, DAY_5, DAY_6, DAY_7};
  const nl_item shortDays[7] = {ABDAY_1, ABDAY_2, ABDAY_3, ABDAY_4, ABDAY_5, ABDAY_6, ABDAY_7};
  for (int i = 0; i < 7; ++i) {
    text(days[i], settings.LongDayNames[i]);
    text(shortDays[i], settings.ShortDayNames[i]);
  }
}

// CRNCYSTR is the symbol after "-" (before the amount), "+" (after it) or
// "." (in place of the decimal separator, kept here as before).
void ReadCurrency(locale_t locale, TFormatSettings& settings) {
  const char* value = nl_langinfo_l(CRNCYSTR, locale);
  if (!value || !value[0] || !value[1]) return;
  settings.CurrencyString = value + 1;
  settings.CurrencyFormat = value[0] == '+' ? 3 : 0;
  settings.NegCurrFormat = value[0] == '+' ? 8 : 1;
}

}  // namespace

TFormatSettings DefaultFormatSettings() {
  return TFormatSettings();
}

TFormatSettings LocaleFormatSettings() {
  TFormatSettings settings;
  locale_t locale = newlocale(LC_ALL_MASK, "", static_cast<locale_t>(nullptr));
  if (locale == static_cast<locale_t>(nullptr)) return settings;
  if (!IsPlainLocale(LocaleNameFor("LC_NUMERIC"))) ReadNumeric(locale, settings);
  if (!IsPlainLocale(LocaleNameFor("LC_TIME"))) ReadTime(locale, settings);
  if (!IsPlainLocale(LocaleNameFor("LC_MONETARY"))) ReadCurrency(locale, settings);
  freelocale(locale);
  return settings;
}

TFormatSettings& FormatSettings() {
  static TFormatSettings settings = LocaleFormatSettings();
  return settings;
}

ScopedFormatSettings::ScopedFormatSettings(const TFormatSettings& settings)
    : saved_(FormatSettings()) {
  FormatSettings() = settings;
}

ScopedFormatSettings::~ScopedFormatSettings() {
  FormatSettings() = saved_;
}

}  // namespace vorn
