// PL/SQL's value semantics over the engine's Values: the implicit
// conversions of assignment and of operators, comparisons (blank-padded
// between CHAR values) and the errors PL/SQL gives for them: a conversion
// in a procedural statement fails with ORA-06502 "PL/SQL: numeric or value
// error: ..." where SQL would say ORA-01722.
#pragma once

#include <optional>
#include <string>

#include "engine/Value.h"
#include "plsql/Syntax.h"
#include "value/OraNumber.h"

namespace vorn::server {
class SessionValues;
}

namespace vorn::server::plsql {

// A value with its type at run time (CHAR and VARCHAR2 differ; a NULL has
// the type of where it came from).
struct Datum {
  Value value;
  TypeKind kind = TypeKind::Null;
  bool isNull() const { return value.isNull(); }
};

// The type family of a stored value (Text is VARCHAR2).
TypeKind kindOf(const Value& v);
Datum datum(Value v, TypeKind declared);
Datum booleanDatum(std::optional<bool> b);
Value numberValue(OraNumber n);
OraNumber numberOf(const Value& v);  // Integer or Double

// Conversions as PL/SQL makes them implicitly; NULL stays NULL (callers test
// first where that matters).
OraNumber toNumber(const Datum& d);
std::string toText(SessionValues& nls, const Datum& d);
int64_t toDate(SessionValues& nls, const Datum& d);
std::optional<bool> toBoolean(const Datum& d);

// The value a variable of type `to` holds after `to := d`: NUMBER(p,s)
// rounding and precision, 32-bit integer range (ORA-01426), VARCHAR2 and
// CHAR lengths (ORA-06502 "character string buffer too small"), CHAR
// blank padding, BOOLEAN only from BOOLEAN.
Value assign(SessionValues& nls, const Datum& d, const VarType& to);

// a <=> b after PL/SQL's conversions: -1, 0, 1; nullopt when either is NULL.
std::optional<int> compare(SessionValues& nls, const Datum& a, const Datum& b);

// The name PL/SQL's messages give a type ("NUMBER", "VARCHAR2", ...).
std::string typeName(const VarType& t);

}  // namespace vorn::server::plsql
