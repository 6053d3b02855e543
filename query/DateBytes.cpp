// The 7-byte DATE layout; see DateBytes.h.
#include "DateBytes.h"

#include "vorn/host/Exceptions.h"

namespace vorn {

void DateTimeToDateBytes(TDateTime value, uint8_t* bytes) {
  uint16_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
  DecodeDateTime(value, year, month, day, hour, minute, second, millisecond);
  bytes[0] = static_cast<uint8_t>(year / 100 + 100);
  bytes[1] = static_cast<uint8_t>(year % 100 + 100);
  bytes[2] = static_cast<uint8_t>(month);
  bytes[3] = static_cast<uint8_t>(day);
  bytes[4] = static_cast<uint8_t>(hour + 1);
  bytes[5] = static_cast<uint8_t>(minute + 1);
  bytes[6] = static_cast<uint8_t>(second + 1);
}

TDateTime DateBytesToDateTime(const uint8_t* bytes) {
  const int year = (bytes[0] - 100) * 100 + (bytes[1] - 100);
  TDateTime date = 0;
  TDateTime time = 0;
  if (!TryEncodeDate(year, bytes[2], bytes[3], date) ||
      !TryEncodeTime(bytes[4] - 1, bytes[5] - 1, bytes[6] - 1, 0, time)) {
    throw EConvertError("Invalid date value");
  }
  return date >= 0 ? date + time : date - time;
}

TDateTime OciDateToDateTime(const client::OCIDate& date) {
  TDateTime day = 0;
  TDateTime time = 0;
  const client::OCITime& clock = date.OCIDateTime;
  if (!TryEncodeDate(date.OCIDateYYYY, date.OCIDateMM, date.OCIDateDD, day) ||
      !TryEncodeTime(clock.OCITimeHH, clock.OCITimeMI, clock.OCITimeSS, 0, time)) {
    throw EConvertError("Invalid date value");
  }
  return day >= 0 ? day + time : day - time;
}

client::OCIDate DateTimeToOciDate(TDateTime value) {
  uint16_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
  DecodeDateTime(value, year, month, day, hour, minute, second, millisecond);
  client::OCIDate date{};
  date.OCIDateYYYY = static_cast<client::sb2>(year);
  date.OCIDateMM = static_cast<client::ub1>(month);
  date.OCIDateDD = static_cast<client::ub1>(day);
  date.OCIDateTime = {static_cast<client::ub1>(hour), static_cast<client::ub1>(minute),
                      static_cast<client::ub1>(second)};
  return date;
}

}  // namespace vorn
