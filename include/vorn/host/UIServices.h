// The user-interface services the library needs from its host: message
// boxes, the screen cursor and the display of exceptions.
//
// Library code calls MessageDlg, ShowMessage, Screen() and Application()
// (Screen.h, Application.h); they all reach the current TUIServices, an
// interface with one implementation per front end. The console one
// (ConsoleUIServices.h) is current by default; tests install a
// RecordingUIServices (RecordingUIServices.h) with ScopedUIServices, and the
// Qt front end installs its own. Call them from the main thread.
//
// Message boxes carry a text, a caption, an icon kind (TMsgDlgType) and a set
// of buttons, and return the modal result of the button chosen. MessageDlg
// captions its box by the kind: "Warning", "Error", "Information",
// "Confirm", or the application title for mtCustom (and for ShowMessage,
// which has one OK button).
#pragma once

#include <cstdint>
#include <string>

#include "vorn/host/Flags.h"

namespace vorn {

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

enum TMsgDlgBtn : uint32_t {
  mbNone = 0,
  mbYes = 1u << 0,
  mbNo = 1u << 1,
  mbOK = 1u << 2,
  mbCancel = 1u << 3,
  mbAbort = 1u << 4,
  mbRetry = 1u << 5,
  mbIgnore = 1u << 6,
  mbAll = 1u << 7,
  mbNoToAll = 1u << 8,
  mbYesToAll = 1u << 9,
  mbHelp = 1u << 10,
};
VORN_FLAGS(TMsgDlgBtn)
using TMsgDlgButtons = TMsgDlgBtn;

inline constexpr TMsgDlgButtons mbYesNoCancel = mbYes | mbNo | mbCancel;
inline constexpr TMsgDlgButtons mbYesAllNoAllCancel =
    mbYes | mbYesToAll | mbNo | mbNoToAll | mbCancel;
inline constexpr TMsgDlgButtons mbOKCancel = mbOK | mbCancel;
inline constexpr TMsgDlgButtons mbAbortRetryIgnore = mbAbort | mbRetry | mbIgnore;

using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrAbort = 3;
inline constexpr TModalResult mrRetry = 4;
inline constexpr TModalResult mrIgnore = 5;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;
inline constexpr TModalResult mrAll = 8;
inline constexpr TModalResult mrNoToAll = 9;
inline constexpr TModalResult mrYesToAll = 10;

// Screen cursors; crDefault leaves the choice to the window under the mouse.
using TCursor = int;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crNone = -1;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSizeNESW = -6;
inline constexpr TCursor crSizeNS = -7;
inline constexpr TCursor crSizeNWSE = -8;
inline constexpr TCursor crSizeWE = -9;
inline constexpr TCursor crUpArrow = -10;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crDrag = -12;
inline constexpr TCursor crNoDrop = -13;
inline constexpr TCursor crHSplit = -14;
inline constexpr TCursor crVSplit = -15;
inline constexpr TCursor crMultiDrag = -16;
inline constexpr TCursor crSQLWait = -17;
inline constexpr TCursor crNo = -18;
inline constexpr TCursor crAppStart = -19;
inline constexpr TCursor crHelp = -20;
inline constexpr TCursor crHandPoint = -21;
inline constexpr TCursor crSizeAll = -22;

struct TMessageBox {
  std::string Text;
  std::string Caption;
  TMsgDlgType DlgType = mtCustom;
  TMsgDlgButtons Buttons = mbOK;
};

class TUIServices {
 public:
  virtual ~TUIServices() = default;
  // Shows the box and returns the modal result of the button chosen.
  virtual TModalResult ShowMessageBox(const TMessageBox& box) = 0;
  // The screen cursor has become `cursor`.
  virtual void ShowCursor(TCursor cursor) = 0;
  // Displays an exception's text; the default shows an error box with OK.
  virtual void ShowException(const std::string& text, const std::string& caption);
};

// The current services.
TUIServices& UIServices();
// Makes `services` current (nullptr: the console services) and returns the
// previous ones.
TUIServices* SetUIServices(TUIServices* services);

// Installs services for its lifetime, then restores the previous ones.
class ScopedUIServices {
 public:
  explicit ScopedUIServices(TUIServices& services);
  ~ScopedUIServices();
  ScopedUIServices(const ScopedUIServices&) = delete;
  ScopedUIServices& operator=(const ScopedUIServices&) = delete;

 private:
  TUIServices* previous_;
};

TModalResult ModalResultOf(TMsgDlgBtn button);
// The button a box chooses when nobody answers: OK, else Yes, else Retry,
// else the first button of the set (mbNone for an empty set).
TMsgDlgBtn DefaultButton(TMsgDlgButtons buttons);
// "Yes", "No", "OK", "Cancel", "Abort", "Retry", "Ignore", "All",
// "No to All", "Yes to All", "Help".
std::string ButtonCaption(TMsgDlgBtn button);
std::string MsgDlgCaption(TMsgDlgType type);

TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons,
                        int helpContext = 0);
void ShowMessage(const std::string& text);

}  // namespace vorn
