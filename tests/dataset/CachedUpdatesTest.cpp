// Cached updates: posts collected in the change log instead of written,
// merged into the result set when the query runs again, the update status
// and old values the log gives, and the log written (ApplyUpdates),
// cleared (CommitUpdates) and dropped (CancelUpdates).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "RecordTestSupport.h"
#include "vorn/host/Field.h"

namespace vorn::dataset_test {
namespace {

class CachedUpdatesTest : public RecordTest {
 protected:
  // ITEMS with ID, NAME and QTY, in cached mode, open.
  std::unique_ptr<ProbeDataSet> CachedItems() {
    MakeItems();
    auto items = NewDataSet("select rowid, i.id, i.name, i.qty from items i order by id");
    items->SetCachedUpdates(true);
    items->Open();
    return items;
  }
  static void Edit(TDataSet& dataSet, const std::string& field, const std::string& value) {
    dataSet.Edit();
    dataSet.FieldByName(field)->SetAsString(value);
    dataSet.Post();
  }
  static void InsertItem(TDataSet& dataSet, int id, const std::string& name) {
    dataSet.Insert();
    dataSet.FieldByName("ID")->SetAsInteger(id);
    dataSet.FieldByName("NAME")->SetAsString(name);
    dataSet.Post();
  }
  static void GoToId(TDataSet& dataSet, int id) {
    for (dataSet.First(); !dataSet.Eof(); dataSet.Next()) {
      if (dataSet.FieldByName("ID")->AsInteger() == id) return;
    }
    FAIL() << "no record " << id;
  }
  std::vector<std::string> CommittedItems() {
    return Committed("select id, name, qty from items order by id");
  }
  // The statements traced that begin with `prefix`.
  std::vector<std::string> TracedStartingWith(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& entry : Traced()) {
      if (entry.rfind(prefix, 0) == 0) found.push_back(entry);
    }
    return found;
  }
};

VORN_IN_BOTH_CALL_SETS(CachedUpdatesTest);

// --- Posting in cached mode ---

TEST_P(CachedUpdatesTest, PostsChangeTheRecordsAndWriteNothing) {
  auto items = CachedItems();
  trace_->Clear();

  items->Edit();
  items->FieldByName("NAME")->SetAsString("screw");
  items->Post();
  items->Last();
  items->Delete();
  InsertItem(*items, 7, "rivet");

  EXPECT_EQ((std::vector<std::string>{"1|screw|10", "7|rivet|", "2|nut|20"}), Rows(*items));
  EXPECT_TRUE(TracedStartingWith("UPDATE").empty());
  EXPECT_TRUE(TracedStartingWith("INSERT").empty());
  EXPECT_TRUE(TracedStartingWith("DELETE").empty());
  EXPECT_TRUE(TracedStartingWith("COMMIT").empty());
  EXPECT_TRUE(items->UpdatesPending());
  EXPECT_EQ((std::vector<std::string>{"1|bolt|10", "2|nut|20", "3|washer|30"}), CommittedItems());
}

TEST_P(CachedUpdatesTest, InsertingEditingAndDeletingARecordLeavesTheLogEmpty) {
  auto items = CachedItems();

  InsertItem(*items, 7, "rivet");
  Edit(*items, "NAME", "pin");
  items->Delete();

  EXPECT_FALSE(items->UpdatesPending());
  items->Refresh();
  EXPECT_EQ((std::vector<std::string>{"1|bolt|10", "2|nut|20", "3|washer|30"}), Rows(*items));
}

TEST_P(CachedUpdatesTest, EditingTwiceKeepsTheFetchedOldValuesAndWritesOneUpdate) {
  auto items = CachedItems();
  items->Next();

  Edit(*items, "NAME", "nut 2");
  Edit(*items, "NAME", "nut 3");

  EXPECT_EQ("nut 3", items->FieldByName("NAME")->AsString());
  EXPECT_EQ("nut", items->FieldByName("NAME")->OldValue().AsString());
  trace_->Clear();
  items->ApplyUpdates();
  EXPECT_EQ(1u, TracedStartingWith("UPDATE ITEMS").size());
  EXPECT_EQ((std::vector<std::string>{"1|bolt|10", "2|nut 3|20", "3|washer|30"}), CommittedItems());
}

TEST_P(CachedUpdatesTest, AnEditedThenDeletedRecordStaysHiddenAfterARefresh) {
  auto items = CachedItems();
  items->Next();
  Edit(*items, "QTY", "99");
  items->Delete();

  items->Refresh();

  EXPECT_EQ((std::vector<std::string>{"1|bolt|10", "3|washer|30"}), Rows(*items));
  items->ApplyUpdates();
  EXPECT_EQ((std::vector<std::string>{"1|bolt|10", "3|washer|30"}), CommittedItems());
}

TEST_P(CachedUpdatesTest, AnEditedRecordKeepsItsValuesWhenTheQueryRunsAgain) {
  auto items = CachedItems();
  items->Last();
  Edit(*items, "NAME", "flat washer");

  items->Refresh();

  EXPECT_EQ((std::vector<std::string>{"1|bolt|10", "2|nut|20", "3|flat washer|30"}), Rows(*items));
  EXPECT_EQ(usModified, items->UpdateStatus());
  EXPECT_EQ("washer", items->FieldByName("NAME")->OldValue().AsString());
}

TEST_P(CachedUpdatesTest, InsertsComeBackAtTheirPositionsAfterARefresh) {
  MakeNumbers(5);
  auto numbers = NewDataSet("select rowid, n.* from numbers_t n order by n");
  numbers->SetCachedUpdates(true);
  numbers->Open();
  auto insertAt = [&](int recNo, int n) {
    numbers->First();
    numbers->MoveBy(recNo - 1);
    numbers->Insert();
    numbers->FieldByName("N")->SetAsInteger(n);
    numbers->Post();
  };

  insertAt(4, 100);  // before the fourth record, list position 3
  insertAt(2, 200);  // position 1: the first insert moves to position 4
  numbers->Append();
  numbers->FieldByName("N")->SetAsInteger(300);
  numbers->Post();
  const std::vector<std::string> shown = Column(*numbers, "N");
  numbers->Refresh();

  EXPECT_EQ((std::vector<std::string>{"1", "200", "2", "3", "100", "4", "5", "300"}), shown);
  EXPECT_EQ(shown, Column(*numbers, "N"));
}

TEST_P(CachedUpdatesTest, InsertsBeyondTheEndOfANewResultComeAfterItsLastRow) {
  MakeNumbers(4);
  auto numbers = NewDataSet("select rowid, n.* from numbers_t n order by n");
  numbers->SetCachedUpdates(true);
  numbers->Open();
  numbers->Last();
  numbers->Insert();  // position 3, before the last row
  numbers->FieldByName("N")->SetAsInteger(100);
  numbers->Post();
  numbers->Append();  // position 5
  numbers->FieldByName("N")->SetAsInteger(200);
  numbers->Post();
  RunOther("delete from numbers_t where n >= 2");
  CommitOther();

  numbers->Refresh();

  EXPECT_EQ((std::vector<std::string>{"1", "100", "200"}), Column(*numbers, "N"));
}

TEST_P(CachedUpdatesTest, ADeletedMergedInsertMovesTheInsertsBehindItBack) {
  MakeNumbers(4);
  auto numbers = NewDataSet("select rowid, n.* from numbers_t n order by n");
  numbers->SetCachedUpdates(true);
  numbers->Open();
  numbers->First();
  numbers->Insert();  // position 0
  numbers->FieldByName("N")->SetAsInteger(100);
  numbers->Post();
  numbers->Last();
  numbers->Insert();  // position 4, before the last row
  numbers->FieldByName("N")->SetAsInteger(200);
  numbers->Post();
  numbers->First();
  numbers->Delete();  // the first insert goes: the second is at position 3 now
  numbers->Next();
  Edit(*numbers, "LABEL", "edited");
  numbers->Prior();
  numbers->Delete();  // an update turned delete leaves the list as well
  const std::vector<std::string> shown = Column(*numbers, "N");

  numbers->Refresh();

  EXPECT_EQ((std::vector<std::string>{"2", "3", "200", "4"}), shown);
  EXPECT_EQ(shown, Column(*numbers, "N"));
}

TEST_P(CachedUpdatesTest, AFilterHidesAMergedInsertThatFailsIt) {
  auto items = CachedItems();
  InsertItem(*items, 7, "rivet");
  InsertItem(*items, 8, "pin");
  items->SetFilter("NAME <> 'rivet'");
  items->SetFiltered(true);

  items->Refresh();

  EXPECT_EQ((std::vector<std::string>{"8|pin|", "1|bolt|10", "2|nut|20", "3|washer|30"}),
            Rows(*items));
  items->SetFiltered(false);
  EXPECT_EQ(5, items->RecordCount());
}

// --- What the log tells ---

TEST_P(CachedUpdatesTest, UpdateStatusOfEveryKindOfRecord) {
  auto items = CachedItems();
  EXPECT_EQ(usUnmodified, items->UpdateStatus()) << "fetched";
  items->Edit();
  EXPECT_EQ(usModified, items->UpdateStatus()) << "editing";
  items->FieldByName("QTY")->SetAsInteger(11);
  items->Post();
  EXPECT_EQ(usModified, items->UpdateStatus()) << "edited and posted";
  items->Insert();
  EXPECT_EQ(usInserted, items->UpdateStatus()) << "inserting";
  items->FieldByName("ID")->SetAsInteger(7);
  items->Post();
  EXPECT_EQ(usInserted, items->UpdateStatus()) << "inserted and posted";
  Edit(*items, "NAME", "rivet");
  EXPECT_EQ(usInserted, items->UpdateStatus()) << "inserted, then edited";
  items->Last();
  EXPECT_EQ(usUnmodified, items->UpdateStatus());

  items->Refresh();
  GoToId(*items, 1);
  EXPECT_EQ(usModified, items->UpdateStatus()) << "edited, after a refresh";
  GoToId(*items, 7);
  EXPECT_EQ(usInserted, items->UpdateStatus()) << "inserted, after a refresh";
  GoToId(*items, 3);
  EXPECT_EQ(usUnmodified, items->UpdateStatus());

  items->ApplyUpdates();
  GoToId(*items, 7);
  EXPECT_EQ(usUnmodified, items->UpdateStatus()) << "applied";
  items->SetCachedUpdates(false);
  EXPECT_EQ(usUnmodified, items->UpdateStatus());
}

TEST_P(CachedUpdatesTest, RecordNumbersOfAnEarlierResultDoNotNameItsRecords) {
  auto items = CachedItems();
  items->Next();
  Edit(*items, "NAME", "nut 2");  // record number 2
  RunOther("delete from items where id = 2");
  CommitOther();

  items->Refresh();  // the edited row is gone; record 3 (washer) is number 2 now
  GoToId(*items, 3);

  EXPECT_EQ(usUnmodified, items->UpdateStatus());
  EXPECT_EQ("washer", items->FieldByName("NAME")->OldValue().AsString());
}

TEST_P(CachedUpdatesTest, AnEditChecksTheRowOnlyBeforeTheRecordIsLogged) {
  auto items = CachedItems();
  trace_->Clear();

  Edit(*items, "NAME", "screw");
  const size_t checks = TracedStartingWith("select * from ITEMS").size();
  Edit(*items, "NAME", "pin");

  EXPECT_EQ(1u, checks);
  EXPECT_EQ(1u, TracedStartingWith("select * from ITEMS").size());
}

TEST_P(CachedUpdatesTest, ADeleteOfARowLockedByAnotherUserFailsAndLogsNothing) {
  auto items = CachedItems();
  items->SetLockingMode(lmLockImmediate);
  RunOther("update items set qty = 11 where id = 1");

  EXPECT_EQ("Record is locked by another user", ErrorOf([&] { items->Delete(); }));

  EXPECT_FALSE(items->UpdatesPending());
  EXPECT_EQ(3, items->RecordCount());
  other_->Rollback();
}

TEST_P(CachedUpdatesTest, CancelDoesNotRollBack) {
  auto items = CachedItems();
  items->SetLockingMode(lmLockImmediate);
  trace_->Clear();

  items->Edit();
  items->FieldByName("NAME")->SetAsString("screw");
  items->Cancel();

  EXPECT_TRUE(TracedStartingWith("ROLLBACK").empty());
  EXPECT_FALSE(items->UpdatesPending());
}

TEST_P(CachedUpdatesTest, ClosingDropsTheLog) {
  auto items = CachedItems();
  Edit(*items, "NAME", "screw");

  items->Close();
  items->Open();

  EXPECT_FALSE(items->UpdatesPending());
  EXPECT_EQ("bolt", items->FieldByName("NAME")->AsString());
}

// --- Applying ---

TEST_P(CachedUpdatesTest, ApplyingWritesDeletesThenUpdatesThenInsertsAndCommits) {
  auto items = CachedItems();
  InsertItem(*items, 7, "rivet");
  GoToId(*items, 2);
  Edit(*items, "QTY", "21");
  GoToId(*items, 1);
  items->Delete();
  trace_->Clear();

  EXPECT_TRUE(items->ApplyUpdates());

  std::vector<std::string> writes;
  for (const std::string& entry : Traced()) {
    for (const char* kind : {"DELETE", "UPDATE", "INSERT", "COMMIT"}) {
      if (entry.rfind(kind, 0) == 0) writes.push_back(kind);
    }
  }
  EXPECT_EQ((std::vector<std::string>{"DELETE", "UPDATE", "INSERT", "COMMIT"}), writes);
  EXPECT_EQ((std::vector<std::string>{"2|nut|21", "3|washer|30", "7|rivet|"}), CommittedItems());
  EXPECT_FALSE(items->UpdatesPending());
  EXPECT_EQ((std::vector<std::string>{"7|rivet|", "2|nut|21", "3|washer|30"}), Rows(*items));
}

TEST_P(CachedUpdatesTest, AKeyGivenUpByADeleteOrAnUpdateCanBeTakenAgain) {
  auto items = CachedItems();
  GoToId(*items, 1);
  items->Delete();
  GoToId(*items, 2);
  Edit(*items, "ID", "5");
  InsertItem(*items, 1, "new bolt");
  InsertItem(*items, 2, "new nut");

  items->ApplyUpdates();

  EXPECT_EQ((std::vector<std::string>{"1|new bolt|", "2|new nut|", "3|washer|30", "5|nut|20"}),
            CommittedItems());
}

TEST_P(CachedUpdatesTest, AnAppliedInsertHasItsRowidAndCanBeEditedAtOnce) {
  auto items = CachedItems();
  InsertItem(*items, 7, "rivet");
  items->ApplyUpdates();
  items->SetCachedUpdates(false);
  GoToId(*items, 7);

  EXPECT_FALSE(items->CurrentRowId().empty());
  Edit(*items, "NAME", "pop rivet");
  EXPECT_EQ((std::vector<std::string>{"pop rivet"}),
            Committed("select name from items where id = 7"));
}

TEST_P(CachedUpdatesTest, AFailingApplyLeavesDatabaseLogAndRecordsAsTheyWere) {
  auto items = CachedItems();
  GoToId(*items, 3);
  Edit(*items, "NAME", "flat washer");
  InsertItem(*items, 2, "second nut");  // the key is taken
  InsertItem(*items, 8, "pin");
  items->First();
  const std::vector<std::string> shown = Rows(*items);
  items->First();
  trace_->Clear();

  const std::string error = ErrorOf([&] { items->ApplyUpdates(); });

  EXPECT_NE(std::string::npos, error.find("ORA-00001")) << error;
  EXPECT_EQ((std::vector<std::string>{"1|bolt|10", "2|nut|20", "3|washer|30"}), CommittedItems());
  EXPECT_EQ("second nut", items->FieldByName("NAME")->AsString()) << "on the failing record";
  EXPECT_EQ(usInserted, items->UpdateStatus());
  EXPECT_EQ(shown, Rows(*items));
  EXPECT_TRUE(items->UpdatesPending());
  EXPECT_FALSE(TracedStartingWith("ROLLBACK TO SAVEPOINT ZUQ__APPLYPOINT").empty());
  items->Refresh();
  EXPECT_EQ(shown, Rows(*items)) << "the log merges as before";

  items->First();
  while (items->FieldByName("NAME")->AsString() != "second nut")
    items->Next();
  Edit(*items, "ID", "9");
  items->ApplyUpdates();
  EXPECT_EQ((std::vector<std::string>{"1|bolt|10", "2|nut|20", "3|flat washer|30", "8|pin|",
                                      "9|second nut|"}),
            CommittedItems());
}

TEST_P(CachedUpdatesTest, OnUpdateErrorNamesTheRecordAndActionAndMayKeepTheErrorQuiet) {
  auto items = CachedItems();
  GoToId(*items, 3);
  const TBookmark washer = items->GetBookmark();
  Edit(*items, "ID", "1");  // the key is taken
  items->First();
  std::string message;
  char action = ' ';
  uint32_t recordId = 0;
  std::string current;
  items->SetOnUpdateError(
      [&](TOracleDataSet* sender, const std::string& text, char kind, uint32_t id, bool& raise) {
        message = text;
        action = kind;
        recordId = id;
        current = sender->FieldByName("ID")->AsString();
        raise = false;
      });

  EXPECT_FALSE(items->ApplyUpdates());

  EXPECT_NE(std::string::npos, message.find("ORA-00001")) << message;
  EXPECT_EQ('U', action);
  uint32_t washerId = 0;
  std::memcpy(&washerId, washer.data(), sizeof washerId);
  EXPECT_EQ(washerId, recordId);
  EXPECT_EQ("1", current) << "the dataset is on the failing record";
  EXPECT_TRUE(items->UpdatesPending());
}

TEST_P(CachedUpdatesTest, AFailingDeleteNamesTheDeleteAndWritesNothing) {
  auto items = CachedItems();
  Edit(*items, "NAME", "screw");
  GoToId(*items, 2);
  items->Delete();
  RunOther("delete from items where id = 2");
  CommitOther();
  char action = ' ';
  items->SetOnUpdateError(
      [&](TOracleDataSet*, const std::string&, char kind, uint32_t, bool&) { action = kind; });

  EXPECT_EQ("Record has been deleted by another user", ErrorOf([&] { items->ApplyUpdates(); }));

  EXPECT_EQ('D', action);
  EXPECT_EQ((std::vector<std::string>{"1|bolt|10", "3|washer|30"}), CommittedItems());
  EXPECT_TRUE(items->UpdatesPending());
}

TEST_P(CachedUpdatesTest, InTheCallersTransactionTheApplyWaitsForItsCommit) {
  auto items = CachedItems();
  items->SetCommitOnPost(false);
  Run("insert into items (id, name) values (20, 'callers')");
  Edit(*items, "NAME", "screw");

  items->ApplyUpdates();

  EXPECT_FALSE(items->UpdatesPending());
  EXPECT_EQ((std::vector<std::string>{"1|bolt|10", "2|nut|20", "3|washer|30"}), CommittedItems());
  session_->Commit();
  EXPECT_EQ((std::vector<std::string>{"1|screw|10", "2|nut|20", "3|washer|30", "20|callers|"}),
            CommittedItems());
}

TEST_P(CachedUpdatesTest, AFailingApplyKeepsTheCallersOwnWork) {
  auto items = CachedItems();
  items->SetCommitOnPost(false);
  Run("insert into items (id, name) values (20, 'callers')");
  Edit(*items, "NAME", "screw");
  InsertItem(*items, 3, "taken");

  EXPECT_NE("", ErrorOf([&] { items->ApplyUpdates(); }));

  session_->Commit();
  EXPECT_EQ((std::vector<std::string>{"1|bolt|10", "2|nut|20", "3|washer|30", "20|callers|"}),
            CommittedItems());
}

TEST_P(CachedUpdatesTest, ChangesToRowsNotFetchedAgainYetAreApplied) {
  MakeNumbers(40);
  auto numbers = NewDataSet("select rowid, n.* from numbers_t n order by n");
  numbers->SetCachedUpdates(true);
  numbers->SetQueryAllRecords(false);
  numbers->Open();
  numbers->MoveBy(29);
  Edit(*numbers, "LABEL", "thirty");
  numbers->MoveBy(5);
  numbers->Delete();   // 35
  numbers->Refresh();  // rows 30 and 35 are not fetched again yet

  EXPECT_TRUE(numbers->ApplyUpdates());

  EXPECT_EQ((std::vector<std::string>{"30|thirty"}),
            Committed("select n, label from numbers_t where n in (30, 35)"));
  numbers->Last();
  EXPECT_EQ(39, numbers->RecordCount()) << "the rows the query had not given yet";
  numbers->First();
  numbers->MoveBy(29);
  EXPECT_EQ("30|thirty", numbers->FieldByName("N")->AsString() + "|" +
                             numbers->FieldByName("LABEL")->AsString());
}

TEST_P(CachedUpdatesTest, AnInsertTheFilterHidesGetsItsRowidWhenApplied) {
  auto items = CachedItems();
  InsertItem(*items, 7, "rivet");
  items->SetFilter("NAME <> 'rivet'");
  items->SetFiltered(true);
  items->Refresh();

  items->ApplyUpdates();

  items->SetFiltered(false);
  GoToId(*items, 7);
  EXPECT_EQ(Committed("select rowid from items where id = 7"),
            std::vector<std::string>{items->CurrentRowId()});
}

TEST_P(CachedUpdatesTest, WithUniqueFieldsAnAppliedInsertFindsItsRowidByTheNewKey) {
  MakeItems();
  auto items = NewDataSet("select rowid, i.id, i.name, i.qty from items i order by id");
  items->SetCachedUpdates(true);
  items->SetUniqueFields("ID");
  items->Open();
  InsertItem(*items, 7, "rivet");

  EXPECT_TRUE(items->ApplyUpdates());

  EXPECT_EQ(Committed("select rowid from items where id = 7"),
            std::vector<std::string>{items->CurrentRowId()});
}

TEST_P(CachedUpdatesTest, WithAutoCommitAFailingApplyCommitsNothing) {
  auto items = CachedItems();
  session_->SetAutoCommit(true);
  GoToId(*items, 1);
  items->Delete();
  Edit(*items, "NAME", "nut 2");
  InsertItem(*items, 3, "taken");

  EXPECT_NE("", ErrorOf([&] { items->ApplyUpdates(); }));

  EXPECT_EQ((std::vector<std::string>{"1|bolt|10", "2|nut|20", "3|washer|30"}), CommittedItems());
  EXPECT_TRUE(session_->AutoCommit());
  items->First();
  while (items->FieldByName("NAME")->AsString() != "taken")
    items->Next();
  Edit(*items, "ID", "9");
  EXPECT_TRUE(items->ApplyUpdates());
  EXPECT_EQ((std::vector<std::string>{"2|nut 2|20", "3|washer|30", "9|taken|"}), CommittedItems());
}

TEST_P(CachedUpdatesTest, OnApplyRecordSeesTheLoggedValuesAndMayWriteThemItself) {
  auto items = CachedItems();
  Edit(*items, "NAME", "screw");
  InsertItem(*items, 7, "rivet");
  std::vector<std::string> seen;
  items->SetOnApplyRecord(
      [&](TOracleDataSet* sender, char action, bool& applied, std::string& newRowId) {
        const Variant old = sender->FieldByName("NAME")->OldValue();
        seen.push_back(std::string(1, action) + ":" + sender->FieldByName("NAME")->AsString() +
                       "/" + (old.IsNull() || old.IsEmpty() ? "" : old.AsString()));
        applied = true;
        newRowId = "AAAAAAAAAAAAAAAAAA";
      });
  trace_->Clear();

  EXPECT_TRUE(items->ApplyUpdates());

  EXPECT_EQ((std::vector<std::string>{"L:screw/bolt", "U:screw/bolt", "I:rivet/"}), seen);
  EXPECT_TRUE(TracedStartingWith("UPDATE").empty());
  EXPECT_TRUE(TracedStartingWith("INSERT").empty());
  GoToId(*items, 7);
  EXPECT_EQ("AAAAAAAAAAAAAAAAAA", items->CurrentRowId());
}

TEST_P(CachedUpdatesTest, AnAppliedInsertIsReadBackWithTheServersDefaults) {
  Run("create table stock (id number(4) primary key, qty number(6) default 5)");
  auto stock = NewDataSet("select rowid, s.* from stock s order by id");
  stock->SetCachedUpdates(true);
  stock->SetRefreshOptions(roAfterInsert);
  stock->Open();
  stock->Insert();
  stock->FieldByName("ID")->SetAsInteger(1);
  stock->Post();
  EXPECT_TRUE(stock->FieldByName("QTY")->IsNull());

  stock->ApplyUpdates();

  EXPECT_EQ(5, stock->FieldByName("QTY")->AsInteger());
}

// --- Blob values ---

TEST_P(CachedUpdatesTest, BlobValuesAreLoggedMergedIntoANewResultAndApplied) {
  Run("create table notes_t (id number(4), notes long)");
  Run("insert into notes_t values (1, 'first note')");
  Run("insert into notes_t values (2, 'second note')");
  session_->Commit();
  auto notes = NewDataSet("select rowid, id, notes from notes_t order by id");
  notes->SetCachedUpdates(true);
  notes->Open();
  Edit(*notes, "NOTES", "changed note");
  notes->Next();
  Edit(*notes, "ID", "22");  // the note itself stays
  notes->Append();
  notes->FieldByName("ID")->SetAsInteger(3);
  notes->FieldByName("NOTES")->SetAsString("third note");
  notes->Post();

  notes->Refresh();

  EXPECT_EQ((std::vector<std::string>{"1|changed note", "22|second note", "3|third note"}),
            Rows(*notes));
  trace_->Clear();
  notes->ApplyUpdates();
  const std::vector<std::string> updates = TracedStartingWith("UPDATE NOTES_T");
  ASSERT_EQ(2u, updates.size());
  EXPECT_EQ("UPDATE NOTES_T SET\nNOTES = :NOTES\nWHERE ROWID = :ZUQ__ROWID", updates[0]);
  EXPECT_EQ("UPDATE NOTES_T SET\nID = :ID\nWHERE ROWID = :ZUQ__ROWID", updates[1]);
  EXPECT_EQ((std::vector<std::string>{"1|changed note", "3|third note", "22|second note"}),
            Committed("select id, notes from notes_t order by id"));
}

// --- Changes posted with CachedUpdates off while changes wait ---

TEST_P(CachedUpdatesTest, AnInsertWrittenWithCachedUpdatesOffIsNotAppliedAgain) {
  auto items = CachedItems();
  items->Last();
  InsertItem(*items, 7, "rivet");  // position 2, before washer
  items->SetCachedUpdates(false);
  items->First();
  InsertItem(*items, 0, "anchor");  // written at once, position 0
  items->SetCachedUpdates(true);
  const std::vector<std::string> shown = Rows(*items);

  items->Refresh();

  EXPECT_EQ(
      (std::vector<std::string>{"0|anchor|", "1|bolt|10", "2|nut|20", "7|rivet|", "3|washer|30"}),
      shown);
  EXPECT_EQ(shown, Rows(*items)) << "the waiting insert moved behind the written one";
  EXPECT_TRUE(items->ApplyUpdates());
  EXPECT_EQ(
      (std::vector<std::string>{"0|anchor|", "1|bolt|10", "2|nut|20", "3|washer|30", "7|rivet|"}),
      CommittedItems());
}

TEST_P(CachedUpdatesTest, AnUpdateWrittenWithCachedUpdatesOffJoinsTheWaitingOne) {
  auto items = CachedItems();
  Edit(*items, "NAME", "screw");
  items->SetCachedUpdates(false);
  items->SetLockingMode(lmNone);
  items->Edit();
  items->FieldByName("NAME")->SetAsString("pin");
  items->FieldByName("QTY")->SetAsInteger(11);
  items->Post();  // written at once
  items->SetCachedUpdates(true);
  items->SetLockingMode(lmCheckImmediate);

  EXPECT_TRUE(items->ApplyUpdates()) << "the row is checked against what it holds now";

  EXPECT_EQ((std::vector<std::string>{"1|pin|11", "2|nut|20", "3|washer|30"}), CommittedItems());
}

TEST_P(CachedUpdatesTest, ADeleteWrittenWithCachedUpdatesOffLeavesNothingToApplyForTheRecord) {
  auto items = CachedItems();
  Edit(*items, "NAME", "screw");
  items->Next();
  Edit(*items, "NAME", "nut 2");
  items->SetCachedUpdates(false);
  items->SetLockingMode(lmNone);
  items->First();
  items->Delete();  // written at once
  items->SetCachedUpdates(true);

  EXPECT_TRUE(items->ApplyUpdates());

  EXPECT_EQ((std::vector<std::string>{"2|nut 2|20", "3|washer|30"}), CommittedItems());
}

TEST_P(CachedUpdatesTest, WithoutWaitingChangesAPostWithCachedUpdatesOffIsNotLogged) {
  auto items = CachedItems();
  items->SetCachedUpdates(false);

  Edit(*items, "NAME", "screw");
  items->SetCachedUpdates(true);

  EXPECT_FALSE(items->UpdatesPending());
  EXPECT_EQ(usUnmodified, items->UpdateStatus());
}

// --- Cancelling ---

TEST_P(CachedUpdatesTest, CancellingDropsTheLogAndShowsTheFetchedRows) {
  auto items = CachedItems();
  Edit(*items, "NAME", "screw");
  items->Next();
  items->Delete();
  InsertItem(*items, 7, "rivet");
  items->Edit();
  items->FieldByName("NAME")->SetAsString("pending");

  items->CancelUpdates();

  EXPECT_FALSE(items->UpdatesPending());
  EXPECT_EQ(dsBrowse, items->State());
  EXPECT_EQ((std::vector<std::string>{"1|bolt|10", "2|nut|20", "3|washer|30"}), Rows(*items));
  EXPECT_EQ(usUnmodified, items->UpdateStatus());
  EXPECT_EQ((std::vector<std::string>{"1|bolt|10", "2|nut|20", "3|washer|30"}), CommittedItems());
}

}  // namespace
}  // namespace vorn::dataset_test
