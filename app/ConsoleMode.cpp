// Vornix in a terminal; see ConsoleMode.h.
#include "ConsoleMode.h"

#include <unistd.h>

#include "ConsoleTable.h"
#include "GridRows.h"
#include "LineInput.h"
#include "MainWindowController.h"
#include "TerminalLogonForm.h"
#include "vorn/host/ConsoleUIServices.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/TextUtils.h"
#include "vorn/session/OracleSession.h"

namespace vorn {
namespace {

// Rows read at a time while the table is printed.
constexpr int kTableWindow = 64;

bool StartsWithNoCase(const std::string& text, std::string_view start) {
  return text.size() >= start.size() &&
         SameText(std::string_view(text).substr(0, start.size()), start);
}

// The window's controls, as far as the console has them.
class ConsoleView : public MainWindowView {
 public:
  std::string QueryText() const override { return query_; }
  void SetQueryText(const std::string& text) override { query_ = text; }
  std::string ConnectCaption() const override { return caption_; }
  void SetConnectCaption(const std::string& caption) override { caption_ = caption; }
  void SetStatusText(const std::string& text) override { status_ = text; }
  void SetResultCaption(const std::string&) override {}
  void SetTranslatedCaption(const std::string&) override {}
  std::optional<std::string> ChooseScriptFile() override { return std::nullopt; }
  ResultGrid* Grid() override { return nullptr; }

  const std::string& Status() const { return status_; }

 private:
  std::string query_;
  std::string caption_ = kConnectCaption;
  std::string status_;
};

// Installs the console's logon form and UI services for its lifetime.
class ConsoleFrame {
 public:
  ConsoleFrame(std::FILE* input, std::FILE* output, std::FILE* errors)
      : services_(errors, input, ::isatty(::fileno(input)) == 1),
        scope_(services_),
        previousForms_(SetLogonFormFactory(TerminalLogonForms(input, output))) {}
  ~ConsoleFrame() { SetLogonFormFactory(previousForms_); }
  ConsoleFrame(const ConsoleFrame&) = delete;
  ConsoleFrame& operator=(const ConsoleFrame&) = delete;

 private:
  ConsoleUIServices services_;
  ScopedUIServices scope_;
  LogonFormFactory previousForms_;
};

class Console {
 public:
  Console(std::FILE* output, std::FILE* errors)
      : output_(output), errors_(errors), controller_(view_, settings_, nullptr) {}

  // Logs on; false when the session is not connected afterwards.
  bool LogOn() {
    controller_.SetLogonOptions(ldAuto | ldDatabase);
    controller_.FormActivate();
    controller_.ConnectClick();
    // Connect lines of the statements show the dialog, as in the window.
    controller_.SetLogonOptions(ldDatabase);
    if (!controller_.Session()->Connected()) return false;
    Print("Connected as " + view_.Status() + "\n");
    rows_.SetDataSource(controller_.DataSource());
    rows_.SetVisibleRows(kTableWindow);
    return true;
  }

  // Runs the script; false when a line failed (the rest is not run).
  bool RunScript(const std::string& fileName) {
    ScriptRunner& runner = *controller_.Runner();
    runner.SetBeforeLine([this](const std::string& line) { Echo(line); });
    runner.SetAfterLine(
        [this](const std::string& line, StatementOutcome outcome) { Report(line, outcome); });
    try {
      runner.RunScript(fileName);
      return true;
    } catch (const Exception& e) {
      PrintError(e.Message());
      return false;
    }
  }

  // Runs the lines of `input` until its end or "exit"; false when any
  // failed.
  bool RunLines(LineInput& input) {
    bool allRan = true;
    while (std::optional<std::string> line = input.ReadLine(kConsolePrompt)) {
      if (!input.Interactive()) Echo(*line);
      const std::string command = LowerCase(Trim(*line));
      if (command == "exit" || command == "quit") break;
      try {
        Report(*line, controller_.Processor()->ProcessStatement(*line));
      } catch (const Exception& e) {
        PrintError(e.Message());
        allRan = false;
      }
    }
    return allRan;
  }

 private:
  void Print(const std::string& text) {
    std::fputs(text.c_str(), output_);
    std::fflush(output_);
  }

  void PrintError(const std::string& message) {
    std::fflush(output_);
    std::fprintf(errors_, "Error: %s\n", message.c_str());
    std::fflush(errors_);
  }

  void Echo(const std::string& line) {
    if (!Trim(line).empty()) Print(std::string(kConsolePrompt) + line + "\n");
  }

  void Report(const std::string& line, StatementOutcome outcome) {
    const StatementProcessor& processor = *controller_.Processor();
    switch (outcome) {
      case StatementOutcome::Nothing:
        break;
      case StatementOutcome::Committed:
        Print("Commit complete.\n");
        break;
      case StatementOutcome::SlotStored: {
        const int slot = ClassifyLine(line).slot;
        Print("&" + std::to_string(slot) + " = " + processor.Slot(slot) + "\n");
        break;
      }
      case StatementOutcome::LogonCancelled:
        Print("Logon cancelled\n");
        break;
      case StatementOutcome::LogonAttempted: {
        const TOracleSession& session = *controller_.Session();
        Print(session.Connected()
                  ? "Connected as " + session.LogonUsername() + "@" + session.LogonDatabase() + "\n"
                  : std::string("Not connected\n"));
        break;
      }
      case StatementOutcome::DataSetResult:
        Print(processor.LastTranslatedText() + "\n" + FormatTable(rows_));
        break;
      case StatementOutcome::ScalarResult:
        Print(processor.LastTranslatedText() + "\nResult: " + processor.LastScalarResult() + "\n");
        break;
    }
  }

  std::FILE* output_;
  std::FILE* errors_;
  ConsoleView view_;
  MemorySettings settings_;
  MainWindowController controller_;
  GridRows rows_;
};

}  // namespace

ConsoleArguments ParseConsoleArguments(const std::vector<std::string>& arguments) {
  ConsoleArguments parsed;
  for (const std::string& argument : arguments) {
    if (argument == "--console") continue;
    if (argument == "--help" || argument == "-h") {
      parsed.help = true;
    } else if (StartsWithNoCase(argument, "UserId=")) {
      parsed.userId = argument.substr(7);
    } else if (StartsWithNoCase(argument, "ORACLEHOME=") || StartsWithNoCase(argument, "OCIDLL=")) {
      // The client binding reads these from the command line itself.
    } else if (!argument.empty() && argument[0] == '-') {
      parsed.error = "Unknown option " + argument;
    } else if (parsed.script) {
      parsed.error = "Only one script can be given";
    } else {
      parsed.script = argument;
    }
  }
  return parsed;
}

std::string ConsoleUsage() {
  return "Usage: vornix [--console] [UserId=user/password@database] [ORACLEHOME=folder]\n"
         "              [OCIDLL=library] [script]\n"
         "\n"
         "With a display Vornix opens its window. With --console, or without a\n"
         "display, it runs in the terminal: it logs on (UserId= saves the logon\n"
         "prompt), runs the script's lines, or else the lines typed or piped in,\n"
         "and prints each result. \"exit\" or the end of the input ends it.\n";
}

int RunConsole(const std::vector<std::string>& arguments, std::FILE* input, std::FILE* output,
               std::FILE* errors) {
  const ConsoleArguments parsed = ParseConsoleArguments(arguments);
  if (parsed.help) {
    std::fputs(ConsoleUsage().c_str(), output);
    return 0;
  }
  if (!parsed.error.empty()) {
    std::fprintf(errors, "%s\n%s", parsed.error.c_str(), ConsoleUsage().c_str());
    return 2;
  }
  ConsoleFrame frame(input, output, errors);
  Console console(output, errors);
  try {
    if (!console.LogOn()) return 1;
  } catch (const Exception& e) {
    std::fprintf(errors, "Error: %s\n", e.Message().c_str());
    return 1;
  }
  if (parsed.script) return console.RunScript(*parsed.script) ? 0 : 1;
  std::unique_ptr<LineInput> lines = MakeLineInput(input, output);
  return console.RunLines(*lines) ? 0 : 1;
}

}  // namespace vorn
