// Field definitions and fields: default and persistent fields, binding,
// finding fields by name and in lists, and the events of field properties.
#include "DataSetFixture.h"

namespace vorn::dataset_test {
namespace {

using ::testing::ElementsAre;

class FieldsTest : public DataSetTest {};

std::string MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Exception& e) {
    return e.Message();
  }
  return "(no error)";
}

TEST_F(FieldsTest, DefaultFieldsLiveFromOpenToClose) {
  OpenWith(1);
  EXPECT_TRUE(ds->DefaultFields());
  ASSERT_EQ(ds->FieldCount(), 2);
  EXPECT_EQ(ds->Fields()[1]->FieldName(), "NAME");
  EXPECT_EQ(ds->Fields()[1]->Size(), 20);
  EXPECT_EQ(ds->Fields()[1]->Owner(), ds.get());

  ds->Close();

  EXPECT_EQ(ds->FieldCount(), 0);
}

TEST_F(FieldsTest, PersistentFieldsStayAndAreBoundByName) {
  TComponent form(nullptr);
  auto* id = new TIntegerField(&form);
  id->SetFieldName("id");
  id->SetDataSet(ds.get());
  auto* name = new TStringField(&form);
  name->SetFieldName("NAME");
  name->SetSize(20);
  name->SetDataSet(ds.get());
  ds->FieldDefs().Items(1)->SetFieldNo(5);

  OpenWith(2);
  EXPECT_FALSE(ds->DefaultFields());
  EXPECT_EQ(id->FieldNo(), 1);
  EXPECT_EQ(name->FieldNo(), 5);
  EXPECT_EQ(ds->Fields()[1], name);
  EXPECT_EQ(name->AsString(), "r1");
  EXPECT_EQ(ds->FieldByNumber(5), name);

  ds->Close();
  EXPECT_EQ(ds->FieldCount(), 2);
  EXPECT_EQ(name->FieldNo(), 0);
  ds.reset();
  EXPECT_EQ(name->DataSet(), nullptr);
}

TEST_F(FieldsTest, APersistentFieldOfAnotherTypeStopsTheOpen) {
  auto* id = new TStringField(ds.get());
  id->SetFieldName("ID");
  id->SetDataSet(ds.get());
  ds->SetName("Emp");

  EXPECT_EQ(MessageOf([&] { OpenWith(3); }),
            "Emp: Type mismatch for field 'ID', expecting: String actual: Integer");
  EXPECT_FALSE(ds->Active());
  EXPECT_EQ(ds->LiveBuffers(), 0);
}

TEST_F(FieldsTest, APersistentFieldWithoutAColumnStopsTheOpen) {
  auto* missing = new TIntegerField(ds.get());
  missing->SetFieldName("SALARY");
  missing->SetDisplayLabel("Salary");
  missing->SetDataSet(ds.get());

  EXPECT_EQ(MessageOf([&] { OpenWith(3); }), "Field 'Salary' not found");
  EXPECT_FALSE(ds->Active());
}

TEST_F(FieldsTest, CalculatedFieldsGetTheirOffsetsInTheCalculatedArea) {
  auto addField = [this](TField* field, const char* name, TFieldKind kind) {
    field->SetFieldName(name);
    field->SetFieldKind(kind);
    field->SetDataSet(ds.get());
  };
  addField(new TIntegerField(ds.get()), "ID", fkData);
  addField(new TIntegerField(ds.get()), "TWICE", fkCalculated);
  auto* label = new TStringField(ds.get());
  label->SetSize(10);
  addField(label, "LABEL", fkCalculated);
  addField(new TIntegerField(ds.get()), "LOOKED_UP", fkLookup);

  OpenWith(1);

  EXPECT_EQ(ds->FieldByName("TWICE")->FieldNo(), -1);
  EXPECT_EQ(ds->FieldByName("TWICE")->Offset(), 0);
  EXPECT_EQ(ds->FieldByName("LABEL")->Offset(), 5);
  EXPECT_EQ(ds->FieldByName("LOOKED_UP")->Offset(), 17);
  EXPECT_EQ(ds->CalcFieldsSize(), 22);
}

TEST_F(FieldsTest, DefinitionsAreFixedWhileOpen) {
  OpenWith(1);

  EXPECT_EQ(MessageOf([&] { ds->FieldDefs().Add("EXTRA", ftInteger); }),
            "Cannot perform this operation on an open dataset");
  EXPECT_THROW(ds->FieldDefs().Items(0)->SetDataType(ftFloat), EDatabaseError);
  EXPECT_THROW(ds->Fields()[0]->SetSize(3), EDatabaseError);
  EXPECT_THROW(ds->Fields()[0]->SetFieldName("OTHER"), EDatabaseError);
  auto* late = new TIntegerField(nullptr);
  late->SetFieldName("LATE");
  EXPECT_THROW(late->SetDataSet(ds.get()), EDatabaseError);
  delete late;
  EXPECT_EQ(ds->FieldDefs().Count(), 2);
}

TEST_F(FieldsTest, DefinitionNamesAreUnique) {
  EXPECT_EQ(MessageOf([&] { ds->FieldDefs().Add("id", ftString, 4); }),
            "Duplicate name 'id' in TFieldDefs");
  EXPECT_THROW(ds->FieldDefs().Items(1)->SetName("ID"), EDatabaseError);
  EXPECT_EQ(ds->FieldDefs().Count(), 2);
  EXPECT_EQ(ds->FieldDefs().Items(1)->FieldNo(), 2);
  ds->FieldDefs().Items(1)->SetFieldNo(7);
  EXPECT_EQ(ds->FieldDefs().Items(1)->FieldNo(), 7);
}

TEST_F(FieldsTest, HiddenAndUntypedDefinitionsGetNoField) {
  TFieldDef* hidden = ds->FieldDefs().Add("HIDDEN", ftInteger);
  hidden->SetAttributes(faHiddenCol);
  ds->FieldDefs().Add("UNKNOWN", ftUnknown);
  TFieldDef* fixed = ds->FieldDefs().Add("FIXED", ftInteger);
  fixed->SetAttributes(faReadonly | faRequired);

  OpenWith(0);

  std::vector<std::string> names;
  for (TField* field : ds->Fields())
    names.push_back(field->FieldName());
  EXPECT_THAT(names, ElementsAre("ID", "NAME", "FIXED"));
  EXPECT_TRUE(ds->FieldByName("FIXED")->ReadOnly());
  EXPECT_TRUE(ds->FieldByName("FIXED")->Required());
  EXPECT_FALSE(ds->FieldByName("ID")->Required());
}

TEST_F(FieldsTest, ADefinitionOfATypeWithoutFieldClassStopsTheOpen) {
  ds->FieldDefs().Add("RAW", ftBytes, 8);

  EXPECT_EQ(MessageOf([&] { OpenWith(0); }), "Field 'RAW' is of an unknown type");
  EXPECT_FALSE(ds->Active());
  EXPECT_EQ(ds->FieldCount(), 0);
}

TEST_F(FieldsTest, FieldNamesAreUniqueInADataset) {
  auto* first = new TIntegerField(ds.get());
  first->SetFieldName("A");
  first->SetDataSet(ds.get());
  auto* second = new TIntegerField(ds.get());
  second->SetFieldName("a");

  EXPECT_EQ(MessageOf([&] { second->SetDataSet(ds.get()); }), "Duplicate field name 'a'");
  second->SetFieldName("B");
  second->SetDataSet(ds.get());
  EXPECT_THROW(second->SetFieldName("A"), EDatabaseError);
  auto* unnamed = new TIntegerField(ds.get());
  EXPECT_EQ(MessageOf([&] { unnamed->SetDataSet(ds.get()); }), "Field name missing");
  EXPECT_EQ(ds->FieldCount(), 2);
}

TEST_F(FieldsTest, FieldByNameIgnoresCaseAndNamesTheDataset) {
  OpenWith(1);
  EXPECT_EQ(ds->FieldByName("name"), ds->Fields()[1]);
  EXPECT_EQ(ds->FindField("nope"), nullptr);
  EXPECT_EQ(MessageOf([&] { ds->FieldByName("nope"); }), "Field 'nope' not found");
  ds->SetName("Emp");
  EXPECT_EQ(MessageOf([&] { ds->FieldByName("nope"); }), "Emp: Field 'nope' not found");
}

TEST_F(FieldsTest, RenamedFieldsAreFoundByTheirNewName) {
  auto* field = new TIntegerField(ds.get());
  field->SetFieldName("OLD");
  field->SetDataSet(ds.get());
  EXPECT_EQ(ds->FindField("old"), field);

  field->SetFieldName("NEW");

  EXPECT_EQ(ds->FindField("OLD"), nullptr);
  EXPECT_EQ(ds->FindField("new"), field);
}

TEST_F(FieldsTest, FieldsOutsideTheListRaiseTheListError) {
  OpenWith(1);
  EXPECT_EQ(MessageOf([&] { ds->Fields()[99]; }), "List index out of bounds (99)");
  EXPECT_THROW(ds->Fields().Fields(-1), EListError);
}

TEST_F(FieldsTest, FieldListsSplitAtSemicolonsAndTrimNames) {
  OpenWith(1);
  std::vector<TField*> list;

  ds->GetFieldList(list, " name ;ID");
  EXPECT_THAT(list, ElementsAre(ds->Fields()[1], ds->Fields()[0]));
  ds->GetFieldList(list, "");
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(MessageOf([&] { ds->GetFieldList(list, "ID;;NAME"); }), "Field '' not found");
  EXPECT_EQ(MessageOf([&] { ds->GetFieldList(list, "ID;SALARY"); }), "Field 'SALARY' not found");
}

TEST_F(FieldsTest, FieldValuesReadAndWriteSeveralFields) {
  OpenWith(2);
  EXPECT_EQ(ds->FieldValues("NAME").AsString(), "r1");
  Variant both = ds->FieldValues("ID;NAME");
  ASSERT_TRUE(both.IsArray());
  EXPECT_EQ(both.GetElement(0).AsInteger(), 1);
  EXPECT_EQ(both.GetElement(1).AsString(), "r1");

  ds->Edit();
  ds->SetFieldValues("ID;NAME", VarArrayOf({Variant(10), Variant("ten")}));
  ds->Post();

  EXPECT_EQ(Id(), 10);
  EXPECT_EQ(ds->FieldByName("NAME")->AsString(), "ten");
}

TEST_F(FieldsTest, FieldsWithoutADatasetSaySo) {
  TIntegerField loose(nullptr);
  loose.SetFieldName("LOOSE");

  EXPECT_EQ(MessageOf([&] { loose.AsInteger(); }), "Field 'LOOSE' has no dataset");
  EXPECT_EQ(MessageOf([&] { loose.SetAsInteger(1); }), "Field 'LOOSE' has no dataset");
  EXPECT_FALSE(loose.CanModify());
}

TEST_F(FieldsTest, LayoutPropertiesSendALayoutChangeAndTextPropertiesADataSetChange) {
  RecordingLink& link = Link(1);
  OpenWith(2);
  TField* name = ds->FieldByName("NAME");
  link.log.clear();

  name->SetDisplayLabel("Name");
  name->SetDisplayWidth(30);
  name->SetVisible(false);
  name->SetReadOnly(true);
  name->SetIndex(0);
  EXPECT_THAT(link.log, ElementsAre("layout", "layout", "layout", "layout", "layout"));
  EXPECT_EQ(ds->Fields()[0], name);

  link.log.clear();
  name->SetAlignment(taCenter);
  static_cast<TIntegerField*>(ds->FieldByName("ID"))->SetDisplayFormat("0");
  name->SetVisible(false);  // unchanged: nothing
  EXPECT_THAT(link.log, ElementsAre("changed", "changed"));
}

TEST_F(FieldsTest, DisplayNameIsTheLabelOrTheFieldName) {
  OpenWith(1);
  TField* name = ds->FieldByName("NAME");
  EXPECT_EQ(name->DisplayName(), "NAME");

  name->SetDisplayLabel("Full name");
  EXPECT_EQ(name->DisplayLabel(), "Full name");
  name->SetDisplayLabel("NAME");
  EXPECT_EQ(name->DisplayName(), "NAME");
}

TEST_F(FieldsTest, CanModifyNeedsAWritableDataFieldOfAnOpenModifiableDataset) {
  OpenWith(1);
  TField* name = ds->FieldByName("NAME");
  EXPECT_TRUE(name->CanModify());
  name->SetReadOnly(true);
  EXPECT_FALSE(name->CanModify());
  name->SetReadOnly(false);
  ds->SetReadOnly(true);
  EXPECT_FALSE(name->CanModify());
  ds->SetReadOnly(false);
  ds->Close();
  EXPECT_EQ(ds->FieldCount(), 0);
}

TEST_F(FieldsTest, DeletingAFieldOfAnOpenDatasetClosesIt) {
  auto* id = new TIntegerField(nullptr);
  id->SetFieldName("ID");
  id->SetDataSet(ds.get());
  ds->AddRow({1});
  ds->AddRow({2});
  ds->Open();

  delete id;

  EXPECT_FALSE(ds->Active());
  EXPECT_EQ(ds->FieldCount(), 0);
  EXPECT_EQ(ds->LiveBuffers(), 0);
}

}  // namespace
}  // namespace vorn::dataset_test
