// Logons behind logon data areas; see LogonArea.h.
#include "LogonArea.h"

#include <map>
#include <mutex>

#include "Environment.h"
#include "ServiceContext.h"
#include "UserSession.h"
#include "engine/Database.h"
#include "value/LibraryTable.h"
#include "value/OraError.h"

namespace vorn::server::oci7 {

namespace {

// Environments of olog logons whose service context was handed out by
// OCILdaToSvcCtx, keyed by that context. A context may be converted back at
// any time, and tearing sessions down while the process exits would race
// with the engine's own teardown, so environments still parked then are
// left to the process.
struct ParkedEnvironments {
  std::mutex mutex;
  std::map<const oci::ServiceContext*, std::unique_ptr<oci::Environment>> byContext;
  bool empty() const { return byContext.empty(); }
};

ParkedEnvironments& parked() {
  static LibraryTable<ParkedEnvironments> table;
  return table.get();
}

}  // namespace

std::string catalogueMessage(int code) {
  std::string text = code == 0 ? "ORA-00000: normal, successful completion" : oraMessage(code);
  return text + "\n";
}

LogonArea::LogonArea(std::unique_ptr<oci::Environment> owned, oci::Environment& env,
                     oci::ServiceContext& svc)
    : ownedEnv_(std::move(owned)), env_(&env), svc_(&svc) {}

LogonArea::~LogonArea() = default;

std::unique_ptr<LogonArea> LogonArea::logOn(const std::string& user, const std::string& password,
                                            const std::string& connectString, ub4 credentials,
                                            LogonInfo& info) {
  auto env = std::make_unique<oci::Environment>(true, false);
  oci::ServiceContext* svc = nullptr;
  {
    oci::EnvironmentLock lock(*env);
    svc = &oci::logOnImplicitly(*env, user, password, connectString, credentials, info);
  }
  oci::Environment& ref = *env;
  return std::unique_ptr<LogonArea>(new LogonArea(std::move(env), ref, *svc));
}

std::unique_ptr<LogonArea> LogonArea::convert(oci::ServiceContext& svc) {
  svc.loggedOnSession();
  std::unique_ptr<oci::Environment> owned;
  {
    ParkedEnvironments& p = parked();
    std::lock_guard<std::mutex> lock(p.mutex);
    auto it = p.byContext.find(&svc);
    // Only the environment the context lives in: a context freed since and
    // another one made at the same address must not inherit it.
    if (it != p.byContext.end() && it->second.get() == svc.env) {
      owned = std::move(it->second);
      p.byContext.erase(it);
    }
  }
  return std::unique_ptr<LogonArea>(new LogonArea(std::move(owned), *svc.env, svc));
}

oci::UserSession& LogonArea::session() const {
  if (!svc_) raiseOra(1012);
  return svc_->loggedOnSession();
}

void LogonArea::logOff() {
  if (!svc_) raiseOra(1012);
  oci::ServiceContext* svc = svc_;
  if (ownedEnv_) {
    svc_ = nullptr;
    oci::logOffImplicitly(*svc);
    return;
  }
  oci::UserSession& s = svc->loggedOnSession();
  svc_ = nullptr;
  s.end(true);
}

oci::ServiceContext& LogonArea::handOut() {
  if (!svc_) raiseOra(1012);
  oci::ServiceContext& svc = *svc_;
  if (ownedEnv_) {
    ParkedEnvironments& p = parked();
    std::lock_guard<std::mutex> lock(p.mutex);
    p.byContext[&svc] = std::move(ownedEnv_);
  }
  svc_ = nullptr;
  return svc;
}

void LogonArea::remember(const OraError& error) {
  lastErrorCode_ = error.code();
  lastErrorText_ = error.message();
  if (lastErrorText_.empty() || lastErrorText_.back() != '\n') lastErrorText_ += '\n';
}

std::string LogonArea::messageFor(int code) const {
  if (code != 0 && code == lastErrorCode_) return lastErrorText_;
  return catalogueMessage(code);
}

}  // namespace vorn::server::oci7
