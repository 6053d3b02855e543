// MainWindowController: the behaviour of Vornix's main window (TForm1),
// apart from any toolkit. The Qt window (QtMainWindow.h) forwards its
// events here and shows what the controller sets through MainWindowView;
// the console mode and the tests drive it as it is.
//
// - FormActivate: the first activation only: puts the remembered LastQuery
//   into the query box (empty when none), creates the session (owned by the
//   given owner, the application object in the program), the query and the
//   dataset (owned by and attached to the session, all with their
//   defaults), links the data source (AutoEdit off) to the dataset and gives
//   the statement processor the view's grid.
// - ConnectClick: while the button says "&Connect", runs the logon with the
//   remembered UserName, Password and HostName; when the session is then
//   connected it stores the three values as the logon gave them back, shows
//   user "@" database in the status bar and says "&Disconnect"; otherwise
//   it shows "Unsuccessful login" and changes nothing. With any other
//   caption it logs off, shows "Disconnected" and says "&Connect". Errors
//   pass to the caller (the application's exception display).
// - RunClick: hands the query box to the statement processor and shows any
//   vorn::Exception in an error box; then, in every case, shows the last
//   translated text and the last scalar result.
// - ScriptClick: runs the script file the user picks; errors pass on and
//   the labels stay as they are.
// - FormClose: stores the query box text as LastQuery.
//
// The button caption is the connection state: a script's connect line
// changes neither it nor the status bar nor the stored values.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "ScriptRunner.h"
#include "SettingsStore.h"
#include "StatementProcessor.h"
#include "vorn/session/OracleLogon.h"

namespace vorn {

class TComponent;
class TDataSource;
class TOracleDataSet;
class TOracleQuery;
class TOracleSession;

inline constexpr const char* kConnectCaption = "&Connect";
inline constexpr const char* kDisconnectCaption = "&Disconnect";
inline constexpr const char* kDisconnectedStatus = "Disconnected";
inline constexpr const char* kUnsuccessfulLogin = "Unsuccessful login";

// The window as the controller sees it.
class MainWindowView {
 public:
  virtual ~MainWindowView() = default;

  virtual std::string QueryText() const = 0;
  virtual void SetQueryText(const std::string& text) = 0;
  virtual std::string ConnectCaption() const = 0;
  virtual void SetConnectCaption(const std::string& caption) = 0;
  // Panel 0 of the status bar.
  virtual void SetStatusText(const std::string& text) = 0;
  // lblResult: the last scalar result.
  virtual void SetResultCaption(const std::string& text) = 0;
  // Label2: the last translated text.
  virtual void SetTranslatedCaption(const std::string& text) = 0;
  // Asks for a script file; nothing when the user cancels.
  virtual std::optional<std::string> ChooseScriptFile() = 0;
  // The grid that shows the dataset, or none.
  virtual ResultGrid* Grid() = 0;
};

class MainWindowController {
 public:
  // `sessionOwner` owns the session once it is made; without one the
  // controller owns it.
  MainWindowController(MainWindowView& view, SettingsStore& settings, TComponent* sessionOwner);
  ~MainWindowController();
  MainWindowController(const MainWindowController&) = delete;
  MainWindowController& operator=(const MainWindowController&) = delete;

  void FormActivate();
  void ConnectClick();
  void RunClick();
  void ScriptClick();
  void FormClose();

  // The logon with remembered values: sets the session's logon values,
  // runs a TOracleLogon owned by the session with LogonOptions(), and
  // copies the session's logon values back into the three strings whatever
  // the outcome. True when an attempt was made. Raises "Session undefined"
  // before the first activation.
  bool LogonWithValues(std::string& username, std::string& password, std::string& database);
  // {ldDatabase} unless set: the dialog always shows, with the database
  // field. The console mode adds ldAuto, so that UserId= logs on at once.
  TLogonOptions LogonOptions() const { return logonOptions_; }
  void SetLogonOptions(TLogonOptions options) { logonOptions_ = options; }

  // dsrc: exists from the start (AutoEdit off); its dataset is set at the
  // first activation.
  TDataSource* DataSource() const { return dataSource_.get(); }
  // Null before the first activation.
  TOracleSession* Session() const { return session_; }
  TOracleQuery* Query() const { return query_; }
  TOracleDataSet* DataSet() const { return dataSet_; }
  StatementProcessor* Processor() const { return processor_.get(); }
  ScriptRunner* Runner() const { return runner_.get(); }

 private:
  void EnsureDatabaseObjects();
  void CreateDatabaseObjects();
  void ShowLastResults();

  MainWindowView& view_;
  SettingsStore& settings_;
  TComponent* sessionOwner_;
  std::unique_ptr<TOracleSession> ownedSession_;
  TOracleSession* session_ = nullptr;
  TOracleQuery* query_ = nullptr;
  TOracleDataSet* dataSet_ = nullptr;
  std::unique_ptr<TDataSource> dataSource_;
  std::unique_ptr<StatementProcessor> processor_;
  std::unique_ptr<ScriptRunner> runner_;
  TLogonOptions logonOptions_ = ldDatabase;
};

}  // namespace vorn
