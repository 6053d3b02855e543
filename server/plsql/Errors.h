// Errors of the PL/SQL layer. A PL/SQL exception while a block runs is a
// PlsqlError: Oracle's code and message, the "ORA-06512: at ..." lines
// gathered while it leaves program units, and, for user-defined
// exceptions, which declaration raised it. Leaving the block handler it
// becomes the engine's OraError (code, message and stack in one text).
//
// Compile errors are ORA-06550 "line n, column m:" followed by a PLS-nnnnn
// text (compileError); the parse error offset is the offending token's.
#pragma once

#include <exception>
#include <string>
#include <string_view>

#include "value/OraError.h"

namespace vorn::server::plsql {

struct ExceptionDecl;

class PlsqlError : public std::exception {
 public:
  PlsqlError(int code, std::string message) : code_(code), message_(std::move(message)) {}
  explicit PlsqlError(const OraError& e);

  // The ORA number (1403 for NO_DATA_FOUND, 20001 for an application
  // error); a user-defined exception without EXCEPTION_INIT has code 1.
  int code() const { return code_; }
  // The message without the ORA-06512 lines ("ORA-01403: no data found").
  const std::string& message() const { return message_; }
  const std::string& stack() const { return stack_; }
  const ExceptionDecl* user() const { return user_; }
  // `userDefined`: an exception without an ORA number (no EXCEPTION_INIT).
  void setUser(const ExceptionDecl* user, bool userDefined) {
    user_ = user;
    userDefined_ = userDefined;
  }
  bool userDefined() const { return userDefined_; }
  int offset() const { return offset_; }
  void setOffset(int offset) { offset_ = offset; }

  // SQLCODE: -code, +100 for NO_DATA_FOUND, +1 for user-defined.
  int sqlcode() const;
  // SQLERRM: the message, "User-Defined Exception" for a user-defined one.
  std::string sqlerrm() const;

  // The line of the unit being left where the error surfaced (-1: not yet
  // known in that unit).
  int line = -1;
  // Appends "ORA-06512: at <where>line n" for the unit being left.
  void leaveUnit(std::string_view where);

  // The error as the engine's callers see it.
  OraError toOraError() const;

  const char* what() const noexcept override { return message_.c_str(); }

 private:
  int code_;
  std::string message_;
  std::string stack_;
  const ExceptionDecl* user_ = nullptr;
  bool userDefined_ = false;
  int offset_ = -1;
};

// A PLS message: "PLS-00201: identifier 'X' must be declared".
std::string plsMessage(int number, std::string_view text);

// Line and column (1-based) of `offset` in `text`.
struct LineColumn {
  int line = 1;
  int column = 1;
};
LineColumn lineColumn(std::string_view text, int offset);

// ORA-06550 for a compile error at `offset` of `text`: "line n, column m:"
// and `detail`; with `statementIgnored`, Oracle's second pair of lines
// naming the statement that was dropped (at `statementOffset`).
[[noreturn]] void compileError(std::string_view text, int offset, const std::string& detail,
                               int statementOffset = -1);

// The message of an ORA error the PL/SQL layer raises (texts the shared
// catalogue lacks are kept here), and raising it.
std::string plsqlMessage(int code);
[[noreturn]] void raisePlsql(int code);

// ORA-06502 "PL/SQL: numeric or value error" with Oracle's detail text
// (": character string buffer too small", ...), or without one.
[[noreturn]] void valueError(std::string_view detail = {});

}  // namespace vorn::server::plsql
