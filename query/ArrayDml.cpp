// Array DML: one call processes the rows of variables holding N elements,
// and a failing row is reported to OnArrayError, which may go on with the
// rows after it.
#include "vorn/query/OracleQuery.h"
#include "vorn/session/OracleError.h"

namespace vorn {

int TOracleQuery::ExecuteArray(int index, int count) {
  if (count == 0) return 0;
  if (beforeQuery_) beforeQuery_(this);
  afterQueryPending_ = true;
  const bool allElements = index == -1 && count == -1;
  // Elements start .. end - 1; end 0 stands for all of them.
  int end = allElements ? 0 : index + count;
  int start = allElements ? 0 : index;
  int processed = 0;
  bool continueExecution = true;
  try {
    while (continueExecution) {
      try {
        CoreExecute(false, end, start);
        processed += RowsProcessed();
        break;
      } catch (const EOracleError& error) {
        if (end == 0) end = arrayCount_;
        // The rows before the failed one are done; the failed one is
        // skipped.
        const int done = RowsProcessed();
        start += done + 1;
        processed += done;
        if (onArrayError_) {
          onArrayError_(this, start - 1, error.ErrorCode(), error.Message(), continueExecution);
        } else if (allElements) {
          throw;
        } else {
          continueExecution = false;
        }
        if (start >= end) continueExecution = false;
      }
    }
  } catch (...) {
    FireAfterQuery();
    throw;
  }
  if (eof_) FireAfterQuery();
  return processed;
}

}  // namespace vorn
