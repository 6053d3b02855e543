// What stands behind a logged-on logon data area: a version 8 service
// context with its user session, so that both call sets reach the same
// engine session.
//  - olog/orlon log on through handles of their own, in an environment the
//    logon owns (with its own mutex, so threads may share the area);
//  - OCISvcCtxToLda puts a logon data area in front of the caller's service
//    context: the version 7 calls then run in the caller's session and
//    transaction, under the caller's environment mutex (the caller keeps
//    the context and its environment while the area is in use);
//  - OCILdaToSvcCtx hands the service context (back) out and ends the logon
//    data area (its cursors close; the session and its transaction go on).
//    An olog logon's environment stays alive for the service context and
//    returns to the logon data area that it is converted to next.
//
// The logon also keeps the last error reported on it or on one of its
// cursors, so that oerhms gives that error's full text (PL/SQL error stacks,
// names in messages), and the auto-commit switch of ocon/ocof: while it is
// on, every successful statement other than a query commits.
#pragma once

#include <memory>
#include <string>

#include "oci.h"

namespace vorn::server {
class OraError;
struct LogonInfo;
}  // namespace vorn::server

namespace vorn::server::oci {
class Environment;
class ServiceContext;
class UserSession;
}  // namespace vorn::server::oci

namespace vorn::server::oci7 {

class LogonArea {
 public:
  ~LogonArea();
  LogonArea(const LogonArea&) = delete;
  LogonArea& operator=(const LogonArea&) = delete;

  // Logs on in an environment of its own. `credentials` is OCI_CRED_RDBMS
  // or OCI_CRED_EXT; the logon errors are the engine's (ORA-01017, 12154...).
  static std::unique_ptr<LogonArea> logOn(const std::string& user, const std::string& password,
                                          const std::string& connectString, ub4 credentials,
                                          LogonInfo& info);
  // A logon data area in front of `svc`, which must have a logged-on session
  // (ORA-01012).
  static std::unique_ptr<LogonArea> convert(oci::ServiceContext& svc);

  oci::Environment& environment() const { return *env_; }
  oci::ServiceContext& serviceContext() const { return *svc_; }
  // The logged-on session; ORA-01012 once it has ended.
  oci::UserSession& session() const;

  // ologof: ends the session, committing (a failing commit still ends it
  // and is rethrown), and lets go of the handles the logon made. Runs under
  // the environment's mutex; the owned environment itself goes with the
  // object, which must be destroyed without holding that mutex.
  void logOff();
  // OCILdaToSvcCtx: the service context, now the caller's to use. The owned
  // environment is parked until the context is converted again.
  oci::ServiceContext& handOut();

  bool autoCommit = false;

  void remember(const OraError& error);
  // The text oerhms gives for `code`: the last error's own text when it has
  // that number, else the catalogue's. Ends with a newline.
  std::string messageFor(int code) const;

 private:
  LogonArea(std::unique_ptr<oci::Environment> owned, oci::Environment& env,
            oci::ServiceContext& svc);

  std::unique_ptr<oci::Environment> ownedEnv_;
  oci::Environment* env_;
  oci::ServiceContext* svc_;
  int lastErrorCode_ = 0;
  std::string lastErrorText_;
};

// The catalogue text of `code` as oerhms gives it ("ORA-nnnnn: text\n").
std::string catalogueMessage(int code);

}  // namespace vorn::server::oci7
