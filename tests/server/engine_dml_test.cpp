// DML statements fail as a whole and leave the rest of the transaction as
// it was, whichever way the engine writes them (one row without a
// savepoint, values read back by rowid, several rows under the statement
// savepoint); and the session's caches stay within their bounds.
#include "engine/LruMap.h"
#include "engine/Sqlite.h"
#include "engine_support.h"

namespace vorn::server::test {
namespace {

class Dml : public DemoDatabase {};

int errorOfBound(Statement& st) {
  try {
    st.execute();
  } catch (const OraError& e) {
    return e.code();
  }
  return 0;
}

TEST_F(Dml, OneRowInsertThatFailsLeavesNothingAndKeepsEarlierRows) {
  auto s = scott();
  s->execute("create table plain (n number(2), t varchar2(3), d date)");
  auto ins = s->prepare("insert into plain (n, t, d) values (:n, :t, :d)");
  const struct {
    Value n, t;
    int error;
  } cases[] = {
      {Value::integer(1), Value::text("a"), 0},
      {Value::integer(100), Value::text("b"), 1438},
      {Value::integer(2), Value::text("long"), 12899},
      {Value::real(2.5), Value::text("c"), 0},
      {Value(), Value::text("d"), 0},
  };
  for (const auto& r : cases) {
    ins->bind("n", r.n);
    ins->bind("t", r.t);
    ins->bind("d", Value::date(0));
    EXPECT_EQ(errorOfBound(*ins), r.error);
    EXPECT_EQ(ins->rowsProcessed(), r.error ? 0 : 1);
  }
  EXPECT_EQ(rows(*s, "select n || t from plain order by t"),
            (std::vector<std::string>{"1a", "3c", "d"}));
  s->rollback();
  EXPECT_EQ(one(*s, "select count(*) from plain"), "0");
}

TEST_F(Dml, TextBindsAreStoredWholeAndCheckedByLength) {
  auto s = scott();
  s->execute("create table texts (t varchar2(5))");
  auto ins = s->prepare("insert into texts values (:t)");
  for (const std::string& t : {std::string("a\0b", 3), std::string("abcde"), std::string("x")}) {
    ins->bind(1, Value::text(t));
    ins->execute();
  }
  ins->bind(1, Value::text(std::string("abc\0ef", 6)));
  EXPECT_EQ(errorOfBound(*ins), 12899);
  EXPECT_EQ(rows(*s, "select length(t) || ':' || instr(t, 'b') from texts order by 1"),
            (std::vector<std::string>{"1:0", "3:3", "5:2"}));
}

TEST_F(Dml, InsertGivesTheRowidOfTheRowItWrote) {
  auto s = scott();
  s->execute("create table plain (n number)");
  auto ins = s->prepare("insert into plain values (:n)");
  for (int n = 1; n <= 3; ++n) {
    ins->bind(1, Value::integer(n * 10));
    ins->execute();
    EXPECT_EQ(one(*s, "select n from plain where rowid = '" + ins->lastRowidText() + "'"),
              std::to_string(n * 10));
  }
}

TEST_F(Dml, DuplicateKeyUndoesOnlyTheFailingRow) {
  auto s = scott();
  auto ins = s->prepare("insert into dept (deptno, dname) values (:1, :2)");
  ins->bind(1, Value::integer(60));
  ins->bind(2, Value::text("NEW"));
  ins->execute();
  ins->bind(1, Value::integer(10));
  EXPECT_EQ(errorOfBound(*ins), 1);
  EXPECT_EQ(one(*s, "select count(*) from dept where deptno = 10"), "1");
  EXPECT_EQ(one(*s, "select count(*) from dept where dname = 'NEW'"), "1");
}

TEST_F(Dml, CheckAndForeignKeyFailuresLeaveTheRowAsItWas) {
  auto s = scott();
  s->execute("create table checked (id number primary key, x number check (x > 0))");
  s->execute("insert into checked values (1, 5)");
  EXPECT_EQ(errorOf(*s, "insert into checked values (2, -1)"), 2290);
  EXPECT_EQ(errorOf(*s, "update checked set x = -1 where id = 1"), 2290);
  auto byRowid = s->prepare("update emp set deptno = :d where rowid = :r");
  byRowid->bind("d", Value::integer(99));
  byRowid->bind("r", Value::text(one(*s, "select rowid from emp where empno = 7369")));
  EXPECT_EQ(errorOfBound(*byRowid), 2291);
  EXPECT_EQ(rows(*s, "select id || ':' || x from checked"), std::vector<std::string>{"1:5"});
  EXPECT_EQ(one(*s, "select deptno from emp where empno = 7369"), "20");
}

TEST_F(Dml, UpdateChecksTheKeysItChanges) {
  auto s = scott();
  s->execute(
      "create table keyed (id number primary key, code varchar2(5) unique, "
      "dept number references dept, note varchar2(10))");
  s->execute("insert into keyed values (1, 'A', 10, null)");
  s->execute("insert into keyed values (2, 'B', 20, null)");
  EXPECT_EQ(errorOf(*s, "update keyed set note = 'x' where id = 1"), 0);
  EXPECT_EQ(errorOf(*s, "update keyed set id = 2 where id = 1"), 1);
  EXPECT_EQ(errorOf(*s, "update keyed set code = 'B' where id = 1"), 1);
  EXPECT_EQ(errorOf(*s, "update keyed set dept = 99 where id = 1"), 2291);
  EXPECT_EQ(errorOf(*s, "update keyed set id = id + 1"), 0);  // checked at statement end
  EXPECT_EQ(rows(*s, "select id || code || dept || note from keyed order by id"),
            (std::vector<std::string>{"2A10x", "3B20"}));
}

TEST_F(Dml, ReturningValueThatFailsUndoesTheWrite) {
  auto s = scott();
  s->execute("create table plain (n number)");
  auto ins = s->prepare("insert into plain values (:n) returning 10 / (n - 1) into :q");
  ins->bind("n", Value::integer(1));
  EXPECT_EQ(errorOfBound(*ins), 1476);
  ins->bind("n", Value::integer(3));
  EXPECT_EQ(ins->execute(), 1);
  ASSERT_EQ(ins->returningRows().size(), 1u);
  EXPECT_EQ(ins->returningRows()[0][0], Value::integer(5));
  auto upd = s->prepare("update plain set n = :n returning 10 / (n - 1) into :q");
  upd->bind("n", Value::integer(1));
  EXPECT_EQ(errorOfBound(*upd), 1476);
  EXPECT_EQ(one(*s, "select n from plain"), "3");
}

TEST_F(Dml, UpdateByRowidReturnsTheNewValues) {
  auto s = scott();
  std::string rowid = one(*s, "select rowid from emp where empno = 7369");
  auto upd = s->prepare(
      "update emp set sal = :sal where rowid = :r returning rowid, sal * 2 into :rid, :twice");
  upd->bind("sal", Value::integer(1000));
  upd->bind("r", Value::text(rowid));
  EXPECT_EQ(upd->execute(), 1);
  ASSERT_EQ(upd->returningRows().size(), 1u);
  EXPECT_EQ(upd->returningRows()[0][0], Value::text(rowid));
  EXPECT_EQ(upd->returningRows()[0][1], Value::integer(2000));
  EXPECT_EQ(upd->lastRowidText(), rowid);
  // A row that is not there is no row processed.
  upd->bind("r", Value::text(one(*s, "select rowid from dept where deptno = 10")));
  EXPECT_EQ(upd->execute(), 0);
  EXPECT_TRUE(upd->returningRows().empty());
}

TEST_F(Dml, UpdateOfSeveralRowsFailsAsAWhole) {
  auto s = scott();
  s->execute("create table plain (n number(2))");
  for (int n : {9, 50, 95})
    s->execute("insert into plain values (" + std::to_string(n) + ")");
  // The third row overflows after two rows were written.
  EXPECT_EQ(errorOf(*s, "update plain set n = n + 10"), 1438);
  EXPECT_EQ(rows(*s, "select n from plain order by n"),
            (std::vector<std::string>{"9", "50", "95"}));
  EXPECT_EQ(errorOf(*s, "update plain set n = n + 1 where n < 60"), 0);
  EXPECT_EQ(rows(*s, "select n from plain order by n"),
            (std::vector<std::string>{"10", "51", "95"}));
}

TEST_F(Dml, ExecutingAgainWithOtherBindTypesUsesAPlanForThem) {
  auto s = scott();
  s->execute("create table plain (t varchar2(10))");
  auto ins = s->prepare("insert into plain values (:v)");
  ins->bind(1, Value::text("abc"));
  ins->execute();
  ins->bind(1, Value::integer(42));
  ins->execute();
  ins->bind(1, Value::date(0));
  ins->execute();
  ins->bind(1, Value::text("def"));
  ins->execute();
  EXPECT_EQ(rows(*s, "select t from plain order by t"),
            (std::vector<std::string>{"01-JAN-70", "42", "abc", "def"}));
}

TEST_F(Dml, ManyDistinctStatementsKeepTheCachesWithinTheirBounds) {
  auto s = scott();
  s->execute("create table plain (n number)");
  for (int i = 0; i < 600; ++i) {
    const std::string n = std::to_string(i);
    s->execute("insert into plain values (" + n + ")");
    EXPECT_EQ(one(*s, "select n + " + n + " from plain where n = " + n), std::to_string(2 * i));
  }
  EXPECT_LE(s->cachedPlanCount(), Session::kPlanCacheCapacity);
  EXPECT_GT(s->cachedPlanCount(), 0u);
  // The main connection and the readers the queries used.
  EXPECT_LE(s->idleStatementCount(),
            3 * Session::kStatementCacheTexts * Session::kIdleStatementsPerText);
  s->commit();
  for (int i = 0; i < 600; ++i)
    one(*s, "select count(*) from plain where n > " + std::to_string(i));
  EXPECT_LE(s->idleStatementCount(),
            3 * Session::kStatementCacheTexts * Session::kIdleStatementsPerText);
  EXPECT_EQ(one(*s, "select count(*) from plain"), "600");
}

// Array DML through executeArray: rows bound by a callback, as the call
// interface binds them from its arrays.
struct ArrayRun {
  std::vector<size_t> after;
  Statement::ArrayProgress progress;
  int error = 0;
  int64_t processed = -1;

  ArrayRun(Statement& st, size_t first, size_t end, const std::function<void(size_t)>& bindRow) {
    try {
      processed = st.executeArray(
          first, end, bindRow, [&](size_t i) { after.push_back(i); }, progress);
    } catch (const OraError& e) {
      error = e.code();
    }
  }
};

TEST_F(Dml, ArrayInsertWritesEveryRowInOrder) {
  auto s = scott();
  s->execute("create table items (id number(6), name varchar2(20), note varchar2(10))");
  // The literal holds what looks like a parameter: it must stay as it is.
  auto ins = s->prepare("insert into items (id, name, note) values (:id, :name, 'why?1''s')");
  ArrayRun run(*ins, 0, 200, [&](size_t i) {
    ins->bind("id", Value::integer(static_cast<int64_t>(i)));
    ins->bind("name", i % 7 == 3 ? Value() : Value::text("item " + std::to_string(i)));
  });
  EXPECT_EQ(run.error, 0);
  EXPECT_EQ(run.processed, 200);
  EXPECT_EQ(run.progress.rowsDone, 200u);
  // Rows went in groups: afterRow saw the last row of each.
  ASSERT_FALSE(run.after.empty());
  EXPECT_LT(run.after.size(), 10u);
  EXPECT_EQ(run.after.back(), 199u);
  EXPECT_EQ(one(*s, "select id from items where rowid = '" + ins->lastRowidText() + "'"), "199");
  EXPECT_EQ(one(*s, "select count(*) || ':' || count(name) || ':' || sum(id) from items"),
            "200:171:19900");
  EXPECT_EQ(one(*s, "select count(*) from items where note = 'why?1''s'"), "200");
  EXPECT_EQ(one(*s, "select name from items where id = 151"), "item 151");
  // A scan meets the rows in the order they were written.
  std::vector<std::string> expected;
  for (int i = 0; i < 200; ++i)
    expected.push_back(std::to_string(i));
  EXPECT_EQ(rows(*s, "select id from items"), expected);
}

TEST_F(Dml, ArrayInsertStopsAtTheFailingRowWithTheRowsBeforeDone) {
  auto s = scott();
  s->execute("create table items (id number(6), name varchar2(5))");
  auto ins = s->prepare("insert into items values (:id, :name)");
  ArrayRun run(*ins, 10, 300, [&](size_t i) {
    ins->bind(1, Value::integer(static_cast<int64_t>(i)));
    ins->bind(2, Value::text(i == 137 ? "too long" : "ok"));
  });
  EXPECT_EQ(run.error, 12899);
  EXPECT_EQ(run.progress.rowsDone, 127u);
  EXPECT_EQ(run.progress.rowsProcessed, 127);
  EXPECT_EQ(one(*s, "select count(*) || ':' || min(id) || ':' || max(id) from items"),
            "127:10:136");
  // Going on after the failing row, as the library's ExecuteArray does.
  ArrayRun rest(*ins, 138, 300, [&](size_t i) {
    ins->bind(1, Value::integer(static_cast<int64_t>(i)));
    ins->bind(2, Value::text("ok"));
  });
  EXPECT_EQ(rest.processed, 162);
  EXPECT_EQ(one(*s, "select count(*) from items"), "289");
}

TEST_F(Dml, ArrayRowThatCannotBeBoundFailsAfterTheRowsBeforeIt) {
  auto s = scott();
  s->execute("create table items (id number)");
  auto ins = s->prepare("insert into items values (:id)");
  ArrayRun run(*ins, 0, 100, [&](size_t i) {
    if (i == 70) raiseOra(1480);
    ins->bind(1, Value::integer(static_cast<int64_t>(i)));
  });
  EXPECT_EQ(run.error, 1480);
  EXPECT_EQ(run.progress.rowsDone, 70u);
  EXPECT_EQ(one(*s, "select count(*) || ':' || max(id) from items"), "70:69");
}

TEST_F(Dml, ArrayRowsOfOtherBindTypesAreConvertedAsTheirOwn) {
  auto s = scott();
  s->execute("create table items (n number, t varchar2(20))");
  auto ins = s->prepare("insert into items values (:n, :t)");
  ArrayRun run(*ins, 0, 90, [&](size_t i) {
    // Text, number and date binds alternate in runs.
    ins->bind(
        1, i / 10 % 2 ? Value::text(std::to_string(i)) : Value::integer(static_cast<int64_t>(i)));
    ins->bind(2, i / 15 % 3 == 0   ? Value::text("t" + std::to_string(i))
                 : i / 15 % 3 == 1 ? Value::integer(static_cast<int64_t>(i))
                                   : Value::date(86400 * static_cast<int64_t>(i)));
  });
  EXPECT_EQ(run.processed, 90);
  EXPECT_EQ(one(*s, "select count(*) || ':' || sum(n) from items"), "90:4005");
  EXPECT_EQ(rows(*s, "select t from items where n in (14, 20, 89) order by n"),
            (std::vector<std::string>{"t14", "20", "31-MAR-70"}));
}

TEST_F(Dml, ArrayInsertIntoAKeyedTableChecksEveryRow) {
  auto s = scott();
  auto ins = s->prepare("insert into dept (deptno, dname) values (:d, 'X')");
  ArrayRun run(*ins, 0, 20, [&](size_t i) {
    ins->bind(1, Value::integer(i == 12 ? 10 : 50 + static_cast<int64_t>(i)));
  });
  EXPECT_EQ(run.error, 1);
  EXPECT_EQ(run.progress.rowsDone, 12u);
  EXPECT_EQ(one(*s, "select count(*) from dept where dname = 'X'"), "12");
  // Every row was its own execution: afterRow saw each.
  EXPECT_EQ(run.after.size(), 12u);
}

TEST_F(Dml, StatementsNumberTheirParametersCompactly) {
  auto s = scott();
  s->execute("create table checked (id number primary key, x number check (x > 0))");
  s->execute("insert into checked values (1, 5)");
  auto upd = s->prepare("update checked set x = :x where rowid = :r returning x into :o");
  upd->bind("x", Value::integer(7));
  upd->bind("r", Value::text(one(*s, "select rowid from checked")));
  EXPECT_EQ(upd->execute(), 1);
  ASSERT_EQ(upd->returningRows().size(), 1u);
  EXPECT_EQ(upd->returningRows()[0][0], Value::integer(7));
  // SQLite sizes a statement's parameter array by its highest number.
  size_t statements = 0;
  s->mainConnection().idle.forEach([&](std::string_view sql, const Session::IdleStatements& idle) {
    for (sqlite3_stmt* st : idle.statements) {
      ++statements;
      EXPECT_LT(sqlite3_bind_parameter_count(st), 10) << sql;
    }
  });
  EXPECT_GE(statements, 3u);  // the lock query, the write, the read-back
}

TEST(SqliteTexts, ShiftParametersRenumbersOutsideQuotes) {
  EXPECT_EQ(shiftParameters("f(?1, ?12) || '?1' || \"a?2\" || ?3", 10),
            "f(?11, ?22) || '?1' || \"a?2\" || ?13");
  EXPECT_EQ(shiftParameters("'it''s ?1' || ?2 || ? || ?", 5), "'it''s ?1' || ?7 || ? || ?");
  EXPECT_EQ(shiftParameters("?1 ?30000 ?30001", 3 - 30000, 30000), "?1 ?3 ?4");
  EXPECT_EQ(highestParameter("?2 '?9' ?30000 ?4", 30000), 4);
  EXPECT_EQ(highestParameter("'?1'", 30000), 0);
}

TEST(LruMaps, DropTheLeastRecentlyUsedEntryWhenFull) {
  LruMap<int> map(3);
  map.emplace("a", 1);
  map.emplace("b", 2);
  map.emplace("c", 3);
  ASSERT_NE(map.find("a"), nullptr);  // b is now the least recently used
  map.emplace("d", 4);
  EXPECT_EQ(map.size(), 3u);
  EXPECT_EQ(map.find("b"), nullptr);
  EXPECT_EQ(*map.find("a"), 1);
  EXPECT_EQ(*map.find("c"), 3);
  EXPECT_EQ(*map.find("d"), 4);
  std::string order;
  map.forEach([&](std::string_view key, int) { order += key; });
  EXPECT_EQ(order, "dca");
}

TEST(LruMaps, EmplaceOfAKnownKeyKeepsItsValue) {
  LruMap<std::string> map(2);
  map.emplace("k", "first");
  EXPECT_EQ(map.emplace("k", "second"), "first");
  map.erase("k");
  EXPECT_EQ(map.find("k"), nullptr);
  EXPECT_EQ(map.emplace("k", "third"), "third");
  map.clear();
  EXPECT_EQ(map.size(), 0u);
}

TEST(LruMaps, DroppedValuesAreDestroyed) {
  auto counter = std::make_shared<int>(0);
  LruMap<std::shared_ptr<int>> map(2);
  for (int i = 0; i < 10; ++i)
    map.emplace(std::to_string(i), counter);
  // The test's own reference and the two entries left.
  EXPECT_EQ(counter.use_count(), 3);
}

}  // namespace
}  // namespace vorn::server::test
