// The styles of a font as the host's forms know them: a set of bold,
// italic, underlined and struck out. A front end maps the set onto its own
// font type (the Qt dialogs do so in app/).
#pragma once

#include <cstdint>

#include "vorn/host/Flags.h"

namespace vorn {

enum TFontStyle : uint32_t {
  fsNone = 0,
  fsBold = 1u << 0,
  fsItalic = 1u << 1,
  fsUnderline = 1u << 2,
  fsStrikeOut = 1u << 3,
};
VORN_FLAGS(TFontStyle)
using TFontStyles = TFontStyle;

}  // namespace vorn
