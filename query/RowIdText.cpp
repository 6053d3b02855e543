// Rowid texts; see RowIdText.h.
#include "RowIdText.h"

#include <cstdio>

namespace vorn {

namespace {

constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

void AppendBase64(std::string& text, uint32_t value, int digits) {
  for (int i = digits - 1; i >= 0; --i) {
    // Digits beyond 32 bits are zero.
    const int shift = 6 * i;
    text += kDigits[shift >= 32 ? 0 : (value >> shift) & 63];
  }
}

}  // namespace

std::string RowIdText(const RowidParts& parts) {
  if (parts.object == 0) {
    char text[32];
    std::snprintf(text, sizeof text, "%8.8x.%4.4x.%4.4x", parts.block, parts.row, parts.file);
    return text;
  }
  std::string text;
  text.reserve(18);
  AppendBase64(text, parts.object, 6);
  AppendBase64(text, parts.file, 3);
  AppendBase64(text, parts.block, 6);
  AppendBase64(text, parts.row, 3);
  return text;
}

}  // namespace vorn
