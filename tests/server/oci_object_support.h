// Support of the object-layer tests of the call interface: the object,
// REF, string, raw and collection entry points resolved by name like the
// rest (oci_support.h), a fixture whose SCOTT schema has the types and
// tables the tests share, and small readers of instance attributes.
//
// Schema made for every test:
//   ADDR_T    object (street VARCHAR2(20), zip NUMBER(5))
//   EMP_T     object (id NUMBER, name VARCHAR2(20), hired DATE, addr ADDR_T,
//             boss REF EMP_T)
//   NUMS_T    VARRAY(3) OF NUMBER;  WORDS_T  TABLE OF VARCHAR2(10)
//   STAFF     object table of EMP_T: 1 Ann (boss NULL), 2 Bob (boss Ann),
//             3 Cy (boss Bob)
//   HOLDERS   (id NUMBER, who EMP_T, nums NUMS_T, words WORDS_T,
//             mgr REF EMP_T SCOPE IS STAFF): 1 with values, 2 all NULL
#pragma once

#include <string>

#include "oci_support.h"

#define VORN_OCI_OBJECT_CALLS(X)                                                                 \
  X(OCIObjectPin)                                                                                \
  X(OCIObjectUnpin)                                                                              \
  X(OCIObjectPinCountReset)                                                                      \
  X(OCIObjectFree)                                                                               \
  X(OCIObjectLock) X(OCIObjectMarkUpdate) X(OCIObjectUnmark) X(OCIObjectMarkDelete)              \
      X(OCIObjectFlush) X(OCIObjectRefresh) X(OCIObjectCopy) X(OCIObjectGetTypeRef)              \
          X(OCIObjectGetObjectRef) X(OCIObjectGetInd) X(OCIObjectExists) X(OCIObjectIsLocked)    \
              X(OCIObjectIsDirty) X(OCIObjectPinTable) X(OCIObjectGetAttr) X(OCIObjectSetAttr)   \
                  X(OCICacheFlush) X(OCITypeByName) X(OCIDefineObject) X(OCIBindObject)          \
                      X(OCIStringPtr) X(OCIStringSize) X(OCIStringAssignText) X(OCIStringAssign) \
                          X(OCIStringResize) X(OCIRawPtr) X(OCIRawSize) X(OCIRawAssignBytes)     \
                              X(OCIRefAssign) X(OCIRefClear) X(OCIRefIsNull) X(OCIRefFromHex)    \
                                  X(OCIRefHexSize) X(OCIRefToHex) X(OCICollSize) X(OCICollTrim)  \
                                      X(OCICollMax) X(OCICollGetElem) X(OCICollAssignElem)       \
                                          X(OCICollAppend) X(OCITableDelete) X(OCITableSize)     \
                                              X(OCITableExists) X(OCINumberFromReal)             \
                                                  X(OCINumberToReal)

namespace vorn::server::oci_test {

struct ObjectCalls {
#define VORN_OCI_OBJECT_FIELD(name) decltype(&::name) name = nullptr;
  VORN_OCI_OBJECT_CALLS(VORN_OCI_OBJECT_FIELD)
#undef VORN_OCI_OBJECT_FIELD
};

const ObjectCalls& obj();

class ObjectTest : public OciTest {
 protected:
  void SetUp() override;

  // The descriptor of a type of SCOTT (the test fails when there is none).
  OCIType* type(const std::string& name);
  // A number as an OCINumber holds it, and back.
  OCINumber number(double v);
  double numberValue(const OCINumber& n);
  // The text of an OCIString ("" for a null pointer).
  std::string text(const OCIString* s);
  // Attribute `path` ("ADDR.ZIP") of an instance: where its value lies and
  // its indicator.
  void* attribute(void* instance, OCIType* tdo, const std::string& path, OCIInd* ind = nullptr,
                  void** nulls = nullptr);
  // A REF of row object `name` of STAFF, fetched with a SQLT_REF define.
  OCIRef* staffRef(const std::string& name);

  OCISvcCtx* svc_ = nullptr;
};

}  // namespace vorn::server::oci_test
