// Array DML: one execution for all the elements of array variables, a
// range of them, unequal arrays, and failing rows with and without an
// OnArrayError handler.
#include <gtest/gtest.h>

#include "QueryTestSupport.h"
#include "vorn/host/Exceptions.h"
#include "vorn/session/OracleError.h"

namespace vorn::query_test {
namespace {

class ArrayDmlTest : public QueryTest {
 protected:
  void SetUp() override {
    QueryTest::SetUp();
    Run("create table items (id number(5) primary key, name varchar2(20))");
  }

  // An insert of ids and names; `ids` holding a duplicate makes that row
  // fail.
  std::unique_ptr<TOracleQuery> Insert(const std::vector<int>& ids) {
    auto query = NewQuery("insert into items (id, name) values (:id, :name)");
    query->DeclareVariable("id", otInteger);
    query->DeclareVariable("name", otString);
    std::vector<Variant> idValues;
    std::vector<Variant> names;
    for (int id : ids) {
      idValues.emplace_back(id);
      names.emplace_back("item " + std::to_string(id));
    }
    query->SetVariable("id", VarArrayOf(idValues));
    query->SetVariable("name", VarArrayOf(names));
    return query;
  }

  std::vector<std::string> Ids() { return Rows("select id from items order by id"); }
};
VORN_QUERY_IN_BOTH_CALL_SETS(ArrayDmlTest);

TEST_P(ArrayDmlTest, AllElementsInOneExecution) {
  auto query = Insert({1, 2, 3, 4, 5});

  EXPECT_EQ(5, query->ExecuteArray(-1, -1));

  EXPECT_EQ((std::vector<std::string>{"1", "2", "3", "4", "5"}), Ids());
  EXPECT_EQ((std::vector<std::string>{"item 3"}), Rows("select name from items where id = 3"));
}

TEST_P(ArrayDmlTest, ARangeProcessesItsElementsOnly) {
  auto query = Insert({1, 2, 3, 4, 5});

  EXPECT_EQ(2, query->ExecuteArray(1, 2));

  EXPECT_EQ((std::vector<std::string>{"2", "3"}), Ids());
  EXPECT_EQ(0, query->ExecuteArray(0, 0));
}

TEST_P(ArrayDmlTest, UnequalArraysAreRefusedBeforeAnythingRuns) {
  auto query = Insert({1, 2, 3});
  query->SetVariable("name", VarArrayOf({"a", "b", "c", "d"}));

  EXPECT_EQ("All arrays must be of equal size for Array DML", ErrorOf([&] { query->Execute(); }));
  EXPECT_TRUE(Ids().empty());
}

TEST_P(ArrayDmlTest, AHandlerSkipsTheFailingRowAndGoesOn) {
  Run("insert into items (id, name) values (3, 'taken')");
  auto query = Insert({1, 2, 3, 4, 5});
  std::vector<int> failed;
  int code = 0;
  query->SetOnArrayError([&](TOracleQuery*, int index, int errorCode, const std::string&, bool&) {
    failed.push_back(index);
    code = errorCode;
  });

  EXPECT_EQ(4, query->ExecuteArray(-1, -1));

  EXPECT_EQ(std::vector<int>{2}, failed);
  EXPECT_EQ(1, code);
  EXPECT_EQ((std::vector<std::string>{"1", "2", "3", "4", "5"}), Ids());
}

TEST_P(ArrayDmlTest, AHandlerMayStopTheRun) {
  Run("insert into items (id, name) values (2, 'taken')");
  auto query = Insert({1, 2, 3, 4});
  query->SetOnArrayError([](TOracleQuery*, int, int, const std::string&, bool& go) { go = false; });

  EXPECT_EQ(1, query->ExecuteArray(-1, -1));
  EXPECT_EQ((std::vector<std::string>{"1", "2"}), Ids());
}

TEST_P(ArrayDmlTest, WithoutAHandlerTheErrorIsRaisedAfterTheRowsBeforeIt) {
  Run("insert into items (id, name) values (3, 'taken')");
  auto query = Insert({1, 2, 3, 4, 5});

  try {
    query->Execute();
    FAIL() << "no error";
  } catch (const EOracleError& error) {
    EXPECT_EQ(1, error.ErrorCode());
  }

  EXPECT_EQ((std::vector<std::string>{"1", "2", "3"}), Ids());
}

TEST_P(ArrayDmlTest, WithoutAHandlerARangeStopsQuietly) {
  Run("insert into items (id, name) values (3, 'taken')");
  auto query = Insert({1, 2, 3, 4, 5});

  EXPECT_EQ(1, query->ExecuteArray(1, 3));

  EXPECT_EQ((std::vector<std::string>{"2", "3"}), Ids());
}

TEST_P(ArrayDmlTest, AFailingSingleRowGoesToTheHandler) {
  Run("insert into items (id, name) values (1, 'taken')");
  auto query = NewQuery("insert into items (id, name) values (1, 'again')");
  std::vector<int> failed;
  query->SetOnArrayError(
      [&](TOracleQuery*, int index, int, const std::string&, bool&) { failed.push_back(index); });

  query->Execute();

  EXPECT_EQ(std::vector<int>{0}, failed);
}

TEST_P(ArrayDmlTest, BeforeQueryFiresOnceAndAfterQueryOnce) {
  Run("insert into items (id, name) values (2, 'taken')");
  auto query = Insert({1, 2, 3});
  std::vector<std::string> events;
  query->SetBeforeQuery([&](TOracleQuery*) { events.push_back("before"); });
  query->SetAfterQuery([&](TOracleQuery*) { events.push_back("after"); });
  query->SetOnArrayError(
      [&](TOracleQuery*, int, int, const std::string&, bool&) { events.push_back("error"); });

  query->Execute();

  EXPECT_EQ((std::vector<std::string>{"before", "after", "error"}), events);
}

TEST_P(ArrayDmlTest, ArraysOfEveryTypeAreInserted) {
  Run("create table mixed (i number(5), f number, s varchar2(10), d date)");
  auto query = NewQuery("insert into mixed values (:i, :f, :s, :d)");
  query->DeclareVariable("i", otInteger);
  query->DeclareVariable("f", otFloat);
  query->DeclareVariable("s", otString);
  query->DeclareVariable("d", otDate);
  query->SetVariable("i", VarArrayOf({1, Variant()}));
  query->SetVariable("f", VarArrayOf({1.5, 2.5}));
  query->SetVariable("s", VarArrayOf({"one", "two"}));
  query->SetVariable("d", VarArrayOf({Variant::FromDateTime(36526.5), Variant()}));

  EXPECT_EQ(2, query->ExecuteArray(-1, -1));

  EXPECT_EQ((std::vector<std::string>{"1|1.5|one|2000-01-01 12", "|2.5|two|"}),
            Rows("select i, f, s, to_char(d, 'yyyy-mm-dd hh24') from mixed order by f"));
}

}  // namespace
}  // namespace vorn::query_test
