// The object layer's value calls: strings, raws, REFs and their
// hexadecimal form, and the collection calls with Oracle's errors.
#include <cstring>
#include <string>

#include "oci_object_support.h"

namespace vorn::server::oci_test {
namespace {

class ObjectValues : public ObjectTest {
 protected:
  template <class T>
  T* newValue(OCITypeCode code, OCIType* tdo = nullptr) {
    T* p = nullptr;
    EXPECT_EQ(OCI_SUCCESS,
              oci().OCIObjectNew(env_, err_, svc_, code, tdo, nullptr, OCI_DURATION_SESSION, 1,
                                 reinterpret_cast<void**>(&p)))
        << errorText();
    return p;
  }
  sb4 size(OCIColl* c) {
    sb4 n = -1;
    EXPECT_EQ(OCI_SUCCESS, obj().OCICollSize(env_, err_, c, &n)) << errorText();
    return n;
  }
  sword appendNumber(OCIColl* c, double v) {
    OCINumber n = number(v);
    OCIInd ind = OCI_IND_NOTNULL;
    return obj().OCICollAppend(env_, err_, &n, &ind, c);
  }
  sword appendText(OCIColl* c, const std::string& v) {
    OCIString* s = nullptr;
    obj().OCIStringAssignText(env_, err_, reinterpret_cast<const OraText*>(v.c_str()),
                              static_cast<ub4>(v.size()), &s);
    sword status = obj().OCICollAppend(env_, err_, s, nullptr, c);
    obj().OCIObjectFree(env_, err_, s, 0);
    return status;
  }
};

TEST_F(ObjectValues, StringsAssignResizeAndFree) {
  OCIString* s = nullptr;
  ASSERT_EQ(OCI_SUCCESS, obj().OCIStringAssignText(
                             env_, err_, reinterpret_cast<const OraText*>("hello"), 5, &s));
  ASSERT_NE(nullptr, s);
  EXPECT_EQ(5u, obj().OCIStringSize(env_, s));
  EXPECT_STREQ("hello", reinterpret_cast<const char*>(obj().OCIStringPtr(env_, s)));
  OCIString* copy = nullptr;
  ASSERT_EQ(OCI_SUCCESS, obj().OCIStringAssign(env_, err_, s, &copy));
  obj().OCIStringAssignText(env_, err_, reinterpret_cast<const OraText*>("hi"), 2, &s);
  EXPECT_EQ("hi", text(s));
  EXPECT_EQ("hello", text(copy));
  ASSERT_EQ(OCI_SUCCESS, obj().OCIStringResize(env_, err_, 1, &copy));
  EXPECT_EQ("h", text(copy));
  ASSERT_EQ(OCI_SUCCESS, obj().OCIStringResize(env_, err_, 0, &copy));
  EXPECT_EQ(nullptr, copy);
  // A pointer that is no string of the library is refused, not followed.
  int notAString = 0;
  auto* bogus = reinterpret_cast<OCIString*>(&notAString);
  EXPECT_EQ(nullptr, obj().OCIStringPtr(env_, bogus));
  EXPECT_EQ(OCI_ERROR, obj().OCIStringAssignText(env_, err_, reinterpret_cast<const OraText*>("x"),
                                                 1, &bogus));
  EXPECT_EQ(21710, errorCode());
  EXPECT_EQ(OCI_SUCCESS, obj().OCIObjectFree(env_, err_, s, 0));
}

TEST_F(ObjectValues, RawsHoldTheirBytes) {
  OCIRaw* r = nullptr;
  const ub1 bytes[] = {0, 1, 2, 255};
  ASSERT_EQ(OCI_SUCCESS, obj().OCIRawAssignBytes(env_, err_, bytes, 4, &r));
  EXPECT_EQ(4u, obj().OCIRawSize(env_, r));
  EXPECT_EQ(0, std::memcmp(bytes, obj().OCIRawPtr(env_, r), 4));
  OCIRaw* made = newValue<OCIRaw>(OCI_TYPECODE_RAW);
  EXPECT_EQ(0u, obj().OCIRawSize(env_, made));
  obj().OCIObjectFree(env_, err_, r, 0);
  obj().OCIObjectFree(env_, err_, made, 0);
}

TEST_F(ObjectValues, RefsAssignClearAndTravelAsHex) {
  OCIRef* bob = staffRef("Bob");
  OCIRef* copy = nullptr;
  ASSERT_EQ(OCI_SUCCESS, obj().OCIRefAssign(env_, err_, bob, &copy));
  EXPECT_FALSE(obj().OCIRefIsNull(env_, copy));
  ub4 hexSize = obj().OCIRefHexSize(env_, bob);
  EXPECT_GT(hexSize, 0u);
  std::string hex(hexSize, '\0');
  ub4 length = hexSize;
  ASSERT_EQ(OCI_SUCCESS,
            obj().OCIRefToHex(env_, err_, bob, reinterpret_cast<OraText*>(hex.data()), &length));
  EXPECT_EQ(hexSize, length);
  // Too small a buffer.
  ub4 small = 4;
  EXPECT_EQ(OCI_ERROR,
            obj().OCIRefToHex(env_, err_, bob, reinterpret_cast<OraText*>(hex.data()), &small));
  OCIRef* fromHex = nullptr;
  ASSERT_EQ(OCI_SUCCESS,
            obj().OCIRefFromHex(env_, err_, svc_, reinterpret_cast<const OraText*>(hex.c_str()),
                                length, &fromHex))
      << errorText();
  void* object = nullptr;
  ASSERT_EQ(OCI_SUCCESS, obj().OCIObjectPin(env_, err_, fromHex, nullptr, OCI_PIN_ANY,
                                            OCI_DURATION_SESSION, OCI_LOCK_NONE, &object));
  EXPECT_EQ("Bob", text(*static_cast<OCIString**>(attribute(object, type("EMP_T"), "NAME"))));
  obj().OCIRefClear(env_, copy);
  EXPECT_TRUE(obj().OCIRefIsNull(env_, copy));
  EXPECT_EQ(0u, obj().OCIRefHexSize(env_, copy));
  EXPECT_TRUE(obj().OCIRefIsNull(env_, nullptr));
  // Text that is no hexadecimal, or hexadecimal that is no REF here.
  EXPECT_EQ(OCI_ERROR, obj().OCIRefFromHex(env_, err_, svc_,
                                           reinterpret_cast<const OraText*>("XYZ"), 3, &copy));
  EXPECT_EQ(1465, errorCode());
  EXPECT_EQ(OCI_ERROR, obj().OCIRefFromHex(env_, err_, svc_,
                                           reinterpret_cast<const OraText*>("0102"), 4, &copy));
  EXPECT_EQ(22880, errorCode());
}

TEST_F(ObjectValues, VarraysGrowToTheirLimit) {
  OCIArray* a = newValue<OCIArray>(OCI_TYPECODE_VARRAY, type("NUMS_T"));
  EXPECT_EQ(0, size(a));
  for (double v : {1.0, 2.0, 3.0})
    EXPECT_EQ(OCI_SUCCESS, appendNumber(a, v)) << errorText();
  EXPECT_EQ(OCI_ERROR, appendNumber(a, 4));
  EXPECT_EQ(22909, errorCode());
  OCINumber n = number(9);
  EXPECT_EQ(OCI_SUCCESS, obj().OCICollAssignElem(env_, err_, 0, &n, nullptr, a));
  EXPECT_EQ(OCI_ERROR, obj().OCICollAssignElem(env_, err_, 3, &n, nullptr, a));
  EXPECT_EQ("ORA-22165: given index [3] must be in the range of [0] to [2]\n", errorText());
  boolean exists = 0;
  void* elem = nullptr;
  obj().OCICollGetElem(env_, err_, a, 0, &exists, &elem, nullptr);
  EXPECT_EQ(9.0, numberValue(*static_cast<OCINumber*>(elem)));
  obj().OCICollGetElem(env_, err_, a, 5, &exists, &elem, nullptr);
  EXPECT_FALSE(exists);
  EXPECT_EQ(nullptr, elem);
  EXPECT_EQ(OCI_ERROR, obj().OCICollTrim(env_, err_, 4, a));
  EXPECT_EQ("ORA-22167: given trim size [4] must be less than or equal to [3]\n", errorText());
  EXPECT_EQ(OCI_SUCCESS, obj().OCICollTrim(env_, err_, 2, a));
  EXPECT_EQ(1, size(a));
  EXPECT_EQ(OCI_ERROR, obj().OCITableDelete(env_, err_, 0, a));
  EXPECT_EQ(22164, errorCode());
  obj().OCIObjectFree(env_, err_, a, 0);
}

TEST_F(ObjectValues, NestedTablesKeepHolesOfDeletedElements) {
  OCITable* t = newValue<OCITable>(OCI_TYPECODE_TABLE, type("WORDS_T"));
  for (const char* w : {"one", "two", "three"})
    ASSERT_EQ(OCI_SUCCESS, appendText(t, w)) << errorText();
  ASSERT_EQ(OCI_SUCCESS, obj().OCITableDelete(env_, err_, 1, t));
  EXPECT_EQ(OCI_ERROR, obj().OCITableDelete(env_, err_, 1, t));
  EXPECT_EQ("ORA-22162: element at index [1] has been previously deleted\n", errorText());
  EXPECT_EQ(OCI_ERROR, obj().OCITableDelete(env_, err_, 7, t));
  EXPECT_EQ(22160, errorCode());
  sb4 n = 0;
  obj().OCITableSize(env_, err_, t, &n);
  EXPECT_EQ(2, n);
  EXPECT_EQ(3, size(t));
  boolean exists = 1;
  obj().OCITableExists(env_, err_, t, 1, &exists);
  EXPECT_FALSE(exists);
  void* elem = nullptr;
  obj().OCICollGetElem(env_, err_, t, 2, &exists, &elem, nullptr);
  EXPECT_EQ("three", text(*static_cast<OCIString**>(elem)));
  // A hole is skipped when the table is stored.
  run(svc_, "create table bag (w words_t) nested table w store as bag_w");
  OCIStmt* stmt = newStatement("insert into bag values (:w)");
  OCIBind* bind = nullptr;
  oci().OCIBindByName(stmt, &bind, err_, reinterpret_cast<const OraText*>(":w"), 2, nullptr, 0,
                      SQLT_NTY, nullptr, nullptr, nullptr, 0, nullptr, OCI_DEFAULT);
  obj().OCIBindObject(bind, err_, type("WORDS_T"), reinterpret_cast<void**>(&t), nullptr, nullptr,
                      nullptr);
  ASSERT_EQ(OCI_SUCCESS,
            oci().OCIStmtExecute(svc_, stmt, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT))
      << errorText();
  OCIStmt* check = newStatement("select count(*) from bag where w is not null");
  int count = 0;
  OCIDefine* def = nullptr;
  oci().OCIDefineByPos(check, &def, err_, 1, &count, sizeof count, SQLT_INT, nullptr, nullptr,
                       nullptr, OCI_DEFAULT);
  oci().OCIStmtExecute(svc_, check, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT);
  EXPECT_EQ(1, count);
  OCITable* back = nullptr;
  OCIStmt* select = newStatement("select w from bag");
  oci().OCIDefineByPos(select, &def, err_, 1, nullptr, 0, SQLT_NTY, nullptr, nullptr, nullptr,
                       OCI_DEFAULT);
  obj().OCIDefineObject(def, err_, type("WORDS_T"), reinterpret_cast<void**>(&back), nullptr,
                        nullptr, nullptr);
  ASSERT_EQ(OCI_SUCCESS,
            oci().OCIStmtExecute(svc_, select, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT));
  EXPECT_EQ(2, size(back));
  for (OCIStmt* s : {stmt, check, select})
    oci().OCIHandleFree(s, OCI_HTYPE_STMT);
}

TEST_F(ObjectValues, CollectionsOfObjectsHoldWholeObjects) {
  run(svc_, "create type crew_t as varray(5) of addr_t");
  OCIType* crew = type("CREW_T");
  OCIType* addr = type("ADDR_T");
  OCIArray* a = newValue<OCIArray>(OCI_TYPECODE_VARRAY, crew);
  void* element = newValue<void>(OCI_TYPECODE_OBJECT, addr);
  OCIString** street = static_cast<OCIString**>(attribute(element, addr, "STREET"));
  obj().OCIStringAssignText(env_, err_, reinterpret_cast<const OraText*>("Here"), 4, street);
  void* nulls = nullptr;
  obj().OCIObjectGetInd(env_, err_, element, &nulls);
  static_cast<OCIInd*>(nulls)[1] = OCI_IND_NOTNULL;
  ASSERT_EQ(OCI_SUCCESS, obj().OCICollAppend(env_, err_, element, nulls, a)) << errorText();
  // The collection has its own copy.
  obj().OCIStringAssignText(env_, err_, reinterpret_cast<const OraText*>("There"), 5, street);
  boolean exists = 0;
  void* elem = nullptr;
  void* elemInd = nullptr;
  obj().OCICollGetElem(env_, err_, a, 0, &exists, &elem, &elemInd);
  // The element is ADDR_T's struct: the street pointer first.
  EXPECT_EQ("Here", text(*static_cast<OCIString**>(elem)));
  EXPECT_EQ(OCI_IND_NOTNULL, static_cast<OCIInd*>(elemInd)[0]);
  EXPECT_EQ(OCI_IND_NULL, static_cast<OCIInd*>(elemInd)[2]);
  obj().OCIObjectFree(env_, err_, a, 0);
  obj().OCIObjectFree(env_, err_, element, 0);
}

}  // namespace
}  // namespace vorn::server::oci_test
