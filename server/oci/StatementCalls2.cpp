// The statement calls of later releases that thick-mode drivers use:
// OCIStmtFetch2 (the fetch with an orientation and offset) and
// OCIStmtGetNextResult (implicit results of a PL/SQL block).
#include "CallGuard.h"
#include "StatementHandle.h"

using namespace vorn::server;
using namespace vorn::server::oci;

extern "C" sword OCIStmtFetch2(OCIStmt* stmtp, OCIError* errhp, ub4 nrows, ub2 orientation,
                               sb4 fetchOffset, ub4 mode) {
  StatementHandle* s = handleOf<StatementHandle>(stmtp);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!s || !err) return OCI_INVALID_HANDLE;
  return guardedCall(*s->env, *err, [&](ErrorRecords& records) -> sword {
    (void)mode;
    if (s->scrollable()) return s->fetchScrolled(nrows, orientation, fetchOffset, records);
    // A cursor that is not scrollable only moves forward.
    if (orientation != OCI_FETCH_NEXT && orientation != OCI_DEFAULT) raiseOra(24391);
    return s->fetch(nrows, records);
  });
}

extern "C" sword OCIStmtGetNextResult(OCIStmt* stmtp, OCIError* errhp, void** result, ub4* rtype,
                                      ub4) {
  StatementHandle* s = handleOf<StatementHandle>(stmtp);
  ErrorHandle* err = handleOf<ErrorHandle>(errhp);
  if (!s || !err || !result || !rtype) return OCI_INVALID_HANDLE;
  return guardedCall(*s->env, *err, [&](ErrorRecords&) -> sword {
    // PL/SQL here returns no implicit results (DBMS_SQL.RETURN_RESULT):
    // there is never a next one.
    *result = nullptr;
    *rtype = 0;
    return OCI_NO_DATA;
  });
}
