// The Qt tests' application and modal driver; see QtTestSupport.h.
#include "QtTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <cstdio>

namespace vorn::qt_test {
namespace {

constexpr const char* kHandled = "vornTestHandled";

VornixApplication* gApp = nullptr;

QtMessageHandler gPreviousHandler = nullptr;

// The offscreen platform warns about every fixed-size window; that says
// nothing about the tests.
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.contains(QLatin1String("does not support propagateSizeHints"))) return;
  if (gPreviousHandler != nullptr) {
    gPreviousHandler(type, context, message);
  } else {
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
  }
}

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "app_qt_tests";
    static char* argv[] = {name, nullptr};
    gApp = new VornixApplication(argc, argv);
    gPreviousHandler = qInstallMessageHandler(QuietHandler);
  }
  void TearDown() override {
    delete gApp;
    gApp = nullptr;
    qInstallMessageHandler(gPreviousHandler);
  }
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

void Close(QWidget* window) {
  if (auto* dialog = qobject_cast<QDialog*>(window)) {
    dialog->reject();
  } else {
    window->close();
  }
}

}  // namespace

VornixApplication& App() {
  return *gApp;
}

ModalDriver::ModalDriver() {
  timer_.setInterval(0);
  connect(&timer_, &QTimer::timeout, this, [this] { Poll(); });
  timer_.start();
}

ModalDriver::~ModalDriver() {
  EXPECT_TRUE(steps_.empty()) << steps_.size() << " windows expected but never shown";
}

ModalDriver& ModalDriver::Then(Step step) {
  steps_.push_back(std::move(step));
  return *this;
}

void ModalDriver::Poll() {
  QWidget* window = QApplication::activeModalWidget();
  if (window == nullptr || !window->isVisible() || window->property(kHandled).toBool()) return;
  // Marked until it hides, so that a window shown again is a new step.
  window->setProperty(kHandled, true);
  window->installEventFilter(this);
  if (steps_.empty()) {
    ADD_FAILURE() << "a window nobody expected: " << window->windowTitle().toStdString();
    Close(window);
    return;
  }
  Step step = std::move(steps_.front());
  steps_.pop_front();
  step(window);
  if (window->isVisible()) {
    ADD_FAILURE() << "the step left the window open: " << window->windowTitle().toStdString();
    Close(window);
  }
}

bool ModalDriver::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Hide) {
    watched->setProperty(kHandled, false);
    watched->removeEventFilter(this);
  }
  return false;
}

void Click(QAbstractButton* button) {
  ASSERT_NE(button, nullptr);
  QTest::mouseClick(button, Qt::LeftButton);
}

void TypeInto(QWidget* edit, const QString& text) {
  ASSERT_NE(edit, nullptr);
  if (auto* line = qobject_cast<QLineEdit*>(edit)) line->clear();
  QTest::keyClicks(edit, text);
}

QMessageBox* MessageBox(QWidget* window) {
  auto* box = qobject_cast<QMessageBox*>(window);
  EXPECT_NE(box, nullptr) << "not a message box: "
                          << (window ? window->windowTitle().toStdString() : "none");
  return box;
}

QAbstractButton* Button(QWidget* window, int which) {
  QMessageBox* box = MessageBox(window);
  return box ? box->button(static_cast<QMessageBox::StandardButton>(which)) : nullptr;
}

QAbstractButton* Button(QWidget* window, const QString& caption) {
  QMessageBox* box = MessageBox(window);
  if (box == nullptr) return nullptr;
  for (QAbstractButton* button : box->buttons()) {
    if (button->text() == caption) return button;
  }
  return nullptr;
}

}  // namespace vorn::qt_test
