// Blob fields: values through streams, the Modified flag and its record,
// CloseBlob at the end of an edit, and the field helpers.
#include "DataSetFixture.h"

namespace vorn::dataset_test {
namespace {

using ::testing::ElementsAre;

// Remembers the fields the framework asked to close.
class BlobDataSet : public TMemDataSet {
 public:
  std::vector<std::string> closed;

 protected:
  void CloseBlob(TField* field) override {
    closed.push_back(field->FieldName());
    TMemDataSet::CloseBlob(field);
  }
};

class BlobTest : public DataSetTest {
 protected:
  void SetUp() override {
    ds = std::make_unique<BlobDataSet>();
    ds->FieldDefs().Add("ID", ftInteger);
    ds->FieldDefs().Add("NOTE", ftMemo);
    ds->AddRow({1, "first note"});
    ds->AddRow({2, Null()});
    ds->AddRow({3, "third"});
  }
  TBlobField* Note() { return static_cast<TBlobField*>(ds->FieldByName("NOTE")); }
  BlobDataSet& blobs() { return static_cast<BlobDataSet&>(*ds); }
};

TEST_F(BlobTest, ValuesAreReadThroughAStream) {
  ds->Open();

  EXPECT_EQ(Note()->AsString(), "first note");
  EXPECT_EQ(Note()->BlobSize(), 10);
  EXPECT_EQ(Note()->DisplayText(), "(MEMO)");
  std::unique_ptr<TStream> stream = ds->CreateBlobStream(Note(), bmRead);
  char tail[2];
  stream->Seek(-2, soFromEnd);
  EXPECT_EQ(stream->Read(tail, 2), 2);
  EXPECT_EQ(std::string(tail, 2), "te");
  ds->Next();
  EXPECT_TRUE(Note()->IsNull());
  EXPECT_EQ(Note()->DisplayText(), "(Memo)");
}

TEST_F(BlobTest, WriteStreamsNeedAnEditMode) {
  ds->Open();

  EXPECT_THROW(ds->CreateBlobStream(Note(), bmWrite), EDatabaseError);
  EXPECT_THROW(Note()->SetAsString("x"), EDatabaseError);
  EXPECT_EQ(Note()->AsString(), "first note");
}

TEST_F(BlobTest, AWrittenStreamMarksTheFieldModifiedAndReportsTheChange) {
  ds->Open();
  RecordingLink& link = Link(1);
  ds->Edit();
  link.log.clear();

  Note()->SetAsString("rewritten");

  EXPECT_TRUE(Note()->Modified());
  EXPECT_TRUE(ds->Modified());
  EXPECT_EQ(Note()->AsString(), "rewritten");
  EXPECT_THAT(link.log, ElementsAre("record NOTE"));
}

TEST_F(BlobTest, AStreamThatWritesNothingLeavesTheFieldUnmodified) {
  ds->Open();
  ds->Edit();

  { std::unique_ptr<TStream> stream = ds->CreateBlobStream(Note(), bmReadWrite); }

  EXPECT_FALSE(Note()->Modified());
  EXPECT_FALSE(ds->Modified());
}

TEST_F(BlobTest, ModifiedHoldsOnlyWhileItsRecordIsActive) {
  RecordingLink& link = Link(3);
  ds->Open();
  ds->Edit();
  Note()->SetAsString("rewritten");

  link.SetActiveRecord(1);
  EXPECT_FALSE(Note()->Modified());
  link.SetActiveRecord(0);
  EXPECT_TRUE(Note()->Modified());
}

TEST_F(BlobTest, PostKeepsTheValueAndClosesTheBlob) {
  ds->Open();
  ds->Edit();
  Note()->SetAsString("rewritten");

  ds->Post();

  EXPECT_THAT(blobs().closed, ElementsAre("NOTE"));
  EXPECT_FALSE(Note()->Modified());
  ds->Next();
  ds->Prior();
  EXPECT_EQ(Note()->AsString(), "rewritten");
}

TEST_F(BlobTest, CancelDiscardsTheValueThroughCloseBlob) {
  ds->Open();
  ds->Edit();
  Note()->SetAsString("rewritten");

  ds->Cancel();

  EXPECT_THAT(blobs().closed, ElementsAre("NOTE"));
  EXPECT_EQ(Note()->AsString(), "first note");
  ds->Edit();
  std::unique_ptr<TStream> stream = ds->CreateBlobStream(Note(), bmReadWrite);
  EXPECT_EQ(stream->Size(), 10);
}

TEST_F(BlobTest, UnmodifiedBlobsAreNotClosed) {
  ds->Open();
  ds->Edit();
  ds->FieldByName("ID")->SetAsInteger(7);

  ds->Post();

  EXPECT_TRUE(blobs().closed.empty());
}

TEST_F(BlobTest, AFailedPostKeepsTheBlobEdit) {
  ds->FieldDefs().Items(0)->SetRequired(true);
  ds->Open();
  ds->Insert();
  Note()->SetAsString("draft");

  EXPECT_THROW(ds->Post(), EDatabaseError);

  EXPECT_TRUE(blobs().closed.empty());
  EXPECT_TRUE(Note()->Modified());
  EXPECT_EQ(Note()->AsString(), "draft");
}

TEST_F(BlobTest, ClearingAModifiedBlobMakesItNull) {
  ds->Open();
  ds->Edit();

  Note()->Clear();

  EXPECT_TRUE(Note()->Modified());
  EXPECT_TRUE(Note()->IsNull());
  EXPECT_EQ(Note()->DisplayText(), "(Memo)");
  ds->Post();
  EXPECT_TRUE(Note()->IsNull());
}

TEST_F(BlobTest, StreamsAppendAtTheEndAndGrowTheValue) {
  ds->Open();
  ds->Edit();
  {
    std::unique_ptr<TStream> stream = ds->CreateBlobStream(Note(), bmReadWrite);
    stream->Seek(0, soFromEnd);
    stream->WriteBuffer("!!", 2);
  }
  EXPECT_EQ(Note()->AsString(), "first note!!");
  {
    std::unique_ptr<TStream> stream = ds->CreateBlobStream(Note(), bmWrite);
    EXPECT_EQ(stream->Size(), 0);
    stream->WriteBuffer("0123456789", 10);
  }
  EXPECT_EQ(Note()->BlobSize(), 10);
}

TEST_F(BlobTest, ValuesLoadFromAndSaveToStreams) {
  ds->Open();
  ds->Edit();
  TMemoryStream source;
  source.WriteBuffer("loaded text", 11);

  Note()->LoadFromStream(source);
  TMemoryStream target;
  Note()->SaveToStream(target);

  EXPECT_EQ(std::string(reinterpret_cast<const char*>(target.Memory()), 11), "loaded text");
  EXPECT_EQ(Note()->AsVariant().AsString(), "loaded text");
}

TEST_F(BlobTest, CloseReleasesPendingBlobEdits) {
  ds->Open();
  ds->Edit();
  Note()->SetAsString("unsaved");

  ds->Close();

  EXPECT_THAT(blobs().closed, ElementsAre("NOTE"));
}

}  // namespace
}  // namespace vorn::dataset_test
