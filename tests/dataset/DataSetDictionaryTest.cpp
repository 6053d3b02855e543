// The dictionary features as users of TOracleDataSet meet them: the
// updating table and its alias, the key fields found on open, constraint
// checks as field values are stored, the messages they raise, the default
// values of new records, and the field options on open and in the
// designer.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "DictionaryTestSupport.h"
#include "vorn/dataset/DictionaryCache.h"
#include "vorn/dataset/OracleDictionary.h"
#include "vorn/dataset/SequenceField.h"
#include "vorn/host/FieldDefs.h"
#include "vorn/host/NumericFields.h"
#include "vorn/query/QueryTypes.h"
#include "vorn/session/OracleError.h"

namespace vorn::dataset_test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kDuplicatePart = "ORA-00001: unique constraint (SCOTT.PARTS_PK) violated\n";
constexpr const char* kUnknownDepartment =
    "ORA-02291: integrity constraint (SCOTT.FK_DEPTNO) violated - parent key not found\n";

// --- The updating table and its alias

class UpdatingTableOfDataSet : public DictionaryTest {};

TEST_F(UpdatingTableOfDataSet, ComesFromTheStatementWithItsAlias) {
  auto emp = DataSet("select e.*, rowid from emp e where deptno = :d", false);

  EXPECT_EQ(emp->UpdatingTableName(), "EMP");
  EXPECT_EQ(emp->UpdatingTableAlias(), "E");
}

TEST_F(UpdatingTableOfDataSet, OfASubqueryInFromIsItsTableUnderTheSubquerysAlias) {
  auto emp = DataSet("select * from (select e.*, rowid from emp e) staff order by 1", false);

  EXPECT_EQ(emp->UpdatingTableName(), "EMP");
  EXPECT_EQ(emp->UpdatingTableAlias(), "STAFF");
}

TEST_F(UpdatingTableOfDataSet, LosesTheQuotesOfItsNameButAQuotedAliasKeepsThem) {
  auto emp = DataSet("select \"e\".* from \"EMP\" \"e\"", false);

  EXPECT_EQ(emp->UpdatingTableName(), "EMP");
  EXPECT_EQ(emp->UpdatingTableAlias(), "\"e\"");
}

TEST_F(UpdatingTableOfDataSet, WithoutAnAliasIsNamedByItself) {
  auto emp = DataSet("select * from emp where deptno = 10 order by empno", false);

  EXPECT_EQ(emp->UpdatingTableAlias(), "EMP");
}

TEST_F(UpdatingTableOfDataSet, FollowsTheStatementAndTheProperty) {
  auto dataSet = DataSet("select * from emp", false);
  EXPECT_EQ(dataSet->UpdatingTableName(), "EMP");

  dataSet->SQL()->SetText("select * from dept");
  EXPECT_EQ(dataSet->UpdatingTableName(), "DEPT");

  dataSet->SetUpdatingTable("  scott.staff ");
  EXPECT_EQ(dataSet->UpdatingTableName(), "scott.staff");

  dataSet->SetUpdatingTable("");
  EXPECT_EQ(dataSet->UpdatingTableName(), "DEPT");
}

TEST_F(UpdatingTableOfDataSet, OfACursorDataSetMustBeNamed) {
  auto emp = DataSet("begin open :c for select * from emp; end;", false);
  emp->DeclareVariable("c", otCursor);

  EXPECT_EQ(ErrorOf([&] { emp->UpdatingTableName(); }),
            "UpdatingTable property required for cursor dataset");

  emp->SetUpdatingTable("EMP");
  EXPECT_EQ(emp->UpdatingTableName(), "EMP");
}

// --- Key fields, found on open

class KeyFieldsOnOpen : public DictionaryTest {};

TEST_F(KeyFieldsOnOpen, AreTheUniqueFieldsNamed) {
  auto parts = DataSet("select p.*, rowid from parts p", false);
  parts->SetUniqueFields("CODE; NAME");

  parts->Open();

  EXPECT_THAT(parts->KeyFields(), ElementsAre("CODE", "NAME"));
}

TEST_F(KeyFieldsOnOpen, AreNoneWithoutUniqueFieldsOffTheOdbcRoute) {
  auto parts = DataSet("select p.*, rowid from parts p");

  EXPECT_THAT(parts->KeyFields(), IsEmpty());
}

TEST_F(KeyFieldsOnOpen, AreNoneWithoutARowId) {
  auto parts = DataSet("select * from parts", false);
  parts->SetUniqueFields("ID");

  parts->Open();

  EXPECT_THAT(parts->KeyFields(), IsEmpty());
}

TEST_F(KeyFieldsOnOpen, AreFoundAnewOnEveryOpen) {
  auto parts = DataSet("select p.*, rowid from parts p", false);
  parts->SetUniqueFields("ID");
  parts->Open();
  parts->Close();

  parts->SetUniqueFields("");
  parts->Open();

  EXPECT_THAT(parts->KeyFields(), IsEmpty());
}

class OdbcKeyFieldsOnOpen : public DictionaryTest {
 protected:
  void SetUp() override {
    DictionaryTest::SetUp();
    odbc_ = OdbcSession();
  }
  void TearDown() override {
    odbc_.reset();
    DictionaryTest::TearDown();
  }

  std::unique_ptr<TOracleSession> odbc_;
};

TEST_F(OdbcKeyFieldsOnOpen, AreThePrimaryKey) {
  auto emp = DataSet("select e.*, rowid from emp e", true, odbc_.get());

  EXPECT_THAT(emp->KeyFields(), ElementsAre("EMPNO"));
}

TEST_F(OdbcKeyFieldsOnOpen, AreThePrimaryKeyOfTheTableASynonymStandsFor) {
  auto staff = DataSet("select s.*, rowid from staff s", true, odbc_.get());

  EXPECT_THAT(staff->KeyFields(), ElementsAre("EMPNO"));
}

TEST_F(OdbcKeyFieldsOnOpen, AreAUniqueKeyWithoutAPrimaryOne) {
  auto codes = DataSet("select c.*, rowid from codes c", true, odbc_.get());

  EXPECT_THAT(codes->KeyFields(), ElementsAre("CODE"));
}

TEST_F(OdbcKeyFieldsOnOpen, AreNoneForATableWithoutKeys) {
  auto plain = DataSet("select p.*, rowid from plain p", true, odbc_.get());

  EXPECT_THAT(plain->KeyFields(), IsEmpty());
}

TEST_F(OdbcKeyFieldsOnOpen, AKeyColumnOutsideTheSelectListFailsTheOpen) {
  auto emp = DataSet("select ename, rowid from emp", false, odbc_.get());

  EXPECT_EQ(ErrorOf([&] { emp->Open(); }), "Primary or Unique key columns must be included");
  EXPECT_FALSE(emp->Active());
}

TEST_F(OdbcKeyFieldsOnOpen, GiveWayToUniqueFields) {
  auto emp = DataSet("select e.*, rowid from emp e", false, odbc_.get());
  emp->SetUniqueFields("ENAME");

  emp->Open();

  EXPECT_THAT(emp->KeyFields(), ElementsAre("ENAME"));
}

// --- Constraint checks as field values are stored

class FieldChecks : public DictionaryTest {
 protected:
  std::unique_ptr<EditingDataSet> Checked(const std::string& sql,
                                          TOracleSession* session = nullptr) {
    auto dataSet = DataSet(sql, true, session);
    dataSet->OracleDictionary()->SetEnforceConstraints(true);
    return dataSet;
  }
  std::unique_ptr<EditingDataSet> Parts() { return Checked("select p.*, rowid from parts p"); }
  std::unique_ptr<EditingDataSet> Emp() { return Checked("select e.*, rowid from emp e"); }

  // Stores `value` in the field as a control would; the error's message,
  // or "".
  static std::string Store(EditingDataSet& dataSet, const std::string& field,
                           const Variant& value) {
    return ErrorOf([&] { dataSet.FieldByName(field)->SetValue(value); });
  }
};

TEST_F(FieldChecks, ADuplicateKeyTypedIntoANewRecordFails) {
  auto parts = Parts();
  parts->Insert();

  EXPECT_EQ(Store(*parts, "ID", 2), kDuplicatePart);

  EXPECT_EQ(parts->State(), dsInsert);
  EXPECT_EQ(Store(*parts, "ID", 50), "");
}

TEST_F(FieldChecks, AnEditedRecordIsNoDuplicateOfItself) {
  auto parts = Parts();
  parts->GoTo("ID", 2);
  parts->Edit();

  EXPECT_EQ(Store(*parts, "ID", 2), "");
  EXPECT_EQ(Store(*parts, "ID", 1), kDuplicatePart);
  EXPECT_EQ(parts->State(), dsEdit);
}

TEST_F(FieldChecks, ACheckIsEvaluatedWithTheFieldsValue) {
  auto emp = Emp();
  emp->GoTo("EMPNO", 7369);
  emp->Edit();

  EXPECT_EQ(Store(*emp, "SAL", -5),
            "ORA-02290: check constraint (SCOTT.EMP_SAL_POSITIVE) violated\n");
  EXPECT_EQ(Store(*emp, "SAL", 10), "");
}

TEST_F(FieldChecks, ACheckOverAColumnOutsideTheSelectListReadsTheStoredRow) {
  // PARTS_RANGE_CK is lo <= hi; part 1 has lo 1.
  auto parts = Checked("select id, hi, rowid from parts");
  parts->GoTo("ID", 1);
  parts->Edit();

  EXPECT_EQ(Store(*parts, "HI", 0),
            "ORA-02290: check constraint (SCOTT.PARTS_RANGE_CK) violated\n");
  EXPECT_EQ(Store(*parts, "HI", 1), "");
}

TEST_F(FieldChecks, AMissingParentFails) {
  auto emp = Emp();
  emp->Insert();

  EXPECT_EQ(Store(*emp, "DEPTNO", 99), kUnknownDepartment);
  EXPECT_EQ(Store(*emp, "DEPTNO", 40), "");
}

TEST_F(FieldChecks, ADisabledConstraintIsNeverChecked) {
  auto parts = Parts();
  parts->OracleDictionary()->DisabledConstraints()->Add("parts_pk");
  parts->Insert();

  EXPECT_EQ(Store(*parts, "ID", 2), "");
}

TEST_F(FieldChecks, NothingIsCheckedWithoutEnforceConstraints) {
  auto parts = DataSet("select p.*, rowid from parts p");
  int statements = 0;
  parts->StatementQuery().SetBeforeQuery([&statements](TOracleQuery*) { ++statements; });
  parts->Insert();

  EXPECT_EQ(Store(*parts, "ID", 2), "");
  EXPECT_EQ(statements, 0);
}

TEST_F(FieldChecks, TheValuesANewRecordStartsWithAreNotChecked) {
  // The first number of LOW_SEQ is part 1's.
  Run("create sequence low_seq");
  auto parts = Parts();
  parts->SequenceField()->SetField("ID");
  parts->SequenceField()->SetSequence("low_seq");
  parts->SequenceField()->SetApplyMoment(amOnNewRecord);

  EXPECT_EQ(ErrorOf([&] { parts->Insert(); }), "");

  EXPECT_EQ(parts->FieldByName("ID")->AsInteger(), 1);
  // Typed in, the same number is checked.
  parts->SequenceField()->SetSequence("");
  EXPECT_EQ(Store(*parts, "ID", 1), kDuplicatePart);
}

TEST_F(FieldChecks, TheSequenceFieldIsNotCheckedOnChange) {
  auto parts = Parts();
  parts->SequenceField()->SetField("ID");
  parts->SequenceField()->SetSequence("parts_seq");
  parts->Insert();

  EXPECT_EQ(Store(*parts, "ID", 2), "");
}

TEST_F(FieldChecks, ADetailsLinkFieldsAreNotCheckedButANameWithoutPartnerIs) {
  auto dept = DataSet("select d.*, rowid from dept d");
  auto emp = DataSet("select e.*, rowid from emp e where deptno = :deptno", false);
  emp->DeclareVariable("deptno", otInteger);
  emp->OracleDictionary()->SetEnforceConstraints(true);
  emp->SetMaster(dept.get());
  emp->SetMasterFields("deptno");
  // EMPNO has no master field to pair with: it is no link field.
  emp->SetDetailFields("deptno;empno");
  emp->Open();
  emp->Insert();

  EXPECT_EQ(Store(*emp, "DEPTNO", 99), "");
  EXPECT_EQ(Store(*emp, "EMPNO", 7369), "ORA-00001: unique constraint (SCOTT.PK_EMP) violated\n");
}

TEST_F(FieldChecks, LeaveTheDataSetsStatementVariablesAndCursorAlone) {
  auto parts = DataSet("select p.*, rowid from parts p where id >= :low order by id", false);
  parts->DeclareVariable("low", otInteger);
  parts->SetVariable("low", 1);
  parts->SetQueryAllRecords(false);
  parts->SetReadBuffer(1);
  parts->OracleDictionary()->SetEnforceConstraints(true);
  parts->Open();
  const std::string sql = parts->InternalQuery().SQL()->Text();
  parts->Insert();

  EXPECT_EQ(Store(*parts, "ID", 2), kDuplicatePart);
  parts->Cancel();
  parts->Last();

  EXPECT_EQ(parts->RecordCount(), 3);
  EXPECT_EQ(parts->FieldByName("ID")->AsInteger(), 3);
  EXPECT_EQ(parts->InternalQuery().SQL()->Text(), sql);
  EXPECT_EQ(parts->GetVariable("low").AsInteger(), 1);
}

TEST_F(FieldChecks, TheMessageTableGivesTheMessageAndOnTranslateMessageHasTheLastWord) {
  session_->SetMessageTable("messages");
  auto emp = Emp();
  emp->OracleDictionary()->SetUseMessageTable(true);
  emp->Insert();
  EXPECT_EQ(Store(*emp, "DEPTNO", 99), "There is no such department");

  std::string heard;
  emp->SetOnTranslateMessage([&heard, &emp](TOracleDataSet* sender, int code,
                                            const std::string& name, char action,
                                            std::string& message) {
    heard = (sender == emp.get() ? "emp " : "? ") + std::to_string(code) + " " + name + " " +
            action + " " + message;
    message = "Pick a department that exists";
  });
  EXPECT_EQ(Store(*emp, "DEPTNO", 98), "Pick a department that exists");
  EXPECT_EQ(heard, "emp 2291 FK_DEPTNO I There is no such department");
}

TEST_F(FieldChecks, AnEditedRecordTranslatesForTheUpdate) {
  session_->SetMessageTable("messages");
  auto parts = Parts();
  parts->OracleDictionary()->SetUseMessageTable(true);

  parts->Insert();
  EXPECT_EQ(Store(*parts, "ID", 2), "That part number is taken");
  parts->Cancel();
  parts->GoTo("ID", 1);
  parts->Edit();
  EXPECT_EQ(Store(*parts, "ID", 2), "Another part has that number");
}

TEST_F(FieldChecks, OnTheOdbcRouteTheMessageIsTheAdapters) {
  auto odbc = OdbcSession();
  auto parts = Checked("select p.*, rowid from parts p", odbc.get());
  parts->Insert();

  EXPECT_EQ(Store(*parts, "ID", 2),
            odbc->MessageText(30021) + "[POL-3220] duplicate keys in unique/primary index");
}

// --- The checks of a record being posted

class RecordChecks : public FieldChecks {};

TEST_F(RecordChecks, AKeyOfSeveralColumnsWaitsForThePost) {
  auto parts = Parts();
  parts->Insert();
  Store(*parts, "ID", 60);
  Store(*parts, "MAKER", "ACME");

  EXPECT_EQ(Store(*parts, "NAME", "Bolt"), "");
  EXPECT_EQ(ErrorOf([&] { parts->CheckRecordConstraints(); }),
            "ORA-00001: unique constraint (SCOTT.PARTS_NAME_UK) violated\n");

  Store(*parts, "MAKER", "OTHER");
  EXPECT_EQ(ErrorOf([&] { parts->CheckRecordConstraints(); }), "");
}

TEST_F(RecordChecks, AreNoneWithoutEnforceConstraints) {
  auto parts = Parts();
  parts->Insert();
  Store(*parts, "NAME", "Bolt");
  Store(*parts, "MAKER", "ACME");
  parts->OracleDictionary()->SetEnforceConstraints(false);

  EXPECT_EQ(ErrorOf([&] { parts->CheckRecordConstraints(); }), "");
}

TEST_F(RecordChecks, WaitForTheServersSequenceNumber) {
  // BINS_PK is (shelf, slot); the server gives the slot.
  auto bins = Checked("select b.*, rowid from bins b");
  bins->SequenceField()->SetField("SLOT");
  bins->SequenceField()->SetSequence("parts_seq");
  bins->SequenceField()->SetApplyMoment(amOnServer);
  bins->Insert();
  Store(*bins, "SHELF", 1);

  EXPECT_EQ(ErrorOf([&] { bins->CheckRecordConstraints(); }), "");
  EXPECT_EQ(bins->ServerSequenceExpression(*bins->FieldByName("SLOT")), "parts_seq.nextval");
}

// --- Messages of record actions

class RecordMessages : public DictionaryTest {};

TEST_F(RecordMessages, AnApplicationErrorLosesItsStack) {
  auto emp = DataSet("select e.*, rowid from emp e");

  EXPECT_EQ(emp->TranslateMessage('U', 20001, "ORA-20001: not today\nORA-06512: at line 1\n"),
            "ORA-20001: not today");
}

TEST_F(RecordMessages, TheDataSetsOwnMessagesReachOnTranslateMessage) {
  auto emp = DataSet("select e.*, rowid from emp e");
  emp->SetOnTranslateMessage(
      [](TOracleDataSet*, int code, const std::string& name, char action, std::string& message) {
        message = std::to_string(code) + "|" + name + "|" + action + "|" + message;
      });

  EXPECT_EQ(emp->TranslateMessage('D', 0, "Record has been deleted by another user"),
            "0||D|Record has been deleted by another user");
}

// --- Default values of new records

class NewRecordDefaults : public DictionaryTest {
 protected:
  void SetUp() override {
    DictionaryTest::SetUp();
    parts_ = DataSet("select p.*, rowid from parts p");
    parts_->OracleDictionary()->SetDefaultValues(true);
    TableInfoOf(session_.get(), "PARTS").Query().SetBeforeQuery([this](TOracleQuery*) {
      ++dictionaryStatements_;
    });
  }
  void TearDown() override {
    parts_.reset();
    DictionaryTest::TearDown();
  }

  TField& Field(const std::string& name) { return *parts_->FieldByName(name); }

  std::unique_ptr<EditingDataSet> parts_;
  int dictionaryStatements_ = 0;
};

TEST_F(NewRecordDefaults, FillTheNewRecordWithoutModifyingIt) {
  parts_->Insert();

  EXPECT_EQ(Field("MAKER").AsString(), "ACME");
  EXPECT_EQ(Field("QTY").AsFloat(), 1.0);
  EXPECT_FALSE(Field("MADE").IsNull());
  EXPECT_TRUE(Field("NAME").IsNull());
  EXPECT_FALSE(parts_->Modified());
}

TEST_F(NewRecordDefaults, AreOffByDefault) {
  parts_->OracleDictionary()->SetDefaultValues(false);

  parts_->Insert();

  EXPECT_TRUE(Field("MAKER").IsNull());
  EXPECT_EQ(dictionaryStatements_, 0);
}

TEST_F(NewRecordDefaults, AreEvaluatedOnce) {
  parts_->Insert();
  const Variant made = Field("MADE").Value();
  parts_->Cancel();
  const int afterFirst = dictionaryStatements_;

  parts_->Append();

  EXPECT_EQ(dictionaryStatements_, afterFirst);
  EXPECT_TRUE(Field("MADE").Value() == made);
  EXPECT_EQ(Field("MAKER").AsString(), "ACME");
}

TEST_F(NewRecordDefaults, WithDynamicDefaultsAreEvaluatedForEveryNewRecord) {
  parts_->OracleDictionary()->SetDynamicDefaults(true);
  parts_->Insert();
  parts_->Cancel();
  const int afterFirst = dictionaryStatements_;

  parts_->Insert();

  EXPECT_EQ(dictionaryStatements_, afterFirst + 1);
  EXPECT_FALSE(Field("MADE").IsNull());
}

TEST_F(NewRecordDefaults, LeaveOnNewRecordTheLastWord) {
  parts_->SetOnNewRecord([](TDataSet* dataSet) { dataSet->FieldByName("MAKER")->SetValue("X"); });

  parts_->Insert();

  EXPECT_EQ(Field("MAKER").AsString(), "X");
  EXPECT_EQ(Field("QTY").AsFloat(), 1.0);
}

// --- Field options

class FieldOptionsOfDataSet : public DictionaryTest {
 protected:
  static TNumericField& Numeric(TDataSet& dataSet, const std::string& name) {
    return dynamic_cast<TNumericField&>(*dataSet.FieldByName(name));
  }
};

TEST_F(FieldOptionsOfDataSet, ShapeTheDefaultFieldsOnOpen) {
  auto measures = DataSet("select m.*, m.n4 + 1 bumped, rowid from measures m", false);
  measures->OracleDictionary()->SetFieldKinds(true);
  measures->OracleDictionary()->SetRangeValues(true);
  measures->OracleDictionary()->SetDisplayFormats(true);

  measures->Open();

  // NUMBER(7,2)
  TNumericField& f72 = Numeric(*measures, "F72");
  EXPECT_EQ(f72.DisplayFormat(), "##,##0.00");
  EXPECT_EQ(f72.EditFormat(), "####0.00");
  EXPECT_EQ(f72.DisplayWidth(), 10);
  EXPECT_DOUBLE_EQ(dynamic_cast<TFloatField&>(f72).MaxValue(), 99999.99);
  // NUMBER(5)
  TNumericField& n5 = Numeric(*measures, "N5");
  EXPECT_EQ(n5.DisplayFormat(), "");
  EXPECT_EQ(n5.DisplayWidth(), 6);
  EXPECT_EQ(dynamic_cast<TIntegerField&>(n5).MinValue(), -99999);
  // No column of MEASURES.
  EXPECT_EQ(measures->FieldByName("BUMPED")->FieldKind(), fkInternalCalc);
  EXPECT_TRUE(measures->FieldByName("BUMPED")->ReadOnly());
  EXPECT_EQ(measures->FieldByName("BUMPED")->AsInteger(), 2);
  EXPECT_EQ(measures->FieldByName("LABEL")->FieldKind(), fkData);
}

TEST_F(FieldOptionsOfDataSet, LeavePersistentFieldsAloneOnOpen) {
  auto measures = DataSet("select m.*, rowid from measures m", false);
  measures->OracleDictionary()->SetDisplayFormats(true);
  measures->FieldDefs().Update();
  measures->FieldDefs().Find("F72")->CreateField(measures.get());

  measures->Open();

  EXPECT_EQ(Numeric(*measures, "F72").DisplayFormat(), "");
}

class FieldOptionsInTheDesigner : public FieldOptionsOfDataSet {
 protected:
  // A closed dataset in the designer with its field definitions read.
  std::unique_ptr<EditingDataSet> Designed(const std::string& sql) {
    auto dataSet = DataSet(sql, false);
    dataSet->SetDesigning(true);
    dataSet->FieldDefs().Update();
    return dataSet;
  }
  static TField& AddField(TDataSet& dataSet, const std::string& name) {
    return *dataSet.FieldDefs().Find(name)->CreateField(&dataSet);
  }
};

TEST_F(FieldOptionsInTheDesigner, ShapeEachFieldAdded) {
  auto measures = Designed("select m.f72, m.n4 * 2 twice, rowid from measures m");
  measures->OracleDictionary()->SetFieldKinds(true);
  measures->OracleDictionary()->SetRangeValues(true);
  measures->OracleDictionary()->SetDisplayFormats(true);

  TField& f72 = AddField(*measures, "F72");
  TField& twice = AddField(*measures, "TWICE");

  EXPECT_EQ(dynamic_cast<TNumericField&>(f72).DisplayFormat(), "##,##0.00");
  EXPECT_DOUBLE_EQ(dynamic_cast<TFloatField&>(f72).MinValue(), -99999.99);
  EXPECT_EQ(f72.FieldKind(), fkData);
  EXPECT_EQ(twice.FieldKind(), fkInternalCalc);
  EXPECT_TRUE(twice.ReadOnly());
}

TEST_F(FieldOptionsInTheDesigner, ShapeTheFieldsWhenDisplayFormatsIsTurnedOn) {
  auto measures = Designed("select m.f52, rowid from measures m");
  TField& f52 = AddField(*measures, "F52");
  EXPECT_EQ(dynamic_cast<TNumericField&>(f52).DisplayFormat(), "");

  measures->OracleDictionary()->SetDisplayFormats(true);

  EXPECT_EQ(dynamic_cast<TNumericField&>(f52).DisplayFormat(), "##0.00");
  EXPECT_EQ(dynamic_cast<TNumericField&>(f52).EditFormat(), "##0.00");
}

TEST_F(FieldOptionsInTheDesigner, NeedAConnectedSession) {
  auto measures = Designed("select m.f52, rowid from measures m");
  TField& f52 = AddField(*measures, "F52");
  session_->LogOff();

  measures->OracleDictionary()->SetDisplayFormats(true);

  EXPECT_EQ(dynamic_cast<TNumericField&>(f52).DisplayFormat(), "");
  EXPECT_TRUE(ui_.Texts().empty());
}

TEST_F(FieldOptionsInTheDesigner, OutsideTheDesignerAFieldAddedIsLeftAlone) {
  auto measures = DataSet("select m.f52, rowid from measures m", false);
  measures->OracleDictionary()->SetDisplayFormats(true);
  measures->FieldDefs().Update();

  TField& f52 = AddField(*measures, "F52");

  EXPECT_EQ(dynamic_cast<TNumericField&>(f52).DisplayFormat(), "");
}

}  // namespace
}  // namespace vorn::dataset_test
