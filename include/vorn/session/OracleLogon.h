// TOracleLogon: logs a session on interactively, through the logon dialog
// (a form from the installed factory, LogonForm.h).
//
// Execute fills the dialog from the session's logon values and makes
// attempts until the session is connected, the user cancels, or Retries
// further attempts after the first have failed. An attempt copies the
// three fields into the session and logs it on; the session may normalise
// the values ("scott/tiger@DEMO" typed as the user name fills all three),
// and the fields are refilled from the session after every attempt. A
// failed logon is shown in an error box and counts as an attempt.
//
// Options:
// - ldAuto: the first attempt of the next Execute is made without showing
//   the dialog when the command line has a parameter "UserId=<value>" (the
//   name in any case; the value is taken as the user name, with empty
//   password and database), or else when the session already has a user
//   name and a password. ldAuto is then removed from Options for good.
// - ldDatabase: the dialog shows the database field (otherwise it is
//   hidden and the session's LogonDatabase is used as it is).
// - ldDatabaseList: the database field offers the aliases of the client's
//   tnsnames.ora (vorn/client/DatabaseAliases.h), read at every Execute. A
//   session on the ODBC route logs off and unloads the client library
//   before such an attempt, so that the library is chosen anew.
//
// Passwords. A logon that connects with a password in its grace period
// (ORA-28002, the session's LogonWarning) asks "<warning>" CR LF "Do you
// wish to change your password now?" in a box captioned "Confirm"; Yes
// opens the password-change dialog. A logon refused for an expired
// password (ORA-28001) opens the password-change dialog at once when the
// session logged on with version 8 calls (the process is in version 8 mode
// and neither UseOCI7 nor the ODBC route chose the version 7 calls, which
// can change a password only over a connection); otherwise it is shown
// like any other error. Any error other than EOracleError leaves Execute.
//
// ChangePasswordDialog asks for the new password twice, compares the two
// without regard to case (a mismatch shows "Verification failed" and asks
// again), changes the password to the second one (TOracleSession::
// ChangePassword) and logs on if the session is not connected. A refused
// change or logon is shown and the dialog asks again, until it succeeds
// (true) or the user cancels (false).
//
// The session is held by reference: when it is destroyed first, the
// component's Session becomes null (free notification).
//
// Streams. DefineProperties stores Retries, Options (as a list of the
// option names) and AliasDropDownCount when they differ from their
// defaults. The Session reference is not stored: the host's component
// streams have no references between components; whoever loads the form
// sets it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "vorn/host/Component.h"
#include "vorn/host/Flags.h"

namespace vorn {

class TOracleSession;

enum TLogonOption : uint32_t {
  ldNone = 0,
  ldAuto = 1u << 0,
  ldDatabase = 1u << 1,
  ldDatabaseList = 1u << 2,
};
VORN_FLAGS(TLogonOption)
using TLogonOptions = TLogonOption;

class TOracleLogon : public TComponent {
  VORN_CLASS(TOracleLogon, TComponent)
  static constexpr uint16_t kDefaultRetries = 2;
  static constexpr TLogonOptions kDefaultOptions = ldAuto | ldDatabase;
  static constexpr int kDefaultAliasDropDownCount = 8;

  explicit TOracleLogon(TComponent* owner = nullptr);
  ~TOracleLogon() override;

  TOracleSession* Session() const { return session_; }
  void SetSession(TOracleSession* value);
  // Further attempts after a failed one: at most Retries() + 1 attempts.
  uint16_t Retries() const { return retries_; }
  void SetRetries(uint16_t value) { retries_ = value; }
  TLogonOptions Options() const { return options_; }
  void SetOptions(TLogonOptions value) { options_ = value; }
  // Visible lines of the alias drop-down.
  int AliasDropDownCount() const { return aliasDropDownCount_; }
  void SetAliasDropDownCount(int value) { aliasDropDownCount_ = value; }

  // False at once without a session. Otherwise true when at least one
  // logon attempt was made (an automatic one, or the user confirmed the
  // dialog), whether or not the session is connected now; false when the
  // user cancelled the first dialog. Reading the alias list may raise
  // (the client library cannot be loaded).
  bool Execute();

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  void DefineProperties(TFiler& filer) override;

 private:
  bool RunLogonDialog(const std::vector<std::string>& aliases);

  TOracleSession* session_ = nullptr;
  uint16_t retries_ = kDefaultRetries;
  TLogonOptions options_ = kDefaultOptions;
  int aliasDropDownCount_ = kDefaultAliasDropDownCount;
};

// The value of the first command-line parameter "UserId=<value>" (the name
// in any case), or nullopt when there is none.
std::optional<std::string> CommandLineUserId();

// The password-change dialog for `session`, captioned `caption`; true when
// the password was changed (and the session is connected). Raises
// vorn::Exception "Session undefined" without a session.
bool ChangePasswordDialog(TOracleSession* session, const std::string& caption);

}  // namespace vorn
