// The base node's generic conversions, the literals' own readings, the
// names of kinds and operators, and the options nodes copy when created.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FilterTestSupport.h"

namespace vorn::filter_test {
namespace {

TFormatSettings GermanDates() {
  TFormatSettings settings = DefaultFormatSettings();
  settings.DateSeparator = '.';
  settings.ShortDateFormat = "dd.mm.yyyy";
  settings.LongTimeFormat = "hh:nn:ss";
  return settings;
}

TEST(ExpressionNames, KindsAndOperatorsAreNamedAsMessagesShowThem) {
  EXPECT_EQ(ExprTypeName(etDate), "Date");
  EXPECT_EQ(ExprTypeName(etString), "String");
  EXPECT_EQ(ExprTypeName(etFloat), "Float");
  EXPECT_EQ(ExprTypeName(etInteger), "Integer");
  EXPECT_EQ(ExprTypeName(etBoolean), "Boolean");
  const char* names[] = {"opNot", "opMult", "opDivide", "opDiv",   "opMod", "opAnd",
                         "opShl", "opShr",  "opPlus",   "opMinus", "opOr",  "opXor",
                         "opEq",  "opNEQ",  "opLT",     "opGT",    "opLTE", "opGTE"};
  const char* spellings[] = {"NOT", "*",  "/",   "DIV", "MOD", "AND", "SHL", "SHR", "+",
                             "-",   "OR", "XOR", "=",   "<>",  "<",   ">",   "<=",  ">="};
  for (int i = 0; i < OperatorCount; ++i) {
    EXPECT_EQ(OperatorName(static_cast<TOperator>(i)), names[i]);
    EXPECT_EQ(OperatorSpelling(static_cast<TOperator>(i)), spellings[i]);
  }
}

// --- The generic table, through a probe that answers only its own kind.

TEST(GenericConversions, DateKindReadsAsTextNumberAndTruncatedInteger) {
  ScopedFormatSettings locale(GermanDates());
  TProbe node(etDate);
  node.date = EncodeDate(1990, 3, 4) + 0.75;
  EXPECT_EQ(node.AsString(), "04.03.1990 18:00:00");
  EXPECT_DOUBLE_EQ(node.AsFloat(), node.date);
  EXPECT_EQ(node.AsInteger(), 32936);
  node.date = -1.5;
  EXPECT_EQ(node.AsInteger(), -1) << "truncated toward zero";
  EXPECT_EQ(ErrorOf([&] { node.AsBoolean(); }), "Cannot read Date as boolean");
}

TEST(GenericConversions, DateTextLeavesOutAMidnightTime) {
  ScopedFormatSettings locale(GermanDates());
  EXPECT_EQ(DateText(EncodeDate(2001, 12, 31)), "31.12.2001");
  EXPECT_EQ(DateText(EncodeDateTime(2001, 12, 31, 0, 0, 1, 0)), "31.12.2001 00:00:01");
}

TEST(GenericConversions, StringKindReadsOnlyAsDate) {
  ScopedFormatSettings locale(GermanDates());
  TProbe node(etString);
  node.text = "24.12.1999";
  EXPECT_DOUBLE_EQ(node.AsDate(), EncodeDate(1999, 12, 24));
  EXPECT_EQ(ErrorOf([&] { node.AsFloat(); }), "Cannot read String as Float");
  EXPECT_EQ(ErrorOf([&] { node.AsInteger(); }), "Cannot read String as integer");
  EXPECT_EQ(ErrorOf([&] { node.AsBoolean(); }), "Cannot read String as boolean");
  node.text = "no date";
  EXPECT_THROW(node.AsDate(), EConvertError);
}

TEST(GenericConversions, FloatKindReadsAsDateAndTextButNotInteger) {
  TProbe node(etFloat);
  node.number = 2.5;
  EXPECT_DOUBLE_EQ(node.AsDate(), 2.5);
  EXPECT_EQ(node.AsString(), "2.5");
  EXPECT_EQ(ErrorOf([&] { node.AsInteger(); }), "Cannot read Float as integer");
  EXPECT_EQ(ErrorOf([&] { node.AsBoolean(); }), "Cannot read Float as boolean");
}

TEST(GenericConversions, IntegerKindReadsAsDateTextAndFloat) {
  TProbe node(etInteger);
  node.integer = -42;
  EXPECT_DOUBLE_EQ(node.AsDate(), -42);
  EXPECT_EQ(node.AsString(), "-42");
  EXPECT_DOUBLE_EQ(node.AsFloat(), -42);
  EXPECT_EQ(ErrorOf([&] { node.AsBoolean(); }), "Cannot read Integer as boolean");
}

TEST(GenericConversions, BooleanKindReadsAsTextAndZeroOrOne) {
  TProbe node(etBoolean);
  node.flag = true;
  EXPECT_EQ(node.AsString(), "TRUE");
  EXPECT_EQ(node.AsInteger(), 1);
  EXPECT_DOUBLE_EQ(node.AsFloat(), 1);
  EXPECT_EQ(ErrorOf([&] { node.AsDate(); }), "Cannot read Boolean as Date");
  node.flag = false;
  EXPECT_EQ(node.AsString(), "FALSE");
  EXPECT_EQ(node.AsInteger(), 0);
}

TEST(GenericConversions, OwnKindIsNeverConvertedThroughItself) {
  // A node that does not answer its own kind gets an error, not a loop.
  TProbe date(etDate);
  TProbe text(etString);
  TProbe number(etFloat);
  TProbe integer(etInteger);
  EXPECT_EQ(ErrorOf([&] { date.TExpression::AsDate(); }), "Cannot read Date as Date");
  EXPECT_EQ(ErrorOf([&] { text.TExpression::AsString(); }), "Cannot read String as String");
  EXPECT_EQ(ErrorOf([&] { number.TExpression::AsFloat(); }), "Cannot read Float as Float");
  EXPECT_EQ(ErrorOf([&] { integer.TExpression::AsInteger(); }), "Cannot read Integer as integer");
}

// --- Literals

TEST(Literals, StringLiteralIsTextAndReadsAsDateByTheLocale) {
  ScopedFormatSettings locale(GermanDates());
  TStringLiteral literal("01.02.2003");
  EXPECT_EQ(literal.ExprType(), etString);
  EXPECT_EQ(literal.AsString(), "01.02.2003");
  EXPECT_DOUBLE_EQ(literal.AsDate(), EncodeDate(2003, 2, 1));
  EXPECT_EQ(ErrorOf([&] { literal.AsFloat(); }), "Cannot read String as Float");
}

TEST(Literals, FloatLiteralAnswersDateFloatAndText) {
  TFloatLiteral literal(1.25);
  EXPECT_EQ(literal.ExprType(), etFloat);
  EXPECT_DOUBLE_EQ(literal.AsDate(), 1.25);
  EXPECT_DOUBLE_EQ(literal.AsFloat(), 1.25);
  EXPECT_EQ(literal.AsString(), "1.25");
  EXPECT_EQ(ErrorOf([&] { literal.AsInteger(); }), "Cannot read Float as integer");
  EXPECT_EQ(TFloatLiteral(1e20).AsString(), "1E20");
}

TEST(Literals, IntegerLiteralAnswersEveryNumericReading) {
  TIntegerLiteral literal(-7);
  EXPECT_EQ(literal.ExprType(), etInteger);
  EXPECT_DOUBLE_EQ(literal.AsDate(), -7);
  EXPECT_DOUBLE_EQ(literal.AsFloat(), -7);
  EXPECT_EQ(literal.AsInteger(), -7);
  EXPECT_EQ(literal.AsString(), "-7");
  EXPECT_EQ(ErrorOf([&] { literal.AsBoolean(); }), "Cannot read Integer as boolean");
}

TEST(Literals, BooleanLiteralReadsAsZeroOrOneEverywhere) {
  TBooleanLiteral yes(true), no(false);
  EXPECT_EQ(yes.ExprType(), etBoolean);
  EXPECT_TRUE(yes.AsBoolean());
  EXPECT_FALSE(no.AsBoolean());
  EXPECT_DOUBLE_EQ(yes.AsDate(), 1);
  EXPECT_DOUBLE_EQ(no.AsFloat(), 0);
  EXPECT_EQ(yes.AsInteger(), 1);
  EXPECT_EQ(yes.AsString(), "TRUE");
  EXPECT_EQ(no.AsString(), "FALSE");
}

// --- Options copied into nodes

TEST(NodeOptions, NodesCopyTheOptionsCurrentWhenTheyAreCreated) {
  TIntegerLiteral plain(1);
  EXPECT_FALSE(plain.CaseInsensitive());
  EXPECT_TRUE(plain.PartialCompare());
  std::unique_ptr<TExpression> inside;
  {
    ScopedFilterOptions outer(foCaseInsensitive | foNoPartialCompare);
    inside = Int(2);
    {
      ScopedFilterOptions inner(foNone);
      EXPECT_FALSE(Int(3)->CaseInsensitive());
    }
    EXPECT_EQ(CurrentFilterOptions(), foCaseInsensitive | foNoPartialCompare);
  }
  EXPECT_EQ(CurrentFilterOptions(), foNone);
  EXPECT_TRUE(inside->CaseInsensitive()) << "kept after the options changed";
  EXPECT_FALSE(inside->PartialCompare());
}

TEST(NodeOptions, ParseSetsTheOptionsOfEveryNodeItBuilds) {
  auto tree = Parse("'a' = 'A'", foCaseInsensitive);
  auto& relational = dynamic_cast<TRelationalOp&>(*tree);
  EXPECT_TRUE(relational.CaseInsensitive());
  EXPECT_TRUE(relational.Left().CaseInsensitive());
  EXPECT_TRUE(relational.PartialCompare());
  EXPECT_FALSE(Parse("'a' = 'A'", foNoPartialCompare)->PartialCompare());
  EXPECT_EQ(CurrentFilterOptions(), foNone) << "restored after the parse";
}

}  // namespace
}  // namespace vorn::filter_test
