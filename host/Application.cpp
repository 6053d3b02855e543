// The application object and the display of unhandled exceptions.
#include "vorn/host/Application.h"

#include <cerrno>

#include "vorn/host/Exceptions.h"

namespace vorn {

TApplication::TApplication() : TComponent(nullptr), title_(program_invocation_short_name) {}

void TApplication::ShowException(const std::exception& e) {
  std::string text = e.what();
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  UIServices().ShowException(text, title_);
}

void TApplication::HandleException(TObject* sender) {
  if (std::exception_ptr error = std::current_exception()) HandleException(error, sender);
}

void TApplication::HandleException(std::exception_ptr error, TObject* sender) {
  if (!error) return;
  try {
    std::rethrow_exception(error);
  } catch (const EAbort&) {
  } catch (const std::exception& e) {
    if (onException_) {
      onException_(sender, e);
    } else {
      ShowException(e);
    }
  } catch (...) {
    Exception unknown("Unknown exception");
    if (onException_) {
      onException_(sender, unknown);
    } else {
      ShowException(unknown);
    }
  }
}

TModalResult TApplication::MessageBox(const std::string& text, const std::string& caption,
                                      TMsgDlgType type, TMsgDlgButtons buttons) {
  return UIServices().ShowMessageBox(
      TMessageBox{text, caption.empty() ? title_ : caption, type, buttons});
}

// Never destroyed: components it owns may reach other static objects while
// they die, and static destruction order would not protect them.
TApplication& Application() {
  static TApplication* application = new TApplication();
  return *application;
}

}  // namespace vorn
