// Environment variables through the C library. The C library does not
// guard its environment; these functions serialise among themselves so that
// tests that set variables do not tear reads made through this layer.
#include <cstdlib>
#include <mutex>

#include "vorn/platform/Environment.h"

namespace vorn::platform {

namespace {

std::mutex& EnvironmentMutex() {
  static std::mutex mutex;
  return mutex;
}

// setenv would cut a name or value at an embedded NUL and so set a
// different variable or value than asked; a "=" in a name is refused by
// the system.
bool IsAcceptableName(const std::string& name) {
  return !name.empty() && name.find('=') == std::string::npos &&
         name.find('\0') == std::string::npos;
}

}  // namespace

std::optional<std::string> FindEnvironmentVariable(const std::string& name) {
  if (!IsAcceptableName(name)) return std::nullopt;
  std::lock_guard<std::mutex> guard(EnvironmentMutex());
  const char* value = std::getenv(name.c_str());  // NOLINT(concurrency-mt-unsafe): guarded
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

std::string ReadEnvironmentVariable(const std::string& name) {
  return FindEnvironmentVariable(name).value_or(std::string());
}

bool WriteEnvironmentVariable(const std::string& name, const std::string& value) {
  if (!IsAcceptableName(name) || value.find('\0') != std::string::npos) return false;
  std::lock_guard<std::mutex> guard(EnvironmentMutex());
  return ::setenv(name.c_str(), value.c_str(), 1) == 0;  // NOLINT(concurrency-mt-unsafe)
}

bool RemoveEnvironmentVariable(const std::string& name) {
  if (!IsAcceptableName(name)) return false;
  std::lock_guard<std::mutex> guard(EnvironmentMutex());
  return ::unsetenv(name.c_str()) == 0;  // NOLINT(concurrency-mt-unsafe)
}

}  // namespace vorn::platform
