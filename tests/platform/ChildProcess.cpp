#include "ChildProcess.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <system_error>

extern char** environ;

namespace vorn::platform::testing {

ChildResult RunChild(const std::string& program, const std::vector<std::string>& arguments,
                     const std::map<std::string, std::optional<std::string>>& environment) {
  std::vector<std::string> envStrings;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text = *entry;
    if (environment.count(text.substr(0, text.find('='))) == 0) envStrings.push_back(text);
  }
  for (const auto& [name, value] : environment) {
    if (value) envStrings.push_back(name + "=" + *value);
  }
  std::vector<std::string> argStrings{program};
  argStrings.insert(argStrings.end(), arguments.begin(), arguments.end());

  auto pointers = [](std::vector<std::string>& strings) {
    std::vector<char*> result;
    result.reserve(strings.size() + 1);
    for (std::string& s : strings)
      result.push_back(s.data());
    result.push_back(nullptr);
    return result;
  };
  std::vector<char*> argv = pointers(argStrings);
  std::vector<char*> envp = pointers(envStrings);

  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) throw std::system_error(errno, std::generic_category(), "pipe");
  posix_spawn_file_actions_t actions;
  ::posix_spawn_file_actions_init(&actions);
  ::posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  ::posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  ::posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
  pid_t pid = 0;
  const int rc = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
  ::posix_spawn_file_actions_destroy(&actions);
  ::close(pipeEnds[1]);
  if (rc != 0) {
    ::close(pipeEnds[0]);
    throw std::system_error(rc, std::generic_category(), "posix_spawn " + program);
  }

  ChildResult result;
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(pipeEnds[0], buffer, sizeof buffer);
    if (n > 0) {
      result.output.append(buffer, static_cast<std::size_t>(n));
    } else if (n == 0 || errno != EINTR) {
      break;
    }
  }
  ::close(pipeEnds[0]);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace vorn::platform::testing
