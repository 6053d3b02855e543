// Server attachment, version banner and break; see ServerHandle.h.
#include "ServerHandle.h"

#include <cstring>
#include <mutex>

#include "Attributes.h"
#include "CallGuard.h"
#include "Environment.h"
#include "OracleHome.h"
#include "ServiceContext.h"
#include "UserSession.h"
#include "engine/Database.h"
#include "plsql/Plsql.h"

namespace vorn::server::oci {

ServerHandle::ServerHandle(Environment* env) : Handle(kType, env) {}

ServerHandle::~ServerHandle() {
  detach();
}

void ServerHandle::attach(const std::string& name) {
  // Every session begins on an attached server, so the PL/SQL layer joins
  // the engine here, before the process's first session.
  static std::once_flag plsqlInstalled;
  std::call_once(plsqlInstalled, plsql::installPlsql);
  if (attached()) raiseOra(24309);
  std::string identifier = name;
  if (identifier.find_first_not_of(" \t") == std::string::npos) identifier = defaultConnectString();
  database = Database::connect(identifier, oracleHome());
  connectString = name;
}

void ServerHandle::detach() {
  if (!attached()) return;
  for (Handle* h : env->handlesOfType(OCI_HTYPE_SESSION)) {
    auto* session = static_cast<UserSession*>(h);
    if (session->server == this) session->end(false);
  }
  database.reset();
}

std::string ServerHandle::banner() const {
  if (!attached()) raiseOra(3114);
  return database->banner();
}

sword ServerHandle::getAttribute(void* value, ub4* size, ub4 attribute) {
  switch (attribute) {
    case OCI_ATTR_ENV:
      return putAttribute<OCIEnv*>(value, size, opaque<OCIEnv>(reinterpret_cast<Handle*>(env)));
    case OCI_ATTR_SERVER_STATUS:
      return putAttribute<ub4>(value, size,
                               attached() ? OCI_SERVER_NORMAL : OCI_SERVER_NOT_CONNECTED);
    case OCI_ATTR_INTERNAL_NAME:
      return putTextAttribute(value, size, internalName);
    case OCI_ATTR_EXTERNAL_NAME:
      return putTextAttribute(value, size, externalName);
    case OCI_ATTR_NONBLOCKING_MODE:
      return putAttribute<ub1>(value, size, 0);
    case OCI_ATTR_IN_V8_MODE:
      return putAttribute<ub1>(value, size, 1);
    case OCI_ATTR_CHARSET_ID:
      // The database keeps text as its clients' environment hands it over,
      // so its character set is theirs: no client converts.
      return putAttribute<ub2>(value, size, env->charsetId);
    default:
      raiseOra(24315);
  }
}

sword ServerHandle::setAttribute(void* value, ub4 size, ub4 attribute) {
  switch (attribute) {
    case OCI_ATTR_INTERNAL_NAME:
      internalName = takeTextAttribute(value, size);
      return OCI_SUCCESS;
    case OCI_ATTR_EXTERNAL_NAME:
      externalName = takeTextAttribute(value, size);
      return OCI_SUCCESS;
    case OCI_ATTR_NONBLOCKING_MODE:
      // Every call completes before it returns.
      raiseOra(3001);
    default:
      raiseOra(24315);
  }
}

ub4 releaseNumber(const std::string& banner) {
  size_t at = banner.find("Release ");
  if (at == std::string::npos) return 0;
  ub4 part[5] = {};
  const char* p = banner.c_str() + at + 8;
  for (int i = 0; i < 5 && *p >= '0' && *p <= '9'; ++i) {
    while (*p >= '0' && *p <= '9')
      part[i] = part[i] * 10 + static_cast<ub4>(*p++ - '0');
    if (*p == '.') ++p;
  }
  if (part[0] >= 18)
    return (part[0] << 24) | ((part[1] & 0xFF) << 16) | ((part[2] & 0xF) << 12) |
           ((part[3] & 0xFF) << 4) | (part[4] & 0xF);
  return (part[0] << 24) | ((part[1] & 0xF) << 20) | ((part[2] & 0xFF) << 12) |
         ((part[3] & 0xF) << 8) | (part[4] & 0xFF);
}

}  // namespace vorn::server::oci

using namespace vorn::server;
using namespace vorn::server::oci;

extern "C" sword OCIServerAttach(OCIServer* srvhp, OCIError* errhp, const OraText* dblink,
                                 sb4 dblink_len, ub4 mode) {
  ServerHandle* srv = handleOf<ServerHandle>(srvhp);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!srv || !err) return OCI_INVALID_HANDLE;
  return guardedCall(*srv->env, *err, [&](ErrorRecords&) -> sword {
    (void)mode;
    std::string name;
    if (dblink) {
      size_t n = dblink_len >= 0 ? static_cast<size_t>(dblink_len)
                                 : std::strlen(reinterpret_cast<const char*>(dblink));
      name.assign(reinterpret_cast<const char*>(dblink), n);
    }
    srv->attach(name);
    return OCI_SUCCESS;
  });
}

extern "C" sword OCIServerDetach(OCIServer* srvhp, OCIError* errhp, ub4) {
  ServerHandle* srv = handleOf<ServerHandle>(srvhp);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!srv || !err) return OCI_INVALID_HANDLE;
  return guardedCall(*srv->env, *err, [&](ErrorRecords&) -> sword {
    if (!srv->attached()) raiseOra(3114);
    srv->detach();
    return OCI_SUCCESS;
  });
}

namespace {

// OCIServerVersion and OCIServerRelease: the banner into the caller's buffer
// (cut to `bufsz` - 1 bytes and terminated) and, when asked, its release.
sword serverRelease(void* hndlp, OCIError* errhp, OraText* bufp, ub4 bufsz, ub1 hndltype,
                    ub4* version) {
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  ServerHandle* srv = nullptr;
  Environment* env = nullptr;
  if (hndltype == OCI_HTYPE_SERVER) {
    srv = handleOf<ServerHandle>(hndlp);
    if (srv) env = srv->env;
  } else if (hndltype == OCI_HTYPE_SVCCTX) {
    if (ServiceContext* svc = handleOf<ServiceContext>(hndlp)) {
      env = svc->env;
      srv = svc->server;
    }
  }
  if (!env || !err) return OCI_INVALID_HANDLE;
  return guardedCall(*env, *err, [&](ErrorRecords&) -> sword {
    if (!srv) raiseOra(3114);
    std::string banner = srv->banner();
    if (bufp && bufsz > 0) {
      size_t n = std::min<size_t>(banner.size(), bufsz - 1);
      std::memcpy(bufp, banner.data(), n);
      bufp[n] = 0;
    }
    if (version) *version = releaseNumber(banner);
    return OCI_SUCCESS;
  });
}

}  // namespace

extern "C" sword OCIServerVersion(void* hndlp, OCIError* errhp, OraText* bufp, ub4 bufsz,
                                  ub1 hndltype) {
  return serverRelease(hndlp, errhp, bufp, bufsz, hndltype, nullptr);
}

extern "C" sword OCIServerRelease(void* hndlp, OCIError* errhp, OraText* bufp, ub4 bufsz,
                                  ub1 hndltype, ub4* version) {
  if (!version) return OCI_INVALID_HANDLE;
  return serverRelease(hndlp, errhp, bufp, bufsz, hndltype, version);
}

extern "C" sword OCIServerRelease2(void* hndlp, OCIError* errhp, OraText* bufp, ub4 bufsz,
                                   ub1 hndltype, ub4* version, ub4) {
  if (!version) return OCI_INVALID_HANDLE;
  return serverRelease(hndlp, errhp, bufp, bufsz, hndltype, version);
}

extern "C" sword OCIBreak(void* hndlp, OCIError* errhp) {
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  Handle* h = anyHandleOf(hndlp, OCI_HTYPE_SVCCTX);
  if (!h) h = anyHandleOf(hndlp, OCI_HTYPE_SERVER);
  if (!h || !err) return OCI_INVALID_HANDLE;
  // Every call runs to its end before it returns, so there is never a call
  // in progress on another thread to interrupt; a break is a no-op.
  return OCI_SUCCESS;
}

extern "C" sword OCIPing(OCISvcCtx* svchp, OCIError* errhp, ub4) {
  ServiceContext* svc = handleOf<ServiceContext>(svchp);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!svc || !err) return OCI_INVALID_HANDLE;
  return guardedCall(*svc->env, *err, [&](ErrorRecords&) -> sword {
    svc->loggedOnSession();
    return OCI_SUCCESS;
  });
}
