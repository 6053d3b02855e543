// PL/SQL through the version 8 calls: blocks prepared and executed like any
// statement (statement types 8 and 9), IN and OUT binds written back, stored
// procedures and functions with OUT parameters, PL/SQL tables bound with a
// maximum and a current element count in both directions, cursor variables
// (SQLT_RSET) fetched through the statement handle they were bound to, and
// the errors of blocks as OCIErrorGet reports them.
#include <cstring>

#include "oci_support.h"

namespace vorn::server::oci_test {
namespace {

class OciPlsqlTest : public OciTest {
 protected:
  void SetUp() override {
    OciTest::SetUp();
    svc_ = scott();
  }

  OCIStmt* prepare(const std::string& sql) { return newStatement(sql); }
  sword exec(OCIStmt* stmt) {
    return oci().OCIStmtExecute(svc_, stmt, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT);
  }
  OCIBind* bindName(OCIStmt* stmt, const char* name, void* value, sb4 size, ub2 type,
                    sb2* ind = nullptr, ub2* alen = nullptr, ub2* rcode = nullptr,
                    ub4 maxElements = 0, ub4* count = nullptr) {
    OCIBind* bind = nullptr;
    EXPECT_OCI(
        OCI_SUCCESS,
        oci().OCIBindByName(stmt, &bind, err_, reinterpret_cast<const OraText*>(name), -1, value,
                            size, type, ind, alen, rcode, maxElements, count, OCI_DEFAULT));
    return bind;
  }
  ub2 statementType(OCIStmt* stmt) {
    ub2 type = 0;
    oci().OCIAttrGet(stmt, OCI_HTYPE_STMT, &type, nullptr, OCI_ATTR_STMT_TYPE, err_);
    return type;
  }

  OCISvcCtx* svc_ = nullptr;
};

TEST_F(OciPlsqlTest, BlocksHaveTheirStatementTypesAndWriteOutBindsBack) {
  OCIStmt* begin = prepare("begin :total := :a + :b; :greeting := 'Hello ' || :name; end;");
  EXPECT_EQ(OCI_STMT_BEGIN, statementType(begin));
  int a = 40, b = 2, total = 0;
  // An IN value the block leaves alone may live in read-only memory.
  static const char name[] = "world";
  char greeting[20] = "";
  sb2 greetingInd = -1;
  ub2 greetingLen = 0, greetingCode = 99;
  bindName(begin, ":a", &a, sizeof a, SQLT_INT);
  bindName(begin, ":b", &b, sizeof b, SQLT_INT);
  bindName(begin, ":total", &total, sizeof total, SQLT_INT);
  bindName(begin, ":name", const_cast<char*>(name), sizeof name, SQLT_STR);
  bindName(begin, ":greeting", greeting, sizeof greeting, SQLT_STR, &greetingInd, &greetingLen,
           &greetingCode);
  ASSERT_OCI(OCI_SUCCESS, exec(begin));
  EXPECT_EQ(42, total);
  EXPECT_STREQ("Hello world", greeting);
  EXPECT_EQ(0, greetingInd);
  EXPECT_EQ(11, greetingLen);
  EXPECT_EQ(0, greetingCode);
  EXPECT_EQ(OCI_STMT_BEGIN, statementType(begin));

  OCIStmt* declare = prepare("declare x number := :in; begin :out := null; :in := x * 2; end;");
  EXPECT_EQ(OCI_STMT_DECLARE, statementType(declare));
  int in = 21;
  double out = 5;
  sb2 outInd = 0;
  bindName(declare, ":in", &in, sizeof in, SQLT_INT);
  bindName(declare, ":out", &out, sizeof out, SQLT_FLT, &outInd);
  ASSERT_OCI(OCI_SUCCESS, exec(declare));
  EXPECT_EQ(42, in);
  EXPECT_EQ(-1, outInd);
}

TEST_F(OciPlsqlTest, AnOutValueLongerThanItsBufferIsCutWithAWarning) {
  OCIStmt* stmt = prepare("begin :s := 'a long text'; end;");
  char s[5] = {};
  sb2 ind = 0;
  ub2 len = 0, code = 0;
  bindName(stmt, ":s", s, sizeof s, SQLT_STR, &ind, &len, &code);
  EXPECT_OCI(OCI_SUCCESS_WITH_INFO, exec(stmt));
  EXPECT_STREQ("a lo", s);
  EXPECT_EQ(11, ind);
  EXPECT_EQ(1406, code);
}

TEST_F(OciPlsqlTest, StoredProceduresAndFunctionsWithOutParameters) {
  run(svc_,
      "create or replace procedure raise_pay(p_empno in number, p_pct in out number, "
      "p_new out number, p_name out varchar2) is "
      "begin "
      "  update emp set sal = sal * (1 + p_pct / 100) where empno = p_empno "
      "  returning sal, ename into p_new, p_name; "
      "  p_pct := p_pct * 2; "
      "end;");
  run(svc_,
      "create or replace function yearly(p_empno number) return number is "
      "  s number; begin select sal * 12 into s from emp where empno = p_empno; return s; end;");

  OCIStmt* call = prepare("begin raise_pay(:e, :pct, :new, :name); :year := yearly(:e); end;");
  int empno = 7369, pct = 10, year = 0;
  double newSal = 0;
  char ename[11] = "";
  bindName(call, ":e", &empno, sizeof empno, SQLT_INT);
  bindName(call, ":pct", &pct, sizeof pct, SQLT_INT);
  bindName(call, ":new", &newSal, sizeof newSal, SQLT_FLT);
  bindName(call, ":name", ename, sizeof ename, SQLT_STR);
  bindName(call, ":year", &year, sizeof year, SQLT_INT);
  ASSERT_OCI(OCI_SUCCESS, exec(call));
  EXPECT_EQ(880.0, newSal);
  EXPECT_EQ(20, pct);
  EXPECT_STREQ("SMITH", ename);
  EXPECT_EQ(10560, year);
  EXPECT_EQ(std::vector<std::string>{"880"}, rows(svc_, "select sal from emp where empno = 7369"));
}

TEST_F(OciPlsqlTest, PlsqlTablesGoInUpToTheirCountAndComeBackWithTheirCount) {
  OCIStmt* stmt = prepare(
      "declare s number := 0; begin "
      "  for i in 1 .. :n.count loop s := s + :n(i); :n(i) := :n(i) * 10; end loop; "
      "  :n(:n.count + 1) := s; "
      "  :names(1) := upper(:names(1)); :names(3) := 'new'; "
      "end;");
  int numbers[5] = {1, 2, 3, 0, 0};
  ub4 numberCount = 3;
  char names[4][8] = {"ann", "bob", "", ""};
  ub2 nameLen[4] = {3, 3, 0, 0};
  sb2 nameInd[4] = {0, 0, 0, 0};
  ub4 nameCount = 2;
  bindName(stmt, ":n", numbers, sizeof numbers[0], SQLT_INT, nullptr, nullptr, nullptr, 5,
           &numberCount);
  bindName(stmt, ":names", names, sizeof names[0], SQLT_STR, nameInd, nameLen, nullptr, 4,
           &nameCount);
  ASSERT_OCI(OCI_SUCCESS, exec(stmt));
  EXPECT_EQ(4u, numberCount);
  EXPECT_EQ(10, numbers[0]);
  EXPECT_EQ(30, numbers[2]);
  EXPECT_EQ(6, numbers[3]);
  EXPECT_EQ(3u, nameCount);
  EXPECT_STREQ("ANN", names[0]);
  EXPECT_STREQ("bob", names[1]);
  EXPECT_STREQ("new", names[2]);
  EXPECT_EQ(0, nameInd[2]);
  EXPECT_EQ(3, nameLen[2]);
}

TEST_F(OciPlsqlTest, PlsqlTablesBoundByPositionAndOfDates) {
  OCIStmt* stmt = prepare(
      "begin for i in 1 .. 3 loop :d(i) := to_date('2000-01-01', 'YYYY-MM-DD') + i; "
      "end loop; end;");
  OCIDate dates[3] = {};
  ub4 count = 0;
  OCIBind* bind = nullptr;
  ASSERT_OCI(OCI_SUCCESS, oci().OCIBindByPos(stmt, &bind, err_, 1, dates, sizeof dates[0], SQLT_ODT,
                                             nullptr, nullptr, nullptr, 3, &count, OCI_DEFAULT));
  ASSERT_OCI(OCI_SUCCESS, exec(stmt));
  EXPECT_EQ(3u, count);
  EXPECT_EQ(2000, dates[2].OCIDateYYYY);
  EXPECT_EQ(1, dates[2].OCIDateMM);
  EXPECT_EQ(4, dates[2].OCIDateDD);
}

TEST_F(OciPlsqlTest, PlsqlTableErrorsAreOracles) {
  int numbers[2] = {0, 0};
  ub4 count = 0;
  OCIStmt* past = prepare("begin for i in 1 .. 3 loop :t(i) := i; end loop; end;");
  bindName(past, ":t", numbers, sizeof numbers[0], SQLT_INT, nullptr, nullptr, nullptr, 2, &count);
  EXPECT_EQ(OCI_ERROR, exec(past));
  EXPECT_EQ("ORA-06513: PL/SQL: index for PL/SQL table out of range for host language array\n",
            errorText());
  EXPECT_EQ(0u, count);

  char small[4][4] = {};
  ub4 smallCount = 0;
  OCIStmt* tooLong = prepare("begin :t(1) := 'four'; end;");
  bindName(tooLong, ":t", small, sizeof small[0], SQLT_STR, nullptr, nullptr, nullptr, 4,
           &smallCount);
  EXPECT_EQ(OCI_ERROR, exec(tooLong));
  EXPECT_EQ(6502, errorCode());

  count = 3;
  OCIStmt* tooMany = prepare("begin :t(1) := 1; end;");
  bindName(tooMany, ":t", numbers, sizeof numbers[0], SQLT_INT, nullptr, nullptr, nullptr, 2,
           &count);
  EXPECT_EQ(OCI_ERROR, exec(tooMany));
  EXPECT_EQ(6513, errorCode());
}

TEST_F(OciPlsqlTest, ACursorVariableIsFetchedThroughItsStatementHandle) {
  OCIStmt* block = prepare(
      "begin open :c for select ename, sal from emp where deptno = :d order by ename; end;");
  OCIStmt* cursor = nullptr;
  oci().OCIHandleAlloc(env_, reinterpret_cast<void**>(&cursor), OCI_HTYPE_STMT, 0, nullptr);
  int deptno = 10;
  bindName(block, ":c", &cursor, 0, SQLT_RSET);
  bindName(block, ":d", &deptno, sizeof deptno, SQLT_INT);
  ASSERT_OCI(OCI_SUCCESS, exec(block));

  ub4 columns = 0;
  ASSERT_OCI(OCI_SUCCESS, oci().OCIAttrGet(cursor, OCI_HTYPE_STMT, &columns, nullptr,
                                           OCI_ATTR_PARAM_COUNT, err_));
  EXPECT_EQ(2u, columns);
  EXPECT_EQ(OCI_STMT_SELECT, statementType(cursor));
  char names[5][11];
  int sal[5];
  OCIDefine* def = nullptr;
  oci().OCIDefineByPos(cursor, &def, err_, 1, names, sizeof names[0], SQLT_STR, nullptr, nullptr,
                       nullptr, OCI_DEFAULT);
  oci().OCIDefineByPos(cursor, &def, err_, 2, sal, sizeof sal[0], SQLT_INT, nullptr, nullptr,
                       nullptr, OCI_DEFAULT);
  EXPECT_OCI(OCI_NO_DATA, oci().OCIStmtFetch(cursor, err_, 5, OCI_FETCH_NEXT, OCI_DEFAULT));
  EXPECT_EQ(3u, rowCount(cursor));
  EXPECT_STREQ("CLARK", names[0]);
  EXPECT_STREQ("MILLER", names[2]);
  EXPECT_EQ(5000, sal[1]);

  // Executing the block again opens the cursor afresh, for other binds.
  deptno = 20;
  ASSERT_OCI(OCI_SUCCESS, exec(block));
  oci().OCIDefineByPos(cursor, &def, err_, 1, names, sizeof names[0], SQLT_STR, nullptr, nullptr,
                       nullptr, OCI_DEFAULT);
  EXPECT_OCI(OCI_SUCCESS, oci().OCIStmtFetch(cursor, err_, 2, OCI_FETCH_NEXT, OCI_DEFAULT));
  EXPECT_STREQ("ADAMS", names[0]);
}

TEST_F(OciPlsqlTest, AProceduresOutCursorIsFetchedThroughTheBoundStatementHandle) {
  run(svc_,
      "create or replace procedure dept_emps(p_dept number, p_emps out sys_refcursor) is "
      "begin "
      "  open p_emps for select ename, sal from emp where deptno = p_dept order by ename; "
      "end;");
  OCIStmt* call = prepare("begin dept_emps(:d, :c); end;");
  OCIStmt* cursor = nullptr;
  oci().OCIHandleAlloc(env_, reinterpret_cast<void**>(&cursor), OCI_HTYPE_STMT, 0, nullptr);
  int deptno = 20;
  sb2 cursorInd = -1;
  bindName(call, ":d", &deptno, sizeof deptno, SQLT_INT);
  bindName(call, ":c", &cursor, 0, SQLT_RSET, &cursorInd);
  ASSERT_OCI(OCI_SUCCESS, exec(call));
  EXPECT_EQ(0, cursorInd);
  // The procedure and its activation are gone (even the procedure itself);
  // the client reads every row, a few at a time.
  run(svc_, "drop procedure dept_emps");
  EXPECT_EQ(OCI_STMT_SELECT, statementType(cursor));
  char names[2][11];
  int sal[2];
  OCIDefine* def = nullptr;
  oci().OCIDefineByPos(cursor, &def, err_, 1, names, sizeof names[0], SQLT_STR, nullptr, nullptr,
                       nullptr, OCI_DEFAULT);
  oci().OCIDefineByPos(cursor, &def, err_, 2, sal, sizeof sal[0], SQLT_INT, nullptr, nullptr,
                       nullptr, OCI_DEFAULT);
  std::vector<std::string> seen;
  sword rc = OCI_SUCCESS;
  while (rc == OCI_SUCCESS) {
    rc = oci().OCIStmtFetch(cursor, err_, 2, OCI_FETCH_NEXT, OCI_DEFAULT);
    ub4 rows = rowCount(cursor) - static_cast<ub4>(seen.size());
    for (ub4 i = 0; i < rows; ++i)
      seen.push_back(std::string(names[i]) + "/" + std::to_string(sal[i]));
  }
  EXPECT_EQ(OCI_NO_DATA, rc);
  EXPECT_EQ((std::vector<std::string>{"ADAMS/1100", "FORD/3000", "JONES/2975", "SCOTT/3000",
                                      "SMITH/800"}),
            seen);
}

TEST_F(OciPlsqlTest, ADynamicQueryOpenedByAProcedureTakesItsUsingValues) {
  run(svc_,
      "create or replace procedure by_job(p_job varchar2, p_emps out sys_refcursor) is "
      "begin "
      "  open p_emps for 'select empno from emp where job = :j order by empno' using p_job; "
      "end;");
  OCIStmt* call = prepare("begin by_job(:job, :c); end;");
  OCIStmt* cursor = nullptr;
  oci().OCIHandleAlloc(env_, reinterpret_cast<void**>(&cursor), OCI_HTYPE_STMT, 0, nullptr);
  char job[] = "ANALYST";
  bindName(call, ":job", job, sizeof job, SQLT_STR);
  bindName(call, ":c", &cursor, 0, SQLT_RSET);
  ASSERT_OCI(OCI_SUCCESS, exec(call));
  int empno[3] = {};
  OCIDefine* def = nullptr;
  oci().OCIDefineByPos(cursor, &def, err_, 1, empno, sizeof empno[0], SQLT_INT, nullptr, nullptr,
                       nullptr, OCI_DEFAULT);
  EXPECT_OCI(OCI_NO_DATA, oci().OCIStmtFetch(cursor, err_, 3, OCI_FETCH_NEXT, OCI_DEFAULT));
  EXPECT_EQ(2u, rowCount(cursor));
  EXPECT_EQ(7788, empno[0]);
  EXPECT_EQ(7902, empno[1]);
}

TEST_F(OciPlsqlTest, ACursorBindNeedsAStatementHandle) {
  OCIStmt* block = prepare("begin open :c for select 1 from dual; end;");
  OCIError* notAStatement = err_;
  bindName(block, ":c", &notAStatement, 0, SQLT_RSET);
  EXPECT_EQ(OCI_ERROR, exec(block));
  EXPECT_EQ(24316, errorCode());

  OCIStmt* query = prepare("select :c from dual");
  OCIStmt* target = nullptr;
  oci().OCIHandleAlloc(env_, reinterpret_cast<void**>(&target), OCI_HTYPE_STMT, 0, nullptr);
  bindName(query, ":c", &target, 0, SQLT_RSET);
  EXPECT_EQ(OCI_ERROR,
            oci().OCIStmtExecute(svc_, query, err_, 0, 0, nullptr, nullptr, OCI_DEFAULT));
  EXPECT_EQ(1460, errorCode());
}

TEST_F(OciPlsqlTest, BlockErrorsCarryTheirStackAndCompileErrorsTheirOffset) {
  OCIStmt* raising = prepare(
      "begin\n"
      "  raise_application_error(-20001, 'Not today');\n"
      "end;");
  EXPECT_EQ(OCI_ERROR, exec(raising));
  EXPECT_EQ(20001, errorCode());
  EXPECT_EQ("ORA-20001: Not today\nORA-06512: at line 2\n", errorText());

  std::string bad = "begin\n  null\nend;";
  OCIStmt* syntax = prepare(bad);
  EXPECT_EQ(OCI_ERROR, exec(syntax));
  EXPECT_EQ(6550, errorCode());
  EXPECT_EQ(0u, errorText().find("ORA-06550: line 3, column 1:\nPLS-00103: Encountered the "
                                 "symbol \"END\" when expecting one of the following:"))
      << errorText();
  ub2 offset = 0;
  oci().OCIAttrGet(syntax, OCI_HTYPE_STMT, &offset, nullptr, OCI_ATTR_PARSE_ERROR_OFFSET, err_);
  EXPECT_EQ(bad.find("end"), offset);
}

TEST_F(OciPlsqlTest, AFailingBlockLeavesNothingOfWhatItChanged) {
  OCIStmt* stmt =
      prepare("begin insert into dept values (77, 'GONE', 'NOWHERE'); :x := 1 / 0; end;");
  int x = 5;
  bindName(stmt, ":x", &x, sizeof x, SQLT_INT);
  EXPECT_EQ(OCI_ERROR, exec(stmt));
  EXPECT_EQ(1476, errorCode());
  EXPECT_EQ(5, x);
  EXPECT_TRUE(rows(svc_, "select dname from dept where deptno = 77").empty());
}

}  // namespace
}  // namespace vorn::server::oci_test
