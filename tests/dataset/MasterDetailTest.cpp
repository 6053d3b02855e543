// Master/detail links against the demo database: DEPT and its EMP rows,
// chains and pairs of details, CHAR keys, masters without a usable record,
// posting pending detail edits, new detail records, the master's read-only
// link fields, the events a detail's controls see, and the datasets going.
// Configuring a link from a foreign key is MasterDetailConfigTest.cpp.
#include <gtest/gtest.h>

#include "DataSetTestSupport.h"
#include "RecordList.h"
#include "vorn/host/Field.h"
#include "vorn/host/NumericFields.h"
#include "vorn/host/StringField.h"

namespace vorn::dataset_test {
namespace {

// A data link that counts what the framework tells it.
class EventCounter : public TDataLink {
 public:
  explicit EventCounter(TDataSet& dataSet) {
    source_.SetDataSet(&dataSet);
    SetDataSource(&source_);
  }
  ~EventCounter() override {
    SetDataSource(nullptr);
    source_.SetDataSet(nullptr);
  }
  EventCounter(const EventCounter&) = delete;
  EventCounter& operator=(const EventCounter&) = delete;

  void DataSetChanged() override { ++changes; }
  void DataSetScrolled(int) override { ++scrolls; }
  void LayoutChanged() override { ++layouts; }
  void FocusControl(TFieldRef field) override { focused = (*field)->FieldName(); }
  void Reset() { changes = scrolls = layouts = 0; }

  int changes = 0;
  int scrolls = 0;
  int layouts = 0;
  // The field whose control was asked to take the focus.
  std::string focused;

 private:
  TDataSource source_{nullptr};
};

class MasterDetailTest : public DataSetTest {
 protected:
  // DEPT ordered by DEPTNO: 10, 20, 30, 40 (40 has no employees).
  std::unique_ptr<ProbeDataSet> Dept(const std::string& where = "") {
    return NewDataSet("select rowid, d.* from dept d " + where + " order by deptno");
  }
  // EMP rows of the master's DEPTNO, by EMPNO, linked to `master`.
  std::unique_ptr<ProbeDataSet> EmpOf(TOracleDataSet* master) {
    auto emp = NewDataSet(
        "select rowid, e.empno, e.ename, e.mgr, e.deptno from emp e where deptno = :deptno "
        "order by empno");
    emp->DeclareVariable("deptno", otInteger);
    emp->SetMasterFields("DEPTNO");
    emp->SetDetailFields("DEPTNO");
    emp->SetMaster(master);
    return emp;
  }
  // Counts the executions of a dataset's query.
  static void CountQueries(TOracleDataSet& dataSet, int& count) {
    dataSet.SetAfterQuery([&count](TOracleDataSet*) { ++count; });
  }
};

VORN_IN_BOTH_CALL_SETS(MasterDetailTest);

// --- The link ---

TEST_P(MasterDetailTest, ADataSetCannotBeItsOwnMaster) {
  auto dept = Dept();

  EXPECT_EQ("Circular master/detail dependency not allowed",
            ErrorOf([&] { dept->SetMaster(dept.get()); }));
  EXPECT_EQ(nullptr, dept->Master());
  EXPECT_TRUE(dept->Details().empty());
}

TEST_P(MasterDetailTest, AMasterOfItsOwnMasterIsRefusedAndTheLinkStays) {
  auto a = Dept();
  auto b = EmpOf(a.get());

  EXPECT_EQ("Circular master/detail dependency not allowed",
            ErrorOf([&] { a->SetMaster(b.get()); }));
  EXPECT_EQ(nullptr, a->Master());
  EXPECT_EQ(a.get(), b->Master());
  EXPECT_EQ(std::vector<TOracleDataSet*>{b.get()}, a->Details());
}

TEST_P(MasterDetailTest, AChainThatComesBackAcrossThreeDataSetsIsRefused) {
  auto a = Dept();
  auto b = EmpOf(a.get());
  auto c = NewDataSet("select ename from emp");
  c->SetMaster(b.get());

  EXPECT_EQ("Circular master/detail dependency not allowed",
            ErrorOf([&] { a->SetMaster(c.get()); }));
  EXPECT_EQ(nullptr, a->Master());
}

TEST_P(MasterDetailTest, ChangingTheLinkClosesTheDetailAndMovesItToTheNewMaster) {
  auto dept = Dept();
  auto other = Dept();
  auto emp = EmpOf(dept.get());
  dept->Open();
  emp->Open();

  emp->SetMaster(other.get());

  EXPECT_FALSE(emp->Active());
  EXPECT_TRUE(dept->Details().empty());
  EXPECT_EQ(std::vector<TOracleDataSet*>{emp.get()}, other->Details());
  emp->Open();
  emp->SetMasterFields("DEPTNO");
  EXPECT_TRUE(emp->Active()) << "an unchanged MasterFields closed the detail";
  emp->SetDetailFields("DEPTNO ");
  EXPECT_FALSE(emp->Active());
  emp->Open();
  emp->SetMasterFields("DEPTNO;LOC");
  EXPECT_FALSE(emp->Active());
}

// --- Following the master ---

TEST_P(MasterDetailTest, ADetailShowsTheRowsOfTheMastersCurrentRecord) {
  auto dept = Dept();
  auto emp = EmpOf(dept.get());
  dept->Open();

  emp->Open();

  EXPECT_EQ((std::vector<std::string>{"CLARK", "KING", "MILLER"}), Column(*emp, "ENAME"));
  EXPECT_EQ(10, emp->GetVariable("DEPTNO").AsInteger());
}

TEST_P(MasterDetailTest, NamesPairInOrderAndPairsWithoutPartnerAreIgnored) {
  auto dept = Dept();
  auto emp = NewDataSet("select ename from emp where deptno = :deptno order by ename");
  emp->DeclareVariable("deptno", otInteger);
  emp->SetMasterFields(" LOC ; DEPTNO ;DNAME");
  emp->SetDetailFields(";DEPTNO");
  emp->SetMaster(dept.get());
  dept->Open();

  emp->Open();

  EXPECT_EQ((std::vector<std::string>{"CLARK", "KING", "MILLER"}), Column(*emp, "ENAME"));
  // Every master field the link names is protected, paired or not.
  EXPECT_TRUE(dept->FieldByName("LOC")->ReadOnly());
  EXPECT_TRUE(dept->FieldByName("DEPTNO")->ReadOnly());
  EXPECT_TRUE(dept->FieldByName("DNAME")->ReadOnly());
}

TEST_P(MasterDetailTest, ADetailOpenedBeforeItsMasterFollowsWhenTheMasterOpens) {
  auto dept = Dept();
  auto emp = EmpOf(dept.get());
  int queries = 0;
  CountQueries(*emp, queries);
  emp->Open();
  ASSERT_TRUE(emp->IsEmpty());

  dept->Open();

  EXPECT_EQ((std::vector<std::string>{"CLARK", "KING", "MILLER"}), Column(*emp, "ENAME"));
  EXPECT_EQ(2, queries);
}

TEST_P(MasterDetailTest, ScrollingTheMasterToARecordAndBackRunsTheDetailBothTimes) {
  auto dept = Dept();
  auto emp = EmpOf(dept.get());
  dept->Open();
  emp->Open();
  int queries = 0;
  CountQueries(*emp, queries);

  dept->Next();
  const std::vector<std::string> research = Column(*emp, "ENAME");
  dept->Prior();

  EXPECT_EQ((std::vector<std::string>{"SMITH", "JONES", "SCOTT", "ADAMS", "FORD"}), research);
  EXPECT_EQ((std::vector<std::string>{"CLARK", "KING", "MILLER"}), Column(*emp, "ENAME"));
  EXPECT_EQ(2, queries);
}

TEST_P(MasterDetailTest, PostingAMasterEditWithoutMovingLeavesTheDetailAlone) {
  auto dept = Dept();
  auto emp = EmpOf(dept.get());
  dept->Open();
  emp->Open();
  int queries = 0;
  CountQueries(*emp, queries);

  dept->Edit();
  dept->FieldByName("LOC")->SetAsString("ALBANY");
  dept->Post();

  EXPECT_EQ(0, queries);
  EXPECT_EQ(3, emp->RecordCount());
}

TEST_P(MasterDetailTest, AMastersRefreshRunsTheDetailAgain) {
  auto dept = Dept();
  auto emp = EmpOf(dept.get());
  dept->Open();
  emp->Open();
  int queries = 0;
  CountQueries(*emp, queries);
  Run("update emp set ename = 'CLARKE' where empno = 7782");

  dept->Refresh();

  EXPECT_EQ(1, queries);
  EXPECT_EQ((std::vector<std::string>{"CLARKE", "KING", "MILLER"}), Column(*emp, "ENAME"));
}

TEST_P(MasterDetailTest, AMasterWithTwoDetailsMovesBoth) {
  auto dept = Dept();
  auto emp = EmpOf(dept.get());
  auto managers =
      NewDataSet("select ename from emp where deptno = :deptno and job = 'MANAGER' order by ename");
  managers->DeclareVariable("deptno", otInteger);
  managers->SetMasterFields("DEPTNO");
  managers->SetDetailFields("DEPTNO");
  managers->SetMaster(dept.get());
  dept->Open();
  emp->Open();
  managers->Open();

  dept->Next();
  dept->Next();

  EXPECT_EQ((std::vector<std::string>{"ALLEN", "WARD", "MARTIN", "BLAKE", "TURNER", "JAMES"}),
            Column(*emp, "ENAME"));
  EXPECT_EQ(std::vector<std::string>{"BLAKE"}, Column(*managers, "ENAME"));
}

TEST_P(MasterDetailTest, AThreeLevelChainFollowsScrollsAndRefreshesAllTheWayDown) {
  auto dept = Dept();
  auto emp = EmpOf(dept.get());
  auto reports = NewDataSet("select ename, mgr from emp where mgr = :mgr order by ename");
  reports->DeclareVariable("mgr", otInteger);
  reports->SetMasterFields("EMPNO");
  reports->SetDetailFields("MGR");
  reports->SetMaster(emp.get());
  dept->Open();
  emp->Open();
  reports->Open();
  ASSERT_EQ(std::vector<std::string>{"MILLER"}, Column(*reports, "ENAME"));  // CLARK's
  int queries = 0;
  CountQueries(*reports, queries);

  dept->Next();  // RESEARCH: SMITH first, who manages nobody
  const std::vector<std::string> ofSmith = Column(*reports, "ENAME");
  emp->Next();  // JONES
  const std::vector<std::string> ofJones = Column(*reports, "ENAME");
  dept->Refresh();  // back to ACCOUNTING, with record numbers given anew

  EXPECT_TRUE(ofSmith.empty());
  EXPECT_EQ((std::vector<std::string>{"FORD", "SCOTT"}), ofJones);
  EXPECT_EQ("CLARK", emp->FieldByName("ENAME")->AsString());
  EXPECT_EQ(std::vector<std::string>{"MILLER"}, Column(*reports, "ENAME"));
  EXPECT_EQ(3, queries);
}

TEST_P(MasterDetailTest, ADetailsControlsSeeOneChangePerMasterScroll) {
  auto dept = Dept();
  auto emp = EmpOf(dept.get());
  dept->Open();
  emp->Open();
  EventCounter grid(*emp);
  EventCounter masterGrid(*dept);

  grid.Reset();
  dept->Next();
  const int afterNext = grid.changes;
  grid.Reset();
  dept->Last();

  EXPECT_EQ(1, afterNext);
  EXPECT_EQ(1, grid.changes);
  EXPECT_EQ(0, grid.scrolls);
  EXPECT_EQ(0, grid.layouts);
  EXPECT_EQ(0, masterGrid.layouts) << "the link fields' changes reached the master's controls";
}

TEST_P(MasterDetailTest, ADetailFetchingOnDemandFollowsAndProtectsFromItsFirstRecord) {
  auto dept = Dept();
  auto emp = EmpOf(dept.get());
  emp->SetQueryAllRecords(false);
  emp->SetReadBuffer(1);
  dept->Open();
  emp->Open();

  dept->Next();

  EXPECT_EQ("SMITH", emp->FieldByName("ENAME")->AsString());
  EXPECT_TRUE(dept->FieldByName("DEPTNO")->ReadOnly());
  EXPECT_EQ((std::vector<std::string>{"SMITH", "JONES", "SCOTT", "ADAMS", "FORD"}),
            Column(*emp, "ENAME"));
}

TEST_P(MasterDetailTest, DeletingTheMastersRecordMovesTheDetailToTheNextOne) {
  auto dept = Dept();
  auto emp = EmpOf(dept.get());
  dept->Open();
  emp->Open();
  dept->Last();  // OPERATIONS, without employees
  ASSERT_TRUE(emp->IsEmpty());

  dept->Delete();

  EXPECT_EQ(30, dept->FieldByName("DEPTNO")->AsInteger());
  EXPECT_EQ(6, emp->RecordCount());
  EXPECT_TRUE(dept->FieldByName("DEPTNO")->ReadOnly());
}

TEST_P(MasterDetailTest, WhileTheMastersControlsAreDisabledTheDetailWaits) {
  auto dept = Dept();
  auto emp = EmpOf(dept.get());
  dept->Open();
  emp->Open();
  int queries = 0;
  CountQueries(*emp, queries);

  dept->DisableControls();
  dept->Next();
  dept->Next();
  const int whileDisabled = queries;
  dept->EnableControls();

  EXPECT_EQ(0, whileDisabled);
  EXPECT_EQ(1, queries);
  EXPECT_EQ(6, emp->RecordCount());
}

// --- CHAR keys ---

TEST_P(MasterDetailTest, AValueForACharColumnIsBlankPaddedToTheColumnsSize) {
  Run("create table kinds (kind varchar2(5), label varchar2(20))");
  Run("create table parts (kind char(5), part varchar2(20))");
  Run("insert into kinds values ('AB', 'short')");
  Run("insert into parts values ('AB', 'bolt')");
  auto kinds = NewDataSet("select kind, label from kinds");
  auto parts = NewDataSet("select kind, part from parts where kind = :kind");
  parts->DeclareVariable("kind", otString);
  parts->SetMasterFields("KIND");
  parts->SetDetailFields("KIND");
  parts->SetMaster(kinds.get());
  kinds->Open();

  parts->Open();

  EXPECT_EQ("AB   ", parts->GetVariable("KIND").AsString());
  EXPECT_EQ(std::vector<std::string>{"bolt"}, Column(*parts, "PART"));
}

TEST_P(MasterDetailTest, ANullMasterValueStaysNullForACharColumn) {
  Run("create table kinds (kind varchar2(5))");
  Run("create table parts (kind char(5), part varchar2(20))");
  Run("insert into kinds values (null)");
  Run("insert into parts values ('     ', 'blank')");
  auto kinds = NewDataSet("select kind from kinds");
  auto parts = NewDataSet("select kind, part from parts where kind = :kind");
  parts->DeclareVariable("kind", otString);
  parts->SetMasterFields("KIND");
  parts->SetDetailFields("KIND");
  parts->SetMaster(kinds.get());
  kinds->Open();

  parts->Open();

  EXPECT_TRUE(parts->GetVariable("KIND").IsNull() || parts->GetVariable("KIND").IsEmpty());
  EXPECT_TRUE(parts->IsEmpty());
}

// --- A master without a usable record ---

TEST_P(MasterDetailTest, ADetailOfAClosedMasterStaysEmptyAndCannotBeModified) {
  auto dept = Dept();
  auto emp = EmpOf(dept.get());

  emp->Open();

  EXPECT_TRUE(emp->Active());
  EXPECT_TRUE(emp->IsEmpty());
  EXPECT_FALSE(emp->CanModify());
}

TEST_P(MasterDetailTest, ClosingTheMasterEmptiesTheDetailAndReopeningFillsIt) {
  auto dept = Dept();
  auto emp = EmpOf(dept.get());
  dept->Open();
  emp->Open();

  dept->Close();
  const bool emptied = emp->Active() && emp->IsEmpty();
  dept->Open();

  EXPECT_TRUE(emptied);
  EXPECT_EQ(3, emp->RecordCount());
}

TEST_P(MasterDetailTest, ADetailOfAnEmptyMasterStaysEmptyAndCannotBeModified) {
  auto dept = Dept("where deptno > 90");
  auto emp = EmpOf(dept.get());
  dept->Open();

  emp->Open();

  EXPECT_TRUE(emp->IsEmpty());
  EXPECT_FALSE(emp->CanModify());
  EXPECT_EQ("Cannot modify a read-only dataset", ErrorOf([&] { emp->Insert(); }));
}

TEST_P(MasterDetailTest, ADetailOfAMasterInQBEModeStaysEmptyUntilTheMasterLeavesIt) {
  auto dept = Dept();
  auto emp = EmpOf(dept.get());
  dept->Open();
  emp->Open();
  ASSERT_EQ(3, emp->RecordCount());
  int queries = 0;
  CountQueries(*emp, queries);

  dept->SetQBEMode(true);

  EXPECT_TRUE(emp->IsEmpty());
  EXPECT_FALSE(emp->CanModify());
  EXPECT_EQ("Cannot modify a read-only dataset", ErrorOf([&] { emp->Insert(); }));
  EXPECT_EQ("QBE mode not allowed without a master record",
            ErrorOf([&] { emp->SetQBEMode(true); }));
  EXPECT_FALSE(emp->QBEMode());
  dept->FieldByName("DEPTNO")->SetAsInteger(30);
  EXPECT_TRUE(emp->IsEmpty()) << "typing into the example is no master record";

  dept->ExecuteQBE();

  EXPECT_EQ("SALES", dept->FieldByName("DNAME")->AsString());
  EXPECT_EQ(6, emp->RecordCount());
  EXPECT_TRUE(emp->CanModify());
  EXPECT_GE(queries, 1);
}

TEST_P(MasterDetailTest, TheMastersLinkFieldsTakeAnExampleValueInQBEMode) {
  auto dept = Dept();
  auto emp = EmpOf(dept.get());
  dept->Open();
  emp->Open();
  ASSERT_TRUE(dept->FieldByName("DEPTNO")->ReadOnly());

  dept->SetQBEMode(true);

  EXPECT_FALSE(dept->FieldByName("DEPTNO")->ReadOnly());
  dept->SetQBEMode(false);
  EXPECT_TRUE(dept->FieldByName("DEPTNO")->ReadOnly()) << "the detail holds records again";
  EXPECT_EQ(3, emp->RecordCount());
}

TEST_P(MasterDetailTest, WhileTheMasterInsertsTheDetailIsEmptyAndStaysSoAfterThePost) {
  auto dept = Dept();
  auto emp = EmpOf(dept.get());
  dept->Open();
  emp->Open();
  int queries = 0;
  CountQueries(*emp, queries);

  dept->Insert();
  const bool emptyWhileInserting = emp->IsEmpty();
  dept->FieldByName("DEPTNO")->SetAsInteger(50);
  dept->FieldByName("DNAME")->SetAsString("RESEARCH 2");
  dept->Post();

  EXPECT_TRUE(emptyWhileInserting);
  EXPECT_TRUE(emp->IsEmpty());
  EXPECT_EQ(1, queries) << "only the insert's own pass should empty the detail";
  EXPECT_EQ(50, dept->FieldByName("DEPTNO")->AsInteger());
}

TEST_P(MasterDetailTest, CancellingTheMastersInsertShowsTheDetailOfTheRecordBefore) {
  auto dept = Dept();
  auto emp = EmpOf(dept.get());
  dept->Open();
  emp->Open();
  dept->Next();

  dept->Insert();
  dept->Cancel();

  EXPECT_EQ(20, dept->FieldByName("DEPTNO")->AsInteger());
  EXPECT_EQ(5, emp->RecordCount());
}

// --- Pending detail edits ---

TEST_P(MasterDetailTest, APendingDetailEditIsPostedBeforeTheMasterMoves) {
  auto dept = Dept();
  auto emp = EmpOf(dept.get());
  dept->Open();
  emp->Open();

  emp->Edit();
  emp->FieldByName("ENAME")->SetAsString("CLARKSON");
  dept->Next();

  EXPECT_EQ(dsBrowse, emp->State());
  EXPECT_EQ(std::vector<std::string>{"CLARKSON"},
            session_test::Rows(*session_, "select ename from emp where empno = 7782"));
}

TEST_P(MasterDetailTest, ADetailPostThatFailsKeepsTheMasterWhereItWas) {
  auto dept = Dept();
  auto emp = EmpOf(dept.get());
  dept->Open();
  emp->Open();
  emp->SetBeforePost([](TDataSet*) { throw Exception("refused"); });
  int masterScrolls = 0;
  dept->SetBeforeScroll([&masterScrolls](TDataSet*) { ++masterScrolls; });

  emp->Edit();
  emp->FieldByName("ENAME")->SetAsString("CLARKSON");
  const std::string error = ErrorOf([&] { dept->Next(); });

  EXPECT_EQ("refused", error);
  EXPECT_EQ(10, dept->FieldByName("DEPTNO")->AsInteger());
  EXPECT_EQ(0, masterScrolls) << "the master began to move before its detail was posted";
  EXPECT_EQ(dsEdit, emp->State());
  EXPECT_EQ("CLARKSON", emp->FieldByName("ENAME")->AsString());
}

TEST_P(MasterDetailTest, APendingEditTwoLevelsDownIsPostedBeforeTheTopMasterRefreshes) {
  auto dept = Dept();
  auto emp = EmpOf(dept.get());
  auto reports =
      NewDataSet("select rowid, empno, ename, mgr from emp where mgr = :mgr order by ename");
  reports->DeclareVariable("mgr", otInteger);
  reports->SetMasterFields("EMPNO");
  reports->SetDetailFields("MGR");
  reports->SetMaster(emp.get());
  dept->Open();
  emp->Open();
  reports->Open();  // MILLER, CLARK's report

  reports->Edit();
  reports->FieldByName("ENAME")->SetAsString("MILLS");
  dept->Refresh();

  EXPECT_EQ(std::vector<std::string>{"MILLS"},
            session_test::Rows(*session_, "select ename from emp where empno = 7934"));
  EXPECT_EQ(std::vector<std::string>{"MILLS"}, Column(*reports, "ENAME"));
}

TEST_P(MasterDetailTest, ADetailInsertIsPostedBeforeTheMasterMoves) {
  auto dept = Dept();
  auto emp = EmpOf(dept.get());
  dept->Open();
  emp->Open();

  emp->Insert();
  emp->FieldByName("EMPNO")->SetAsInteger(8000);
  emp->FieldByName("ENAME")->SetAsString("NEWMAN");
  dept->Next();
  dept->Prior();

  EXPECT_EQ((std::vector<std::string>{"CLARK", "KING", "MILLER", "NEWMAN"}), Column(*emp, "ENAME"));
}

// --- New detail records ---

TEST_P(MasterDetailTest, ANewDetailRecordStartsWithTheMastersValues) {
  auto dept = Dept();
  auto emp = EmpOf(dept.get());
  dept->Open();
  emp->Open();
  dept->Next();

  emp->Insert();

  EXPECT_EQ(20, emp->FieldByName("DEPTNO")->AsInteger());
  EXPECT_FALSE(emp->Modified()) << "the master's values are defaults, not changes";
}

TEST_P(MasterDetailTest, ANewDetailRecordNeedsANonNullMasterValue) {
  auto boss = NewDataSet("select rowid, empno, ename, mgr from emp where empno = 7839");
  auto manager = NewDataSet("select rowid, empno, ename from emp where empno = :empno");
  manager->DeclareVariable("empno", otInteger);
  manager->SetMasterFields("MGR");
  manager->SetDetailFields("EMPNO");
  manager->SetMaster(boss.get());
  boss->Open();
  manager->Open();
  EventCounter bossControls(*boss);

  const std::string error = ErrorOf([&] { manager->Insert(); });

  EXPECT_EQ("Field 'MGR' must have a value", error);
  EXPECT_EQ("MGR", bossControls.focused);
  EXPECT_EQ(dsBrowse, manager->State());
}

TEST_P(MasterDetailTest, ANewDetailRecordNeedsAMasterTextThatIsNotBlank) {
  auto tags = NewDataSet("select '  ' tag, 10 deptno from dual");
  auto emp = NewDataSet("select rowid, e.empno, e.ename from emp e where ename = :ename");
  emp->DeclareVariable("ename", otString);
  emp->SetMasterFields("TAG");
  emp->SetDetailFields("ENAME");
  emp->SetMaster(tags.get());
  tags->Open();
  emp->Open();

  EXPECT_EQ("Field 'TAG' must have a value", ErrorOf([&] { emp->Insert(); }));
}

TEST_P(MasterDetailTest, ADetailThatDoesNotShowItsLinkColumnStillInserts) {
  auto dept = Dept();
  auto emp = NewDataSet("select rowid, empno, ename from emp where deptno = :deptno");
  emp->DeclareVariable("deptno", otInteger);
  emp->SetMasterFields("DEPTNO");
  emp->SetDetailFields("DEPTNO");
  emp->SetMaster(dept.get());
  dept->Open();
  emp->Open();

  emp->Insert();

  EXPECT_EQ(dsInsert, emp->State());
  EXPECT_TRUE(emp->FieldByName("EMPNO")->IsNull());
}

TEST_P(MasterDetailTest, AnUndeclaredLinkVariableFailsTheOpenByName) {
  auto dept = Dept();
  auto emp = NewDataSet("select ename from emp where deptno = :deptno");
  emp->SetMasterFields("DEPTNO");
  emp->SetDetailFields("DEPTNO");
  emp->SetMaster(dept.get());
  dept->Open();

  const std::string error = ErrorOf([&] { emp->Open(); });

  EXPECT_NE(std::string::npos, error.find(":DEPTNO")) << error;
  EXPECT_FALSE(emp->Active());
}

// --- Records of the master's current record ---

class DetailProbe : public ProbeDataSet {
 public:
  using TOracleDataSet::BelongsToMaster;
};

TEST_P(MasterDetailTest, ARecordBelongsToTheMasterWhenEveryPairMatchesNullsOnlyWithNulls) {
  Run("insert into emp (empno, ename) values (9999, 'NOBODY')");
  auto keys = NewDataSet("select deptno from dept union all select null from dual order by 1");
  DetailProbe emp;
  emp.SetSession(session_.get());
  emp.SQL()->SetText("select empno, deptno from emp where nvl(:deptno, 0) >= 0 order by empno");
  emp.DeclareVariable("deptno", otInteger);
  emp.SetMasterFields("DEPTNO");
  emp.SetDetailFields("DEPTNO");
  emp.SetMaster(keys.get());
  keys->Open();
  emp.Open();
  auto belonging = [&emp] {
    std::vector<std::string> numbers;
    for (int i = 0; i < emp.Records()->VisibleCount(); ++i) {
      if (!emp.BelongsToMaster(emp.Records()->VisibleAt(i))) continue;
      numbers.push_back(std::to_string(i));
    }
    return numbers;
  };

  const std::vector<std::string> ofTen = belonging();   // CLARK, KING, MILLER
  keys->Last();                                         // the null key
  const std::vector<std::string> ofNull = belonging();  // NOBODY
  keys->First();
  emp.SetMaster(nullptr);
  emp.Open();
  const size_t withoutMaster = belonging().size();

  EXPECT_EQ((std::vector<std::string>{"6", "8", "13"}), ofTen);
  EXPECT_EQ(std::vector<std::string>{"14"}, ofNull);
  EXPECT_EQ(15u, withoutMaster);
  EXPECT_EQ(dsBrowse, emp.State());
  emp.Close();
}

// --- The master's link fields ---

TEST_P(MasterDetailTest, TheLinkFieldsAreReadOnlyExactlyWhileTheDetailHoldsRecords) {
  auto dept = Dept();
  auto emp = EmpOf(dept.get());
  dept->Open();
  TField* deptno = dept->FieldByName("DEPTNO");
  const bool beforeDetailOpens = deptno->ReadOnly();

  emp->Open();
  const bool withEmployees = deptno->ReadOnly();
  dept->Last();  // OPERATIONS has none
  const bool withoutEmployees = deptno->ReadOnly();
  emp->Insert();
  const bool whileInserting = deptno->ReadOnly();
  emp->Cancel();
  const bool afterCancel = deptno->ReadOnly();
  dept->First();
  const bool backWithEmployees = deptno->ReadOnly();
  emp->Close();

  EXPECT_FALSE(beforeDetailOpens);
  EXPECT_TRUE(withEmployees);
  EXPECT_FALSE(withoutEmployees);
  EXPECT_TRUE(whileInserting);
  EXPECT_FALSE(afterCancel);
  EXPECT_TRUE(backWithEmployees);
  EXPECT_FALSE(deptno->ReadOnly());
  EXPECT_FALSE(dept->FieldByName("DNAME")->ReadOnly());
}

TEST_P(MasterDetailTest, TheLinkFieldsBecomeWritableWhenTheMasterInsertsOrCloses) {
  auto dept = Dept();
  auto emp = EmpOf(dept.get());
  dept->Open();
  emp->Open();
  TField* deptno = dept->FieldByName("DEPTNO");
  ASSERT_TRUE(deptno->ReadOnly());

  dept->Insert();
  const bool whileInserting = deptno->ReadOnly();
  dept->Cancel();
  const bool afterCancel = deptno->ReadOnly();

  EXPECT_FALSE(whileInserting);
  EXPECT_TRUE(afterCancel);
}

TEST_P(MasterDetailTest, TheLinkFieldsBecomeWritableWhenTheDetailEmptiesAfterARequery) {
  auto dept = Dept();
  auto emp = EmpOf(dept.get());
  dept->Open();
  emp->Open();
  Run("update emp set deptno = 20 where deptno = 10");

  emp->Refresh();

  EXPECT_TRUE(emp->IsEmpty());
  EXPECT_FALSE(dept->FieldByName("DEPTNO")->ReadOnly());
}

TEST_P(MasterDetailTest, AFieldTheApplicationMadeReadOnlyStaysReadOnly) {
  auto dept = Dept();
  auto* deptno = new TIntegerField(dept.get());
  deptno->SetFieldName("DEPTNO");
  deptno->SetReadOnly(true);
  deptno->SetDataSet(dept.get());
  auto* loc = new TStringField(dept.get());
  loc->SetFieldName("LOC");
  loc->SetSize(13);
  loc->SetDataSet(dept.get());
  auto emp = EmpOf(dept.get());
  auto byLocation = NewDataSet("select ename from emp where deptno = 10 and :loc = 'NEW YORK'");
  byLocation->DeclareVariable("loc", otString);
  byLocation->SetMasterFields("LOC");
  byLocation->SetDetailFields("LOC");
  byLocation->SetMaster(dept.get());
  dept->Open();
  emp->Open();
  byLocation->Open();
  ASSERT_TRUE(loc->ReadOnly());

  dept->Last();  // no employees for either detail
  const bool deptnoWithout = deptno->ReadOnly();
  const bool locWithout = loc->ReadOnly();
  dept->Close();

  EXPECT_TRUE(deptnoWithout);
  EXPECT_FALSE(locWithout);
  EXPECT_TRUE(deptno->ReadOnly());
  EXPECT_FALSE(loc->ReadOnly());
}

// --- The datasets go ---

TEST_P(MasterDetailTest, ADestroyedMasterLeavesItsDetailsClosedAndWithoutMaster) {
  auto dept = Dept();
  auto emp = EmpOf(dept.get());
  dept->Open();
  emp->Open();

  dept.reset();

  EXPECT_EQ(nullptr, emp->Master());
  EXPECT_FALSE(emp->Active());
}

TEST_P(MasterDetailTest, ADestroyedDetailLeavesItsMasterWithWritableLinkFields) {
  auto dept = Dept();
  auto emp = EmpOf(dept.get());
  dept->Open();
  emp->Open();

  emp.reset();

  EXPECT_TRUE(dept->Details().empty());
  EXPECT_FALSE(dept->FieldByName("DEPTNO")->ReadOnly());
  dept->Next();
  EXPECT_EQ(20, dept->FieldByName("DEPTNO")->AsInteger());
}

}  // namespace
}  // namespace vorn::dataset_test
