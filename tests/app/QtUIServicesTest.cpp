// The host's UI services on Qt: message boxes, the screen cursor, the
// display of exceptions (also of those escaping event handlers), and
// worker threads' Synchronize calls run by the Qt event loop.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "QtTestSupport.h"
#include "QtUIServices.h"
#include "vorn/host/Application.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/RecordingUIServices.h"
#include "vorn/host/Screen.h"
#include "vorn/host/Thread.h"

namespace vorn::qt_test {
namespace {

// The buttons of a box, by their texts.
QStringList ButtonTexts(QMessageBox* box) {
  QStringList texts;
  for (QAbstractButton* button : box->buttons())
    texts << button->text();
  texts.sort();
  return texts;
}

TEST(QtUIServicesTest, AMessageBoxHasTheKindsIconCaptionTextAndButtons) {
  ModalDriver driver;
  driver.Then([](QWidget* window) {
    QMessageBox* box = MessageBox(window);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->icon(), QMessageBox::Question);
    EXPECT_EQ(box->windowTitle(), "Confirm");
    EXPECT_EQ(box->text(), "ORA-28002: soon\nChange now?");
    EXPECT_EQ(box->buttons().size(), 2);
    EXPECT_EQ(static_cast<QAbstractButton*>(box->defaultButton()), box->button(QMessageBox::Yes));
    Click(Button(window, QMessageBox::No));
  });

  const TModalResult result =
      MessageDlg("ORA-28002: soon\r\nChange now?", mtConfirmation, mbYes | mbNo);

  EXPECT_EQ(result, mrNo);
}

TEST(QtUIServicesTest, EveryKindHasItsIconAndTheDefaultButtonFollowsTheHostsRule) {
  const std::pair<TMsgDlgType, QMessageBox::Icon> kinds[] = {
      {mtWarning, QMessageBox::Warning},
      {mtError, QMessageBox::Critical},
      {mtInformation, QMessageBox::Information},
      {mtCustom, QMessageBox::NoIcon},
  };
  for (const auto& [type, icon] : kinds) {
    ModalDriver driver;
    driver.Then([icon = icon](QWidget* window) {
      QMessageBox* box = MessageBox(window);
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->icon(), icon);
      EXPECT_EQ(static_cast<QAbstractButton*>(box->defaultButton()),
                box->button(QMessageBox::Retry));
      Click(box->defaultButton());
    });

    EXPECT_EQ(MessageDlg("text", type, mbAbortRetryIgnore), mrRetry);
  }
}

TEST(QtUIServicesTest, EveryHostButtonIsOfferedAndAnswers) {
  const TMsgDlgButtons all = mbYes | mbNo | mbOK | mbCancel | mbAbort | mbRetry | mbIgnore | mbAll |
                             mbNoToAll | mbYesToAll;
  ModalDriver driver;
  driver.Then([](QWidget* window) {
    QMessageBox* box = MessageBox(window);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->buttons().size(), 10);
    EXPECT_EQ(static_cast<QAbstractButton*>(box->defaultButton()), box->button(QMessageBox::Ok));
    Click(Button(window, "All"));
  });
  driver.Then([](QWidget* window) { Click(Button(window, QMessageBox::NoToAll)); });

  EXPECT_EQ(MessageDlg("choose", mtCustom, all), mrAll);
  EXPECT_EQ(MessageDlg("choose", mtCustom, all), mrNoToAll);
}

TEST(QtUIServicesTest, EscapeOnAnOkCancelBoxCancels) {
  ModalDriver driver;
  driver.Then([](QWidget* window) { QTest::keyClick(window, Qt::Key_Escape); });

  EXPECT_EQ(MessageDlg("sure?", mtWarning, mbOKCancel), mrCancel);
}

TEST(QtUIServicesTest, ExceptionsAreShownInAnErrorBoxCaptionedWithTheTitle) {
  ModalDriver driver;
  QString text, caption;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QStringList buttons;
  driver.Then([&](QWidget* window) {
    QMessageBox* box = MessageBox(window);
    ASSERT_NE(box, nullptr);
    text = box->text();
    caption = box->windowTitle();
    icon = box->icon();
    buttons = ButtonTexts(box);
    Click(box->buttons().at(0));
  });

  Application().ShowException(Exception("Not logged on"));

  EXPECT_EQ(text, "Not logged on.");
  EXPECT_EQ(caption, QString::fromStdString(Application().Title()));
  EXPECT_EQ(icon, QMessageBox::Critical);
  EXPECT_EQ(buttons.size(), 1);
}

TEST(QtUIServicesTest, AnExceptionEscapingAnEventHandlerReachesTheApplicationsDisplay) {
  RecordingUIServices recorder;
  ScopedUIServices scope(recorder);
  QEventLoop loop;
  QTimer::singleShot(0, [] { throw Exception("ORA-03113: end-of-file on communication channel"); });
  QTimer::singleShot(0, &loop, &QEventLoop::quit);

  loop.exec();

  ASSERT_EQ(recorder.Messages().size(), 1u);
  EXPECT_TRUE(recorder.Messages()[0].IsException);
  EXPECT_EQ(recorder.Messages()[0].Box.Text, "ORA-03113: end-of-file on communication channel.");
}

TEST(QtUIServicesTest, TheWaitCursorIsTheOverrideCursorUntilTheDefaultComesBack) {
  ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);

  {
    TCursorGuard wait(crHourGlass);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    {
      TCursorGuard sql(crSQLWait);
      EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::BusyCursor);
    }
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  }

  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "no override left behind";
}

TEST(QtUIServicesTest, HostCursorsHaveTheirQtShapes) {
  EXPECT_EQ(CursorShapeOf(crHourGlass), Qt::WaitCursor);
  EXPECT_EQ(CursorShapeOf(crIBeam), Qt::IBeamCursor);
  EXPECT_EQ(CursorShapeOf(crHandPoint), Qt::PointingHandCursor);
  EXPECT_EQ(CursorShapeOf(crNo), Qt::ForbiddenCursor);
  EXPECT_EQ(CursorShapeOf(crSizeWE), Qt::SizeHorCursor);
  EXPECT_EQ(CursorShapeOf(crDefault), Qt::ArrowCursor);
}

// How long a test waits for a worker's call before it gives up, so that a
// call that never comes fails the test instead of hanging it.
constexpr int kHangGuardMs = 30000;

// A worker that runs one call on the main thread.
class SynchronizingThread : public TThread {
 public:
  explicit SynchronizingThread(TThreadMethod method) : method_(std::move(method)) {}
  ~SynchronizingThread() override {
    Terminate();
    if (!Suspended()) WaitFor();
  }

 protected:
  void Execute() override { Synchronize(method_); }

 private:
  TThreadMethod method_;
};

TEST(QtUIServicesTest, SynchronizeCallsRunInTheEventLoop) {
  QEventLoop loop;
  bool onMainThread = false;
  SynchronizingThread worker([&] {
    onMainThread = IsMainThread();
    loop.quit();
  });

  // Only against a hang: the call comes long before.
  QTimer::singleShot(kHangGuardMs, &loop, &QEventLoop::quit);

  worker.Start();
  loop.exec();

  EXPECT_TRUE(onMainThread);
}

TEST(QtUIServicesTest, SynchronizeCallsRunWhileAModalBoxWaits) {
  std::unique_ptr<SynchronizingThread> worker;
  bool closedByTheWorker = false;
  // Once the box is up, a worker starts whose call, run by the box's own
  // event loop, closes the box.
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    worker = std::make_unique<SynchronizingThread>([box, &closedByTheWorker] {
      closedByTheWorker = true;
      box->button(QMessageBox::Ok)->click();
    });
    worker->Start();
    QTimer::singleShot(kHangGuardMs, box, &QMessageBox::reject);
  });

  EXPECT_EQ(MessageDlg("Waiting for the worker", mtInformation, mbOK), mrOk);

  EXPECT_TRUE(closedByTheWorker);
}

}  // namespace
}  // namespace vorn::qt_test
