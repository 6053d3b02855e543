// Vornix's main window; see QtMainWindow.h.
#include "QtMainWindow.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>

#include "QtDataGrid.h"
#include "QtFonts.h"
#include "vorn/host/Application.h"

namespace vorn {
namespace {

constexpr const char* kFormFont = "MS Sans Serif";
constexpr const char* kResultFont = "Courier New";
constexpr int kFontSize = 8;
constexpr int kStatusPanelWidth = 50;
constexpr const char* kDesignQuery = "select name, friend.name from man.dogs";

QString ToQt(const std::string& text) {
  return QString::fromStdString(text);
}

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(QLatin1String(name));
  return widget;
}

}  // namespace

TForm1::TForm1(SettingsStore& settings, TComponent* sessionOwner, QWidget* parent)
    : QMainWindow(parent),
      controller_(std::make_unique<MainWindowController>(*this, settings, sessionOwner)) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Vornix"));
  setFont(VornixFont(QLatin1String(kFormFont), kFontSize));
  BuildControls();
  dbGrid->SetDataSource(controller_->DataSource());
  resize(640, 420);

  connect(btnConnect, &QPushButton::clicked, this,
          [this] { Guarded([this] { controller_->ConnectClick(); }); });
  connect(btScript, &QPushButton::clicked, this,
          [this] { Guarded([this] { controller_->ScriptClick(); }); });
  connect(btnRun, &QPushButton::clicked, this,
          [this] { Guarded([this] { controller_->RunClick(); }); });
  // The default button of the window: Enter in the query box presses it.
  connect(edQuery, &QLineEdit::returnPressed, btnRun, &QPushButton::click);
}

TForm1::~TForm1() = default;

void TForm1::BuildControls() {
  auto* central = Named(new QWidget(this), "Panel");
  setCentralWidget(central);

  Label1 = Named(new QLabel(QStringLiteral("Query:"), central), "Label1");
  edQuery = Named(new QLineEdit(QLatin1String(kDesignQuery), central), "edQuery");
  Label1->setBuddy(edQuery);
  btnRun = Named(new QPushButton(QStringLiteral("&Run"), central), "btnRun");
  btnRun->setDefault(true);
  btnConnect = Named(new QPushButton(QLatin1String(kConnectCaption), central), "btnConnect");
  btScript = Named(new QPushButton(QStringLiteral("&Script"), central), "btScript");
  lblResult = Named(new QLabel(QStringLiteral("Result:"), central), "lblResult");
  lblResult->setFont(VornixFont(QLatin1String(kResultFont), kFontSize, fsBold));
  lblResult->setTextInteractionFlags(Qt::TextSelectableByMouse);
  Label2 = Named(new QLabel(QStringLiteral("_"), central), "Label2");
  Label2->setWordWrap(true);
  Label2->setTextInteractionFlags(Qt::TextSelectableByMouse);
  // Translated texts are plain text, whatever tags they hold.
  Label2->setTextFormat(Qt::PlainText);
  lblResult->setTextFormat(Qt::PlainText);
  dbGrid = Named(new QtDataGrid(central), "dbGrid");

  auto* queryRow = new QHBoxLayout;
  queryRow->addWidget(Label1);
  queryRow->addWidget(edQuery, 1);
  queryRow->addWidget(btnRun);
  auto* buttonRow = new QHBoxLayout;
  buttonRow->addWidget(btnConnect);
  buttonRow->addWidget(btScript);
  buttonRow->addWidget(lblResult, 1);
  auto* layout = new QVBoxLayout(central);
  layout->addLayout(queryRow);
  layout->addLayout(buttonRow);
  layout->addWidget(Label2);
  layout->addWidget(dbGrid, 1);

  sbInfo = Named(new QStatusBar(this), "sbInfo");
  sbInfo->setSizeGripEnabled(true);
  sbInfoPanel = Named(new QLabel(sbInfo), "sbInfoPanel");
  sbInfoPanel->setMinimumWidth(kStatusPanelWidth);
  // The only panel, so it reaches to the right edge.
  sbInfo->addWidget(sbInfoPanel, 1);
  setStatusBar(sbInfo);
}

template <typename Handler>
void TForm1::Guarded(Handler handler) {
  try {
    handler();
  } catch (...) {
    Application().HandleException(std::current_exception(), nullptr);
  }
}

bool TForm1::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) {
    Guarded([this] { controller_->FormActivate(); });
  }
  return QMainWindow::event(event);
}

void TForm1::closeEvent(QCloseEvent* event) {
  Guarded([this] { controller_->FormClose(); });
  QMainWindow::closeEvent(event);
}

std::string TForm1::QueryText() const {
  return edQuery->text().toStdString();
}

void TForm1::SetQueryText(const std::string& text) {
  edQuery->setText(ToQt(text));
}

std::string TForm1::ConnectCaption() const {
  return btnConnect->text().toStdString();
}

void TForm1::SetConnectCaption(const std::string& caption) {
  btnConnect->setText(ToQt(caption));
}

void TForm1::SetStatusText(const std::string& text) {
  sbInfoPanel->setText(ToQt(text));
}

void TForm1::SetResultCaption(const std::string& text) {
  lblResult->setText(ToQt(text));
}

void TForm1::SetTranslatedCaption(const std::string& text) {
  Label2->setText(ToQt(text));
}

std::optional<std::string> TForm1::ChooseScriptFile() {
  QFileDialog openDlg(this);
  openDlg.setObjectName(QStringLiteral("openDlg"));
  openDlg.setFileMode(QFileDialog::ExistingFile);
  openDlg.setAcceptMode(QFileDialog::AcceptOpen);
  if (openDlg.exec() != QDialog::Accepted || openDlg.selectedFiles().isEmpty()) {
    return std::nullopt;
  }
  return QFileInfo(openDlg.selectedFiles().first()).absoluteFilePath().toStdString();
}

ResultGrid* TForm1::Grid() {
  return dbGrid;
}

}  // namespace vorn
