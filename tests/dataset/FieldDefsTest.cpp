// Field definitions from the select list: names, types, sizes, the rowid
// column, the columns the engine cannot fetch, and the field settings of
// the dictionary options that need only the select list.
#include "DataSetTestSupport.h"
#include "vorn/dataset/OracleDictionary.h"
#include "vorn/host/BlobFields.h"
#include "vorn/host/Field.h"
#include "vorn/host/NumericFields.h"
#include "vorn/session/SessionPreferences.h"

namespace vorn::dataset_test {

namespace {

class FieldDefsTest : public DataSetTest {
 protected:
  std::vector<std::string> FieldNames(TDataSet& dataSet) {
    std::vector<std::string> names;
    for (TField* field : dataSet.Fields())
      names.push_back(field->FieldName());
    return names;
  }
};

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

TEST_P(FieldDefsTest, RepeatedColumnNamesGetNumberedSuffixes) {
  auto dataSet = NewDataSet(
      "select ename name, job name_1, e.deptno name, loc name from emp e, dept d "
      "where e.deptno = d.deptno and empno = 7369");
  dataSet->Open();
  EXPECT_EQ((std::vector<std::string>{"NAME", "NAME_1", "NAME_2", "NAME_3"}), FieldNames(*dataSet));
  EXPECT_EQ("SMITH|CLERK|20|DALLAS", Rows(*dataSet).at(0));
}

TEST_P(FieldDefsTest, TheRowidColumnIsTheRecordsRowidAndNoField) {
  const std::string expected =
      session_test::Rows(*session_, "select rowid from emp where empno = 7499").at(0);
  auto dataSet = NewDataSet("select rowid, ename from emp where empno = 7499");
  dataSet->Open();
  EXPECT_EQ((std::vector<std::string>{"ENAME"}), FieldNames(*dataSet));
  EXPECT_EQ(expected, dataSet->CurrentRowId());
}

TEST_P(FieldDefsTest, ARowidSelectedUnderAnotherNameIsFoundByItsType) {
  const std::string expected =
      session_test::Rows(*session_, "select rowid from emp where empno = 7499").at(0);
  auto dataSet = NewDataSet("select ename, e.rowid row_address from emp e where empno = 7499");
  dataSet->Open();
  EXPECT_EQ((std::vector<std::string>{"ENAME"}), FieldNames(*dataSet));
  EXPECT_EQ(expected, dataSet->CurrentRowId());
}

TEST_P(FieldDefsTest, WithoutARowidColumnTheRowidIsEmpty) {
  auto dataSet = NewDataSet("select ename from emp where empno = 7499");
  dataSet->Open();
  EXPECT_EQ("", dataSet->CurrentRowId());
}

TEST_P(FieldDefsTest, SmallIntPrecisionDecidesBetweenSmallintAndInteger) {
  Run("create table widths_t (p4 number(4), p5 number(5))");
  Run("insert into widths_t values (-9999, 99999)");
  auto dataSet = NewDataSet("select p4, p5 from widths_t");

  dataSet->Open();
  EXPECT_EQ(ftInteger, dataSet->FieldByName("P4")->DataType()) << "the default is -1";
  dataSet->Close();

  session_->Preferences()->SetSmallIntPrecision(4);
  dataSet->Open();
  EXPECT_EQ(ftSmallint, dataSet->FieldByName("P4")->DataType());
  EXPECT_EQ(ftInteger, dataSet->FieldByName("P5")->DataType());
  EXPECT_EQ(-9999, dataSet->FieldByName("P4")->AsInteger());
  EXPECT_EQ(99999, dataSet->FieldByName("P5")->AsInteger());
  dataSet->Close();

  session_->Preferences()->SetSmallIntPrecision(0);
  dataSet->Open();
  EXPECT_EQ(ftSmallint, dataSet->FieldByName("P4")->DataType()) << "0 counts as 4";
  EXPECT_EQ(ftInteger, dataSet->FieldByName("P5")->DataType());
}

TEST_P(FieldDefsTest, ASmallintTakesTwoBytesAlsoAsTheLastFieldOfTheRecord) {
  Run("create table small_t (n number(6), s number(2))");
  Run("insert into small_t values (123456, -7)");
  Run("insert into small_t values (654321, null)");
  session_->Preferences()->SetSmallIntPrecision(4);
  auto dataSet = NewDataSet("select n, s from small_t order by n");
  dataSet->Open();
  ASSERT_EQ(ftSmallint, dataSet->FieldByName("S")->DataType());
  // An integer slot (1 + 4 bytes) and a smallint slot (1 + 2 bytes).
  EXPECT_EQ(8, dataSet->RecordSize());
  EXPECT_EQ((std::vector<std::string>{"123456|-7", "654321|"}), Rows(*dataSet));
}

TEST_P(FieldDefsTest, AStringFieldHasTheColumnsSizeUnlessMaxStringFieldSizeMakesItAMemo) {
  Run("create table texts_t (short_text varchar2(20), long_text varchar2(300))");
  Run("insert into texts_t values ('abc', 'a long text')");
  session_->Preferences()->SetMaxStringFieldSize(255);
  auto dataSet = NewDataSet("select short_text, long_text from texts_t");
  dataSet->Open();
  EXPECT_EQ(ftString, dataSet->FieldByName("SHORT_TEXT")->DataType());
  EXPECT_EQ(20, dataSet->FieldByName("SHORT_TEXT")->Size());
  TField* memo = dataSet->FieldByName("LONG_TEXT");
  EXPECT_EQ(ftMemo, memo->DataType());
  EXPECT_EQ("a long text", memo->AsString());
  EXPECT_EQ("(MEMO)", memo->DisplayText());
}

TEST_P(FieldDefsTest, NotNullColumnsGiveRequiredFields) {
  MakeNumbers(1);
  auto dataSet = NewDataSet("select n, label from numbers_t");
  dataSet->Open();
  EXPECT_TRUE(dataSet->FieldByName("N")->Required());
  EXPECT_FALSE(dataSet->FieldByName("LABEL")->Required());
}

TEST_P(FieldDefsTest, LongColumnsBecomeMemoAndBlobFields) {
  Run("create table longs_t (id number(2), notes long)");
  Run("create table raws_t (id number(2), image long raw)");
  Run("insert into longs_t values (1, 'first note')");
  Run("insert into longs_t values (2, null)");
  Run("insert into raws_t values (1, hextoraw('00FF10'))");
  auto notes = NewDataSet("select id, notes from longs_t order by id");
  auto images = NewDataSet("select id, image from raws_t");
  notes->Open();
  images->Open();
  TField* note = notes->FieldByName("NOTES");
  EXPECT_EQ(ftMemo, note->DataType());
  EXPECT_EQ("first note", note->AsString());
  notes->Next();
  EXPECT_TRUE(note->IsNull());
  EXPECT_EQ("(Memo)", note->DisplayText());
  TField* image = images->FieldByName("IMAGE");
  EXPECT_EQ(ftBlob, image->DataType());
  EXPECT_EQ(std::string("\x00\xFF\x10", 3), image->AsString());
}

TEST_P(FieldDefsTest, ALobColumnIsAMemoWithVersion8AndFailsTheOpenWithVersion7) {
  Run("create table lobs_t (id number(2), doc clob)");
  auto dataSet = NewDataSet("select id, doc from lobs_t");
  if (!UsesOCI7()) {
    dataSet->Open();
    EXPECT_EQ(ftMemo, dataSet->FieldByName("DOC")->DataType());
    return;
  }
  const std::string error = ErrorOf([&] { dataSet->Open(); });
  EXPECT_EQ("A query with LOB's requires OCI8 mode, but OCI7 mode is used.", error);
  EXPECT_FALSE(dataSet->Active());
  EXPECT_EQ(0, dataSet->FieldCount());

  dataSet->SQL()->SetText("select id from lobs_t");
  dataSet->Open();
  EXPECT_TRUE(dataSet->Active());
}

TEST_P(FieldDefsTest, StringFieldsOnlyFetchesNumbersAndDatesAsText) {
  auto dataSet = NewDataSet("select empno, hiredate from emp where empno = 7369");
  dataSet->Open();
  dataSet->SetStringFieldsOnly(true);
  EXPECT_TRUE(dataSet->Active()) << "reopened";
  EXPECT_EQ(ftString, dataSet->FieldByName("EMPNO")->DataType());
  EXPECT_EQ(ftString, dataSet->FieldByName("HIREDATE")->DataType());
  EXPECT_EQ("7369", dataSet->FieldByName("EMPNO")->AsString());
}

class DictionaryFieldsTest : public DataSetTest {
 protected:
  void SetUp() override {
    DataSetTest::SetUp();
    Run("create table formats_t (a number(8,2), b number(5,2), c number(4), d number(7,2), "
        "e number(5))");
    Run("insert into formats_t values (123456.78, 999.99, 9999, 1.5, 12345)");
  }
};

TEST_P(DictionaryFieldsTest, DisplayFormatsFollowPrecisionAndScale) {
  auto dataSet = NewDataSet("select a, c, d, e from formats_t");
  dataSet->OracleDictionary()->SetDisplayFormats(true);
  dataSet->Open();
  auto* a = dynamic_cast<TFloatField*>(dataSet->FieldByName("A"));
  ASSERT_NE(nullptr, a);
  EXPECT_EQ("###,##0.00", a->DisplayFormat());
  EXPECT_EQ("#####0.00", a->EditFormat());
  EXPECT_EQ(11, a->DisplayWidth());
  auto* d = dynamic_cast<TFloatField*>(dataSet->FieldByName("D"));
  EXPECT_EQ("##,##0.00", d->DisplayFormat());
  EXPECT_EQ("####0.00", d->EditFormat());
  EXPECT_EQ(10, d->DisplayWidth());
  auto* e = dynamic_cast<TNumericField*>(dataSet->FieldByName("E"));
  EXPECT_EQ("", e->DisplayFormat());
  EXPECT_EQ(6, e->DisplayWidth());
  EXPECT_EQ("123,456.78", a->DisplayText());
  EXPECT_EQ("123456.78", a->Text());
}

TEST_P(DictionaryFieldsTest, RangeValuesFollowPrecisionAndScale) {
  auto dataSet = NewDataSet("select b, c from formats_t");
  dataSet->OracleDictionary()->SetRangeValues(true);
  dataSet->Open();
  auto* b = dynamic_cast<TFloatField*>(dataSet->FieldByName("B"));
  ASSERT_NE(nullptr, b);
  EXPECT_DOUBLE_EQ(-999.99, b->MinValue());
  EXPECT_DOUBLE_EQ(999.99, b->MaxValue());
  auto* c = dynamic_cast<TIntegerField*>(dataSet->FieldByName("C"));
  ASSERT_NE(nullptr, c);
  EXPECT_EQ(-9999, c->MinValue());
  EXPECT_EQ(9999, c->MaxValue());
}

TEST_P(DictionaryFieldsTest, WithTheOptionsOffFieldsKeepTheirDefaults) {
  auto dataSet = NewDataSet("select a, c from formats_t");
  dataSet->Open();
  auto* a = dynamic_cast<TFloatField*>(dataSet->FieldByName("A"));
  EXPECT_EQ("", a->DisplayFormat());
  EXPECT_EQ(0.0, a->MaxValue());
  EXPECT_EQ(0, dynamic_cast<TIntegerField*>(dataSet->FieldByName("C"))->MaxValue());
}

TEST_P(DictionaryFieldsTest, TurningDisplayFormatsOnFormatsTheOpenDataSetsFields) {
  auto dataSet = NewDataSet("select a from formats_t");
  dataSet->Open();
  dataSet->OracleDictionary()->SetDisplayFormats(true);
  EXPECT_EQ("###,##0.00", dynamic_cast<TFloatField*>(dataSet->FieldByName("A"))->DisplayFormat());
}

TEST_P(DictionaryFieldsTest, FieldKindsMakesFieldsThatAreNoColumnsReadOnlyCalculations) {
  auto dataSet = NewDataSet("select f.a, f.c * 2 twice, rowid from formats_t f");
  dataSet->OracleDictionary()->SetFieldKinds(true);
  dataSet->Open();
  EXPECT_EQ(fkData, dataSet->FieldByName("A")->FieldKind());
  EXPECT_FALSE(dataSet->FieldByName("A")->ReadOnly());
  EXPECT_EQ(fkInternalCalc, dataSet->FieldByName("TWICE")->FieldKind());
  EXPECT_TRUE(dataSet->FieldByName("TWICE")->ReadOnly());
  EXPECT_EQ("19998", dataSet->FieldByName("TWICE")->AsString());
}

VORN_IN_BOTH_CALL_SETS(FieldDefsTest);
VORN_IN_BOTH_CALL_SETS(DictionaryFieldsTest);

}  // namespace

}  // namespace vorn::dataset_test
