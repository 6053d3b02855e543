// Instances as Oracle's C mapping lays them out on this 64-bit platform:
// the structs and null structures a program declares for its types (as
// the OTT tool writes them) read and write the instances the library hands
// out, through fetches, binds and the attribute calls.
#include <cstddef>
#include <cstring>

#include "oci_object_support.h"

namespace vorn::server::oci_test {
namespace {

// ADDR_T and EMP_T as a program declares them.
struct Addr {
  OCIString* street;
  OCINumber zip;
};
struct AddrInd {
  OCIInd atomic;
  OCIInd street;
  OCIInd zip;
};
struct Emp {
  OCINumber id;
  OCIString* name;
  OCIDate hired;
  Addr addr;
  OCIRef* boss;
};
struct EmpInd {
  OCIInd atomic;
  OCIInd id;
  OCIInd name;
  OCIInd hired;
  AddrInd addr;
  OCIInd boss;
};

class ObjectLayout : public ObjectTest {};

size_t offsetIn(const void* base, const void* p) {
  return static_cast<size_t>(static_cast<const char*>(p) - static_cast<const char*>(base));
}

TEST_F(ObjectLayout, NumberVarchar2AndDateLieAt0_24_32WithIndicatorsAt2_4_6) {
  run(svc_, "create type part_t as object (n number, s varchar2(10), d date)");
  OCIType* tdo = type("PART_T");
  void* instance = nullptr;
  ASSERT_EQ(OCI_SUCCESS, oci().OCIObjectNew(env_, err_, svc_, OCI_TYPECODE_OBJECT, tdo, nullptr,
                                            OCI_DURATION_SESSION, 0, &instance))
      << errorText();
  void* nulls = nullptr;
  ASSERT_EQ(OCI_SUCCESS, obj().OCIObjectGetInd(env_, err_, instance, &nulls));

  EXPECT_EQ(0u, offsetIn(instance, attribute(instance, tdo, "N")));
  EXPECT_EQ(24u, offsetIn(instance, attribute(instance, tdo, "S")));
  EXPECT_EQ(32u, offsetIn(instance, attribute(instance, tdo, "D")));
  // The indicators: the atomic one at 0, then one per attribute.
  auto* ind = static_cast<OCIInd*>(nulls);
  EXPECT_EQ(OCI_IND_NOTNULL, ind[0]);
  EXPECT_EQ(OCI_IND_NULL, ind[1]);
  EXPECT_EQ(OCI_IND_NULL, ind[2]);
  EXPECT_EQ(OCI_IND_NULL, ind[3]);
  ind[2] = OCI_IND_NOTNULL;
  OCIInd status = 0;
  attribute(instance, tdo, "S", &status);
  EXPECT_EQ(OCI_IND_NOTNULL, status);
  EXPECT_EQ(OCI_SUCCESS, obj().OCIObjectFree(env_, err_, instance, 0));
}

TEST_F(ObjectLayout, NestedObjectsLieInlineAsTheirOwnStruct) {
  OCIType* tdo = type("EMP_T");
  void* instance = nullptr;
  ASSERT_EQ(OCI_SUCCESS, oci().OCIObjectNew(env_, err_, svc_, OCI_TYPECODE_OBJECT, tdo, nullptr,
                                            OCI_DURATION_SESSION, 0, &instance));
  void* nulls = nullptr;
  obj().OCIObjectGetInd(env_, err_, instance, &nulls);

  EXPECT_EQ(offsetof(Emp, id), offsetIn(instance, attribute(instance, tdo, "ID")));
  EXPECT_EQ(offsetof(Emp, name), offsetIn(instance, attribute(instance, tdo, "NAME")));
  EXPECT_EQ(offsetof(Emp, hired), offsetIn(instance, attribute(instance, tdo, "HIRED")));
  void* addrNulls = nullptr;
  EXPECT_EQ(offsetof(Emp, addr),
            offsetIn(instance, attribute(instance, tdo, "ADDR", nullptr, &addrNulls)));
  EXPECT_EQ(offsetof(EmpInd, addr), offsetIn(nulls, addrNulls));
  EXPECT_EQ(offsetof(Emp, addr) + offsetof(Addr, zip),
            offsetIn(instance, attribute(instance, tdo, "ADDR.ZIP")));
  EXPECT_EQ(offsetof(Emp, boss), offsetIn(instance, attribute(instance, tdo, "BOSS")));
  EXPECT_EQ(40u, offsetof(Emp, addr));
  EXPECT_EQ(72u, offsetof(Emp, boss));
  obj().OCIObjectFree(env_, err_, instance, 0);
}

TEST_F(ObjectLayout, FetchedObjectsReadThroughTheProgramsStructs) {
  OCIType* tdo = type("EMP_T");
  OCIStmt* stmt = newStatement("select value(s) from staff s order by s.id");
  OCIDefine* def = nullptr;
  ASSERT_EQ(OCI_SUCCESS, oci().OCIDefineByPos(stmt, &def, err_, 1, nullptr, 0, SQLT_NTY, nullptr,
                                              nullptr, nullptr, OCI_DEFAULT));
  Emp* emps[3] = {};
  EmpInd* inds[3] = {};
  ASSERT_EQ(OCI_SUCCESS, obj().OCIDefineObject(def, err_, tdo, reinterpret_cast<void**>(emps),
                                               nullptr, reinterpret_cast<void**>(inds), nullptr))
      << errorText();
  ASSERT_EQ(OCI_SUCCESS,
            oci().OCIStmtExecute(svc_, stmt, err_, 3, 0, nullptr, nullptr, OCI_DEFAULT))
      << errorText();

  ASSERT_NE(nullptr, emps[1]);
  ASSERT_NE(nullptr, inds[1]);
  const Emp& bob = *emps[1];
  const EmpInd& bobInd = *inds[1];
  EXPECT_EQ(OCI_IND_NOTNULL, bobInd.atomic);
  EXPECT_EQ(2.0, numberValue(bob.id));
  EXPECT_EQ("Bob", text(bob.name));
  EXPECT_EQ(2002, bob.hired.OCIDateYYYY);
  EXPECT_EQ(3, bob.hired.OCIDateMM);
  EXPECT_EQ(4, bob.hired.OCIDateDD);
  EXPECT_EQ(OCI_IND_NOTNULL, bobInd.addr.atomic);
  EXPECT_EQ("Elm St", text(bob.addr.street));
  EXPECT_EQ(54321.0, numberValue(bob.addr.zip));
  EXPECT_EQ(OCI_IND_NOTNULL, bobInd.boss);
  EXPECT_FALSE(obj().OCIRefIsNull(env_, bob.boss));
  // Cy has no hiring date and no address: their indicators say so.
  EXPECT_EQ(OCI_IND_NULL, inds[2]->hired);
  EXPECT_EQ(OCI_IND_NULL, inds[2]->addr.atomic);
  EXPECT_EQ(OCI_IND_NULL, inds[2]->addr.zip);
  EXPECT_EQ(OCI_IND_NULL, inds[0]->boss);

  for (Emp* e : emps)
    EXPECT_EQ(OCI_SUCCESS, obj().OCIObjectFree(env_, err_, e, 0));
  oci().OCIHandleFree(stmt, OCI_HTYPE_STMT);
}

TEST_F(ObjectLayout, ProgramWrittenInstancesBindAsTheyAreLaidOut) {
  OCIType* tdo = type("EMP_T");
  Emp* emp = nullptr;
  ASSERT_EQ(OCI_SUCCESS,
            oci().OCIObjectNew(env_, err_, svc_, OCI_TYPECODE_OBJECT, tdo, nullptr,
                               OCI_DURATION_SESSION, 1, reinterpret_cast<void**>(&emp)));
  EmpInd* ind = nullptr;
  obj().OCIObjectGetInd(env_, err_, emp, reinterpret_cast<void**>(&ind));
  emp->id = number(7);
  ind->id = OCI_IND_NOTNULL;
  ASSERT_EQ(OCI_SUCCESS, obj().OCIStringAssignText(
                             env_, err_, reinterpret_cast<const OraText*>("Dee"), 3, &emp->name));
  ind->name = OCI_IND_NOTNULL;
  emp->hired.OCIDateYYYY = 2020;
  emp->hired.OCIDateMM = 12;
  emp->hired.OCIDateDD = 31;
  emp->hired.OCIDateTime.OCITimeHH = 23;
  emp->hired.OCIDateTime.OCITimeMI = 59;
  emp->hired.OCIDateTime.OCITimeSS = 58;
  ind->hired = OCI_IND_NOTNULL;
  ind->addr.atomic = OCI_IND_NOTNULL;
  emp->addr.zip = number(999);
  ind->addr.zip = OCI_IND_NOTNULL;  // the street stays NULL

  OCIStmt* stmt = newStatement("insert into staff values (:e)");
  OCIBind* bind = nullptr;
  ASSERT_EQ(OCI_SUCCESS, oci().OCIBindByName(
                             stmt, &bind, err_, reinterpret_cast<const OraText*>(":e"), 2, nullptr,
                             0, SQLT_NTY, nullptr, nullptr, nullptr, 0, nullptr, OCI_DEFAULT));
  ASSERT_EQ(OCI_SUCCESS, obj().OCIBindObject(bind, err_, tdo, reinterpret_cast<void**>(&emp),
                                             nullptr, reinterpret_cast<void**>(&ind), nullptr))
      << errorText();
  ASSERT_EQ(OCI_SUCCESS,
            oci().OCIStmtExecute(svc_, stmt, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT))
      << errorText();

  EXPECT_EQ(std::vector<std::string>{"7|Dee|2020-12-31 23:59:58||999|1"},
            rows(svc_,
                 "select s.id, s.name, to_char(s.hired, 'YYYY-MM-DD HH24:MI:SS'), s.addr.street, "
                 "s.addr.zip, nvl2(s.boss, 0, 1) from staff s where s.id = 7"));
  oci().OCIHandleFree(stmt, OCI_HTYPE_STMT);
  obj().OCIObjectFree(env_, err_, emp, 0);
}

TEST_F(ObjectLayout, CollectionElementsAreFieldsOfTheElementType) {
  OCIType* nums = type("NUMS_T");
  OCIType* words = type("WORDS_T");
  OCIStmt* stmt = newStatement("select nums, words from holders where id = 1");
  OCIDefine* d1 = nullptr;
  OCIDefine* d2 = nullptr;
  OCIArray* numbers = nullptr;
  OCITable* texts = nullptr;
  oci().OCIDefineByPos(stmt, &d1, err_, 1, nullptr, 0, SQLT_NTY, nullptr, nullptr, nullptr,
                       OCI_DEFAULT);
  oci().OCIDefineByPos(stmt, &d2, err_, 2, nullptr, 0, SQLT_NTY, nullptr, nullptr, nullptr,
                       OCI_DEFAULT);
  obj().OCIDefineObject(d1, err_, nums, reinterpret_cast<void**>(&numbers), nullptr, nullptr,
                        nullptr);
  obj().OCIDefineObject(d2, err_, words, reinterpret_cast<void**>(&texts), nullptr, nullptr,
                        nullptr);
  ASSERT_EQ(OCI_SUCCESS,
            oci().OCIStmtExecute(svc_, stmt, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT))
      << errorText();

  sb4 size = 0;
  EXPECT_EQ(OCI_SUCCESS, obj().OCICollSize(env_, err_, numbers, &size));
  EXPECT_EQ(3, size);
  EXPECT_EQ(3, obj().OCICollMax(env_, numbers));
  boolean exists = 0;
  void* elem = nullptr;
  void* elemInd = nullptr;
  ASSERT_EQ(OCI_SUCCESS, obj().OCICollGetElem(env_, err_, numbers, 1, &exists, &elem, &elemInd));
  EXPECT_TRUE(exists);
  EXPECT_EQ(2.5, numberValue(*static_cast<OCINumber*>(elem)));
  EXPECT_EQ(OCI_IND_NOTNULL, *static_cast<OCIInd*>(elemInd));
  obj().OCICollGetElem(env_, err_, numbers, 2, &exists, &elem, &elemInd);
  EXPECT_EQ(OCI_IND_NULL, *static_cast<OCIInd*>(elemInd));
  // A string element is an OCIString * in the collection.
  obj().OCICollGetElem(env_, err_, texts, 1, &exists, &elem, &elemInd);
  EXPECT_EQ("bc", text(*static_cast<OCIString**>(elem)));
  EXPECT_EQ(0, obj().OCICollMax(env_, texts));
  obj().OCIObjectFree(env_, err_, numbers, 0);
  obj().OCIObjectFree(env_, err_, texts, 0);
  oci().OCIHandleFree(stmt, OCI_HTYPE_STMT);
}

}  // namespace
}  // namespace vorn::server::oci_test
