// The screen: the one mouse cursor of the application.
//
// SetCursor does nothing when the cursor does not change; otherwise it
// passes the new cursor to the current UI services. TCursorGuard shows a
// cursor for its lifetime and puts the previous one back on every path; a
// guard given crDefault leaves the cursor alone (the library's components
// use 0 to mean "show no cursor").
#pragma once

#include "vorn/host/UIServices.h"

namespace vorn {

class TScreen {
 public:
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor cursor);

 private:
  TCursor cursor_ = crDefault;
};

TScreen& Screen();

class TCursorGuard {
 public:
  explicit TCursorGuard(TCursor cursor = crHourGlass);
  ~TCursorGuard();
  TCursorGuard(const TCursorGuard&) = delete;
  TCursorGuard& operator=(const TCursorGuard&) = delete;

 private:
  bool active_;
  TCursor saved_;
};

}  // namespace vorn
