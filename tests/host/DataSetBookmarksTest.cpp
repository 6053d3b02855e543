// Bookmarks: when one is available, going to one, comparing and validating.
#include "DataSetFixture.h"

namespace vorn::dataset_test {
namespace {

using ::testing::ElementsAre;

class BookmarksTest : public DataSetTest {};

TEST_F(BookmarksTest, GotoBookmarkCentresTheRecordAndFiresScrollEvents) {
  RecordingLink& link = Link(5);
  OpenWith(10);
  ds->MoveBy(7);
  TBookmark eighth = ds->GetBookmark();
  ds->First();
  std::vector<std::string> log;
  LogDataSetEvents(*ds, log);
  link.log.clear();

  ds->GotoBookmark(eighth);

  EXPECT_EQ(Id(), 8);
  EXPECT_THAT(link.Rows(), ElementsAre(6, 7, 8, 9, 10));
  EXPECT_EQ(link.ActiveRecord(), 2);
  EXPECT_THAT(log, ElementsAre("BeforeScroll", "AfterScroll"));
  EXPECT_THAT(link.log, ElementsAre("changed"));
}

TEST_F(BookmarksTest, TheBookmarkPropertyIsTheSameBytes) {
  OpenWith(5);
  ds->MoveBy(3);
  TBookmarkStr fourth = ds->Bookmark();
  EXPECT_EQ(fourth.size(), 4u);
  ds->First();

  ds->SetBookmark(fourth);

  EXPECT_EQ(Id(), 4);
}

TEST_F(BookmarksTest, ARecordBeingInsertedHasNoBookmark) {
  OpenWith(3);
  EXPECT_TRUE(ds->BookmarkAvailable());

  ds->Insert();

  EXPECT_FALSE(ds->BookmarkAvailable());
  EXPECT_TRUE(ds->GetBookmark().empty());
  EXPECT_EQ(ds->Bookmark(), "");
}

TEST_F(BookmarksTest, AnEmptyOrClosedDatasetHasNoBookmark) {
  EXPECT_FALSE(ds->BookmarkAvailable());
  OpenWith(0);
  EXPECT_TRUE(ds->GetBookmark().empty());
}

TEST_F(BookmarksTest, GoingToNoBookmarkDoesNothing) {
  OpenWith(3);
  ds->Next();
  std::vector<std::string> log;
  LogDataSetEvents(*ds, log);

  ds->GotoBookmark(TBookmark());
  ds->SetBookmark("");

  EXPECT_EQ(Id(), 2);
  EXPECT_TRUE(log.empty());
}

TEST_F(BookmarksTest, ABookmarkShorterThanTheDatasetsIsRefused) {
  OpenWith(3);
  ds->Next();

  EXPECT_THROW(ds->SetBookmark("ab"), EDatabaseError);
  EXPECT_EQ(Id(), 2);
}

TEST_F(BookmarksTest, ABookmarkOfADeletedRecordIsNoLongerValid) {
  OpenWith(3);
  ds->Next();
  TBookmark second = ds->GetBookmark();
  EXPECT_TRUE(ds->BookmarkValid(second));

  ds->Delete();

  EXPECT_FALSE(ds->BookmarkValid(second));
  EXPECT_THROW(ds->GotoBookmark(second), EDatabaseError);
  EXPECT_EQ(Id(), 3);
}

TEST_F(BookmarksTest, FreeBookmarkReleasesIt) {
  OpenWith(3);
  TBookmark bookmark = ds->GetBookmark();

  ds->FreeBookmark(bookmark);

  EXPECT_TRUE(bookmark.empty());
}

}  // namespace
}  // namespace vorn::dataset_test
