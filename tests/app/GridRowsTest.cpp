// The grid's rows through a data link over a real dataset: cells read in
// any order with a small window, a dataset that fetches as it goes, nulls,
// the changes reported to views, and the console's table of them.
#include "GridRows.h"

#include <gtest/gtest.h>

#include <memory>

#include "ConsoleTable.h"
#include "SessionTestSupport.h"
#include "vorn/dataset/OracleDataSet.h"
#include "vorn/host/DataSource.h"
#include "vorn/session/OracleSession.h"

namespace vorn {
namespace {

const std::vector<std::string> kDogs = {"Rex",   "Bella", "Max",     "Luna", "Buddy",  "Daisy",
                                        "Rocky", "Molly", "Charlie", "Lucy", "Bailey", "Sadie"};

class GridRowsTest : public session_test::SessionTest {
 protected:
  GridRowsTest() {
    session_ = NewSession("man", "man");
    session_->LogOn();
    dataSet_.SetSession(session_.get());
    source_.SetDataSet(&dataSet_);
    rows_.SetDataSource(&source_);
    rows_.SetOnChange([this](GridRows::Change change) { changes_.push_back(change); });
  }
  ~GridRowsTest() override {
    rows_.SetDataSource(nullptr);
    dataSet_.Close();
  }

  void Open(const std::string& sql) {
    dataSet_.SQL()->Clear();
    dataSet_.SQL()->Add(sql);
    dataSet_.Open();
  }

  std::unique_ptr<TOracleSession> session_;
  TOracleDataSet dataSet_;
  TDataSource source_{nullptr};
  GridRows rows_;
  std::vector<GridRows::Change> changes_;
};

TEST_F(GridRowsTest, CellsReadInAnyOrderThroughASmallWindow) {
  rows_.SetVisibleRows(3);
  Open("select name, age from man.dogs order by oid");

  std::vector<std::string> backwards;
  for (int row = rows_.RowCount() - 1; row >= 0; --row)
    backwards.push_back(rows_.CellText(row, 0));
  const std::string jumped = rows_.CellText(7, 0) + rows_.CellText(1, 1) + rows_.CellText(11, 1);

  EXPECT_EQ(rows_.VisibleRows(), 3);
  ASSERT_EQ(rows_.RowCount(), 12);
  EXPECT_EQ(std::vector<std::string>(backwards.rbegin(), backwards.rend()), kDogs);
  EXPECT_EQ(jumped, "Molly32");
  EXPECT_EQ(rows_.CellText(12, 0), "") << "past the last row";
  EXPECT_EQ(rows_.CellText(0, 2), "") << "past the last column";
}

TEST_F(GridRowsTest, ColumnsAreTheVisibleFieldsWithTitlesAndAlignment) {
  Open(
      "select t0.NAME, t1.NAME \"FRIEND.NAME\" from MAN.DOGS t0, MAN.DOGS t1 "
      "where t1.OID (+) = t0.FRIEND");

  ASSERT_EQ(rows_.ColumnCount(), 2);
  EXPECT_EQ(rows_.ColumnTitle(0), "NAME");
  EXPECT_EQ(rows_.ColumnTitle(1), "FRIEND.NAME");
  EXPECT_EQ(rows_.ColumnAlignment(0), taLeftJustify);
  EXPECT_EQ(rows_.ColumnTitle(2), "");
}

TEST_F(GridRowsTest, NullsShowAsEmptyText) {
  Open("select name, age, friend from man.dogs where name = 'Daisy'");

  EXPECT_TRUE(rows_.CellIsNull(0, 2));
  EXPECT_EQ(rows_.CellText(0, 2), "");
  EXPECT_FALSE(rows_.CellIsNull(0, 1));
  EXPECT_EQ(rows_.CellText(0, 1), "6");
}

TEST_F(GridRowsTest, ADataSetFetchingAsItGoesShowsItsFirstRowsAndGrowsOnRequest) {
  dataSet_.SetQueryAllRecords(false);
  rows_.SetVisibleRows(3);
  Open("select name from man.dogs order by oid");
  const int first = rows_.RowCount();
  ASSERT_LT(first, 12) << "not everything is fetched at once";
  ASSERT_GT(first, 0);
  EXPECT_TRUE(rows_.CanFetchMore());
  EXPECT_EQ(rows_.CellText(first, 0), "") << "a row not fetched yet is no row";

  const int fetched = rows_.FetchMore(1);

  EXPECT_EQ(fetched, 1);
  EXPECT_EQ(rows_.RowCount(), first + 1);
  EXPECT_EQ(rows_.CellText(first, 0), kDogs.at(static_cast<size_t>(first)));
  EXPECT_EQ(rows_.CellText(0, 0), "Rex");
}

TEST_F(GridRowsTest, FetchMoreBringsTheRestAndThenNoMore) {
  dataSet_.SetQueryAllRecords(false);
  rows_.SetVisibleRows(2);
  Open("select name from man.dogs order by oid");
  const int first = rows_.RowCount();

  const int fetched = rows_.FetchMore(100);

  EXPECT_EQ(first + fetched, 12);
  EXPECT_FALSE(rows_.CanFetchMore());
  EXPECT_EQ(rows_.FetchMore(1), 0);
  EXPECT_EQ(rows_.CellText(11, 0), "Sadie");
}

TEST_F(GridRowsTest, ADataSetThatFetchedEverythingHasNothingMore) {
  Open("select name from man.dogs");

  EXPECT_EQ(rows_.RowCount(), 12);
  EXPECT_FALSE(rows_.CanFetchMore());
}

TEST_F(GridRowsTest, OpeningAndClosingResetTheViews) {
  Open("select name from man.dogs");
  dataSet_.Close();

  EXPECT_EQ(changes_.front(), GridRows::Change::Reset);
  EXPECT_EQ(changes_.back(), GridRows::Change::Reset);
  EXPECT_EQ(rows_.RowCount(), 0);
  EXPECT_EQ(rows_.ColumnCount(), 0);
}

TEST_F(GridRowsTest, TheConsoleTableAlignsColumnsAndFetchesTheRest) {
  dataSet_.SetQueryAllRecords(false);
  rows_.SetVisibleRows(2);
  Open(
      "select t0.NAME, t0.AGE, t1.NAME \"FRIEND.NAME\" from MAN.DOGS t0, MAN.DOGS t1 "
      "where t1.OID (+) = t0.FRIEND and t0.AGE > 6 order by t0.AGE");

  EXPECT_EQ(FormatTable(rows_),
            "NAME     AGE  FRIEND.NAME\n"
            "-------  ---  -----------\n"
            "Max        7  Rex\n"
            "Charlie    8\n"
            "Rocky      9  Buddy\n"
            "Bailey    11  Luna\n"
            "4 rows\n");
}

TEST_F(GridRowsTest, TheConsoleTableOfNoRows) {
  Open("select name from man.dogs where age > 100");

  EXPECT_EQ(FormatTable(rows_), "NAME\n----\n0 rows\n");
  EXPECT_EQ(RowCountText(1), "1 row");
}

}  // namespace
}  // namespace vorn
