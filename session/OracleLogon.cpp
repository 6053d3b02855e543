// The logon component, its logon dialog and the password-change dialog;
// see OracleLogon.h.
#include "vorn/session/OracleLogon.h"

#include <memory>

#include "vorn/client/ClientLibrary.h"
#include "vorn/client/DatabaseAliases.h"
#include "vorn/host/Application.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/Filer.h"
#include "vorn/host/TextUtils.h"
#include "vorn/platform/CommandLine.h"
#include "vorn/session/LogonForm.h"
#include "vorn/session/OracleError.h"
#include "vorn/session/OracleSession.h"

namespace vorn {
namespace {

// The client's error number for an expired password: the account can only
// change its password before it logs on again.
constexpr int kPasswordExpired = 28001;

constexpr std::string_view kUserIdParameter = "UserId=";

struct OptionName {
  TLogonOption option;
  std::string_view name;
};
constexpr OptionName kOptionNames[] = {
    {ldAuto, "ldAuto"}, {ldDatabase, "ldDatabase"}, {ldDatabaseList, "ldDatabaseList"}};

TLogonOption OptionNamed(const std::string& name) {
  for (const OptionName& option : kOptionNames) {
    if (SameText(option.name, name)) return option.option;
  }
  throw EReadError("Invalid property value");
}

void ShowError(const std::string& text) {
  MessageDlg(text, mtError, mbOK);
}

void ApplyCommonTexts(LogonForm& form, const std::string& caption) {
  form.SetCaption(caption);
  form.SetButtonCaptions(LogonText(ltOK), LogonText(ltCancel));
  form.SetFontStyle(LogonFontStyle());
}

void FillFromSession(LogonForm& form, const TOracleSession& session) {
  form.SetText(TLogonField::Username, session.LogonUsername());
  form.SetText(TLogonField::Password, session.LogonPassword());
  form.SetText(TLogonField::Database, session.LogonDatabase());
}

void CopyToSession(const LogonForm& form, TOracleSession& session) {
  session.SetLogonUsername(form.Text(TLogonField::Username));
  session.SetLogonPassword(form.Text(TLogonField::Password));
  session.SetLogonDatabase(form.Text(TLogonField::Database));
}

// Whether the first attempt may go without the dialog; fills the fields
// from a UserId parameter when there is one.
bool PrepareAutomaticAttempt(LogonForm& form, const TOracleSession& session) {
  if (std::optional<std::string> userId = CommandLineUserId()) {
    form.SetText(TLogonField::Username, *userId);
    form.SetText(TLogonField::Password, "");
    form.SetText(TLogonField::Database, "");
    return true;
  }
  return !session.LogonUsername().empty() && !session.LogonPassword().empty();
}

// A logon that connected inside the password's grace period: offer the
// change now.
void OfferPasswordChange(TOracleSession& session) {
  const std::string question = session.LogonWarning() + "\r\n" + LogonText(ltChangePasswordNow);
  if (Application().MessageBox(question, LogonText(ltConfirm), mtConfirmation, mbYes | mbNo) ==
      mrYes) {
    ChangePasswordDialog(&session, LogonText(ltPasswordExpired));
  }
}

// One logon attempt with the values of the form. Database errors are
// handled here (shown, or the password changed); others propagate.
void Attempt(const LogonForm& form, TOracleSession& session, bool aliasList) {
  CopyToSession(form, session);
  if (session.TakesODBCRoute() && aliasList) {
    // The alias list loaded the home's library; the ODBC route needs the
    // library it chooses itself, so the choice is made anew.
    session.LogOff();
    client::UnloadClientLibrary();
  }
  try {
    session.LogOn();
  } catch (const EOracleError& error) {
    // Only the version 8 calls can change a password without a connection
    // (OCIPasswordChange); a session on version 7 calls would need the
    // logon that the expiry refuses, so it gets the error instead.
    if (error.ErrorCode() == kPasswordExpired && client::IsVersion8Mode() && session.UsesOCI8()) {
      ChangePasswordDialog(&session, LogonText(ltPasswordExpired));
    } else {
      ShowError(error.Message());
    }
    return;
  }
  if (!session.LogonWarning().empty()) OfferPasswordChange(session);
}

}  // namespace

TOracleLogon::TOracleLogon(TComponent* owner) : TComponent(owner) {}

TOracleLogon::~TOracleLogon() {
  SetSession(nullptr);
}

void TOracleLogon::SetSession(TOracleSession* value) {
  if (value == session_) return;
  if (session_ != nullptr) session_->RemoveFreeNotification(this);
  session_ = value;
  if (session_ != nullptr) session_->FreeNotification(this);
}

void TOracleLogon::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == session_) session_ = nullptr;
}

void TOracleLogon::DefineProperties(TFiler& filer) {
  TComponent::DefineProperties(filer);
  filer.DefineProperty(
      "Retries",
      [this](TReader& reader) {
        const int32_t value = reader.ReadInteger();
        if (value < 0 || value > UINT16_MAX) throw EReadError("Invalid property value");
        SetRetries(static_cast<uint16_t>(value));
      },
      [this](TWriter& writer) { writer.WriteInteger(retries_); }, retries_ != kDefaultRetries);
  filer.DefineProperty(
      "Options",
      [this](TReader& reader) {
        TLogonOptions options = ldNone;
        reader.ReadListBegin();
        while (!reader.EndOfList())
          options |= OptionNamed(reader.ReadString());
        reader.ReadListEnd();
        SetOptions(options);
      },
      [this](TWriter& writer) {
        writer.WriteListBegin();
        for (const OptionName& option : kOptionNames) {
          if (options_ & option.option) writer.WriteString(std::string(option.name));
        }
        writer.WriteListEnd();
      },
      options_ != kDefaultOptions);
  filer.DefineProperty(
      "AliasDropDownCount",
      [this](TReader& reader) { SetAliasDropDownCount(reader.ReadInteger()); },
      [this](TWriter& writer) { writer.WriteInteger(aliasDropDownCount_); },
      aliasDropDownCount_ != kDefaultAliasDropDownCount);
}

bool TOracleLogon::Execute() {
  if (session_ == nullptr) return false;
  std::vector<std::string> aliases;
  if (options_ & ldDatabaseList) aliases = client::ListDatabaseAliases();
  return RunLogonDialog(aliases);
}

bool TOracleLogon::RunLogonDialog(const std::vector<std::string>& aliases) {
  if (session_ == nullptr) throw Exception("Session undefined");
  TOracleSession& session = *session_;
  std::unique_ptr<LogonForm> form = CreateLogonForm();
  ApplyCommonTexts(*form, LogonText(ltLogonCaption));
  form->SetLabelCaption(TLogonField::Username, LogonText(ltUsername));
  form->SetLabelCaption(TLogonField::Password, LogonText(ltPassword));
  form->SetLabelCaption(TLogonField::Database, LogonText(ltDatabase));
  FillFromSession(*form, session);
  const bool aliasList = (options_ & ldDatabaseList) != 0;
  if (aliasList) {
    form->UseAliasList(aliases, aliasDropDownCount_);
    form->SetText(TLogonField::Database, session.LogonDatabase());
  }
  if (!(options_ & ldDatabase)) form->HideDatabase();

  bool attempted = false;
  for (int attempt = 1;; ++attempt) {
    bool automatic = false;
    if (attempt == 1 && (options_ & ldAuto)) {
      SetOptions(options_ & ~ldAuto);
      automatic = PrepareAutomaticAttempt(*form, session);
    }
    if (!automatic && form->ShowModal() != mrOk) break;
    attempted = true;
    Attempt(*form, session, aliasList);
    FillFromSession(*form, session);
    if (session.Connected() || attempt > retries_) break;
  }
  return attempted;
}

std::optional<std::string> CommandLineUserId() {
  for (int i = 1; i <= platform::ParamCount(); ++i) {
    const std::string parameter = platform::ParamStr(i);
    if (parameter.size() >= kUserIdParameter.size() &&
        SameText(std::string_view(parameter).substr(0, kUserIdParameter.size()),
                 kUserIdParameter)) {
      return parameter.substr(kUserIdParameter.size());
    }
  }
  return std::nullopt;
}

bool ChangePasswordDialog(TOracleSession* session, const std::string& caption) {
  if (session == nullptr) throw Exception("Session undefined");
  std::unique_ptr<LogonForm> form = CreateLogonForm();
  ApplyCommonTexts(*form, caption);
  form->SetLabelCaption(TLogonField::Username, LogonText(ltNewPassword));
  form->SetLabelCaption(TLogonField::Password, LogonText(ltVerification));
  form->MaskUsername();
  form->HideDatabase();
  while (form->ShowModal() == mrOk) {
    const std::string verification = form->Text(TLogonField::Password);
    if (!AnsiSameText(form->Text(TLogonField::Username), verification)) {
      ShowError(LogonText(ltVerificationFailed));
      continue;
    }
    try {
      session->ChangePassword(verification);
      if (!session->Connected()) session->LogOn();
      return true;
    } catch (const EOracleError& error) {
      ShowError(error.Message());
    }
  }
  return false;
}

}  // namespace vorn
