// DBMS_OUTPUT's buffer of one session, as Oracle keeps it: disabled until
// ENABLE; PUT and PUT_LINE append to the current line and to the buffer;
// GET_LINE hands complete lines out in order; after a GET, the next PUT
// first discards what was not read. A full buffer is ORA-20000 with
// "ORU-10027: buffer overflow, limit of n bytes", a line over 255
// characters "ORU-10028: line length overflow, limit of 255 chars per line".
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>

namespace vorn::server::plsql {

class DbmsOutput {
 public:
  static constexpr size_t kDefaultSize = 20000;
  static constexpr size_t kMaxLine = 255;

  bool enabled() const { return enabled_; }
  void enable(size_t bufferSize = kDefaultSize);
  void disable();

  void put(const std::string& text);
  void putLine(const std::string& text);
  void newLine();
  // The next complete line, or nullopt when there is none.
  std::optional<std::string> getLine();

 private:
  void startWriting();

  bool enabled_ = false;
  size_t limit_ = kDefaultSize;
  size_t used_ = 0;
  std::deque<std::string> lines_;
  std::string current_;
  bool reading_ = false;
};

}  // namespace vorn::server::plsql
