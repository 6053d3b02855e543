// Running the query and fetching rows: all at once or as a window needs
// them, AfterFetchRecord's actions, the filter during fetching, the query
// events, cursor datasets and the string preferences.
#include "DataSetTestSupport.h"
#include "RecordList.h"
#include "vorn/host/Field.h"
#include "vorn/host/Screen.h"
#include "vorn/session/SessionPreferences.h"

namespace vorn::dataset_test {

namespace {

class FetchTest : public DataSetTest {};

TEST_P(FetchTest, QueryAllRecordsFetchesEveryRowWhenTheDataSetOpens) {
  MakeNumbers(100);
  auto dataSet = NewDataSet("select n from numbers_t order by n");

  dataSet->Open();

  EXPECT_EQ(100, dataSet->RecordCount());
  EXPECT_TRUE(dataSet->FetchQuery()->Eof());
}

TEST_P(FetchTest, AWindowOfTwentyRowsFetchesOnlyTheRowsItShows) {
  MakeNumbers(10000);
  auto dataSet = NewDataSet("select n, label from numbers_t order by n");
  dataSet->SetQueryAllRecords(false);
  dataSet->SetReadBuffer(50);
  WindowLink grid(*dataSet, 20);

  dataSet->Open();
  EXPECT_EQ(20, dataSet->RecordCount());
  EXPECT_EQ("1", grid.Shown("N").front());
  EXPECT_EQ("20", grid.Shown("N").back());

  // Down to the bottom row of the window: nothing more is needed.
  EXPECT_EQ(19, dataSet->MoveBy(19));
  EXPECT_EQ(20, dataSet->RecordCount());
  // Every further row scrolls the window by one and fetches one row.
  for (int row = 21; row <= 10000; ++row) {
    dataSet->Next();
    ASSERT_EQ(row, dataSet->RecordCount());
    ASSERT_EQ(row, dataSet->FieldByName("N")->AsInteger());
  }
  EXPECT_EQ("9981", grid.Shown("N").front());
  EXPECT_EQ("row 10000", grid.Shown("LABEL").back());
  dataSet->Next();
  EXPECT_TRUE(dataSet->Eof());
  EXPECT_EQ(10000, dataSet->RecordCount());
}

TEST_P(FetchTest, PagingThroughAWindowFetchesAPageAtATime) {
  MakeNumbers(1000);
  auto dataSet = NewDataSet("select n from numbers_t order by n");
  dataSet->SetQueryAllRecords(false);
  WindowLink grid(*dataSet, 20);
  dataSet->Open();

  dataSet->MoveBy(19);
  dataSet->MoveBy(20);

  EXPECT_EQ(40, dataSet->RecordCount());
  EXPECT_EQ("21", grid.Shown("N").front());
  EXPECT_EQ("40", grid.Shown("N").back());
}

TEST_P(FetchTest, LastFetchesEveryRemainingRowUnderTheDataSetsCursor) {
  MakeNumbers(300);
  auto dataSet = NewDataSet("select n from numbers_t order by n");
  dataSet->SetQueryAllRecords(false);
  dataSet->SetCursor(crSQLWait);
  dataSet->Open();
  ASSERT_EQ(1, dataSet->RecordCount());
  ui_.Clear();

  dataSet->Last();

  EXPECT_EQ(300, dataSet->RecordCount());
  EXPECT_EQ(300, dataSet->FieldByName("N")->AsInteger());
  const std::vector<TCursor> cursors = ui_.Cursors();
  ASSERT_FALSE(cursors.empty());
  EXPECT_EQ(crSQLWait, cursors.front());
  EXPECT_EQ(crDefault, Screen().Cursor()) << "restored";
}

TEST_P(FetchTest, RowsFailingTheFilterAreFetchedAndKeptButInvisible) {
  MakeNumbers(10);
  auto dataSet = NewDataSet("select n from numbers_t order by n");
  dataSet->SetFilter("N > 6");
  dataSet->SetFiltered(true);

  dataSet->Open();

  EXPECT_EQ(4, dataSet->RecordCount());
  EXPECT_EQ(10, dataSet->Records()->Count());
  EXPECT_EQ((std::vector<std::string>{"7", "8", "9", "10"}), Column(*dataSet, "N"));
}

TEST_P(FetchTest, APauseStopsTheOpeningFetchAfterTheFirstRowAndTheNextScrollGoesOn) {
  MakeNumbers(10);
  auto dataSet = NewDataSet("select n from numbers_t order by n");
  int fetched = 0;
  dataSet->SetAfterFetchRecord([&](TOracleDataSet*, bool, TAfterFetchRecordAction& action) {
    if (++fetched == 1) action = fraPause;
  });

  dataSet->Open();
  EXPECT_EQ(1, dataSet->RecordCount());

  dataSet->Next();
  EXPECT_EQ(2, dataSet->FieldByName("N")->AsInteger());
  EXPECT_EQ(2, dataSet->RecordCount());
  dataSet->Last();
  EXPECT_EQ(10, dataSet->RecordCount());
}

TEST_P(FetchTest, AStopKeepsTheRowsFetchedAndEndsTheFetching) {
  MakeNumbers(10);
  auto dataSet = NewDataSet("select n from numbers_t order by n");
  dataSet->SetAfterFetchRecord([](TOracleDataSet* sender, bool, TAfterFetchRecordAction& action) {
    if (sender->RecordCount() == 3) action = fraStop;
  });

  dataSet->Open();
  dataSet->Last();

  EXPECT_EQ(3, dataSet->RecordCount());
  EXPECT_EQ(3, dataSet->FieldByName("N")->AsInteger());
}

TEST_P(FetchTest, ACancelOnTheTenthRowLeavesTheDataSetEmpty) {
  MakeNumbers(20);
  auto dataSet = NewDataSet("select n from numbers_t order by n");
  int fetched = 0;
  dataSet->SetAfterFetchRecord([&](TOracleDataSet*, bool, TAfterFetchRecordAction& action) {
    if (++fetched == 10) action = fraCancel;
  });

  dataSet->Open();

  EXPECT_EQ(10, fetched);
  EXPECT_EQ(0, dataSet->RecordCount());
  EXPECT_TRUE(dataSet->IsEmpty());
  EXPECT_EQ(0, dataSet->RecNo());
  dataSet->Last();
  EXPECT_TRUE(dataSet->IsEmpty());
}

TEST_P(FetchTest, ACancelWhileScrollingLeavesNoBlobValueBehindInTheWindow) {
  Run("create table notes_t (id number(4), note long)");
  for (int i = 1; i <= 6; ++i)
    Run("insert into notes_t values (" + std::to_string(i) + ", 'note " + std::to_string(i) + "')");
  auto dataSet = NewDataSet("select id, note from notes_t order by id");
  dataSet->SetQueryAllRecords(false);
  WindowLink grid(*dataSet, 3);
  dataSet->Open();
  ASSERT_EQ("note 1", dataSet->FieldByName("NOTE")->AsString());
  dataSet->SetAfterFetchRecord([](TOracleDataSet* sender, bool, TAfterFetchRecordAction& action) {
    if (sender->RecordCount() == 5) action = fraCancel;
  });

  dataSet->MoveBy(4);

  // The rows the window still shows are gone from the list: reading their
  // memo must not reach the freed values.
  EXPECT_EQ(0, dataSet->RecordCount());
  for (const std::string& note : grid.Shown("NOTE"))
    EXPECT_EQ("", note);
}

TEST_P(FetchTest, AnExceptionInAfterFetchRecordIsShownAndCancelsTheFetch) {
  MakeNumbers(5);
  auto dataSet = NewDataSet("select n from numbers_t order by n");
  dataSet->SetAfterFetchRecord([](TOracleDataSet* sender, bool, TAfterFetchRecordAction&) {
    if (sender->RecordCount() == 2) throw Exception("handler failed");
  });

  dataSet->Open();

  EXPECT_EQ(0, dataSet->RecordCount());
  ASSERT_EQ(1u, ui_.Messages().size());
  EXPECT_TRUE(ui_.Messages()[0].IsException);
  EXPECT_EQ("handler failed.", ui_.Messages()[0].Box.Text);
}

TEST_P(FetchTest, AfterFetchRecordHearsWhetherTheFilterAcceptedTheRow) {
  MakeNumbers(4);
  auto dataSet = NewDataSet("select n from numbers_t order by n");
  dataSet->SetFilter("N <> 2");
  dataSet->SetFiltered(true);
  std::vector<bool> accepted;
  dataSet->SetAfterFetchRecord([&](TOracleDataSet*, bool filterAccept, TAfterFetchRecordAction&) {
    accepted.push_back(filterAccept);
  });

  dataSet->Open();

  EXPECT_EQ((std::vector<bool>{true, false, true, true}), accepted);
}

TEST_P(FetchTest, TheQueryEventsSurroundEveryExecutionAndAfterQueryAlsoAFailedOne) {
  MakeNumbers(3);
  auto dataSet = NewDataSet("select n from numbers_t order by n");
  std::vector<std::string> events;
  dataSet->SetBeforeQuery([&](TOracleDataSet*) { events.push_back("before"); });
  dataSet->SetAfterQuery([&](TOracleDataSet* sender) {
    events.push_back("after " + std::to_string(sender->RecordCount()));
  });

  dataSet->Open();
  dataSet->Refresh();
  EXPECT_EQ((std::vector<std::string>{"before", "after 3", "before", "after 3"}), events);

  // A filter that fails on the second row fails the fetch of the open.
  dataSet->Close();
  events.clear();
  dataSet->SetFilter("10 / (N - 2) < 0");
  dataSet->SetFiltered(true);
  EXPECT_NE("", ErrorOf([&] { dataSet->Open(); }));
  EXPECT_EQ((std::vector<std::string>{"before", "after 1"}), events);
  EXPECT_FALSE(dataSet->Active());
}

TEST_P(FetchTest, RefreshRunsTheQueryAgainAndNumbersTheRecordsAfresh) {
  MakeNumbers(3);
  auto dataSet = NewDataSet("select n from numbers_t order by n");
  dataSet->Open();
  dataSet->Last();
  Run("insert into numbers_t (n) values (4)");

  dataSet->Refresh();

  EXPECT_EQ(4, dataSet->RecordCount());
  EXPECT_EQ(1, dataSet->RecNo());
  EXPECT_EQ(4u, dataSet->LastRecordId());
}

TEST_P(FetchTest, ACursorDataSetFetchesTheCursorItsBlockOpens) {
  auto dataSet = NewDataSet(
      "begin open :c for select ename, sal from emp where deptno = :d order by ename; end;");
  dataSet->DeclareVariable("c", otCursor);
  dataSet->DeclareVariable("d", otInteger);
  dataSet->SetVariable("d", 10);

  dataSet->Open();
  EXPECT_NE(&dataSet->InternalQuery(), dataSet->FetchQuery());
  EXPECT_EQ((std::vector<std::string>{"CLARK|2450", "KING|5000", "MILLER|1300"}), Rows(*dataSet));

  dataSet->SetVariable("d", 40);
  dataSet->Refresh();
  EXPECT_TRUE(dataSet->IsEmpty());

  dataSet->SetVariable("d", 20);
  dataSet->Close();
  dataSet->Open();
  EXPECT_EQ("ADAMS|1100", Rows(*dataSet).at(0));
}

TEST_P(FetchTest, AClosedCursorDataSetLeavesNoQueryBoundToItsCursorVariable) {
  auto dataSet = NewDataSet("begin open :c for select ename from emp; end;");
  dataSet->DeclareVariable("c", otCursor);
  dataSet->Open();
  dataSet->Close();

  EXPECT_EQ(&dataSet->InternalQuery(), dataSet->FetchQuery());
  EXPECT_EQ("Cursor variable :C cannot be nil",
            ErrorOf([&] { dataSet->InternalQuery().Execute(); }));
}

TEST_P(FetchTest, TrailingBlanksAreTrimmedWhenTheSessionSaysSo) {
  Run("create table codes_t (code char(6))");
  Run("insert into codes_t values ('ab')");
  Run("insert into codes_t values ('      ')");
  auto dataSet = NewDataSet("select code from codes_t order by code desc");

  dataSet->Open();
  EXPECT_EQ("ab", dataSet->FieldByName("CODE")->AsString());
  dataSet->Next();
  EXPECT_TRUE(dataSet->FieldByName("CODE")->IsNull()) << "an empty text is stored as null";

  session_->Preferences()->SetTrimStringFields(false);
  dataSet->Refresh();
  EXPECT_EQ("ab    ", dataSet->FieldByName("CODE")->AsString());
}

TEST_P(FetchTest, LineBreaksReadBackAsTheQueryGivesThem) {
  Run("create table lines_t (text varchar2(20))");
  Run("insert into lines_t values ('one' || chr(10) || 'two')");
  auto dataSet = NewDataSet("select text from lines_t");

  dataSet->Open();
  EXPECT_EQ("one\r\ntwo", dataSet->FieldByName("TEXT")->AsString());
}

TEST_P(FetchTest, ALongValueWithLineBreaksKeepsEveryCharacter) {
  Run("create table lines_t (text varchar2(4))");
  Run("insert into lines_t values ('a' || chr(10) || chr(10) || 'b')");
  auto dataSet = NewDataSet("select text from lines_t");

  dataSet->Open();
  // "a\r\n\r\nb" does not fit four characters: the text stays as the server
  // gave it.
  EXPECT_EQ("a\n\nb", dataSet->FieldByName("TEXT")->AsString());
}

VORN_IN_BOTH_CALL_SETS(FetchTest);

}  // namespace

}  // namespace vorn::dataset_test
