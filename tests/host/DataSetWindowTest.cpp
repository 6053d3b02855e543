// The record-buffer window: filling, sliding, scroll counts, the data links'
// rows, insert placement and buffer-count changes.
#include "DataSetFixture.h"

namespace vorn::dataset_test {
namespace {

using ::testing::ElementsAre;

class WindowTest : public DataSetTest {};

TEST_F(WindowTest, OpenFillsTheWindowFromTheFirstRecord) {
  RecordingLink& link = Link(3);
  OpenWith(10);

  EXPECT_THAT(link.Rows(), ElementsAre(1, 2, 3));
  EXPECT_EQ(link.ActiveRecord(), 0);
  EXPECT_TRUE(ds->Bof());
  EXPECT_FALSE(ds->Eof());
  EXPECT_THAT(link.log, ElementsAre("active"));
}

TEST_F(WindowTest, ScrollingInsideTheWindowMovesTheActiveRecordOnly) {
  RecordingLink& link = Link(3);
  OpenWith(10);
  link.log.clear();

  ds->Next();
  ds->Next();

  EXPECT_EQ(Id(), 3);
  EXPECT_EQ(link.ActiveRecord(), 2);
  EXPECT_THAT(link.Rows(), ElementsAre(1, 2, 3));
  EXPECT_THAT(link.log, ElementsAre("scrolled 0", "scrolled 0"));
  EXPECT_FALSE(ds->Bof());
}

TEST_F(WindowTest, ScrollingPastAFullWindowSlidesIt) {
  RecordingLink& link = Link(3);
  OpenWith(10);
  ds->Next();
  ds->Next();
  link.log.clear();

  ds->Next();

  EXPECT_EQ(Id(), 4);
  EXPECT_THAT(link.Rows(), ElementsAre(2, 3, 4));
  EXPECT_EQ(link.ActiveRecord(), 2);
  // The window slid one row up (scroll count -1); the link keeps showing the
  // active record at its bottom row, one row further on.
  EXPECT_THAT(link.log, ElementsAre("scrolled 1"));
}

TEST_F(WindowTest, ScrollingBackPastTheTopSlidesTheOtherWay) {
  RecordingLink& link = Link(3);
  OpenWith(10);
  ds->MoveBy(5);  // [4, 5, 6*]
  ds->Prior();
  ds->Prior();
  link.log.clear();

  ds->Prior();

  EXPECT_EQ(Id(), 3);
  EXPECT_THAT(link.Rows(), ElementsAre(3, 4, 5));
  EXPECT_EQ(link.ActiveRecord(), 0);
  EXPECT_THAT(link.log, ElementsAre("scrolled -1"));
}

TEST_F(WindowTest, MoveByAnswersTheStepsMadeAndStopsAtTheEnds) {
  Link(3);
  OpenWith(10);

  EXPECT_EQ(ds->MoveBy(5), 5);
  EXPECT_EQ(Id(), 6);
  EXPECT_EQ(ds->MoveBy(100), 4);
  EXPECT_EQ(Id(), 10);
  EXPECT_TRUE(ds->Eof());
  EXPECT_EQ(ds->MoveBy(1), 0);
  EXPECT_EQ(ds->MoveBy(-100), -9);
  EXPECT_EQ(Id(), 1);
  EXPECT_TRUE(ds->Bof());
  EXPECT_EQ(ds->MoveBy(-1), 0);
}

TEST_F(WindowTest, MoveByAtAnEndFiresBeforeScrollOnly) {
  OpenWith(3);
  std::vector<std::string> log;
  LogDataSetEvents(*ds, log);

  ds->MoveBy(-1);
  ds->MoveBy(0);

  EXPECT_THAT(log, ElementsAre("BeforeScroll", "BeforeScroll"));
}

TEST_F(WindowTest, ScrollingThatAddsRowsToTheWindowReportsADataSetChange) {
  RecordingLink& link = Link(5);
  OpenWith(3);
  ds->AddRow({4, "r4"});
  ds->AddRow({5, "r5"});
  link.log.clear();

  EXPECT_EQ(ds->MoveBy(3), 3);

  EXPECT_EQ(Id(), 4);
  EXPECT_THAT(link.Rows(), ElementsAre(1, 2, 3, 4));
  EXPECT_THAT(link.log, ElementsAre("changed"));
}

TEST_F(WindowTest, AShortDatasetLeavesTheWindowPartlyFilled) {
  RecordingLink& link = Link(5);
  OpenWith(3);

  EXPECT_EQ(link.RecordCount(), 3);
  EXPECT_EQ(ds->MoveBy(10), 2);
  EXPECT_EQ(Id(), 3);
  EXPECT_TRUE(ds->Eof());
  EXPECT_THAT(link.Rows(), ElementsAre(1, 2, 3));
}

TEST_F(WindowTest, LastShowsTheLastRecordsWithTheLastActive) {
  RecordingLink& link = Link(3);
  OpenWith(10);
  link.log.clear();

  ds->Last();

  EXPECT_EQ(Id(), 10);
  EXPECT_TRUE(ds->Eof());
  EXPECT_FALSE(ds->Bof());
  EXPECT_THAT(link.Rows(), ElementsAre(8, 9, 10));
  EXPECT_EQ(link.ActiveRecord(), 2);
  EXPECT_THAT(link.log, ElementsAre("changed"));
}

TEST_F(WindowTest, FirstAndLastFireScrollEventsAroundTheChange) {
  OpenWith(10);
  std::vector<std::string> log;
  LogDataSetEvents(*ds, log);

  ds->Last();
  ds->First();

  EXPECT_THAT(log, ElementsAre("BeforeScroll", "AfterScroll", "BeforeScroll", "AfterScroll"));
  EXPECT_TRUE(ds->Bof());
}

TEST_F(WindowTest, InsertPutsTheNewRecordInFrontOfTheCurrentOne) {
  RecordingLink& link = Link(3);
  OpenWith(10);
  ds->MoveBy(3);  // [2, 3, 4*]
  ds->Prior();    // [2, 3*, 4]
  link.log.clear();

  ds->Insert();

  EXPECT_EQ(ds->State(), dsInsert);
  EXPECT_THAT(link.Rows(), ElementsAre(2, 0, 3));
  EXPECT_EQ(link.ActiveRecord(), 1);
  EXPECT_TRUE(ds->FieldByName("ID")->IsNull());
  EXPECT_THAT(link.log, ElementsAre("editing", "changed"));
}

TEST_F(WindowTest, PostedInsertStaysWhereItWasShown) {
  RecordingLink& link = Link(3);
  OpenWith(10);
  ds->MoveBy(3);
  ds->Prior();  // [2, 3*, 4]
  ds->Insert();
  ds->FieldByName("ID")->SetAsInteger(99);
  link.log.clear();

  ds->Post();

  EXPECT_EQ(ds->State(), dsBrowse);
  EXPECT_THAT(link.Rows(), ElementsAre(2, 99, 3));
  EXPECT_EQ(Id(), 99);
  EXPECT_THAT(link.log, ElementsAre("update data", "not editing", "changed"));
  ds->Next();
  EXPECT_EQ(Id(), 3);
  ds->Next();
  EXPECT_EQ(Id(), 4);
}

TEST_F(WindowTest, CancelledInsertShowsTheRecordItStoodBefore) {
  RecordingLink& link = Link(3);
  OpenWith(10);
  ds->Next();  // [1, 2*, 3]
  ds->Insert();

  ds->Cancel();

  EXPECT_EQ(Id(), 2);
  EXPECT_THAT(link.Rows(), ElementsAre(1, 2, 3));
  EXPECT_EQ(ds->RecordCount(), 10);
}

TEST_F(WindowTest, AppendShowsTheNewRecordBelowTheLastOnes) {
  RecordingLink& link = Link(3);
  OpenWith(10);

  ds->Append();

  EXPECT_THAT(link.Rows(), ElementsAre(9, 10, 0));
  EXPECT_EQ(link.ActiveRecord(), 2);
  ds->FieldByName("ID")->SetAsInteger(11);
  ds->Post();
  EXPECT_THAT(link.Rows(), ElementsAre(9, 10, 11));
  ds->First();
  EXPECT_EQ(ds->MoveBy(100), 10);
  EXPECT_EQ(Id(), 11);
}

TEST_F(WindowTest, InsertIntoAnEmptyDatasetIsNotEmpty) {
  RecordingLink& link = Link(3);
  OpenWith(0);
  EXPECT_TRUE(ds->IsEmpty());

  ds->Insert();
  EXPECT_FALSE(ds->IsEmpty());
  ds->FieldByName("ID")->SetAsInteger(7);
  ds->Post();

  EXPECT_THAT(link.Rows(), ElementsAre(7));
  EXPECT_EQ(ds->RecordCount(), 1);
}

TEST_F(WindowTest, CancelledInsertIntoAnEmptyDatasetLeavesItEmpty) {
  Link(3);
  OpenWith(0);
  ds->Insert();

  ds->Cancel();

  EXPECT_TRUE(ds->IsEmpty());
  EXPECT_TRUE(ds->Bof());
  EXPECT_TRUE(ds->Eof());
}

TEST_F(WindowTest, InsertIntoAFullWindowDropsItsLastRow) {
  RecordingLink& link = Link(3);
  OpenWith(10);  // [1*, 2, 3]

  ds->Insert();

  EXPECT_THAT(link.Rows(), ElementsAre(0, 1, 2));
  ds->Cancel();
  EXPECT_THAT(link.Rows(), ElementsAre(1, 2, 3));
}

TEST_F(WindowTest, DeleteShowsTheFollowingRecordOrThePriorAtTheEnd) {
  RecordingLink& link = Link(3);
  OpenWith(5);
  ds->Next();  // [1, 2*, 3]

  ds->Delete();
  EXPECT_EQ(Id(), 3);
  EXPECT_THAT(link.Rows(), ElementsAre(1, 3, 4));

  ds->Last();
  ds->Delete();
  EXPECT_EQ(Id(), 4);
  EXPECT_EQ(ds->RecordCount(), 3);
}

TEST_F(WindowTest, GrowingTheWindowReadsFollowingRecordsFirst) {
  RecordingLink& link = Link(3);
  OpenWith(10);
  ds->MoveBy(3);  // [2, 3, 4*]

  link.SetBufferCount(5);

  EXPECT_THAT(link.Rows(), ElementsAre(2, 3, 4, 5, 6));
  EXPECT_EQ(link.ActiveRecord(), 2);
  EXPECT_EQ(Id(), 4);
}

TEST_F(WindowTest, GrowingAtTheEndReadsPriorRecordsAndKeepsOtherLinksOnTheirRows) {
  RecordingLink& grid = Link(3);
  RecordingLink& other = Link(2);
  OpenWith(10);
  ds->Last();  // [8, 9, 10*]
  EXPECT_THAT(other.Rows(), ElementsAre(9, 10));

  grid.SetBufferCount(5);

  EXPECT_THAT(grid.Rows(), ElementsAre(6, 7, 8, 9, 10));
  EXPECT_EQ(grid.ActiveRecord(), 4);
  EXPECT_THAT(other.Rows(), ElementsAre(9, 10));
  EXPECT_EQ(Id(), 10);
}

TEST_F(WindowTest, ShrinkingTheWindowKeepsTheActiveRecord) {
  RecordingLink& link = Link(5);
  OpenWith(10);
  ds->Last();  // [6, 7, 8, 9, 10*]

  link.SetBufferCount(2);

  EXPECT_THAT(link.Rows(), ElementsAre(9, 10));
  EXPECT_EQ(link.ActiveRecord(), 1);
  EXPECT_EQ(Id(), 10);
  EXPECT_EQ(ds->LiveBuffers(), 3);
  ds->Prior();
  ds->Prior();
  EXPECT_EQ(Id(), 8);
  EXPECT_THAT(link.Rows(), ElementsAre(8, 9));
}

TEST_F(WindowTest, ShrinkingKeepsTheRowsOfTheOtherLinksWhereItCan) {
  RecordingLink& big = Link(5);
  RecordingLink& small = Link(2);
  OpenWith(10);
  ds->MoveBy(2);  // [1, 2, 3*, 4, 5]; small shows [2, 3]
  EXPECT_THAT(small.Rows(), ElementsAre(2, 3));

  big.SetBufferCount(3);

  EXPECT_THAT(small.Rows(), ElementsAre(2, 3));
  EXPECT_EQ(Id(), 3);
  EXPECT_EQ(ds->MoveBy(1), 1);
  EXPECT_EQ(Id(), 4);
}

// The new record shown in the last row names the record it stands before;
// when the window grows during the insert that record must be read next, not
// skipped.
TEST_F(WindowTest, GrowingDuringAnInsertAtTheLastRowShowsTheRecordPushedOut) {
  RecordingLink& link = Link(3);
  OpenWith(10);
  ds->MoveBy(3);  // [2, 3, 4*]
  ds->Insert();   // [2, 3, NEW*]; 4 pushed out
  EXPECT_THAT(link.Rows(), ElementsAre(2, 3, 0));

  link.SetBufferCount(4);

  EXPECT_THAT(link.Rows(), ElementsAre(2, 3, 0, 4));
  ds->Cancel();
  EXPECT_EQ(Id(), 4);
  EXPECT_THAT(link.Rows(), ElementsAre(2, 3, 4, 5));
}

TEST_F(WindowTest, ResyncCentreKeepsTheCursorRecordInTheMiddleRow) {
  RecordingLink& link = Link(5);
  OpenWith(10);

  ds->SetRecNo(8);

  EXPECT_EQ(Id(), 8);
  EXPECT_THAT(link.Rows(), ElementsAre(6, 7, 8, 9, 10));
  EXPECT_EQ(link.ActiveRecord(), 2);
}

TEST_F(WindowTest, RefreshRebuildsTheWindowAroundTheActiveRecord) {
  RecordingLink& link = Link(3);
  OpenWith(10);
  ds->MoveBy(4);  // [3, 4, 5*]
  std::vector<std::string> log;
  LogDataSetEvents(*ds, log);
  link.log.clear();

  ds->Refresh();

  EXPECT_EQ(Id(), 5);
  EXPECT_THAT(link.Rows(), ElementsAre(3, 4, 5));
  EXPECT_THAT(log, ElementsAre("BeforeRefresh", "AfterRefresh"));
  EXPECT_THAT(link.log, ElementsAre("changed"));
}

TEST_F(WindowTest, ALinkShowsNoMoreRowsThanTheWindowHolds) {
  RecordingLink& big = Link(5);
  RecordingLink& small = Link(2);
  OpenWith(4);
  ds->Last();  // [1, 2, 3, 4*]

  EXPECT_EQ(big.RecordCount(), 4);
  EXPECT_EQ(small.RecordCount(), 2);
  EXPECT_THAT(small.Rows(), ElementsAre(3, 4));
  EXPECT_THROW(small.SetActiveRecord(7), EListError);
}

// When the window holds fewer records than before, a link whose rows start
// further down must not count rows past the last record: they would show the
// scratch buffer.
TEST_F(WindowTest, ALinkCountsOnlyTheRecordsFromItsFirstRow) {
  RecordingLink& big = Link(5);
  RecordingLink& small = Link(3);
  OpenWith(5);
  ds->Last();  // [1, 2, 3, 4, 5*]; small shows [3, 4, 5]
  EXPECT_THAT(small.Rows(), ElementsAre(3, 4, 5));

  ds->Delete();  // [1, 2, 3, 4*]

  EXPECT_THAT(big.Rows(), ElementsAre(1, 2, 3, 4));
  EXPECT_EQ(small.RecordCount(), 2);
  EXPECT_THAT(small.Rows(), ElementsAre(3, 4));
}

TEST_F(WindowTest, SettingALinksActiveRecordMovesNoCursorAndSendsNothing) {
  RecordingLink& link = Link(3);
  OpenWith(10);
  link.log.clear();
  ds->ResetGetRecordCalls();

  link.SetActiveRecord(2);

  EXPECT_EQ(Id(), 3);
  EXPECT_TRUE(link.log.empty());
  EXPECT_EQ(ds->GetRecordCalls(), 0);
  link.SetActiveRecord(0);
  EXPECT_EQ(Id(), 1);
}

}  // namespace
}  // namespace vorn::dataset_test
