// Named types and REFs in statements: the describe of their columns, array
// fetches into instances, binds of objects, collections and REFs, and the
// errors for defines and binds that do not fit the column.
#include <cstring>
#include <string>

#include "oci_object_support.h"

namespace vorn::server::oci_test {
namespace {

class ObjectBinding : public ObjectTest {
 protected:
  void SetUp() override {
    ObjectTest::SetUp();
    emp_ = type("EMP_T");
  }
  // A statement with its select list described.
  OCIStmt* described(const std::string& sql) {
    OCIStmt* stmt = newStatement(sql);
    EXPECT_EQ(OCI_SUCCESS,
              oci().OCIStmtExecute(svc_, stmt, err_, 0, 0, nullptr, nullptr, OCI_DESCRIBE_ONLY))
        << errorText();
    return stmt;
  }
  std::string textAttribute(void* param, ub4 attribute) {
    OraText* p = nullptr;
    ub4 size = 0;
    EXPECT_EQ(OCI_SUCCESS, oci().OCIAttrGet(param, OCI_DTYPE_PARAM, &p, &size, attribute, err_))
        << errorText();
    return p ? std::string(reinterpret_cast<const char*>(p), size) : std::string();
  }
  ub2 dataType(void* param) {
    ub2 t = 0;
    oci().OCIAttrGet(param, OCI_DTYPE_PARAM, &t, nullptr, OCI_ATTR_DATA_TYPE, err_);
    return t;
  }
  OCIType* emp_ = nullptr;
};

TEST_F(ObjectBinding, NamedTypeAndRefColumnsDescribeWithTheirTypes) {
  OCIStmt* stmt = described("select id, who, nums, words, mgr from holders");
  void* who = nullptr;
  void* nums = nullptr;
  void* mgr = nullptr;
  oci().OCIParamGet(stmt, OCI_HTYPE_STMT, err_, &who, 2);
  oci().OCIParamGet(stmt, OCI_HTYPE_STMT, err_, &nums, 3);
  oci().OCIParamGet(stmt, OCI_HTYPE_STMT, err_, &mgr, 5);
  EXPECT_EQ(SQLT_NTY, dataType(who));
  EXPECT_EQ("EMP_T", textAttribute(who, OCI_ATTR_TYPE_NAME));
  EXPECT_EQ("SCOTT", textAttribute(who, OCI_ATTR_SCHEMA_NAME));
  EXPECT_EQ(SQLT_NTY, dataType(nums));
  EXPECT_EQ("NUMS_T", textAttribute(nums, OCI_ATTR_TYPE_NAME));
  EXPECT_EQ(SQLT_REF, dataType(mgr));
  EXPECT_EQ("EMP_T", textAttribute(mgr, OCI_ATTR_TYPE_NAME));
  // The column's type descriptor through its REF.
  OCIRef* tdoRef = nullptr;
  ASSERT_EQ(OCI_SUCCESS,
            oci().OCIAttrGet(who, OCI_DTYPE_PARAM, &tdoRef, nullptr, OCI_ATTR_REF_TDO, err_))
      << errorText();
  void* pinned = nullptr;
  ASSERT_EQ(OCI_SUCCESS, obj().OCIObjectPin(env_, err_, tdoRef, nullptr, OCI_PIN_ANY,
                                            OCI_DURATION_SESSION, OCI_LOCK_NONE, &pinned));
  EXPECT_EQ(static_cast<void*>(emp_), pinned);
  oci().OCIHandleFree(stmt, OCI_HTYPE_STMT);
}

TEST_F(ObjectBinding, StatementsDescribeBeforeTheirObjectsAreBound) {
  OCIStmt* stmt = described(
      "select s.name from staff s where ref(s) = :r or value(s) = :v or s.addr = :a");
  ub4 count = 0;
  oci().OCIAttrGet(stmt, OCI_HTYPE_STMT, &count, nullptr, OCI_ATTR_PARAM_COUNT, err_);
  EXPECT_EQ(1u, count);
  oci().OCIHandleFree(stmt, OCI_HTYPE_STMT);
}

TEST_F(ObjectBinding, ArrayFetchesFillOneInstancePerRowAndReuseThem) {
  OCIStmt* stmt = newStatement("select who, mgr from holders order by id");
  OCIDefine* d1 = nullptr;
  OCIDefine* d2 = nullptr;
  void* who[2] = {};
  void* whoInd[2] = {};
  OCIRef* mgr[2] = {};
  sb2 mgrInd[2] = {};
  oci().OCIDefineByPos(stmt, &d1, err_, 1, nullptr, 0, SQLT_NTY, nullptr, nullptr, nullptr,
                       OCI_DEFAULT);
  oci().OCIDefineByPos(stmt, &d2, err_, 2, mgr, sizeof(OCIRef*), SQLT_REF, mgrInd, nullptr, nullptr,
                       OCI_DEFAULT);
  ASSERT_EQ(OCI_SUCCESS, obj().OCIDefineObject(d1, err_, emp_, who, nullptr, whoInd, nullptr));
  ASSERT_EQ(OCI_SUCCESS,
            oci().OCIStmtExecute(svc_, stmt, err_, 0, 0, nullptr, nullptr, OCI_DEFAULT));
  ASSERT_EQ(OCI_SUCCESS, oci().OCIStmtFetch(stmt, err_, 2, OCI_FETCH_NEXT, OCI_DEFAULT))
      << errorText();
  EXPECT_EQ(2u, rowCount(stmt));
  EXPECT_EQ("Bob", text(*static_cast<OCIString**>(attribute(who[0], emp_, "NAME"))));
  EXPECT_EQ(OCI_IND_NOTNULL, static_cast<OCIInd*>(whoInd[0])[0]);
  // Row 2's object is atomically NULL, its REF NULL.
  EXPECT_EQ(OCI_IND_NULL, static_cast<OCIInd*>(whoInd[1])[0]);
  EXPECT_EQ(0, mgrInd[0]);
  EXPECT_EQ(-1, mgrInd[1]);
  EXPECT_TRUE(obj().OCIRefIsNull(env_, mgr[1]));
  void* boss = nullptr;
  ASSERT_EQ(OCI_SUCCESS, obj().OCIObjectPin(env_, err_, mgr[0], nullptr, OCI_PIN_ANY,
                                            OCI_DURATION_SESSION, OCI_LOCK_NONE, &boss));
  EXPECT_EQ("Bob", text(*static_cast<OCIString**>(attribute(boss, emp_, "NAME"))));

  // A second execute writes into the same instances.
  void* first = who[0];
  ASSERT_EQ(OCI_SUCCESS,
            oci().OCIStmtExecute(svc_, stmt, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT));
  EXPECT_EQ(first, who[0]);
  oci().OCIHandleFree(stmt, OCI_HTYPE_STMT);
  for (void* w : who)
    obj().OCIObjectFree(env_, err_, w, 0);
}

TEST_F(ObjectBinding, BoundObjectsCompareAndStoreAsTheirType) {
  // Fetch Bob as a value, change it, and store it as a new row.
  OCIStmt* select = newStatement("select value(s) from staff s where s.id = 2");
  OCIDefine* def = nullptr;
  void* bob = nullptr;
  oci().OCIDefineByPos(select, &def, err_, 1, nullptr, 0, SQLT_NTY, nullptr, nullptr, nullptr,
                       OCI_DEFAULT);
  obj().OCIDefineObject(def, err_, emp_, &bob, nullptr, nullptr, nullptr);
  ASSERT_EQ(OCI_SUCCESS,
            oci().OCIStmtExecute(svc_, select, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT));
  OCINumber id = number(9);
  std::memcpy(attribute(bob, emp_, "ID"), &id, sizeof id);

  OCIStmt* insert = newStatement("insert into holders (id, who) values (9, :w)");
  OCIBind* bind = nullptr;
  oci().OCIBindByName(insert, &bind, err_, reinterpret_cast<const OraText*>(":w"), 2, nullptr, 0,
                      SQLT_NTY, nullptr, nullptr, nullptr, 0, nullptr, OCI_DEFAULT);
  ASSERT_EQ(OCI_SUCCESS, obj().OCIBindObject(bind, err_, emp_, &bob, nullptr, nullptr, nullptr));
  ASSERT_EQ(OCI_SUCCESS,
            oci().OCIStmtExecute(svc_, insert, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT))
      << errorText();
  EXPECT_EQ(std::vector<std::string>{"9|Bob|Elm St"},
            rows(svc_,
                 "select h.who.id, h.who.name, h.who.addr.street from holders h "
                 "where h.id = 9"));
  // The same object finds itself; a NULL object finds nothing.
  OCIStmt* query = newStatement("select count(*) from holders h where h.who = :w");
  OCIBind* qb = nullptr;
  oci().OCIBindByName(query, &qb, err_, reinterpret_cast<const OraText*>(":w"), 2, nullptr, 0,
                      SQLT_NTY, nullptr, nullptr, nullptr, 0, nullptr, OCI_DEFAULT);
  obj().OCIBindObject(qb, err_, emp_, &bob, nullptr, nullptr, nullptr);
  int count = -1;
  OCIDefine* cd = nullptr;
  oci().OCIDefineByPos(query, &cd, err_, 1, &count, sizeof count, SQLT_INT, nullptr, nullptr,
                       nullptr, OCI_DEFAULT);
  ASSERT_EQ(OCI_SUCCESS,
            oci().OCIStmtExecute(svc_, query, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT))
      << errorText();
  EXPECT_EQ(1, count);
  void* nulls = nullptr;
  obj().OCIObjectGetInd(env_, err_, bob, &nulls);
  static_cast<OCIInd*>(nulls)[0] = OCI_IND_NULL;
  oci().OCIStmtExecute(svc_, query, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT);
  EXPECT_EQ(0, count);
  for (OCIStmt* s : {select, insert, query})
    oci().OCIHandleFree(s, OCI_HTYPE_STMT);
  obj().OCIObjectFree(env_, err_, bob, 0);
}

TEST_F(ObjectBinding, BoundRefsFindTheirRows) {
  OCIRef* bob = staffRef("Bob");
  OCIStmt* stmt = newStatement("select s.name from staff s where s.boss = :r");
  OCIBind* bind = nullptr;
  // Without OCIBindObject the REF is read from the bind's own buffer.
  oci().OCIBindByName(stmt, &bind, err_, reinterpret_cast<const OraText*>(":r"), 2, &bob,
                      sizeof bob, SQLT_REF, nullptr, nullptr, nullptr, 0, nullptr, OCI_DEFAULT);
  char name[21] = "";
  OCIDefine* def = nullptr;
  oci().OCIDefineByPos(stmt, &def, err_, 1, name, sizeof name, SQLT_STR, nullptr, nullptr, nullptr,
                       OCI_DEFAULT);
  ASSERT_EQ(OCI_SUCCESS,
            oci().OCIStmtExecute(svc_, stmt, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT))
      << errorText();
  EXPECT_STREQ("Cy", name);
  // A REF into a table of another type is refused by the REF column.
  run(svc_, "create type other_t as object (x number)");
  run(svc_, "create table others of other_t");
  run(svc_, "insert into others values (1)");
  OCIRef* other = nullptr;
  {
    OCIStmt* s = newStatement("select ref(o) from others o");
    OCIDefine* d = nullptr;
    oci().OCIDefineByPos(s, &d, err_, 1, &other, sizeof other, SQLT_REF, nullptr, nullptr, nullptr,
                         OCI_DEFAULT);
    ASSERT_EQ(OCI_SUCCESS,
              oci().OCIStmtExecute(svc_, s, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT));
    oci().OCIHandleFree(s, OCI_HTYPE_STMT);
  }
  OCIStmt* update = newStatement("update holders set mgr = :r where id = 1");
  OCIBind* ub = nullptr;
  oci().OCIBindByName(update, &ub, err_, reinterpret_cast<const OraText*>(":r"), 2, &other,
                      sizeof other, SQLT_REF, nullptr, nullptr, nullptr, 0, nullptr, OCI_DEFAULT);
  EXPECT_EQ(OCI_ERROR,
            oci().OCIStmtExecute(svc_, update, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT));
  EXPECT_EQ(932, errorCode());
  for (OCIStmt* s : {stmt, update})
    oci().OCIHandleFree(s, OCI_HTYPE_STMT);
}

TEST_F(ObjectBinding, CollectionsRoundTripThroughBinds) {
  OCIType* nums = type("NUMS_T");
  OCIArray* array = nullptr;
  ASSERT_EQ(OCI_SUCCESS,
            oci().OCIObjectNew(env_, err_, svc_, OCI_TYPECODE_VARRAY, nums, nullptr,
                               OCI_DURATION_SESSION, 1, reinterpret_cast<void**>(&array)))
      << errorText();
  for (double v : {10.0, 20.5}) {
    OCINumber n = number(v);
    OCIInd ind = OCI_IND_NOTNULL;
    ASSERT_EQ(OCI_SUCCESS, obj().OCICollAppend(env_, err_, &n, &ind, array)) << errorText();
  }
  OCIInd nullInd = OCI_IND_NULL;
  OCINumber unused = number(0);
  obj().OCICollAppend(env_, err_, &unused, &nullInd, array);
  OCIStmt* stmt = newStatement("update holders set nums = :n where id = 2");
  OCIBind* bind = nullptr;
  oci().OCIBindByName(stmt, &bind, err_, reinterpret_cast<const OraText*>(":n"), 2, nullptr, 0,
                      SQLT_NTY, nullptr, nullptr, nullptr, 0, nullptr, OCI_DEFAULT);
  obj().OCIBindObject(bind, err_, nums, reinterpret_cast<void**>(&array), nullptr, nullptr,
                      nullptr);
  ASSERT_EQ(OCI_SUCCESS,
            oci().OCIStmtExecute(svc_, stmt, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT))
      << errorText();
  // Read back into a collection of the caller's.
  OCIStmt* select = newStatement("select nums from holders where id = 2");
  OCIDefine* def = nullptr;
  OCIArray* back = nullptr;
  oci().OCIDefineByPos(select, &def, err_, 1, nullptr, 0, SQLT_NTY, nullptr, nullptr, nullptr,
                       OCI_DEFAULT);
  obj().OCIDefineObject(def, err_, nums, reinterpret_cast<void**>(&back), nullptr, nullptr,
                        nullptr);
  ASSERT_EQ(OCI_SUCCESS,
            oci().OCIStmtExecute(svc_, select, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT))
      << errorText();
  sb4 size = 0;
  obj().OCICollSize(env_, err_, back, &size);
  EXPECT_EQ(3, size);
  boolean exists = 0;
  void* elem = nullptr;
  void* elemInd = nullptr;
  obj().OCICollGetElem(env_, err_, back, 1, &exists, &elem, &elemInd);
  EXPECT_EQ(20.5, numberValue(*static_cast<OCINumber*>(elem)));
  obj().OCICollGetElem(env_, err_, back, 2, &exists, &elem, &elemInd);
  EXPECT_TRUE(exists);
  EXPECT_EQ(OCI_IND_NULL, *static_cast<OCIInd*>(elemInd));
  oci().OCIHandleFree(select, OCI_HTYPE_STMT);
  obj().OCIObjectFree(env_, err_, back, 0);
  oci().OCIHandleFree(stmt, OCI_HTYPE_STMT);
  obj().OCIObjectFree(env_, err_, array, 0);
}

TEST_F(ObjectBinding, DefinesThatDoNotFitTheColumnFail) {
  char buffer[100];
  OCIStmt* stmt = newStatement("select who from holders");
  OCIDefine* def = nullptr;
  oci().OCIDefineByPos(stmt, &def, err_, 1, buffer, sizeof buffer, SQLT_STR, nullptr, nullptr,
                       nullptr, OCI_DEFAULT);
  EXPECT_EQ(OCI_ERROR, oci().OCIStmtExecute(svc_, stmt, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT));
  EXPECT_EQ("ORA-00932: inconsistent datatypes: expected CHAR got SCOTT.EMP_T\n", errorText());
  // A named-type define of another type.
  void* instance = nullptr;
  oci().OCIDefineByPos(stmt, &def, err_, 1, nullptr, 0, SQLT_NTY, nullptr, nullptr, nullptr,
                       OCI_DEFAULT);
  obj().OCIDefineObject(def, err_, type("ADDR_T"), &instance, nullptr, nullptr, nullptr);
  EXPECT_EQ(OCI_ERROR, oci().OCIStmtExecute(svc_, stmt, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT));
  EXPECT_EQ(932, errorCode());
  oci().OCIHandleFree(stmt, OCI_HTYPE_STMT);
  // OCIDefineObject is for named types and REFs only.
  OCIStmt* plain = newStatement("select id from holders");
  oci().OCIDefineByPos(plain, &def, err_, 1, buffer, sizeof buffer, SQLT_STR, nullptr, nullptr,
                       nullptr, OCI_DEFAULT);
  EXPECT_EQ(OCI_ERROR,
            obj().OCIDefineObject(def, err_, emp_, &instance, nullptr, nullptr, nullptr));
  EXPECT_EQ(1010, errorCode());
  oci().OCIHandleFree(plain, OCI_HTYPE_STMT);
}

TEST_F(ObjectBinding, ObjectsAreNoReturningTargets) {
  void* who = nullptr;
  OCIStmt* stmt = newStatement("update holders set id = 3 where id = 1 returning who into :w");
  OCIBind* bind = nullptr;
  oci().OCIBindByName(stmt, &bind, err_, reinterpret_cast<const OraText*>(":w"), 2, nullptr, 0,
                      SQLT_NTY, nullptr, nullptr, nullptr, 0, nullptr, OCI_DEFAULT);
  obj().OCIBindObject(bind, err_, emp_, &who, nullptr, nullptr, nullptr);
  EXPECT_EQ(OCI_ERROR, oci().OCIStmtExecute(svc_, stmt, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT));
  EXPECT_EQ(22816, errorCode());
  oci().OCIHandleFree(stmt, OCI_HTYPE_STMT);
}

TEST_F(ObjectBinding, PlsqlBlocksTakeNoObjects) {
  void* who = nullptr;
  oci().OCIObjectNew(env_, err_, svc_, OCI_TYPECODE_OBJECT, emp_, nullptr, OCI_DURATION_SESSION, 1,
                     &who);
  OCIStmt* block = newStatement("declare x number; begin x := 1; :w := null; end;");
  OCIBind* bind = nullptr;
  oci().OCIBindByName(block, &bind, err_, reinterpret_cast<const OraText*>(":w"), 2, nullptr, 0,
                      SQLT_NTY, nullptr, nullptr, nullptr, 0, nullptr, OCI_DEFAULT);
  obj().OCIBindObject(bind, err_, emp_, &who, nullptr, nullptr, nullptr);
  EXPECT_EQ(OCI_ERROR,
            oci().OCIStmtExecute(svc_, block, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT));
  EXPECT_EQ(3001, errorCode());
  oci().OCIHandleFree(block, OCI_HTYPE_STMT);
  obj().OCIObjectFree(env_, err_, who, 0);
}

}  // namespace
}  // namespace vorn::server::oci_test

namespace vorn::server::oci_test {
namespace {

class ObjectLobs : public ObjectTest {};

TEST_F(ObjectLobs, LobAttributesAreLocatorsOfTheirValue) {
  run(svc_, "create type doc_t as object (title varchar2(10), body clob, data blob)");
  run(svc_, "create table docs of doc_t");
  run(svc_, "insert into docs values (doc_t('a', 'some text', hextoraw('0102')))");
  run(svc_, "insert into docs values (doc_t('b', empty_clob(), null))");
  OCIType* doc = type("DOC_T");
  OCIStmt* stmt = newStatement("select value(d) from docs d order by d.title");
  OCIDefine* def = nullptr;
  void* docs[2] = {};
  void* inds[2] = {};
  oci().OCIDefineByPos(stmt, &def, err_, 1, nullptr, 0, SQLT_NTY, nullptr, nullptr, nullptr,
                       OCI_DEFAULT);
  obj().OCIDefineObject(def, err_, doc, docs, nullptr, inds, nullptr);
  ASSERT_EQ(OCI_SUCCESS,
            oci().OCIStmtExecute(svc_, stmt, err_, 2, 0, nullptr, nullptr, OCI_DEFAULT))
      << errorText();
  auto* body = *static_cast<OCILobLocator**>(attribute(docs[0], doc, "BODY"));
  char buffer[32] = "";
  ub4 amount = sizeof buffer;
  ASSERT_EQ(OCI_SUCCESS, oci().OCILobRead(svc_, err_, body, &amount, 1, buffer, sizeof buffer,
                                          nullptr, nullptr, 0, SQLCS_IMPLICIT))
      << errorText();
  EXPECT_EQ("some text", std::string(buffer, amount));
  // The locator holds the attribute's value, not a row's LOB: no writes.
  ub4 written = 1;
  EXPECT_EQ(OCI_ERROR, oci().OCILobWrite(svc_, err_, body, &written, 1, buffer, 1, OCI_ONE_PIECE,
                                         nullptr, nullptr, 0, SQLCS_IMPLICIT));
  EXPECT_EQ(22920, errorCode());
  // The second document's body is an empty CLOB, its data NULL.
  OCIInd ind = 0;
  attribute(docs[1], doc, "BODY", &ind);
  EXPECT_EQ(OCI_IND_NOTNULL, ind);
  attribute(docs[1], doc, "DATA", &ind);
  EXPECT_EQ(OCI_IND_NULL, ind);

  // An object bound with a locator assigned from another stores its value.
  const OraText* title[] = {reinterpret_cast<const OraText*>("TITLE")};
  ub4 titleLength[] = {5};
  OCIString* c = nullptr;
  obj().OCIStringAssignText(env_, err_, reinterpret_cast<const OraText*>("c"), 1, &c);
  obj().OCIObjectSetAttr(env_, err_, docs[1], nullptr, doc, title, titleLength, 1, nullptr, 0,
                         OCI_IND_NOTNULL, nullptr, c);
  const OraText* bodyName[] = {reinterpret_cast<const OraText*>("BODY")};
  ub4 bodyLength[] = {4};
  ASSERT_EQ(OCI_SUCCESS,
            obj().OCIObjectSetAttr(env_, err_, docs[1], nullptr, doc, bodyName, bodyLength, 1,
                                   nullptr, 0, OCI_IND_NOTNULL, nullptr, body))
      << errorText();
  OCIStmt* insert = newStatement("insert into docs values (:d)");
  OCIBind* bind = nullptr;
  oci().OCIBindByName(insert, &bind, err_, reinterpret_cast<const OraText*>(":d"), 2, nullptr, 0,
                      SQLT_NTY, nullptr, nullptr, nullptr, 0, nullptr, OCI_DEFAULT);
  obj().OCIBindObject(bind, err_, doc, &docs[1], nullptr, nullptr, nullptr);
  ASSERT_EQ(OCI_SUCCESS,
            oci().OCIStmtExecute(svc_, insert, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT))
      << errorText();
  EXPECT_EQ(std::vector<std::string>{"c|9"},
            rows(svc_,
                 "select d.title, dbms_lob.getlength(d.body) from docs d "
                 "where d.title = 'c'"));
  for (OCIStmt* s : {stmt, insert})
    oci().OCIHandleFree(s, OCI_HTYPE_STMT);
  obj().OCIObjectFree(env_, err_, c, 0);
}

TEST_F(ObjectLobs, ObjectNewMakesLobLocators) {
  OCILobLocator* loc = nullptr;
  ASSERT_EQ(OCI_SUCCESS,
            oci().OCIObjectNew(env_, err_, svc_, OCI_TYPECODE_CLOB, nullptr, nullptr,
                               OCI_DURATION_SESSION, 1, reinterpret_cast<void**>(&loc)));
  ASSERT_NE(nullptr, loc);
  // A fresh locator holds no LOB.
  ub4 amount = 1;
  char c;
  EXPECT_EQ(OCI_ERROR, oci().OCILobRead(svc_, err_, loc, &amount, 1, &c, 1, nullptr, nullptr, 0,
                                        SQLCS_IMPLICIT));
  EXPECT_EQ(22275, errorCode());
  EXPECT_EQ(OCI_SUCCESS, obj().OCIObjectFree(env_, err_, loc, 0));
}

}  // namespace
}  // namespace vorn::server::oci_test
