// Cursor variables (SYS_REFCURSOR and REF CURSOR types): locals opened on
// static and dynamic queries, fetched with their attributes and closed;
// parameters of every mode and function results; a procedure's OUT cursor
// handed to the caller of a block through a HostCursor bind, read after the
// block and the procedure's activation are gone; and the errors of misuse.
#include "plsql_support.h"

namespace vorn::server::test {
namespace {

using CursorVariables = PlsqlTest;

// Every row left in a cursor the caller got, columns joined with '|'.
std::vector<std::string> drain(Statement& q) {
  std::vector<std::string> out;
  size_t columns = q.describe().size();
  while (q.fetch()) {
    std::string row;
    for (size_t i = 0; i < columns; ++i) {
      int column = static_cast<int>(i);
      row += (i ? "|" : "") + std::string(q.value(column).isNull() ? "" : q.textValue(column));
    }
    out.push_back(row);
  }
  return out;
}

TEST_F(CursorVariables, ALocalIsOpenedFetchedInALoopAndClosed) {
  EXPECT_EQ(result(*s_,
                   "declare c sys_refcursor; n varchar2(10); s number; begin "
                   ":r := case when c%isopen then 'open' else 'closed' end; "
                   "open c for select ename, sal from emp where deptno = 10 order by ename; "
                   "loop fetch c into n, s; exit when c%notfound; "
                   ":r := :r || ' ' || c%rowcount || n || s; end loop; "
                   ":r := :r || ' ' || c%rowcount || case when c%found then 'F' else 'N' end; "
                   "close c; "
                   ":r := :r || case when c%isopen then ' open' else ' closed' end; end;"),
            "closed 1CLARK2450 2KING5000 3MILLER1300 3N closed");
  // Locals of the query are read when it is opened; a record takes a row.
  EXPECT_EQ(result(*s_,
                   "declare c sys_refcursor; d number := 20; r dept%rowtype; begin "
                   "open c for select * from dept where deptno = d; d := 30; "
                   "fetch c into r; :r := r.dname || ' ' || r.loc || ' ' || d; close c; end;"),
            "RESEARCH DALLAS 30");
}

TEST_F(CursorVariables, OpeningAgainReplacesTheQueryAndCountsAfresh) {
  EXPECT_EQ(result(*s_,
                   "declare c sys_refcursor; n varchar2(20); begin "
                   "open c for select ename from emp order by ename; fetch c into n; "
                   "fetch c into n; :r := n || c%rowcount; "
                   "open c for select dname from dept order by deptno desc; fetch c into n; "
                   ":r := :r || ' ' || n || c%rowcount; close c; end;"),
            "ALLEN2 OPERATIONS1");
}

TEST_F(CursorVariables, DynamicQueriesTakeUsingValues) {
  run("create procedure by_job(p_job varchar2, p_min number, p_emps out sys_refcursor) is\n"
      "  q varchar2(200) := 'select ename from emp where job = :j and sal >= :m order by ename';\n"
      "begin\n"
      "  open p_emps for q using p_job, p_min;\n"
      "end;");
  EXPECT_EQ(result(*s_,
                   "declare c sys_refcursor; n varchar2(10); begin by_job('CLERK', 1000, c); "
                   "loop fetch c into n; exit when c%notfound; :r := :r || n || ' '; end loop; "
                   "close c; end;"),
            "ADAMS MILLER ");
  // Too few values for the placeholders.
  EXPECT_EQ(lines(failure("declare c sys_refcursor; begin "
                          "open c for 'select 1 from dual where 1 = :a' using 1, 2; end;"),
                  1),
            "ORA-01006: bind variable does not exist");
  EXPECT_EQ(lines(failure("declare c sys_refcursor; begin "
                          "open c for 'select 1 from dual where :a = :b' using 1; end;"),
                  1),
            "ORA-01008: not all variables bound");
}

TEST_F(CursorVariables, AProceduresOutCursorReachesTheCallerThroughAHostCursor) {
  run("create procedure dept_emps(p_dept number, p_emps out sys_refcursor) is\n"
      "begin\n"
      "  open p_emps for select ename, sal from emp where deptno = p_dept order by ename;\n"
      "end;");
  HostCursor c;
  auto st = s_->prepare("begin dept_emps(:d, :c); end;");
  st->bind(":d", Value::integer(10));
  st->bindCursor(":c", &c);
  st->execute();
  ASSERT_TRUE(c.statement);
  // The block, the procedure's activation and its parameter are gone; the
  // query is not, and it still describes itself.
  st.reset();
  ASSERT_EQ(c.statement->describe().size(), 2u);
  EXPECT_EQ(c.statement->describe()[0].name, "ENAME");
  EXPECT_EQ(drain(*c.statement),
            (std::vector<std::string>{"CLARK|2450", "KING|5000", "MILLER|1300"}));
  c.statement.reset();
  // What the block fetched before it ended is not given again.
  st = s_->prepare(
      "declare n varchar2(10); s number; begin dept_emps(20, :c); fetch :c into n, s; "
      ":r := n; end;");
  st->bindCursor(":c", &c);
  st->bind(":r", Value());
  st->execute();
  EXPECT_EQ(st->boundValue(2).asText(), "ADAMS");
  EXPECT_EQ(drain(*c.statement),
            (std::vector<std::string>{"FORD|3000", "JONES|2975", "SCOTT|3000", "SMITH|800"}));
  c.statement.reset();
}

TEST_F(CursorVariables, AHostCursorTakesWhatTheBlockLeftInIt) {
  run("create procedure opens(p_emps out sys_refcursor) is\nbegin\n"
      "  open p_emps for select empno from emp where deptno = 10 order by empno;\nend;");
  run("create procedure fails_after(p_emps out sys_refcursor) is\nbegin\n"
      "  open p_emps for select empno from emp;\n  raise no_data_found;\nend;");
  run("create procedure leaves_closed(p_emps out sys_refcursor) is\nbegin\n  null;\nend;");
  HostCursor c;
  auto st = s_->prepare("declare l sys_refcursor; begin opens(l); :c := l; end;");
  st->bindCursor(":c", &c);
  st->execute();
  ASSERT_TRUE(c.statement);
  EXPECT_EQ(drain(*c.statement), (std::vector<std::string>{"7782", "7839", "7934"}));
  // A procedure that fails hands nothing out; one that opens nothing leaves
  // the caller with no cursor; a cursor closed by the block is not given.
  for (const char* block : {"begin fails_after(:c); exception when others then null; end;",
                            "begin leaves_closed(:c); end;", "begin opens(:c); close :c; end;"}) {
    c.statement.reset();
    st = s_->prepare(block);
    st->bindCursor(":c", &c);
    st->execute();
    EXPECT_FALSE(c.statement) << block;
  }
}

TEST_F(CursorVariables, InOutAndInParametersShareTheCursor) {
  run("create procedure open_dept(c in out sys_refcursor, d number) is\nbegin\n"
      "  open c for select ename from emp where deptno = d order by ename;\nend;");
  run("create function next_name(c in sys_refcursor) return varchar2 is\n"
      "  n varchar2(10);\nbegin\n  fetch c into n;\n"
      "  if c%notfound then return 'none'; end if;\n  return n;\nend;");
  run("create procedure skip_and_reopen(c in out sys_refcursor) is\n"
      "  n varchar2(10);\nbegin\n  fetch c into n;\n  if n = 'ALLEN' then open_dept(c, 10); end "
      "if;\n"
      "end;");
  // The callee's fetches move the caller's cursor on: it is one cursor.
  EXPECT_EQ(result(*s_,
                   "declare c sys_refcursor; begin open_dept(c, 10); "
                   ":r := next_name(c) || ' ' || next_name(c) || ' ' || c%rowcount || ' ' || "
                   "next_name(c) || ' ' || next_name(c); close c; end;"),
            "CLARK KING 2 MILLER none");
  // An alias sees the cursor reopened through another variable.
  EXPECT_EQ(result(*s_,
                   "declare c sys_refcursor; alias_c sys_refcursor; begin "
                   "open_dept(c, 30); alias_c := c; skip_and_reopen(c); "
                   ":r := next_name(alias_c) || ' ' || alias_c%rowcount; "
                   "close alias_c; :r := :r || case when c%isopen then ' open' else ' closed' end; "
                   "end;"),
            "CLARK 1 closed");
  // A HostCursor passed IN OUT comes back opened by the procedure.
  HostCursor host;
  auto st = s_->prepare("begin open_dept(:c, 20); :r := next_name(:c); end;");
  st->bindCursor(":c", &host);
  st->bind(":r", Value());
  st->execute();
  EXPECT_EQ(st->boundValue(2).asText(), "ADAMS");
  ASSERT_TRUE(host.statement);
  EXPECT_EQ(drain(*host.statement), (std::vector<std::string>{"FORD", "JONES", "SCOTT", "SMITH"}));
  host.statement.reset();
}

TEST_F(CursorVariables, RefCursorTypesAndFunctionsReturningCursors) {
  run("create function emps_of(d number) return sys_refcursor is\n"
      "  type emp_cur is ref cursor return emp%rowtype;\n  c emp_cur;\nbegin\n"
      "  open c for select * from emp where deptno = d order by empno;\n  return c;\nend;");
  EXPECT_EQ(result(*s_,
                   "declare type weak is ref cursor; c weak; r emp%rowtype; begin "
                   "c := emps_of(10); fetch c into r; :r := r.ename; "
                   "c := emps_of(d => 20); fetch c into r; :r := :r || ' ' || r.ename; end;"),
            "CLARK SMITH");
  HostCursor c;
  auto st = s_->prepare("begin :c := emps_of(30); end;");
  st->bindCursor(":c", &c);
  st->execute();
  ASSERT_TRUE(c.statement);
  EXPECT_EQ(drain(*c.statement).size(), 6u);
  c.statement.reset();
  // SQL has no cursor variables.
  EXPECT_EQ(failure("select emps_of(10) from dual"),
            "ORA-06553: PLS-382: expression is of wrong type");
}

TEST_F(CursorVariables, FetchingFromACursorThatIsNotOpenIsAnInvalidCursor) {
  EXPECT_EQ(failure("declare c sys_refcursor; n number; begin fetch c into n; end;"),
            "ORA-01001: invalid cursor\nORA-06512: at line 1");
  EXPECT_EQ(lines(failure("declare c sys_refcursor; n number; begin "
                          "open c for select 1 from dual; close c; fetch c into n; end;"),
                  1),
            "ORA-01001: invalid cursor");
  EXPECT_EQ(lines(failure("declare c sys_refcursor; begin close c; end;"), 1),
            "ORA-01001: invalid cursor");
  EXPECT_EQ(lines(failure("declare c sys_refcursor; n number; begin n := c%rowcount; end;"), 1),
            "ORA-01001: invalid cursor");
  // An OUT parameter starts with no cursor, whatever the caller's had.
  run("create procedure peek(c out sys_refcursor, n out number) is\nbegin\n"
      "  fetch c into n;\nend;");
  EXPECT_EQ(result(*s_,
                   "declare c sys_refcursor; n number; begin open c for select 1 from dual; "
                   "peek(c, n); exception when invalid_cursor then :r := 'invalid'; end;"),
            "invalid");
  // A weak cursor's row is checked when it is fetched.
  EXPECT_EQ(lines(failure("declare c sys_refcursor; a number; begin "
                          "open c for select empno, ename from emp; fetch c into a; end;"),
                  1),
            "ORA-06504: PL/SQL: Return types of Result Set variables or query do not match");
  EXPECT_EQ(result(*s_,
                   "declare c sys_refcursor; a number; begin open c for select 1, 2 from dual; "
                   "fetch c into a; exception when rowtype_mismatch then :r := 'mismatch'; end;"),
            "mismatch");
}

TEST_F(CursorVariables, MisusedCursorVariablesDoNotCompile) {
  run("create procedure takes(c in sys_refcursor) is begin null; end;");
  run("create procedure gives(c out sys_refcursor) is begin null; end;");
  auto compileError = [&](const std::string& block) { return lines(failure(block), 2); };
  EXPECT_EQ(compileError("declare c sys_refcursor; n number; begin n := c; end;"),
            "ORA-06550: line 1, column 47:\nPLS-00382: expression is of wrong type");
  EXPECT_EQ(compileError("declare c sys_refcursor; begin c := 1; end;"),
            "ORA-06550: line 1, column 37:\nPLS-00382: expression is of wrong type");
  EXPECT_EQ(compileError("declare c sys_refcursor; n number; begin select 1 into c from dual; "
                         "end;"),
            "ORA-06550: line 1, column 56:\nPLS-00382: expression is of wrong type");
  EXPECT_EQ(compileError("begin takes(1); end;"),
            "ORA-06550: line 1, column 13:\n"
            "PLS-00306: wrong number or types of arguments in call to 'TAKES'");
  EXPECT_EQ(compileError("declare n number; begin gives(n); end;"),
            "ORA-06550: line 1, column 31:\n"
            "PLS-00306: wrong number or types of arguments in call to 'GIVES'");
  EXPECT_EQ(compileError("declare n number; begin fetch n into n; end;"),
            "ORA-06550: line 1, column 31:\nPLS-00456: item 'N' is not a cursor");
  EXPECT_EQ(compileError("declare cursor k is select 1 from dual; begin "
                         "open k for select 2 from dual; end;"),
            "ORA-06550: line 1, column 52:\nPLS-00382: expression is of wrong type");
  EXPECT_EQ(compileError("declare n number; begin n := n%rowcount; end;"),
            "ORA-06550: line 1, column 30:\n"
            "PLS-00324: cursor attribute may not be applied to non-cursor 'N'");
  EXPECT_EQ(compileError("declare c sys_refcursor; begin if c = c then null; end if; end;"),
            "ORA-06550: line 1, column 35:\nPLS-00382: expression is of wrong type");
  // A cursor passed IN may be fetched from, not opened.
  try {
    run("create procedure reopen(c in sys_refcursor) is\nbegin\n"
        "  open c for select 1 from dual;\nend;");
    FAIL() << "compiled";
  } catch (const OraError& e) {
    EXPECT_EQ(e.code(), 24344);
  }
  EXPECT_EQ(lines(failure("declare c sys_refcursor; begin reopen(c); end;"), 2),
            "ORA-06550: line 1, column 32:\nPLS-00905: object SCOTT.REOPEN is invalid");
  EXPECT_EQ(compileError("declare c sys_refcursor; begin open c for select 1 from dual; "
                         "close c; end; "),
            "");
}

}  // namespace
}  // namespace vorn::server::test
