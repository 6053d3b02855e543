// Searching the records of a dataset over the demo database: SearchRecord
// with its starting points, directions and comparisons, the invalid option
// combinations, Locate and Lookup, calculated fields, rowids, searches that
// fetch on past the rows fetched so far, and what a search leaves behind.
#include <gtest/gtest.h>

#include "DataSetTestSupport.h"
#include "RecordList.h"
#include "vorn/host/DateTime.h"
#include "vorn/host/Field.h"
#include "vorn/host/StringField.h"
#include "vorn/host/TextUtils.h"

namespace vorn::dataset_test {
namespace {

class RecordSearchTest : public DataSetTest {
 protected:
  // EMP by EMPNO: SMITH, ALLEN, WARD, JONES, MARTIN, BLAKE, CLARK, SCOTT,
  // KING, TURNER, ADAMS, JAMES, FORD, MILLER.
  std::unique_ptr<ProbeDataSet> OpenEmp(
      const std::string& columns = "rowid, empno, ename, job, hiredate, sal, comm, deptno") {
    auto emp = NewDataSet("select " + columns + " from emp order by empno");
    emp->SetName("EmpData");
    emp->Open();
    return emp;
  }
  static std::string Current(TDataSet& dataSet) { return dataSet.FieldByName("ENAME")->AsString(); }
};

VORN_IN_BOTH_CALL_SETS(RecordSearchTest);

// --- Locate ---

TEST_P(RecordSearchTest, LocateWithThePartialKeyOptionFindsTheFirstNameBeginningSo) {
  auto emp = OpenEmp();

  EXPECT_TRUE(emp->Locate("ENAME", Variant("SM"), loPartialKey));

  EXPECT_EQ("SMITH", Current(*emp));
  EXPECT_FALSE(emp->Locate("ENAME", Variant("SM"), loNone)) << "a whole name was expected";
  EXPECT_EQ("SMITH", Current(*emp));
}

TEST_P(RecordSearchTest, APartialKeyOnANumericFieldComparesTheFieldsText) {
  auto emp = OpenEmp();

  EXPECT_TRUE(emp->Locate("EMPNO", Variant("78"), loPartialKey));

  // 7782 begins with 77: the first text to begin with 78 is KING's.
  EXPECT_EQ("KING", Current(*emp));
  EXPECT_EQ(7839, emp->FieldByName("EMPNO")->AsInteger());
}

TEST_P(RecordSearchTest, LocateIgnoringCaseFindsTheNameInAnyCase) {
  auto emp = OpenEmp();

  EXPECT_FALSE(emp->Locate("ENAME", Variant("king"), loNone));
  EXPECT_TRUE(emp->Locate("ENAME", Variant("king"), loCaseInsensitive));

  EXPECT_EQ("KING", Current(*emp));
  EXPECT_TRUE(emp->Locate("ENAME", Variant("mi"), loCaseInsensitive | loPartialKey));
  EXPECT_EQ("MILLER", Current(*emp));
}

TEST_P(RecordSearchTest, LocateThatFindsNothingLeavesTheCurrentRecord) {
  auto emp = OpenEmp();
  emp->MoveBy(3);

  EXPECT_FALSE(emp->Locate("ENAME", Variant("NOBODY"), loNone));

  EXPECT_EQ("JONES", Current(*emp));
  EXPECT_EQ(dsBrowse, emp->State());
}

TEST_P(RecordSearchTest, LocateStartsFromTheFirstRecordWhereverTheCurrentOneIs) {
  auto emp = OpenEmp();
  emp->Last();

  EXPECT_TRUE(emp->Locate("JOB", Variant("CLERK"), loNone));

  EXPECT_EQ("SMITH", Current(*emp));
}

TEST_P(RecordSearchTest, LocateFiresTheScrollEventsOfAMove) {
  auto emp = OpenEmp();
  std::vector<std::string> events;
  emp->SetBeforeScroll([&](TDataSet* d) { events.push_back("before " + Current(*d)); });
  emp->SetAfterScroll([&](TDataSet* d) { events.push_back("after " + Current(*d)); });

  emp->Locate("ENAME", Variant("KING"), loNone);

  EXPECT_EQ((std::vector<std::string>{"before SMITH", "after KING"}), events);
}

// --- Values and comparisons ---

TEST_P(RecordSearchTest, IntegerFloatAndTextValuesAreConvertedToTheFieldsType) {
  auto emp = OpenEmp();

  EXPECT_TRUE(emp->Locate("EMPNO", Variant("7839"), loNone));
  EXPECT_EQ("KING", Current(*emp));
  EXPECT_TRUE(emp->Locate("SAL", Variant(1250), loNone));
  EXPECT_EQ("WARD", Current(*emp));
  EXPECT_TRUE(emp->Locate("SAL", Variant(2975.0), loNone));
  EXPECT_EQ("JONES", Current(*emp));
  EXPECT_TRUE(emp->Locate("DEPTNO", Variant(10.0), loNone));
  EXPECT_EQ("CLARK", Current(*emp));
}

TEST_P(RecordSearchTest, SeveralFieldsMustAllMatch) {
  auto emp = OpenEmp();

  EXPECT_TRUE(emp->Locate("JOB; DEPTNO", VarArrayOf({Variant("CLERK"), Variant(30)}), loNone));

  EXPECT_EQ("JAMES", Current(*emp));
  EXPECT_FALSE(emp->Locate("JOB;DEPTNO", VarArrayOf({Variant("PRESIDENT"), Variant(20)}), loNone));
  EXPECT_EQ("JAMES", Current(*emp));
}

TEST_P(RecordSearchTest, ANullValueFindsANullField) {
  auto emp = OpenEmp();
  emp->MoveBy(2);

  EXPECT_TRUE(emp->SearchRecord("COMM", Null(), srFromBeginning));
  EXPECT_EQ("SMITH", Current(*emp));
  EXPECT_TRUE(emp->SearchRecord("COMM", Unassigned(), srFromCurrent));
  EXPECT_EQ("JONES", Current(*emp));
}

TEST_P(RecordSearchTest, AValueOfBlanksLooksForNullText) {
  auto emp = OpenEmp("empno, ename, decode(deptno, 10, null, job) job");

  EXPECT_TRUE(emp->Locate("JOB", Variant("   "), loNone));

  EXPECT_EQ("CLARK", Current(*emp));
  EXPECT_TRUE(emp->SearchRecord("JOB", Variant(" "), srFromCurrent));
  EXPECT_EQ("KING", Current(*emp));
}

TEST_P(RecordSearchTest, TrailingBlanksOfTheValueAndTheFieldDoNotCount) {
  auto emp = OpenEmp("empno, ename, rpad(job, 12) job");

  EXPECT_TRUE(emp->Locate("JOB", Variant("ANALYST  "), loNone));

  EXPECT_EQ("SCOTT", Current(*emp));
}

TEST_P(RecordSearchTest, DatesCompareWithTheirTimeOfDayUnlessOnlyTheDateCounts) {
  auto emp = OpenEmp();
  const TDateTime day = EncodeDate(1981, 12, 3);
  const Variant noon = Variant::FromDateTime(day + 0.5);

  EXPECT_TRUE(emp->SearchRecord("HIREDATE", Variant::FromDateTime(day), srFromBeginning));
  EXPECT_EQ("JAMES", Current(*emp));
  EXPECT_FALSE(emp->SearchRecord("HIREDATE", noon, srFromBeginning));
  EXPECT_TRUE(emp->SearchRecord("HIREDATE", noon, srFromCurrent | srDateOnly));
  EXPECT_EQ("FORD", Current(*emp));
}

TEST_P(RecordSearchTest, WildcardsMatchTheWholeFieldText) {
  auto emp = OpenEmp();

  EXPECT_TRUE(emp->SearchRecord("ENAME", Variant("?ING"), srWildcards));
  EXPECT_EQ("KING", Current(*emp));
  EXPECT_TRUE(emp->SearchRecord("ENAME", Variant("*A*ES"), srFromBeginning | srWildcards));
  EXPECT_EQ("JAMES", Current(*emp));
  EXPECT_FALSE(emp->SearchRecord("ENAME", Variant("*A"), srFromBeginning | srWildcards));
  EXPECT_TRUE(
      emp->SearchRecord("ENAME", Variant("s*h"), srFromBeginning | srWildcards | srIgnoreCase));
  EXPECT_EQ("SMITH", Current(*emp));
}

TEST_P(RecordSearchTest, AValueThatCannotBeConvertedFailsAndChangesNothing) {
  auto emp = OpenEmp();
  emp->MoveBy(4);

  EXPECT_EQ("Invalid variant type conversion",
            ErrorOf([&] { emp->Locate("EMPNO", Variant("seven"), loNone); }));

  EXPECT_EQ(dsBrowse, emp->State());
  EXPECT_EQ("MARTIN", Current(*emp));
  EXPECT_FALSE(emp->ControlsDisabled());
  EXPECT_TRUE(emp->Locate("ENAME", Variant("KING"), loNone)) << "the next search works";
}

// --- Starting points and directions ---

TEST_P(RecordSearchTest, FromTheCurrentRecordTheSearchNeverMatchesThatRecord) {
  auto emp = OpenEmp();
  emp->Locate("JOB", Variant("ANALYST"), loNone);
  ASSERT_EQ("SCOTT", Current(*emp));

  EXPECT_TRUE(emp->SearchRecord("JOB", Variant("ANALYST"), srNone));
  EXPECT_EQ("FORD", Current(*emp));
  EXPECT_FALSE(emp->SearchRecord("JOB", Variant("ANALYST"), srFromCurrent | srForward));

  EXPECT_EQ("FORD", Current(*emp)) << "after the last match the record stays";
}

TEST_P(RecordSearchTest, BackwardsFromTheCurrentRecordFindsTheOneBefore) {
  auto emp = OpenEmp();
  emp->Locate("ENAME", Variant("FORD"), loNone);

  EXPECT_TRUE(emp->SearchRecord("JOB", Variant("ANALYST"), srBackward));
  EXPECT_EQ("SCOTT", Current(*emp));
  EXPECT_FALSE(emp->SearchRecord("JOB", Variant("ANALYST"), srBackward | srFromCurrent));
  EXPECT_EQ("SCOTT", Current(*emp));
}

TEST_P(RecordSearchTest, FromTheEndTheSearchFindsTheLastMatch) {
  auto emp = OpenEmp();

  EXPECT_TRUE(emp->SearchRecord("JOB", Variant("CLERK"), srFromEnd));
  EXPECT_EQ("MILLER", Current(*emp));
  EXPECT_TRUE(emp->SearchRecord("JOB", Variant("CLERK"), srFromEnd | srBackward));
  EXPECT_EQ("MILLER", Current(*emp));
  EXPECT_TRUE(emp->SearchRecord("JOB", Variant("CLERK"), srBackward));
  EXPECT_EQ("JAMES", Current(*emp));
}

TEST_P(RecordSearchTest, FromTheBeginningAForwardSearchFindsTheFirstRecordItself) {
  auto emp = OpenEmp();
  emp->Last();

  EXPECT_TRUE(emp->SearchRecord("ENAME", Variant("SMITH"), srFromBeginning | srForward));

  EXPECT_EQ("SMITH", Current(*emp));
  EXPECT_EQ(1, emp->RecNo());
}

TEST_P(RecordSearchTest, EveryInvalidCombinationOfOptionsIsRefusedWithTheDataSetsName) {
  auto emp = OpenEmp();
  emp->MoveBy(2);
  const TSearchRecordOptions invalid[] = {
      srFromBeginning | srFromEnd, srFromBeginning | srFromCurrent, srFromEnd | srFromCurrent,
      srForward | srBackward,      srForward | srFromEnd,           srBackward | srFromBeginning};

  for (TSearchRecordOptions options : invalid) {
    EXPECT_EQ("EmpData.SearchRecord options invalid",
              ErrorOf([&] { emp->SearchRecord("ENAME", Variant("SMITH"), options); }))
        << static_cast<unsigned>(options);
  }

  EXPECT_EQ("WARD", Current(*emp));
  EXPECT_EQ(dsBrowse, emp->State());
}

TEST_P(RecordSearchTest, TheValidCombinationsOfStartAndDirectionAreAccepted) {
  auto emp = OpenEmp();
  const TSearchRecordOptions valid[] = {srNone,
                                        srForward,
                                        srBackward,
                                        srFromCurrent | srForward,
                                        srFromCurrent | srBackward,
                                        srFromBeginning | srForward,
                                        srFromEnd | srBackward,
                                        srFromEnd};

  for (TSearchRecordOptions options : valid) {
    EXPECT_EQ("", ErrorOf([&] { emp->SearchRecord("ENAME", Variant("X"), options); }))
        << static_cast<unsigned>(options);
  }
}

// --- Refusals ---

TEST_P(RecordSearchTest, AFieldCountOtherThanTheValueCountIsRefused) {
  auto emp = OpenEmp();
  const std::string mismatch = "EmpData.SearchRecord: number of fields and values do not match";

  EXPECT_EQ(mismatch, ErrorOf([&] { emp->Locate("JOB;DEPTNO", Variant("CLERK"), loNone); }));
  EXPECT_EQ(mismatch, ErrorOf([&] {
              emp->Locate("JOB", VarArrayOf({Variant("CLERK"), Variant(30)}), loNone);
            }));
  EXPECT_EQ(mismatch,
            ErrorOf([&] { emp->Lookup("JOB;DEPTNO", VarArrayOf({Variant("CLERK")}), "ENAME"); }));
}

TEST_P(RecordSearchTest, AnUnknownFieldOrAClosedDataSetIsRefused) {
  auto emp = OpenEmp();

  EXPECT_EQ("EmpData: Field 'NOSUCH' not found",
            ErrorOf([&] { emp->Locate("NOSUCH", Variant(1), loNone); }));
  emp->Close();
  EXPECT_EQ("EmpData: Cannot perform this operation on a closed dataset",
            ErrorOf([&] { emp->Locate("ENAME", Variant("KING"), loNone); }));
}

// --- Rowids ---

TEST_P(RecordSearchTest, SearchingTheRowidFindsTheRecordOfThatRowid) {
  auto emp = OpenEmp();
  emp->Locate("ENAME", Variant("BLAKE"), loNone);
  const std::string rowId = emp->CurrentRowId();
  ASSERT_FALSE(rowId.empty());
  emp->First();

  EXPECT_TRUE(emp->SearchRecord("rowid", Variant(rowId), srFromBeginning));

  EXPECT_EQ("BLAKE", Current(*emp));
  EXPECT_FALSE(emp->SearchRecord("ROWID", Variant(rowId), srFromCurrent));
}

TEST_P(RecordSearchTest, ARowidSearchNeedsTheRowidInTheSelectList) {
  auto emp = OpenEmp("empno, ename");

  EXPECT_EQ("You cannot search a rowid if it is not included in the select list",
            ErrorOf([&] { emp->SearchRecord("ROWID", Variant("AAAA"), srFromBeginning); }));
}

// --- Fetching on ---

TEST_P(RecordSearchTest, AForwardSearchFetchesOnPastTheRowsFetchedSoFar) {
  MakeNumbers(200);
  auto numbers = NewDataSet("select n, label from numbers_t order by n");
  numbers->SetQueryAllRecords(false);
  numbers->SetReadBuffer(10);
  numbers->Open();
  ASSERT_LT(numbers->Records()->Count(), 150);

  EXPECT_TRUE(numbers->Locate("LABEL", Variant("row 150"), loNone));

  EXPECT_EQ(150, numbers->FieldByName("N")->AsInteger());
  EXPECT_EQ(150, numbers->RecNo());
  EXPECT_GE(numbers->Records()->Count(), 150);
  EXPECT_LT(numbers->Records()->Count(), 200) << "the search fetched past its match";
}

TEST_P(RecordSearchTest, AFailedForwardSearchFetchesEveryRowAndKeepsThem) {
  MakeNumbers(120);
  auto numbers = NewDataSet("select n, label from numbers_t order by n");
  numbers->SetQueryAllRecords(false);
  numbers->SetReadBuffer(10);
  numbers->Open();
  numbers->MoveBy(4);

  EXPECT_FALSE(numbers->SearchRecord("N", Variant(500), srFromCurrent));

  EXPECT_EQ(120, numbers->Records()->Count());
  EXPECT_EQ(5, numbers->FieldByName("N")->AsInteger());
  std::vector<std::string> labels = Column(*numbers, "LABEL");
  EXPECT_EQ(120u, labels.size()) << "every row once, none twice";
  EXPECT_EQ("row 120", labels.back());
}

TEST_P(RecordSearchTest, FromTheEndEveryRemainingRowIsFetchedFirst) {
  MakeNumbers(90);
  auto numbers = NewDataSet("select n, label from numbers_t order by n");
  numbers->SetQueryAllRecords(false);
  numbers->SetReadBuffer(5);
  numbers->Open();

  EXPECT_TRUE(numbers->SearchRecord("N", Variant(3), srFromEnd));

  EXPECT_EQ(90, numbers->Records()->Count());
  EXPECT_EQ(3, numbers->RecNo());
}

TEST_P(RecordSearchTest, ABackwardSearchDoesNotFetch) {
  MakeNumbers(60);
  auto numbers = NewDataSet("select n, label from numbers_t order by n");
  numbers->SetQueryAllRecords(false);
  numbers->SetReadBuffer(5);
  numbers->Open();
  const int fetched = numbers->Records()->Count();

  EXPECT_FALSE(numbers->SearchRecord("N", Variant(50), srBackward));

  EXPECT_EQ(fetched, numbers->Records()->Count());
}

// --- Lookup ---

TEST_P(RecordSearchTest, LookupGivesTheResultFieldsWithoutMoving) {
  auto emp = OpenEmp();
  emp->MoveBy(1);

  EXPECT_EQ("ANALYST", emp->Lookup("ENAME", Variant("FORD"), "JOB").AsString());
  const Variant values = emp->Lookup("EMPNO", Variant(7839), "ENAME; DEPTNO");

  ASSERT_TRUE(values.IsArray());
  EXPECT_EQ("KING", values.GetElement(0).AsString());
  EXPECT_EQ(10, values.GetElement(1).AsInteger());
  EXPECT_EQ("ALLEN", Current(*emp));
  EXPECT_TRUE(emp->Lookup("ENAME", Variant("NOBODY"), "JOB").IsNull());
}

TEST_P(RecordSearchTest, LookupWhileInsertingKeepsTheNewRecord) {
  auto emp = OpenEmp();
  emp->Insert();
  emp->FieldByName("ENAME")->SetAsString("NEWMAN");

  EXPECT_EQ(7566, emp->Lookup("ENAME", Variant("JONES"), "EMPNO").AsInteger());

  EXPECT_EQ(dsInsert, emp->State());
  EXPECT_EQ("NEWMAN", Current(*emp));
  emp->Cancel();
}

TEST_P(RecordSearchTest, ASearchInAFilteredDataSetSeesOnlyTheRecordsThatPass) {
  auto emp = OpenEmp();
  emp->SetFilter("DEPTNO = 20");
  emp->SetFiltered(true);

  EXPECT_FALSE(emp->Locate("ENAME", Variant("KING"), loNone));
  EXPECT_TRUE(emp->Locate("JOB", Variant("CLERK"), loNone));
  EXPECT_EQ("SMITH", Current(*emp));
  EXPECT_TRUE(emp->SearchRecord("JOB", Variant("CLERK"), srFromCurrent));
  EXPECT_EQ("ADAMS", Current(*emp));
}

// --- Calculated fields ---

class CalculatedSearchTest : public RecordSearchTest {
 protected:
  // EMP's ENAME and JOB with the calculated field TITLE: the name in lower
  // case, a blank and the job as it is.
  std::unique_ptr<ProbeDataSet> OpenWithTitle() {
    auto emp = NewDataSet("select ename, job from emp order by empno");
    AddString(*emp, "ENAME", 10, fkData);
    AddString(*emp, "JOB", 9, fkData);
    AddString(*emp, "TITLE", 30, fkCalculated);
    emp->SetOnCalcFields([this](TDataSet* d) {
      ++calculations;
      d->FieldByName("TITLE")->SetAsString(LowerCase(d->FieldByName("ENAME")->AsString()) + " " +
                                           d->FieldByName("JOB")->AsString());
    });
    emp->Open();
    return emp;
  }
  static void AddString(TDataSet& dataSet, const std::string& name, int size, TFieldKind kind) {
    auto* field = new TStringField(&dataSet);
    field->SetSize(size);
    field->SetFieldName(name);
    field->SetFieldKind(kind);
    field->SetDataSet(&dataSet);
  }
  int calculations = 0;
};

VORN_IN_BOTH_CALL_SETS(CalculatedSearchTest);

TEST_P(CalculatedSearchTest, ACalculatedFieldIsComputedForEveryRecordTheSearchReads) {
  auto emp = OpenWithTitle();

  EXPECT_TRUE(emp->Locate("TITLE", Variant("king PRESIDENT"), loNone));

  EXPECT_EQ("KING", emp->FieldByName("ENAME")->AsString());
  EXPECT_EQ("king PRESIDENT", emp->FieldByName("TITLE")->AsString());
  EXPECT_TRUE(emp->Locate("TITLE", Variant("FORD"), loCaseInsensitive | loPartialKey));
  EXPECT_EQ("FORD", emp->FieldByName("ENAME")->AsString());
}

TEST_P(CalculatedSearchTest, TheStoredRecordsKeepNoCalculatedValues) {
  auto emp = OpenWithTitle();
  ASSERT_TRUE(emp->Locate("TITLE", Variant("miller CLERK"), loNone));

  // The filter reads stored records: a value the search computed would
  // let every record pass.
  emp->SetFilter("TITLE = NULL");
  emp->SetFiltered(true);

  EXPECT_EQ(14, emp->RecordCount());
}

TEST_P(CalculatedSearchTest, LookupOfACalculatedFieldComputesItForTheRecordFound) {
  auto emp = OpenWithTitle();
  emp->MoveBy(2);

  EXPECT_EQ("scott ANALYST", emp->Lookup("ENAME", Variant("SCOTT"), "TITLE").AsString());
  const Variant both = emp->Lookup("JOB", Variant("PRESIDENT"), "TITLE;ENAME");

  EXPECT_EQ("king PRESIDENT", both.GetElement(0).AsString());
  EXPECT_EQ("KING", both.GetElement(1).AsString());
  EXPECT_EQ("WARD", emp->FieldByName("ENAME")->AsString());
  EXPECT_EQ("ward SALESMAN", emp->FieldByName("TITLE")->AsString());
}

TEST_P(CalculatedSearchTest, ASearchOnDataFieldsOnlyComputesNothing) {
  auto emp = OpenWithTitle();
  calculations = 0;

  EXPECT_TRUE(emp->SearchRecord("ENAME", Variant("MILLER"), srFromBeginning | srDontMove));

  EXPECT_EQ(0, calculations);
}

}  // namespace
}  // namespace vorn::dataset_test
