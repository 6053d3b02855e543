// See DateTimeDescriptor.h.
#include "DateTimeDescriptor.h"

namespace vorn::server::oci {

bool isDateTimeType(ub4 type) {
  return type == OCI_DTYPE_DATE || type == OCI_DTYPE_TIMESTAMP || type == OCI_DTYPE_TIMESTAMP_TZ ||
         type == OCI_DTYPE_TIMESTAMP_LTZ;
}

bool isIntervalType(ub4 type) {
  return type == OCI_DTYPE_INTERVAL_YM || type == OCI_DTYPE_INTERVAL_DS;
}

DateTimeDescriptor* dateTimeOf(const void* p) {
  for (ub4 type :
       {OCI_DTYPE_TIMESTAMP, OCI_DTYPE_TIMESTAMP_LTZ, OCI_DTYPE_TIMESTAMP_TZ, OCI_DTYPE_DATE}) {
    if (Handle* h = anyHandleOf(p, type)) return static_cast<DateTimeDescriptor*>(h);
  }
  return nullptr;
}

IntervalDescriptor* intervalOf(const void* p) {
  for (ub4 type : {OCI_DTYPE_INTERVAL_DS, OCI_DTYPE_INTERVAL_YM}) {
    if (Handle* h = anyHandleOf(p, type)) return static_cast<IntervalDescriptor*>(h);
  }
  return nullptr;
}

ub4 dateTimeTypeOf(ub2 dty) {
  switch (dty) {
    case SQLT_DATE:
      return OCI_DTYPE_DATE;
    case SQLT_TIMESTAMP_TZ:
      return OCI_DTYPE_TIMESTAMP_TZ;
    case SQLT_TIMESTAMP_LTZ:
      return OCI_DTYPE_TIMESTAMP_LTZ;
    case SQLT_INTERVAL_YM:
      return OCI_DTYPE_INTERVAL_YM;
    case SQLT_INTERVAL_DS:
      return OCI_DTYPE_INTERVAL_DS;
    default:
      return OCI_DTYPE_TIMESTAMP;
  }
}

}  // namespace vorn::server::oci
