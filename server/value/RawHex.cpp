// RAW <-> hexadecimal text; see RawHex.h.
#include "value/RawHex.h"

#include "value/OraError.h"

namespace vorn::server {
namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string rawToHex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (char c : bytes) {
    auto b = static_cast<unsigned char>(c);
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out;
}

std::string hexToRaw(std::string_view hex) {
  std::string out;
  out.reserve((hex.size() + 1) / 2);
  size_t i = 0;
  if (hex.size() % 2 != 0) {
    int v = hexValue(hex[0]);
    if (v < 0) raiseOra(1465);
    out += static_cast<char>(v);
    i = 1;
  }
  for (; i < hex.size(); i += 2) {
    int hi = hexValue(hex[i]), lo = hexValue(hex[i + 1]);
    if (hi < 0 || lo < 0) raiseOra(1465);
    out += static_cast<char>(hi << 4 | lo);
  }
  return out;
}

}  // namespace vorn::server
