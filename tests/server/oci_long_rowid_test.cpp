// LONG values read in pieces through the define callback, and ROWIDs:
// the ROWID attribute of DML, its raw descriptor layout, ROWID columns.
#include <cstring>
#include <string>

#include "oci_support.h"

namespace vorn::server::oci_test {
namespace {

class OciLongRowidTest : public OciTest {
 protected:
  void SetUp() override {
    OciTest::SetUp();
    svc_ = scott();
  }
  OCISvcCtx* svc_ = nullptr;
};

// Collects a LONG value piece by piece, in pieces of `pieceSize` bytes.
struct Pieces {
  size_t pieceSize = 1000;
  std::vector<std::string> buffers;
  std::vector<ub4> lengths;
  std::vector<ub1> kinds;
  sb2 indicator = 99;
  ub2 rcode = 99;
  ub4 length = 0;

  std::string value() const {
    std::string out;
    for (size_t i = 0; i < buffers.size(); ++i)
      out.append(buffers[i].data(), lengths[i]);
    return out;
  }
};

sb4 nextPiece(void* ctx, OCIDefine*, ub4, void** bufpp, ub4** alenp, ub1* piecep, void** indp,
              ub2** rcodep) {
  auto* p = static_cast<Pieces*>(ctx);
  if (!p->buffers.empty()) p->lengths.back() = p->length;
  p->kinds.push_back(*piecep);
  p->buffers.emplace_back(p->pieceSize, '\0');
  p->lengths.push_back(0);
  p->length = static_cast<ub4>(p->pieceSize);
  *bufpp = p->buffers.back().data();
  *alenp = &p->length;
  *indp = &p->indicator;
  *rcodep = &p->rcode;
  return OCI_CONTINUE;
}

Pieces fetchLong(OCIStmt* stmt, OCIError* err, size_t pieceSize) {
  Pieces pieces;
  pieces.pieceSize = pieceSize;
  OCIDefine* def = nullptr;
  oci().OCIDefineByPos(stmt, &def, err, 1, nullptr, 0x7FFFFFFF, SQLT_LNG, nullptr, nullptr, nullptr,
                       OCI_DYNAMIC_FETCH);
  EXPECT_EQ(OCI_SUCCESS, oci().OCIDefineDynamic(def, err, &pieces, nextPiece));
  sword status = oci().OCIStmtFetch(stmt, err, 1, OCI_FETCH_NEXT, OCI_DEFAULT);
  EXPECT_EQ(OCI_SUCCESS, status);
  if (!pieces.buffers.empty()) pieces.lengths.back() = pieces.length;
  return pieces;
}

TEST_F(OciLongRowidTest, LongValueArrivesInPiecesUntilComplete) {
  run(svc_, "create table doc (id number, body long)");
  std::string text;
  for (int i = 0; i < 2500; ++i)
    text += static_cast<char>('a' + i % 26);
  OCIStmt* insert = newStatement("insert into doc values (1, :b)");
  OCIBind* b = nullptr;
  oci().OCIBindByName(insert, &b, err_, reinterpret_cast<const OraText*>(":b"), -1, text.data(),
                      static_cast<sb4>(text.size()), SQLT_LNG, nullptr, nullptr, nullptr, 0,
                      nullptr, 0);
  ASSERT_OCI(OCI_SUCCESS, oci().OCIStmtExecute(svc_, insert, err_, 1, 0, nullptr, nullptr, 0));

  OCIStmt* stmt = newStatement("select body from doc");
  ASSERT_OCI(OCI_SUCCESS, oci().OCIStmtExecute(svc_, stmt, err_, 0, 0, nullptr, nullptr, 0));
  Pieces pieces = fetchLong(stmt, err_, 1000);
  EXPECT_EQ(text, pieces.value());
  EXPECT_EQ((std::vector<ub4>{1000, 1000, 500}), pieces.lengths);
  EXPECT_EQ((std::vector<ub1>{OCI_FIRST_PIECE, OCI_NEXT_PIECE, OCI_NEXT_PIECE}), pieces.kinds);
  EXPECT_EQ(0, pieces.indicator);
}

TEST_F(OciLongRowidTest, NullLongAsksForOnePieceAndSetsTheIndicator) {
  run(svc_, "create table doc (id number, body long)");
  run(svc_, "insert into doc (id) values (1)");
  OCIStmt* stmt = newStatement("select body from doc");
  ASSERT_OCI(OCI_SUCCESS, oci().OCIStmtExecute(svc_, stmt, err_, 0, 0, nullptr, nullptr, 0));
  Pieces pieces = fetchLong(stmt, err_, 100);
  EXPECT_EQ(1u, pieces.buffers.size());
  EXPECT_EQ(0u, pieces.lengths[0]);
  EXPECT_EQ(-1, pieces.indicator);
}

TEST_F(OciLongRowidTest, LongRawArrivesAsBytes) {
  run(svc_, "create table img (id number, data long raw)");
  run(svc_, "insert into img values (1, hextoraw('00010203FF'))");
  OCIStmt* stmt = newStatement("select data from img");
  ASSERT_OCI(OCI_SUCCESS, oci().OCIStmtExecute(svc_, stmt, err_, 0, 0, nullptr, nullptr, 0));
  Pieces pieces;
  pieces.pieceSize = 2;
  OCIDefine* def = nullptr;
  oci().OCIDefineByPos(stmt, &def, err_, 1, nullptr, 0x7FFFFFFF, SQLT_LBI, nullptr, nullptr,
                       nullptr, OCI_DYNAMIC_FETCH);
  oci().OCIDefineDynamic(def, err_, &pieces, nextPiece);
  ASSERT_OCI(OCI_SUCCESS, oci().OCIStmtFetch(stmt, err_, 1, OCI_FETCH_NEXT, OCI_DEFAULT));
  pieces.lengths.back() = pieces.length;
  EXPECT_EQ(std::string("\x00\x01\x02\x03\xFF", 5), pieces.value());
}

sb4 stopAtOnce(void*, OCIDefine*, ub4, void**, ub4**, ub1*, void**, ub2**) {
  return -7;
}

TEST_F(OciLongRowidTest, CallbackThatDoesNotContinueEndsTheFetchWithItsStatus) {
  OCIStmt* stmt = newStatement("select dname from dept");
  ASSERT_OCI(OCI_SUCCESS, oci().OCIStmtExecute(svc_, stmt, err_, 0, 0, nullptr, nullptr, 0));
  OCIDefine* def = nullptr;
  oci().OCIDefineByPos(stmt, &def, err_, 1, nullptr, 100, SQLT_CHR, nullptr, nullptr, nullptr,
                       OCI_DYNAMIC_FETCH);
  oci().OCIDefineDynamic(def, err_, nullptr, stopAtOnce);
  EXPECT_EQ(-7, oci().OCIStmtFetch(stmt, err_, 1, OCI_FETCH_NEXT, OCI_DEFAULT));
}

// The parts of a ROWID descriptor as a client decodes its raw bytes.
struct RawRowid {
  unsigned object, file, block, row;
};

RawRowid decode(OCIRowid* rowid) {
  const auto* b = reinterpret_cast<const unsigned char*>(rowid);
  auto be = [&](int at, int n) {
    unsigned v = 0;
    for (int i = 0; i < n; ++i)
      v = v << 8 | b[at + i];
    return v;
  };
  return {be(1, 4), be(5, 2), be(7, 4), be(11, 2)};
}

std::string extendedText(const RawRowid& r) {
  static const char* digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  auto part = [&](unsigned v, int n) {
    std::string s(n, 'A');
    for (int i = n - 1; i >= 0; --i, v /= 64)
      s[i] = digits[v % 64];
    return s;
  };
  return part(r.object, 6) + part(r.file, 3) + part(r.block, 6) + part(r.row, 3);
}

TEST_F(OciLongRowidTest, RowidAttributeOfDmlDecodesToTheRowsRowid) {
  OCIRowid* rowid = nullptr;
  ASSERT_OCI(OCI_SUCCESS, oci().OCIDescriptorAlloc(env_, reinterpret_cast<void**>(&rowid),
                                                   OCI_DTYPE_ROWID, 0, nullptr));
  OCIStmt* insert = newStatement("insert into dept values (60, 'QA', 'OSLO')");
  ASSERT_OCI(OCI_SUCCESS, oci().OCIStmtExecute(svc_, insert, err_, 1, 0, nullptr, nullptr, 0));
  ASSERT_OCI(OCI_SUCCESS,
             oci().OCIAttrGet(insert, OCI_HTYPE_STMT, rowid, nullptr, OCI_ATTR_ROWID, err_));
  RawRowid raw = decode(rowid);
  EXPECT_NE(0u, raw.object);
  std::string expected = rows(svc_, "select rowid from dept where deptno = 60").at(0);
  EXPECT_EQ(expected, extendedText(raw));

  char text[19] = {};
  ub2 len = sizeof text;
  ASSERT_OCI(OCI_SUCCESS,
             oci().OCIRowidToChar(rowid, reinterpret_cast<OraText*>(text), &len, err_));
  EXPECT_EQ(18, len);
  EXPECT_EQ(expected, std::string(text));

  OCIStmt* update = newStatement("update dept set loc = 'BERGEN' where deptno = 10");
  ASSERT_OCI(OCI_SUCCESS, oci().OCIStmtExecute(svc_, update, err_, 1, 0, nullptr, nullptr, 0));
  oci().OCIAttrGet(update, OCI_HTYPE_STMT, rowid, nullptr, OCI_ATTR_ROWID, err_);
  EXPECT_EQ(rows(svc_, "select rowid from dept where deptno = 10").at(0),
            extendedText(decode(rowid)));
}

TEST_F(OciLongRowidTest, RowidColumnsIntoDescriptorsAndBackIntoBinds) {
  OCIRowid* rowid = nullptr;
  oci().OCIDescriptorAlloc(env_, reinterpret_cast<void**>(&rowid), OCI_DTYPE_ROWID, 0, nullptr);
  OCIStmt* stmt = newStatement("select rowid from emp where empno = 7839");
  OCIDefine* def = nullptr;
  oci().OCIDefineByPos(stmt, &def, err_, 1, &rowid, sizeof rowid, SQLT_RDD, nullptr, nullptr,
                       nullptr, 0);
  ASSERT_OCI(OCI_SUCCESS, oci().OCIStmtExecute(svc_, stmt, err_, 1, 0, nullptr, nullptr, 0));

  OCIStmt* byRowid = newStatement("select ename from emp where rowid = :r");
  OCIBind* b = nullptr;
  oci().OCIBindByName(byRowid, &b, err_, reinterpret_cast<const OraText*>(":r"), -1, &rowid,
                      sizeof rowid, SQLT_RDD, nullptr, nullptr, nullptr, 0, nullptr, 0);
  char name[11] = {};
  oci().OCIDefineByPos(byRowid, &def, err_, 1, name, sizeof name, SQLT_STR, nullptr, nullptr,
                       nullptr, 0);
  ASSERT_OCI(OCI_SUCCESS, oci().OCIStmtExecute(svc_, byRowid, err_, 1, 0, nullptr, nullptr, 0));
  EXPECT_STREQ("KING", name);
}

TEST_F(OciLongRowidTest, RowidToCharNeedsRoomForEighteenCharacters) {
  OCIRowid* rowid = nullptr;
  oci().OCIDescriptorAlloc(env_, reinterpret_cast<void**>(&rowid), OCI_DTYPE_ROWID, 0, nullptr);
  char text[10];
  ub2 len = sizeof text;
  EXPECT_EQ(OCI_ERROR, oci().OCIRowidToChar(rowid, reinterpret_cast<OraText*>(text), &len, err_));
  EXPECT_EQ(1410, errorCode());
  OCIStmt* insert = newStatement("insert into dept values (61, 'X', 'Y')");
  oci().OCIStmtExecute(svc_, insert, err_, 1, 0, nullptr, nullptr, 0);
  oci().OCIAttrGet(insert, OCI_HTYPE_STMT, rowid, nullptr, OCI_ATTR_ROWID, err_);
  EXPECT_EQ(OCI_ERROR, oci().OCIRowidToChar(rowid, reinterpret_cast<OraText*>(text), &len, err_));
  EXPECT_EQ(18, len);
}

}  // namespace
}  // namespace vorn::server::oci_test
