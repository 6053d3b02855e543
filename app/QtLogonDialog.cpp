// The Qt logon form; see QtLogonDialog.h.
#include "QtLogonDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "QtFonts.h"

namespace vorn {
namespace {

constexpr const char* kFormFont = "MS Sans Serif";
constexpr int kFormFontSize = 8;

// Masked edits show "*" for every character, whatever the platform's own
// password character is.
class AsteriskStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == SH_LineEdit_PasswordCharacter) return '*';
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};

// One style for every masked edit of the process; it lives as long as the
// application object, which outlives the forms.
QStyle* MaskStyle() {
  static QPointer<QStyle> style;
  if (!style) {
    style = new AsteriskStyle;
    style->setParent(qApp);
  }
  return style;
}

void Mask(QLineEdit* edit) {
  edit->setEchoMode(QLineEdit::Password);
  edit->setStyle(MaskStyle());
}

QString ToQt(const std::string& text) {
  return QString::fromStdString(text);
}

QLabel* NewLabel(QWidget* parent, const char* name, QWidget* buddy) {
  auto* label = new QLabel(parent);
  label->setObjectName(QLatin1String(name));
  label->setBuddy(buddy);
  return label;
}

QLineEdit* NewEdit(QWidget* parent, const char* name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QLatin1String(name));
  edit->setMinimumWidth(160);
  return edit;
}

}  // namespace

TLogOnForm::TLogOnForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("LogOnForm"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
  setFont(VornixFont(QLatin1String(kFormFont), kFormFontSize));

  GroupBox = new QGroupBox(this);
  GroupBox->setObjectName(QStringLiteral("GroupBox"));
  UsernameEdit = NewEdit(GroupBox, "UsernameEdit");
  Label1 = NewLabel(GroupBox, "Label1", UsernameEdit);
  PasswordEdit = NewEdit(GroupBox, "PasswordEdit");
  Mask(PasswordEdit);
  Label2 = NewLabel(GroupBox, "Label2", PasswordEdit);

  DBPanel = new QWidget(GroupBox);
  DBPanel->setObjectName(QStringLiteral("DBPanel"));
  DatabaseEdit = NewEdit(DBPanel, "DatabaseEdit");
  AliasList = new QComboBox(DBPanel);
  AliasList->setObjectName(QStringLiteral("AliasList"));
  AliasList->setEditable(true);
  AliasList->setInsertPolicy(QComboBox::NoInsert);
  AliasList->hide();
  Label3 = NewLabel(DBPanel, "Label3", DatabaseEdit);

  auto* fields = new QGridLayout;
  fields->addWidget(Label1, 0, 0);
  fields->addWidget(UsernameEdit, 0, 1);
  fields->addWidget(Label2, 1, 0);
  fields->addWidget(PasswordEdit, 1, 1);
  auto* dbLayout = new QGridLayout(DBPanel);
  dbLayout->setContentsMargins(0, 0, 0, 0);
  dbLayout->addWidget(Label3, 0, 0);
  // The alias list takes the edit's place: same cell, one of them hidden.
  dbLayout->addWidget(DatabaseEdit, 0, 1);
  dbLayout->addWidget(AliasList, 0, 1);
  dbLayout->setColumnStretch(1, 1);
  auto* groupLayout = new QVBoxLayout(GroupBox);
  groupLayout->addLayout(fields);
  groupLayout->addWidget(DBPanel);  // at the bottom of the group box

  ButtonPanel = new QWidget(this);
  ButtonPanel->setObjectName(QStringLiteral("ButtonPanel"));
  OKBtn = new QPushButton(ButtonPanel);
  OKBtn->setObjectName(QStringLiteral("OKBtn"));
  OKBtn->setDefault(true);
  CancelBtn = new QPushButton(ButtonPanel);
  CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
  auto* buttons = new QHBoxLayout(ButtonPanel);
  buttons->setContentsMargins(0, 0, 0, 0);
  buttons->addStretch();
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

  // The form's own captions; the dialogs set theirs from the dialog texts.
  setWindowTitle(QStringLiteral("Oracle Logon"));
  Label1->setText(QStringLiteral("Username"));
  Label2->setText(QStringLiteral("Password"));
  Label3->setText(QStringLiteral("Database"));
  OKBtn->setText(QStringLiteral("OK"));
  CancelBtn->setText(QStringLiteral("Cancel"));
  AlignLabels();

  auto* window = new QVBoxLayout(this);
  // The window takes the size its contents need, and follows them when
  // DBPanel is hidden.
  window->setSizeConstraint(QLayout::SetFixedSize);
  window->addWidget(GroupBox);
  window->addWidget(ButtonPanel);  // at the bottom of the window
}

TLogOnForm::~TLogOnForm() = default;

void TLogOnForm::SetCaption(const std::string& text) {
  setWindowTitle(ToQt(text));
}

QLabel* TLogOnForm::LabelOf(TLogonField field) const {
  switch (field) {
    case TLogonField::Username:
      return Label1;
    case TLogonField::Password:
      return Label2;
    default:
      return Label3;
  }
}

void TLogOnForm::SetLabelCaption(TLogonField field, const std::string& text) {
  LabelOf(field)->setText(ToQt(text));
  AlignLabels();
}

void TLogOnForm::AlignLabels() {
  int width = 0;
  for (QLabel* label : {Label1, Label2, Label3}) {
    label->setMinimumWidth(0);
    width = std::max(width, label->sizeHint().width());
  }
  for (QLabel* label : {Label1, Label2, Label3})
    label->setMinimumWidth(width);
}

void TLogOnForm::SetButtonCaptions(const std::string& ok, const std::string& cancel) {
  OKBtn->setText(ToQt(ok));
  CancelBtn->setText(ToQt(cancel));
}

void TLogOnForm::SetFontStyle(TFontStyles style) {
  QFont styled = font();
  ApplyFontStyle(styled, style);
  setFont(styled);
  AlignLabels();
}

void TLogOnForm::MaskUsername() {
  Mask(UsernameEdit);
}

void TLogOnForm::HideDatabase() {
  DBPanel->hide();
}

void TLogOnForm::UseAliasList(const std::vector<std::string>& aliases, int dropDownCount) {
  const QString text = DatabaseEdit->text();
  AliasList->clear();
  for (const std::string& alias : aliases)
    AliasList->addItem(ToQt(alias));
  AliasList->setMaxVisibleItems(std::max(1, dropDownCount));
  AliasList->setEditText(text);
  DatabaseEdit->hide();
  AliasList->show();
  Label3->setBuddy(AliasList);
}

std::string TLogOnForm::Text(TLogonField field) const {
  switch (field) {
    case TLogonField::Username:
      return UsernameEdit->text().toStdString();
    case TLogonField::Password:
      return PasswordEdit->text().toStdString();
    default:
      return (AliasList->isHidden() ? DatabaseEdit->text() : AliasList->currentText())
          .toStdString();
  }
}

void TLogOnForm::SetText(TLogonField field, const std::string& text) {
  switch (field) {
    case TLogonField::Username:
      UsernameEdit->setText(ToQt(text));
      break;
    case TLogonField::Password:
      PasswordEdit->setText(ToQt(text));
      break;
    default:
      DatabaseEdit->setText(ToQt(text));
      AliasList->setEditText(ToQt(text));
      break;
  }
}

TModalResult TLogOnForm::ShowModal() {
  return exec() == QDialog::Accepted ? mrOk : mrCancel;
}

void TLogOnForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
  (UsernameEdit->text().isEmpty() ? UsernameEdit : PasswordEdit)->setFocus();
}

LogonFormFactory QtLogonForms() {
  return [] { return std::make_unique<TLogOnForm>(); };
}

}  // namespace vorn
