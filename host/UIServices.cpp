// The current UI services and the message-box functions built on them.
#include "vorn/host/UIServices.h"

#include <atomic>

#include "vorn/host/Application.h"
#include "vorn/host/ConsoleUIServices.h"

namespace vorn {
namespace {

TUIServices& ConsoleServices() {
  static ConsoleUIServices services;
  return services;
}

std::atomic<TUIServices*> gServices{nullptr};

constexpr TMsgDlgBtn kButtonOrder[] = {mbYes,    mbNo,  mbOK,      mbCancel,   mbAbort, mbRetry,
                                       mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp};

}  // namespace

void TUIServices::ShowException(const std::string& text, const std::string& caption) {
  ShowMessageBox(TMessageBox{text, caption, mtError, mbOK});
}

TUIServices& UIServices() {
  TUIServices* services = gServices.load();
  return services ? *services : ConsoleServices();
}

TUIServices* SetUIServices(TUIServices* services) {
  TUIServices* previous = gServices.exchange(services);
  return previous ? previous : &ConsoleServices();
}

ScopedUIServices::ScopedUIServices(TUIServices& services)
    : previous_(gServices.exchange(&services)) {}

ScopedUIServices::~ScopedUIServices() {
  gServices.store(previous_);
}

TModalResult ModalResultOf(TMsgDlgBtn button) {
  switch (button) {
    case mbYes:
      return mrYes;
    case mbNo:
      return mrNo;
    case mbOK:
      return mrOk;
    case mbCancel:
      return mrCancel;
    case mbAbort:
      return mrAbort;
    case mbRetry:
      return mrRetry;
    case mbIgnore:
      return mrIgnore;
    case mbAll:
      return mrAll;
    case mbNoToAll:
      return mrNoToAll;
    case mbYesToAll:
      return mrYesToAll;
    default:
      return mrNone;
  }
}

TMsgDlgBtn DefaultButton(TMsgDlgButtons buttons) {
  for (TMsgDlgBtn preferred : {mbOK, mbYes, mbRetry}) {
    if (buttons & preferred) return preferred;
  }
  for (TMsgDlgBtn button : kButtonOrder) {
    if (buttons & button) return button;
  }
  return mbNone;
}

std::string ButtonCaption(TMsgDlgBtn button) {
  switch (button) {
    case mbYes:
      return "Yes";
    case mbNo:
      return "No";
    case mbOK:
      return "OK";
    case mbCancel:
      return "Cancel";
    case mbAbort:
      return "Abort";
    case mbRetry:
      return "Retry";
    case mbIgnore:
      return "Ignore";
    case mbAll:
      return "All";
    case mbNoToAll:
      return "No to All";
    case mbYesToAll:
      return "Yes to All";
    case mbHelp:
      return "Help";
    default:
      return std::string();
  }
}

std::string MsgDlgCaption(TMsgDlgType type) {
  switch (type) {
    case mtWarning:
      return "Warning";
    case mtError:
      return "Error";
    case mtInformation:
      return "Information";
    case mtConfirmation:
      return "Confirm";
    default:
      return Application().Title();
  }
}

TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int) {
  return UIServices().ShowMessageBox(TMessageBox{text, MsgDlgCaption(type), type, buttons});
}

void ShowMessage(const std::string& text) {
  MessageDlg(text, mtCustom, mbOK);
}

}  // namespace vorn
