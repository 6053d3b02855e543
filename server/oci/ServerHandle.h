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

// The release number a banner names ("... Release 8.1.7.0.0 ..."), packed
// as OCIServerRelease hands it out: major in the top byte, then minor
// (4 bits), update (8 bits), port release (4 bits) and port update (8 bits)
// before release 18; from 18 on the fields after the major are the release
// update (8 bits), its revision (4 bits), increment (8 bits) and extension
// (4 bits). 0 for a banner that names no release.
ub4 releaseNumber(const std::string& banner);

}  // namespace vorn::server::oci
