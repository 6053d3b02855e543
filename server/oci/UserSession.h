// The user session handle: credentials (user name and password attributes)
// and, once OCISessionBegin succeeded, the engine session it stands for.
// Statements executed in the session register with it, so that ending the
// session first lets go of their engine cursors.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Handle.h"

namespace vorn::server {
class Session;
struct LogonInfo;
}  // namespace vorn::server

namespace vorn::server::oci {

class ServerHandle;
class StatementHandle;

class UserSession : public Handle {
 public:
  static constexpr ub4 kType = OCI_HTYPE_SESSION;
  explicit UserSession(Environment* env);
  ~UserSession();

  bool loggedOn() const { return engine != nullptr; }
  // Logs on with database (OCI_CRED_RDBMS) or external (OCI_CRED_EXT)
  // credentials through an attached server. ORA-24313 when already logged
  // on; the logon errors of the engine (ORA-01017, 28000, 28001, ...).
  void begin(ServerHandle& through, ub4 credentials, LogonInfo& info);
  // Ends the session: commits first when `commit` (a normal end, as Oracle
  // does at logoff), otherwise the engine rolls back. Statements lose their
  // cursors. Does nothing when not logged on.
  void end(bool commit);

  void registerStatement(StatementHandle* statement);
  void unregisterStatement(StatementHandle* statement);

  sword getAttribute(void* value, ub4* size, ub4 attribute);
  sword setAttribute(void* value, ub4 size, ub4 attribute);

  std::string username;
  std::string password;
  std::string currentSchema;
  // What the client program calls itself (OCI_ATTR_DRIVER_NAME).
  std::string driverName;
  std::unique_ptr<Session> engine;
  ServerHandle* server = nullptr;

 private:
  std::vector<StatementHandle*> statements_;
};

// The operating-system user that external credentials stand for.
std::string operatingSystemUser();

class ServiceContext;
class Environment;

// OCILogon's work: attaches to `connectString` and begins a session with
// `credentials` (OCI_CRED_RDBMS or OCI_CRED_EXT) through a service context,
// server and user session made for the purpose and owned by `env`. Nothing
// is left behind when it fails.
ServiceContext& logOnImplicitly(Environment& env, const std::string& user,
                                const std::string& password, const std::string& connectString,
                                ub4 credentials, LogonInfo& info);
// OCILogoff's work: ends the session (committing), detaches the server and
// frees the handles a logOnImplicitly made. A failing commit still ends the
// session and is rethrown afterwards.
void logOffImplicitly(ServiceContext& svc);

}  // namespace vorn::server::oci
