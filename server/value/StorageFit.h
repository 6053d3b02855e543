// Column storage enforcement: what Oracle does to a value on its way into a
// column (INSERT, UPDATE). The engine calls these for each target column;
// they round, pad or reject exactly as Oracle does.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "value/OraNumber.h"

namespace vorn::server {

// "OWNER"."TABLE"."COLUMN", the form ORA-12899 and ORA-01400 name a column by.
std::string quotedColumnName(std::string_view owner, std::string_view table,
                             std::string_view column);

// NUMBER(p, s): rounds half away from zero to scale s (a negative s rounds
// left of the point) and raises ORA-01438 when the rounded value needs more
// than p - s digits left of the point. NUMBER without precision is
// NUMBER(38) with any scale (call with precision 0: no check, no rounding);
// INTEGER is NUMBER(38, 0). Infinite or NaN values raise ORA-01426.
OraNumber fitNumber(OraNumber value, int precision, int scale);
// FLOAT(b): rounds to ceil(b * log10(2)) significant decimal digits
// (FLOAT = FLOAT(126), 38 digits).
OraNumber fitFloat(OraNumber value, int binaryPrecision);

// VARCHAR2(n) (and NVARCHAR2, VARCHAR): returns the value unchanged or
// raises ORA-12899 "value too large for column <column> (actual: a,
// maximum: n)"; `column` is the quotedColumnName text. '' is NULL and
// stays empty.
std::string_view fitText(std::string_view value, int64_t maxLength, std::string_view column);
// CHAR(n): blank-pads to n, raises ORA-12899 past n. '' stays NULL.
std::string fitChar(std::string_view value, int64_t size, std::string_view column);
// RAW(n): raises ORA-12899 when the value has more than n bytes.
void fitRaw(std::string_view value, int64_t maxLength, std::string_view column);

}  // namespace vorn::server
