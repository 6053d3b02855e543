// The datetime and interval descriptors (OCI_DTYPE_DATE, OCI_DTYPE_TIMESTAMP,
// OCI_DTYPE_TIMESTAMP_TZ, OCI_DTYPE_TIMESTAMP_LTZ; OCI_DTYPE_INTERVAL_YM,
// OCI_DTYPE_INTERVAL_DS): what a program binds and defines as SQLT_DATE,
// SQLT_TIMESTAMP(_TZ/_LTZ) and SQLT_INTERVAL_YM/DS, built and read with the
// OCIDateTime* and OCIInterval* calls (DateTimeCalls.cpp).
//
// A datetime is a DATE (seconds, as the engine keeps it) with nanoseconds
// and a zone offset in minutes. The engine's DATE has no fraction and no
// zone: a datetime bound into it keeps its wall-clock fields and loses the
// fraction; a DATE read into a datetime has fraction 0 and the zone of the
// descriptor type (UTC, +00:00, for the zoned types: the server has no
// session time zone of its own).
#pragma once

#include <cstdint>

#include "Handle.h"

namespace vorn::server::oci {

class DateTimeDescriptor : public Handle {
 public:
  DateTimeDescriptor(ub4 type, Environment* env) : Handle(type, env) {}

  int64_t seconds = 0;  // as OraDate::toSeconds (1970-01-01 00:00:00 is 0)
  ub4 nanoseconds = 0;
  int zoneMinutes = 0;
};

class IntervalDescriptor : public Handle {
 public:
  IntervalDescriptor(ub4 type, Environment* env) : Handle(type, env) {}

  // Year to month: whole months. Day to second: seconds and nanoseconds
  // with the same sign.
  int64_t months = 0;
  int64_t seconds = 0;
  int32_t nanoseconds = 0;
};

bool isDateTimeType(ub4 descriptorType);
bool isIntervalType(ub4 descriptorType);
// The datetime behind `p` (any of the four types), else null.
DateTimeDescriptor* dateTimeOf(const void* p);
// The interval behind `p` (either type), else null.
IntervalDescriptor* intervalOf(const void* p);
// The descriptor type an SQLT_DATE/SQLT_TIMESTAMP... buffer holds.
ub4 dateTimeTypeOf(ub2 dty);

}  // namespace vorn::server::oci
