// Binds of blocks at the engine level, as the call interfaces use them:
// scalar binds in and out, PL/SQL tables (HostTable) both ways with
// Oracle's errors, and cursor variables (HostCursor) fetched by the caller.
#include "plsql_support.h"

namespace vorn::server::test {
namespace {

using Binds = PlsqlTest;

HostTable numbers(std::vector<int64_t> values, size_t maxSize) {
  HostTable t;
  t.elementType = TypeKind::Number;
  t.maxSize = maxSize;
  for (int64_t v : values)
    t.elements.push_back(Value::integer(v));
  return t;
}

TEST_F(Binds, ScalarBindsGoInAndComeBackConverted) {
  auto st = s_->prepare(
      "begin :total := :a + :b; :name := 'n' || :a; :untouched := :untouched; "
      "end;");
  st->bind(":a", Value::integer(2));
  st->bind(":b", Value::text("40"));
  st->bind(":total", Value(), TypeKind::Number);
  st->bind(":name", Value());
  st->bind(":untouched", Value::date(86400));
  st->execute();
  EXPECT_EQ(st->boundValue(1), Value::integer(42));  // TOTAL
  EXPECT_EQ(st->boundValue(4), Value::text("n2"));   // NAME
  EXPECT_EQ(st->boundValue(5), Value::date(86400));
  EXPECT_EQ(st->boundValue(2), Value::integer(2));  // IN binds keep their value

  // A text going into a NUMBER bind is converted; one that is no number fails.
  auto num = s_->prepare("begin :n := :t; end;");
  num->bind(":n", Value(), TypeKind::Number);
  num->bind(":t", Value::text("12.5"));
  num->execute();
  EXPECT_EQ(num->boundValue(1), Value::real(12.5));
  num->bind(":t", Value::text("x"));
  num->bind(":n", Value::integer(7));
  EXPECT_THROW(num->execute(), OraError);
  EXPECT_EQ(num->boundValue(1), Value::integer(7));  // a failed block writes nothing back
}

TEST_F(Binds, EveryPlaceholderMustBeBound) {
  auto st = s_->prepare("begin :out := 1; end;");
  try {
    st->execute();
    FAIL() << "no error";
  } catch (const OraError& e) {
    EXPECT_EQ(e.message(), "ORA-01008: not all variables bound");
  }
}

TEST_F(Binds, APlsqlTableIsReadUpToItsCount) {
  HostTable t = numbers({10, 20, 30}, 10);
  auto st = s_->prepare(
      "declare s number := 0; begin "
      "for i in 1..:t.count loop s := s + :t(i); end loop; "
      ":sum := s; :first := :t.first; :last := :t.last; "
      "if :t.exists(3) and not :t.exists(4) then :ok := 'yes'; end if; end;");
  st->bindTable(":t", &t);
  for (const char* out : {":sum", ":first", ":last", ":ok"})
    st->bind(out, Value());
  st->execute();
  EXPECT_EQ(st->boundValue(2), Value::text("60"));
  EXPECT_EQ(st->boundValue(3), Value::text("1"));
  EXPECT_EQ(st->boundValue(4), Value::text("3"));
  EXPECT_EQ(st->boundValue(5), Value::text("yes"));
  EXPECT_EQ(t.elements.size(), 3u);  // not assigned: left as it was
}

TEST_F(Binds, APlsqlTableFilledByTheBlockComesBackWithItsCount) {
  HostTable t = numbers({}, 5);
  auto st = s_->prepare("begin for i in 1..4 loop :t(i) := i * i; end loop; end;");
  st->bindTable(":t", &t);
  st->execute();
  EXPECT_EQ(t.elements, (std::vector<Value>{Value::integer(1), Value::integer(4), Value::integer(9),
                                            Value::integer(16)}));
  // Indexes the block skipped come back NULL.
  HostTable gaps = numbers({}, 5);
  auto st2 = s_->prepare("begin :t(1) := 1; :t(3) := 3; end;");
  st2->bindTable(":t", &gaps);
  st2->execute();
  EXPECT_EQ(gaps.elements, (std::vector<Value>{Value::integer(1), Value(), Value::integer(3)}));
}

TEST_F(Binds, TablesOfStringsAndDatesKeepTheirTypes) {
  HostTable names;
  names.elementType = TypeKind::Varchar2;
  names.elementSize = 10;
  names.maxSize = 20;
  HostTable dates;
  dates.elementType = TypeKind::Date;
  dates.maxSize = 20;
  dates.elements = {Value::date(0)};
  auto st = s_->prepare(
      "declare i pls_integer := 0; begin "
      "for e in (select ename from emp where deptno = 10 order by ename) loop "
      "  i := i + 1; :names(i) := e.ename; :dates(i + 1) := :dates(1) + i; "
      "end loop; end;");
  st->bindTable(":names", &names);
  st->bindTable(":dates", &dates);
  st->execute();
  EXPECT_EQ(names.elements,
            (std::vector<Value>{Value::text("CLARK"), Value::text("KING"), Value::text("MILLER")}));
  EXPECT_EQ(dates.elements, (std::vector<Value>{Value::date(0), Value::date(86400),
                                                Value::date(2 * 86400), Value::date(3 * 86400)}));
}

TEST_F(Binds, TableErrorsAreOracles) {
  // Past the end of the host array.
  HostTable t = numbers({}, 3);
  auto st = s_->prepare(
      "begin insert into dept values (90, 'X', 'Y'); "
      "for i in 1..4 loop :t(i) := i; end loop; end;");
  st->bindTable(":t", &t);
  try {
    st->execute();
    FAIL() << "no error";
  } catch (const OraError& e) {
    EXPECT_EQ(e.message(),
              "ORA-06513: PL/SQL: index for PL/SQL table out of range for host language array");
  }
  EXPECT_TRUE(t.elements.empty());
  EXPECT_EQ(one(*s_, "select count(*) from dept where deptno = 90"), "0");
  // Before the first element.
  auto st0 = s_->prepare("begin :t(0) := 1; end;");
  st0->bindTable(":t", &t);
  EXPECT_THROW(st0->execute(), OraError);
  // A string longer than the host's element size.
  HostTable names;
  names.elementType = TypeKind::Varchar2;
  names.elementSize = 3;
  names.maxSize = 5;
  auto st2 = s_->prepare("begin :t(1) := 'four'; end;");
  st2->bindTable(":t", &names);
  try {
    st2->execute();
    FAIL() << "no error";
  } catch (const OraError& e) {
    EXPECT_EQ(e.message(),
              "ORA-06502: PL/SQL: numeric or value error: character string buffer too small\n"
              "ORA-06512: at line 1");
  }
  // An element that does not exist.
  HostTable two = numbers({1, 2}, 5);
  auto st3 = s_->prepare("declare n number; begin n := :t(3); end;");
  st3->bindTable(":t", &two);
  try {
    st3->execute();
    FAIL() << "no error";
  } catch (const OraError& e) {
    EXPECT_EQ(e.message(), "ORA-01403: no data found\nORA-06512: at line 1");
  }
}

TEST_F(Binds, SqlInABlockUsesTableElements) {
  HostTable t = numbers({91, 92, 93}, 3);
  auto st = s_->prepare(
      "begin for i in 1..:t.count loop "
      "insert into dept (deptno, dname) values (:t(i), 'D' || :t(i)); "
      "end loop; end;");
  st->bindTable(":t", &t);
  st->execute();
  EXPECT_EQ(rows(*s_, "select dname from dept where deptno > 90 order by deptno"),
            (std::vector<std::string>{"D91", "D92", "D93"}));
}

TEST_F(Binds, ACursorVariableIsFetchedByTheCaller) {
  HostCursor c;
  auto st = s_->prepare(
      "declare d number := 10; begin "
      "open :c for select ename, sal from emp where deptno = d and sal > :m "
      "order by ename; end;");
  st->bindCursor(":c", &c);
  st->bind(":m", Value::integer(2000));
  st->execute();
  ASSERT_TRUE(c.statement);
  st.reset();  // the block and its locals are gone; the query is not
  Statement& q = *c.statement;
  ASSERT_EQ(q.describe().size(), 2u);
  EXPECT_EQ(q.describe()[0].name, "ENAME");
  EXPECT_EQ(q.describe()[1].typeCode, 2);
  std::vector<std::string> names;
  while (q.fetch())
    names.push_back(std::string(q.textValue(0)));
  EXPECT_EQ(names, (std::vector<std::string>{"CLARK", "KING"}));
  // Described again after a catalog change, the query still knows the local.
  run("create table x (a number)");
  EXPECT_EQ(q.describe().size(), 2u);
  q.execute();
  EXPECT_TRUE(q.fetch());
  c.statement.reset();
}

TEST_F(Binds, EachExecutionOpensTheCursorAfresh) {
  HostCursor c;
  auto st = s_->prepare(
      "begin open :c for 'select dname from dept where deptno = :d' using :d; "
      "end;");
  st->bindCursor(":c", &c);
  for (int dept : {10, 40}) {
    st->bind(":d", Value::integer(dept));
    st->execute();
    ASSERT_TRUE(c.statement);
    ASSERT_TRUE(c.statement->fetch());
    EXPECT_EQ(c.statement->textValue(0), dept == 10 ? "ACCOUNTING" : "OPERATIONS");
    EXPECT_FALSE(c.statement->fetch());
  }
  c.statement.reset();
}

TEST_F(Binds, AnOpenCursorSurvivesCommit) {
  HostCursor c;
  auto st = s_->prepare(
      "begin update emp set sal = sal + 1 where deptno = 30; "
      "open :c for select empno from emp where deptno = 30 order by empno; "
      "commit; end;");
  st->bindCursor(":c", &c);
  st->execute();
  int n = 0;
  while (c.statement->fetch())
    ++n;
  EXPECT_EQ(n, 6);
  c.statement.reset();
}

}  // namespace
}  // namespace vorn::server::test
