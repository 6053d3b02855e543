// The four locking modes through Edit, Post, Delete and Cancel, with the
// statements that reach the server, and a second user who holds the row,
// changes it or deletes it. The embedded server admits one writing
// transaction at a time, so the other user commits (or rolls back) before
// the dataset's next action, as an application with CommitOnPost does.
#include <gtest/gtest.h>

#include "RecordTestSupport.h"
#include "vorn/host/Field.h"

namespace vorn::dataset_test {
namespace {

const std::string kCheck = "select * from ITEMS where rowid = :zuq__rowid";
const std::string kLock = "select * from ITEMS where rowid = :zuq__rowid\nfor update nowait";
const std::string kSavepoint = "SAVEPOINT ZUQ__LOCKPOINT";
const std::string kUpdate = "UPDATE ITEMS SET\nQTY = :QTY\nWHERE ROWID = :ZUQ__ROWID";
const std::string kDelete = "DELETE FROM ITEMS WHERE ROWID = :ZUQ__ROWID";

class LockingModeTest : public RecordTest {
 protected:
  // ITEMS open in `mode`, on record 1, the trace cleared.
  std::unique_ptr<ProbeDataSet> Items(TLockingModeOptions mode) {
    MakeItems();
    auto items = OpenItems();
    items->SetLockingMode(mode);
    trace_->Clear();
    return items;
  }

  // Edit, set QTY and post; the trace of each step.
  std::vector<std::string> EditStep(TDataSet& items) {
    trace_->Clear();
    items.Edit();
    return Traced();
  }
  std::vector<std::string> PostStep(TDataSet& items, int qty) {
    trace_->Clear();
    items.FieldByName("QTY")->SetAsInteger(qty);
    items.Post();
    return Traced();
  }
};

VORN_IN_BOTH_CALL_SETS(LockingModeTest);

using Lines = std::vector<std::string>;

// --- What each mode sends ---

TEST_P(LockingModeTest, LockImmediateLocksAtEditAndUpdatesUnderTheLock) {
  auto items = Items(lmLockImmediate);

  EXPECT_EQ((Lines{kSavepoint, kLock}), EditStep(*items));
  // While the dataset edits, the other user cannot lock the row.
  EXPECT_NE("", ErrorOf([&] { RunOther("select id from items where id = 1 for update nowait"); }));
  EXPECT_EQ((Lines{kSavepoint, kUpdate, "COMMIT"}), PostStep(*items, 11));
  EXPECT_EQ((Lines{"11"}), Committed("select qty from items where id = 1"));
}

TEST_P(LockingModeTest, LockImmediateCancelRollsBackAndReleasesTheLock) {
  auto items = Items(lmLockImmediate);
  items->Edit();
  trace_->Clear();

  items->Cancel();

  EXPECT_EQ((Lines{"ROLLBACK"}), Traced());
  RunOther("update items set qty = 12 where id = 1");
  CommitOther();
  EXPECT_EQ((Lines{"12"}), Committed("select qty from items where id = 1"));
}

TEST_P(LockingModeTest, LockImmediateDeleteLocksChecksAndDeletes) {
  auto items = Items(lmLockImmediate);

  items->Delete();

  EXPECT_EQ((Lines{kSavepoint, kLock, kDelete, "COMMIT"}), Traced());
  EXPECT_EQ((Lines{"2", "3"}), Committed("select id from items order by id"));
}

TEST_P(LockingModeTest, CheckImmediateChecksAtEditAndLocksAtPost) {
  auto items = Items(lmCheckImmediate);

  EXPECT_EQ((Lines{kCheck}), EditStep(*items));
  EXPECT_EQ((Lines{kSavepoint, kLock, kUpdate, "COMMIT"}), PostStep(*items, 11));
  trace_->Clear();
  items->Edit();
  items->Cancel();
  EXPECT_EQ((Lines{kCheck}), Traced()) << "Cancel sends nothing";
}

TEST_P(LockingModeTest, LockDelayedSendsNothingAtEditAndLocksAtPost) {
  auto items = Items(lmLockDelayed);

  EXPECT_EQ(Lines{}, EditStep(*items));
  EXPECT_EQ((Lines{kSavepoint, kLock, kUpdate, "COMMIT"}), PostStep(*items, 11));
  trace_->Clear();
  items->Delete();
  EXPECT_EQ((Lines{kSavepoint, kLock, kDelete, "COMMIT"}), Traced());
}

TEST_P(LockingModeTest, NoneNeitherLocksNorChecks) {
  auto items = Items(lmNone);

  EXPECT_EQ(Lines{}, EditStep(*items));
  EXPECT_EQ((Lines{kSavepoint, kUpdate, "COMMIT"}), PostStep(*items, 11));
  trace_->Clear();
  items->Delete();
  EXPECT_EQ((Lines{kDelete, "COMMIT"}), Traced());
}

// --- Another user holds the row ---

TEST_P(LockingModeTest, ARowHeldByAnotherUserIsReportedAtEditInLockImmediate) {
  auto items = Items(lmLockImmediate);
  RunOther("select id from items where id = 1 for update");

  EXPECT_EQ("Record is locked by another user", ErrorOf([&] { items->Edit(); }));
  EXPECT_EQ(dsBrowse, items->State());
  other_->Rollback();
  items->Edit();
  EXPECT_EQ(dsEdit, items->State());
}

TEST_P(LockingModeTest, ARowHeldByAnotherUserIsReportedAtPostAndTheEditStays) {
  auto items = Items(lmCheckImmediate);
  items->Edit();
  items->FieldByName("QTY")->SetAsInteger(11);
  RunOther("select id from items where id = 1 for update");

  EXPECT_EQ("Record is locked by another user", ErrorOf([&] { items->Post(); }));
  EXPECT_EQ(dsEdit, items->State());
  EXPECT_EQ(11, items->FieldByName("QTY")->AsInteger());
  other_->Rollback();
  items->Post();
  EXPECT_EQ((Lines{"11"}), Committed("select qty from items where id = 1"));
}

TEST_P(LockingModeTest, ARowHeldByAnotherUserIsReportedAtDelete) {
  auto items = Items(lmLockDelayed);
  RunOther("select id from items where id = 1 for update");

  EXPECT_EQ("Record is locked by another user", ErrorOf([&] { items->Delete(); }));
  EXPECT_EQ(3, items->RecordCount());
  other_->Rollback();
}

TEST_P(LockingModeTest, TheLockErrorPassesOnTranslateMessageAsALockWithCode54) {
  auto items = Items(lmLockImmediate);
  std::string heard;
  items->SetOnTranslateMessage(
      [&](TOracleDataSet*, int code, const std::string&, char action, std::string& message) {
        heard = std::string(1, action) + std::to_string(code) + " " + message;
      });
  RunOther("select id from items where id = 1 for update");

  ErrorOf([&] { items->Edit(); });
  EXPECT_EQ("L54 Record is locked by another user", heard);
  other_->Rollback();
}

// --- Another user changed or deleted the row ---

TEST_P(LockingModeTest, AChangedRowIsReportedAtEditInCheckImmediate) {
  auto items = Items(lmCheckImmediate);
  RunOther("update items set name = 'bolt M6' where id = 1");
  CommitOther();

  EXPECT_EQ("Record has been changed by another user", ErrorOf([&] { items->Edit(); }));
  EXPECT_EQ(dsBrowse, items->State());
  // Refreshing shows the other user's value, and the edit goes on from it.
  items->Refresh();
  items->Edit();
  items->FieldByName("QTY")->SetAsInteger(11);
  items->Post();
  EXPECT_EQ((Lines{"bolt M6|11"}), Committed("select name, qty from items where id = 1"));
}

TEST_P(LockingModeTest, AChangedRowIsReportedAtPostAndNothingIsWritten) {
  MakeItems();
  for (TLockingModeOptions mode : {lmCheckImmediate, lmLockDelayed}) {
    SCOPED_TRACE(mode);
    auto items = OpenItems();
    items->SetLockingMode(mode);
    items->Edit();
    items->FieldByName("QTY")->SetAsInteger(11);
    RunOther("update items set price = price + 1 where id = 1");
    CommitOther();
    trace_->Clear();

    EXPECT_EQ("Record has been changed by another user", ErrorOf([&] { items->Post(); }));
    EXPECT_EQ((Lines{kSavepoint, kLock, "ROLLBACK TO SAVEPOINT ZUQ__LOCKPOINT"}), Traced());
    EXPECT_EQ(dsEdit, items->State());
    EXPECT_EQ((Lines{"10"}), Committed("select qty from items where id = 1"));
    items->Cancel();
  }
}

TEST_P(LockingModeTest, ADeletedRowIsReportedAtEditPostAndDelete) {
  auto items = Items(lmCheckImmediate);
  RunOther("delete from items where id = 1");
  CommitOther();

  EXPECT_EQ("Record has been deleted by another user", ErrorOf([&] { items->Edit(); }));
  items->SetLockingMode(lmLockDelayed);
  items->Edit();
  items->FieldByName("QTY")->SetAsInteger(11);
  EXPECT_EQ("Record has been deleted by another user", ErrorOf([&] { items->Post(); }));
  items->Cancel();
  EXPECT_EQ("Record has been deleted by another user", ErrorOf([&] { items->Delete(); }));
  EXPECT_EQ(3, items->RecordCount());
}

TEST_P(LockingModeTest, WithoutLockingAnUpdateOfADeletedRowSaysItIsLocked) {
  auto items = Items(lmNone);
  items->Edit();
  items->FieldByName("QTY")->SetAsInteger(11);
  RunOther("delete from items where id = 1");
  CommitOther();

  EXPECT_EQ("Record is locked by another user", ErrorOf([&] { items->Post(); }));
  items->Cancel();
  EXPECT_EQ("Record has been deleted by another user", ErrorOf([&] { items->Delete(); }));
}

TEST_P(LockingModeTest, NoneOverwritesAnotherUsersChange) {
  auto items = Items(lmNone);
  items->Edit();
  items->FieldByName("QTY")->SetAsInteger(11);
  RunOther("update items set qty = 50 where id = 1");
  CommitOther();

  items->Post();

  EXPECT_EQ((Lines{"11"}), Committed("select qty from items where id = 1"));
}

TEST_P(LockingModeTest, TheCheckToleratesWhatTheDatabaseRoundsOrPads) {
  Run("create table measures (id number(2), ratio number, code char(4), seen date)");
  Run("insert into measures values (1, 1/3, 'ab', to_date('2001-02-03 04:05:06', "
      "'YYYY-MM-DD HH24:MI:SS'))");
  session_->Commit();
  auto measures = NewDataSet("select rowid, id, ratio, code, seen from measures");
  measures->Open();

  // A float compared relatively, a CHAR's padding ignored, a date to the
  // second: the stored values are those just fetched, so nothing differs.
  measures->Edit();
  measures->FieldByName("ID")->SetAsInteger(2);
  measures->Post();
  EXPECT_EQ((Lines{"2"}), Committed("select id from measures"));
}

// --- A grid's error event ---

TEST_P(LockingModeTest, OnEditErrorHearsTheLockAndMayRetry) {
  auto items = Items(lmLockImmediate);
  RunOther("select id from items where id = 1 for update");
  std::vector<std::string> heard;
  items->SetOnEditError([&](TDataSet*, EDatabaseError& error, TDataAction& action) {
    heard.push_back(error.Message());
    // The other user finishes; the edit is tried again.
    other_->Rollback();
    action = heard.size() == 1 ? daRetry : daFail;
  });

  items->Edit();

  EXPECT_EQ((Lines{"Record is locked by another user"}), heard);
  EXPECT_EQ(dsEdit, items->State());
}

}  // namespace
}  // namespace vorn::dataset_test
