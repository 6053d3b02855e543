// TOracleDataSet: the change log of cached updates, as fetching and field
// access read it.
//
// CachedUpdates can be set, and opening then requires a rowid column;
// posts in cached mode change the record list, but the log that would
// record them is not kept yet, so it is always empty and never applied. These are the places where the log
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

bool TOracleDataSet::UpdatesPending() const {
  return false;
}

bool TOracleDataSet::ApplyingChangeLog() const {
  return false;
}

TRecordBuffer TOracleDataSet::ApplyingRecord(TDataSetState /*state*/) const {
  return nullptr;
}

TRecordBuffer TOracleDataSet::LoggedOldRecord(TRecordBuffer /*record*/) const {
  return nullptr;
}

char TOracleDataSet::ApplyingKind() const {
  return ' ';
}

bool TOracleDataSet::ApplyingPlaced() const {
  return true;
}

bool TOracleDataSet::HasChangeLogItem(TRecordBuffer /*record*/) const {
  return false;
}

bool TOracleDataSet::LoggedBlobModified(TField* /*field*/) const {
  return false;
}

// Posted inserts, updates and deletes are logged only in cached mode, by
// the change log still to come; nothing is logged until then.
void TOracleDataSet::LogChange(TRecordBuffer /*oldRecord*/, TRecordBuffer /*newRecord*/,
                               int /*position*/, uint32_t /*recordId*/, char /*kind*/) {}

}  // namespace vorn
