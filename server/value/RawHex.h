// RAW values as text: RAWTOHEX, HEXTORAW and the implicit conversions
// between RAW and character values (Oracle converts through hexadecimal).
#pragma once

#include <string>
#include <string_view>

namespace vorn::server {

// Upper-case hexadecimal, two digits per byte; empty for empty (NULL).
std::string rawToHex(std::string_view bytes);
// Hexadecimal digits of either case to bytes; an odd count is read as if a
// leading 0 were present (Oracle: 'ABC' is 0x0A 0xBC). A character that is
// not a hexadecimal digit raises ORA-01465.
std::string hexToRaw(std::string_view hex);

}  // namespace vorn::server
