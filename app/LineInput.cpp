// The console's line inputs; see LineInput.h.
#include "LineInput.h"

#include <unistd.h>

#include <cstdlib>

#ifdef VORNIX_HAVE_LIBEDIT
#include <editline/readline.h>
#endif

namespace vorn {

StreamLineInput::StreamLineInput(std::FILE* input, std::FILE* output, bool prompting)
    : input_(input), output_(output), prompting_(prompting) {}

std::optional<std::string> StreamLineInput::ReadLine(const std::string& prompt) {
  if (prompting_) {
    std::fputs(prompt.c_str(), output_);
    std::fflush(output_);
  }
  std::string line;
  int c;
  while ((c = std::fgetc(input_)) != EOF && c != '\n')
    line += static_cast<char>(c);
  if (c == EOF && line.empty()) {
    if (prompting_) std::fputs("\n", output_);
    return std::nullopt;
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

#ifdef VORNIX_HAVE_LIBEDIT
namespace {

// libedit's readline works on one pair of streams per process; the console
// mode has one input at a time.
class EditLineInput : public LineInput {
 public:
  EditLineInput(std::FILE* input, std::FILE* output) {
    rl_instream = input;
    rl_outstream = output;
    using_history();
  }
  ~EditLineInput() override { clear_history(); }

  std::optional<std::string> ReadLine(const std::string& prompt) override {
    char* read = readline(prompt.c_str());
    if (read == nullptr) return std::nullopt;
    std::string line(read);
    std::free(read);
    if (line.find_first_not_of(" \t") != std::string::npos) add_history(line.c_str());
    return line;
  }
  bool Interactive() const override { return true; }
};

}  // namespace
#endif

std::unique_ptr<LineInput> MakeLineInput(std::FILE* input, std::FILE* output) {
  const int fd = ::fileno(input);
  const bool terminal = fd >= 0 && ::isatty(fd) == 1;
#ifdef VORNIX_HAVE_LIBEDIT
  if (terminal) return std::make_unique<EditLineInput>(input, output);
#endif
  return std::make_unique<StreamLineInput>(input, output, terminal);
}

}  // namespace vorn
