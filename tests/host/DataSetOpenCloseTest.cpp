// Opening and closing: event order, when controls see the state change,
// buffer allocation and the reads made at open.
#include "DataSetFixture.h"

namespace vorn::dataset_test {
namespace {

using ::testing::ElementsAre;

class OpenCloseTest : public DataSetTest {
 protected:
  // Dataset events and the data source's state changes in one log.
  void LogAll() {
    LogDataSetEvents(*ds, events);
    watcher.SetDataSet(ds.get());
    watcher.SetOnStateChange([this](TObject*) {
      events.push_back(watcher.State() == dsInactive ? "inactive" : "state");
    });
  }

  std::vector<std::string> events;
  TDataSource watcher{nullptr};
};

TEST_F(OpenCloseTest, OpenActivatesControlsBeforeAfterOpen) {
  LogAll();
  for (int i = 1; i <= 3; ++i)
    ds->AddRow({i, "x"});

  ds->Open();

  EXPECT_THAT(events, ElementsAre("BeforeOpen", "state", "AfterOpen", "AfterScroll"));
  EXPECT_TRUE(ds->Active());
  EXPECT_EQ(ds->State(), dsBrowse);
  EXPECT_TRUE(ds->Bof());
  EXPECT_FALSE(ds->Eof());
  EXPECT_FALSE(ds->IsEmpty());
}

TEST_F(OpenCloseTest, AnEmptyDatasetOpensWithoutAfterScroll) {
  LogAll();

  ds->Open();

  EXPECT_THAT(events, ElementsAre("BeforeOpen", "state", "AfterOpen"));
  EXPECT_TRUE(ds->IsEmpty());
  EXPECT_TRUE(ds->Bof());
  EXPECT_TRUE(ds->Eof());
}

TEST_F(OpenCloseTest, CloseBlanksControlsBeforeReleasingTheBuffers) {
  OpenWith(3);
  LogAll();
  int buffersWhenBlanked = -1;
  int buffersAfterClose = -1;
  watcher.SetOnStateChange([&](TObject*) { buffersWhenBlanked = ds->LiveBuffers(); });
  ds->SetAfterClose([&](TDataSet*) { buffersAfterClose = ds->LiveBuffers(); });

  ds->Close();

  EXPECT_EQ(buffersWhenBlanked, 2);
  EXPECT_EQ(buffersAfterClose, 0);
  EXPECT_FALSE(ds->Active());
  EXPECT_EQ(ds->State(), dsInactive);
}

TEST_F(OpenCloseTest, CloseFiresBeforeAndAfterClose) {
  OpenWith(3);
  LogAll();

  ds->Close();
  ds->Close();

  EXPECT_THAT(events, ElementsAre("BeforeClose", "inactive", "AfterClose"));
}

TEST_F(OpenCloseTest, OpeningAnOpenDatasetDoesNothing) {
  OpenWith(3);
  ds->Next();
  LogAll();

  ds->Open();

  EXPECT_TRUE(events.empty());
  EXPECT_EQ(Id(), 2);
}

TEST_F(OpenCloseTest, ARefusingBeforeOpenLeavesTheDatasetClosed) {
  ds->SetBeforeOpen([](TDataSet*) { Abort(); });

  EXPECT_THROW(ds->Open(), EAbort);

  EXPECT_FALSE(ds->Active());
  EXPECT_EQ(ds->FieldCount(), 0);
  EXPECT_EQ(ds->LiveBuffers(), 0);
}

TEST_F(OpenCloseTest, AFailedOpenFiresNoAfterOpen) {
  auto* wrong = new TFloatField(ds.get());
  wrong->SetFieldName("ID");
  wrong->SetDataSet(ds.get());
  LogAll();

  EXPECT_THROW(ds->Open(), EDatabaseError);

  EXPECT_THAT(events, ElementsAre("BeforeOpen"));
  EXPECT_EQ(watcher.State(), dsInactive);
}

// Without data links the window holds one record (plus the scratch buffer),
// so opening reads one record.
TEST_F(OpenCloseTest, WithoutLinksTheWindowHoldsOneRecord) {
  OpenWith(5);

  EXPECT_EQ(ds->LiveBuffers(), 2);
  EXPECT_EQ(ds->GetRecordCalls(), 1);
}

TEST_F(OpenCloseTest, TheWindowIsSizedForTheLargestLink) {
  Link(2);
  Link(4);
  OpenWith(5);

  EXPECT_EQ(ds->LiveBuffers(), 5);
  EXPECT_EQ(ds->GetRecordCalls(), 4);
}

TEST_F(OpenCloseTest, AnEmptyDatasetIsAskedForOneRecord) {
  Link(3);
  OpenWith(0);

  EXPECT_EQ(ds->GetRecordCalls(), 1);
  EXPECT_EQ(ds->LiveBuffers(), 4);
}

TEST_F(OpenCloseTest, AttachingALinkToAnOpenDatasetResizesTheWindowSilently) {
  OpenWith(5);
  RecordingLink& link = Link(3);

  EXPECT_EQ(ds->LiveBuffers(), 4);
  EXPECT_THAT(link.Rows(), ElementsAre(1, 2, 3));
  EXPECT_THAT(link.log, ElementsAre("active"));

  link.SetDataSource(nullptr);
  EXPECT_EQ(ds->LiveBuffers(), 2);
  EXPECT_THAT(link.log, ElementsAre("active", "inactive"));
}

TEST_F(OpenCloseTest, ReopeningStartsAtTheFirstRecordWithFreshDefaultFields) {
  OpenWith(3);
  ds->Last();
  ds->Close();
  EXPECT_EQ(ds->FieldCount(), 0);
  for (int i = 1; i <= 3; ++i)
    ds->AddRow({i * 10, "x"});

  ds->Open();

  EXPECT_EQ(Id(), 10);
  EXPECT_EQ(ds->FieldCount(), 2);
}

// Stores Active in a component stream, as a form would.
class StreamedDataSet : public TMemDataSet {
 public:
  using TMemDataSet::TMemDataSet;
  bool activeWhileReading = true;

 protected:
  void DefineProperties(TFiler& filer) override {
    filer.DefineProperty(
        "Active",
        [this](TReader& reader) {
          SetActive(reader.ReadBoolean());
          activeWhileReading = Active();
        },
        [this](TWriter& writer) { writer.WriteBoolean(Active()); }, Active());
  }
};

TEST_F(OpenCloseTest, AnActiveDatasetReadFromAStreamOpensWhenLoaded) {
  TMemoryStream stream;
  {
    StreamedDataSet original;
    original.FieldDefs().Add("ID", ftInteger);
    original.Open();
    WriteComponent(stream, original);
  }
  StreamedDataSet copy;
  copy.FieldDefs().Add("ID", ftInteger);
  copy.AddRow({7});
  stream.SetPosition(0);

  ReadComponent(stream, copy);

  EXPECT_FALSE(copy.activeWhileReading);
  EXPECT_TRUE(copy.Active());
  EXPECT_EQ(copy.FieldByName("ID")->AsInteger(), 7);
}

// Records how the framework asks for records.
class ReadProbeDataSet : public TMemDataSet {
 public:
  std::vector<std::string> reads;

 protected:
  TGetResult GetRecord(TRecordBuffer buffer, TGetMode mode, bool doCheck) override {
    static const char* const modes[] = {"current", "next", "prior"};
    TGetResult result = TMemDataSet::GetRecord(buffer, mode, doCheck);
    reads.push_back(std::string(modes[mode]) + (doCheck ? " checked" : "") +
                    (result == grOK ? "" : " none"));
    return result;
  }
};

TEST_F(OpenCloseTest, WindowReadsAreCheckedAndResyncProbesQuietly) {
  auto probe = std::make_unique<ReadProbeDataSet>();
  probe->FieldDefs().Add("ID", ftInteger);
  probe->AddRow({1});
  probe->AddRow({2});
  probe->Open();
  probe->Next();
  EXPECT_THAT(probe->reads, ElementsAre("next checked", "next checked"));
  probe->reads.clear();

  probe->Refresh();
  EXPECT_THAT(probe->reads, ElementsAre("current"));
  probe->reads.clear();

  probe->Delete();  // the cursor is past the last record: Resync falls back
  EXPECT_THAT(probe->reads, ElementsAre("current none", "next none", "prior"));
  EXPECT_EQ(probe->FieldByName("ID")->AsInteger(), 1);
  probe->Close();
}

}  // namespace
}  // namespace vorn::dataset_test
