// Errors of the PL/SQL layer; see Errors.h.
#include "plsql/Errors.h"

#include <cstdio>

namespace vorn::server::plsql {

PlsqlError::PlsqlError(const OraError& e) : code_(e.code()), offset_(e.offset()) {
  // Stack lines of an error that already left PL/SQL (a dynamic block, a
  // function called from SQL) stay with it.
  const std::string& m = e.message();
  size_t stack = m.find("\nORA-06512: ");
  message_ = m.substr(0, stack);
  if (stack != std::string::npos) stack_ = m.substr(stack);
}

int PlsqlError::sqlcode() const {
  if (code_ == 1403) return 100;
  if (userDefined_) return 1;
  return -code_;
}

std::string PlsqlError::sqlerrm() const {
  if (userDefined_) return "User-Defined Exception";
  return message_;
}

void PlsqlError::leaveUnit(std::string_view where) {
  if (line < 0) return;
  stack_ += '\n';
  stack_ += oraMessage(6512, {where, std::to_string(line)});
  line = -1;
}

OraError PlsqlError::toOraError() const {
  if (userDefined_) {
    return OraError(6510, oraMessage(6510) + stack_, offset_);
  }
  return OraError(code_, message_ + stack_, offset_);
}

std::string plsMessage(int number, std::string_view text) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "PLS-%05d: ", number);
  return buf + std::string(text);
}

LineColumn lineColumn(std::string_view text, int offset) {
  LineColumn lc;
  int lineStart = 0;
  for (int i = 0; i < offset && i < static_cast<int>(text.size()); ++i) {
    if (text[static_cast<size_t>(i)] == '\n') {
      ++lc.line;
      lineStart = i + 1;
    }
  }
  lc.column = offset - lineStart + 1;
  return lc;
}

void compileError(std::string_view text, int offset, const std::string& detail,
                  int statementOffset) {
  LineColumn at = lineColumn(text, offset);
  std::string message =
      oraMessage(6550, {std::to_string(at.line), std::to_string(at.column), detail});
  if (statementOffset >= 0) {
    LineColumn st = lineColumn(text, statementOffset);
    bool sql = detail.rfind("PL/SQL: ORA-", 0) == 0;
    message += "\n" + oraMessage(6550, {std::to_string(st.line), std::to_string(st.column),
                                        sql ? "PL/SQL: SQL Statement ignored"
                                            : "PL/SQL: Statement ignored"});
  }
  throw OraError(6550, message, offset);
}

std::string plsqlMessage(int code) {
  struct Text {
    int code;
    const char* text;
  };
  static const Text kTexts[] = {
      {6500, "PL/SQL: storage error"},
      {6504, "PL/SQL: Return types of Result Set variables or query do not match"},
      {6513, "PL/SQL: index for PL/SQL table out of range for host language array"},
      {6535, "statement string in EXECUTE IMMEDIATE is NULL or 0 length"},
      {14551, "cannot perform a DML operation inside a query"},
      {14552, "cannot perform a DDL, commit or rollback inside a query or DML"},
  };
  for (const Text& t : kTexts) {
    if (t.code == code) {
      char buf[16];
      std::snprintf(buf, sizeof buf, "ORA-%05d: ", code);
      return buf + std::string(t.text);
    }
  }
  return oraMessage(code);
}

void raisePlsql(int code) {
  throw OraError(code, plsqlMessage(code));
}

void valueError(std::string_view detail) {
  throw OraError(6502, oraMessage(6502, {detail}));
}

}  // namespace vorn::server::plsql
