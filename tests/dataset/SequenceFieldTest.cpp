// Sequence fields: the setting, its statements, and taking numbers from a
// sequence of the embedded server.
#include <gtest/gtest.h>

#include "DictionaryTestSupport.h"
#include "vorn/dataset/SequenceField.h"
#include "vorn/session/OracleError.h"

namespace vorn::dataset_test {
namespace {

// --- The setting

TEST(SequenceFieldSetting, StartsEmptyAndAppliesOnPost) {
  TSequenceField sequence(nullptr);

  EXPECT_EQ(sequence.Field(), "");
  EXPECT_EQ(sequence.Sequence(), "");
  EXPECT_EQ(sequence.ApplyMoment(), amOnPost);
  EXPECT_FALSE(sequence.Active());
}

TEST(SequenceFieldSetting, IsActiveWithFieldAndSequence) {
  TSequenceField sequence(nullptr);
  sequence.SetField("EMPNO");
  EXPECT_FALSE(sequence.Active());
  EXPECT_FALSE(sequence.IsSequenceField("EMPNO"));

  sequence.SetSequence("emp_seq");
  EXPECT_TRUE(sequence.Active());
  EXPECT_TRUE(sequence.IsSequenceField("empno"));
  EXPECT_FALSE(sequence.IsSequenceField("ENAME"));
}

TEST(SequenceFieldSetting, OnlyTheServerMomentMakesAServerSequenceField) {
  TSequenceField sequence(nullptr);
  sequence.SetField("EMPNO");
  sequence.SetSequence("emp_seq");
  EXPECT_FALSE(sequence.IsServerSequenceField("EMPNO"));

  sequence.SetApplyMoment(amOnServer);
  EXPECT_TRUE(sequence.IsServerSequenceField("Empno"));
  EXPECT_FALSE(sequence.IsServerSequenceField("ENAME"));
}

TEST(SequenceFieldSetting, NamesTheSequenceAsWritten) {
  TSequenceField sequence(nullptr);
  sequence.SetSequence("HR.EMP_SEQ");

  EXPECT_EQ(sequence.NextValueStatement(), "select HR.EMP_SEQ.nextval from dual");
  EXPECT_EQ(sequence.NextValueExpression(), "HR.EMP_SEQ.nextval");
}

TEST(SequenceFieldSetting, AssignCopiesTheSetting) {
  TSequenceField source(nullptr);
  source.SetField("ID");
  source.SetSequence("parts_seq");
  source.SetApplyMoment(amOnNewRecord);
  TSequenceField copy(nullptr);

  copy.Assign(&source);

  EXPECT_EQ(copy.Field(), "ID");
  EXPECT_EQ(copy.Sequence(), "parts_seq");
  EXPECT_EQ(copy.ApplyMoment(), amOnNewRecord);
}

// --- Taking numbers, through the dataset

class SequenceField : public DictionaryTest {
 protected:
  void SetUp() override {
    DictionaryTest::SetUp();
    parts_ = DataSet("select p.*, rowid from parts p");
    sequence_ = parts_->SequenceField();
    sequence_->SetField("ID");
    sequence_->SetSequence("parts_seq");
    parts_->StatementQuery().SetBeforeQuery([this](TOracleQuery*) { ++statements_; });
  }
  void TearDown() override {
    parts_.reset();
    DictionaryTest::TearDown();
  }

  TField& Id() { return *parts_->FieldByName("ID"); }

  std::unique_ptr<EditingDataSet> parts_;
  TSequenceField* sequence_ = nullptr;
  int statements_ = 0;
};

TEST_F(SequenceField, OnNewRecordTheRecordGetsTheNextNumber) {
  sequence_->SetApplyMoment(amOnNewRecord);

  parts_->Insert();

  EXPECT_EQ(Id().AsInteger(), 100);
  EXPECT_EQ(parts_->State(), dsInsert);
  EXPECT_FALSE(parts_->Modified());
}

TEST_F(SequenceField, OnNewRecordComesBeforeTheDefaultsAndOnNewRecord) {
  sequence_->SetApplyMoment(amOnNewRecord);
  parts_->OracleDictionary()->SetDefaultValues(true);
  std::string seen;
  parts_->SetOnNewRecord([&seen](TDataSet* dataSet) {
    seen = dataSet->FieldByName("ID")->AsString() + " " + dataSet->FieldByName("MAKER")->AsString();
  });

  parts_->Insert();

  EXPECT_EQ(seen, "100 ACME");
}

TEST_F(SequenceField, OnNewRecordATypedValueStaysAtThePost) {
  sequence_->SetApplyMoment(amOnNewRecord);
  parts_->Insert();
  Id().SetAsInteger(7);
  const int before = statements_;

  parts_->ApplySequenceOnPost();

  EXPECT_EQ(Id().AsInteger(), 7);
  EXPECT_EQ(statements_, before);
}

TEST_F(SequenceField, ACancelledRecordUsesUpItsNumber) {
  sequence_->SetApplyMoment(amOnNewRecord);
  parts_->Insert();
  parts_->Cancel();

  parts_->Insert();

  EXPECT_EQ(Id().AsInteger(), 101);
}

TEST_F(SequenceField, WithoutASequenceNothingHappensAtAnyMoment) {
  sequence_->SetSequence("");
  for (TSequenceApplyMoment moment : {amOnNewRecord, amOnPost, amOnServer}) {
    sequence_->SetApplyMoment(moment);
    parts_->Insert();
    parts_->ApplySequenceOnPost();

    EXPECT_TRUE(Id().IsNull());
    EXPECT_EQ(parts_->ServerSequenceExpression(Id()), "");
    parts_->Cancel();
  }
  EXPECT_EQ(statements_, 0);
}

TEST_F(SequenceField, OnPostAnEmptyFieldGetsTheNextNumber) {
  parts_->Insert();
  EXPECT_TRUE(Id().IsNull());

  parts_->ApplySequenceOnPost();

  EXPECT_EQ(Id().AsInteger(), 100);
}

TEST_F(SequenceField, OnPostAValueTheUserTypedStays) {
  parts_->Insert();
  Id().SetAsInteger(7);

  parts_->ApplySequenceOnPost();

  EXPECT_EQ(Id().AsInteger(), 7);
  EXPECT_EQ(statements_, 0);
}

TEST_F(SequenceField, OnTheServerTheInsertNamesTheNextValue) {
  sequence_->SetApplyMoment(amOnServer);
  parts_->Insert();
  parts_->ApplySequenceOnPost();

  EXPECT_TRUE(Id().IsNull());
  EXPECT_EQ(parts_->ServerSequenceExpression(Id()), "parts_seq.nextval");
  EXPECT_EQ(parts_->ServerSequenceExpression(*parts_->FieldByName("CODE")), "");
  EXPECT_EQ(statements_, 0);

  Id().SetAsInteger(7);
  EXPECT_EQ(parts_->ServerSequenceExpression(Id()), "");
}

TEST_F(SequenceField, TakesASequenceQualifiedByItsOwner) {
  sequence_->SetSequence("SCOTT.PARTS_SEQ");
  parts_->Insert();

  parts_->ApplySequenceOnPost();

  EXPECT_EQ(Id().AsInteger(), 100);
  EXPECT_EQ(parts_->StatementQuery().SQL()->Text(), "select SCOTT.PARTS_SEQ.nextval from dual\r\n");
}

TEST_F(SequenceField, AnUnknownSequenceAbortsTheNewRecord) {
  sequence_->SetApplyMoment(amOnNewRecord);
  sequence_->SetSequence("no_such_seq");

  try {
    parts_->Insert();
    FAIL() << "no error";
  } catch (const EOracleError& error) {
    EXPECT_EQ(error.ErrorCode(), 2289);
  }
  EXPECT_EQ(parts_->State(), dsBrowse);
  EXPECT_EQ(parts_->RecordCount(), 3);
}

TEST_F(SequenceField, AnUnknownSequenceOnPostLeavesTheRecordInserting) {
  sequence_->SetSequence("no_such_seq");
  parts_->Insert();

  EXPECT_THROW(parts_->ApplySequenceOnPost(), EOracleError);

  EXPECT_EQ(parts_->State(), dsInsert);
  EXPECT_TRUE(Id().IsNull());
}

TEST_F(SequenceField, AMissingFieldRaisesTheFieldLookUpsError) {
  sequence_->SetApplyMoment(amOnNewRecord);
  sequence_->SetField("NO_SUCH_FIELD");

  EXPECT_NE(ErrorOf([&] { parts_->Insert(); }).find("NO_SUCH_FIELD"), std::string::npos);
  EXPECT_EQ(statements_, 0);
}

TEST_F(SequenceField, TheNumberComesFromAQueryOfItsOwn) {
  // A dataset part-way through its rows, with a variable: taking a number
  // must leave its statement, its variables and its open cursor alone.
  auto parts = DataSet("select p.*, rowid from parts p where id >= :low order by id", false);
  parts->DeclareVariable("low", otInteger);
  parts->SetVariable("low", 1);
  parts->SetQueryAllRecords(false);
  parts->SetReadBuffer(1);
  parts->SequenceField()->SetField("ID");
  parts->SequenceField()->SetSequence("parts_seq");
  parts->SequenceField()->SetApplyMoment(amOnNewRecord);
  parts->Open();
  const std::string sql = parts->InternalQuery().SQL()->Text();

  parts->Insert();
  EXPECT_EQ(parts->FieldByName("ID")->AsInteger(), 100);
  parts->Cancel();
  parts->Last();

  EXPECT_EQ(parts->RecordCount(), 3);
  EXPECT_EQ(parts->FieldByName("ID")->AsInteger(), 3);
  EXPECT_EQ(parts->InternalQuery().SQL()->Text(), sql);
  EXPECT_EQ(parts->GetVariable("low").AsInteger(), 1);
}

}  // namespace
}  // namespace vorn::dataset_test
