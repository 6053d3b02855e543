// Anonymous blocks: declarations and types, control flow, expressions, SQL
// statements in blocks, cursors, dynamic SQL, transactions, DBMS_OUTPUT.
#include "plsql_support.h"

namespace vorn::server::test {
namespace {

using Blocks = PlsqlTest;

TEST_F(Blocks, VariablesTakeTheirDeclaredTypes) {
  EXPECT_EQ(result(*s_, "declare n number(5,2); begin n := 3.14159; :r := n; end;"), "3.14");
  EXPECT_EQ(result(*s_, "declare i integer; begin i := 2.5; :r := i; end;"), "3");
  EXPECT_EQ(result(*s_, "declare c char(5) := 'ab'; begin :r := c || '|'; end;"), "ab   |");
  EXPECT_EQ(result(*s_,
                   "declare d date := '17-DEC-80'; begin :r := to_char(d + 1, 'YYYY-MM-DD'); "
                   "end;"),
            "1980-12-18");
  EXPECT_EQ(result(*s_, "declare b boolean := 1 < 2; begin if b then :r := 'yes'; end if; end;"),
            "yes");
  EXPECT_EQ(result(*s_,
                   "declare e emp.ename%type := 'KING'; f e%type; begin f := e; :r := f; "
                   "end;"),
            "KING");
  EXPECT_EQ(failure("declare v varchar2(3); begin v := 'abcd'; end;"),
            "ORA-06502: PL/SQL: numeric or value error: character string buffer too small\n"
            "ORA-06512: at line 1");
  EXPECT_EQ(failure("declare e emp.ename%type; begin e := 'ABCDEFGHIJK'; end;"),
            "ORA-06502: PL/SQL: numeric or value error: character string buffer too small\n"
            "ORA-06512: at line 1");
  EXPECT_EQ(failure("declare n number(3); begin n := 1000; end;"),
            "ORA-06502: PL/SQL: numeric or value error: number precision too large\n"
            "ORA-06512: at line 1");
  EXPECT_EQ(failure("declare p pls_integer := 2147483647; begin p := p + 1; end;").substr(0, 9),
            "ORA-01426");
  EXPECT_EQ(failure("declare n number; begin n := 'abc'; end;"),
            "ORA-06502: PL/SQL: numeric or value error: character to number conversion error\n"
            "ORA-06512: at line 1");
}

TEST_F(Blocks, LiteralsMayBeLongerInPlsqlThanInSql) {
  std::string text(5000, 'x');
  EXPECT_EQ(result(*s_, "declare v varchar2(6000) := '" + text + "'; begin :r := length(v); end;"),
            "5000");
  EXPECT_EQ(failure("select '" + text + "' from dual"), "ORA-01704: string literal too long");
}

TEST_F(Blocks, ConstantsAndNotNullVariablesAreChecked) {
  EXPECT_EQ(failure("declare c constant number := 1; begin c := 2; end;"),
            "ORA-06550: line 1, column 39:\n"
            "PLS-00363: expression 'C' cannot be used as an assignment target\n"
            "ORA-06550: line 1, column 39:\nPL/SQL: Statement ignored");
  EXPECT_EQ(lines(failure("declare c constant number; begin null; end;"), 2),
            "ORA-06550: line 1, column 9:\n"
            "PLS-00322: declaration of a constant 'C' must contain an initialization assignment");
  EXPECT_EQ(failure("declare n number not null := 1; begin n := null; end;"),
            "ORA-06502: PL/SQL: numeric or value error\nORA-06512: at line 1");
}

TEST_F(Blocks, ConditionsFollowThreeValuedLogic) {
  EXPECT_EQ(result(*s_,
                   "declare u boolean; t boolean := true; f boolean := false; "
                   "begin "
                   "  if u and f then :r := 'a'; elsif not (u and f) then :r := 'b'; "
                   "  else :r := 'c'; end if; "
                   "  if u or t then :r := :r || 'd'; end if; "
                   "  if not u then :r := :r || 'x'; else :r := :r || 'e'; end if; "
                   "  if null = null then :r := :r || 'x'; end if; "
                   "  if u is null and not (1 in (2, 3)) then :r := :r || 'f'; end if; "
                   "  if 2 between 1 and 3 and 'abc' like 'a%' then :r := :r || 'g'; end if; "
                   "end;"),
            "bdefg");
}

TEST_F(Blocks, CharValuesCompareBlankPadded) {
  EXPECT_EQ(result(*s_,
                   "declare c char(3) := 'a'; v varchar2(3) := 'a'; begin "
                   "if c = 'a' then :r := 'padded'; end if; "
                   "if v = 'a ' then :r := :r || ' wrong'; end if; "
                   "if 'a' = 'a  ' then :r := :r || ' literals'; end if; end;"),
            "padded literals");
}

TEST_F(Blocks, LoopsRunAndExit) {
  EXPECT_EQ(result(*s_,
                   "declare n number := 0; begin "
                   "loop n := n + 1; exit when n >= 5; end loop; "
                   "while n < 8 loop n := n + 1; end loop; "
                   "for i in 1..3 loop n := n + i; end loop; "
                   "for i in reverse 1..3 loop :r := :r || i; end loop; "
                   "for i in 3..1 loop n := -1; end loop; "
                   ":r := :r || ':' || n; end;"),
            "321:14");
  EXPECT_EQ(result(*s_,
                   "begin <<outer>> for i in 1..3 loop for j in 1..3 loop "
                   ":r := :r || i || j || ' '; exit outer when j = 2 and i = 2; end loop; "
                   "end loop; end;"),
            "11 12 13 21 22 ");
  EXPECT_EQ(lines(failure("begin for i in 1..2 loop i := 5; end loop; end;"), 2),
            "ORA-06550: line 1, column 26:\n"
            "PLS-00363: expression 'I' cannot be used as an assignment target");
  EXPECT_EQ(lines(failure("begin exit; end;"), 2),
            "ORA-06550: line 1, column 7:\n"
            "PLS-00376: illegal EXIT statement; it must appear inside a loop");
}

TEST_F(Blocks, ReturnEndsTheBlock) {
  EXPECT_EQ(result(*s_, "begin :r := 'a'; begin :r := :r || 'b'; return; end; :r := 'c'; end;"),
            "ab");
}

TEST_F(Blocks, ExpressionsUseWhatSqlOffers) {
  EXPECT_EQ(result(*s_, "begin :r := upper(substr('hello', 2, 3)) || nvl(null, '!'); end;"),
            "ELL!");
  EXPECT_EQ(result(*s_, "begin :r := to_char(1234.5, '9,999.99') || decode(1, 1, 'x', 'y'); end;"),
            " 1,234.50x");
  EXPECT_EQ(result(*s_, "begin :r := (select count(*) from emp where deptno = 10); end;"), "3");
  EXPECT_EQ(result(*s_,
                   "declare d number := 30; begin "
                   "if exists (select 1 from emp where deptno = d) then :r := 'some'; "
                   "end if; end;"),
            "some");
  EXPECT_EQ(result(*s_,
                   "declare n number := 7; begin :r := case when n > 5 then 'big' "
                   "else 'small' end || case n when 7 then '7' end; end;"),
            "big7");
  EXPECT_EQ(result(*s_,
                   "begin :r := 10 / 4 || ' ' || -(2 - 5) || ' ' || "
                   "to_char(date '2000-02-28' + 1, 'DD.MM'); end;"),
            "2.5 3 29.02");
  EXPECT_EQ(failure("declare n number; begin n := 1 / 0; end;"),
            "ORA-01476: divisor is equal to zero\nORA-06512: at line 1");
  // A conversion in procedural code is a VALUE_ERROR; in SQL it stays
  // INVALID_NUMBER.
  EXPECT_EQ(failure("declare n number; begin n := to_number('x1'); end;"),
            "ORA-06502: PL/SQL: numeric or value error: character to number conversion error\n"
            "ORA-06512: at line 1");
  EXPECT_EQ(failure("declare n number; begin select to_number('x1') into n from dual; end;"),
            "ORA-01722: invalid number\nORA-06512: at line 1");
}

TEST_F(Blocks, FunctionsEvaluatedInPlsqlGiveWhatSqlGives) {
  // The block computes each expression itself and through SQL.
  const char* cases[] = {
      "nvl(v, 'x')",     "nvl(e, 'x')",       "nvl(n, 0)",         "mod(n, 4)",
      "mod(-7, 3)",      "mod(7, 0)",         "mod(n, 0.4)",       "abs(n)",
      "upper(c) || '|'", "lower(v)",          "length(c)",         "length(e)",
      "substr(v, 2, 3)", "substr(v, -5)",     "substr(v, 0, 2)",   "substr(v, 3, -1)",
      "substr(v, 20)",   "substr(v, 2.7, 2)", "to_char(n)",        "to_char(d)",
      "to_char(1 / 3)",  "to_char(v)",        "nvl(d, d + 1) - d",
  };
  for (const char* expr : cases) {
    auto st = s_->prepare(std::string("declare v varchar2(20) := 'Hello World'; e varchar2(5); "
                                      "n number := -7.5; d date := date '2000-01-31'; "
                                      "c char(5) := 'ab'; begin :direct := ") +
                          expr + "; select " + expr + " into :viasql from dual; end;");
    st->bind(":direct", Value());
    st->bind(":viasql", Value());
    st->execute();
    EXPECT_EQ(st->boundValue(1), st->boundValue(2)) << expr;
  }
}

TEST_F(Blocks, SelectIntoNeedsExactlyOneRow) {
  EXPECT_EQ(result(*s_,
                   "declare n varchar2(10); begin "
                   "select ename into n from emp where empno = 7839; :r := n; end;"),
            "KING");
  EXPECT_EQ(failure("declare n varchar2(10); begin\n"
                    "  select ename into n from emp where empno = 1;\nend;"),
            "ORA-01403: no data found\nORA-06512: at line 2");
  EXPECT_EQ(failure("declare n varchar2(10); begin\n\n"
                    "  select ename into n from emp where deptno = 10;\nend;"),
            "ORA-01422: exact fetch returns more than requested number of rows\n"
            "ORA-06512: at line 3");
}

TEST_F(Blocks, ColumnsTakePrecedenceOverLocals) {
  EXPECT_EQ(result(*s_,
                   "declare sal number := 0; deptno number := 10; n number; begin "
                   "select count(*) into n from emp where sal = sal and deptno = deptno; "
                   ":r := n; end;"),
            "14");
  EXPECT_EQ(result(*s_,
                   "declare v_dept number := 10; n number; begin "
                   "select count(*) into n from emp where deptno = v_dept; :r := n; end;"),
            "3");
}

TEST_F(Blocks, DmlSetsTheSqlCursorAttributes) {
  EXPECT_EQ(result(*s_,
                   "begin "
                   "if sql%rowcount is null and sql%found is null then :r := 'none '; end if; "
                   "update emp set sal = sal + 1 where deptno = 10; "
                   ":r := :r || sql%rowcount; "
                   "if sql%found then :r := :r || ' found'; end if; "
                   "delete from emp where empno = 1; "
                   "if sql%notfound then :r := :r || ' notfound ' || sql%rowcount; end if; "
                   "end;"),
            "none 3 found notfound 0");
  EXPECT_EQ(one(*s_, "select sal from emp where empno = 7839"), "5001");
}

TEST_F(Blocks, ReturningIntoFillsLocals) {
  EXPECT_EQ(result(*s_,
                   "declare n number; e varchar2(10); begin "
                   "update emp set sal = sal * 2 where empno = 7369 returning sal, ename "
                   "into n, e; :r := e || '=' || n; end;"),
            "SMITH=1600");
  EXPECT_EQ(result(*s_,
                   "declare id rowid; begin "
                   "insert into dept values (50, 'X', 'Y') returning rowid into id; "
                   ":r := length(id); end;"),
            "18");
  EXPECT_EQ(failure("declare n number; begin "
                    "update emp set sal = sal where deptno = 10 returning sal into n; end;"),
            "ORA-01422: exact fetch returns more than requested number of rows\n"
            "ORA-06512: at line 1");
}

TEST_F(Blocks, TransactionControlWorksInsideBlocks) {
  run("begin "
      "  insert into dept values (50, 'A', 'B'); savepoint s1; "
      "  insert into dept values (60, 'C', 'D'); rollback to savepoint s1; "
      "  commit; "
      "end;");
  auto other = scott();
  EXPECT_EQ(rows(*other, "select deptno from dept where deptno >= 50"),
            std::vector<std::string>{"50"});
  run("begin delete from dept where deptno = 50; rollback; end;");
  EXPECT_EQ(one(*s_, "select count(*) from dept where deptno = 50"), "1");
}

TEST_F(Blocks, AFailingBlockLeavesNothingOfWhatItChanged) {
  run("insert into dept values (70, 'KEPT', 'X')");
  EXPECT_EQ(failure("begin insert into dept values (71, 'GONE', 'X'); "
                    "update emp set sal = 0; raise no_data_found; end;"),
            "ORA-01403: no data found\nORA-06512: at line 1");
  EXPECT_EQ(rows(*s_, "select dname from dept where deptno >= 70"),
            std::vector<std::string>{"KEPT"});
  EXPECT_EQ(one(*s_, "select count(*) from emp where sal = 0"), "0");
  // A handled error keeps the block's work.
  run("begin insert into dept values (72, 'HANDLED', 'X'); raise no_data_found; "
      "exception when no_data_found then null; end;");
  EXPECT_EQ(one(*s_, "select count(*) from dept where deptno = 72"), "1");
}

TEST_F(Blocks, BlocksKeepTheSessionsSavepointsUsable) {
  run("insert into dept values (50, 'A', 'B')");
  run("savepoint before_blocks");
  for (int i = 0; i < 3; ++i)
    run("begin update dept set loc = loc || 'x' where deptno = 50; end;");
  run("begin savepoint inside; update dept set loc = 'Z' where deptno = 50; end;");
  EXPECT_EQ(one(*s_, "select loc from dept where deptno = 50"), "Z");
  run("rollback to savepoint inside");
  EXPECT_EQ(one(*s_, "select loc from dept where deptno = 50"), "Bxxx");
  run("rollback to savepoint before_blocks");
  EXPECT_EQ(one(*s_, "select loc from dept where deptno = 50"), "B");
}

TEST_F(Blocks, ExplicitCursorsOpenFetchAndClose) {
  EXPECT_EQ(result(*s_,
                   "declare cursor c(d number, m number default 0) is "
                   "  select ename, sal from emp where deptno = d and sal > m order by ename; "
                   "  r c%rowtype; "
                   "begin "
                   "  if not c%isopen then :r := 'closed '; end if; "
                   "  open c(10, 2000); "
                   "  loop fetch c into r; exit when c%notfound; "
                   "    :r := :r || r.ename || ' '; end loop; "
                   "  :r := :r || c%rowcount; close c; "
                   "  open c(20); fetch c into r; :r := :r || ' ' || r.ename; close c; "
                   "end;"),
            "closed CLARK KING 2 ADAMS");
  // A block's cursors close when the block ends.
  EXPECT_EQ(result(*s_,
                   "begin for i in 1..2 loop declare cursor c is select dname from dept "
                   "where deptno = 10 * i; d varchar2(14); begin open c; fetch c into d; "
                   ":r := :r || d || ' '; end; end loop; end;"),
            "ACCOUNTING RESEARCH ");
  EXPECT_EQ(failure("declare cursor c is select 1 from dual; n number; begin fetch c into n; end;"),
            "ORA-01001: invalid cursor\nORA-06512: at line 1");
  EXPECT_EQ(failure("declare cursor c is select 1 from dual; begin open c; open c; end;"),
            "ORA-06511: PL/SQL: cursor already open\nORA-06512: at line 1");
}

TEST_F(Blocks, CursorForLoopsWalkTheRows) {
  EXPECT_EQ(result(*s_,
                   "declare cursor c is select ename from emp where deptno = 10 "
                   "order by ename; begin "
                   "for e in c loop :r := :r || e.ename || ' '; end loop; "
                   "for d in (select dname, deptno from dept order by deptno) loop "
                   "  exit when d.deptno > 20; :r := :r || d.dname || ' '; end loop; "
                   "for e in c loop exit; end loop; "
                   "if not c%isopen then :r := :r || 'closed'; end if; end;"),
            "CLARK KING MILLER ACCOUNTING RESEARCH closed");
}

TEST_F(Blocks, ExecuteImmediateRunsDynamicSql) {
  EXPECT_EQ(result(*s_,
                   "declare n number; v varchar2(20); begin "
                   "execute immediate 'create table t (a number, b varchar2(10))'; "
                   "execute immediate 'insert into t values (:1, :2)' using 1, 'one'; "
                   "execute immediate 'insert into t values (:1, :2)' using 2, 'two'; "
                   "execute immediate 'select b from t where a = :a' into v using 2; "
                   "execute immediate 'update t set a = a + 10' ; n := sql%rowcount; "
                   "execute immediate 'begin :x := upper(:y); end;' using out :r, in v; "
                   ":r := :r || n; end;"),
            "TWO2");
  EXPECT_EQ(result(*s_,
                   "declare n number; begin "
                   "execute immediate 'update emp set sal = sal where empno = :e "
                   "returning sal into :s' using 7839 returning into n; :r := n; end;"),
            "5000");
  EXPECT_EQ(failure("begin execute immediate 'select 1 from dual where 1 = :a'; end;"),
            "ORA-01008: not all variables bound\nORA-06512: at line 1");
  EXPECT_EQ(failure("declare s varchar2(10); begin execute immediate s; end;"),
            "ORA-06535: statement string in EXECUTE IMMEDIATE is NULL or 0 length\n"
            "ORA-06512: at line 1");
}

TEST_F(Blocks, DbmsOutputKeepsLinesForTheSession) {
  run("begin dbms_output.put_line('before enable'); end;");
  EXPECT_TRUE(output().empty());
  run("begin dbms_output.enable; dbms_output.put_line('one'); dbms_output.put('t');"
      " dbms_output.put('wo'); dbms_output.new_line; dbms_output.put_line(3); end;");
  run("begin dbms_output.put_line('next block'); end;");
  EXPECT_EQ(output(), (std::vector<std::string>{"one", "two", "3", "next block"}));
  // Lines left unread when writing starts again are dropped.
  run("begin dbms_output.put_line('a'); dbms_output.put_line('b'); end;");
  auto get = s_->prepare("begin dbms_output.get_line(:l, :s); end;");
  get->bind(":l", Value());
  get->bind(":s", Value(), TypeKind::Number);
  get->execute();
  EXPECT_EQ(get->boundValue(1), Value::text("a"));
  run("begin dbms_output.put_line('c'); end;");
  EXPECT_EQ(output(), std::vector<std::string>{"c"});
  EXPECT_EQ(failure("begin dbms_output.put_line(rpad('x', 256, 'x')); end;"),
            "ORA-20000: ORU-10028: line length overflow, limit of 255 chars per line\n"
            "ORA-06512: at line 1");
  run("begin dbms_output.disable; dbms_output.enable(2000); end;");
  EXPECT_EQ(failure("begin for i in 1..20 loop dbms_output.put_line(rpad('x', 200, 'x')); "
                    "end loop; end;"),
            "ORA-20000: ORU-10027: buffer overflow, limit of 2000 bytes\nORA-06512: at line 1");
}

}  // namespace
}  // namespace vorn::server::test
