// The logon form as terminal prompts; see TerminalLogonForm.h.
#include "TerminalLogonForm.h"

#include <termios.h>
#include <unistd.h>

#include <csignal>
#include <iterator>

#include "vorn/host/TextUtils.h"

namespace vorn {
namespace {

constexpr const char* kMaskedValue = "********";
constexpr const char* kEmptyAnswer = "-";

// The terminal whose echo is off, for the signal handler: a user who
// presses Ctrl-C (or whose session hangs up) at the password prompt must
// get a terminal that echoes again.
volatile std::sig_atomic_t hiddenFd = -1;
termios hiddenSaved{};
constexpr int kRestoringSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
struct sigaction previousActions[std::size(kRestoringSignals)];

// Puts the echo back, then lets the signal do what it did before (usually
// end the process). Only async-signal-safe calls.
void RestoreEchoAndResignal(int signal) {
  const int fd = hiddenFd;
  if (fd >= 0) ::tcsetattr(fd, TCSANOW, &hiddenSaved);
  hiddenFd = -1;
  for (size_t i = 0; i < std::size(kRestoringSignals); ++i) {
    if (kRestoringSignals[i] == signal) ::sigaction(signal, &previousActions[i], nullptr);
  }
  ::raise(signal);
}

// Turns the echo of a terminal off for its lifetime, and back on should a
// terminating signal come meanwhile; does nothing for input that is not a
// terminal.
class HiddenInput {
 public:
  explicit HiddenInput(std::FILE* input) : fd_(::fileno(input)) {
    if (fd_ < 0 || ::isatty(fd_) != 1 || ::tcgetattr(fd_, &saved_) != 0) return;
    hiddenSaved = saved_;
    hiddenFd = fd_;
    installed_ = true;
    struct sigaction restoring {};
    restoring.sa_handler = RestoreEchoAndResignal;
    ::sigemptyset(&restoring.sa_mask);
    for (size_t i = 0; i < std::size(kRestoringSignals); ++i)
      ::sigaction(kRestoringSignals[i], &restoring, &previousActions[i]);
    termios hidden = saved_;
    hidden.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    hidden.c_lflag |= ECHONL;
    active_ = ::tcsetattr(fd_, TCSAFLUSH, &hidden) == 0;
  }
  ~HiddenInput() {
    if (!installed_) return;
    if (active_) ::tcsetattr(fd_, TCSANOW, &saved_);
    hiddenFd = -1;
    for (size_t i = 0; i < std::size(kRestoringSignals); ++i)
      ::sigaction(kRestoringSignals[i], &previousActions[i], nullptr);
  }
  HiddenInput(const HiddenInput&) = delete;
  HiddenInput& operator=(const HiddenInput&) = delete;

 private:
  int fd_;
  termios saved_{};
  bool installed_ = false;
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
