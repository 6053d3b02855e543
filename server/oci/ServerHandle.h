// The server handle: an attachment to one database, named by a connect
// string as OCIServerAttach receives it (a tnsnames alias, a database name
// under the Oracle home, or a file path; empty names the default database).
// Sessions begin on an attached server; detaching ends the sessions that are
// still open on it, without committing.
#pragma once

#include <memory>
#include <string>

#include "Handle.h"

namespace vorn::server {
class Database;
}

namespace vorn::server::oci {

class ServerHandle : public Handle {
 public:
  static constexpr ub4 kType = OCI_HTYPE_SERVER;
  explicit ServerHandle(Environment* env);
  ~ServerHandle();

  bool attached() const { return database != nullptr; }
  // ORA-24309 when already attached, ORA-12154 when nothing answers to the name.
  void attach(const std::string& connectString);
  void detach();
  // The database banner (OCIServerVersion); ORA-03114 when not attached.
  std::string banner() const;

  sword getAttribute(void* value, ub4* size, ub4 attribute);
  sword setAttribute(void* value, ub4 size, ub4 attribute);

  std::shared_ptr<Database> database;
  std::string connectString;
  std::string internalName;
  std::string externalName;
};

}  // namespace vorn::server::oci
