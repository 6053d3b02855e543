// Binds by name and position in every external type, NULL indicators,
// conversions on the way in, array DML with a failing row, RETURNING INTO.
#include <algorithm>
#include <cstring>

#include "oci_support.h"

namespace vorn::server::oci_test {
namespace {

class OciBindTest : public OciTest {
 protected:
  void SetUp() override {
    OciTest::SetUp();
    svc_ = scott();
    run(svc_,
        "create table b (id number(5) primary key, n number, v varchar2(30), d date, r raw(10), "
        "l long)");
  }

  OCIBind* bindName(OCIStmt* stmt, const char* name, void* value, sb4 size, ub2 dty,
                    sb2* ind = nullptr, ub2* alen = nullptr) {
    OCIBind* b = nullptr;
    EXPECT_OCI(OCI_SUCCESS,
               oci().OCIBindByName(stmt, &b, err_, reinterpret_cast<const OraText*>(name), -1,
                                   value, size, dty, ind, alen, nullptr, 0, nullptr, 0));
    return b;
  }

  sword exec(OCIStmt* stmt, ub4 iters = 1, ub4 rowoff = 0, ub4 mode = OCI_DEFAULT) {
    return oci().OCIStmtExecute(svc_, stmt, err_, iters, rowoff, nullptr, nullptr, mode);
  }

  OCISvcCtx* svc_ = nullptr;
};

TEST_F(OciBindTest, EveryInputTypeByNameAndPosition) {
  OCIStmt* stmt = newStatement("insert into b (id, n, v, d, r) values (:id, :n, :v, :d, :r)");
  int id = 1;
  double n = 2.5;
  char v[] = "text";
  ub1 d[7] = {120, 101, 12, 31, 24, 60, 60};
  ub1 r[3] = {1, 2, 3};
  ub2 rlen = 3;
  bindName(stmt, ":ID", &id, sizeof id, SQLT_INT);
  bindName(stmt, ":n", &n, sizeof n, SQLT_FLT);
  bindName(stmt, ":v", v, sizeof v, SQLT_STR);
  bindName(stmt, ":d", d, sizeof d, SQLT_DAT);
  bindName(stmt, ":r", r, sizeof r, SQLT_BIN, nullptr, &rlen);
  ASSERT_OCI(OCI_SUCCESS, exec(stmt));
  EXPECT_EQ(1u, rowCount(stmt));

  OCIStmt* byPos = newStatement("insert into b (id, n, v, d, r) values (:1, :2, :3, :4, :5)");
  ub1 num[2] = {194, 2};  // 100
  struct {
    ub2 len;
    char data[10];
  } vcs = {3, "abc"};
  OCIDate od{};
  od.OCIDateYYYY = 1999;
  od.OCIDateMM = 7;
  od.OCIDateDD = 4;
  unsigned short uid = 2;
  struct {
    sb4 len;
    ub1 data[4];
  } lvb = {2, {0xAB, 0xCD}};
  ub2 numLen = 2;
  OCIBind* bp[5] = {};
  oci().OCIBindByPos(byPos, &bp[0], err_, 1, &uid, sizeof uid, SQLT_UIN, nullptr, nullptr, nullptr,
                     0, nullptr, 0);
  oci().OCIBindByPos(byPos, &bp[1], err_, 2, num, sizeof num, SQLT_NUM, nullptr, &numLen, nullptr,
                     0, nullptr, 0);
  oci().OCIBindByPos(byPos, &bp[2], err_, 3, &vcs, sizeof vcs, SQLT_VCS, nullptr, nullptr, nullptr,
                     0, nullptr, 0);
  oci().OCIBindByPos(byPos, &bp[3], err_, 4, &od, sizeof od, SQLT_ODT, nullptr, nullptr, nullptr, 0,
                     nullptr, 0);
  oci().OCIBindByPos(byPos, &bp[4], err_, 5, &lvb, sizeof lvb, SQLT_LVB, nullptr, nullptr, nullptr,
                     0, nullptr, 0);
  ASSERT_OCI(OCI_SUCCESS, exec(byPos));

  run(svc_, "alter session set nls_date_format = 'YYYY-MM-DD HH24:MI:SS'");
  EXPECT_EQ((std::vector<std::string>{"1|2.5|text|2001-12-31 23:59:59|010203",
                                      "2|100|abc|1999-07-04 00:00:00|ABCD"}),
            rows(svc_, "select id, n, v, d, r from b order by id"));
}

TEST_F(OciBindTest, CharBindComparesBlankPaddedWithACharColumn) {
  run(svc_, "create table fixed (code char(5))");
  run(svc_, "insert into fixed values ('AB')");
  auto count = [&](ub2 dty, char* value, sb4 size) {
    OCIStmt* stmt = newStatement("select count(*) from fixed where code = :c");
    bindName(stmt, ":c", value, size, dty);
    int n = -1;
    OCIDefine* def = nullptr;
    oci().OCIDefineByPos(stmt, &def, err_, 1, &n, sizeof n, SQLT_INT, nullptr, nullptr, nullptr,
                         OCI_DEFAULT);
    EXPECT_OCI(OCI_SUCCESS, exec(stmt));
    return n;
  };
  char ab[] = "AB";
  char padded[] = "AB   ";
  // CHAR (96) and CHARZ (97) binds compare blank-padded: 'AB' finds 'AB   '.
  EXPECT_EQ(1, count(SQLT_AFC, ab, 2));
  EXPECT_EQ(1, count(SQLT_AVC, ab, sizeof ab));
  EXPECT_EQ(1, count(SQLT_AFC, padded, 5));
  // VARCHAR2 binds do not: only the padded value matches.
  EXPECT_EQ(0, count(SQLT_CHR, ab, 2));
  EXPECT_EQ(0, count(SQLT_STR, ab, sizeof ab));
  EXPECT_EQ(1, count(SQLT_STR, padded, sizeof padded));
}

TEST_F(OciBindTest, IndicatorMinusOneBindsNull) {
  OCIStmt* stmt = newStatement("insert into b (id, v) values (:id, :v)");
  int id = 7;
  char v[] = "ignored";
  sb2 ind = -1;
  bindName(stmt, ":id", &id, sizeof id, SQLT_INT);
  bindName(stmt, ":v", v, sizeof v, SQLT_STR, &ind);
  ASSERT_OCI(OCI_SUCCESS, exec(stmt));
  EXPECT_EQ(std::vector<std::string>{"1"}, rows(svc_, "select count(*) from b where v is null"));
}

TEST_F(OciBindTest, TextConvertsToNumberAndDateAsOracleDoes) {
  OCIStmt* stmt = newStatement("insert into b (id, n, d) values (:id, :n, :d)");
  char id[] = "3", n[] = " 12.75 ", d[] = "05-MAR-2004";
  bindName(stmt, ":id", id, sizeof id, SQLT_STR);
  bindName(stmt, ":n", n, sizeof n, SQLT_STR);
  bindName(stmt, ":d", d, sizeof d, SQLT_STR);
  ASSERT_OCI(OCI_SUCCESS, exec(stmt));
  EXPECT_EQ(std::vector<std::string>{"12.75|05-MAR-04"}, rows(svc_, "select n, d from b"));

  char bad[] = "12x";
  bindName(stmt, ":n", bad, sizeof bad, SQLT_STR);
  std::strcpy(id, "4");
  EXPECT_EQ(OCI_ERROR, exec(stmt));
  EXPECT_EQ(1722, errorCode());

  char badDate[] = "xx-MAR-2004";
  std::strcpy(n, "1");
  bindName(stmt, ":n", n, sizeof n, SQLT_STR);
  bindName(stmt, ":d", badDate, sizeof badDate, SQLT_STR);
  EXPECT_EQ(OCI_ERROR, exec(stmt));
  EXPECT_EQ(1858, errorCode());
}

TEST_F(OciBindTest, StringWithoutTerminatorIsOra01480) {
  OCIStmt* stmt = newStatement("insert into b (id, v) values (1, :v)");
  char v[3] = {'a', 'b', 'c'};
  bindName(stmt, ":v", v, sizeof v, SQLT_STR);
  EXPECT_EQ(OCI_ERROR, exec(stmt));
  EXPECT_EQ(1480, errorCode());
}

TEST_F(OciBindTest, UnknownNameIsOra01036AndMissingBindOra01008) {
  OCIStmt* stmt = newStatement("insert into b (id, v) values (:id, :v)");
  int id = 1;
  OCIBind* b = nullptr;
  EXPECT_EQ(OCI_ERROR,
            oci().OCIBindByName(stmt, &b, err_, reinterpret_cast<const OraText*>(":nope"), -1, &id,
                                sizeof id, SQLT_INT, nullptr, nullptr, nullptr, 0, nullptr, 0));
  EXPECT_EQ(1036, errorCode());
  bindName(stmt, ":id", &id, sizeof id, SQLT_INT);
  EXPECT_EQ(OCI_ERROR, exec(stmt));
  EXPECT_EQ(1008, errorCode());
}

TEST_F(OciBindTest, RepeatedNameIsBoundOnce) {
  OCIStmt* stmt = newStatement("insert into b (id, n) values (:x, :x * 10)");
  int x = 4;
  bindName(stmt, ":x", &x, sizeof x, SQLT_INT);
  ASSERT_OCI(OCI_SUCCESS, exec(stmt));
  EXPECT_EQ(std::vector<std::string>{"4|40"}, rows(svc_, "select id, n from b"));
}

TEST_F(OciBindTest, ArrayDmlStopsAtTheFailingRowAndCountsTheRowsBefore) {
  OCIStmt* stmt = newStatement("insert into b (id, v) values (:id, :v)");
  int ids[5] = {1, 2, 2, 4, 5};
  char v[5][8] = {"a", "b", "c", "d", "e"};
  bindName(stmt, ":id", ids, sizeof ids[0], SQLT_INT);
  bindName(stmt, ":v", v, sizeof v[0], SQLT_STR);
  EXPECT_EQ(OCI_ERROR, exec(stmt, 5));
  EXPECT_EQ(1, errorCode());
  EXPECT_EQ(2u, rowCount(stmt));
  EXPECT_EQ((std::vector<std::string>{"1|a", "2|b"}),
            rows(svc_, "select id, v from b order by id"));

  // rowoff: rows 3 and 4 only (iters - rowoff executions).
  ASSERT_OCI(OCI_SUCCESS, exec(stmt, 5, 3));
  EXPECT_EQ(2u, rowCount(stmt));
  EXPECT_EQ((std::vector<std::string>{"1|a", "2|b", "4|d", "5|e"}),
            rows(svc_, "select id, v from b order by id"));
}

TEST_F(OciBindTest, ArrayUpdateCountsRowsProcessed) {
  run(svc_, "insert into b (id, n) values (1, 1)");
  run(svc_, "insert into b (id, n) values (2, 1)");
  run(svc_, "insert into b (id, n) values (3, 2)");
  OCIStmt* stmt = newStatement("update b set v = 'x' where n = :n");
  int n[2] = {1, 2};
  bindName(stmt, ":n", n, sizeof n[0], SQLT_INT);
  ASSERT_OCI(OCI_SUCCESS, exec(stmt, 2));
  EXPECT_EQ(3u, rowCount(stmt));
}

TEST_F(OciBindTest, ZeroIterationsForDmlIsOra24333) {
  OCIStmt* stmt = newStatement("delete from b");
  EXPECT_EQ(OCI_ERROR, exec(stmt, 0));
  EXPECT_EQ(24333, errorCode());
}

TEST_F(OciBindTest, ArrayOfStructBindsRecords) {
  struct Row {
    int id;
    char v[6];
    sb2 vInd;
  } in[3] = {{1, "one", 0}, {2, "two", -1}, {3, "three", 0}};
  OCIStmt* stmt = newStatement("insert into b (id, v) values (:id, :v)");
  OCIBind* idBind = bindName(stmt, ":id", &in[0].id, sizeof(int), SQLT_INT);
  OCIBind* vBind = bindName(stmt, ":v", in[0].v, sizeof in[0].v, SQLT_STR, &in[0].vInd);
  oci().OCIBindArrayOfStruct(idBind, err_, sizeof(Row), 0, 0, 0);
  oci().OCIBindArrayOfStruct(vBind, err_, sizeof(Row), sizeof(Row), 0, 0);
  ASSERT_OCI(OCI_SUCCESS, exec(stmt, 3));
  EXPECT_EQ((std::vector<std::string>{"1|one", "2|", "3|three"}),
            rows(svc_, "select id, v from b order by id"));
}

TEST_F(OciBindTest, ReturningIntoStaticBinds) {
  run(svc_, "insert into b (id, n, v) values (1, 10, 'ten')");
  OCIStmt* stmt = newStatement("update b set n = n + 1 where id = :id returning n, v into :n, :v");
  int id = 1;
  int n = 0;
  char v[10] = "";
  sb2 nInd = 5, vInd = 5;
  ub2 vLen = 0;
  bindName(stmt, ":id", &id, sizeof id, SQLT_INT);
  bindName(stmt, ":n", &n, sizeof n, SQLT_INT, &nInd);
  bindName(stmt, ":v", v, sizeof v, SQLT_STR, &vInd, &vLen);
  ASSERT_OCI(OCI_SUCCESS, exec(stmt));
  EXPECT_EQ(11, n);
  EXPECT_STREQ("ten", v);
  EXPECT_EQ(0, nInd);
  EXPECT_EQ(3, vLen);

  id = 99;  // no row: the targets come back NULL
  ASSERT_OCI(OCI_SUCCESS, exec(stmt));
  EXPECT_EQ(-1, nInd);
}

struct ReturnedRows {
  std::vector<int> values;
  std::vector<ub4> rowsReturned;
  int buffer[8] = {};
  ub4 length = sizeof(int);
  sb2 ind = 0;
  ub2 rcode = 0;
  std::vector<int*> slots;
};

sb4 collectReturned(void* ctx, OCIBind* bind, ub4, ub4 index, void** bufpp, ub4** alenp,
                    ub1* piecep, void** indp, ub2** rcodep) {
  auto* r = static_cast<ReturnedRows*>(ctx);
  ub4 rows = 0;
  oci().OCIAttrGet(bind, OCI_HTYPE_BIND, &rows, nullptr, OCI_ATTR_ROWS_RETURNED, nullptr);
  r->rowsReturned.push_back(rows);
  r->length = sizeof(int);
  *bufpp = &r->buffer[index];
  *alenp = &r->length;
  *piecep = OCI_ONE_PIECE;
  *indp = &r->ind;
  *rcodep = &r->rcode;
  r->slots.push_back(&r->buffer[index]);
  return OCI_CONTINUE;
}

TEST_F(OciBindTest, ReturningIntoDynamicBindsCallsBackPerRow) {
  for (int i = 1; i <= 3; ++i)
    run(svc_, "insert into b (id, n) values (" + std::to_string(i) + ", " +
                  std::to_string(i * 100) + ")");
  OCIStmt* stmt = newStatement("delete from b where id >= :lo returning n into :n");
  int lo = 2;
  bindName(stmt, ":lo", &lo, sizeof lo, SQLT_INT);
  OCIBind* out = nullptr;
  ASSERT_OCI(OCI_SUCCESS,
             oci().OCIBindByName(stmt, &out, err_, reinterpret_cast<const OraText*>(":n"), -1,
                                 nullptr, sizeof(int), SQLT_INT, nullptr, nullptr, nullptr, 0,
                                 nullptr, OCI_DATA_AT_EXEC));
  ReturnedRows returned;
  ASSERT_OCI(OCI_SUCCESS,
             oci().OCIBindDynamic(out, err_, nullptr, nullptr, &returned, collectReturned));
  ASSERT_OCI(OCI_SUCCESS, exec(stmt));
  EXPECT_EQ(2u, rowCount(stmt));
  EXPECT_EQ((std::vector<ub4>{2, 2}), returned.rowsReturned);
  std::vector<int> got(returned.buffer, returned.buffer + 2);
  std::sort(got.begin(), got.end());
  EXPECT_EQ((std::vector<int>{200, 300}), got);
}

TEST_F(OciBindTest, LongTextBindsWhole) {
  std::string big(100000, 'x');
  big[99999] = 'y';
  OCIStmt* stmt = newStatement("insert into b (id, l) values (1, :l)");
  bindName(stmt, ":l", big.data(), static_cast<sb4>(big.size()), SQLT_LNG);
  ASSERT_OCI(OCI_SUCCESS, exec(stmt));
  EXPECT_EQ(std::vector<std::string>{"100000|y"},
            rows(svc_, "select length(l), substr(l, 100000) from b"));
}

TEST_F(OciBindTest, CommitOnSuccessMakesTheRowVisibleToOthers) {
  OCIStmt* stmt = newStatement("insert into b (id) values (42)");
  ASSERT_OCI(OCI_SUCCESS, exec(stmt, 1, 0, OCI_COMMIT_ON_SUCCESS));
  OCISvcCtx* other = scott();
  EXPECT_EQ(std::vector<std::string>{"1"}, rows(other, "select count(*) from b"));
}

TEST_F(OciBindTest, BindInfoListsThePlaceholders) {
  OCIStmt* stmt = newStatement("select :a, :b, :a from dual");
  OraText* names[4] = {};
  ub1 lengths[4] = {}, nameInd[4] = {}, dups[4] = {};
  OraText* indNames[4] = {};
  OCIBind* handles[4] = {};
  sb4 found = 0;
  ASSERT_OCI(OCI_SUCCESS, oci().OCIStmtGetBindInfo(stmt, err_, 4, 1, &found, names, lengths,
                                                   indNames, nameInd, dups, handles));
  EXPECT_EQ(2, found);
  EXPECT_EQ("A", std::string(reinterpret_cast<char*>(names[0]), lengths[0]));
  EXPECT_EQ("B", std::string(reinterpret_cast<char*>(names[1]), lengths[1]));
}

}  // namespace
}  // namespace vorn::server::oci_test
