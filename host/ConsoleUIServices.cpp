// Message boxes on a terminal.
#include "vorn/host/ConsoleUIServices.h"

#include <unistd.h>

#include <string>
#include <vector>

#include "vorn/host/TextUtils.h"

namespace vorn {
namespace {

constexpr TMsgDlgBtn kButtons[] = {mbYes,    mbNo,  mbOK,      mbCancel,   mbAbort, mbRetry,
                                   mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp};

bool ReadLine(std::FILE* input, std::string& line) {
  line.clear();
  int c;
  while ((c = std::fgetc(input)) != EOF && c != '\n')
    line += static_cast<char>(c);
  return c != EOF || !line.empty();
}

// The one button whose caption equals the answer or, failing that, starts
// with it; mbNone when there is none or more than one.
TMsgDlgBtn Match(const std::vector<TMsgDlgBtn>& buttons, const std::string& answer) {
  for (TMsgDlgBtn button : buttons) {
    if (SameText(ButtonCaption(button), answer)) return button;
  }
  TMsgDlgBtn match = mbNone;
  for (TMsgDlgBtn button : buttons) {
    std::string caption = ButtonCaption(button);
    if (caption.size() >= answer.size() && SameText(caption.substr(0, answer.size()), answer)) {
      if (match != mbNone) return mbNone;
      match = button;
    }
  }
  return match;
}

}  // namespace

ConsoleUIServices::ConsoleUIServices()
    : ConsoleUIServices(stderr, stdin, ::isatty(::fileno(stdin)) == 1) {}

ConsoleUIServices::ConsoleUIServices(std::FILE* output, std::FILE* input, bool interactive)
    : output_(output), input_(input), interactive_(interactive) {}

TModalResult ConsoleUIServices::ShowMessageBox(const TMessageBox& box) {
  std::vector<TMsgDlgBtn> buttons;
  for (TMsgDlgBtn button : kButtons) {
    if ((box.Buttons & button) && button != mbHelp) buttons.push_back(button);
  }
  const TMsgDlgBtn fallback = DefaultButton(box.Buttons);
  std::fprintf(output_, "%s: %s\n", box.Caption.c_str(), box.Text.c_str());
  if (buttons.size() <= 1) {
    std::fflush(output_);
    return ModalResultOf(fallback);
  }
  std::string choices;
  for (TMsgDlgBtn button : buttons) {
    if (!choices.empty()) choices += "/";
    choices += ButtonCaption(button);
  }
  if (!interactive_) {
    std::fprintf(output_, "[%s] %s\n", choices.c_str(), ButtonCaption(fallback).c_str());
    std::fflush(output_);
    return ModalResultOf(fallback);
  }
  std::string line;
  while (true) {
    std::fprintf(output_, "[%s] (default %s)? ", choices.c_str(), ButtonCaption(fallback).c_str());
    std::fflush(output_);
    if (!ReadLine(input_, line)) return ModalResultOf(fallback);
    std::string answer = Trim(line);
    if (answer.empty()) return ModalResultOf(fallback);
    TMsgDlgBtn chosen = Match(buttons, answer);
    if (chosen != mbNone) return ModalResultOf(chosen);
  }
}

}  // namespace vorn
