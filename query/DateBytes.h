// The 7-byte DATE layout shared by date variables and fetched DATE
// columns: century + 100, year of century + 100, month, day, hour + 1,
// minute + 1, second + 1; and the OCIDate of object attributes. Milliseconds
// are dropped on the way in.
#pragma once

#include <cstdint>

#include "vorn/client/OciTypes.h"
#include "vorn/host/DateTime.h"

namespace vorn {

inline constexpr int kDateBytes = 7;

// Raises EConvertError for a value outside the years 1..9999.
void DateTimeToDateBytes(TDateTime value, uint8_t* bytes);
// The date plus its time of day (minus it for dates before 30 December
// 1899, as the host counts them). Raises EConvertError for bytes that name
// no date of the years 1..9999.
TDateTime DateBytesToDateTime(const uint8_t* bytes);

// The OCIDate of an object attribute (year, month, day, hour, minute,
// second as numbers); EConvertError "Invalid date value" for a date the
// host cannot hold.
TDateTime OciDateToDateTime(const client::OCIDate& date);
client::OCIDate DateTimeToOciDate(TDateTime value);

}  // namespace vorn
