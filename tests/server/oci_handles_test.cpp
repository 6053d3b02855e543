// Handle checking, error records and the library's exports: a null or
// wrong handle is OCI_INVALID_HANDLE (never a crash), OCIErrorGet never
// writes past the caller's buffer, and the library exports the OCI names
// and nothing of what it is built from.
#include <dlfcn.h>

#include <cstring>

#include "oci_export_names.h"
#include "oci_support.h"

namespace vorn::server::oci_test {
namespace {

using OciHandlesTest = OciTest;

TEST(OciExports, EveryVersion8NameAndTheDirectPathMarkerAreExported) {
  std::set<std::string> names = vorn::server::test::kVersion8Required;
  names.insert("OCIDirPathPrepare");
  for (const std::string& name : names)
    EXPECT_NE(nullptr, dlsym(library(), name.c_str())) << name;
}

TEST(OciExports, NothingOfTheEngineOrSqliteIsExported) {
  EXPECT_EQ(nullptr, dlsym(library(), "sqlite3_open_v2"));
  EXPECT_EQ(nullptr, dlsym(library(), "sqlite3_libversion"));
  EXPECT_EQ(nullptr, dlsym(library(),
                           "_ZN4vorn6server8raiseOraEiSt16initializer_listISt17basic_string_"
                           "viewIcSt11char_traitsIcEEEi"));
}

TEST_F(OciHandlesTest, NullAndWrongHandlesAreInvalidHandles) {
  const OciCalls& c = oci();
  OCIStmt* stmt = newStatement("select 1 from dual");
  auto* envAsStmt = reinterpret_cast<OCIStmt*>(env_);
  auto* stmtAsErr = reinterpret_cast<OCIError*>(stmt);
  EXPECT_EQ(OCI_INVALID_HANDLE, c.OCIStmtPrepare(nullptr, err_, nullptr, 0, 1, 0));
  EXPECT_EQ(OCI_INVALID_HANDLE, c.OCIStmtPrepare(envAsStmt, err_, nullptr, 0, 1, 0));
  EXPECT_EQ(OCI_INVALID_HANDLE, c.OCIStmtPrepare(stmt, stmtAsErr, nullptr, 0, 1, 0));
  EXPECT_EQ(OCI_INVALID_HANDLE, c.OCIStmtExecute(nullptr, stmt, err_, 1, 0, nullptr, nullptr, 0));
  EXPECT_EQ(OCI_INVALID_HANDLE, c.OCIStmtFetch(envAsStmt, err_, 1, OCI_FETCH_NEXT, 0));
  EXPECT_EQ(OCI_INVALID_HANDLE,
            c.OCIAttrGet(stmt, OCI_HTYPE_SVCCTX, nullptr, nullptr, OCI_ATTR_SERVER, err_));
  EXPECT_EQ(OCI_INVALID_HANDLE,
            c.OCIAttrSet(nullptr, OCI_HTYPE_SESSION, nullptr, 0, OCI_ATTR_USERNAME, err_));
  EXPECT_EQ(OCI_INVALID_HANDLE, c.OCIHandleAlloc(stmt, nullptr, OCI_HTYPE_STMT, 0, nullptr));
  void* h = nullptr;
  EXPECT_EQ(OCI_INVALID_HANDLE, c.OCIHandleAlloc(env_, &h, OCI_HTYPE_ENV, 0, nullptr));
  EXPECT_EQ(OCI_INVALID_HANDLE, c.OCIHandleAlloc(env_, &h, OCI_HTYPE_BIND, 0, nullptr));
  EXPECT_EQ(OCI_INVALID_HANDLE, c.OCIHandleFree(stmt, OCI_HTYPE_ERROR));
  EXPECT_EQ(OCI_INVALID_HANDLE,
            c.OCIErrorGet(stmt, 1, nullptr, nullptr, nullptr, 0, OCI_HTYPE_ERROR));
  EXPECT_EQ(OCI_INVALID_HANDLE, c.OCIServerVersion(nullptr, err_, nullptr, 0, OCI_HTYPE_SVCCTX));
  EXPECT_EQ(OCI_INVALID_HANDLE, c.OCIBreak(stmt, err_));
  EXPECT_EQ(OCI_INVALID_HANDLE,
            c.OCILobRead(nullptr, err_, nullptr, nullptr, 0, nullptr, 0, nullptr, nullptr, 0, 0));
  EXPECT_EQ(OCI_INVALID_HANDLE,
            c.OCIObjectNew(nullptr, err_, nullptr, 0, nullptr, nullptr, 0, 0, nullptr));
  EXPECT_EQ(OCI_SUCCESS, c.OCIHandleFree(stmt, OCI_HTYPE_STMT));
}

TEST_F(OciHandlesTest, ErrorGetNeverWritesPastTheBuffer) {
  EXPECT_EQ(OCI_ERROR, execute(scott(), "select * from no_such_table"));
  char buffer[16];
  std::memset(buffer, '#', sizeof buffer);
  sb4 code = 0;
  ASSERT_EQ(OCI_SUCCESS,
            oci().OCIErrorGet(err_, 1, nullptr, &code, reinterpret_cast<OraText*>(buffer), 10,
                              OCI_HTYPE_ERROR));
  EXPECT_EQ(942, code);
  EXPECT_STREQ("ORA-00942", buffer);
  for (size_t i = 10; i < sizeof buffer; ++i)
    EXPECT_EQ('#', buffer[i]);
  EXPECT_EQ(OCI_SUCCESS, oci().OCIErrorGet(err_, 1, nullptr, &code, nullptr, 0, OCI_HTYPE_ERROR));
  EXPECT_EQ(OCI_NO_DATA,
            oci().OCIErrorGet(err_, 2, nullptr, &code, reinterpret_cast<OraText*>(buffer),
                              sizeof buffer, OCI_HTYPE_ERROR));
  EXPECT_EQ(OCI_NO_DATA,
            oci().OCIErrorGet(err_, 0, nullptr, &code, reinterpret_cast<OraText*>(buffer),
                              sizeof buffer, OCI_HTYPE_ERROR));
}

TEST_F(OciHandlesTest, ErrorTextsAndParseErrorOffsets) {
  OCISvcCtx* svc = scott();
  EXPECT_EQ(OCI_ERROR, execute(svc, "select * from no_such_table"));
  EXPECT_EQ("ORA-00942: table or view does not exist\n", errorText());

  std::string bad = "select ename, frob from emp";
  OCIStmt* stmt = newStatement(bad);
  EXPECT_EQ(OCI_ERROR, oci().OCIStmtExecute(svc, stmt, err_, 0, 0, nullptr, nullptr, 0));
  EXPECT_EQ(904, errorCode());
  ub2 offset = 0;
  oci().OCIAttrGet(stmt, OCI_HTYPE_STMT, &offset, nullptr, OCI_ATTR_PARSE_ERROR_OFFSET, err_);
  EXPECT_EQ(bad.find("frob"), offset);

  std::string syntax = "select * frm emp";
  OCIStmt* other = newStatement(syntax);
  EXPECT_EQ(OCI_ERROR, oci().OCIStmtExecute(svc, other, err_, 0, 0, nullptr, nullptr, 0));
  oci().OCIAttrGet(other, OCI_HTYPE_STMT, &offset, nullptr, OCI_ATTR_PARSE_ERROR_OFFSET, err_);
  EXPECT_EQ(syntax.find("frm"), offset);

  // A successful call clears the record.
  EXPECT_EQ(OCI_SUCCESS, execute(svc, "select 1 from dual", 0));
  sb4 code = 0;
  EXPECT_EQ(OCI_NO_DATA, oci().OCIErrorGet(err_, 1, nullptr, &code, nullptr, 0, OCI_HTYPE_ERROR));
}

TEST_F(OciHandlesTest, UnimplementedFeaturesFailCleanly) {
  OCISvcCtx* svc = scott();
  OCILobLocator* lob = nullptr;
  ASSERT_EQ(OCI_SUCCESS, oci().OCIDescriptorAlloc(env_, reinterpret_cast<void**>(&lob),
                                                  OCI_DTYPE_LOB, 0, nullptr));
  // A locator that was never filled holds no LOB to read.
  ub4 amount = 10;
  char buf[10];
  EXPECT_EQ(OCI_ERROR, oci().OCILobRead(svc, err_, lob, &amount, 1, buf, sizeof buf, nullptr,
                                        nullptr, 0, SQLCS_IMPLICIT));
  EXPECT_EQ("ORA-22275: invalid LOB locator specified\n", errorText());
}

TEST_F(OciHandlesTest, UnknownAttributeIsOra24315) {
  OCIStmt* stmt = newStatement("select 1 from dual");
  ub4 value = 0;
  EXPECT_EQ(OCI_ERROR, oci().OCIAttrGet(stmt, OCI_HTYPE_STMT, &value, nullptr, 9999, err_));
  EXPECT_EQ(24315, errorCode());
}

TEST_F(OciHandlesTest, HandlesGetTheUserMemoryTheyAskFor) {
  OCIStmt* stmt = nullptr;
  void* memory = nullptr;
  ASSERT_EQ(OCI_SUCCESS, oci().OCIHandleAlloc(env_, reinterpret_cast<void**>(&stmt), OCI_HTYPE_STMT,
                                              64, &memory));
  ASSERT_NE(nullptr, memory);
  std::memset(memory, 0xAB, 64);
  EXPECT_EQ(OCI_SUCCESS, oci().OCIHandleFree(stmt, OCI_HTYPE_STMT));
}

TEST_F(OciHandlesTest, NumbersConvertThroughOciNumber) {
  OCINumber number;
  long long in = -1234567890123LL, out = 0;
  ASSERT_EQ(OCI_SUCCESS, oci().OCINumberFromInt(err_, &in, sizeof in, OCI_NUMBER_SIGNED, &number));
  ASSERT_EQ(OCI_SUCCESS, oci().OCINumberToInt(err_, &number, sizeof out, OCI_NUMBER_SIGNED, &out));
  EXPECT_EQ(in, out);
}

TEST_F(OciHandlesTest, FreeingTheEnvironmentEndsItsSessions) {
  OCISvcCtx* svc = scott();
  run(svc, "insert into dept values (70, 'GONE', 'NOWHERE')");
  OCIStmt* open = newStatement("select * from emp");
  oci().OCIStmtExecute(svc, open, err_, 0, 0, nullptr, nullptr, 0);
  ASSERT_EQ(OCI_SUCCESS, oci().OCIHandleFree(env_, OCI_HTYPE_ENV));
  env_ = nullptr;
  // Freed without a session end: the insert was not committed.
  ASSERT_EQ(OCI_SUCCESS, oci().OCIEnvInit(&env_, OCI_DEFAULT, 0, nullptr));
  oci().OCIHandleAlloc(env_, reinterpret_cast<void**>(&err_), OCI_HTYPE_ERROR, 0, nullptr);
  EXPECT_EQ(std::vector<std::string>{"0"},
            rows(scott(), "select count(*) from dept where deptno = 70"));
}

}  // namespace
}  // namespace vorn::server::oci_test
