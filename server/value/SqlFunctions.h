// Oracle's SQL functions registered with a SQLite connection. The engine's
// code generator knows the Oracle type of every expression and calls the
// typed variant that fits; argument representations follow the storage
// conventions: NUMBER = INTEGER or REAL, DATE = INTEGER seconds since 1970,
// character values = TEXT (never ''), RAW = BLOB. Every function returns
// NULL when an argument it needs is NULL (CONCAT and REPLACE treat NULL as
// ''); a character result that would be '' is NULL. Numeric arguments given
// as TEXT are converted as TO_NUMBER would (ORA-01722); DATE arguments given
// as TEXT are converted with NLS_DATE_FORMAT; text arguments given as
// numbers take the number's text form (the engine converts dates to text
// itself, since a DATE is an INTEGER too).
//
// All functions are deterministic except ora_sysdate. Errors leave
// sqlite3_step as SQLITE_ERROR with the OraError kept in the session (see
// SessionValues.h: rethrowPendingError).
//
// SQLite name                       arguments                result   Oracle
// --------------------------------- ------------------------ -------- -----------------------
// Conversions
// ora_num_text(n)                   NUMBER                   TEXT     TO_CHAR(n); implicit
// ora_date_text(d)                  DATE                     TEXT     TO_CHAR(d); implicit (NLS)
// ora_text_to_char(t)               TEXT                     TEXT     TO_CHAR(t)
// ora_num_to_char(n, fmt)           NUMBER, TEXT             TEXT     TO_CHAR(n, fmt)
// ora_date_to_char(d, fmt)          DATE, TEXT               TEXT     TO_CHAR(d, fmt)
// ora_to_num(x)                     any                      NUMBER   implicit text -> NUMBER
// ora_to_number(t [, fmt])          TEXT, TEXT               NUMBER   TO_NUMBER
// ora_text_to_date(t)               TEXT                     DATE     implicit text -> DATE (NLS)
// ora_to_date(t [, fmt])            TEXT, TEXT               DATE     TO_DATE
// ora_num(n)                        NUMBER                   NUMBER   normal form (1.0 -> 1)
// Arithmetic
// ora_add(a, b), ora_sub(a, b)      NUMBER, NUMBER           NUMBER   a + b, a - b
// ora_mul(a, b), ora_div(a, b)      NUMBER, NUMBER           NUMBER   a * b, a / b (ORA-01476)
// ora_neg(a)                        NUMBER                   NUMBER   -a
// ora_date_add(d, n)                DATE, NUMBER             DATE     d + n (days)
// ora_date_sub(d, n)                DATE, NUMBER             DATE     d - n (days)
// ora_date_diff(a, b)               DATE, DATE               NUMBER   a - b (days)
// Character
// ora_concat(a, b)                  TEXT, TEXT               TEXT     CONCAT(a, b), a || b
// ora_substr(s, pos [, len])        TEXT, NUMBER, NUMBER     TEXT     SUBSTR
// ora_instr(s, sub [, pos [, occ]]) TEXT, TEXT, NUMBER, NUM. NUMBER   INSTR
// ora_length(s)                     TEXT                     NUMBER   LENGTH
// ora_upper(s), ora_lower(s)        TEXT                     TEXT     UPPER, LOWER
// ora_initcap(s)                    TEXT                     TEXT     INITCAP
// ora_lpad(s, n [, pad])            TEXT, NUMBER, TEXT       TEXT     LPAD
// ora_rpad(s, n [, pad])            TEXT, NUMBER, TEXT       TEXT     RPAD
// ora_ltrim(s [, set])              TEXT, TEXT               TEXT     LTRIM
// ora_rtrim(s [, set])              TEXT, TEXT               TEXT     RTRIM
// ora_trim(s [, c])                 TEXT, TEXT               TEXT     TRIM([BOTH] [c FROM] s)
// ora_trim_leading(s [, c])         TEXT, TEXT               TEXT     TRIM(LEADING [c] FROM s)
// ora_trim_trailing(s [, c])        TEXT, TEXT               TEXT     TRIM(TRAILING [c] FROM s)
// ora_replace(s, search [, rep])    TEXT, TEXT, TEXT         TEXT     REPLACE
// ora_chr(n)                        NUMBER                   TEXT     CHR
// ora_ascii(s)                      TEXT                     NUMBER   ASCII
// ora_like(s, pattern [, esc])      TEXT, TEXT, TEXT         INTEGER  s LIKE pattern [ESCAPE esc]
//                                                                     (1/0, case-sensitive)
// Numeric
// ora_abs(n), ora_sign(n)           NUMBER                   NUMBER   ABS, SIGN
// ora_floor(n), ora_ceil(n)         NUMBER                   NUMBER   FLOOR, CEIL
// ora_sqrt(n)                       NUMBER                   NUMBER   SQRT (ORA-01428)
// ora_round_num(n [, d])            NUMBER, NUMBER           NUMBER   ROUND(n, d)
// ora_trunc_num(n [, d])            NUMBER, NUMBER           NUMBER   TRUNC(n, d)
// ora_mod(m, n)                     NUMBER, NUMBER           NUMBER   MOD
// ora_power(m, n)                   NUMBER, NUMBER           NUMBER   POWER
// GREATEST / LEAST: SQLite's own multi-argument max() / min() give
// Oracle's results (NULL when any argument is NULL) once the engine has
// converted every argument to the type of the first.
// Dates
// ora_add_months(d, n)              DATE, NUMBER             DATE     ADD_MONTHS
// ora_months_between(a, b)          DATE, DATE               NUMBER   MONTHS_BETWEEN
// ora_last_day(d)                   DATE                     DATE     LAST_DAY
// ora_round_date(d [, unit])        DATE, TEXT               DATE     ROUND(d, unit)
// ora_trunc_date(d [, unit])        DATE, TEXT               DATE     TRUNC(d, unit)
// ora_sysdate()                     -                        DATE     SYSDATE (not deterministic)
// RAW
// ora_rawtohex(r)                   RAW                      TEXT     RAWTOHEX; implicit RAW ->
// text ora_hextoraw(t)                   TEXT                     RAW      HEXTORAW; implicit text
// -> RAW Column storage (INSERT / UPDATE target columns; col = "OWNER"."TABLE"."COLUMN")
// ora_fit_number(v, p, s, col)      NUMBER, INT, INT, TEXT   NUMBER   NUMBER(p,s) (ORA-01438);
//                                                                     p = 0: NUMBER, no limit
// ora_fit_float(v, b, col)          NUMBER, INT, TEXT        NUMBER   FLOAT(b)
// ora_fit_text(v, n, col)           TEXT, INT, TEXT          TEXT     VARCHAR2(n) (ORA-12899)
// ora_fit_char(v, n, col)           TEXT, INT, TEXT          TEXT     CHAR(n), blank-padded
// ora_fit_raw(v, n, col)            RAW, INT, TEXT           RAW      RAW(n) (text: as HEXTORAW)
// ora_fit_date(v [, col])           DATE                     DATE     range check (ORA-01841)
// ROWID
// ora_rowid_text(o, f, b, r)        INT, INT, INT, INT       TEXT     the 18-character ROWID
// ora_rowid_object(t)               TEXT                     INTEGER  data object number
// ora_rowid_file(t)                 TEXT                     INTEGER  relative file number
// ora_rowid_block(t)                TEXT                     INTEGER  block
// ora_rowid_row(t)                  TEXT                     INTEGER  row slot
// ora_rowid_check(t)                TEXT                     TEXT     t if well formed; all raise
//                                                                     ORA-01410 for malformed text
#pragma once

struct sqlite3;

namespace vorn::server {

class SessionValues;

// Registers every function above with `db`; `session` is the functions'
// context (NLS, format caches, clock, pending error) and must outlive the
// connection. Raises ORA-00600 if SQLite refuses a registration.
void registerOracleFunctions(sqlite3* db, SessionValues* session);

}  // namespace vorn::server
