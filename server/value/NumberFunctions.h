// Oracle's numeric SQL functions over NUMBER values (ROUND, TRUNC, MOD,
// POWER, SQRT, ABS, SIGN, FLOOR, CEIL). Decimal semantics: ROUND(2.675, 2)
// is 2.68 and MOD(1.1, 0.1) is 0, as in Oracle, although the operands are
// doubles. NULL handling is the caller's: every one of these functions gives
// NULL for a NULL argument.
#pragma once

#include "value/OraNumber.h"

namespace vorn::server {

// ROUND(n, d): half away from zero to d digits after the point (d < 0 rounds
// left of it; d is truncated to an integer by the caller).
OraNumber roundNumber(OraNumber n, int64_t digits = 0);
// TRUNC(n, d): toward zero.
OraNumber truncNumber(OraNumber n, int64_t digits = 0);
// MOD(m, n) = m - n * TRUNC(m / n), with the sign of m; MOD(m, 0) = m.
OraNumber modNumber(OraNumber m, OraNumber n);
// POWER(m, n); a negative m with a non-integral n raises ORA-01428, as does
// 0 to a negative power; a result beyond the NUMBER range ORA-01426.
OraNumber powerNumber(OraNumber m, OraNumber n);
// SQRT(n); a negative n raises ORA-01428 ("argument '-4' is out of range").
OraNumber sqrtNumber(OraNumber n);
OraNumber absNumber(OraNumber n);
// -1, 0 or 1.
OraNumber signNumber(OraNumber n);
OraNumber floorNumber(OraNumber n);
OraNumber ceilNumber(OraNumber n);

}  // namespace vorn::server
