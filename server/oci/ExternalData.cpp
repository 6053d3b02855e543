// Conversions between client buffers and engine values; see ExternalData.h.
#include "ExternalData.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "DateTimeDescriptor.h"
#include "LobLocator.h"
#include "RowidDescriptor.h"
#include "engine/Statement.h"
#include "value/NumberBytes.h"
#include "value/OraDate.h"
#include "value/OraError.h"
#include "value/OraNumber.h"
#include "value/RawHex.h"
#include "value/RowidText.h"
#include "value/SessionValues.h"

namespace vorn::server::oci {

namespace {

enum class Group { Text, Binary, Number, Date, Rowid, Locator, Unsupported };

bool isDateTimeBuffer(ub2 dty) {
  return dty == SQLT_DATE || dty == SQLT_TIMESTAMP || dty == SQLT_TIMESTAMP_TZ ||
         dty == SQLT_TIMESTAMP_LTZ;
}

Group groupOf(ub2 dty) {
  switch (dty) {
    case SQLT_CHR:
    case SQLT_STR:
    case SQLT_AFC:
    case SQLT_AVC:
    case SQLT_VCS:
    case SQLT_LVC:
    case SQLT_LNG:
      return Group::Text;
    case SQLT_BIN:
    case SQLT_LBI:
    case SQLT_VBI:
    case SQLT_LVB:
      return Group::Binary;
    case SQLT_NUM:
    case SQLT_VNU:
    case SQLT_INT:
    case SQLT_UIN:
    case SQLT_FLT:
      return Group::Number;
    case SQLT_DAT:
    case SQLT_ODT:
    case SQLT_DATE:
    case SQLT_TIMESTAMP:
    case SQLT_TIMESTAMP_TZ:
    case SQLT_TIMESTAMP_LTZ:
      return Group::Date;
    case SQLT_RDD:
      return Group::Rowid;
    case SQLT_CLOB:
    case SQLT_BLOB:
    case SQLT_BFILEE:
      return Group::Locator;
    default:
      return Group::Unsupported;
  }
}

const char* kindName(Value::Kind kind) {
  switch (kind) {
    case Value::Kind::Integer:
    case Value::Kind::Double:
      return "NUMBER";
    case Value::Kind::Date:
      return "DATE";
    case Value::Kind::Raw:
      return "BINARY";
    default:
      return "CHAR";
  }
}

[[noreturn]] void inconsistent(const char* expected, Value::Kind got) {
  raiseOra(932, {expected, kindName(got)});
}

Value numberValue(OraNumber n) {
  return n.isInteger() ? Value::integer(n.integer()) : Value::real(n.toDouble());
}

// A value as a number: false when it is NULL (blank text).
bool toNumber(const ValueView& v, OraNumber& out) {
  switch (v.kind) {
    case Value::Kind::Integer:
      out = OraNumber(v.integer);
      return true;
    case Value::Kind::Double:
      out = OraNumber::fromDouble(v.real);
      return true;
    case Value::Kind::Text:
      if (isBlankText(v.bytes)) return false;
      out = textToNumber(v.bytes);
      return true;
    default:
      inconsistent("NUMBER", v.kind);
  }
}

// A value as DATE seconds: false when it is NULL (blank text).
bool toDate(const ValueView& v, SessionValues& values, int64_t& out) {
  switch (v.kind) {
    case Value::Kind::Date:
      out = v.integer;
      return true;
    case Value::Kind::Text:
      if (isBlankText(v.bytes)) return false;
      out = values.textToDate(v.bytes);
      return true;
    default:
      inconsistent("DATE", v.kind);
  }
}

template <class T>
T readNative(const void* data) {
  T v;
  std::memcpy(&v, data, sizeof v);
  return v;
}

template <class T>
void writeNative(void* data, T v) {
  std::memcpy(data, &v, sizeof v);
}

Written place(const OutElement& out, std::string_view bytes) {
  Written w;
  w.sourceLength = static_cast<ub4>(bytes.size());
  size_t capacity = out.size > 0 ? static_cast<size_t>(out.size) : 0;
  auto* dst = static_cast<char*>(out.data);
  switch (out.dty) {
    case SQLT_STR:
    case SQLT_AVC: {
      if (capacity == 0) {
        w.truncated = !bytes.empty();
        return w;
      }
      size_t room = capacity - 1;
      size_t n = std::min(room, bytes.size());
      std::memcpy(dst, bytes.data(), n);
      size_t end = n;
      if (out.dty == SQLT_AVC) {
        std::memset(dst + n, ' ', room - n);
        end = room;
      }
      dst[end] = 0;
      w.length = static_cast<ub4>(end);
      w.truncated = bytes.size() > room;
      return w;
    }
    case SQLT_AFC: {
      size_t n = std::min(capacity, bytes.size());
      std::memcpy(dst, bytes.data(), n);
      std::memset(dst + n, ' ', capacity - n);
      w.length = static_cast<ub4>(capacity);
      w.truncated = bytes.size() > capacity;
      return w;
    }
    case SQLT_VCS:
    case SQLT_VBI: {
      size_t room = capacity > 2 ? capacity - 2 : 0;
      size_t n = std::min(room, bytes.size());
      if (capacity >= 2) writeNative<ub2>(dst, static_cast<ub2>(n));
      if (n) std::memcpy(dst + 2, bytes.data(), n);
      w.length = static_cast<ub4>(capacity >= 2 ? n + 2 : 0);
      w.truncated = bytes.size() > room;
      return w;
    }
    case SQLT_LVC:
    case SQLT_LVB: {
      size_t room = capacity > 4 ? capacity - 4 : 0;
      size_t n = std::min(room, bytes.size());
      if (capacity >= 4) writeNative<sb4>(dst, static_cast<sb4>(n));
      if (n) std::memcpy(dst + 4, bytes.data(), n);
      w.length = static_cast<ub4>(capacity >= 4 ? n + 4 : 0);
      w.truncated = bytes.size() > room;
      return w;
    }
    default: {
      size_t n = std::min(capacity, bytes.size());
      if (n) std::memcpy(dst, bytes.data(), n);
      w.length = static_cast<ub4>(n);
      w.truncated = bytes.size() > capacity;
      return w;
    }
  }
}

Written writeInteger(OraNumber n, const OutElement& out) {
  bool isSigned = out.dty == SQLT_INT;
  long double v = n.isInteger() ? static_cast<long double>(n.integer())
                                : std::trunc(static_cast<long double>(n.toDouble()));
  long double low, high;
  switch (out.size) {
    case 1:
      low = isSigned ? -128.0L : 0.0L;
      high = isSigned ? 127.0L : 255.0L;
      break;
    case 2:
      low = isSigned ? -32768.0L : 0.0L;
      high = isSigned ? 32767.0L : 65535.0L;
      break;
    case 4:
      low = isSigned ? -2147483648.0L : 0.0L;
      high = isSigned ? 2147483647.0L : 4294967295.0L;
      break;
    case 8:
      low = isSigned ? -9223372036854775808.0L : 0.0L;
      high = isSigned ? 9223372036854775807.0L : 18446744073709551615.0L;
      break;
    default:
      raiseOra(1460);
  }
  if (!(v >= low && v <= high)) raiseOra(1455);
  switch (out.size) {
    case 1:
      if (isSigned) {
        writeNative<sb1>(out.data, static_cast<sb1>(v));
      } else {
        writeNative<ub1>(out.data, static_cast<ub1>(v));
      }
      break;
    case 2:
      if (isSigned) {
        writeNative<sb2>(out.data, static_cast<sb2>(v));
      } else {
        writeNative<ub2>(out.data, static_cast<ub2>(v));
      }
      break;
    case 4:
      if (isSigned) {
        writeNative<sb4>(out.data, static_cast<sb4>(v));
      } else {
        writeNative<ub4>(out.data, static_cast<ub4>(v));
      }
      break;
    default:
      if (n.isInteger()) {
        writeNative<int64_t>(out.data, n.integer());
      } else if (isSigned) {
        writeNative<int64_t>(out.data, static_cast<int64_t>(v));
      } else {
        writeNative<uint64_t>(out.data, static_cast<uint64_t>(v));
      }
      break;
  }
  Written w;
  w.length = static_cast<ub4>(out.size);
  return w;
}

Written writeNumber(const ValueView& v, const OutElement& out) {
  OraNumber n;
  if (!toNumber(v, n)) {
    Written w;
    w.null = true;
    return w;
  }
  switch (out.dty) {
    case SQLT_INT:
    case SQLT_UIN:
      return writeInteger(n, out);
    case SQLT_FLT: {
      Written w;
      if (out.size == 4) {
        writeNative<float>(out.data, static_cast<float>(n.toDouble()));
      } else if (out.size == 8) {
        writeNative<double>(out.data, n.toDouble());
      } else {
        raiseOra(1460);
      }
      w.length = static_cast<ub4>(out.size);
      return w;
    }
    case SQLT_VNU: {
      unsigned char bytes[kVarnumBytes] = {};
      encodeVarnum(n, bytes);
      return place(OutElement{out.data, out.size, SQLT_BIN},
                   std::string_view(reinterpret_cast<char*>(bytes), kVarnumBytes));
    }
    default: {
      unsigned char bytes[kNumberBytesMax];
      size_t len = encodeNumber(n, bytes);
      return place(OutElement{out.data, out.size, SQLT_BIN},
                   std::string_view(reinterpret_cast<char*>(bytes), len));
    }
  }
}

Written writeDate(const ValueView& v, const OutElement& out, SessionValues& values) {
  int64_t seconds = 0;
  Written w;
  if (!toDate(v, values, seconds)) {
    w.null = true;
    return w;
  }
  if (isDateTimeBuffer(out.dty)) {
    // The element holds the address of a datetime descriptor.
    if (out.size < static_cast<sb4>(sizeof(void*))) raiseOra(1460);
    DateTimeDescriptor* dt = dateTimeOf(readNative<void*>(out.data));
    if (!dt) raiseOra(24316);
    dt->seconds = seconds;
    dt->nanoseconds = 0;
    dt->zoneMinutes = 0;
    w.length = sizeof(void*);
    return w;
  }
  OraDate d = OraDate::fromSeconds(seconds);
  if (out.dty == SQLT_ODT) {
    if (out.size < static_cast<sb4>(sizeof(OCIDate))) raiseOra(1460);
    OCIDate od{};
    od.OCIDateYYYY = static_cast<sb2>(d.year);
    od.OCIDateMM = static_cast<ub1>(d.month);
    od.OCIDateDD = static_cast<ub1>(d.day);
    od.OCIDateTime.OCITimeHH = static_cast<ub1>(d.hour);
    od.OCIDateTime.OCITimeMI = static_cast<ub1>(d.minute);
    od.OCIDateTime.OCITimeSS = static_cast<ub1>(d.second);
    std::memcpy(out.data, &od, sizeof od);
    w.length = sizeof od;
    return w;
  }
  unsigned char bytes[7];
  encodeDate7(d, bytes);
  return place(OutElement{out.data, out.size, SQLT_BIN},
               std::string_view(reinterpret_cast<char*>(bytes), 7));
}

// A LOB value into the locator whose address the element holds.
Written writeLocator(const ValueView& v, const OutElement& out) {
  if (out.size < static_cast<sb4>(sizeof(void*))) raiseOra(1460);
  LobLocator* locator = lobLocatorOf(readNative<void*>(out.data));
  if (!locator) raiseOra(22275);
  TypeKind kind = locatorKindOf(out.dty);
  if ((kind == TypeKind::Bfile) != (locator->type == OCI_DTYPE_FILE)) raiseOra(22275);
  if (kind == TypeKind::Clob ? v.kind != Value::Kind::Text : v.kind != Value::Kind::Raw) {
    inconsistent(kind == TypeKind::Clob   ? "CLOB"
                 : kind == TypeKind::Blob ? "BLOB"
                                          : "FILE",
                 v.kind);
  }
  locator->load(kind, v, std::nullopt);
  Written w;
  w.length = sizeof(void*);
  return w;
}

Written writeRowid(const ValueView& v, const OutElement& out) {
  if (v.kind != Value::Kind::Text) inconsistent("ROWID", v.kind);
  if (out.size < static_cast<sb4>(sizeof(void*))) raiseOra(1460);
  RowidDescriptor* rowid = handleOf<RowidDescriptor>(readNative<void*>(out.data));
  if (!rowid) raiseOra(24316);
  rowid->assign(rowidFromText(v.bytes));
  Written w;
  w.length = sizeof(void*);
  return w;
}

}  // namespace

ValueView ValueView::of(const Value& v) {
  ValueView view;
  view.kind = v.kind();
  switch (v.kind()) {
    case Value::Kind::Integer:
    case Value::Kind::Date:
      view.integer = v.asInteger();
      break;
    case Value::Kind::Double:
      view.real = v.asDouble();
      break;
    case Value::Kind::Text:
    case Value::Kind::Raw:
      view.bytes = v.asText();
      break;
    case Value::Kind::Null:
      break;
  }
  return view;
}

ValueView ValueView::column(const Statement& statement, int column) {
  ValueView view;
  view.kind = statement.valueKind(column);
  switch (view.kind) {
    case Value::Kind::Integer:
    case Value::Kind::Date:
      view.integer = statement.intValue(column);
      break;
    case Value::Kind::Double:
      view.real = statement.doubleValue(column);
      break;
    case Value::Kind::Text:
    case Value::Kind::Raw:
      view.bytes = statement.textValue(column);
      break;
    case Value::Kind::Null:
      break;
  }
  return view;
}

bool isSupportedType(ub2 dty) {
  return groupOf(dty) != Group::Unsupported;
}

TypeKind nullKindOf(ub2 dty) {
  switch (groupOf(dty)) {
    case Group::Number:
      return TypeKind::Number;
    case Group::Date:
      return TypeKind::Date;
    case Group::Binary:
      return TypeKind::Raw;
    case Group::Locator:
      return locatorKindOf(dty);
    default:
      return TypeKind::Varchar2;
  }
}

TypeKind declaredKindOf(ub2 dty) {
  if (dty == SQLT_AFC || dty == SQLT_AVC) return TypeKind::Char;
  return nullKindOf(dty);
}

Value readValue(const void* data, ub4 length, sb4 size, ub2 dty) {
  const auto* bytes = static_cast<const char*>(data);
  size_t capacity = size > 0 ? static_cast<size_t>(size) : 0;
  if (!data) return Value();
  switch (dty) {
    case SQLT_CHR:
    case SQLT_AFC:
    case SQLT_LNG:
      return Value::text(std::string(bytes, length));
    case SQLT_STR:
    case SQLT_AVC: {
      const void* end = std::memchr(bytes, 0, capacity);
      if (!end) raiseOra(1480);
      return Value::text(std::string(bytes, static_cast<const char*>(end) - bytes));
    }
    case SQLT_VCS:
    case SQLT_VBI: {
      if (capacity < 2) raiseOra(1458);
      ub2 n = readNative<ub2>(bytes);
      if (n > capacity - 2) raiseOra(1458);
      std::string s(bytes + 2, n);
      if (dty == SQLT_VCS) return Value::text(std::move(s));
      return s.empty() ? Value() : Value::raw(std::move(s));
    }
    case SQLT_LVC:
    case SQLT_LVB: {
      if (capacity < 4) raiseOra(1458);
      sb4 n = readNative<sb4>(bytes);
      if (n < 0 || static_cast<size_t>(n) > capacity - 4) raiseOra(1458);
      std::string s(bytes + 4, static_cast<size_t>(n));
      if (dty == SQLT_LVC) return Value::text(std::move(s));
      return s.empty() ? Value() : Value::raw(std::move(s));
    }
    case SQLT_BIN:
    case SQLT_LBI:
      return length == 0 ? Value() : Value::raw(std::string(bytes, length));
    case SQLT_INT:
      switch (size) {
        case 1:
          return Value::integer(readNative<sb1>(bytes));
        case 2:
          return Value::integer(readNative<sb2>(bytes));
        case 4:
          return Value::integer(readNative<sb4>(bytes));
        case 8:
          return Value::integer(readNative<int64_t>(bytes));
        default:
          raiseOra(1460);
      }
    case SQLT_UIN:
      switch (size) {
        case 1:
          return Value::integer(readNative<ub1>(bytes));
        case 2:
          return Value::integer(readNative<ub2>(bytes));
        case 4:
          return Value::integer(readNative<ub4>(bytes));
        case 8: {
          uint64_t u = readNative<uint64_t>(bytes);
          if (u > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) {
            return Value::real(static_cast<double>(u));
          }
          return Value::integer(static_cast<int64_t>(u));
        }
        default:
          raiseOra(1460);
      }
    case SQLT_FLT: {
      double d;
      if (size == 4) {
        d = readNative<float>(bytes);
      } else if (size == 8) {
        d = readNative<double>(bytes);
      } else {
        raiseOra(1460);
      }
      if (!std::isfinite(d)) raiseOra(1426);
      return numberValue(OraNumber::fromDouble(d));
    }
    case SQLT_NUM:
      return numberValue(decodeNumber(reinterpret_cast<const unsigned char*>(bytes), length));
    case SQLT_VNU: {
      auto* u = reinterpret_cast<const unsigned char*>(bytes);
      if (capacity < 1 || u[0] == 0 || u[0] > kNumberBytesMax || u[0] >= capacity) raiseOra(1722);
      return numberValue(decodeVarnum(u));
    }
    case SQLT_DAT: {
      if (length < 7) raiseOra(1858);
      OraDate d = decodeDate7(reinterpret_cast<const unsigned char*>(bytes));
      return Value::date(d.toSeconds());
    }
    case SQLT_DATE:
    case SQLT_TIMESTAMP:
    case SQLT_TIMESTAMP_TZ:
    case SQLT_TIMESTAMP_LTZ: {
      // A DATE keeps the wall-clock fields; the fraction is dropped.
      if (capacity < sizeof(void*)) raiseOra(1460);
      DateTimeDescriptor* dt = dateTimeOf(readNative<void*>(bytes));
      if (!dt) raiseOra(24316);
      return Value::date(dt->seconds);
    }
    case SQLT_ODT: {
      if (capacity < sizeof(OCIDate)) raiseOra(1460);
      OCIDate od = readNative<OCIDate>(bytes);
      OraDate d;
      d.year = od.OCIDateYYYY;
      d.month = od.OCIDateMM;
      d.day = od.OCIDateDD;
      d.hour = od.OCIDateTime.OCITimeHH;
      d.minute = od.OCIDateTime.OCITimeMI;
      d.second = od.OCIDateTime.OCITimeSS;
      d.validate();
      return Value::date(d.toSeconds());
    }
    case SQLT_CLOB:
    case SQLT_BLOB:
    case SQLT_BFILEE: {
      if (capacity < sizeof(void*)) raiseOra(1460);
      LobLocator* locator = lobLocatorOf(readNative<void*>(bytes));
      if (!locator) raiseOra(22275);
      return locator->boundValue();
    }
    case SQLT_RDD: {
      if (capacity < sizeof(void*)) raiseOra(1460);
      RowidDescriptor* rowid = handleOf<RowidDescriptor>(readNative<void*>(bytes));
      if (!rowid) raiseOra(24316);
      return rowid->valid ? Value::text(rowidToText(rowid->parts)) : Value();
    }
    default:
      raiseOra(1460);
  }
}

std::string_view textOf(const ValueView& v, SessionValues& values, std::string& scratch) {
  switch (v.kind) {
    case Value::Kind::Text:
      return v.bytes;
    case Value::Kind::Integer:
    case Value::Kind::Double: {
      scratch.resize(kNumberTextMax);
      OraNumber n =
          v.kind == Value::Kind::Integer ? OraNumber(v.integer) : OraNumber::fromDouble(v.real);
      scratch.resize(numberToText(n, scratch.data()));
      return scratch;
    }
    case Value::Kind::Date:
      scratch.clear();
      values.appendDateText(v.integer, scratch);
      return scratch;
    case Value::Kind::Raw:
      scratch = rawToHex(v.bytes);
      return scratch;
    case Value::Kind::Null:
      break;
  }
  return {};
}

Written writeValue(const ValueView& v, const OutElement& out, SessionValues& values,
                   std::string& scratch) {
  if (!out.data) {
    Written w;
    w.truncated = true;
    return w;
  }
  switch (groupOf(out.dty)) {
    case Group::Text:
      return place(out, textOf(v, values, scratch));
    case Group::Binary:
      switch (v.kind) {
        case Value::Kind::Raw:
          return place(out, v.bytes);
        case Value::Kind::Text:
          scratch = hexToRaw(v.bytes);
          return place(out, scratch);
        default:
          inconsistent("BINARY", v.kind);
      }
    case Group::Number:
      return writeNumber(v, out);
    case Group::Date:
      return writeDate(v, out, values);
    case Group::Rowid:
      return writeRowid(v, out);
    case Group::Locator:
      return writeLocator(v, out);
    case Group::Unsupported:
      break;
  }
  raiseOra(1460);
}

}  // namespace vorn::server::oci
