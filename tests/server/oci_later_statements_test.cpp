// The statement-level calls of later releases that thick-mode drivers use:
// the "2" bind, define and fetch calls with ub4 lengths, batch errors and
// row-count arrays of array DML, the "2" LOB calls, parameters read under
// OCI_HTYPE_DESCRIBE, the statement attributes of later releases, session
// pools and OCISessionGet.
#include <cstring>
#include <string>
#include <vector>

#include "oci_support.h"

namespace vorn::server::oci_test {
namespace {

const OraText* text(const char* s) {
  return reinterpret_cast<const OraText*>(s);
}

class OciLaterStatementTest : public OciTest {
 protected:
  void SetUp() override {
    OciTest::SetUp();
    svc_ = scott();
  }
  void TearDown() override {
    logoff(svc_);
    OciTest::TearDown();
  }
  OCISvcCtx* svc_ = nullptr;
};

TEST_F(OciLaterStatementTest, BindsAndDefinesWithWideLengths) {
  const OciCalls& c = oci();
  OCIStmt* stmt = nullptr;
  const char* sql = "select ename, job from emp where empno = :id or ename = :2 order by ename";
  ASSERT_OCI(OCI_SUCCESS,
             c.OCIStmtPrepare2(svc_, &stmt, err_, text(sql), static_cast<ub4>(std::strlen(sql)),
                               nullptr, 0, OCI_NTV_SYNTAX, OCI_DEFAULT));
  char id[8] = "7839xx";
  ub4 idLength = 4;  // the bytes after it are not part of the value
  char name[8] = "FORD";
  ub4 nameLength = 4;
  OCIBind* b1 = nullptr;
  OCIBind* b2 = nullptr;
  ASSERT_OCI(OCI_SUCCESS, c.OCIBindByName2(stmt, &b1, err_, text(":id"), 3, id, sizeof id, SQLT_CHR,
                                           nullptr, &idLength, nullptr, 0, nullptr, OCI_DEFAULT));
  ASSERT_OCI(OCI_SUCCESS, c.OCIBindByPos2(stmt, &b2, err_, 2, name, sizeof name, SQLT_CHR, nullptr,
                                          &nameLength, nullptr, 0, nullptr, OCI_DEFAULT));
  char ename[2][12] = {};
  ub4 enameLengths[2] = {};
  char job[2][4] = {};  // too short for PRESIDENT: cut, with a warning
  ub4 jobLengths[2] = {};
  sb2 jobInd[2] = {};
  ub2 jobCodes[2] = {};
  OCIDefine* d1 = nullptr;
  OCIDefine* d2 = nullptr;
  ASSERT_OCI(OCI_SUCCESS, c.OCIDefineByPos2(stmt, &d1, err_, 1, ename, sizeof ename[0], SQLT_CHR,
                                            nullptr, enameLengths, nullptr, OCI_DEFAULT));
  ASSERT_OCI(OCI_SUCCESS, c.OCIDefineByPos2(stmt, &d2, err_, 2, job, sizeof job[0], SQLT_CHR,
                                            jobInd, jobLengths, jobCodes, OCI_DEFAULT));
  EXPECT_OCI(OCI_SUCCESS_WITH_INFO,
             c.OCIStmtExecute(svc_, stmt, err_, 2, 0, nullptr, nullptr, OCI_DEFAULT));
  EXPECT_EQ("FORD", std::string(ename[0], enameLengths[0]));
  EXPECT_EQ("KING", std::string(ename[1], enameLengths[1]));
  EXPECT_EQ("ANAL", std::string(job[0], jobLengths[0]));  // ANALYST, cut
  EXPECT_EQ(1406, jobCodes[0]);
  EXPECT_EQ(1406, jobCodes[1]);
  EXPECT_EQ(9, jobInd[1]);  // PRESIDENT's whole length
  ub8 rows = 0;
  EXPECT_OCI(OCI_SUCCESS,
             c.OCIAttrGet(stmt, OCI_HTYPE_STMT, &rows, nullptr, OCI_ATTR_UB8_ROW_COUNT, err_));
  EXPECT_EQ(2u, rows);
  // No more rows.
  EXPECT_OCI(OCI_NO_DATA, c.OCIStmtFetch2(stmt, err_, 1, OCI_FETCH_NEXT, 0, OCI_DEFAULT));
  EXPECT_OCI(OCI_SUCCESS, c.OCIStmtRelease(stmt, err_, nullptr, 0, OCI_DEFAULT));
}

TEST_F(OciLaterStatementTest, SizesPastFourGigabytesAreRefused) {
  const OciCalls& c = oci();
  OCIStmt* stmt = newStatement("select ename from emp where empno = :1");
  char buffer[8];
  OCIBind* bind = nullptr;
  OCIDefine* define = nullptr;
  EXPECT_OCI(OCI_ERROR, c.OCIBindByPos2(stmt, &bind, err_, 1, buffer, sb8{1} << 33, SQLT_CHR,
                                        nullptr, nullptr, nullptr, 0, nullptr, OCI_DEFAULT));
  EXPECT_EQ(21560, errorCode());
  EXPECT_OCI(OCI_ERROR, c.OCIDefineByPos2(stmt, &define, err_, 1, buffer, -1, SQLT_CHR, nullptr,
                                          nullptr, nullptr, OCI_DEFAULT));
  EXPECT_EQ(21560, errorCode());
  EXPECT_OCI(OCI_ERROR, c.OCIDefineByPos2(stmt, &define, err_, 0, buffer, sizeof buffer, SQLT_CHR,
                                          nullptr, nullptr, nullptr, OCI_DEFAULT));
  EXPECT_EQ(1007, errorCode());
  c.OCIHandleFree(stmt, OCI_HTYPE_STMT);
}

TEST_F(OciLaterStatementTest, FetchOrientationsOtherThanNextAreRefused) {
  const OciCalls& c = oci();
  OCIStmt* stmt = newStatement("select empno from emp order by empno");
  sb4 empno = 0;
  OCIDefine* define = nullptr;
  c.OCIDefineByPos2(stmt, &define, err_, 1, &empno, sizeof empno, SQLT_INT, nullptr, nullptr,
                    nullptr, OCI_DEFAULT);
  ASSERT_OCI(OCI_SUCCESS, c.OCIStmtExecute(svc_, stmt, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT));
  EXPECT_EQ(7369, empno);
  for (ub2 orientation : {OCI_FETCH_PRIOR, OCI_FETCH_FIRST, OCI_FETCH_LAST, OCI_FETCH_ABSOLUTE,
                          OCI_FETCH_RELATIVE, OCI_FETCH_CURRENT}) {
    EXPECT_OCI(OCI_ERROR, c.OCIStmtFetch2(stmt, err_, 1, orientation, 1, OCI_DEFAULT));
    EXPECT_EQ(24391, errorCode());
  }
  // The cursor is where it was.
  EXPECT_OCI(OCI_SUCCESS, c.OCIStmtFetch2(stmt, err_, 1, OCI_DEFAULT, 0, OCI_DEFAULT));
  EXPECT_EQ(7499, empno);
  c.OCIHandleFree(stmt, OCI_HTYPE_STMT);
}

TEST_F(OciLaterStatementTest, ScrollableCursorGoesToAnyRow) {
  const OciCalls& c = oci();
  OCIStmt* stmt = newStatement("select empno from emp order by empno");
  sb4 empno[3] = {};
  OCIDefine* define = nullptr;
  c.OCIDefineByPos2(stmt, &define, err_, 1, empno, sizeof empno[0], SQLT_INT, nullptr, nullptr,
                    nullptr, OCI_DEFAULT);
  ASSERT_OCI(OCI_SUCCESS, c.OCIStmtExecute(svc_, stmt, err_, 0, 0, nullptr, nullptr,
                                           OCI_STMT_SCROLLABLE_READONLY));
  ub4 position = 0, fetched = 0;
  auto where = [&] {
    c.OCIAttrGet(stmt, OCI_HTYPE_STMT, &position, nullptr, OCI_ATTR_CURRENT_POSITION, err_);
    c.OCIAttrGet(stmt, OCI_HTYPE_STMT, &fetched, nullptr, OCI_ATTR_ROWS_FETCHED, err_);
  };
  // The 14 employees, 7369 first and 7934 last.
  ASSERT_OCI(OCI_SUCCESS, c.OCIStmtFetch2(stmt, err_, 2, OCI_FETCH_NEXT, 0, OCI_DEFAULT));
  where();
  EXPECT_EQ(7369, empno[0]);
  EXPECT_EQ(7499, empno[1]);
  EXPECT_EQ(2u, position);
  ASSERT_OCI(OCI_SUCCESS, c.OCIStmtFetch2(stmt, err_, 1, OCI_FETCH_LAST, 0, OCI_DEFAULT));
  where();
  EXPECT_EQ(7934, empno[0]);
  EXPECT_EQ(14u, position);
  ASSERT_OCI(OCI_SUCCESS, c.OCIStmtFetch2(stmt, err_, 1, OCI_FETCH_PRIOR, 0, OCI_DEFAULT));
  EXPECT_EQ(7902, empno[0]);
  ASSERT_OCI(OCI_SUCCESS, c.OCIStmtFetch2(stmt, err_, 3, OCI_FETCH_ABSOLUTE, 4, OCI_DEFAULT));
  where();
  EXPECT_EQ(7566, empno[0]);
  EXPECT_EQ(7654, empno[1]);
  EXPECT_EQ(7698, empno[2]);
  EXPECT_EQ(6u, position);
  ASSERT_OCI(OCI_SUCCESS, c.OCIStmtFetch2(stmt, err_, 1, OCI_FETCH_RELATIVE, -3, OCI_DEFAULT));
  EXPECT_EQ(7521, empno[0]);
  ASSERT_OCI(OCI_SUCCESS, c.OCIStmtFetch2(stmt, err_, 1, OCI_FETCH_CURRENT, 0, OCI_DEFAULT));
  EXPECT_EQ(7521, empno[0]);
  ASSERT_OCI(OCI_SUCCESS, c.OCIStmtFetch2(stmt, err_, 1, OCI_FETCH_FIRST, 0, OCI_DEFAULT));
  EXPECT_EQ(7369, empno[0]);
  // Across the end: the rows there are, then OCI_NO_DATA.
  EXPECT_OCI(OCI_NO_DATA, c.OCIStmtFetch2(stmt, err_, 3, OCI_FETCH_ABSOLUTE, 13, OCI_DEFAULT));
  where();
  EXPECT_EQ(2u, fetched);
  EXPECT_EQ(7902, empno[0]);
  EXPECT_EQ(7934, empno[1]);
  // Before the first row and past the last: nothing.
  EXPECT_OCI(OCI_NO_DATA, c.OCIStmtFetch2(stmt, err_, 1, OCI_FETCH_ABSOLUTE, 0, OCI_DEFAULT));
  EXPECT_OCI(OCI_NO_DATA, c.OCIStmtFetch2(stmt, err_, 1, OCI_FETCH_RELATIVE, -5, OCI_DEFAULT));
  where();
  EXPECT_EQ(0u, fetched);
  EXPECT_OCI(OCI_NO_DATA, c.OCIStmtFetch2(stmt, err_, 1, OCI_FETCH_ABSOLUTE, 15, OCI_DEFAULT));
  // Back from after the end with PRIOR: the last row.
  ASSERT_OCI(OCI_SUCCESS, c.OCIStmtFetch2(stmt, err_, 1, OCI_FETCH_PRIOR, 0, OCI_DEFAULT));
  EXPECT_EQ(7934, empno[0]);
  EXPECT_OCI(OCI_ERROR, c.OCIStmtFetch2(stmt, err_, 1, 0x4000, 0, OCI_DEFAULT));
  EXPECT_EQ(24391, errorCode());
  c.OCIHandleFree(stmt, OCI_HTYPE_STMT);
}

TEST_F(OciLaterStatementTest, StatementCacheHandsReleasedStatementsOutAgain) {
  const OciCalls& c = oci();
  ub4 size = 2;
  ASSERT_OCI(OCI_SUCCESS,
             c.OCIAttrSet(svc_, OCI_HTYPE_SVCCTX, &size, 0, OCI_ATTR_STMTCACHESIZE, err_));
  auto prepare = [&](const char* sql, const char* key = nullptr, ub4 mode = OCI_DEFAULT) {
    OCIStmt* stmt = nullptr;
    sword status = c.OCIStmtPrepare2(
        svc_, &stmt, err_, text(sql), static_cast<ub4>(std::strlen(sql)), key ? text(key) : nullptr,
        key ? static_cast<ub4>(std::strlen(key)) : 0, OCI_NTV_SYNTAX, mode);
    return status == OCI_SUCCESS ? stmt : nullptr;
  };
  const char* sql = "select ename from emp where empno = 7839";
  OCIStmt* first = prepare(sql);
  ASSERT_NE(nullptr, first);
  char name[16] = {};
  OCIDefine* define = nullptr;
  c.OCIDefineByPos(first, &define, err_, 1, name, sizeof name, SQLT_STR, nullptr, nullptr, nullptr,
                   OCI_DEFAULT);
  ASSERT_OCI(OCI_SUCCESS, c.OCIStmtExecute(svc_, first, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT));
  EXPECT_OCI(OCI_SUCCESS, c.OCIStmtRelease(first, err_, nullptr, 0, OCI_DEFAULT));
  // The same text: the same statement, its define still in place.
  OCIStmt* again = prepare(sql);
  EXPECT_EQ(first, again);
  name[0] = 0;
  ASSERT_OCI(OCI_SUCCESS, c.OCIStmtExecute(svc_, again, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT));
  EXPECT_STREQ("KING", name);
  // Taken out of the cache, it is not there for a second prepare.
  OCIStmt* other = prepare(sql);
  EXPECT_NE(again, other);
  // By key, and searched for only.
  EXPECT_OCI(OCI_SUCCESS, c.OCIStmtRelease(again, err_, text("K1"), 2, OCI_DEFAULT));
  EXPECT_EQ(nullptr, prepare("", "K2", OCI_PREP2_CACHE_SEARCHONLY));
  EXPECT_EQ(24431, errorCode());
  EXPECT_EQ(again, prepare("", "K1", OCI_PREP2_CACHE_SEARCHONLY));
  // A release that deletes, and a cache that overflows, free statements.
  EXPECT_OCI(OCI_SUCCESS, c.OCIStmtRelease(again, err_, nullptr, 0, OCI_STRLS_CACHE_DELETE));
  EXPECT_EQ(OCI_INVALID_HANDLE,
            c.OCIStmtExecute(svc_, again, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT));
  OCIStmt* a = prepare("select 1 from dual");
  OCIStmt* b = prepare("select 2 from dual");
  EXPECT_OCI(OCI_SUCCESS, c.OCIStmtRelease(other, err_, nullptr, 0, OCI_DEFAULT));
  EXPECT_OCI(OCI_SUCCESS, c.OCIStmtRelease(a, err_, nullptr, 0, OCI_DEFAULT));
  EXPECT_OCI(OCI_SUCCESS, c.OCIStmtRelease(b, err_, nullptr, 0, OCI_DEFAULT));
  EXPECT_EQ(OCI_INVALID_HANDLE,
            c.OCIStmtExecute(svc_, other, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT));
  // A cached statement freed by hand leaves the cache; shrinking frees.
  EXPECT_EQ(OCI_SUCCESS, c.OCIHandleFree(b, OCI_HTYPE_STMT));
  EXPECT_EQ(nullptr, prepare("select 2 from dual", nullptr, OCI_PREP2_CACHE_SEARCHONLY));
  size = 0;
  c.OCIAttrSet(svc_, OCI_HTYPE_SVCCTX, &size, 0, OCI_ATTR_STMTCACHESIZE, err_);
  EXPECT_EQ(OCI_INVALID_HANDLE,
            c.OCIStmtExecute(svc_, a, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT));
}

// The rows of an array INSERT of (id, label) pairs, the third a duplicate
// key and the fifth too long a label.
class OciArrayDmlTest : public OciLaterStatementTest {
 protected:
  void SetUp() override {
    OciLaterStatementTest::SetUp();
    run(svc_, "create table items (id number(4) primary key, label varchar2(5))");
  }
  OCIStmt* prepareInsert() {
    const OciCalls& c = oci();
    OCIStmt* stmt = newStatement("insert into items values (:1, :2)");
    OCIBind* b1 = nullptr;
    OCIBind* b2 = nullptr;
    c.OCIBindByPos2(stmt, &b1, err_, 1, ids_, sizeof ids_[0], SQLT_INT, nullptr, nullptr, nullptr,
                    0, nullptr, OCI_DEFAULT);
    c.OCIBindByPos2(stmt, &b2, err_, 2, labels_, sizeof labels_[0], SQLT_STR, nullptr, nullptr,
                    nullptr, 0, nullptr, OCI_DEFAULT);
    return stmt;
  }
  std::vector<ub8> rowCounts(OCIStmt* stmt) {
    ub8* counts = nullptr;
    ub4 n = 0;
    EXPECT_OCI(OCI_SUCCESS, oci().OCIAttrGet(stmt, OCI_HTYPE_STMT, &counts, &n,
                                             OCI_ATTR_DML_ROW_COUNT_ARRAY, err_));
    return counts ? std::vector<ub8>(counts, counts + n) : std::vector<ub8>();
  }
  sb4 ids_[5] = {1, 2, 1, 3, 4};
  char labels_[5][16] = {"one", "two", "again", "three", "far too long"};
};

TEST_F(OciArrayDmlTest, BatchErrorsKeepEveryFailingRowAndRunTheRest) {
  const OciCalls& c = oci();
  OCIStmt* stmt = prepareInsert();
  ASSERT_OCI(OCI_SUCCESS, c.OCIStmtExecute(svc_, stmt, err_, 5, 0, nullptr, nullptr,
                                           OCI_BATCH_ERRORS | OCI_RETURN_ROW_COUNT_ARRAY));
  EXPECT_EQ(3u, rowCount(stmt));
  EXPECT_EQ((std::vector<ub8>{1, 1, 0, 1, 0}), rowCounts(stmt));
  ub4 errors = 0;
  EXPECT_OCI(OCI_SUCCESS,
             c.OCIAttrGet(stmt, OCI_HTYPE_STMT, &errors, nullptr, OCI_ATTR_NUM_DML_ERRORS, err_));
  ASSERT_EQ(2u, errors);
  OCIError* row = nullptr;
  c.OCIHandleAlloc(env_, reinterpret_cast<void**>(&row), OCI_HTYPE_ERROR, 0, nullptr);
  const std::pair<ub4, sb4> expected[] = {{2, 1}, {4, 12899}};
  for (ub4 i = 0; i < errors; ++i) {
    ASSERT_OCI(OCI_SUCCESS,
               c.OCIParamGet(err_, OCI_HTYPE_ERROR, err_, reinterpret_cast<void**>(&row), i));
    ub4 offset = 99;
    EXPECT_OCI(OCI_SUCCESS,
               c.OCIAttrGet(row, OCI_HTYPE_ERROR, &offset, nullptr, OCI_ATTR_DML_ROW_OFFSET, err_));
    EXPECT_EQ(expected[i].first, offset);
    EXPECT_EQ(expected[i].second, errorCode(row));
  }
  // Past the last one, and into no error handle.
  EXPECT_OCI(OCI_ERROR,
             c.OCIParamGet(err_, OCI_HTYPE_ERROR, err_, reinterpret_cast<void**>(&row), 2));
  EXPECT_EQ(24334, errorCode());
  void* notAHandle = nullptr;
  EXPECT_EQ(OCI_INVALID_HANDLE, c.OCIParamGet(err_, OCI_HTYPE_ERROR, err_, &notAHandle, 0));
  EXPECT_EQ((std::vector<std::string>{"1|one", "2|two", "3|three"}),
            rows(svc_, "select id, label from items order by id"));
  c.OCIHandleFree(stmt, OCI_HTYPE_STMT);
}

TEST_F(OciArrayDmlTest, RowCountsWithoutBatchErrorsStopAtTheFailingRow) {
  const OciCalls& c = oci();
  OCIStmt* stmt = prepareInsert();
  EXPECT_OCI(OCI_ERROR, c.OCIStmtExecute(svc_, stmt, err_, 5, 0, nullptr, nullptr,
                                         OCI_RETURN_ROW_COUNT_ARRAY));
  EXPECT_EQ(1, errorCode());
  ub4 offset = 0;
  c.OCIAttrGet(err_, OCI_HTYPE_ERROR, &offset, nullptr, OCI_ATTR_DML_ROW_OFFSET, err_);
  EXPECT_EQ(2u, offset);
  EXPECT_EQ(2u, rowCount(stmt));
  EXPECT_EQ((std::vector<ub8>{1, 1}), rowCounts(stmt));
  // A statement run again starts its counts afresh.
  OCIStmt* update = newStatement("update items set label = 'x' where id <= :1");
  sb4 limit = 2;
  OCIBind* b = nullptr;
  c.OCIBindByPos(update, &b, err_, 1, &limit, sizeof limit, SQLT_INT, nullptr, nullptr, nullptr, 0,
                 nullptr, OCI_DEFAULT);
  ASSERT_OCI(OCI_SUCCESS, c.OCIStmtExecute(svc_, update, err_, 1, 0, nullptr, nullptr,
                                           OCI_RETURN_ROW_COUNT_ARRAY));
  EXPECT_EQ((std::vector<ub8>{2}), rowCounts(update));
  ASSERT_OCI(OCI_SUCCESS,
             c.OCIStmtExecute(svc_, update, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT));
  EXPECT_TRUE(rowCounts(update).empty());
  c.OCIHandleFree(update, OCI_HTYPE_STMT);
  c.OCIHandleFree(stmt, OCI_HTYPE_STMT);
}

TEST_F(OciLaterStatementTest, LaterStatementAttributes) {
  const OciCalls& c = oci();
  OCIStmt* returning =
      newStatement("update emp set sal = sal where empno = 1 returning sal into :s");
  OCIStmt* plain = newStatement("update emp set sal = sal where empno = 1");
  ub1 isReturning = 9;
  EXPECT_OCI(OCI_SUCCESS, c.OCIAttrGet(returning, OCI_HTYPE_STMT, &isReturning, nullptr,
                                       OCI_ATTR_STMT_IS_RETURNING, err_));
  EXPECT_EQ(1, isReturning);
  EXPECT_OCI(OCI_SUCCESS, c.OCIAttrGet(plain, OCI_HTYPE_STMT, &isReturning, nullptr,
                                       OCI_ATTR_STMT_IS_RETURNING, err_));
  EXPECT_EQ(0, isReturning);
  // A block returns no implicit results.
  OCIStmt* block = newStatement("begin null; end;");
  ASSERT_OCI(OCI_SUCCESS, c.OCIStmtExecute(svc_, block, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT));
  void* result = &isReturning;
  ub4 type = 7;
  EXPECT_OCI(OCI_NO_DATA, c.OCIStmtGetNextResult(block, err_, &result, &type, OCI_DEFAULT));
  EXPECT_EQ(nullptr, result);
  // The select list's parameters read under OCI_HTYPE_DESCRIBE too.
  OCIStmt* query = newStatement("select ename from emp");
  ASSERT_OCI(OCI_SUCCESS,
             c.OCIStmtExecute(svc_, query, err_, 0, 0, nullptr, nullptr, OCI_DESCRIBE_ONLY));
  void* param = nullptr;
  ASSERT_OCI(OCI_SUCCESS, c.OCIParamGet(query, OCI_HTYPE_STMT, err_, &param, 1));
  OraText* name = nullptr;
  ub4 nameLength = 0;
  ub2 charSize = 0;
  EXPECT_OCI(OCI_SUCCESS,
             c.OCIAttrGet(param, OCI_HTYPE_DESCRIBE, &name, &nameLength, OCI_ATTR_NAME, err_));
  EXPECT_EQ("ENAME", std::string(reinterpret_cast<char*>(name), nameLength));
  EXPECT_OCI(OCI_SUCCESS,
             c.OCIAttrGet(param, OCI_DTYPE_PARAM, &charSize, nullptr, OCI_ATTR_CHAR_SIZE, err_));
  EXPECT_EQ(10, charSize);
  // A statement handle is no parameter, whichever type is named.
  EXPECT_EQ(OCI_INVALID_HANDLE,
            c.OCIAttrGet(query, OCI_HTYPE_DESCRIBE, &name, &nameLength, OCI_ATTR_NAME, err_));
  for (OCIStmt* s : {returning, plain, block, query})
    c.OCIHandleFree(s, OCI_HTYPE_STMT);
}

TEST_F(OciLaterStatementTest, SessionAttributesOfLaterReleases) {
  const OciCalls& c = oci();
  OCISession* session = nullptr;
  c.OCIAttrGet(svc_, OCI_HTYPE_SVCCTX, &session, nullptr, OCI_ATTR_SESSION, err_);
  char driver[] = "test driver";
  EXPECT_OCI(OCI_SUCCESS, c.OCIAttrSet(session, OCI_HTYPE_SESSION, driver, sizeof driver - 1,
                                       OCI_ATTR_DRIVER_NAME, err_));
  boolean inTransaction = 9;
  EXPECT_OCI(OCI_SUCCESS, c.OCIAttrGet(session, OCI_HTYPE_SESSION, &inTransaction, nullptr,
                                       OCI_ATTR_TRANSACTION_IN_PROGRESS, err_));
  EXPECT_EQ(0, inTransaction);
  run(svc_, "update emp set sal = sal + 1 where empno = 7839");
  c.OCIAttrGet(session, OCI_HTYPE_SESSION, &inTransaction, nullptr,
               OCI_ATTR_TRANSACTION_IN_PROGRESS, err_);
  EXPECT_EQ(1, inTransaction);
  EXPECT_OCI(OCI_SUCCESS, c.OCITransRollback(svc_, err_, OCI_DEFAULT));
  c.OCIAttrGet(session, OCI_HTYPE_SESSION, &inTransaction, nullptr,
               OCI_ATTR_TRANSACTION_IN_PROGRESS, err_);
  EXPECT_EQ(0, inTransaction);
  boolean recoverable = 9;
  EXPECT_OCI(OCI_SUCCESS, c.OCIAttrGet(err_, OCI_HTYPE_ERROR, &recoverable, nullptr,
                                       OCI_ATTR_ERROR_IS_RECOVERABLE, err_));
  EXPECT_EQ(0, recoverable);
}

// ---- LOBs ----

TEST_F(OciLaterStatementTest, LobCallsWithWideAmounts) {
  const OciCalls& c = oci();
  run(svc_, "create table docs (id number, body clob)");
  run(svc_, "insert into docs values (1, empty_clob())");
  OCIStmt* stmt = newStatement("select body from docs where id = 1 for update");
  OCILobLocator* lob = nullptr;
  c.OCIDescriptorAlloc(env_, reinterpret_cast<void**>(&lob), OCI_DTYPE_LOB, 0, nullptr);
  OCIDefine* define = nullptr;
  c.OCIDefineByPos2(stmt, &define, err_, 1, &lob, sizeof lob, SQLT_CLOB, nullptr, nullptr, nullptr,
                    OCI_DEFAULT);
  ASSERT_OCI(OCI_SUCCESS, c.OCIStmtExecute(svc_, stmt, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT));

  std::string value = "The quick brown fox";
  oraub8 bytes = value.size(), chars = 0;
  ASSERT_OCI(OCI_SUCCESS,
             c.OCILobWrite2(svc_, err_, lob, &bytes, &chars, 1, value.data(), value.size(),
                            OCI_ONE_PIECE, nullptr, nullptr, 0, SQLCS_IMPLICIT));
  EXPECT_EQ(value.size(), bytes);
  oraub8 length = 0;
  ASSERT_OCI(OCI_SUCCESS, c.OCILobGetLength2(svc_, err_, lob, &length));
  EXPECT_EQ(value.size(), length);
  // Characters 5 to 9, asked for in characters.
  char buffer[32] = {};
  bytes = 0;
  chars = 5;
  ASSERT_OCI(OCI_SUCCESS, c.OCILobRead2(svc_, err_, lob, &bytes, &chars, 5, buffer, sizeof buffer,
                                        OCI_ONE_PIECE, nullptr, nullptr, 0, SQLCS_IMPLICIT));
  EXPECT_EQ("quick", std::string(buffer, bytes));
  // Polling in pieces of 8 bytes: OCI_NEED_DATA until the last.
  std::string all;
  bytes = 0;
  chars = 0;
  sword status = c.OCILobRead2(svc_, err_, lob, &bytes, &chars, 1, buffer, 8, OCI_FIRST_PIECE,
                               nullptr, nullptr, 0, SQLCS_IMPLICIT);
  while (status == OCI_NEED_DATA) {
    all.append(buffer, bytes);
    status = c.OCILobRead2(svc_, err_, lob, &bytes, &chars, 1, buffer, 8, OCI_NEXT_PIECE, nullptr,
                           nullptr, 0, SQLCS_IMPLICIT);
  }
  EXPECT_OCI(OCI_SUCCESS, status);
  all.append(buffer, bytes);
  EXPECT_EQ(value, all);

  oraub8 erase = 6;
  EXPECT_OCI(OCI_SUCCESS, c.OCILobErase2(svc_, err_, lob, &erase, 5));
  EXPECT_EQ(6u, erase);
  EXPECT_OCI(OCI_SUCCESS, c.OCILobTrim2(svc_, err_, lob, 9));
  c.OCILobGetLength2(svc_, err_, lob, &length);
  EXPECT_EQ(9u, length);
  // Past what a LOB holds, or past its end.
  EXPECT_OCI(OCI_ERROR, c.OCILobTrim2(svc_, err_, lob, oraub8{1} << 40));
  EXPECT_EQ(22926, errorCode());
  bytes = 1;
  EXPECT_OCI(OCI_ERROR, c.OCILobRead2(svc_, err_, lob, &bytes, nullptr, oraub8{1} << 40, buffer,
                                      sizeof buffer, OCI_ONE_PIECE, nullptr, nullptr, 0, 0));
  EXPECT_EQ(22925, errorCode());
  EXPECT_OCI(OCI_ERROR, c.OCILobCopy2(svc_, err_, lob, lob, 1, oraub8{1} << 40, 1));
  EXPECT_EQ(22925, errorCode());
  EXPECT_EQ((std::vector<std::string>{"The      "}), rows(svc_, "select body from docs"));
  c.OCIHandleFree(stmt, OCI_HTYPE_STMT);
  c.OCIDescriptorFree(lob, OCI_DTYPE_LOB);
}

// ---- Session pools ----

TEST_F(OciLaterStatementTest, PoolHandsOutSessionsUpToItsMaximum) {
  const OciCalls& c = oci();
  OCISPool* pool = nullptr;
  ASSERT_OCI(OCI_SUCCESS,
             c.OCIHandleAlloc(env_, reinterpret_cast<void**>(&pool), OCI_HTYPE_SPOOL, 0, nullptr));
  OraText* name = nullptr;
  ub4 nameLength = 0;
  std::string db = databasePath();
  char user[] = "scott";
  char password[] = "tiger";
  ASSERT_OCI(
      OCI_SUCCESS,
      c.OCISessionPoolCreate(env_, err_, pool, &name, &nameLength, text(db.c_str()),
                             static_cast<ub4>(db.size()), 1, 2, 1, reinterpret_cast<OraText*>(user),
                             5, reinterpret_cast<OraText*>(password), 5, OCI_SPC_HOMOGENEOUS));
  ub4 open = 0, busy = 0;
  c.OCIAttrGet(pool, OCI_HTYPE_SPOOL, &open, nullptr, OCI_ATTR_SPOOL_OPEN_COUNT, err_);
  EXPECT_EQ(1u, open);

  OCISvcCtx* first = nullptr;
  OCISvcCtx* second = nullptr;
  OCISvcCtx* third = nullptr;
  ASSERT_OCI(OCI_SUCCESS, c.OCISessionGet(env_, err_, &first, nullptr, name, nameLength, nullptr, 0,
                                          nullptr, nullptr, nullptr, OCI_SESSGET_SPOOL));
  ASSERT_OCI(OCI_SUCCESS, c.OCISessionGet(env_, err_, &second, nullptr, name, nameLength, nullptr,
                                          0, nullptr, nullptr, nullptr, OCI_SESSGET_SPOOL));
  EXPECT_NE(first, second);
  EXPECT_EQ((std::vector<std::string>{"4"}), rows(first, "select count(*) from dept"));
  c.OCIAttrGet(pool, OCI_HTYPE_SPOOL, &busy, nullptr, OCI_ATTR_SPOOL_BUSY_COUNT, err_);
  EXPECT_EQ(2u, busy);
  // The maximum is reached: nothing waits, the get fails.
  EXPECT_OCI(OCI_ERROR, c.OCISessionGet(env_, err_, &third, nullptr, name, nameLength, nullptr, 0,
                                        nullptr, nullptr, nullptr, OCI_SESSGET_SPOOL));
  EXPECT_EQ(24418, errorCode());
  // A released session is handed out again.
  EXPECT_OCI(OCI_SUCCESS, c.OCISessionRelease(second, err_, nullptr, 0, OCI_DEFAULT));
  ASSERT_OCI(OCI_SUCCESS, c.OCISessionGet(env_, err_, &third, nullptr, name, nameLength, nullptr, 0,
                                          nullptr, nullptr, nullptr, OCI_SESSGET_SPOOL));
  EXPECT_EQ(second, third);
  // Dropped on release: the pool opens a new one next time.
  EXPECT_OCI(OCI_SUCCESS, c.OCISessionRelease(third, err_, nullptr, 0, OCI_SESSRLS_DROPSESS));
  c.OCIAttrGet(pool, OCI_HTYPE_SPOOL, &open, nullptr, OCI_ATTR_SPOOL_OPEN_COUNT, err_);
  EXPECT_EQ(1u, open);
  // An unknown pool name.
  char unknown[] = "nopool";
  EXPECT_OCI(OCI_ERROR,
             c.OCISessionGet(env_, err_, &third, nullptr, reinterpret_cast<OraText*>(unknown), 6,
                             nullptr, 0, nullptr, nullptr, nullptr, OCI_SESSGET_SPOOL));
  // The pool goes; the busy session still works and is logged off when
  // released.
  EXPECT_OCI(OCI_SUCCESS, c.OCISessionPoolDestroy(pool, err_, OCI_DEFAULT));
  EXPECT_EQ((std::vector<std::string>{"4"}), rows(first, "select count(*) from dept"));
  EXPECT_OCI(OCI_SUCCESS, c.OCISessionRelease(first, err_, nullptr, 0, OCI_DEFAULT));
  EXPECT_OCI(OCI_ERROR, c.OCISessionPoolDestroy(pool, err_, OCI_DEFAULT));
  c.OCIHandleFree(pool, OCI_HTYPE_SPOOL);
}

TEST_F(OciLaterStatementTest, PoolRefusesImpossibleSizesAndBadLogons) {
  const OciCalls& c = oci();
  OCISPool* pool = nullptr;
  c.OCIHandleAlloc(env_, reinterpret_cast<void**>(&pool), OCI_HTYPE_SPOOL, 0, nullptr);
  OraText* name = nullptr;
  ub4 nameLength = 0;
  std::string db = databasePath();
  char user[] = "scott";
  char wrong[] = "wrong";
  EXPECT_OCI(OCI_ERROR, c.OCISessionPoolCreate(env_, err_, pool, &name, &nameLength,
                                               text(db.c_str()), static_cast<ub4>(db.size()), 3, 2,
                                               1, reinterpret_cast<OraText*>(user), 5,
                                               reinterpret_cast<OraText*>(wrong), 5, OCI_DEFAULT));
  EXPECT_EQ(24323, errorCode());
  EXPECT_OCI(OCI_ERROR, c.OCISessionPoolCreate(env_, err_, pool, &name, &nameLength,
                                               text(db.c_str()), static_cast<ub4>(db.size()), 1, 2,
                                               1, reinterpret_cast<OraText*>(user), 5,
                                               reinterpret_cast<OraText*>(wrong), 5, OCI_DEFAULT));
  EXPECT_EQ(1017, errorCode());
  c.OCIHandleFree(pool, OCI_HTYPE_SPOOL);
}

TEST_F(OciLaterStatementTest, SessionGetWithoutAPoolLogsOnWithTheAuthInfo) {
  const OciCalls& c = oci();
  OCIAuthInfo* auth = nullptr;
  c.OCIHandleAlloc(env_, reinterpret_cast<void**>(&auth), OCI_HTYPE_AUTHINFO, 0, nullptr);
  c.OCIAttrSet(auth, OCI_HTYPE_AUTHINFO, const_cast<char*>("scott"), 5, OCI_ATTR_USERNAME, err_);
  c.OCIAttrSet(auth, OCI_HTYPE_AUTHINFO, const_cast<char*>("tiger"), 5, OCI_ATTR_PASSWORD, err_);
  std::string db = databasePath();
  OCISvcCtx* svc = nullptr;
  ASSERT_OCI(OCI_SUCCESS,
             c.OCISessionGet(env_, err_, &svc, auth, reinterpret_cast<OraText*>(db.data()),
                             static_cast<ub4>(db.size()), nullptr, 0, nullptr, nullptr, nullptr,
                             OCI_DEFAULT));
  EXPECT_EQ((std::vector<std::string>{"KING"}),
            rows(svc, "select ename from emp where empno = 7839"));
  EXPECT_OCI(OCI_SUCCESS, c.OCISessionRelease(svc, err_, nullptr, 0, OCI_DEFAULT));
  // A service context OCISessionGet did not make cannot be released.
  EXPECT_OCI(OCI_ERROR, c.OCISessionRelease(svc_, err_, nullptr, 0, OCI_DEFAULT));
  c.OCIHandleFree(auth, OCI_HTYPE_AUTHINFO);
}

}  // namespace
}  // namespace vorn::server::oci_test
