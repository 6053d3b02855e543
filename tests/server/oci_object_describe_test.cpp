// Types described through the version 8 calls: OCITypeByName and
// OCIDescribeAny by name, by type descriptor and by REF, with the type's
// parameter, its attribute list and a collection's element.
#include <string>

#include "oci_object_support.h"

namespace vorn::server::oci_test {
namespace {

class TypeDescribe : public ObjectTest {
 protected:
  void SetUp() override {
    ObjectTest::SetUp();
    oci().OCIHandleAlloc(env_, reinterpret_cast<void**>(&describe_), OCI_HTYPE_DESCRIBE, 0,
                         nullptr);
  }
  // The top parameter after describing `object` in the given form.
  void* describeAny(void* object, ub4 length, ub1 form) {
    EXPECT_EQ(OCI_SUCCESS, oci().OCIDescribeAny(svc_, err_, object, length, form, OCI_DEFAULT,
                                                OCI_PTYPE_TYPE, describe_))
        << errorText();
    void* param = nullptr;
    EXPECT_EQ(OCI_SUCCESS, oci().OCIAttrGet(describe_, OCI_HTYPE_DESCRIBE, &param, nullptr,
                                            OCI_ATTR_PARAM, err_))
        << errorText();
    return param;
  }
  void* describeName(const std::string& name) {
    return describeAny(const_cast<char*>(name.c_str()), static_cast<ub4>(name.size()),
                       OCI_OTYPE_NAME);
  }
  template <class T>
  T get(void* param, ub4 attribute) {
    T value{};
    EXPECT_EQ(OCI_SUCCESS,
              oci().OCIAttrGet(param, OCI_DTYPE_PARAM, &value, nullptr, attribute, err_))
        << attribute << ": " << errorText();
    return value;
  }
  std::string text(void* param, ub4 attribute) {
    OraText* p = nullptr;
    ub4 size = 0;
    EXPECT_EQ(OCI_SUCCESS, oci().OCIAttrGet(param, OCI_DTYPE_PARAM, &p, &size, attribute, err_))
        << errorText();
    return p ? std::string(reinterpret_cast<const char*>(p), size) : std::string();
  }
  void* attributeParam(void* type, ub4 position) {
    void* list = get<void*>(type, OCI_ATTR_LIST_TYPE_ATTRS);
    void* param = nullptr;
    EXPECT_EQ(OCI_SUCCESS, oci().OCIParamGet(list, OCI_DTYPE_PARAM, err_, &param, position))
        << errorText();
    return param;
  }
  OCIDescribe* describe_ = nullptr;
};

TEST_F(TypeDescribe, ObjectTypeByNameListsItsAttributes) {
  run(svc_, "create type team_t as object (lead emp_t, members nums_t)");
  void* team = describeName("TEAM_T");
  // A collection attribute is a named type whose type code says collection.
  EXPECT_EQ(SQLT_NTY, get<ub2>(attributeParam(team, 2), OCI_ATTR_DATA_TYPE));
  EXPECT_EQ(OCI_TYPECODE_NAMEDCOLLECTION,
            get<OCITypeCode>(attributeParam(team, 2), OCI_ATTR_TYPECODE));
  EXPECT_EQ(SQLT_NTY, get<ub2>(attributeParam(team, 1), OCI_ATTR_DATA_TYPE));
  void* t = describeName("emp_t");
  EXPECT_EQ(OCI_PTYPE_TYPE, get<ub1>(t, OCI_ATTR_PTYPE));
  EXPECT_EQ(OCI_TYPECODE_OBJECT, get<OCITypeCode>(t, OCI_ATTR_TYPECODE));
  EXPECT_EQ(5, get<ub2>(t, OCI_ATTR_NUM_TYPE_ATTRS));
  EXPECT_EQ(0, get<ub2>(t, OCI_ATTR_NUM_TYPE_METHODS));
  EXPECT_EQ("EMP_T", text(t, OCI_ATTR_NAME));
  EXPECT_EQ("SCOTT", text(t, OCI_ATTR_SCHEMA_NAME));
  void* list = get<void*>(t, OCI_ATTR_LIST_TYPE_ATTRS);
  EXPECT_EQ(OCI_PTYPE_LIST, get<ub1>(list, OCI_ATTR_PTYPE));
  EXPECT_EQ(5, get<ub2>(list, OCI_ATTR_NUM_PARAMS));

  struct Expected {
    const char* name;
    OCITypeCode code;
    ub2 size;
    const char* typeName;
  };
  const Expected expected[] = {{"ID", OCI_TYPECODE_NUMBER, 22, "NUMBER"},
                               {"NAME", OCI_TYPECODE_VARCHAR2, 20, "VARCHAR2"},
                               {"HIRED", OCI_TYPECODE_DATE, 7, "DATE"},
                               {"ADDR", OCI_TYPECODE_OBJECT, 0, "ADDR_T"},
                               {"BOSS", OCI_TYPECODE_REF, 0, "EMP_T"}};
  for (ub4 i = 0; i < 5; ++i) {
    void* a = attributeParam(t, i + 1);
    EXPECT_EQ(OCI_PTYPE_TYPE_ATTR, get<ub1>(a, OCI_ATTR_PTYPE));
    EXPECT_EQ(expected[i].name, text(a, OCI_ATTR_NAME));
    EXPECT_EQ(expected[i].code, get<ub2>(a, OCI_ATTR_DATA_TYPE));
    EXPECT_EQ(expected[i].code, get<OCITypeCode>(a, OCI_ATTR_TYPECODE));
    EXPECT_EQ(expected[i].size, get<ub2>(a, OCI_ATTR_DATA_SIZE));
    EXPECT_EQ(expected[i].typeName, text(a, OCI_ATTR_TYPE_NAME));
  }
  // The named attributes' types are the schema's.
  EXPECT_EQ("SCOTT", text(attributeParam(t, 4), OCI_ATTR_SCHEMA_NAME));
  void* out = nullptr;
  void* listParam = get<void*>(t, OCI_ATTR_LIST_TYPE_ATTRS);
  EXPECT_EQ(OCI_ERROR, oci().OCIParamGet(listParam, OCI_DTYPE_PARAM, err_, &out, 6));
  EXPECT_EQ(24334, errorCode());
}

TEST_F(TypeDescribe, NumberAttributesGiveTheirPrecisionAndScale) {
  run(svc_, "create type money_t as object (amount number(9,2), rate float, n number)");
  void* t = describeName("MONEY_T");
  void* amount = attributeParam(t, 1);
  EXPECT_EQ(9, get<ub1>(amount, OCI_ATTR_PRECISION));
  EXPECT_EQ(2, get<sb1>(amount, OCI_ATTR_SCALE));
  void* n = attributeParam(t, 3);
  EXPECT_EQ(0, get<ub1>(n, OCI_ATTR_PRECISION));
  EXPECT_EQ(-127, get<sb1>(n, OCI_ATTR_SCALE));
}

TEST_F(TypeDescribe, DescriptorAndRefFormsDescribeTheSameType) {
  OCIType* emp = type("EMP_T");
  void* byPointer = describeAny(emp, 0, OCI_OTYPE_PTR);
  EXPECT_EQ(5, get<ub2>(byPointer, OCI_ATTR_NUM_TYPE_ATTRS));
  OCIRef* ref = get<OCIRef*>(byPointer, OCI_ATTR_REF_TDO);
  ASSERT_NE(nullptr, ref);
  void* pinned = nullptr;
  ASSERT_EQ(OCI_SUCCESS, obj().OCIObjectPin(env_, err_, ref, nullptr, OCI_PIN_ANY,
                                            OCI_DURATION_SESSION, OCI_LOCK_NONE, &pinned));
  EXPECT_EQ(static_cast<void*>(emp), pinned);
  void* byRef = describeAny(ref, 0, OCI_OTYPE_REF);
  EXPECT_EQ("EMP_T", text(byRef, OCI_ATTR_NAME));
  // An attribute's REF leads to its own type.
  OCIRef* addrRef = get<OCIRef*>(attributeParam(byRef, 4), OCI_ATTR_REF_TDO);
  void* addr = describeAny(addrRef, 0, OCI_OTYPE_REF);
  EXPECT_EQ("ADDR_T", text(addr, OCI_ATTR_NAME));
  EXPECT_EQ(2, get<ub2>(addr, OCI_ATTR_NUM_TYPE_ATTRS));
}

TEST_F(TypeDescribe, CollectionsDescribeTheirElement) {
  void* nums = describeName("SCOTT.NUMS_T");
  EXPECT_EQ(OCI_TYPECODE_NAMEDCOLLECTION, get<OCITypeCode>(nums, OCI_ATTR_TYPECODE));
  EXPECT_EQ(OCI_TYPECODE_VARRAY, get<OCITypeCode>(nums, OCI_ATTR_COLLECTION_TYPECODE));
  EXPECT_EQ(0, get<ub2>(nums, OCI_ATTR_NUM_TYPE_ATTRS));
  void* element = get<void*>(nums, OCI_ATTR_COLLECTION_ELEMENT);
  EXPECT_EQ(OCI_PTYPE_TYPE_COLL, get<ub1>(element, OCI_ATTR_PTYPE));
  EXPECT_EQ(OCI_TYPECODE_NUMBER, get<OCITypeCode>(element, OCI_ATTR_TYPECODE));
  EXPECT_EQ(3u, get<ub4>(element, OCI_ATTR_NUM_ELEMS));
  void* words = describeName("WORDS_T");
  EXPECT_EQ(OCI_TYPECODE_TABLE, get<OCITypeCode>(words, OCI_ATTR_COLLECTION_TYPECODE));
  void* wordElement = get<void*>(words, OCI_ATTR_COLLECTION_ELEMENT);
  EXPECT_EQ(OCI_TYPECODE_VARCHAR2, get<OCITypeCode>(wordElement, OCI_ATTR_TYPECODE));
  EXPECT_EQ(10, get<ub2>(wordElement, OCI_ATTR_DATA_SIZE));
}

TEST_F(TypeDescribe, UnknownTypesAreOra04043) {
  std::string name = "NO_SUCH_T";
  EXPECT_EQ(OCI_ERROR,
            oci().OCIDescribeAny(svc_, err_, name.data(), static_cast<ub4>(name.size()),
                                 OCI_OTYPE_NAME, OCI_DEFAULT, OCI_PTYPE_TYPE, describe_));
  EXPECT_EQ("ORA-04043: object NO_SUCH_T does not exist\n", errorText());
  OCIType* tdo = nullptr;
  EXPECT_EQ(OCI_ERROR,
            obj().OCITypeByName(env_, err_, svc_, nullptr, 0,
                                reinterpret_cast<const OraText*>("NO_SUCH_T"), 9, nullptr, 0,
                                OCI_DURATION_SESSION, OCI_TYPEGET_ALL, &tdo));
  EXPECT_EQ(4043, errorCode());
  // Before anything is described there is no parameter.
  OCIDescribe* fresh = nullptr;
  oci().OCIHandleAlloc(env_, reinterpret_cast<void**>(&fresh), OCI_HTYPE_DESCRIBE, 0, nullptr);
  void* param = nullptr;
  EXPECT_EQ(OCI_ERROR,
            oci().OCIAttrGet(fresh, OCI_HTYPE_DESCRIBE, &param, nullptr, OCI_ATTR_PARAM, err_));
}

TEST_F(TypeDescribe, TypeByNameGivesOneDescriptorPerType) {
  OCIType* a = type("EMP_T");
  OCIType* b = nullptr;
  ASSERT_EQ(OCI_SUCCESS, obj().OCITypeByName(env_, err_, svc_, nullptr, 0,
                                             reinterpret_cast<const OraText*>("EMP_T"), 5, nullptr,
                                             0, OCI_DURATION_SESSION, OCI_TYPEGET_HEADER, &b))
      << errorText();
  EXPECT_EQ(a, b);
  // A replaced type gets a descriptor of its own definition.
  run(svc_, "create type loose_t as object (a number)");
  OCIType* before = type("LOOSE_T");
  run(svc_, "create or replace type loose_t as object (a number, b date)");
  OCIType* after = type("LOOSE_T");
  EXPECT_NE(before, after);
  EXPECT_EQ(2, get<ub2>(describeAny(after, 0, OCI_OTYPE_PTR), OCI_ATTR_NUM_TYPE_ATTRS));
  EXPECT_EQ(1, get<ub2>(describeAny(before, 0, OCI_OTYPE_PTR), OCI_ATTR_NUM_TYPE_ATTRS));
}

}  // namespace
}  // namespace vorn::server::oci_test
