// Vornix's console mode end to end against a copy of the demo database: a
// script run through the statement processor with its transcript compared
// with the expected one, lines from the input, the logon prompt, and the
// command line.
#include "ConsoleMode.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "SessionTestSupport.h"
#include "vorn/platform/CommandLine.h"

namespace vorn {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

void ReplaceAll(std::string& text, const std::string& what, const std::string& with) {
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
    text.replace(at, what.size(), with);
}

class ConsoleModeTest : public session_test::SessionTest {
 protected:
  ~ConsoleModeTest() override { platform::ResetCommandLineForTesting(); }

  // Runs the console mode with `arguments` (the process's command line for
  // the run) and `input`; the output and errors go to one transcript, in
  // which the test database's path reads "DATABASE".
  int RunConsoleWith(const std::vector<std::string>& arguments, std::string input = "") {
    platform::SetCommandLineForTesting(arguments);
    std::FILE* in =
        input.empty() ? std::fopen("/dev/null", "r") : ::fmemopen(input.data(), input.size(), "r");
    char* buffer = nullptr;
    size_t size = 0;
    std::FILE* out = ::open_memstream(&buffer, &size);
    const int status = RunConsole(arguments, in, out, out);
    std::fclose(out);
    std::fclose(in);
    transcript_.assign(buffer, size);
    std::free(buffer);
    ReplaceAll(transcript_, Database(), "DATABASE");
    return status;
  }

  std::string UserId() { return "UserId=man/man@" + Database(); }

  std::string transcript_;
};

TEST_F(ConsoleModeTest, AScriptRunsThroughTheProcessorAndPrintsEachResult) {
  const std::string data = VORNIX_TEST_DATA;

  const int status = RunConsoleWith({"--console", UserId(), data + "/console_script.sql"});

  EXPECT_EQ(status, 1) << "the script's last error";
  EXPECT_EQ(transcript_, ReadFile(data + "/console_script.expected"));
}

TEST_F(ConsoleModeTest, LinesFromTheInputGoOnAfterAnErrorUntilExit) {
  const int status = RunConsoleWith({UserId()},
                                    "select nothing from man.dogs\n"
                                    "select count(*) from man.dogs\r\n"
                                    "EXIT\n"
                                    "select count(*) from man.persons\n");

  EXPECT_EQ(status, 1);
  EXPECT_NE(transcript_.find("Error: ORA-20002"), std::string::npos) << transcript_;
  EXPECT_NE(transcript_.find("Result: 12\n"), std::string::npos) << transcript_;
  EXPECT_EQ(transcript_.find("man.persons"), std::string::npos) << "nothing after exit";
}

TEST_F(ConsoleModeTest, WithoutUserIdTheLogonIsAskedOnTheTerminal) {
  const int status =
      RunConsoleWith({}, "man\nlion\n" + Database() + "\n\nman\n\nselect count(*) from man.dogs\n");

  EXPECT_EQ(status, 0);
  EXPECT_EQ(transcript_,
            "Oracle Logon\nUsername: Password: Database: "
            "Error: ORA-01017: invalid username/password; logon denied\n\n"
            "Oracle Logon\nUsername [man]: Password [********]: Database [DATABASE]: "
            "Connected as man@DATABASE\n"
            "vornix> select count(*) from man.dogs\n"
            "/*:INT*/ begin select count(*) into :res from MAN.DOGS t0; end;\n"
            "Result: 12\n");
}

TEST_F(ConsoleModeTest, ACancelledLogonEndsWithAFailure) {
  const int status = RunConsoleWith({});

  EXPECT_EQ(status, 1);
  EXPECT_NE(transcript_.find("Unsuccessful login"), std::string::npos) << transcript_;
}

TEST_F(ConsoleModeTest, AMissingScriptIsReportedByName) {
  const int status = RunConsoleWith({UserId(), Database() + ".none"});

  EXPECT_EQ(status, 1);
  EXPECT_NE(transcript_.find("Error: Cannot open script \"DATABASE.none\""), std::string::npos)
      << transcript_;
}

TEST(ConsoleArgumentsTest, UserIdScriptAndOptions) {
  const ConsoleArguments parsed =
      ParseConsoleArguments({"--console", "userid=a/b@c", "OCIDLL=x.so", "run.sql"});

  EXPECT_EQ(parsed.userId, "a/b@c");
  EXPECT_EQ(parsed.script, "run.sql");
  EXPECT_EQ(parsed.error, "");
}

TEST(ConsoleArgumentsTest, UnknownOptionsAndASecondScriptAreRefused) {
  EXPECT_EQ(ParseConsoleArguments({"--gui"}).error, "Unknown option --gui");
  EXPECT_EQ(ParseConsoleArguments({"a.sql", "b.sql"}).error, "Only one script can be given");
  EXPECT_TRUE(ParseConsoleArguments({"-h"}).help);
}

TEST(ConsoleArgumentsTest, ARefusedCommandLineShowsTheUsageAndRunsNothing) {
  char* buffer = nullptr;
  size_t size = 0;
  std::FILE* out = ::open_memstream(&buffer, &size);

  const int status = RunConsole({"--bogus"}, stdin, out, out);

  std::fclose(out);
  const std::string text(buffer, size);
  std::free(buffer);
  EXPECT_EQ(status, 2);
  EXPECT_EQ(text, "Unknown option --bogus\n" + ConsoleUsage());
}

}  // namespace
}  // namespace vorn
