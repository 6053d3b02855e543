// The extended ROWID text: 18 characters OOOOOOFFFBBBBBBRRR, the data
// object number (6), relative file number (3), block (6) and row slot (3)
// each written in base 64, most significant digit first, over
// "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/". How a
// table row maps onto block and slot is the engine's business; this file
// only writes and reads the text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vorn::server {

struct RowidParts {
  uint64_t object = 0;  // < 2^36
  uint64_t file = 0;    // < 2^18
  uint64_t block = 0;   // < 2^36
  uint64_t row = 0;     // < 2^18
  friend bool operator==(const RowidParts&, const RowidParts&) = default;
};

constexpr size_t kRowidTextLength = 18;

// Writes the 18 characters into `out` (not terminated). A part too large for
// its digits raises ORA-00600 (an engine fault, never user input).
void rowidToText(const RowidParts& parts, char* out);
std::string rowidToText(const RowidParts& parts);
// Reads the 18-character form; anything else (length, a character outside
// the alphabet) raises ORA-01410 (invalid ROWID).
RowidParts rowidFromText(std::string_view text);
// As rowidFromText without raising.
bool tryRowidFromText(std::string_view text, RowidParts& out);

}  // namespace vorn::server
