// Support of the call-interface tests. The library is reached exactly as
// the client binding reaches it: dlopen of oracle-home/bin/oci.dll and
// dlsym of every entry point by name into a table of function pointers
// typed from server/include/oci.h; nothing is bound at link time.
//
// Every test gets its own copy of a demo database (seeded once per test
// program by vornsql, with the extra accounts the logon tests need) and a
// fresh environment with an error handle.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "oci.h"

// The entry points the tests call.
#define VORN_OCI_TEST_CALLS(X)                                                                     \
  X(OCIInitialize)                                                                                 \
  X(OCIEnvInit)                                                                                    \
  X(OCIEnvCreate)                                                                                  \
  X(OCIHandleAlloc)                                                                                \
  X(OCIHandleFree) X(OCIDescriptorAlloc) X(OCIDescriptorFree) X(OCIServerAttach)                   \
      X(OCIServerDetach) X(OCISessionBegin) X(OCISessionEnd) X(OCILogon) X(OCILogoff)              \
          X(OCIPasswordChange) X(OCIServerVersion) X(OCIBreak) X(OCIErrorGet) X(OCIStmtPrepare)    \
              X(OCIStmtExecute) X(OCIStmtFetch) X(OCIBindByName) X(OCIBindByPos) X(OCIBindDynamic) \
                  X(OCIBindArrayOfStruct) X(OCIDefineByPos) X(OCIDefineDynamic)                    \
                      X(OCIDefineArrayOfStruct) X(OCIParamGet) X(OCIAttrGet) X(OCIAttrSet)         \
                          X(OCITransCommit) X(OCITransRollback) X(OCIRowidToChar) X(OCILobRead)    \
                              X(OCIObjectNew) X(OCIStmtGetBindInfo) X(OCIDescribeAny)              \
                                  X(OCINumberFromInt) X(OCINumberToInt) X(OCISvcCtxToLda)          \
                                      X(OCILdaToSvcCtx) VORN_OCI_LOB_CALLS(X)             \
                                          VORN_OCI_LATER_CALLS(X)

// The LOB and BFILE calls.
#define VORN_OCI_LOB_CALLS(X)                                                                     \
  X(OCILobAppend)                                                                                 \
  X(OCILobAssign) X(OCILobCharSetForm) X(OCILobCharSetId) X(OCILobCopy) X(OCILobDisableBuffering) \
      X(OCILobEnableBuffering) X(OCILobErase) X(OCILobFileClose) X(OCILobFileCloseAll)            \
          X(OCILobFileExists) X(OCILobFileGetName) X(OCILobFileIsOpen) X(OCILobFileOpen)          \
              X(OCILobFileSetName) X(OCILobFlushBuffer) X(OCILobGetLength) X(OCILobIsEqual)       \
                  X(OCILobLoadFromFile) X(OCILobLocatorIsInit) X(OCILobTrim) X(OCILobWrite)       \
                      X(OCILobOpen) X(OCILobClose) X(OCILobIsOpen) X(OCILobCreateTemporary)       \
                          X(OCILobFreeTemporary) X(OCILobIsTemporary) X(OCILobGetChunkSize)

// The calls of later releases that thick-mode drivers use.
#define VORN_OCI_LATER_CALLS(X)                                                                  \
  X(OCIEnvNlsCreate) X(OCINlsCharSetNameToId) X(OCINlsCharSetIdToName) X(OCINlsNumericInfoGet)   \
  X(OCINlsEnvironmentVariableGet) X(OCIClientVersion) X(OCIServerRelease) X(OCIServerRelease2)    \
  X(OCIStmtPrepare2) X(OCIStmtRelease) X(OCIBindByPos2) X(OCIBindByName2) X(OCIDefineByPos2)     \
  X(OCIStmtFetch2) X(OCIStmtGetNextResult) X(OCIPing) X(OCILobGetLength2) X(OCILobRead2)         \
  X(OCILobWrite2) X(OCILobTrim2) X(OCILobErase2) X(OCILobCopy2) X(OCIArrayDescriptorAlloc)        \
  X(OCIArrayDescriptorFree) X(OCIDateTimeConstruct) X(OCIDateTimeGetDate) X(OCIDateTimeGetTime)  \
  X(OCIDateTimeGetTimeZoneOffset) X(OCIDateTimeSubtract) X(OCIDateTimeIntervalAdd)               \
  X(OCIIntervalGetDaySecond) X(OCIIntervalSetDaySecond) X(OCIIntervalGetYearMonth)               \
  X(OCIIntervalSetYearMonth) X(OCISessionPoolCreate) X(OCISessionPoolDestroy) X(OCISessionGet)   \
  X(OCISessionRelease) X(OCIThreadProcessInit) X(OCIThreadInit) X(OCIThreadTerm)                 \
  X(OCIThreadMutexInit) X(OCIThreadMutexDestroy) X(OCIThreadMutexAcquire)                        \
  X(OCIThreadMutexRelease) X(OCIThreadKeyInit) X(OCIThreadKeyDestroy) X(OCIThreadKeyGet)         \
  X(OCIThreadKeySet) X(OCIContextSetValue) X(OCIContextGetValue) X(OCIMemoryAlloc)               \
  X(OCIMemoryResize) X(OCIMemoryFree)

namespace vorn::server::oci_test {

struct OciCalls {
#define VORN_OCI_FIELD(name) decltype(&::name) name = nullptr;
  VORN_OCI_TEST_CALLS(VORN_OCI_FIELD)
#undef VORN_OCI_FIELD
};

// The library under test (loaded on first use; a failure to load or to
// resolve a name aborts the test program with the reason).
void* library();
const OciCalls& oci();

// The operating-system user external credentials stand for.
std::string osUser();

class OciTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  const std::string& databasePath() const { return path_; }

  // Attaches and begins a session with database credentials; the status of
  // OCISessionBegin goes to `status` (the test fails on OCI_ERROR when no
  // status is asked for).
  OCISvcCtx* logon(const std::string& user, const std::string& password, sword* status = nullptr);
  void logoff(OCISvcCtx* svc);
  OCISvcCtx* scott() { return logon("scott", "tiger"); }

  OCIStmt* newStatement(const std::string& sql);
  // Prepares and executes a statement without binds; returns the status.
  sword execute(OCISvcCtx* svc, const std::string& sql, ub4 iters = 1);
  // Executes and expects success.
  void run(OCISvcCtx* svc, const std::string& sql);
  // The rows of a query, each "a|b|..." with NULL as empty, fetched through
  // SQLT_STR defines, `batch` rows per fetch.
  std::vector<std::string> rows(OCISvcCtx* svc, const std::string& sql, ub4 batch = 10);
  ub4 rowCount(OCIStmt* stmt);

  // Record 1 of an error handle (the test's own when none is given).
  sb4 errorCode(OCIError* err = nullptr) const;
  std::string errorText(OCIError* err = nullptr) const;

  OCIEnv* env_ = nullptr;
  OCIError* err_ = nullptr;

 private:
  std::string path_;
};

}  // namespace vorn::server::oci_test

// Checks a status and shows the error record when it is not the expected one.
#define EXPECT_OCI(expected, call)                                                                \
  do {                                                                                            \
    sword oci_status_ = (call);                                                                   \
    EXPECT_EQ(expected, oci_status_) << (oci_status_ == OCI_ERROR ? errorText() : std::string()); \
  } while (0)
#define ASSERT_OCI(expected, call)                                                                \
  do {                                                                                            \
    sword oci_status_ = (call);                                                                   \
    ASSERT_EQ(expected, oci_status_) << (oci_status_ == OCI_ERROR ? errorText() : std::string()); \
  } while (0)
