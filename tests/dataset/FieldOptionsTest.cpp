// Field options (FieldKinds, RangeValues, DisplayFormats) and default
// values from the updating table's columns.
#include <gtest/gtest.h>

#include "DictionaryTestSupport.h"
#include "FieldOptions.h"
#include "vorn/dataset/DictionaryCache.h"
#include "vorn/host/NumericFields.h"

namespace vorn::dataset_test {
namespace {

// --- Field kinds

class FieldOptions : public DictionaryTest {
 protected:
  std::unique_ptr<TestDataSet> Measures(bool open = true) {
    return Open("select m.*, rowid from measures m", "MEASURES", open);
  }
  TNumericField& Numeric(TestDataSet& dataSet, const std::string& name) {
    return dynamic_cast<TNumericField&>(dataSet.Field(name));
  }
};

TEST_F(FieldOptions, FieldsThatAreNoColumnsBecomeReadOnlyInternalCalculations) {
  auto parts = Open("select p.id, p.qty * 2 twice, 'x' tag, rowid from parts p", "PARTS", false);
  parts->Dictionary().SetFieldKinds(true);

  ApplyFieldOptions(*parts);

  EXPECT_EQ(parts->Field("TWICE").FieldKind(), fkInternalCalc);
  EXPECT_TRUE(parts->Field("TWICE").ReadOnly());
  EXPECT_EQ(parts->Field("TAG").FieldKind(), fkInternalCalc);
  EXPECT_EQ(parts->Field("ID").FieldKind(), fkData);
  EXPECT_FALSE(parts->Field("ID").ReadOnly());
}

TEST_F(FieldOptions, AnOpenDataSetKeepsItsKindsButGetsReadOnlyFields) {
  auto parts = Open("select p.id, p.qty * 2 twice, rowid from parts p", "PARTS");
  parts->Dictionary().SetFieldKinds(true);

  ApplyFieldOptions(*parts);

  EXPECT_EQ(parts->Field("TWICE").FieldKind(), fkData);
  EXPECT_TRUE(parts->Field("TWICE").ReadOnly());
}

TEST_F(FieldOptions, ATableThatCannotBeDescribedLeavesTheKindsAlone) {
  auto parts = Open("select p.id, rowid from parts p", "NO_SUCH_TABLE", false);
  parts->Dictionary().SetFieldKinds(true);

  ApplyFieldOptions(*parts);

  EXPECT_EQ(parts->Field("ID").FieldKind(), fkData);
  EXPECT_FALSE(parts->Field("ID").ReadOnly());
}

TEST_F(FieldOptions, AStatementWithoutATableChangesNothing) {
  auto parts = Open("select p.id, p.qty * 2 twice, rowid from parts p", "", false);
  parts->Dictionary().SetFieldKinds(true);
  parts->Dictionary().SetDisplayFormats(true);

  ApplyFieldOptions(*parts);

  EXPECT_EQ(parts->Field("TWICE").FieldKind(), fkData);
  EXPECT_TRUE(ui_.Texts().empty());
}

TEST_F(FieldOptions, WithEveryOptionOffNothingChanges) {
  auto measures = Measures();

  ApplyFieldOptions(*measures);

  EXPECT_EQ(Numeric(*measures, "F72").DisplayFormat(), "");
  EXPECT_EQ(dynamic_cast<TFloatField&>(measures->Field("F52")).MaxValue(), 0);
}

TEST_F(FieldOptions, NothingChangesWhileTheSessionIsNotConnected) {
  auto measures = Measures();
  measures->Dictionary().SetDisplayFormats(true);
  session_->LogOff();

  ApplyFieldOptions(*measures);

  EXPECT_EQ(Numeric(*measures, "F72").DisplayFormat(), "");
}

// --- Ranges

TEST_F(FieldOptions, OptionsFollowTheSelectListColumn) {
  // An alias is a column of the select list too; an expression has no
  // precision.
  auto measures = Open("select f72 amount, f72 * 2 twice, rowid from measures", "MEASURES");
  measures->Dictionary().SetDisplayFormats(true);
  measures->Dictionary().SetRangeValues(true);

  ApplyFieldOptions(*measures);

  EXPECT_EQ(Numeric(*measures, "AMOUNT").DisplayFormat(), "##,##0.00");
  EXPECT_DOUBLE_EQ(dynamic_cast<TFloatField&>(measures->Field("AMOUNT")).MaxValue(), 99999.99);
  EXPECT_EQ(Numeric(*measures, "TWICE").DisplayFormat(), "");
  EXPECT_EQ(dynamic_cast<TFloatField&>(measures->Field("TWICE")).MaxValue(), 0);
}

TEST_F(FieldOptions, RangeValuesFollowPrecisionAndScale) {
  auto measures = Measures();
  measures->Dictionary().SetRangeValues(true);

  ApplyFieldOptions(*measures);

  auto& f52 = dynamic_cast<TFloatField&>(measures->Field("F52"));
  EXPECT_DOUBLE_EQ(f52.MinValue(), -999.99);
  EXPECT_DOUBLE_EQ(f52.MaxValue(), 999.99);
  auto& n4 = dynamic_cast<TIntegerField&>(measures->Field("N4"));
  EXPECT_EQ(n4.MinValue(), -9999);
  EXPECT_EQ(n4.MaxValue(), 9999);
  auto& big = dynamic_cast<TFloatField&>(measures->Field("BIG"));
  EXPECT_EQ(big.MinValue(), 0);
  EXPECT_EQ(big.MaxValue(), 0);
}

TEST_F(FieldOptions, ARangeOfTheFieldsOwnStays) {
  auto measures = Measures();
  measures->Dictionary().SetRangeValues(true);
  auto& n4 = dynamic_cast<TIntegerField&>(measures->Field("N4"));
  n4.SetMaxValue(100);

  ApplyFieldOptions(*measures);

  EXPECT_EQ(n4.MinValue(), 0);
  EXPECT_EQ(n4.MaxValue(), 100);
}

TEST_F(FieldOptions, ARangeRefusesValuesOutsideIt) {
  auto measures = Measures();
  measures->Dictionary().SetRangeValues(true);
  ApplyFieldOptions(*measures);
  measures->Mem().Edit();

  EXPECT_NE(ErrorOf([&] { measures->Field("F52").SetAsFloat(1000); }), "");
  EXPECT_EQ(ErrorOf([&] { measures->Field("F52").SetAsFloat(-999.99); }), "");
}

// --- Display formats

TEST_F(FieldOptions, DisplayFormatsFollowPrecisionAndScale) {
  auto measures = Measures();
  measures->Dictionary().SetDisplayFormats(true);

  ApplyFieldOptions(*measures);

  TNumericField& f72 = Numeric(*measures, "F72");
  EXPECT_EQ(f72.DisplayFormat(), "##,##0.00");
  EXPECT_EQ(f72.EditFormat(), "####0.00");
  EXPECT_EQ(f72.DisplayWidth(), 10);
  TNumericField& f82 = Numeric(*measures, "F82");
  EXPECT_EQ(f82.DisplayFormat(), "###,##0.00");
  EXPECT_EQ(f82.EditFormat(), "#####0.00");
  EXPECT_EQ(f82.DisplayWidth(), 11);
  TNumericField& n5 = Numeric(*measures, "N5");
  EXPECT_EQ(n5.DisplayFormat(), "");
  EXPECT_EQ(n5.EditFormat(), "");
  EXPECT_EQ(n5.DisplayWidth(), 6);
  EXPECT_EQ(f82.DisplayText(), "5.50");
}

TEST_F(FieldOptions, AFieldWithAFormatOfItsOwnKeepsIt) {
  auto measures = Measures();
  measures->Dictionary().SetDisplayFormats(true);
  TNumericField& f72 = Numeric(*measures, "F72");
  f72.SetEditFormat("0.0");
  const int width = f72.DisplayWidth();

  ApplyFieldOptions(*measures);

  EXPECT_EQ(f72.DisplayFormat(), "");
  EXPECT_EQ(f72.EditFormat(), "0.0");
  EXPECT_EQ(f72.DisplayWidth(), width);
}

// --- Default values

class DefaultValues : public DictionaryTest {
 protected:
  void SetUp() override {
    DictionaryTest::SetUp();
    parts_ = Open("select p.*, rowid from parts p", "PARTS");
    parts_->Dictionary().SetDefaultValues(true);
    TableInfoOf(session_.get(), "PARTS").Query().SetBeforeQuery([this](TOracleQuery*) {
      ++dictionaryStatements_;
    });
  }
  void TearDown() override {
    parts_.reset();
    DictionaryTest::TearDown();
  }

  std::unique_ptr<TestDataSet> parts_;
  int dictionaryStatements_ = 0;
};

TEST_F(DefaultValues, FillANewRecord) {
  parts_->Mem().Insert();

  ApplyDefaultValues(*parts_);

  EXPECT_EQ(parts_->Field("MAKER").AsString(), "ACME");
  EXPECT_EQ(parts_->Field("QTY").AsFloat(), 1.0);
  EXPECT_FALSE(parts_->Field("MADE").IsNull());
  EXPECT_TRUE(parts_->Field("NAME").IsNull());
}

TEST_F(DefaultValues, LeaveAValueTheRecordAlreadyHas) {
  parts_->Mem().Insert();
  parts_->Field("MAKER").SetValue("GEARCO");

  ApplyDefaultValues(*parts_);

  EXPECT_EQ(parts_->Field("MAKER").AsString(), "GEARCO");
  EXPECT_EQ(parts_->Field("QTY").AsFloat(), 1.0);
}

TEST_F(DefaultValues, AreOffByDefault) {
  parts_->Dictionary().SetDefaultValues(false);
  parts_->Mem().Insert();

  ApplyDefaultValues(*parts_);

  EXPECT_TRUE(parts_->Field("MAKER").IsNull());
  EXPECT_EQ(dictionaryStatements_, 0);
}

TEST_F(DefaultValues, AreEvaluatedOnceForEveryNewRecord) {
  parts_->Mem().Insert();
  ApplyDefaultValues(*parts_);
  const Variant made = parts_->Field("MADE").Value();
  parts_->Mem().Cancel();
  const int afterFirst = dictionaryStatements_;

  parts_->Mem().Insert();
  ApplyDefaultValues(*parts_);

  EXPECT_EQ(dictionaryStatements_, afterFirst);
  EXPECT_TRUE(parts_->Field("MADE").Value() == made);
}

TEST_F(DefaultValues, WithDynamicDefaultsAreEvaluatedForEachNewRecord) {
  parts_->Dictionary().SetDynamicDefaults(true);
  parts_->Mem().Insert();
  ApplyDefaultValues(*parts_);
  parts_->Mem().Cancel();
  const int afterFirst = dictionaryStatements_;

  parts_->Mem().Insert();
  ApplyDefaultValues(*parts_);

  EXPECT_EQ(dictionaryStatements_, afterFirst + 1);
  EXPECT_FALSE(parts_->Field("MADE").IsNull());
}

TEST_F(DefaultValues, OfAStatementWithoutATableAreNone) {
  parts_->updatingTable = "";
  parts_->Mem().Insert();

  ApplyDefaultValues(*parts_);

  EXPECT_TRUE(parts_->Field("MAKER").IsNull());
  EXPECT_TRUE(ui_.Texts().empty());
}

TEST_F(DefaultValues, OfATableWithoutDefaultsChangeNothing) {
  auto plain = Open("select p.*, rowid from plain p", "PLAIN");
  plain->Dictionary().SetDefaultValues(true);
  plain->Mem().Insert();

  ApplyDefaultValues(*plain);

  EXPECT_TRUE(plain->Field("A").IsNull());
  EXPECT_TRUE(plain->Field("B").IsNull());
}

}  // namespace
}  // namespace vorn::dataset_test
