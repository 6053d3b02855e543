// TForm1: Vornix's main window, the Qt face of MainWindowController.
//
//   Label1 "Query:"  edQuery ......................................  btnRun
//   btnConnect  btScript  lblResult
//   Label2 (the translated text, word-wrapped)
//   dbGrid .................................................................
//   sbInfo: one panel
//
// Caption "Vornix", font "MS Sans Serif" 8 pt (QtFonts.h), placed by the
// system on first show. edQuery and Label2 widen with the window, btnRun
// keeps to its right edge, dbGrid takes all the extra space. btnRun is the
// default button: Enter in the query box runs the statement. lblResult is
// bold "Courier New". (The Cyrillic character set the original form asks
// of the query box and the result is Unicode's business here.) openDlg is
// a plain open-file dialog, no filter, no default extension. The widgets
// carry their names as object names.
//
// The window's first activation, its buttons and its closing go to the
// controller; an error a handler lets through goes to the application's
// exception display (vorn/host/Application.h).
#pragma once

#include <QMainWindow>
#include <memory>

#include "MainWindowController.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;

namespace vorn {

class QtDataGrid;
class TComponent;

class TForm1 : public QMainWindow, public MainWindowView {
  Q_OBJECT

 public:
  // The session is made with `sessionOwner` as its owner (the application
  // object in the program).
  TForm1(SettingsStore& settings, TComponent* sessionOwner, QWidget* parent = nullptr);
  ~TForm1() override;

  MainWindowController& Controller() { return *controller_; }

  std::string QueryText() const override;
  void SetQueryText(const std::string& text) override;
  std::string ConnectCaption() const override;
  void SetConnectCaption(const std::string& caption) override;
  void SetStatusText(const std::string& text) override;
  void SetResultCaption(const std::string& text) override;
  void SetTranslatedCaption(const std::string& text) override;
  std::optional<std::string> ChooseScriptFile() override;
  ResultGrid* Grid() override;

  QLabel* Label1 = nullptr;
  QLineEdit* edQuery = nullptr;
  QPushButton* btnConnect = nullptr;
  QPushButton* btScript = nullptr;
  QPushButton* btnRun = nullptr;
  QLabel* lblResult = nullptr;
  QLabel* Label2 = nullptr;
  QtDataGrid* dbGrid = nullptr;
  QStatusBar* sbInfo = nullptr;
  // Panel 0 of sbInfo.
  QLabel* sbInfoPanel = nullptr;

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls();
  // Runs a handler; what it lets through goes to the exception display.
  template <typename Handler>
  void Guarded(Handler handler);

  std::unique_ptr<MainWindowController> controller_;
};

}  // namespace vorn
