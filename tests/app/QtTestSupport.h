// What the Qt tests share.
//
// - The application: one VornixApplication for the test program, made
//   before the first test runs (on Qt's offscreen platform unless
//   QT_QPA_PLATFORM names another) and freed after the last.
// - ModalDriver: answers the modal windows (dialogs, message boxes) that
//   the code under test opens, one step per window shown, in order, as a
//   user would: each step gets the window and clicks or types in it.
//   A step that leaves its window open fails the test and the window is
//   closed, so a failing test never hangs in a dialog; a window with no
//   step left is closed the same way.
//
//   ModalDriver driver;
//   driver.Then([](QWidget* window) { Click(Button(window, QMessageBox::Ok)); });
//   code that shows a message box;
#pragma once

#include <gtest/gtest.h>

#include <QObject>
#include <QString>
#include <QTimer>
#include <deque>
#include <functional>
#include <ostream>

#include "QtApplication.h"

class QAbstractButton;
class QMessageBox;

// Texts in the failure messages of GoogleTest.
inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

namespace vorn::qt_test {

VornixApplication& App();

class ModalDriver : public QObject {
 public:
  using Step = std::function<void(QWidget* window)>;

  ModalDriver();
  ~ModalDriver() override;

  ModalDriver& Then(Step step);
  int StepsLeft() const { return static_cast<int>(steps_.size()); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Poll();

  QTimer timer_;
  std::deque<Step> steps_;
};

// Clicks `button` with the mouse.
void Click(QAbstractButton* button);
// Replaces the text of the line edit `edit` by typing `text` into it.
void TypeInto(QWidget* edit, const QString& text);
// The message box that `window` is (failing the test when it is none), and
// its button of `which` (a QMessageBox::StandardButton) or caption.
QMessageBox* MessageBox(QWidget* window);
QAbstractButton* Button(QWidget* window, int which);
QAbstractButton* Button(QWidget* window, const QString& caption);

}  // namespace vorn::qt_test
