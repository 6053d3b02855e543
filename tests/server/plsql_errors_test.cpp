// PL/SQL exceptions: handlers, nesting, user-defined exceptions, SQLCODE
// and SQLERRM, error stacks of unhandled errors, and compile errors with
// their line, column and parse offset.
#include "plsql_support.h"

namespace vorn::server::test {
namespace {

using Errors = PlsqlTest;

TEST_F(Errors, HandlersCatchThePredefinedExceptions) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"declare n number; begin select empno into n from emp where empno = 1; end;",
       "NO_DATA_FOUND"},
      {"declare n number; begin select empno into n from emp; end;", "TOO_MANY_ROWS"},
      {"declare n number; begin n := 1 / 0; end;", "ZERO_DIVIDE"},
      {"begin insert into dept values (10, 'X', 'Y'); end;", "DUP_VAL_ON_INDEX"},
      {"declare v varchar2(1); begin v := 'too long'; end;", "VALUE_ERROR"},
      {"begin insert into dept (deptno) values ('x'); end;", "INVALID_NUMBER"},
      {"declare cursor c is select 1 from dual; begin close c; end;", "INVALID_CURSOR"},
      {"begin update emp set deptno = 99 where empno = 7369; end;", "OTHERS"},
  };
  for (const auto& [body, name] : cases) {
    // Wrap the case in a block with a handler for each exception name.
    std::string wrapped = "begin " + body +
                          " exception"
                          " when no_data_found then :r := 'NO_DATA_FOUND';"
                          " when too_many_rows then :r := 'TOO_MANY_ROWS';"
                          " when zero_divide then :r := 'ZERO_DIVIDE';"
                          " when dup_val_on_index then :r := 'DUP_VAL_ON_INDEX';"
                          " when value_error then :r := 'VALUE_ERROR';"
                          " when invalid_number then :r := 'INVALID_NUMBER';"
                          " when invalid_cursor then :r := 'INVALID_CURSOR';"
                          " when others then :r := 'OTHERS'; end;";
    EXPECT_EQ(result(*s_, wrapped), name) << body;
  }
}

TEST_F(Errors, NestedBlocksHandleOrPassExceptionsOn) {
  EXPECT_EQ(result(*s_,
                   "begin "
                   "  begin raise no_data_found; "
                   "  exception when no_data_found then :r := 'inner '; end; "
                   "  begin "
                   "    begin raise zero_divide; "
                   "    exception when no_data_found then :r := :r || 'wrong '; end; "
                   "  exception when zero_divide then :r := :r || 'outer '; end; "
                   "  begin "
                   "    declare n number(1) := 99; begin :r := 'not reached'; "
                   "    exception when value_error then :r := :r || 'own handler'; end; "
                   "  exception when value_error then :r := :r || 'declaration '; end; "
                   "  begin raise no_data_found; "
                   "  exception when no_data_found then "
                   "    begin raise too_many_rows; "
                   "    exception when too_many_rows then :r := :r || 'in handler'; end; "
                   "  end; "
                   "end;"),
            "inner outer declaration in handler");
}

TEST_F(Errors, UserDefinedExceptions) {
  EXPECT_EQ(result(*s_,
                   "declare e exception; begin raise e; "
                   "exception when e then :r := sqlcode || ' ' || sqlerrm; end;"),
            "1 User-Defined Exception");
  EXPECT_EQ(failure("declare e exception; begin\n  raise e;\nend;"),
            "ORA-06510: PL/SQL: unhandled user-defined exception\nORA-06512: at line 2");
  // EXCEPTION_INIT names an ORA error.
  EXPECT_EQ(result(*s_,
                   "declare dup exception; pragma exception_init(dup, -1); begin "
                   "insert into dept values (10, 'X', 'Y'); "
                   "exception when dup then :r := 'dup ' || sqlcode; end;"),
            "dup -1");
  EXPECT_EQ(result(*s_,
                   "declare e exception; pragma exception_init(e, -20005); begin raise e; "
                   "exception when others then :r := sqlcode; end;"),
            "-20005");
  // DUP_VAL_ON_INDEX (ORA-00001) is not a user exception of code 1.
  EXPECT_EQ(result(*s_,
                   "declare e exception; begin raise e; "
                   "exception when dup_val_on_index then :r := 'wrong'; "
                   "when others then :r := 'others'; end;"),
            "others");
}

TEST_F(Errors, SqlcodeAndSqlerrmDescribeTheCurrentException) {
  EXPECT_EQ(result(*s_, "begin :r := sqlcode || '|' || sqlerrm; end;"),
            "0|ORA-0000: normal, successful completion");
  EXPECT_EQ(result(*s_,
                   "declare n number; begin select 1 into n from dual where 1 = 2; "
                   "exception when others then :r := sqlcode || '|' || sqlerrm; end;"),
            "100|ORA-01403: no data found");
  EXPECT_EQ(result(*s_, "begin :r := sqlerrm(-1476) || '|' || sqlerrm(100); end;"),
            "ORA-01476: divisor is equal to zero|ORA-01403: no data found");
  EXPECT_EQ(result(*s_,
                   "begin raise_application_error(-20042, 'my text'); "
                   "exception when others then :r := substr(sqlerrm, 1, 15) || sqlcode; end;"),
            "ORA-20042: my t-20042");
}

TEST_F(Errors, RaiseApplicationErrorChecksItsNumber) {
  EXPECT_EQ(
      failure("begin\n  raise_application_error(-20001, 'Salary ' || 5 || ' too low');\nend;"),
      "ORA-20001: Salary 5 too low\nORA-06512: at line 2");
  EXPECT_EQ(failure("begin raise_application_error(-1, 'x'); end;"),
            "ORA-21000: error number argument to raise_application_error of -1 is out of range\n"
            "ORA-06512: at line 1");
}

TEST_F(Errors, ReraiseSendsTheExceptionOn) {
  EXPECT_EQ(failure("begin\n  raise zero_divide;\nexception\n  when others then\n    raise;\nend;"),
            "ORA-01476: divisor is equal to zero\nORA-06512: at line 5");
}

TEST_F(Errors, UnhandledErrorsCarryTheStackOfUnits) {
  run("create procedure inner_p is\n  n number;\nbegin\n"
      "  select empno into n from emp where empno = 0;\nend;");
  run("create procedure outer_p is\nbegin\n  inner_p;\nend;");
  EXPECT_EQ(failure("begin\n  null;\n  outer_p;\nend;"),
            "ORA-01403: no data found\n"
            "ORA-06512: at \"SCOTT.INNER_P\", line 4\n"
            "ORA-06512: at \"SCOTT.OUTER_P\", line 3\n"
            "ORA-06512: at line 3");
  // A handler in the caller sees the callee's error.
  EXPECT_EQ(result(*s_, "begin outer_p; exception when no_data_found then :r := 'caught'; end;"),
            "caught");
}

TEST_F(Errors, SyntaxErrorsAreReportedAtTheOffendingToken) {
  std::string block = "declare x number; begin\n  x := ;\nend;";
  try {
    run(block);
    FAIL() << "no error";
  } catch (const OraError& e) {
    EXPECT_EQ(e.code(), 6550);
    EXPECT_EQ(lines(e.message(), 2),
              "ORA-06550: line 2, column 8:\n"
              "PLS-00103: Encountered the symbol \";\" when expecting one of the following:");
    EXPECT_EQ(e.offset(), static_cast<int>(block.find(":= ;") + 3));
  }
  EXPECT_EQ(lines(failure("begin null; end"), 2),
            "ORA-06550: line 1, column 16:\n"
            "PLS-00103: Encountered the symbol \"end-of-file\" when expecting one of the "
            "following:");
  EXPECT_EQ(lines(failure("begin if 1 = 1 null; end if; end;"), 2),
            "ORA-06550: line 1, column 16:\n"
            "PLS-00103: Encountered the symbol \"NULL\" when expecting one of the following:");
  EXPECT_EQ(lines(failure("begin end;"), 2),
            "ORA-06550: line 1, column 7:\n"
            "PLS-00103: Encountered the symbol \"END\" when expecting one of the following:");
}

TEST_F(Errors, SyntaxErrorComesBeforeAnUndeclaredNameBeforeIt) {
  // Oracle parses the whole block before it resolves names.
  EXPECT_EQ(lines(failure("begin x := ; end;"), 4),
            "ORA-06550: line 1, column 12:\n"
            "PLS-00103: Encountered the symbol \";\" when expecting one of the following:\n"
            "\n"
            "   ( - + case mod new not null others <an identifier> <a double-quoted "
            "delimited-identifier> <a bind variable> avg count current exists max min prior sql "
            "stddev sum variance execute forall merge time timestamp interval date <a string "
            "literal with character set specification> <a number> <a single-quoted SQL string> "
            "pipe");
  EXPECT_EQ(lines(failure("begin\n  undeclared := 1 +;\nend;"), 2),
            "ORA-06550: line 2, column 20:\n"
            "PLS-00103: Encountered the symbol \";\" when expecting one of the following:");
}

TEST_F(Errors, NameErrorsStopTheBlockBeforeItRuns) {
  std::string block = "begin\n  insert into dept values (80, 'X', 'Y');\n  undeclared := 1;\nend;";
  try {
    run(block);
    FAIL() << "no error";
  } catch (const OraError& e) {
    EXPECT_EQ(e.message(),
              "ORA-06550: line 3, column 3:\n"
              "PLS-00201: identifier 'UNDECLARED' must be declared\n"
              "ORA-06550: line 3, column 3:\nPL/SQL: Statement ignored");
    EXPECT_EQ(e.offset(), static_cast<int>(block.find("undeclared")));
  }
  EXPECT_EQ(one(*s_, "select count(*) from dept where deptno = 80"), "0");
  EXPECT_EQ(failure("declare n number; begin\n  select x into n from nosuchtable;\nend;"),
            "ORA-06550: line 2, column 24:\n"
            "PL/SQL: ORA-00942: table or view does not exist\n"
            "ORA-06550: line 2, column 3:\nPL/SQL: SQL Statement ignored");
  EXPECT_EQ(lines(failure("begin n := nosuchfunction(1); end;"), 2),
            "ORA-06550: line 1, column 7:\n"
            "PLS-00201: identifier 'N' must be declared");
  EXPECT_EQ(lines(failure("declare n number; begin n := nosuchfunction(1); end;"), 2),
            "ORA-06550: line 1, column 30:\n"
            "PLS-00201: identifier 'NOSUCHFUNCTION' must be declared");
  EXPECT_EQ(lines(failure("declare n number; begin select 1, 2 into n from dual; end;"), 2),
            "ORA-06550: line 1, column 42:\nPL/SQL: ORA-00913: too many values");
  EXPECT_EQ(lines(failure("begin select 1 from dual; end;"), 2),
            "ORA-06550: line 1, column 7:\n"
            "PLS-00428: an INTO clause is expected in this SELECT statement");
  EXPECT_EQ(lines(failure("declare e exception; begin raise e2; end;"), 2),
            "ORA-06550: line 1, column 34:\nPLS-00201: identifier 'E2' must be declared");
  EXPECT_EQ(lines(failure("begin :b := 1; end;"), 1), "ORA-01008: not all variables bound");
}

}  // namespace
}  // namespace vorn::server::test
