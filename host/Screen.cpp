// The screen cursor.
#include "vorn/host/Screen.h"

namespace vorn {

void TScreen::SetCursor(TCursor cursor) {
  if (cursor == cursor_) return;
  cursor_ = cursor;
  UIServices().ShowCursor(cursor);
}

TScreen& Screen() {
  static TScreen screen;
  return screen;
}

TCursorGuard::TCursorGuard(TCursor cursor)
    : active_(cursor != crDefault), saved_(Screen().Cursor()) {
  if (active_) Screen().SetCursor(cursor);
}

TCursorGuard::~TCursorGuard() {
  if (active_) Screen().SetCursor(saved_);
}

}  // namespace vorn
