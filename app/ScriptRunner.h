// ScriptRunner: runs a script file through the statement processor, one
// line at a time.
//
// Lines end at LF, CR LF or a lone CR; each line is read and run before the
// next is read. The first error of a line ends the script: the lines after
// it are not run and the error passes to the caller. A file that cannot be
// opened or read raises EInOutError with the system's error number and a
// message that names the file.
#pragma once

#include <functional>
#include <string>

#include "StatementProcessor.h"

namespace vorn {

class ScriptRunner {
 public:
  using LineEvent = std::function<void(const std::string& line)>;
  using OutcomeEvent = std::function<void(const std::string& line, StatementOutcome outcome)>;

  explicit ScriptRunner(StatementProcessor& processor) : processor_(processor) {}

  void RunScript(const std::string& fileName);

  // Before a line runs, and after it ran without error (the console mode
  // shows the lines and what they did).
  const LineEvent& BeforeLine() const { return beforeLine_; }
  void SetBeforeLine(LineEvent handler) { beforeLine_ = std::move(handler); }
  const OutcomeEvent& AfterLine() const { return afterLine_; }
  void SetAfterLine(OutcomeEvent handler) { afterLine_ = std::move(handler); }

 private:
  StatementProcessor& processor_;
  LineEvent beforeLine_;
  OutcomeEvent afterLine_;
};

}  // namespace vorn
