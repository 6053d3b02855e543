// Query by example against the demo database: entering and leaving the
// mode, the example record and its fields, every condition form as the
// statement the server gets and the rows it gives back, the statement put
// back on close and before every rewrite, the count of hits, the per-field
// definitions, and the refusals.
#include <gtest/gtest.h>

#include "RecordList.h"
#include "RecordTestSupport.h"
#include "vorn/dataset/QBEDefinition.h"
#include "vorn/host/DateTime.h"
#include "vorn/host/Field.h"
#include "vorn/host/TextUtils.h"
#include "vorn/query/Variables.h"

namespace vorn::dataset_test {
namespace {

using Lines = std::vector<std::string>;

const char* const kEmpSql =
    "select empno, ename, job, hiredate, sal, deptno from emp order by empno";

class QueryByExampleTest : public RecordTest {
 protected:
  std::unique_ptr<ProbeDataSet> OpenEmp(const std::string& sql = kEmpSql) {
    auto emp = NewDataSet(sql);
    emp->Open();
    return emp;
  }
  // Enters QBE mode, types `values` into `fields` ("A;B"), runs the
  // example and gives back the statement the server got.
  std::string RunExample(TOracleDataSet& dataSet, const std::string& fields,
                         const std::vector<Variant>& values) {
    dataSet.SetQBEMode(true);
    dataSet.ClearFields();
    std::vector<TField*> list;
    dataSet.GetFieldList(list, fields);
    for (size_t i = 0; i < list.size(); ++i)
      list[i]->SetValue(values[i]);
    trace_->Clear();
    dataSet.ExecuteQBE();
    const Lines traced = Traced();
    const std::string sent = traced.empty() ? std::string() : traced.back();
    // The server gets the dataset's SQL as it stands, line by line.
    std::string lines;
    for (const std::string& line : SqlLines(dataSet))
      lines += (lines.empty() ? "" : "\n") + line;
    EXPECT_EQ(lines, sent);
    return sent;
  }
  // The SQL text of a dataset as its lines.
  static Lines SqlLines(TOracleDataSet& dataSet) {
    Lines lines;
    for (int i = 0; i < dataSet.SQL()->Count(); ++i)
      lines.push_back(dataSet.SQL()->Strings(i));
    return lines;
  }
  // ITEMS with names whose case and single letters matter.
  void MakeNamedItems() {
    MakeItems();
    Run("insert into items values (4, 'O''Neil', 40, 1, to_date('2001-02-03 14:30', "
        "'YYYY-MM-DD HH24:MI'))");
    Run("insert into items values (5, 'X', 50, 2, null)");
    Run("insert into items values (6, 'NU', 60, 3, null)");
    Run("insert into items values (7, 'Bolt', 70, 4, null)");
    Run("insert into items values (8, '1a', 80, 5, null)");
    session_->Commit();
  }
  std::unique_ptr<ProbeDataSet> OpenNamedItems() { return OpenItems("id, name, qty, made"); }
};

VORN_IN_BOTH_CALL_SETS(QueryByExampleTest);

// --- Entering and leaving ---

TEST_P(QueryByExampleTest, EnteringShowsOneEmptyExampleRecordAndFiresBeforeQBE) {
  auto emp = OpenEmp();
  emp->FieldByName("ENAME")->SetRequired(true);
  int before = 0;
  emp->SetBeforeQBE([&](TOracleDataSet* sender) {
    ++before;
    EXPECT_EQ(dsInsert, sender->State());
  });
  trace_->Clear();

  emp->SetQBEMode(true);

  EXPECT_TRUE(emp->QBEMode());
  EXPECT_EQ(1, before);
  EXPECT_EQ(dsInsert, emp->State());
  EXPECT_EQ(0, emp->Records()->Count());
  EXPECT_TRUE(emp->FieldByName("ENAME")->IsNull());
  EXPECT_FALSE(emp->FieldByName("ENAME")->Required());
  EXPECT_TRUE(emp->CanModify());
  EXPECT_TRUE(Traced().empty()) << "entering runs no statement";
}

TEST_P(QueryByExampleTest, TheFrameworksInsertEventsAndNewRecordAreNotFiredForTheExample) {
  auto emp = OpenEmp();
  int events = 0;
  emp->SetBeforeInsert([&](TDataSet*) { ++events; });
  emp->SetAfterInsert([&](TDataSet*) { ++events; });
  emp->SetOnNewRecord([&](TDataSet*) { ++events; });
  emp->SetBeforeCancel([&](TDataSet*) { ++events; });
  emp->SetAfterCancel([&](TDataSet*) { ++events; });

  emp->SetQBEMode(true);
  emp->SetQBEMode(false);

  EXPECT_EQ(0, events);
}

TEST_P(QueryByExampleTest, SettingTheModeWhileClosedOnlyStoresItAndOpeningRunsNoQuery) {
  auto emp = NewDataSet(kEmpSql);
  int queries = 0;
  emp->SetAfterQuery([&](TOracleDataSet*) { ++queries; });

  emp->SetQBEMode(true);
  EXPECT_FALSE(emp->Active());
  emp->Open();

  EXPECT_EQ(0, queries);
  EXPECT_TRUE(emp->QBEMode());
  EXPECT_EQ(dsInsert, emp->State());
  emp->FieldByName("JOB")->SetAsString("PRESIDENT");
  emp->ExecuteQBE();
  EXPECT_EQ(1, queries);
  EXPECT_EQ((Lines{"KING"}), Column(*emp, "ENAME"));
}

TEST_P(QueryByExampleTest, LeavingFiresOnCancelQBEAndRunsTheQueryAgain) {
  auto emp = OpenEmp();
  emp->MoveBy(3);
  bool offered = false;
  emp->SetOnCancelQBE([&](TOracleDataSet*, bool& requery) { offered = requery; });
  emp->SetQBEMode(true);
  emp->FieldByName("ENAME")->SetAsString("KING");

  emp->SetQBEMode(false);

  EXPECT_TRUE(offered);
  EXPECT_FALSE(emp->QBEMode());
  EXPECT_EQ(dsBrowse, emp->State());
  EXPECT_EQ(14, emp->RecordCount());
  EXPECT_EQ("SMITH", emp->FieldByName("ENAME")->AsString());
}

TEST_P(QueryByExampleTest, AHandlerThatClearsRequeryLeavesTheDataSetEmpty) {
  auto emp = OpenEmp();
  emp->SetOnCancelQBE([](TOracleDataSet*, bool& requery) { requery = false; });
  emp->SetQBEMode(true);
  trace_->Clear();

  emp->SetQBEMode(false);

  EXPECT_TRUE(Traced().empty());
  EXPECT_TRUE(emp->IsEmpty());
  EXPECT_EQ(dsBrowse, emp->State());
  emp->Refresh();
  EXPECT_EQ(14, emp->RecordCount());
}

TEST_P(QueryByExampleTest, LeavingGivesTheFieldsBackTheirReadOnlyAndRequired) {
  auto emp = NewDataSet(kEmpSql);
  emp->QBEDefinition()->FieldDefs()->Add()->SetFieldName("job");
  emp->QBEDefinition()->FieldDefs()->Items(0)->SetEnabled(false);
  emp->Open();
  emp->FieldByName("SAL")->SetReadOnly(true);
  emp->FieldByName("DEPTNO")->SetRequired(true);

  emp->SetQBEMode(true);
  EXPECT_TRUE(emp->FieldByName("JOB")->ReadOnly()) << "a field that is not Enabled";
  EXPECT_FALSE(emp->FieldByName("SAL")->ReadOnly()) << "an enabled field takes a value";
  EXPECT_FALSE(emp->FieldByName("DEPTNO")->Required());
  emp->SetQBEMode(false);

  EXPECT_FALSE(emp->FieldByName("JOB")->ReadOnly());
  EXPECT_TRUE(emp->FieldByName("SAL")->ReadOnly());
  EXPECT_TRUE(emp->FieldByName("DEPTNO")->Required());
}

TEST_P(QueryByExampleTest, ABlobFieldTakesNoExampleUnlessItsDefinitionEnablesIt) {
  Run("create table notes_t (id number(4), notes long)");
  Run("insert into notes_t values (1, 'first')");
  auto notes = NewDataSet("select id, notes from notes_t");
  notes->Open();

  notes->SetQBEMode(true);
  EXPECT_TRUE(notes->FieldByName("NOTES")->ReadOnly());
  EXPECT_FALSE(notes->FieldByName("ID")->ReadOnly());
  notes->SetQBEMode(false);
  notes->Close();
  notes->QBEDefinition()->FieldDefs()->Add()->SetFieldName("NOTES");
  notes->Open();
  notes->SetQBEMode(true);

  EXPECT_FALSE(notes->FieldByName("NOTES")->ReadOnly());
  notes->FieldByName("NOTES")->SetAsString("first");
  notes->ExecuteQBE();
  EXPECT_EQ("select id, notes from notes_t", Trim(notes->SQL()->Text()))
      << "a blob value makes no condition";
  EXPECT_EQ(1, notes->RecordCount());
}

TEST_P(QueryByExampleTest, InQBEModePostRefreshAndASecondRecordAreRefused) {
  auto emp = OpenEmp();
  emp->SetQBEMode(true);
  emp->FieldByName("ENAME")->SetAsString("KING");
  const std::string refused = "Operation not allowed in QBE mode";

  EXPECT_EQ(refused, ErrorOf([&] { emp->Post(); }));
  EXPECT_EQ(refused, ErrorOf([&] { emp->Refresh(); }));
  EXPECT_EQ(dsInsert, emp->State());
  EXPECT_TRUE(emp->QBEMode());
  EXPECT_EQ("KING", emp->FieldByName("ENAME")->AsString());
}

TEST_P(QueryByExampleTest, ExecuteQBEOutsideTheModeIsRefused) {
  auto emp = OpenEmp();

  EXPECT_EQ("Operation only allowed in QBE mode", ErrorOf([&] { emp->ExecuteQBE(); }));
  emp->Close();
  EXPECT_EQ("Operation only allowed in QBE mode", ErrorOf([&] { emp->ExecuteQBE(); }));
}

TEST_P(QueryByExampleTest, ExecuteQBELeavesTheModeWithoutTheCancelEventAndFiresAfterQBE) {
  auto emp = OpenEmp();
  std::vector<std::string> events;
  emp->SetOnCancelQBE([&](TOracleDataSet*, bool&) { events.push_back("cancel"); });
  emp->SetAfterQuery([&](TOracleDataSet*) { events.push_back("query"); });
  emp->SetAfterQBE([&](TOracleDataSet* sender) {
    events.push_back("after " + std::to_string(sender->RecordCount()));
  });
  emp->SetQBEMode(true);
  emp->FieldByName("JOB")->SetAsString("ANALYST");

  emp->ExecuteQBE();

  EXPECT_EQ((Lines{"query", "after 2"}), events);
  EXPECT_FALSE(emp->QBEMode());
  EXPECT_EQ((Lines{"SCOTT", "FORD"}), Column(*emp, "ENAME"));
}

TEST_P(QueryByExampleTest, CancellingTheExampleKeepsTheTransaction) {
  MakeItems();
  auto emp = OpenEmp();
  emp->SetLockingMode(lmLockImmediate);
  Run("update items set qty = 99 where id = 1");

  emp->SetQBEMode(true);
  emp->SetQBEMode(false);

  EXPECT_EQ((Lines{"99"}), session_test::Rows(*session_, "select qty from items where id = 1"));
  session_->Rollback();
}

// --- The entry checks ---

TEST_P(QueryByExampleTest, ACursorDataSetRefusesTheMode) {
  auto emp = NewDataSet("begin open :c for select ename from emp; end;");
  emp->DeclareVariable("c", otCursor);
  emp->Open();

  EXPECT_EQ("QBE mode not supported for cursors", ErrorOf([&] { emp->SetQBEMode(true); }));

  EXPECT_FALSE(emp->QBEMode());
  EXPECT_EQ(14, emp->RecordCount());
}

TEST_P(QueryByExampleTest, OpeningACursorDataSetInQBEModeFailsAndLeavesItClosed) {
  auto emp = NewDataSet("begin open :c for select ename from emp; end;");
  emp->DeclareVariable("c", otCursor);
  emp->SetQBEMode(true);

  EXPECT_EQ("QBE mode not supported for cursors", ErrorOf([&] { emp->Open(); }));

  EXPECT_FALSE(emp->Active());
}

TEST_P(QueryByExampleTest, EditingOrInsertingRefusesTheModeAndKeepsTheEdit) {
  MakeItems();
  auto items = OpenItems();
  items->Edit();
  items->FieldByName("NAME")->SetAsString("pin");

  EXPECT_EQ("QBE mode not allowed with pending updates", ErrorOf([&] { items->SetQBEMode(true); }));

  EXPECT_FALSE(items->QBEMode());
  EXPECT_EQ(dsEdit, items->State());
  EXPECT_EQ("pin", items->FieldByName("NAME")->AsString());
  items->Cancel();
  items->Insert();
  EXPECT_EQ("QBE mode not allowed with pending updates", ErrorOf([&] { items->SetQBEMode(true); }));
  items->Cancel();
}

TEST_P(QueryByExampleTest, PendingCachedUpdatesRefuseTheModeUntilApplied) {
  MakeItems();
  auto items = NewDataSet("select rowid, i.id, i.name from items i order by id");
  items->SetCachedUpdates(true);
  items->Open();
  items->Edit();
  items->FieldByName("NAME")->SetAsString("pin");
  items->Post();
  ASSERT_TRUE(items->UpdatesPending());

  EXPECT_EQ("QBE mode not allowed with pending updates", ErrorOf([&] { items->SetQBEMode(true); }));
  EXPECT_FALSE(items->QBEMode());
  EXPECT_TRUE(items->UpdatesPending());
  EXPECT_EQ("pin", items->FieldByName("NAME")->AsString());

  items->ApplyUpdates();
  EXPECT_FALSE(items->UpdatesPending());
  items->SetQBEMode(true);
  EXPECT_TRUE(items->QBEMode());
  items->SetQBEMode(false);
}

// --- Condition forms: the statement the server gets, and its rows ---

TEST_P(QueryByExampleTest, ATextValueIsALiteralCompareOfTheColumn) {
  auto emp = OpenEmp();

  const std::string sent = RunExample(*emp, "ENAME", {Variant("SMITH")});

  EXPECT_EQ(
      "select empno, ename, job, hiredate, sal, deptno from emp\nwhere ENAME = 'SMITH'\norder by "
      "empno\n/* Modified for QBE */",
      sent);
  EXPECT_EQ((Lines{"select empno, ename, job, hiredate, sal, deptno from emp",
                   "where ENAME = 'SMITH'", "order by empno", "/* Modified for QBE */"}),
            SqlLines(*emp));
  EXPECT_EQ((Lines{"7369"}), Column(*emp, "EMPNO"));
}

TEST_P(QueryByExampleTest, PartialMatchAppendsAPercentSign) {
  auto emp = OpenEmp();
  emp->QBEDefinition()->FieldDefs()->Add()->SetFieldName("ENAME");
  emp->QBEDefinition()->FieldDefs()->Items(0)->SetPartialMatch(true);
  emp->Close();
  emp->Open();

  const std::string sent = RunExample(*emp, "ENAME", {Variant("SM")});

  EXPECT_NE(std::string::npos, sent.find("\nwhere ENAME like 'SM%'\n")) << sent;
  EXPECT_EQ((Lines{"SMITH"}), Column(*emp, "ENAME"));
  RunExample(*emp, "ENAME", {Variant("S%")});
  EXPECT_EQ("where ENAME like 'S%'", SqlLines(*emp).at(1)) << "no second percent sign";
}

TEST_P(QueryByExampleTest, FileWildCardsBecomeTheServersWildcards) {
  auto emp = OpenEmp();

  RunExample(*emp, "ENAME", {Variant("S*H")});
  EXPECT_EQ("where ENAME like 'S%H'", SqlLines(*emp).at(1));
  EXPECT_EQ((Lines{"SMITH"}), Column(*emp, "ENAME"));

  RunExample(*emp, "ENAME", {Variant("?ING")});
  EXPECT_EQ("where ENAME like '_ING'", SqlLines(*emp).at(1));
  EXPECT_EQ((Lines{"KING"}), Column(*emp, "ENAME"));

  emp->QBEDefinition()->SetAllowFileWildCards(false);
  RunExample(*emp, "ENAME", {Variant("S*H")});
  EXPECT_EQ("where ENAME = 'S*H'", SqlLines(*emp).at(1));
  EXPECT_TRUE(emp->IsEmpty());
}

TEST_P(QueryByExampleTest, AQuoteInTheValueIsDoubledInTheLiteral) {
  MakeNamedItems();
  auto items = OpenNamedItems();

  RunExample(*items, "NAME", {Variant("O'Neil")});

  EXPECT_EQ("where NAME = 'O''Neil'", SqlLines(*items).at(1));
  EXPECT_EQ((Lines{"4"}), Column(*items, "ID"));
}

TEST_P(QueryByExampleTest, CaseInsensitiveTextOffersThePrefixFormsAndComparesUpperCase) {
  MakeNamedItems();
  auto items = OpenNamedItems();
  items->QBEDefinition()->FieldDefs()->Add()->SetFieldName("Name");
  items->QBEDefinition()->FieldDefs()->Items(0)->SetCaseInsensitive(true);
  items->Close();
  items->Open();

  RunExample(*items, "NAME", {Variant("bolt")});

  EXPECT_EQ(
      "where (NAME like 'bo%' or NAME like 'Bo%' or NAME like 'bO%' or NAME like 'BO%') and "
      "upper(NAME) = upper('bolt')",
      SqlLines(*items).at(1));
  EXPECT_EQ((Lines{"1", "7"}), Column(*items, "ID"));
}

TEST_P(QueryByExampleTest, CaseInsensitiveShortValuesHaveTheirOwnForms) {
  MakeNamedItems();
  auto items = OpenNamedItems();
  items->QBEDefinition()->FieldDefs()->Add()->SetFieldName("NAME");
  items->QBEDefinition()->FieldDefs()->Items(0)->SetCaseInsensitive(true);
  items->Close();
  items->Open();

  RunExample(*items, "NAME", {Variant("x")});
  EXPECT_EQ("where NAME in ('X', 'x')", SqlLines(*items).at(1));
  EXPECT_EQ((Lines{"5"}), Column(*items, "ID"));

  RunExample(*items, "NAME", {Variant("nu")});
  EXPECT_EQ("where (NAME = 'nu' or NAME = 'Nu' or NAME = 'nU' or NAME = 'NU')",
            SqlLines(*items).at(1));
  EXPECT_EQ((Lines{"6"}), Column(*items, "ID"));

  RunExample(*items, "NAME", {Variant("1A")});
  EXPECT_EQ("where (NAME = '1a' or NAME = '1A')", SqlLines(*items).at(1));
  EXPECT_EQ((Lines{"8"}), Column(*items, "ID"));

  RunExample(*items, "NAME", {Variant("*")});
  EXPECT_EQ("where NAME like '%'", SqlLines(*items).at(1));
  EXPECT_EQ(8, items->RecordCount());
}

TEST_P(QueryByExampleTest, ANumberGoesInABindVariableOfTheColumnsType) {
  auto emp = OpenEmp();

  const std::string sent = RunExample(*emp, "EMPNO", {Variant(7788)});

  EXPECT_EQ("where EMPNO = :zuq__qbe1", SqlLines(*emp).at(1));
  EXPECT_NE(std::string::npos, sent.find("where EMPNO = :zuq__qbe1")) << sent;
  EXPECT_EQ(otInteger, emp->Variables()->Find("zuq__qbe1")->TypeCode());
  EXPECT_EQ((Lines{"SCOTT"}), Column(*emp, "ENAME"));
  RunExample(*emp, "SAL", {Variant(1250.0)});
  EXPECT_EQ("where SAL = :zuq__qbe5", SqlLines(*emp).at(1));
  EXPECT_EQ(otFloat, emp->Variables()->Find("zuq__qbe5")->TypeCode());
  EXPECT_EQ(nullptr, emp->Variables()->Find("zuq__qbe1")) << "the last example's variable went";
  EXPECT_EQ((Lines{"WARD", "MARTIN"}), Column(*emp, "ENAME"));
}

TEST_P(QueryByExampleTest, ADateIsComparedExactlyUnlessWholeDayAsksForTheDay) {
  MakeNamedItems();
  auto items = OpenNamedItems();
  const Variant day = Variant::FromDateTime(EncodeDate(2001, 2, 3));

  RunExample(*items, "MADE", {day});
  EXPECT_EQ("where MADE = :zuq__qbe4", SqlLines(*items).at(1));
  EXPECT_EQ((Lines{"1"}), Column(*items, "ID"));
}

TEST_P(QueryByExampleTest, WholeDayMatchesADateWithoutTimeOfDayFromMidnightToMidnight) {
  // The embedded server types the variable of ":v + 1" before the version
  // 7 calls bind it, as text: the condition fails there (ORA-00932).
  if (GetParam() == CallSet::OCI7) GTEST_SKIP() << "date arithmetic on a variable in OCI7";
  MakeNamedItems();
  auto items = NewDataSet("select id, name, qty, made from items i order by id");
  const Variant day = Variant::FromDateTime(EncodeDate(2001, 2, 3));
  items->QBEDefinition()->FieldDefs()->Add()->SetFieldName("MADE");
  items->QBEDefinition()->FieldDefs()->Items(0)->SetWholeDay(true);
  items->Open();

  RunExample(*items, "MADE", {day});
  EXPECT_EQ("where MADE >= :zuq__qbe4 and MADE < :zuq__qbe4 + 1", SqlLines(*items).at(1));
  EXPECT_EQ(otDate, items->Variables()->Find("zuq__qbe4")->TypeCode());
  EXPECT_EQ((Lines{"1", "4"}), Column(*items, "ID"));

  RunExample(*items, "MADE", {Variant::FromDateTime(EncodeDate(2001, 2, 3) + 14.5 / 24)});
  EXPECT_EQ("where MADE = :zuq__qbe4", SqlLines(*items).at(1)) << "a time of day is exact";
  EXPECT_EQ((Lines{"4"}), Column(*items, "ID"));
}

TEST_P(QueryByExampleTest, SeveralValuesAreJoinedInFieldOrder) {
  auto emp = OpenEmp();

  RunExample(*emp, "DEPTNO;JOB", {Variant(20), Variant("CLERK")});

  EXPECT_EQ(
      (Lines{"select empno, ename, job, hiredate, sal, deptno from emp", "where JOB = 'CLERK'",
             "and DEPTNO = :zuq__qbe6", "order by empno", "/* Modified for QBE */"}),
      SqlLines(*emp));
  EXPECT_EQ((Lines{"SMITH", "ADAMS"}), Column(*emp, "ENAME"));
}

TEST_P(QueryByExampleTest, AStatementWithAConditionKeepsItBesideTheExamples) {
  auto emp = OpenEmp(
      "select empno, ename, job from emp /* staff */ where deptno = 20 or deptno = 10 order by "
      "empno");

  RunExample(*emp, "JOB", {Variant("CLERK")});

  EXPECT_EQ((Lines{"select empno, ename, job from emp", "where (deptno = 20 or deptno = 10)", "and",
                   "(JOB = 'CLERK')", "order by empno", "/* Modified for QBE */"}),
            SqlLines(*emp));
  EXPECT_EQ((Lines{"SMITH", "ADAMS", "MILLER"}), Column(*emp, "ENAME"));
}

TEST_P(QueryByExampleTest, AGroupingStatementGetsTheExamplesInItsHavingClause) {
  auto groups = OpenEmp(
      "select deptno, count(*) n from emp where sal > 1000 group by deptno having count(*) > 3 "
      "order by deptno");

  RunExample(*groups, "DEPTNO", {Variant(30)});

  EXPECT_EQ((Lines{"select deptno, count(*) n from emp where sal > 1000 group by deptno",
                   "having (count(*) > 3)", "and", "(DEPTNO = :zuq__qbe1)", "order by deptno",
                   "/* Modified for QBE */"}),
            SqlLines(*groups));
  EXPECT_EQ((Lines{"30|5"}), Rows(*groups));
}

TEST_P(QueryByExampleTest, TheFieldsOriginNamesTheColumn) {
  auto emp = OpenEmp("select e.ename, d.dname from emp e, dept d where d.deptno = e.deptno");
  emp->FieldByName("DNAME")->SetOrigin("d.dname  ");

  RunExample(*emp, "DNAME", {Variant("SALES")});

  EXPECT_EQ("(d.dname = 'SALES')", SqlLines(*emp).at(3));
  EXPECT_EQ(6u, Column(*emp, "ENAME").size());
}

TEST_P(QueryByExampleTest, AnEmptyExampleLeavesTheStatementAsItIs) {
  auto emp = OpenEmp();
  const std::string sql = emp->SQL()->Text();

  RunExample(*emp, "ENAME", {Null()});

  EXPECT_EQ(sql, emp->SQL()->Text());
  EXPECT_EQ(14, emp->RecordCount());
}

// --- The statement put back ---

TEST_P(QueryByExampleTest, ClosingPutsTheStatementAndItsVariablesBack) {
  auto emp =
      NewDataSet("select empno, ename from emp where empno > :low\n-- everyone\norder by empno");
  emp->DeclareVariable("low", otInteger);
  emp->SetVariable("low", 7000);
  emp->Open();
  const std::string sql = emp->SQL()->Text();
  RunExample(*emp, "EMPNO;ENAME", {Variant(7839), Variant("KING")});
  ASSERT_NE(sql, emp->SQL()->Text());
  ASSERT_EQ(sql, emp->SQLBeforeQBE());

  emp->Close();

  EXPECT_EQ(sql, emp->SQL()->Text());
  EXPECT_EQ(1, emp->Variables()->Count());
  EXPECT_EQ(7000, emp->GetVariable("low").AsInteger());
  emp->Open();
  EXPECT_EQ(14, emp->RecordCount());
}

TEST_P(QueryByExampleTest, EveryExampleIsBuiltOnTheStatementAsTheApplicationGaveIt) {
  auto emp = OpenEmp();

  RunExample(*emp, "JOB", {Variant("CLERK")});
  RunExample(*emp, "JOB", {Variant("MANAGER")});

  EXPECT_EQ((Lines{"select empno, ename, job, hiredate, sal, deptno from emp",
                   "where JOB = 'MANAGER'", "order by empno", "/* Modified for QBE */"}),
            SqlLines(*emp));
  EXPECT_EQ((Lines{"JONES", "BLAKE", "CLARK"}), Column(*emp, "ENAME"));
}

TEST_P(QueryByExampleTest, ARefreshAfterTheExampleRunsItsConditionsAgain) {
  auto emp = OpenEmp();
  RunExample(*emp, "JOB", {Variant("ANALYST")});

  emp->Refresh();

  EXPECT_EQ((Lines{"SCOTT", "FORD"}), Column(*emp, "ENAME"));
}

TEST_P(QueryByExampleTest, AnEditAfterTheExampleFindsItsRowByTheApplicationsStatement) {
  MakeItems();
  auto items = OpenItems();
  items->SetRefreshOptions(roBeforeEdit | roAllFields);
  RunExample(*items, "NAME", {Variant("nut")});

  items->Edit();
  items->FieldByName("QTY")->SetAsInteger(21);
  items->Post();

  EXPECT_EQ((Lines{"nut|21"}), Committed("select name, qty from items where id = 2"));
}

TEST_P(QueryByExampleTest, AssigningTheStatementAfterAnExampleReplacesBoth) {
  auto emp = OpenEmp();
  RunExample(*emp, "JOB", {Variant("CLERK")});

  emp->SQL()->SetText("select ename from emp where deptno = 10 order by ename");

  EXPECT_EQ((Lines{"CLARK", "KING", "MILLER"}), Column(*emp, "ENAME"));
  EXPECT_EQ(0, emp->Variables()->Count());
}

// --- The values put back ---

TEST_P(QueryByExampleTest, TheLastExamplesValuesComeBackWhenTheModeIsEnteredAgain) {
  auto emp = OpenEmp();
  RunExample(*emp, "JOB;DEPTNO", {Variant("CLERK"), Variant(30)});

  emp->SetQBEMode(true);

  EXPECT_EQ("CLERK", emp->FieldByName("JOB")->AsString());
  EXPECT_EQ(30, emp->FieldByName("DEPTNO")->AsInteger());
  EXPECT_TRUE(emp->FieldByName("ENAME")->IsNull());
  emp->ExecuteQBE();
  EXPECT_EQ((Lines{"JAMES"}), Column(*emp, "ENAME"));
}

TEST_P(QueryByExampleTest, WithoutSaveQBEValuesTheExampleStartsEmpty) {
  auto emp = OpenEmp();
  emp->QBEDefinition()->SetSaveQBEValues(false);
  RunExample(*emp, "JOB", {Variant("CLERK")});

  emp->SetQBEMode(true);

  EXPECT_TRUE(emp->FieldByName("JOB")->IsNull());
}

// --- The count of hits ---

TEST_P(QueryByExampleTest, TheCountOfHitsInQBEModeCountsTheExampleAsTyped) {
  auto emp = OpenEmp();
  emp->SetCountAllRecords(true);
  emp->SetQBEMode(true);
  emp->FieldByName("ENAME")->SetAsString("S*");
  trace_->Clear();

  EXPECT_EQ(2, emp->RecordCount());

  EXPECT_EQ((Lines{"select count(*) from (\nselect empno, ename, job, hiredate, sal, deptno from "
                   "emp\nwhere ENAME like 'S%')"}),
            Traced());
  EXPECT_TRUE(emp->QBEMode());
  emp->FieldByName("JOB")->SetAsString("CLERK");
  EXPECT_EQ(1, emp->RecordCount()) << "a changed example is counted again";
  emp->ExecuteQBE();
  EXPECT_EQ(1, emp->RecordCount());
  EXPECT_EQ((Lines{"SMITH"}), Column(*emp, "ENAME"));
}

// --- Master and detail ---

TEST_P(QueryByExampleTest, ADetailRunsItsExampleForTheMastersCurrentRecord) {
  auto dept = NewDataSet("select deptno, dname from dept order by deptno");
  auto emp = NewDataSet("select ename, job, deptno from emp where deptno = :deptno order by empno");
  emp->DeclareVariable("deptno", otInteger);
  emp->SetMasterFields("DEPTNO");
  emp->SetDetailFields("DEPTNO");
  emp->SetMaster(dept.get());
  dept->Open();
  emp->Open();
  dept->MoveBy(1);

  RunExample(*emp, "JOB", {Variant("CLERK")});

  EXPECT_EQ((Lines{"select ename, job, deptno from emp", "where (deptno = :deptno)", "and",
                   "(JOB = 'CLERK')", "order by empno", "/* Modified for QBE */"}),
            SqlLines(*emp));
  EXPECT_EQ((Lines{"SMITH", "ADAMS"}), Column(*emp, "ENAME"));
  dept->Next();
  EXPECT_EQ((Lines{"JAMES"}), Column(*emp, "ENAME")) << "the example follows the master";
}

TEST_P(QueryByExampleTest, ADetailInQBEModeKeepsItsExampleWhileTheMasterMoves) {
  auto dept = NewDataSet("select deptno, dname from dept order by deptno");
  auto emp = NewDataSet("select ename, job, deptno from emp where deptno = :deptno order by empno");
  emp->DeclareVariable("deptno", otInteger);
  emp->SetMasterFields("DEPTNO");
  emp->SetDetailFields("DEPTNO");
  emp->SetMaster(dept.get());
  dept->Open();
  emp->Open();
  emp->SetQBEMode(true);
  emp->FieldByName("JOB")->SetAsString("MANAGER");

  dept->Next();

  EXPECT_TRUE(emp->QBEMode());
  EXPECT_EQ(dsInsert, emp->State());
  EXPECT_EQ("MANAGER", emp->FieldByName("JOB")->AsString());
  emp->ExecuteQBE();
  EXPECT_EQ((Lines{"JONES"}), Column(*emp, "ENAME"));
}

}  // namespace
}  // namespace vorn::dataset_test
