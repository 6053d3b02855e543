// DBMS_OUTPUT's buffer; see DbmsOutput.h.
#include "plsql/DbmsOutput.h"

#include "value/OraError.h"

namespace vorn::server::plsql {

void DbmsOutput::enable(size_t bufferSize) {
  // Oracle keeps the size between 2000 and 1,000,000 bytes.
  if (bufferSize < 2000) bufferSize = 2000;
  if (bufferSize > 1000000) bufferSize = 1000000;
  if (!enabled_ || bufferSize > limit_) limit_ = bufferSize;
  enabled_ = true;
}

void DbmsOutput::disable() {
  enabled_ = false;
  lines_.clear();
  current_.clear();
  used_ = 0;
  reading_ = false;
}

void DbmsOutput::startWriting() {
  if (!reading_) return;
  // Lines a reader left behind are not mixed with the next message.
  lines_.clear();
  used_ = current_.size();
  reading_ = false;
}

void DbmsOutput::put(const std::string& text) {
  if (!enabled_) return;
  startWriting();
  if (used_ + text.size() > limit_) {
    raiseApplicationError(
        20000, "ORU-10027: buffer overflow, limit of " + std::to_string(limit_) + " bytes");
  }
  if (current_.size() + text.size() > kMaxLine) {
    raiseApplicationError(20000, "ORU-10028: line length overflow, limit of " +
                                     std::to_string(kMaxLine) + " chars per line");
  }
  current_ += text;
  used_ += text.size();
}

void DbmsOutput::putLine(const std::string& text) {
  if (!enabled_) return;
  put(text);
  newLine();
}

void DbmsOutput::newLine() {
  if (!enabled_) return;
  startWriting();
  lines_.push_back(std::move(current_));
  current_.clear();
}

std::optional<std::string> DbmsOutput::getLine() {
  reading_ = true;
  if (lines_.empty()) return std::nullopt;
  std::string line = std::move(lines_.front());
  lines_.pop_front();
  used_ -= std::min(used_, line.size());
  return line;
}

}  // namespace vorn::server::plsql
