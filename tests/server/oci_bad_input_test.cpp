// Bad input at the version 8 call interface: every call the library
// exports, with each of its handle arguments in turn replaced by a null
// pointer, a handle of that type that was freed, a live handle of another
// type and a pointer to memory that holds no handle, answers
// OCI_INVALID_HANDLE and touches nothing (the sanitizer build sees any read
// of freed or foreign memory). The calls are made generically from their
// declarations in oci.h: a handle-typed parameter takes the handle under
// test, any other pointer a zeroed scratch area, a number 1. Then sizes and
// lengths: negative, zero and oversized values where the caller's buffer is
// what it claims are refused with Oracle's error, never a crash.
#include <dlfcn.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "oci_support.h"

namespace vorn::server::oci_test {
namespace {

// The version 8 calls oci.h declares, in its order.
#define VORN_OCI8_ALL(X)                                                                          \
  X(OCIInitialize) X(OCIEnvInit) X(OCIEnvCreate) X(OCITerminate) X(OCIHandleAlloc)               \
  X(OCIHandleFree) X(OCIDescriptorAlloc) X(OCIDescriptorFree) X(OCIServerAttach)                  \
  X(OCIServerDetach) X(OCISessionBegin) X(OCISessionEnd) X(OCILogon) X(OCILogoff)                \
  X(OCIPasswordChange) X(OCIServerVersion) X(OCIBreak) X(OCIPing) X(OCIClientVersion)            \
  X(OCIStmtPrepare) X(OCIStmtPrepare2) X(OCIStmtRelease) X(OCIBindByPos) X(OCIBindByName)        \
  X(OCIBindObject) X(OCIBindDynamic) X(OCIBindArrayOfStruct) X(OCIStmtGetPieceInfo)              \
  X(OCIStmtSetPieceInfo) X(OCIStmtExecute) X(OCIDefineByPos) X(OCIDefineObject)                  \
  X(OCIDefineDynamic) X(OCIDefineArrayOfStruct) X(OCIStmtFetch) X(OCIStmtGetBindInfo)            \
  X(OCIDescribeAny) X(OCIParamGet) X(OCIParamSet) X(OCIAttrGet) X(OCIAttrSet) X(OCITransStart)   \
  X(OCITransDetach) X(OCITransCommit) X(OCITransRollback) X(OCITransPrepare) X(OCITransForget)   \
  X(OCIErrorGet) X(OCISvcCtxToLda) X(OCILdaToSvcCtx) X(OCIResultSetToStmt) X(OCIRowidToChar)     \
  X(OCILobAppend) X(OCILobAssign) X(OCILobCharSetForm) X(OCILobCharSetId) X(OCILobCopy)          \
  X(OCILobDisableBuffering) X(OCILobEnableBuffering) X(OCILobErase) X(OCILobFileClose)           \
  X(OCILobFileCloseAll) X(OCILobFileExists) X(OCILobFileGetName) X(OCILobFileIsOpen)             \
  X(OCILobFileOpen) X(OCILobFileSetName) X(OCILobFlushBuffer) X(OCILobGetLength)                 \
  X(OCILobIsEqual) X(OCILobLoadFromFile) X(OCILobLocatorIsInit) X(OCILobRead) X(OCILobTrim)      \
  X(OCILobWrite) X(OCILobOpen) X(OCILobClose) X(OCILobIsOpen) X(OCILobCreateTemporary)           \
  X(OCILobFreeTemporary) X(OCILobIsTemporary) X(OCILobGetChunkSize) X(OCIObjectNew)              \
  X(OCIObjectPin) X(OCIObjectUnpin) X(OCIObjectPinCountReset) X(OCIObjectFree)                   \
  X(OCIObjectLock) X(OCIObjectMarkUpdate) X(OCIObjectUnmark) X(OCIObjectMarkDelete)              \
  X(OCIObjectFlush) X(OCIObjectRefresh) X(OCIObjectCopy) X(OCIObjectGetTypeRef)                  \
  X(OCIObjectGetObjectRef) X(OCIObjectGetInd) X(OCIObjectExists) X(OCIObjectIsLocked)            \
  X(OCIObjectIsDirty) X(OCIObjectPinTable) X(OCIObjectGetAttr) X(OCIObjectSetAttr)               \
  X(OCICacheFlush) X(OCITypeByName) X(OCIStringSize) X(OCIStringAssignText) X(OCIStringAssign)   \
  X(OCIStringResize) X(OCINumberFromInt) X(OCINumberToInt) X(OCINumberFromReal)                  \
  X(OCINumberToReal) X(OCINumberToText) X(OCINumberFromText) X(OCIDateToText)                    \
  X(OCIDateFromText) X(OCIRawPtr) X(OCIRawSize) X(OCIRawAssignBytes) X(OCIRefAssign)             \
  X(OCIRefClear) X(OCIRefIsNull) X(OCIRefFromHex) X(OCIRefHexSize) X(OCIRefToHex)                \
  X(OCICollSize) X(OCICollTrim) X(OCICollMax) X(OCICollGetElem) X(OCICollAssignElem)             \
  X(OCICollAppend) X(OCITableDelete) X(OCITableSize) X(OCITableExists) X(OCIDirPathPrepare)     \
  VORN_OCI_LATER_CALLS(X)

// The kinds of handle and descriptor a parameter's type names.
enum Role { kNoRole, kEnv, kErr, kSvc, kSrv, kSes, kStmt, kBind, kDefine, kDescribe, kTrans,
            kLob, kParam, kRowid, kRoleCount };

template <class T>
constexpr Role roleOf() {
  using P = std::remove_cv_t<std::remove_pointer_t<T>>;
  if constexpr (!std::is_pointer_v<T>) return kNoRole;
  else if constexpr (std::is_same_v<P, OCIEnv>) return kEnv;
  else if constexpr (std::is_same_v<P, OCIError>) return kErr;
  else if constexpr (std::is_same_v<P, OCISvcCtx>) return kSvc;
  else if constexpr (std::is_same_v<P, OCIServer>) return kSrv;
  else if constexpr (std::is_same_v<P, OCISession>) return kSes;
  else if constexpr (std::is_same_v<P, OCIStmt>) return kStmt;
  else if constexpr (std::is_same_v<P, OCIBind>) return kBind;
  else if constexpr (std::is_same_v<P, OCIDefine>) return kDefine;
  else if constexpr (std::is_same_v<P, OCIDescribe>) return kDescribe;
  else if constexpr (std::is_same_v<P, OCITrans>) return kTrans;
  else if constexpr (std::is_same_v<P, OCILobLocator>) return kLob;
  else if constexpr (std::is_same_v<P, OCIParam>) return kParam;
  else if constexpr (std::is_same_v<P, OCIRowid>) return kRowid;
  else return kNoRole;
}

// Zeroed memory for every pointer that is no handle: output pointers read
// back as null, buffers are large enough for what a number 1 asks.
struct Scratch {
  alignas(16) std::array<std::array<unsigned char, 4096>, 16> areas{};
  void* area(size_t index) {
    areas[index] = {};
    return areas[index].data();
  }
};

// The argument of a call at `index`: the handle of its role (the one under
// test at `target`), scratch for other pointers, 1 for numbers.
template <class T>
T argumentFor(size_t index, size_t target, void* underTest,
              const std::array<void*, kRoleCount>& handles, Scratch& scratch) {
  if constexpr (std::is_pointer_v<T>) {
    using P = std::remove_pointer_t<T>;
    if constexpr (std::is_function_v<P>) {
      return nullptr;
    } else {
      void* p = index == target ? underTest
                : roleOf<T>() != kNoRole ? handles[roleOf<T>()]
                                         : scratch.area(index);
      return static_cast<T>(const_cast<std::remove_const_t<P>*>(
          static_cast<std::remove_const_t<P>*>(p)));
    }
  } else {
    return static_cast<T>(1);
  }
}

// A handle argument that may be null: the object cache's calls take their
// service context as a const pointer and work without one.
template <class T>
constexpr bool mayBeNull() {
  if constexpr (std::is_pointer_v<T>) {
    return roleOf<T>() == kSvc && std::is_const_v<std::remove_pointer_t<T>>;
  } else {
    return false;
  }
}

struct Signature {
  std::vector<Role> roles;      // per parameter
  std::vector<bool> nullables;  // per parameter
  bool returnsStatus;
  // Calls with the parameter at `target` replaced by `underTest`; returns
  // the status (or 0 for a call that returns no status).
  sword (*call)(void* function, size_t target, void* underTest,
                const std::array<void*, kRoleCount>& handles, Scratch& scratch);
};

template <class R, class... A, size_t... I>
sword callWith(R (*function)(A...), std::index_sequence<I...>, size_t target, void* underTest,
               const std::array<void*, kRoleCount>& handles, Scratch& scratch) {
  if constexpr (std::is_same_v<R, sword>) {
    return function(argumentFor<A>(I, target, underTest, handles, scratch)...);
  } else {
    function(argumentFor<A>(I, target, underTest, handles, scratch)...);
    return 0;
  }
}

// Made from the function's type alone: taking the address of a name the
// test program does not link would need the name at link time.
template <class F>
struct SignatureOf;
template <class R, class... A>
struct SignatureOf<R (*)(A...)> {
  static Signature make() {
    static_assert(sizeof...(A) <= 16, "more parameters than scratch areas");
    return Signature{{roleOf<A>()...}, {mayBeNull<A>()...}, std::is_same_v<R, sword>,
                     [](void* function, size_t target, void* underTest,
                        const std::array<void*, kRoleCount>& handles, Scratch& scratch) {
                       return callWith(reinterpret_cast<R (*)(A...)>(function),
                                       std::index_sequence_for<A...>{}, target, underTest, handles,
                                       scratch);
                     }};
  }
};

struct Entry {
  const char* name;
  Signature signature;
};

// Calls whose int result is an answer, not a status.
bool returnsAnswer(const std::string& name) {
  return name == "OCIRefIsNull" || name == "OCICollMax";
}

// OCISessionEnd without a session handle ends the service context's own.
bool nullIsLegal(const std::string& name, size_t argument) {
  return name == "OCISessionEnd" && argument == 2;
}

const std::vector<Entry>& allCalls() {
  static const std::vector<Entry> entries = {
#define VORN_OCI_ENTRY(name) {#name, SignatureOf<decltype(&::name)>::make()},
      VORN_OCI8_ALL(VORN_OCI_ENTRY)
#undef VORN_OCI_ENTRY
  };
  return entries;
}

const char* const kRoleNames[] = {"",         "env",      "error",  "service context",
                                  "server",   "session",  "statement", "bind",
                                  "define",   "describe", "transaction", "LOB locator",
                                  "parameter", "ROWID"};

class OciBadInputTest : public OciTest {
 protected:
  void SetUp() override {
    OciTest::SetUp();
    const OciCalls& c = oci();
    svc_ = scott();
    c.OCIAttrGet(svc_, OCI_HTYPE_SVCCTX, &live_[kSrv], nullptr, OCI_ATTR_SERVER, err_);
    c.OCIAttrGet(svc_, OCI_HTYPE_SVCCTX, &live_[kSes], nullptr, OCI_ATTR_SESSION, err_);
    live_[kEnv] = env_;
    live_[kErr] = err_;
    live_[kSvc] = svc_;
    OCIStmt* stmt = newStatement("select ename from emp where empno = :1");
    live_[kStmt] = stmt;
    ASSERT_OCI(OCI_SUCCESS, c.OCIStmtExecute(svc_, stmt, err_, 0, 0, nullptr, nullptr,
                                             OCI_DESCRIBE_ONLY));
    OCIBind* bind = nullptr;
    ASSERT_OCI(OCI_SUCCESS, c.OCIBindByPos(stmt, &bind, err_, 1, &empno_, sizeof empno_, SQLT_INT,
                                           nullptr, nullptr, nullptr, 0, nullptr, OCI_DEFAULT));
    live_[kBind] = bind;
    OCIDefine* define = nullptr;
    ASSERT_OCI(OCI_SUCCESS, c.OCIDefineByPos(stmt, &define, err_, 1, name_, sizeof name_,
                                             SQLT_STR, nullptr, nullptr, nullptr, OCI_DEFAULT));
    live_[kDefine] = define;
    ASSERT_OCI(OCI_SUCCESS, c.OCIParamGet(stmt, OCI_HTYPE_STMT, err_, &live_[kParam], 1));
    c.OCIHandleAlloc(env_, &live_[kDescribe], OCI_HTYPE_DESCRIBE, 0, nullptr);
    c.OCIHandleAlloc(env_, &live_[kTrans], OCI_HTYPE_TRANS, 0, nullptr);
    c.OCIDescriptorAlloc(env_, &live_[kLob], OCI_DTYPE_LOB, 0, nullptr);
    c.OCIDescriptorAlloc(env_, &live_[kRowid], OCI_DTYPE_ROWID, 0, nullptr);
    for (int role = kEnv; role < kRoleCount; ++role)
      ASSERT_NE(nullptr, live_[role]) << kRoleNames[role];
    makeFreedHandles();
    notAHandle_ = std::make_unique<uint64_t>(0);
  }
  void TearDown() override {
    logoff(svc_);
    OciTest::TearDown();
  }

  // One handle of every role, freed (the memory stays unused for as long as
  // the sanitizers keep freed memory aside; in other builds the registry of
  // live handles answers all the same).
  void makeFreedHandles() {
    const OciCalls& c = oci();
    auto handle = [&](ub4 type) {
      void* h = nullptr;
      c.OCIHandleAlloc(env_, &h, type, 0, nullptr);
      c.OCIHandleFree(h, type);
      return h;
    };
    auto descriptor = [&](ub4 type) {
      void* d = nullptr;
      c.OCIDescriptorAlloc(env_, &d, type, 0, nullptr);
      c.OCIDescriptorFree(d, type);
      return d;
    };
    OCIEnv* env = nullptr;
    c.OCIEnvCreate(&env, OCI_DEFAULT, nullptr, nullptr, nullptr, nullptr, 0, nullptr);
    c.OCIHandleFree(env, OCI_HTYPE_ENV);
    freed_[kEnv] = env;
    freed_[kErr] = handle(OCI_HTYPE_ERROR);
    freed_[kSvc] = handle(OCI_HTYPE_SVCCTX);
    freed_[kSrv] = handle(OCI_HTYPE_SERVER);
    freed_[kSes] = handle(OCI_HTYPE_SESSION);
    freed_[kDescribe] = handle(OCI_HTYPE_DESCRIBE);
    freed_[kTrans] = handle(OCI_HTYPE_TRANS);
    freed_[kLob] = descriptor(OCI_DTYPE_LOB);
    freed_[kRowid] = descriptor(OCI_DTYPE_ROWID);
    // A statement with a bind, a define and a parameter, freed with them.
    OCIStmt* stmt = newStatement("select ename from emp where empno = :1");
    c.OCIStmtExecute(svc_, stmt, err_, 0, 0, nullptr, nullptr, OCI_DESCRIBE_ONLY);
    OCIBind* bind = nullptr;
    c.OCIBindByPos(stmt, &bind, err_, 1, &empno_, sizeof empno_, SQLT_INT, nullptr, nullptr,
                   nullptr, 0, nullptr, OCI_DEFAULT);
    OCIDefine* define = nullptr;
    c.OCIDefineByPos(stmt, &define, err_, 1, name_, sizeof name_, SQLT_STR, nullptr, nullptr,
                     nullptr, OCI_DEFAULT);
    void* param = nullptr;
    c.OCIParamGet(stmt, OCI_HTYPE_STMT, err_, &param, 1);
    c.OCIDescriptorFree(param, OCI_DTYPE_PARAM);
    c.OCIHandleFree(stmt, OCI_HTYPE_STMT);
    freed_[kStmt] = stmt;
    freed_[kBind] = bind;
    freed_[kDefine] = define;
    freed_[kParam] = param;
  }

  // A live handle of another kind than `role`.
  void* wrongKind(int role) const { return live_[role == kErr ? kStmt : kErr]; }

  OCISvcCtx* svc_ = nullptr;
  std::array<void*, kRoleCount> live_{};
  std::array<void*, kRoleCount> freed_{};
  std::unique_ptr<uint64_t> notAHandle_;
  sb4 empno_ = 7839;
  char name_[32] = {};
};

TEST_F(OciBadInputTest, EveryCallRefusesNullFreedForeignAndWrongKindHandles) {
  Scratch scratch;
  int calls = 0, names = 0, missing = 0;
  for (const Entry& entry : allCalls()) {
    void* function = ::dlsym(library(), entry.name);
    if (!function) {
      ++missing;  // declared for clients, not offered by this library
      continue;
    }
    ++names;
    const Signature& s = entry.signature;
    for (size_t target = 0; target < s.roles.size(); ++target) {
      const Role role = s.roles[target];
      if (role == kNoRole) continue;
      const std::pair<const char*, void*> bad[] = {{"null", nullptr},
                                                   {"freed", freed_[role]},
                                                   {"wrong kind", wrongKind(role)},
                                                   {"no handle", notAHandle_.get()}};
      for (const auto& [what, pointer] : bad) {
        if (!pointer && (s.nullables[target] || nullIsLegal(entry.name, target))) continue;
        const sword status = s.call(function, target, pointer, live_, scratch);
        ++calls;
        if (s.returnsStatus && !returnsAnswer(entry.name)) {
          EXPECT_EQ(OCI_INVALID_HANDLE, status)
              << entry.name << " with a " << what << " " << kRoleNames[role] << " (argument "
              << target + 1 << ")";
        }
      }
    }
  }
  // The live handles are untouched by all of it.
  EXPECT_OCI(OCI_SUCCESS, oci().OCIStmtExecute(svc_, static_cast<OCIStmt*>(live_[kStmt]), err_, 1,
                                               0, nullptr, nullptr, OCI_DEFAULT));
  EXPECT_STREQ(name_, "KING");
  std::printf("%d calls with bad handles to %d entry points (%d declared names not exported)\n",
              calls, names, missing);
  EXPECT_GT(names, 100);
}

// The calls that take a handle of any type as a plain pointer, with the
// handle type beside it.
TEST_F(OciBadInputTest, CallsOnUntypedHandlesRefuseNullFreedForeignAndWrongKindHandles) {
  const OciCalls& c = oci();
  int calls = 0;
  for (int role : {kEnv, kErr, kSvc, kStmt, kRowid}) {
    const std::pair<const char*, void*> bad[] = {{"null", nullptr},
                                                 {"freed", freed_[role]},
                                                 {"wrong kind", wrongKind(role)},
                                                 {"no handle", notAHandle_.get()}};
    static const ub4 kTypes[kRoleCount] = {0, OCI_HTYPE_ENV, OCI_HTYPE_ERROR, OCI_HTYPE_SVCCTX,
                                           0, 0, OCI_HTYPE_STMT, 0, 0, 0, 0, 0, 0,
                                           OCI_DTYPE_ROWID};
    const ub4 type = kTypes[role];
    for (const auto& [what, h] : bad) {
      const std::string where = std::string(what) + " " + kRoleNames[role];
      void* out = nullptr;
      ub4 value = 0, size = 0;
      sb4 code = 0;
      OraText text[64] = {};
      std::vector<sword> statuses;
      if (role == kEnv) {
        statuses.push_back(c.OCIHandleAlloc(h, &out, OCI_HTYPE_STMT, 0, nullptr));
        statuses.push_back(c.OCIDescriptorAlloc(h, &out, OCI_DTYPE_ROWID, 0, nullptr));
      }
      if (role == kRowid) {
        statuses.push_back(c.OCIDescriptorFree(h, type));
      } else {
        statuses.push_back(c.OCIHandleFree(h, type));
      }
      statuses.push_back(c.OCIAttrGet(h, type, &value, &size, OCI_ATTR_ROW_COUNT, err_));
      statuses.push_back(c.OCIAttrSet(h, type, &value, 0, OCI_ATTR_PREFETCH_ROWS, err_));
      if (role == kEnv || role == kErr)
        statuses.push_back(c.OCIErrorGet(h, 1, nullptr, &code, text, sizeof text, type));
      statuses.push_back(c.OCIParamGet(h, type, err_, &out, 1));
      statuses.push_back(c.OCIServerVersion(h, err_, text, sizeof text, static_cast<ub1>(type)));
      statuses.push_back(c.OCIBreak(h, err_));
      for (size_t i = 0; i < statuses.size(); ++i)
        EXPECT_EQ(OCI_INVALID_HANDLE, statuses[i]) << where << ", call " << i + 1;
      EXPECT_EQ(0, code) << where;
      EXPECT_EQ(nullptr, out) << where;
      calls += static_cast<int>(statuses.size());
    }
  }
  std::printf("%d calls with bad untyped handles\n", calls);
}

// Sizes and lengths outside what a call allows, with buffers of exactly the
// size given: Oracle's error, and nothing written past a buffer.
TEST_F(OciBadInputTest, NegativeZeroAndOversizedSizesAreRefused) {
  const OciCalls& c = oci();
  auto* stmt = static_cast<OCIStmt*>(live_[kStmt]);
  OCIBind* bind = nullptr;
  OCIDefine* define = nullptr;
  sb4 value = 0;
  // Bind and define positions outside the statement, negative sizes.
  EXPECT_OCI(OCI_ERROR, c.OCIBindByPos(stmt, &bind, err_, 0, &value, sizeof value, SQLT_INT,
                                       nullptr, nullptr, nullptr, 0, nullptr, OCI_DEFAULT));
  EXPECT_EQ(1036, errorCode());
  EXPECT_OCI(OCI_ERROR, c.OCIBindByPos(stmt, &bind, err_, 1, &value, -4, SQLT_INT, nullptr,
                                       nullptr, nullptr, 0, nullptr, OCI_DEFAULT));
  EXPECT_OCI(OCI_ERROR, c.OCIBindByName(stmt, &bind, err_, reinterpret_cast<const OraText*>(":1"),
                                        0, &value, sizeof value, SQLT_INT, nullptr, nullptr,
                                        nullptr, 0, nullptr, OCI_DEFAULT));
  EXPECT_OCI(OCI_ERROR, c.OCIDefineByPos(stmt, &define, err_, 0, &value, sizeof value, SQLT_INT,
                                         nullptr, nullptr, nullptr, OCI_DEFAULT));
  EXPECT_OCI(OCI_ERROR, c.OCIDefineByPos(stmt, &define, err_, 1, &value, -4, SQLT_INT, nullptr,
                                         nullptr, nullptr, OCI_DEFAULT));
  void* param = nullptr;
  EXPECT_OCI(OCI_ERROR, c.OCIParamGet(stmt, OCI_HTYPE_STMT, err_, &param, 0));
  EXPECT_EQ(24334, errorCode());
  EXPECT_OCI(OCI_ERROR, c.OCIParamGet(stmt, OCI_HTYPE_STMT, err_, &param, 1000));
  EXPECT_EQ(24334, errorCode());

  // A text of negative length at the server's attach.
  OCIServer* server = nullptr;
  c.OCIHandleAlloc(env_, reinterpret_cast<void**>(&server), OCI_HTYPE_SERVER, 0, nullptr);
  EXPECT_OCI(OCI_ERROR, c.OCIServerAttach(server, err_, reinterpret_cast<const OraText*>("x"), -5,
                                          OCI_DEFAULT));
  c.OCIHandleFree(server, OCI_HTYPE_SERVER);

  // Zero iterations of a DML statement.
  OCIStmt* update = newStatement("update emp set sal = sal where empno = 7839");
  EXPECT_OCI(OCI_ERROR, c.OCIStmtExecute(svc_, update, err_, 0, 0, nullptr, nullptr, OCI_DEFAULT));
  EXPECT_EQ(24333, errorCode());
  c.OCIHandleFree(update, OCI_HTYPE_STMT);

  // Messages, versions and ROWID texts into buffers of 0, 1 and 6 bytes.
  c.OCIStmtPrepare(stmt, err_, reinterpret_cast<const OraText*>("select"), 6, OCI_NTV_SYNTAX,
                   OCI_DEFAULT);
  for (ub4 size : {0u, 1u, 6u}) {
    std::vector<OraText> buffer(size);
    OraText* data = size ? buffer.data() : nullptr;
    sb4 code = 0;
    c.OCIErrorGet(err_, 1, nullptr, &code, data, size, OCI_HTYPE_ERROR);
    if (size) {
      EXPECT_EQ(0, buffer.back()) << size;
    }
    c.OCIServerVersion(svc_, err_, data, size, OCI_HTYPE_SVCCTX);
    if (size) {
      EXPECT_EQ(0, buffer.back()) << size;
    }
    ub2 length = static_cast<ub2>(size);
    EXPECT_NE(OCI_SUCCESS,
              c.OCIRowidToChar(static_cast<OCIRowid*>(live_[kRowid]), data, &length, err_));
  }

  // Number conversions with lengths no native type has.
  OCINumber number{};
  int64_t wide = 12345;
  EXPECT_OCI(OCI_ERROR, c.OCINumberFromInt(err_, &wide, 3, OCI_NUMBER_SIGNED, &number));
  EXPECT_OCI(OCI_SUCCESS, c.OCINumberFromInt(err_, &wide, sizeof wide, OCI_NUMBER_SIGNED, &number));
  EXPECT_OCI(OCI_ERROR, c.OCINumberToInt(err_, &number, 0, OCI_NUMBER_SIGNED, &wide));
  EXPECT_OCI(OCI_ERROR, c.OCINumberToInt(err_, &number, 16, OCI_NUMBER_SIGNED, &wide));
  EXPECT_EQ(12345, wide);
}

}  // namespace
}  // namespace vorn::server::oci_test
