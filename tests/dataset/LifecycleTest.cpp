// The dataset's lifecycle: reuse, its session, forms (stored properties,
// Active and Loaded), and what it refuses while record modification and the
// other later features are not there.
#include "DataSetTestSupport.h"
#include "vorn/dataset/OracleDictionary.h"
#include "vorn/dataset/QBEDefinition.h"
#include "vorn/dataset/SequenceField.h"
#include "vorn/host/Field.h"
#include "vorn/host/Filer.h"
#include "vorn/host/MemoryStream.h"
#include "vorn/session/SessionPreferences.h"

namespace vorn::dataset_test {

namespace {

class LifecycleTest : public DataSetTest {
 protected:
  // `from` written as a form and read into `into`.
  static void Stream(TComponent& from, TComponent& into) {
    TMemoryStream stream;
    WriteComponent(stream, from);
    stream.SetPosition(0);
    ReadComponent(stream, into);
  }
};

TEST_P(LifecycleTest, ADataSetOpensAndClosesAgainAndAgain) {
  MakeNumbers(30);
  auto dataSet = NewDataSet();
  for (int cycle = 1; cycle <= 40; ++cycle) {
    dataSet->SQL()->SetText("select n, label from numbers_t where n <= " +
                            std::to_string(cycle % 30 + 1));
    dataSet->Open();
    ASSERT_EQ(cycle % 30 + 1, dataSet->RecordCount());
    ASSERT_EQ(2, dataSet->FieldCount());
    dataSet->Close();
    ASSERT_EQ(0, dataSet->FieldCount()) << "default fields go with the close";
  }
}

TEST_P(LifecycleTest, ChangingTheSqlReopensAnOpenDataSet) {
  auto dataSet = NewDataSet("select ename from emp");
  dataSet->Open();

  dataSet->SQL()->SetText("select dname, loc from dept order by deptno");

  EXPECT_TRUE(dataSet->Active());
  EXPECT_EQ("ACCOUNTING|NEW YORK", Rows(*dataSet).at(0));
}

TEST_P(LifecycleTest, LoggingOffClosesTheDataSet) {
  auto dataSet = NewDataSet("select ename from emp");
  dataSet->Open();

  session_->LogOff();
  EXPECT_FALSE(dataSet->Active());

  session_->LogOn();
  dataSet->Open();
  EXPECT_EQ(14, dataSet->RecordCount());
}

TEST_P(LifecycleTest, ADestroyedSessionLeavesItsDataSetsClosedAndWithoutASession) {
  auto session = NewSession();
  session->LogOn();
  auto dataSet = NewDataSet("select ename from emp", session.get());
  dataSet->Open();

  session.reset();

  EXPECT_FALSE(dataSet->Active());
  EXPECT_EQ(nullptr, dataSet->Session());
  EXPECT_EQ("Session undefined", ErrorOf([&] { dataSet->Open(); }));
}

TEST_P(LifecycleTest, ADataSetJoinsItsSessionsListAndLeavesIt) {
  auto other = NewSession();
  const int before = session_->DataSetCount();
  auto dataSet = NewDataSet("select ename from emp");
  EXPECT_EQ(before + 1, session_->DataSetCount());
  dataSet->Open();

  dataSet->SetSession(other.get());
  EXPECT_FALSE(dataSet->Active());
  EXPECT_EQ(before, session_->DataSetCount());
  EXPECT_EQ(1, other->DataSetCount());

  dataSet.reset();
  EXPECT_EQ(0, other->DataSetCount());
}

TEST_P(LifecycleTest, ADataSetDestroyedWhileOpenClosesFirst) {
  auto dataSet = NewDataSet("select ename from emp");
  TDataSource source(nullptr);
  source.SetDataSet(dataSet.get());
  dataSet->Open();

  dataSet.reset();

  EXPECT_EQ(nullptr, source.DataSet());
  EXPECT_EQ(0, session_->DataSetCount());
}

TEST_P(LifecycleTest, StoredPropertiesComeBackFromAForm) {
  auto stored = NewDataSet("select ename from emp");
  stored->SetReadBuffer(7);
  stored->SetQueryAllRecords(false);
  stored->SetLockingMode(lmLockDelayed);
  stored->SetRefreshOptions(roAfterInsert | roAllFields);
  stored->SetUpdatingTable("EMP");
  stored->SetCommitOnPost(false);
  stored->SetCachedUpdates(true);
  stored->SetUniqueFields("ENAME");
  stored->SetFilter("ENAME > 'M'");
  stored->SetFilterOptions(foCaseInsensitive | foNoPartialCompare);
  stored->SetFiltered(true);
  stored->SetCursor(crSQLWait);
  stored->DeclareVariable("d", otInteger);
  stored->SequenceField()->SetField("EMPNO");
  stored->SequenceField()->SetSequence("EMP_SEQ");
  stored->SequenceField()->SetApplyMoment(amOnServer);
  stored->OracleDictionary()->SetRangeValues(true);
  stored->OracleDictionary()->DisabledConstraints()->SetText("PK_EMP");
  stored->QBEDefinition()->SetSaveQBEValues(false);
  auto read = NewDataSet();

  Stream(*stored, *read);

  EXPECT_EQ("select ename from emp", read->SQL()->Strings(0));
  EXPECT_EQ(7, read->ReadBuffer());
  EXPECT_FALSE(read->QueryAllRecords());
  EXPECT_EQ(lmLockDelayed, read->LockingMode());
  EXPECT_EQ(roAfterInsert | roAllFields, read->RefreshOptions());
  EXPECT_EQ("EMP", read->UpdatingTable());
  EXPECT_FALSE(read->CommitOnPost());
  EXPECT_TRUE(read->CachedUpdates());
  EXPECT_EQ("ENAME", read->UniqueFields());
  EXPECT_EQ("ENAME > 'M'", read->Filter());
  EXPECT_EQ(foCaseInsensitive | foNoPartialCompare, read->FilterOptions());
  EXPECT_TRUE(read->Filtered());
  EXPECT_EQ(crSQLWait, read->Cursor());
  EXPECT_EQ(1, read->Variables()->Count());
  EXPECT_EQ("EMPNO", read->SequenceField()->Field());
  EXPECT_EQ("EMP_SEQ", read->SequenceField()->Sequence());
  EXPECT_EQ(amOnServer, read->SequenceField()->ApplyMoment());
  EXPECT_TRUE(read->OracleDictionary()->RangeValues());
  EXPECT_EQ(1, read->OracleDictionary()->DisabledConstraints()->Count());
  EXPECT_FALSE(read->QBEDefinition()->SaveQBEValues());
  EXPECT_TRUE(read->QBEDefinition()->AllowFileWildCards());
  EXPECT_FALSE(read->Active());
}

TEST_P(LifecycleTest, AStoredActiveOpensTheDataSetWhenTheFormIsLoaded) {
  auto stored = NewDataSet("select ename from emp");
  stored->Open();
  auto read = NewDataSet();
  bool openWhileReading = true;
  read->SetBeforeOpen([&](TDataSet* sender) {
    openWhileReading = (sender->ComponentState() & (csReading | csLoading)) != 0;
  });

  Stream(*stored, *read);

  EXPECT_TRUE(read->Active());
  EXPECT_FALSE(openWhileReading) << "opened by Loaded, after every property";
  EXPECT_EQ(14, read->RecordCount());
}

TEST_P(LifecycleTest, WithDesignActivationAStoredActiveCountsOnlyInTheDesigner) {
  auto stored = NewDataSet("select ename from emp");
  stored->SetDesignActivation(true);
  stored->Open();
  auto atRunTime = NewDataSet();
  auto inDesigner = NewDataSet();
  inDesigner->SetDesigning(true);

  Stream(*stored, *atRunTime);
  Stream(*stored, *inDesigner);

  EXPECT_FALSE(atRunTime->Active());
  EXPECT_TRUE(inDesigner->Active());
}

TEST_P(LifecycleTest, ALoadedActivationWaitsWhileTheSessionIsNotConnected) {
  auto stored = NewDataSet("select ename from emp");
  stored->Open();
  auto offline = NewSession();
  auto read = NewDataSet("", offline.get());

  Stream(*stored, *read);

  EXPECT_FALSE(read->Active());
  EXPECT_TRUE(ui_.Messages().empty());
}

TEST_P(LifecycleTest, AFailedLoadedActivationRaisesAtRunTimeAndIsShownInTheDesigner) {
  Run("create table gone_t (n number)");
  auto stored = NewDataSet("select n from gone_t");
  stored->Open();
  TMemoryStream form;
  WriteComponent(form, *stored);
  stored.reset();
  Run("drop table gone_t");
  auto atRunTime = NewDataSet();
  auto inDesigner = NewDataSet();
  inDesigner->SetDesigning(true);

  form.SetPosition(0);
  EXPECT_NE("", ErrorOf([&] { ReadComponent(form, *atRunTime); }));
  EXPECT_TRUE(ui_.Messages().empty());

  form.SetPosition(0);
  ReadComponent(form, *inDesigner);
  EXPECT_FALSE(inDesigner->Active());
  ASSERT_EQ(1u, ui_.Messages().size());
  EXPECT_TRUE(ui_.Messages()[0].IsException);
}

TEST_P(LifecycleTest, InTheDesignerWithoutASessionActiveWaitsForTheSession) {
  auto dataSet = NewDataSet("select ename from emp");
  dataSet->SetSession(nullptr);
  dataSet->SetDesigning(true);

  dataSet->Open();
  EXPECT_FALSE(dataSet->Active());

  dataSet->SetSession(session_.get());
  EXPECT_TRUE(dataSet->Active());
}

TEST_P(LifecycleTest, AFieldShapingPreferenceChangedInTheDesignerRecreatesTheFields) {
  Run("create table widths_t (p4 number(4))");
  auto dataSet = NewDataSet("select p4 from widths_t");
  dataSet->Open();
  ASSERT_EQ(ftInteger, dataSet->FieldByName("P4")->DataType());
  session_->SetDesigning(true);

  session_->Preferences()->SetSmallIntPrecision(4);

  EXPECT_TRUE(dataSet->Active());
  EXPECT_EQ(ftSmallint, dataSet->FieldByName("P4")->DataType());
}

TEST_P(LifecycleTest, RefreshModeIsOnlyReadFromOldForms) {
  auto dataSet = NewDataSet();
  EXPECT_EQ("RefreshMode is obsolete, use RefreshOptions instead",
            ErrorOf([&] { dataSet->SetRefreshMode(rmAfterUpdate); }));
  EXPECT_EQ(roNone, dataSet->RefreshOptions());
  EXPECT_EQ(rmObsolete, dataSet->RefreshMode());
}

TEST_P(LifecycleTest, EnforceConstraintsForwardsToTheDictionaryAndIsObsoleteInTheDesigner) {
  auto dataSet = NewDataSet();
  dataSet->SetEnforceConstraints(true);
  EXPECT_TRUE(dataSet->OracleDictionary()->EnforceConstraints());
  EXPECT_TRUE(ui_.Messages().empty());

  dataSet->SetDesigning(true);
  dataSet->SetEnforceConstraints(false);
  EXPECT_FALSE(dataSet->EnforceConstraints());
  ASSERT_EQ(1u, ui_.Messages().size());
  EXPECT_EQ("EnforceConstraints is obsolete. Use OracleDictionary.EnforceConstraints instead",
            ui_.Messages()[0].Box.Text);
}

TEST_P(LifecycleTest, CachedUpdatesRequireARowidOutsideTheDesigner) {
  auto dataSet = NewDataSet("select ename from emp");
  dataSet->SetCachedUpdates(true);

  EXPECT_EQ("CachedUpdates requires a rowid!", ErrorOf([&] { dataSet->Open(); }));
  EXPECT_FALSE(dataSet->Active());

  dataSet->SQL()->SetText("select rowid, ename from emp");
  dataSet->Open();
  EXPECT_EQ(14, dataSet->RecordCount());
  dataSet->Close();

  dataSet->SQL()->SetText("select ename from emp");
  dataSet->SetDesigning(true);
  dataSet->Open();
  EXPECT_TRUE(dataSet->Active());
}

class ReadOnlyTest : public DataSetTest {};

TEST_P(ReadOnlyTest, CanModifyNeedsARowidOrAnApplyRecordHandlerAndNoReadOnly) {
  auto withRowId = NewDataSet("select rowid, ename from emp");
  auto withoutRowId = NewDataSet("select ename from emp");
  EXPECT_FALSE(withRowId->CanModify()) << "closed";
  withRowId->Open();
  withoutRowId->Open();

  EXPECT_TRUE(withRowId->CanModify());
  EXPECT_FALSE(withoutRowId->CanModify());
  withoutRowId->SetOnApplyRecord([](TOracleDataSet*, char, bool&, std::string&) {});
  EXPECT_TRUE(withoutRowId->CanModify());
  withRowId->SetReadOnly(true);
  EXPECT_FALSE(withRowId->CanModify());
  EXPECT_EQ("Cannot modify a read-only dataset", ErrorOf([&] { withRowId->Edit(); }));
}

TEST_P(ReadOnlyTest, ABlobFieldRefusesAValueWhileBrowsing) {
  Run("create table longs_t (id number(2), notes long)");
  Run("insert into longs_t values (1, 'kept')");
  auto dataSet = NewDataSet("select rowid, notes from longs_t");
  dataSet->Open();

  EXPECT_EQ("Dataset not in edit or insert mode",
            ErrorOf([&] { dataSet->FieldByName("NOTES")->SetAsString("new"); }));
  EXPECT_EQ("kept", dataSet->FieldByName("NOTES")->AsString());
}

VORN_IN_BOTH_CALL_SETS(LifecycleTest);
VORN_IN_BOTH_CALL_SETS(ReadOnlyTest);

}  // namespace

}  // namespace vorn::dataset_test
