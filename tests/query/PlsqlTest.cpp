// PL/SQL through a query: out values of every simple type, PL/SQL tables
// both ways, and cursor variables fetched through the query they were
// bound to, in both call sets.
#include <gtest/gtest.h>

#include "QueryTestSupport.h"
#include "vorn/host/DateTime.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/TextUtils.h"
#include "vorn/session/OracleError.h"

namespace vorn::query_test {
namespace {

class PlsqlTest : public QueryTest {};
VORN_QUERY_IN_BOTH_CALL_SETS(PlsqlTest);

TEST_P(PlsqlTest, OutValuesOfEverySimpleTypeComeBack) {
  auto query = NewQuery(
      "begin :i := 7 * 6; :f := 1 / 4; :s := 'abc' || :s; for i in 1 .. 1000 loop :p := :p || "
      "'abcdefghij'; end loop; "
      ":d := to_date('2020-01-02 03:04:05', 'yyyy-mm-dd hh24:mi:ss'); :c := 'z'; end;");
  query->DeclareVariable("i", otInteger);
  query->DeclareVariable("f", otFloat);
  query->DeclareVariable("s", otString);
  query->DeclareVariable("p", otPLSQLString);
  query->DeclareVariable("d", otDate);
  query->DeclareVariable("c", otChar);
  query->SetVariable("s", "def");

  query->Execute();

  EXPECT_EQ(42, query->GetVariable("i").AsInteger());
  EXPECT_EQ(0.25, query->GetVariable("f").AsFloat());
  EXPECT_EQ("abcdef", query->GetVariable("s").AsString());
  EXPECT_EQ(10000u, query->GetVariable("p").AsString().size());
  EXPECT_DOUBLE_EQ(EncodeDateTime(2020, 1, 2, 3, 4, 5, 0), query->GetVariable("d").AsDateTime());
  // CHAR values come back blank-padded to the buffer, as long as the
  // session's longest string.
  const std::string padded = query->GetVariable("c").AsString();
  EXPECT_EQ(UsesOCI7() ? 2000u : 4000u, padded.size());
  EXPECT_EQ("z", TrimRight(padded));
  EXPECT_TRUE(query->Eof());
}

TEST_P(PlsqlTest, ANullOutValueIsNull) {
  auto query = NewQuery("begin :i := null; end;");
  query->DeclareVariable("i", otInteger);
  query->SetVariable("i", 5);
  query->Execute();
  EXPECT_TRUE(query->GetVariable("i").IsEmpty());
}

TEST_P(PlsqlTest, PlsqlTablesGoInAndComeOut) {
  auto query =
      NewQuery("begin for i in 1 .. :c loop :n(i) := :n(i) * 2; end loop; :c := :c + 1; end;");
  query->DeclareVariable("n", otFloat);
  query->DeclarePLSQLTable("n", 10, 0);
  query->DeclareVariable("c", otInteger);
  query->SetVariable("n", VarArrayOf({1.5, 2, 3}));
  query->SetVariable("c", 3);

  query->Execute();

  EXPECT_EQ(4, query->GetVariable("c").AsInteger());
  const Variant doubled = query->GetVariable("n");
  ASSERT_TRUE(doubled.IsArray());
  EXPECT_EQ(2, doubled.HighBound());
  EXPECT_EQ(3.0, doubled.GetElement(0).AsFloat());
  EXPECT_EQ(6.0, doubled.GetElement(2).AsFloat());

  auto names = NewQuery(
      "declare i binary_integer := 0; begin "
      "for r in (select ename from emp where deptno = :d order by ename) loop "
      "i := i + 1; :n(i) := r.ename; end loop; end;");
  names->DeclareVariable("d", otInteger);
  names->DeclareVariable("n", otString);
  names->DeclarePLSQLTable("n", 20, 20);
  names->SetVariable("d", 10);
  names->Execute();
  const Variant listed = names->GetVariable("n");
  ASSERT_TRUE(listed.IsArray());
  EXPECT_EQ(2, listed.HighBound());
  EXPECT_EQ("CLARK", listed.GetElement(0).AsString());
  EXPECT_EQ("MILLER", listed.GetElement(2).AsString());
}

TEST_P(PlsqlTest, ACursorVariableIsFetchedThroughTheTargetQuery) {
  auto block = NewQuery(
      "begin open :c for select ename, sal from emp where deptno = :d order by ename; end;");
  auto cursor = NewQuery("left behind");
  cursor->DeclareVariable("stale", otInteger);
  block->DeclareVariable("c", otCursor);
  block->DeclareVariable("d", otInteger);
  block->SetComplexVariable("c", cursor.get());
  block->SetVariable("d", 10);
  cursor->SetReadBuffer(2);

  block->Execute();
  EXPECT_EQ(0, cursor->VariableCount());
  cursor->Execute();

  std::vector<std::string> names;
  for (; !cursor->Eof(); cursor->Next())
    names.push_back(cursor->FieldAsString("ENAME"));
  EXPECT_EQ((std::vector<std::string>{"CLARK", "KING", "MILLER"}), names);

  // The block opens the cursor afresh for other values.
  block->SetVariable("d", 20);
  block->Execute();
  cursor->Execute();
  EXPECT_EQ("ADAMS", cursor->FieldAsString(0));
  EXPECT_EQ(1100, cursor->FieldAsInteger(1));
}

TEST_P(PlsqlTest, AProceduresOutCursorIsReadThroughTheTargetQuery) {
  Run("create or replace procedure dept_emps(p_dept number, p_emps out sys_refcursor) is "
      "begin open p_emps for select ename, sal from emp where deptno = p_dept order by ename; "
      "end;");
  auto block = NewQuery("begin dept_emps(:d, :cur); end;");
  auto cursor = NewQuery("");
  block->DeclareVariable("d", otInteger);
  block->DeclareVariable("cur", otCursor);
  block->SetComplexVariable("cur", cursor.get());
  block->SetVariable("d", 30);
  cursor->SetReadBuffer(4);

  block->Execute();
  cursor->Execute();
  std::vector<std::string> rows;
  for (; !cursor->Eof(); cursor->Next()) {
    rows.push_back(cursor->FieldAsString("ENAME") + "/" + cursor->FieldAsString("SAL"));
  }
  EXPECT_EQ((std::vector<std::string>{"ALLEN/1600", "BLAKE/2850", "JAMES/950", "MARTIN/1250",
                                      "TURNER/1500", "WARD/1250"}),
            rows);
}

TEST_P(PlsqlTest, ACursorVariableNeedsATarget) {
  auto block = NewQuery("begin open :c for select * from dual; end;");
  block->DeclareVariable("c", otCursor);
  EXPECT_EQ("Cursor variable :C cannot be nil", ErrorOf([&] { block->Execute(); }));
}

TEST_P(PlsqlTest, AnApplicationErrorCarriesItsNumberAndText) {
  auto query = NewQuery("begin raise_application_error(-20001, 'custom failure'); end;");
  try {
    query->Execute();
    FAIL() << "no error";
  } catch (const EOracleError& error) {
    EXPECT_EQ(20001, error.ErrorCode());
    EXPECT_NE(std::string::npos, error.Message().find("custom failure"));
  }
}

}  // namespace
}  // namespace vorn::query_test
