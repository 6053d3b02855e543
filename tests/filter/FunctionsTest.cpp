// The built-in functions: type casts, IF, the numeric and the string
// functions, each with valid and refused parameters.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "FilterTestSupport.h"

namespace vorn::filter_test {
namespace {

double FloatOf(std::string_view text) {
  return Parse(text)->AsFloat();
}

int32_t IntegerOf(std::string_view text) {
  return Parse(text)->AsInteger();
}

std::string TextOf(std::string_view text) {
  return Parse(text)->AsString();
}

// The error reading `text` as `reading` raises once it has parsed.
std::string ReadError(std::string_view text, void (*reading)(const TExpression&)) {
  auto tree = Parse(text);
  return ErrorOf([&] { reading(*tree); });
}

void ReadFloat(const TExpression& node) {
  node.AsFloat();
}
void ReadInteger(const TExpression& node) {
  node.AsInteger();
}
void ReadString(const TExpression& node) {
  node.AsString();
}
void ReadKind(const TExpression& node) {
  node.ExprType();
}

// --- Type casts

TEST(TypeCasts, ChangeOnlyWhichConversionTheParentAsksFor) {
  EXPECT_EQ(Parse("DATE(1)")->ExprType(), etDate);
  EXPECT_EQ(Parse("STRING(1)")->ExprType(), etString);
  EXPECT_EQ(Parse("FLOAT(1)")->ExprType(), etFloat);
  EXPECT_EQ(Parse("INTEGER(1.5)")->ExprType(), etInteger);
  EXPECT_EQ(Parse("BOOLEAN(1)")->ExprType(), etBoolean);
  EXPECT_TRUE(Parse("STRING(1000) = '1000'")->AsBoolean());
  EXPECT_TRUE(Parse("STRING(10) < '9'")->AsBoolean()) << "compared as texts";
  EXPECT_DOUBLE_EQ(FloatOf("FLOAT(10) / 4"), 2.5);
  EXPECT_EQ(TextOf("DATE(2)"), "2") << "the parameter's own text";
  EXPECT_DOUBLE_EQ(Parse("STRING(2)")->AsDate(), 2) << "the parameter's own date";
  EXPECT_TRUE(Parse("BOOLEAN(1 = 1)")->AsBoolean());
}

TEST(TypeCasts, ForwardTheSameConversionWithoutConvertingThemselves) {
  EXPECT_EQ(ReadError("INTEGER(2.5)", ReadInteger), "Cannot read Float as integer");
  EXPECT_EQ(ReadError("BOOLEAN(1)", [](const TExpression& n) { n.AsBoolean(); }),
            "Cannot read Integer as boolean");
  EXPECT_EQ(IntegerOf("INTEGER(2.5 * 3)"), 0) << "a Float-kind operator reads 0 as integer";
  EXPECT_EQ(IntegerOf("TRUNC(2.5 * 3)"), 7);
}

TEST(TypeCasts, ExtraParametersAreIgnored) {
  EXPECT_EQ(TextOf("STRING(5, 'x')"), "5");
}

TEST(TypeCasts, ACastWithoutParametersFailsWhenRead) {
  for (const char* name : {"DATE", "STRING", "FLOAT", "INTEGER", "BOOLEAN"}) {
    auto tree = Parse(name);
    auto& cast = dynamic_cast<TTypeCast&>(*tree);
    EXPECT_EQ(cast.Name(), name);
    EXPECT_EQ(cast.ParamCount(), 0);
    EXPECT_EQ(ErrorOf([&] { cast.AsDate(); }), "Invalid parameter to " + std::string(name));
    EXPECT_EQ(ErrorOf([&] { cast.AsString(); }), "Invalid parameter to " + std::string(name));
  }
}

// --- IF

TEST(Conditional, TakesKindAndValueOfTheChosenBranch) {
  EXPECT_EQ(TextOf("IF(1 = 1, 'X', 'Y')"), "X");
  EXPECT_EQ(TextOf("IF(1 = 2, 'X', 'Y')"), "Y");
  EXPECT_EQ(Parse("IF(1 = 1, 5, 'Y')")->ExprType(), etInteger);
  EXPECT_EQ(Parse("IF(1 = 2, 5, 'Y')")->ExprType(), etString);
  EXPECT_DOUBLE_EQ(FloatOf("IF(TRUE, 2.5, 1)"), 2.5);
  EXPECT_TRUE(Parse("IF(FALSE, FALSE, TRUE)")->AsBoolean());
}

TEST(Conditional, EvaluatesTheConditionOnEveryRequest) {
  auto params = std::make_unique<TParameterList>();
  auto condition = Probe(etBoolean);
  TProbe* probe = condition.get();
  params->Add(std::move(condition));
  params->Add(Int(1));
  params->Add(Str("one"));
  TConditional node(std::move(params));
  probe->flag = true;
  EXPECT_EQ(node.ExprType(), etInteger);
  EXPECT_EQ(node.AsInteger(), 1);
  probe->flag = false;
  EXPECT_EQ(node.ExprType(), etString);
  EXPECT_EQ(node.AsString(), "one");
}

TEST(Conditional, NeedsThreeParametersAndABooleanCondition) {
  for (const char* text :
       {"IF(1, 2, 3)", "IF(TRUE, 1)", "IF(TRUE, 1, 2, 3)", "IF", "IF('TRUE', 1, 2)"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(ReadError(text, ReadKind), "Invalid parameters to If");
    EXPECT_EQ(ReadError(text, ReadString), "Invalid parameters to If");
  }
}

// --- Numeric functions

TEST(MathFunctions, ComputeTheirValues) {
  EXPECT_DOUBLE_EQ(FloatOf("ABS(-2.5)"), 2.5);
  EXPECT_DOUBLE_EQ(FloatOf("ARCTAN(1)"), std::atan(1.0));
  EXPECT_DOUBLE_EQ(FloatOf("COS(0)"), 1);
  EXPECT_DOUBLE_EQ(FloatOf("EXP(1)"), std::exp(1.0));
  EXPECT_DOUBLE_EQ(FloatOf("FRAC(2.75)"), 0.75);
  EXPECT_DOUBLE_EQ(FloatOf("FRAC(-2.75)"), -0.75);
  EXPECT_DOUBLE_EQ(FloatOf("INT(-2.75)"), -2);
  EXPECT_DOUBLE_EQ(FloatOf("LN(EXP(2))"), 2);
  EXPECT_DOUBLE_EQ(FloatOf("PI"), 3.141592653589793);
  EXPECT_DOUBLE_EQ(FloatOf("SIN(PI / 2)"), 1);
  EXPECT_DOUBLE_EQ(FloatOf("SQR(-3)"), 9);
  EXPECT_DOUBLE_EQ(FloatOf("SQRT(16)"), 4);
  EXPECT_NEAR(FloatOf("POWER(2, 10)"), 1024, 1e-9);
  EXPECT_DOUBLE_EQ(FloatOf("SQRT(TRUE)"), 1) << "Booleans count as numbers";
}

TEST(MathFunctions, TruncAndRoundAreIntegers) {
  EXPECT_EQ(Parse("TRUNC(1)")->ExprType(), etInteger);
  EXPECT_EQ(Parse("ROUND(1)")->ExprType(), etInteger);
  EXPECT_EQ(IntegerOf("TRUNC(2.7)"), 2);
  EXPECT_EQ(IntegerOf("TRUNC(-2.7)"), -2);
  EXPECT_EQ(IntegerOf("ROUND(2.6)"), 3);
  EXPECT_EQ(IntegerOf("ROUND(-2.6)"), -3);
  EXPECT_EQ(IntegerOf("ROUND(2.4)"), 2);
  EXPECT_DOUBLE_EQ(FloatOf("TRUNC(2.7)"), 2);
  EXPECT_EQ(TextOf("ROUND(7.5)"), "8");
}

TEST(MathFunctions, RoundTakesHalvesToTheEvenNeighbour) {
  EXPECT_EQ(IntegerOf("ROUND(0.5)"), 0);
  EXPECT_EQ(IntegerOf("ROUND(1.5)"), 2);
  EXPECT_EQ(IntegerOf("ROUND(2.5)"), 2);
  EXPECT_EQ(IntegerOf("ROUND(-2.5)"), -2);
  EXPECT_EQ(IntegerOf("ROUND(-3.5)"), -4);
}

TEST(MathFunctions, FloatFunctionsDoNotReadAsIntegerExceptAbs) {
  EXPECT_EQ(Parse("SQRT(16)")->ExprType(), etFloat);
  EXPECT_EQ(ReadError("SQRT(16)", ReadInteger), "Cannot read Float as integer");
  EXPECT_EQ(ReadError("PI", ReadInteger), "Cannot read Float as integer");
  EXPECT_EQ(IntegerOf("ABS(-3)"), 3);
  EXPECT_EQ(IntegerOf("ABS(-2147483647 - 1)"), INT_MIN) << "wraps";
  EXPECT_EQ(ReadError("ABS(-2.5)", ReadInteger), "Cannot read Float as integer");
  EXPECT_EQ(TextOf("SQR(1.5)"), "2.25");
}

TEST(MathFunctions, PiTakesAnyParametersAndReadsNone) {
  EXPECT_DOUBLE_EQ(FloatOf("PI('x', DATE(1))"), 3.141592653589793);
  EXPECT_TRUE(Parse("PI > 3")->AsBoolean());
}

TEST(MathFunctions, RefuseTextsDatesAndWrongCountsWhenEvaluated) {
  for (int i = 0; i < MathFunctionCount; ++i) {
    auto function = static_cast<TMathFunction>(i);
    if (function == mfPi) continue;
    std::string name(MathFunctionName(function));
    bool two = function == mfPower;
    std::string message = "Invalid parameter to " + name;
    auto read = function == mfTrunc || function == mfRound ? ReadInteger : ReadFloat;
    SCOPED_TRACE(name);
    EXPECT_EQ(ReadError(name + (two ? "(2, 'x')" : "('x')"), read), message);
    EXPECT_EQ(ReadError(name + (two ? "(DATE(1), 2)" : "(DATE(1))"), read), message);
    EXPECT_EQ(ReadError(name, read), message);
    EXPECT_EQ(ReadError(name + (two ? "(1, 2, 3)" : "(1, 2)"), read), message);
    EXPECT_EQ(ReadError(name + (two ? "(1, TRUE)" : "(TRUE)"), read), "no error");
  }
}

TEST(MathFunctions, ResultsThatAreNoNumberRaiseInsteadOfFlowingOn) {
  EXPECT_THROW(FloatOf("SQRT(-1)"), EInvalidOp);
  EXPECT_THROW(FloatOf("LN(-1)"), EInvalidOp);
  EXPECT_THROW(FloatOf("POWER(-2, 2)"), EInvalidOp);
  EXPECT_THROW(IntegerOf("TRUNC(1E10)"), EInvalidOp);
  EXPECT_THROW(IntegerOf("ROUND(-1E10)"), EInvalidOp);
  EXPECT_EQ(IntegerOf("TRUNC(2147483647.9)"), INT_MAX);
  EXPECT_EQ(IntegerOf("TRUNC(-2147483648.9)"), INT_MIN);
}

// --- String functions

TEST(StringFunctions, UpperAndLowerChangeOnlyAsciiLetters) {
  EXPECT_EQ(TextOf("UPPER('abc xyz_1')"), "ABC XYZ_1");
  EXPECT_EQ(TextOf("LOWER('ABC XYZ_1')"), "abc xyz_1");
  EXPECT_EQ(TextOf("UPPER('\xE4')"), "\xE4");
  EXPECT_EQ(TextOf("LOWER(12)"), "12");
  EXPECT_EQ(TextOf("UPPER(TRUE)"), "TRUE");
  EXPECT_EQ(Parse("UPPER('a')")->ExprType(), etString);
}

TEST(StringFunctions, CopyTakesARangeClippedToTheText) {
  EXPECT_EQ(TextOf("COPY('ABCDEF', 2, 3)"), "BCD");
  EXPECT_EQ(TextOf("COPY('ABCDEF', 5, 10)"), "EF");
  EXPECT_EQ(TextOf("COPY('ABCDEF', 0, 3)"), "AB");
  EXPECT_EQ(TextOf("COPY('ABCDEF', -5, 3)"), "");
  EXPECT_EQ(TextOf("COPY('ABCDEF', 7, 1)"), "");
  EXPECT_EQ(TextOf("COPY('ABCDEF', 2, -1)"), "");
  EXPECT_EQ(TextOf("COPY('ABCDEF', TRUE, 2)"), "AB");
  EXPECT_EQ(TextOf("COPY(12345, 2, 2)"), "23");
  EXPECT_EQ(TextOf("COPY('ABC', 2147483647, 2147483647)"), "");
  EXPECT_EQ(TextOf("COPY('ABC', -2147483647, 2147483647)"), "");
  EXPECT_EQ(TextOf("COPY('ABC', 2, 2147483647)"), "BC");
}

TEST(StringFunctions, PosFindsTheFirstOccurrence) {
  EXPECT_EQ(IntegerOf("POS('CD', 'ABCDEFCD')"), 3);
  EXPECT_EQ(IntegerOf("POS('X', 'ABC')"), 0);
  EXPECT_EQ(IntegerOf("POS('', 'ABC')"), 0);
  EXPECT_EQ(IntegerOf("POS(2, 123)"), 2);
  EXPECT_EQ(TextOf("POS('B', 'ABC')"), "2");
  EXPECT_EQ(Parse("POS('B', 'ABC')")->ExprType(), etInteger);
}

TEST(StringFunctions, LengthCountsCharacters) {
  EXPECT_EQ(IntegerOf("LENGTH('abc')"), 3);
  EXPECT_EQ(IntegerOf("LENGTH('')"), 0);
  EXPECT_EQ(IntegerOf("LENGTH(12.5)"), 4);
  EXPECT_DOUBLE_EQ(FloatOf("LENGTH('abcd') / 8"), 0.5);
}

TEST(StringFunctions, StringResultsConvertByTheGenericRules) {
  EXPECT_DOUBLE_EQ(Parse("UPPER('1/2/1900')")->AsDate(), 3);
  EXPECT_EQ(ReadError("UPPER('a')", ReadInteger), "Cannot read String as integer");
  EXPECT_EQ(ReadError("COPY('a', 1, 1)", ReadFloat), "Cannot read String as Float");
}

TEST(StringFunctions, RefuseWrongParametersWhenEvaluated) {
  struct Case {
    const char* text;
    void (*read)(const TExpression&);
    const char* name;
  };
  const Case cases[] = {
      {"UPPER(DATE(1))", ReadString, "UPPER"},
      {"UPPER('a', 'b')", ReadString, "UPPER"},
      {"UPPER", ReadString, "UPPER"},
      {"LOWER(DATE(1))", ReadString, "LOWER"},
      {"LOWER", ReadString, "LOWER"},
      {"COPY('A', 1)", ReadString, "COPY"},
      {"COPY(DATE(1), 1, 1)", ReadString, "COPY"},
      {"COPY('A', 1.5, 1)", ReadString, "COPY"},
      {"COPY('A', 1, '1')", ReadString, "COPY"},
      {"COPY('A', 1, 1, 1)", ReadString, "COPY"},
      {"POS('A')", ReadInteger, "POS"},
      {"POS(DATE(1), 'A')", ReadInteger, "POS"},
      {"POS('A', DATE(1))", ReadInteger, "POS"},
      {"POS", ReadString, "POS"},
      {"LENGTH(DATE(1))", ReadInteger, "LENGTH"},
      {"LENGTH('a', 'b')", ReadInteger, "LENGTH"},
      {"LENGTH", ReadString, "LENGTH"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadError(c.text, c.read), "Invalid parameter to " + std::string(c.name)) << c.text;
  }
}

TEST(FunctionLookup, NamesMapToTheirFunctionClasses) {
  EXPECT_EQ(Describe(Parse("IF(TRUE, 1, 2)").get()), "IF(TRUE, 1, 2)");
  for (int i = 0; i < MathFunctionCount; ++i) {
    std::string name(MathFunctionName(static_cast<TMathFunction>(i)));
    EXPECT_EQ(Describe(Parse(name + "(1)").get()), name + "(1)");
  }
  for (int i = 0; i < StringFunctionCount; ++i) {
    std::string name(StringFunctionName(static_cast<TStringFunction>(i)));
    EXPECT_EQ(Describe(Parse(name + "('a')").get()), name + "('a')");
  }
  EXPECT_EQ(Describe(Parse("upper('a')").get()), "UPPER('a')") << "names ignore case";
  std::unique_ptr<TParameterList> none;
  EXPECT_EQ(CreateFunction("NOSUCH", none), nullptr);
}

}  // namespace
}  // namespace vorn::filter_test
