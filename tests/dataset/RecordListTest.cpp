// The record list on its own: slots and blocks, the full and filtered
// lists, and its errors.
#include "RecordList.h"

#include <gtest/gtest.h>

#include "DataSetRecords.h"

namespace vorn {
namespace {

TEST(RecordListTest, Placeholder) {
  TRecordDataList list(48, 25);
  EXPECT_EQ(0, list.Count());
}

}  // namespace
}  // namespace vorn
