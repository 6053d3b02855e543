// The version 7 cursor data area: parse (at once and deferred, with the
// SQL function codes and parse error offsets), describe until ORA-01007,
// array defines and fetches with the cumulative row count and 1403 at the
// end, array binds and array DML with a failing row, the ROWID parts, LONG
// and LONG RAW columns read in pieces through oflng, and the errors of
// calls made out of order.
#include <cstring>

#include "oci7_support.h"

namespace vorn::server::oci_test {
namespace {

using Oci7CursorTest = Oci7CursorAreaTest;

TEST_F(Oci7CursorTest, ParseSetsTheSqlFunctionCode) {
  struct Case {
    const char* sql;
    ub2 code;
  } cases[] = {{"select * from emp", 4},
               {"insert into dept values (1, 'A', 'B')", 3},
               {"update emp set sal = sal", 5},
               {"delete from bonus", 9},
               {"begin null; end;", 34},
               {"declare x number; begin x := 1; end;", 34},
               {"commit", 54}};
  for (const Case& c : cases) {
    EXPECT_RC(0, cda_, parse(c.sql, true));
    EXPECT_EQ(c.code, cda_.ft) << c.sql;
    EXPECT_EQ(kFcParse, cda_.fc);
  }
}

TEST_F(Oci7CursorTest, LobColumnsAreDescribedButNotReadThroughTheVersion7Calls) {
  run7("create table docs (id number, body clob, pic blob)");
  run7("insert into docs values (1, 'text', hextoraw('01'))");
  ASSERT_RC(0, cda_, parse("select body, pic from docs"));
  sb4 size = 0;
  sb2 type = 0;
  ASSERT_RC(0, cda_,
            oci7().odescr(&cda_, 1, &size, &type, nullptr, nullptr, nullptr, nullptr, nullptr,
                          nullptr));
  EXPECT_EQ(112, type);
  ASSERT_RC(0, cda_,
            oci7().odescr(&cda_, 2, &size, &type, nullptr, nullptr, nullptr, nullptr, nullptr,
                          nullptr));
  EXPECT_EQ(113, type);
  char text[10];
  EXPECT_RC(932, cda_, define(1, text, sizeof text, SQLT_STR));
  void* locator = nullptr;
  EXPECT_RC(1460, cda_, define(2, &locator, sizeof locator, SQLT_BLOB));
}

TEST_F(Oci7CursorTest, DescribeReportsEachColumnThenVariableNotInSelectList) {
  ASSERT_RC(0, cda_, parse("select empno, ename, hiredate, sal, rowid, job || 'x' tag from emp"));
  struct Column {
    std::string name;
    sb2 type;
    sb4 size;
    sb2 precision;
    sb2 scale;
    sb2 nullable;
  } expected[] = {{"EMPNO", 2, 22, 4, 0, 0},    {"ENAME", 1, 10, 0, 0, 1},
                  {"HIREDATE", 12, 7, 0, 0, 1}, {"SAL", 2, 22, 7, 2, 1},
                  {"ROWID", 11, -1, 0, 0, 0},   {"TAG", 1, -1, 0, 0, 1}};
  sword position = 1;
  for (const Column& want : expected) {
    sb4 size = -1, nameLength = 30, displaySize = 0;
    sb2 type = -1, precision = -1, scale = -1, nullable = -1;
    sb1 name[30];
    ASSERT_RC(0, cda_,
              oci7().odescr(&cda_, position, &size, &type, name, &nameLength, &displaySize,
                            &precision, &scale, &nullable));
    EXPECT_EQ(want.name, std::string(reinterpret_cast<char*>(name), nameLength));
    EXPECT_EQ(want.type, type) << want.name;
    if (want.size >= 0) {
      EXPECT_EQ(want.size, size) << want.name;
    }
    if (want.type == 2) {
      EXPECT_EQ(want.precision, precision) << want.name;
      EXPECT_EQ(want.scale, scale) << want.name;
    }
    if (want.name == "EMPNO" || want.name == "ENAME") {
      EXPECT_EQ(want.nullable, nullable) << want.name;
    }
    EXPECT_GT(displaySize, 0) << want.name;
    ++position;
  }
  sb4 size = 0;
  EXPECT_NE(0, oci7().odescr(&cda_, position, &size, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, nullptr));
  EXPECT_EQ(1007, cda_.rc);
  EXPECT_EQ(-1007, cda_.v2_rc);
  EXPECT_NE(0, oci7().odescr(&cda_, 0, &size, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr));
  EXPECT_EQ(1007, cda_.rc);

  // A name longer than the buffer is cut to it.
  sb1 shortName[3];
  sb4 room = sizeof shortName;
  EXPECT_RC(0, cda_,
            oci7().odescr(&cda_, 3, nullptr, nullptr, shortName, &room, nullptr, nullptr, nullptr,
                          nullptr));
  EXPECT_EQ(3, room);
  EXPECT_EQ("HIR", std::string(reinterpret_cast<char*>(shortName), 3));
}

TEST_F(Oci7CursorTest, ArrayFetchCountsRowsAndEndsWith1403AfterTheLastPartialBatch) {
  ASSERT_RC(0, cda_, parse("select empno, ename, comm from emp order by empno"));
  int empno[5];
  char ename[5][11];
  double comm[5];
  sb2 commInd[5];
  ub2 enameLen[5];
  ASSERT_RC(0, cda_, define(1, empno, sizeof empno[0], SQLT_INT));
  ASSERT_RC(0, cda_, define(2, ename, sizeof ename[0], SQLT_STR, nullptr, enameLen));
  ASSERT_RC(0, cda_, define(3, comm, sizeof comm[0], SQLT_FLT, commInd));

  EXPECT_RC(0, cda_, oci7().oexfet(&cda_, 5, 0, 0));
  EXPECT_EQ(kFcExecuteFetch, cda_.fc);
  EXPECT_EQ(5u, cda_.rpc);
  EXPECT_EQ(7369, empno[0]);
  EXPECT_STREQ("SMITH", ename[0]);
  EXPECT_EQ(5, enameLen[0]);
  EXPECT_EQ(-1, commInd[0]);
  EXPECT_EQ(0, commInd[1]);
  EXPECT_EQ(300.0, comm[1]);

  EXPECT_RC(0, cda_, oci7().ofen(&cda_, 5));
  EXPECT_EQ(10u, cda_.rpc);
  EXPECT_EQ(7698, empno[0]);

  // Four rows remain: they arrive together with 1403.
  sword result = oci7().ofen(&cda_, 5);
  EXPECT_EQ(-1403, result);
  EXPECT_EQ(1403, cda_.rc);
  EXPECT_EQ(14u, cda_.rpc);
  EXPECT_EQ(7900, empno[1]);
  EXPECT_STREQ("MILLER", ename[3]);

  EXPECT_RC(1002, cda_, oci7().ofen(&cda_, 5));

  // Executing again starts over.
  EXPECT_RC(0, cda_, oci7().oexec(&cda_));
  EXPECT_EQ(0u, cda_.rpc);
  EXPECT_RC(0, cda_, oci7().ofen(&cda_, 2));
  EXPECT_EQ(2u, cda_.rpc);
  EXPECT_EQ(7499, empno[1]);
}

TEST_F(Oci7CursorTest, FetchWithoutDefinesCountsTheRows) {
  ASSERT_RC(0, cda_, parse("select ename from emp where deptno = 10"));
  EXPECT_RC(1403, cda_, oci7().oexfet(&cda_, 10, 0, 0));
  EXPECT_EQ(3u, cda_.rpc);
}

TEST_F(Oci7CursorTest, ExactAndCancellingExecuteFetch) {
  ASSERT_RC(0, cda_, parse("select ename from emp where deptno = :d"));
  int deptno = 10;
  // Room for the two rows the exact fetch asks for.
  char name[2][11];
  ASSERT_RC(0, cda_, bind(":D", &deptno, sizeof deptno, SQLT_INT));
  ASSERT_RC(0, cda_, define(1, name, sizeof name[0], SQLT_STR));
  EXPECT_RC(1422, cda_, oci7().oexfet(&cda_, 2, 0, 1));
  EXPECT_EQ("ORA-01422: exact fetch returns more than requested number of rows\n", message(1422));
  EXPECT_RC(0, cda_, oci7().oexfet(&cda_, 1, 1, 0));
  EXPECT_EQ(1u, cda_.rpc);
  EXPECT_RC(1002, cda_, oci7().ofen(&cda_, 1));
  deptno = 40;
  EXPECT_RC(1403, cda_, oci7().oexfet(&cda_, 1, 0, 1));
  EXPECT_EQ(0u, cda_.rpc);
}

TEST_F(Oci7CursorTest, TruncationIsAWarningWithAnIndicatorAndAnErrorWithout) {
  ASSERT_RC(0, cda_, parse("select ename, comm from emp where empno = 7839"));
  char name[3];
  sb2 ind = 0;
  ub2 len = 0, code = 0;
  ASSERT_RC(0, cda_, define(1, name, sizeof name, SQLT_CHR, &ind, &len, &code));
  ASSERT_RC(0, cda_, define(2, name, sizeof name, SQLT_CHR, &ind, &len, &code));
  // The NULL comm with an indicator, KING cut to KIN.
  char ename[3];
  sb2 enameInd = 0;
  ub2 enameLen = 0, enameCode = 0;
  ASSERT_RC(0, cda_, define(1, ename, sizeof ename, SQLT_CHR, &enameInd, &enameLen, &enameCode));
  EXPECT_RC(0, cda_, oci7().oexfet(&cda_, 1, 0, 0));
  EXPECT_EQ(0x03, cda_.wrn & 0x03);
  EXPECT_EQ(4, enameInd);
  EXPECT_EQ(3, enameLen);
  EXPECT_EQ(1406, enameCode);
  EXPECT_EQ("KIN", std::string(ename, 3));
  EXPECT_EQ(-1, ind);

  ASSERT_RC(0, cda_, parse("select ename from emp where empno = 7839"));
  ASSERT_RC(0, cda_, define(1, ename, sizeof ename, SQLT_CHR));
  EXPECT_RC(1406, cda_, oci7().oexfet(&cda_, 1, 0, 0));

  ASSERT_RC(0, cda_, parse("select comm from emp where empno = 7839"));
  int comm = 0;
  ASSERT_RC(0, cda_, define(1, &comm, sizeof comm, SQLT_INT));
  EXPECT_RC(1405, cda_, oci7().oexfet(&cda_, 1, 0, 0));
  EXPECT_EQ(0, cda_.wrn);
}

TEST_F(Oci7CursorTest, ParseErrorsCarryTheOffsetOfTheOffendingToken) {
  EXPECT_NE(0, parse("select ename, frob from emp"));
  EXPECT_EQ(904, cda_.rc);
  EXPECT_EQ(14, cda_.peo);
  EXPECT_EQ("ORA-00904: \"FROB\": invalid identifier\n", message(904));

  EXPECT_NE(0, parse("select ename from emp where"));
  EXPECT_EQ(936, cda_.rc);
  EXPECT_EQ(27, cda_.peo);

  EXPECT_NE(0, parse("select * from no_such_table"));
  EXPECT_EQ(942, cda_.rc);
  EXPECT_EQ(14, cda_.peo);

  // A deferred parse reports at the describe or execute that parses.
  EXPECT_RC(0, cda_, parse("select ename, frob from emp", true));
  EXPECT_EQ(4, cda_.ft);
  EXPECT_EQ(0, cda_.peo);
  sb4 size = 0;
  EXPECT_NE(0, oci7().odescr(&cda_, 1, &size, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr));
  EXPECT_EQ(904, cda_.rc);
  EXPECT_EQ(14, cda_.peo);

  EXPECT_RC(0, cda_, parse("update emp set sal = where empno = 1", true));
  EXPECT_EQ(5, cda_.ft);
  EXPECT_RC(936, cda_, oci7().oexec(&cda_));
  EXPECT_EQ(21, cda_.peo);
}

TEST_F(Oci7CursorTest, ArrayInsertProcessesEachRowAndStopsAtAFailingOne) {
  run7("create table t7 (id number(4) primary key, name varchar2(10), born date)");
  ASSERT_RC(0, cda_, parse("insert into t7 values (:id, :name, :born)"));
  int ids[5] = {1, 2, 2, 4, 5};
  char names[5][8] = {"one", "two", "dup", "four", "five"};
  sb2 nameInd[5] = {0, 0, 0, -1, 0};
  ub2 nameLen[5] = {3, 3, 3, 0, 4};
  unsigned char born[5][7];
  for (auto& b : born) {
    const unsigned char date[7] = {120, 100, 1, 2, 1, 1, 1};  // 2000-01-02
    std::memcpy(b, date, sizeof date);
  }
  ASSERT_RC(0, cda_, bind(":ID", ids, sizeof ids[0], SQLT_INT));
  ASSERT_RC(0, cda_, bind(":name", names, sizeof names[0], SQLT_CHR, nameInd, nameLen));
  ASSERT_RC(0, cda_, bind(":BORN", born, sizeof born[0], SQLT_DAT));
  EXPECT_EQ(kFcBind, cda_.fc);

  EXPECT_NE(0, oci7().oexn(&cda_, 5, 0));
  EXPECT_EQ(1, cda_.rc);
  EXPECT_EQ(2u, cda_.rpc);
  EXPECT_EQ(kFcExecute, cda_.fc);
  EXPECT_RC(0, cda_, oci7().oexn(&cda_, 5, 3));
  EXPECT_EQ(2u, cda_.rpc);

  EXPECT_EQ((std::vector<std::string>{"1|one|02-JAN-00", "2|two|02-JAN-00", "4||02-JAN-00",
                                      "5|five|02-JAN-00"}),
            rows7("select id, name, born from t7 order by id"));
  EXPECT_RC(24333, cda_, oci7().oexn(&cda_, 0, 0));
  EXPECT_RC(21560, cda_, oci7().oexn(&cda_, 2, -1));
}

TEST_F(Oci7CursorTest, DmlLeavesRowsProcessedAndTheRowidParts) {
  ASSERT_RC(0, cda_, parse("update emp set sal = sal + 1 where empno = 7839"));
  EXPECT_RC(0, cda_, oci7().oexec(&cda_));
  EXPECT_EQ(1u, cda_.rpc);
  std::vector<std::string> rowid = rows7("select rowid from emp where empno = 7839");
  ASSERT_EQ(1u, rowid.size());
  // Object, file, block and row of the extended ROWID text.
  auto part = [&](size_t from, size_t count) {
    const std::string digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    unsigned long long v = 0;
    for (size_t i = from; i < from + count; ++i)
      v = v * 64 + digits.find(rowid[0][i]);
    return v;
  };
  EXPECT_EQ(part(0, 6), cda_.rid.rd.rcs4);
  EXPECT_EQ(part(6, 3), cda_.rid.rd.rcs5);
  EXPECT_EQ(part(9, 6), cda_.rid.rcs7);
  EXPECT_EQ(part(15, 3), cda_.rid.rcs8);
  EXPECT_NE(0u, cda_.rid.rd.rcs4);

  ASSERT_RC(0, cda_, parse("delete from emp where deptno = 10"));
  EXPECT_RC(0, cda_, oci7().oexec(&cda_));
  EXPECT_EQ(3u, cda_.rpc);
  EXPECT_EQ(0, oci7().orol(&lda_));
}

TEST_F(Oci7CursorTest, DdlRunsAtAnImmediateParseAndNotAgainAtExecute) {
  ASSERT_RC(0, cda_, parse("create table made_at_parse (n number)"));
  EXPECT_EQ(1, cda_.ft);
  EXPECT_EQ(std::vector<std::string>{"MADE_AT_PARSE"},
            rows7("select table_name from user_tables where table_name = 'MADE_AT_PARSE'"));
  EXPECT_RC(0, cda_, oci7().oexec(&cda_));

  // Deferred, it runs at execute.
  ASSERT_RC(0, cda_, parse("create table made_at_exec (n number)", true));
  EXPECT_TRUE(
      rows7("select table_name from user_tables where table_name = 'MADE_AT_EXEC'").empty());
  EXPECT_RC(0, cda_, oci7().oexec(&cda_));
  EXPECT_EQ(1u,
            rows7("select table_name from user_tables where table_name = 'MADE_AT_EXEC'").size());
}

class Oci7LongTest : public Oci7CursorTest {
 protected:
  void SetUp() override {
    Oci7CursorTest::SetUp();
    for (size_t i = 0; i < 10000; ++i)
      long_ += static_cast<char>('a' + i % 26);
    run7("create table notes (id number, body long)");
    ASSERT_RC(0, cda_, parse("insert into notes values (:id, :body)"));
    int id = 1;
    ASSERT_RC(0, cda_, bind(":id", &id, sizeof id, SQLT_INT));
    ASSERT_RC(0, cda_, bind(":body", long_.data(), static_cast<sword>(long_.size()), SQLT_LNG));
    ASSERT_RC(0, cda_, oci7().oexec(&cda_));
  }
  std::string long_;
};

TEST_F(Oci7LongTest, TheRowBufferHoldsTheStartAndOflngTheRestFromAnyOffset) {
  ASSERT_RC(0, cda_, parse("select id, body from notes"));
  sb4 size = 0;
  sb2 type = 0;
  ASSERT_RC(
      0, cda_,
      oci7().odescr(&cda_, 2, &size, &type, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(SQLT_LNG, type);
  int id = 0;
  char first[2000];
  sb2 ind = 0;
  ub2 len = 0;
  ASSERT_RC(0, cda_, define(1, &id, sizeof id, SQLT_INT));
  ASSERT_RC(0, cda_, define(2, first, sizeof first, SQLT_LNG, &ind, &len));
  EXPECT_RC(0, cda_, oci7().oexfet(&cda_, 1, 0, 0));
  EXPECT_EQ(1u, cda_.rpc);
  EXPECT_EQ(2000, len);
  EXPECT_EQ(10000, ind);
  EXPECT_EQ(long_.substr(0, 2000), std::string(first, 2000));

  std::string rest(9000, '\0');
  ub4 got = 0;
  EXPECT_RC(
      0, cda_,
      oci7().oflng(&cda_, 2, reinterpret_cast<ub1*>(rest.data()), 5000, SQLT_LNG, &got, 2000));
  EXPECT_EQ(kFcLong, cda_.fc);
  EXPECT_EQ(5000u, got);
  EXPECT_EQ(long_.substr(2000, 5000), rest.substr(0, 5000));
  EXPECT_RC(
      0, cda_,
      oci7().oflng(&cda_, 2, reinterpret_cast<ub1*>(rest.data()), 9000, SQLT_LNG, &got, 9000));
  EXPECT_EQ(1000u, got);
  EXPECT_EQ(long_.substr(9000), rest.substr(0, 1000));
  EXPECT_RC(0, cda_,
            oci7().oflng(&cda_, 2, reinterpret_cast<ub1*>(rest.data()), 10, SQLT_LNG, &got, 20000));
  EXPECT_EQ(0u, got);
  // The rows processed stay as the fetch left them.
  EXPECT_EQ(1u, cda_.rpc);

  // Still readable after the fetch that found the end.
  EXPECT_RC(1403, cda_, oci7().ofen(&cda_, 1));
  EXPECT_RC(0, cda_,
            oci7().oflng(&cda_, 2, reinterpret_cast<ub1*>(rest.data()), 26, SQLT_LNG, &got, 0));
  EXPECT_EQ(26u, got);
  EXPECT_EQ(long_.substr(0, 26), rest.substr(0, 26));

  EXPECT_RC(932, cda_,
            oci7().oflng(&cda_, 1, reinterpret_cast<ub1*>(rest.data()), 10, SQLT_LNG, &got, 0));
  EXPECT_RC(1007, cda_,
            oci7().oflng(&cda_, 3, reinterpret_cast<ub1*>(rest.data()), 10, SQLT_LNG, &got, 0));
}

TEST_F(Oci7LongTest, OflngBeforeAnyRowIsOutOfSequence) {
  ASSERT_RC(0, cda_, parse("select body from notes"));
  char buffer[10];
  ub4 got = 7;
  EXPECT_RC(
      1002, cda_,
      oci7().oflng(&cda_, 1, reinterpret_cast<ub1*>(buffer), sizeof buffer, SQLT_LNG, &got, 0));
  EXPECT_EQ(0u, got);
}

TEST_F(Oci7CursorTest, LongRawPiecesAreBytesOrHexadecimalText) {
  run7("create table blobs (data long raw)");
  std::string bytes;
  for (int i = 0; i < 3000; ++i)
    bytes += static_cast<char>(i % 256);
  ASSERT_RC(0, cda_, parse("insert into blobs values (:data)"));
  ASSERT_RC(0, cda_, bind(":data", bytes.data(), static_cast<sword>(bytes.size()), SQLT_LBI));
  ASSERT_RC(0, cda_, oci7().oexec(&cda_));

  ASSERT_RC(0, cda_, parse("select data from blobs"));
  unsigned char head[100];
  sb2 ind = 0;
  ASSERT_RC(0, cda_, define(1, head, sizeof head, SQLT_LBI, &ind));
  ASSERT_RC(0, cda_, oci7().oexfet(&cda_, 1, 0, 0));
  EXPECT_EQ(3000, ind);
  std::string piece(3000, '\0');
  ub4 got = 0;
  ASSERT_RC(
      0, cda_,
      oci7().oflng(&cda_, 1, reinterpret_cast<ub1*>(piece.data()), 3000, SQLT_LBI, &got, 2500));
  EXPECT_EQ(500u, got);
  EXPECT_EQ(bytes.substr(2500), piece.substr(0, 500));
  ASSERT_RC(0, cda_,
            oci7().oflng(&cda_, 1, reinterpret_cast<ub1*>(piece.data()), 4, SQLT_LNG, &got, 2));
  EXPECT_EQ("0102", piece.substr(0, 4));
}

TEST_F(Oci7CursorTest, CallsOutOfOrderReportTheirErrors) {
  sb4 size = 0;
  int value = 0;
  EXPECT_RC(1003, cda_,
            oci7().odescr(&cda_, 1, &size, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                          nullptr));
  EXPECT_RC(1003, cda_, define(1, &value, sizeof value, SQLT_INT));
  EXPECT_RC(1003, cda_, bind(":x", &value, sizeof value, SQLT_INT));
  EXPECT_RC(1003, cda_, oci7().oexec(&cda_));

  ASSERT_RC(0, cda_, parse("select ename from emp where empno = :e"));
  EXPECT_RC(1036, cda_, bind(":nope", &value, sizeof value, SQLT_INT));
  EXPECT_RC(1002, cda_, oci7().ofen(&cda_, 1));
  EXPECT_RC(1008, cda_, oci7().oexec(&cda_));
  EXPECT_RC(1007, cda_, define(2, &value, sizeof value, SQLT_INT));
  EXPECT_RC(1460, cda_, define(1, &value, sizeof value, 7));
  EXPECT_RC(21560, cda_, define(1, &value, -1, SQLT_INT));
  EXPECT_RC(21560, cda_, oci7().ofen(&cda_, 0));
  EXPECT_RC(1009, cda_, oci7().oparse(&cda_, nullptr, -1, 0, 2));

  ASSERT_RC(0, cda_, parse("insert into bonus (ename) values ('X')"));
  EXPECT_RC(1007, cda_,
            oci7().odescr(&cda_, 1, &size, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                          nullptr));

  // A closed or never opened area is an invalid cursor.
  EXPECT_EQ(0, oci7().oclose(&cda_));
  EXPECT_EQ(kFcClose, cda_.fc);
  EXPECT_RC(1001, cda_, oci7().oclose(&cda_));
  EXPECT_RC(1001, cda_, parse("select 1 from dual"));
  Cda_Def never{};
  EXPECT_NE(0, oci7().oexec(&never));
  EXPECT_EQ(1001, never.rc);
  EXPECT_NE(0, oci7().oexec(nullptr));
}

TEST_F(Oci7CursorTest, LogoffClosesTheCursorsOfTheLogon) {
  ASSERT_RC(0, cda_, parse("select ename from emp"));
  ASSERT_RC(0, cda_, oci7().oexec(&cda_));
  EXPECT_EQ(0, oci7().ologof(&lda_));
  EXPECT_RC(1001, cda_, oci7().ofen(&cda_, 1));
}

TEST_F(Oci7CursorTest, CursorsOfOneLogonShareItsTransaction) {
  run7("insert into dept values (55, 'SHARED', 'NOWHERE')");
  EXPECT_EQ(std::vector<std::string>{"SHARED"}, rows7("select dname from dept where deptno = 55"));
  EXPECT_EQ(0, oci7().orol(&lda_));
  EXPECT_TRUE(rows7("select dname from dept where deptno = 55").empty());
}

}  // namespace
}  // namespace vorn::server::oci_test
