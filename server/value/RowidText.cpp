// Extended ROWID text; see RowidText.h.
#include "value/RowidText.h"

#include "value/OraError.h"

namespace vorn::server {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int digitValue(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

void writePart(uint64_t value, int digits, char* out) {
  if (value >> (6 * digits)) raiseOra(600, {"rowid part out of range"});
  for (int i = digits - 1; i >= 0; --i) {
    out[i] = kAlphabet[value & 63];
    value >>= 6;
  }
}

bool readPart(std::string_view text, uint64_t& value) {
  value = 0;
  for (char c : text) {
    int d = digitValue(c);
    if (d < 0) return false;
    value = value << 6 | static_cast<uint64_t>(d);
  }
  return true;
}

}  // namespace

void rowidToText(const RowidParts& parts, char* out) {
  writePart(parts.object, 6, out);
  writePart(parts.file, 3, out + 6);
  writePart(parts.block, 6, out + 9);
  writePart(parts.row, 3, out + 15);
}

std::string rowidToText(const RowidParts& parts) {
  std::string out(kRowidTextLength, 'A');
  rowidToText(parts, out.data());
  return out;
}

bool tryRowidFromText(std::string_view text, RowidParts& out) {
  if (text.size() != kRowidTextLength) return false;
  return readPart(text.substr(0, 6), out.object) && readPart(text.substr(6, 3), out.file) &&
         readPart(text.substr(9, 6), out.block) && readPart(text.substr(15, 3), out.row);
}

RowidParts rowidFromText(std::string_view text) {
  RowidParts parts;
  if (!tryRowidFromText(text, parts)) raiseOra(1410);
  return parts;
}

}  // namespace vorn::server
