// Calculated fields: computed for every record read, at Edit, after data
// changes (AutoCalcFields), and never in a loop.
#include "DataSetFixture.h"

namespace vorn::dataset_test {
namespace {

using ::testing::ElementsAre;

class CalcFieldsTest : public DataSetTest {
 protected:
  void SetUp() override {
    DataSetTest::SetUp();
    AddField(new TIntegerField(ds.get()), "ID", fkData);
    auto* name = new TStringField(ds.get());
    name->SetSize(20);
    AddField(name, "NAME", fkData);
    twice = AddField(new TIntegerField(ds.get()), "TWICE", fkCalculated);
    auto* label = new TStringField(ds.get());
    label->SetSize(10);
    AddField(label, "LABEL", fkCalculated);
    ds->SetOnCalcFields([this](TDataSet* d) {
      ++calculations;
      states.push_back(d->State());
      int id = d->FieldByName("ID")->AsInteger();
      d->FieldByName("TWICE")->SetAsInteger(id * 2);
      d->FieldByName("LABEL")->SetAsString("#" + std::to_string(id));
    });
  }

  TField* AddField(TField* field, const char* name, TFieldKind kind) {
    field->SetFieldName(name);
    field->SetFieldKind(kind);
    field->SetDataSet(ds.get());
    return field;
  }

  TField* twice = nullptr;
  int calculations = 0;
  std::vector<TDataSetState> states;
};

TEST_F(CalcFieldsTest, EveryRecordReadIsCalculatedInTheCalcFieldsState) {
  RecordingLink& link = Link(3);
  link.field = "TWICE";

  OpenWith(5);

  EXPECT_THAT(link.Rows(), ElementsAre(2, 4, 6));
  EXPECT_EQ(ds->FieldByName("LABEL")->AsString(), "#1");
  EXPECT_EQ(calculations, 3);
  EXPECT_THAT(states, ElementsAre(dsCalcFields, dsCalcFields, dsCalcFields));
  EXPECT_EQ(ds->State(), dsBrowse);
}

TEST_F(CalcFieldsTest, EditRecalculatesTheActiveRecord) {
  OpenWith(2);
  calculations = 0;

  ds->Edit();

  EXPECT_EQ(calculations, 1);
  EXPECT_EQ(twice->AsInteger(), 2);
}

TEST_F(CalcFieldsTest, ADataChangeRecalculatesOnceInTheEditState) {
  OpenWith(2);
  ds->Edit();
  calculations = 0;
  states.clear();

  ds->FieldByName("ID")->SetAsInteger(10);

  EXPECT_EQ(twice->AsInteger(), 20);
  EXPECT_EQ(calculations, 1);
  EXPECT_THAT(states, ElementsAre(dsEdit));
}

TEST_F(CalcFieldsTest, WithoutAutoCalcFieldsValuesWaitForTheNextRead) {
  OpenWith(2);
  ds->SetAutoCalcFields(false);
  ds->Edit();

  ds->FieldByName("ID")->SetAsInteger(10);
  EXPECT_EQ(twice->AsInteger(), 2);

  ds->Post();
  EXPECT_EQ(twice->AsInteger(), 20);
}

TEST_F(CalcFieldsTest, ANewRecordIsCalculatedOnlyOnceADataFieldChanges) {
  OpenWith(2);
  calculations = 0;

  ds->Insert();
  EXPECT_TRUE(twice->IsNull());
  EXPECT_EQ(calculations, 0);

  ds->FieldByName("ID")->SetAsInteger(3);
  EXPECT_EQ(twice->AsInteger(), 6);
}

TEST_F(CalcFieldsTest, AssigningACalculatedFieldIsNotADataChange) {
  OpenWith(2);
  ds->Edit();
  calculations = 0;

  twice->SetAsInteger(99);

  EXPECT_FALSE(ds->Modified());
  EXPECT_EQ(calculations, 0);
  EXPECT_EQ(twice->AsInteger(), 99);
}

TEST_F(CalcFieldsTest, ClearFieldsRecalculatesFromTheEmptyRecord) {
  OpenWith(2);
  ds->Edit();

  ds->ClearFields();

  EXPECT_EQ(twice->AsInteger(), 0);
  EXPECT_EQ(ds->FieldByName("LABEL")->AsString(), "#0");
}

TEST_F(CalcFieldsTest, TheCalculatedAreaFollowsTheFieldSizes) {
  OpenWith(1);

  EXPECT_EQ(ds->CalcFieldsSize(), (4 + 1) + (11 + 1));
}

}  // namespace
}  // namespace vorn::dataset_test
