// Logging a session on and off in either call set, and changing the
// password; see OracleSession.h.
#include <array>
#include <string>

#include "vorn/client/ClientLibrary.h"
#include "vorn/client/Oci7Calls.h"
#include "vorn/client/Oci8Calls.h"
#include "vorn/client/OciConstants.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/Screen.h"
#include "vorn/host/TextUtils.h"
#include "vorn/session/OracleError.h"
#include "vorn/session/OracleSession.h"
#include "vorn/session/SessionPreferences.h"

namespace vorn {

using namespace client;

namespace {

// The client's error number for a password in its grace period; the logon
// succeeds and keeps the message as a warning.
constexpr int kPasswordWillExpire = 28002;

// The buffer OCIServerVersion writes the server's version text into.
constexpr ub4 kVersionTextSize = 501;

OraText* Text(std::string& text) {
  return reinterpret_cast<OraText*>(text.data());
}

// A server that speaks only the version 7 protocol. Later servers all
// understand the version 8 calls (and modern clients lack the version 7
// ones), so only a text that names release 7 switches.
bool IsRelease7Server(const std::string& versionText) {
  const std::string upper = UpperCase(versionText);
  return upper.find("ORACLE7") != std::string::npos ||
         upper.find("RELEASE 7.") != std::string::npos;
}

}  // namespace

void TOracleSession::LogOn() {
  if (beforeLogOn_) beforeLogOn_(this);
  // What ends every logon attempt, successful or not.
  const auto finish = [this] {
    RestoreCurrentDirectory();
    if (ComponentState() & csLoading) return;
    FireAfterLogOn();
    FireChange();
  };
  try {
    if (odbcRoute_ && !ocaInstalled_ && ClientLibraryPath().empty()) {
      SetClientLibraryPath("ora73.dll");
    }
    {
      TCursorGuard wait(cursor_);
      LoadClientLibrary();
    }
    LogOff();
    handleGeneration_ = ClientLibraryGeneration();
    usesOCI8_ = !preferences_->UseOCI7() && IsVersion8Mode() && !odbcRoute_;
    converted_ = false;
    NormaliseLogonValues();
    hda_ = {};
    lda_ = {};
    {
      TCursorGuard wait(cursor_);
      if (usesOCI8_) {
        ConnectOCI8();
      } else {
        ConnectOCI7();
      }
    }
    const int code = ErrorCode();
    if (code == kPasswordWillExpire) {
      logonWarning_ = usesOCI8_ ? EOracleError(*this, errorHandle_).Message()
                                : EOracleError(*this, code).Message();
      lastStatus_ = 0;
      lda_.rc = 0;
    } else {
      logonWarning_.clear();
      if (code != 0) RaiseError();
    }
    connected_ = true;
    ReapplyOptions();
  } catch (...) {
    finish();
    throw;
  }
  finish();
}

void TOracleSession::NormaliseLogonValues() {
  std::string joined = logonUsername_;
  if (!logonPassword_.empty()) joined += "/" + logonPassword_;
  if (!logonDatabase_.empty()) joined += "@" + logonDatabase_;
  // Only a "/" before the database separates user name and password: a
  // connect string may hold one itself (a file path, or host/service), and
  // with external credentials it is all there is.
  const size_t at = joined.find('@');
  const std::string credentials = joined.substr(0, at);
  const size_t slash = credentials.find('/');
  if (slash != std::string::npos) {
    SetLogonUsername(credentials.substr(0, slash));
    SetLogonPassword(credentials.substr(slash + 1));
  }
  SetLogonDatabase(at != std::string::npos ? joined.substr(at + 1) : std::string());
}

std::string TOracleSession::ConnectText() const {
  std::string text = logonUsername_;
  if (!logonPassword_.empty()) text += "/" + logonPassword_;
  if (!logonDatabase_.empty()) text += "@" + logonDatabase_;
  return text;
}

void TOracleSession::CreateEnvironment() {
  if (environment_ != nullptr) return;
  // An 8.0 client needs no mutexes unless several threads use the session;
  // an 8.1 client always gets them.
  const ub4 mode = IsVersion81Client() || threadSafe_ ? OCI_DEFAULT : OCI_ENV_NO_MUTEX;
  OCIEnv* environment = nullptr;
  const sword status = Oci8().OCIEnvInit(&environment, mode, 0, nullptr);
  if (status != OCI_SUCCESS || environment == nullptr) {
    throw Exception("OCIEnvInit failed with status " + std::to_string(status));
  }
  environment_ = environment;
  const auto allocate = [this](auto*& handle, ub4 type) {
    void* allocated = nullptr;
    const sword allocation = Oci8().OCIHandleAlloc(environment_, &allocated, type, 0, nullptr);
    if (allocation != OCI_SUCCESS || allocated == nullptr) {
      FreeHandles();
      throw Exception("OCIHandleAlloc failed for handle type " + std::to_string(type) +
                      " with status " + std::to_string(allocation));
    }
    handle = static_cast<std::remove_reference_t<decltype(handle)>>(allocated);
  };
  allocate(serviceContext_, OCI_HTYPE_SVCCTX);
  allocate(errorHandle_, OCI_HTYPE_ERROR);
  allocate(errorHandle2_, OCI_HTYPE_ERROR);
  allocate(server_, OCI_HTYPE_SERVER);
  allocate(userSession_, OCI_HTYPE_SESSION);
}

void TOracleSession::AttachServer() {
  CreateEnvironment();
  if (attached_) {
    Oci8().OCIServerDetach(server_, errorHandle2_, OCI_DEFAULT);
    attached_ = false;
  }
  if (TakeStatus(Oci8().OCIServerAttach(server_, errorHandle_, Text(logonDatabase_),
                                        static_cast<sb4>(logonDatabase_.size()), OCI_DEFAULT)) !=
      0) {
    RaiseError();
  }
  attached_ = true;
  Oci8().OCIAttrSet(serviceContext_, OCI_HTYPE_SVCCTX, server_, 0, OCI_ATTR_SERVER, errorHandle2_);
  Oci8().OCIAttrSet(serviceContext_, OCI_HTYPE_SVCCTX, userSession_, 0, OCI_ATTR_SESSION,
                    errorHandle2_);
}

void TOracleSession::ConnectOCI8() {
  AttachServer();
  ub4 credentials = OCI_CRED_EXT;
  if (!logonUsername_.empty() || !logonPassword_.empty()) {
    Oci8().OCIAttrSet(userSession_, OCI_HTYPE_SESSION, Text(logonUsername_),
                      static_cast<ub4>(logonUsername_.size()), OCI_ATTR_USERNAME, errorHandle2_);
    Oci8().OCIAttrSet(userSession_, OCI_HTYPE_SESSION, Text(logonPassword_),
                      static_cast<ub4>(logonPassword_.size()), OCI_ATTR_PASSWORD, errorHandle2_);
    credentials = OCI_CRED_RDBMS;
  }
  // A warning (a password about to expire) leaves the session on version
  // 8 calls: its error code is not 0.
  if (TakeStatus(Oci8().OCISessionBegin(serviceContext_, errorHandle_, userSession_, credentials,
                                        OCI_DEFAULT)) == 0) {
    SwitchToOCI7IfOldServer();
  }
}

void TOracleSession::SwitchToOCI7IfOldServer() {
  std::array<OraText, kVersionTextSize> version{};
  Oci8().OCIServerVersion(server_, errorHandle2_, version.data(), kVersionTextSize,
                          OCI_HTYPE_SERVER);
  version.back() = 0;
  if (!IsRelease7Server(reinterpret_cast<const char*>(version.data()))) return;
  if (!IsVersion7SetComplete()) return;
  // Should the conversion fail, the session simply stays on the version 8
  // calls that logged it on.
  if (Oci8().OCISvcCtxToLda(serviceContext_, errorHandle2_, &lda_) != OCI_SUCCESS) return;
  usesOCI8_ = false;
  converted_ = true;
}

void TOracleSession::ConnectOCI7() {
  std::string connect = ConnectText();
  if (Oci7().olog.Resolved()) {
    lastStatus_ =
        Oci7().olog(&lda_, hda_.data, Text(connect), -1, nullptr, -1, nullptr, -1, OCI_LM_DEF);
  } else {
    lastStatus_ = Oci7().orlon(&lda_, hda_.data, Text(connect), -1, nullptr, -1, 0);
  }
}

void TOracleSession::ReapplyOptions() {
  if (autoCommit_) {
    autoCommit_ = false;
    SetAutoCommit(true);
  }
  if (sqlTrace_ != stUnchanged) {
    const TSQLTraceOption value = sqlTrace_;
    sqlTrace_ = stUnchanged;
    SetSQLTrace(value);
  }
  if (optimizerGoal_ != ogUnchanged) {
    const TOptimizerGoalOption value = optimizerGoal_;
    optimizerGoal_ = ogUnchanged;
    SetOptimizerGoal(value);
  }
  if (isolationLevel_ != ilUnchanged) {
    const TIsolationLevelOption value = isolationLevel_;
    isolationLevel_ = ilUnchanged;
    SetIsolationLevel(value);
  }
}

void TOracleSession::LogOff() {
  DropStaleHandles();
  if (connected_) {
    if (rollbackOnDisconnect_) {
      try {
        Rollback();
      } catch (const std::exception&) {
        // The connection ends all the same.
      }
    }
    CloseClients();
    connected_ = false;
    detectedDateTextLength_ = -1;
    detectedBytesPerCharacter_ = 0;
    int code = 0;
    {
      TCursorGuard wait(cursor_);
      if (!usesOCI8_ && converted_) {
        Oci8().OCILdaToSvcCtx(&serviceContext_, errorHandle_, &lda_);
        usesOCI8_ = true;
        converted_ = false;
      }
      if (usesOCI8_) {
        code = TakeStatus(
            Oci8().OCISessionEnd(serviceContext_, errorHandle_, userSession_, OCI_DEFAULT));
      } else {
        lastStatus_ = Oci7().ologof(&lda_);
        code = lda_.rc;
      }
    }
    if (code != 0) RaiseError();
    if (!(ComponentState() & csDestroying)) FireChange();
  }
  if (attached_) {
    const int code = TakeStatus(Oci8().OCIServerDetach(server_, errorHandle_, OCI_DEFAULT));
    attached_ = false;
    if (code != 0) RaiseError();
  }
  FreeHandles();
}

void TOracleSession::FreeHandles() {
  if (environment_ == nullptr) return;
  DropStaleHandles();
  if (environment_ == nullptr) return;
  const auto release = [](auto*& handle, ub4 type) {
    if (handle != nullptr) Oci8().OCIHandleFree(handle, type);
    handle = nullptr;
  };
  release(server_, OCI_HTYPE_SERVER);
  release(serviceContext_, OCI_HTYPE_SVCCTX);
  release(errorHandle_, OCI_HTYPE_ERROR);
  release(errorHandle2_, OCI_HTYPE_ERROR);
  release(userSession_, OCI_HTYPE_SESSION);
  release(environment_, OCI_HTYPE_ENV);
}

void TOracleSession::ChangePassword(const std::string& newPassword) {
  if (odbcRoute_ && !ocaInstalled_ && ClientLibraryPath().empty()) {
    SetClientLibraryPath("ora73.dll");
  }
  {
    TCursorGuard wait(cursor_);
    LoadClientLibrary();
  }
  DropStaleHandles();
  if (environment_ == nullptr && !connected_) handleGeneration_ = ClientLibraryGeneration();
  // Without a connection the call set is the one a logon would choose now:
  // an account whose password expired never got one.
  if (!connected_) usesOCI8_ = !preferences_->UseOCI7() && IsVersion8Mode() && !odbcRoute_;
  if (usesOCI8_) {
    if (!attached_) {
      NormaliseLogonValues();
      TCursorGuard wait(cursor_);
      AttachServer();
    }
    std::string user = logonUsername_;
    std::string oldPassword = logonPassword_;
    std::string password = newPassword;
    const int code = TakeStatus(Oci8().OCIPasswordChange(
        serviceContext_, errorHandle_, Text(user), static_cast<ub4>(user.size()), Text(oldPassword),
        static_cast<ub4>(oldPassword.size()), Text(password), static_cast<ub4>(password.size()),
        OCI_DEFAULT));
    if (code != 0) RaiseError();
  } else {
    RunStatement("ALTER USER " + logonUsername_ + " IDENTIFIED BY " + newPassword, true);
  }
  SetLogonPassword(newPassword);
}

}  // namespace vorn
