// Environments, handle and descriptor allocation; see Environment.h.
#include "Environment.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>

#include "BindHandle.h"
#include "CallGuard.h"
#include "Charsets.h"
#include "DateTimeDescriptor.h"
#include "DefineHandle.h"
#include "LobLocator.h"
#include "ObjectCache.h"
#include "ParamDescriptor.h"
#include "RowidDescriptor.h"
#include "ServerHandle.h"
#include "ServiceContext.h"
#include "SessionPool.h"
#include "StatementHandle.h"
#include "Trace.h"
#include "UserSession.h"

namespace vorn::server::oci {

namespace {

// OCIInitialize's mode, for environments made by OCIEnvInit.
std::atomic<ub4> processMode{OCI_DEFAULT};

void destroy(Handle* h) {
  switch (h->type) {
    case OCI_HTYPE_ERROR:
      delete static_cast<ErrorHandle*>(h);
      break;
    case OCI_HTYPE_SVCCTX:
      delete static_cast<ServiceContext*>(h);
      break;
    case OCI_HTYPE_STMT:
      delete static_cast<StatementHandle*>(h);
      break;
    case OCI_HTYPE_DESCRIBE:
      delete static_cast<DescribeHandle*>(h);
      break;
    case OCI_HTYPE_SERVER:
      delete static_cast<ServerHandle*>(h);
      break;
    case OCI_HTYPE_SESSION:
      delete static_cast<UserSession*>(h);
      break;
    case OCI_HTYPE_TRANS:
      delete static_cast<TransactionHandle*>(h);
      break;
    case OCI_HTYPE_SPOOL:
      delete static_cast<SessionPool*>(h);
      break;
    case OCI_DTYPE_ROWID:
      delete static_cast<RowidDescriptor*>(h);
      break;
    case OCI_DTYPE_LOB:
    case OCI_DTYPE_FILE:
      delete static_cast<LobLocator*>(h);
      break;
    default:
      if (isDateTimeType(h->type)) {
        delete static_cast<DateTimeDescriptor*>(h);
      } else if (isIntervalType(h->type)) {
        delete static_cast<IntervalDescriptor*>(h);
      }
      break;
  }
}

int freeOrder(ub4 type) {
  switch (type) {
    case OCI_HTYPE_STMT:
      return 0;
    case OCI_HTYPE_SVCCTX:
      return 1;
    case OCI_HTYPE_SESSION:
      return 2;
    case OCI_HTYPE_SERVER:
      return 3;
    default:
      return 4;
  }
}

Handle* allocateHandle(Environment* env, ub4 type) {
  switch (type) {
    case OCI_HTYPE_ERROR:
      return new ErrorHandle(env);
    case OCI_HTYPE_SVCCTX:
      return new ServiceContext(env);
    case OCI_HTYPE_STMT:
      return new StatementHandle(env);
    case OCI_HTYPE_DESCRIBE:
      return new DescribeHandle(env);
    case OCI_HTYPE_SERVER:
      return new ServerHandle(env);
    case OCI_HTYPE_SESSION:
      return new UserSession(env);
    case OCI_HTYPE_TRANS:
      return new TransactionHandle(env);
    case OCI_HTYPE_SPOOL:
      return new SessionPool(env);
    default:
      return nullptr;
  }
}

Handle* allocateDescriptor(Environment* env, ub4 type) {
  switch (type) {
    case OCI_DTYPE_ROWID:
      return new RowidDescriptor(env);
    case OCI_DTYPE_LOB:
    case OCI_DTYPE_FILE:
      return new LobLocator(type, env);
    default:
      if (isDateTimeType(type)) return new DateTimeDescriptor(type, env);
      if (isIntervalType(type)) return new IntervalDescriptor(type, env);
      return nullptr;
  }
}

}  // namespace

void setInternalError(ErrorRecords& records, const char* what) {
  try {
    records.set(OraError(600, oraMessage(600, {"oci", what})));
  } catch (...) {
    records.clear();
  }
}

Environment::Environment(bool mutex, bool object)
    : Handle(kType, this), useMutex(mutex), objectMode(object) {}

Environment::~Environment() {
  std::vector<Handle*> all = children_;
  std::stable_sort(all.begin(), all.end(),
                   [](Handle* a, Handle* b) { return freeOrder(a->type) < freeOrder(b->type); });
  for (Handle* h : all) {
    if (std::find(children_.begin(), children_.end(), h) == children_.end()) continue;
    try {
      free(h);
    } catch (...) {
    }
  }
  for (auto& block : memoryBlocks)
    std::free(block.first);
}

void Environment::adopt(Handle* handle) {
  children_.push_back(handle);
}

std::vector<Handle*> Environment::handlesOfType(ub4 wanted) const {
  std::vector<Handle*> out;
  for (Handle* h : children_) {
    if (h->type == wanted) out.push_back(h);
  }
  return out;
}

void Environment::releaseMemoryOf(const Handle* owner) {
  for (auto b = memoryBlocks.begin(); b != memoryBlocks.end();) {
    if (b->second == owner) {
      std::free(b->first);
      b = memoryBlocks.erase(b);
    } else {
      ++b;
    }
  }
}

void Environment::free(Handle* handle) {
  auto it = std::find(children_.begin(), children_.end(), handle);
  if (it == children_.end()) return;
  children_.erase(it);
  if (objectCache) objectCache->forget(handle);
  for (auto v = contextValues.begin(); v != contextValues.end();) {
    v = v->first.first == handle ? contextValues.erase(v) : std::next(v);
  }
  releaseMemoryOf(handle);
  std::vector<Handle*> implicit;
  std::vector<Handle*> implicitStatements;
  for (Handle* h : handlesOfType(OCI_HTYPE_SVCCTX)) {
    auto* svc = static_cast<ServiceContext*>(h);
    if (svc->server == handle) svc->server = nullptr;
    if (svc->session == handle) svc->session = nullptr;
    if (svc->transaction == handle) svc->transaction = nullptr;
  }
  if (handle->type == OCI_HTYPE_STMT) {
    // A statement freed while in a statement cache leaves it.
    for (Handle* h : handlesOfType(OCI_HTYPE_SVCCTX)) {
      auto& cache = static_cast<ServiceContext*>(h)->statementCache;
      cache.erase(std::remove(cache.begin(), cache.end(), handle), cache.end());
    }
  }
  if (handle->type == OCI_HTYPE_SVCCTX) {
    // The statements it cached go with it.
    for (StatementHandle* cached :
         std::vector<StatementHandle*>(static_cast<ServiceContext*>(handle)->statementCache)) {
      implicitStatements.push_back(cached);
    }
    // An idle pooled session freed by the caller leaves its pool.
    for (Handle* h : handlesOfType(OCI_HTYPE_SPOOL)) {
      auto& idle = static_cast<SessionPool*>(h)->idle;
      idle.erase(std::remove(idle.begin(), idle.end(), handle), idle.end());
    }
  }
  if (handle->type == OCI_HTYPE_SVCCTX) {
    auto* svc = static_cast<ServiceContext*>(handle);
    if (svc->implicitHandles) {
      if (svc->session) implicit.push_back(svc->session);
      if (svc->server) implicit.push_back(svc->server);
    }
  }
  destroy(handle);
  for (Handle* h : implicitStatements)
    free(h);
  for (Handle* h : implicit)
    free(h);
}

sword Environment::getAttribute(void* value, ub4* size, ub4 attribute) {
  auto put = [&](auto v) {
    if (!value) raiseOra(21560, {"3"});
    std::memcpy(value, &v, sizeof v);
    if (size) *size = sizeof v;
    return OCI_SUCCESS;
  };
  switch (attribute) {
    case OCI_ATTR_OBJECT:
      return put(static_cast<boolean>(objectMode ? 1 : 0));
    case OCI_ATTR_HEAPALLOC:
      return put(static_cast<ub4>(0));
    case OCI_ATTR_ENV_CHARSET_ID:
      return put(charsetId);
    case OCI_ATTR_NCHARSET_ID:
      return put(ncharsetId);
    case OCI_ATTR_CACHE_OPT_SIZE:
    case OCI_ATTR_CACHE_MAX_SIZE:
      return put(static_cast<ub4>(0));
    default:
      raiseOra(24315);
  }
}

sword Environment::setAttribute(void*, ub4, ub4 attribute) {
  switch (attribute) {
    case OCI_ATTR_CACHE_OPT_SIZE:
    case OCI_ATTR_CACHE_MAX_SIZE:
    case OCI_ATTR_PINOPTION:
    case OCI_ATTR_ALLOC_DURATION:
    case OCI_ATTR_PIN_DURATION:
      // Object-cache tuning: the cache keeps what it is given until it is
      // freed, whatever its size.
      return OCI_SUCCESS;
    default:
      raiseOra(24315);
  }
}

}  // namespace vorn::server::oci

using namespace vorn::server;
using namespace vorn::server::oci;

extern "C" sword OCIInitialize(ub4 mode, void*, void* (*)(void*, size_t),
                               void* (*)(void*, void*, size_t), void (*)(void*, void*)) {
  processMode = mode;
  return OCI_SUCCESS;
}

extern "C" sword OCITerminate(ub4) {
  return OCI_SUCCESS;
}

namespace {

sword makeEnvironment(OCIEnv** envp, bool mutex, bool object, size_t xtramem_sz, void** usrmempp,
                      ub2 charset = kDefaultCharsetId, ub2 ncharset = kDefaultNcharsetId) {
  if (!envp) return OCI_INVALID_HANDLE;
  *envp = nullptr;
  try {
    auto env = std::make_unique<Environment>(mutex, object);
    env->charsetId = charset;
    env->ncharsetId = ncharset;
    env->provideUserMemory(xtramem_sz, usrmempp);
    *envp = opaque<OCIEnv>(env.release());
    return OCI_SUCCESS;
  } catch (...) {
    return OCI_ERROR;
  }
}

// The frame of OCIHandleAlloc and OCIDescriptorAlloc: `make` gives the new
// handle of an environment (null for an unknown type), which the
// environment then owns.
template <class Make>
sword allocateChild(const void* parenth, void** out, ub4 type, size_t xtramem_sz, void** usrmempp,
                    Make&& make) {
  Environment* env = handleOf<Environment>(parenth);
  if (!env || !out) return OCI_INVALID_HANDLE;
  *out = nullptr;
  EnvironmentLock lock(*env);
  try {
    std::unique_ptr<Handle> h(make(env));
    if (!h)
      return traceRefusal(OCI_INVALID_HANDLE, "OCIHandleAlloc/OCIDescriptorAlloc", type, 0,
                          nullptr);
    h->provideUserMemory(xtramem_sz, usrmempp);
    *out = h.get();
    env->adopt(h.release());
    return OCI_SUCCESS;
  } catch (...) {
    env->errors.set(OraError(600, oraMessage(600, {"oci", "out of memory"})));
    return OCI_ERROR;
  }
}

}  // namespace

extern "C" sword OCIEnvInit(OCIEnv** envp, ub4 mode, size_t xtramem_sz, void** usrmempp) {
  return makeEnvironment(envp, !(mode & OCI_ENV_NO_MUTEX), (processMode & OCI_OBJECT) != 0,
                         xtramem_sz, usrmempp);
}

extern "C" sword OCIEnvCreate(OCIEnv** envp, ub4 mode, void*, void* (*)(void*, size_t),
                              void* (*)(void*, void*, size_t), void (*)(void*, void*),
                              size_t xtramem_sz, void** usrmempp) {
  // The memory callbacks are not used: the library's allocations are its own.
  bool mutex = (mode & OCI_THREADED) && !(mode & OCI_NO_MUTEX);
  return makeEnvironment(envp, mutex, (mode & OCI_OBJECT) != 0, xtramem_sz, usrmempp);
}

extern "C" sword OCIEnvNlsCreate(OCIEnv** envp, ub4 mode, void*, void* (*)(void*, size_t),
                                 void* (*)(void*, void*, size_t), void (*)(void*, void*),
                                 size_t xtramem_sz, void** usrmempp, ub2 charset, ub2 ncharset) {
  // Text passes through unchanged: the engine keeps what it is given, so
  // only the character sets whose text it can keep so are accepted (0 is
  // the default of the environment, as in OCIEnvCreate).
  if (charset == 0) charset = kDefaultCharsetId;
  if (ncharset == 0) ncharset = kDefaultNcharsetId;
  if (!isByteCharset(charset) || !isNationalCharset(ncharset)) {
    if (envp) *envp = nullptr;
    return OCI_ERROR;
  }
  bool mutex = (mode & OCI_THREADED) && !(mode & OCI_NO_MUTEX);
  return makeEnvironment(envp, mutex, (mode & OCI_OBJECT) != 0, xtramem_sz, usrmempp, charset,
                         ncharset);
}

extern "C" sword OCIHandleAlloc(const void* parenth, void** hndlpp, const ub4 type,
                                const size_t xtramem_sz, void** usrmempp) {
  return allocateChild(parenth, hndlpp, type, xtramem_sz, usrmempp,
                       [type](Environment* env) { return allocateHandle(env, type); });
}

extern "C" sword OCIHandleFree(void* hndlp, const ub4 type) {
  if (type == OCI_HTYPE_ENV) {
    Environment* env = handleOf<Environment>(hndlp);
    if (!env) return OCI_INVALID_HANDLE;
    delete env;
    return OCI_SUCCESS;
  }
  if (type == OCI_HTYPE_BIND || type == OCI_HTYPE_DEFINE) return OCI_INVALID_HANDLE;
  Handle* h = anyHandleOf(hndlp, type);
  if (!h) return OCI_INVALID_HANDLE;
  Environment* env = h->env;
  EnvironmentLock lock(*env);
  env->free(h);
  return OCI_SUCCESS;
}

extern "C" sword OCIDescriptorAlloc(const void* parenth, void** descpp, const ub4 type,
                                    const size_t xtramem_sz, void** usrmempp) {
  return allocateChild(parenth, descpp, type, xtramem_sz, usrmempp,
                       [type](Environment* env) { return allocateDescriptor(env, type); });
}

extern "C" sword OCIDescriptorFree(void* descp, const ub4 type) {
  Handle* h = anyHandleOf(descp, type);
  if (!h) return OCI_INVALID_HANDLE;
  // Parameter descriptors belong to their statement and go with it.
  if (type == OCI_DTYPE_PARAM) return OCI_SUCCESS;
  Environment* env = h->env;
  EnvironmentLock lock(*env);
  env->free(h);
  return OCI_SUCCESS;
}
