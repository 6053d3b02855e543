// Navigation, bookmarks, record numbers and field access through the
// record buffers of the framework's window.
#include "DataSetRecords.h"
#include "DataSetTestSupport.h"
#include "RecordList.h"
#include "vorn/host/Field.h"
#include "vorn/host/NumericFields.h"

namespace vorn::dataset_test {

namespace {

class NavigationTest : public DataSetTest {
 protected:
  void SetUp() override {
    DataSetTest::SetUp();
    MakeNumbers(10);
  }

  int N(TDataSet& dataSet) { return dataSet.FieldByName("N")->AsInteger(); }
};

TEST_P(NavigationTest, AnEmptyResultHasNoRecordsAndRecordNumberZero) {
  auto dataSet = NewDataSet("select n from numbers_t where n > 100");
  dataSet->Open();

  EXPECT_TRUE(dataSet->IsEmpty());
  EXPECT_EQ(0, dataSet->RecordCount());
  EXPECT_EQ(0, dataSet->RecNo());
  EXPECT_TRUE(dataSet->Bof());
  EXPECT_TRUE(dataSet->Eof());
  EXPECT_EQ("No Records", ErrorOf([&] { dataSet->Read(gmCurrent, true); }));
  EXPECT_EQ(grError, dataSet->Read(gmCurrent, false));
  EXPECT_EQ("No Records", ErrorOf([&] { dataSet->Resync(rmExact); }));
}

TEST_P(NavigationTest, FirstLastNextAndPriorWalkTheRecordsInOrder) {
  auto dataSet = NewDataSet("select n from numbers_t order by n");
  dataSet->Open();

  dataSet->Last();
  EXPECT_EQ(10, N(*dataSet));
  EXPECT_TRUE(dataSet->Eof());
  dataSet->Prior();
  EXPECT_EQ(9, N(*dataSet));
  dataSet->First();
  EXPECT_EQ(1, N(*dataSet));
  EXPECT_TRUE(dataSet->Bof());
  EXPECT_EQ(3, dataSet->MoveBy(3));
  EXPECT_EQ(4, N(*dataSet));
  EXPECT_EQ(-3, dataSet->MoveBy(-10));
  EXPECT_EQ(1, N(*dataSet));
}

TEST_P(NavigationTest, RecordNumbersFollowTheCursorAndMoveIt) {
  auto dataSet = NewDataSet("select n from numbers_t order by n");
  WindowLink grid(*dataSet, 4);
  dataSet->Open();
  EXPECT_EQ(1, dataSet->RecNo());

  dataSet->MoveBy(5);
  EXPECT_EQ(6, dataSet->RecNo());

  dataSet->SetRecNo(3);
  EXPECT_EQ(3, N(*dataSet));
  EXPECT_EQ(3, dataSet->RecNo());
  dataSet->SetRecNo(10);
  EXPECT_EQ(10, N(*dataSet));
  dataSet->SetRecNo(11);
  EXPECT_EQ(10, N(*dataSet)) << "beyond the records: no move";
}

TEST_P(NavigationTest, ABookmarkLeadsBackToItsRecord) {
  auto dataSet = NewDataSet("select n from numbers_t order by n");
  dataSet->Open();
  dataSet->MoveBy(2);
  const TBookmark third = dataSet->GetBookmark();
  ASSERT_EQ(4u, third.size());
  dataSet->Last();

  dataSet->GotoBookmark(third);

  EXPECT_EQ(3, N(*dataSet));
  EXPECT_TRUE(dataSet->BookmarkValid(third));
}

TEST_P(NavigationTest, BookmarksCompareByTheOrderRecordsEnteredTheList) {
  auto dataSet = NewDataSet("select n from numbers_t order by n");
  dataSet->Open();
  const TBookmark first = dataSet->GetBookmark();
  dataSet->Next();
  const TBookmark second = dataSet->GetBookmark();

  EXPECT_EQ(-1, dataSet->CompareBookmarks(first, second));
  EXPECT_EQ(1, dataSet->CompareBookmarks(second, first));
  EXPECT_EQ(0, dataSet->CompareBookmarks(second, second));
  EXPECT_EQ(1, dataSet->CompareBookmarks({}, first));
  EXPECT_EQ(-1, dataSet->CompareBookmarks(first, {}));
  EXPECT_EQ(0, dataSet->CompareBookmarks({}, {}));
}

TEST_P(NavigationTest, ARecordInsertedIntoTheListComparesAfterThoseFetchedBeforeIt) {
  auto dataSet = NewDataSet("select n from numbers_t order by n");
  dataSet->Open();
  dataSet->MoveBy(4);
  const TBookmark fifth = dataSet->GetBookmark();

  // A copy of record 9 placed second, as a record inserted there would be.
  const uint32_t id = dataSet->InsertCopy(8, 1);
  dataSet->Resync(rmNone);
  dataSet->First();
  dataSet->Next();
  ASSERT_EQ(9, N(*dataSet));
  const TBookmark inserted = dataSet->GetBookmark();

  EXPECT_EQ(11u, id);
  EXPECT_EQ(1, dataSet->CompareBookmarks(inserted, fifth));
  // The fifth record now stands sixth; its bookmark still finds it.
  dataSet->GotoBookmark(fifth);
  EXPECT_EQ(5, N(*dataSet));
  EXPECT_EQ(6, dataSet->RecNo());
  dataSet->GotoBookmark(inserted);
  EXPECT_EQ(2, dataSet->RecNo());
}

TEST_P(NavigationTest, AfterARefreshABookmarkNamesWhicheverRecordNowHasItsNumber) {
  auto dataSet = NewDataSet("select n from numbers_t order by n");
  dataSet->Open();
  dataSet->MoveBy(2);
  const TBookmark third = dataSet->GetBookmark();
  dataSet->Last();
  const TBookmark tenth = dataSet->GetBookmark();
  Run("delete from numbers_t where n = 1");

  dataSet->Refresh();

  dataSet->GotoBookmark(third);
  EXPECT_EQ(4, N(*dataSet)) << "record number 3 is now the row with 4";
  EXPECT_EQ("Bookmark not found (10)", ErrorOf([&] { dataSet->GotoBookmark(tenth); }));
  EXPECT_EQ(4, N(*dataSet)) << "a failed move leaves the record";
}

TEST_P(NavigationTest, ARecordHiddenByTheFilterCannotBeReachedByItsBookmark) {
  auto dataSet = NewDataSet("select n from numbers_t order by n");
  dataSet->Open();
  dataSet->MoveBy(1);
  const TBookmark second = dataSet->GetBookmark();
  dataSet->SetFilter("N <> 2");
  dataSet->SetFiltered(true);

  EXPECT_EQ("Bookmark not found (2)", ErrorOf([&] { dataSet->GotoBookmark(second); }));
}

TEST_P(NavigationTest, OldValueAndCurrentRowIdReadTheActiveRecordWhereverTheWindowLeftTheCursor) {
  auto dataSet = NewDataSet("select rowid, n from numbers_t order by n");
  WindowLink grid(*dataSet, 5);
  dataSet->Open();
  const std::vector<std::string> rowIds =
      session_test::Rows(*session_, "select rowid from numbers_t order by n");

  // Filling the window left the cursor on the fifth record.
  EXPECT_EQ(1, dataSet->FieldByName("N")->OldValue().AsInteger());
  EXPECT_EQ(rowIds.at(0), dataSet->CurrentRowId());

  dataSet->MoveBy(2);
  EXPECT_EQ(3, dataSet->FieldByName("N")->OldValue().AsInteger());
  EXPECT_EQ(rowIds.at(2), dataSet->CurrentRowId());
}

TEST_P(NavigationTest, AnEmptyStringIsStoredAsNull) {
  auto dataSet = NewDataSet("select label from numbers_t order by n");
  dataSet->Open();
  TField* label = dataSet->FieldByName("LABEL");
  ASSERT_EQ("row 1", label->AsString());

  // Browsing, an assignment changes the window's copy of the record only.
  label->SetAsString("");
  EXPECT_TRUE(label->IsNull());
  EXPECT_FALSE(label->GetData(nullptr));

  dataSet->First();
  EXPECT_EQ("row 1", label->AsString()) << "the stored record is unchanged";
}

TEST_P(NavigationTest, CalculatedFieldsAreComputedForTheWindowButNotForTheFilter) {
  auto dataSet = NewDataSet("select n from numbers_t order by n");
  auto* n = new TIntegerField(dataSet.get());
  n->SetFieldName("N");
  n->SetDataSet(dataSet.get());
  auto* twice = new TIntegerField(dataSet.get());
  twice->SetFieldName("TWICE");
  twice->SetFieldKind(fkCalculated);
  twice->SetDataSet(dataSet.get());
  dataSet->SetOnCalcFields([&](TDataSet*) { twice->SetAsInteger(n->AsInteger() * 2); });
  std::vector<bool> seenInFilter;
  dataSet->SetOnFilterRecord([&](TDataSet*, bool& accept) {
    seenInFilter.push_back(twice->IsNull());
    accept = n->AsInteger() > 8;
  });
  dataSet->SetFiltered(true);

  dataSet->Open();

  EXPECT_EQ((std::vector<std::string>{"9|18", "10|20"}), Rows(*dataSet));
  EXPECT_EQ(std::vector<bool>(10, true), seenInFilter);
}

VORN_IN_BOTH_CALL_SETS(NavigationTest);

}  // namespace

}  // namespace vorn::dataset_test
