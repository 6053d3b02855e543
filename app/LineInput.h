// Where the console mode reads its statements from, one line at a time.
//
// - StreamLineInput reads a stream as it comes: lines end at LF (a CR
//   before it is dropped); no prompt is shown unless asked for.
// - EditLineInput, for a terminal: a prompt with line editing and a history
//   of the lines entered in this run (up and down arrows), through libedit.
//   It exists only in builds that found libedit (VORNIX_HAVE_LIBEDIT);
//   MakeLineInput falls back to a prompting StreamLineInput otherwise.
#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

namespace vorn {

class LineInput {
 public:
  virtual ~LineInput() = default;

  // The next line without its line end; nothing at the end of the input.
  virtual std::optional<std::string> ReadLine(const std::string& prompt) = 0;
  // Whether the user sees the prompt and what is typed (a terminal).
  virtual bool Interactive() const = 0;
};

class StreamLineInput : public LineInput {
 public:
  // With `prompting` set the prompt is written to `output` before each line.
  StreamLineInput(std::FILE* input, std::FILE* output, bool prompting);

  std::optional<std::string> ReadLine(const std::string& prompt) override;
  bool Interactive() const override { return prompting_; }

 private:
  std::FILE* input_;
  std::FILE* output_;
  bool prompting_;
};

// A line input over `input` and `output`: with line editing and history when
// `input` is a terminal and libedit is there, a prompting stream on a
// terminal without it, else a plain stream.
std::unique_ptr<LineInput> MakeLineInput(std::FILE* input, std::FILE* output);

}  // namespace vorn
