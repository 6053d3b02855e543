// The shape of parsed trees: precedence and associativity, keywords, and
// the rules for texts, bracketed names and numbers.
#include <gtest/gtest.h>

#include "FilterTestSupport.h"

namespace vorn::filter_test {
namespace {

// The tree of `text` with every name a probe.
std::string Shape(std::string_view text, TFilterOptions options = foNone) {
  return Describe(ParseFilterExpression(text, options, ProbeResolver(), nullptr).get());
}

TEST(ParserGrammar, BlankTextGivesNoTree) {
  EXPECT_EQ(Parse(""), nullptr);
  EXPECT_EQ(Parse("   "), nullptr);
  EXPECT_EQ(Parse("\t\r\n \x01\x1f"), nullptr);
}

TEST(ParserGrammar, MultiplyingOperatorsBindTighterThanAdding) {
  EXPECT_EQ(Shape("1 + 2 * 3"), "(opPlus 1 (opMult 2 3))");
  EXPECT_EQ(Shape("1 * 2 + 3"), "(opPlus (opMult 1 2) 3)");
  EXPECT_EQ(Shape("A OR B AND C"), "(opOr [A] (opAnd [B] [C]))");
  EXPECT_EQ(Shape("A XOR B DIV C"), "(opXor [A] (opDiv [B] [C]))");
  EXPECT_EQ(Shape("A - B SHL 2 MOD 3"), "(opMinus [A] (opMod (opShl [B] 2) 3))");
  EXPECT_EQ(Shape("A SHR B / C"), "(opDivide (opShr [A] [B]) [C])");
  EXPECT_EQ(Shape("(1 + 2) * 3"), "(opMult (opPlus 1 2) 3)");
}

TEST(ParserGrammar, EveryBinaryLevelChainsToTheLeft) {
  EXPECT_EQ(Shape("10 - 4 - 3"), "(opMinus (opMinus 10 4) 3)");
  EXPECT_EQ(Parse("10 - 4 - 3")->AsInteger(), 3);
  EXPECT_EQ(Shape("100 / 10 / 5"), "(opDivide (opDivide 100 10) 5)");
  EXPECT_EQ(Shape("A OR B XOR C"), "(opXor (opOr [A] [B]) [C])");
  EXPECT_EQ(Shape("A AND B MOD C"), "(opMod (opAnd [A] [B]) [C])");
}

TEST(ParserGrammar, ComparisonsBindLoosestOfAll) {
  EXPECT_EQ(Shape("A = B AND C"), "(opEq [A] (opAnd [B] [C]))");
  EXPECT_EQ(Shape("A + 1 >= B * 2"), "(opGTE (opPlus [A] 1) (opMult [B] 2))");
  EXPECT_EQ(Shape("(A = 1) AND (B <> 2)"), "(opAnd (opEq [A] 1) (opNEQ [B] 2))");
  EXPECT_EQ(Shape("A<B"), "(opLT [A] [B])");
  EXPECT_EQ(Shape("A>B"), "(opGT [A] [B])");
  EXPECT_EQ(Shape("A<=B"), "(opLTE [A] [B])");
  EXPECT_EQ(Shape("A<>B"), "(opNEQ [A] [B])");
}

TEST(ParserGrammar, AndBindsTighterThanAComparisonSoTheNaturalFormFails) {
  // Read as SAL > (1000 AND DEPTNO), and then "= 10" cannot follow.
  EXPECT_EQ(ErrorOf([] {
              ParseFilterExpression("SAL > 1000 AND DEPTNO = 10", foNone, ProbeResolver(), nullptr);
            }),
            "Syntax error");
  EXPECT_EQ(Shape("(SAL > 1000) AND (DEPTNO = 10)"),
            "(opAnd (opGT [SAL] 1000) (opEq [DEPTNO] 10))");
  EXPECT_EQ(ParseError("1 < 2 < 3"), "Syntax error");
}

TEST(ParserGrammar, UnaryOperatorsTakeOneFactor) {
  EXPECT_EQ(Shape("-2 * 3"), "(opMult (opMinus 2) 3)");
  EXPECT_EQ(Shape("- -2"), "(opMinus (opMinus 2))");
  EXPECT_EQ(Shape("+A"), "(opPlus [A])");
  EXPECT_EQ(Shape("NOT A = B"), "(opEq (opNot [A]) [B])");
  EXPECT_EQ(Shape("NOT(A = 'x')"), "(opNot (opEq [A] 'x'))") << "NOT takes only its letters";
  EXPECT_EQ(Shape("NOT NOT A"), "(opNot (opNot [A]))");
}

TEST(ParserGrammar, KeywordsAndBooleansIgnoreCase) {
  EXPECT_EQ(Shape("a and b Or c xOr d"), "(opXor (opOr (opAnd [A] [B]) [C]) [D])");
  EXPECT_EQ(Shape("a div b mod c shl d shr e"),
            "(opShr (opShl (opMod (opDiv [A] [B]) [C]) [D]) [E])");
  EXPECT_EQ(Shape("not true = False"), "(opEq (opNot TRUE) FALSE)");
  EXPECT_EQ(Shape("TrUe"), "TRUE");
}

TEST(ParserGrammar, NamesAreUpperCasedAndMayHoldDigitsAndUnderscores) {
  EXPECT_EQ(Shape("hire_date2 = _x"), "(opEq [HIRE_DATE2] [_X])");
  EXPECT_EQ(Shape("upper ( a )"), "UPPER([A])");
  EXPECT_EQ(Shape("COPY(A, 1 + 1, 2)"), "COPY([A], (opPlus 1 1), 2)");
  EXPECT_EQ(Shape("IF(A = 1, 'x', 'y')"), "IF((opEq [A] 1), 'x', 'y')");
}

TEST(ParserGrammar, BlanksAreAnyControlCharacter) {
  EXPECT_EQ(Shape("\x01"
                  "A\x1f=\t\n1 "),
            "(opEq [A] 1)");
}

TEST(ParserGrammar, BracketedNamesAreTakenVerbatim) {
  EXPECT_EQ(Shape("[DATE] > 0"), "(opGT [DATE] 0)");
  EXPECT_EQ(Shape("[Hire date] = [a'b(c)]"), "(opEq [Hire date] [a'b(c)])");
  EXPECT_EQ(Shape("[and]"), "[and]");
  EXPECT_EQ(Shape("[]"), "[]");
  EXPECT_EQ(Shape("[" + std::string(256, 'x') + "]"), "[" + std::string(256, 'x') + "]");
}

TEST(ParserGrammar, WithoutBracketsAFunctionNameIsTheFunction) {
  EXPECT_EQ(Shape("DATE > 0"), "(opGT DATE 0)");
  auto tree = ParseFilterExpression("DATE > 0", foNone, ProbeResolver(), nullptr);
  EXPECT_EQ(ErrorOf([&] { tree->AsBoolean(); }), "Invalid parameter to DATE");
}

TEST(ParserGrammar, TextsDoubleTheirQuotes) {
  EXPECT_EQ(Shape("'O''Brien'"), "'O'Brien'");
  EXPECT_EQ(Shape("''"), "''");
  EXPECT_EQ(dynamic_cast<TStringLiteral&>(*Parse("''''")).Value(), "'");
  EXPECT_EQ(dynamic_cast<TStringLiteral&>(*Parse("'a b\tc'")).Value(), "a b\tc");
}

TEST(ParserGrammar, TextsHoldUpTo256Characters) {
  std::string longest(256, 'x');
  EXPECT_EQ(dynamic_cast<TStringLiteral&>(*Parse("'" + longest + "'")).Value(), longest);
  EXPECT_EQ(ParseError("'" + longest + "x'"), "String too long");
  // A doubled quote counts as one character.
  std::string quoted = std::string(255, 'x') + "''";
  EXPECT_EQ(dynamic_cast<TStringLiteral&>(*Parse("'" + quoted + "'")).Value().size(), 256u);
  EXPECT_EQ(ParseError("'" + quoted + "x'"), "String too long");
  EXPECT_EQ(ParseError("[" + longest + "x]"), "Fieldname too long");
}

TEST(ParserGrammar, NumbersWithoutFractionOrExponentAreIntegers) {
  EXPECT_EQ(Parse("12")->ExprType(), etInteger);
  EXPECT_EQ(Parse("2147483647")->AsInteger(), 2147483647);
  EXPECT_EQ(Parse("0012")->AsInteger(), 12);
  EXPECT_THROW(Parse("2147483648"), EConvertError);
}

TEST(ParserGrammar, FractionsAndExponentsMakeFloats) {
  const std::pair<const char*, double> cases[] = {
      {"1e5", 1e5}, {"1E-5", 1e-5}, {"1.5", 1.5}, {"1.", 1}, {"1.5e2", 150}, {"0.25E-1", 0.025},
  };
  for (const auto& [text, value] : cases) {
    auto tree = Parse(text);
    EXPECT_EQ(tree->ExprType(), etFloat) << text;
    EXPECT_DOUBLE_EQ(tree->AsFloat(), value) << text;
  }
}

TEST(ParserGrammar, MalformedNumbersAreRefused) {
  for (const char* text : {"1e+5", "1.2.3", "1e", "1e-", "1e5e3", "1e5.2", "1E-x", "1.5ee"}) {
    EXPECT_EQ(ParseError(text), "Bad numeric format") << text;
  }
  // At most 28 characters are collected.
  EXPECT_EQ(Parse(std::string(27, '0') + "1")->AsInteger(), 1);
  EXPECT_EQ(ParseError(std::string(28, '0') + "1"), "Bad numeric format");
}

TEST(ParserGrammar, ANumberEndsAtTheFirstOtherCharacter) {
  EXPECT_EQ(Shape("12+3"), "(opPlus 12 3)");
  EXPECT_EQ(ParseError("12abc"), "Identifier ABC not allowed here");
}

TEST(ParserGrammar, TheDecimalSeparatorIsTheLocales) {
  TFormatSettings settings = DefaultFormatSettings();
  settings.DecimalSeparator = ',';
  ScopedFormatSettings locale(settings);
  EXPECT_DOUBLE_EQ(Parse("1,5")->AsFloat(), 1.5);
  EXPECT_EQ(ParseError("1.5"), "char . in input stream");
  EXPECT_EQ(ParseError("1,2,3"), "Bad numeric format");
}

TEST(ParserGrammar, ParametersAreFullExpressions) {
  EXPECT_EQ(Shape("IF(A > 1 AND 2, B, C)"), "IF((opGT [A] (opAnd 1 2)), [B], [C])");
  EXPECT_EQ(Shape("UPPER((A))"), "UPPER([A])");
  EXPECT_EQ(Shape("POS(UPPER(A), B + 'x')"), "POS(UPPER([A]), (opPlus [B] 'x'))");
}

}  // namespace
}  // namespace vorn::filter_test
