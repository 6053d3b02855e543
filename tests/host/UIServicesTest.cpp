// Message boxes, the screen cursor and exception display through the
// recording and console services.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "vorn/host/Application.h"
#include "vorn/host/ConsoleUIServices.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/RecordingUIServices.h"
#include "vorn/host/Screen.h"

namespace vorn {
namespace {

class UIServicesTest : public testing::Test {
 protected:
  RecordingUIServices ui_;
  ScopedUIServices scope_{ui_};
};

TEST_F(UIServicesTest, MessageDlgCaptionsByKindAndAnswersWithTheDefault) {
  EXPECT_EQ(MessageDlg("Unsuccessful login", mtError, mbOK), mrOk);
  EXPECT_EQ(MessageDlg("Change it?", mtConfirmation, mbYes | mbNo), mrYes);
  EXPECT_EQ(MessageDlg("Retry?", mtWarning, mbAbortRetryIgnore), mrRetry);
  EXPECT_EQ(MessageDlg("Cancel?", mtInformation, mbNo | mbCancel), mrNo);
  auto messages = ui_.Messages();
  ASSERT_EQ(messages.size(), 4u);
  EXPECT_EQ(messages[0].Box.Caption, "Error");
  EXPECT_EQ(messages[0].Box.DlgType, mtError);
  EXPECT_EQ(messages[1].Box.Caption, "Confirm");
  EXPECT_EQ(messages[2].Box.Caption, "Warning");
  EXPECT_EQ(messages[3].Box.Caption, "Information");
  EXPECT_EQ(messages[1].Box.Buttons, mbYes | mbNo);
  EXPECT_FALSE(messages[0].IsException);
}

TEST_F(UIServicesTest, QueuedAnswersGoToQuestionsOnly) {
  ui_.AnswerNext(mrNo);
  ui_.AnswerNext(mrCancel);
  ShowMessage("Just so you know");
  EXPECT_EQ(ui_.PendingAnswers(), 2);
  EXPECT_EQ(MessageDlg("Change your password now?", mtConfirmation, mbYes | mbNo), mrNo);
  EXPECT_EQ(MessageDlg("Save?", mtConfirmation, mbYesNoCancel), mrCancel);
  EXPECT_EQ(MessageDlg("Again?", mtConfirmation, mbYes | mbNo), mrYes);
  EXPECT_EQ(ui_.Texts(), (std::vector<std::string>{"Just so you know", "Change your password now?",
                                                   "Save?", "Again?"}));
  EXPECT_EQ(ui_.Messages()[0].Box.Caption, Application().Title());
}

TEST_F(UIServicesTest, AnAnswerThatIsNoButtonIsASetUpError) {
  ui_.AnswerNext(mrCancel);
  EXPECT_THROW(MessageDlg("Sure?", mtConfirmation, mbYes | mbNo), Exception);
}

TEST_F(UIServicesTest, ScopesNestAndRestore) {
  {
    RecordingUIServices inner;
    ScopedUIServices innerScope(inner);
    ShowMessage("inner");
    EXPECT_EQ(inner.Texts().size(), 1u);
  }
  ShowMessage("outer");
  EXPECT_EQ(ui_.Texts(), (std::vector<std::string>{"outer"}));
  EXPECT_EQ(&UIServices(), &ui_);
}

TEST_F(UIServicesTest, CursorChangesAreRecordedOnce) {
  Screen().SetCursor(crDefault);
  ui_.Clear();
  Screen().SetCursor(crHourGlass);
  Screen().SetCursor(crHourGlass);
  Screen().SetCursor(crSQLWait);
  Screen().SetCursor(crDefault);
  EXPECT_EQ(ui_.Cursors(), (std::vector<TCursor>{crHourGlass, crSQLWait, crDefault}));
  EXPECT_EQ(crHourGlass, -11);
}

TEST_F(UIServicesTest, CursorGuardRestoresOnEveryPath) {
  Screen().SetCursor(crArrow);
  ui_.Clear();
  try {
    TCursorGuard wait;
    EXPECT_EQ(Screen().Cursor(), crHourGlass);
    {
      TCursorGuard sql(crSQLWait);
      EXPECT_EQ(Screen().Cursor(), crSQLWait);
    }
    throw EDatabaseError("server gone");
  } catch (const EDatabaseError&) {
  }
  EXPECT_EQ(Screen().Cursor(), crArrow);
  EXPECT_EQ(ui_.Cursors(), (std::vector<TCursor>{crHourGlass, crSQLWait, crHourGlass, crArrow}));
  {
    TCursorGuard none(crDefault);  // a component whose Cursor is 0 shows nothing
    EXPECT_EQ(Screen().Cursor(), crArrow);
  }
  EXPECT_EQ(ui_.Cursors().size(), 4u);
  Screen().SetCursor(crDefault);
}

TEST_F(UIServicesTest, ApplicationShowsExceptions) {
  Application().ShowException(Exception("Not logged on"));
  Application().ShowException(Exception("Done."));
  Application().ShowException(Exception("Stop!"));
  auto messages = ui_.Messages();
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[0].Box.Text, "Not logged on.");
  EXPECT_EQ(messages[1].Box.Text, "Done.");
  EXPECT_EQ(messages[2].Box.Text, "Stop!");
  EXPECT_TRUE(messages[0].IsException);
  EXPECT_EQ(messages[0].Box.DlgType, mtError);
  EXPECT_EQ(messages[0].Box.Caption, Application().Title());
}

TEST_F(UIServicesTest, HandleExceptionIgnoresAbortAndHonoursTheHandler) {
  try {
    Abort();
  } catch (...) {
    Application().HandleException(nullptr);
  }
  EXPECT_TRUE(ui_.Messages().empty());
  try {
    throw std::runtime_error("plain");
  } catch (...) {
    Application().HandleException(nullptr);
  }
  try {
    throw 42;
  } catch (...) {
    Application().HandleException(nullptr);
  }
  EXPECT_EQ(ui_.Texts(), (std::vector<std::string>{"plain.", "Unknown exception."}));

  std::string handled;
  TObject sender;
  Application().SetOnException([&](TObject* s, const std::exception& e) {
    EXPECT_EQ(s, &sender);
    handled = e.what();
  });
  Application().HandleException(std::make_exception_ptr(EDatabaseError("x")), &sender);
  Application().SetOnException(nullptr);
  EXPECT_EQ(handled, "x");
  EXPECT_EQ(ui_.Texts().size(), 2u);
  Application().HandleException(nullptr);  // outside a catch block: nothing
  EXPECT_EQ(ui_.Texts().size(), 2u);
}

TEST_F(UIServicesTest, ApplicationMessageBoxAndOwnership) {
  EXPECT_EQ(Application().MessageBox("Automatic Master/Detail configuration is only\r\npossible "
                                     "if the Session is connected.",
                                     ""),
            mrOk);
  EXPECT_EQ(ui_.Messages()[0].Box.Caption, Application().Title());
  auto* session = new TComponent(&Application());
  EXPECT_EQ(session->Owner(), &Application());
  delete session;
  EXPECT_EQ(Application().ComponentCount(), 0);
}

TEST(DialogButtonsTest, DefaultsAndResults) {
  EXPECT_EQ(DefaultButton(mbOKCancel), mbOK);
  EXPECT_EQ(DefaultButton(mbYesNoCancel), mbYes);
  EXPECT_EQ(DefaultButton(mbAbortRetryIgnore), mbRetry);
  EXPECT_EQ(DefaultButton(mbNo | mbCancel), mbNo);
  EXPECT_EQ(DefaultButton(mbNone), mbNone);
  EXPECT_EQ(ModalResultOf(mbYesToAll), mrYesToAll);
  EXPECT_EQ(ModalResultOf(mbHelp), mrNone);
  EXPECT_EQ(ButtonCaption(mbNoToAll), "No to All");
}

// The console services, fed from and writing to temporary files.
struct Console {
  std::FILE* out = std::tmpfile();
  std::FILE* in = std::tmpfile();
  explicit Console(const std::string& input) {
    std::fputs(input.c_str(), in);
    std::rewind(in);
  }
  ~Console() {
    std::fclose(out);
    std::fclose(in);
  }
  std::string Output() {
    std::rewind(out);
    std::string text;
    int c;
    while ((c = std::fgetc(out)) != EOF)
      text += static_cast<char>(c);
    return text;
  }
};

TEST(ConsoleUIServicesTest, PrintsAndTakesTheDefaultWhenNotInteractive) {
  Console console("n\n");
  ConsoleUIServices services(console.out, console.in, false);
  EXPECT_EQ(services.ShowMessageBox({"Change it?", "Confirm", mtConfirmation, mbYes | mbNo}),
            mrYes);
  EXPECT_EQ(services.ShowMessageBox({"Failed", "Error", mtError, mbOK}), mrOk);
  EXPECT_EQ(console.Output(), "Confirm: Change it?\n[Yes/No] Yes\nError: Failed\n");
}

TEST(ConsoleUIServicesTest, AsksUntilTheAnswerNamesOneButton) {
  Console console("maybe\nA\nabo\n");
  ConsoleUIServices services(console.out, console.in, true);
  // "maybe" names nothing; "A" is Abort or All; "abo" is Abort.
  EXPECT_EQ(services.ShowMessageBox({"Stop?", "Warning", mtWarning, mbAbort | mbAll}), mrAbort);
  Console yes("YES\n");
  ConsoleUIServices second(yes.out, yes.in, true);
  EXPECT_EQ(second.ShowMessageBox({"Go?", "Confirm", mtConfirmation, mbYes | mbNo}), mrYes);
  Console empty("\n");
  ConsoleUIServices third(empty.out, empty.in, true);
  EXPECT_EQ(third.ShowMessageBox({"Go?", "Confirm", mtConfirmation, mbNo | mbCancel}), mrNo);
  Console eof("");
  ConsoleUIServices fourth(eof.out, eof.in, true);
  EXPECT_EQ(fourth.ShowMessageBox({"Go?", "Confirm", mtConfirmation, mbOKCancel}), mrOk);
  Console no("n\n");
  ConsoleUIServices fifth(no.out, no.in, true);
  EXPECT_EQ(fifth.ShowMessageBox({"Go?", "Confirm", mtConfirmation, mbYes | mbNo}), mrNo);
}

}  // namespace
}  // namespace vorn
