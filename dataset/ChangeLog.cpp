// TOracleDataSet: the change log of cached updates, as fetching and field
// access read it.
//
// CachedUpdates can be set, and opening then requires a rowid column; but
// no record can be modified yet (RecordUpdater.cpp), so no change is ever
// logged and the log is always empty. These are the places where the log
// takes part in fetching (merged inserts, hidden deletes, replaced
// updates), in re-running the query and in the records that dsOldValue and
// the applying of the log address; each answers for an empty log.
#include "vorn/dataset/OracleDataSet.h"

namespace vorn {

bool TOracleDataSet::MergeLoggedInsert(TRecordBuffer /*record*/) {
  return false;
}

bool TOracleDataSet::LoggedInsertsRemain() const {
  return false;
}

bool TOracleDataSet::SkipLoggedRow(TRecordBuffer /*record*/) {
  return false;
}

void TOracleDataSet::MarkChangeLogUnplaced() {}

void TOracleDataSet::ClearChangeLog() {}

bool TOracleDataSet::ApplyingChangeLog() const {
  return false;
}

TRecordBuffer TOracleDataSet::ApplyingRecord(TDataSetState /*state*/) const {
  return nullptr;
}

TRecordBuffer TOracleDataSet::LoggedOldRecord(TRecordBuffer /*record*/) const {
  return nullptr;
}

}  // namespace vorn
