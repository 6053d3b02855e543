// Memo and blob fields over CLOB and BLOB columns (version 8 calls): values
// read whole when the row is fetched, edited through streams, and written
// back through the locators an EMPTY_CLOB() or EMPTY_BLOB() ... RETURNING
// statement gives; empty values become NULL.
#include <gtest/gtest.h>

#include "RecordTestSupport.h"
#include "vorn/host/BlobFields.h"
#include "vorn/host/Field.h"
#include "vorn/host/MemoryStream.h"
#include "vorn/session/SessionPreferences.h"

namespace vorn::dataset_test {
namespace {

using Lines = std::vector<std::string>;

class LobFieldTest : public RecordTest {
 protected:
  // DOCS_T (ID NUMBER(4), BODY CLOB, IMAGE BLOB) with row 1 ("first
  // text", bytes 01 02 03) and row 2 (both null); open, on row 1, the trace
  // cleared.
  std::unique_ptr<ProbeDataSet> OpenDocs() {
    Run("create table docs_t (id number(4), body clob, image blob)");
    Run("insert into docs_t values (1, 'first text', hextoraw('010203'))");
    Run("insert into docs_t values (2, null, null)");
    session_->Commit();
    auto docs = NewDataSet("select rowid, id, body, image from docs_t order by id");
    docs->SetLockingMode(lmNone);
    docs->Open();
    trace_->Clear();
    return docs;
  }

  static std::string ReadAll(TStream& stream) {
    std::string bytes(static_cast<size_t>(stream.Size()), '\0');
    stream.Seek(0, soFromBeginning);
    bytes.resize(
        static_cast<size_t>(stream.Read(bytes.data(), static_cast<int64_t>(bytes.size()))));
    return bytes;
  }

  static void LoadBytes(TField* field, const std::string& bytes) {
    TMemoryStream source;
    source.Write(bytes.data(), static_cast<int64_t>(bytes.size()));
    dynamic_cast<TBlobField*>(field)->LoadFromStream(source);
  }

  // The statements traced, without savepoints and commits.
  Lines Statements() const {
    Lines statements;
    for (const std::string& entry : Traced()) {
      if (entry.rfind("SAVEPOINT", 0) != 0 && entry != "COMMIT") statements.push_back(entry);
    }
    return statements;
  }
};

// LOB locators need the version 8 calls.
INSTANTIATE_TEST_SUITE_P(CallSets, LobFieldTest, ::testing::Values(session_test::CallSet::OCI8),
                         session_test::CallSetName);

TEST_P(LobFieldTest, FetchedValuesAreReadWholeAndNullsReportNull) {
  auto docs = OpenDocs();

  EXPECT_EQ(ftMemo, docs->FieldByName("BODY")->DataType());
  EXPECT_EQ(ftBlob, docs->FieldByName("IMAGE")->DataType());
  EXPECT_EQ("first text", docs->FieldByName("BODY")->AsString());
  auto image = docs->CreateBlobStream(docs->FieldByName("IMAGE"), bmRead);
  EXPECT_EQ(std::string("\x01\x02\x03", 3), ReadAll(*image));
  image.reset();
  docs->Next();
  EXPECT_TRUE(docs->FieldByName("BODY")->IsNull());
  EXPECT_TRUE(docs->FieldByName("IMAGE")->IsNull());
}

TEST_P(LobFieldTest, AnEditedClobIsWrittenThroughTheLocatorTheUpdateReturns) {
  auto docs = OpenDocs();

  docs->Edit();
  docs->FieldByName("BODY")->SetAsString("line one\r\nline two");
  docs->Post();

  EXPECT_EQ((Lines{"UPDATE DOCS_T SET\nBODY = EMPTY_CLOB()\nWHERE ROWID = :ZUQ__ROWID\n"
                   "RETURNING BODY INTO :BODY"}),
            Statements());
  // The server keeps bare line feeds; reading gives CR LF again.
  EXPECT_EQ((Lines{"17"}), Committed("select length(body) from docs_t where id = 1"));
  docs->Close();
  docs->Open();
  EXPECT_EQ("line one\r\nline two", docs->FieldByName("BODY")->AsString());
  EXPECT_EQ(std::string("\x01\x02\x03", 3), docs->FieldByName("IMAGE")->AsString())
      << "an unmodified LOB is left alone";
}

TEST_P(LobFieldTest, WithoutConvertCRLFTheClobTextIsWrittenAsItIs) {
  session_->LogOff();
  session_->Preferences()->SetConvertCRLF(false);
  session_->LogOn();
  auto docs = OpenDocs();

  docs->Edit();
  docs->FieldByName("BODY")->SetAsString("a\r\nb");
  docs->Post();

  EXPECT_EQ((Lines{"4"}), Committed("select length(body) from docs_t where id = 1"));
}

TEST_P(LobFieldTest, AnInsertWithABlobValueReturnsTheRowidAndTheLocator) {
  auto docs = OpenDocs();
  std::string bytes;
  for (int i = 0; bytes.size() < 4 * 1024 * 1024; ++i)
    bytes += static_cast<char>(i * 7 % 256);

  docs->Append();
  docs->FieldByName("ID")->SetAsInteger(3);
  LoadBytes(docs->FieldByName("IMAGE"), bytes);
  docs->Post();

  EXPECT_EQ((Lines{"INSERT INTO DOCS_T\n (ID, IMAGE)\nVALUES\n (:ID, EMPTY_BLOB())\n"
                   "RETURNING ROWID, IMAGE INTO :ZUQ__ROWID, :IMAGE"}),
            Statements());
  EXPECT_EQ((Lines{std::to_string(bytes.size()) + "|"}),
            Committed("select dbms_lob.getlength(image), body from docs_t where id = 3"));
  EXPECT_NE("", docs->CurrentRowId());
  // The new record can be edited at once: its rowid is the one returned.
  docs->Edit();
  docs->FieldByName("BODY")->SetAsString("caption");
  docs->Post();
  docs->Close();
  docs->Open();
  docs->Last();
  auto image = docs->CreateBlobStream(docs->FieldByName("IMAGE"), bmRead);
  EXPECT_TRUE(ReadAll(*image) == bytes);
  EXPECT_EQ("caption", docs->FieldByName("BODY")->AsString());
}

TEST_P(LobFieldTest, AnInsertWithAClobValueWritesTheTextThroughTheLocator) {
  auto docs = OpenDocs();

  docs->Insert();
  docs->FieldByName("ID")->SetAsInteger(3);
  docs->FieldByName("BODY")->SetAsString("new text");
  docs->Post();

  EXPECT_EQ((Lines{"INSERT INTO DOCS_T\n (ID, BODY)\nVALUES\n (:ID, EMPTY_CLOB())\n"
                   "RETURNING ROWID, BODY INTO :ZUQ__ROWID, :BODY"}),
            Statements());
  EXPECT_EQ((Lines{"new text|"}),
            Committed("select body, dbms_lob.getlength(image) from docs_t where id = 3"));
}

TEST_P(LobFieldTest, SeveralLobColumnsShareOneReturningClause) {
  auto docs = OpenDocs();
  docs->Next();

  docs->Edit();
  docs->FieldByName("BODY")->SetAsString("second");
  LoadBytes(docs->FieldByName("IMAGE"), std::string("\xff\x00\xfe", 3));
  docs->Post();

  EXPECT_EQ((Lines{"UPDATE DOCS_T SET\nBODY = EMPTY_CLOB(), IMAGE = EMPTY_BLOB()\n"
                   "WHERE ROWID = :ZUQ__ROWID\nRETURNING BODY, IMAGE INTO :BODY, :IMAGE"}),
            Statements());
  EXPECT_EQ((Lines{"second|3"}),
            Committed("select body, dbms_lob.getlength(image) from docs_t where id = 2"));
}

TEST_P(LobFieldTest, AnEmptiedValueIsWrittenAsNullAndAnEmptyOneLeftOutOfAnInsert) {
  auto docs = OpenDocs();

  docs->Edit();
  docs->CreateBlobStream(docs->FieldByName("BODY"), bmWrite).reset();
  docs->FieldByName("IMAGE")->Clear();
  docs->Post();
  docs->Append();
  docs->FieldByName("ID")->SetAsInteger(4);
  docs->CreateBlobStream(docs->FieldByName("IMAGE"), bmWrite).reset();
  docs->Post();

  EXPECT_EQ((Lines{"UPDATE DOCS_T SET\nBODY = NULL, IMAGE = NULL\nWHERE ROWID = :ZUQ__ROWID",
                   "INSERT INTO DOCS_T\n (ID)\nVALUES\n (:ID)\nRETURNING ROWID INTO :ZUQ__ROWID"}),
            Statements());
  EXPECT_EQ((Lines{"1|1", "4|1"}),
            Committed("select id, count(*) from docs_t where body is null and image is null "
                      "and id in (1, 4) group by id order by id"));
  docs->First();
  EXPECT_TRUE(docs->FieldByName("BODY")->IsNull());
}

TEST_P(LobFieldTest, ARowHeldByAnotherUserKeepsTheEditedLobForTheNextPost) {
  auto docs = OpenDocs();
  docs->SetLockingMode(lmCheckImmediate);
  docs->Edit();
  docs->FieldByName("BODY")->SetAsString("kept");
  // The other user holds the row: the update cannot take it.
  RunOther("select id from docs_t where id = 1 for update");

  EXPECT_EQ("Record is locked by another user", ErrorOf([&] { docs->Post(); }));
  EXPECT_EQ(dsEdit, docs->State());
  other_->Rollback();
  docs->Post();
  EXPECT_EQ((Lines{"kept"}), Committed("select body from docs_t where id = 1"));
}

TEST_P(LobFieldTest, InAutoCommitTheStatementAndItsLobWritesAreCommittedTogether) {
  auto docs = OpenDocs();
  session_->SetAutoCommit(true);

  docs->Edit();
  docs->FieldByName("BODY")->SetAsString("written whole");
  docs->Post();
  docs->Append();
  docs->FieldByName("ID")->SetAsInteger(5);
  LoadBytes(docs->FieldByName("IMAGE"), "bytes");
  docs->Post();

  EXPECT_TRUE(session_->AutoCommit());
  EXPECT_EQ((Lines{"written whole"}), Committed("select body from docs_t where id = 1"));
  EXPECT_EQ((Lines{"5"}), Committed("select dbms_lob.getlength(image) from docs_t where id = 5"));
}

TEST_P(LobFieldTest, InAutoCommitAFailedPostKeepsAutoCommitAndTheStoredValue) {
  auto docs = OpenDocs();
  session_->SetAutoCommit(true);
  docs->Edit();
  docs->FieldByName("BODY")->SetAsString("never stored");
  docs->FieldByName("ID")->SetAsString("99999");

  EXPECT_NE("", ErrorOf([&] { docs->Post(); })) << "ID is NUMBER(4)";

  EXPECT_TRUE(session_->AutoCommit());
  EXPECT_EQ(dsEdit, docs->State());
  EXPECT_EQ((Lines{"first text"}), Committed("select body from docs_t where id = 1"));
  docs->Cancel();
}

}  // namespace
}  // namespace vorn::dataset_test
