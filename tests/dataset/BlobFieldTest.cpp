// Memo and blob fields edited through streams and posted: LONG, LONG RAW
// and long VARCHAR2 columns, values of several megabytes, empty values
// written as NULL; and a grid with a cell editor and a memo control editing
// through TFieldDataLink.
#include <gtest/gtest.h>

#include "RecordTestSupport.h"
#include "vorn/host/BlobFields.h"
#include "vorn/host/DataSource.h"
#include "vorn/host/Field.h"
#include "vorn/host/FieldDataLink.h"
#include "vorn/host/MemoryStream.h"
#include "vorn/session/SessionPreferences.h"

namespace vorn::dataset_test {
namespace {

using Lines = std::vector<std::string>;

class BlobFieldTest : public RecordTest {
 protected:
  // NOTES_T (ID NUMBER(4), NOTES LONG) with row 1 "first note", row 2 null;
  // open, on row 1.
  std::unique_ptr<ProbeDataSet> OpenNotes() {
    Run("create table notes_t (id number(4), notes long)");
    Run("insert into notes_t values (1, 'first note')");
    Run("insert into notes_t values (2, null)");
    session_->Commit();
    auto notes = NewDataSet("select rowid, id, notes from notes_t order by id");
    notes->SetLockingMode(lmNone);
    notes->Open();
    return notes;
  }

  static std::string ReadAll(TStream& stream) {
    std::string text(static_cast<size_t>(stream.Size()), '\0');
    stream.Seek(0, soFromBeginning);
    text.resize(static_cast<size_t>(stream.Read(text.data(), static_cast<int64_t>(text.size()))));
    return text;
  }
};

VORN_IN_BOTH_CALL_SETS(BlobFieldTest);

// --- Streams ---

TEST_P(BlobFieldTest, AWriteStreamStartsEmptyAndGrowsWithWhatIsWritten) {
  auto notes = OpenNotes();
  TField* field = notes->FieldByName("NOTES");
  notes->Edit();

  auto stream = notes->CreateBlobStream(field, bmWrite);
  EXPECT_EQ(0, stream->Size());
  EXPECT_EQ(10, stream->Write("0123456789", 10));
  EXPECT_EQ(10, stream->Size());
  stream.reset();

  EXPECT_TRUE(dynamic_cast<TBlobField*>(field)->Modified());
  EXPECT_EQ("0123456789", field->AsString());
}

TEST_P(BlobFieldTest, SeekingFromTheEndReadsTheLastBytesAndWritingThereAppends) {
  auto notes = OpenNotes();
  TField* field = notes->FieldByName("NOTES");
  auto reader = notes->CreateBlobStream(field, bmRead);
  char last[3] = {};

  EXPECT_EQ(8, reader->Seek(-2, soFromEnd));
  EXPECT_EQ(2, reader->Read(last, 5));
  EXPECT_EQ(std::string("te"), last);
  EXPECT_EQ(0, reader->Read(last, 2)) << "nothing past the end";
  reader.reset();

  notes->Edit();
  auto writer = notes->CreateBlobStream(field, bmReadWrite);
  writer->Seek(0, soFromEnd);
  writer->Write(" and more", 9);
  writer.reset();
  notes->Post();
  EXPECT_EQ((Lines{"first note and more"}),
            Committed("select notes from notes_t where id = 1"));
}

TEST_P(BlobFieldTest, WritingPastTheEndLeavesAGapOfZeroBytes) {
  auto notes = OpenNotes();
  notes->Edit();
  auto writer = notes->CreateBlobStream(notes->FieldByName("NOTES"), bmWrite);

  writer->Seek(3, soFromBeginning);
  writer->Write("x", 1);

  EXPECT_EQ(std::string("\0\0\0x", 4), ReadAll(*writer));
}

TEST_P(BlobFieldTest, AStreamThatWroteNothingLeavesTheFieldUnmodified) {
  auto notes = OpenNotes();
  TField* field = notes->FieldByName("NOTES");
  notes->Edit();
  trace_->Clear();

  notes->CreateBlobStream(field, bmReadWrite).reset();
  notes->FieldByName("ID")->SetAsInteger(5);
  notes->Post();

  EXPECT_FALSE(dynamic_cast<TBlobField*>(field)->Modified());
  EXPECT_EQ((Lines{"SAVEPOINT ZUQ__LOCKPOINT", "UPDATE NOTES_T SET\nID = :ID\nWHERE ROWID = :ZUQ__ROWID",
                   "COMMIT"}),
            Traced());
  EXPECT_EQ((Lines{"5|first note"}), Committed("select id, notes from notes_t where id = 5"));
}

TEST_P(BlobFieldTest, WritingWhileBrowsingIsRefused) {
  auto notes = OpenNotes();
  TField* field = notes->FieldByName("NOTES");

  EXPECT_EQ("Dataset not in edit or insert mode",
            ErrorOf([&] { notes->CreateBlobStream(field, bmWrite); }));
  EXPECT_EQ("Dataset not in edit or insert mode",
            ErrorOf([&] { notes->CreateBlobStream(field, bmReadWrite); }));
  EXPECT_EQ("first note", ReadAll(*notes->CreateBlobStream(field, bmRead)));
}

TEST_P(BlobFieldTest, ANullValueReadsAsNullAndAnEmptyStream) {
  auto notes = OpenNotes();
  notes->Next();

  EXPECT_TRUE(notes->FieldByName("NOTES")->IsNull());
  EXPECT_EQ(0, notes->CreateBlobStream(notes->FieldByName("NOTES"), bmRead)->Size());
  EXPECT_EQ("(Memo)", notes->FieldByName("NOTES")->DisplayText());
}

// --- Posting LONG values ---

TEST_P(BlobFieldTest, AnEditedLongIsBoundAsAStringAndStoredWithTheRecord) {
  auto notes = OpenNotes();
  trace_->Clear();

  notes->Edit();
  notes->FieldByName("NOTES")->SetAsString("second thoughts");
  notes->Post();

  EXPECT_EQ((Lines{"SAVEPOINT ZUQ__LOCKPOINT",
                   "UPDATE NOTES_T SET\nNOTES = :NOTES\nWHERE ROWID = :ZUQ__ROWID", "COMMIT"}),
            Traced());
  EXPECT_EQ((Lines{"second thoughts"}), Committed("select notes from notes_t where id = 1"));
  EXPECT_EQ("second thoughts", notes->FieldByName("NOTES")->AsString());
  notes->Next();
  notes->Prior();
  EXPECT_EQ("second thoughts", notes->FieldByName("NOTES")->AsString()) << "the stored record";
}

TEST_P(BlobFieldTest, AnEmptyValueIsWrittenAsNull) {
  auto notes = OpenNotes();
  trace_->Clear();

  notes->Edit();
  notes->FieldByName("NOTES")->Clear();
  notes->Post();

  EXPECT_EQ((Lines{"SAVEPOINT ZUQ__LOCKPOINT",
                   "UPDATE NOTES_T SET\nNOTES = NULL\nWHERE ROWID = :ZUQ__ROWID", "COMMIT"}),
            Traced());
  EXPECT_EQ((Lines{"1"}), Committed("select count(*) from notes_t where notes is null and id = 1"));
  EXPECT_TRUE(notes->FieldByName("NOTES")->IsNull());
}

TEST_P(BlobFieldTest, AValueOfSeveralMegabytesMakesTheRoundTrip) {
  auto notes = OpenNotes();
  std::string big;
  for (int i = 0; big.size() < 3 * 1024 * 1024; ++i)
    big += "line " + std::to_string(i) + " of a long text\n";

  notes->Edit();
  notes->FieldByName("NOTES")->SetAsString(big);
  notes->Post();
  notes->Close();
  notes->Open();

  const std::string back = notes->FieldByName("NOTES")->AsString();
  EXPECT_EQ(big.size() + std::count(big.begin(), big.end(), '\n'), back.size())
      << "line breaks read back as CR LF";
  std::string withoutReturns = back;
  withoutReturns.erase(std::remove(withoutReturns.begin(), withoutReturns.end(), '\r'),
                       withoutReturns.end());
  EXPECT_TRUE(withoutReturns == big);
}

TEST_P(BlobFieldTest, AnInsertLeavesAnEmptyLongOutAndWritesAFilledOne) {
  auto notes = OpenNotes();
  trace_->Clear();

  notes->Append();
  notes->FieldByName("ID")->SetAsInteger(3);
  notes->Post();
  notes->Append();
  notes->FieldByName("ID")->SetAsInteger(4);
  notes->FieldByName("NOTES")->SetAsString("fourth");
  notes->Post();

  Lines inserts;
  for (const std::string& entry : Traced()) {
    if (entry.rfind("INSERT", 0) == 0) inserts.push_back(entry.substr(0, entry.find("\nRETURNING")));
  }
  EXPECT_EQ((Lines{"INSERT INTO NOTES_T\n (ID)\nVALUES\n (:ID)",
                   "INSERT INTO NOTES_T\n (ID, NOTES)\nVALUES\n (:ID, :NOTES)"}),
            inserts);
  EXPECT_EQ((Lines{"3|", "4|fourth"}), Committed("select id, notes from notes_t where id > 2 order by id"));
  EXPECT_EQ("fourth", notes->FieldByName("NOTES")->AsString());
}

TEST_P(BlobFieldTest, CancelDiscardsTheEditedValue) {
  auto notes = OpenNotes();
  notes->Edit();
  notes->FieldByName("NOTES")->SetAsString("never mind");

  notes->Cancel();

  EXPECT_EQ("first note", notes->FieldByName("NOTES")->AsString());
  notes->Edit();
  notes->FieldByName("ID")->SetAsInteger(9);
  notes->Post();
  EXPECT_EQ((Lines{"first note"}), Committed("select notes from notes_t where id = 9"));
}

// --- LONG RAW ---

TEST_P(BlobFieldTest, LongRawBytesArePostedAsAByteArray) {
  Run("create table pictures (id number(4), image long raw)");
  Run("insert into pictures values (1, null)");
  session_->Commit();
  auto pictures = NewDataSet("select rowid, id, image from pictures");
  pictures->SetLockingMode(lmNone);
  pictures->Open();
  const std::string bytes("\x89PNG\0\r\n\x1a\0\xff", 10);
  TMemoryStream source;
  source.Write(bytes.data(), static_cast<int64_t>(bytes.size()));

  pictures->Edit();
  dynamic_cast<TBlobField*>(pictures->FieldByName("IMAGE"))->LoadFromStream(source);
  pictures->Post();
  pictures->Insert();
  pictures->FieldByName("ID")->SetAsInteger(2);
  dynamic_cast<TBlobField*>(pictures->FieldByName("IMAGE"))->LoadFromStream(source);
  pictures->Post();
  pictures->Close();
  pictures->Open();

  for (pictures->First(); !pictures->Eof(); pictures->Next()) {
    auto stream = pictures->CreateBlobStream(pictures->FieldByName("IMAGE"), bmRead);
    EXPECT_EQ(bytes, ReadAll(*stream)) << pictures->FieldByName("ID")->AsString();
  }
  EXPECT_EQ(2, pictures->RecordCount());
}

// --- Long VARCHAR2 columns as memos ---

TEST_P(BlobFieldTest, ALongVarchar2ShownAsAMemoIsPostedAsAString) {
  session_->Preferences()->SetMaxStringFieldSize(100);
  Run("create table remarks (id number(4), remark varchar2(2000))");
  Run("insert into remarks values (1, 'short')");
  session_->Commit();
  auto remarks = NewDataSet("select rowid, id, remark from remarks");
  remarks->SetLockingMode(lmNone);
  remarks->Open();
  ASSERT_EQ(ftMemo, remarks->FieldByName("REMARK")->DataType());
  const std::string text(1500, 'r');
  trace_->Clear();

  remarks->Edit();
  remarks->FieldByName("REMARK")->SetAsString(text);
  remarks->Post();

  EXPECT_EQ((Lines{"SAVEPOINT ZUQ__LOCKPOINT",
                   "UPDATE REMARKS SET\nREMARK = :REMARK\nWHERE ROWID = :ZUQ__ROWID", "COMMIT"}),
            Traced());
  EXPECT_EQ((Lines{"1500"}), Committed("select length(remark) from remarks"));
}

// --- Controls ---

// A grid's cell editor: a control showing one field of the active record,
// which puts the dataset into edit mode when typed into and writes its text
// when the dataset asks (as a data-aware edit box does).
class CellEditor {
 public:
  CellEditor(TDataSource& source, const std::string& field) {
    link_.SetOnDataChange([this](TObject*) {
      text_ = link_.Field() != nullptr ? link_.Field()->Text() : "";
      ++reloads;
    });
    link_.SetOnUpdateData([this](TObject*) { link_.Field()->SetText(text_); });
    link_.SetFieldName(field);
    link_.SetDataSource(&source);
  }
  ~CellEditor() { link_.SetDataSource(nullptr); }
  CellEditor(const CellEditor&) = delete;
  CellEditor& operator=(const CellEditor&) = delete;

  // The user types `text`; false when the control refuses the keys.
  bool Type(const std::string& text) {
    if (!link_.Edit()) return false;
    text_ = text;
    link_.Modified();
    return true;
  }
  const std::string& Text() const { return text_; }

  int reloads = 0;

 private:
  TFieldDataLink link_;
  std::string text_;
};

TEST_P(BlobFieldTest, AGridEditsThroughItsCellEditorAndPostsWhenItMoves) {
  MakeItems();
  auto items = OpenItems();
  TDataSource source(nullptr);
  source.SetDataSet(items.get());
  WindowLink grid(*items, 3);
  CellEditor nameCell(source, "NAME");
  CellEditor qtyCell(source, "QTY");
  EXPECT_EQ("bolt", nameCell.Text());

  ASSERT_TRUE(nameCell.Type("hex bolt"));
  ASSERT_TRUE(qtyCell.Type("12"));
  EXPECT_EQ(dsEdit, items->State());
  EXPECT_EQ((Lines{"bolt", "nut", "washer"}), grid.Shown("NAME")) << "nothing written yet";
  grid.MoveBy(1);

  EXPECT_EQ(dsBrowse, items->State());
  EXPECT_EQ("nut", nameCell.Text());
  EXPECT_EQ((Lines{"hex bolt", "nut", "washer"}), grid.Shown("NAME"));
  EXPECT_EQ((Lines{"hex bolt|12"}), Committed("select name, qty from items where id = 1"));
  source.SetDataSet(nullptr);
}

TEST_P(BlobFieldTest, ACellEditorIsRefusedWhenAnotherUserHoldsTheRow) {
  MakeItems();
  auto items = OpenItems();
  items->SetLockingMode(lmLockImmediate);
  TDataSource source(nullptr);
  source.SetDataSet(items.get());
  CellEditor nameCell(source, "NAME");
  RunOther("select id from items where id = 1 for update");

  EXPECT_EQ("Record is locked by another user", ErrorOf([&] { nameCell.Type("x"); }));
  EXPECT_EQ(dsBrowse, items->State());
  EXPECT_EQ("bolt", nameCell.Text());
  other_->Rollback();
  source.SetDataSet(nullptr);
}

TEST_P(BlobFieldTest, AMemoControlEditsALongThroughItsLink) {
  auto notes = OpenNotes();
  TDataSource source(nullptr);
  source.SetDataSet(notes.get());
  CellEditor memo(source, "NOTES");
  EXPECT_EQ("(MEMO)", memo.Text()) << "a memo's text is its tag; the control reads AsString";

  ASSERT_TRUE(memo.Type("typed into the memo"));
  notes->Post();

  EXPECT_EQ((Lines{"typed into the memo"}), Committed("select notes from notes_t where id = 1"));
  source.SetDataSet(nullptr);
}

}  // namespace
}  // namespace vorn::dataset_test
