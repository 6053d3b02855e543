// The call-logging library; see CallLog.h.
#include "CallLog.h"

#include <sstream>

#include "vorn/client/ClientLibrary.h"
#include "vorn/host/Exceptions.h"
#include "vorn/platform/DynamicLibrary.h"

namespace vorn::query_test {

namespace {

using LogFunction = const char* (*)();
using ClearFunction = void (*)();

template <class Function>
Function Shim(const char* name) {
  platform::LibraryHandle library = platform::LoadDynamicLibrary(VORN_CALL_COUNTER_LIBRARY);
  if (library == nullptr) throw Exception("no call counter: " + platform::LastLibraryError());
  auto symbol = platform::ResolveLibrarySymbol(library, name);
  platform::FreeDynamicLibrary(library);
  if (symbol == nullptr) throw Exception(std::string("no ") + name);
  return reinterpret_cast<Function>(symbol);
}

// The lines of a log, one entry each.
std::vector<std::string> Lines(const char* log) {
  std::istringstream text(log);
  std::vector<std::string> lines;
  for (std::string line; std::getline(text, line);)
    lines.push_back(line);
  return lines;
}

}  // namespace

CallLog::CallLog() {
  client::UnloadClientLibrary();
  client::SetClientLibraryPath(VORN_CALL_COUNTER_LIBRARY);
  client::LoadClientLibrary();
  Clear();
}

CallLog::~CallLog() {
  client::UnloadClientLibrary();
  client::SetClientLibraryPath("");
}

std::vector<std::string> CallLog::Calls() const {
  return Lines(Shim<LogFunction>("vorn_shim_call_log")());
}

std::vector<std::string> CallLog::Statements() const {
  return Lines(Shim<LogFunction>("vorn_shim_statement_log")());
}

std::vector<std::string> CallLog::Trace() const {
  // Entries may hold line feeds: they end with a record separator.
  const std::string text = Shim<LogFunction>("vorn_shim_trace_log")();
  std::vector<std::string> entries;
  size_t start = 0;
  for (size_t end = text.find('\x1e'); end != std::string::npos; end = text.find('\x1e', start)) {
    entries.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return entries;
}

void CallLog::Clear() const {
  Shim<ClearFunction>("vorn_shim_clear_call_log")();
}

int CallLog::Count(const std::string& prefix) const {
  int count = 0;
  for (const std::string& call : Calls())
    count += call.rfind(prefix, 0) == 0 ? 1 : 0;
  return count;
}

}  // namespace vorn::query_test
