// Stored procedures and functions: CREATE [OR REPLACE], parameters of every
// mode, defaults and named notation, functions called from SQL, the
// catalog entries (USER_SOURCE, USER_OBJECTS), DROP, and built-in packages.
#include "plsql/Builtins.h"
#include "plsql_support.h"

namespace vorn::server::test {
namespace {

using Stored = PlsqlTest;

TEST_F(Stored, ProceduresTakeInOutAndInOutParameters) {
  run("create procedure swap_and_count(a in out number, b in out number, calls out number, "
      "note in varchar2 default 'none', factor in number := 1) is\n"
      "  t number := a;\n"
      "begin\n"
      "  a := b * factor; b := t * factor; calls := 1;\n"
      "  dbms_output.put_line(note);\n"
      "end swap_and_count;");
  EXPECT_EQ(result(*s_,
                   "declare x number := 1; y number := 2; c number; begin "
                   "swap_and_count(x, y, c); :r := x || y || c; "
                   "swap_and_count(x, y, c, factor => 10); :r := :r || ' ' || x || ' ' || y; "
                   "swap_and_count(b => x, a => y, calls => c, note => 'named'); "
                   "end;"),
            "211 10 20");
  run("begin dbms_output.enable; end;");
  run("declare x number := 1; c number; begin swap_and_count(x, x, c, 'hello'); end;");
  EXPECT_EQ(output(), std::vector<std::string>{"hello"});
  EXPECT_EQ(lines(failure("begin swap_and_count(1, 2); end;"), 2),
            "ORA-06550: line 1, column 7:\n"
            "PLS-00306: wrong number or types of arguments in call to 'SWAP_AND_COUNT'");
  EXPECT_EQ(lines(failure("declare c number; begin swap_and_count(1, 2, c); end;"), 2),
            "ORA-06550: line 1, column 40:\n"
            "PLS-00363: expression '1' cannot be used as an assignment target");
}

TEST_F(Stored, FunctionsReturnValuesToBlocksAndSql) {
  run("create or replace function annual(p_sal number, p_comm number default 0) return number "
      "is begin return (p_sal + nvl(p_comm, 0)) * 12; end;");
  run("create function hired_in(d date) return varchar2 as begin return to_char(d, 'YYYY'); end;");
  run("create function seven return number is begin return 7; end;");
  EXPECT_EQ(result(*s_, "begin :r := annual(100) + annual(p_sal => 1, p_comm => 1); end;"), "1224");
  EXPECT_EQ(rows(*s_,
                 "select ename, annual(sal, comm) from emp where deptno = 30 and "
                 "annual(sal, comm) > 30000 order by 1"),
            (std::vector<std::string>{"BLAKE|34200", "MARTIN|31800"}));
  EXPECT_EQ(one(*s_,
                "select hired_in(hiredate) || '/' || seven || '/' || scott.seven() "
                "from emp where empno = 7369"),
            "1980/7/7");
  EXPECT_EQ(failure("select annual() from dual"),
            "ORA-06553: PLS-306: wrong number or types of arguments in call to 'ANNUAL'");
  // In SQL a function's text becomes VARCHAR2.
  auto st = s_->prepare("select hired_in(sysdate) from dual");
  EXPECT_EQ(st->describe()[0].typeCode, 1);
  // Parameters and results typed after columns.
  run("create function name_of(p emp.empno%type) return emp.ename%type is n emp.ename%type; "
      "begin select ename into n from emp where empno = p; return n; end;");
  EXPECT_EQ(one(*s_, "select name_of(7839) from dual"), "KING");
  // As in Oracle, a function's result is unconstrained in SQL.
  EXPECT_EQ(s_->prepare("select name_of(7839) from dual")->describe()[0].dataSize, 4000);
  EXPECT_EQ(result(*s_, "begin :r := name_of('7902'); end;"), "FORD");
}

TEST_F(Stored, FunctionsCalledFromQueriesFollowOraclesRules) {
  run("create function missing return varchar2 is v varchar2(10); begin "
      "select ename into v from emp where empno = 0; return v; end;");
  run("create function bump return number is begin update emp set sal = sal + 1; return 1; "
      "end;");
  run("create function fails return number is begin return 1 / 0; end;");
  // NO_DATA_FOUND escaping a function gives the query a NULL.
  EXPECT_EQ(one(*s_, "select nvl(missing, 'null') from dual"), "null");
  EXPECT_EQ(failure("select bump from dual"),
            "ORA-14551: cannot perform a DML operation inside a query\n"
            "ORA-06512: at \"SCOTT.BUMP\", line 1");
  EXPECT_EQ(failure("select fails from dual"),
            "ORA-01476: divisor is equal to zero\nORA-06512: at \"SCOTT.FAILS\", line 1");
  // Called from PL/SQL, the same function may change data.
  EXPECT_EQ(result(*s_, "begin :r := bump; end;"), "1");
}

TEST_F(Stored, RecursionWorks) {
  run("create function fact(n number) return number is\nbegin\n"
      "  if n <= 1 then return 1; end if;\n  return n * fact(n - 1);\nend;");
  EXPECT_EQ(result(*s_, "begin :r := fact(10); end;"), "3628800");
  EXPECT_EQ(one(*s_, "select fact(5) from dual"), "120");
  run("create function forever(n number) return number is begin return forever(n + 1); end;");
  EXPECT_EQ(lines(failure("declare n number; begin n := forever(1); end;"), 1),
            "ORA-06500: PL/SQL: storage error");
}

TEST_F(Stored, CreateReplaceAndNameConflicts) {
  run("create procedure p is begin null; end;");
  EXPECT_EQ(failure("create procedure p is begin null; end;"),
            "ORA-00955: name is already used by an existing object");
  EXPECT_EQ(failure("create or replace function p return number is begin return 1; end;"),
            "ORA-00955: name is already used by an existing object");
  EXPECT_EQ(failure("create procedure emp is begin null; end;"),
            "ORA-00955: name is already used by an existing object");
  run("create or replace procedure p(x out number) is begin x := 2; end;");
  EXPECT_EQ(result(*s_, "declare n number; begin p(n); :r := n; end;"), "2");
  EXPECT_EQ(one(*s_, "select count(*) from user_objects where object_name = 'P'"), "1");
}

TEST_F(Stored, CodeThatDoesNotCompileIsStoredInvalid) {
  try {
    run("create procedure broken is begin nosuch_thing; end;");
    FAIL() << "no error";
  } catch (const OraError& e) {
    EXPECT_EQ(e.code(), 24344);
    EXPECT_EQ(lines(e.message(), 1), "ORA-24344: success with compilation error");
  }
  EXPECT_EQ(one(*s_, "select status from user_objects where object_name = 'BROKEN'"), "INVALID");
  EXPECT_EQ(lines(failure("begin broken; end;"), 2),
            "ORA-06550: line 1, column 7:\nPLS-00905: object SCOTT.BROKEN is invalid");
  run("create or replace procedure broken is begin null; end;");
  EXPECT_EQ(one(*s_, "select status from user_objects where object_name = 'BROKEN'"), "VALID");
  run("begin broken; end;");
}

TEST_F(Stored, SourceAndObjectsAreInTheDictionary) {
  run("create or replace procedure shown(a number)\nis\nbegin\n  null;\nend;");
  EXPECT_EQ(rows(*s_,
                 "select line, rtrim(text, chr(10)) from user_source where name = 'SHOWN' "
                 "order by line"),
            (std::vector<std::string>{"1|procedure shown(a number)", "2|is", "3|begin", "4|  null;",
                                      "5|end;"}));
  EXPECT_EQ(rows(*s_,
                 "select object_type, status from all_objects where owner = 'SCOTT' and "
                 "object_name = 'SHOWN'"),
            std::vector<std::string>{"PROCEDURE|VALID"});
}

TEST_F(Stored, DropRemovesCodeAndSource) {
  run("create procedure gone is begin null; end;");
  run("create function gone_f return number is begin return 1; end;");
  run("drop procedure gone");
  run("drop function gone_f");
  EXPECT_EQ(one(*s_, "select count(*) from user_source"), "0");
  EXPECT_EQ(one(*s_,
                "select count(*) from user_objects where object_type in "
                "('PROCEDURE', 'FUNCTION')"),
            "0");
  EXPECT_EQ(failure("drop procedure gone"), "ORA-04043: object GONE does not exist");
  EXPECT_EQ(lines(failure("begin gone; end;"), 2),
            "ORA-06550: line 1, column 7:\nPLS-00201: identifier 'GONE' must be declared");
  // DROP USER CASCADE takes the user's code along.
  auto sys = db_->logon("system", "manager");
  sys->execute("create user coder identified by pw");
  auto coder = db_->logon("coder", "pw");
  coder->execute("create procedure mine is begin null; end;");
  coder.reset();
  EXPECT_EQ(failureOf(*sys, "drop user coder").substr(0, 9), "ORA-01922");
  sys->execute("drop user coder cascade");
  EXPECT_EQ(one(*sys, "select count(*) from all_objects where owner = 'CODER'"), "0");
  EXPECT_EQ(one(*sys, "select count(*) from all_source where owner = 'CODER'"), "0");
}

TEST_F(Stored, OtherUsersCallQualifiedOrThroughSynonyms) {
  run("create function dept_name(d number) return varchar2 is n varchar2(14); begin "
      "select dname into n from dept where deptno = d; return n; end;");
  auto sys = db_->logon("system", "manager");
  EXPECT_EQ(one(*sys, "select scott.dept_name(10) from dual"), "ACCOUNTING");
  sys->execute("create public synonym dept_name for scott.dept_name");
  EXPECT_EQ(one(*sys, "select dept_name(20) from dual"), "RESEARCH");
  // The function reads SCOTT's DEPT whoever calls it.
  EXPECT_EQ(result(*sys, "begin :r := dept_name(30); end;"), "SALES");
}

TEST_F(Stored, BuiltinPackagesHaveRoutinesAndVariables) {
  plsql::registerBuiltinPackage(
      {"test_pkg",
       {{"twice",
         {{"n", plsql::ParamMode::In, OraType::number(), std::nullopt}},
         OraType::number(),
         [](plsql::BuiltinCall& c) { return Value::integer(2 * c.arg(0).asInteger()); }},
        {"remember",
         {{"text", plsql::ParamMode::In, OraType::varchar2(100), std::nullopt},
          {"previous", plsql::ParamMode::Out, OraType::varchar2(100), std::nullopt}},
         std::nullopt,
         [](plsql::BuiltinCall& c) {
           c.setArg(1, c.variable("test_pkg", "last"));
           c.setVariable("test_pkg", "last", Value::text(c.text(0)));
           return Value();
         }}},
       {{"last", OraType::varchar2(100), Value::text("start")}}});
  EXPECT_EQ(result(*s_,
                   "declare p varchar2(100); begin test_pkg.remember('a', p); "
                   ":r := p || ' ' || test_pkg.last || ' ' || test_pkg.twice(21); end;"),
            "start a 42");
  // Variables are per session and may be assigned; SQL in a block sees them.
  EXPECT_EQ(result(*s_,
                   "declare n number; begin test_pkg.last := 'KING'; "
                   "select empno into n from emp where ename = test_pkg.last; :r := n; "
                   "end;"),
            "7839");
  auto other = scott();
  EXPECT_EQ(result(*other, "begin :r := test_pkg.last; end;"), "start");
  EXPECT_EQ(one(*s_, "select test_pkg.twice(sal) from emp where empno = 7369"), "1600");
  EXPECT_EQ(lines(failure("begin test_pkg.nothing; end;"), 2),
            "ORA-06550: line 1, column 7:\nPLS-00302: component 'NOTHING' must be declared");
  plsql::unregisterBuiltinPackage("test_pkg");
}

}  // namespace
}  // namespace vorn::server::test
