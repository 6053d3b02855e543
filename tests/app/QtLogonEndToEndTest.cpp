// The logon component with the real Qt dialogs and message boxes against
// the demo database, a user answering every window: retries after a
// wrong password, the alias list, an expired password changed, a
// password in its grace period.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "QtLogonDialog.h"
#include "QtTestSupport.h"
#include "QtUIServices.h"
#include "SessionTestSupport.h"
#include "vorn/session/OracleLogon.h"

namespace vorn::qt_test {
namespace {

class QtLogonEndToEndTest : public session_test::SessionTest {
 protected:
  QtLogonEndToEndTest() : qtServices_(App().Services()) {}

  std::unique_ptr<TOracleSession> Session(const std::string& user, const std::string& password,
                                          TLogonOptions options = ldDatabase) {
    auto session = NewSession(user, password);
    logon_.SetSession(session.get());
    logon_.SetOptions(options);
    return session;
  }

  static TLogOnForm* Form(QWidget* window) {
    auto* form = qobject_cast<TLogOnForm*>(window);
    EXPECT_NE(form, nullptr) << "not the logon form: " << window->windowTitle().toStdString();
    return form;
  }

  // Over the fixture's recording services: real message boxes.
  ScopedUIServices qtServices_;
  TOracleLogon logon_;
  ModalDriver driver_;
};

TEST_F(QtLogonEndToEndTest, AWrongPasswordIsShownAndTheUserTriesAgain) {
  auto session = Session("scott", "");
  QString error;
  driver_.Then([](QWidget* window) {
    TLogOnForm* form = Form(window);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), "Oracle Logon");
    TypeInto(form->PasswordEdit, "lion");
    Click(form->OKBtn);
  });
  driver_.Then([&](QWidget* window) {
    QMessageBox* box = MessageBox(window);
    ASSERT_NE(box, nullptr);
    error = box->text();
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    Click(Button(window, QMessageBox::Ok));
  });
  driver_.Then([](QWidget* window) {
    TLogOnForm* form = Form(window);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->PasswordEdit->text(), "lion") << "refilled from the session";
    TypeInto(form->PasswordEdit, "tiger");
    Click(form->OKBtn);
  });

  EXPECT_TRUE(logon_.Execute());

  EXPECT_TRUE(session->Connected());
  EXPECT_TRUE(error.startsWith("ORA-01017")) << error.toStdString();
}

TEST_F(QtLogonEndToEndTest, CancellingTheDialogLogsNothingOn) {
  auto session = Session("scott", "tiger");
  driver_.Then([](QWidget* window) { Click(Form(window)->CancelBtn); });

  EXPECT_FALSE(logon_.Execute());

  EXPECT_FALSE(session->Connected());
}

TEST_F(QtLogonEndToEndTest, TheUserPicksAnAliasFromTheList) {
  auto session = Session("scott", "tiger", ldDatabase | ldDatabaseList);
  driver_.Then([](QWidget* window) {
    TLogOnForm* form = Form(window);
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(form->AliasList->isVisible());
    const int demo = form->AliasList->findText("DEMO");
    ASSERT_GE(demo, 0);
    form->AliasList->setCurrentIndex(demo);
    Click(form->OKBtn);
  });

  EXPECT_TRUE(logon_.Execute());

  EXPECT_TRUE(session->Connected());
  EXPECT_EQ(session->LogonDatabase(), "DEMO");
}

TEST_F(QtLogonEndToEndTest, AnExpiredPasswordIsChangedInTheSecondArrangement) {
  auto session = Session("expired_user", "pw");
  driver_.Then([](QWidget* window) { Click(Form(window)->OKBtn); });
  driver_.Then([](QWidget* window) {
    TLogOnForm* form = Form(window);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), "Your password has expired");
    EXPECT_FALSE(form->DBPanel->isVisible());
    TypeInto(form->UsernameEdit, "fresh");
    TypeInto(form->PasswordEdit, "other");
    Click(form->OKBtn);
  });
  driver_.Then([](QWidget* window) {
    EXPECT_EQ(MessageBox(window)->text(), "Verification failed");
    Click(Button(window, QMessageBox::Ok));
  });
  driver_.Then([](QWidget* window) {
    TLogOnForm* form = Form(window);
    ASSERT_NE(form, nullptr);
    TypeInto(form->PasswordEdit, "FRESH");
    Click(form->OKBtn);
  });

  EXPECT_TRUE(logon_.Execute());

  EXPECT_TRUE(session->Connected());
  EXPECT_EQ(session->LogonPassword(), "FRESH");
}

TEST_F(QtLogonEndToEndTest, AGracePeriodLogonOffersTheChange) {
  auto session = Session("grace_user", "pw");
  QString question, caption;
  driver_.Then([](QWidget* window) { Click(Form(window)->OKBtn); });
  driver_.Then([&](QWidget* window) {
    QMessageBox* box = MessageBox(window);
    ASSERT_NE(box, nullptr);
    question = box->text();
    caption = box->windowTitle();
    Click(Button(window, QMessageBox::Yes));
  });
  driver_.Then([](QWidget* window) {
    TLogOnForm* form = Form(window);
    ASSERT_NE(form, nullptr);
    TypeInto(form->UsernameEdit, "renewed");
    TypeInto(form->PasswordEdit, "renewed");
    Click(form->OKBtn);
  });

  EXPECT_TRUE(logon_.Execute());

  EXPECT_TRUE(session->Connected());
  EXPECT_EQ(caption, "Confirm");
  EXPECT_TRUE(question.startsWith("ORA-28002")) << question.toStdString();
  EXPECT_TRUE(question.endsWith("\nDo you wish to change your password now?"));
  EXPECT_EQ(session->LogonPassword(), "renewed");
}

}  // namespace
}  // namespace vorn::qt_test
