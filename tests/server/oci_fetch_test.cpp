// Execute and fetch through defines: every external type with NULLs,
// arrays of rows, skips, truncation, conversion errors, describe.
#include <cstring>

#include "oci_support.h"

namespace vorn::server::oci_test {
namespace {

class OciFetchTest : public OciTest {
 protected:
  void SetUp() override {
    OciTest::SetUp();
    svc_ = scott();
    run(svc_,
        "create table typ (id number(5) primary key, n number(10,2), f number, v varchar2(20), "
        "c char(5), d date, r raw(8))");
    run(svc_,
        "insert into typ values (1, 1234.5, -0.25, 'hello', 'ab', "
        "to_date('2001-02-03 04:05:06', 'YYYY-MM-DD HH24:MI:SS'), hextoraw('00FF10'))");
    run(svc_, "insert into typ (id) values (2)");
  }

  // Prepares and executes a query without fetching.
  OCIStmt* query(const std::string& sql) {
    OCIStmt* stmt = newStatement(sql);
    EXPECT_OCI(OCI_SUCCESS, oci().OCIStmtExecute(svc_, stmt, err_, 0, 0, nullptr, nullptr, 0));
    return stmt;
  }

  void define(OCIStmt* stmt, ub4 pos, void* value, sb4 size, ub2 dty, sb2* ind, ub2* rlen = nullptr,
              ub2* rcode = nullptr) {
    OCIDefine* def = nullptr;
    ASSERT_OCI(OCI_SUCCESS, oci().OCIDefineByPos(stmt, &def, err_, pos, value, size, dty, ind, rlen,
                                                 rcode, OCI_DEFAULT));
  }

  sword fetch(OCIStmt* stmt, ub4 rows = 1) {
    return oci().OCIStmtFetch(stmt, err_, rows, OCI_FETCH_NEXT, OCI_DEFAULT);
  }

  OCISvcCtx* svc_ = nullptr;
};

TEST_F(OciFetchTest, NumbersIntoIntegerFloatTextAndNumberBytes) {
  OCIStmt* stmt = query("select n, f, n, n, n from typ order by id");
  int asInt = 0;
  double asDouble = 0;
  char asText[20];
  ub1 asNum[22];
  ub1 asVnu[22];
  sb2 ind[5];
  ub2 len[5];
  define(stmt, 1, &asInt, sizeof asInt, SQLT_INT, &ind[0]);
  define(stmt, 2, &asDouble, sizeof asDouble, SQLT_FLT, &ind[1]);
  define(stmt, 3, asText, sizeof asText, SQLT_STR, &ind[2], &len[2]);
  define(stmt, 4, asNum, sizeof asNum, SQLT_NUM, &ind[3], &len[3]);
  define(stmt, 5, asVnu, sizeof asVnu, SQLT_VNU, &ind[4]);
  ASSERT_OCI(OCI_SUCCESS, fetch(stmt));
  EXPECT_EQ(1234, asInt);
  EXPECT_DOUBLE_EQ(-0.25, asDouble);
  EXPECT_STREQ("1234.5", asText);
  EXPECT_EQ(6, len[2]);
  ASSERT_EQ(4, len[3]);
  EXPECT_EQ((std::vector<ub1>{194, 13, 35, 51}), std::vector<ub1>(asNum, asNum + 4));
  EXPECT_EQ(4, asVnu[0]);
  EXPECT_EQ(194, asVnu[1]);
  for (sb2 i : ind)
    EXPECT_EQ(0, i);

  ASSERT_OCI(OCI_SUCCESS, fetch(stmt));
  for (sb2 i : ind)
    EXPECT_EQ(-1, i);
  EXPECT_EQ(OCI_NO_DATA, fetch(stmt));
  EXPECT_EQ(1403, errorCode());
  EXPECT_EQ(2u, rowCount(stmt));
}

TEST_F(OciFetchTest, DatesIntoSevenBytesOciDateAndSessionFormatText) {
  OCIStmt* stmt = query("select d, d, d from typ where id = 1");
  ub1 bytes[7];
  OCIDate od;
  char text[32];
  sb2 ind[3];
  define(stmt, 1, bytes, sizeof bytes, SQLT_DAT, &ind[0]);
  define(stmt, 2, &od, sizeof od, SQLT_ODT, &ind[1]);
  define(stmt, 3, text, sizeof text, SQLT_STR, &ind[2]);
  ASSERT_OCI(OCI_SUCCESS, fetch(stmt));
  EXPECT_EQ((std::vector<ub1>{120, 101, 2, 3, 5, 6, 7}), std::vector<ub1>(bytes, bytes + 7));
  EXPECT_EQ(2001, od.OCIDateYYYY);
  EXPECT_EQ(2, od.OCIDateMM);
  EXPECT_EQ(3, od.OCIDateDD);
  EXPECT_EQ(4, od.OCIDateTime.OCITimeHH);
  EXPECT_EQ(6, od.OCIDateTime.OCITimeSS);
  EXPECT_STREQ("03-FEB-01", text);

  run(svc_, "alter session set nls_date_format = 'YYYY-MM-DD HH24:MI'");
  EXPECT_EQ(std::vector<std::string>{"2001-02-03 04:05"},
            rows(svc_, "select d from typ where id = 1"));
}

TEST_F(OciFetchTest, CharacterTypesAndRaw) {
  OCIStmt* stmt = query("select v, v, c, v, v, r, r from typ where id = 1");
  char chr[10], afc[8], charz[8];
  char fixedChar[10];
  struct {
    ub2 len;
    char data[20];
  } vcs;
  ub1 raw[8];
  char rawText[17];
  sb2 ind[7];
  ub2 len[7];
  define(stmt, 1, chr, sizeof chr, SQLT_CHR, &ind[0], &len[0]);
  define(stmt, 2, afc, sizeof afc, SQLT_AFC, &ind[1], &len[1]);
  define(stmt, 3, fixedChar, sizeof fixedChar, SQLT_STR, &ind[2]);
  define(stmt, 4, &vcs, sizeof vcs, SQLT_VCS, &ind[3]);
  define(stmt, 5, charz, sizeof charz, SQLT_AVC, &ind[4]);
  define(stmt, 6, raw, sizeof raw, SQLT_BIN, &ind[5], &len[5]);
  define(stmt, 7, rawText, sizeof rawText, SQLT_STR, &ind[6]);
  ASSERT_OCI(OCI_SUCCESS, fetch(stmt));
  EXPECT_EQ("hello", std::string(chr, len[0]));
  EXPECT_EQ("hello   ", std::string(afc, sizeof afc));
  EXPECT_STREQ("ab   ", fixedChar);
  EXPECT_EQ("hello", std::string(vcs.data, vcs.len));
  EXPECT_STREQ("hello  ", charz);
  EXPECT_EQ(3, len[5]);
  EXPECT_EQ((std::vector<ub1>{0x00, 0xFF, 0x10}), std::vector<ub1>(raw, raw + 3));
  EXPECT_STREQ("00FF10", rawText);
}

TEST_F(OciFetchTest, ArraysOfRowsEndWithNoDataAndCumulativeRowCount) {
  run(svc_, "create table seq_t (k number)");
  for (int i = 1; i <= 7; ++i)
    run(svc_, "insert into seq_t values (" + std::to_string(i) + ")");
  OCIStmt* stmt = query("select k from seq_t order by k");
  int values[3];
  sb2 ind[3];
  define(stmt, 1, values, sizeof values[0], SQLT_INT, ind);
  std::vector<int> got;
  std::vector<ub4> counts;
  sword status;
  ub4 before = 0;
  do {
    status = fetch(stmt, 3);
    ub4 total = rowCount(stmt);
    for (ub4 i = 0; i < total - before; ++i)
      got.push_back(values[i]);
    counts.push_back(total);
    before = total;
  } while (status == OCI_SUCCESS);
  EXPECT_EQ(OCI_NO_DATA, status);
  EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5, 6, 7}), got);
  EXPECT_EQ((std::vector<ub4>{3, 6, 7}), counts);
  EXPECT_EQ(OCI_ERROR, fetch(stmt));
  EXPECT_EQ(1002, errorCode());
}

TEST_F(OciFetchTest, ExecuteWithIterationsFetchesIntoTheDefines) {
  OCIStmt* stmt = newStatement("select deptno from dept order by deptno");
  int values[10];
  define(stmt, 1, values, sizeof values[0], SQLT_INT, nullptr);
  EXPECT_OCI(OCI_NO_DATA, oci().OCIStmtExecute(svc_, stmt, err_, 10, 0, nullptr, nullptr, 0));
  EXPECT_EQ(4u, rowCount(stmt));
  EXPECT_EQ((std::vector<int>{10, 20, 30, 40}), std::vector<int>(values, values + 4));

  OCIStmt* two = newStatement("select deptno from dept order by deptno");
  define(two, 1, values, sizeof values[0], SQLT_INT, nullptr);
  EXPECT_OCI(OCI_SUCCESS, oci().OCIStmtExecute(svc_, two, err_, 2, 0, nullptr, nullptr, 0));
  EXPECT_EQ(2u, rowCount(two));
  EXPECT_OCI(OCI_NO_DATA, fetch(two, 5));
  EXPECT_EQ(4u, rowCount(two));
  EXPECT_EQ(30, values[0]);
}

TEST_F(OciFetchTest, ArrayOfStructSkipsPlaceRowsInRecords) {
  struct Row {
    int deptno;
    sb2 deptnoInd;
    char dname[15];
    sb2 dnameInd;
    ub2 dnameLen;
  } rowsOut[4];
  std::memset(rowsOut, 0, sizeof rowsOut);
  OCIStmt* stmt = query("select deptno, dname from dept order by deptno");
  OCIDefine* d1 = nullptr;
  OCIDefine* d2 = nullptr;
  oci().OCIDefineByPos(stmt, &d1, err_, 1, &rowsOut[0].deptno, sizeof(int), SQLT_INT,
                       &rowsOut[0].deptnoInd, nullptr, nullptr, 0);
  oci().OCIDefineByPos(stmt, &d2, err_, 2, rowsOut[0].dname, sizeof rowsOut[0].dname, SQLT_CHR,
                       &rowsOut[0].dnameInd, &rowsOut[0].dnameLen, nullptr, 0);
  ASSERT_OCI(OCI_SUCCESS, oci().OCIDefineArrayOfStruct(d1, err_, sizeof(Row), sizeof(Row), 0, 0));
  ASSERT_OCI(OCI_SUCCESS,
             oci().OCIDefineArrayOfStruct(d2, err_, sizeof(Row), sizeof(Row), sizeof(Row), 0));
  ASSERT_OCI(OCI_SUCCESS, fetch(stmt, 4));
  EXPECT_EQ(40, rowsOut[3].deptno);
  EXPECT_EQ("OPERATIONS", std::string(rowsOut[3].dname, rowsOut[3].dnameLen));
  EXPECT_EQ("RESEARCH", std::string(rowsOut[1].dname, rowsOut[1].dnameLen));
}

TEST_F(OciFetchTest, TruncationIsReportedInIndicatorAndReturnCode) {
  OCIStmt* stmt = query("select v from typ where id = 1");
  char small[4];
  sb2 ind = 0;
  ub2 len = 0, rcode = 0;
  define(stmt, 1, small, sizeof small, SQLT_STR, &ind, &len, &rcode);
  EXPECT_EQ(OCI_SUCCESS_WITH_INFO, fetch(stmt));
  EXPECT_EQ(1406, errorCode());
  EXPECT_STREQ("hel", small);
  EXPECT_EQ(5, ind);
  EXPECT_EQ(3, len);
  EXPECT_EQ(1406, rcode);
}

TEST_F(OciFetchTest, NullWithoutIndicatorIsOra01405) {
  OCIStmt* stmt = query("select n from typ where id = 2");
  int value = 0;
  define(stmt, 1, &value, sizeof value, SQLT_INT, nullptr);
  EXPECT_EQ(OCI_ERROR, fetch(stmt));
  EXPECT_EQ(1405, errorCode());
}

TEST_F(OciFetchTest, ConversionErrorsAreOracles) {
  OCIStmt* text = query("select v from typ where id = 1");
  int value = 0;
  sb2 ind = 0;
  define(text, 1, &value, sizeof value, SQLT_INT, &ind);
  EXPECT_EQ(OCI_ERROR, fetch(text));
  EXPECT_EQ(1722, errorCode());

  OCIStmt* date = query("select d from typ where id = 1");
  define(date, 1, &value, sizeof value, SQLT_INT, &ind);
  EXPECT_EQ(OCI_ERROR, fetch(date));
  EXPECT_EQ("ORA-00932: inconsistent datatypes: expected NUMBER got DATE\n", errorText());

  OCIStmt* big = query("select 100000 from dual");
  sb2 tiny = 0;
  define(big, 1, &tiny, sizeof tiny, SQLT_INT, &ind);
  EXPECT_EQ(OCI_ERROR, fetch(big));
  EXPECT_EQ(1455, errorCode());
}

TEST_F(OciFetchTest, FetchBeforeExecuteIsOra24338AndWithoutDefinesOra24374) {
  OCIStmt* stmt = newStatement("select * from dept");
  EXPECT_EQ(OCI_ERROR, fetch(stmt));
  EXPECT_EQ(24338, errorCode());
  ASSERT_OCI(OCI_SUCCESS, oci().OCIStmtExecute(svc_, stmt, err_, 0, 0, nullptr, nullptr, 0));
  EXPECT_EQ(OCI_ERROR, fetch(stmt));
  EXPECT_EQ(24374, errorCode());
}

TEST_F(OciFetchTest, DescribeWithoutRowsAndDescribeOnly) {
  OCIStmt* stmt = newStatement("select id, n, f, v, c, d, r, rowid from typ where 1 = 0");
  ASSERT_OCI(OCI_SUCCESS,
             oci().OCIStmtExecute(svc_, stmt, err_, 0, 0, nullptr, nullptr, OCI_DESCRIBE_ONLY));
  ub4 count = 0;
  oci().OCIAttrGet(stmt, OCI_HTYPE_STMT, &count, nullptr, OCI_ATTR_PARAM_COUNT, err_);
  ASSERT_EQ(8u, count);
  struct Expected {
    const char* name;
    ub2 type;
    ub2 size;
    ub1 precision;
    sb1 scale;
  } expected[] = {{"ID", 2, 22, 5, 0}, {"N", 2, 22, 10, 2},    {"F", 2, 22, 0, -127},
                  {"V", 1, 20, 0, 0},  {"C", 96, 5, 0, 0},     {"D", 12, 7, 0, 0},
                  {"R", 23, 8, 0, 0},  {"ROWID", 104, 0, 0, 0}};
  for (ub4 i = 1; i <= count; ++i) {
    OCIParam* p = nullptr;
    ASSERT_OCI(OCI_SUCCESS,
               oci().OCIParamGet(stmt, OCI_HTYPE_STMT, err_, reinterpret_cast<void**>(&p), i));
    ub2 type = 0, size = 0;
    ub1 precision = 0xEE, nullable = 0;
    sb1 scale = 0;
    OraText* name = nullptr;
    ub4 nameLen = 0;
    oci().OCIAttrGet(p, OCI_DTYPE_PARAM, &type, nullptr, OCI_ATTR_DATA_TYPE, err_);
    oci().OCIAttrGet(p, OCI_DTYPE_PARAM, &size, nullptr, OCI_ATTR_DATA_SIZE, err_);
    oci().OCIAttrGet(p, OCI_DTYPE_PARAM, &precision, nullptr, OCI_ATTR_PRECISION, err_);
    oci().OCIAttrGet(p, OCI_DTYPE_PARAM, &scale, nullptr, OCI_ATTR_SCALE, err_);
    oci().OCIAttrGet(p, OCI_DTYPE_PARAM, &nullable, nullptr, OCI_ATTR_IS_NULL, err_);
    oci().OCIAttrGet(p, OCI_DTYPE_PARAM, &name, &nameLen, OCI_ATTR_NAME, err_);
    const Expected& e = expected[i - 1];
    EXPECT_EQ(e.name, std::string(reinterpret_cast<char*>(name), nameLen));
    EXPECT_EQ(e.type, type) << e.name;
    if (e.size) {
      EXPECT_EQ(e.size, size) << e.name;
    }
    if (e.type == 2) {
      EXPECT_EQ(e.precision, precision) << e.name;
      EXPECT_EQ(e.scale, scale) << e.name;
    }
    EXPECT_EQ(i == 1 ? 0 : 1, nullable) << e.name;
  }
  OCIParam* past = nullptr;
  EXPECT_EQ(OCI_ERROR,
            oci().OCIParamGet(stmt, OCI_HTYPE_STMT, err_, reinterpret_cast<void**>(&past), 9));
  EXPECT_EQ(24334, errorCode());
  EXPECT_EQ(OCI_ERROR, fetch(stmt));
  EXPECT_EQ(24338, errorCode());
}

TEST_F(OciFetchTest, StatementTypesAreKnownRightAfterPrepare) {
  struct {
    const char* sql;
    ub2 type;
  } cases[] = {{"select * from dual", OCI_STMT_SELECT},
               {"  (select 1 from dual)", OCI_STMT_SELECT},
               {"update dept set loc = 'X'", OCI_STMT_UPDATE},
               {"delete from dept", OCI_STMT_DELETE},
               {"insert into dept values (1, 'a', 'b')", OCI_STMT_INSERT},
               {"create table x (a number)", OCI_STMT_CREATE},
               {"drop table x", OCI_STMT_DROP},
               {"alter session set nls_date_format = 'YYYY'", OCI_STMT_ALTER},
               {"begin null; end;", OCI_STMT_BEGIN},
               {"declare x number; begin null; end;", OCI_STMT_DECLARE},
               {"commit", 0}};
  for (const auto& c : cases) {
    OCIStmt* stmt = newStatement(c.sql);
    ub2 type = 99;
    EXPECT_OCI(OCI_SUCCESS,
               oci().OCIAttrGet(stmt, OCI_HTYPE_STMT, &type, nullptr, OCI_ATTR_STMT_TYPE, err_));
    EXPECT_EQ(c.type, type) << c.sql;
    oci().OCIHandleFree(stmt, OCI_HTYPE_STMT);
  }
}

TEST_F(OciFetchTest, SqlFunctionCodeAfterExecute) {
  OCIStmt* stmt = newStatement("update dept set loc = loc where deptno = 10");
  ASSERT_OCI(OCI_SUCCESS, oci().OCIStmtExecute(svc_, stmt, err_, 1, 0, nullptr, nullptr, 0));
  ub2 code = 0;
  oci().OCIAttrGet(stmt, OCI_HTYPE_STMT, &code, nullptr, OCI_ATTR_SQLFNCODE, err_);
  EXPECT_EQ(5, code);
  EXPECT_EQ(1u, rowCount(stmt));
}

TEST_F(OciFetchTest, ExactFetchOfMoreRowsIsOra01422) {
  OCIStmt* stmt = newStatement("select deptno from dept");
  int values[2];
  define(stmt, 1, values, sizeof values[0], SQLT_INT, nullptr);
  EXPECT_EQ(OCI_ERROR,
            oci().OCIStmtExecute(svc_, stmt, err_, 2, 0, nullptr, nullptr, OCI_EXACT_FETCH));
  EXPECT_EQ(1422, errorCode());
}

TEST_F(OciFetchTest, CursorsSurviveCommitOfTheirSession) {
  OCIStmt* stmt = query("select deptno from dept order by deptno");
  int value = 0;
  define(stmt, 1, &value, sizeof value, SQLT_INT, nullptr);
  ASSERT_OCI(OCI_SUCCESS, fetch(stmt));
  ASSERT_OCI(OCI_SUCCESS, oci().OCITransCommit(svc_, err_, OCI_DEFAULT));
  ASSERT_OCI(OCI_SUCCESS, fetch(stmt));
  EXPECT_EQ(20, value);
}

}  // namespace
}  // namespace vorn::server::oci_test
