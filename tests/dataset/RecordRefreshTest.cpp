// Reading records back from the database: roBeforeEdit, roAfterInsert,
// roAfterUpdate and roAllFields, with the refresh statement built from the
// dataset's own SQL, AfterRefreshRecord and OnApplyRecord's 'R'.
#include <gtest/gtest.h>

#include "RecordTestSupport.h"
#include "vorn/host/Field.h"

namespace vorn::dataset_test {
namespace {

class RecordRefreshTest : public RecordTest {};

VORN_IN_BOTH_CALL_SETS(RecordRefreshTest);

using Lines = std::vector<std::string>;

TEST_P(RecordRefreshTest, BeforeEditTheEditStartsFromTheDatabasesValues) {
  MakeItems();
  auto items = OpenItems();
  items->SetRefreshOptions(roBeforeEdit);
  WindowLink grid(*items, 3);
  int refreshes = 0;
  items->SetAfterRefreshRecord([&](TOracleDataSet*) { ++refreshes; });
  RunOther("update items set name = 'bolt M6', qty = 15 where id = 1");
  CommitOther();
  trace_->Clear();

  items->Edit();

  // A refresh instead of the check: the other user's change is no error.
  EXPECT_EQ((Lines{"select * from ITEMS where rowid = :zuq__rowid"}), Traced());
  EXPECT_EQ(1, refreshes);
  EXPECT_EQ("bolt M6", items->FieldByName("NAME")->AsString());
  EXPECT_EQ(15, items->FieldByName("QTY")->AsInteger());
  EXPECT_EQ((Lines{"bolt M6", "nut", "washer"}), grid.Shown("NAME"));
  items->FieldByName("QTY")->SetAsInteger(16);
  items->Post();
  EXPECT_EQ((Lines{"bolt M6|16"}), Committed("select name, qty from items where id = 1"));
  EXPECT_EQ("bolt M6", items->FieldByName("NAME")->OldValue().AsString());
}

TEST_P(RecordRefreshTest, BeforeEditInLockImmediateTheRefreshTakesTheLock) {
  MakeItems();
  auto items = OpenItems();
  items->SetRefreshOptions(roBeforeEdit);
  items->SetLockingMode(lmLockImmediate);
  trace_->Clear();

  items->Edit();

  EXPECT_EQ((Lines{"SAVEPOINT ZUQ__LOCKPOINT",
                   "select * from ITEMS where rowid = :zuq__rowid\nfor update nowait"}),
            Traced());
  items->Cancel();
}

TEST_P(RecordRefreshTest, AfterUpdateTheStoredRecordTakesWhatTheRowHoldsNow) {
  MakeItems();
  auto items = OpenItems();
  items->SetRefreshOptions(roAfterUpdate);
  items->SetLockingMode(lmNone);
  items->Edit();
  items->FieldByName("NAME")->SetAsString("pin");
  // Unseen without a lock: another user's change of another column.
  RunOther("update items set qty = 77 where id = 1");
  CommitOther();
  trace_->Clear();

  items->Post();

  const Lines traced = Traced();
  ASSERT_FALSE(traced.empty());
  EXPECT_EQ("select * from ITEMS where rowid = :zuq__rowid", traced.back());
  EXPECT_EQ("pin", items->FieldByName("NAME")->AsString());
  EXPECT_EQ(77, items->FieldByName("QTY")->AsInteger());
}

TEST_P(RecordRefreshTest, WithoutRefreshOptionsNothingIsReadBack) {
  MakeItems();
  auto items = OpenItems();
  items->SetLockingMode(lmNone);
  trace_->Clear();

  items->Edit();
  items->FieldByName("NAME")->SetAsString("pin");
  items->Post();
  items->Append();
  items->FieldByName("ID")->SetAsInteger(5);
  items->Post();

  for (const std::string& entry : Traced())
    EXPECT_EQ(std::string::npos, entry.find("select")) << entry;
}

TEST_P(RecordRefreshTest, AllFieldsRefreshesWithTheDataSetsOwnStatementAndVariables) {
  auto emp = NewDataSet(
      "select e.*, e.rowid from emp e\nwhere e.deptno = :d -- the department\norder by e.ename");
  emp->DeclareVariable("d", otInteger);
  emp->SetVariable("d", 10);
  emp->SetRefreshOptions(roBeforeEdit | roAllFields);
  emp->Open();
  trace_->Clear();

  emp->Edit();

  // Head, the query's own condition in parentheses and the rowid's; no
  // ORDER BY; the variable d declared from the dataset's.
  EXPECT_EQ((Lines{"select e.*, e.rowid from emp e\nwhere (e.deptno = :d)\nand\n(E.rowid = "
                   ":zuq__rowid)"}),
            Traced());
  EXPECT_EQ("CLARK", emp->FieldByName("ENAME")->AsString());
  emp->Cancel();
}

TEST_P(RecordRefreshTest, AllFieldsWithLockingLocksTheFirstDataColumnOfTheAlias) {
  auto emp = NewDataSet("select e.ename, e.sal, e.rowid from emp e order by ename");
  emp->SetRefreshOptions(roBeforeEdit | roAllFields);
  emp->SetLockingMode(lmLockImmediate);
  emp->Open();
  trace_->Clear();

  emp->Edit();

  EXPECT_EQ((Lines{"SAVEPOINT ZUQ__LOCKPOINT",
                   "select e.ename, e.sal, e.rowid from emp e\nwhere E.rowid = :zuq__rowid\nfor "
                   "update of E.ENAME nowait"}),
            Traced());
  emp->Cancel();
}

TEST_P(RecordRefreshTest, EndRefreshKeepsOnlyThePartBeforeTheMarker) {
  MakeItems();
  auto items = NewDataSet(
      "select i.*, i.rowid, (select count(*) from items) total from items i\n/* END_REFRESH */ "
      "where i.qty > 0 order by id");
  items->SetRefreshOptions(roAfterUpdate | roAllFields);
  items->SetLockingMode(lmNone);
  items->Open();
  trace_->Clear();

  items->Edit();
  items->FieldByName("QTY")->SetAsInteger(3);
  items->Post();

  const Lines traced = Traced();
  ASSERT_FALSE(traced.empty());
  EXPECT_EQ(
      "select i.*, i.rowid, (select count(*) from items) total from items i\nwhere I.rowid = "
      ":zuq__rowid",
      traced.back());
}

TEST_P(RecordRefreshTest, AfterInsertTheNewRecordTakesTheServersValues) {
  Run("create table stamped (id number(4), label varchar2(10) default 'fresh', "
      "made date default sysdate)");
  auto stamped = NewDataSet("select rowid, s.* from stamped s");
  stamped->SetRefreshOptions(roAfterInsert);
  stamped->Open();

  stamped->Insert();
  stamped->FieldByName("ID")->SetAsInteger(1);
  stamped->Post();

  EXPECT_EQ("fresh", stamped->FieldByName("LABEL")->AsString());
  EXPECT_FALSE(stamped->FieldByName("MADE")->IsNull());
  EXPECT_EQ(1, stamped->RecordCount());
}

TEST_P(RecordRefreshTest, OnApplyRecordMayTakeOverTheRefreshWritingTheStoredRecord) {
  MakeItems();
  auto items = OpenItems();
  items->SetRefreshOptions(roBeforeEdit);
  items->SetOnApplyRecord([](TOracleDataSet* sender, char action, bool& applied, std::string&) {
    if (action != 'R') return;
    sender->FieldByName("NAME")->SetAsString("from the application");
    applied = true;
  });
  trace_->Clear();

  items->Edit();

  EXPECT_TRUE(Traced().empty());
  EXPECT_EQ("from the application", items->FieldByName("NAME")->OldValue().AsString());
  items->Cancel();
}

TEST_P(RecordRefreshTest, ARefreshOfARowThatIsGoneChangesNothing) {
  MakeItems();
  auto items = OpenItems();
  items->SetRefreshOptions(roBeforeEdit);
  RunOther("delete from items where id = 1");
  CommitOther();

  items->Edit();

  EXPECT_EQ("bolt", items->FieldByName("NAME")->AsString());
  items->Cancel();
}

}  // namespace
}  // namespace vorn::dataset_test
