/*
 * oci.h: the Oracle Call Interface as the embedded server's client library
 * exports it. Names, C types, prototypes and constant values are those of
 * Oracle's own client (version 8 handle calls, version 7 data-area calls and
 * the object, LOB and datatype helpers), so a program written against the
 * real OCI compiles against this header unchanged and runs against either
 * library.
 *
 * Conventions that matter at the binary level:
 *  - ub4/sb4/sword/uword and boolean are int-sized on every platform;
 *  - strings are not NUL-terminated unless a call says so: lengths travel
 *    separately;
 *  - every call returns sword (a status of its own) except the handful of
 *    helpers whose prototypes say otherwise.
 *
 * Plain C (C89 with // avoided) and C++ both compile this header.
 */
#ifndef OCI_ORACLE
#define OCI_ORACLE

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Basic types (oratypes.h) ------------------------------------------ */

#ifndef ORATYPES
#define ORATYPES

typedef unsigned char ub1;
typedef signed char sb1;
typedef char eb1;
typedef unsigned short ub2;
typedef signed short sb2;
typedef unsigned int ub4;
typedef signed int sb4;
#if defined(__LP64__) || defined(_LP64)
typedef unsigned long ub8;
typedef signed long sb8;
#else
typedef unsigned long long ub8;
typedef signed long long sb8;
#endif
typedef ub8 oraub8;
typedef sb8 orasb8;
typedef signed int sword;
typedef unsigned int uword;
typedef int eword;
typedef unsigned long ubig_ora;
typedef signed long sbig_ora;
typedef int boolean;

typedef unsigned char text;
typedef unsigned char oratext;
typedef unsigned char OraText;
typedef unsigned short utext;

#ifndef dvoid
#define dvoid void
#endif
#ifndef CONST
#define CONST const
#endif
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#define UB1MAXVAL ((ub1)0xFF)
#define UB2MAXVAL ((ub2)0xFFFF)
#define UB4MAXVAL ((ub4)0xFFFFFFFF)
#define SB2MAXVAL ((sb2)32767)
#define SB4MAXVAL ((sb4)2147483647)

#endif /* ORATYPES */

/* ---- Handles and descriptors (opaque) ---------------------------------- */

typedef struct OCIEnv OCIEnv;
typedef struct OCIError OCIError;
typedef struct OCISvcCtx OCISvcCtx;
typedef struct OCIStmt OCIStmt;
typedef struct OCIBind OCIBind;
typedef struct OCIDefine OCIDefine;
typedef struct OCIDescribe OCIDescribe;
typedef struct OCIServer OCIServer;
typedef struct OCISession OCISession;
typedef struct OCITrans OCITrans;
typedef struct OCIComplexObject OCIComplexObject;
typedef struct OCISecurity OCISecurity;
typedef struct OCISubscription OCISubscription;
typedef struct OCISnapshot OCISnapshot;
typedef struct OCIResult OCIResult;
typedef struct OCILobLocator OCILobLocator;
typedef struct OCILobLocator OCIClobLocator;
typedef struct OCILobLocator OCIBlobLocator;
typedef struct OCILobLocator OCIBFileLocator;
typedef struct OCIParam OCIParam;
typedef struct OCIRowid OCIRowid;
typedef struct OCIComplexObjectComp OCIComplexObjectComp;
typedef struct OCIRef OCIRef;
typedef struct OCIType OCIType;
typedef struct OCIString OCIString;
typedef struct OCIRaw OCIRaw;
typedef struct OCIColl OCIColl;
typedef struct OCIColl OCIArray;
typedef struct OCIColl OCITable;
typedef struct OCIIter OCIIter;
typedef struct OCIDirPathCtx OCIDirPathCtx;

typedef sb2 OCIInd;
typedef ub2 OCIDuration;
typedef ub2 OCITypeCode;
typedef ub1 OCIObjectPropId;

/* ---- Value structures (orl.h) ------------------------------------------ */

#define OCI_NUMBER_SIZE 22
typedef struct OCINumber {
  ub1 OCINumberPart[OCI_NUMBER_SIZE];
} OCINumber;

typedef struct OCITime {
  ub1 OCITimeHH;
  ub1 OCITimeMI;
  ub1 OCITimeSS;
} OCITime;

typedef struct OCIDate {
  sb2 OCIDateYYYY;
  ub1 OCIDateMM;
  ub1 OCIDateDD;
  OCITime OCIDateTime;
} OCIDate;

/* ---- Callbacks ----------------------------------------------------------- */

typedef sb4 (*OCICallbackInBind)(dvoid *ictxp, OCIBind *bindp, ub4 iter, ub4 index,
                                 dvoid **bufpp, ub4 *alenp, ub1 *piecep, dvoid **indp);
typedef sb4 (*OCICallbackOutBind)(dvoid *octxp, OCIBind *bindp, ub4 iter, ub4 index,
                                  dvoid **bufpp, ub4 **alenp, ub1 *piecep, dvoid **indp,
                                  ub2 **rcodep);
typedef sb4 (*OCICallbackDefine)(dvoid *octxp, OCIDefine *defnp, ub4 iter, dvoid **bufpp,
                                 ub4 **alenp, ub1 *piecep, dvoid **indp, ub2 **rcodep);
typedef sb4 (*OCICallbackLobRead)(dvoid *ctxp, CONST dvoid *bufp, ub4 len, ub1 piece);
typedef sb4 (*OCICallbackLobWrite)(dvoid *ctxp, dvoid *bufp, ub4 *lenp, ub1 *piece);
typedef sb4 (*OCICallbackLobRead2)(dvoid *ctxp, CONST dvoid *bufp, oraub8 len, ub1 piece,
                                   dvoid **changed_bufpp, oraub8 *changed_lenp);
typedef sb4 (*OCICallbackLobWrite2)(dvoid *ctxp, dvoid *bufp, oraub8 *lenp, ub1 *piece,
                                    dvoid **changed_bufpp, oraub8 *changed_lenp);

/* ---- Status codes --------------------------------------------------------- */

#define OCI_SUCCESS 0
#define OCI_SUCCESS_WITH_INFO 1
#define OCI_RESERVED_FOR_INT_USE 200
#define OCI_NO_DATA 100
#define OCI_ERROR -1
#define OCI_INVALID_HANDLE -2
#define OCI_NEED_DATA 99
#define OCI_STILL_EXECUTING -3123
#define OCI_CONTINUE -24200
#define OCI_ROWCBK_DONE -24201

/* ---- Handle types --------------------------------------------------------- */

#define OCI_HTYPE_FIRST 1
#define OCI_HTYPE_ENV 1
#define OCI_HTYPE_ERROR 2
#define OCI_HTYPE_SVCCTX 3
#define OCI_HTYPE_STMT 4
#define OCI_HTYPE_BIND 5
#define OCI_HTYPE_DEFINE 6
#define OCI_HTYPE_DESCRIBE 7
#define OCI_HTYPE_SERVER 8
#define OCI_HTYPE_SESSION 9
#define OCI_HTYPE_AUTHINFO OCI_HTYPE_SESSION
#define OCI_HTYPE_TRANS 10
#define OCI_HTYPE_COMPLEXOBJECT 11
#define OCI_HTYPE_SECURITY 12
#define OCI_HTYPE_SUBSCRIPTION 13
#define OCI_HTYPE_DIRPATH_CTX 14
#define OCI_HTYPE_DIRPATH_COLUMN_ARRAY 15
#define OCI_HTYPE_DIRPATH_STREAM 16
#define OCI_HTYPE_PROC 17
#define OCI_HTYPE_DIRPATH_FN_CTX 18
#define OCI_HTYPE_DIRPATH_FN_COL_ARRAY 19
#define OCI_HTYPE_XADSESSION 20
#define OCI_HTYPE_XADTABLE 21
#define OCI_HTYPE_XADFIELD 22
#define OCI_HTYPE_XADGRANULE 23
#define OCI_HTYPE_XADRECORD 24
#define OCI_HTYPE_XADIO 25
#define OCI_HTYPE_CPOOL 26
#define OCI_HTYPE_SPOOL 27
#define OCI_HTYPE_ADMIN 28
#define OCI_HTYPE_EVENT 29
#define OCI_HTYPE_LAST 29

/* ---- Descriptor types ----------------------------------------------------- */

#define OCI_DTYPE_FIRST 50
#define OCI_DTYPE_LOB 50
#define OCI_DTYPE_SNAP 51
#define OCI_DTYPE_RSET 52
#define OCI_DTYPE_PARAM 53
#define OCI_DTYPE_ROWID 54
#define OCI_DTYPE_COMPLEXOBJECTCOMP 55
#define OCI_DTYPE_FILE 56
#define OCI_DTYPE_AQENQ_OPTIONS 57
#define OCI_DTYPE_AQDEQ_OPTIONS 58
#define OCI_DTYPE_AQMSG_PROPERTIES 59
#define OCI_DTYPE_AQAGENT 60
#define OCI_DTYPE_LOCATOR 61
#define OCI_DTYPE_INTERVAL_YM 62
#define OCI_DTYPE_INTERVAL_DS 63
#define OCI_DTYPE_AQNFY_DESCRIPTOR 64
#define OCI_DTYPE_DATE 65
#define OCI_DTYPE_TIME 66
#define OCI_DTYPE_TIME_TZ 67
#define OCI_DTYPE_TIMESTAMP 68
#define OCI_DTYPE_TIMESTAMP_TZ 69
#define OCI_DTYPE_TIMESTAMP_LTZ 70
#define OCI_DTYPE_UCB 71
#define OCI_DTYPE_SRVDN 72
#define OCI_DTYPE_SIGNATURE 73
#define OCI_DTYPE_LAST 79

/* ---- Modes ---------------------------------------------------------------- */

#define OCI_DEFAULT 0x00000000

/* OCIInitialize, OCIEnvCreate */
#define OCI_THREADED 0x00000001
#define OCI_OBJECT 0x00000002
#define OCI_EVENTS 0x00000004
#define OCI_SHARED 0x00000010
#define OCI_NO_UCB 0x00000040
#define OCI_NO_MUTEX 0x00000080
#define OCI_UTF16 0x00004000
#define OCI_NEW_LENGTH_SEMANTICS 0x00020000

/* OCIEnvInit */
#define OCI_ENV_NO_UCB 0x01
#define OCI_ENV_NO_MUTEX 0x08

/* OCISessionBegin credentials and modes, OCIPasswordChange, OCIServerAttach */
#define OCI_CRED_RDBMS 1
#define OCI_CRED_EXT 2
#define OCI_CRED_PROXY 3
#define OCI_MIGRATE 0x00000001
#define OCI_SYSDBA 0x00000002
#define OCI_SYSOPER 0x00000004
#define OCI_PRELIM_AUTH 0x00000008
#define OCI_STMT_CACHE 0x00000040
#define OCI_AUTH 0x08
#define OCI_CPOOL 0x0200

/* OCIStmtPrepare language */
#define OCI_NTV_SYNTAX 1
#define OCI_V7_SYNTAX 2
#define OCI_V8_SYNTAX 3

/* OCIStmtExecute */
#define OCI_BATCH_MODE 0x00000001
#define OCI_EXACT_FETCH 0x00000002
#define OCI_STMT_SCROLLABLE_READONLY 0x00000008
#define OCI_DESCRIBE_ONLY 0x00000010
#define OCI_COMMIT_ON_SUCCESS 0x00000020
#define OCI_NON_BLOCKING 0x00000040
#define OCI_BATCH_ERRORS 0x00000080
#define OCI_RETURN_ROW_COUNT_ARRAY 0x00100000
#define OCI_PARSE_ONLY 0x00000100
#define OCI_SHOW_DML_WARNINGS 0x00000400

/* Binds and defines */
#define OCI_SB2_IND_PTR 0x00000001
#define OCI_DATA_AT_EXEC 0x00000002
#define OCI_DYNAMIC_FETCH 0x00000002
#define OCI_PIECEWISE 0x00000004
#define OCI_BIND_SOFT 0x00000040
#define OCI_DEFINE_SOFT 0x00000080

/* OCIStmtFetch orientation */
#define OCI_FETCH_CURRENT 0x00000001
#define OCI_FETCH_NEXT 0x00000002
#define OCI_FETCH_FIRST 0x00000004
#define OCI_FETCH_LAST 0x00000008
#define OCI_FETCH_PRIOR 0x00000010
#define OCI_FETCH_ABSOLUTE 0x00000020
#define OCI_FETCH_RELATIVE 0x00000040

/* Pieces */
#define OCI_ONE_PIECE 0
#define OCI_FIRST_PIECE 1
#define OCI_NEXT_PIECE 2
#define OCI_LAST_PIECE 3
#define OCI_PARAM_IN 0x01
#define OCI_PARAM_OUT 0x02

/* LOBs and BFILEs */
#define OCI_FILE_READONLY 1
#define OCI_LOB_READONLY 1
#define OCI_LOB_READWRITE 2
#define OCI_LOB_BUFFER_FREE 1
#define OCI_LOB_BUFFER_NOFREE 2
#define OCI_TEMP_BLOB 1
#define OCI_TEMP_CLOB 2
#define OCI_LOBMAXSIZE UB4MAXVAL

/* Character-set forms */
#define SQLCS_IMPLICIT 1
#define SQLCS_NCHAR 2
#define SQLCS_EXPLICIT 3
#define SQLCS_FLEXIBLE 4
#define SQLCS_LIT_NULL 5

/* Sizes */
#define OCI_ERROR_MAXMSG_SIZE 1024
#define OCI_ERROR_MAXMSG_SIZE2 3072
#define OCI_SQLSTATE_SIZE 5
#define OCI_ROWID_LEN 23
#define OCI_UCS2ID 1000
#define OCI_UTF16ID 1000
#define OCI_SERVER_NOT_CONNECTED 0x0
#define OCI_SERVER_NORMAL 0x1

/* ---- Handle attributes ---------------------------------------------------- */

#define OCI_ATTR_FNCODE 1
#define OCI_ATTR_OBJECT 2
#define OCI_ATTR_NONBLOCKING_MODE 3
#define OCI_ATTR_SQLCODE 4
#define OCI_ATTR_ENV 5
#define OCI_ATTR_SERVER 6
#define OCI_ATTR_SESSION 7
#define OCI_ATTR_TRANS 8
#define OCI_ATTR_ROW_COUNT 9
#define OCI_ATTR_SQLFNCODE 10
#define OCI_ATTR_PREFETCH_ROWS 11
#define OCI_ATTR_NESTED_PREFETCH_ROWS 12
#define OCI_ATTR_PREFETCH_MEMORY 13
#define OCI_ATTR_NESTED_PREFETCH_MEMORY 14
#define OCI_ATTR_CHAR_COUNT 15
#define OCI_ATTR_PDSCL 16
#define OCI_ATTR_FSPRECISION OCI_ATTR_PDSCL
#define OCI_ATTR_PDPRC 17
#define OCI_ATTR_LFPRECISION OCI_ATTR_PDPRC
#define OCI_ATTR_PARAM_COUNT 18
#define OCI_ATTR_ROWID 19
#define OCI_ATTR_CHARSET 20
#define OCI_ATTR_NCHAR 21
#define OCI_ATTR_USERNAME 22
#define OCI_ATTR_PASSWORD 23
#define OCI_ATTR_STMT_TYPE 24
#define OCI_ATTR_INTERNAL_NAME 25
#define OCI_ATTR_EXTERNAL_NAME 26
#define OCI_ATTR_XID 27
#define OCI_ATTR_TRANS_LOCK 28
#define OCI_ATTR_TRANS_NAME 29
#define OCI_ATTR_HEAPALLOC 30
#define OCI_ATTR_CHARSET_ID 31
#define OCI_ATTR_CHARSET_FORM 32
#define OCI_ATTR_MAXDATA_SIZE 33
#define OCI_ATTR_CACHE_OPT_SIZE 34
#define OCI_ATTR_CACHE_MAX_SIZE 35
#define OCI_ATTR_PINOPTION 36
#define OCI_ATTR_ALLOC_DURATION 37
#define OCI_ATTR_PIN_DURATION 38
#define OCI_ATTR_FDO 39
#define OCI_ATTR_POSTPROCESSING_CALLBACK 40
#define OCI_ATTR_POSTPROCESSING_CONTEXT 41
#define OCI_ATTR_ROWS_RETURNED 42
#define OCI_ATTR_FOCBK 43
#define OCI_ATTR_IN_V8_MODE 44
#define OCI_ATTR_LOBEMPTY 45
#define OCI_ATTR_SESSLANG 46
#define OCI_ATTR_NUM_DML_ERRORS 73
#define OCI_ATTR_DML_ROW_OFFSET 74
#define OCI_ATTR_SERVER_GROUP 85
#define OCI_ATTR_MIGSESSION 86
#define OCI_ATTR_SUBSCR_NAME 94
#define OCI_ATTR_SUBSCR_CALLBACK 95
#define OCI_ATTR_SUBSCR_CTX 96
#define OCI_ATTR_SUBSCR_PAYLOAD 97
#define OCI_ATTR_SUBSCR_NAMESPACE 98
#define OCI_ATTR_PROXY_CREDENTIALS 99
#define OCI_ATTR_INITIAL_CLIENT_ROLES 100
#define OCI_ATTR_PARAM 124
#define OCI_ATTR_PARSE_ERROR_OFFSET 129
#define OCI_ATTR_TRANS_TIMEOUT 142
#define OCI_ATTR_SERVER_STATUS 143
#define OCI_ATTR_STATEMENT 144
#define OCI_ATTR_CURRENT_POSITION 164
#define OCI_ATTR_STMTCACHESIZE 176
#define OCI_ATTR_STMT_STATE 182
#define OCI_ATTR_BIND_COUNT 190
#define OCI_ATTR_ROWS_FETCHED 197
#define OCI_ATTR_CURRENT_SCHEMA 224
#define OCI_ATTR_DESC_PUBLIC 250
#define OCI_ATTR_CLIENT_IDENTIFIER 278
#define OCI_ATTR_MODULE 366
#define OCI_ATTR_ACTION 367
#define OCI_ATTR_CLIENT_INFO 368
#define OCI_ATTR_ENV_CHARSET_ID OCI_ATTR_CHARSET_ID

/* ---- Parameter (describe) attributes -------------------------------------- */

#define OCI_ATTR_DATA_SIZE 1
#define OCI_ATTR_DATA_TYPE 2
#define OCI_ATTR_DISP_SIZE 3
#define OCI_ATTR_NAME 4
#define OCI_ATTR_PRECISION 5
#define OCI_ATTR_SCALE 6
#define OCI_ATTR_IS_NULL 7
#define OCI_ATTR_TYPE_NAME 8
#define OCI_ATTR_SCHEMA_NAME 9
#define OCI_ATTR_SUB_NAME 10
#define OCI_ATTR_POSITION 11
#define OCI_ATTR_COMPLEXOBJECTCOMP_TYPE 50
#define OCI_ATTR_COMPLEXOBJECTCOMP_TYPE_LEVEL 51
#define OCI_ATTR_COMPLEXOBJECT_LEVEL 52
#define OCI_ATTR_COMPLEXOBJECT_COLL_OUTOFLINE 53
#define OCI_ATTR_DISP_NAME 100
#define OCI_ATTR_OVERLOAD 210
#define OCI_ATTR_LEVEL 211
#define OCI_ATTR_HAS_DEFAULT 212
#define OCI_ATTR_IOMODE 213
#define OCI_ATTR_RADIX 214
#define OCI_ATTR_NUM_ARGS 215
#define OCI_ATTR_TYPECODE 216
#define OCI_ATTR_COLLECTION_TYPECODE 217
#define OCI_ATTR_VERSION 218
#define OCI_ATTR_IS_INCOMPLETE_TYPE 219
#define OCI_ATTR_IS_SYSTEM_TYPE 220
#define OCI_ATTR_IS_PREDEFINED_TYPE 221
#define OCI_ATTR_IS_TRANSIENT_TYPE 222
#define OCI_ATTR_IS_SYSTEM_GENERATED_TYPE 223
#define OCI_ATTR_HAS_NESTED_TABLE 224
#define OCI_ATTR_HAS_LOB 225
#define OCI_ATTR_HAS_FILE 226
#define OCI_ATTR_COLLECTION_ELEMENT 227
#define OCI_ATTR_NUM_TYPE_ATTRS 228
#define OCI_ATTR_LIST_TYPE_ATTRS 229
#define OCI_ATTR_NUM_TYPE_METHODS 230
#define OCI_ATTR_LIST_TYPE_METHODS 231
#define OCI_ATTR_MAP_METHOD 232
#define OCI_ATTR_ORDER_METHOD 233
#define OCI_ATTR_NUM_ELEMS 234
#define OCI_ATTR_ENCAPSULATION 235
#define OCI_ATTR_NUM_COLS 102
#define OCI_ATTR_LIST_COLUMNS 103
#define OCI_ATTR_RDBA 104
#define OCI_ATTR_CLUSTERED 105
#define OCI_ATTR_PARTITIONED 106
#define OCI_ATTR_INDEX_ONLY 107
#define OCI_ATTR_LIST_ARGUMENTS 108
#define OCI_ATTR_LIST_SUBPROGRAMS 109
#define OCI_ATTR_REF_TDO 110
#define OCI_ATTR_LINK 111
#define OCI_ATTR_MIN 112
#define OCI_ATTR_MAX 113
#define OCI_ATTR_INCR 114
#define OCI_ATTR_CACHE 115
#define OCI_ATTR_ORDER 116
#define OCI_ATTR_HW_MARK 117
#define OCI_ATTR_TYPE_SCHEMA 118
#define OCI_ATTR_TIMESTAMP 119
#define OCI_ATTR_NUM_ATTRS 120
#define OCI_ATTR_NUM_PARAMS 121
#define OCI_ATTR_OBJID 122
#define OCI_ATTR_PTYPE 123
#define OCI_ATTR_OVERLOAD_ID 125
#define OCI_ATTR_TABLESPACE 126
#define OCI_ATTR_TDO 127
#define OCI_ATTR_LTYPE 128
#define OCI_ATTR_IS_TEMPORARY 130
#define OCI_ATTR_IS_TYPED 131
#define OCI_ATTR_DURATION 132
#define OCI_ATTR_IS_INVOKER_RIGHTS 133
#define OCI_ATTR_OBJ_NAME 134
#define OCI_ATTR_OBJ_SCHEMA 135
#define OCI_ATTR_OBJ_ID 136
#define OCI_ATTR_NCHARSET_ID 262
#define OCI_ATTR_CHAR_USED 285
#define OCI_ATTR_CHAR_SIZE 286

/* Attributes of later releases (the Linux client library reports 12.1). */
#define OCI_ATTR_DRIVER_NAME 424
#define OCI_ATTR_ERROR_IS_RECOVERABLE 472
#define OCI_ATTR_TRANSACTION_IN_PROGRESS 484
#define OCI_ATTR_STMT_IS_RETURNING 218
#define OCI_ATTR_UB8_ROW_COUNT 457
#define OCI_ATTR_IMPLICIT_RESULT_COUNT 463
#define OCI_ATTR_DML_ROW_COUNT_ARRAY 469
#define OCI_ATTR_DEFAULT_LOBPREFETCH_SIZE 438
#define OCI_ATTR_LOBPREFETCH_SIZE 439
#define OCI_ATTR_LOBPREFETCH_LENGTH 440

/* ---- Statement types (OCI_ATTR_STMT_TYPE) ---------------------------------- */

#define OCI_STMT_UNKNOWN 0
#define OCI_STMT_SELECT 1
#define OCI_STMT_UPDATE 2
#define OCI_STMT_DELETE 3
#define OCI_STMT_INSERT 4
#define OCI_STMT_CREATE 5
#define OCI_STMT_DROP 6
#define OCI_STMT_ALTER 7
#define OCI_STMT_BEGIN 8
#define OCI_STMT_DECLARE 9
#define OCI_STMT_CALL 10
#define OCI_STMT_STATE_INITIALIZED 0x0001
#define OCI_STMT_STATE_EXECUTED 0x0002
#define OCI_STMT_STATE_END_OF_FETCH 0x0003

/* ---- Describe object kinds ---------------------------------------------------- */

#define OCI_OTYPE_NAME 1
#define OCI_OTYPE_REF 2
#define OCI_OTYPE_PTR 3
#define OCI_OTYPE_UNK 0
#define OCI_OTYPE_TABLE 1
#define OCI_OTYPE_VIEW 2
#define OCI_OTYPE_SYN 3
#define OCI_OTYPE_PROC 4
#define OCI_OTYPE_FUNC 5
#define OCI_OTYPE_PKG 6
#define OCI_OTYPE_STMT 7

#define OCI_PTYPE_UNK 0
#define OCI_PTYPE_TABLE 1
#define OCI_PTYPE_VIEW 2
#define OCI_PTYPE_PROC 3
#define OCI_PTYPE_FUNC 4
#define OCI_PTYPE_PKG 5
#define OCI_PTYPE_TYPE 6
#define OCI_PTYPE_SYN 7
#define OCI_PTYPE_SEQ 8
#define OCI_PTYPE_COL 9
#define OCI_PTYPE_ARG 10
#define OCI_PTYPE_LIST 11
#define OCI_PTYPE_TYPE_ATTR 12
#define OCI_PTYPE_TYPE_COLL 13
#define OCI_PTYPE_TYPE_METHOD 14
#define OCI_PTYPE_TYPE_ARG 15
#define OCI_PTYPE_TYPE_RESULT 16
#define OCI_PTYPE_SCHEMA 17
#define OCI_PTYPE_DATABASE 18

#define OCI_LTYPE_UNK 0
#define OCI_LTYPE_COLUMN 1
#define OCI_LTYPE_ARG_PROC 2
#define OCI_LTYPE_ARG_FUNC 3
#define OCI_LTYPE_SUBPRG 4
#define OCI_LTYPE_TYPE_ATTR 5
#define OCI_LTYPE_TYPE_METHOD 6
#define OCI_LTYPE_TYPE_ARG_PROC 7
#define OCI_LTYPE_TYPE_ARG_FUNC 8
#define OCI_LTYPE_SCH_OBJ 9
#define OCI_LTYPE_DB_SCH 10

/* ---- Transaction flags ------------------------------------------------------- */

#define OCI_TRANS_NEW 0x00000001
#define OCI_TRANS_JOIN 0x00000002
#define OCI_TRANS_RESUME 0x00000004
#define OCI_TRANS_STARTMASK 0x000000ff
#define OCI_TRANS_READONLY 0x00000100
#define OCI_TRANS_READWRITE 0x00000200
#define OCI_TRANS_SERIALIZABLE 0x00000400
#define OCI_TRANS_ISOLMASK 0x0000ff00
#define OCI_TRANS_LOOSE 0x00010000
#define OCI_TRANS_TIGHT 0x00020000
#define OCI_TRANS_TYPEMASK 0x000f0000
#define OCI_TRANS_NOMIGRATE 0x00100000
#define OCI_TRANS_TWOPHASE 0x01000000
#define OCI_TRANS_OTHRMASK 0xfff00000

/* ---- External data types (ocidfn.h) ------------------------------------------- */

#define SQLT_CHR 1
#define SQLT_NUM 2
#define SQLT_INT 3
#define SQLT_FLT 4
#define SQLT_STR 5
#define SQLT_VNU 6
#define SQLT_PDN 7
#define SQLT_LNG 8
#define SQLT_VCS 9
#define SQLT_NON 10
#define SQLT_RID 11
#define SQLT_DAT 12
#define SQLT_VBI 15
#define SQLT_BFLOAT 21
#define SQLT_BDOUBLE 22
#define SQLT_BIN 23
#define SQLT_LBI 24
#define SQLT_UIN 68
#define SQLT_SLS 91
#define SQLT_LVC 94
#define SQLT_LVB 95
#define SQLT_AFC 96
#define SQLT_AVC 97
#define SQLT_IBFLOAT 100
#define SQLT_IBDOUBLE 101
#define SQLT_CUR 102
#define SQLT_RDD 104
#define SQLT_LAB 105
#define SQLT_OSL 106
#define SQLT_NTY 108
#define SQLT_REF 110
#define SQLT_CLOB 112
#define SQLT_BLOB 113
#define SQLT_BFILEE 114
#define SQLT_CFILEE 115
#define SQLT_RSET 116
#define SQLT_NCO 122
#define SQLT_VST 155
#define SQLT_ODT 156
#define SQLT_DATE 184
#define SQLT_TIME 185
#define SQLT_TIME_TZ 186
#define SQLT_TIMESTAMP 187
#define SQLT_TIMESTAMP_TZ 188
#define SQLT_INTERVAL_YM 189
#define SQLT_INTERVAL_DS 190
#define SQLT_TIMESTAMP_LTZ 232
#define SQLT_PNTY 241
#define SQLT_REC 250
#define SQLT_TAB 251
#define SQLT_BOL 252
#define SQLT_FILE SQLT_BFILEE
#define SQLT_CFILE SQLT_CFILEE
#define SQLT_BFILE SQLT_BFILEE

/* ---- Type codes (oro.h) ------------------------------------------------------ */

#define OCI_TYPECODE_REF SQLT_REF
#define OCI_TYPECODE_DATE SQLT_DAT
#define OCI_TYPECODE_SIGNED8 27
#define OCI_TYPECODE_SIGNED16 28
#define OCI_TYPECODE_SIGNED32 29
#define OCI_TYPECODE_REAL 21
#define OCI_TYPECODE_DOUBLE 22
#define OCI_TYPECODE_BFLOAT SQLT_IBFLOAT
#define OCI_TYPECODE_BDOUBLE SQLT_IBDOUBLE
#define OCI_TYPECODE_FLOAT SQLT_FLT
#define OCI_TYPECODE_NUMBER SQLT_NUM
#define OCI_TYPECODE_DECIMAL SQLT_PDN
#define OCI_TYPECODE_UNSIGNED8 SQLT_BIN
#define OCI_TYPECODE_UNSIGNED16 25
#define OCI_TYPECODE_UNSIGNED32 26
#define OCI_TYPECODE_OCTET 245
#define OCI_TYPECODE_SMALLINT 246
#define OCI_TYPECODE_INTEGER SQLT_INT
#define OCI_TYPECODE_RAW SQLT_LVB
#define OCI_TYPECODE_PTR 32
#define OCI_TYPECODE_VARCHAR2 SQLT_VCS
#define OCI_TYPECODE_CHAR SQLT_AFC
#define OCI_TYPECODE_VARCHAR SQLT_CHR
#define OCI_TYPECODE_MLSLABEL SQLT_LAB
#define OCI_TYPECODE_VARRAY 247
#define OCI_TYPECODE_TABLE 248
#define OCI_TYPECODE_OBJECT SQLT_NTY
#define OCI_TYPECODE_OPAQUE 58
#define OCI_TYPECODE_NAMEDCOLLECTION SQLT_NCO
#define OCI_TYPECODE_BLOB SQLT_BLOB
#define OCI_TYPECODE_BFILE SQLT_BFILE
#define OCI_TYPECODE_CLOB SQLT_CLOB
#define OCI_TYPECODE_CFILE SQLT_CFILE
#define OCI_TYPECODE_TIME SQLT_TIME
#define OCI_TYPECODE_TIME_TZ SQLT_TIME_TZ
#define OCI_TYPECODE_TIMESTAMP SQLT_TIMESTAMP
#define OCI_TYPECODE_TIMESTAMP_TZ SQLT_TIMESTAMP_TZ
#define OCI_TYPECODE_TIMESTAMP_LTZ SQLT_TIMESTAMP_LTZ
#define OCI_TYPECODE_INTERVAL_YM SQLT_INTERVAL_YM
#define OCI_TYPECODE_INTERVAL_DS SQLT_INTERVAL_DS
#define OCI_TYPECODE_UROWID SQLT_RDD
#define OCI_TYPECODE_OTMFIRST 228
#define OCI_TYPECODE_OTMLAST 320
#define OCI_TYPECODE_SYSFIRST 228
#define OCI_TYPECODE_SYSLAST 235
#define OCI_TYPECODE_PLS_INTEGER 266
#define OCI_TYPECODE_ITABLE SQLT_TAB
#define OCI_TYPECODE_RECORD SQLT_REC
#define OCI_TYPECODE_BOOLEAN SQLT_BOL
#define OCI_TYPECODE_NCHAR 286
#define OCI_TYPECODE_NVARCHAR2 287
#define OCI_TYPECODE_NCLOB 288
#define OCI_TYPECODE_NONE 0
#define OCI_TYPECODE_ERRHP 283

/* ---- Object cache enumerations (oro.h, orl.h) ---------------------------------- */

#define OCI_DURATION_INVALID 0xFFFF
#define OCI_DURATION_BEGIN 10
#define OCI_DURATION_NULL (OCI_DURATION_BEGIN - 1)
#define OCI_DURATION_DEFAULT (OCI_DURATION_BEGIN - 2)
#define OCI_DURATION_USER_CALLBACK (OCI_DURATION_BEGIN - 3)
#define OCI_DURATION_NEXT (OCI_DURATION_BEGIN - 4)
#define OCI_DURATION_PROCESS (OCI_DURATION_BEGIN - 5)
#define OCI_DURATION_SESSION OCI_DURATION_BEGIN
#define OCI_DURATION_TRANS (OCI_DURATION_BEGIN + 1)
#define OCI_DURATION_CALL (OCI_DURATION_BEGIN + 2)
#define OCI_DURATION_STATEMENT (OCI_DURATION_BEGIN + 3)
#define OCI_DURATION_CALLOUT (OCI_DURATION_BEGIN + 4)
#define OCI_DURATION_LAST OCI_DURATION_CALLOUT

enum OCIPinOpt { OCI_PIN_DEFAULT = 1, OCI_PIN_ANY = 3, OCI_PIN_RECENT = 4, OCI_PIN_LATEST = 5 };
typedef enum OCIPinOpt OCIPinOpt;

enum OCILockOpt { OCI_LOCK_NONE = 1, OCI_LOCK_X = 2, OCI_LOCK_X_NOWAIT = 3 };
typedef enum OCILockOpt OCILockOpt;

enum OCIMarkOpt { OCI_MARK_DEFAULT = 1, OCI_MARK_NONE = 1, OCI_MARK_UPDATE = 2 };
typedef enum OCIMarkOpt OCIMarkOpt;

enum OCITypeGetOpt { OCI_TYPEGET_HEADER = 0, OCI_TYPEGET_ALL = 1 };
typedef enum OCITypeGetOpt OCITypeGetOpt;

enum OCIRefreshOpt { OCI_REFRESH_LOADED = 1 };
typedef enum OCIRefreshOpt OCIRefreshOpt;

enum OCIObjectLifetime {
  OCI_OBJECT_PERSISTENT = 1,
  OCI_OBJECT_TRANSIENT = 2,
  OCI_OBJECT_VALUE = 3
};
typedef enum OCIObjectLifetime OCIObjectLifetime;

enum OCITypeParamMode {
  OCI_TYPEPARAM_IN = 0,
  OCI_TYPEPARAM_OUT = 1,
  OCI_TYPEPARAM_INOUT = 2,
  OCI_TYPEPARAM_BYREF = 3,
  OCI_TYPEPARAM_OUTNCPY = 4,
  OCI_TYPEPARAM_INOUTNCPY = 5
};
typedef enum OCITypeParamMode OCITypeParamMode;

enum OCITypeEncap { OCI_TYPEENCAP_PRIVATE = 0, OCI_TYPEENCAP_PUBLIC = 1 };
typedef enum OCITypeEncap OCITypeEncap;

#define OCI_COHERENCY_NONE 2
#define OCI_COHERENCY_NULL 4
#define OCI_COHERENCY_ALWAYS 5

#define OCI_IND_NOTNULL (OCIInd)0
#define OCI_IND_NULL (OCIInd)(-1)
#define OCI_IND_BADNULL (OCIInd)(-2)
#define OCI_IND_NOTNULLABLE (OCIInd)(-3)

#define OCI_OBJECTFREE_FORCE (ub2)0x0001
#define OCI_OBJECTFREE_NONULL (ub2)0x0002
#define OCI_OBJECTFREE_HEADER (ub2)0x0004
#define OCI_OBJECTCOPY_NOREF (ub1)0x01
#define OCI_OBJECT_NEW 0x0001
#define OCI_OBJECT_DELETED 0x0002
#define OCI_OBJECT_UPDATED 0x0004

#define OCI_NUMBER_UNSIGNED 0
#define OCI_NUMBER_SIGNED 2
#define OCI_NUMBER_DEFAULTPREC ((ub1)0)
#define OCI_NUMBER_DEFAULTSCALE ((sb1)-127)
#define OCI_VARRAY_MAXSIZE 4000
#define OCI_STRING_MAXLEN 4000

/* ---- Version 7 data areas (ocidfn.h) -------------------------------------------- */

/*
 * Sizes both sides share. A cursor or logon data area (Cda_Def, Lda_Def) is
 * CDA_SIZE bytes and the host data area of a logon HDA_SIZE bytes: 88 and 512
 * on 64-bit builds (the layout below, with the pointer rcsp at offset 48), 64
 * and 256 on 32-bit builds. Callers allocate them zero-filled and 8-byte
 * aligned; the host data area must stay in place while the logon lasts.
 *
 * This library writes only the documented fields of a data area, bytes 0 to
 * 40 (v2_rc, ft, rpc, peo, fc, rcs1, rc, wrn, rid, ose, chk), so a 64-byte
 * area is enough on every platform (oerhms writes nothing at all into its
 * logon data area). It keeps its own state elsewhere, never in rcsp or
 * rcs9, and never writes the host data area.
 *
 * Of the version 7 calls below, the library exports orlon, olog, ologof,
 * oerhms, oopen, oparse, odefin, oexfet, ofen, oflng, oclose, odescr, oexec,
 * oexn, ocom, orol, ocon, ocof, obreak, obndra, odessp and opinit; the others
 * are declared for programs written against Oracle's header.
 */
#if defined(SS_64BIT_SERVER) || defined(__64BIT__) || defined(__LP64__) || defined(_LP64)
#define CDA_SIZE 88
#define HDA_SIZE 512
#else
#define CDA_SIZE 64
#define HDA_SIZE 256
#endif

struct cda_head {
  sb2 v2_rc;
  ub2 ft;
  ub4 rpc;
  ub2 peo;
  ub1 fc;
  ub1 rcs1;
  ub2 rc;
  ub1 wrn;
  ub1 rcs2;
  sword rcs3;
  struct {
    struct {
      ub4 rcs4;
      ub2 rcs5;
      ub1 rcs6;
    } rd;
    ub4 rcs7;
    ub2 rcs8;
  } rid;
  sword ose;
  ub1 chk;
  dvoid *rcsp;
};

struct cda_def {
  sb2 v2_rc;
  ub2 ft;
  ub4 rpc;
  ub2 peo;
  ub1 fc;
  ub1 rcs1;
  ub2 rc;
  ub1 wrn;
  ub1 rcs2;
  sword rcs3;
  struct {
    struct {
      ub4 rcs4;
      ub2 rcs5;
      ub1 rcs6;
    } rd;
    ub4 rcs7;
    ub2 rcs8;
  } rid;
  sword ose;
  ub1 chk;
  dvoid *rcsp;
  ub1 rcs9[CDA_SIZE - sizeof(struct cda_head)];
};

typedef struct cda_def Cda_Def;
typedef struct cda_def Lda_Def;

#define OCI_EV_DEF 0
#define OCI_EV_TSF 1
#define OCI_LM_DEF 0
#define OCI_LM_NBL 1

/* ---- Version 8 calls: environment, handles, descriptors --------------------------- */

sword OCIInitialize(ub4 mode, dvoid *ctxp, dvoid *(*malocfp)(dvoid *ctxp, size_t size),
                    dvoid *(*ralocfp)(dvoid *ctxp, dvoid *memptr, size_t newsize),
                    void (*mfreefp)(dvoid *ctxp, dvoid *memptr));
sword OCIEnvInit(OCIEnv **envp, ub4 mode, size_t xtramem_sz, dvoid **usrmempp);
sword OCIEnvCreate(OCIEnv **envp, ub4 mode, dvoid *ctxp,
                   dvoid *(*malocfp)(dvoid *ctxp, size_t size),
                   dvoid *(*ralocfp)(dvoid *ctxp, dvoid *memptr, size_t newsize),
                   void (*mfreefp)(dvoid *ctxp, dvoid *memptr), size_t xtramem_sz,
                   dvoid **usrmempp);
sword OCITerminate(ub4 mode);
sword OCIHandleAlloc(CONST dvoid *parenth, dvoid **hndlpp, CONST ub4 type,
                     CONST size_t xtramem_sz, dvoid **usrmempp);
sword OCIHandleFree(dvoid *hndlp, CONST ub4 type);
sword OCIDescriptorAlloc(CONST dvoid *parenth, dvoid **descpp, CONST ub4 type,
                         CONST size_t xtramem_sz, dvoid **usrmempp);
sword OCIDescriptorFree(dvoid *descp, CONST ub4 type);

/* ---- Server attach, sessions, logon, version, break ------------------------------ */

sword OCIServerAttach(OCIServer *srvhp, OCIError *errhp, CONST OraText *dblink, sb4 dblink_len,
                      ub4 mode);
sword OCIServerDetach(OCIServer *srvhp, OCIError *errhp, ub4 mode);
sword OCISessionBegin(OCISvcCtx *svchp, OCIError *errhp, OCISession *usrhp, ub4 credt, ub4 mode);
sword OCISessionEnd(OCISvcCtx *svchp, OCIError *errhp, OCISession *usrhp, ub4 mode);
sword OCILogon(OCIEnv *envhp, OCIError *errhp, OCISvcCtx **svchp, CONST OraText *username,
               ub4 uname_len, CONST OraText *password, ub4 passwd_len, CONST OraText *dbname,
               ub4 dbname_len);
sword OCILogoff(OCISvcCtx *svchp, OCIError *errhp);
sword OCIPasswordChange(OCISvcCtx *svchp, OCIError *errhp, CONST OraText *user_name,
                        ub4 usernm_len, CONST OraText *opasswd, ub4 opasswd_len,
                        CONST OraText *npasswd, ub4 npasswd_len, ub4 mode);
sword OCIServerVersion(dvoid *hndlp, OCIError *errhp, OraText *bufp, ub4 bufsz, ub1 hndltype);
sword OCIBreak(dvoid *hndlp, OCIError *errhp);
sword OCIPing(OCISvcCtx *svchp, OCIError *errhp, ub4 mode);
void OCIClientVersion(sword *major_version, sword *minor_version, sword *update_num,
                      sword *patch_num, sword *port_update_num);

/* ---- Later releases: environments with character sets, NLS look-ups, threads ---- */

/* Session pools */
#define OCI_SPC_REINITIALIZE 0x0001
#define OCI_SPC_HOMOGENEOUS 0x0002
#define OCI_SPC_STMTCACHE 0x0004
#define OCI_SPC_NO_RLB 0x0008
#define OCI_SESSGET_SPOOL 0x0001
#define OCI_SESSGET_STMTCACHE 0x0004
#define OCI_SESSGET_CREDPROXY 0x0008
#define OCI_SESSGET_CREDEXT 0x0010
#define OCI_SESSGET_SPOOL_MATCHANY 0x0020
#define OCI_SESSGET_PURITY_NEW 0x0040
#define OCI_SESSGET_PURITY_SELF 0x0080
#define OCI_SESSRLS_DROPSESS 0x0001
#define OCI_SESSRLS_RETAG 0x0002
#define OCI_SPD_FORCE 0x0001
#define OCI_SPOOL_ATTRVAL_WAIT 0
#define OCI_SPOOL_ATTRVAL_NOWAIT 1
#define OCI_SPOOL_ATTRVAL_FORCEGET 2
#define OCI_ATTR_SPOOL_TIMEOUT 308
#define OCI_ATTR_SPOOL_GETMODE 309
#define OCI_ATTR_SPOOL_BUSY_COUNT 310
#define OCI_ATTR_SPOOL_OPEN_COUNT 311
#define OCI_ATTR_SPOOL_MIN 312
#define OCI_ATTR_SPOOL_MAX 313
#define OCI_ATTR_SPOOL_INCR 314
#define OCI_ATTR_SPOOL_STMTCACHESIZE 208
#define OCI_ATTR_SPOOL_AUTH 460
#define OCI_ATTR_SPOOL_MAX_LIFETIME_SESSION 490
#define OCI_ATTR_SPOOL_WAIT_TIMEOUT 506

/* Statement cache (OCIStmtPrepare2, OCIStmtRelease) */
#define OCI_PREP2_CACHE_SEARCHONLY 0x0010
#define OCI_STRLS_CACHE_DELETE 0x0010

#define OCI_NLS_CHARSET_MAXBYTESZ 91
#define OCI_NLS_CHARSET_FIXEDWIDTH 92
#define OCI_NLS_CHARSET_ID 93
#define OCI_NLS_NCHARSET_ID 94

typedef struct OCISPool OCISPool;
typedef struct OCIAuthInfo OCIAuthInfo;
typedef struct OCIDateTime OCIDateTime;
typedef struct OCIInterval OCIInterval;
typedef struct OCIThreadMutex OCIThreadMutex;
typedef struct OCIThreadKey OCIThreadKey;
typedef void (*OCIThreadKeyDestFunc)(dvoid *value);

sword OCIEnvNlsCreate(OCIEnv **envp, ub4 mode, dvoid *ctxp,
                      dvoid *(*malocfp)(dvoid *ctxp, size_t size),
                      dvoid *(*ralocfp)(dvoid *ctxp, dvoid *memptr, size_t newsize),
                      void (*mfreefp)(dvoid *ctxp, dvoid *memptr), size_t xtramem_sz,
                      dvoid **usrmempp, ub2 charset, ub2 ncharset);
ub2 OCINlsCharSetNameToId(dvoid *envhp, CONST oratext *name);
sword OCINlsCharSetIdToName(dvoid *envhp, oratext *buf, size_t buflen, ub2 id);
sword OCINlsNumericInfoGet(dvoid *envhp, OCIError *errhp, sb4 *val, ub2 item);
sword OCINlsEnvironmentVariableGet(dvoid *valp, size_t size, ub2 item, ub2 charset,
                                   size_t *rsize);
sword OCIServerRelease(dvoid *hndlp, OCIError *errhp, OraText *bufp, ub4 bufsz, ub1 hndltype,
                       ub4 *version);
sword OCIServerRelease2(dvoid *hndlp, OCIError *errhp, OraText *bufp, ub4 bufsz, ub1 hndltype,
                        ub4 *version, ub4 mode);
sword OCIBindByPos2(OCIStmt *stmtp, OCIBind **bindp, OCIError *errhp, ub4 position,
                    dvoid *valuep, sb8 value_sz, ub2 dty, dvoid *indp, ub4 *alenp, ub2 *rcodep,
                    ub4 maxarr_len, ub4 *curelep, ub4 mode);
sword OCIBindByName2(OCIStmt *stmtp, OCIBind **bindp, OCIError *errhp,
                     CONST OraText *placeholder, sb4 placeh_len, dvoid *valuep, sb8 value_sz,
                     ub2 dty, dvoid *indp, ub4 *alenp, ub2 *rcodep, ub4 maxarr_len,
                     ub4 *curelep, ub4 mode);
sword OCIDefineByPos2(OCIStmt *stmtp, OCIDefine **defnp, OCIError *errhp, ub4 position,
                      dvoid *valuep, sb8 value_sz, ub2 dty, dvoid *indp, ub4 *rlenp,
                      ub2 *rcodep, ub4 mode);
sword OCIStmtFetch2(OCIStmt *stmtp, OCIError *errhp, ub4 nrows, ub2 orientation,
                    sb4 fetchOffset, ub4 mode);
sword OCIStmtGetNextResult(OCIStmt *stmtp, OCIError *errhp, dvoid **result, ub4 *rtype,
                           ub4 mode);
sword OCILobGetLength2(OCISvcCtx *svchp, OCIError *errhp, OCILobLocator *locp, oraub8 *lenp);
sword OCILobRead2(OCISvcCtx *svchp, OCIError *errhp, OCILobLocator *locp, oraub8 *byte_amtp,
                  oraub8 *char_amtp, oraub8 offset, dvoid *bufp, oraub8 bufl, ub1 piece,
                  dvoid *ctxp, OCICallbackLobRead2 cbfp, ub2 csid, ub1 csfrm);
sword OCILobWrite2(OCISvcCtx *svchp, OCIError *errhp, OCILobLocator *locp, oraub8 *byte_amtp,
                   oraub8 *char_amtp, oraub8 offset, dvoid *bufp, oraub8 buflen, ub1 piece,
                   dvoid *ctxp, OCICallbackLobWrite2 cbfp, ub2 csid, ub1 csfrm);
sword OCILobTrim2(OCISvcCtx *svchp, OCIError *errhp, OCILobLocator *locp, oraub8 newlen);
sword OCILobErase2(OCISvcCtx *svchp, OCIError *errhp, OCILobLocator *locp, oraub8 *amount,
                   oraub8 offset);
sword OCILobCopy2(OCISvcCtx *svchp, OCIError *errhp, OCILobLocator *dst, OCILobLocator *src,
                  oraub8 amount, oraub8 dst_offset, oraub8 src_offset);
sword OCIArrayDescriptorAlloc(CONST dvoid *parenth, dvoid **descpp, CONST ub4 type,
                              ub4 array_size, CONST size_t xtramem_sz, dvoid **usrmempp);
sword OCIArrayDescriptorFree(dvoid **descp, CONST ub4 type);
sword OCIDateTimeConstruct(dvoid *hndl, OCIError *err, OCIDateTime *datetime, sb2 yr, ub1 mnth,
                           ub1 dy, ub1 hr, ub1 mm, ub1 ss, ub4 fsec, OraText *timezone,
                           size_t timezone_length);
sword OCIDateTimeGetDate(dvoid *hndl, OCIError *err, CONST OCIDateTime *datetime, sb2 *yr,
                         ub1 *mnth, ub1 *dy);
sword OCIDateTimeGetTime(dvoid *hndl, OCIError *err, OCIDateTime *datetime, ub1 *hr, ub1 *mm,
                         ub1 *ss, ub4 *fsec);
sword OCIDateTimeGetTimeZoneOffset(dvoid *hndl, OCIError *err, CONST OCIDateTime *datetime,
                                   sb1 *hour, sb1 *min);
sword OCIDateTimeSubtract(dvoid *hndl, OCIError *err, OCIDateTime *indate1, OCIDateTime *indate2,
                          OCIInterval *inter);
sword OCIDateTimeIntervalAdd(dvoid *hndl, OCIError *err, OCIDateTime *datetime,
                             OCIInterval *inter, OCIDateTime *outdatetime);
sword OCIIntervalGetDaySecond(dvoid *hndl, OCIError *err, sb4 *dy, sb4 *hr, sb4 *mm, sb4 *ss,
                              sb4 *fsec, CONST OCIInterval *interval);
sword OCIIntervalSetDaySecond(dvoid *hndl, OCIError *err, sb4 dy, sb4 hr, sb4 mm, sb4 ss,
                              sb4 fsec, OCIInterval *result);
sword OCIIntervalGetYearMonth(dvoid *hndl, OCIError *err, sb4 *yr, sb4 *mnth,
                              CONST OCIInterval *interval);
sword OCIIntervalSetYearMonth(dvoid *hndl, OCIError *err, sb4 yr, sb4 mnth,
                              OCIInterval *result);
sword OCISessionPoolCreate(OCIEnv *envhp, OCIError *errhp, OCISPool *spoolhp,
                           OraText **poolName, ub4 *poolNameLen, CONST OraText *connStr,
                           ub4 connStrLen, ub4 sessMin, ub4 sessMax, ub4 sessIncr,
                           OraText *userid, ub4 useridLen, OraText *password, ub4 passwordLen,
                           ub4 mode);
sword OCISessionPoolDestroy(OCISPool *spoolhp, OCIError *errhp, ub4 mode);
sword OCISessionGet(OCIEnv *envhp, OCIError *errhp, OCISvcCtx **svchp, OCIAuthInfo *authInfop,
                    OraText *dbName, ub4 dbName_len, CONST OraText *tagInfo, ub4 tagInfo_len,
                    OraText **retTagInfo, ub4 *retTagInfo_len, boolean *found, ub4 mode);
sword OCISessionRelease(OCISvcCtx *svchp, OCIError *errhp, OraText *tag, ub4 tag_len, ub4 mode);
sword OCIContextSetValue(dvoid *hdl, OCIError *err, OCIDuration duration, ub1 *key, ub1 keylen,
                         dvoid *ctx_value);
sword OCIContextGetValue(dvoid *hdl, OCIError *err, ub1 *key, ub1 keylen, dvoid **ctx_value);
#define OCI_MEMORY_CLEARED 1
sword OCIMemoryAlloc(dvoid *hdl, OCIError *err, dvoid **mem, OCIDuration dur, ub4 size,
                     ub4 flags);
sword OCIMemoryResize(dvoid *hdl, OCIError *err, dvoid **mem, ub4 newsize, ub4 flags);
sword OCIMemoryFree(dvoid *hdl, OCIError *err, dvoid *mem);
void OCIThreadProcessInit(void);
sword OCIThreadInit(dvoid *hndl, OCIError *err);
sword OCIThreadTerm(dvoid *hndl, OCIError *err);
sword OCIThreadMutexInit(dvoid *hndl, OCIError *err, OCIThreadMutex **mutex);
sword OCIThreadMutexDestroy(dvoid *hndl, OCIError *err, OCIThreadMutex **mutex);
sword OCIThreadMutexAcquire(dvoid *hndl, OCIError *err, OCIThreadMutex *mutex);
sword OCIThreadMutexRelease(dvoid *hndl, OCIError *err, OCIThreadMutex *mutex);
sword OCIThreadKeyInit(dvoid *hndl, OCIError *err, OCIThreadKey **key,
                       OCIThreadKeyDestFunc destFn);
sword OCIThreadKeyDestroy(dvoid *hndl, OCIError *err, OCIThreadKey **key);
sword OCIThreadKeyGet(dvoid *hndl, OCIError *err, OCIThreadKey *key, dvoid **pValue);
sword OCIThreadKeySet(dvoid *hndl, OCIError *err, OCIThreadKey *key, dvoid *value);

/* ---- Statements ------------------------------------------------------------------- */

sword OCIStmtPrepare(OCIStmt *stmtp, OCIError *errhp, CONST OraText *stmt, ub4 stmt_len,
                     ub4 language, ub4 mode);
sword OCIStmtPrepare2(OCISvcCtx *svchp, OCIStmt **stmtp, OCIError *errhp, CONST OraText *stmt,
                      ub4 stmt_len, CONST OraText *key, ub4 key_len, ub4 language, ub4 mode);
sword OCIStmtRelease(OCIStmt *stmtp, OCIError *errhp, CONST OraText *key, ub4 key_len,
                     ub4 mode);
sword OCIBindByPos(OCIStmt *stmtp, OCIBind **bindp, OCIError *errhp, ub4 position, dvoid *valuep,
                   sb4 value_sz, ub2 dty, dvoid *indp, ub2 *alenp, ub2 *rcodep, ub4 maxarr_len,
                   ub4 *curelep, ub4 mode);
sword OCIBindByName(OCIStmt *stmtp, OCIBind **bindp, OCIError *errhp, CONST OraText *placeholder,
                    sb4 placeh_len, dvoid *valuep, sb4 value_sz, ub2 dty, dvoid *indp,
                    ub2 *alenp, ub2 *rcodep, ub4 maxarr_len, ub4 *curelep, ub4 mode);
sword OCIBindObject(OCIBind *bindp, OCIError *errhp, CONST OCIType *type, dvoid **pgvpp,
                    ub4 *pvszsp, dvoid **indpp, ub4 *indszp);
sword OCIBindDynamic(OCIBind *bindp, OCIError *errhp, dvoid *ictxp, OCICallbackInBind icbfp,
                     dvoid *octxp, OCICallbackOutBind ocbfp);
sword OCIBindArrayOfStruct(OCIBind *bindp, OCIError *errhp, ub4 pvskip, ub4 indskip,
                           ub4 alskip, ub4 rcskip);
sword OCIStmtGetPieceInfo(OCIStmt *stmtp, OCIError *errhp, dvoid **hndlpp, ub4 *typep,
                          ub1 *in_outp, ub4 *iterp, ub4 *idxp, ub1 *piecep);
sword OCIStmtSetPieceInfo(dvoid *hndlp, ub4 type, OCIError *errhp, CONST dvoid *bufp,
                          ub4 *alenp, ub1 piece, CONST dvoid *indp, ub2 *rcodep);
sword OCIStmtExecute(OCISvcCtx *svchp, OCIStmt *stmtp, OCIError *errhp, ub4 iters, ub4 rowoff,
                     CONST OCISnapshot *snap_in, OCISnapshot *snap_out, ub4 mode);
sword OCIDefineByPos(OCIStmt *stmtp, OCIDefine **defnp, OCIError *errhp, ub4 position,
                     dvoid *valuep, sb4 value_sz, ub2 dty, dvoid *indp, ub2 *rlenp,
                     ub2 *rcodep, ub4 mode);
sword OCIDefineObject(OCIDefine *defnp, OCIError *errhp, CONST OCIType *type, dvoid **pgvpp,
                      ub4 *pvszsp, dvoid **indpp, ub4 *indszp);
sword OCIDefineDynamic(OCIDefine *defnp, OCIError *errhp, dvoid *octxp,
                       OCICallbackDefine ocbfp);
sword OCIDefineArrayOfStruct(OCIDefine *defnp, OCIError *errhp, ub4 pvskip, ub4 indskip,
                             ub4 rlskip, ub4 rcskip);
sword OCIStmtFetch(OCIStmt *stmtp, OCIError *errhp, ub4 nrows, ub2 orientation, ub4 mode);
sword OCIStmtGetBindInfo(OCIStmt *stmtp, OCIError *errhp, ub4 size, ub4 startloc, sb4 *found,
                         OraText *bvnp[], ub1 bvnl[], OraText *invp[], ub1 inpl[], ub1 dupl[],
                         OCIBind **hndl);

/* ---- Describe, parameters, attributes ---------------------------------------------- */

sword OCIDescribeAny(OCISvcCtx *svchp, OCIError *errhp, dvoid *objptr, ub4 objnm_len,
                     ub1 objptr_typ, ub1 info_level, ub1 objtyp, OCIDescribe *dschp);
sword OCIParamGet(CONST dvoid *hndlp, ub4 htype, OCIError *errhp, dvoid **parmdpp, ub4 pos);
sword OCIParamSet(dvoid *hdlp, ub4 htyp, OCIError *errhp, CONST dvoid *dscp, ub4 dtyp, ub4 pos);
sword OCIAttrGet(CONST dvoid *trgthndlp, ub4 trghndltyp, dvoid *attributep, ub4 *sizep,
                 ub4 attrtype, OCIError *errhp);
sword OCIAttrSet(dvoid *trgthndlp, ub4 trghndltyp, dvoid *attributep, ub4 size, ub4 attrtype,
                 OCIError *errhp);

/* ---- Transactions ------------------------------------------------------------------- */

sword OCITransStart(OCISvcCtx *svchp, OCIError *errhp, uword timeout, ub4 flags);
sword OCITransDetach(OCISvcCtx *svchp, OCIError *errhp, ub4 flags);
sword OCITransCommit(OCISvcCtx *svchp, OCIError *errhp, ub4 flags);
sword OCITransRollback(OCISvcCtx *svchp, OCIError *errhp, ub4 flags);
sword OCITransPrepare(OCISvcCtx *svchp, OCIError *errhp, ub4 flags);
sword OCITransForget(OCISvcCtx *svchp, OCIError *errhp, ub4 flags);

/* ---- Errors, version 7 interoperation, result sets ------------------------------------ */

sword OCIErrorGet(dvoid *hndlp, ub4 recordno, OraText *sqlstate, sb4 *errcodep, OraText *bufp,
                  ub4 bufsiz, ub4 type);
sword OCISvcCtxToLda(OCISvcCtx *svchp, OCIError *errhp, Lda_Def *ldap);
sword OCILdaToSvcCtx(OCISvcCtx **svchpp, OCIError *errhp, Lda_Def *ldap);
sword OCIResultSetToStmt(OCIResult *rsetdp, OCIError *errhp);
sword OCIRowidToChar(OCIRowid *rowidDesc, OraText *outbfp, ub2 *outbflp, OCIError *errhp);

/* ---- LOBs and BFILEs -------------------------------------------------------------------- */

sword OCILobAppend(OCISvcCtx *svchp, OCIError *errhp, OCILobLocator *dst_locp,
                   OCILobLocator *src_locp);
sword OCILobAssign(OCIEnv *envhp, OCIError *errhp, CONST OCILobLocator *src_locp,
                   OCILobLocator **dst_locpp);
sword OCILobCharSetForm(OCIEnv *envhp, OCIError *errhp, CONST OCILobLocator *locp, ub1 *csfrm);
sword OCILobCharSetId(OCIEnv *envhp, OCIError *errhp, CONST OCILobLocator *locp, ub2 *csid);
sword OCILobCopy(OCISvcCtx *svchp, OCIError *errhp, OCILobLocator *dst_locp,
                 OCILobLocator *src_locp, ub4 amount, ub4 dst_offset, ub4 src_offset);
sword OCILobDisableBuffering(OCISvcCtx *svchp, OCIError *errhp, OCILobLocator *locp);
sword OCILobEnableBuffering(OCISvcCtx *svchp, OCIError *errhp, OCILobLocator *locp);
sword OCILobErase(OCISvcCtx *svchp, OCIError *errhp, OCILobLocator *locp, ub4 *amount,
                  ub4 offset);
sword OCILobFileClose(OCISvcCtx *svchp, OCIError *errhp, OCILobLocator *filep);
sword OCILobFileCloseAll(OCISvcCtx *svchp, OCIError *errhp);
sword OCILobFileExists(OCISvcCtx *svchp, OCIError *errhp, OCILobLocator *filep, boolean *flag);
sword OCILobFileGetName(OCIEnv *envhp, OCIError *errhp, CONST OCILobLocator *filep,
                        OraText *dir_alias, ub2 *d_length, OraText *filename, ub2 *f_length);
sword OCILobFileIsOpen(OCISvcCtx *svchp, OCIError *errhp, OCILobLocator *filep, boolean *flag);
sword OCILobFileOpen(OCISvcCtx *svchp, OCIError *errhp, OCILobLocator *filep, ub1 mode);
sword OCILobFileSetName(OCIEnv *envhp, OCIError *errhp, OCILobLocator **filepp,
                        CONST OraText *dir_alias, ub2 d_length, CONST OraText *filename,
                        ub2 f_length);
sword OCILobFlushBuffer(OCISvcCtx *svchp, OCIError *errhp, OCILobLocator *locp, ub4 flag);
sword OCILobGetLength(OCISvcCtx *svchp, OCIError *errhp, OCILobLocator *locp, ub4 *lenp);
sword OCILobIsEqual(OCIEnv *envhp, CONST OCILobLocator *x, CONST OCILobLocator *y,
                    boolean *is_equal);
sword OCILobLoadFromFile(OCISvcCtx *svchp, OCIError *errhp, OCILobLocator *dst_locp,
                         OCILobLocator *src_filep, ub4 amount, ub4 dst_offset, ub4 src_offset);
sword OCILobLocatorIsInit(OCIEnv *envhp, OCIError *errhp, CONST OCILobLocator *locp,
                          boolean *is_initialized);
sword OCILobRead(OCISvcCtx *svchp, OCIError *errhp, OCILobLocator *locp, ub4 *amtp, ub4 offset,
                 dvoid *bufp, ub4 bufl, dvoid *ctxp, OCICallbackLobRead cbfp, ub2 csid,
                 ub1 csfrm);
sword OCILobTrim(OCISvcCtx *svchp, OCIError *errhp, OCILobLocator *locp, ub4 newlen);
sword OCILobWrite(OCISvcCtx *svchp, OCIError *errhp, OCILobLocator *locp, ub4 *amtp, ub4 offset,
                  dvoid *bufp, ub4 buflen, ub1 piece, dvoid *ctxp, OCICallbackLobWrite cbfp,
                  ub2 csid, ub1 csfrm);
sword OCILobOpen(OCISvcCtx *svchp, OCIError *errhp, OCILobLocator *locp, ub1 mode);
sword OCILobClose(OCISvcCtx *svchp, OCIError *errhp, OCILobLocator *locp);
sword OCILobIsOpen(OCISvcCtx *svchp, OCIError *errhp, OCILobLocator *locp, boolean *flag);
sword OCILobCreateTemporary(OCISvcCtx *svchp, OCIError *errhp, OCILobLocator *locp, ub2 csid,
                            ub1 csfrm, ub1 lobtype, boolean cache, OCIDuration duration);
sword OCILobFreeTemporary(OCISvcCtx *svchp, OCIError *errhp, OCILobLocator *locp);
sword OCILobIsTemporary(OCIEnv *envp, OCIError *errhp, OCILobLocator *locp,
                        boolean *is_temporary);
sword OCILobGetChunkSize(OCISvcCtx *svchp, OCIError *errhp, OCILobLocator *locp,
                         ub4 *chunksizep);

/* ---- Objects, the object cache, types ----------------------------------------------------- */

sword OCIObjectNew(OCIEnv *env, OCIError *err, CONST OCISvcCtx *svc, OCITypeCode typecode,
                   OCIType *tdo, dvoid *table, OCIDuration duration, boolean value,
                   dvoid **instance);
sword OCIObjectPin(OCIEnv *env, OCIError *err, OCIRef *object_ref, OCIComplexObject *corhdl,
                   OCIPinOpt pin_option, OCIDuration pin_duration, OCILockOpt lock_option,
                   dvoid **object);
sword OCIObjectUnpin(OCIEnv *env, OCIError *err, dvoid *object);
sword OCIObjectPinCountReset(OCIEnv *env, OCIError *err, dvoid *object);
sword OCIObjectFree(OCIEnv *env, OCIError *err, dvoid *instance, ub2 flags);
sword OCIObjectLock(OCIEnv *env, OCIError *err, dvoid *object);
sword OCIObjectMarkUpdate(OCIEnv *env, OCIError *err, dvoid *object);
sword OCIObjectUnmark(OCIEnv *env, OCIError *err, dvoid *object);
sword OCIObjectMarkDelete(OCIEnv *env, OCIError *err, dvoid *instance);
sword OCIObjectFlush(OCIEnv *env, OCIError *err, dvoid *object);
sword OCIObjectRefresh(OCIEnv *env, OCIError *err, dvoid *object);
sword OCIObjectCopy(OCIEnv *env, OCIError *err, CONST OCISvcCtx *svc, dvoid *source,
                    dvoid *null_source, dvoid *target, dvoid *null_target, OCIType *tdo,
                    OCIDuration duration, ub1 option);
sword OCIObjectGetTypeRef(OCIEnv *env, OCIError *err, dvoid *instance, OCIRef *type_ref);
sword OCIObjectGetObjectRef(OCIEnv *env, OCIError *err, dvoid *object, OCIRef *object_ref);
sword OCIObjectGetInd(OCIEnv *env, OCIError *err, dvoid *instance, dvoid **null_struct);
sword OCIObjectExists(OCIEnv *env, OCIError *err, dvoid *ins, boolean *exist);
sword OCIObjectIsLocked(OCIEnv *env, OCIError *err, dvoid *ins, boolean *lock);
sword OCIObjectIsDirty(OCIEnv *env, OCIError *err, dvoid *ins, boolean *dirty);
sword OCIObjectPinTable(OCIEnv *env, OCIError *err, CONST OCISvcCtx *svc,
                        CONST OraText *schema_name, ub4 s_n_length, CONST OraText *object_name,
                        ub4 o_n_length, CONST OCIRef *scope_obj_ref, OCIDuration pin_duration,
                        dvoid **object);
sword OCIObjectGetAttr(OCIEnv *env, OCIError *err, dvoid *instance, dvoid *null_struct,
                       struct OCIType *tdo, CONST OraText **names, CONST ub4 *lengths,
                       CONST ub4 name_count, CONST ub4 *indexes, CONST ub4 index_count,
                       OCIInd *attr_null_status, dvoid **attr_null_struct, dvoid **attr_value,
                       struct OCIType **attr_tdo);
sword OCIObjectSetAttr(OCIEnv *env, OCIError *err, dvoid *instance, dvoid *null_struct,
                       struct OCIType *tdo, CONST OraText **names, CONST ub4 *lengths,
                       CONST ub4 name_count, CONST ub4 *indexes, CONST ub4 index_count,
                       CONST OCIInd null_status, CONST dvoid *attr_null_struct,
                       CONST dvoid *attr_value);
sword OCICacheFlush(OCIEnv *env, OCIError *err, CONST OCISvcCtx *svc, dvoid *context,
                    OCIRef *(*get)(dvoid *context, ub1 *last), OCIRef **ref);
sword OCITypeByName(OCIEnv *env, OCIError *err, CONST OCISvcCtx *svc, CONST OraText *schema_name,
                    ub4 s_length, CONST OraText *type_name, ub4 t_length,
                    CONST OraText *version_name, ub4 v_length, OCIDuration pin_duration,
                    OCITypeGetOpt get_option, OCIType **tdo);

/* ---- Datatype helpers: strings, numbers, raws, refs, collections ------------------------- */

OraText *OCIStringPtr(OCIEnv *env, CONST OCIString *vs);
ub4 OCIStringSize(OCIEnv *env, CONST OCIString *vs);
sword OCIStringAssignText(OCIEnv *env, OCIError *err, CONST OraText *rhs, ub4 rhs_len,
                          OCIString **lhs);
sword OCIStringAssign(OCIEnv *env, OCIError *err, CONST OCIString *rhs, OCIString **lhs);
sword OCIStringResize(OCIEnv *env, OCIError *err, ub4 new_size, OCIString **str);
sword OCINumberFromInt(OCIError *err, CONST dvoid *inum, uword inum_length, uword inum_s_flag,
                       OCINumber *number);
sword OCINumberToInt(OCIError *err, CONST OCINumber *number, uword rsl_length, uword rsl_flag,
                     dvoid *rsl);
sword OCINumberFromReal(OCIError *err, CONST dvoid *rnum, uword rnum_length, OCINumber *number);
sword OCINumberToReal(OCIError *err, CONST OCINumber *number, uword rsl_length, dvoid *rsl);
sword OCINumberToText(OCIError *err, CONST OCINumber *number, CONST OraText *fmt,
                      ub4 fmt_length, CONST OraText *nls_params, ub4 nls_p_length,
                      ub4 *buf_size, OraText *buf);
sword OCINumberFromText(OCIError *err, CONST OraText *str, ub4 str_length, CONST OraText *fmt,
                        ub4 fmt_length, CONST OraText *nls_params, ub4 nls_p_length,
                        OCINumber *number);
sword OCIDateToText(OCIError *err, CONST OCIDate *date, CONST OraText *fmt, ub1 fmt_length,
                    CONST OraText *lang_name, ub4 lang_length, ub4 *buf_size, OraText *buf);
sword OCIDateFromText(OCIError *err, CONST OraText *date_str, ub4 d_str_length,
                      CONST OraText *fmt, ub1 fmt_length, CONST OraText *lang_name,
                      ub4 lang_length, OCIDate *date);
ub1 *OCIRawPtr(OCIEnv *env, CONST OCIRaw *raw);
ub4 OCIRawSize(OCIEnv *env, CONST OCIRaw *raw);
sword OCIRawAssignBytes(OCIEnv *env, OCIError *err, CONST ub1 *rhs, ub4 rhs_len, OCIRaw **lhs);
sword OCIRefAssign(OCIEnv *env, OCIError *err, CONST OCIRef *source, OCIRef **target);
void OCIRefClear(OCIEnv *env, OCIRef *ref);
boolean OCIRefIsNull(OCIEnv *env, CONST OCIRef *ref);
sword OCIRefFromHex(OCIEnv *env, OCIError *err, CONST OCISvcCtx *svc, CONST OraText *hex,
                    ub4 length, OCIRef **ref);
ub4 OCIRefHexSize(OCIEnv *env, CONST OCIRef *ref);
sword OCIRefToHex(OCIEnv *env, OCIError *err, CONST OCIRef *ref, OraText *hex, ub4 *hex_length);
sword OCICollSize(OCIEnv *env, OCIError *err, CONST OCIColl *coll, sb4 *size);
sword OCICollTrim(OCIEnv *env, OCIError *err, sb4 trim_num, OCIColl *coll);
sb4 OCICollMax(OCIEnv *env, CONST OCIColl *coll);
sword OCICollGetElem(OCIEnv *env, OCIError *err, CONST OCIColl *coll, sb4 index,
                     boolean *exists, dvoid **elem, dvoid **elemind);
sword OCICollAssignElem(OCIEnv *env, OCIError *err, sb4 index, CONST dvoid *elem,
                        CONST dvoid *elemind, OCIColl *coll);
sword OCICollAppend(OCIEnv *env, OCIError *err, CONST dvoid *elem, CONST dvoid *elemind,
                    OCIColl *coll);
sword OCITableDelete(OCIEnv *env, OCIError *err, sb4 index, OCITable *tbl);
sword OCITableSize(OCIEnv *env, OCIError *err, CONST OCITable *tbl, sb4 *size);
sword OCITableExists(OCIEnv *env, OCIError *err, CONST OCITable *tbl, sb4 index,
                     boolean *exists);

/* ---- Direct path ----------------------------------------------------------------------------- */

sword OCIDirPathPrepare(OCIDirPathCtx *dpctx, OCISvcCtx *svchp, OCIError *errhp);

/* ---- Version 7 calls (ociapr.h) ---------------------------------------------------------- */

sword orlon(Lda_Def *lda, ub1 *hda, OraText *uid, sword uidl, OraText *pswd, sword pswdl,
            sword audit);
sword olog(Lda_Def *lda, ub1 *hda, OraText *uid, sword uidl, OraText *pswd, sword pswdl,
           OraText *conn, sword connl, ub4 mode);
sword ologof(Lda_Def *lda);
sword oerhms(Lda_Def *lda, sb2 rcode, OraText *buf, sword bufsiz);
sword oopen(Cda_Def *cursor, Lda_Def *lda, OraText *dbn, sword dbnl, sword arsize, OraText *uid,
            sword uidl);
sword oparse(Cda_Def *cursor, OraText *sqlstm, sb4 sqllen, sword defflg, ub4 lngflg);
sword odefin(Cda_Def *cursor, sword pos, ub1 *buf, sword bufl, sword ftype, sword scale,
             sb2 *indp, OraText *fmt, sword fmtl, sword fmtt, ub2 *rlen, ub2 *rcode);
sword oexfet(Cda_Def *cursor, ub4 nrows, sword cancel, sword exact);
sword ofen(Cda_Def *cursor, sword nrows);
sword oflng(Cda_Def *cursor, sword pos, ub1 *buf, sb4 bufl, sword dtype, ub4 *retl, sb4 offset);
sword oclose(Cda_Def *cursor);
sword odescr(Cda_Def *cursor, sword pos, sb4 *dbsize, sb2 *dbtype, sb1 *cbuf, sb4 *cbufl,
             sb4 *dsize, sb2 *prec, sb2 *scale, sb2 *nullok);
sword oexec(Cda_Def *cursor);
sword oexn(Cda_Def *cursor, sword iters, sword rowoff);
sword ocom(Lda_Def *lda);
sword orol(Lda_Def *lda);
sword ocon(Lda_Def *lda);
sword ocof(Lda_Def *lda);
sword obreak(Lda_Def *lda);
sword obndra(Cda_Def *cursor, OraText *sqlvar, sword sqlvl, ub1 *progv, sword progvl,
             sword ftype, sword scale, sb2 *indp, ub2 *alen, ub2 *arcode, ub4 maxsiz,
             ub4 *cursiz, OraText *fmt, sword fmtl, sword fmtt);
sword odessp(Cda_Def *cursor, OraText *objnam, size_t onlen, ub1 *rsv1, size_t rsv1ln, ub1 *rsv2,
             size_t rsv2ln, ub2 *ovrld, ub2 *pos, ub2 *level, OraText **argnam, ub2 *arnlen,
             ub2 *dtype, ub1 *defsup, ub1 *mode, ub4 *dtsiz, sb2 *prec, sb2 *scale, ub1 *radix,
             ub4 *spare, ub4 *arrsiz);
sword opinit(ub4 mode);
sword ocan(Cda_Def *cursor);
sword ofetch(Cda_Def *cursor);
sword obndrv(Cda_Def *cursor, OraText *sqlvar, sword sqlvl, ub1 *progv, sword progvl,
             sword ftype, sword scale, sb2 *indp, OraText *fmt, sword fmtl, sword fmtt);
sword obndrn(Cda_Def *cursor, sword sqlvn, ub1 *progv, sword progvl, sword ftype, sword scale,
             sb2 *indp, OraText *fmt, sword fmtl, sword fmtt);
sword obindps(Cda_Def *cursor, ub1 opcode, OraText *sqlvar, sb4 sqlvl, ub1 *pvctx, sb4 progvl,
              sword ftype, sword scale, sb2 *indp, ub2 *alen, ub2 *arcode, sb4 pv_skip,
              sb4 ind_skip, sb4 alen_skip, sb4 rc_skip, ub4 maxsiz, ub4 *cursiz, OraText *fmt,
              sb4 fmtl, sword fmtt);
sword odefinps(Cda_Def *cursor, ub1 opcode, sword pos, ub1 *bufctx, sb4 bufl, sword ftype,
               sword scale, sb2 *indp, OraText *fmt, sb4 fmtl, sword fmtt, ub2 *rlen, ub2 *rcode,
               sb4 pv_skip, sb4 ind_skip, sb4 alen_skip, sb4 rc_skip);
sword ogetpi(Cda_Def *cursor, ub1 *piecep, dvoid **ctxpp, ub4 *iterp, ub4 *indexp);
sword osetpi(Cda_Def *cursor, ub1 piece, dvoid *bufp, ub4 *lenp);
sword oermsg(sb2 rcode, OraText *buf);
sword oopt(Cda_Def *cursor, sword rbopt, sword waitopt);
sword olon(Lda_Def *lda, OraText *uid, sword uidl, OraText *pswd, sword pswdl, sword audit);
sword osql3(Cda_Def *cda, OraText *sqlstm, sword sqllen);
sword odsc(Cda_Def *cursor, sword pos, sb2 *dbsize, sb2 *fsize, sb2 *rcode, sb2 *dtype,
           sb1 *buf, sb2 *bufl, sb2 *dsize);
sword oname(Cda_Def *cursor, sword pos, sb1 *tbuf, sb2 *tbufl, sb1 *buf, sb2 *bufl);

#ifdef __cplusplus
}
#endif

#endif /* OCI_ORACLE */
