// Error records and OCIErrorGet; see ErrorHandle.h.
#include "ErrorHandle.h"

#include <cstring>

#include "Attributes.h"
#include "CallGuard.h"
#include "Environment.h"
#include "value/OraError.h"

namespace vorn::server::oci {

void ErrorRecords::set(const OraError& error) {
  records_.clear();
  ErrorRecord r;
  r.code = error.code();
  r.text = error.message();
  if (r.text.empty() || r.text.back() != '\n') r.text += '\n';
  records_.push_back(std::move(r));
}

void ErrorRecords::set(int code) {
  set(OraError(code, oraMessage(code)));
}

sword ErrorHandle::getAttribute(void* value, ub4* size, ub4 attribute) {
  if (attribute == OCI_ATTR_ERROR_IS_RECOVERABLE) {
    // No error of an embedded engine goes away by retrying the call.
    return putAttribute<boolean>(value, size, 0);
  }
  if (attribute != OCI_ATTR_DML_ROW_OFFSET) raiseOra(24315);
  if (!value) raiseOra(21560, {"3"});
  std::memcpy(value, &dmlRowOffset, sizeof dmlRowOffset);
  if (size) *size = sizeof dmlRowOffset;
  return OCI_SUCCESS;
}

sword copyErrorRecord(const ErrorRecords& records, ub4 recordno, sb4* errcodep, OraText* bufp,
                      ub4 bufsiz) {
  if (recordno == 0 || recordno > records.records().size()) return OCI_NO_DATA;
  const ErrorRecord& r = records.records()[recordno - 1];
  if (errcodep) *errcodep = r.code;
  if (bufp && bufsiz > 0) {
    size_t n = std::min<size_t>(r.text.size(), bufsiz - 1);
    std::memcpy(bufp, r.text.data(), n);
    bufp[n] = 0;
  }
  return OCI_SUCCESS;
}

}  // namespace vorn::server::oci

using namespace vorn::server::oci;

extern "C" sword OCIErrorGet(void* hndlp, ub4 recordno, OraText* sqlstate, sb4* errcodep,
                             OraText* bufp, ub4 bufsiz, ub4 type) {
  if (sqlstate) sqlstate[0] = 0;
  if (type == OCI_HTYPE_ERROR) {
    ErrorHandle* err = handleOf<ErrorHandle>(hndlp);
    if (!err) return OCI_INVALID_HANDLE;
    EnvironmentLock lock(*err->env);
    return copyErrorRecord(err->errors, recordno, errcodep, bufp, bufsiz);
  }
  if (type == OCI_HTYPE_ENV) {
    Environment* env = handleOf<Environment>(hndlp);
    if (!env) return OCI_INVALID_HANDLE;
    EnvironmentLock lock(*env);
    return copyErrorRecord(env->errors, recordno, errcodep, bufp, bufsiz);
  }
  return OCI_INVALID_HANDLE;
}
