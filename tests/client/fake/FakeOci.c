/* A stand-in for an Oracle client library, built in several variants that
 * differ in which names they export (see CMakeLists.txt): every name of the
 * version 7 and version 8 call sets is defined here, from the list of
 * names the client binding must resolve, written out independently of the
 * binding's own tables so that a misspelt name there shows up as a missing
 * export here.
 *
 * Calls return success. The initialisation calls and a few others record
 * or produce something that the tests read back through the probe
 * functions at the end. */
#include <stdio.h>
#include <string.h>

#ifndef FAKE_OCI_VARIANT
#define FAKE_OCI_VARIANT "unnamed"
#endif

#define EXPORT __attribute__((visibility("default")))
#define STUB(name)           \
  EXPORT int name(void);     \
  EXPORT int name(void) {    \
    return 0;                \
  }

static int initializeCalls;
static unsigned initializeMode;
static int opinitCalls;
static unsigned opinitMode;

#ifndef FAKE_OCI_NO_V7
STUB(orlon)
STUB(ologof)
STUB(oopen)
STUB(oparse)
STUB(odefin)
STUB(oexfet)
STUB(ofen)
STUB(oflng)
STUB(oclose)
STUB(odescr)
STUB(oexec)
STUB(oexn)
STUB(ocom)
STUB(orol)
STUB(ocon)
STUB(ocof)
STUB(obreak)
STUB(obndra)
STUB(odessp)
STUB(olog)

EXPORT int oerhms(void* lda, short rcode, unsigned char* buf, int bufsiz);
EXPORT int oerhms(void* lda, short rcode, unsigned char* buf, int bufsiz) {
  (void)lda;
  snprintf((char*)buf, (size_t)bufsiz, "ORA-%05d: message of the %s stand-in", rcode,
           FAKE_OCI_VARIANT);
  return 0;
}

EXPORT int opinit(unsigned mode);
EXPORT int opinit(unsigned mode) {
  ++opinitCalls;
  opinitMode = mode;
  return 0;
}
#endif

#ifndef FAKE_OCI_NO_V8
EXPORT int OCIInitialize(unsigned mode, void* ctxp, void* malocfp, void* ralocfp, void* mfreefp);
EXPORT int OCIInitialize(unsigned mode, void* ctxp, void* malocfp, void* ralocfp, void* mfreefp) {
  ++initializeCalls;
  initializeMode = mode;
  /* The client passes no context and no memory callbacks. */
  return ctxp == NULL && malocfp == NULL && ralocfp == NULL && mfreefp == NULL ? 0 : -1;
}

EXPORT int OCIServerVersion(void* hndlp, void* errhp, unsigned char* bufp, unsigned bufsz,
                            unsigned char hndltype);
EXPORT int OCIServerVersion(void* hndlp, void* errhp, unsigned char* bufp, unsigned bufsz,
                            unsigned char hndltype) {
  (void)hndlp;
  (void)errhp;
  snprintf((char*)bufp, bufsz, "Oracle8 stand-in %s, handle type %u", FAKE_OCI_VARIANT,
           (unsigned)hndltype);
  return 0;
}

STUB(OCIHandleAlloc)
STUB(OCIHandleFree)
STUB(OCIDescriptorAlloc)
STUB(OCIDescriptorFree)
STUB(OCIEnvInit)
STUB(OCIServerAttach)
STUB(OCIServerDetach)
STUB(OCISessionBegin)
STUB(OCISessionEnd)
STUB(OCILogon)
STUB(OCILogoff)
STUB(OCIPasswordChange)
STUB(OCIStmtPrepare)
STUB(OCIBindByPos)
STUB(OCIBindByName)
STUB(OCIBindObject)
STUB(OCIBindDynamic)
STUB(OCIBindArrayOfStruct)
STUB(OCIStmtGetPieceInfo)
STUB(OCIStmtSetPieceInfo)
STUB(OCIStmtExecute)
STUB(OCIDefineByPos)
STUB(OCIDefineObject)
STUB(OCIDefineDynamic)
STUB(OCIDefineArrayOfStruct)
STUB(OCIStmtFetch)
STUB(OCIStmtGetBindInfo)
STUB(OCIDescribeAny)
STUB(OCIParamGet)
STUB(OCIParamSet)
STUB(OCITransStart)
STUB(OCITransDetach)
STUB(OCITransCommit)
STUB(OCITransRollback)
STUB(OCITransPrepare)
STUB(OCITransForget)
STUB(OCIErrorGet)
STUB(OCILobAppend)
STUB(OCILobAssign)
STUB(OCILobCharSetForm)
STUB(OCILobCharSetId)
STUB(OCILobCopy)
STUB(OCILobDisableBuffering)
STUB(OCILobEnableBuffering)
STUB(OCILobErase)
STUB(OCILobFileClose)
STUB(OCILobFileCloseAll)
STUB(OCILobFileExists)
STUB(OCILobFileGetName)
STUB(OCILobFileIsOpen)
STUB(OCILobFileOpen)
STUB(OCILobFileSetName)
STUB(OCILobFlushBuffer)
STUB(OCILobGetLength)
STUB(OCILobIsEqual)
STUB(OCILobLoadFromFile)
STUB(OCILobLocatorIsInit)
STUB(OCILobRead)
STUB(OCILobTrim)
STUB(OCILobWrite)
STUB(OCIBreak)
STUB(OCIAttrGet)
STUB(OCIAttrSet)
STUB(OCISvcCtxToLda)
STUB(OCILdaToSvcCtx)
STUB(OCIResultSetToStmt)
STUB(OCIObjectUnpin)
STUB(OCIObjectLock)
STUB(OCIObjectMarkUpdate)
STUB(OCIObjectUnmark)
STUB(OCIObjectMarkDelete)
STUB(OCIObjectFlush)
STUB(OCIObjectCopy)
STUB(OCIObjectGetTypeRef)
STUB(OCIObjectGetObjectRef)
STUB(OCIObjectGetInd)
STUB(OCIObjectExists)
STUB(OCIObjectIsLocked)
STUB(OCIObjectIsDirty)
STUB(OCIObjectRefresh)
STUB(OCIObjectPinTable)
STUB(OCIObjectNew)
STUB(OCIObjectPin)
STUB(OCIObjectFree)
STUB(OCITypeByName)
STUB(OCIObjectGetAttr)
STUB(OCIObjectSetAttr)
STUB(OCIStringPtr)
STUB(OCIStringAssignText)
STUB(OCINumberFromInt)
STUB(OCINumberToInt)
STUB(OCINumberFromReal)
STUB(OCINumberToReal)
STUB(OCIRawPtr)
STUB(OCIRawSize)
STUB(OCIRawAssignBytes)
STUB(OCIRefAssign)
STUB(OCIRefClear)
STUB(OCIRefIsNull)
STUB(OCIRefFromHex)
STUB(OCIRefHexSize)
STUB(OCIRefToHex)
STUB(OCICollSize)
STUB(OCICollTrim)
STUB(OCICollMax)
STUB(OCICollGetElem)
STUB(OCICollAssignElem)
STUB(OCICollAppend)
STUB(OCITableDelete)
STUB(OCICacheFlush)
STUB(OCIDirPathPrepare)
#endif

/* Probes for the tests. */
EXPORT const char* fake_oci_variant(void);
EXPORT const char* fake_oci_variant(void) {
  return FAKE_OCI_VARIANT;
}

EXPORT int fake_oci_initialize_calls(void);
EXPORT int fake_oci_initialize_calls(void) {
  return initializeCalls;
}

EXPORT unsigned fake_oci_initialize_mode(void);
EXPORT unsigned fake_oci_initialize_mode(void) {
  return initializeMode;
}

EXPORT int fake_oci_opinit_calls(void);
EXPORT int fake_oci_opinit_calls(void) {
  return opinitCalls;
}

EXPORT unsigned fake_oci_opinit_mode(void);
EXPORT unsigned fake_oci_opinit_mode(void) {
  return opinitMode;
}
