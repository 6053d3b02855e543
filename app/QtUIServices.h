// The host's UI services (vorn/host/UIServices.h) on Qt, for Vornix.
//
// - Message boxes are QMessageBoxes over the active window, with the icon
//   of their kind (none for mtCustom), the caption and buttons asked for,
//   and the default button of the host's rule (OK, else Yes, else Retry,
//   else the first); closing a box without a button answers mrCancel.
//   Line breaks may be CR LF.
// - The screen cursor is Qt's override cursor: a cursor other than
//   crDefault replaces the one before it, crDefault removes it.
// - Exceptions are shown as error boxes (the host's default).
// - Worker threads' TThread::Synchronize calls run in the Qt event loop:
//   while the services exist, every queued call posts a CheckSynchronize
//   to the application object, so they also run inside modal dialogs.
//
// Make the services after the QApplication and free them before it; they
// become current through SetUIServices or ScopedUIServices (VornixApplication
// does all of this).
#pragma once

#include <Qt>

#include "vorn/host/UIServices.h"

namespace vorn {

class QtUIServices : public TUIServices {
 public:
  QtUIServices();
  ~QtUIServices() override;
  QtUIServices(const QtUIServices&) = delete;
  QtUIServices& operator=(const QtUIServices&) = delete;

  TModalResult ShowMessageBox(const TMessageBox& box) override;
  void ShowCursor(TCursor cursor) override;

 private:
  bool overriding_ = false;
};

// The Qt shape of a host cursor; crDefault gives Qt::ArrowCursor.
Qt::CursorShape CursorShapeOf(TCursor cursor);

}  // namespace vorn
