// PL/SQL through the version 7 calls: blocks parsed (function code 34) and
// executed with oexec, IN and OUT binds through obndra, stored procedures
// with OUT parameters and their description through odessp, PL/SQL tables
// bound with obndra's maximum and current sizes in both directions, cursor
// variables bound as external type 102 to a cursor data area that is then
// described and fetched, and block errors with their stacks and offsets.
#include <cstring>

#include "oci7_support.h"

namespace vorn::server::oci_test {
namespace {

using Oci7PlsqlTest = Oci7CursorAreaTest;

TEST_F(Oci7PlsqlTest, ABlockRunsWithItsBindsWrittenBack) {
  ASSERT_RC(0, cda_, parse("declare n number := :n; begin :n := n + 1; :word := 'seven'; end;"));
  EXPECT_EQ(34, cda_.ft);
  int n = 6;
  char word[10] = "";
  sb2 wordInd = -1;
  ub2 wordLen = 0;
  ASSERT_RC(0, cda_, bind(":n", &n, sizeof n, SQLT_INT));
  ASSERT_RC(0, cda_, bind(":word", word, sizeof word, SQLT_CHR, &wordInd, &wordLen));
  EXPECT_RC(0, cda_, oci7().oexec(&cda_));
  EXPECT_EQ(7, n);
  EXPECT_EQ(0, wordInd);
  EXPECT_EQ(5, wordLen);
  EXPECT_EQ("seven", std::string(word, wordLen));
}

TEST_F(Oci7PlsqlTest, StoredProceduresReturnTheirOutParameters) {
  run7(
      "create or replace procedure dept_info(p_deptno in number, p_name out varchar2, "
      "p_staff out number) is "
      "begin "
      "  select dname into p_name from dept where deptno = p_deptno; "
      "  select count(*) into p_staff from emp where deptno = p_deptno; "
      "end;");
  ASSERT_RC(0, cda_, parse("begin dept_info(:d, :name, :staff); end;"));
  int deptno = 30, staff = 0;
  char name[15] = "";
  ASSERT_RC(0, cda_, bind(":d", &deptno, sizeof deptno, SQLT_INT));
  ASSERT_RC(0, cda_, bind(":name", name, sizeof name, SQLT_STR));
  ASSERT_RC(0, cda_, bind(":staff", &staff, sizeof staff, SQLT_INT));
  EXPECT_RC(0, cda_, oci7().oexec(&cda_));
  EXPECT_STREQ("SALES", name);
  EXPECT_EQ(6, staff);

  deptno = 99;
  EXPECT_RC(1403, cda_, oci7().oexec(&cda_));
  EXPECT_EQ(
      "ORA-01403: no data found\nORA-06512: at \"SCOTT.DEPT_INFO\", line 1\n"
      "ORA-06512: at line 1\n",
      message(1403));
}

TEST_F(Oci7PlsqlTest, DescribingAStoredProcedureListsItsArguments) {
  run7(
      "create or replace function bonus_for(p_empno in number, p_rate in out number, "
      "p_note out varchar2, p_flag in varchar2 default 'Y') return number is "
      "begin p_note := 'ok'; return 1; end;");
  ub2 overload[8], position[8], level[8], nameLength[8], type[8];
  ub1 hasDefault[8], mode[8], radix[8];
  ub4 size[8], spare[8];
  sb2 precision[8], scale[8];
  char names[8][30];
  OraText* namePointers[8];
  for (int i = 0; i < 8; ++i)
    namePointers[i] = reinterpret_cast<OraText*>(names[i]);
  ub4 count = 8;
  std::string object = "bonus_for";
  auto describe = [&](Cda_Def* area) {
    count = 8;
    return oci7().odessp(area, reinterpret_cast<OraText*>(object.data()), object.size(), nullptr, 0,
                         nullptr, 0, overload, position, level, namePointers, nameLength, type,
                         hasDefault, mode, size, precision, scale, radix, spare, &count);
  };
  // Oracle's documentation passes the logon data area; a cursor serves too.
  EXPECT_RC(0, lda_, describe(&lda_));
  EXPECT_RC(0, cda_, describe(&cda_));
  ASSERT_EQ(5u, count);
  EXPECT_EQ(0, position[0]);  // the result
  EXPECT_EQ(2, type[0]);
  EXPECT_EQ(1, mode[0]);
  const char* expectedNames[] = {"", "P_EMPNO", "P_RATE", "P_NOTE", "P_FLAG"};
  const ub1 expectedModes[] = {1, 0, 2, 1, 0};
  const ub2 expectedTypes[] = {2, 2, 2, 1, 1};
  for (ub4 i = 1; i < count; ++i) {
    EXPECT_EQ(i, position[i]);
    EXPECT_EQ(expectedNames[i], std::string(names[i], nameLength[i]));
    EXPECT_EQ(expectedModes[i], mode[i]) << expectedNames[i];
    EXPECT_EQ(expectedTypes[i], type[i]) << expectedNames[i];
    EXPECT_EQ(0, level[i]);
    EXPECT_EQ(0, overload[i]);
  }
  EXPECT_EQ(1, hasDefault[4]);
  EXPECT_EQ(0, hasDefault[1]);
  EXPECT_EQ(10, radix[1]);

  count = 2;
  EXPECT_RC(21560, cda_,
            oci7().odessp(&cda_, reinterpret_cast<OraText*>(object.data()), object.size(), nullptr,
                          0, nullptr, 0, overload, position, level, namePointers, nameLength, type,
                          hasDefault, mode, size, precision, scale, radix, spare, &count));
  object = "no_such_procedure";
  EXPECT_RC(4043, cda_, describe(&cda_));
  EXPECT_EQ("ORA-04043: object no_such_procedure does not exist\n", message(4043));
}

TEST_F(Oci7PlsqlTest, PlsqlTablesGoBothWays) {
  ASSERT_RC(0, cda_,
            parse("begin for i in 1 .. :ids.count loop "
                  "  select ename into :names(i) from emp where empno = :ids(i); "
                  "end loop; :ids(:ids.count + 1) := 0; end;"));
  int ids[4] = {7839, 7369, 7902, 0};
  ub4 idCount = 3;
  char names[4][11] = {};
  ub2 nameLen[4] = {};
  sb2 nameInd[4] = {};
  ub4 nameCount = 0;
  ASSERT_RC(0, cda_,
            bind(":ids", ids, sizeof ids[0], SQLT_INT, nullptr, nullptr, nullptr, 4, &idCount));
  ASSERT_RC(
      0, cda_,
      bind(":names", names, sizeof names[0], SQLT_CHR, nameInd, nameLen, nullptr, 4, &nameCount));
  EXPECT_RC(0, cda_, oci7().oexec(&cda_));
  EXPECT_EQ(3u, nameCount);
  EXPECT_EQ("KING", std::string(names[0], nameLen[0]));
  EXPECT_EQ("FORD", std::string(names[2], nameLen[2]));
  EXPECT_EQ(4u, idCount);
  EXPECT_EQ(0, ids[3]);

  // The table may not grow past the host array.
  ids[3] = 7499;
  idCount = 4;
  EXPECT_RC(6513, cda_, oci7().oexec(&cda_));
  EXPECT_EQ("ORA-06513: PL/SQL: index for PL/SQL table out of range for host language array\n",
            message(6513));
}

TEST_F(Oci7PlsqlTest, ACursorVariableOpensAnAreaThatIsThenDescribedAndFetched) {
  ASSERT_RC(0, cda_,
            parse("begin open :c for select ename, hiredate from emp where deptno = :d "
                  "order by ename; end;"));
  // As a client does: the target area is not open (closed and zeroed).
  Cda_Def target{};
  int deptno = 10;
  ASSERT_RC(0, cda_, bind(":c", &target, -1, 102));
  ASSERT_RC(0, cda_, bind(":d", &deptno, sizeof deptno, SQLT_INT));
  ASSERT_RC(0, cda_, oci7().oexec(&cda_));
  EXPECT_EQ(172, target.chk);
  EXPECT_EQ(4, target.ft);

  // Opening it now keeps the query the variable delivered.
  ASSERT_RC(0, target, oci7().oopen(&target, &lda_, nullptr, -1, -1, nullptr, -1));
  sb4 size = 0;
  sb2 type = 0;
  sb1 name[30];
  sb4 nameLength = sizeof name;
  ASSERT_RC(0, target,
            oci7().odescr(&target, 2, &size, &type, name, &nameLength, nullptr, nullptr, nullptr,
                          nullptr));
  EXPECT_EQ("HIREDATE", std::string(reinterpret_cast<char*>(name), nameLength));
  EXPECT_EQ(12, type);
  EXPECT_RC(1007, target,
            oci7().odescr(&target, 3, &size, &type, nullptr, nullptr, nullptr, nullptr, nullptr,
                          nullptr));
  char names[2][11];
  ASSERT_RC(0, target,
            oci7().odefin(&target, 1, reinterpret_cast<ub1*>(names), sizeof names[0], SQLT_STR, -1,
                          nullptr, nullptr, -1, -1, nullptr, nullptr));
  EXPECT_RC(0, target, oci7().ofen(&target, 2));
  EXPECT_EQ(2u, target.rpc);
  EXPECT_STREQ("CLARK", names[0]);
  EXPECT_RC(1403, target, oci7().ofen(&target, 2));
  EXPECT_EQ(3u, target.rpc);
  EXPECT_STREQ("MILLER", names[0]);
  EXPECT_EQ(0, oci7().oclose(&target));

  // An area opened beforehand receives the query just as well.
  Cda_Def opened{};
  openCursor(opened);
  ASSERT_RC(0, cda_, bind(":c", &opened, -1, 102));
  deptno = 20;
  ASSERT_RC(0, cda_, oci7().oexec(&cda_));
  EXPECT_EQ(std::string("ADAMS"), [&] {
    char first[11] = "";
    oci7().odefin(&opened, 1, reinterpret_cast<ub1*>(first), sizeof first, SQLT_STR, -1, nullptr,
                  nullptr, -1, -1, nullptr, nullptr);
    oci7().ofen(&opened, 1);
    return std::string(first);
  }());
  oci7().oclose(&opened);
}

TEST_F(Oci7PlsqlTest, AProceduresOutCursorOpensTheBoundArea) {
  run7(
      "create or replace procedure dept_emps(p_dept number, p_emps out sys_refcursor) is "
      "begin "
      "  open p_emps for select ename from emp where deptno = p_dept order by ename; "
      "end;");
  ASSERT_RC(0, cda_, parse("begin dept_emps(:d, :c); end;"));
  Cda_Def target{};
  int deptno = 30;
  ASSERT_RC(0, cda_, bind(":c", &target, -1, 102));
  ASSERT_RC(0, cda_, bind(":d", &deptno, sizeof deptno, SQLT_INT));
  ASSERT_RC(0, cda_, oci7().oexec(&cda_));
  EXPECT_EQ(172, target.chk);
  // Described, the cursor argument has the cursor type.
  ub2 overload[2], position[2], level[2], nameLength[2], type[2];
  ub1 hasDefault[2], mode[2], radix[2];
  ub4 size[2], spare[2], count = 2;
  sb2 precision[2], scale[2];
  std::string object = "dept_emps";
  ASSERT_RC(0, lda_,
            oci7().odessp(&lda_, reinterpret_cast<OraText*>(object.data()), object.size(), nullptr,
                          0, nullptr, 0, overload, position, level, nullptr, nameLength, type,
                          hasDefault, mode, size, precision, scale, radix, spare, &count));
  ASSERT_EQ(2u, count);
  EXPECT_EQ(2, type[0]);
  EXPECT_EQ(102, type[1]);
  EXPECT_EQ(1, mode[1]);
  EXPECT_EQ(0u, size[1]);
  // The block and the procedure are done with: every row is still there.
  run7("drop procedure dept_emps");
  ASSERT_RC(0, target, oci7().oopen(&target, &lda_, nullptr, -1, -1, nullptr, -1));
  char name[11];
  ASSERT_RC(0, target,
            oci7().odefin(&target, 1, reinterpret_cast<ub1*>(name), sizeof name, SQLT_STR, -1,
                          nullptr, nullptr, -1, -1, nullptr, nullptr));
  std::vector<std::string> names;
  while (oci7().ofen(&target, 1) == 0)
    names.push_back(name);
  EXPECT_EQ(1403, target.rc);
  EXPECT_EQ((std::vector<std::string>{"ALLEN", "BLAKE", "JAMES", "MARTIN", "TURNER", "WARD"}),
            names);
  EXPECT_EQ(6u, target.rpc);
  EXPECT_EQ(0, oci7().oclose(&target));
}

TEST_F(Oci7PlsqlTest, ACursorVariableCannotTargetItsOwnOrAnotherLogonsCursor) {
  ASSERT_RC(0, cda_, parse("begin open :c for select 1 from dual; end;"));
  EXPECT_RC(1001, cda_, bind(":c", &cda_, -1, 102));
  EXPECT_RC(21560, cda_, bind(":c", nullptr, -1, 102));
}

TEST_F(Oci7PlsqlTest, BlockErrorsReportTheirStackAndTheParseErrorOffset) {
  ASSERT_RC(0, cda_, parse("begin\n  raise_application_error(-20002, 'Closed');\nend;"));
  EXPECT_RC(20002, cda_, oci7().oexec(&cda_));
  EXPECT_EQ("ORA-20002: Closed\nORA-06512: at line 2\n", message(20002));

  // A block compiles when it runs, with its binds in place.
  std::string bad = "begin\n  null\nend;";
  EXPECT_RC(0, cda_, parse(bad));
  EXPECT_RC(6550, cda_, oci7().oexec(&cda_));
  EXPECT_EQ(bad.find("end"), cda_.peo);
  EXPECT_EQ(0u, message(6550).find("ORA-06550: line 3, column 1:\nPLS-00103:")) << message(6550);
}

TEST_F(Oci7PlsqlTest, AutoCommitCommitsASuccessfulBlock) {
  ASSERT_EQ(0, oci7().ocon(&lda_));
  ASSERT_RC(0, cda_, parse("begin insert into dept values (66, 'BLOCK', 'RIGA'); end;"));
  EXPECT_RC(0, cda_, oci7().oexec(&cda_));
  EXPECT_EQ(0, oci7().orol(&lda_));
  EXPECT_EQ(std::vector<std::string>{"BLOCK"}, rows7("select dname from dept where deptno = 66"));
}

}  // namespace
}  // namespace vorn::server::oci_test
