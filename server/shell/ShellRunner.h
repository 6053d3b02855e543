// The statement loop of vornsql: splits its input into statements, runs
// them on a session and prints results in the shell's plain format:
//  - a query: the column names joined by "|", then one line per row with
//    the values joined by "|" (NULL as nothing, numbers as TO_CHAR prints
//    them, dates in the session's NLS_DATE_FORMAT, RAW as hexadecimal);
//  - any other statement: "OK n" with the rows processed;
//  - a failure: the first line of the ORA message, and the loop goes on.
// A statement ends with a line ending in ";"; a PL/SQL block or a CREATE of
// stored code ends with a line holding only "/". A line "CONNECT user/pw"
// switches the session (the shell prints "Connected."). A failing PL/SQL
// block prints its whole message (the error stack, or the place of a
// compile error). "SET SERVEROUTPUT ON" prints the DBMS_OUTPUT lines of
// the session after every statement ("OFF" stops it). A line "EXIT" or
// "QUIT" between statements ends the input.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>

namespace vorn::server {

class Database;
class Session;

class ShellRunner {
 public:
  ShellRunner(std::shared_ptr<Database> database, std::unique_ptr<Session> session,
              std::ostream& out);
  ~ShellRunner();

  // Runs every statement of `in` until it is used up.
  void run(std::istream& in);
  // Runs one complete statement (without its terminator).
  void execute(const std::string& statement);

 private:
  void connect(const std::string& credentials);
  void executeStatement(const std::string& statement);
  void serverOutput(bool on);
  void printServerOutput();

  std::shared_ptr<Database> database_;
  std::unique_ptr<Session> session_;
  std::ostream& out_;
  bool serverOutput_ = false;
};

}  // namespace vorn::server
