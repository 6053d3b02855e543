// The external data types (SQLT_* codes) of binds and defines: how one
// element of a client buffer becomes an engine value, and how an engine
// value is written into one. Conversions are Oracle's: numbers and dates
// reach character buffers as TO_CHAR prints them (dates in the session's
// NLS_DATE_FORMAT), RAW as hexadecimal text; text reaches number and date
// buffers through TO_NUMBER and TO_DATE (ORA-01722, ORA-01858 ... on bad
// text); a DATE never becomes a number (ORA-00932).
//
// Buffer layouts (per element):
//   CHR 1, LNG 8, AFC 96    bytes (AFC output blank-padded to the size)
//   STR 5, AVC 97           NUL-terminated (AVC output blank-padded first)
//   VCS 9, VBI 15           2-byte length, then the bytes
//   LVC 94, LVB 95          4-byte length, then the bytes
//   NUM 2                   NUMBER bytes (at most 21), VNU 6 length byte + bytes
//   INT 3, UIN 68           native integer of 1, 2, 4 or 8 bytes
//   FLT 4                   float (4) or double (8)
//   DAT 12                  7-byte DATE; ODT 156 the OCIDate struct
//   BIN 23, LBI 24          bytes
//   RDD 104                 an OCIRowid * (the descriptor pointer)
//   CLOB 112, BLOB 113,     an OCILobLocator * (LobLocator.h): a bind reads
//   BFILEE 114              the locator's LOB, an output loads the locator
#pragma once

#include <cstring>

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/Types.h"
#include "engine/Value.h"
#include "oci.h"

namespace vorn::server {
class SessionValues;
class Statement;
}  // namespace vorn::server

namespace vorn::server::oci {

// A value as the engine delivers it, viewed without copying.
struct ValueView {
  Value::Kind kind = Value::Kind::Null;
  int64_t integer = 0;  // Integer and Date (seconds)
  double real = 0;
  std::string_view bytes;  // Text and Raw

  bool isNull() const { return kind == Value::Kind::Null; }
  static ValueView of(const Value& v);
  static ValueView column(const Statement& statement, int column);
};

bool isSupportedType(ub2 dty);
// The Oracle type a NULL bound as `dty` takes.
TypeKind nullKindOf(ub2 dty);
// The Oracle type a value bound as `dty` is declared with: CHAR for the
// blank-padded character types (SQLT_AFC, SQLT_AVC), the LOB types for
// locators, else as for NULL.
TypeKind declaredKindOf(ub2 dty);

// The value of one bound element. `length` is its actual length (alen, or
// the element size when no lengths were given); `size` the element size.
Value readValue(const void* data, ub4 length, sb4 size, ub2 dty);

struct OutElement {
  void* data = nullptr;
  sb4 size = 0;
  ub2 dty = SQLT_CHR;
};

struct Written {
  ub4 length = 0;        // bytes placed (for rlen/alen)
  ub4 sourceLength = 0;  // length of the whole value (for a truncated value's indicator)
  bool truncated = false;
  bool null = false;  // the conversion gave NULL (blank text into a number)
};

// Converts a non-null value and writes it into `out`; raises the
// conversion's ORA error (nothing usable is written then).
Written writeValue(const ValueView& v, const OutElement& out, SessionValues& values,
                   std::string& scratch);

// The character form of a value (for character buffers and LONG pieces).
std::string_view textOf(const ValueView& v, SessionValues& values, std::string& scratch);

// The address of element `index` of an array with `skip` bytes per element.
inline void* elementAt(void* base, size_t index, size_t skip) {
  return base ? static_cast<char*>(base) + index * skip : nullptr;
}

// Length elements: ub2 for the original bind and define calls, ub4 for their
// "2" forms (OCIBindByName2, OCIDefineByPos2 ...).
inline ub4 readLength(const void* p, bool wide) {
  if (wide) {
    ub4 v;
    std::memcpy(&v, p, sizeof v);
    return v;
  }
  ub2 v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

inline void writeLength(void* p, bool wide, size_t length) {
  if (wide) {
    ub4 v = static_cast<ub4>(length);
    std::memcpy(p, &v, sizeof v);
  } else {
    ub2 v = static_cast<ub2>(length);
    std::memcpy(p, &v, sizeof v);
  }
}

// The indicator Oracle reports for a value of `length` bytes that was cut:
// the length, or -2 when it does not fit in an sb2.
inline sb2 truncatedIndicator(size_t length) {
  return length > 32767 ? static_cast<sb2>(-2) : static_cast<sb2>(length);
}

}  // namespace vorn::server::oci
