// Every parser message with its filled-in text, the resolver contract,
// freeing partial trees on failure, and the nesting limit.
#include <gtest/gtest.h>

#include "FilterTestSupport.h"

namespace vorn::filter_test {
namespace {

std::string ProbeParseError(std::string_view text) {
  return ErrorOf([&] { ParseFilterExpression(text, foNone, ProbeResolver(), nullptr); });
}

struct MessageCase {
  const char* text;
  const char* message;
};

TEST(ParserErrors, EveryMessageWithItsFilledInText) {
  const MessageCase cases[] = {
      {"A = B)", ") not appropriate"},
      {"A, B", ", not appropriate"},
      {"1 => 1", "=> not a valid operator"},
      {"1 == 1", "== not a valid operator"},
      {"1 =< 1", "=< not a valid operator"},
      {"1 >< 1", ">< not a valid operator"},
      {"1 << 1", "<< not a valid operator"},
      {"1 >> 1", ">> not a valid operator"},
      {"()", "invalid sub-expression"},
      {"( )", "invalid sub-expression"},
      {"(1", " ) expected"},
      {"(1, 2)", " ) expected"},
      {"AND 1", "opAnd not allowed here"},
      {"1 + OR", "opOr not allowed here"},
      {"A * div", "opDiv not allowed here"},
      {"UPPER(A", "Incorrectly formed parameters"},
      {"UPPER(A B", "Identifier B not allowed here"},
      {"ENAME =", "Unexpected end of factor"},
      {"1 + )", "Unexpected end of factor"},
      {"NOT", "Unexpected end of factor"},
      {"-", "Unexpected end of factor"},
      {"UPPER(A, )", "Incorrectly formed parameters"},
      {"#", "Syntax error"},
      {"1 + #", "Syntax error"},
      {"A B", "Identifier B not allowed here"},
      {"A 5", "char 5 in input stream"},
      {"A TRUE", "Boolean literal not allowed here"},
      {"A + 1 false", "Boolean literal not allowed here"},
      {"A ; B", "char ; in input stream"},
      {"'abc", "Unterminated string"},
      {"'abc''", "Unterminated string"},
      {"[abc", "Unterminated fieldname"},
      {"1.2.3", "Bad numeric format"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ProbeParseError(c.text), c.message) << c.text;
  }
}

TEST(ParserErrors, UnknownNamesAreReportedUpperCased) {
  EXPECT_EQ(ParseError("nosuch"), "Unknown Identifier NOSUCH");
  EXPECT_EQ(ParseError("nosuch(1, 2)"), "Unknown Identifier NOSUCH");
  EXPECT_EQ(ParseError("[Hire date]"), "Unknown Identifier Hire date") << "kept as written";
}

TEST(ParserErrors, KindErrorsBelowArithmeticSurfaceWhileParsing) {
  EXPECT_EQ(ParseError("('A' * 2) + 1"), "Operator opMult incompatible with String");
  EXPECT_EQ(ParseError("-'abc' + 1"), "Operator opMinus incompatible with String");
  EXPECT_EQ(ParseError("NOT 2.5 AND TRUE"), "Operator opNot incompatible with Float");
}

TEST(ParserErrors, KindErrorsBelowAComparisonWaitForEvaluation) {
  auto tree = Parse("'A' * 2 = 1");
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(ErrorOf([&] { tree->AsBoolean(); }), "Operator opMult incompatible with String");
  auto truth = Parse("TRUE < FALSE");
  EXPECT_EQ(ErrorOf([&] { truth->AsBoolean(); }), "cannot apply opLT to boolean operands");
  auto sum = Parse("1 + 1");
  EXPECT_EQ(ErrorOf([&] { sum->AsBoolean(); }), "Internal parser error. Code 13");
}

TEST(ParserErrors, AnEmptyParameterIsRefused) {
  EXPECT_EQ(ParseError("UPPER()"), "Incorrectly formed parameters");
  EXPECT_EQ(ParseError("COPY('A',,1)"), "Incorrectly formed parameters");
  EXPECT_EQ(ParseError("COPY('A',1,)"), "Incorrectly formed parameters");
  EXPECT_EQ(ParseError("PI()"), "Incorrectly formed parameters");
  EXPECT_EQ(ProbeParseError("ENAME()"), "Incorrectly formed parameters");
}

TEST(ParserErrors, NotAfterACompleteOperandIsReportedNotDropped) {
  EXPECT_EQ(ProbeParseError("A NOT B"), "N not appropriate");
  EXPECT_EQ(ProbeParseError("A = 1 NOT B"), "N not appropriate");
  EXPECT_EQ(ProbeParseError("(A not B)"), "n not appropriate");
  EXPECT_EQ(ProbeParseError("UPPER(A NOT B)"), "N not appropriate");
}

TEST(ParserErrors, AZeroCharacterInTheTextIsNoTerminator) {
  EXPECT_EQ(ParseError(std::string_view("1 = 1\0", 6)), std::string("char \0 in input stream", 22));
  EXPECT_EQ(ParseError(std::string_view("1 +\0 2", 6)), "Syntax error");
  auto text = Parse(std::string_view("'a\0b'", 5));
  EXPECT_EQ(text->AsString(), std::string("a\0b", 3));
}

// --- The resolver

struct ResolverCall {
  TObject* context;
  std::string name;
  int params;  // -1: no list
};

TEST(ParserResolver, GetsNamesAndParameterListsAsWritten) {
  std::vector<ResolverCall> calls;
  TObject context;
  TIdentifierResolver resolver = [&](TObject* c, const std::string& name,
                                     const TParameterList* params) {
    calls.push_back({c, name, params ? params->Count() : -1});
    return std::make_unique<TIntegerLiteral>(1);
  };
  ParseFilterExpression("ename + Job(1, 'x') + [Hire date] + upper(a)", foNone, resolver, &context);
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[0].name, "ENAME");
  EXPECT_EQ(calls[0].params, -1);
  EXPECT_EQ(calls[0].context, &context);
  EXPECT_EQ(calls[1].name, "JOB");
  EXPECT_EQ(calls[1].params, 2);
  EXPECT_EQ(calls[2].name, "Hire date");
  EXPECT_EQ(calls[2].params, -1);
  EXPECT_EQ(calls[3].name, "A") << "UPPER is a function and never reaches the resolver";
}

TEST(ParserResolver, ListsTheResolverLeavesAreFreed) {
  TProbe::live = 0;
  {
    auto tree = ParseFilterExpression("ENAME(A, B + C) = 1", foNone, ProbeResolver(), nullptr);
    EXPECT_EQ(Describe(tree.get()), "(opEq [ENAME] 1)");
    EXPECT_EQ(TProbe::live, 1) << "only the resolved ENAME stays";
  }
  EXPECT_EQ(TProbe::live, 0);
}

TEST(ParserResolver, ANameNoOneResolvesIsUnknown) {
  TIdentifierResolver refuses = [](TObject*, const std::string&, const TParameterList*) {
    return std::unique_ptr<TExpression>();
  };
  EXPECT_EQ(ErrorOf([&] { ParseFilterExpression("A + 1", foNone, refuses, nullptr); }),
            "Unknown Identifier A");
  EXPECT_EQ(ErrorOf([&] { ParseFilterExpression("[b c]", foNone, refuses, nullptr); }),
            "Unknown Identifier b c");
  EXPECT_EQ(ParseError("[b c]"), "Unknown Identifier b c") << "no resolver at all";
}

TEST(ParserResolver, FailedParsesFreeEverythingBuiltSoFar) {
  const char* failing[] = {
      "A + B + (C",  "A + B )",         "A = B = C", "UPPER(A, B",     "IF(A, B, C) + 'x' * 2",
      "A * B NOT C", "(A + B) * [C",    "A - B 'x'", "COPY(A, B,, C)", "A + B + 1e+5",
      "X(A, B)(C)",  "A = B AND C = D",
  };
  for (const char* text : failing) {
    TProbe::live = 0;
    EXPECT_THROW(ParseFilterExpression(text, foNone, ProbeResolver(etInteger), nullptr),
                 EExpression)
        << text;
    EXPECT_EQ(TProbe::live, 0) << text;
  }
}

// --- Nesting

TEST(ParserNesting, DeepButReasonableNestingParses) {
  int depth = MaxFilterDepth - 1;
  std::string text = std::string(depth, '(') + "1" + std::string(depth, ')');
  EXPECT_EQ(Parse(text)->AsInteger(), 1);
  std::string negations(depth, '-');
  EXPECT_EQ(Parse(negations + "1")->AsInteger(), depth % 2 ? -1 : 1);
  std::string sum = "1";
  for (int i = 1; i < MaxFilterDepth; ++i)
    sum += "+1";
  EXPECT_EQ(Parse(sum)->AsInteger(), MaxFilterDepth);
}

TEST(ParserNesting, DeeperNestingIsRefusedInsteadOfOverflowingTheStack) {
  int depth = MaxFilterDepth;
  EXPECT_EQ(ParseError(std::string(depth, '(') + "1" + std::string(depth, ')')),
            "Expression nested too deeply");
  EXPECT_EQ(ParseError(std::string(100000, '(')), "Expression nested too deeply");
  EXPECT_EQ(ParseError(std::string(100000, '-') + "1"), "Expression nested too deeply");
  std::string nots;
  for (int i = 0; i < 50000; ++i)
    nots += "NOT ";
  EXPECT_EQ(ParseError(nots + "TRUE"), "Expression nested too deeply");
  std::string calls;
  for (int i = 0; i < 5000; ++i)
    calls += "UPPER(";
  EXPECT_EQ(ParseError(calls + "'a'" + std::string(5000, ')')), "Expression nested too deeply");
}

}  // namespace
}  // namespace vorn::filter_test
