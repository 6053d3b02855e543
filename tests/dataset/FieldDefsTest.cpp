// Field definitions from the select list: names, types, sizes, the rowid
// column, and the columns left out.
#include "DataSetTestSupport.h"
#include "vorn/host/Field.h"
#include "vorn/host/NumericFields.h"
#include "vorn/session/SessionPreferences.h"

namespace vorn::dataset_test {

namespace {

class FieldDefsTest : public DataSetTest {};

TEST_P(FieldDefsTest, ColumnsBecomeFieldsOfTheirTypes) {
  auto dataSet = NewDataSet("select empno, ename, hiredate, sal from emp where empno = 7369");
  dataSet->Open();
  ASSERT_EQ(4, dataSet->FieldCount());
  EXPECT_EQ(ftInteger, dataSet->FieldByName("EMPNO")->DataType());
  EXPECT_EQ(ftString, dataSet->FieldByName("ENAME")->DataType());
  EXPECT_EQ(10, dataSet->FieldByName("ENAME")->Size());
  EXPECT_EQ(ftDateTime, dataSet->FieldByName("HIREDATE")->DataType());
  EXPECT_EQ(ftFloat, dataSet->FieldByName("SAL")->DataType());
  EXPECT_EQ(7369, dataSet->FieldByName("EMPNO")->AsInteger());
  EXPECT_EQ("SMITH", dataSet->FieldByName("ENAME")->AsString());
  EXPECT_EQ(EncodeDate(1980, 12, 17), dataSet->FieldByName("HIREDATE")->AsDateTime());
  EXPECT_EQ(800.0, dataSet->FieldByName("SAL")->AsFloat());
}

VORN_IN_BOTH_CALL_SETS(FieldDefsTest);

}  // namespace

}  // namespace vorn::dataset_test
