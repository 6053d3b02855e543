// The version 8 call table: the handle-based calls of the client library,
// with the optional OCIDirPathPrepare whose presence marks an 8.1 client.
//
//   sword status = Oci8().OCIStmtFetch(statement, errorHandle, 1, 2, OCI_DEFAULT);
//
// Every call returns a status (OciConstants.h) except the few helpers whose
// prototypes say otherwise; the error itself is read with OCIErrorGet.
#pragma once

#include <array>
#include <cstddef>

#include "vorn/client/ClientEntry.h"
#include "vorn/client/OciTypes.h"

// The required calls, in the order they are resolved: CALL(name, signature).
// A library lacking any of them cannot be used in version 8 mode.
#define VORN_OCI8_CALL_SET(CALL)                                                                   \
  /* Environment, handles, descriptors */                                                          \
  CALL(OCIInitialize, sword(ub4 mode, void* ctxp, OCIMallocCallback malocfp,                       \
                            OCIReallocCallback ralocfp, OCIFreeCallback mfreefp))                  \
  CALL(OCIHandleAlloc, sword(const void* parenth, void** hndlpp, ub4 type, std::size_t xtramem_sz, \
                             void** usrmempp))                                                     \
  CALL(OCIHandleFree, sword(void* hndlp, ub4 type))                                                \
  CALL(OCIDescriptorAlloc, sword(const void* parenth, void** descpp, ub4 type,                     \
                                 std::size_t xtramem_sz, void** usrmempp))                         \
  CALL(OCIDescriptorFree, sword(void* descp, ub4 type))                                            \
  CALL(OCIEnvInit, sword(OCIEnv** envp, ub4 mode, std::size_t xtramem_sz, void** usrmempp))        \
  /* Server attach, sessions, logon */                                                             \
  CALL(OCIServerAttach,                                                                            \
       sword(OCIServer* srvhp, OCIError* errhp, const OraText* dblink, sb4 dblink_len, ub4 mode))  \
  CALL(OCIServerDetach, sword(OCIServer* srvhp, OCIError* errhp, ub4 mode))                        \
  CALL(OCISessionBegin,                                                                            \
       sword(OCISvcCtx* svchp, OCIError* errhp, OCISession* usrhp, ub4 credt, ub4 mode))           \
  CALL(OCISessionEnd, sword(OCISvcCtx* svchp, OCIError* errhp, OCISession* usrhp, ub4 mode))       \
  CALL(OCILogon, sword(OCIEnv* envhp, OCIError* errhp, OCISvcCtx** svchp, const OraText* username, \
                       ub4 uname_len, const OraText* password, ub4 passwd_len,                     \
                       const OraText* dbname, ub4 dbname_len))                                     \
  CALL(OCILogoff, sword(OCISvcCtx* svchp, OCIError* errhp))                                        \
  CALL(OCIPasswordChange, sword(OCISvcCtx* svchp, OCIError* errhp, const OraText* user_name,       \
                                ub4 usernm_len, const OraText* opasswd, ub4 opasswd_len,           \
                                const OraText* npasswd, ub4 npasswd_len, ub4 mode))                \
  /* Statements: prepare, bind, execute, define, fetch, piecewise */                               \
  CALL(OCIStmtPrepare, sword(OCIStmt* stmtp, OCIError* errhp, const OraText* stmt, ub4 stmt_len,   \
                             ub4 language, ub4 mode))                                              \
  CALL(OCIBindByPos, sword(OCIStmt* stmtp, OCIBind** bindp, OCIError* errhp, ub4 position,         \
                           void* valuep, sb4 value_sz, ub2 dty, void* indp, ub2* alenp,            \
                           ub2* rcodep, ub4 maxarr_len, ub4* curelep, ub4 mode))                   \
  CALL(OCIBindByName,                                                                              \
       sword(OCIStmt* stmtp, OCIBind** bindp, OCIError* errhp, const OraText* placeholder,         \
             sb4 placeh_len, void* valuep, sb4 value_sz, ub2 dty, void* indp, ub2* alenp,          \
             ub2* rcodep, ub4 maxarr_len, ub4* curelep, ub4 mode))                                 \
  CALL(OCIBindObject, sword(OCIBind* bindp, OCIError* errhp, const OCIType* type, void** pgvpp,    \
                            ub4* pvszsp, void** indpp, ub4* indszp))                               \
  CALL(OCIBindDynamic, sword(OCIBind* bindp, OCIError* errhp, void* ictxp,                         \
                             OCICallbackInBind icbfp, void* octxp, OCICallbackOutBind ocbfp))      \
  CALL(OCIBindArrayOfStruct,                                                                       \
       sword(OCIBind* bindp, OCIError* errhp, ub4 pvskip, ub4 indskip, ub4 alskip, ub4 rcskip))    \
  CALL(OCIStmtGetPieceInfo, sword(OCIStmt* stmtp, OCIError* errhp, void** hndlpp, ub4* typep,      \
                                  ub1* in_outp, ub4* iterp, ub4* idxp, ub1* piecep))               \
  CALL(OCIStmtSetPieceInfo, sword(void* hndlp, ub4 type, OCIError* errhp, const void* bufp,        \
                                  ub4* alenp, ub1 piece, const void* indp, ub2* rcodep))           \
  CALL(OCIStmtExecute,                                                                             \
       sword(OCISvcCtx* svchp, OCIStmt* stmtp, OCIError* errhp, ub4 iters, ub4 rowoff,             \
             const OCISnapshot* snap_in, OCISnapshot* snap_out, ub4 mode))                         \
  CALL(OCIDefineByPos,                                                                             \
       sword(OCIStmt* stmtp, OCIDefine** defnp, OCIError* errhp, ub4 position, void* valuep,       \
             sb4 value_sz, ub2 dty, void* indp, ub2* rlenp, ub2* rcodep, ub4 mode))                \
  CALL(OCIDefineObject, sword(OCIDefine* defnp, OCIError* errhp, const OCIType* type,              \
                              void** pgvpp, ub4* pvszsp, void** indpp, ub4* indszp))               \
  CALL(OCIDefineDynamic,                                                                           \
       sword(OCIDefine* defnp, OCIError* errhp, void* octxp, OCICallbackDefine ocbfp))             \
  CALL(OCIDefineArrayOfStruct,                                                                     \
       sword(OCIDefine* defnp, OCIError* errhp, ub4 pvskip, ub4 indskip, ub4 rlskip, ub4 rcskip))  \
  CALL(OCIStmtFetch, sword(OCIStmt* stmtp, OCIError* errhp, ub4 nrows, ub2 orientation, ub4 mode)) \
  CALL(OCIStmtGetBindInfo,                                                                         \
       sword(OCIStmt* stmtp, OCIError* errhp, ub4 size, ub4 startloc, sb4* found, OraText** bvnp,  \
             ub1* bvnl, OraText** invp, ub1* inpl, ub1* dupl, OCIBind** hndl))                     \
  /* Describe, parameters, attributes */                                                           \
  CALL(OCIDescribeAny, sword(OCISvcCtx* svchp, OCIError* errhp, void* objptr, ub4 objnm_len,       \
                             ub1 objptr_typ, ub1 info_level, ub1 objtyp, OCIDescribe* dschp))      \
  CALL(OCIParamGet, sword(const void* hndlp, ub4 htype, OCIError* errhp, void** parmdpp, ub4 pos)) \
  CALL(OCIParamSet,                                                                                \
       sword(void* hdlp, ub4 htyp, OCIError* errhp, const void* dscp, ub4 dtyp, ub4 pos))          \
  /* Transactions */                                                                               \
  CALL(OCITransStart, sword(OCISvcCtx* svchp, OCIError* errhp, uword timeout, ub4 flags))          \
  CALL(OCITransDetach, sword(OCISvcCtx* svchp, OCIError* errhp, ub4 flags))                        \
  CALL(OCITransCommit, sword(OCISvcCtx* svchp, OCIError* errhp, ub4 flags))                        \
  CALL(OCITransRollback, sword(OCISvcCtx* svchp, OCIError* errhp, ub4 flags))                      \
  CALL(OCITransPrepare, sword(OCISvcCtx* svchp, OCIError* errhp, ub4 flags))                       \
  CALL(OCITransForget, sword(OCISvcCtx* svchp, OCIError* errhp, ub4 flags))                        \
  /* Errors */                                                                                     \
  CALL(OCIErrorGet, sword(void* hndlp, ub4 recordno, OraText* sqlstate, sb4* errcodep,             \
                          OraText* bufp, ub4 bufsiz, ub4 type))                                    \
  /* LOBs and BFILEs */                                                                            \
  CALL(OCILobAppend,                                                                               \
       sword(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* dst_locp, OCILobLocator* src_locp)) \
  CALL(OCILobAssign, sword(OCIEnv* envhp, OCIError* errhp, const OCILobLocator* src_locp,          \
                           OCILobLocator** dst_locpp))                                             \
  CALL(OCILobCharSetForm,                                                                          \
       sword(OCIEnv* envhp, OCIError* errhp, const OCILobLocator* locp, ub1* csfrm))               \
  CALL(OCILobCharSetId,                                                                            \
       sword(OCIEnv* envhp, OCIError* errhp, const OCILobLocator* locp, ub2* csid))                \
  CALL(OCILobCopy, sword(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* dst_locp,               \
                         OCILobLocator* src_locp, ub4 amount, ub4 dst_offset, ub4 src_offset))     \
  CALL(OCILobDisableBuffering, sword(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp))      \
  CALL(OCILobEnableBuffering, sword(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp))       \
  CALL(OCILobErase,                                                                                \
       sword(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp, ub4* amount, ub4 offset))     \
  CALL(OCILobFileClose, sword(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* filep))            \
  CALL(OCILobFileCloseAll, sword(OCISvcCtx* svchp, OCIError* errhp))                               \
  CALL(OCILobFileExists,                                                                           \
       sword(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* filep, boolean* flag))              \
  CALL(OCILobFileGetName,                                                                          \
       sword(OCIEnv* envhp, OCIError* errhp, const OCILobLocator* filep, OraText* dir_alias,       \
             ub2* d_length, OraText* filename, ub2* f_length))                                     \
  CALL(OCILobFileIsOpen,                                                                           \
       sword(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* filep, boolean* flag))              \
  CALL(OCILobFileOpen, sword(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* filep, ub1 mode))   \
  CALL(OCILobFileSetName,                                                                          \
       sword(OCIEnv* envhp, OCIError* errhp, OCILobLocator** filepp, const OraText* dir_alias,     \
             ub2 d_length, const OraText* filename, ub2 f_length))                                 \
  CALL(OCILobFlushBuffer, sword(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp, ub4 flag)) \
  CALL(OCILobGetLength, sword(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp, ub4* lenp))  \
  CALL(OCILobIsEqual,                                                                              \
       sword(OCIEnv* envhp, const OCILobLocator* x, const OCILobLocator* y, boolean* is_equal))    \
  CALL(OCILobLoadFromFile,                                                                         \
       sword(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* dst_locp, OCILobLocator* src_filep, \
             ub4 amount, ub4 dst_offset, ub4 src_offset))                                          \
  CALL(OCILobLocatorIsInit,                                                                        \
       sword(OCIEnv* envhp, OCIError* errhp, const OCILobLocator* locp, boolean* is_initialized))  \
  CALL(OCILobRead,                                                                                 \
       sword(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp, ub4* amtp, ub4 offset,        \
             void* bufp, ub4 bufl, void* ctxp, OCICallbackLobRead cbfp, ub2 csid, ub1 csfrm))      \
  CALL(OCILobTrim, sword(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp, ub4 newlen))      \
  CALL(OCILobWrite, sword(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp, ub4* amtp,       \
                          ub4 offset, void* bufp, ub4 buflen, ub1 piece, void* ctxp,               \
                          OCICallbackLobWrite cbfp, ub2 csid, ub1 csfrm))                          \
  /* Break, version, attributes */                                                                 \
  CALL(OCIBreak, sword(void* hndlp, OCIError* errhp))                                              \
  CALL(OCIServerVersion,                                                                           \
       sword(void* hndlp, OCIError* errhp, OraText* bufp, ub4 bufsz, ub1 hndltype))                \
  CALL(OCIAttrGet, sword(const void* trgthndlp, ub4 trghndltyp, void* attributep, ub4* sizep,      \
                         ub4 attrtype, OCIError* errhp))                                           \
  CALL(OCIAttrSet, sword(void* trgthndlp, ub4 trghndltyp, void* attributep, ub4 size,              \
                         ub4 attrtype, OCIError* errhp))                                           \
  /* Version 7 interoperation, result sets */                                                      \
  CALL(OCISvcCtxToLda, sword(OCISvcCtx* svchp, OCIError* errhp, Lda_Def* ldap))                    \
  CALL(OCILdaToSvcCtx, sword(OCISvcCtx** svchpp, OCIError* errhp, Lda_Def* ldap))                  \
  CALL(OCIResultSetToStmt, sword(OCIResult* rsetdp, OCIError* errhp))                              \
  /* Objects and the object cache */                                                               \
  CALL(OCIObjectUnpin, sword(OCIEnv* env, OCIError* err, void* object))                            \
  CALL(OCIObjectLock, sword(OCIEnv* env, OCIError* err, void* object))                             \
  CALL(OCIObjectMarkUpdate, sword(OCIEnv* env, OCIError* err, void* object))                       \
  CALL(OCIObjectUnmark, sword(OCIEnv* env, OCIError* err, void* object))                           \
  CALL(OCIObjectMarkDelete, sword(OCIEnv* env, OCIError* err, void* instance))                     \
  CALL(OCIObjectFlush, sword(OCIEnv* env, OCIError* err, void* object))                            \
  CALL(OCIObjectCopy,                                                                              \
       sword(OCIEnv* env, OCIError* err, const OCISvcCtx* svc, void* source, void* null_source,    \
             void* target, void* null_target, OCIType* tdo, OCIDuration duration, ub1 option))     \
  CALL(OCIObjectGetTypeRef, sword(OCIEnv* env, OCIError* err, void* instance, OCIRef* type_ref))   \
  CALL(OCIObjectGetObjectRef, sword(OCIEnv* env, OCIError* err, void* object, OCIRef* object_ref)) \
  CALL(OCIObjectGetInd, sword(OCIEnv* env, OCIError* err, void* instance, void** null_struct))     \
  CALL(OCIObjectExists, sword(OCIEnv* env, OCIError* err, void* ins, boolean* exist))              \
  CALL(OCIObjectIsLocked, sword(OCIEnv* env, OCIError* err, void* ins, boolean* lock))             \
  CALL(OCIObjectIsDirty, sword(OCIEnv* env, OCIError* err, void* ins, boolean* dirty))             \
  CALL(OCIObjectRefresh, sword(OCIEnv* env, OCIError* err, void* object))                          \
  CALL(OCIObjectPinTable,                                                                          \
       sword(OCIEnv* env, OCIError* err, const OCISvcCtx* svc, const OraText* schema_name,         \
             ub4 s_n_length, const OraText* object_name, ub4 o_n_length,                           \
             const OCIRef* scope_obj_ref, OCIDuration pin_duration, void** object))                \
  CALL(OCIObjectNew,                                                                               \
       sword(OCIEnv* env, OCIError* err, const OCISvcCtx* svc, OCITypeCode typecode, OCIType* tdo, \
             void* table, OCIDuration duration, boolean value, void** instance))                   \
  CALL(OCIObjectPin, sword(OCIEnv* env, OCIError* err, OCIRef* object_ref,                         \
                           OCIComplexObject* corhdl, OCIPinOpt pin_option,                         \
                           OCIDuration pin_duration, OCILockOpt lock_option, void** object))       \
  CALL(OCIObjectFree, sword(OCIEnv* env, OCIError* err, void* instance, ub2 flags))                \
  CALL(OCITypeByName,                                                                              \
       sword(OCIEnv* env, OCIError* err, const OCISvcCtx* svc, const OraText* schema_name,         \
             ub4 s_length, const OraText* type_name, ub4 t_length, const OraText* version_name,    \
             ub4 v_length, OCIDuration pin_duration, OCITypeGetOpt get_option, OCIType** tdo))     \
  CALL(OCIObjectGetAttr,                                                                           \
       sword(OCIEnv* env, OCIError* err, void* instance, void* null_struct, OCIType* tdo,          \
             const OraText** names, const ub4* lengths, ub4 name_count, const ub4* indexes,        \
             ub4 index_count, OCIInd* attr_null_status, void** attr_null_struct,                   \
             void** attr_value, OCIType** attr_tdo))                                               \
  CALL(OCIObjectSetAttr,                                                                           \
       sword(OCIEnv* env, OCIError* err, void* instance, void* null_struct, OCIType* tdo,          \
             const OraText** names, const ub4* lengths, ub4 name_count, const ub4* indexes,        \
             ub4 index_count, OCIInd null_status, const void* attr_null_struct,                    \
             const void* attr_value))                                                              \
  /* Datatype helpers: strings, numbers, raws, references, collections */                          \
  CALL(OCIStringPtr, OraText*(OCIEnv * env, const OCIString* vs))                                  \
  CALL(OCIStringAssignText,                                                                        \
       sword(OCIEnv* env, OCIError* err, const OraText* rhs, ub4 rhs_len, OCIString** lhs))        \
  CALL(OCINumberFromInt, sword(OCIError* err, const void* inum, uword inum_length,                 \
                               uword inum_s_flag, OCINumber* number))                              \
  CALL(OCINumberToInt,                                                                             \
       sword(OCIError* err, const OCINumber* number, uword rsl_length, uword rsl_flag, void* rsl)) \
  CALL(OCINumberFromReal,                                                                          \
       sword(OCIError* err, const void* rnum, uword rnum_length, OCINumber* number))               \
  CALL(OCINumberToReal,                                                                            \
       sword(OCIError* err, const OCINumber* number, uword rsl_length, void* rsl))                 \
  CALL(OCIRawPtr, ub1*(OCIEnv * env, const OCIRaw* raw))                                           \
  CALL(OCIRawSize, ub4(OCIEnv* env, const OCIRaw* raw))                                            \
  CALL(OCIRawAssignBytes,                                                                          \
       sword(OCIEnv* env, OCIError* err, const ub1* rhs, ub4 rhs_len, OCIRaw** lhs))               \
  CALL(OCIRefAssign, sword(OCIEnv* env, OCIError* err, const OCIRef* source, OCIRef** target))     \
  CALL(OCIRefClear, void(OCIEnv * env, OCIRef * ref))                                              \
  CALL(OCIRefIsNull, boolean(OCIEnv* env, const OCIRef* ref))                                      \
  CALL(OCIRefFromHex, sword(OCIEnv* env, OCIError* err, const OCISvcCtx* svc, const OraText* hex,  \
                            ub4 length, OCIRef** ref))                                             \
  CALL(OCIRefHexSize, ub4(OCIEnv* env, const OCIRef* ref))                                         \
  CALL(OCIRefToHex,                                                                                \
       sword(OCIEnv* env, OCIError* err, const OCIRef* ref, OraText* hex, ub4* hex_length))        \
  CALL(OCICollSize, sword(OCIEnv* env, OCIError* err, const OCIColl* coll, sb4* size))             \
  CALL(OCICollTrim, sword(OCIEnv* env, OCIError* err, sb4 trim_num, OCIColl* coll))                \
  CALL(OCICollMax, sb4(OCIEnv* env, const OCIColl* coll))                                          \
  CALL(OCICollGetElem, sword(OCIEnv* env, OCIError* err, const OCIColl* coll, sb4 index,           \
                             boolean* exists, void** elem, void** elemind))                        \
  CALL(OCICollAssignElem, sword(OCIEnv* env, OCIError* err, sb4 index, const void* elem,           \
                                const void* elemind, OCIColl* coll))                               \
  CALL(OCICollAppend,                                                                              \
       sword(OCIEnv* env, OCIError* err, const void* elem, const void* elemind, OCIColl* coll))    \
  CALL(OCITableDelete, sword(OCIEnv* env, OCIError* err, sb4 index, OCITable* tbl))                \
  CALL(OCICacheFlush, sword(OCIEnv* env, OCIError* err, const OCISvcCtx* svc, void* context,       \
                            OCICacheFlushGet get, OCIRef** ref))

namespace vorn::client {

class Oci8CallTable {
 public:
// Names and prototypes are pasted as they are; parentheses would break them.
// NOLINTNEXTLINE(bugprone-macro-parentheses)
#define VORN_OCI_DECLARE_ENTRY(name, signature) ClientEntry<signature> name{#name};
  VORN_OCI8_CALL_SET(VORN_OCI_DECLARE_ENTRY)
#undef VORN_OCI_DECLARE_ENTRY

  // Optional, resolved only when the whole set above was. Nothing calls it;
  // its presence is what marks a version 8.1 client.
  ClientEntry<sword(OCIDirPathCtx* dpctx, OCISvcCtx* svchp, OCIError* errhp)> OCIDirPathPrepare{
      "OCIDirPathPrepare"};

// NOLINTNEXTLINE(bugprone-macro-parentheses)
#define VORN_OCI_COUNT_ENTRY(name, signature) +1
  static constexpr std::size_t kRequiredCount = 0 VORN_OCI8_CALL_SET(VORN_OCI_COUNT_ENTRY);
#undef VORN_OCI_COUNT_ENTRY

  // The required entries in the order of resolution.
  std::array<const ClientEntryBase*, kRequiredCount> RequiredEntries() const {
// NOLINTNEXTLINE(bugprone-macro-parentheses)
#define VORN_OCI_ENTRY_ADDRESS(name, signature) &name,
    return {VORN_OCI8_CALL_SET(VORN_OCI_ENTRY_ADDRESS)};
#undef VORN_OCI_ENTRY_ADDRESS
  }
};

namespace detail {
extern Oci8CallTable oci8CallTable;
}

// The process's version 8 call table.
inline const Oci8CallTable& Oci8() {
  return detail::oci8CallTable;
}

}  // namespace vorn::client
