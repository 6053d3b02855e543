// Editing, inserting and deleting records through the statements the
// dataset generates: what reaches the server, what is committed, what the
// record list holds afterwards, OnApplyRecord, OnTranslateMessage, rowids
// by key, server defaults and sequences, and the lock savepoint.
#include <gtest/gtest.h>

#include "RecordTestSupport.h"
#include "vorn/dataset/SequenceField.h"
#include "vorn/host/Field.h"

namespace vorn::dataset_test {
namespace {

class RecordUpdateTest : public RecordTest {};

VORN_IN_BOTH_CALL_SETS(RecordUpdateTest);

// --- Edits ---

TEST_P(RecordUpdateTest, AnEditPostsAnUpdateOfTheChangedFieldByRowidAndCommits) {
  MakeItems();
  auto items = OpenItems();
  items->Next();
  const std::string rowId = items->CurrentRowId();
  trace_->Clear();

  items->Edit();
  items->FieldByName("QTY")->SetAsInteger(21);
  items->Post();

  const std::vector<std::string> expected{
      "select * from ITEMS where rowid = :zuq__rowid", "SAVEPOINT ZUQ__LOCKPOINT",
      "select * from ITEMS where rowid = :zuq__rowid\nfor update nowait",
      "UPDATE ITEMS SET\nQTY = :QTY\nWHERE ROWID = :ZUQ__ROWID", "COMMIT"};
  EXPECT_EQ(expected, Traced());
  EXPECT_EQ((std::vector<std::string>{"1|10", "2|21", "3|30"}),
            Committed("select id, qty from items order by id"));
  EXPECT_EQ(dsBrowse, items->State());
  EXPECT_EQ(21, items->FieldByName("QTY")->AsInteger());
  EXPECT_EQ(rowId, items->CurrentRowId());
  EXPECT_EQ(2, items->RecNo());
}

TEST_P(RecordUpdateTest, AnEditThatChangesNothingPostsNoStatementAndNoCommit) {
  MakeItems();
  auto items = OpenItems();
  items->SetLockingMode(lmNone);
  trace_->Clear();

  items->Edit();
  items->FieldByName("NAME")->SetAsString("bolt");
  items->FieldByName("QTY")->SetAsInteger(10);
  items->Post();

  EXPECT_TRUE(Traced().empty());
  EXPECT_EQ(dsBrowse, items->State());
}

TEST_P(RecordUpdateTest, ClearingAFieldWritesNull) {
  MakeItems();
  auto items = OpenItems();
  items->SetLockingMode(lmNone);
  trace_->Clear();

  items->Edit();
  items->FieldByName("NAME")->SetAsString("");
  items->FieldByName("PRICE")->Clear();
  items->Post();

  EXPECT_EQ((std::vector<std::string>{"SAVEPOINT ZUQ__LOCKPOINT",
                                      "UPDATE ITEMS SET\nNAME = NULL, PRICE = NULL\nWHERE ROWID = "
                                      ":ZUQ__ROWID",
                                      "COMMIT"}),
            Traced());
  EXPECT_EQ((std::vector<std::string>{"1||"}),
            Committed("select id, name, price from items where id = 1"));
}

TEST_P(RecordUpdateTest, SuccessiveEditsOfTheSameShapeReuseTheirParse) {
  MakeItems();
  auto items = OpenItems();
  trace_->Clear();

  for (int round = 0; round < 3; ++round) {
    for (items->First(); !items->Eof(); items->Next()) {
      items->Edit();
      items->FieldByName("QTY")->SetAsInteger(items->FieldByName("QTY")->AsInteger() + 1);
      items->Post();
    }
  }

  // Nine checks, locks and updates ran; each statement was parsed once.
  int updates = 0;
  for (const std::string& statement : Traced())
    updates += statement.rfind("UPDATE ITEMS", 0) == 0 ? 1 : 0;
  EXPECT_EQ(9, updates);
  EXPECT_EQ(1, trace_->Parses("UPDATE ITEMS"));
  EXPECT_EQ(2, trace_->Parses("select * from ITEMS")) << "the check and the lock";
  EXPECT_EQ((std::vector<std::string>{"1|13", "2|23", "3|33"}),
            Committed("select id, qty from items order by id"));
}

TEST_P(RecordUpdateTest, WithoutCommitOnPostTheChangeWaitsForTheApplicationsCommit) {
  MakeItems();
  auto items = OpenItems();
  items->SetCommitOnPost(false);

  items->Edit();
  items->FieldByName("NAME")->SetAsString("screw");
  items->Post();

  EXPECT_EQ((std::vector<std::string>{"bolt"}), Committed("select name from items where id = 1"));
  session_->Commit();
  EXPECT_EQ((std::vector<std::string>{"screw"}), Committed("select name from items where id = 1"));
}

// --- Inserts ---

TEST_P(RecordUpdateTest, AnInsertWritesTheFieldsWithValuesAndKeepsTheNewRowid) {
  MakeItems();
  auto items = OpenItems();
  items->Next();
  trace_->Clear();

  items->Insert();
  items->FieldByName("ID")->SetAsInteger(4);
  items->FieldByName("NAME")->SetAsString("rivet");
  items->Post();

  const std::string insert = "INSERT INTO ITEMS\n (ID, NAME)\nVALUES\n (:ID, :NAME)";
  const std::vector<std::string> expected =
      UsesOCI7()
          ? std::vector<std::string>{"SAVEPOINT ZUQ__LOCKPOINT", insert, "COMMIT"}
          : std::vector<std::string>{"SAVEPOINT ZUQ__LOCKPOINT",
                                     insert + "\nRETURNING ROWID INTO :ZUQ__ROWID", "COMMIT"};
  EXPECT_EQ(expected, Traced());
  EXPECT_EQ((std::vector<std::string>{"4|rivet||"}),
            Committed("select id, name, qty, price from items where id = 4"));
  // The new record sits where it was inserted, with the row's rowid.
  EXPECT_EQ(2, items->RecNo());
  EXPECT_EQ((std::vector<std::string>{"1", "4", "2", "3"}), Column(*items, "ID"));
  items->First();
  items->Next();
  EXPECT_EQ(Committed("select rowid from items where id = 4"),
            std::vector<std::string>{items->CurrentRowId()});
  // Found again by its rowid: an edit of the new record updates its row.
  items->Edit();
  items->FieldByName("QTY")->SetAsInteger(7);
  items->Post();
  EXPECT_EQ((std::vector<std::string>{"7"}), Committed("select qty from items where id = 4"));
}

TEST_P(RecordUpdateTest, AppendingRecordAfterRecordParsesTheInsertOnce) {
  MakeItems();
  auto items = OpenItems();
  items->SetCommitOnPost(false);
  trace_->Clear();

  for (int id = 100; id < 150; ++id) {
    items->Append();
    items->FieldByName("ID")->SetAsInteger(id);
    items->FieldByName("NAME")->SetAsString("part " + std::to_string(id));
    items->Post();
  }

  int inserts = 0;
  for (const std::string& statement : Traced())
    inserts += statement.rfind("INSERT INTO ITEMS", 0) == 0 ? 1 : 0;
  EXPECT_EQ(50, inserts);
  EXPECT_EQ(1, trace_->Parses("INSERT INTO ITEMS"));
  EXPECT_EQ(53, items->RecordCount());
  session_->Rollback();
  EXPECT_EQ((std::vector<std::string>{"3"}), Committed("select count(*) from items"));
}

TEST_P(RecordUpdateTest, AnAppendedRecordComesLastAndItsBookmarkComesAfterAllOthers) {
  MakeItems();
  auto items = OpenItems();
  const TBookmark first = items->GetBookmark();

  items->Append();
  items->FieldByName("ID")->SetAsInteger(9);
  items->Post();

  EXPECT_EQ(4, items->RecNo());
  EXPECT_EQ(9, items->FieldByName("ID")->AsInteger());
  EXPECT_EQ(1, items->CompareBookmarks(items->GetBookmark(), first));
  EXPECT_EQ((std::vector<std::string>{"1", "2", "3", "9"}), Column(*items, "ID"));
}

TEST_P(RecordUpdateTest, AnInsertIntoAnEmptyDataSetBecomesItsFirstRecord) {
  MakeItems();
  Run("delete from items");
  session_->Commit();
  auto items = OpenItems();

  items->Insert();
  items->FieldByName("ID")->SetAsInteger(5);
  items->Post();

  EXPECT_EQ(1, items->RecordCount());
  EXPECT_EQ(5, items->FieldByName("ID")->AsInteger());
  EXPECT_EQ((std::vector<std::string>{"5"}), Committed("select id from items"));
}

TEST_P(RecordUpdateTest, AnInsertWithoutValuesPostsNothingButJoinsTheList) {
  MakeItems();
  auto items = OpenItems();
  trace_->Clear();

  items->Append();
  items->FieldByName("NAME")->SetAsString("");
  items->Post();

  EXPECT_TRUE(Traced().empty());
  EXPECT_EQ(4, items->RecordCount());
  EXPECT_EQ((std::vector<std::string>{"3"}), Committed("select count(*) from items"));
}

TEST_P(RecordUpdateTest, ADefaultExpressionIsWrittenAsItStandsAndReadBack) {
  Run("create table stamped (id number(4), label varchar2(10) default 'fresh', n number(4))");
  auto stamped = NewDataSet("select rowid, id, label, n from stamped");
  stamped->Open();
  stamped->FieldByName("LABEL")->SetDefaultExpression("'new' || 'ly'");
  trace_->Clear();

  stamped->Insert();
  stamped->FieldByName("ID")->SetAsInteger(1);
  stamped->Post();

  const std::vector<std::string> traced = Traced();
  ASSERT_GE(traced.size(), 2u);
  EXPECT_EQ(0u,
            traced[1].rfind("INSERT INTO STAMPED\n (ID, LABEL)\nVALUES\n (:ID, 'new' || 'ly')", 0))
      << traced[1];
  // A default expression makes the record read back after the insert.
  EXPECT_EQ("select * from STAMPED where rowid = :zuq__rowid", traced.back());
  EXPECT_EQ("newly", stamped->FieldByName("LABEL")->AsString());
}

TEST_P(RecordUpdateTest, AServerDefaultFillsAColumnTheInsertLeavesOut) {
  Run("create table stamped (id number(4), label varchar2(10) default 'fresh')");
  auto stamped = NewDataSet("select rowid, id, label from stamped");
  stamped->SetRefreshOptions(roAfterInsert);
  stamped->Open();

  stamped->Insert();
  stamped->FieldByName("ID")->SetAsInteger(1);
  stamped->Post();

  EXPECT_EQ("fresh", stamped->FieldByName("LABEL")->AsString());
  EXPECT_EQ((std::vector<std::string>{"1|fresh"}), Committed("select id, label from stamped"));
}

TEST_P(RecordUpdateTest, TheServerTakesTheSequenceNumberInTheInsert) {
  Run("create table numbered (id number(6) not null, name varchar2(10))");
  Run("create sequence numbered_seq start with 100");
  auto numbered = NewDataSet("select rowid, id, name from numbered");
  numbered->SequenceField()->SetField("ID");
  numbered->SequenceField()->SetSequence("numbered_seq");
  numbered->SequenceField()->SetApplyMoment(amOnServer);
  numbered->Open();
  trace_->Clear();

  numbered->Insert();
  numbered->FieldByName("NAME")->SetAsString("first");
  numbered->Post();

  const std::vector<std::string> traced = Traced();
  ASSERT_GE(traced.size(), 2u);
  EXPECT_EQ(0u,
            traced[1].rfind("INSERT INTO NUMBERED\n (ID, NAME)\nVALUES\n (numbered_seq.nextval, "
                            ":NAME)",
                            0))
      << traced[1];
  // The number comes back with the row.
  EXPECT_EQ(100, numbered->FieldByName("ID")->AsInteger());
  EXPECT_EQ((std::vector<std::string>{"100|first"}), Committed("select id, name from numbered"));
}

TEST_P(RecordUpdateTest, AnInsertRefusedByTheServerLeavesTheRecordInInsertState) {
  MakeItems();
  auto items = OpenItems();

  items->Insert();
  items->FieldByName("ID")->SetAsInteger(1);
  const std::string error = ErrorOf([&] { items->Post(); });

  EXPECT_NE(std::string::npos, error.find("ORA-00001")) << error;
  EXPECT_EQ(dsInsert, items->State());
  EXPECT_EQ(3, items->RecordCount()) << "the new record is not stored yet";
  items->FieldByName("ID")->SetAsInteger(8);
  items->Post();
  EXPECT_EQ((std::vector<std::string>{"1", "2", "3", "8"}),
            Committed("select id from items order by id"));
}

// --- Deletes ---

TEST_P(RecordUpdateTest, ADeleteChecksTheRowDeletesItByRowidAndCommits) {
  MakeItems();
  auto items = OpenItems();
  items->Next();
  trace_->Clear();

  items->Delete();

  const std::vector<std::string> expected{
      "SAVEPOINT ZUQ__LOCKPOINT",
      "select * from ITEMS where rowid = :zuq__rowid\nfor update nowait",
      "DELETE FROM ITEMS WHERE ROWID = :ZUQ__ROWID", "COMMIT"};
  EXPECT_EQ(expected, Traced());
  EXPECT_EQ((std::vector<std::string>{"1", "3"}), Committed("select id from items order by id"));
  EXPECT_EQ(2, items->RecordCount());
  EXPECT_EQ(3, items->FieldByName("ID")->AsInteger()) << "the following record is current";
}

TEST_P(RecordUpdateTest, DeletingTheLastRecordMakesThePriorOneCurrent) {
  MakeItems();
  auto items = OpenItems();
  items->Last();

  items->Delete();

  EXPECT_EQ(2, items->FieldByName("ID")->AsInteger());
  EXPECT_EQ((std::vector<std::string>{"1", "2"}), Column(*items, "ID"));
}

// --- OnApplyRecord ---

TEST_P(RecordUpdateTest, OnApplyRecordTakesOverEachActionWithoutAStatement) {
  MakeItems();
  auto items = OpenItems();
  std::string actions;
  items->SetOnApplyRecord([&](TOracleDataSet*, char action, bool& applied, std::string& newRowId) {
    actions += action;
    applied = true;
    if (action == 'I') newRowId = "AAAAAAAAAAAAAAAAAB";
  });
  trace_->Clear();

  items->Edit();
  items->FieldByName("QTY")->SetAsInteger(99);
  items->Post();
  items->Insert();
  items->FieldByName("ID")->SetAsInteger(7);
  items->Post();
  const std::string insertedRowId = items->CurrentRowId();
  items->Next();
  items->Delete();

  // Edit's check ('C'), the lock of the post ('L') and the update ('U');
  // the insert ('I'); the delete's lock and the delete.
  EXPECT_EQ("CLUILD", actions);
  for (const std::string& entry : Traced())
    EXPECT_TRUE(entry == "SAVEPOINT ZUQ__LOCKPOINT" || entry == "COMMIT") << entry;
  EXPECT_EQ("AAAAAAAAAAAAAAAAAB", insertedRowId);
  EXPECT_EQ((std::vector<std::string>{"1|10", "2|20", "3|30"}),
            Committed("select id, qty from items order by id"));
  EXPECT_EQ((std::vector<std::string>{"7", "2", "3"}), Column(*items, "ID"));
}

TEST_P(RecordUpdateTest, ADataSetWithoutRowidIsModifiableOnlyWithOnApplyRecord) {
  MakeItems();
  auto items = NewDataSet("select id, name from items");
  items->Open();
  EXPECT_FALSE(items->CanModify());
  EXPECT_EQ("Cannot modify a read-only dataset", ErrorOf([&] { items->Edit(); }));

  std::string actions;
  items->SetOnApplyRecord([&](TOracleDataSet*, char action, bool& applied, std::string&) {
    actions += action;
    applied = action == 'U';
  });
  items->SetLockingMode(lmNone);
  items->Edit();
  items->FieldByName("NAME")->SetAsString("pin");
  items->Post();
  EXPECT_EQ("U", actions);
  EXPECT_EQ("pin", items->FieldByName("NAME")->AsString());
}

TEST_P(RecordUpdateTest, AnActionWithoutRowidNorHandlerSaysSo) {
  MakeItems();
  auto items = NewDataSet("select id, name from items");
  items->SetOnApplyRecord([](TOracleDataSet*, char, bool&, std::string&) {});
  items->SetLockingMode(lmNone);
  items->Open();

  items->Edit();
  items->FieldByName("NAME")->SetAsString("pin");
  EXPECT_EQ(
      "An update cannot be performed without a rowid.\r\nProvide a rowid in the query or "
      "handle this action in the OnApplyRecord event",
      ErrorOf([&] { items->Post(); }));
  items->Cancel();
  EXPECT_EQ(
      "A delete cannot be performed without a rowid.\r\nProvide a rowid in the query or "
      "handle this action in the OnApplyRecord event",
      ErrorOf([&] { items->Delete(); }));
}

// --- Messages ---

TEST_P(RecordUpdateTest, OnTranslateMessageHasTheLastWordWithActionAndCode) {
  MakeItems();
  auto items = OpenItems();
  std::string heard;
  items->SetOnTranslateMessage(
      [&](TOracleDataSet*, int code, const std::string&, char action, std::string& message) {
        heard = std::string(1, action) + std::to_string(code) + ": " + message.substr(0, 9);
        message = "Duplicate item";
      });

  items->Insert();
  items->FieldByName("ID")->SetAsInteger(2);

  EXPECT_EQ("Duplicate item", ErrorOf([&] { items->Post(); }));
  EXPECT_EQ("I1: ORA-00001", heard);
}

TEST_P(RecordUpdateTest, OnPostErrorSeesRecordFailuresAsDatabaseErrors) {
  MakeItems();
  auto items = OpenItems();
  std::string heard;
  items->SetOnPostError([&](TDataSet*, EDatabaseError& error, TDataAction& action) {
    heard = error.Message();
    action = daAbort;
  });
  items->Edit();
  items->FieldByName("QTY")->SetAsInteger(11);
  RunOther("delete from items where id = 1");
  CommitOther();

  EXPECT_THROW(items->Post(), EAbort);
  EXPECT_EQ("Record has been deleted by another user", heard);
  EXPECT_EQ(dsEdit, items->State());
}

// --- The lock savepoint ---

TEST_P(RecordUpdateTest, AFailingPostRollsBackToTheSavepointOnlyAndKeepsTheEdit) {
  MakeItems();
  Run("create table audit_t (n number(4))");
  Run("alter table items add constraint qty_positive check (qty > 0)");
  auto items = OpenItems();
  items->SetCommitOnPost(false);
  // Work of the transaction done before the post.
  Run("insert into audit_t values (1)");
  items->Edit();
  items->FieldByName("QTY")->SetAsInteger(-5);
  items->FieldByName("NAME")->SetAsString("broken");

  const std::string error = ErrorOf([&] { items->Post(); });

  EXPECT_NE(std::string::npos, error.find("ORA-02290")) << error;
  EXPECT_EQ(dsEdit, items->State());
  EXPECT_EQ("broken", items->FieldByName("NAME")->AsString());
  items->FieldByName("QTY")->SetAsInteger(5);
  items->Post();
  session_->Commit();
  EXPECT_EQ((std::vector<std::string>{"1"}), Committed("select n from audit_t"));
  EXPECT_EQ((std::vector<std::string>{"broken|5"}),
            Committed("select name, qty from items where id = 1"));
}

TEST_P(RecordUpdateTest, InAutoCommitNoSavepointIsSet) {
  MakeItems();
  session_->SetAutoCommit(true);
  auto items = OpenItems();
  items->SetLockingMode(lmNone);
  trace_->Clear();

  items->Edit();
  items->FieldByName("QTY")->SetAsInteger(12);
  items->Post();

  const std::vector<std::string> traced = Traced();
  ASSERT_EQ(1u, traced.size());
  EXPECT_EQ("UPDATE ITEMS SET\nQTY = :QTY\nWHERE ROWID = :ZUQ__ROWID", traced[0]);
  EXPECT_EQ((std::vector<std::string>{"12"}), Committed("select qty from items where id = 1"));
}

// --- Rowids by key ---

TEST_P(RecordUpdateTest, WithUniqueFieldsTheNewRowidIsLookedUpByTheKey) {
  MakeItems();
  auto items = NewDataSet("select rowid, i.* from items i order by id");
  items->SetUniqueFields("ID");
  items->Open();
  trace_->Clear();

  items->Append();
  items->FieldByName("ID")->SetAsInteger(6);
  items->FieldByName("NAME")->SetAsString("clip");
  items->Post();

  bool lookedUp = false;
  for (const std::string& entry : Traced())
    lookedUp = lookedUp || entry == "select rowid from ITEMS where\nID = :ID";
  EXPECT_TRUE(lookedUp);
  EXPECT_EQ(Committed("select rowid from items where id = 6"),
            std::vector<std::string>{items->CurrentRowId()});
}

TEST_P(RecordUpdateTest, RowIdByKeyComparesNullKeysWithIsNull) {
  Run("create table pairs (a number(4), b varchar2(5))");
  Run("insert into pairs values (1, null)");
  Run("insert into pairs values (1, 'x')");
  Run("insert into pairs values (2, null)");
  Run("insert into pairs values (2, null)");
  session_->Commit();
  auto pairs = NewDataSet("select rowid, a, b from pairs order by a, b");
  pairs->SetUniqueFields("A; B");
  pairs->Open();

  EXPECT_EQ(pairs->CurrentRowId(), pairs->RowIdByKey()) << "a = 1 and b is null";
  pairs->Last();
  EXPECT_EQ("Error determining ROWID: more than one record found",
            ErrorOf([&] { pairs->RowIdByKey(); }));
  RunOther("delete from pairs where a = 2");
  CommitOther();
  EXPECT_EQ("Error determining ROWID: no record found", ErrorOf([&] { pairs->RowIdByKey(); }));
  // The key fields are those named when the dataset opened.
  pairs->Close();
  pairs->SetUniqueFields("A, NOSUCH");
  pairs->Open();
  EXPECT_EQ("", pairs->RowIdByKey());
}

// --- Properties ---

TEST_P(RecordUpdateTest, RefreshModeIsObsoleteAtRunTime) {
  auto items = NewDataSet("select rowid, i.* from items i");
  EXPECT_EQ("RefreshMode is obsolete, use RefreshOptions instead",
            ErrorOf([&] { items->SetRefreshMode(rmAfterInsert); }));
  EXPECT_EQ(roNone, items->RefreshOptions());
}

TEST_P(RecordUpdateTest, TheUpdatingTableAndAliasComeFromTheStatementOrTheProperty) {
  auto emp = NewDataSet("select e.*, e.rowid from \"emp\" e where e.deptno = :d order by e.ename");
  EXPECT_EQ("EMP", emp->UpdatingTableName());
  EXPECT_EQ("E", emp->UpdatingTableAlias());
  emp->SetUpdatingTable(" scott.emp ");
  EXPECT_EQ("scott.emp", emp->UpdatingTableName());
  auto plain = NewDataSet("select * from dept where deptno > 10");
  EXPECT_EQ("DEPT", plain->UpdatingTableName());
  EXPECT_EQ("DEPT", plain->UpdatingTableAlias());
}

}  // namespace
}  // namespace vorn::dataset_test
