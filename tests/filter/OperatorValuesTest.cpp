// What operator nodes compute: integer, float, date, text and Boolean
// arithmetic, wrapping and division errors, short-circuiting, and the
// readings of each result kind.
#include <gtest/gtest.h>

#include <climits>

#include "FilterTestSupport.h"

namespace vorn::filter_test {
namespace {

int32_t IntOp(TOperator op, int32_t a, int32_t b) {
  return TBinaryOp(op, Int(a), Int(b)).AsInteger();
}

TEST(IntegerOperators, ComputeOnTheOperandsIntegers) {
  EXPECT_EQ(IntOp(opMult, 7, 3), 21);
  EXPECT_EQ(IntOp(opDiv, 7, 3), 2);
  EXPECT_EQ(IntOp(opMod, 7, 3), 1);
  EXPECT_EQ(IntOp(opAnd, 6, 3), 2);
  EXPECT_EQ(IntOp(opOr, 6, 3), 7);
  EXPECT_EQ(IntOp(opXor, 6, 3), 5);
  EXPECT_EQ(IntOp(opShl, 7, 3), 56);
  EXPECT_EQ(IntOp(opShr, 56, 3), 7);
  EXPECT_EQ(IntOp(opPlus, 7, 3), 10);
  EXPECT_EQ(IntOp(opMinus, 7, 3), 4);
}

TEST(IntegerOperators, DivTruncatesAndModTakesTheDividendsSign) {
  EXPECT_EQ(IntOp(opDiv, -7, 2), -3);
  EXPECT_EQ(IntOp(opDiv, 7, -2), -3);
  EXPECT_EQ(IntOp(opMod, -7, 2), -1);
  EXPECT_EQ(IntOp(opMod, 7, -2), 1);
}

TEST(IntegerOperators, ShiftsUseTheLowFiveBitsAndShrIsUnsigned) {
  EXPECT_EQ(IntOp(opShr, -1, 28), 15);
  EXPECT_EQ(IntOp(opShl, -8, 1), -16);
  EXPECT_EQ(IntOp(opShl, 1, 33), 2);
  EXPECT_EQ(IntOp(opShr, 1, 32), 1);
  EXPECT_EQ(IntOp(opShl, 1, -1), INT_MIN) << "count -1 is 31";
}

TEST(IntegerOperators, ArithmeticWrapsIn32Bits) {
  EXPECT_EQ(IntOp(opPlus, INT_MAX, 1), INT_MIN);
  EXPECT_EQ(IntOp(opMinus, INT_MIN, 1), INT_MAX);
  EXPECT_EQ(IntOp(opMult, 65536, 65536), 0);
  EXPECT_EQ(IntOp(opMult, INT_MAX, 2), -2);
  EXPECT_EQ(IntOp(opDiv, INT_MIN, -1), INT_MIN);
  EXPECT_EQ(IntOp(opMod, INT_MIN, -1), 0);
  EXPECT_EQ(TUnaryOp(opMinus, Int(INT_MIN)).AsInteger(), INT_MIN);
}

TEST(IntegerOperators, ZeroDivisorRaisesTheHostsDivisionError) {
  EXPECT_THROW(IntOp(opDiv, 1, 0), EDivByZero);
  EXPECT_THROW(IntOp(opMod, 1, 0), EDivByZero);
  EXPECT_THROW(IntOp(opMod, 0, 0), EDivByZero);
}

TEST(IntegerOperators, SlashOnIntegersGivesAFloat) {
  TBinaryOp node(opDivide, Int(7), Int(2));
  EXPECT_EQ(node.ExprType(), etFloat);
  EXPECT_DOUBLE_EQ(node.AsFloat(), 3.5);
  EXPECT_EQ(node.AsString(), "3.5");
  EXPECT_EQ(node.AsInteger(), 0) << "a Float-kind operator reads 0 as integer";
  EXPECT_THROW(TBinaryOp(opDivide, Int(7), Int(0)).AsFloat(), EZeroDivide);
}

TEST(IntegerOperators, IntegerResultsReadAsFloatTextAndDate) {
  TBinaryOp node(opMult, Int(-6), Int(7));
  EXPECT_DOUBLE_EQ(node.AsFloat(), -42);
  EXPECT_DOUBLE_EQ(node.AsDate(), -42);
  EXPECT_EQ(node.AsString(), "-42");
}

TEST(FloatOperators, ComputeOnTheOperandsFloats) {
  EXPECT_DOUBLE_EQ(TBinaryOp(opMult, Flt(7.5), Int(2)).AsFloat(), 15);
  EXPECT_DOUBLE_EQ(TBinaryOp(opDivide, Flt(7.5), Int(2)).AsFloat(), 3.75);
  EXPECT_DOUBLE_EQ(TBinaryOp(opPlus, Int(2), Flt(7.5)).AsFloat(), 9.5);
  EXPECT_DOUBLE_EQ(TBinaryOp(opMinus, Flt(7.5), Int(2)).AsFloat(), 5.5);
  TBinaryOp sum(opPlus, Flt(0.25), Int(1));
  EXPECT_EQ(sum.AsString(), "1.25");
  EXPECT_DOUBLE_EQ(sum.AsDate(), 1.25);
  EXPECT_EQ(sum.AsInteger(), 0);
}

TEST(FloatOperators, DivisionByZeroRaisesTheHostsFloatErrors) {
  EXPECT_THROW(TBinaryOp(opDivide, Flt(1), Flt(0)).AsFloat(), EZeroDivide);
  EXPECT_THROW(TBinaryOp(opDivide, Flt(-1), Int(0)).AsFloat(), EZeroDivide);
  EXPECT_THROW(TBinaryOp(opDivide, Flt(0), Flt(0)).AsFloat(), EInvalidOp);
}

TEST(DateOperators, AddAndSubtractDays) {
  TBinaryOp later(opPlus, Dat(100.5), Int(7));
  EXPECT_EQ(later.ExprType(), etDate);
  EXPECT_DOUBLE_EQ(later.AsDate(), 107.5);
  EXPECT_DOUBLE_EQ(later.AsFloat(), 107.5);
  EXPECT_EQ(later.AsInteger(), 0) << "a Date-kind operator reads 0 as integer";
  EXPECT_EQ(later.AsString(), "4/16/1900 12:00:00 PM");
  EXPECT_DOUBLE_EQ(TBinaryOp(opMinus, Dat(100.5), Dat(0.25)).AsDate(), 100.25);
  EXPECT_DOUBLE_EQ(TBinaryOp(opMinus, Int(10), Dat(2)).AsDate(), 8);
}

TEST(StringOperators, PlusJoinsTheTextsOfBothSides) {
  EXPECT_EQ(TBinaryOp(opPlus, Str("A"), Int(1)).AsString(), "A1");
  EXPECT_EQ(TBinaryOp(opPlus, Flt(1.5), Str("x")).AsString(), "1.5x");
  EXPECT_EQ(TBinaryOp(opPlus, Str("x"), Bool(true)).AsString(), "xTRUE");
  TBinaryOp text(opPlus, Str("1/"), Str("2/1900"));
  EXPECT_DOUBLE_EQ(text.AsDate(), 3) << "read through the locale date format";
  EXPECT_DOUBLE_EQ(text.AsFloat(), 0) << "a String-kind operator reads 0 as a number";
  EXPECT_EQ(text.AsInteger(), 0);
}

TEST(BooleanOperators, LogicOnBooleansAndEveryReadingOfTheResult) {
  EXPECT_FALSE(TBinaryOp(opAnd, Bool(true), Bool(false)).AsBoolean());
  EXPECT_TRUE(TBinaryOp(opAnd, Bool(true), Bool(true)).AsBoolean());
  EXPECT_TRUE(TBinaryOp(opOr, Bool(false), Bool(true)).AsBoolean());
  EXPECT_FALSE(TBinaryOp(opOr, Bool(false), Bool(false)).AsBoolean());
  EXPECT_FALSE(TBinaryOp(opXor, Bool(true), Bool(true)).AsBoolean());
  EXPECT_TRUE(TBinaryOp(opXor, Bool(false), Bool(true)).AsBoolean());
  TBinaryOp yes(opOr, Bool(false), Bool(true));
  EXPECT_EQ(yes.AsInteger(), 1);
  EXPECT_DOUBLE_EQ(yes.AsFloat(), 1);
  EXPECT_DOUBLE_EQ(yes.AsDate(), 1);
  EXPECT_EQ(yes.AsString(), "TRUE");
  EXPECT_EQ(TBinaryOp(opAnd, Bool(false), Bool(true)).AsString(), "FALSE");
}

TEST(BooleanOperators, AndAndOrSkipTheRightSideWhenTheLeftDecides) {
  auto right = Probe(etBoolean);
  TProbe* probe = right.get();
  TBinaryOp both(opAnd, Bool(false), std::move(right));
  EXPECT_FALSE(both.AsBoolean());
  EXPECT_EQ(probe->reads, 0);

  right = Probe(etBoolean);
  probe = right.get();
  TBinaryOp either(opOr, Bool(true), std::move(right));
  EXPECT_TRUE(either.AsBoolean());
  EXPECT_EQ(probe->reads, 0);

  right = Probe(etBoolean);
  probe = right.get();
  TBinaryOp exclusive(opXor, Bool(true), std::move(right));
  EXPECT_TRUE(exclusive.AsBoolean());
  EXPECT_EQ(probe->reads, 1) << "XOR needs both sides";

  right = Probe(etBoolean);
  probe = right.get();
  probe->flag = true;
  TBinaryOp decided(opAnd, Bool(true), std::move(right));
  EXPECT_TRUE(decided.AsBoolean());
  EXPECT_EQ(probe->reads, 1);
}

TEST(BooleanOperators, AndOnIntegersIsBitwiseAndNotATruthValue) {
  TBinaryOp mixed(opAnd, Bool(true), Int(3));
  EXPECT_EQ(mixed.ExprType(), etInteger);
  EXPECT_EQ(mixed.AsInteger(), 1);
  EXPECT_EQ(ErrorOf([&] { mixed.AsBoolean(); }), "Cannot read Integer as boolean");
}

TEST(BooleanOperators, ArithmeticReadAsATruthValueIsAnInternalError) {
  EXPECT_EQ(ErrorOf([] { TBinaryOp(opPlus, Int(1), Int(2)).AsBoolean(); }),
            "Internal parser error. Code 13");
  EXPECT_EQ(ErrorOf([] { TBinaryOp(opMult, Bool(true), Bool(true)).AsBoolean(); }),
            "Internal parser error. Code 13");
}

TEST(UnaryOperators, PlusAndMinusOnNumbers) {
  EXPECT_EQ(TUnaryOp(opMinus, Int(5)).AsInteger(), -5);
  EXPECT_DOUBLE_EQ(TUnaryOp(opMinus, Int(5)).AsFloat(), -5);
  EXPECT_EQ(TUnaryOp(opPlus, Int(5)).AsString(), "5");
  TUnaryOp negative(opMinus, Flt(2.5));
  EXPECT_EQ(negative.ExprType(), etFloat);
  EXPECT_DOUBLE_EQ(negative.AsFloat(), -2.5);
  EXPECT_EQ(negative.AsString(), "-2.5");
  EXPECT_EQ(ErrorOf([&] { negative.AsInteger(); }), "Cannot read Float as integer");
  EXPECT_EQ(ErrorOf([] { TUnaryOp(opMinus, Int(1)).AsBoolean(); }),
            "Cannot read Integer as boolean");
}

TEST(UnaryOperators, NotComplementsIntegersAndNegatesBooleans) {
  TUnaryOp bits(opNot, Int(5));
  EXPECT_EQ(bits.ExprType(), etInteger);
  EXPECT_EQ(bits.AsInteger(), -6);
  EXPECT_DOUBLE_EQ(bits.AsFloat(), -6);
  TUnaryOp truth(opNot, Bool(true));
  EXPECT_FALSE(truth.AsBoolean());
  EXPECT_EQ(truth.AsInteger(), 0);
  EXPECT_EQ(truth.AsString(), "FALSE");
  EXPECT_TRUE(TUnaryOp(opNot, Bool(false)).AsBoolean());
}

TEST(UnaryOperators, NotOnAnotherKindReadAsIntegerIsInternalErrorSix) {
  TUnaryOp node(opNot, Flt(2.5));
  EXPECT_EQ(ErrorOf([&] { node.ExprType(); }), "Operator opNot incompatible with Float");
  EXPECT_EQ(ErrorOf([&] { node.AsInteger(); }), "Internal parser error. Code 6");
}

TEST(UnaryOperators, PlusAndMinusOnDatesWorkOnTheDateValue) {
  TUnaryOp minus(opMinus, Dat(10.5));
  EXPECT_EQ(minus.ExprType(), etDate);
  EXPECT_DOUBLE_EQ(minus.AsDate(), -10.5);
  EXPECT_DOUBLE_EQ(minus.AsFloat(), -10.5);
  TUnaryOp plus(opPlus, Dat(10.5));
  EXPECT_DOUBLE_EQ(plus.AsDate(), 10.5);
  EXPECT_EQ(plus.AsString(), "1/9/1900 12:00:00 PM");
}

TEST(UnaryOperators, PlusOnATextIsTheTextAndMinusIsRefused) {
  TUnaryOp plus(opPlus, Str("abc"));
  EXPECT_EQ(plus.ExprType(), etString);
  EXPECT_EQ(plus.AsString(), "abc");
  EXPECT_EQ(ErrorOf([] { TUnaryOp(opMinus, Str("abc")).ExprType(); }),
            "Operator opMinus incompatible with String");
}

}  // namespace
}  // namespace vorn::filter_test
