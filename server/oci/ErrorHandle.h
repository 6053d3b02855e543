// The error handle: where a call leaves the diagnostic records that
// OCIErrorGet reads. Each call that takes an error handle starts by clearing
// it; a failure (OCI_ERROR) or a warning (OCI_SUCCESS_WITH_INFO, OCI_NO_DATA)
// leaves one record: the ORA number and the text as Oracle prints it, ending
// with a newline. The environment keeps the same kind of record list for
// calls that have no error handle (OCIHandleAlloc, OCIEnvInit ...).
#pragma once

#include <string>
#include <vector>

#include "Handle.h"

namespace vorn::server {
class OraError;
}

namespace vorn::server::oci {

struct ErrorRecord {
  sb4 code = 0;
  std::string text;  // "ORA-nnnnn: ...\n"
};

class ErrorRecords {
 public:
  void clear() { records_.clear(); }
  void set(const OraError& error);
  void set(int code);  // the catalogue text of `code`
  bool empty() const { return records_.empty(); }
  const std::vector<ErrorRecord>& records() const { return records_; }

 private:
  std::vector<ErrorRecord> records_;
};

class ErrorHandle : public Handle {
 public:
  static constexpr ub4 kType = OCI_HTYPE_ERROR;
  explicit ErrorHandle(Environment* env) : Handle(kType, env) {}

  ErrorRecords errors;
  // The array row a failing array DML execution stopped at.
  ub4 dmlRowOffset = 0;
  // The rows that failed in an array DML execution with OCI_BATCH_ERRORS,
  // in row order; OCIParamGet hands them out one by one, each copied into
  // an error handle of the caller (its record and OCI_ATTR_DML_ROW_OFFSET).
  struct BatchError {
    ub4 row;
    ErrorRecord record;
  };
  std::vector<BatchError> batchErrors;

  sword getAttribute(void* value, ub4* size, ub4 attribute);
};

// Copies record `recordno` (1-based) of `records` into the caller's buffer,
// never writing more than `bufsiz` bytes (the text is cut and always ends
// with NUL when bufsiz > 0).
sword copyErrorRecord(const ErrorRecords& records, ub4 recordno, sb4* errcodep, OraText* bufp,
                      ub4 bufsiz);

}  // namespace vorn::server::oci
