// Filter, Filtered, FilterOptions and OnFilterRecord on an open dataset.
#include "DataSetTestSupport.h"
#include "RecordList.h"
#include "vorn/host/Field.h"

namespace vorn::dataset_test {

namespace {

class FilterTest : public DataSetTest {
 protected:
  void SetUp() override {
    DataSetTest::SetUp();
    MakeNumbers(10);
    dataSet_ = NewDataSet("select n, label from numbers_t order by n");
  }

  std::vector<std::string> Numbers() { return Column(*dataSet_, "N"); }

  std::unique_ptr<ProbeDataSet> dataSet_;
};

TEST_P(FilterTest, SwitchingFilteredRefiltersEveryRecordAndGoesToTheFirst) {
  dataSet_->SetFilter("N > 7");
  dataSet_->Open();
  dataSet_->Last();
  ASSERT_EQ(10, dataSet_->RecordCount());

  dataSet_->SetFiltered(true);
  EXPECT_EQ(8, dataSet_->FieldByName("N")->AsInteger());
  EXPECT_EQ(3, dataSet_->RecordCount());

  dataSet_->SetFiltered(false);
  EXPECT_EQ(1, dataSet_->FieldByName("N")->AsInteger());
  EXPECT_EQ(10, dataSet_->RecordCount());
}

TEST_P(FilterTest, ChangingTheFilterTextRefiltersTheRecordsAlreadyFetched) {
  dataSet_->SetQueryAllRecords(false);
  dataSet_->SetFilter("N <= 2");
  dataSet_->SetFiltered(true);
  dataSet_->Open();
  EXPECT_EQ((std::vector<std::string>{"1", "2"}), Numbers());

  dataSet_->SetFilter("N >= 9");

  EXPECT_EQ((std::vector<std::string>{"9", "10"}), Numbers());
  EXPECT_EQ(10, dataSet_->Records()->Count());
}

TEST_P(FilterTest, FilterOptionsDecideHowTextsCompare) {
  dataSet_->SetFilter("LABEL = 'ROW 3'");
  dataSet_->SetFiltered(true);
  dataSet_->Open();
  EXPECT_TRUE(dataSet_->IsEmpty());

  dataSet_->SetFilterOptions(foCaseInsensitive);

  EXPECT_EQ((std::vector<std::string>{"3"}), Numbers());
}

TEST_P(FilterTest, AFilterThatDoesNotParseIsRefusedAndChangesNothing) {
  dataSet_->SetFilter("N < 3");
  dataSet_->SetFiltered(true);
  dataSet_->Open();

  EXPECT_NE("", ErrorOf([&] { dataSet_->SetFilter("N < < 3"); }));

  EXPECT_EQ("N < 3", dataSet_->Filter());
  EXPECT_EQ((std::vector<std::string>{"1", "2"}), Numbers());
  EXPECT_NE("", ErrorOf([&] { dataSet_->SetFilter("NO_SUCH_FIELD = 1"); }));
  EXPECT_EQ((std::vector<std::string>{"1", "2"}), Numbers());
}

TEST_P(FilterTest, AFilterThatDoesNotParseFailsTheOpen) {
  dataSet_->SetFilter("N <");
  dataSet_->SetFiltered(true);

  EXPECT_NE("", ErrorOf([&] { dataSet_->Open(); }));
  EXPECT_FALSE(dataSet_->Active());
}

TEST_P(FilterTest, OnFilterRecordAndTheFilterMustBothAccept) {
  dataSet_->SetFilter("N > 3");
  dataSet_->SetFiltered(true);
  dataSet_->SetOnFilterRecord([](TDataSet* sender, bool& accept) {
    accept = sender->FieldByName("N")->AsInteger() % 2 == 0;
  });

  dataSet_->Open();

  EXPECT_EQ((std::vector<std::string>{"4", "6", "8", "10"}), Numbers());
  EXPECT_EQ(4, dataSet_->RecordCount());
}

TEST_P(FilterTest, AFilterSetWhileClosedIsAppliedAtTheNextOpen) {
  dataSet_->Open();
  dataSet_->Close();
  dataSet_->SetFilter("N = 5");
  dataSet_->SetFiltered(true);

  dataSet_->Open();

  EXPECT_EQ((std::vector<std::string>{"5"}), Numbers());
}

TEST_P(FilterTest, AnEmptyFilterTextLetsEveryRecordThroughTheEvent) {
  dataSet_->SetFiltered(true);
  dataSet_->SetOnFilterRecord(
      [](TDataSet* sender, bool& accept) { accept = sender->FieldByName("N")->AsInteger() == 7; });

  dataSet_->Open();

  EXPECT_EQ((std::vector<std::string>{"7"}), Numbers());
}

VORN_IN_BOTH_CALL_SETS(FilterTest);

}  // namespace

}  // namespace vorn::dataset_test
