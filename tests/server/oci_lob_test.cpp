// LOB locators through the version 8 calls: defines and binds of CLOB,
// BLOB and BFILE locators, RETURNING ... INTO locators, the row-lock rule
// for writes, read consistency, every OCILob* call with Oracle's results
// and errors, values over 1 MB in pieces, and BFILEs read from a directory
// the test makes.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "oci_support.h"

namespace vorn::server::oci_test {
namespace {

namespace fs = std::filesystem;

class OciLobTest : public OciTest {
 protected:
  void SetUp() override {
    OciTest::SetUp();
    svc_ = scott();
    run(svc_, "create table docs (id number primary key, body clob, pic blob, f bfile)");
    run(svc_,
        "insert into docs values (1, 'Hello, LOB', hextoraw('00010203'), "
        "bfilename('LOB_DIR', 'note.txt'))");
    run(svc_, "insert into docs values (2, empty_clob(), empty_blob(), null)");
    run(svc_, "insert into docs (id) values (3)");
    run(svc_, "commit");
  }

  OCILobLocator* newLocator(ub4 type = OCI_DTYPE_LOB) {
    OCILobLocator* l = nullptr;
    EXPECT_EQ(OCI_SUCCESS,
              oci().OCIDescriptorAlloc(env_, reinterpret_cast<void**>(&l), type, 0, nullptr));
    locators_.push_back(l);
    return l;
  }

  void TearDown() override {
    for (OCILobLocator* l : locators_)
      oci().OCIDescriptorFree(l, OCI_DTYPE_LOB);
    OciTest::TearDown();
  }

  // Selects one LOB column into `locator`; the indicator comes back.
  sb2 select(const std::string& sql, ub2 dty, OCILobLocator*& locator) {
    OCIStmt* stmt = newStatement(sql);
    OCIDefine* def = nullptr;
    sb2 ind = 99;
    EXPECT_OCI(OCI_SUCCESS, oci().OCIDefineByPos(stmt, &def, err_, 1, &locator, sizeof locator, dty,
                                                 &ind, nullptr, nullptr, OCI_DEFAULT));
    EXPECT_OCI(OCI_SUCCESS,
               oci().OCIStmtExecute(svc_, stmt, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT));
    return ind;
  }

  ub4 length(OCILobLocator* l) {
    ub4 n = 12345;
    EXPECT_OCI(OCI_SUCCESS, oci().OCILobGetLength(svc_, err_, l, &n));
    return n;
  }

  // The whole LOB in one read.
  std::string readAll(OCILobLocator* l) {
    std::string buf(length(l) + 1, '\0');
    ub4 amount = 0;
    sword status =
        oci().OCILobRead(svc_, err_, l, &amount, 1, buf.data(), static_cast<ub4>(buf.size()),
                         nullptr, nullptr, 0, SQLCS_IMPLICIT);
    if (status == OCI_NO_DATA) return {};
    EXPECT_EQ(OCI_SUCCESS, status) << errorText();
    buf.resize(amount);
    return buf;
  }

  sword write(OCILobLocator* l, ub4 offset, const std::string& data) {
    ub4 amount = static_cast<ub4>(data.size());
    return oci().OCILobWrite(svc_, err_, l, &amount, offset, const_cast<char*>(data.data()),
                             static_cast<ub4>(data.size()), OCI_ONE_PIECE, nullptr, nullptr, 0,
                             SQLCS_IMPLICIT);
  }

  std::string firstRow(const std::string& sql) {
    auto r = rows(svc_, sql);
    return r.empty() ? "<none>" : r[0];
  }

  OCISvcCtx* svc_ = nullptr;
  std::vector<OCILobLocator*> locators_;
};

// ---------------------------------------------------------------------------
// Defines and reads

TEST_F(OciLobTest, SelectedClobAndBlobReadThroughTheirLocators) {
  OCILobLocator* clob = newLocator();
  OCILobLocator* blob = newLocator();
  ASSERT_EQ(0, select("select body from docs where id = 1", SQLT_CLOB, clob));
  ASSERT_EQ(0, select("select pic from docs where id = 1", SQLT_BLOB, blob));

  EXPECT_EQ(10u, length(clob));
  EXPECT_EQ("Hello, LOB", readAll(clob));
  EXPECT_EQ(4u, length(blob));
  EXPECT_EQ(std::string("\x00\x01\x02\x03", 4), readAll(blob));
  boolean init = 0;
  EXPECT_OCI(OCI_SUCCESS, oci().OCILobLocatorIsInit(env_, err_, clob, &init));
  EXPECT_EQ(1, init);
}

TEST_F(OciLobTest, ReadsFromAnOffsetInCharacters) {
  OCILobLocator* clob = newLocator();
  select("select body from docs where id = 1", SQLT_CLOB, clob);
  char buf[4] = {};
  ub4 amount = 3;
  ASSERT_OCI(OCI_SUCCESS, oci().OCILobRead(svc_, err_, clob, &amount, 8, buf, sizeof buf, nullptr,
                                           nullptr, 0, SQLCS_IMPLICIT));
  EXPECT_EQ(3u, amount);
  EXPECT_EQ("LOB", std::string(buf, amount));
}

TEST_F(OciLobTest, OffsetZeroIsAnInvalidArgumentAndPastTheEndIsNoData) {
  OCILobLocator* clob = newLocator();
  select("select body from docs where id = 1", SQLT_CLOB, clob);
  char buf[8];
  ub4 amount = 2;
  EXPECT_EQ(OCI_ERROR, oci().OCILobRead(svc_, err_, clob, &amount, 0, buf, sizeof buf, nullptr,
                                        nullptr, 0, SQLCS_IMPLICIT));
  EXPECT_EQ(21560, errorCode());
  amount = 2;
  EXPECT_EQ(OCI_NO_DATA, oci().OCILobRead(svc_, err_, clob, &amount, 11, buf, sizeof buf, nullptr,
                                          nullptr, 0, SQLCS_IMPLICIT));
  EXPECT_EQ(0u, amount);
}

TEST_F(OciLobTest, EmptyLobIsNotNullAndHasLengthZero) {
  OCILobLocator* clob = newLocator();
  OCILobLocator* blob = newLocator();
  EXPECT_EQ(0, select("select body from docs where id = 2", SQLT_CLOB, clob));
  EXPECT_EQ(0, select("select pic from docs where id = 2", SQLT_BLOB, blob));
  EXPECT_EQ(0u, length(clob));
  EXPECT_EQ(0u, length(blob));
  EXPECT_EQ("0|0", firstRow("select length(body), dbms_lob.getlength(pic) from docs where id = 2"));
}

TEST_F(OciLobTest, NullLobSetsTheIndicatorAndLeavesTheLocatorEmpty) {
  OCILobLocator* clob = newLocator();
  EXPECT_EQ(-1, select("select body from docs where id = 3", SQLT_CLOB, clob));
  boolean init = 1;
  EXPECT_OCI(OCI_SUCCESS, oci().OCILobLocatorIsInit(env_, err_, clob, &init));
  EXPECT_EQ(0, init);
  ub4 n = 0;
  EXPECT_EQ(OCI_ERROR, oci().OCILobGetLength(svc_, err_, clob, &n));
  EXPECT_EQ(22275, errorCode());
}

TEST_F(OciLobTest, LocatorOfAnotherLobTypeIsInconsistent) {
  OCILobLocator* blob = newLocator();
  OCIStmt* stmt = newStatement("select body from docs where id = 1");
  OCIDefine* def = nullptr;
  oci().OCIDefineByPos(stmt, &def, err_, 1, &blob, sizeof blob, SQLT_BLOB, nullptr, nullptr,
                       nullptr, OCI_DEFAULT);
  EXPECT_EQ(OCI_ERROR, oci().OCIStmtExecute(svc_, stmt, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT));
  EXPECT_EQ("ORA-00932: inconsistent datatypes: expected BLOB got CLOB\n", errorText());
}

TEST_F(OciLobTest, ArrayFetchFillsOneLocatorPerRow) {
  OCILobLocator* locs[3] = {newLocator(), newLocator(), newLocator()};
  sb2 ind[3] = {9, 9, 9};
  OCIStmt* stmt = newStatement("select body from docs order by id");
  OCIDefine* def = nullptr;
  oci().OCIDefineByPos(stmt, &def, err_, 1, locs, sizeof locs[0], SQLT_CLOB, ind, nullptr, nullptr,
                       OCI_DEFAULT);
  ASSERT_OCI(OCI_SUCCESS,
             oci().OCIStmtExecute(svc_, stmt, err_, 3, 0, nullptr, nullptr, OCI_DEFAULT));
  EXPECT_EQ(0, ind[0]);
  EXPECT_EQ(0, ind[1]);
  EXPECT_EQ(-1, ind[2]);
  EXPECT_EQ("Hello, LOB", readAll(locs[0]));
  EXPECT_EQ(0u, length(locs[1]));
}

TEST_F(OciLobTest, CharacterSetOfAClobIsTheDatabasesAndABlobHasNone) {
  OCILobLocator* clob = newLocator();
  OCILobLocator* blob = newLocator();
  select("select body from docs where id = 1", SQLT_CLOB, clob);
  select("select pic from docs where id = 1", SQLT_BLOB, blob);
  ub2 id = 0;
  ub1 form = 9;
  EXPECT_OCI(OCI_SUCCESS, oci().OCILobCharSetId(env_, err_, clob, &id));
  EXPECT_EQ(31, id);  // WE8ISO8859P1
  EXPECT_OCI(OCI_SUCCESS, oci().OCILobCharSetForm(env_, err_, clob, &form));
  EXPECT_EQ(SQLCS_IMPLICIT, form);
  EXPECT_OCI(OCI_SUCCESS, oci().OCILobCharSetId(env_, err_, blob, &id));
  EXPECT_EQ(0, id);
  EXPECT_OCI(OCI_SUCCESS, oci().OCILobCharSetForm(env_, err_, blob, &form));
  EXPECT_EQ(0, form);
}

// ---------------------------------------------------------------------------
// Writes and the row-lock rule

TEST_F(OciLobTest, LocatorFromSelectForUpdateWritesTheRow) {
  OCILobLocator* clob = newLocator();
  select("select body from docs where id = 1 for update", SQLT_CLOB, clob);
  ASSERT_OCI(OCI_SUCCESS, write(clob, 8, "Oracle"));
  EXPECT_EQ("Hello, Oracle", readAll(clob));
  run(svc_, "commit");
  EXPECT_EQ("Hello, Oracle", firstRow("select body from docs where id = 1"));
}

TEST_F(OciLobTest, WritingARowThatIsNotLockedIsOra22920) {
  OCILobLocator* clob = newLocator();
  select("select body from docs where id = 1", SQLT_CLOB, clob);
  EXPECT_EQ(OCI_ERROR, write(clob, 1, "x"));
  EXPECT_EQ("ORA-22920: row containing the LOB value is not locked\n", errorText());
  EXPECT_EQ("Hello, LOB", readAll(clob));
  EXPECT_EQ("Hello, LOB", firstRow("select body from docs where id = 1"));
}

TEST_F(OciLobTest, LobReadWithoutItsRowIsNotWritten) {
  OCILobLocator* computed = newLocator();
  select("select to_clob('x') from dual", SQLT_CLOB, computed);
  EXPECT_EQ("x", readAll(computed));
  EXPECT_EQ(OCI_ERROR, write(computed, 1, "y"));
  EXPECT_EQ(22920, errorCode());
  EXPECT_EQ("x", readAll(computed));
}

TEST_F(OciLobTest, CommitReleasesTheLockSoTheLocatorNoLongerWrites) {
  OCILobLocator* clob = newLocator();
  select("select body from docs where id = 1 for update", SQLT_CLOB, clob);
  run(svc_, "commit");
  EXPECT_EQ(OCI_ERROR, write(clob, 1, "x"));
  EXPECT_EQ(22920, errorCode());
}

TEST_F(OciLobTest, RowUpdatedInTheTransactionIsLockedForItsLocators) {
  run(svc_, "update docs set id = id where id = 1");
  OCILobLocator* clob = newLocator();
  select("select body from docs where id = 1", SQLT_CLOB, clob);
  EXPECT_OCI(OCI_SUCCESS, write(clob, 1, "J"));
  EXPECT_EQ("Jello, LOB", firstRow("select body from docs where id = 1"));
}

TEST_F(OciLobTest, RollbackUndoesALobWrite) {
  OCILobLocator* clob = newLocator();
  select("select body from docs where id = 1 for update", SQLT_CLOB, clob);
  ASSERT_OCI(OCI_SUCCESS, write(clob, 1, "J"));
  run(svc_, "rollback");
  EXPECT_EQ("Hello, LOB", firstRow("select body from docs where id = 1"));
}

TEST_F(OciLobTest, LocatorKeepsReadingTheValueItWasSelectedWith) {
  OCILobLocator* clob = newLocator();
  select("select body from docs where id = 1", SQLT_CLOB, clob);
  run(svc_, "update docs set body = 'changed' where id = 1");
  run(svc_, "commit");
  EXPECT_EQ("Hello, LOB", readAll(clob));
  OCILobLocator* fresh = newLocator();
  select("select body from docs where id = 1", SQLT_CLOB, fresh);
  EXPECT_EQ("changed", readAll(fresh));
}

TEST_F(OciLobTest, InsertReturningAnEmptyClobLocatorThenWritingThroughIt) {
  OCIStmt* stmt =
      newStatement("insert into docs (id, body) values (10, empty_clob()) returning body into :b");
  OCILobLocator* clob = newLocator();
  OCIBind* bind = nullptr;
  ASSERT_OCI(OCI_SUCCESS,
             oci().OCIBindByName(stmt, &bind, err_, reinterpret_cast<const OraText*>(":b"), -1,
                                 &clob, sizeof clob, SQLT_CLOB, nullptr, nullptr, nullptr, 0,
                                 nullptr, OCI_DEFAULT));
  ASSERT_OCI(OCI_SUCCESS,
             oci().OCIStmtExecute(svc_, stmt, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT));
  EXPECT_EQ(0u, length(clob));
  ASSERT_OCI(OCI_SUCCESS, write(clob, 1, "written after insert"));
  run(svc_, "commit");
  EXPECT_EQ("written after insert", firstRow("select body from docs where id = 10"));
}

TEST_F(OciLobTest, UpdateReturningALocatorPointsAtTheUpdatedRow) {
  OCIStmt* stmt =
      newStatement("update docs set pic = empty_blob() where id = 3 returning pic into :p");
  OCILobLocator* blob = newLocator();
  OCIBind* bind = nullptr;
  oci().OCIBindByName(stmt, &bind, err_, reinterpret_cast<const OraText*>(":p"), -1, &blob,
                      sizeof blob, SQLT_BLOB, nullptr, nullptr, nullptr, 0, nullptr, OCI_DEFAULT);
  ASSERT_OCI(OCI_SUCCESS,
             oci().OCIStmtExecute(svc_, stmt, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT));
  ASSERT_OCI(OCI_SUCCESS, write(blob, 1, std::string("\xff\xfe", 2)));
  EXPECT_EQ("FFFE", firstRow("select rawtohex(dbms_lob.substr(pic)) from docs where id = 3"));
}

TEST_F(OciLobTest, WritePastTheEndFillsWithBlanksOrZeroBytes) {
  OCILobLocator* clob = newLocator();
  OCILobLocator* blob = newLocator();
  select("select body from docs where id = 2 for update", SQLT_CLOB, clob);
  select("select pic from docs where id = 2 for update", SQLT_BLOB, blob);
  ASSERT_OCI(OCI_SUCCESS, write(clob, 3, "x"));
  ASSERT_OCI(OCI_SUCCESS, write(blob, 3, "x"));
  EXPECT_EQ("  x", readAll(clob));
  EXPECT_EQ(std::string("\0\0x", 3), readAll(blob));
}

// ---------------------------------------------------------------------------
// Values over 1 MB in pieces

constexpr size_t kBig = 1536 * 1024 + 7;

std::string bigText() {
  std::string s(kBig, ' ');
  for (size_t i = 0; i < s.size(); ++i)
    s[i] = static_cast<char>('a' + i % 26);
  return s;
}

TEST_F(OciLobTest, LargeClobWrittenAndReadInPolledPieces) {
  OCILobLocator* clob = newLocator();
  select("select body from docs where id = 2 for update", SQLT_CLOB, clob);
  const std::string text = bigText();
  const size_t piece = 64 * 1024;
  ub4 amount = static_cast<ub4>(text.size());
  size_t sent = 0;
  sword status = OCI_NEED_DATA;
  for (ub1 kind = OCI_FIRST_PIECE; sent < text.size(); kind = OCI_NEXT_PIECE) {
    size_t n = std::min(piece, text.size() - sent);
    if (sent + n == text.size()) kind = OCI_LAST_PIECE;
    status = oci().OCILobWrite(svc_, err_, clob, &amount, 1, const_cast<char*>(text.data() + sent),
                               static_cast<ub4>(n), kind, nullptr, nullptr, 0, SQLCS_IMPLICIT);
    sent += n;
    ASSERT_EQ(kind == OCI_LAST_PIECE ? OCI_SUCCESS : OCI_NEED_DATA, status) << errorText();
  }
  EXPECT_EQ(text.size(), amount);
  run(svc_, "commit");

  OCILobLocator* again = newLocator();
  select("select body from docs where id = 2", SQLT_CLOB, again);
  EXPECT_EQ(text.size(), length(again));
  std::string back;
  std::string buf(50000, '\0');
  ub4 want = 0;  // to the end
  int calls = 0;
  do {
    ub4 got = want;
    status = oci().OCILobRead(svc_, err_, again, &got, 1, buf.data(), static_cast<ub4>(buf.size()),
                              nullptr, nullptr, 0, SQLCS_IMPLICIT);
    ASSERT_TRUE(status == OCI_NEED_DATA || status == OCI_SUCCESS) << errorText();
    back.append(buf.data(), got);
    ++calls;
  } while (status == OCI_NEED_DATA);
  EXPECT_EQ(text, back);
  EXPECT_EQ(static_cast<int>((text.size() + buf.size() - 1) / buf.size()), calls);
  EXPECT_EQ(std::to_string(text.size()),
            firstRow("select dbms_lob.getlength(body) from docs where id = 2"));
}

struct Collected {
  std::string data;
  std::vector<ub1> pieces;
};

sb4 collect(void* ctx, const void* buf, ub4 len, ub1 piece) {
  auto* c = static_cast<Collected*>(ctx);
  c->data.append(static_cast<const char*>(buf), len);
  c->pieces.push_back(piece);
  return OCI_CONTINUE;
}

struct Feeder {
  const std::string* source;
  size_t sent = 0;
};

sb4 feed(void* ctx, void* buf, ub4* len, ub1* piece) {
  auto* f = static_cast<Feeder*>(ctx);
  size_t n = std::min<size_t>(*len, f->source->size() - f->sent);
  std::memcpy(buf, f->source->data() + f->sent, n);
  f->sent += n;
  *len = static_cast<ub4>(n);
  *piece = f->sent == f->source->size() ? OCI_LAST_PIECE : OCI_NEXT_PIECE;
  return OCI_CONTINUE;
}

TEST_F(OciLobTest, LargeBlobWrittenAndReadThroughCallbacks) {
  OCILobLocator* blob = newLocator();
  select("select pic from docs where id = 2 for update", SQLT_BLOB, blob);
  const std::string bytes = bigText();
  std::string buf(100000, '\0');
  std::memcpy(buf.data(), bytes.data(), buf.size());
  Feeder feeder{&bytes, buf.size()};
  ub4 amount = static_cast<ub4>(bytes.size());
  ASSERT_OCI(OCI_SUCCESS,
             oci().OCILobWrite(svc_, err_, blob, &amount, 1, buf.data(),
                               static_cast<ub4>(buf.size()), OCI_FIRST_PIECE, &feeder, feed, 0, 0));
  EXPECT_EQ(bytes.size(), amount);

  Collected got;
  ub4 want = 0;
  ASSERT_OCI(OCI_SUCCESS, oci().OCILobRead(svc_, err_, blob, &want, 1, buf.data(),
                                           static_cast<ub4>(buf.size()), &got, collect, 0, 0));
  EXPECT_EQ(bytes.size(), want);
  EXPECT_EQ(bytes, got.data);
  ASSERT_GE(got.pieces.size(), 2u);
  EXPECT_EQ(OCI_FIRST_PIECE, got.pieces.front());
  EXPECT_EQ(OCI_LAST_PIECE, got.pieces.back());
}

// ---------------------------------------------------------------------------
// Append, copy, erase, trim, equality, assignment, temporary LOBs

TEST_F(OciLobTest, AppendCopyEraseAndTrimChangeTheRow) {
  OCILobLocator* dst = newLocator();
  OCILobLocator* src = newLocator();
  select("select body from docs where id = 1 for update", SQLT_CLOB, dst);
  select("select body from docs where id = 1", SQLT_CLOB, src);

  ASSERT_OCI(OCI_SUCCESS, oci().OCILobAppend(svc_, err_, dst, src));
  EXPECT_EQ("Hello, LOBHello, LOB", readAll(dst));
  ASSERT_OCI(OCI_SUCCESS, oci().OCILobCopy(svc_, err_, dst, src, 5, 23, 1));
  // Characters 21 and 22 did not exist: blanks fill them.
  EXPECT_EQ("Hello, LOBHello, LOB  Hello", readAll(dst));
  ub4 erased = 100;
  ASSERT_OCI(OCI_SUCCESS, oci().OCILobErase(svc_, err_, dst, &erased, 25));
  EXPECT_EQ(3u, erased);
  EXPECT_EQ("Hello, LOBHello, LOB  He   ", readAll(dst));
  ASSERT_OCI(OCI_SUCCESS, oci().OCILobTrim(svc_, err_, dst, 5));
  EXPECT_EQ(OCI_ERROR, oci().OCILobTrim(svc_, err_, dst, 6));
  EXPECT_EQ(22926, errorCode());
  run(svc_, "commit");
  EXPECT_EQ("Hello", firstRow("select body from docs where id = 1"));
}

TEST_F(OciLobTest, AppendToARowThatIsNotLockedChangesNothing) {
  OCILobLocator* dst = newLocator();
  select("select body from docs where id = 1", SQLT_CLOB, dst);
  EXPECT_EQ(OCI_ERROR, oci().OCILobAppend(svc_, err_, dst, dst));
  EXPECT_EQ(22920, errorCode());
  EXPECT_EQ("Hello, LOB", readAll(dst));
}

TEST_F(OciLobTest, LocatorsOfTheSameRowAreEqualAndAssignCopiesOne) {
  OCILobLocator* a = newLocator();
  OCILobLocator* b = newLocator();
  OCILobLocator* c = newLocator();
  select("select body from docs where id = 1", SQLT_CLOB, a);
  select("select body from docs where id = 1", SQLT_CLOB, b);
  select("select body from docs where id = 2", SQLT_CLOB, c);
  boolean equal = 9;
  EXPECT_EQ(OCI_SUCCESS, oci().OCILobIsEqual(env_, a, b, &equal));
  EXPECT_EQ(1, equal);
  EXPECT_EQ(OCI_SUCCESS, oci().OCILobIsEqual(env_, a, c, &equal));
  EXPECT_EQ(0, equal);

  OCILobLocator* copy = newLocator();
  ASSERT_OCI(OCI_SUCCESS, oci().OCILobAssign(env_, err_, a, &copy));
  EXPECT_EQ("Hello, LOB", readAll(copy));
  EXPECT_EQ(OCI_SUCCESS, oci().OCILobIsEqual(env_, a, copy, &equal));
  EXPECT_EQ(1, equal);
}

TEST_F(OciLobTest, TemporaryLobLivesInItsLocatorAndBindsAsAValue) {
  OCILobLocator* temp = newLocator();
  boolean flag = 9;
  ASSERT_OCI(OCI_SUCCESS, oci().OCILobCreateTemporary(svc_, err_, temp, 0, SQLCS_IMPLICIT,
                                                      OCI_TEMP_CLOB, 0, OCI_DURATION_SESSION));
  EXPECT_OCI(OCI_SUCCESS, oci().OCILobIsTemporary(env_, err_, temp, &flag));
  EXPECT_EQ(1, flag);
  ASSERT_OCI(OCI_SUCCESS, write(temp, 1, "temporary text"));

  OCIStmt* stmt = newStatement("insert into docs (id, body) values (20, :b)");
  OCIBind* bind = nullptr;
  oci().OCIBindByName(stmt, &bind, err_, reinterpret_cast<const OraText*>(":b"), -1, &temp,
                      sizeof temp, SQLT_CLOB, nullptr, nullptr, nullptr, 0, nullptr, OCI_DEFAULT);
  ASSERT_OCI(OCI_SUCCESS,
             oci().OCIStmtExecute(svc_, stmt, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT));
  EXPECT_EQ("temporary text", firstRow("select body from docs where id = 20"));

  ASSERT_OCI(OCI_SUCCESS, oci().OCILobFreeTemporary(svc_, err_, temp));
  EXPECT_OCI(OCI_SUCCESS, oci().OCILobLocatorIsInit(env_, err_, temp, &flag));
  EXPECT_EQ(0, flag);
}

TEST_F(OciLobTest, LocatorMarkedEmptyInsertsAnEmptyLob) {
  OCILobLocator* empty = newLocator();
  ub4 zero = 0;
  ASSERT_OCI(OCI_SUCCESS,
             oci().OCIAttrSet(empty, OCI_DTYPE_LOB, &zero, 0, OCI_ATTR_LOBEMPTY, err_));
  OCIStmt* stmt = newStatement("insert into docs (id, body) values (21, :b)");
  OCIBind* bind = nullptr;
  oci().OCIBindByName(stmt, &bind, err_, reinterpret_cast<const OraText*>(":b"), -1, &empty,
                      sizeof empty, SQLT_CLOB, nullptr, nullptr, nullptr, 0, nullptr, OCI_DEFAULT);
  ASSERT_OCI(OCI_SUCCESS,
             oci().OCIStmtExecute(svc_, stmt, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT));
  EXPECT_EQ("0", firstRow("select length(body) from docs where id = 21"));
}

TEST_F(OciLobTest, OpenCloseBufferingAndChunkSize) {
  OCILobLocator* clob = newLocator();
  select("select body from docs where id = 1 for update", SQLT_CLOB, clob);
  boolean open = 9;
  EXPECT_OCI(OCI_SUCCESS, oci().OCILobIsOpen(svc_, err_, clob, &open));
  EXPECT_EQ(0, open);
  EXPECT_OCI(OCI_SUCCESS, oci().OCILobOpen(svc_, err_, clob, OCI_LOB_READWRITE));
  EXPECT_EQ(OCI_ERROR, oci().OCILobOpen(svc_, err_, clob, OCI_LOB_READWRITE));
  EXPECT_EQ(22293, errorCode());
  EXPECT_OCI(OCI_SUCCESS, oci().OCILobIsOpen(svc_, err_, clob, &open));
  EXPECT_EQ(1, open);
  EXPECT_OCI(OCI_SUCCESS, oci().OCILobEnableBuffering(svc_, err_, clob));
  EXPECT_OCI(OCI_SUCCESS, write(clob, 1, "Y"));
  EXPECT_OCI(OCI_SUCCESS, oci().OCILobFlushBuffer(svc_, err_, clob, OCI_LOB_BUFFER_NOFREE));
  EXPECT_OCI(OCI_SUCCESS, oci().OCILobDisableBuffering(svc_, err_, clob));
  EXPECT_OCI(OCI_SUCCESS, oci().OCILobClose(svc_, err_, clob));
  EXPECT_EQ(OCI_ERROR, oci().OCILobClose(svc_, err_, clob));
  EXPECT_EQ(22289, errorCode());
  ub4 chunk = 0;
  EXPECT_OCI(OCI_SUCCESS, oci().OCILobGetChunkSize(svc_, err_, clob, &chunk));
  EXPECT_GT(chunk, 0u);
  EXPECT_EQ("Yello, LOB", firstRow("select body from docs where id = 1"));
}

TEST_F(OciLobTest, CallsCheckTheirHandles) {
  OCILobLocator* clob = newLocator();
  ub4 n = 0;
  EXPECT_EQ(OCI_INVALID_HANDLE, oci().OCILobGetLength(nullptr, err_, clob, &n));
  EXPECT_EQ(OCI_INVALID_HANDLE, oci().OCILobGetLength(svc_, err_, nullptr, &n));
  EXPECT_EQ(OCI_INVALID_HANDLE,
            oci().OCILobGetLength(svc_, err_, reinterpret_cast<OCILobLocator*>(err_), &n));
  boolean equal = 0;
  EXPECT_EQ(OCI_INVALID_HANDLE, oci().OCILobIsEqual(env_, clob, nullptr, &equal));
}

// ---------------------------------------------------------------------------
// BFILEs

class OciBfileTest : public OciLobTest {
 protected:
  void SetUp() override {
    OciLobTest::SetUp();
    folder_ = fs::path(databasePath()).parent_path() / "lob_dir";
    fs::create_directories(folder_);
    std::ofstream(folder_ / "note.txt", std::ios::binary) << "A note on disk.";
    run(svc_, "create or replace directory lob_dir as '" + folder_.string() + "'");
  }
  void TearDown() override {
    OciLobTest::TearDown();
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }

  OCILobLocator* selectFile() {
    OCILobLocator* f = newLocator(OCI_DTYPE_FILE);
    EXPECT_EQ(0, select("select f from docs where id = 1", SQLT_BFILEE, f));
    return f;
  }

  fs::path folder_;
};

TEST_F(OciBfileTest, DirectoryIsListedInAllDirectories) {
  EXPECT_EQ("LOB_DIR|" + folder_.string(),
            firstRow("select directory_name, directory_path from all_directories"));
}

TEST_F(OciBfileTest, FileIsReadAfterItIsOpened) {
  OCILobLocator* f = selectFile();
  boolean flag = 9;
  EXPECT_OCI(OCI_SUCCESS, oci().OCILobFileExists(svc_, err_, f, &flag));
  EXPECT_EQ(1, flag);
  EXPECT_OCI(OCI_SUCCESS, oci().OCILobFileIsOpen(svc_, err_, f, &flag));
  EXPECT_EQ(0, flag);
  char buf[32];
  ub4 amount = 0;
  EXPECT_EQ(OCI_ERROR,
            oci().OCILobRead(svc_, err_, f, &amount, 1, buf, sizeof buf, nullptr, nullptr, 0, 0));
  EXPECT_EQ("ORA-22289: cannot perform FILEREAD operation on an unopened file or LOB\n",
            errorText());

  ASSERT_OCI(OCI_SUCCESS, oci().OCILobFileOpen(svc_, err_, f, OCI_FILE_READONLY));
  EXPECT_OCI(OCI_SUCCESS, oci().OCILobFileIsOpen(svc_, err_, f, &flag));
  EXPECT_EQ(1, flag);
  EXPECT_EQ(15u, length(f));
  EXPECT_EQ("A note on disk.", readAll(f));
  ASSERT_OCI(OCI_SUCCESS, oci().OCILobFileClose(svc_, err_, f));
  EXPECT_OCI(OCI_SUCCESS, oci().OCILobFileIsOpen(svc_, err_, f, &flag));
  EXPECT_EQ(0, flag);
}

TEST_F(OciBfileTest, NameOfTheFileComesBack) {
  OCILobLocator* f = selectFile();
  OraText dir[31], name[256];
  ub2 dirLength = sizeof dir, nameLength = sizeof name;
  ASSERT_OCI(OCI_SUCCESS,
             oci().OCILobFileGetName(env_, err_, f, dir, &dirLength, name, &nameLength));
  EXPECT_EQ("LOB_DIR", std::string(reinterpret_cast<char*>(dir), dirLength));
  EXPECT_EQ("note.txt", std::string(reinterpret_cast<char*>(name), nameLength));
}

TEST_F(OciBfileTest, SetNameMissingFilesAndDirectories) {
  OCILobLocator* f = newLocator(OCI_DTYPE_FILE);
  auto setName = [&](const std::string& dir, const std::string& file) {
    return oci().OCILobFileSetName(
        env_, err_, &f, reinterpret_cast<const OraText*>(dir.data()), static_cast<ub2>(dir.size()),
        reinterpret_cast<const OraText*>(file.data()), static_cast<ub2>(file.size()));
  };
  ASSERT_OCI(OCI_SUCCESS, setName("LOB_DIR", "missing.bin"));
  boolean flag = 9;
  EXPECT_OCI(OCI_SUCCESS, oci().OCILobFileExists(svc_, err_, f, &flag));
  EXPECT_EQ(0, flag);
  EXPECT_EQ(OCI_ERROR, oci().OCILobFileOpen(svc_, err_, f, OCI_FILE_READONLY));
  EXPECT_EQ(22288, errorCode());

  ASSERT_OCI(OCI_SUCCESS, setName("NO_SUCH_DIR", "note.txt"));
  EXPECT_EQ(OCI_ERROR, oci().OCILobFileOpen(svc_, err_, f, OCI_FILE_READONLY));
  EXPECT_EQ("ORA-22285: non-existent directory or file for FILEOPEN operation\n", errorText());

  // Names that would leave the directory are refused.
  for (const char* escape : {"../note.txt", "/etc/passwd", "sub/note.txt", ".."}) {
    ASSERT_OCI(OCI_SUCCESS, setName("LOB_DIR", escape));
    EXPECT_EQ(OCI_ERROR, oci().OCILobFileOpen(svc_, err_, f, OCI_FILE_READONLY)) << escape;
    EXPECT_EQ(22288, errorCode()) << escape;
  }
  ASSERT_OCI(OCI_SUCCESS, setName("LOB_DIR", "note.txt"));
  EXPECT_OCI(OCI_SUCCESS, oci().OCILobFileOpen(svc_, err_, f, OCI_FILE_READONLY));
}

TEST_F(OciBfileTest, CloseAllClosesEveryFileOfTheSession) {
  OCILobLocator* a = selectFile();
  OCILobLocator* b = selectFile();
  ASSERT_OCI(OCI_SUCCESS, oci().OCILobFileOpen(svc_, err_, a, OCI_FILE_READONLY));
  ASSERT_OCI(OCI_SUCCESS, oci().OCILobFileOpen(svc_, err_, b, OCI_FILE_READONLY));
  ASSERT_OCI(OCI_SUCCESS, oci().OCILobFileCloseAll(svc_, err_));
  boolean flag = 9;
  EXPECT_OCI(OCI_SUCCESS, oci().OCILobFileIsOpen(svc_, err_, a, &flag));
  EXPECT_EQ(0, flag);
  EXPECT_OCI(OCI_SUCCESS, oci().OCILobFileIsOpen(svc_, err_, b, &flag));
  EXPECT_EQ(0, flag);
  EXPECT_EQ(OCI_ERROR, oci().OCILobFileClose(svc_, err_, a));
  EXPECT_EQ(22289, errorCode());
}

TEST_F(OciBfileTest, LoadFromFileCopiesBytesIntoALob) {
  OCILobLocator* f = selectFile();
  OCILobLocator* clob = newLocator();
  select("select body from docs where id = 2 for update", SQLT_CLOB, clob);
  EXPECT_EQ(OCI_ERROR, oci().OCILobLoadFromFile(svc_, err_, clob, f, 6, 1, 3));
  EXPECT_EQ(22289, errorCode());
  ASSERT_OCI(OCI_SUCCESS, oci().OCILobFileOpen(svc_, err_, f, OCI_FILE_READONLY));
  ASSERT_OCI(OCI_SUCCESS, oci().OCILobLoadFromFile(svc_, err_, clob, f, 7, 1, 3));
  EXPECT_EQ("note on", readAll(clob));
  EXPECT_EQ(OCI_ERROR, oci().OCILobLoadFromFile(svc_, err_, clob, f, 100, 1, 1));
  EXPECT_EQ(22993, errorCode());
  run(svc_, "commit");
  EXPECT_EQ("note on", firstRow("select body from docs where id = 2"));
}

TEST_F(OciBfileTest, BfileIsReadOnly) {
  OCILobLocator* f = selectFile();
  ASSERT_OCI(OCI_SUCCESS, oci().OCILobFileOpen(svc_, err_, f, OCI_FILE_READONLY));
  EXPECT_EQ(OCI_ERROR, write(f, 1, "x"));
  EXPECT_EQ(22275, errorCode());
}

TEST_F(OciBfileTest, BfileLocatorBindsIntoABfileColumn) {
  OCILobLocator* f = newLocator(OCI_DTYPE_FILE);
  oci().OCILobFileSetName(env_, err_, &f, reinterpret_cast<const OraText*>("LOB_DIR"), 7,
                          reinterpret_cast<const OraText*>("note.txt"), 8);
  OCIStmt* stmt = newStatement("insert into docs (id, f) values (30, :f)");
  OCIBind* bind = nullptr;
  oci().OCIBindByName(stmt, &bind, err_, reinterpret_cast<const OraText*>(":f"), -1, &f, sizeof f,
                      SQLT_BFILEE, nullptr, nullptr, nullptr, 0, nullptr, OCI_DEFAULT);
  ASSERT_OCI(OCI_SUCCESS,
             oci().OCIStmtExecute(svc_, stmt, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT));
  EXPECT_EQ("15", firstRow("select dbms_lob.getlength(f) from docs where id = 30"));
}

}  // namespace
}  // namespace vorn::server::oci_test
