// PL/SQL's value semantics; see Values.h.
#include "plsql/Values.h"

#include <cmath>

#include "plsql/Errors.h"
#include "value/OraError.h"
#include "value/RawHex.h"
#include "value/SessionValues.h"
#include "value/StorageFit.h"

namespace vorn::server::plsql {

TypeKind kindOf(const Value& v) {
  switch (v.kind()) {
    case Value::Kind::Integer:
    case Value::Kind::Double:
      return TypeKind::Number;
    case Value::Kind::Text:
      return TypeKind::Varchar2;
    case Value::Kind::Date:
      return TypeKind::Date;
    case Value::Kind::Raw:
      return TypeKind::Raw;
    case Value::Kind::Null:
      break;
  }
  return TypeKind::Null;
}

Datum datum(Value v, TypeKind declared) {
  Datum d;
  d.kind = declared == TypeKind::Null ? kindOf(v) : declared;
  d.value = std::move(v);
  return d;
}

Datum booleanDatum(std::optional<bool> b) {
  Datum d;
  d.kind = TypeKind::Boolean;
  if (b) d.value = Value::integer(*b ? 1 : 0);
  return d;
}

Value numberValue(OraNumber n) {
  if (!n.isFinite()) raiseOra(1426);
  return n.isInteger() ? Value::integer(n.integer()) : Value::real(n.toDouble());
}

OraNumber numberOf(const Value& v) {
  return v.kind() == Value::Kind::Double ? OraNumber::fromDouble(v.asDouble())
                                         : OraNumber(v.asInteger());
}

OraNumber toNumber(const Datum& d) {
  switch (d.value.kind()) {
    case Value::Kind::Integer:
    case Value::Kind::Double:
      return numberOf(d.value);
    case Value::Kind::Text: {
      OraNumber n;
      if (!tryTextToNumber(d.value.asText(), n)) {
        valueError(": character to number conversion error");
      }
      return n;
    }
    default:
      valueError();
  }
}

std::string toText(SessionValues& nls, const Datum& d) {
  switch (d.value.kind()) {
    case Value::Kind::Null:
      return {};
    case Value::Kind::Integer:
    case Value::Kind::Double:
      return numberToText(numberOf(d.value));
    case Value::Kind::Date:
      return nls.dateToText(d.value.asInteger());
    case Value::Kind::Raw:
      return rawToHex(d.value.asText());
    case Value::Kind::Text:
      if (d.kind == TypeKind::Boolean) valueError();
      return d.value.asText();
  }
  return {};
}

int64_t toDate(SessionValues& nls, const Datum& d) {
  switch (d.value.kind()) {
    case Value::Kind::Date:
      return d.value.asInteger();
    case Value::Kind::Text:
      return nls.textToDate(d.value.asText());
    default:
      valueError();
  }
}

std::optional<bool> toBoolean(const Datum& d) {
  if (d.isNull()) return std::nullopt;
  if (d.kind != TypeKind::Boolean) valueError();
  return d.value.asInteger() != 0;
}

namespace {

Value fitText(std::string text, const VarType& to) {
  if (text.empty()) return Value();
  int limit = to.sql.length;
  if (to.sql.kind == TypeKind::Char && limit > 0) {
    if (static_cast<int>(text.size()) > limit) valueError(": character string buffer too small");
    text.resize(static_cast<size_t>(limit), ' ');
    return Value::text(std::move(text));
  }
  if (limit > 0 && static_cast<int>(text.size()) > limit) {
    valueError(": character string buffer too small");
  }
  return Value::text(std::move(text));
}

}  // namespace

Value assign(SessionValues& nls, const Datum& d, const VarType& to) {
  // PL/SQL has no values of user-defined types: SQL's objects, collections
  // and REFs go into no variable (not even as text).
  if (d.kind == TypeKind::Object || d.kind == TypeKind::Ref || d.kind == TypeKind::Collection) {
    raiseOra(3001);
  }
  if (d.isNull()) return Value();
  switch (to.sql.kind) {
    case TypeKind::Number: {
      if (d.kind == TypeKind::Boolean || d.kind == TypeKind::Date || d.kind == TypeKind::Raw) {
        valueError();
      }
      OraNumber n = toNumber(d);
      if (to.integer32) {
        n = OraNumber::fromDouble(std::round(n.toDouble()));
        if (n.toDouble() > 2147483647.0 || n.toDouble() < -2147483648.0) raiseOra(1426);
        return numberValue(n);
      }
      if (to.sql.precision > 0 && !to.sql.isFloat) {
        try {
          n = fitNumber(n, to.sql.precision, to.sql.scale == -127 ? 0 : to.sql.scale);
        } catch (const OraError& e) {
          if (e.code() == 1438) valueError(": number precision too large");
          throw;
        }
      }
      return numberValue(n);
    }
    case TypeKind::Clob:
      // An empty CLOB stays one.
      if (d.value.kind() == Value::Kind::Text && d.value.asText().empty()) return d.value;
      [[fallthrough]];
    case TypeKind::Varchar2:
    case TypeKind::Char:
    case TypeKind::Long:
    case TypeKind::Rowid:
      if (d.kind == TypeKind::Boolean) valueError();
      return fitText(toText(nls, d), to);
    case TypeKind::Date:
      if (d.kind == TypeKind::Boolean || d.kind == TypeKind::Number) valueError();
      return Value::date(toDate(nls, d));
    case TypeKind::Boolean:
      if (d.kind != TypeKind::Boolean) valueError();
      return d.value;
    case TypeKind::Raw:
    case TypeKind::LongRaw:
    case TypeKind::Blob: {
      std::string bytes;
      if (d.value.kind() == Value::Kind::Raw) {
        bytes = d.value.asText();
      } else if (d.value.kind() == Value::Kind::Text) {
        bytes = hexToRaw(d.value.asText());
      } else {
        valueError();
      }
      if (to.sql.length > 0 && static_cast<int>(bytes.size()) > to.sql.length) {
        valueError(": raw variable length too long");
      }
      if (bytes.empty() && to.sql.kind == TypeKind::Blob && d.value.kind() == Value::Kind::Raw) {
        return Value::raw(std::string());  // an empty BLOB
      }
      return bytes.empty() ? Value() : Value::raw(std::move(bytes));
    }
    case TypeKind::Bfile:
      if (d.kind != TypeKind::Bfile && d.kind != TypeKind::Null) valueError();
      return d.value;
    case TypeKind::Null:
      return d.value;
    case TypeKind::Object:
    case TypeKind::Ref:
    case TypeKind::Collection:
      // PL/SQL has no variables of user-defined types.
      raiseOra(3001);
  }
  return d.value;
}

namespace {

int sign(int v) {
  return v < 0 ? -1 : v > 0 ? 1 : 0;
}

// Blank-padded comparison: the shorter value counts as padded with blanks.
int comparePadded(const std::string& a, const std::string& b) {
  size_t n = std::max(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char ca = i < a.size() ? static_cast<unsigned char>(a[i]) : ' ';
    unsigned char cb = i < b.size() ? static_cast<unsigned char>(b[i]) : ' ';
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return 0;
}

}  // namespace

std::optional<int> compare(SessionValues& nls, const Datum& a, const Datum& b) {
  if (a.isNull() || b.isNull()) return std::nullopt;
  if (a.kind == TypeKind::Boolean || b.kind == TypeKind::Boolean) {
    if (a.kind != b.kind) valueError();
    return sign(static_cast<int>(a.value.asInteger() - b.value.asInteger()));
  }
  bool aNum = a.value.isNumber(), bNum = b.value.isNumber();
  if (aNum || bNum) return compareNumbers(toNumber(a), toNumber(b));
  bool aDate = a.value.kind() == Value::Kind::Date, bDate = b.value.kind() == Value::Kind::Date;
  if (aDate || bDate) {
    int64_t x = toDate(nls, a), y = toDate(nls, b);
    return x < y ? -1 : x > y ? 1 : 0;
  }
  if (a.value.kind() == Value::Kind::Raw || b.value.kind() == Value::Kind::Raw) {
    std::string x =
        a.value.kind() == Value::Kind::Raw ? a.value.asText() : hexToRaw(a.value.asText());
    std::string y =
        b.value.kind() == Value::Kind::Raw ? b.value.asText() : hexToRaw(b.value.asText());
    return sign(x.compare(y));
  }
  if (a.kind == TypeKind::Char && b.kind == TypeKind::Char) {
    return comparePadded(a.value.asText(), b.value.asText());
  }
  return sign(a.value.asText().compare(b.value.asText()));
}

std::string typeName(const VarType& t) {
  if (t.integer32) return "PLS_INTEGER";
  switch (t.sql.kind) {
    case TypeKind::Boolean:
      return "BOOLEAN";
    case TypeKind::Null:
      return "NULL";
    default:
      return dictionaryTypeName(t.sql);
  }
}

}  // namespace vorn::server::plsql
