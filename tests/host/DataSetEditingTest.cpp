// Modification: Edit, Insert/Append, Post, Cancel and Delete with their
// events, the error events around the descendant's operations, the
// required-field check, Modified and the guards.
#include "DataSetFixture.h"

namespace vorn::dataset_test {
namespace {

using ::testing::ElementsAre;

// Fails its InternalEdit, InternalPost or InternalDelete a given number of
// times with a database error (or once with another error).
class FailingDataSet : public TMemDataSet {
 public:
  int editFailures = 0;
  int postFailures = 0;
  int deleteFailures = 0;
  bool failPostWithConvertError = false;
  int postAttempts = 0;

 protected:
  void InternalEdit() override {
    if (editFailures > 0) {
      --editFailures;
      DatabaseError("edit refused", nullptr);
    }
  }
  void InternalPost() override {
    ++postAttempts;
    if (failPostWithConvertError) throw EConvertError("not a database error");
    if (postFailures > 0) {
      --postFailures;
      DatabaseError("post refused", nullptr);
    }
    TMemDataSet::InternalPost();
  }
  void InternalDelete() override {
    if (deleteFailures > 0) {
      --deleteFailures;
      DatabaseError("delete refused", nullptr);
    }
    TMemDataSet::InternalDelete();
  }
};

class EditingTest : public DataSetTest {
 protected:
  void SetUp() override {
    ds = std::make_unique<FailingDataSet>();
    ds->FieldDefs().Add("ID", ftInteger);
    ds->FieldDefs().Add("NAME", ftString, 20);
  }
  FailingDataSet& failing() { return static_cast<FailingDataSet&>(*ds); }
  TField* Name() { return ds->FieldByName("NAME"); }
};

TEST_F(EditingTest, EditPostFiresItsEventsAndStoresTheValue) {
  OpenWith(3);
  std::vector<std::string> log;
  LogDataSetEvents(*ds, log);

  ds->Edit();
  EXPECT_EQ(ds->State(), dsEdit);
  Name()->SetAsString("changed");
  ds->Post();

  EXPECT_THAT(log, ElementsAre("BeforeEdit", "AfterEdit", "BeforePost", "AfterPost"));
  EXPECT_EQ(ds->State(), dsBrowse);
  ds->Next();
  ds->Prior();
  EXPECT_EQ(Name()->AsString(), "changed");
}

TEST_F(EditingTest, EditOfAnEditedRecordDoesNothing) {
  OpenWith(3);
  ds->Edit();
  std::vector<std::string> log;
  LogDataSetEvents(*ds, log);

  ds->Edit();

  EXPECT_TRUE(log.empty());
}

TEST_F(EditingTest, CancelOfAnEditRestoresTheRecordWithoutScrollEvents) {
  OpenWith(3);
  ds->Edit();
  Name()->SetAsString("changed");
  std::vector<std::string> log;
  LogDataSetEvents(*ds, log);

  ds->Cancel();

  EXPECT_EQ(Name()->AsString(), "r1");
  EXPECT_THAT(log, ElementsAre("BeforeCancel", "AfterCancel"));
}

TEST_F(EditingTest, InsertFiresItsEventsAroundOnNewRecord) {
  OpenWith(3);
  std::vector<std::string> log;
  LogDataSetEvents(*ds, log);

  ds->Insert();

  EXPECT_THAT(log, ElementsAre("BeforeInsert", "BeforeScroll", "OnNewRecord", "AfterInsert",
                               "AfterScroll"));
}

// The generation of the framework this library follows fires the scroll
// events when an insert is cancelled: the active record changes.
TEST_F(EditingTest, CancelOfAnInsertFiresScrollEvents) {
  OpenWith(3);
  ds->Insert();
  std::vector<std::string> log;
  LogDataSetEvents(*ds, log);

  ds->Cancel();

  EXPECT_THAT(log, ElementsAre("BeforeCancel", "BeforeScroll", "AfterCancel", "AfterScroll"));
  EXPECT_EQ(ds->RecordCount(), 3);
}

TEST_F(EditingTest, DeleteFiresItsEventsWithScrollEvents) {
  OpenWith(3);
  std::vector<std::string> log;
  LogDataSetEvents(*ds, log);

  ds->Delete();

  EXPECT_THAT(log, ElementsAre("BeforeDelete", "BeforeScroll", "AfterDelete", "AfterScroll"));
  EXPECT_EQ(Id(), 2);
}

TEST_F(EditingTest, DeleteWhileInsertingCancelsTheNewRecord) {
  OpenWith(3);
  ds->Insert();

  ds->Delete();

  EXPECT_EQ(ds->State(), dsBrowse);
  EXPECT_EQ(ds->RecordCount(), 3);
  EXPECT_EQ(Id(), 1);
}

TEST_F(EditingTest, DeleteWhileEditingDropsTheEdit) {
  OpenWith(3);
  ds->Edit();
  Name()->SetAsString("changed");

  ds->Delete();

  EXPECT_EQ(ds->State(), dsBrowse);
  EXPECT_EQ(ds->RecordCount(), 2);
  EXPECT_EQ(Name()->AsString(), "r2");
}

TEST_F(EditingTest, ValuesGivenByOnNewRecordAreNotChanges) {
  OpenWith(3);
  ds->SetOnNewRecord([](TDataSet* d) { d->FieldByName("NAME")->SetAsString("default"); });

  ds->Insert();
  EXPECT_EQ(Name()->AsString(), "default");
  EXPECT_FALSE(ds->Modified());
  ds->Next();  // browse mode: an untouched new record is cancelled

  EXPECT_EQ(ds->RecordCount(), 3);
}

TEST_F(EditingTest, ANewRecordChangedAfterOnNewRecordIsPostedByBrowseMode) {
  OpenWith(3);
  ds->SetOnNewRecord([](TDataSet* d) { d->FieldByName("NAME")->SetAsString("default"); });
  ds->Insert();
  ds->FieldByName("ID")->SetAsInteger(9);

  ds->CheckBrowseMode();

  EXPECT_EQ(ds->State(), dsBrowse);
  EXPECT_EQ(ds->RecordCount(), 4);
  EXPECT_EQ(Id(), 9);
  EXPECT_EQ(Name()->AsString(), "default");
}

TEST_F(EditingTest, AFailingOnNewRecordReturnsToBrowseMode) {
  RecordingLink& link = Link(3);
  OpenWith(5);
  ds->Next();
  ds->SetOnNewRecord([](TDataSet*) { throw EDatabaseError("no new records today"); });

  EXPECT_THROW(ds->Insert(), EDatabaseError);

  EXPECT_EQ(ds->State(), dsBrowse);
  EXPECT_EQ(Id(), 2);
  EXPECT_THAT(link.Rows(), ElementsAre(1, 2, 3));
}

TEST_F(EditingTest, ModifiedFollowsDataChangesAndEveryStateChange) {
  OpenWith(3);
  ds->Edit();
  EXPECT_FALSE(ds->Modified());

  Name()->SetAsString("x");
  EXPECT_TRUE(ds->Modified());

  ds->Post();
  EXPECT_FALSE(ds->Modified());
}

TEST_F(EditingTest, BrowseModeCancelsAnUnmodifiedEdit) {
  OpenWith(3);
  ds->Edit();
  std::vector<std::string> log;
  LogDataSetEvents(*ds, log);

  ds->CheckBrowseMode();

  EXPECT_THAT(log, ElementsAre("BeforeCancel", "AfterCancel"));
}

TEST_F(EditingTest, EditOfAnEmptyDatasetInserts) {
  OpenWith(0);

  ds->Edit();

  EXPECT_EQ(ds->State(), dsInsert);
}

TEST_F(EditingTest, PostErrorEventCanRetry) {
  OpenWith(3);
  failing().postFailures = 2;
  int calls = 0;
  ds->SetOnPostError([&calls](TDataSet*, EDatabaseError& e, TDataAction& action) {
    EXPECT_EQ(e.Message(), "post refused");
    EXPECT_EQ(action, daFail);
    ++calls;
    action = daRetry;
  });
  ds->Edit();
  Name()->SetAsString("x");

  ds->Post();

  EXPECT_EQ(calls, 2);
  EXPECT_EQ(failing().postAttempts, 3);
  EXPECT_EQ(ds->State(), dsBrowse);
  EXPECT_EQ(Name()->AsString(), "x");
}

TEST_F(EditingTest, PostErrorEventCanAbortSilently) {
  OpenWith(3);
  failing().postFailures = 1;
  ds->SetOnPostError([](TDataSet*, EDatabaseError&, TDataAction& action) { action = daAbort; });
  ds->Edit();
  Name()->SetAsString("x");

  EXPECT_THROW(ds->Post(), EAbort);

  EXPECT_EQ(ds->State(), dsEdit);
  EXPECT_EQ(Name()->AsString(), "x");
}

TEST_F(EditingTest, AFailedPostKeepsTheRecordInItsEditState) {
  OpenWith(3);
  failing().postFailures = 1;
  std::vector<std::string> log;
  ds->Insert();
  ds->FieldByName("ID")->SetAsInteger(5);
  LogDataSetEvents(*ds, log);

  try {
    ds->Post();
    FAIL() << "the post should fail";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "post refused");
  }

  EXPECT_EQ(ds->State(), dsInsert);
  EXPECT_EQ(Id(), 5);
  EXPECT_THAT(log, ElementsAre("BeforePost"));
  ds->Post();
  EXPECT_EQ(ds->RecordCount(), 4);
}

TEST_F(EditingTest, OnlyDatabaseErrorsReachTheErrorEvent) {
  OpenWith(3);
  failing().failPostWithConvertError = true;
  bool called = false;
  ds->SetOnPostError([&called](TDataSet*, EDatabaseError&, TDataAction&) { called = true; });
  ds->Edit();
  Name()->SetAsString("x");

  EXPECT_THROW(ds->Post(), EConvertError);
  EXPECT_FALSE(called);
}

TEST_F(EditingTest, EditAndDeleteErrorsReachTheirOwnEvents) {
  OpenWith(3);
  failing().editFailures = 1;
  failing().deleteFailures = 1;
  std::vector<std::string> seen;
  ds->SetOnEditError([&seen](TDataSet*, EDatabaseError& e, TDataAction& action) {
    seen.push_back("edit: " + e.Message());
    action = daRetry;
  });
  ds->SetOnDeleteError([&seen](TDataSet*, EDatabaseError& e, TDataAction&) {
    seen.push_back("delete: " + e.Message());
  });

  ds->Edit();
  EXPECT_EQ(ds->State(), dsEdit);
  ds->Cancel();
  EXPECT_THROW(ds->Delete(), EDatabaseError);

  EXPECT_THAT(seen, ElementsAre("edit: edit refused", "delete: delete refused"));
  EXPECT_EQ(ds->RecordCount(), 3);
}

// The base InternalPost checks required fields; this dataset keeps that
// check by calling it.
TEST_F(EditingTest, ARequiredFieldWithoutValueRefusesThePost) {
  ds->FieldDefs().Items(1)->SetRequired(true);
  OpenWith(3);
  Name()->SetDisplayLabel("Full name");
  TFieldDataLink nameLink;
  TDataSource source(nullptr);
  source.SetDataSet(ds.get());
  nameLink.SetFieldName("NAME");
  nameLink.SetDataSource(&source);
  int focused = 0;
  nameLink.SetOnFocusControl([&focused](TObject*) { ++focused; });
  ds->Insert();
  ds->FieldByName("ID")->SetAsInteger(4);

  try {
    ds->Post();
    FAIL() << "the post should fail";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Field 'Full name' must have a value");
  }
  EXPECT_EQ(focused, 1);
  EXPECT_EQ(ds->State(), dsInsert);

  Name()->SetAsString("given");
  ds->Post();
  EXPECT_EQ(ds->RecordCount(), 4);
}

TEST_F(EditingTest, ReadOnlyRequiredFieldsAreNotChecked) {
  ds->FieldDefs().Items(1)->SetRequired(true);
  OpenWith(3);
  Name()->SetReadOnly(true);
  ds->Insert();
  ds->FieldByName("ID")->SetAsInteger(4);

  ds->Post();

  EXPECT_EQ(ds->RecordCount(), 4);
}

TEST_F(EditingTest, AReadOnlyDatasetRefusesEditAndInsertButDeletes) {
  OpenWith(3);
  ds->SetName("Emp");
  ds->SetReadOnly(true);

  try {
    ds->Edit();
    FAIL() << "edit should be refused";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Emp: Cannot modify a read-only dataset");
  }
  EXPECT_THROW(ds->Insert(), EDatabaseError);
  EXPECT_THROW(ds->Append(), EDatabaseError);
  EXPECT_EQ(ds->State(), dsBrowse);
  ds->Delete();
  EXPECT_EQ(ds->RecordCount(), 2);
}

TEST_F(EditingTest, GuardsNameTheirOperation) {
  ds->SetName("Emp");
  EXPECT_THROW(ds->Next(), EDatabaseError);
  try {
    ds->Edit();
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Emp: Cannot perform this operation on a closed dataset");
  }
  OpenWith(0);
  try {
    ds->Delete();
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Emp: Cannot perform this operation on an empty dataset");
  }
  try {
    ds->Post();
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Emp: Dataset not in edit or insert mode");
  }
  EXPECT_THROW(ds->UpdateRecord(), EDatabaseError);
  EXPECT_THROW(ds->ClearFields(), EDatabaseError);
}

TEST_F(EditingTest, ClearFieldsEmptiesTheRecordBeingEdited) {
  OpenWith(3);
  RecordingLink& link = Link(1);
  ds->Edit();
  link.log.clear();

  ds->ClearFields();

  EXPECT_TRUE(ds->FieldByName("ID")->IsNull());
  EXPECT_TRUE(Name()->IsNull());
  EXPECT_THAT(link.log, ElementsAre("record"));
}

TEST_F(EditingTest, AppendRecordAddsAFilledRecordAtTheEnd) {
  OpenWith(3);
  std::vector<std::string> log;
  LogDataSetEvents(*ds, log);

  ds->AppendRecord({Variant(4), Variant("r4")});

  EXPECT_EQ(ds->State(), dsBrowse);
  EXPECT_EQ(Id(), 4);
  EXPECT_EQ(ds->RecordCount(), 4);
  EXPECT_THAT(log, ElementsAre("BeforeInsert", "BeforeScroll", "OnNewRecord", "AfterInsert",
                               "AfterScroll", "BeforePost", "AfterPost"));
  ds->Last();
  EXPECT_EQ(Id(), 4);
}

TEST_F(EditingTest, InsertRecordAddsInFrontOfTheCurrentRecordAndSkipsUnassignedValues) {
  OpenWith(3);
  ds->SetOnNewRecord([](TDataSet* d) { d->FieldByName("NAME")->SetAsString("default"); });
  ds->Next();

  ds->InsertRecord({Variant(10)});

  EXPECT_EQ(Id(), 10);
  EXPECT_EQ(Name()->AsString(), "default");
  ds->Next();
  EXPECT_EQ(Id(), 2);
  EXPECT_THROW(ds->InsertRecord({Variant(1), Variant("a"), Variant("too many")}), EListError);
  EXPECT_EQ(ds->State(), dsBrowse);
}

}  // namespace
}  // namespace vorn::dataset_test
