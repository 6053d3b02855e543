// The host's UI services on Qt; see QtUIServices.h.
#include "QtUIServices.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "vorn/host/Thread.h"

namespace vorn {
namespace {

struct ButtonMapping {
  TMsgDlgBtn button;
  QMessageBox::StandardButton standard;  // NoButton: a button of our own
};

// In the order the host lists its buttons.
constexpr ButtonMapping kButtons[] = {
    {mbYes, QMessageBox::Yes},         {mbNo, QMessageBox::No},
    {mbOK, QMessageBox::Ok},           {mbCancel, QMessageBox::Cancel},
    {mbAbort, QMessageBox::Abort},     {mbRetry, QMessageBox::Retry},
    {mbIgnore, QMessageBox::Ignore},   {mbAll, QMessageBox::NoButton},
    {mbNoToAll, QMessageBox::NoToAll}, {mbYesToAll, QMessageBox::YesToAll},
    {mbHelp, QMessageBox::Help},
};

QMessageBox::Icon IconOf(TMsgDlgType type) {
  switch (type) {
    case mtWarning:
      return QMessageBox::Warning;
    case mtError:
      return QMessageBox::Critical;
    case mtInformation:
      return QMessageBox::Information;
    case mtConfirmation:
      return QMessageBox::Question;
    default:
      return QMessageBox::NoIcon;
  }
}

QString DisplayText(const std::string& text) {
  return QString::fromStdString(text).replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

}  // namespace

QtUIServices::QtUIServices() {
  SetWakeMainThread([] {
    if (QCoreApplication* app = QCoreApplication::instance()) {
      QMetaObject::invokeMethod(
          app, [] { CheckSynchronize(); }, Qt::QueuedConnection);
    }
  });
  // Calls queued before the hook was there.
  QMetaObject::invokeMethod(
      qApp, [] { CheckSynchronize(); }, Qt::QueuedConnection);
}

QtUIServices::~QtUIServices() {
  SetWakeMainThread({});
  if (overriding_) QGuiApplication::restoreOverrideCursor();
}

TModalResult QtUIServices::ShowMessageBox(const TMessageBox& box) {
  QMessageBox dialog(IconOf(box.DlgType), QString::fromStdString(box.Caption),
                     DisplayText(box.Text), QMessageBox::NoButton, QApplication::activeWindow());
  const TMsgDlgBtn fallback = DefaultButton(box.Buttons);
  std::vector<std::pair<QAbstractButton*, TMsgDlgBtn>> buttons;
  for (const ButtonMapping& mapping : kButtons) {
    if (!(box.Buttons & mapping.button)) continue;
    QAbstractButton* button =
        mapping.standard != QMessageBox::NoButton
            ? dialog.addButton(mapping.standard)
            : dialog.addButton(QString::fromStdString(ButtonCaption(mapping.button)),
                               QMessageBox::AcceptRole);
    buttons.emplace_back(button, mapping.button);
    if (mapping.button == fallback) {
      if (auto* push = qobject_cast<QPushButton*>(button)) dialog.setDefaultButton(push);
    }
  }
  if (buttons.empty()) dialog.addButton(QMessageBox::Ok);
  dialog.exec();
  for (const auto& [button, kind] : buttons) {
    if (dialog.clickedButton() == button) return ModalResultOf(kind);
  }
  return buttons.empty() ? mrOk : mrCancel;
}

void QtUIServices::ShowCursor(TCursor cursor) {
  if (cursor == crDefault) {
    if (overriding_) QGuiApplication::restoreOverrideCursor();
    overriding_ = false;
    return;
  }
  if (overriding_) {
    QGuiApplication::changeOverrideCursor(QCursor(CursorShapeOf(cursor)));
  } else {
    QGuiApplication::setOverrideCursor(QCursor(CursorShapeOf(cursor)));
    overriding_ = true;
  }
}

Qt::CursorShape CursorShapeOf(TCursor cursor) {
  switch (cursor) {
    case crNone:
      return Qt::BlankCursor;
    case crCross:
      return Qt::CrossCursor;
    case crIBeam:
      return Qt::IBeamCursor;
    case crSizeNESW:
      return Qt::SizeBDiagCursor;
    case crSizeNS:
      return Qt::SizeVerCursor;
    case crSizeNWSE:
      return Qt::SizeFDiagCursor;
    case crSizeWE:
      return Qt::SizeHorCursor;
    case crUpArrow:
      return Qt::UpArrowCursor;
    case crHourGlass:
      return Qt::WaitCursor;
    case crDrag:
      return Qt::DragMoveCursor;
    case crNoDrop:
    case crNo:
      return Qt::ForbiddenCursor;
    case crHSplit:
      return Qt::SplitHCursor;
    case crVSplit:
      return Qt::SplitVCursor;
    case crMultiDrag:
      return Qt::DragCopyCursor;
    case crSQLWait:
    case crAppStart:
      return Qt::BusyCursor;
    case crHelp:
      return Qt::WhatsThisCursor;
    case crHandPoint:
      return Qt::PointingHandCursor;
    case crSizeAll:
      return Qt::SizeAllCursor;
    default:
      return Qt::ArrowCursor;
  }
}

}  // namespace vorn
