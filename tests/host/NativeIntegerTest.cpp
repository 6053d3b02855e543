// Native integers in record slots: the slot sizes of the integer field
// types, the writer descendants use to fill slots from fetched numbers, and
// a smallint as the last field of a record.
#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "MemDataSet.h"
#include "vorn/host/host.h"

namespace vorn {
namespace {

using support::TMemDataSet;

constexpr std::byte kGuard{0xA5};

// One record slot as a descendant lays it out (a null byte, then the
// value), followed by guard bytes that no write may touch.
struct GuardedSlot {
  std::array<std::byte, 1 + 8 + 8> bytes;
  explicit GuardedSlot(int valueSize) : valueSize_(valueSize) { bytes.fill(kGuard); }
  std::byte* Value() { return bytes.data() + 1; }
  bool GuardIntact() const {
    for (size_t i = 1 + static_cast<size_t>(valueSize_); i < bytes.size(); ++i) {
      if (bytes[i] != kGuard) return false;
    }
    return bytes[0] == kGuard;
  }

 private:
  int valueSize_;
};

TEST(NativeIntegers, SlotSizesFollowTheFieldType) {
  EXPECT_EQ(NativeIntegerSize(ftSmallint), 2);
  EXPECT_EQ(NativeIntegerSize(ftWord), 2);
  EXPECT_EQ(NativeIntegerSize(ftInteger), 4);
  EXPECT_EQ(NativeIntegerSize(ftLargeint), 8);
  EXPECT_EQ(NativeIntegerSize(ftFloat), 0);
  EXPECT_EQ(NativeIntegerSize(ftString), 0);

  TSmallintField smallint(nullptr);
  TWordField word(nullptr);
  TIntegerField integer(nullptr);
  TLargeintField largeint(nullptr);
  EXPECT_EQ(smallint.DataSize(), 2);
  EXPECT_EQ(word.DataSize(), 2);
  EXPECT_EQ(integer.DataSize(), 4);
  EXPECT_EQ(largeint.DataSize(), 8);
}

TEST(NativeIntegers, AStoredSmallintFillsTwoBytesAndNothingBeyond) {
  TSmallintField field(nullptr);
  GuardedSlot slot(field.DataSize());

  StoreNativeInteger(field, -2, slot.Value());

  EXPECT_TRUE(slot.GuardIntact());
  EXPECT_EQ(LoadNativeInteger(ftSmallint, slot.Value()), -2);
}

TEST(NativeIntegers, EachTypeWritesExactlyItsOwnWidth) {
  struct Case {
    TFieldType type;
    int64_t value;
  };
  const Case cases[] = {{ftSmallint, -32768}, {ftSmallint, 32767},          {ftWord, 65535},
                        {ftWord, 0},          {ftInteger, -2147483647 - 1}, {ftInteger, -1},
                        {ftLargeint, -1},     {ftLargeint, INT64_MIN}};
  for (const Case& c : cases) {
    GuardedSlot slot(NativeIntegerSize(c.type));
    ASSERT_TRUE(TryStoreNativeInteger(c.type, c.value, slot.Value())) << c.value;
    EXPECT_TRUE(slot.GuardIntact()) << FieldTypeName(c.type) << " " << c.value;
    EXPECT_EQ(LoadNativeInteger(c.type, slot.Value()), c.value) << FieldTypeName(c.type);
  }
}

TEST(NativeIntegers, AValueBeyondTheTypeIsRefusedAndWritesNothing) {
  const std::pair<TFieldType, int64_t> cases[] = {
      {ftSmallint, 32768}, {ftSmallint, -32769},      {ftWord, -1},
      {ftWord, 65536},     {ftInteger, 2147483648LL}, {ftFloat, 1}};
  for (const auto& [type, value] : cases) {
    GuardedSlot slot(0);
    EXPECT_FALSE(TryStoreNativeInteger(type, value, slot.Value())) << value;
    EXPECT_TRUE(slot.GuardIntact()) << value;
  }
}

TEST(NativeIntegers, StoringIntoAFieldNamesTheFieldWhenTheValueDoesNotFit) {
  TSmallintField field(nullptr);
  field.SetFieldName("DEPTNO");
  GuardedSlot slot(field.DataSize());

  try {
    StoreNativeInteger(field, 40000, slot.Value());
    FAIL() << "no error";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(),
              "40000 is not a valid value for field 'DEPTNO'. The allowed range is -32768 to "
              "32767");
  }
  EXPECT_TRUE(slot.GuardIntact());

  TFloatField floatField(nullptr);
  floatField.SetFieldName("SAL");
  EXPECT_THROW(StoreNativeInteger(floatField, 1, slot.Value()), EDatabaseError);
}

// A record whose last data field is a smallint, so that its slot is the
// last one of the data area; a calculated field follows in the record's
// calculated area.
class SmallintLastTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ds = std::make_unique<TMemDataSet>();
    ds->FieldDefs().Add("ID", ftInteger);
    ds->FieldDefs().Add("DEPTNO", ftSmallint);
  }

  std::unique_ptr<TMemDataSet> ds;
};

TEST_F(SmallintLastTest, TheSlotIsTwoBytesWideAndKeepsEveryValue) {
  ds->AddRow({1, -32768});
  ds->AddRow({2, 32767});
  ds->AddRow({3, -1});
  ds->Open();

  EXPECT_EQ(ds->RecordSize(), (4 + 1) + (2 + 1));
  std::vector<int32_t> ids, deptnos;
  for (ds->First(); !ds->Eof(); ds->Next()) {
    ids.push_back(ds->FieldByName("ID")->AsInteger());
    deptnos.push_back(ds->FieldByName("DEPTNO")->AsInteger());
  }
  EXPECT_EQ(ids, (std::vector<int32_t>{1, 2, 3}));
  EXPECT_EQ(deptnos, (std::vector<int32_t>{-32768, 32767, -1}));
}

TEST_F(SmallintLastTest, WritingTheSmallintLeavesTheCalculatedAreaAlone) {
  // Persistent fields: the two data fields and a calculated one, whose
  // slot (null byte first) lies right after the smallint's.
  auto* id = new TIntegerField(ds.get());
  id->SetFieldName("ID");
  id->SetDataSet(ds.get());
  auto* deptno = new TSmallintField(ds.get());
  deptno->SetFieldName("DEPTNO");
  deptno->SetDataSet(ds.get());
  auto* doubled = new TIntegerField(ds.get());
  doubled->SetFieldName("DOUBLED");
  doubled->SetFieldKind(fkCalculated);
  doubled->SetDataSet(ds.get());
  ds->SetOnCalcFields([id, doubled](TDataSet*) { doubled->SetAsInteger(id->AsInteger() * 2); });
  ds->AddRow({21, 10});
  ds->Open();
  ds->Edit();

  deptno->SetAsInteger(-1);  // all bits set: a wider write would be seen

  EXPECT_EQ(deptno->AsInteger(), -1);
  EXPECT_FALSE(doubled->IsNull());
  EXPECT_EQ(doubled->AsInteger(), 42);
  ds->Post();
  EXPECT_EQ(deptno->AsInteger(), -1);
  EXPECT_EQ(doubled->AsInteger(), 42);
}

TEST_F(SmallintLastTest, AValueBeyondTheSmallintRangeIsRefusedNotWrapped) {
  ds->AddRow({1, 5});
  ds->Open();
  TField* deptno = ds->FieldByName("DEPTNO");
  auto* field = dynamic_cast<TIntegerField*>(deptno);
  ASSERT_NE(field, nullptr);
  field->SetMaxValue(100000);  // a bound wider than the type itself
  ds->Edit();

  EXPECT_THROW(deptno->SetAsInteger(70000), EDatabaseError);

  EXPECT_EQ(deptno->AsInteger(), 5);
}

}  // namespace
}  // namespace vorn
