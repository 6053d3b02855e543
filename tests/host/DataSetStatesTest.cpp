// Temporary states: which record field access addresses in them, how they
// silence the controls, and how OldValue, CurValue and NewValue use them.
#include "DataSetFixture.h"

namespace vorn::dataset_test {
namespace {

using ::testing::ElementsAre;

// Records the state and ControlsDisabled at every stored value, and opens
// the temporary-state services to the test.
class ProbeDataSet : public TMemDataSet {
 public:
  struct Seen {
    TDataSetState state;
    bool controlsDisabled;
  };
  std::vector<Seen> writes;

  TDataSetState EnterTempState(TDataSetState state) { return SetTempState(state); }
  void LeaveTempState(TDataSetState state) { RestoreState(state); }

 protected:
  void SetFieldData(TField* field, const void* buffer) override {
    writes.push_back({State(), ControlsDisabled()});
    TMemDataSet::SetFieldData(field, buffer);
  }
};

class StatesTest : public DataSetTest {
 protected:
  void SetUp() override {
    ds = std::make_unique<ProbeDataSet>();
    ds->FieldDefs().Add("ID", ftInteger);
    ds->FieldDefs().Add("NAME", ftString, 20);
  }
  ProbeDataSet& probe() { return static_cast<ProbeDataSet&>(*ds); }
  TField* Name() { return ds->FieldByName("NAME"); }
};

TEST_F(StatesTest, OldCurAndNewValuesReadTheirOwnRecords) {
  OpenWith(3);
  ds->Edit();
  Name()->SetAsString("new");

  EXPECT_EQ(Name()->OldValue().AsString(), "r1");
  EXPECT_EQ(Name()->CurValue().AsString(), "r1");
  EXPECT_EQ(Name()->NewValue().AsString(), "new");
  EXPECT_EQ(Name()->AsString(), "new");
  EXPECT_EQ(ds->State(), dsEdit);

  ds->Post();
  EXPECT_EQ(Name()->OldValue().AsString(), "new");
}

// The reads switch the state for the moment of the read only, without
// counting as DisableControls.
TEST_F(StatesTest, OldValueReadsSwitchTheStateDirectly) {
  OpenWith(3);
  std::vector<std::pair<TDataSetState, bool>> reads;
  ds->SetOnFieldRead(
      [&](TField*, TDataSetState state) { reads.emplace_back(state, ds->ControlsDisabled()); });

  Name()->OldValue();
  Name()->CurValue();

  EXPECT_THAT(reads,
              ElementsAre(std::make_pair(dsOldValue, false), std::make_pair(dsCurValue, false)));
  EXPECT_EQ(ds->State(), dsBrowse);
}

TEST_F(StatesTest, WritingNewValueUsesATemporaryState) {
  OpenWith(3);
  RecordingLink& link = Link(1);
  ds->Edit();
  probe().writes.clear();
  link.log.clear();

  Name()->SetNewValue(Variant("fresh"));

  ASSERT_EQ(probe().writes.size(), 1u);
  EXPECT_EQ(probe().writes[0].state, dsNewValue);
  EXPECT_TRUE(probe().writes[0].controlsDisabled);
  EXPECT_EQ(ds->State(), dsEdit);
  EXPECT_FALSE(ds->ControlsDisabled());
  EXPECT_EQ(Name()->AsString(), "fresh");
  EXPECT_TRUE(link.log.empty());
}

TEST_F(StatesTest, CalculatedFieldsHaveNoOldValue) {
  auto* id = new TIntegerField(ds.get());
  id->SetFieldName("ID");
  id->SetDataSet(ds.get());
  auto* twice = new TIntegerField(ds.get());
  twice->SetFieldName("TWICE");
  twice->SetFieldKind(fkCalculated);
  twice->SetDataSet(ds.get());
  ds->SetOnCalcFields([](TDataSet* d) {
    d->FieldByName("TWICE")->SetAsInteger(d->FieldByName("ID")->AsInteger() * 2);
  });
  ds->AddRow({4});
  ds->Open();

  EXPECT_EQ(twice->AsInteger(), 8);
  EXPECT_TRUE(twice->OldValue().IsNull());
  EXPECT_TRUE(twice->CurValue().IsNull());
}

TEST_F(StatesTest, TemporaryStatesSilenceControlsWithoutTouchingModified) {
  OpenWith(3);
  RecordingLink& link = Link(1);
  ds->Edit();
  Name()->SetAsString("changed");
  link.log.clear();

  TDataSetState outer = probe().EnterTempState(dsFilter);
  TDataSetState inner = probe().EnterTempState(dsCalcFields);
  EXPECT_TRUE(ds->ControlsDisabled());
  EXPECT_EQ(ds->State(), dsCalcFields);
  ds->DataEvent(deDataSetChange, 0);
  probe().LeaveTempState(inner);
  EXPECT_EQ(ds->State(), dsFilter);
  probe().LeaveTempState(outer);

  EXPECT_EQ(ds->State(), dsEdit);
  EXPECT_FALSE(ds->ControlsDisabled());
  EXPECT_TRUE(ds->Modified());
  EXPECT_TRUE(link.log.empty());
}

TEST_F(StatesTest, TheFilterStateReadsTheRecordUnderTest) {
  RecordingLink& link = Link(3);
  OpenWith(10);
  std::vector<std::pair<TDataSetState, bool>> seen;
  ds->SetOnFilterRecord([&seen](TDataSet* d, bool& accept) {
    seen.emplace_back(d->State(), d->ControlsDisabled());
    accept = d->FieldByName("ID")->AsInteger() % 2 == 0;
  });

  ds->SetFiltered(true);

  EXPECT_EQ(ds->RecordCount(), 5);
  EXPECT_EQ(Id(), 2);
  EXPECT_THAT(link.Rows(), ElementsAre(2, 4, 6));
  ASSERT_EQ(seen.size(), 10u);
  EXPECT_EQ(seen[0].first, dsFilter);
  EXPECT_TRUE(seen[0].second);
  EXPECT_EQ(ds->State(), dsBrowse);

  ds->SetFiltered(false);
  EXPECT_EQ(ds->RecordCount(), 10);
}

TEST_F(StatesTest, TheFilterPropertiesAreStoredForTheDescendant) {
  OpenWith(1);
  ds->SetFilter("ID > 1");
  ds->SetFilterOptions(foCaseInsensitive | foNoPartialCompare);

  EXPECT_EQ(ds->Filter(), "ID > 1");
  EXPECT_EQ(ds->FilterOptions(), foCaseInsensitive | foNoPartialCompare);
  EXPECT_FALSE(ds->Filtered());
  EXPECT_EQ(ds->RecordCount(), 1);
}

TEST_F(StatesTest, StoringOutsideTheWriteStatesIsTheDescendantsToRefuse) {
  OpenWith(2);
  probe().writes.clear();

  EXPECT_THROW(Name()->SetAsString("browse"), EDatabaseError);

  // The field passed the value on; this descendant refused it.
  ASSERT_EQ(probe().writes.size(), 1u);
  EXPECT_EQ(probe().writes[0].state, dsBrowse);
  EXPECT_EQ(Name()->AsString(), "r1");
}

TEST_F(StatesTest, TheBaseUpdateStatusAnswersUnmodified) {
  OpenWith(1);
  ds->Edit();
  Name()->SetAsString("changed");

  EXPECT_EQ(ds->UpdateStatus(), usUnmodified);
}

}  // namespace
}  // namespace vorn::dataset_test
