// TLogOnForm on screen, arranged as the logon dialog and as the
// password-change dialog, driven as a user would drive it.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTest>

#include "QtFonts.h"
#include "QtLogonDialog.h"
#include "QtTestSupport.h"

namespace vorn::qt_test {
namespace {

// The form arranged as the logon dialog arranges it.
void ArrangeLogon(TLogOnForm& form, const std::string& user, const std::string& password,
                  const std::string& database) {
  form.SetCaption("Oracle Logon");
  form.SetButtonCaptions("OK", "Cancel");
  form.SetLabelCaption(TLogonField::Username, "Username");
  form.SetLabelCaption(TLogonField::Password, "Password");
  form.SetLabelCaption(TLogonField::Database, "Database");
  form.SetText(TLogonField::Username, user);
  form.SetText(TLogonField::Password, password);
  form.SetText(TLogonField::Database, database);
}

// As the password-change dialog arranges it.
void ArrangePasswordChange(TLogOnForm& form) {
  form.SetCaption("Your password has expired");
  form.SetButtonCaptions("OK", "Cancel");
  form.SetLabelCaption(TLogonField::Username, "New password");
  form.SetLabelCaption(TLogonField::Password, "Verification");
  form.MaskUsername();
  form.HideDatabase();
}

bool ShowsAsterisks(QLineEdit* edit) {
  return edit->echoMode() == QLineEdit::Password &&
         edit->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, edit) == '*';
}

TEST(QtLogonDialogTest, ANewFormCarriesTheLogonCaptionsAndNoAliasList) {
  TLogOnForm form;

  EXPECT_EQ(form.windowTitle(), "Oracle Logon");
  EXPECT_EQ(form.Label1->text(), "Username");
  EXPECT_EQ(form.Label2->text(), "Password");
  EXPECT_EQ(form.Label3->text(), "Database");
  EXPECT_EQ(form.OKBtn->text(), "OK");
  EXPECT_EQ(form.CancelBtn->text(), "Cancel");
  EXPECT_TRUE(form.AliasList->isHidden());
  EXPECT_FALSE(form.DatabaseEdit->isHidden());
  EXPECT_EQ(form.objectName(), "LogOnForm");
  EXPECT_EQ(form.findChild<QLineEdit*>("UsernameEdit"), form.UsernameEdit);
  EXPECT_EQ(form.findChild<QWidget*>("DBPanel"), form.DBPanel);
}

TEST(QtLogonDialogTest, TheLogonArrangementShowsItsFieldsAndConfirmsWithEnter) {
  TLogOnForm form;
  ArrangeLogon(form, "scott", "", "DEMO");
  ModalDriver driver;
  driver.Then([&](QWidget* window) {
    ASSERT_EQ(window, &form);
    EXPECT_EQ(form.windowTitle(), "Oracle Logon");
    EXPECT_EQ(form.Label1->text(), "Username");
    EXPECT_EQ(form.Label2->text(), "Password");
    EXPECT_EQ(form.Label3->text(), "Database");
    EXPECT_EQ(form.OKBtn->text(), "OK");
    EXPECT_EQ(form.CancelBtn->text(), "Cancel");
    EXPECT_TRUE(form.OKBtn->isDefault());
    EXPECT_EQ(form.UsernameEdit->text(), "scott");
    EXPECT_EQ(form.DatabaseEdit->text(), "DEMO");
    EXPECT_TRUE(form.DBPanel->isVisible());
    EXPECT_TRUE(form.DatabaseEdit->isVisible());
    EXPECT_FALSE(form.AliasList->isVisible());
    EXPECT_EQ(form.UsernameEdit->echoMode(), QLineEdit::Normal);
    EXPECT_TRUE(ShowsAsterisks(form.PasswordEdit));
    EXPECT_EQ(form.focusWidget(), form.PasswordEdit) << "the user name is there already";
    TypeInto(form.PasswordEdit, "tiger");
    EXPECT_EQ(form.PasswordEdit->displayText(), "*****");
    QTest::keyClick(form.PasswordEdit, Qt::Key_Return);
  });

  EXPECT_EQ(form.ShowModal(), mrOk);

  EXPECT_EQ(form.Text(TLogonField::Username), "scott");
  EXPECT_EQ(form.Text(TLogonField::Password), "tiger");
  EXPECT_EQ(form.Text(TLogonField::Database), "DEMO");
}

TEST(QtLogonDialogTest, WithoutAUserNameTheFocusStartsThere) {
  TLogOnForm form;
  ArrangeLogon(form, "", "", "");
  ModalDriver driver;
  driver.Then([&](QWidget*) {
    EXPECT_EQ(form.focusWidget(), form.UsernameEdit);
    Click(form.OKBtn);
  });

  EXPECT_EQ(form.ShowModal(), mrOk);
}

TEST(QtLogonDialogTest, CancelAndEscapeCancel) {
  TLogOnForm form;
  ArrangeLogon(form, "scott", "tiger", "DEMO");
  ModalDriver driver;
  driver.Then([&](QWidget*) {
    TypeInto(form.UsernameEdit, "man");
    Click(form.CancelBtn);
  });
  driver.Then([&](QWidget*) { QTest::keyClick(form.UsernameEdit, Qt::Key_Escape); });

  EXPECT_EQ(form.ShowModal(), mrCancel);
  EXPECT_EQ(form.ShowModal(), mrCancel);

  EXPECT_EQ(form.Text(TLogonField::Username), "man") << "a cancelled form keeps what was typed";
}

TEST(QtLogonDialogTest, ShowingAgainPutsTheFocusAfreshAndKeepsTheFields) {
  TLogOnForm form;
  ArrangeLogon(form, "", "", "");
  ModalDriver driver;
  driver.Then([&](QWidget*) {
    TypeInto(form.UsernameEdit, "scott");
    Click(form.OKBtn);
  });
  driver.Then([&](QWidget*) {
    EXPECT_EQ(form.UsernameEdit->text(), "scott");
    EXPECT_EQ(form.focusWidget(), form.PasswordEdit);
    Click(form.OKBtn);
  });

  EXPECT_EQ(form.ShowModal(), mrOk);
  EXPECT_EQ(form.ShowModal(), mrOk);
}

TEST(QtLogonDialogTest, TheAliasListTakesTheDatabaseEditsPlace) {
  TLogOnForm form;
  ArrangeLogon(form, "scott", "tiger", "");
  form.UseAliasList({"DEMO", "ORCL", "VORN"}, 5);
  form.SetText(TLogonField::Database, "ORCL");
  ModalDriver driver;
  driver.Then([&](QWidget*) {
    EXPECT_TRUE(form.AliasList->isVisible());
    EXPECT_FALSE(form.DatabaseEdit->isVisible());
    EXPECT_EQ(form.AliasList->maxVisibleItems(), 5);
    ASSERT_EQ(form.AliasList->count(), 3);
    EXPECT_EQ(form.AliasList->itemText(0), "DEMO");
    EXPECT_EQ(form.AliasList->itemText(2), "VORN");
    EXPECT_EQ(form.AliasList->currentText(), "ORCL");
    // Lined up with the other fields, as wide as they are.
    const int left = form.UsernameEdit->mapTo(&form, QPoint(0, 0)).x();
    EXPECT_EQ(form.AliasList->mapTo(&form, QPoint(0, 0)).x(), left);
    EXPECT_EQ(form.AliasList->width(), form.UsernameEdit->width());
    EXPECT_EQ(form.Label3->buddy(), form.AliasList);
    form.AliasList->setCurrentIndex(2);
    Click(form.OKBtn);
  });
  driver.Then([&](QWidget*) {
    TypeInto(form.AliasList->lineEdit(), "ELSEWHERE");
    Click(form.OKBtn);
  });

  EXPECT_EQ(form.ShowModal(), mrOk);
  EXPECT_EQ(form.Text(TLogonField::Database), "VORN");
  EXPECT_EQ(form.ShowModal(), mrOk);
  EXPECT_EQ(form.Text(TLogonField::Database), "ELSEWHERE") << "any text, not only an alias";
}

TEST(QtLogonDialogTest, HidingTheDatabaseShrinksTheGroupBoxAndTheWindowByThePanel) {
  TLogOnForm full;
  ArrangeLogon(full, "scott", "tiger", "DEMO");
  TLogOnForm compact;
  ArrangeLogon(compact, "scott", "tiger", "DEMO");
  compact.HideDatabase();
  QSize fullWindow, fullGroup, compactWindow, compactGroup;
  int panel = 0;
  ModalDriver driver;
  driver.Then([&](QWidget*) {
    fullWindow = full.size();
    fullGroup = full.GroupBox->size();
    panel = full.DBPanel->height();
    Click(full.OKBtn);
  });
  driver.Then([&](QWidget*) {
    EXPECT_FALSE(compact.DBPanel->isVisible());
    compactWindow = compact.size();
    compactGroup = compact.GroupBox->size();
    Click(compact.OKBtn);
  });

  full.ShowModal();
  compact.ShowModal();

  ASSERT_GT(panel, 0);
  const int shrink = fullWindow.height() - compactWindow.height();
  EXPECT_GE(shrink, panel);
  EXPECT_LE(shrink, panel + full.GroupBox->layout()->spacing()) << "the panel and its spacing";
  EXPECT_EQ(fullGroup.height() - compactGroup.height(), shrink);
  EXPECT_EQ(fullWindow.width(), compactWindow.width());
}

TEST(QtLogonDialogTest, ThePasswordChangeArrangementMasksBothFields) {
  TLogOnForm form;
  ArrangePasswordChange(form);
  ModalDriver driver;
  driver.Then([&](QWidget*) {
    EXPECT_EQ(form.windowTitle(), "Your password has expired");
    EXPECT_EQ(form.Label1->text(), "New password");
    EXPECT_EQ(form.Label2->text(), "Verification");
    EXPECT_TRUE(ShowsAsterisks(form.UsernameEdit));
    EXPECT_TRUE(ShowsAsterisks(form.PasswordEdit));
    EXPECT_FALSE(form.DBPanel->isVisible());
    EXPECT_EQ(form.focusWidget(), form.UsernameEdit);
    TypeInto(form.UsernameEdit, "fresh");
    TypeInto(form.PasswordEdit, "FRESH");
    EXPECT_EQ(form.UsernameEdit->displayText(), "*****");
    Click(form.OKBtn);
  });

  EXPECT_EQ(form.ShowModal(), mrOk);

  EXPECT_EQ(form.Text(TLogonField::Username), "fresh");
  EXPECT_EQ(form.Text(TLogonField::Password), "FRESH");
}

TEST(QtLogonDialogTest, TheFormIsInTheMappedDialogFontWithTheDialogsStyle) {
  TLogOnForm form;
  ArrangeLogon(form, "", "", "");

  EXPECT_EQ(form.font().family(), PlatformFontFamily("MS Sans Serif"));
  EXPECT_EQ(form.font().pointSize(), 8);
  EXPECT_FALSE(form.font().bold());

  form.SetFontStyle(fsBold | fsUnderline);

  EXPECT_TRUE(form.Label1->font().bold());
  EXPECT_TRUE(form.UsernameEdit->font().underline());
  EXPECT_FALSE(form.OKBtn->font().italic());
  EXPECT_EQ(form.font().pointSize(), 8);
}

TEST(QtLogonDialogTest, TheDialogIsOnTopAndCentredOnTheScreen) {
  TLogOnForm form;
  ArrangeLogon(form, "scott", "tiger", "DEMO");
  QPoint centre, screenCentre;
  ModalDriver driver;
  driver.Then([&](QWidget*) {
    centre = form.frameGeometry().center();
    screenCentre = form.screen()->availableGeometry().center();
    Click(form.OKBtn);
  });

  form.ShowModal();

  EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_LE((centre - screenCentre).manhattanLength(), 2);
}

TEST(QtLogonDialogTest, TheLabelsShareOneWidthSoTheFieldsLineUp) {
  TLogOnForm form;
  ArrangeLogon(form, "", "", "");
  form.SetLabelCaption(TLogonField::Database, "A much longer database label");
  ModalDriver driver;
  driver.Then([&](QWidget*) {
    const int user = form.UsernameEdit->mapTo(&form, QPoint(0, 0)).x();
    EXPECT_EQ(form.PasswordEdit->mapTo(&form, QPoint(0, 0)).x(), user);
    EXPECT_EQ(form.DatabaseEdit->mapTo(&form, QPoint(0, 0)).x(), user);
    EXPECT_GE(user, form.Label3->sizeHint().width());
    Click(form.OKBtn);
  });

  form.ShowModal();
}

}  // namespace
}  // namespace vorn::qt_test
