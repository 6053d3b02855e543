// The constants of the Oracle Call Interface that the library passes or
// tests: status codes, handle and descriptor types, the attributes of a
// logon, a statement and a describe, execution and fetch modes, statement
// types and external data types, and the version 7 codes. This is the one
// copy in the library; tests/client compares it with the embedded server's
// oci.h, name by name.
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

// OCIStmtPrepare language.
inline constexpr ub4 OCI_NTV_SYNTAX = 1;

// OCIStmtExecute modes.
inline constexpr ub4 OCI_DESCRIBE_ONLY = 0x10;
inline constexpr ub4 OCI_COMMIT_ON_SUCCESS = 0x20;

// Define mode of a column whose buffers are handed out at fetch time.
inline constexpr ub4 OCI_DYNAMIC_FETCH = 0x02;

// OCIStmtFetch orientation.
inline constexpr ub2 OCI_FETCH_NEXT = 0x02;

// Pieces of a piecewise value (define callbacks).
inline constexpr ub1 OCI_ONE_PIECE = 0;
inline constexpr ub1 OCI_FIRST_PIECE = 1;
inline constexpr ub1 OCI_NEXT_PIECE = 2;
inline constexpr ub1 OCI_LAST_PIECE = 3;

// Statement handle attributes.
inline constexpr ub4 OCI_ATTR_ROW_COUNT = 9;
inline constexpr ub4 OCI_ATTR_SQLFNCODE = 10;
inline constexpr ub4 OCI_ATTR_PREFETCH_ROWS = 11;
inline constexpr ub4 OCI_ATTR_PREFETCH_MEMORY = 13;
inline constexpr ub4 OCI_ATTR_PARAM_COUNT = 18;
inline constexpr ub4 OCI_ATTR_ROWID = 19;
inline constexpr ub4 OCI_ATTR_STMT_TYPE = 24;
inline constexpr ub4 OCI_ATTR_PARAM = 124;
inline constexpr ub4 OCI_ATTR_PARSE_ERROR_OFFSET = 129;

// Parameter (describe) attributes; they share numbers with the handle
// attributes above, the descriptor type tells them apart.
inline constexpr ub4 OCI_ATTR_DATA_SIZE = 1;
inline constexpr ub4 OCI_ATTR_DATA_TYPE = 2;
inline constexpr ub4 OCI_ATTR_NAME = 4;
inline constexpr ub4 OCI_ATTR_PRECISION = 5;
inline constexpr ub4 OCI_ATTR_SCALE = 6;
inline constexpr ub4 OCI_ATTR_IS_NULL = 7;
inline constexpr ub4 OCI_ATTR_TYPE_NAME = 8;
inline constexpr ub4 OCI_ATTR_SCHEMA_NAME = 9;
inline constexpr ub4 OCI_ATTR_REF_TDO = 110;
inline constexpr ub4 OCI_ATTR_TYPECODE = 216;

// OCI_ATTR_STMT_TYPE values.
inline constexpr ub2 OCI_STMT_SELECT = 1;
inline constexpr ub2 OCI_STMT_UPDATE = 2;
inline constexpr ub2 OCI_STMT_DELETE = 3;
inline constexpr ub2 OCI_STMT_INSERT = 4;
inline constexpr ub2 OCI_STMT_CREATE = 5;
inline constexpr ub2 OCI_STMT_DROP = 6;
inline constexpr ub2 OCI_STMT_ALTER = 7;
inline constexpr ub2 OCI_STMT_BEGIN = 8;
inline constexpr ub2 OCI_STMT_DECLARE = 9;

// Attributes of a described type and its attributes.
inline constexpr ub4 OCI_ATTR_COLLECTION_TYPECODE = 217;
inline constexpr ub4 OCI_ATTR_COLLECTION_ELEMENT = 227;
inline constexpr ub4 OCI_ATTR_NUM_TYPE_ATTRS = 228;
inline constexpr ub4 OCI_ATTR_LIST_TYPE_ATTRS = 229;

// OCIDescribeAny object kinds, and the object cache's options.
inline constexpr ub1 OCI_OTYPE_NAME = 1;
inline constexpr ub1 OCI_OTYPE_REF = 2;
inline constexpr ub1 OCI_OTYPE_PTR = 3;
inline constexpr ub1 OCI_PTYPE_TYPE = 6;
inline constexpr OCIDuration OCI_DURATION_SESSION = 10;
inline constexpr OCIPinOpt OCI_PIN_ANY = 3;
inline constexpr OCILockOpt OCI_LOCK_NONE = 1;
inline constexpr OCITypeGetOpt OCI_TYPEGET_HEADER = 0;
inline constexpr ub2 OCI_OBJECTFREE_FORCE = 0x0001;
inline constexpr OCIInd OCI_IND_NOTNULL = 0;
inline constexpr OCIInd OCI_IND_NULL = -1;
inline constexpr uword OCI_NUMBER_SIGNED = 2;

// Type codes of the object calls (the types of attributes and instances).
inline constexpr OCITypeCode OCI_TYPECODE_VARCHAR = 1;
inline constexpr OCITypeCode OCI_TYPECODE_NUMBER = 2;
inline constexpr OCITypeCode OCI_TYPECODE_VARCHAR2 = 9;
inline constexpr OCITypeCode OCI_TYPECODE_DATE = 12;
inline constexpr OCITypeCode OCI_TYPECODE_RAW = 95;
inline constexpr OCITypeCode OCI_TYPECODE_CHAR = 96;
inline constexpr OCITypeCode OCI_TYPECODE_OBJECT = 108;
inline constexpr OCITypeCode OCI_TYPECODE_REF = 110;
inline constexpr OCITypeCode OCI_TYPECODE_CLOB = 112;
inline constexpr OCITypeCode OCI_TYPECODE_BLOB = 113;
inline constexpr OCITypeCode OCI_TYPECODE_BFILE = 114;
inline constexpr OCITypeCode OCI_TYPECODE_NAMEDCOLLECTION = 122;

// LOB calls: a BFILE opened for reading, and the character set form of
// the database character set.
inline constexpr ub1 OCI_FILE_READONLY = 1;
inline constexpr ub1 SQLCS_IMPLICIT = 1;

// External data types: the `dty` of binds and defines, and the types a
// describe reports for columns.
inline constexpr ub2 SQLT_CHR = 1;
inline constexpr ub2 SQLT_NUM = 2;
inline constexpr ub2 SQLT_INT = 3;
inline constexpr ub2 SQLT_FLT = 4;
inline constexpr ub2 SQLT_STR = 5;
inline constexpr ub2 SQLT_LNG = 8;
inline constexpr ub2 SQLT_RID = 11;
inline constexpr ub2 SQLT_DAT = 12;
inline constexpr ub2 SQLT_BIN = 23;
inline constexpr ub2 SQLT_LBI = 24;
inline constexpr ub2 SQLT_AFC = 96;
inline constexpr ub2 SQLT_AVC = 97;
inline constexpr ub2 SQLT_CUR = 102;
inline constexpr ub2 SQLT_RDD = 104;
inline constexpr ub2 SQLT_LAB = 105;
inline constexpr ub2 SQLT_OSL = 106;
inline constexpr ub2 SQLT_NTY = 108;
inline constexpr ub2 SQLT_REF = 110;
inline constexpr ub2 SQLT_CLOB = 112;
inline constexpr ub2 SQLT_BLOB = 113;
inline constexpr ub2 SQLT_BFILEE = 114;
inline constexpr ub2 SQLT_RSET = 116;

// Version 7: opinit and olog modes, and the return codes (the `rc` field of
// a data area) that callers treat specially.
inline constexpr ub4 OCI_EV_DEF = 0;
inline constexpr ub4 OCI_EV_TSF = 1;
inline constexpr ub4 OCI_LM_DEF = 0;
inline constexpr ub2 kOci7NoDataFound = 1403;
inline constexpr ub2 kOci7VariableNotInSelectList = 1007;

// Version 7 oparse: defer the parse to the first execute or describe, with
// Oracle7 behaviour.
inline constexpr sword kOci7DeferredParse = 1;
inline constexpr ub4 kOci7Version7Behaviour = 2;

// Version 7 SQL function codes (the `ft` field, and OCI_ATTR_SQLFNCODE).
inline constexpr ub2 kOci7FunctionInsert = 3;
inline constexpr ub2 kOci7FunctionSelect = 4;
inline constexpr ub2 kOci7FunctionUpdate = 5;
inline constexpr ub2 kOci7FunctionDelete = 9;
inline constexpr ub2 kOci7FunctionPlsql = 34;

}  // namespace vorn::client
