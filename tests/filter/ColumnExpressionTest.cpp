// Column nodes over a dataset: kinds by field type, the readings of the
// record under test, null fields, the NULL name and unknown fields.
#include <gtest/gtest.h>

#include "FilterTestSupport.h"

namespace vorn::filter_test {
namespace {

TEST(ColumnKinds, FieldTypesMapToKinds) {
  const std::pair<TFieldType, TExprType> cases[] = {
      {ftUnknown, etString},     {ftString, etString},     {ftSmallint, etInteger},
      {ftInteger, etInteger},    {ftWord, etInteger},      {ftBoolean, etBoolean},
      {ftFloat, etFloat},        {ftCurrency, etFloat},    {ftBCD, etFloat},
      {ftDate, etDate},          {ftTime, etDate},         {ftDateTime, etDate},
      {ftBytes, etString},       {ftVarBytes, etString},   {ftAutoInc, etString},
      {ftBlob, etString},        {ftMemo, etString},       {ftGraphic, etString},
      {ftFmtMemo, etString},     {ftParadoxOle, etString}, {ftDBaseOle, etString},
      {ftTypedBinary, etString}, {ftCursor, etString},     {ftFixedChar, etString},
      {ftWideString, etString},  {ftLargeint, etInteger},
  };
  for (const auto& [type, kind] : cases) {
    EXPECT_EQ(ColumnExprType(type), kind) << FieldTypeName(type);
  }
}

using ColumnExpressionTest = EmployeeTest;

TEST_F(ColumnExpressionTest, ColumnsTakeTheKindOfTheirField) {
  EXPECT_EQ(ParseOn("EMPNO")->ExprType(), etInteger);
  EXPECT_EQ(ParseOn("DEPTNO")->ExprType(), etInteger);
  EXPECT_EQ(ParseOn("ENAME")->ExprType(), etString);
  EXPECT_EQ(ParseOn("SAL")->ExprType(), etFloat);
  EXPECT_EQ(ParseOn("HIREDATE")->ExprType(), etDate);
  EXPECT_EQ(ParseOn("MANAGER")->ExprType(), etBoolean);
  EXPECT_EQ(ParseOn("EMPNO / 2")->ExprType(), etFloat) << "slash on an integer column";
  EXPECT_EQ(ParseOn("EMPNO DIV 2")->ExprType(), etInteger);
}

TEST_F(ColumnExpressionTest, ColumnsReadTheCurrentRecordThroughTheFields) {
  GoTo("SM*");
  TDateTime hired = EncodeDateTime(1990, 1, 1, 10, 30, 0, 0);
  auto date = ParseOn("HIREDATE");
  EXPECT_DOUBLE_EQ(date->AsDate(), hired);
  EXPECT_DOUBLE_EQ(date->AsFloat(), hired) << "date columns read as numbers by their date";
  EXPECT_EQ(date->AsString(), ds->FieldByName("HIREDATE")->AsString());
  auto salary = ParseOn("SAL");
  EXPECT_DOUBLE_EQ(salary->AsFloat(), 900);
  EXPECT_EQ(salary->AsInteger(), 900);
  EXPECT_EQ(salary->AsString(), "900");
  EXPECT_EQ(ParseOn("ENAME")->AsString(), "SM*");
  EXPECT_EQ(ParseOn("EMPNO")->AsInteger(), 8001);
  EXPECT_FALSE(ParseOn("MANAGER")->AsBoolean());
  GoTo("KING");
  EXPECT_EQ(ParseOn("EMPNO")->AsInteger(), 7839);
  EXPECT_TRUE(ParseOn("MANAGER")->AsBoolean());
}

TEST_F(ColumnExpressionTest, NullFieldsReadAsTheFieldGivesThem) {
  GoTo("SMITH");
  auto comm = ParseOn("COMM");
  EXPECT_EQ(comm->AsString(), "");
  EXPECT_DOUBLE_EQ(comm->AsFloat(), 0);
  EXPECT_EQ(comm->AsInteger(), 0);
}

TEST_F(ColumnExpressionTest, TheNameNullIsAnEmptyText) {
  auto null = ParseOn("NULL");
  auto* column = dynamic_cast<TColumnExpression*>(null.get());
  ASSERT_NE(column, nullptr);
  EXPECT_EQ(column->Name(), "NULL");
  EXPECT_EQ(null->ExprType(), etString);
  EXPECT_EQ(null->AsString(), "");
  EXPECT_EQ(ErrorOf([&] { null->AsFloat(); }), "Cannot read String as Float");
  EXPECT_EQ(ParseOn("'x' + null")->AsString(), "x");
}

TEST_F(ColumnExpressionTest, AnUnknownFieldFailsAsSoonAsItsKindIsAsked) {
  try {
    ParseOn("NOSUCH + 1");
    FAIL() << "parsed";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Employees: Field 'NOSUCH' not found");
  }
  auto compared = ParseOn("NOSUCH = 1");
  GoTo("KING");
  EXPECT_THROW(compared->AsBoolean(), EDatabaseError);
  auto bracketed = ParseOn("[DATE] > 0");
  EXPECT_THROW(bracketed->AsBoolean(), EDatabaseError);
}

TEST_F(ColumnExpressionTest, AParameterListAfterAColumnIsIgnored) {
  GoTo("KING");
  EXPECT_EQ(Describe(ParseOn("ENAME(1, 2) = 'KING'").get()), "(opEq [ENAME] 'KING')");
  EXPECT_TRUE(ParseOn("ENAME(1) = 'KING'")->AsBoolean());
}

TEST_F(ColumnExpressionTest, FieldsAreLookedUpAnewOnEveryRead) {
  auto tree = ParseOn("SAL > 1000");
  GoTo("SMITH");
  EXPECT_FALSE(tree->AsBoolean());
  // Reopened with SAL now a text column: the same tree compares texts.
  ds->Close();
  ds->FieldDefs().Clear();
  ds->FieldDefs().Add("SAL", ftString, 10);
  ds->AddRow({"950"});
  ds->Open();
  ds->First();
  EXPECT_TRUE(tree->AsBoolean()) << "'950' > '1000' as texts";
}

TEST(ColumnResolver, OnlyADataSetResolvesColumns) {
  TObject other;
  EXPECT_EQ(ResolveColumn(&other, "ENAME", nullptr), nullptr);
  EXPECT_EQ(ResolveColumn(nullptr, "ENAME", nullptr), nullptr);
  EXPECT_EQ(ErrorOf([&] { ParseFilterExpression("ENAME", foNone, ResolveColumn, &other); }),
            "Unknown Identifier ENAME");
  TColumnExpression orphan(nullptr, "ENAME");
  EXPECT_THROW(orphan.AsString(), EDatabaseError);
}

}  // namespace
}  // namespace vorn::filter_test
