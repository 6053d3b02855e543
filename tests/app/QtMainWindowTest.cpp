// Vornix's main window (TForm1) with its real controls, dialogs and message
// boxes against a copy of the demo database, a user answering every
// window: the first run, connecting and disconnecting, running statements
// with dataset, scalar and failing results, a script, and closing.
#include "QtMainWindow.h"

#include <gtest/gtest.h>

#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <cstdlib>
#include <fstream>

#include "DataSetTableModel.h"
#include "QtDataGrid.h"
#include "QtLogonDialog.h"
#include "QtTestSupport.h"
#include "QtUIServices.h"
#include "SessionTestSupport.h"
#include "vorn/dataset/OracleDataSet.h"
#include "vorn/session/OracleSession.h"

namespace vorn::qt_test {
namespace {

class QtMainWindowTest : public session_test::SessionTest {
 protected:
  QtMainWindowTest() : qtServices_(App().Services()) {
    window_.resize(600, 400);
    window_.show();
    // The first activation, as the window system would send it.
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&window_, &activate);
  }

  // Answers the logon dialog with man's logon on the test's database.
  // Answers the logon dialog with man's logon on `database` (the test's own
  // database unless given).
  void AnswerLogonAsMan(std::string database = "") {
    if (database.empty()) database = Database();
    driver_.Then([database](QWidget* window) {
      auto* form = qobject_cast<TLogOnForm*>(window);
      ASSERT_NE(form, nullptr);
      TypeInto(form->UsernameEdit, "man");
      TypeInto(form->PasswordEdit, "man");
      TypeInto(form->DatabaseEdit, QString::fromStdString(database));
      Click(form->OKBtn);
    });
  }

  void Connect(const std::string& database = "") {
    AnswerLogonAsMan(database);
    Click(window_.btnConnect);
    ASSERT_EQ(window_.btnConnect->text(), "&Disconnect");
  }

  // Types `statement` into the query box and presses Enter.
  void Run(const QString& statement) {
    TypeInto(window_.edQuery, statement);
    QTest::keyClick(window_.edQuery, Qt::Key_Return);
  }

  // Answers the next window, a message box, with OK; gives its text.
  void AnswerMessage(QString& text, QMessageBox::Icon expected = QMessageBox::Critical) {
    driver_.Then([&text, expected](QWidget* window) {
      QMessageBox* box = MessageBox(window);
      ASSERT_NE(box, nullptr);
      text = box->text();
      EXPECT_EQ(box->icon(), expected);
      Click(Button(window, QMessageBox::Ok));
    });
  }

  QAbstractItemModel* Model() { return window_.dbGrid->model(); }
  QString Cell(int row, int column) { return Model()->index(row, column).data().toString(); }

  ScopedUIServices qtServices_;
  MemorySettings settings_;
  ModalDriver driver_;
  TForm1 window_{settings_, nullptr};
};

TEST_F(QtMainWindowTest, TheFirstRunShowsTheControlsWithAnEmptyQuery) {
  EXPECT_EQ(window_.windowTitle(), "Vornix");
  EXPECT_EQ(window_.Label1->text(), "Query:");
  EXPECT_EQ(window_.edQuery->text(), "") << "nothing remembered replaces the design text";
  EXPECT_EQ(window_.btnConnect->text(), "&Connect");
  EXPECT_EQ(window_.btScript->text(), "&Script");
  EXPECT_EQ(window_.btnRun->text(), "&Run");
  EXPECT_TRUE(window_.btnRun->isDefault());
  EXPECT_EQ(window_.lblResult->text(), "Result:");
  EXPECT_TRUE(window_.lblResult->font().bold());
  EXPECT_EQ(window_.Label2->text(), "_");
  EXPECT_TRUE(window_.Label2->wordWrap());
  EXPECT_EQ(window_.dbGrid->editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_EQ(window_.statusBar(), window_.sbInfo);
  EXPECT_TRUE(settings_.Values().empty());
}

TEST_F(QtMainWindowTest, TheQueryBoxAndTheGridGrowWithTheWindow) {
  const int queryWidth = window_.edQuery->width();
  const QSize gridSize = window_.dbGrid->size();
  const int runRightMargin = window_.width() - window_.btnRun->geometry().right();

  window_.resize(window_.width() + 100, window_.height() + 80);
  QCoreApplication::sendPostedEvents();

  EXPECT_EQ(window_.edQuery->width(), queryWidth + 100);
  EXPECT_EQ(window_.dbGrid->width(), gridSize.width() + 100);
  EXPECT_EQ(window_.dbGrid->height(), gridSize.height() + 80);
  EXPECT_EQ(window_.width() - window_.btnRun->geometry().right(), runRightMargin);
}

TEST_F(QtMainWindowTest, ConnectingThroughTheDialogShowsTheUserAndStoresTheValues) {
  Connect();

  EXPECT_EQ(window_.sbInfoPanel->text().toStdString(), "man@" + Database());
  EXPECT_EQ(settings_.Read("UserName"), "man");
  EXPECT_EQ(settings_.Read("Password"), "man");
  EXPECT_EQ(settings_.Read("HostName"), Database());
  EXPECT_EQ(driver_.StepsLeft(), 0);
}

TEST_F(QtMainWindowTest, CancellingTheDialogIsAnUnsuccessfulLogin) {
  QString message;
  driver_.Then([](QWidget* window) {
    auto* form = qobject_cast<TLogOnForm*>(window);
    ASSERT_NE(form, nullptr);
    Click(form->CancelBtn);
  });
  AnswerMessage(message);

  Click(window_.btnConnect);

  EXPECT_EQ(message, "Unsuccessful login");
  EXPECT_EQ(window_.btnConnect->text(), "&Connect");
  EXPECT_EQ(window_.sbInfoPanel->text(), "");
  EXPECT_TRUE(settings_.Values().empty());
}

TEST_F(QtMainWindowTest, DisconnectingSaysDisconnected) {
  Connect();

  Click(window_.btnConnect);

  EXPECT_EQ(window_.btnConnect->text(), "&Connect");
  EXPECT_EQ(window_.sbInfoPanel->text(), "Disconnected");
  EXPECT_FALSE(window_.Controller().Session()->Connected());
}

TEST_F(QtMainWindowTest, EnterRunsTheQueryAndTheGridShowsTheRowsInEqualColumns) {
  Connect();

  Run("select name, friend.name from man.dogs");

  ASSERT_EQ(Model()->rowCount(), 12);
  ASSERT_EQ(Model()->columnCount(), 2);
  EXPECT_EQ(Model()->headerData(1, Qt::Horizontal).toString(), "FRIEND.NAME");
  EXPECT_EQ(Cell(0, 0), "Rex");
  EXPECT_EQ(Cell(0, 1), "Bella");
  EXPECT_EQ(Cell(5, 1), "") << "Daisy has no friend";
  EXPECT_EQ(Cell(11, 0), "Sadie");
  const int share = window_.dbGrid->width() / 2;
  EXPECT_EQ(window_.dbGrid->columnWidth(0), share);
  EXPECT_EQ(window_.dbGrid->columnWidth(1), share);
  EXPECT_TRUE(window_.Label2->text().startsWith("/*:DS*/")) << window_.Label2->text().toStdString();
  EXPECT_EQ(window_.lblResult->text(), "");
}

TEST_F(QtMainWindowTest, ADataSetFetchingAsItGoesGivesTheGridMoreRowsAsItAsks) {
  Connect();
  window_.Controller().DataSet()->SetQueryAllRecords(false);
  window_.dbGrid->resize(window_.dbGrid->width(), 60);

  Run("select name from man.dogs");
  const int first = Model()->rowCount();
  while (Model()->canFetchMore(QModelIndex()))
    Model()->fetchMore(QModelIndex());

  EXPECT_LT(first, 12) << "the first rows show before the rest are fetched";
  EXPECT_GT(first, 0);
  ASSERT_EQ(Model()->rowCount(), 12);
  EXPECT_EQ(Cell(11, 0), "Sadie");
  EXPECT_EQ(Cell(0, 0), "Rex");
}

TEST_F(QtMainWindowTest, NumbersAreRightAlignedAndTheirTextsShown) {
  Connect();

  Run("select name, age from man.dogs where age > 8");

  ASSERT_EQ(Model()->rowCount(), 2);
  EXPECT_EQ(Cell(1, 1), "11");
  EXPECT_TRUE(Model()->index(1, 1).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
}

TEST_F(QtMainWindowTest, AScalarResultGoesToTheResultLabel) {
  Connect();
  Run("select name from man.dogs where age > 8");

  Run("select count(*) from man.dogs");

  EXPECT_EQ(window_.lblResult->text(), "12");
  EXPECT_TRUE(window_.Label2->text().startsWith("/*:INT*/"));
  EXPECT_EQ(Model()->rowCount(), 2) << "the grid keeps its rows";
}

TEST_F(QtMainWindowTest, AFailingStatementShowsItsMessageAndStillRefreshesTheLabels) {
  Connect();
  Run("select count(*) from man.dogs");
  window_.Label2->setText("stale");
  window_.lblResult->setText("stale");
  QString message;
  AnswerMessage(message);

  Run("select name from man.dogs where age = 1/0");

  EXPECT_TRUE(message.startsWith("ORA-01476")) << message.toStdString();
  EXPECT_TRUE(window_.Label2->text().contains("1 / 0")) << window_.Label2->text().toStdString();
  EXPECT_EQ(window_.lblResult->text(), "12");
}

TEST_F(QtMainWindowTest, ScriptRunsTheChosenFileWithoutTouchingTheLabels) {
  Connect();
  const std::string script = Database() + ".script.txt";
  std::ofstream(script) << "select count(*) from man.dogs\n&2\nselect name from man.dogs "
                           "where age = &2 - 1\n";
  driver_.Then([&script](QWidget* window) {
    auto* dialog = qobject_cast<QFileDialog*>(window);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->defaultSuffix(), "");
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
    dialog->selectFile(QString::fromStdString(script));
    static_cast<QDialog*>(dialog)->accept();
  });

  Click(window_.btScript);

  EXPECT_EQ(window_.Controller().Processor()->Slot(2), "12");
  ASSERT_EQ(Model()->rowCount(), 1);
  EXPECT_EQ(Cell(0, 0), "Bailey");
  EXPECT_EQ(window_.lblResult->text(), "Result:");
  EXPECT_EQ(window_.Label2->text(), "_");
}

TEST_F(QtMainWindowTest, AScriptErrorGoesToTheApplicationsExceptionDisplay) {
  Connect();
  const std::string script = Database() + ".script.txt";
  std::ofstream(script) << "select nothing from man.dogs\nselect count(*) from man.dogs\n";
  driver_.Then([&script](QWidget* window) {
    auto* dialog = qobject_cast<QFileDialog*>(window);
    ASSERT_NE(dialog, nullptr);
    dialog->selectFile(QString::fromStdString(script));
    static_cast<QDialog*>(dialog)->accept();
  });
  QString message;
  driver_.Then([&message](QWidget* window) {
    QMessageBox* box = MessageBox(window);
    ASSERT_NE(box, nullptr);
    message = box->text();
    Click(Button(window, QMessageBox::Ok));
  });

  Click(window_.btScript);

  EXPECT_TRUE(message.contains("ORA-20002")) << message.toStdString();
  EXPECT_EQ(window_.Controller().Processor()->LastScalarResult(), "") << "the script ended";
}

// The picture of the README (docs/vornix.png) comes from this test run on
// a real X server: VORNIX_SCREENSHOT names the file to write.
TEST_F(QtMainWindowTest, TheWindowWithADataSetResultCanBePictured) {
  // The demo database by its alias, only read here.
  Connect("DEMO");
  Run("select name, friend.name from man.dogs");
  // The labels' new texts lay the window out again.
  QCoreApplication::sendPostedEvents();

  const QPixmap picture = window_.grab();

  EXPECT_EQ(picture.size(), window_.size() * picture.devicePixelRatio());
  if (const char* file = std::getenv("VORNIX_SCREENSHOT")) {
    EXPECT_TRUE(picture.save(QString::fromLocal8Bit(file))) << file;
  }
}

TEST_F(QtMainWindowTest, ClosingStoresTheQueryText) {
  TypeInto(window_.edQuery, "select name from man.persons");

  window_.close();

  EXPECT_EQ(settings_.Read("LastQuery"), "select name from man.persons");
}

TEST_F(QtMainWindowTest, TheNextRunStartsWithTheStoredQuery) {
  settings_.Write("LastQuery", "select count(*) from man.persons");
  TForm1 next(settings_, nullptr);
  next.show();
  QEvent activate(QEvent::WindowActivate);

  QCoreApplication::sendEvent(&next, &activate);

  EXPECT_EQ(next.edQuery->text(), "select count(*) from man.persons");
}

}  // namespace
}  // namespace vorn::qt_test
