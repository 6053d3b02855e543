// Duties of the base TDataSet that a descendant relies on without seeing
// them: clearing the calculated area before each calculation, handing a
// design-time failure to open at load to InternalHandleException, and
// refusing to be destroyed while a descendant left it open.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "MemDataSet.h"
#include "vorn/host/host.h"

namespace vorn {
namespace {

using support::TMemDataSet;

// --- Clearing the calculated area

// ID and a calculated TENFOLD that OnCalcFields fills only for small IDs:
// for the others it must read as null, whatever the buffer held before.
class CalcClearingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ds = std::make_unique<TMemDataSet>();
    id = AddField(new TIntegerField(ds.get()), "ID", fkData);
    tenfold = AddField(new TIntegerField(ds.get()), "TENFOLD", fkCalculated);
    ds->SetOnCalcFields([this](TDataSet*) {
      if (id->AsInteger() < 100) tenfold->SetAsInteger(id->AsInteger() * 10);
    });
  }

  TField* AddField(TField* field, const char* name, TFieldKind kind) {
    field->SetFieldName(name);
    field->SetFieldKind(kind);
    field->SetDataSet(ds.get());
    return field;
  }

  std::unique_ptr<TMemDataSet> ds;
  TField* id = nullptr;
  TField* tenfold = nullptr;
};

TEST_F(CalcClearingTest, ARecalculationAfterADataChangeStartsFromNulls) {
  ds->AddRow({5});
  ds->Open();
  ds->Edit();
  ASSERT_EQ(tenfold->AsInteger(), 50);

  // The recalculation that follows a data change works on the active
  // buffer itself, which still holds the old value.
  id->SetAsInteger(500);

  EXPECT_TRUE(tenfold->IsNull()) << "the old calculated value survived";
  id->SetAsInteger(7);
  EXPECT_EQ(tenfold->AsInteger(), 70);
}

TEST_F(CalcClearingTest, ClearFieldsLeavesNoStaleCalculatedValue) {
  ds->AddRow({5});
  ds->Open();
  ds->Edit();

  ds->ClearFields();  // ID null reads as 0, which is small: recalculated
  EXPECT_EQ(tenfold->AsInteger(), 0);
  id->SetAsInteger(1000);

  EXPECT_TRUE(tenfold->IsNull());
}

// --- Loaded

// Stores Active in a component stream, as a form would, and records what
// InternalHandleException was given.
class StreamedDataSet : public TMemDataSet {
 public:
  using TMemDataSet::TMemDataSet;
  std::vector<std::string> handled;

 protected:
  void DefineProperties(TFiler& filer) override {
    filer.DefineProperty(
        "Active", [this](TReader& reader) { SetActive(reader.ReadBoolean()); },
        [this](TWriter& writer) { writer.WriteBoolean(Active()); }, Active());
  }

  void InternalHandleException() override {
    try {
      throw;
    } catch (const Exception& e) {
      handled.push_back(e.Message());
    }
  }
};

class LoadedTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StreamedDataSet original;
    original.FieldDefs().Add("ID", ftInteger);
    original.Open();
    WriteComponent(stream, original);
    stream.SetPosition(0);
    loaded.FieldDefs().Add("ID", ftInteger);
    loaded.SetBeforeOpen([](TDataSet*) { throw EDatabaseError("Server not available"); });
  }

  TMemoryStream stream;
  StreamedDataSet loaded;
};

TEST_F(LoadedTest, AtDesignTimeAFailedOpenGoesToInternalHandleException) {
  loaded.SetDesigning(true);

  EXPECT_NO_THROW(ReadComponent(stream, loaded));

  EXPECT_EQ(loaded.handled, std::vector<std::string>{"Server not available"});
  EXPECT_FALSE(loaded.Active());
}

TEST_F(LoadedTest, AtRunTimeAFailedOpenReachesTheCaller) {
  try {
    ReadComponent(stream, loaded);
    FAIL() << "the failure to open was swallowed";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Server not available");
  }

  EXPECT_TRUE(loaded.handled.empty());
  EXPECT_FALSE(loaded.Active());
}

// --- Destruction while open

// A descendant without records whose destructor forgets to close it.
class ForgetfulDataSet : public TDataSet {
 public:
  explicit ForgetfulDataSet(TComponent* owner) : TDataSet(owner) {}

 protected:
  TRecordBuffer AllocRecordBuffer() override { return new std::byte[8](); }
  void FreeRecordBuffer(TRecordBuffer& buffer) override {
    delete[] buffer;
    buffer = nullptr;
  }
  void InternalInitRecord(TRecordBuffer /*buffer*/) override {}
  int GetRecordSize() override { return 0; }
  TGetResult GetRecord(TRecordBuffer /*buffer*/, TGetMode mode, bool doCheck) override {
    if (mode == gmCurrent && doCheck) DatabaseError("No Records", this);
    return mode == gmNext ? grEOF : mode == gmPrior ? grBOF : grError;
  }
  void InternalFirst() override {}
  void InternalLast() override {}
  void InternalSetToRecord(TRecordBuffer /*buffer*/) override {}
  void InternalGotoBookmark(const std::byte* /*bookmark*/) override {}
  bool IsCursorOpen() const override { return open_; }
  void GetBookmarkData(TRecordBuffer /*buffer*/, std::byte* /*data*/) override {}
  void SetBookmarkData(TRecordBuffer /*buffer*/, const std::byte* /*data*/) override {}
  TBookmarkFlag GetBookmarkFlag(TRecordBuffer /*buffer*/) override { return bfCurrent; }
  void SetBookmarkFlag(TRecordBuffer /*buffer*/, TBookmarkFlag /*flag*/) override {}
  void InternalOpen() override { open_ = true; }
  void InternalClose() override { open_ = false; }
  void InternalInitFieldDefs() override {}
  void InternalAddRecord(TRecordBuffer /*buffer*/, bool /*append*/) override {}
  void InternalDelete() override {}
  bool GetFieldData(TField* /*field*/, void* /*buffer*/) override { return false; }
  void SetFieldData(TField* /*field*/, const void* /*buffer*/) override {}

 private:
  bool open_ = false;
};

TEST(DataSetDestructionDeathTest, ADescendantThatLeavesItOpenStopsTheProgramInEveryBuild) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(
      {
        auto* ds = new ForgetfulDataSet(nullptr);
        ds->SetName("Orders");
        ds->Open();
        delete ds;
      },
      "TDataSet Orders destroyed while open: a TDataSet descendant must call Destroying\\(\\) "
      "and Close\\(\\)");
}

TEST(DataSetDestruction, AClosedDescendantIsDestroyedQuietly) {
  auto* ds = new ForgetfulDataSet(nullptr);
  ds->Open();
  ds->Close();

  delete ds;  // no message, no stop
}

TEST(DataSetDestruction, ADescendantThatClosesInItsDestructorLeavesItsSourcesDetached) {
  TDataSource source(nullptr);
  auto ds = std::make_unique<TMemDataSet>();
  ds->FieldDefs().Add("ID", ftInteger);
  ds->AddRow({1});
  source.SetDataSet(ds.get());
  ds->Open();
  ASSERT_GT(ds->LiveBuffers(), 0);

  ds.reset();

  EXPECT_EQ(source.DataSet(), nullptr);
  EXPECT_EQ(source.State(), dsInactive);
}

}  // namespace
}  // namespace vorn
