// Client-side constraint checks on field change and on post, against the
// constraints of the embedded server's dictionary.
#include <gtest/gtest.h>

#include "ConstraintCheck.h"
#include "DictionaryTestSupport.h"
#include "FieldOptions.h"
#include "vorn/dataset/DictionaryCache.h"
#include "vorn/host/DataLink.h"
#include "vorn/host/DataSource.h"

namespace vorn::dataset_test {
namespace {

constexpr const char* kDuplicatePart = "ORA-00001: unique constraint (SCOTT.PARTS_PK) violated\n";
constexpr const char* kNegativeSalary =
    "ORA-02290: check constraint (SCOTT.EMP_SAL_POSITIVE) violated\n";
constexpr const char* kUnknownDepartment =
    "ORA-02291: integrity constraint (SCOTT.FK_DEPTNO) violated - parent key not found\n";

class ConstraintCheck : public DictionaryTest {
 protected:
  std::unique_ptr<TestDataSet> Parts(const std::string& sql = "select p.*, rowid from parts p") {
    auto dataSet = Open(sql, "PARTS");
    dataSet->Dictionary().SetEnforceConstraints(true);
    return dataSet;
  }
  std::unique_ptr<TestDataSet> Emp(const std::string& sql = "select e.*, rowid from emp e") {
    auto dataSet = Open(sql, "EMP");
    dataSet->Dictionary().SetEnforceConstraints(true);
    return dataSet;
  }

  // Stores `value` in the field and runs the field-change check, as the
  // dataset does when a value is stored; the error's message, or "".
  std::string Change(TestDataSet& dataSet, const std::string& field, const Variant& value) {
    dataSet.Field(field).SetValue(value);
    return ErrorOf([&] { CheckFieldConstraints(dataSet, dataSet.Field(field)); });
  }
  std::string Post(TestDataSet& dataSet) {
    return ErrorOf([&] { CheckRecordConstraints(dataSet); });
  }
};

// --- Primary and unique keys on field change

TEST_F(ConstraintCheck, ADuplicatePrimaryKeyFailsOnChange) {
  auto parts = Parts();
  parts->Mem().Insert();

  EXPECT_EQ(Change(*parts, "ID", 2), kDuplicatePart);
  EXPECT_EQ(parts->Mem().State(), dsInsert);
  EXPECT_EQ(parts->Field("ID").AsInteger(), 2);
}

TEST_F(ConstraintCheck, ANewPrimaryKeyPasses) {
  auto parts = Parts();
  parts->Mem().Insert();

  EXPECT_EQ(Change(*parts, "ID", 50), "");
  EXPECT_GT(parts->statements, 0);
}

TEST_F(ConstraintCheck, TheRecordsOwnRowIsNoDuplicate) {
  auto parts = Parts();
  parts->GoTo(2);
  parts->Mem().Edit();

  EXPECT_EQ(Change(*parts, "ID", 2), "");
  EXPECT_EQ(Change(*parts, "ID", 1), kDuplicatePart);
}

TEST_F(ConstraintCheck, ADuplicateUniqueKeyFailsOnChange) {
  auto parts = Parts();
  parts->Mem().Insert();

  EXPECT_EQ(Change(*parts, "CODE", "NUT"),
            "ORA-00001: unique constraint (SCOTT.PARTS_CODE_UK) violated\n");
  EXPECT_EQ(Change(*parts, "CODE", "WASHER"), "");
}

TEST_F(ConstraintCheck, ADisabledConstraintIsNeverChecked) {
  auto parts = Parts();
  parts->Dictionary().DisabledConstraints()->Add("parts_pk");
  parts->Mem().Insert();

  EXPECT_EQ(Change(*parts, "ID", 2), "");
  EXPECT_EQ(parts->statements, 0);
}

TEST_F(ConstraintCheck, NothingIsCheckedWithoutEnforceConstraints) {
  auto parts = Parts();
  parts->Dictionary().SetEnforceConstraints(false);
  parts->Mem().Insert();

  EXPECT_EQ(Change(*parts, "ID", 2), "");
  EXPECT_EQ(parts->statements, 0);
}

TEST_F(ConstraintCheck, NothingIsCheckedWithoutARowIdInTheSelectList) {
  auto parts = Parts("select * from parts");
  parts->Mem().Insert();

  EXPECT_EQ(Change(*parts, "ID", 2), "");
  EXPECT_EQ(parts->statements, 0);
}

TEST_F(ConstraintCheck, AStatementWithoutATableHasNothingToCheck) {
  auto parts = Parts();
  parts->updatingTable = "";
  parts->Mem().Insert();

  EXPECT_EQ(Change(*parts, "ID", 2), "");
  EXPECT_EQ(Post(*parts), "");
  EXPECT_EQ(parts->statements, 0);
  EXPECT_TRUE(ui_.Texts().empty());
}

TEST_F(ConstraintCheck, AFieldWithoutAValueIsNotChecked) {
  auto parts = Parts();
  parts->GoTo(1);
  parts->Mem().Edit();

  EXPECT_EQ(Change(*parts, "CODE", ""), "");
  EXPECT_EQ(Change(*parts, "CODE", Null()), "");
  EXPECT_EQ(parts->statements, 0);
}

TEST_F(ConstraintCheck, MasterLinkAndSequenceFieldsAreNotCheckedOnChange) {
  auto parts = Parts();
  parts->masterFields.insert("ID");
  parts->Mem().Insert();
  EXPECT_EQ(Change(*parts, "ID", 2), "");

  parts->masterFields.clear();
  parts->SequenceField().SetField("id");
  parts->SequenceField().SetSequence("parts_seq");
  EXPECT_EQ(Change(*parts, "ID", 2), "");
  EXPECT_EQ(parts->statements, 0);
}

TEST_F(ConstraintCheck, AKeyOfSeveralEditableColumnsWaitsForThePost) {
  auto parts = Parts();
  parts->Mem().Insert();
  Change(*parts, "MAKER", "ACME");

  EXPECT_EQ(Change(*parts, "NAME", "Bolt"), "");
}

// --- Check constraints on field change

TEST_F(ConstraintCheck, ACheckIsEvaluatedWithTheFieldsValue) {
  auto emp = Emp();
  emp->GoTo(7369);
  emp->Mem().Edit();

  EXPECT_EQ(Change(*emp, "SAL", -5), kNegativeSalary);
  EXPECT_EQ(Change(*emp, "SAL", 10), "");
}

TEST_F(ConstraintCheck, ACheckOverAColumnOutsideTheSelectListReadsTheStoredValue) {
  // PARTS_RANGE_CK is lo <= hi; part 1 has lo 1.
  auto parts = Parts("select id, hi, rowid from parts");
  parts->GoTo(1);
  parts->Mem().Edit();

  EXPECT_EQ(Change(*parts, "HI", 0),
            "ORA-02290: check constraint (SCOTT.PARTS_RANGE_CK) violated\n");
  EXPECT_EQ(Change(*parts, "HI", 1), "");
}

TEST_F(ConstraintCheck, ACheckOverAColumnOutsideTheSelectListWaitsForTheServerOnANewRecord) {
  auto parts = Parts("select id, hi, rowid from parts");
  parts->Mem().Insert();
  const int before = parts->statements;

  EXPECT_EQ(Change(*parts, "HI", -100), "");
  EXPECT_EQ(parts->statements, before);
}

// --- Foreign keys on field change

TEST_F(ConstraintCheck, AMissingParentFailsOnChange) {
  auto emp = Emp();
  emp->Mem().Insert();

  EXPECT_EQ(Change(*emp, "DEPTNO", 99), kUnknownDepartment);
  EXPECT_EQ(Change(*emp, "DEPTNO", 40), "");
}

// --- The record post

TEST_F(ConstraintCheck, AKeyOfSeveralColumnsIsCheckedOnPost) {
  auto parts = Parts();
  parts->Mem().Insert();
  Change(*parts, "ID", 60);
  Change(*parts, "NAME", "Bolt");
  Change(*parts, "MAKER", "ACME");

  EXPECT_EQ(Post(*parts), "ORA-00001: unique constraint (SCOTT.PARTS_NAME_UK) violated\n");

  Change(*parts, "MAKER", "OTHER");
  EXPECT_EQ(Post(*parts), "");
}

TEST_F(ConstraintCheck, APrimaryKeyOfSeveralColumnsIsCheckedOnPost) {
  // BINS_PK is (shelf, slot); bins (1, 1) and (1, 2) are stored.
  auto bins = Open("select b.*, rowid from bins b", "BINS");
  bins->Dictionary().SetEnforceConstraints(true);
  bins->Mem().Insert();
  EXPECT_EQ(Change(*bins, "SHELF", 1), "");
  EXPECT_EQ(Change(*bins, "SLOT", 2), "");

  EXPECT_EQ(Post(*bins), "ORA-00001: unique constraint (SCOTT.BINS_PK) violated\n");

  Change(*bins, "SLOT", 3);
  EXPECT_EQ(Post(*bins), "");
}

TEST_F(ConstraintCheck, APostLeavesTheOnesCheckedOnChange) {
  auto parts = Parts();
  parts->Mem().Insert();
  Change(*parts, "ID", 2);
  const int before = parts->statements;

  EXPECT_EQ(Post(*parts), "");
  EXPECT_EQ(parts->statements, before);
}

TEST_F(ConstraintCheck, APostOfAnUnchangedKeyChecksNothing) {
  auto parts = Parts();
  parts->GoTo(1);
  parts->Mem().Edit();
  parts->Field("NOTE").SetValue("new note");
  // The stored name and maker are those of part 1 itself.
  parts->Field("NAME").SetValue("Bolt");

  EXPECT_EQ(Post(*parts), "");
  EXPECT_EQ(parts->statements, 0);
}

TEST_F(ConstraintCheck, AnEditedKeyIsCheckedAgainstTheOtherRows) {
  auto parts = Parts();
  parts->GoTo(1);
  parts->Mem().Edit();
  parts->Field("NAME").SetValue("Nut");

  EXPECT_EQ(Post(*parts), "ORA-00001: unique constraint (SCOTT.PARTS_NAME_UK) violated\n");
}

TEST_F(ConstraintCheck, ACheckOfSeveralColumnsIsCheckedOnPostLeavingItsLiteralsAlone) {
  // EMP_COMM_JOB is comm IS NULL OR job IN ('SALESMAN', 'COMM'): the
  // literal 'COMM' is no column.
  auto emp = Emp();
  emp->GoTo(7369);
  emp->Mem().Edit();
  emp->Field("COMM").SetValue(100);
  emp->Field("JOB").SetValue("COMM");
  EXPECT_EQ(Post(*emp), "");

  emp->Field("JOB").SetValue("CLERK");
  EXPECT_EQ(Post(*emp), "ORA-02290: check constraint (SCOTT.EMP_COMM_JOB) violated\n");
}

TEST_F(ConstraintCheck, APostDoesNotCountMasterLinkFieldsAsChanged) {
  auto parts = Parts();
  parts->masterFields = {"NAME", "MAKER"};
  parts->Mem().Insert();
  parts->Field("NAME").SetValue("Bolt");
  parts->Field("MAKER").SetValue("ACME");

  EXPECT_EQ(Post(*parts), "");
}

TEST_F(ConstraintCheck, APostWaitsForTheServersSequenceNumber) {
  // BINS_PK is (shelf, slot); the server gives the slot.
  auto bins = Open("select b.*, rowid from bins b", "BINS");
  bins->Dictionary().SetEnforceConstraints(true);
  bins->SequenceField().SetField("SLOT");
  bins->SequenceField().SetSequence("parts_seq");
  bins->SequenceField().SetApplyMoment(amOnServer);
  bins->Mem().Insert();
  bins->Field("SHELF").SetValue(1);

  EXPECT_EQ(Post(*bins), "");
  EXPECT_EQ(bins->statements, 0);

  bins->SequenceField().SetApplyMoment(amOnPost);
  EXPECT_EQ(Post(*bins), "");
  EXPECT_GT(bins->statements, 0);
}

TEST_F(ConstraintCheck, AForeignKeyWithANullColumnIsNotChecked) {
  auto stock = Open("select s.*, rowid from stock s", "STOCK");
  stock->Dictionary().SetEnforceConstraints(true);
  stock->Mem().Insert();
  stock->Field("ID").SetValue(5);
  stock->Field("SHELF").SetValue(9);

  EXPECT_EQ(Post(*stock), "");

  stock->Field("SLOT").SetValue(9);
  EXPECT_EQ(
      Post(*stock),
      "ORA-02291: integrity constraint (SCOTT.STOCK_BIN_FK) violated - parent key not found\n");
  stock->Field("SHELF").SetValue(1);
  stock->Field("SLOT").SetValue(2);
  EXPECT_EQ(Post(*stock), "");
}

// Hears which field's control is asked to take the focus.
class FocusLink : public TDataLink {
 public:
  std::string focused;

 protected:
  void FocusControl(TFieldRef field) override { focused = (*field)->FieldName(); }
};

TEST_F(ConstraintCheck, AFailedPostFocusesTheFirstChangedColumn) {
  auto parts = Parts();
  TDataSource source(nullptr);
  source.SetDataSet(&parts->Mem());
  FocusLink link;
  link.SetDataSource(&source);
  parts->GoTo(3);
  parts->Mem().Edit();
  parts->Field("MAKER").SetValue("ACME");
  parts->Field("NAME").SetValue("Bolt");

  EXPECT_NE(Post(*parts), "");

  // MAKER comes second in the key, NAME first.
  EXPECT_EQ(link.focused, "NAME");
  link.SetDataSource(nullptr);
}

// --- Messages

TEST_F(ConstraintCheck, TheMessageTableTranslatesAViolation) {
  session_->SetMessageTable("messages");
  auto emp = Emp();
  emp->Dictionary().SetUseMessageTable(true);
  emp->Mem().Insert();

  EXPECT_EQ(Change(*emp, "DEPTNO", 99), "There is no such department");
}

TEST_F(ConstraintCheck, OnTranslateMessageHasTheLastWord) {
  session_->SetMessageTable("messages");
  auto parts = Parts();
  parts->Dictionary().SetUseMessageTable(true);
  std::string heard;
  parts->onTranslateMessage = [&heard](int code, const std::string& name, char action,
                                       std::string& message) {
    heard = std::to_string(code) + " " + name + " " + action + " " + message;
    message = "Pick another number";
  };
  parts->Mem().Insert();
  EXPECT_EQ(Change(*parts, "ID", 2), "Pick another number");
  EXPECT_EQ(heard, "1 PARTS_PK I That part number is taken");

  parts->Mem().Cancel();
  parts->GoTo(1);
  parts->Mem().Edit();
  EXPECT_EQ(Change(*parts, "ID", 2), "Pick another number");
  EXPECT_EQ(heard, "1 PARTS_PK U Another part has that number");
}

TEST_F(ConstraintCheck, OnTheOdbcRouteTheMessagesAreTheAdapters) {
  auto odbc = OdbcSession();
  TestDataSet parts(odbc.get(), "select p.*, rowid from parts p");
  parts.updatingTable = "PARTS";
  parts.Dictionary().SetEnforceConstraints(true);
  int heardCode = 0;
  parts.onTranslateMessage = [&heardCode](int code, const std::string&, char, std::string&) {
    heardCode = code;
  };
  parts.Mem().Insert();

  const std::string message = Change(parts, "ID", 2);

  EXPECT_EQ(message,
            odbc->MessageText(30021) + "[POL-3220] duplicate keys in unique/primary index");
  EXPECT_EQ(heardCode, 30021);
}

TEST_F(ConstraintCheck, TheSingleEditableColumn) {
  auto parts = Parts("select id, name, maker, hi, rowid from parts");
  TOracleTableInfo& table = TableInfoOf(session_.get(), "PARTS");
  auto column = [&](const std::string& constraint) {
    auto& constraints = table.Constraints();
    for (int i = 0; i < constraints.Count(); ++i) {
      if (constraints.Items(i)->ConstraintName == constraint)
        return SingleEditableColumn(parts->Mem(), *constraints.Items(i));
    }
    return std::string("?");
  };

  EXPECT_EQ(column("PARTS_PK"), "ID");
  EXPECT_EQ(column("PARTS_NAME_UK"), "*");
  EXPECT_EQ(column("PARTS_RANGE_CK"), "HI");
  EXPECT_EQ(column("PARTS_CODE_UK"), "");

  parts->Field("NAME").SetReadOnly(true);
  EXPECT_EQ(column("PARTS_NAME_UK"), "MAKER");
}

}  // namespace
}  // namespace vorn::dataset_test

namespace vorn::dataset_test {
namespace {

using session_test::CallSet;

// The statements the dictionary generates, in both call sets: the name
// resolution block, the key selects with the rowid, the check block that
// reads stored columns, and the defaults block.
class DictionaryCallSets : public DictionaryTest, public ::testing::WithParamInterface<CallSet> {
 protected:
  DictionaryCallSets() { useOCI7_ = GetParam() == CallSet::OCI7; }
};

TEST_P(DictionaryCallSets, ResolveCheckAndFillDefaults) {
  ASSERT_EQ(session_->UsesOCI8(), GetParam() == CallSet::OCI8);
  TOracleTableInfo& staff = TableInfoOf(session_.get(), "staff");
  EXPECT_EQ(staff.Owner() + "." + staff.TableName(), "SCOTT.EMP");

  auto parts = Open("select id, hi, maker, qty, made, rowid from parts", "PARTS");
  parts->Dictionary().SetEnforceConstraints(true);
  parts->GoTo(1);
  parts->Mem().Edit();
  parts->Field("ID").SetValue(2);
  EXPECT_EQ(ErrorOf([&] { CheckFieldConstraints(*parts, parts->Field("ID")); }),
            "ORA-00001: unique constraint (SCOTT.PARTS_PK) violated\n");
  parts->Field("ID").SetValue(1);
  parts->Field("HI").SetValue(0);
  EXPECT_EQ(ErrorOf([&] { CheckFieldConstraints(*parts, parts->Field("HI")); }),
            "ORA-02290: check constraint (SCOTT.PARTS_RANGE_CK) violated\n");
  parts->Mem().Cancel();

  parts->Dictionary().SetDefaultValues(true);
  parts->Mem().Insert();
  ApplyDefaultValues(*parts);
  EXPECT_EQ(parts->Field("MAKER").AsString(), "ACME");
  EXPECT_EQ(parts->Field("QTY").AsFloat(), 1.0);
  EXPECT_FALSE(parts->Field("MADE").IsNull());
}

INSTANTIATE_TEST_SUITE_P(CallSets, DictionaryCallSets,
                         ::testing::Values(CallSet::OCI8, CallSet::OCI7),
                         session_test::CallSetName);

}  // namespace
}  // namespace vorn::dataset_test
