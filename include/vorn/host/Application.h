// The application object: the component that owns the program's top-level
// components, its title, and the display of exceptions nobody handled.
//
// Application() lives for the whole process and is never destroyed; a
// program that wants the components it owns freed at the end calls
// Application().DestroyComponents() before main returns.
//
// ShowException shows the exception's message, with a "." appended when it
// ends in a character above ".", in an error box captioned with the title.
// HandleException (inside a catch block, or given the exception) ignores
// EAbort, passes other exceptions to OnException when set and shows them
// otherwise.
#pragma once

#include <exception>
#include <functional>
#include <string>

#include "vorn/host/Component.h"
#include "vorn/host/UIServices.h"

namespace vorn {

using TExceptionEvent = std::function<void(TObject* sender, const std::exception& e)>;

class TApplication : public TComponent {
  VORN_CLASS(TApplication, TComponent)
  TApplication();

  // The program's name unless set.
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title) { title_ = title; }

  void ShowException(const std::exception& e);
  // Handles the exception being caught; does nothing outside a catch block.
  void HandleException(TObject* sender);
  void HandleException(std::exception_ptr error, TObject* sender);
  // A message box with the given caption (the title when empty).
  TModalResult MessageBox(const std::string& text, const std::string& caption,
                          TMsgDlgType type = mtCustom, TMsgDlgButtons buttons = mbOK);

  const TExceptionEvent& OnException() const { return onException_; }
  void SetOnException(TExceptionEvent handler) { onException_ = std::move(handler); }

 private:
  std::string title_;
  TExceptionEvent onException_;
};

TApplication& Application();

}  // namespace vorn
