// The record list on its own: slots and blocks, the full and filtered
// lists, the blob values its records own, and its errors.
#include "RecordList.h"

#include <gtest/gtest.h>

#include <cstring>

#include "DataSetBlobs.h"
#include "DataSetRecords.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/RecordingUIServices.h"

namespace vorn {
namespace {

constexpr int kRecordSize = 48;

// Adds a record numbered `id` at the end of the full list.
TRecordBuffer AppendRecord(TRecordDataList& list, uint32_t id) {
  TRecordBuffer record = list.ReserveSlot();
  InitRecordHeader(record, kRecordSize);
  HeaderOf(record).RecordId = id;
  list.Append(record);
  return record;
}

std::vector<uint32_t> VisibleIds(const TRecordDataList& list) {
  std::vector<uint32_t> ids;
  for (int i = 0; i < list.VisibleCount(); ++i)
    ids.push_back(HeaderOf(list.VisibleAt(i)).RecordId);
  return ids;
}

TEST(RecordListTest, AReservedSlotCountsOnlyOnceARecordIsAdded) {
  TRecordDataList list(kRecordSize, 25);
  TRecordBuffer slot = list.ReserveSlot();
  EXPECT_EQ(slot, list.ReserveSlot()) << "the same slot until it is used";
  EXPECT_EQ(0, list.Count());

  InitRecordHeader(slot, kRecordSize);
  list.Append(slot);

  EXPECT_EQ(1, list.Count());
  EXPECT_EQ(slot, list.Records(0));
  EXPECT_EQ(slot + kRecordSize, list.ReserveSlot()) << "the next slot of the block";
}

TEST(RecordListTest, OnlyTheReservedSlotCanBeAdded) {
  TRecordDataList list(kRecordSize, 25);
  TRecordBuffer slot = list.ReserveSlot();
  std::byte elsewhere[kRecordSize] = {};
  EXPECT_THROW(list.Append(elsewhere), Exception);
  EXPECT_EQ(slot, list.ReserveSlot());
}

TEST(RecordListTest, RecordsKeepTheirAddressWhileTheListGrows) {
  TRecordDataList list(kRecordSize, 2);
  std::vector<TRecordBuffer> added;
  for (uint32_t id = 1; id <= 1000; ++id)
    added.push_back(AppendRecord(list, id));
  for (int i = 0; i < 1000; ++i) {
    ASSERT_EQ(added[static_cast<size_t>(i)], list.Records(i));
    ASSERT_EQ(static_cast<uint32_t>(i + 1), HeaderOf(list.Records(i)).RecordId);
  }
}

TEST(RecordListTest, TheFirstBlockHoldsOneReadBufferAndARecord) {
  TRecordDataList list(kRecordSize, 25);
  AppendRecord(list, 1);
  EXPECT_GE(list.AllocatedBytes(), 26u * kRecordSize);
  EXPECT_LT(list.AllocatedBytes(), 27u * kRecordSize + 26u * sizeof(TRecordBuffer) + 64);
}

TEST(RecordListTest, ALargeListHoldsLittleRoomAheadOfItsRecords) {
  constexpr int kRows = 200000;
  constexpr int kSize = 112;
  TRecordDataList list(kSize, 100);
  for (int i = 0; i < kRows; ++i) {
    TRecordBuffer record = list.ReserveSlot();
    InitRecordHeader(record, kSize);
    list.Append(record);
  }
  // Blocks of at most 1 MiB ahead, and the list of addresses.
  const double perRecord = static_cast<double>(list.AllocatedBytes()) / kRows;
  EXPECT_LT(perRecord, kSize + 2 * sizeof(TRecordBuffer) + (1 << 20) / double(kRows));
}

TEST(RecordListTest, AnInsertLandsAtItsVisiblePositionInBothLists) {
  TRecordDataList list(kRecordSize, 25);
  list.SetFiltering(true);
  for (uint32_t id = 1; id <= 5; ++id) {
    TRecordBuffer record = AppendRecord(list, id);
    if (id % 2 == 1) list.AppendFiltered(record);
  }
  ASSERT_EQ((std::vector<uint32_t>{1, 3, 5}), VisibleIds(list));

  TRecordBuffer record = list.ReserveSlot();
  InitRecordHeader(record, kRecordSize);
  HeaderOf(record).RecordId = 6;
  list.Insert(1, record, true);

  EXPECT_EQ((std::vector<uint32_t>{1, 6, 3, 5}), VisibleIds(list));
  // In the full list it stands before the record it was inserted before.
  EXPECT_EQ(2, list.FullIndex(1));
  EXPECT_EQ(6u, HeaderOf(list.Records(2)).RecordId);
  EXPECT_EQ(3, list.FullIndex(2));
  EXPECT_EQ(1, list.VisibleIndex(2));
  EXPECT_EQ(-1, list.VisibleIndex(1)) << "record 2 is filtered out";
  EXPECT_EQ(list.Count(), list.FullIndex(list.VisibleCount()));
}

TEST(RecordListTest, ARecordFilteredInLaterTakesItsPlaceInTheFullListsOrder) {
  TRecordDataList list(kRecordSize, 25);
  list.SetFiltering(true);
  std::vector<TRecordBuffer> records;
  for (uint32_t id = 1; id <= 5; ++id)
    records.push_back(AppendRecord(list, id));
  list.AppendFiltered(records[0]);
  list.AppendFiltered(records[4]);

  list.AddFiltered(records[2]);
  list.AddFiltered(records[3]);
  list.AddFiltered(records[1]);

  EXPECT_EQ((std::vector<uint32_t>{1, 2, 3, 4, 5}), VisibleIds(list));
}

TEST(RecordListTest, ARecordIsFilteredInOnlyOnce) {
  TRecordDataList list(kRecordSize, 25);
  list.SetFiltering(true);
  AppendRecord(list, 1);
  TRecordBuffer second = AppendRecord(list, 2);
  list.AppendFiltered(list.Records(0));
  list.AppendFiltered(second);

  try {
    list.AddFiltered(second);
    FAIL() << "no error";
  } catch (const Exception& error) {
    EXPECT_EQ("BUG: Duplicate record in filtered list (1)", error.Message());
  }
  EXPECT_EQ(2, list.VisibleCount());
}

TEST(RecordListTest, DeletingARecordRemovesItFromBothListsAndFreesItsBlobValues) {
  TRecordDataList list(kRecordSize, 25);
  list.SetFiltering(true);
  for (uint32_t id = 1; id <= 3; ++id)
    list.AppendFiltered(AppendRecord(list, id));
  TRecordBuffer second = list.Records(1);
  HeaderOf(second).Blobs = new TBlobList;
  HeaderOf(second).Blobs->Add()->SetValue(std::string("value"));

  list.Delete(1, true);

  EXPECT_EQ((std::vector<uint32_t>{1, 3}), VisibleIds(list));
  EXPECT_EQ(2, list.Count());
  EXPECT_EQ(nullptr, HeaderOf(second).Blobs);
  EXPECT_EQ(0, HeaderOf(second).InFilteredList);
}

TEST(RecordListTest, VisibleRecordsAreTheFullListUnlessFiltering) {
  TRecordDataList list(kRecordSize, 25);
  for (uint32_t id = 1; id <= 3; ++id)
    AppendRecord(list, id);
  list.AppendFiltered(list.Records(2));

  EXPECT_EQ((std::vector<uint32_t>{1, 2, 3}), VisibleIds(list));
  list.SetFiltering(true);
  EXPECT_EQ((std::vector<uint32_t>{3}), VisibleIds(list));
}

TEST(RecordListTest, AnIndexOutsideTheVisibleRecordsIsShownAndRaised) {
  RecordingUIServices ui;
  ScopedUIServices scope(ui);
  TRecordDataList list(kRecordSize, 25);
  AppendRecord(list, 1);

  EXPECT_THROW(list.Get(1), EListError);
  EXPECT_THROW(list.Get(-1), EListError);

  ASSERT_EQ(2u, ui.Messages().size());
  EXPECT_TRUE(ui.Messages()[0].IsException);
  EXPECT_EQ("List index out of bounds (1)", ui.Messages()[0].Box.Text);
}

TEST(RecordListTest, ClearingFreesEveryBlobValueAndAllStorage) {
  TRecordDataList list(kRecordSize, 25);
  list.SetFiltering(true);
  for (uint32_t id = 1; id <= 100; ++id) {
    TRecordBuffer record = AppendRecord(list, id);
    HeaderOf(record).Blobs = new TBlobList;
    HeaderOf(record).Blobs->Add()->SetValue(std::string(100, 'x'));
    list.AppendFiltered(record);
  }

  list.Clear();

  EXPECT_EQ(0, list.Count());
  EXPECT_EQ(0, list.VisibleCount());
  EXPECT_EQ(0u, list.AllocatedBytes());
  AppendRecord(list, 1);
  EXPECT_EQ(1, list.Count()) << "usable again";
}

TEST(BlobListTest, ACopyHoldsItsOwnValues) {
  TBlobList source;
  source.Add()->SetValue(std::string("abc"));
  source.Add();
  TBlobList copy;

  copy.Copy(source);
  source.Items(0)->SetValue(std::string("changed"));

  ASSERT_EQ(2, copy.Count());
  EXPECT_EQ("abc", copy.Items(0)->Value());
  EXPECT_EQ(0, copy.Items(1)->BlobSize());
  EXPECT_EQ(nullptr, copy.Items(1)->BlobData());
}

TEST(BlobListTest, AValueGrowsWhereItIsWrittenAndShrinksWhenTruncated) {
  TBlobList list;
  TOracleBlob* blob = list.Add();
  blob->SetValue(std::string("0123456789"));

  blob->WriteAt(8, "abcd", 4);
  EXPECT_EQ("01234567abcd", blob->Value());
  blob->WriteAt(14, "z", 1);
  EXPECT_EQ(std::string("01234567abcd\0\0z", 15), blob->Value());
  blob->Truncate(3);
  EXPECT_EQ("012", blob->Value());
  blob->Truncate(0);
  EXPECT_EQ(0, blob->BlobSize());
  EXPECT_EQ(nullptr, blob->BlobData());
}

}  // namespace
}  // namespace vorn
