// Every operator against every pair of operand kinds: the kind of the
// result or the error, for unary, binary and relational nodes.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <map>
#include <optional>

#include "FilterTestSupport.h"

namespace vorn::filter_test {
namespace {

const TExprType kKinds[] = {etDate, etString, etFloat, etInteger, etBoolean};

// The result kind of `op` on operands of kind `kind`, as the language
// defines it; nullopt where the pair is refused.
std::optional<TExprType> ExpectedKind(TOperator op, TExprType kind) {
  static const std::map<TExprType, std::map<TOperator, TExprType>> allowed{
      {etDate, {{opPlus, etDate}, {opMinus, etDate}}},
      {etString, {{opPlus, etString}}},
      {etFloat, {{opMult, etFloat}, {opDivide, etFloat}, {opPlus, etFloat}, {opMinus, etFloat}}},
      {etInteger,
       {{opNot, etInteger},
        {opMult, etInteger},
        {opDivide, etFloat},
        {opDiv, etInteger},
        {opMod, etInteger},
        {opAnd, etInteger},
        {opShl, etInteger},
        {opShr, etInteger},
        {opPlus, etInteger},
        {opMinus, etInteger},
        {opOr, etInteger},
        {opXor, etInteger}}},
      {etBoolean, {{opNot, etBoolean}, {opAnd, etBoolean}, {opOr, etBoolean}, {opXor, etBoolean}}},
  };
  const auto& ops = allowed.at(kind);
  auto found = ops.find(op);
  if (found == ops.end()) return std::nullopt;
  return found->second;
}

std::string Incompatible(TOperator op, TExprType kind) {
  return "Operator " + std::string(OperatorName(op)) + " incompatible with " +
         std::string(ExprTypeName(kind));
}

TEST(OperatorKinds, BinaryOperatorsOnEveryKindPair) {
  int allowedPairs = 0;
  for (int o = opMult; o <= opXor; ++o) {
    auto op = static_cast<TOperator>(o);
    for (TExprType left : kKinds) {
      for (TExprType right : kKinds) {
        SCOPED_TRACE(std::string(OperatorName(op)) + " " + std::string(ExprTypeName(left)) + "/" +
                     std::string(ExprTypeName(right)));
        TBinaryOp node(op, Probe(left), Probe(right));
        // The lower of the two kinds decides.
        TExprType operand = std::min(left, right);
        EXPECT_EQ(node.OperandType(), operand);
        if (auto expected = ExpectedKind(op, operand)) {
          EXPECT_EQ(node.ExprType(), *expected);
          ++allowedPairs;
        } else {
          EXPECT_EQ(ErrorOf([&] { node.ExprType(); }), Incompatible(op, operand));
        }
      }
    }
  }
  // Integer pairs (3) allow all 11 operators; Float pairs (5) 4; String pairs
  // (7) and Date pairs (9) their operators; Boolean (1) AND OR XOR.
  EXPECT_EQ(allowedPairs, 3 * 11 + 5 * 4 + 7 * 1 + 9 * 2 + 1 * 3);
}

TEST(OperatorKinds, UnaryOperatorsOnEveryKind) {
  for (TOperator op : {opNot, opPlus, opMinus}) {
    for (TExprType kind : kKinds) {
      SCOPED_TRACE(std::string(OperatorName(op)) + " " + std::string(ExprTypeName(kind)));
      TUnaryOp node(op, Probe(kind));
      EXPECT_EQ(node.OperandType(), kind);
      if (auto expected = ExpectedKind(op, kind)) {
        EXPECT_EQ(node.ExprType(), *expected);
      } else {
        EXPECT_EQ(ErrorOf([&] { node.ExprType(); }), Incompatible(op, kind));
      }
    }
  }
}

TEST(OperatorKinds, RelationalNodesAreBooleanWhateverTheirOperands) {
  for (int o = opEq; o <= opGTE; ++o) {
    for (TExprType left : kKinds) {
      for (TExprType right : kKinds) {
        TRelationalOp node(static_cast<TOperator>(o), Probe(left), Probe(right));
        EXPECT_EQ(node.ExprType(), etBoolean);
      }
    }
  }
}

TEST(OperatorKinds, ConstructorsRefuseOperatorsOfAnotherClass) {
  for (int o = 0; o < OperatorCount; ++o) {
    auto op = static_cast<TOperator>(o);
    std::string name(OperatorName(op));
    bool unary = op == opNot || op == opPlus || op == opMinus;
    bool binary = op >= opMult && op <= opXor;
    bool relational = op >= opEq;
    EXPECT_EQ(ErrorOf([&] { TUnaryOp(op, Int(1)); }),
              unary ? "no error" : name + " is not simple unary operator");
    EXPECT_EQ(ErrorOf([&] { TBinaryOp(op, Int(1), Int(2)); }),
              binary ? "no error" : name + " is not a simple binary operator");
    EXPECT_EQ(ErrorOf([&] { TRelationalOp(op, Int(1), Int(2)); }),
              relational ? "no error" : name + " is not relational operator");
  }
}

TEST(OperatorKinds, OperatorNodesKeepTheOperandKindsTheySawWhenBuilt) {
  auto probe = Probe(etInteger);
  TProbe* operand = probe.get();
  operand->integer = 4;
  TBinaryOp sum(opPlus, std::move(probe), Int(1));
  operand->SetKind(etString);
  operand->text = "x";
  EXPECT_EQ(sum.ExprType(), etInteger);
  EXPECT_EQ(ErrorOf([&] { sum.AsInteger(); }), "Cannot read String as integer");

  auto negated = Probe(etInteger);
  TProbe* inner = negated.get();
  TUnaryOp minus(opMinus, std::move(negated));
  inner->SetKind(etBoolean);
  EXPECT_EQ(minus.ExprType(), etInteger);
}

TEST(OperatorKinds, RelationalNodesLookAtTheKindsWhenEvaluated) {
  auto probe = Probe(etInteger);
  TProbe* operand = probe.get();
  operand->integer = 10;
  operand->text = "10";
  TRelationalOp less(opLT, std::move(probe), Int(9));
  EXPECT_FALSE(less.AsBoolean()) << "10 < 9 as numbers";
  operand->SetKind(etString);
  EXPECT_TRUE(less.AsBoolean()) << "'10' < '9' as texts";
}

// Which conversion a comparison uses for each kind pair: the values are
// chosen so that any other reading would answer differently or fail.
struct ComparisonCase {
  const char* name;
  std::function<std::unique_ptr<TExpression>()> left, right;
  TOperator op;
  bool expected;
};

TEST(OperatorKinds, ComparisonsReadBothSidesAsTheLowerKind) {
  const ComparisonCase cases[] = {
      {"Date/Date", [] { return Dat(1.25); }, [] { return Dat(1.5); }, opLT, true},
      {"Date/String", [] { return Dat(3); }, [] { return Str("1/2/1900"); }, opEq, true},
      {"Date/Float", [] { return Dat(2); }, [] { return Flt(2.5); }, opLT, true},
      {"Date/Integer", [] { return Dat(2.5); }, [] { return Int(2); }, opGT, true},
      {"Date/Boolean", [] { return Dat(0.5); }, [] { return Bool(true); }, opLT, true},
      {"String/String", [] { return Str("ab"); }, [] { return Str("b"); }, opLT, true},
      {"String/Float", [] { return Str("10"); }, [] { return Flt(9.5); }, opLT, true},
      {"String/Integer", [] { return Str("10"); }, [] { return Int(9); }, opLT, true},
      {"String/Boolean", [] { return Str("TRUE"); }, [] { return Bool(true); }, opEq, true},
      {"Float/Float", [] { return Flt(0.1); }, [] { return Flt(0.2); }, opLTE, true},
      {"Float/Integer", [] { return Flt(2.5); }, [] { return Int(2); }, opGT, true},
      {"Float/Boolean", [] { return Flt(0.5); }, [] { return Bool(true); }, opLT, true},
      {"Integer/Integer", [] { return Int(-3); }, [] { return Int(2); }, opGTE, false},
      {"Integer/Boolean", [] { return Int(1); }, [] { return Bool(true); }, opEq, true},
      {"Boolean/Boolean", [] { return Bool(true); }, [] { return Bool(false); }, opNEQ, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(TRelationalOp(c.op, c.left(), c.right()).AsBoolean(), c.expected);
    // The same pair the other way round compares the same way.
    TOperator mirrored = c.op == opLT    ? opGT
                         : c.op == opGT  ? opLT
                         : c.op == opLTE ? opGTE
                         : c.op == opGTE ? opLTE
                                         : c.op;
    EXPECT_EQ(TRelationalOp(mirrored, c.right(), c.left()).AsBoolean(), c.expected);
  }
}

TEST(OperatorKinds, EveryComparisonOperatorOnEachKind) {
  // Operands 1 and 2 of each kind that has an order; each operator answers
  // for less, equal and greater.
  using Make = std::function<std::unique_ptr<TExpression>(int)>;
  const std::pair<const char*, Make> kinds[] = {
      {"Date", [](int v) { return Dat(v); }},
      {"String", [](int v) { return Str(std::to_string(v)); }},
      {"Float", [](int v) { return Flt(v + 0.5); }},
      {"Integer", [](int v) { return Int(v); }},
  };
  // Expected results for (1 op 2), (2 op 2), (2 op 1).
  const std::map<TOperator, std::array<bool, 3>> truth{
      {opEq, {false, true, false}}, {opNEQ, {true, false, true}}, {opLT, {true, false, false}},
      {opGT, {false, false, true}}, {opLTE, {true, true, false}}, {opGTE, {false, true, true}},
  };
  for (const auto& [name, make] : kinds) {
    for (const auto& [op, expected] : truth) {
      SCOPED_TRACE(std::string(name) + " " + std::string(OperatorName(op)));
      EXPECT_EQ(TRelationalOp(op, make(1), make(2)).AsBoolean(), expected[0]);
      EXPECT_EQ(TRelationalOp(op, make(2), make(2)).AsBoolean(), expected[1]);
      EXPECT_EQ(TRelationalOp(op, make(2), make(1)).AsBoolean(), expected[2]);
    }
  }
}

TEST(OperatorKinds, BooleansCompareOnlyForEquality) {
  EXPECT_TRUE(TRelationalOp(opEq, Bool(false), Bool(false)).AsBoolean());
  EXPECT_FALSE(TRelationalOp(opNEQ, Bool(true), Bool(true)).AsBoolean());
  for (TOperator op : {opLT, opGT, opLTE, opGTE}) {
    EXPECT_EQ(ErrorOf([&] { TRelationalOp(op, Bool(true), Bool(false)).AsBoolean(); }),
              "cannot apply " + std::string(OperatorName(op)) + " to boolean operands");
  }
}

TEST(OperatorKinds, RelationalNodesReadAsTextAndNumbersButNotAsDate) {
  TRelationalOp yes(opEq, Int(1), Int(1));
  TRelationalOp no(opEq, Int(1), Int(2));
  EXPECT_EQ(yes.AsString(), "TRUE");
  EXPECT_EQ(no.AsString(), "FALSE");
  EXPECT_EQ(yes.AsInteger(), 1);
  EXPECT_DOUBLE_EQ(no.AsFloat(), 0);
  EXPECT_EQ(ErrorOf([&] { yes.AsDate(); }), "Cannot read Boolean as Date");
}

}  // namespace
}  // namespace vorn::filter_test
