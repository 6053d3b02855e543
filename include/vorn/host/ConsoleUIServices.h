// The default UI services of a program without a GUI.
//
// Every message box is printed to standard error as "Caption: text". A box
// with one button returns it at once. A box with several buttons lists them;
// when standard input is a terminal it asks for a choice (a button's caption
// or its first letters, ignoring case) until the answer names exactly one
// button or is empty, otherwise (and on an empty answer or end of input) it
// takes the default button (OK, else Yes, else Retry, else the first). A
// console has no mouse cursor: cursor changes are ignored.
#pragma once

#include <cstdio>

#include "vorn/host/UIServices.h"

namespace vorn {

class ConsoleUIServices : public TUIServices {
 public:
  // The streams default to stderr and stdin; `interactive` to whether the
  // input is a terminal.
  ConsoleUIServices();
  ConsoleUIServices(std::FILE* output, std::FILE* input, bool interactive);

  TModalResult ShowMessageBox(const TMessageBox& box) override;
  void ShowCursor(TCursor) override {}

 private:
  std::FILE* output_;
  std::FILE* input_;
  bool interactive_;
};

}  // namespace vorn
