// The client library that logs the calls a session makes (shim/CallCounter.c,
// built as query_call_counter), for the query tests and the dataset tests
// alike: a program that uses it names the library's file in
// VORN_CALL_COUNTER_LIBRARY.
#pragma once

#include <string>
#include <vector>

namespace vorn::query_test {

// The call-logging library, loaded as the session's client library for
// the life of the object.
class CallLog {
 public:
  CallLog();
  ~CallLog();
  CallLog(const CallLog&) = delete;
  CallLog& operator=(const CallLog&) = delete;

  // The calls logged since the last Clear, one per entry.
  std::vector<std::string> Calls() const;
  // The statements prepared or parsed since the last Clear.
  std::vector<std::string> Statements() const;
  // Since the last Clear: the statements as they were executed (one entry
  // each, lines joined by line feeds) and "COMMIT" and "ROLLBACK" for the
  // session calls.
  std::vector<std::string> Trace() const;
  void Clear() const;
  // How many logged calls begin with `prefix`.
  int Count(const std::string& prefix) const;
};

}  // namespace vorn::query_test
