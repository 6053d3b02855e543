// Oracle's date arithmetic and date SQL functions over DATE values held as
// seconds since 1970-01-01 (see OraDate.h). Every result is checked against
// the DATE range (ORA-01841). NULL handling is the caller's.
#pragma once

#include <cstdint>
#include <string_view>

#include "value/OraNumber.h"

namespace vorn::server {

// DATE + n: adds n days, rounded to the nearest second.
int64_t addDays(int64_t date, OraNumber days);
// DATE - DATE: the difference in days (fractional for times of day).
OraNumber daysBetween(int64_t later, int64_t earlier);

// ADD_MONTHS(d, n): n truncated to an integer; when d is the last day of its
// month or the target month is shorter, the result is the target month's
// last day. The time of day is kept.
int64_t addMonths(int64_t date, OraNumber months);
// MONTHS_BETWEEN(d1, d2): an integer when both are the same day of the
// month or both are last days of their months; otherwise whole months plus
// the remaining difference (time of day included) over 31 days.
OraNumber monthsBetween(int64_t date1, int64_t date2);
// LAST_DAY(d), time of day kept.
int64_t lastDay(int64_t date);

// ROUND(d, unit) and TRUNC(d, unit) with Oracle's units: CC SCC; SYYYY YYYY
// YEAR SYEAR YYY YY Y; IYYY IYY IY I; Q; MONTH MON MM RM; WW; IW; W; DDD DD
// J; DAY DY D; HH HH12 HH24; MI (case-insensitive). The default is DD. An
// unknown unit raises ORA-01899 (bad precision specifier).
int64_t roundDate(int64_t date, std::string_view unit = "DD");
int64_t truncDate(int64_t date, std::string_view unit = "DD");

}  // namespace vorn::server
