// The one error type of the embedded server: an ORA error number, the
// message exactly as Oracle prints it ("ORA-00942: table or view does not
// exist", possibly followed by more lines such as PL/SQL's "ORA-06512: at
// line 3"), and, for syntax and name errors, the character offset of the
// offending token in the statement text. Every failure the engine reports
// to its callers (the shell, the OCI layers) is an OraError.
#pragma once

#include <exception>
#include <initializer_list>
#include <string>
#include <string_view>

namespace vorn::server {

class OraError : public std::exception {
 public:
  // `message` is the whole text, starting with "ORA-nnnnn: ".
  OraError(int code, std::string message, int offset = -1);

  int code() const noexcept { return code_; }
  const std::string& message() const noexcept { return message_; }
  // Character offset of the offending token, or -1 when the error has none.
  int offset() const noexcept { return offset_; }
  void setOffset(int offset) noexcept { offset_ = offset; }
  // Appends a line to the message (PL/SQL error stacks).
  void appendLine(std::string_view line);

  const char* what() const noexcept override { return message_.c_str(); }

 private:
  int code_;
  std::string message_;
  int offset_;
};

// The catalogue text of `code` with each "%s" replaced by the next argument
// (missing arguments leave the "%s" empty), prefixed "ORA-nnnnn: ".
// An unknown code gives "ORA-nnnnn: Message nnnnn not found; ...", as
// Oracle's own message lookup does.
std::string oraMessage(int code, std::initializer_list<std::string_view> args = {});

// Throws OraError(code, oraMessage(code, args), offset).
[[noreturn]] void raiseOra(int code, std::initializer_list<std::string_view> args = {},
                           int offset = -1);

// An application error (ORA-20000 to ORA-20999) with its own text.
[[noreturn]] void raiseApplicationError(int code, std::string_view text);

}  // namespace vorn::server
