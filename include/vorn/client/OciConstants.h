// The constants of the Oracle Call Interface that the client binding and
// the session pass or test: status codes, handle types, the attributes and
// credentials of a logon, and the initialisation modes. Statement, bind and
// data type codes belong to the query engine, which declares its own.
#pragma once

#include "vorn/client/OciTypes.h"

namespace vorn::client {

// Version 8 status codes, returned by every call.
inline constexpr sword OCI_SUCCESS = 0;
inline constexpr sword OCI_SUCCESS_WITH_INFO = 1;
inline constexpr sword OCI_NEED_DATA = 99;
inline constexpr sword OCI_NO_DATA = 100;
inline constexpr sword OCI_ERROR = -1;
inline constexpr sword OCI_INVALID_HANDLE = -2;
inline constexpr sword OCI_STILL_EXECUTING = -3123;
inline constexpr sword OCI_CONTINUE = -24200;

inline constexpr ub4 OCI_DEFAULT = 0;

// Handle types (OCIHandleAlloc, OCIHandleFree, OCIAttrGet/Set, OCIErrorGet).
inline constexpr ub4 OCI_HTYPE_ENV = 1;
inline constexpr ub4 OCI_HTYPE_ERROR = 2;
inline constexpr ub4 OCI_HTYPE_SVCCTX = 3;
inline constexpr ub4 OCI_HTYPE_STMT = 4;
inline constexpr ub4 OCI_HTYPE_BIND = 5;
inline constexpr ub4 OCI_HTYPE_DEFINE = 6;
inline constexpr ub4 OCI_HTYPE_DESCRIBE = 7;
inline constexpr ub4 OCI_HTYPE_SERVER = 8;
inline constexpr ub4 OCI_HTYPE_SESSION = 9;
inline constexpr ub4 OCI_HTYPE_TRANS = 10;

// Descriptor types (OCIDescriptorAlloc, OCIDescriptorFree).
inline constexpr ub4 OCI_DTYPE_LOB = 50;
inline constexpr ub4 OCI_DTYPE_PARAM = 53;
inline constexpr ub4 OCI_DTYPE_ROWID = 54;
inline constexpr ub4 OCI_DTYPE_FILE = 56;

// Attributes of a logon.
inline constexpr ub4 OCI_ATTR_SERVER = 6;
inline constexpr ub4 OCI_ATTR_SESSION = 7;
inline constexpr ub4 OCI_ATTR_USERNAME = 22;
inline constexpr ub4 OCI_ATTR_PASSWORD = 23;

// OCISessionBegin credentials.
inline constexpr ub4 OCI_CRED_RDBMS = 1;
inline constexpr ub4 OCI_CRED_EXT = 2;

// OCIInitialize modes; the client is initialised with both.
inline constexpr ub4 OCI_THREADED = 0x01;
inline constexpr ub4 OCI_OBJECT = 0x02;

// OCIEnvInit modes (a different set from OCIInitialize's).
inline constexpr ub4 OCI_ENV_NO_UCB = 0x01;
inline constexpr ub4 OCI_ENV_NO_MUTEX = 0x08;

// OCIPasswordChange: log on with the old password if needed, then change.
inline constexpr ub4 OCI_AUTH = 0x08;

// Size of a message buffer for OCIErrorGet.
inline constexpr ub4 OCI_ERROR_MAXMSG_SIZE = 1024;

// Version 7: opinit and olog modes, and the return codes (the `rc` field of
// a data area) that callers treat specially.
inline constexpr ub4 OCI_EV_DEF = 0;
inline constexpr ub4 OCI_EV_TSF = 1;
inline constexpr ub4 OCI_LM_DEF = 0;
inline constexpr ub2 kOci7NoDataFound = 1403;
inline constexpr ub2 kOci7VariableNotInSelectList = 1007;

}  // namespace vorn::client
