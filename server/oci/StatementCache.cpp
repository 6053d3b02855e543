// OCIStmtPrepare2 and OCIStmtRelease: statements prepared through a service
// context, and its statement cache. With OCI_ATTR_STMTCACHESIZE above zero,
// a released statement stays prepared (binds, defines and the engine's
// parsed statement included) and the next OCIStmtPrepare2 of the same text,
// or of the same key, gets it back instead of a new one: the engine then
// skips the parse. The least recently released statement leaves a full
// cache (it is freed).
#include <algorithm>
#include <memory>
#include <string>

#include "CallGuard.h"
#include "ServiceContext.h"
#include "StatementHandle.h"

using namespace vorn::server;
using namespace vorn::server::oci;

namespace {

std::string textOf(const OraText* text, ub4 length) {
  return text ? std::string(reinterpret_cast<const char*>(text), length) : std::string();
}

// Takes the statement cached under `key`, or else with `text`, out of the
// cache; null when there is none.
StatementHandle* takeCached(ServiceContext& svc, const std::string& key, const std::string& text) {
  auto& cache = svc.statementCache;
  auto it = std::find_if(cache.begin(), cache.end(), [&](StatementHandle* s) {
    return key.empty() ? s->cacheKey.empty() && s->text == text : s->cacheKey == key;
  });
  if (it == cache.end()) return nullptr;
  StatementHandle* s = *it;
  cache.erase(it);
  return s;
}

}  // namespace

extern "C" sword OCIStmtPrepare2(OCISvcCtx* svchp, OCIStmt** stmtp, OCIError* errhp,
                                 const OraText* stmt, ub4 stmt_len, const OraText* key, ub4 key_len,
                                 ub4, ub4 mode) {
  ServiceContext* svc = handleOf<ServiceContext>(svchp);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!svc || !err || !stmtp) return OCI_INVALID_HANDLE;
  Environment* env = svc->env;
  return guardedCall(*env, *err, [&](ErrorRecords&) -> sword {
    *stmtp = nullptr;
    if (!stmt && stmt_len > 0) raiseOra(21560, {"4"});
    std::string text = textOf(stmt, stmt_len);
    std::string cacheKey = textOf(key, key_len);
    if (StatementHandle* cached = takeCached(*svc, cacheKey, text)) {
      *stmtp = opaque<OCIStmt>(cached);
      return OCI_SUCCESS;
    }
    if (mode & OCI_PREP2_CACHE_SEARCHONLY) raiseOra(24431);
    auto s = std::make_unique<StatementHandle>(env);
    s->prepare(std::move(text));
    s->preparedThrough = svc;
    s->cacheKey = std::move(cacheKey);
    *stmtp = opaque<OCIStmt>(s.get());
    env->adopt(s.release());
    return OCI_SUCCESS;
  });
}

extern "C" sword OCIStmtRelease(OCIStmt* stmtp, OCIError* errhp, const OraText* key, ub4 key_len,
                                ub4 mode) {
  StatementHandle* s = handleOf<StatementHandle>(stmtp);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!s || !err) return OCI_INVALID_HANDLE;
  Environment* env = s->env;
  return guardedCall(*env, *err, [&](ErrorRecords&) -> sword {
    // The service context is looked up among the live ones: it may have
    // been freed since the statement was prepared.
    ServiceContext* svc = nullptr;
    for (Handle* h : env->handlesOfType(OCI_HTYPE_SVCCTX)) {
      if (h == s->preparedThrough) svc = static_cast<ServiceContext*>(h);
    }
    bool keep =
        svc && svc->statementCacheSize > 0 && !(mode & OCI_STRLS_CACHE_DELETE) && s->prepared;
    if (!keep) {
      env->free(s);
      return OCI_SUCCESS;
    }
    if (key && key_len > 0) s->cacheKey = textOf(key, key_len);
    // A cached query keeps no cursor open (nor the snapshot it reads).
    if (s->queryOpen()) {
      ErrorRecords ignored;
      s->fetch(0, ignored);
    }
    svc->statementCache.insert(svc->statementCache.begin(), s);
    while (svc->statementCache.size() > svc->statementCacheSize) {
      StatementHandle* oldest = svc->statementCache.back();
      svc->statementCache.pop_back();
      env->free(oldest);
    }
    return OCI_SUCCESS;
  });
}
