// The logon form of the console mode: its prompts and answers over
// scripted streams, the hidden input on a real (pseudo) terminal, and the
// logon dialogs run on it against the demo database.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "SessionTestSupport.h"
#include "TerminalLogonForm.h"
#include "vorn/session/OracleError.h"
#include "vorn/session/OracleLogon.h"

namespace vorn {
namespace {

// A terminal form over a scripted input text, with what it printed.
class ScriptedTerminal {
 public:
  explicit ScriptedTerminal(std::string input) : input_(std::move(input)) {
    in_ = ::fmemopen(input_.data(), input_.size(), "r");
    out_ = ::open_memstream(&output_, &outputSize_);
  }
  ~ScriptedTerminal() {
    std::fclose(in_);
    std::fclose(out_);
    std::free(output_);
  }
  ScriptedTerminal(const ScriptedTerminal&) = delete;
  ScriptedTerminal& operator=(const ScriptedTerminal&) = delete;

  std::FILE* In() const { return in_; }
  std::FILE* Out() const { return out_; }
  std::string Output() {
    std::fflush(out_);
    return std::string(output_, outputSize_);
  }

 private:
  std::string input_;
  std::FILE* in_;
  std::FILE* out_;
  char* output_ = nullptr;
  size_t outputSize_ = 0;
};

// A form arranged as the logon dialog arranges it.
void ArrangeLogon(TerminalLogonForm& form, const std::string& user, const std::string& password,
                  const std::string& database) {
  form.SetCaption("Oracle Logon");
  form.SetLabelCaption(TLogonField::Username, "Username");
  form.SetLabelCaption(TLogonField::Password, "Password");
  form.SetLabelCaption(TLogonField::Database, "Database");
  form.SetText(TLogonField::Username, user);
  form.SetText(TLogonField::Password, password);
  form.SetText(TLogonField::Database, database);
}

TEST(TerminalLogonFormTest, AsksForEachFieldShowingItsValue) {
  ScriptedTerminal terminal("\ntiger\nORCL\n");
  TerminalLogonForm form(terminal.In(), terminal.Out());
  ArrangeLogon(form, "scott", "", "DEMO");

  EXPECT_EQ(form.ShowModal(), mrOk);

  EXPECT_EQ(terminal.Output(), "Oracle Logon\nUsername [scott]: Password: Database [DEMO]: ");
  EXPECT_EQ(form.Text(TLogonField::Username), "scott");
  EXPECT_EQ(form.Text(TLogonField::Password), "tiger");
  EXPECT_EQ(form.Text(TLogonField::Database), "ORCL");
}

TEST(TerminalLogonFormTest, AMaskedValueIsNeverPrintedAndEnterKeepsIt) {
  ScriptedTerminal terminal("\n\n\n");
  TerminalLogonForm form(terminal.In(), terminal.Out());
  ArrangeLogon(form, "scott", "tiger", "");

  EXPECT_EQ(form.ShowModal(), mrOk);

  EXPECT_EQ(terminal.Output(), "Oracle Logon\nUsername [scott]: Password [********]: Database: ");
  EXPECT_EQ(form.Text(TLogonField::Password), "tiger");
}

TEST(TerminalLogonFormTest, ADashEmptiesAFieldAndBlanksAreKeptOnlyInMaskedAnswers) {
  ScriptedTerminal terminal("  man  \n pw \n-\n");
  TerminalLogonForm form(terminal.In(), terminal.Out());
  ArrangeLogon(form, "scott", "tiger", "DEMO");

  EXPECT_EQ(form.ShowModal(), mrOk);

  EXPECT_EQ(form.Text(TLogonField::Username), "man");
  EXPECT_EQ(form.Text(TLogonField::Password), " pw ");
  EXPECT_EQ(form.Text(TLogonField::Database), "");
}

TEST(TerminalLogonFormTest, LinesEndedByCrLfAreTakenWithoutTheCr) {
  ScriptedTerminal terminal("man\r\nman\r\nDEMO\r\n");
  TerminalLogonForm form(terminal.In(), terminal.Out());
  ArrangeLogon(form, "", "", "");

  EXPECT_EQ(form.ShowModal(), mrOk);

  EXPECT_EQ(form.Text(TLogonField::Password), "man");
  EXPECT_EQ(form.Text(TLogonField::Database), "DEMO");
}

TEST(TerminalLogonFormTest, TheEndOfTheInputCancels) {
  ScriptedTerminal terminal("man\n");
  TerminalLogonForm form(terminal.In(), terminal.Out());
  ArrangeLogon(form, "scott", "tiger", "DEMO");

  EXPECT_EQ(form.ShowModal(), mrCancel);

  EXPECT_EQ(terminal.Output(), "Oracle Logon\nUsername [scott]: Password [********]: \n");
}

TEST(TerminalLogonFormTest, ALastLineWithoutLineEndIsAnAnswer) {
  ScriptedTerminal terminal("\n\nORCL");
  TerminalLogonForm form(terminal.In(), terminal.Out());
  ArrangeLogon(form, "scott", "tiger", "DEMO");

  EXPECT_EQ(form.ShowModal(), mrOk);

  EXPECT_EQ(form.Text(TLogonField::Database), "ORCL");
}

TEST(TerminalLogonFormTest, AHiddenDatabaseIsNotAskedAndTheAliasesAreListed) {
  ScriptedTerminal terminal("\n\n\n\n\n");
  TerminalLogonForm hidden(terminal.In(), terminal.Out());
  ArrangeLogon(hidden, "scott", "tiger", "DEMO");
  hidden.HideDatabase();
  TerminalLogonForm listed(terminal.In(), terminal.Out());
  ArrangeLogon(listed, "scott", "tiger", "DEMO");
  listed.UseAliasList({"DEMO", "ORCL", "VORN"}, 8);

  EXPECT_EQ(hidden.ShowModal(), mrOk);
  EXPECT_EQ(listed.ShowModal(), mrOk);

  EXPECT_EQ(terminal.Output(),
            "Oracle Logon\nUsername [scott]: Password [********]: "
            "Oracle Logon\nUsername [scott]: Password [********]: (DEMO, ORCL, VORN)\n"
            "Database [DEMO]: ");
}

TEST(TerminalLogonFormTest, ThePasswordChangeArrangementMasksBothFields) {
  ScriptedTerminal terminal("fresh\nfresh\n");
  TerminalLogonForm form(terminal.In(), terminal.Out());
  form.SetCaption("Your password has expired");
  form.SetLabelCaption(TLogonField::Username, "New password");
  form.SetLabelCaption(TLogonField::Password, "Verification");
  form.MaskUsername();
  form.HideDatabase();

  EXPECT_EQ(form.ShowModal(), mrOk);

  EXPECT_EQ(terminal.Output(), "Your password has expired\nNew password: Verification: ");
  EXPECT_EQ(form.Text(TLogonField::Username), "fresh");
}

// --- On a terminal ---

// A pseudo terminal: the form reads and writes the terminal side, the test
// types and reads on the other side, as a user at a terminal would.
class PseudoTerminal {
 public:
  PseudoTerminal() {
    if (::openpty(&master_, &slave_, nullptr, nullptr, nullptr) != 0) {
      ADD_FAILURE() << "openpty: " << std::strerror(errno);
      return;
    }
    in_ = ::fdopen(::dup(slave_), "r");
    out_ = ::fdopen(::dup(slave_), "w");
  }
  ~PseudoTerminal() {
    if (in_ != nullptr) std::fclose(in_);
    if (out_ != nullptr) std::fclose(out_);
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
  }
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  std::FILE* In() const { return in_; }
  std::FILE* Out() const { return out_; }
  bool Echoes() const {
    termios settings{};
    ::tcgetattr(slave_, &settings);
    return (settings.c_lflag & ECHO) != 0;
  }
  void Type(const std::string& text) {
    ASSERT_EQ(::write(master_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
  }
  // Reads what the terminal shows until `text` has appeared; returns all
  // of it.
  std::string ReadUntil(const std::string& text) {
    while (screen_.find(text) == std::string::npos) {
      char buffer[256];
      const ssize_t read = ::read(master_, buffer, sizeof buffer);
      if (read <= 0) break;
      screen_.append(buffer, static_cast<size_t>(read));
    }
    return screen_;
  }

 private:
  int master_ = -1;
  int slave_ = -1;
  std::FILE* in_ = nullptr;
  std::FILE* out_ = nullptr;
  std::string screen_;
};

TEST(TerminalLogonFormTest, APasswordTypedOnATerminalIsNotEchoed) {
  PseudoTerminal pty;
  ASSERT_NE(pty.In(), nullptr);
  ASSERT_NE(pty.Out(), nullptr);
  TerminalLogonForm form(pty.In(), pty.Out());
  ArrangeLogon(form, "", "", "");
  TModalResult result = mrNone;
  bool echoWhileMasked = true;

  std::thread user([&] { result = form.ShowModal(); });
  pty.ReadUntil("Username: ");
  pty.Type("scott\n");
  pty.ReadUntil("Password: ");
  echoWhileMasked = pty.Echoes();
  pty.Type("tiger\n");
  pty.ReadUntil("Database: ");
  pty.Type("DEMO\n");
  user.join();
  const std::string screen = pty.ReadUntil("DEMO");

  EXPECT_EQ(result, mrOk);
  EXPECT_FALSE(echoWhileMasked);
  EXPECT_TRUE(pty.Echoes()) << "the echo is back on afterwards";
  EXPECT_NE(screen.find("scott"), std::string::npos) << screen;
  EXPECT_EQ(screen.find("tiger"), std::string::npos) << screen;
  EXPECT_EQ(form.Text(TLogonField::Password), "tiger");
}

TEST(TerminalLogonFormTest, InterruptingThePasswordPromptLeavesTheTerminalEchoing) {
  PseudoTerminal pty;
  ASSERT_NE(pty.In(), nullptr);
  ASSERT_NE(pty.Out(), nullptr);
  std::fflush(nullptr);

  // The form runs in a child process, which Ctrl-C (SIGINT) ends.
  const pid_t child = ::fork();
  ASSERT_GE(child, 0) << std::strerror(errno);
  if (child == 0) {
    TerminalLogonForm form(pty.In(), pty.Out());
    ArrangeLogon(form, "scott", "", "");
    form.ShowModal();
    ::_exit(0);
  }
  pty.ReadUntil("Username [scott]: ");
  pty.Type("\n");
  pty.ReadUntil("Password: ");
  const bool echoWhileMasked = pty.Echoes();
  ::kill(child, SIGINT);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);

  EXPECT_FALSE(echoWhileMasked);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT)
      << "the interrupt still ends the program";
  EXPECT_TRUE(pty.Echoes()) << "the echo is back on after the interrupt";
}

// --- The logon dialogs on the terminal ---

class TerminalLogonTest : public session_test::SessionTest {
 protected:
  TerminalLogonTest() { previous_ = SetLogonFormFactory(TerminalLogonForms(nullptr, nullptr)); }
  ~TerminalLogonTest() override { SetLogonFormFactory(previous_); }

  // Installs forms over `terminal`.
  void Use(ScriptedTerminal& terminal) {
    SetLogonFormFactory(TerminalLogonForms(terminal.In(), terminal.Out()));
  }

  LogonFormFactory previous_;
};

TEST_F(TerminalLogonTest, AWrongPasswordIsAskedAgainUntilItIsRight) {
  ScriptedTerminal terminal("\nlion\n\n\ntiger\n\n");
  Use(terminal);
  auto session = NewSession("scott", "");
  TOracleLogon logon;
  logon.SetSession(session.get());

  EXPECT_TRUE(logon.Execute());

  EXPECT_TRUE(session->Connected());
  ASSERT_EQ(ui_.Texts().size(), 1u);
  EXPECT_EQ(ui_.Texts()[0].rfind("ORA-01017", 0), 0u) << ui_.Texts()[0];
  const std::string database = Database();
  EXPECT_EQ(terminal.Output(),
            "Oracle Logon\nUsername [scott]: Password: Database [" + database +
                "]: " + "Oracle Logon\nUsername [scott]: Password [********]: Database [" +
                database + "]: ");
}

TEST_F(TerminalLogonTest, AnExpiredPasswordIsChangedAtThePrompt) {
  ScriptedTerminal terminal("\n\n\nfresh\nFRESH\n");
  Use(terminal);
  auto session = NewSession("expired_user", "pw");
  TOracleLogon logon;
  logon.SetSession(session.get());
  logon.SetOptions(ldDatabase);

  EXPECT_TRUE(logon.Execute());

  EXPECT_TRUE(session->Connected());
  EXPECT_EQ(session->LogonPassword(), "FRESH");
  EXPECT_TRUE(ui_.Texts().empty());
  EXPECT_NE(terminal.Output().find("Your password has expired\nNew password: Verification: "),
            std::string::npos)
      << terminal.Output();
}

TEST_F(TerminalLogonTest, AVersion7SessionChangesItsGracePeriodPasswordThroughARealQuery) {
  // Version 7 calls cannot change a password at logon: the session's own
  // query (the library's TOracleQuery, not a stand-in) runs ALTER USER on
  // the server.
  useOCI7_ = true;
  ScriptedTerminal terminal("\n\n\nrenewed\nrenewed\n");
  Use(terminal);
  auto session = NewSession("grace_user", "pw");
  TOracleLogon logon;
  logon.SetSession(session.get());
  logon.SetOptions(ldDatabase);
  ui_.AnswerNext(mrYes);

  EXPECT_TRUE(logon.Execute());

  EXPECT_TRUE(session->Connected());
  EXPECT_FALSE(session->UsesOCI8());
  EXPECT_EQ(session->LogonPassword(), "renewed");
  ASSERT_EQ(ui_.Texts().size(), 1u);
  EXPECT_EQ(ui_.Texts()[0].rfind("ORA-28002", 0), 0u) << ui_.Texts()[0];
  useOCI7_ = false;
  auto renewed = NewSession("grace_user", "renewed");
  EXPECT_NO_THROW(renewed->LogOn());
  EXPECT_EQ(renewed->LogonWarning(), "") << "the grace period is over";
  auto old = NewSession("grace_user", "pw");
  EXPECT_THROW(old->LogOn(), EOracleError);
}

TEST_F(TerminalLogonTest, TheEndOfTheInputEndsTheLogon) {
  ScriptedTerminal terminal("");
  Use(terminal);
  auto session = NewSession("scott", "");
  TOracleLogon logon;
  logon.SetSession(session.get());

  EXPECT_FALSE(logon.Execute());

  EXPECT_FALSE(session->Connected());
}

}  // namespace
}  // namespace vorn
