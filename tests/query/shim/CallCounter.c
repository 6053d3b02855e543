/* A client library that logs the statement calls a program makes: it
 * stands in front of the demo home's oci.dll (its one dependency, which
 * provides every other name when the client binding resolves the call sets
 * through this library) and forwards the calls below after writing one
 * line per call to its log:
 *
 *   prepare                 OCIStmtPrepare
 *   execute <iters>         OCIStmtExecute
 *   fetch <rows>            OCIStmtFetch
 *   parse                   oparse
 *   oexfet <rows>           oexfet
 *   ofen <rows>             ofen
 *   oexn <iters> <rowoff>   oexn
 *   lobread <amt> <offset>  OCILobRead
 *   lobwrite <amt> <offset> <first byte>
 *                           OCILobWrite
 *   lobtrim <length>        OCILobTrim
 *   fileopen, fileclose     OCILobFileOpen, OCILobFileClose
 *
 * and the text of every statement prepared or parsed to a second log. A
 * third log, the trace, holds one entry per statement executed (the text
 * its handle or cursor was last prepared or parsed with: OCIStmtExecute,
 * oexn, oexfet) and per commit or rollback ("COMMIT", "ROLLBACK": the
 * OCITransCommit/ocom and OCITransRollback/orol calls), in order, each
 * entry ended by a record separator (0x1E), so that statements of several
 * lines stay one entry.
 * The tests read the logs to see how many round trips a query made and
 * which statements a session sent.
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "oci.h"

#define SHIM_EXPORT __attribute__((visibility("default")))

static char callLog[65536];
static size_t logLength = 0;

static void record(const char* line) {
  size_t length = strlen(line);
  if (logLength + length + 2 >= sizeof callLog) return;
  memcpy(callLog + logLength, line, length);
  logLength += length;
  callLog[logLength++] = '\n';
  callLog[logLength] = 0;
}

static void trace(const char* text, long length);

static char statementLog[65536];
static size_t statementLength = 0;

static void recordStatement(const char* text, long length) {
  size_t size = length < 0 ? strlen(text) : (size_t)length;
  if (statementLength + size + 2 >= sizeof statementLog) return;
  memcpy(statementLog + statementLength, text, size);
  statementLength += size;
  statementLog[statementLength++] = '\n';
  statementLog[statementLength] = 0;
}

static char traceLog[262144];
static size_t traceLength = 0;

static void trace(const char* text, long length) {
  size_t size = length < 0 ? strlen(text) : (size_t)length;
  if (traceLength + size + 2 >= sizeof traceLog) return;
  memcpy(traceLog + traceLength, text, size);
  traceLength += size;
  traceLog[traceLength++] = 0x1E;
  traceLog[traceLength] = 0;
}

/* The text each statement handle or cursor was last given. */
#define TEXT_SLOTS 256
static struct {
  const void* handle;
  char* text;
} texts[TEXT_SLOTS];

static void rememberText(const void* handle, const char* text, long length) {
  size_t size = length < 0 ? strlen(text) : (size_t)length;
  int slot = -1;
  for (int i = 0; i < TEXT_SLOTS && slot < 0; ++i)
    if (texts[i].handle == handle) slot = i;
  for (int i = 0; i < TEXT_SLOTS && slot < 0; ++i)
    if (texts[i].handle == NULL) slot = i;
  if (slot < 0) slot = (int)(((size_t)handle >> 4) % TEXT_SLOTS);
  free(texts[slot].text);
  texts[slot].handle = handle;
  texts[slot].text = malloc(size + 1);
  if (texts[slot].text) {
    memcpy(texts[slot].text, text, size);
    texts[slot].text[size] = 0;
  }
}

/* The texts go with the library: a test that unloads it leaks nothing. */
__attribute__((destructor)) static void forgetTexts(void) {
  for (int i = 0; i < TEXT_SLOTS; ++i) {
    free(texts[i].text);
    texts[i].text = NULL;
    texts[i].handle = NULL;
  }
}

static void traceExecution(const void* handle) {
  for (int i = 0; i < TEXT_SLOTS; ++i) {
    if (texts[i].handle == handle) {
      trace(texts[i].text ? texts[i].text : "", -1);
      return;
    }
  }
  trace("?", -1);
}

SHIM_EXPORT const char* vorn_shim_trace_log(void) {
  return traceLog;
}

SHIM_EXPORT const char* vorn_shim_statement_log(void) {
  return statementLog;
}

SHIM_EXPORT const char* vorn_shim_call_log(void) {
  return callLog;
}

SHIM_EXPORT void vorn_shim_clear_call_log(void) {
  logLength = 0;
  callLog[0] = 0;
  statementLength = 0;
  statementLog[0] = 0;
  traceLength = 0;
  traceLog[0] = 0;
}

/* The real library's own entry point of that name. */
static void* realCall(const char* name) {
  void* library = dlopen("oci.dll", RTLD_LAZY | RTLD_NOLOAD);
  void* address = library ? dlsym(library, name) : NULL;
  if (library) dlclose(library);
  return address;
}

SHIM_EXPORT sword OCIStmtPrepare(OCIStmt* stmtp, OCIError* errhp, const OraText* stmt,
                                 ub4 stmt_len, ub4 language, ub4 mode) {
  typedef sword (*Call)(OCIStmt*, OCIError*, const OraText*, ub4, ub4, ub4);
  Call real = (Call)realCall("OCIStmtPrepare");
  if (!real) return OCI_INVALID_HANDLE;
  record("prepare");
  recordStatement((const char*)stmt, (long)stmt_len);
  rememberText(stmtp, (const char*)stmt, (long)stmt_len);
  return real(stmtp, errhp, stmt, stmt_len, language, mode);
}

SHIM_EXPORT sword OCIStmtExecute(OCISvcCtx* svchp, OCIStmt* stmtp, OCIError* errhp, ub4 iters,
                                 ub4 rowoff, const OCISnapshot* snap_in, OCISnapshot* snap_out,
                                 ub4 mode) {
  typedef sword (*Call)(OCISvcCtx*, OCIStmt*, OCIError*, ub4, ub4, const OCISnapshot*,
                        OCISnapshot*, ub4);
  Call real = (Call)realCall("OCIStmtExecute");
  char line[64];
  if (!real) return OCI_INVALID_HANDLE;
  snprintf(line, sizeof line, "execute %u", iters);
  record(line);
  if (!(mode & OCI_DESCRIBE_ONLY)) traceExecution(stmtp);
  return real(svchp, stmtp, errhp, iters, rowoff, snap_in, snap_out, mode);
}

SHIM_EXPORT sword OCIStmtFetch(OCIStmt* stmtp, OCIError* errhp, ub4 nrows, ub2 orientation,
                               ub4 mode) {
  typedef sword (*Call)(OCIStmt*, OCIError*, ub4, ub2, ub4);
  Call real = (Call)realCall("OCIStmtFetch");
  char line[64];
  if (!real) return OCI_INVALID_HANDLE;
  snprintf(line, sizeof line, "fetch %u", nrows);
  record(line);
  return real(stmtp, errhp, nrows, orientation, mode);
}

SHIM_EXPORT sword oparse(Cda_Def* cursor, OraText* sqlstm, sb4 sqllen, sword defflg, ub4 lngflg) {
  typedef sword (*Call)(Cda_Def*, OraText*, sb4, sword, ub4);
  Call real = (Call)realCall("oparse");
  if (!real) return -1;
  record("parse");
  recordStatement((const char*)sqlstm, (long)sqllen);
  rememberText(cursor, (const char*)sqlstm, (long)sqllen);
  return real(cursor, sqlstm, sqllen, defflg, lngflg);
}

SHIM_EXPORT sword OCITransCommit(OCISvcCtx* svchp, OCIError* errhp, ub4 flags) {
  typedef sword (*Call)(OCISvcCtx*, OCIError*, ub4);
  Call real = (Call)realCall("OCITransCommit");
  if (!real) return OCI_INVALID_HANDLE;
  trace("COMMIT", -1);
  return real(svchp, errhp, flags);
}

SHIM_EXPORT sword OCITransRollback(OCISvcCtx* svchp, OCIError* errhp, ub4 flags) {
  typedef sword (*Call)(OCISvcCtx*, OCIError*, ub4);
  Call real = (Call)realCall("OCITransRollback");
  if (!real) return OCI_INVALID_HANDLE;
  trace("ROLLBACK", -1);
  return real(svchp, errhp, flags);
}

SHIM_EXPORT sword ocom(Lda_Def* lda) {
  typedef sword (*Call)(Lda_Def*);
  Call real = (Call)realCall("ocom");
  if (!real) return -1;
  trace("COMMIT", -1);
  return real(lda);
}

SHIM_EXPORT sword orol(Lda_Def* lda) {
  typedef sword (*Call)(Lda_Def*);
  Call real = (Call)realCall("orol");
  if (!real) return -1;
  trace("ROLLBACK", -1);
  return real(lda);
}

SHIM_EXPORT sword oexfet(Cda_Def* cursor, ub4 nrows, sword cancel, sword exact) {
  typedef sword (*Call)(Cda_Def*, ub4, sword, sword);
  Call real = (Call)realCall("oexfet");
  char line[64];
  if (!real) return -1;
  snprintf(line, sizeof line, "oexfet %u", nrows);
  record(line);
  traceExecution(cursor);
  return real(cursor, nrows, cancel, exact);
}

SHIM_EXPORT sword ofen(Cda_Def* cursor, sword nrows) {
  typedef sword (*Call)(Cda_Def*, sword);
  Call real = (Call)realCall("ofen");
  char line[64];
  if (!real) return -1;
  snprintf(line, sizeof line, "ofen %d", nrows);
  record(line);
  return real(cursor, nrows);
}

SHIM_EXPORT sword oexn(Cda_Def* cursor, sword iters, sword rowoff) {
  typedef sword (*Call)(Cda_Def*, sword, sword);
  Call real = (Call)realCall("oexn");
  char line[64];
  if (!real) return -1;
  snprintf(line, sizeof line, "oexn %d %d", iters, rowoff);
  record(line);
  traceExecution(cursor);
  return real(cursor, iters, rowoff);
}

SHIM_EXPORT sword OCILobRead(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp, ub4* amtp,
                             ub4 offset, void* bufp, ub4 bufl, void* ctxp,
                             OCICallbackLobRead cbfp, ub2 csid, ub1 csfrm) {
  typedef sword (*Call)(OCISvcCtx*, OCIError*, OCILobLocator*, ub4*, ub4, void*, ub4, void*,
                        OCICallbackLobRead, ub2, ub1);
  Call real = (Call)realCall("OCILobRead");
  char line[64];
  if (!real) return OCI_INVALID_HANDLE;
  snprintf(line, sizeof line, "lobread %u %u", amtp ? *amtp : 0u, offset);
  record(line);
  return real(svchp, errhp, locp, amtp, offset, bufp, bufl, ctxp, cbfp, csid, csfrm);
}

SHIM_EXPORT sword OCILobWrite(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp, ub4* amtp,
                              ub4 offset, void* bufp, ub4 buflen, ub1 piece, void* ctxp,
                              OCICallbackLobWrite cbfp, ub2 csid, ub1 csfrm) {
  typedef sword (*Call)(OCISvcCtx*, OCIError*, OCILobLocator*, ub4*, ub4, void*, ub4, ub1, void*,
                        OCICallbackLobWrite, ub2, ub1);
  Call real = (Call)realCall("OCILobWrite");
  char line[64];
  if (!real) return OCI_INVALID_HANDLE;
  snprintf(line, sizeof line, "lobwrite %u %u %d", amtp ? *amtp : 0u, offset,
           bufp && buflen ? *(const unsigned char*)bufp : -1);
  record(line);
  return real(svchp, errhp, locp, amtp, offset, bufp, buflen, piece, ctxp, cbfp, csid, csfrm);
}

SHIM_EXPORT sword OCILobTrim(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* locp, ub4 newlen) {
  typedef sword (*Call)(OCISvcCtx*, OCIError*, OCILobLocator*, ub4);
  Call real = (Call)realCall("OCILobTrim");
  char line[64];
  if (!real) return OCI_INVALID_HANDLE;
  snprintf(line, sizeof line, "lobtrim %u", newlen);
  record(line);
  return real(svchp, errhp, locp, newlen);
}

SHIM_EXPORT sword OCILobFileOpen(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* filep,
                                 ub1 mode) {
  typedef sword (*Call)(OCISvcCtx*, OCIError*, OCILobLocator*, ub1);
  Call real = (Call)realCall("OCILobFileOpen");
  if (!real) return OCI_INVALID_HANDLE;
  record("fileopen");
  return real(svchp, errhp, filep, mode);
}

SHIM_EXPORT sword OCILobFileClose(OCISvcCtx* svchp, OCIError* errhp, OCILobLocator* filep) {
  typedef sword (*Call)(OCISvcCtx*, OCIError*, OCILobLocator*);
  Call real = (Call)realCall("OCILobFileClose");
  if (!real) return OCI_INVALID_HANDLE;
  record("fileclose");
  return real(svchp, errhp, filep);
}
