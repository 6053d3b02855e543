// Array DML executed row by row; see StatementHandle::runRowByRow.
#include "ErrorHandle.h"
#include "StatementHandle.h"
#include "engine/Statement.h"
#include "value/OraError.h"

namespace vorn::server::oci {

bool StatementHandle::runRowByRow(ErrorHandle& err, ub4 iters, ub4 rowoff, ub4 mode) {
  bool batchErrors = (mode & OCI_BATCH_ERRORS) != 0;
  bool truncated = false;
  ub8 total = 0;
  for (ub4 row = rowoff; row < iters; ++row) {
    Statement::ArrayProgress progress;
    ub8 count = 0;
    try {
      // Each row is a statement of its own: a failing one leaves nothing
      // behind, and the rows before it stay done.
      count = static_cast<ub8>(engine_->executeArray(
          row, row + 1, [&](size_t i) { bindInputs(static_cast<ub4>(i)); },
          [&](size_t i) {
            if (engine_->lastRowid()) lastRowid_ = engine_->lastRowid();
            truncated |= writeReturning(static_cast<ub4>(i), iters);
          },
          progress));
    } catch (const OraError& e) {
      if (!batchErrors) {
        err.dmlRowOffset = row;
        rowCount_ = static_cast<ub4>(total);
        throw;
      }
      ErrorRecords one;
      one.set(e);
      err.batchErrors.push_back({row, one.records().front()});
    }
    rowCounts_.push_back(count);
    total += count;
  }
  dmlErrorCount_ = static_cast<ub4>(err.batchErrors.size());
  rowCount_ = static_cast<ub4>(total);
  err.dmlRowOffset = 0;
  return truncated;
}

}  // namespace vorn::server::oci
