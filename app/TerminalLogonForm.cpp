// The logon form as terminal prompts; see TerminalLogonForm.h.
#include "TerminalLogonForm.h"

#include <termios.h>
#include <unistd.h>

#include "vorn/host/TextUtils.h"

namespace vorn {
namespace {

constexpr const char* kMaskedValue = "********";
constexpr const char* kEmptyAnswer = "-";

// Turns the echo of a terminal off for its lifetime; does nothing for
// input that is not a terminal.
class HiddenInput {
 public:
  explicit HiddenInput(std::FILE* input) : fd_(::fileno(input)) {
    if (fd_ < 0 || ::isatty(fd_) != 1 || ::tcgetattr(fd_, &saved_) != 0) return;
    termios hidden = saved_;
    hidden.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    hidden.c_lflag |= ECHONL;
    active_ = ::tcsetattr(fd_, TCSAFLUSH, &hidden) == 0;
  }
  ~HiddenInput() {
    if (active_) ::tcsetattr(fd_, TCSANOW, &saved_);
  }
  HiddenInput(const HiddenInput&) = delete;
  HiddenInput& operator=(const HiddenInput&) = delete;

 private:
  int fd_;
  termios saved_{};
  bool active_ = false;
};

// One line without its line end; false at the end of the input when
// nothing was read.
bool ReadLine(std::FILE* input, std::string& line) {
  line.clear();
  int c;
  while ((c = std::fgetc(input)) != EOF && c != '\n')
    line += static_cast<char>(c);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return c != EOF || !line.empty();
}

}  // namespace

TerminalLogonForm::TerminalLogonForm(std::FILE* input, std::FILE* output)
    : input_(input), output_(output) {}

TerminalLogonForm::Field& TerminalLogonForm::FieldOf(TLogonField field) {
  return fields_[static_cast<int>(field)];
}

const TerminalLogonForm::Field& TerminalLogonForm::FieldOf(TLogonField field) const {
  return fields_[static_cast<int>(field)];
}

void TerminalLogonForm::SetLabelCaption(TLogonField field, const std::string& text) {
  FieldOf(field).label = text;
}

void TerminalLogonForm::UseAliasList(const std::vector<std::string>& aliases, int) {
  aliasList_ = true;
  aliases_ = aliases;
}

std::string TerminalLogonForm::Text(TLogonField field) const {
  return FieldOf(field).text;
}

void TerminalLogonForm::SetText(TLogonField field, const std::string& text) {
  FieldOf(field).text = text;
}

bool TerminalLogonForm::Ask(Field& field, bool masked) {
  std::string prompt = field.label;
  if (!field.text.empty()) prompt += std::string(" [") + (masked ? kMaskedValue : field.text) + "]";
  prompt += ": ";
  std::string answer;
  bool read;
  if (masked) {
    // The echo goes off before the prompt appears, so nothing typed after
    // it is ever shown.
    HiddenInput hidden(input_);
    std::fputs(prompt.c_str(), output_);
    std::fflush(output_);
    read = ReadLine(input_, answer);
  } else {
    std::fputs(prompt.c_str(), output_);
    std::fflush(output_);
    read = ReadLine(input_, answer);
    answer = Trim(answer);
  }
  if (!read) return false;
  if (answer == kEmptyAnswer) {
    field.text.clear();
  } else if (!answer.empty()) {
    field.text = answer;
  }
  return true;
}

TModalResult TerminalLogonForm::ShowModal() {
  std::fprintf(output_, "%s\n", caption_.c_str());
  bool answered = Ask(FieldOf(TLogonField::Username), usernameMasked_) &&
                  Ask(FieldOf(TLogonField::Password), true);
  if (answered && !databaseHidden_) {
    if (aliasList_ && !aliases_.empty()) {
      std::string list;
      for (const std::string& alias : aliases_) {
        if (!list.empty()) list += ", ";
        list += alias;
      }
      std::fprintf(output_, "(%s)\n", list.c_str());
    }
    answered = Ask(FieldOf(TLogonField::Database), false);
  }
  if (!answered) std::fputs("\n", output_);
  std::fflush(output_);
  return answered ? mrOk : mrCancel;
}

LogonFormFactory TerminalLogonForms(std::FILE* input, std::FILE* output) {
  return [input, output] { return std::make_unique<TerminalLogonForm>(input, output); };
}

}  // namespace vorn
