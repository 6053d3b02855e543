// How columns are fetched: the buffer type each Oracle type gets under the
// precision preferences, and every buffer read through every accessor.
#include <gtest/gtest.h>

#include "ColumnBuffers.h"
#include "QueryTestSupport.h"
#include "vorn/host/DateTime.h"
#include "vorn/host/DateTimeText.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/NumberText.h"
#include "vorn/session/SessionPreferences.h"

namespace vorn::query_test {
namespace {

class ColumnTypesTest : public QueryTest {
 protected:
  void SetUp() override {
    QueryTest::SetUp();
    Run("create table typed (n5 number(5,0), n12 number(12,0), n10_2 number(10,2), "
        "n number, n12_2 number(12,2), v varchar2(20), c char(4), d date, r raw(4), f float)");
    Run("insert into typed values (12345, 123456789012, 12345678.91, 2.5, 1234567890.12, "
        "'text', 'ab', to_date('2001-02-03 04:05:06', 'yyyy-mm-dd hh24:mi:ss'), "
        "hextoraw('0aff'), 0.75)");
    Run("insert into typed (n5) values (null)");
  }

  // The first row of `select <columns> from typed`.
  std::unique_ptr<TOracleQuery> Typed(const std::string& columns) {
    auto query = NewQuery("select " + columns + " from typed where n5 is not null");
    query->Execute();
    return query;
  }
};
VORN_QUERY_IN_BOTH_CALL_SETS(ColumnTypesTest);

TEST_P(ColumnTypesTest, NumbersGetIntegerFloatOrStringBuffersByPrecision) {
  auto query = Typed("n5, n12, n10_2, n, f");

  EXPECT_EQ(otInteger, query->FieldType(0));
  EXPECT_EQ(otFloat, query->FieldType(1));
  EXPECT_EQ(otFloat, query->FieldType(2));
  EXPECT_EQ(otFloat, query->FieldType(3));
  EXPECT_EQ(otFloat, query->FieldType(4));
  EXPECT_EQ(12345, query->FieldAsInteger(0));
  EXPECT_EQ(123456789012.0, query->FieldAsFloat(1));
  EXPECT_DOUBLE_EQ(12345678.91, query->FieldAsFloat(2));
  EXPECT_EQ(2.5, query->FieldAsFloat(3));
  EXPECT_EQ(0.75, query->FieldAsFloat(4));
}

TEST_P(ColumnTypesTest, ComputedNumbersKeepTheirFractions) {
  auto query = NewQuery("select sal * 1.5, avg(sal) from emp where empno = 7369 group by sal");
  query->Execute();

  EXPECT_EQ(otFloat, query->FieldType(0));
  EXPECT_EQ(otFloat, query->FieldType(1));
  EXPECT_EQ(1200.0, query->FieldAsFloat(0));

  auto average = NewQuery("select avg(sal) from emp where deptno = 10");
  average->Execute();
  EXPECT_NEAR(2916.6666666666665, average->FieldAsFloat(0), 1e-9);
  EXPECT_EQ(2916, average->FieldAsInteger(0));
}

TEST_P(ColumnTypesTest, AFloatPrecisionBelowTheColumnsGivesText) {
  session_->Preferences()->SetFloatPrecision(10);
  auto query = Typed("n12_2, n10_2");

  EXPECT_EQ(otString, query->FieldType(0));
  EXPECT_EQ(14, query->FieldSize(0));
  EXPECT_EQ("1234567890.12", query->FieldAsString(0));
  EXPECT_EQ(otFloat, query->FieldType(1));
}

TEST_P(ColumnTypesTest, AWiderIntegerPrecisionMakesIntegers) {
  session_->Preferences()->SetIntegerPrecision(12);
  auto query = NewQuery("select n12, n10_2 from typed");
  query->Describe();
  EXPECT_EQ(otInteger, query->FieldType(0));
  EXPECT_EQ(otFloat, query->FieldType(1));
}

TEST_P(ColumnTypesTest, TextDatesAndRawsHaveTheirBuffers) {
  auto query = Typed("v, c, d, r");

  EXPECT_EQ(otString, query->FieldType(0));
  EXPECT_EQ(20, query->FieldSize(0));
  EXPECT_EQ("text", query->FieldAsString(0));
  EXPECT_EQ("ab  ", query->FieldAsString(1));
  EXPECT_EQ(otDate, query->FieldType(2));
  EXPECT_EQ(0, query->FieldSize(2));
  EXPECT_DOUBLE_EQ(EncodeDateTime(2001, 2, 3, 4, 5, 6, 0), query->FieldAsDate(2));
  EXPECT_EQ(otString, query->FieldType(3));
  EXPECT_EQ(8, query->FieldSize(3));
  EXPECT_EQ("0AFF", query->FieldAsString(3));
}

TEST_P(ColumnTypesTest, StringFieldsOnlyFetchesNumbersAndDatesAsServerText) {
  auto query = NewQuery("select n5, n10_2, d from typed where n5 is not null");
  query->SetStringFieldsOnly(true);
  query->Execute();

  EXPECT_EQ(otString, query->FieldType(0));
  EXPECT_EQ("12345", query->FieldAsString(0));
  EXPECT_EQ("12345678.91", query->FieldAsString(1));
  EXPECT_EQ(otString, query->FieldType(2));
  EXPECT_EQ(session_->DateTextLength(), query->FieldSize(2));
  EXPECT_EQ(Rows("select to_char(d) from typed where n5 is not null").at(0),
            query->FieldAsString(2));

  query->SetStringFieldsOnly(false);
  query->Execute();
  EXPECT_EQ(otInteger, query->FieldType(0));
}

TEST_P(ColumnTypesTest, FieldAsStringFormatsByTheLocale) {
  auto query = NewQuery("select d, trunc(d), n10_2, n5 from typed where n5 is not null");
  query->Execute();

  EXPECT_EQ(FormatDateTime("ddddd tt", EncodeDateTime(2001, 2, 3, 4, 5, 6, 0)),
            query->FieldAsString(0));
  EXPECT_EQ(DateToStr(EncodeDate(2001, 2, 3)), query->FieldAsString(1));
  EXPECT_EQ(FloatToStr(12345678.91), query->FieldAsString(2));
  EXPECT_EQ("12345", query->FieldAsString(3));
}

TEST_P(ColumnTypesTest, EveryBufferConvertsThroughEveryAccessor) {
  auto query = NewQuery("select n5, n10_2, '42', d, '2.5' from typed where n5 is not null");
  query->Execute();

  EXPECT_EQ(12345.0, query->FieldAsFloat(0));
  EXPECT_DOUBLE_EQ(12345.0, query->FieldAsDate(0));
  EXPECT_EQ(12345678, query->FieldAsInteger(1));
  EXPECT_DOUBLE_EQ(12345678.91, query->FieldAsDate(1));
  EXPECT_EQ(42, query->FieldAsInteger(2));
  EXPECT_EQ(42.0, query->FieldAsFloat(2));
  EXPECT_EQ(36925, query->FieldAsInteger(3));
  EXPECT_DOUBLE_EQ(EncodeDateTime(2001, 2, 3, 4, 5, 6, 0), query->FieldAsFloat(3));
  EXPECT_EQ(2.5, query->FieldAsFloat(4));
  EXPECT_THROW(query->FieldAsInteger(4), EConvertError);
  EXPECT_EQ(varInteger, VarType(query->Field(0)));
  EXPECT_EQ(varDouble, VarType(query->Field(1)));
  EXPECT_EQ(varString, VarType(query->Field(2)));
  EXPECT_EQ(varDate, VarType(query->Field(3)));
}

TEST_P(ColumnTypesTest, NullsAreEmptyOrZeroOrTheSessionsNull) {
  auto query = NewQuery("select n5, v, d, n10_2 from typed where n5 is null");
  query->Execute();

  EXPECT_TRUE(query->FieldIsNull(0));
  EXPECT_TRUE(query->FieldIsNull("V"));
  EXPECT_EQ(0, query->FieldAsInteger(0));
  EXPECT_EQ("", query->FieldAsString(1));
  EXPECT_EQ(0.0, query->FieldAsDate(2));
  EXPECT_EQ(0.0, query->FieldAsFloat(3));
  EXPECT_TRUE(query->Field(0).IsEmpty());
  session_->SetNullValue(nvNull);
  EXPECT_TRUE(query->Field(0).IsNull());
}

TEST_P(ColumnTypesTest, DescriptionsOfTheColumns) {
  auto query = Typed("n10_2, v");
  EXPECT_EQ(2, query->FieldOracleType(0));
  EXPECT_EQ(10, query->FieldPrecision(0));
  EXPECT_EQ(2, query->FieldScale(0));
  EXPECT_TRUE(query->FieldOptional(0));
  EXPECT_EQ(1, query->FieldOracleType(1));
  EXPECT_NE(nullptr, query->FieldValueAddress(1));
  EXPECT_STREQ("text", static_cast<const char*>(query->FieldValueAddress(1)));
  EXPECT_EQ("Field V is not a LOB", ErrorOf([&] { query->LOBField(1); }));
}

TEST_P(ColumnTypesTest, LineBreaksInTextAreReadAsCrLf) {
  auto query = NewQuery("select 'a' || chr(10) || 'b' from dual");
  query->Execute();
  EXPECT_EQ("a\r\nb", query->FieldAsString(0));
  EXPECT_EQ("a\r\nb", query->Field(0).AsString());
}

// The buffer rule on its own, for descriptions the server does not give.
ColumnDescription Number(int precision, int scale) {
  ColumnDescription column;
  column.dataType = 2;
  column.dataSize = 22;
  column.precision = precision;
  column.scale = scale;
  return column;
}

int BufferOf(const ColumnDescription& column, int integerPrecision, int floatPrecision,
             int* size = nullptr) {
  TTypedCollection<TFieldData> fields;
  TFieldData& field = *fields.Add();
  BufferRules rules;
  rules.integerPrecision = integerPrecision;
  rules.floatPrecision = floatPrecision;
  ColumnBuffers::Describe(field, column, rules);
  if (size != nullptr) *size = field.ElementSize();
  return field.BufferType();
}

TEST(NumberBufferTest, TheDefaultPreferencesFollowTheDeclaredPrecision) {
  EXPECT_EQ(otInteger, BufferOf(Number(5, 0), 9, 1000));
  EXPECT_EQ(otFloat, BufferOf(Number(12, 0), 9, 1000));
  EXPECT_EQ(otFloat, BufferOf(Number(10, 2), 9, 1000));
  EXPECT_EQ(otFloat, BufferOf(Number(0, 0), 9, 1000));
}

TEST(NumberBufferTest, UnconstrainedAndComputedNumbersNeverBecomeIntegers) {
  EXPECT_EQ(otFloat, BufferOf(Number(0, -127), 9, 1000));
  EXPECT_EQ(otFloat, BufferOf(Number(0, -127), 40, 1000));
  // FLOAT(p) describes with scale -127 too.
  EXPECT_EQ(otFloat, BufferOf(Number(5, -127), 9, 1000));
  int size = 0;
  EXPECT_EQ(otString, BufferOf(Number(0, -127), 9, 10, &size));
  EXPECT_EQ(41, size);
}

TEST(NumberBufferTest, TooNarrowAFloatPrecisionGivesTextSizedByTheScale) {
  int size = 0;
  EXPECT_EQ(otString, BufferOf(Number(12, 2), 9, 10, &size));
  EXPECT_EQ(15, size);
  EXPECT_EQ(otString, BufferOf(Number(12, 0), 9, 10, &size));
  EXPECT_EQ(14, size);
}

}  // namespace
}  // namespace vorn::query_test
