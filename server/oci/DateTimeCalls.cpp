// The calls on datetime and interval descriptors (DateTimeDescriptor.h):
// arrays of descriptors, building and reading datetimes, their difference
// and the sum of a datetime and an interval, and the fields of intervals.
#include <cstdlib>
#include <cstring>
#include <string>

#include "CallGuard.h"
#include "DateTimeDescriptor.h"
#include "Environment.h"
#include "value/DateFunctions.h"
#include "value/OraDate.h"
#include "value/OraNumber.h"

using namespace vorn::server;
using namespace vorn::server::oci;

namespace {

constexpr int64_t kNanosPerSecond = 1000000000;

// The environment of a datetime call's first argument: an environment or a
// user session.
Environment* environmentOf(void* hndl) {
  if (Environment* env = handleOf<Environment>(hndl)) return env;
  Handle* h = anyHandleOf(hndl, OCI_HTYPE_SESSION);
  return h ? h->env : nullptr;
}

template <class Body>
sword dateTimeCall(void* hndl, OCIError* errhp, bool handlesValid, Body&& body) {
  Environment* env = environmentOf(hndl);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!env || !err || !handlesValid) return OCI_INVALID_HANDLE;
  return guardedCall(*env, *err, [&](ErrorRecords&) -> sword {
    body();
    return OCI_SUCCESS;
  });
}

// "+hh:mm" or "-hh:mm" in minutes; ORA-01857 for anything else.
int zoneFromText(const OraText* text, size_t length) {
  std::string zone(reinterpret_cast<const char*>(text), length);
  if (zone.size() != 6 || (zone[0] != '+' && zone[0] != '-') || zone[3] != ':') raiseOra(1857);
  for (size_t i : {1u, 2u, 4u, 5u}) {
    if (zone[i] < '0' || zone[i] > '9') raiseOra(1857);
  }
  int hours = (zone[1] - '0') * 10 + (zone[2] - '0');
  int minutes = (zone[4] - '0') * 10 + (zone[5] - '0');
  if (hours > 14 || minutes > 59) raiseOra(1857);
  int total = hours * 60 + minutes;
  return zone[0] == '-' ? -total : total;
}

// A datetime as seconds and nanoseconds in UTC, for differences.
void utcOf(const DateTimeDescriptor& d, int64_t& seconds, int64_t& nanos) {
  seconds = d.seconds - static_cast<int64_t>(d.zoneMinutes) * 60;
  nanos = d.nanoseconds;
}

}  // namespace

extern "C" {

sword OCIArrayDescriptorAlloc(const void* parenth, void** descpp, const ub4 type, ub4 array_size,
                              const size_t xtramem_sz, void** usrmempp) {
  Environment* env = handleOf<Environment>(parenth);
  if (!env || !descpp || array_size == 0) return OCI_INVALID_HANDLE;
  ub4 made = 0;
  sword status = OCI_SUCCESS;
  for (; made < array_size; ++made) {
    status = OCIDescriptorAlloc(parenth, &descpp[made], type, made == 0 ? xtramem_sz : 0,
                                made == 0 ? usrmempp : nullptr);
    if (status != OCI_SUCCESS) break;
  }
  if (status != OCI_SUCCESS) {
    for (ub4 i = 0; i < made; ++i)
      OCIDescriptorFree(descpp[i], type);
    return status;
  }
  EnvironmentLock lock(*env);
  env->descriptorArrays[descpp[0]] = array_size;
  return OCI_SUCCESS;
}

sword OCIArrayDescriptorFree(void** descp, const ub4 type) {
  if (!descp) return OCI_INVALID_HANDLE;
  Handle* first = anyHandleOf(descp[0], type);
  if (!first) return OCI_INVALID_HANDLE;
  Environment* env = first->env;
  ub4 count = 0;
  {
    EnvironmentLock lock(*env);
    auto it = env->descriptorArrays.find(descp[0]);
    if (it == env->descriptorArrays.end()) return OCI_INVALID_HANDLE;
    count = it->second;
    env->descriptorArrays.erase(it);
  }
  sword status = OCI_SUCCESS;
  for (ub4 i = 0; i < count; ++i) {
    if (OCIDescriptorFree(descp[i], type) != OCI_SUCCESS) status = OCI_INVALID_HANDLE;
  }
  return status;
}

sword OCIDateTimeConstruct(void* hndl, OCIError* err, OCIDateTime* datetime, sb2 yr, ub1 mnth,
                           ub1 dy, ub1 hr, ub1 mm, ub1 ss, ub4 fsec, OraText* timezone,
                           size_t timezone_length) {
  DateTimeDescriptor* d = dateTimeOf(datetime);
  return dateTimeCall(hndl, err, d != nullptr, [&] {
    OraDate date;
    date.year = yr;
    date.month = mnth;
    date.day = dy;
    date.hour = hr;
    date.minute = mm;
    date.second = ss;
    date.validate();
    if (fsec >= kNanosPerSecond) raiseOra(1880);
    int zone = 0;
    if (timezone && timezone_length > 0) zone = zoneFromText(timezone, timezone_length);
    d->seconds = date.toSeconds();
    d->nanoseconds = d->type == OCI_DTYPE_DATE ? 0 : fsec;
    d->zoneMinutes = d->type == OCI_DTYPE_TIMESTAMP_TZ ? zone : 0;
  });
}

sword OCIDateTimeGetDate(void* hndl, OCIError* err, const OCIDateTime* datetime, sb2* yr, ub1* mnth,
                         ub1* dy) {
  DateTimeDescriptor* d = dateTimeOf(datetime);
  return dateTimeCall(hndl, err, d && yr && mnth && dy, [&] {
    OraDate date = OraDate::fromSeconds(d->seconds);
    *yr = static_cast<sb2>(date.year);
    *mnth = static_cast<ub1>(date.month);
    *dy = static_cast<ub1>(date.day);
  });
}

sword OCIDateTimeGetTime(void* hndl, OCIError* err, OCIDateTime* datetime, ub1* hr, ub1* mm,
                         ub1* ss, ub4* fsec) {
  DateTimeDescriptor* d = dateTimeOf(datetime);
  return dateTimeCall(hndl, err, d && hr && mm && ss && fsec, [&] {
    OraDate date = OraDate::fromSeconds(d->seconds);
    *hr = static_cast<ub1>(date.hour);
    *mm = static_cast<ub1>(date.minute);
    *ss = static_cast<ub1>(date.second);
    *fsec = d->nanoseconds;
  });
}

sword OCIDateTimeGetTimeZoneOffset(void* hndl, OCIError* err, const OCIDateTime* datetime,
                                   sb1* hour, sb1* min) {
  DateTimeDescriptor* d = dateTimeOf(datetime);
  return dateTimeCall(hndl, err, d && hour && min, [&] {
    // ORA-01878-like refusals do not apply: every type here answers, the
    // ones without a zone with +00:00.
    *hour = static_cast<sb1>(d->zoneMinutes / 60);
    *min = static_cast<sb1>(d->zoneMinutes % 60);
  });
}

sword OCIDateTimeSubtract(void* hndl, OCIError* err, OCIDateTime* indate1, OCIDateTime* indate2,
                          OCIInterval* inter) {
  DateTimeDescriptor* a = dateTimeOf(indate1);
  DateTimeDescriptor* b = dateTimeOf(indate2);
  IntervalDescriptor* r = intervalOf(inter);
  return dateTimeCall(hndl, err, a && b && r, [&] {
    if (r->type != OCI_DTYPE_INTERVAL_DS) raiseOra(1867);
    int64_t s1, n1, s2, n2;
    utcOf(*a, s1, n1);
    utcOf(*b, s2, n2);
    int64_t seconds = s1 - s2;
    int64_t nanos = n1 - n2;
    // Seconds and nanoseconds take the same sign.
    if (seconds > 0 && nanos < 0) {
      --seconds;
      nanos += kNanosPerSecond;
    } else if (seconds < 0 && nanos > 0) {
      ++seconds;
      nanos -= kNanosPerSecond;
    }
    r->seconds = seconds;
    r->nanoseconds = static_cast<int32_t>(nanos);
  });
}

sword OCIDateTimeIntervalAdd(void* hndl, OCIError* err, OCIDateTime* datetime, OCIInterval* inter,
                             OCIDateTime* outdatetime) {
  DateTimeDescriptor* d = dateTimeOf(datetime);
  IntervalDescriptor* i = intervalOf(inter);
  DateTimeDescriptor* out = dateTimeOf(outdatetime);
  return dateTimeCall(hndl, err, d && i && out, [&] {
    int64_t seconds = d->seconds;
    int64_t nanos = d->nanoseconds;
    if (i->type == OCI_DTYPE_INTERVAL_YM) {
      seconds = addMonths(seconds, OraNumber::fromDouble(static_cast<double>(i->months)));
    } else {
      seconds += i->seconds;
      nanos += i->nanoseconds;
      if (nanos < 0) {
        --seconds;
        nanos += kNanosPerSecond;
      } else if (nanos >= kNanosPerSecond) {
        ++seconds;
        nanos -= kNanosPerSecond;
      }
    }
    checkDateSeconds(seconds);
    out->seconds = seconds;
    out->nanoseconds = out->type == OCI_DTYPE_DATE ? 0 : static_cast<ub4>(nanos);
    out->zoneMinutes = d->zoneMinutes;
  });
}

sword OCIIntervalGetDaySecond(void* hndl, OCIError* err, sb4* dy, sb4* hr, sb4* mm, sb4* ss,
                              sb4* fsec, const OCIInterval* interval) {
  IntervalDescriptor* i = intervalOf(interval);
  return dateTimeCall(hndl, err, i && dy && hr && mm && ss && fsec, [&] {
    if (i->type != OCI_DTYPE_INTERVAL_DS) raiseOra(1867);
    int64_t s = i->seconds;
    *dy = static_cast<sb4>(s / 86400);
    *hr = static_cast<sb4>(s % 86400 / 3600);
    *mm = static_cast<sb4>(s % 3600 / 60);
    *ss = static_cast<sb4>(s % 60);
    *fsec = i->nanoseconds;
  });
}

sword OCIIntervalSetDaySecond(void* hndl, OCIError* err, sb4 dy, sb4 hr, sb4 mm, sb4 ss, sb4 fsec,
                              OCIInterval* result) {
  IntervalDescriptor* i = intervalOf(result);
  return dateTimeCall(hndl, err, i != nullptr, [&] {
    if (i->type != OCI_DTYPE_INTERVAL_DS) raiseOra(1867);
    int64_t nanos = ((static_cast<int64_t>(dy) * 86400 + static_cast<int64_t>(hr) * 3600 +
                      static_cast<int64_t>(mm) * 60 + ss) *
                     kNanosPerSecond) +
                    fsec;
    i->seconds = nanos / kNanosPerSecond;
    i->nanoseconds = static_cast<int32_t>(nanos % kNanosPerSecond);
  });
}

sword OCIIntervalGetYearMonth(void* hndl, OCIError* err, sb4* yr, sb4* mnth,
                              const OCIInterval* interval) {
  IntervalDescriptor* i = intervalOf(interval);
  return dateTimeCall(hndl, err, i && yr && mnth, [&] {
    if (i->type != OCI_DTYPE_INTERVAL_YM) raiseOra(1867);
    *yr = static_cast<sb4>(i->months / 12);
    *mnth = static_cast<sb4>(i->months % 12);
  });
}

sword OCIIntervalSetYearMonth(void* hndl, OCIError* err, sb4 yr, sb4 mnth, OCIInterval* result) {
  IntervalDescriptor* i = intervalOf(result);
  return dateTimeCall(hndl, err, i != nullptr, [&] {
    if (i->type != OCI_DTYPE_INTERVAL_YM) raiseOra(1867);
    i->months = static_cast<int64_t>(yr) * 12 + mnth;
  });
}

}  // extern "C"
