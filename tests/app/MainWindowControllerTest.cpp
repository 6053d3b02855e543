// The main window's behaviour and the statement processor behind it, driven
// through a window without a screen against a copy of the demo database:
// remembered values, connecting and disconnecting, dataset and scalar
// results through the server's translator, slots, commits, connect lines,
// errors and scripts.
#include "MainWindowController.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "GridRows.h"
#include "ScriptedLogonForm.h"
#include "SessionTestSupport.h"
#include "vorn/dataset/OracleDataSet.h"
#include "vorn/host/DataSource.h"
#include "vorn/host/Exceptions.h"
#include "vorn/query/OracleQuery.h"
#include "vorn/session/OracleError.h"
#include "vorn/session/OracleSession.h"

namespace vorn {
namespace {

using session_test::ScriptedUser;

// A grid whose columns are those of the rows it shows.
class FakeGrid : public ResultGrid {
 public:
  explicit FakeGrid(int width) : width_(width) {}

  int GridWidth() const override { return width_; }
  int GridColumnCount() const override { return rows.ColumnCount(); }
  void SetGridColumnWidth(int column, int width) override { widths[column] = width; }

  GridRows rows;
  std::map<int, int> widths;

 private:
  int width_;
};

class FakeView : public MainWindowView {
 public:
  std::string QueryText() const override { return query; }
  void SetQueryText(const std::string& text) override { query = text; }
  std::string ConnectCaption() const override { return caption; }
  void SetConnectCaption(const std::string& text) override { caption = text; }
  void SetStatusText(const std::string& text) override { status = text; }
  void SetResultCaption(const std::string& text) override { result = text; }
  void SetTranslatedCaption(const std::string& text) override { translated = text; }
  std::optional<std::string> ChooseScriptFile() override { return scriptFile; }
  ResultGrid* Grid() override { return &grid; }

  std::string query = "select name, friend.name from man.dogs";
  std::string caption = kConnectCaption;
  std::string status;
  std::string result = "Result:";
  std::string translated = "_";
  std::optional<std::string> scriptFile;
  FakeGrid grid{346};
};

class MainWindowControllerTest : public session_test::SessionTest {
 protected:
  MainWindowControllerTest() {
    controller_.FormActivate();
    view_.grid.rows.SetDataSource(controller_.DataSource());
    view_.grid.rows.SetVisibleRows(20);
  }

  // Connects as man through the dialog.
  void ConnectAsMan() {
    user_.Answer(ScriptedUser::Confirm().Username("man").Password("man").Database(Database()));
    controller_.ConnectClick();
    ASSERT_TRUE(controller_.Session()->Connected());
  }

  void Run(const std::string& statement) {
    view_.query = statement;
    controller_.RunClick();
  }

  std::vector<std::string> Column(int column) {
    std::vector<std::string> cells;
    for (int row = 0; row < view_.grid.rows.RowCount(); ++row)
      cells.push_back(view_.grid.rows.CellText(row, column));
    return cells;
  }

  int CountDogs() {
    auto observer = NewSession("man", "man");
    observer->LogOn();
    return std::stoi(session_test::Rows(*observer, "select count(*) from man.dogs").at(0));
  }

  std::string WriteScript(const std::string& text) {
    const std::string path = Database() + ".script.txt";
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }

  ScriptedUser user_;
  FakeView view_;
  MemorySettings settings_;
  MainWindowController controller_{view_, settings_, nullptr};
};

// --- Activation and remembered values ---

TEST_F(MainWindowControllerTest, TheFirstActivationReplacesTheQueryByTheRememberedOne) {
  EXPECT_EQ(view_.query, "") << "nothing remembered: the design text is replaced by nothing";
  ASSERT_NE(controller_.Session(), nullptr);
  EXPECT_EQ(controller_.Query()->Session(), controller_.Session());
  EXPECT_EQ(controller_.DataSet()->Session(), controller_.Session());
  EXPECT_FALSE(controller_.DataSource()->AutoEdit());

  MemorySettings settings;
  settings.Write("LastQuery", "select name from man.persons");
  FakeView view;
  MainWindowController controller(view, settings, nullptr);
  controller.FormActivate();
  TOracleSession* session = controller.Session();
  view.query = "typed";
  controller.FormActivate();

  EXPECT_EQ(view.query, "typed") << "later activations change nothing";
  EXPECT_EQ(controller.Session(), session);
}

TEST_F(MainWindowControllerTest, AFirstConnectOpensTheDialogEmptyAndStoresWhatWasTyped) {
  ConnectAsMan();

  ASSERT_EQ(user_.Shown().size(), 1u);
  EXPECT_EQ(user_.Shown()[0].username, "");
  EXPECT_EQ(user_.Shown()[0].password, "");
  EXPECT_EQ(user_.Shown()[0].database, "");
  EXPECT_FALSE(user_.Shown()[0].databaseHidden);
  EXPECT_FALSE(user_.Shown()[0].aliasList);
  EXPECT_EQ(settings_.Read("UserName"), "man");
  EXPECT_EQ(settings_.Read("Password"), "man");
  EXPECT_EQ(settings_.Read("HostName"), Database());
  EXPECT_EQ(view_.status, "man@" + Database());
  EXPECT_EQ(view_.caption, kDisconnectCaption);
}

TEST_F(MainWindowControllerTest, TheStatusShowsTheValuesTypedNotTheRememberedOnes) {
  settings_.Write("UserName", "scott");
  settings_.Write("Password", "tiger");
  settings_.Write("HostName", "NOWHERE");

  ConnectAsMan();

  EXPECT_EQ(user_.Shown().at(0).username, "scott");
  EXPECT_EQ(user_.Shown().at(0).database, "NOWHERE");
  EXPECT_EQ(view_.status, "man@" + Database());
  EXPECT_EQ(settings_.Read("UserName"), "man");
}

TEST_F(MainWindowControllerTest, CancellingTheDialogIsAnUnsuccessfulLoginThatChangesNothing) {
  user_.Answer(ScriptedUser::Cancel());

  controller_.ConnectClick();

  EXPECT_EQ(ui_.Texts(), std::vector<std::string>{kUnsuccessfulLogin});
  EXPECT_EQ(view_.caption, kConnectCaption);
  EXPECT_EQ(view_.status, "");
  EXPECT_TRUE(settings_.Values().empty());
}

TEST_F(MainWindowControllerTest, DisconnectLogsOffAndSaysDisconnected) {
  ConnectAsMan();

  controller_.ConnectClick();

  EXPECT_FALSE(controller_.Session()->Connected());
  EXPECT_EQ(view_.status, kDisconnectedStatus);
  EXPECT_EQ(view_.caption, kConnectCaption);
}

TEST_F(MainWindowControllerTest, ClosingStoresTheQueryTextEvenWhenEmpty) {
  settings_.Write("LastQuery", "old");
  view_.query = "";

  controller_.FormClose();

  EXPECT_EQ(settings_.Values().at("LastQuery"), "");
}

// --- Running statements ---

TEST_F(MainWindowControllerTest, ADataSetResultFillsTheGridAndSharesItsWidth) {
  ConnectAsMan();

  Run("select name, age, friend, owner, friend.name from man.dogs");

  EXPECT_EQ(view_.translated.rfind("/*:DS*/", 0), 0u) << view_.translated;
  EXPECT_EQ(view_.result, "") << "no scalar result yet";
  EXPECT_EQ(view_.grid.rows.RowCount(), 12);
  EXPECT_EQ(view_.grid.rows.ColumnTitle(4), "FRIEND.NAME");
  EXPECT_EQ(Column(0).front(), "Rex");
  EXPECT_EQ(Column(4).front(), "Bella");
  EXPECT_EQ(view_.grid.widths, (std::map<int, int>{{0, 69}, {1, 69}, {2, 69}, {3, 69}, {4, 69}}));
  EXPECT_TRUE(ui_.Texts().empty());
}

TEST_F(MainWindowControllerTest, AScalarResultGoesToTheResultLabelAndLeavesTheGrid) {
  ConnectAsMan();
  Run("select name from man.dogs where age > 8");

  Run("select count(*) from man.dogs");

  EXPECT_EQ(view_.result, "12");
  EXPECT_EQ(view_.translated.rfind("/*:INT*/", 0), 0u) << view_.translated;
  EXPECT_EQ(Column(0), (std::vector<std::string>{"Rocky", "Bailey"}));
}

TEST_F(MainWindowControllerTest, AStatementWithQuotesReachesTheTranslatorAsTyped) {
  ConnectAsMan();

  Run("select name, age from man.dogs where name = 'Rex'");

  EXPECT_TRUE(ui_.Texts().empty()) << ui_.Texts().at(0);
  EXPECT_NE(view_.translated.find("t0.NAME = 'Rex'"), std::string::npos) << view_.translated;
  EXPECT_EQ(Column(1), std::vector<std::string>{"5"});
}

TEST_F(MainWindowControllerTest, AStatementCannotEndTheTranslatorsLiteralAndRunItsOwnCode) {
  ConnectAsMan();

  // Put into the block unquoted, this would close parser.Parse's literal,
  // delete every dog and open a new call for the rest.
  Run("select name from man.dogs where name = 'x'); delete from man.dogs; commit; "
      "parser.Parse('x'");

  EXPECT_EQ(view_.grid.rows.RowCount(), 0);
  EXPECT_EQ(CountDogs(), 12);
}

TEST_F(MainWindowControllerTest, AFailedTranslationShowsTheErrorAndKeepsBothLabelValues) {
  ConnectAsMan();
  Run("select count(*) from man.dogs");
  const std::string translated = view_.translated;
  view_.translated = view_.result = "stale";

  Run("select nothing from man.dogs");

  ASSERT_EQ(ui_.Texts().size(), 1u);
  EXPECT_NE(ui_.Texts()[0].find("ORA-20002"), std::string::npos) << ui_.Texts()[0];
  EXPECT_EQ(view_.translated, translated) << "refreshed, with the earlier translation";
  EXPECT_EQ(view_.result, "12");
}

TEST_F(MainWindowControllerTest, AFailureAfterTranslationShowsTheNewTranslation) {
  ConnectAsMan();
  Run("select count(*) from man.dogs");

  Run("select name from man.dogs where age = 1/0");

  ASSERT_EQ(ui_.Texts().size(), 1u);
  EXPECT_EQ(ui_.Texts()[0].rfind("ORA-01476", 0), 0u) << ui_.Texts()[0];
  EXPECT_NE(view_.translated.find("1 / 0"), std::string::npos) << view_.translated;
  EXPECT_EQ(view_.result, "12");
}

TEST_F(MainWindowControllerTest, AStatementWithoutALanguageIsATranslatorError) {
  ConnectAsMan();

  Run("commit;");

  ASSERT_EQ(ui_.Texts().size(), 1u);
  EXPECT_EQ(ui_.Texts()[0].rfind("ORA-", 0), 0u) << ui_.Texts()[0];
}

TEST_F(MainWindowControllerTest, CommitInCapitalsCommitsTheTranslatedChange) {
  ConnectAsMan();
  Run("insert into man.dogs (name, age) values ('Zed', 1)");
  ASSERT_EQ(view_.result, "1");
  ASSERT_EQ(CountDogs(), 12) << "not committed yet";

  Run("  COMMIT  ");

  EXPECT_EQ(CountDogs(), 13);
  EXPECT_TRUE(ui_.Texts().empty());
}

TEST_F(MainWindowControllerTest, ASlotTakesTheLastScalarResultAndIsSubstitutedLater) {
  ConnectAsMan();
  Run("select count(*) from man.dogs where age > 6");
  ASSERT_EQ(view_.result, "4");
  Run("&3");

  Run("select name from man.dogs where age = &3 or name = 'R&b'");

  EXPECT_EQ(controller_.Processor()->Slot(3), "4");
  EXPECT_NE(view_.translated.find("t0.AGE = 4"), std::string::npos) << view_.translated;
  EXPECT_NE(view_.translated.find("'R&b'"), std::string::npos) << view_.translated;
  EXPECT_EQ(Column(0), std::vector<std::string>{"Buddy"});
}

// --- Connect lines ---

TEST_F(MainWindowControllerTest, AConnectLineOpensTheDialogWithItsValuesAndLeavesTheWindow) {
  user_.Answer(ScriptedUser::Confirm().Database(Database()));

  Run("connect  man/man @" + Database());

  ASSERT_EQ(user_.Shown().size(), 1u);
  EXPECT_EQ(user_.Shown()[0].username, "man");
  EXPECT_EQ(user_.Shown()[0].password, "man");
  EXPECT_EQ(user_.Shown()[0].database, Database());
  EXPECT_TRUE(controller_.Session()->Connected());
  EXPECT_EQ(view_.caption, kConnectCaption);
  EXPECT_EQ(view_.status, "");
  EXPECT_TRUE(settings_.Values().empty());
}

// --- Scripts ---

TEST_F(MainWindowControllerTest, AScriptRunsItsLinesAndLeavesTheLabels) {
  ConnectAsMan();
  view_.scriptFile = WriteScript(
      "insert into man.dogs (name) values ('Zed')\r\n"
      "\n"
      "commit\r"
      "select count(*) from man.dogs\n"
      "&5\n"
      "select name from man.dogs where age = &5");

  controller_.ScriptClick();

  EXPECT_EQ(CountDogs(), 13);
  EXPECT_EQ(controller_.Processor()->Slot(5), "13");
  EXPECT_EQ(view_.translated, "_") << "labels are not updated by a script";
  EXPECT_EQ(view_.grid.rows.RowCount(), 0);
}

TEST_F(MainWindowControllerTest, TheFirstFailingLineEndsTheScript) {
  ConnectAsMan();
  view_.scriptFile = WriteScript(
      "select count(*) from man.dogs\n"
      "select nothing from man.dogs\n"
      "insert into man.dogs (name) values ('Zed')\n"
      "commit\n");

  EXPECT_THROW(controller_.ScriptClick(), EOracleError);

  EXPECT_EQ(controller_.Processor()->LastScalarResult(), "12");
  EXPECT_EQ(CountDogs(), 12);
}

TEST_F(MainWindowControllerTest, AMissingScriptIsAnInputOutputErrorNamingTheFile) {
  view_.scriptFile = Database() + ".missing";

  try {
    controller_.ScriptClick();
    FAIL() << "no error";
  } catch (const EInOutError& e) {
    EXPECT_NE(e.Message().find(*view_.scriptFile), std::string::npos) << e.Message();
  }
}

TEST_F(MainWindowControllerTest, CancellingTheFileDialogRunsNothing) {
  view_.scriptFile.reset();

  controller_.ScriptClick();

  EXPECT_TRUE(ui_.Texts().empty());
}

}  // namespace
}  // namespace vorn
