// Support of the object-layer tests; see oci_object_support.h.
#include "oci_object_support.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace vorn::server::oci_test {

const ObjectCalls& obj() {
  static const ObjectCalls calls = [] {
    oci();  // loads and initialises the library in object mode
    ObjectCalls c;
#define VORN_OCI_OBJECT_RESOLVE(name)                                     \
  c.name = reinterpret_cast<decltype(c.name)>(::dlsym(library(), #name)); \
  if (!c.name) {                                                          \
    std::fprintf(stderr, "the library does not export " #name "\n");      \
    std::abort();                                                         \
  }
    VORN_OCI_OBJECT_CALLS(VORN_OCI_OBJECT_RESOLVE)
#undef VORN_OCI_OBJECT_RESOLVE
    return c;
  }();
  return calls;
}

void ObjectTest::SetUp() {
  OciTest::SetUp();
  svc_ = scott();
  for (const char* sql : {
           "create type addr_t as object (street varchar2(20), zip number(5))",
           "create type emp_t as object (id number, name varchar2(20), hired date, "
           "addr addr_t, boss ref emp_t)",
           "create type nums_t as varray(3) of number",
           "create type words_t as table of varchar2(10)",
           "create table staff of emp_t (id primary key)",
           "insert into staff values (emp_t(1, 'Ann', date '2001-02-03', "
           "addr_t('Main St', 12345), null))",
           "insert into staff select emp_t(2, 'Bob', date '2002-03-04', addr_t('Elm St', "
           "54321), ref(s)) from staff s where s.id = 1",
           "insert into staff select emp_t(3, 'Cy', null, null, ref(s)) from staff s "
           "where s.id = 2",
           "create table holders (id number, who emp_t, nums nums_t, words words_t, "
           "mgr ref emp_t scope is staff) nested table words store as holder_words",
           "insert into holders select 1, value(s), nums_t(1, 2.5, null), "
           "words_t('a', 'bc'), ref(s) from staff s where s.id = 2",
           "insert into holders (id) values (2)",
           "commit",
       }) {
    run(svc_, sql);
  }
}

OCIType* ObjectTest::type(const std::string& name) {
  OCIType* tdo = nullptr;
  EXPECT_EQ(OCI_SUCCESS,
            obj().OCITypeByName(env_, err_, svc_, reinterpret_cast<const OraText*>("SCOTT"), 5,
                                reinterpret_cast<const OraText*>(name.c_str()),
                                static_cast<ub4>(name.size()), nullptr, 0, OCI_DURATION_SESSION,
                                OCI_TYPEGET_ALL, &tdo))
      << errorText();
  return tdo;
}

OCINumber ObjectTest::number(double v) {
  OCINumber n{};
  EXPECT_EQ(OCI_SUCCESS, obj().OCINumberFromReal(err_, &v, sizeof v, &n)) << errorText();
  return n;
}

double ObjectTest::numberValue(const OCINumber& n) {
  double v = 0;
  EXPECT_EQ(OCI_SUCCESS, obj().OCINumberToReal(err_, &n, sizeof v, &v)) << errorText();
  return v;
}

std::string ObjectTest::text(const OCIString* s) {
  if (!s) return {};
  return std::string(reinterpret_cast<const char*>(obj().OCIStringPtr(env_, s)),
                     obj().OCIStringSize(env_, s));
}

void* ObjectTest::attribute(void* instance, OCIType* tdo, const std::string& path, OCIInd* ind,
                            void** nulls) {
  std::vector<std::string> names;
  for (size_t start = 0;;) {
    size_t dot = path.find('.', start);
    names.push_back(path.substr(start, dot - start));
    if (dot == std::string::npos) break;
    start = dot + 1;
  }
  std::vector<const OraText*> pointers;
  std::vector<ub4> lengths;
  for (const std::string& n : names) {
    pointers.push_back(reinterpret_cast<const OraText*>(n.c_str()));
    lengths.push_back(static_cast<ub4>(n.size()));
  }
  OCIInd status = 0;
  void* nullStruct = nullptr;
  void* value = nullptr;
  OCIType* attrType = nullptr;
  EXPECT_EQ(OCI_SUCCESS,
            obj().OCIObjectGetAttr(env_, err_, instance, nullptr, tdo, pointers.data(),
                                   lengths.data(), static_cast<ub4>(names.size()), nullptr, 0,
                                   &status, &nullStruct, &value, &attrType))
      << path << ": " << errorText();
  if (ind) *ind = status;
  if (nulls) *nulls = nullStruct;
  return value;
}

OCIRef* ObjectTest::staffRef(const std::string& name) {
  std::string sql = "select ref(s) from staff s where s.name = '" + name + "'";
  OCIStmt* stmt = newStatement(sql);
  OCIRef* ref = nullptr;
  OCIDefine* def = nullptr;
  EXPECT_EQ(OCI_SUCCESS, oci().OCIDefineByPos(stmt, &def, err_, 1, nullptr, 0, SQLT_REF, nullptr,
                                              nullptr, nullptr, OCI_DEFAULT))
      << errorText();
  EXPECT_EQ(OCI_SUCCESS, obj().OCIDefineObject(def, err_, nullptr, reinterpret_cast<void**>(&ref),
                                               nullptr, nullptr, nullptr))
      << errorText();
  EXPECT_EQ(OCI_SUCCESS,
            oci().OCIStmtExecute(svc_, stmt, err_, 1, 0, nullptr, nullptr, OCI_DEFAULT))
      << errorText();
  oci().OCIHandleFree(stmt, OCI_HTYPE_STMT);
  return ref;
}

}  // namespace vorn::server::oci_test
