// The command line on Linux: /proc/self/cmdline holds the parameters the
// process was started with, each ended by a NUL byte, and /proc/self/exe
// links to the program. Both are read once, on first use.
#include <unistd.h>

#include <mutex>
#include <optional>

#include "vorn/platform/CommandLine.h"
#include "vorn/platform/TextFile.h"

namespace vorn::platform {

namespace {

struct CommandLineState {
  std::mutex mutex;
  bool loaded = false;
  std::string program;
  std::vector<std::string> parameters;
  std::optional<std::vector<std::string>> testParameters;
};

CommandLineState& State() {
  static CommandLineState state;
  return state;
}

std::string ReadProgramPath() {
  std::string buffer(256, '\0');
  for (;;) {
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return {};
    // readlink does not say whether it cut the link: a full buffer may be a
    // cut one.
    if (static_cast<std::size_t>(length) < buffer.size()) {
      buffer.resize(static_cast<std::size_t>(length));
      return buffer;
    }
    buffer.resize(buffer.size() * 2);
  }
}

// Caller holds state.mutex.
void LoadCommandLine(CommandLineState& state) {
  if (state.loaded) return;
  state.loaded = true;
  std::vector<std::string> arguments;
  if (std::optional<std::string> text = ReadFileText("/proc/self/cmdline")) {
    std::size_t start = 0;
    while (start < text->size()) {
      std::size_t end = text->find('\0', start);
      if (end == std::string::npos) end = text->size();
      arguments.push_back(text->substr(start, end - start));
      start = end + 1;
    }
  }
  state.program = ReadProgramPath();
  if (state.program.empty() && !arguments.empty()) state.program = arguments.front();
  if (!arguments.empty()) arguments.erase(arguments.begin());
  state.parameters = std::move(arguments);
}

}  // namespace

int ParamCount() {
  CommandLineState& state = State();
  std::lock_guard<std::mutex> guard(state.mutex);
  LoadCommandLine(state);
  const auto& parameters = state.testParameters ? *state.testParameters : state.parameters;
  return static_cast<int>(parameters.size());
}

std::string ParamStr(int index) {
  CommandLineState& state = State();
  std::lock_guard<std::mutex> guard(state.mutex);
  LoadCommandLine(state);
  if (index == 0) return state.program;
  const auto& parameters = state.testParameters ? *state.testParameters : state.parameters;
  if (index < 0 || static_cast<std::size_t>(index) > parameters.size()) return {};
  return parameters[static_cast<std::size_t>(index) - 1];
}

void SetCommandLineForTesting(std::vector<std::string> parameters) {
  CommandLineState& state = State();
  std::lock_guard<std::mutex> guard(state.mutex);
  state.testParameters = std::move(parameters);
}

void ResetCommandLineForTesting() {
  CommandLineState& state = State();
  std::lock_guard<std::mutex> guard(state.mutex);
  state.testParameters.reset();
}

}  // namespace vorn::platform
