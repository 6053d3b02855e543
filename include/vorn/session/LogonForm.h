// The form behind the logon dialog and the password-change dialog, and
// their process-wide appearance.
//
// The dialogs' logic (OracleLogon.h) lives in the library; the form they
// run on belongs to the front end: a Qt dialog in Vornix, a prompt on the
// terminal in its console mode, a scripted form in tests. The front end
// installs a factory once (SetLogonFormFactory); every dialog asks it for a
// new form and frees the form when the dialog ends.
//
// A form holds three text fields, one per TLogonField, each with a label,
// an OK and a Cancel button and a caption. The logon arrangement uses them
// as user name, password (shown masked) and database; the password-change
// arrangement relabels the first two as new password and verification,
// masks the first as well and hides the database. The database field is an
// edit, or a drop-down list of the client's aliases that still takes any
// text (UseAliasList). Hiding the database field shrinks the form by its
// height. When the form is shown, the focus goes to the password field if
// the user name field holds text, otherwise to the user name field.
//
// Dialog texts. Fourteen texts (TLogonText) make up everything the dialogs
// say; a host may replace them, to translate the dialogs for example.
// Their initial values are "Oracle Logon", "Change password", "Confirm",
// "Username", "Password", "Database", "New password", "Old password",
// "Verification", "Verification failed", "Do you wish to change your
// password now?", "Your password has expired", "OK" and "Cancel". The font
// style set by SetLogonFontStyle (none at first) is applied to both
// dialogs. Both settings are process-wide; read and change them from the
// main thread.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "vorn/host/FontStyles.h"
#include "vorn/host/UIServices.h"

namespace vorn {

// The fields of the form, in the logon arrangement's terms.
enum class TLogonField { Username, Password, Database };

class LogonForm {
 public:
  virtual ~LogonForm() = default;

  virtual void SetCaption(const std::string& text) = 0;
  virtual void SetLabelCaption(TLogonField field, const std::string& text) = 0;
  virtual void SetButtonCaptions(const std::string& ok, const std::string& cancel) = 0;
  virtual void SetFontStyle(TFontStyles style) = 0;

  // The user name field shows "*" for every character, as the password
  // field always does.
  virtual void MaskUsername() = 0;
  // Hides the database field with its label; the form shrinks by their
  // height.
  virtual void HideDatabase() = 0;
  // The database field becomes a drop-down of `aliases` (in the order
  // given) showing `dropDownCount` lines at a time; it keeps its text and
  // still takes any text typed.
  virtual void UseAliasList(const std::vector<std::string>& aliases, int dropDownCount) = 0;

  virtual std::string Text(TLogonField field) const = 0;
  virtual void SetText(TLogonField field, const std::string& text) = 0;

  // Shows the form and waits for the user: mrOk when confirmed, mrCancel
  // when cancelled (or closed).
  virtual TModalResult ShowModal() = 0;
};

using LogonFormFactory = std::function<std::unique_ptr<LogonForm>()>;

// Installs `factory` for every dialog of the process and returns the one
// it replaces; an empty factory uninstalls.
LogonFormFactory SetLogonFormFactory(LogonFormFactory factory);

// A new form from the installed factory; raises vorn::Exception "No logon
// form installed" when there is none.
std::unique_ptr<LogonForm> CreateLogonForm();

enum TLogonText {
  ltLogonCaption,        // caption of the logon dialog
  ltChangePassword,      // not used by the dialogs
  ltConfirm,             // caption of the password-change question
  ltUsername,            // label of the user name field
  ltPassword,            // label of the password field
  ltDatabase,            // label of the database field
  ltNewPassword,         // first field of the password-change dialog
  ltOldPassword,         // not used by the dialogs
  ltVerification,        // second field of the password-change dialog
  ltVerificationFailed,  // message when the two new passwords differ
  ltChangePasswordNow,   // the password-change question
  ltPasswordExpired,     // caption of the password-change dialog
  ltOK,                  // OK button
  ltCancel,              // Cancel button
};
inline constexpr int kLogonTextCount = 14;

std::string LogonText(TLogonText index);
void SetLogonText(TLogonText index, std::string text);
// Puts every text back to its initial value.
void ResetLogonTexts();

TFontStyles LogonFontStyle();
void SetLogonFontStyle(TFontStyles style);

}  // namespace vorn
