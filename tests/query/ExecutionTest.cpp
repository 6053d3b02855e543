// Running statements: parse, bind, execute, describe and fetch in batches,
// the parse a query keeps (Optimize), substitution, the position of an
// error in the text, and the events around an execution.
#include <gtest/gtest.h>

#include "QueryTestSupport.h"
#include "vorn/host/Exceptions.h"
#include "vorn/session/OracleError.h"

namespace vorn::query_test {
namespace {

class ExecutionTest : public QueryTest {};
VORN_QUERY_IN_BOTH_CALL_SETS(ExecutionTest);

TEST_P(ExecutionTest, ASelectFetchesItsRowsInOrder) {
  auto query = NewQuery("select empno, ename from emp where deptno = 10 order by empno");

  query->Execute();

  ASSERT_FALSE(query->Eof());
  EXPECT_EQ(2, query->FieldCount());
  EXPECT_EQ("EMPNO", query->FieldName(0));
  EXPECT_EQ(7782, query->FieldAsInteger(0));
  EXPECT_EQ("CLARK", query->FieldAsString(1));
  query->Next();
  EXPECT_EQ("KING", query->FieldAsString("ENAME"));
  query->Next();
  EXPECT_EQ("MILLER", query->Field(1).AsString());
  query->Next();
  EXPECT_TRUE(query->Eof());
  EXPECT_EQ("You cannot access field data beyond Eof", ErrorOf([&] { query->FieldAsString(0); }));
}

TEST_P(ExecutionTest, ANonQueryReportsTheRowsItProcessed) {
  auto query = NewQuery("update emp set sal = sal + 1 where deptno = :d");
  query->DeclareVariable("d", otInteger);
  query->SetVariable("d", 20);

  query->Execute();

  EXPECT_EQ(5, query->RowsProcessed());
  EXPECT_TRUE(query->Eof());
}

// A table of 60 numbered rows on `session`.
void MakeSixtyRows(TOracleQuery& query) {
  query.SQL()->SetText("create table sixty (n number(5))");
  query.Execute();
  query.SQL()->SetText("insert into sixty (n) values (:n)");
  query.DeclareVariable("n", otInteger);
  Variant numbers = VarArrayCreate(1, 60, varVariant);
  for (int i = 1; i <= 60; ++i)
    numbers.PutElement(i, i);
  query.SetVariable("n", numbers);
  query.Execute();
  query.Clear();
}

TEST_P(ExecutionTest, SixtyRowsComeInBatchesOfTheReadBufferWithoutAnExtraFetch) {
  CallLog log;
  auto session = NewSession();
  session->LogOn();
  auto query = NewQuery("", session.get());
  MakeSixtyRows(*query);
  query->SQL()->SetText("select n from sixty order by n");
  query->SetReadBuffer(25);
  log.Clear();

  query->Execute();
  int rows = 0;
  while (!query->Eof()) {
    EXPECT_EQ(++rows, query->FieldAsInteger(0));
    query->Next();
  }

  EXPECT_EQ(60, rows);
  if (UsesOCI7()) {
    EXPECT_EQ((std::vector<std::string>{"parse", "oexfet 25", "ofen 25", "ofen 25"}), log.Calls());
  } else {
    EXPECT_EQ(
        (std::vector<std::string>{"prepare", "execute 0", "fetch 25", "fetch 25", "fetch 25"}),
        log.Calls());
  }
}

TEST_P(ExecutionTest, ReadBufferBelowOneIsStoredAsOne) {
  auto query = NewQuery();
  query->SetReadBuffer(0);
  EXPECT_EQ(1, query->ReadBuffer());
  query->SetReadBuffer(-5);
  EXPECT_EQ(1, query->ReadBuffer());
}

TEST_P(ExecutionTest, AnUnchangedTextIsParsedOnceWithOptimize) {
  CallLog log;
  auto session = NewSession();
  session->LogOn();
  auto query = NewQuery("select ename from emp where empno = :e", session.get());
  query->DeclareVariable("e", otInteger);
  query->SetVariable("e", 7839);
  const std::string parse = UsesOCI7() ? "parse" : "prepare";
  log.Clear();

  query->Execute();
  query->SetVariable("e", 7782);
  query->Execute();

  EXPECT_EQ(1, log.Count(parse));
  EXPECT_EQ("CLARK", query->FieldAsString(0));

  query->SQL()->SetText("select ename from emp where empno = :E");
  query->Execute();
  EXPECT_EQ(2, log.Count(parse));

  query->SetOptimize(false);
  query->Execute();
  EXPECT_EQ(3, log.Count(parse));
}

TEST_P(ExecutionTest, SubstitutionReplacesNamesOutsideQuotesAndComments) {
  auto query = NewQuery(
      "select ename, ':t' from :t -- :t\n"
      "where empno = 7839 /* :t */");
  query->DeclareVariable("t", otSubst);
  query->SetVariable("t", "emp");

  EXPECT_EQ("select ename, ':t' from emp -- :t\r\nwhere empno = 7839 /* :t */",
            query->SubstitutedText());
  query->Execute();

  EXPECT_EQ("KING", query->FieldAsString(0));
  EXPECT_EQ(":t", query->FieldAsString(1));
}

TEST_P(ExecutionTest, ANullSubstitutionLeavesNothing) {
  auto query = NewQuery("select count(*) from emp :filter");
  query->DeclareVariable("filter", otSubst);

  query->Execute();
  EXPECT_EQ(14, query->FieldAsInteger(0));

  query->SetVariable("filter", "where deptno = 10");
  query->Execute();
  EXPECT_EQ(3, query->FieldAsInteger(0));
}

TEST_P(ExecutionTest, AnErrorIsLocatedInAMultiLineText) {
  auto query = NewQuery("select empno,\n       ename\n  from emp\n where nosuchcolumn = 1");

  try {
    query->Execute();
    FAIL() << "no error";
  } catch (const EOracleError& error) {
    EXPECT_EQ(904, error.ErrorCode());
  }

  EXPECT_EQ(4, query->ErrorLine());
  EXPECT_EQ(8, query->ErrorPosition());
}

TEST_P(ExecutionTest, AFailedExecutionParsesAgainNextTime) {
  Run("create table flaky (n number(5) primary key)");
  CallLog log;
  auto session = NewSession();
  session->LogOn();
  auto query = NewQuery("insert into flaky (n) values (1)", session.get());
  query->Execute();
  const std::string parse = UsesOCI7() ? "parse" : "prepare";
  log.Clear();

  // The parse of the successful run is kept; the failure forgets it.
  EXPECT_THROW(query->Execute(), EOracleError);
  EXPECT_EQ(0, log.Count(parse));
  EXPECT_THROW(query->Execute(), EOracleError);
  EXPECT_EQ(1, log.Count(parse));
}

TEST_P(ExecutionTest, BeforeAndAfterQueryFrameEachExecution) {
  auto query = NewQuery("select ename from emp where deptno = 10");
  std::vector<std::string> events;
  query->SetBeforeQuery([&](TOracleQuery*) { events.push_back("before"); });
  query->SetAfterQuery([&](TOracleQuery*) { events.push_back("after"); });

  query->Execute();
  events.push_back("executed");
  while (!query->Eof()) {
    events.push_back("row");
    query->Next();
  }
  query->SQL()->SetText("update emp set sal = sal where deptno = 10");
  query->Execute();
  query->SQL()->SetText("select * from nosuchtable");
  EXPECT_THROW(query->Execute(), EOracleError);

  EXPECT_EQ((std::vector<std::string>{"before", "executed", "row", "row", "row", "after", "before",
                                      "after", "before", "after"}),
            events);
}

TEST_P(ExecutionTest, ASelectWithoutRowsEndsAtOnce) {
  auto query = NewQuery("select ename from emp where 1 = 0");
  int after = 0;
  query->SetAfterQuery([&](TOracleQuery*) { ++after; });

  query->Execute();

  EXPECT_TRUE(query->Eof());
  EXPECT_EQ(1, after);
  EXPECT_EQ(1, query->FieldCount());
}

TEST_P(ExecutionTest, DescribeGivesTheColumnsWithoutRows) {
  auto query = NewQuery("select empno, ename, hiredate, sal from emp");

  query->Describe();

  EXPECT_TRUE(query->Eof());
  ASSERT_EQ(4, query->FieldCount());
  EXPECT_EQ("HIREDATE", query->FieldName(2));
  EXPECT_EQ(otDate, query->FieldType(2));
  EXPECT_EQ(2, query->FieldIndex("hiredate"));
  EXPECT_EQ(-1, query->FieldIndex("nosuch"));
  EXPECT_EQ("Field 4 does not exist", ErrorOf([&] { query->FieldName(4); }));

  query->Execute();
  EXPECT_FALSE(query->Eof());
}

TEST_P(ExecutionTest, MarkEofStopsWithoutFetching) {
  auto query = NewQuery("select ename from emp");
  query->Execute();

  query->MarkEof();
  query->Next();

  EXPECT_TRUE(query->Eof());
}

TEST_P(ExecutionTest, AQueryNeedsASessionThatIsLoggedOn) {
  TOracleQuery query;
  query.SQL()->SetText("select 1 from dual");
  EXPECT_EQ("Session undefined", ErrorOf([&] { query.Execute(); }));

  auto session = NewSession();
  query.SetSession(session.get());
  EXPECT_EQ("Not logged on", ErrorOf([&] { query.Execute(); }));
  query.SetSession(nullptr);
}

TEST_P(ExecutionTest, FieldsByAnUnknownNameOrIndexAreRefused) {
  auto query = NewQuery("select ename from emp");
  query->Execute();

  EXPECT_EQ("Field NOSUCH does not exist", ErrorOf([&] { query->FieldAsString("NOSUCH"); }));
  EXPECT_EQ("Field 1 does not exist", ErrorOf([&] { query->FieldAsString(1); }));
  EXPECT_EQ("Field -1 does not exist", ErrorOf([&] { query->FieldIsNull(-1); }));
}

TEST_P(ExecutionTest, LoggingOffClosesTheQueryAndAClearedQueryForgetsEverything) {
  auto query = NewQuery("select ename from emp");
  query->DeclareVariable("x", otInteger);
  query->DeleteVariable("x");
  query->Execute();

  session_->LogOff();
  EXPECT_TRUE(query->Eof());
  EXPECT_EQ(0, query->FieldCount());
  session_->LogOn();
  query->Execute();
  EXPECT_FALSE(query->Eof());

  query->Clear();
  EXPECT_EQ(0, query->SQL()->Count());
  EXPECT_EQ(0, query->VariableCount());
}

TEST_P(ExecutionTest, DestroyingTheSessionDetachesItsQueries) {
  auto session = NewSession();
  session->LogOn();
  auto query = NewQuery("select ename from emp", session.get());
  query->Execute();

  session.reset();

  EXPECT_EQ(nullptr, query->Session());
  EXPECT_EQ("Session undefined", ErrorOf([&] { query->Execute(); }));
}

TEST_P(ExecutionTest, DebugShowsTheStatementAndItsVariables) {
  auto query = NewQuery("select ename from emp where empno = :e and ename <> :n");
  query->DeclareVariable("e", otInteger);
  query->DeclareVariable("n", otString);
  query->SetVariable("e", 7839);
  query->SetDebug(true);

  query->Execute();

  EXPECT_EQ((std::vector<std::string>{
                "select ename from emp where empno = :e and ename <> :n\r:E = 7839\r:N = Null"}),
            ui_.Texts());
}

}  // namespace
}  // namespace vorn::query_test
