// Oracle's internal NUMBER format as the call interface exchanges it: one
// exponent byte and 1..20 base-100 mantissa bytes (SQLT_NUM, at most 21
// bytes), or the same bytes behind a length byte (SQLT_VNU, OCINumber:
// 22 bytes). Zero is the single byte 128; negative numbers carry the
// terminator byte 102 when fewer than 20 mantissa bytes are used; the byte
// forms of -infinity (0) and +infinity (255, 101) decode to infinite doubles.
#pragma once

#include <cstddef>

#include "value/OraNumber.h"

namespace vorn::server {

constexpr size_t kNumberBytesMax = 21;
constexpr size_t kVarnumBytes = 22;

// Writes the NUMBER bytes of `n` into `out` and returns their count (1..21).
// A value beyond Oracle's NUMBER range (|n| >= 1E126) or NaN raises
// ORA-01426; values below 1E-130 in magnitude encode as zero.
size_t encodeNumber(OraNumber n, unsigned char* out);
// Decodes `len` NUMBER bytes (without length byte). Malformed bytes (an
// empty buffer, a digit byte out of range, more than 20 mantissa bytes)
// raise ORA-01722.
OraNumber decodeNumber(const unsigned char* bytes, size_t len);

// VARNUM / OCINumber: out[0] = length, then the NUMBER bytes; writes at most
// 22 bytes and returns the total written (length byte included).
size_t encodeVarnum(OraNumber n, unsigned char* out);
OraNumber decodeVarnum(const unsigned char* in);

}  // namespace vorn::server
