// Vornix without a window: `vornix --console [UserId=user/password@database]
// [script]`.
//
// The console mode drives the main window's controller (MainWindowController.h)
// with a view of its own and settings kept in memory: nothing is
// remembered between runs. It logs on first, through the logon dialog on the
// terminal (TerminalLogonForm.h: password not echoed, the same retries and
// password change); with UserId= on the command line the first attempt
// needs no dialog. Then every line of the script, or of the input, goes
// through the statement processor, and the console prints after each:
//
//   a dataset result   the translated text, the rows as a table and their
//                      count (ConsoleTable.h)
//   a scalar result    the translated text and "Result: <value>"
//   a commit           "Commit complete."
//   "&N"               "&N = <value>"
//   a connect line     "Connected as <user>@<database>" or "Not connected"
//   an error           "Error: <message>"
//
// A script runs as the window runs one: its first error ends it. Lines from
// the input go on after an error; "exit" or "quit" (or the end of the
// input) ends them. Lines that are not typed at a terminal are shown after
// the prompt, so that the output reads as a transcript.
//
// Parameters "ORACLEHOME=..." and "OCIDLL=..." are the client binding's and
// are left to it. Exit status: 0; 1 when the logon failed or a statement
// failed; 2 for a command line it does not understand.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace vorn {

inline constexpr const char* kConsolePrompt = "vornix> ";

struct ConsoleArguments {
  std::optional<std::string> userId;
  std::optional<std::string> script;
  bool help = false;
  // Why the command line was refused; empty when it was not.
  std::string error;
};

// Reads the parameters after the program's name; "--console" is allowed
// among them.
ConsoleArguments ParseConsoleArguments(const std::vector<std::string>& arguments);

std::string ConsoleUsage();

// Runs the console mode: statements and logon answers come from `input`,
// results go to `output`, errors and the UI's messages to `errors` (which
// may be `output`). The logon reads UserId from the process's command line
// (vorn/platform/CommandLine.h), which `arguments` are expected to be.
int RunConsole(const std::vector<std::string>& arguments, std::FILE* input, std::FILE* output,
               std::FILE* errors);

}  // namespace vorn
