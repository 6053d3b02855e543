// Fetching from a scrollable query; see StatementHandle::fetchScrolled.
#include "DefineHandle.h"
#include "ErrorHandle.h"
#include "ExternalData.h"
#include "LobLocator.h"
#include "ParamDescriptor.h"
#include "StatementHandle.h"
#include "UserSession.h"
#include "engine/Session.h"
#include "engine/Statement.h"
#include "value/OraError.h"

namespace vorn::server::oci {

bool StatementHandle::cacheNextRow() {
  if (scrollComplete_) return false;
  if (!engine_->fetch()) {
    scrollComplete_ = true;
    return false;
  }
  CachedRow row;
  size_t columns = params_.size();
  row.values.reserve(columns);
  row.lobs.reserve(columns);
  for (size_t i = 0; i < columns; ++i) {
    row.values.push_back(engine_->value(static_cast<int>(i)));
    row.lobs.push_back(engine_->lobRef(static_cast<int>(i)));
  }
  scrollRows_.push_back(std::move(row));
  rowCount_ = static_cast<ub4>(scrollRows_.size());
  return true;
}

sword StatementHandle::fetchScrolled(ub4 rows, ub2 orientation, sb4 offset, ErrorRecords& records) {
  if (!prepared) raiseOra(24337);
  if (!engine_ || !isQuery() || !described_ || !executed_) raiseOra(24338);
  if (rows == 0) {
    // As for any cursor: no rows asked for ends it.
    engine_->close();
    executed_ = false;
    endOfFetch_ = true;
    scrollRows_.clear();
    rowsFetched_ = 0;
    return OCI_SUCCESS;
  }
  checkDefines();
  // The row the delivery starts at (1-based), as a wide signed number so
  // that a relative offset before the first row stays negative.
  int64_t first = 0;
  switch (orientation) {
    case OCI_DEFAULT:
    case OCI_FETCH_NEXT:
      first = static_cast<int64_t>(scrollPosition_) + 1;
      break;
    case OCI_FETCH_PRIOR:
      first = static_cast<int64_t>(scrollPosition_) - 1;
      break;
    case OCI_FETCH_FIRST:
      first = 1;
      break;
    case OCI_FETCH_CURRENT:
      first = scrollPosition_;
      break;
    case OCI_FETCH_ABSOLUTE:
      first = offset;
      break;
    case OCI_FETCH_RELATIVE:
      first = static_cast<int64_t>(scrollPosition_) + offset;
      break;
    case OCI_FETCH_LAST:
      while (cacheNextRow()) {
      }
      first = static_cast<int64_t>(scrollRows_.size());
      break;
    default:
      raiseOra(24391);
  }
  SessionValues& values = session_->engine->values();
  int warning = 0, error = 0;
  ub4 delivered = 0;
  if (first >= 1) {
    for (; delivered < rows; ++delivered) {
      auto row = static_cast<size_t>(first) + delivered;  // 1-based
      while (scrollRows_.size() < row && cacheNextRow()) {
      }
      if (scrollRows_.size() < row) break;
      const CachedRow& cached = scrollRows_[row - 1];
      for (auto& d : defines_) {
        if (!d) continue;
        size_t column = d->position - 1;
        ValueView v = ValueView::of(cached.values[column]);
        DefineHandle::Outcome outcome = d->write(v, delivered, values, scratch_);
        if (isLocatorType(d->dty)) d->pointLocator(delivered, v, cached.lobs[column]);
        if (outcome.error && !error) error = outcome.code;
        if (!outcome.error && outcome.code && !warning) warning = outcome.code;
      }
    }
  }
  rowsFetched_ = delivered;
  if (delivered > 0) {
    scrollPosition_ = static_cast<ub4>(first) + delivered - 1;
  } else if (first < 1) {
    scrollPosition_ = 0;  // before the first row
  } else {
    // Past the last row: the position stays after it.
    scrollPosition_ = static_cast<ub4>(scrollRows_.size()) + 1;
  }
  if (error) raiseOra(error);
  return fetchOutcome(delivered < rows, warning, records);
}

}  // namespace vorn::server::oci
