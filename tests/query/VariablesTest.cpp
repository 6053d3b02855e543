// Declaring, setting, reading and deleting variables, PL/SQL tables and
// arrays, without a database; and the string limit a session sets.
#include <gtest/gtest.h>

#include "QueryTestSupport.h"
#include "vorn/host/DateTime.h"
#include "vorn/host/DateTimeText.h"
#include "vorn/host/Exceptions.h"
#include "vorn/session/SessionPreferences.h"

namespace vorn::query_test {
namespace {

TEST(VariablesTest, ARedeclarationKeepsThePlaceAndResetsTheValue) {
  TOracleQuery query;
  query.DeclareVariable("first", otInteger);
  query.DeclareVariable("result", otString);
  query.DeclareVariable("last", otFloat);
  query.SetVariable("result", "kept?");

  query.DeclareVariable(":RESULT", otString);

  ASSERT_EQ(3, query.VariableCount());
  EXPECT_EQ(":RESULT", query.VariableName(1));
  EXPECT_EQ(1, query.VariableIndex("result"));
  EXPECT_EQ(1, query.VariableIndex(":Result"));
  EXPECT_TRUE(query.GetVariable("result").IsEmpty());
}

TEST(VariablesTest, NamesAreStoredUpperCasedWithAColon) {
  TOracleQuery query;
  query.DeclareVariable("total", otFloat);
  EXPECT_EQ(":TOTAL", query.VariableName(0));
  EXPECT_EQ(otFloat, query.VariableType(0));
  EXPECT_EQ("Variable 1 does not exist", ErrorOf([&] { query.VariableName(1); }));
  EXPECT_EQ("Variable -1 does not exist", ErrorOf([&] { query.VariableType(-1); }));
  EXPECT_EQ(-1, query.VariableIndex("other"));
}

TEST(VariablesTest, BadDeclarationsLeaveTheListAsItWas) {
  TOracleQuery query;
  query.DeclareVariable("a", otInteger);

  EXPECT_EQ("You cannot declare a variable with an empty name",
            ErrorOf([&] { query.DeclareVariable("", otInteger); }));
  EXPECT_EQ("Unsupported variable type", ErrorOf([&] { query.DeclareVariable("b", 2); }));
  EXPECT_EQ("Unsupported variable type", ErrorOf([&] { query.DeclareVariable("a", 2); }));

  ASSERT_EQ(1, query.VariableCount());
  EXPECT_EQ(otInteger, query.VariableType(0));
}

TEST(VariablesTest, UnknownVariablesAreNamedInTheirStoredForm) {
  TOracleQuery query;
  EXPECT_EQ("Variable :X not declared", ErrorOf([&] { query.SetVariable("x", 1); }));
  EXPECT_EQ("Unknown variable: :X", ErrorOf([&] { query.GetVariable("x"); }));
  EXPECT_EQ("Variable :X not declared", ErrorOf([&] { query.DeleteVariable("x"); }));
  EXPECT_EQ("Unknown variable: :X", ErrorOf([&] { query.SetComplexVariable("x", nullptr); }));
}

TEST(VariablesTest, ValuesOfEverySimpleTypeComeBack) {
  TOracleQuery query;
  query.DeclareVariable("i", otInteger);
  query.DeclareVariable("f", otFloat);
  query.DeclareVariable("s", otString);
  query.DeclareVariable("p", otPLSQLString);
  query.DeclareVariable("c", otChar);
  query.DeclareVariable("d", otDate);
  query.DeclareVariable("l", otLong);
  query.DeclareVariable("r", otLongRaw);
  query.DeclareVariable("t", otSubst);

  query.SetVariable("i", "42");
  query.SetVariable("f", 2.5);
  query.SetVariable("s", "text");
  query.SetVariable("p", "plsql");
  query.SetVariable("c", "char");
  query.SetVariable("d", Variant::FromDateTime(EncodeDateTime(2001, 2, 3, 4, 5, 6, 789)));
  query.SetVariable("l", "long\r\ntext");
  query.SetVariable("r", Variant::FromBytes(std::vector<uint8_t>{0, 1, 255}));
  query.SetVariable("t", "emp");

  EXPECT_EQ(42, query.GetVariable("i").AsInteger());
  EXPECT_EQ(2.5, query.GetVariable("f").AsFloat());
  EXPECT_EQ("text", query.GetVariable("s").AsString());
  EXPECT_EQ("plsql", query.GetVariable("p").AsString());
  EXPECT_EQ("char", query.GetVariable("c").AsString());
  // Milliseconds do not survive the DATE layout.
  EXPECT_EQ(varDate, VarType(query.GetVariable("d")));
  EXPECT_DOUBLE_EQ(EncodeDateTime(2001, 2, 3, 4, 5, 6, 0), query.GetVariable("d").AsDateTime());
  EXPECT_EQ("long\r\ntext", query.GetVariable("l").AsString());
  EXPECT_EQ((std::vector<uint8_t>{0, 1, 255}), query.GetVariable("r").Bytes());
  EXPECT_EQ("emp", query.GetVariable("t").AsString());
}

TEST(VariablesTest, AFiveThousandCharacterStringKeepsFourThousandOrAll) {
  TOracleQuery query;
  query.DeclareVariable("s", otString);
  query.DeclareVariable("p", otPLSQLString);
  const std::string text(5000, 'x');

  query.SetVariable("s", text);
  query.SetVariable("p", text);

  EXPECT_EQ(4000u, query.GetVariable("s").AsString().size());
  EXPECT_EQ(5000u, query.GetVariable("p").AsString().size());
}

TEST(VariablesTest, AZeroDateIsNull) {
  TOracleQuery query;
  query.DeclareVariable("d", otDate);
  query.SetVariable("d", Variant::FromDateTime(0.0));
  EXPECT_TRUE(query.GetVariable("d").IsEmpty());
}

TEST(VariablesTest, ADateTextIsReadByTheLocaleAndBadTextIsAConversionError) {
  TOracleQuery query;
  query.DeclareVariable("d", otDate);
  query.DeclareVariable("i", otInteger);
  query.SetVariable("d", DateToStr(EncodeDate(2020, 5, 17)));
  EXPECT_DOUBLE_EQ(EncodeDate(2020, 5, 17), query.GetVariable("d").AsDateTime());
  EXPECT_EQ("Variant conversion error for variable :I",
            ErrorOf([&] { query.SetVariable("i", "twelve"); }));
}

TEST(VariablesTest, CarriageReturnsAreRemovedAndLineBreaksRestored) {
  TOracleQuery query;
  query.DeclareVariable("s", otString);
  query.SetVariable("s", "a\r\nb\nc");
  // Stored as "a\nb\nc"; read back with CR LF breaks.
  EXPECT_EQ("a\r\nb\r\nc", query.GetVariable("s").AsString());
}

TEST(VariablesTest, AVariantArrayMakesAnArrayWithItsBounds) {
  TOracleQuery query;
  query.DeclareVariable("n", otInteger);
  Variant values = VarArrayCreate(1, 3, varVariant);
  values.PutElement(1, 10);
  values.PutElement(3, 30);

  query.SetVariable("n", values);

  const Variant back = query.GetVariable("n");
  ASSERT_TRUE(back.IsArray());
  EXPECT_EQ(1, back.LowBound());
  EXPECT_EQ(3, back.HighBound());
  EXPECT_EQ(10, back.GetElement(1).AsInteger());
  EXPECT_TRUE(back.GetElement(2).IsEmpty());
  EXPECT_EQ(30, back.GetElement(3).AsInteger());
}

TEST(VariablesTest, AnArrayOfTextsIsStoredElementByElementAsTextsAre) {
  TOracleQuery query;
  query.DeclareVariable("s", otString);
  query.DeclareVariable("d", otDate);
  Variant texts = VarArrayCreate(0, 3, varVariant);
  texts.PutElement(0, "a\rb\r\nc");
  texts.PutElement(1, 42);
  texts.PutElement(3, std::string(5000, 'x'));
  Variant bytes = VarArrayCreate(0, 1, varByte);
  bytes.PutElement(0, 65);
  bytes.PutElement(1, 7);
  Variant dates = VarArrayOf({Variant::FromDateTime(EncodeDateTime(2024, 2, 29, 23, 59, 58, 0)),
                              Variant::FromDateTime(EncodeDateTime(1899, 12, 30, 0, 0, 1, 0))});

  query.SetVariable("s", texts);
  const Variant back = query.GetVariable("s");
  query.SetVariable("s", bytes);
  const Variant backFromBytes = query.GetVariable("s");
  query.SetVariable("d", dates);
  const Variant backDates = query.GetVariable("d");

  // Carriage returns removed (and restored when read), numbers as text,
  // empty elements null, long texts cut to the element (2,000 characters
  // without a session).
  EXPECT_EQ("ab\r\nc", back.GetElement(0).AsString());
  EXPECT_EQ("42", back.GetElement(1).AsString());
  EXPECT_TRUE(back.GetElement(2).IsEmpty());
  EXPECT_EQ(2000u, back.GetElement(3).AsString().size());
  EXPECT_EQ("65", backFromBytes.GetElement(0).AsString());
  EXPECT_EQ("7", backFromBytes.GetElement(1).AsString());
  EXPECT_EQ(EncodeDateTime(2024, 2, 29, 23, 59, 58, 0), backDates.GetElement(0).AsDateTime());
  EXPECT_EQ(EncodeDateTime(1899, 12, 30, 0, 0, 1, 0), backDates.GetElement(1).AsDateTime());
}

TEST(VariablesTest, ComplexAndSubstitutionVariablesCannotBeArrays) {
  TOracleQuery query;
  query.DeclareVariable("c", otCursor);
  query.DeclareVariable("t", otSubst);
  const Variant values = VarArrayOf({1, 2});
  EXPECT_EQ(":C is a complex variable and cannot be an array",
            ErrorOf([&] { query.SetVariable("c", values); }));
  EXPECT_EQ(":T is a substitution variable and cannot be an array",
            ErrorOf([&] { query.SetVariable("t", values); }));
}

TEST(VariablesTest, LongRawTakesBytesOnly) {
  TOracleQuery query;
  query.DeclareVariable("r", otLongRaw);
  EXPECT_EQ("Only one-dimensional array of bytes allowed for :R",
            ErrorOf([&] { query.SetVariable("r", 12); }));
  query.SetVariable("r", "abc");
  EXPECT_EQ((std::vector<uint8_t>{'a', 'b', 'c'}), query.GetVariable("r").Bytes());
}

TEST(VariablesTest, PlsqlTableDeclarationsAreChecked) {
  TOracleQuery query;
  query.DeclareVariable("l", otLong);
  query.DeclareVariable("s", otString);
  query.DeclareVariable("i", otInteger);
  EXPECT_EQ("Variable :X not declared", ErrorOf([&] { query.DeclarePLSQLTable("x", 10, 0); }));
  EXPECT_EQ("Only PL/SQL Tables of strings, integers, floats and dates supported",
            ErrorOf([&] { query.DeclarePLSQLTable("l", 10, 0); }));
  EXPECT_EQ("You must specify a string size for a PL/SQL Table of strings",
            ErrorOf([&] { query.DeclarePLSQLTable("s", 10, 0); }));
  EXPECT_EQ("You can only specify a string size for a PL/SQL Table of strings",
            ErrorOf([&] { query.DeclarePLSQLTable("i", 10, 5); }));
  EXPECT_EQ("You must specify the size of the PL/SQL Table",
            ErrorOf([&] { query.DeclarePLSQLTable("i", 0, 0); }));
}

TEST(VariablesTest, APlsqlTableTakesArraysUpToItsSize) {
  TOracleQuery query;
  query.DeclareVariable("t", otInteger);
  query.DeclarePLSQLTable("t", 10, 0);
  std::vector<Variant> twelve(12, Variant(1));

  EXPECT_EQ("Array is larger than PL/SQL Table (12 > 10)",
            ErrorOf([&] { query.SetVariable("t", VarArrayOf(twelve)); }));
  EXPECT_TRUE(query.GetVariable("t").IsEmpty());
  EXPECT_EQ(":T is a PL/SQL Table, assign a variant array to it",
            ErrorOf([&] { query.SetVariable("t", 5); }));

  query.SetVariable("t", VarArrayOf({7, 8}));
  const Variant back = query.GetVariable("t");
  ASSERT_TRUE(back.IsArray());
  EXPECT_EQ(1, back.HighBound());
  EXPECT_EQ(8, back.GetElement(1).AsInteger());

  query.SetVariable("t", Variant());
  EXPECT_TRUE(query.GetVariable("t").IsEmpty());
}

TEST(VariablesTest, ComplexVariablesTakeInstancesOfTheirClass) {
  TOracleQuery query;
  TOracleQuery target;
  TStringList notAQuery;
  query.DeclareVariable("c", otCursor);
  query.DeclareVariable("n", otInteger);

  EXPECT_EQ(":N is not a complex variable",
            ErrorOf([&] { query.SetComplexVariable("n", &target); }));
  EXPECT_EQ("Assign TOracleQuery instance to variable :C",
            ErrorOf([&] { query.SetComplexVariable("c", &notAQuery); }));
  query.SetComplexVariable("c", &target);

  EXPECT_EQ(reinterpret_cast<intptr_t>(&target), query.GetVariable("c").AsInt64());
  EXPECT_EQ("Pass LongInt(Object) to complex variable :C",
            ErrorOf([&] { query.SetVariable("c", "text"); }));
  query.SetVariable("c", Variant());
  EXPECT_EQ(0, query.GetVariable("c").AsInt64());
}

class SessionVariablesTest : public QueryTest {};
VORN_QUERY_IN_BOTH_CALL_SETS(SessionVariablesTest);

TEST_P(SessionVariablesTest, NullsFollowTheSessionsNullValue) {
  auto query = NewQuery();
  query->DeclareVariable("i", otInteger);
  query->DeclareVariable("t", otInteger);
  query->DeclarePLSQLTable("t", 5, 0);

  EXPECT_TRUE(query->GetVariable("i").IsEmpty());
  session_->SetNullValue(nvNull);
  EXPECT_TRUE(query->GetVariable("i").IsNull());
  EXPECT_TRUE(query->GetVariable("t").IsNull());
}

TEST_P(SessionVariablesTest, StringArraysAreCutToTheSessionsLimit) {
  auto query = NewQuery();
  query->DeclareVariable("s", otString);
  query->SetVariable("s", VarArrayOf({std::string(5000, 'x'), "y"}));

  const size_t limit = UsesOCI7() ? 2000 : 4000;
  EXPECT_EQ(limit, query->GetVariable("s").GetElement(0).AsString().size());
}

TEST_P(SessionVariablesTest, WithoutConvertCrLfTextIsKeptAsItIs) {
  session_->LogOff();
  session_->Preferences()->SetConvertCRLF(false);
  auto query = NewQuery();
  query->DeclareVariable("s", otString);
  query->SetVariable("s", "a\r\nb\nc");
  EXPECT_EQ("a\r\nb\nc", query->GetVariable("s").AsString());
}

}  // namespace
}  // namespace vorn::query_test
