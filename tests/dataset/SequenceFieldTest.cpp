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

// --- Taking numbers

class SequenceField : public DictionaryTest {
 protected:
  void SetUp() override {
    DictionaryTest::SetUp();
    parts_ = Open("select p.*, rowid from parts p", "PARTS");
    sequence_ = &parts_->SequenceField();
    sequence_->SetField("ID");
    sequence_->SetSequence("parts_seq");
    query_.SetSession(session_.get());
    query_.SetBeforeQuery([this](TOracleQuery*) { ++statements_; });
  }
  void TearDown() override {
    parts_.reset();
    DictionaryTest::TearDown();
  }

  std::unique_ptr<TestDataSet> parts_;
  TSequenceField* sequence_ = nullptr;
  TOracleQuery query_;
  int statements_ = 0;
};

TEST_F(SequenceField, FillsAnEmptyFieldWithTheNextNumber) {
  parts_->Mem().Insert();

  sequence_->Apply(query_);

  EXPECT_EQ(parts_->Field("ID").AsInteger(), 100);
}

TEST_F(SequenceField, KeepsAValueTheUserTyped) {
  parts_->Mem().Insert();
  parts_->Field("ID").SetValue(7);

  sequence_->Apply(query_);

  EXPECT_EQ(parts_->Field("ID").AsInteger(), 7);
  EXPECT_EQ(statements_, 0);
}

TEST_F(SequenceField, DoesNothingWithoutASequence) {
  sequence_->SetSequence("");
  parts_->Mem().Insert();

  sequence_->Apply(query_);

  EXPECT_TRUE(parts_->Field("ID").IsNull());
  EXPECT_EQ(statements_, 0);
}

TEST_F(SequenceField, ACancelledRecordUsesUpItsNumber) {
  parts_->Mem().Insert();
  sequence_->Apply(query_);
  parts_->Mem().Cancel();

  parts_->Mem().Insert();
  sequence_->Apply(query_);

  EXPECT_EQ(parts_->Field("ID").AsInteger(), 101);
}

TEST_F(SequenceField, TakesASequenceQualifiedByItsOwner) {
  sequence_->SetSequence("SCOTT.PARTS_SEQ");
  parts_->Mem().Insert();

  sequence_->Apply(query_);

  EXPECT_EQ(parts_->Field("ID").AsInteger(), 100);
  EXPECT_EQ(query_.SQL()->Text(), "select SCOTT.PARTS_SEQ.nextval from dual\r\n");
}

TEST_F(SequenceField, AnUnknownSequenceRaisesTheServersError) {
  sequence_->SetSequence("no_such_seq");
  parts_->Mem().Insert();

  try {
    sequence_->Apply(query_);
    FAIL() << "no error";
  } catch (const EOracleError& error) {
    EXPECT_EQ(error.ErrorCode(), 2289);
  }
  EXPECT_TRUE(parts_->Field("ID").IsNull());
}

TEST_F(SequenceField, AMissingFieldRaisesTheFieldLookUpsError) {
  sequence_->SetField("NO_SUCH_FIELD");
  parts_->Mem().Insert();

  EXPECT_NE(ErrorOf([&] { sequence_->Apply(query_); }).find("NO_SUCH_FIELD"), std::string::npos);
  EXPECT_EQ(statements_, 0);
}

TEST_F(SequenceField, ReplacesWhateverTheQueryHeld) {
  query_.SQL()->SetText("select :x from dual");
  query_.DeclareVariable("x", otInteger);
  parts_->Mem().Insert();

  sequence_->Apply(query_);

  EXPECT_EQ(query_.VariableCount(), 0);
  EXPECT_EQ(parts_->Field("ID").AsInteger(), 100);
}

}  // namespace
}  // namespace vorn::dataset_test
