// The main window's behaviour; see MainWindowController.h.
#include "MainWindowController.h"

#include "vorn/dataset/OracleDataSet.h"
#include "vorn/host/DataSource.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/UIServices.h"
#include "vorn/query/OracleQuery.h"
#include "vorn/session/OracleSession.h"

namespace vorn {
namespace {

constexpr const char* kUserNameValue = "UserName";
constexpr const char* kPasswordValue = "Password";
constexpr const char* kHostNameValue = "HostName";
constexpr const char* kLastQueryValue = "LastQuery";

}  // namespace

MainWindowController::MainWindowController(MainWindowView& view, SettingsStore& settings,
                                           TComponent* sessionOwner)
    : view_(view),
      settings_(settings),
      sessionOwner_(sessionOwner),
      dataSource_(std::make_unique<TDataSource>(nullptr)) {
  dataSource_->SetAutoEdit(false);
}

MainWindowController::~MainWindowController() = default;

void MainWindowController::FormActivate() {
  if (session_ != nullptr) return;
  view_.SetQueryText(settings_.Read(kLastQueryValue));
  CreateDatabaseObjects();
}

// The buttons work before the window was ever activated too (the console
// mode has no activation to wait for); the query box is then left alone.
void MainWindowController::EnsureDatabaseObjects() {
  if (session_ == nullptr) CreateDatabaseObjects();
}

void MainWindowController::CreateDatabaseObjects() {
  if (sessionOwner_ != nullptr) {
    session_ = new TOracleSession(sessionOwner_);
  } else {
    ownedSession_ = std::make_unique<TOracleSession>();
    session_ = ownedSession_.get();
  }
  query_ = new TOracleQuery(session_);
  query_->SetSession(session_);
  dataSet_ = new TOracleDataSet(session_);
  dataSet_->SetSession(session_);

  dataSource_->SetDataSet(dataSet_);

  processor_ = std::make_unique<StatementProcessor>(
      *query_, *dataSet_,
      [this](std::string& username, std::string& password, std::string& database) {
        return LogonWithValues(username, password, database);
      });
  processor_->SetGrid(view_.Grid());
  runner_ = std::make_unique<ScriptRunner>(*processor_);
}

bool MainWindowController::LogonWithValues(std::string& username, std::string& password,
                                           std::string& database) {
  if (session_ == nullptr) throw Exception("Session undefined");
  session_->SetLogonUsername(username);
  session_->SetLogonPassword(password);
  session_->SetLogonDatabase(database);
  // What the user typed reaches the caller whatever the outcome.
  auto copyBack = [&] {
    username = session_->LogonUsername();
    password = session_->LogonPassword();
    database = session_->LogonDatabase();
  };
  bool attempted = false;
  try {
    // Owned by the session, as a form's component would be, and freed as
    // soon as the dialog is over.
    auto logon = std::make_unique<TOracleLogon>(session_);
    logon->SetSession(session_);
    logon->SetOptions(logonOptions_);
    attempted = logon->Execute();
  } catch (...) {
    copyBack();
    throw;
  }
  copyBack();
  return attempted;
}

void MainWindowController::ConnectClick() {
  EnsureDatabaseObjects();
  if (view_.ConnectCaption() != kConnectCaption) {
    session_->LogOff();
    view_.SetStatusText(kDisconnectedStatus);
    view_.SetConnectCaption(kConnectCaption);
    return;
  }
  std::string username = settings_.Read(kUserNameValue);
  std::string password = settings_.Read(kPasswordValue);
  std::string database = settings_.Read(kHostNameValue);
  // An attempt that did not connect (every try refused) is no connection:
  // nothing is stored and the window stays disconnected.
  if (LogonWithValues(username, password, database) && session_->Connected()) {
    settings_.Write(kUserNameValue, username);
    settings_.Write(kPasswordValue, password);
    settings_.Write(kHostNameValue, database);
    view_.SetStatusText(username + "@" + database);
    view_.SetConnectCaption(kDisconnectCaption);
  } else {
    MessageDlg(kUnsuccessfulLogin, mtError, mbOK, 0);
  }
}

void MainWindowController::RunClick() {
  EnsureDatabaseObjects();
  try {
    processor_->ProcessStatement(view_.QueryText());
  } catch (const Exception& e) {
    MessageDlg(e.Message(), mtError, mbOK, 0);
  } catch (...) {
    ShowLastResults();
    throw;
  }
  ShowLastResults();
}

void MainWindowController::ShowLastResults() {
  view_.SetTranslatedCaption(processor_->LastTranslatedText());
  view_.SetResultCaption(processor_->LastScalarResult());
}

void MainWindowController::ScriptClick() {
  EnsureDatabaseObjects();
  if (std::optional<std::string> file = view_.ChooseScriptFile()) runner_->RunScript(*file);
}

void MainWindowController::FormClose() {
  settings_.Write(kLastQueryValue, view_.QueryText());
}

}  // namespace vorn
