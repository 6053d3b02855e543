// Oracle's character SQL functions. Oracle has no empty string: '' is NULL.
// These functions use that to keep their signatures plain: an empty
// string_view argument IS NULL, and an empty result IS NULL. A function
// gives NULL when any argument it needs is NULL, except CONCAT and REPLACE,
// which treat a NULL operand as the empty string the way Oracle does.
// Positions and lengths are characters = bytes: the database character set
// is WE8ISO8859P1 (ISO 8859-1, Oracle's id 31), one byte per character, as
// the call interface reports it and as text is stored. Numeric arguments
// arrive truncated to integers (OraNumber::truncToInt64). Case mapping
// (UPPER, LOWER, INITCAP, the NLS_ forms) knows the letters of ISO 8859-1:
// A-Z and the accented letters 0xC0-0xDE (but 0xD7) with their lower-case
// forms 0xE0-0xFE (but 0xF7); 0xDF and 0xFF have no upper-case form there.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vorn::server {

// SUBSTR(s, pos [, len]): pos 0 acts as 1, a negative pos counts from the
// end; len < 1 and positions outside the string give NULL. The result is a
// slice of `s`.
std::string_view substr(std::string_view s, int64_t pos);
std::string_view substr(std::string_view s, int64_t pos, int64_t len);

// INSTR(s, sub [, pos [, occurrence]]): 1-based position of the
// occurrence-th match (overlapping matches count), 0 when there is none.
// A negative pos searches backwards from that position counted from the
// end; pos 0 gives 0. An occurrence < 1 raises ORA-01428. NULL (nullopt)
// when s or sub is NULL.
std::optional<int64_t> instr(std::string_view s, std::string_view sub, int64_t pos = 1,
                             int64_t occurrence = 1);

// LENGTH(s); NULL for NULL.
std::optional<int64_t> length(std::string_view s);
std::string upper(std::string_view s);
std::string lower(std::string_view s);
// One character of the database character set.
char upperChar(char c);
char lowerChar(char c);
bool isLetterOrDigit(char c);
// INITCAP: first letter of each word upper case, the rest lower case; words
// are runs of letters and digits.
std::string initcap(std::string_view s);

// LPAD/RPAD(s, n [, pad]): pads with repetitions of pad (default one blank)
// to n characters, or cuts s to its first n characters; n < 1 gives NULL.
// Like Oracle's, the result stops at 4000 characters, the longest VARCHAR2
// of SQL (kMaxPaddedLength).
constexpr int64_t kMaxPaddedLength = 4000;
std::string lpad(std::string_view s, int64_t n, std::string_view pad = " ");
std::string rpad(std::string_view s, int64_t n, std::string_view pad = " ");

// LTRIM/RTRIM(s [, set]): removes leading/trailing characters found in set
// (default one blank). Results are slices of `s`.
std::string_view ltrim(std::string_view s, std::string_view set = " ");
std::string_view rtrim(std::string_view s, std::string_view set = " ");
// TRIM([LEADING | TRAILING | BOTH] [c] FROM s): c must be exactly one
// character (ORA-30001 otherwise).
enum class TrimSide { Leading, Trailing, Both };
std::string_view trim(std::string_view s, TrimSide side = TrimSide::Both, std::string_view c = " ");

// REPLACE(s, search [, replacement]): a NULL search leaves s as it is, a NULL
// replacement removes every occurrence of search.
std::string replace(std::string_view s, std::string_view search, std::string_view replacement = {});
// CONCAT(a, b) and a || b: NULL acts as the empty string.
std::string concat(std::string_view a, std::string_view b);

// CHR(n): the character with code n modulo 256 (8-bit character set).
std::string chr(int64_t code);
// ASCII(s): code of the first character; NULL for NULL.
std::optional<int64_t> ascii(std::string_view s);

// s LIKE pattern [ESCAPE esc], case-sensitive as in Oracle: '%' matches any
// run, '_' one character. An escape that is not one character raises
// ORA-01425; an escape character followed by anything but '%', '_' or
// itself ORA-01424. Callers handle NULL operands (the result is NULL).
bool like(std::string_view s, std::string_view pattern, std::string_view escape = {});

}  // namespace vorn::server
