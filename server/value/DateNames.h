// The date language AMERICAN: month and day names, Roman month numerals
// and spelled numbers (the SP suffix), all in upper case; the format models
// apply the case the model asks for.
#pragma once

#include <cstdint>
#include <string>

namespace vorn::server {

extern const char* const kMonthNames[12];
extern const char* const kMonthAbbreviations[12];
extern const char* const kRomanMonths[12];
// Index 0 = Sunday.
extern const char* const kDayNames[7];
extern const char* const kDayAbbreviations[7];
// Widths names are padded to without FM ("SEPTEMBER", "WEDNESDAY").
constexpr size_t kLongestMonthName = 9;
constexpr size_t kLongestDayName = 9;

// "TWENTY-FIVE", "ONE HUNDRED TWELVE"; with `ordinal` "TWENTY-FIFTH".
std::string spellNumber(int64_t value, bool ordinal);

}  // namespace vorn::server
