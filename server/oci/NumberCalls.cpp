// The OCINumber calls of the object layer (conversions from and to C
// integers and reals, which need nothing but the NUMBER format) and the
// text conversions of numbers and dates, which the server does not have
// (ORA-03001).
#include <cmath>
#include <cstring>

#include "CallGuard.h"
#include "ExternalData.h"
#include "Unimplemented.h"
#include "value/NumberBytes.h"
#include "value/SessionValues.h"

using namespace vorn::server;
using namespace vorn::server::oci;

namespace {

template <class Body>
sword numberCall(OCIError* errhp, Body&& body) {
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!err) return OCI_INVALID_HANDLE;
  return guardedCall(*err->env, *err, [&](ErrorRecords&) -> sword {
    body();
    return OCI_SUCCESS;
  });
}

}  // namespace

extern "C" {

// ---- Numbers and dates of the object layer ----

sword OCINumberFromInt(OCIError* err, const void* inum, uword inum_length, uword inum_s_flag,
                       OCINumber* number) {
  return numberCall(err, [&] {
    if (!inum || !number) raiseOra(21560, {inum ? "5" : "2"});
    ub2 dty = inum_s_flag == OCI_NUMBER_SIGNED ? SQLT_INT : SQLT_UIN;
    Value v = readValue(inum, inum_length, static_cast<sb4>(inum_length), dty);
    unsigned char bytes[kVarnumBytes] = {};
    encodeVarnum(v.kind() == Value::Kind::Integer ? OraNumber(v.asInteger())
                                                  : OraNumber::fromDouble(v.asDouble()),
                 bytes);
    std::memcpy(number->OCINumberPart, bytes, sizeof bytes);
  });
}

sword OCINumberToInt(OCIError* err, const OCINumber* number, uword rsl_length, uword rsl_flag,
                     void* rsl) {
  return numberCall(err, [&] {
    if (!number || !rsl) raiseOra(21560, {number ? "5" : "2"});
    OraNumber n = decodeVarnum(number->OCINumberPart);
    Value v = n.isInteger() ? Value::integer(n.integer()) : Value::real(n.toDouble());
    SessionValues values;
    std::string scratch;
    writeValue(ValueView::of(v),
               OutElement{rsl, static_cast<sb4>(rsl_length),
                          static_cast<ub2>(rsl_flag == OCI_NUMBER_SIGNED ? SQLT_INT : SQLT_UIN)},
               values, scratch);
  });
}

sword OCINumberFromReal(OCIError* err, const void* rnum, uword rnum_length, OCINumber* number) {
  return numberCall(err, [&] {
    if (!rnum || !number) raiseOra(21560, {rnum ? "4" : "2"});
    double d;
    if (rnum_length == sizeof(float)) {
      float f;
      std::memcpy(&f, rnum, sizeof f);
      d = f;
    } else if (rnum_length == sizeof(double)) {
      std::memcpy(&d, rnum, sizeof d);
    } else if (rnum_length == sizeof(long double)) {
      long double l;
      std::memcpy(&l, rnum, sizeof l);
      d = static_cast<double>(l);
    } else {
      raiseOra(21560, {"3"});
    }
    if (!std::isfinite(d)) raiseOra(1426);
    unsigned char bytes[kVarnumBytes] = {};
    encodeVarnum(OraNumber::fromDouble(d), bytes);
    std::memcpy(number->OCINumberPart, bytes, sizeof bytes);
  });
}

sword OCINumberToReal(OCIError* err, const OCINumber* number, uword rsl_length, void* rsl) {
  return numberCall(err, [&] {
    if (!number || !rsl) raiseOra(21560, {number ? "4" : "2"});
    double d = decodeVarnum(number->OCINumberPart).toDouble();
    if (rsl_length == sizeof(float)) {
      float f = static_cast<float>(d);
      std::memcpy(rsl, &f, sizeof f);
    } else if (rsl_length == sizeof(double)) {
      std::memcpy(rsl, &d, sizeof d);
    } else if (rsl_length == sizeof(long double)) {
      long double l = d;
      std::memcpy(rsl, &l, sizeof l);
    } else {
      raiseOra(21560, {"3"});
    }
  });
}

sword OCINumberToText(OCIError* err, const OCINumber* number, const OraText*, ub4, const OraText*,
                      ub4, ub4* buf_size, OraText* buf) {
  return unimplemented(err, number && buf_size && buf);
}
sword OCINumberFromText(OCIError* err, const OraText* str, ub4, const OraText*, ub4, const OraText*,
                        ub4, OCINumber* number) {
  return unimplemented(err, str && number);
}
sword OCIDateToText(OCIError* err, const OCIDate* date, const OraText*, ub1, const OraText*, ub4,
                    ub4* buf_size, OraText* buf) {
  return unimplemented(err, date && buf_size && buf);
}
sword OCIDateFromText(OCIError* err, const OraText* date_str, ub4, const OraText*, ub1,
                      const OraText*, ub4, OCIDate* date) {
  return unimplemented(err, date_str && date);
}

}  // extern "C"
