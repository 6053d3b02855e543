// Cached updates against a model: a seeded random sequence of inserts,
// edits (keys included) and deletes at random places, with the query run
// again now and then, is applied and committed, and the table then holds
// exactly the model's rows; with a change the table refuses planted in the
// middle, the failed apply leaves the table, the records and the log as
// they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>

#include "RecordTestSupport.h"
#include "vorn/host/Field.h"

namespace vorn::dataset_test {
namespace {

// A row of table R as the tests compare it: "id|name|qty".
using Model = std::map<int, std::string>;

class CachedUpdatesModelTest : public RecordTest {
 protected:
  static constexpr int kInitialRows = 40;

  void SetUp() override {
    RecordTest::SetUp();
    Run("create table r (id number(6) primary key, name varchar2(20), "
        "qty number(6) check (qty >= 0))");
    for (int id = 1; id <= kInitialRows; ++id) {
      const std::string row =
          std::to_string(id) + "|r" + std::to_string(id) + "|" + std::to_string(id * 10);
      Run("insert into r values (" + std::to_string(id) + ", 'r" + std::to_string(id) + "', " +
          std::to_string(id * 10) + ")");
      model_[id] = row;
    }
    session_->Commit();
    initial_ = Table();
    dataSet_ = NewDataSet("select rowid, r.id, r.name, r.qty from r order by id");
    dataSet_->SetCachedUpdates(true);
    dataSet_->Open();
  }

  std::vector<std::string> Table() { return Committed("select id, name, qty from r order by id"); }
  std::vector<std::string> ModelRows() const {
    std::vector<std::string> rows;
    for (const auto& [id, row] : model_)
      rows.push_back(row);
    return rows;
  }
  // The records sorted by ID, as the table would list them.
  std::vector<std::string> SortedRecords() {
    std::vector<std::string> rows = Rows(*dataSet_);
    std::sort(rows.begin(), rows.end(), [](const std::string& a, const std::string& b) {
      return std::stoi(a) < std::stoi(b);
    });
    return rows;
  }
  // Every record with its update status and rowid (none for an insert not
  // written yet), in the dataset's order.
  std::vector<std::string> RecordsWithStatus() {
    std::vector<std::string> records;
    for (dataSet_->First(); !dataSet_->Eof(); dataSet_->Next()) {
      std::string record =
          std::to_string(dataSet_->UpdateStatus()) + "|" + dataSet_->CurrentRowId();
      for (TField* field : dataSet_->Fields())
        record += "|" + field->AsString();
      records.push_back(record);
    }
    return records;
  }
  std::string RowOf(TDataSet& dataSet) const {
    return dataSet.FieldByName("ID")->AsString() + "|" + dataSet.FieldByName("NAME")->AsString() +
           "|" + dataSet.FieldByName("QTY")->AsString();
  }

  // Goes to a random record whose ID is not frozen; false when there is
  // none.
  bool GoToRandomRecord() {
    const int count = dataSet_->RecordCount();
    for (int attempt = 0; attempt < 10 && count > 0; ++attempt) {
      dataSet_->First();
      dataSet_->MoveBy(static_cast<int>(random_() % static_cast<unsigned>(count)));
      if (frozen_.count(dataSet_->FieldByName("ID")->AsInteger()) == 0) return true;
    }
    return false;
  }
  void SetRandomValues() {
    dataSet_->FieldByName("NAME")->SetAsString("n" + std::to_string(random_() % 1000));
    if (random_() % 5 == 0) {
      dataSet_->FieldByName("QTY")->Clear();
    } else {
      dataSet_->FieldByName("QTY")->SetAsInteger(static_cast<int>(random_() % 500));
    }
  }

  void RandomInsert() {
    const int count = dataSet_->RecordCount();
    if (count == 0 || random_() % 6 == 0) {
      dataSet_->Append();
    } else {
      dataSet_->First();
      dataSet_->MoveBy(static_cast<int>(random_() % static_cast<unsigned>(count)));
      dataSet_->Insert();
    }
    const int id = nextId_++;
    dataSet_->FieldByName("ID")->SetAsInteger(id);
    SetRandomValues();
    dataSet_->Post();
    model_[id] = RowOf(*dataSet_);
  }
  void RandomEdit() {
    if (!GoToRandomRecord()) return;
    const int id = dataSet_->FieldByName("ID")->AsInteger();
    dataSet_->Edit();
    SetRandomValues();
    int newId = id;
    if (random_() % 4 == 0) {
      newId = nextId_++;
      dataSet_->FieldByName("ID")->SetAsInteger(newId);
    }
    dataSet_->Post();
    model_.erase(id);
    model_[newId] = RowOf(*dataSet_);
  }
  void RandomDelete() {
    if (!GoToRandomRecord()) return;
    model_.erase(dataSet_->FieldByName("ID")->AsInteger());
    dataSet_->Delete();
  }
  // The query runs again: the log must show the same records in the same
  // order.
  void Requery() {
    const std::vector<std::string> before = Rows(*dataSet_);
    dataSet_->Refresh();
    ASSERT_EQ(before, Rows(*dataSet_)) << "after step " << step_;
  }

  void RunSteps(int steps, bool plant) {
    for (int i = 0; i < steps; ++i) {
      step_ = i;
      if (plant && i == steps / 2) PlantRefusedInsert();
      const unsigned choice = random_() % 100;
      if (choice < 35) {
        RandomInsert();
      } else if (choice < 70) {
        RandomEdit();
      } else if (choice < 92) {
        RandomDelete();
      } else {
        Requery();
      }
      if (HasFatalFailure()) return;
    }
  }
  // An insert the table's check refuses; it is never touched again.
  void PlantRefusedInsert() {
    dataSet_->Insert();
    plantedId_ = nextId_++;
    dataSet_->FieldByName("ID")->SetAsInteger(plantedId_);
    dataSet_->FieldByName("NAME")->SetAsString("refused");
    dataSet_->FieldByName("QTY")->SetAsInteger(-1);
    dataSet_->Post();
    frozen_.insert(plantedId_);
  }

  std::mt19937 random_{20261210};
  Model model_;
  std::set<int> frozen_;
  int nextId_ = 1000;
  int plantedId_ = 0;
  int step_ = 0;
  std::vector<std::string> initial_;
  std::unique_ptr<ProbeDataSet> dataSet_;
};

VORN_IN_BOTH_CALL_SETS(CachedUpdatesModelTest);

TEST_P(CachedUpdatesModelTest, ARandomSequenceAppliedAndCommittedLeavesTheTableAsTheModel) {
  RunSteps(300, false);
  ASSERT_FALSE(HasFatalFailure());
  ASSERT_EQ(ModelRows(), SortedRecords()) << "the records show the model before the apply";
  ASSERT_EQ(initial_, Table()) << "nothing is written before the apply";

  EXPECT_TRUE(dataSet_->ApplyUpdates());

  EXPECT_EQ(ModelRows(), Table());
  EXPECT_FALSE(dataSet_->UpdatesPending());
  EXPECT_EQ(ModelRows(), SortedRecords());
  dataSet_->Refresh();
  EXPECT_EQ(ModelRows(), Rows(*dataSet_)) << "the query gives the model's rows in key order";
}

TEST_P(CachedUpdatesModelTest, ARefusedChangeInTheMiddleLeavesTableRecordsAndLogAsTheyWere) {
  RunSteps(300, true);
  ASSERT_FALSE(HasFatalFailure());
  const std::vector<std::string> before = RecordsWithStatus();
  trace_->Clear();

  const std::string error = ErrorOf([&] { dataSet_->ApplyUpdates(); });

  EXPECT_NE(std::string::npos, error.find("ORA-02290")) << error;
  int written = 0;
  for (const std::string& entry : Traced())
    written += entry.rfind("DELETE", 0) == 0 || entry.rfind("UPDATE", 0) == 0 ? 1 : 0;
  EXPECT_GT(written, 10) << "the refused insert comes after the deletes and updates";
  EXPECT_EQ(initial_, Table());
  EXPECT_EQ(plantedId_, dataSet_->FieldByName("ID")->AsInteger()) << "on the refused record";
  EXPECT_EQ(before, RecordsWithStatus());
  EXPECT_TRUE(dataSet_->UpdatesPending());
  dataSet_->Refresh();
  EXPECT_EQ(before, RecordsWithStatus()) << "the log merges into a new result as before";

  // Mended, the same log applies in full.
  for (dataSet_->First(); dataSet_->FieldByName("ID")->AsInteger() != plantedId_;)
    dataSet_->Next();
  dataSet_->Edit();
  dataSet_->FieldByName("QTY")->SetAsInteger(1);
  dataSet_->Post();
  model_[plantedId_] = RowOf(*dataSet_);
  EXPECT_TRUE(dataSet_->ApplyUpdates());
  EXPECT_EQ(ModelRows(), Table());
}

}  // namespace
}  // namespace vorn::dataset_test
