// TOracleDataSet: writing records back to the database.
//
// Record modification (generated statements, locking modes, refreshes,
// OnApplyRecord, message translation) is not built yet: the dataset is
// read-only. CanModify already answers as a modifiable dataset will, so
// that controls offer editing where it will be possible, but every
// operation that would change a record is refused before it changes
// anything: Edit (InternalEdit), Insert and Append (DoBeforeInsert, before
// the window is prepared), Delete (InternalDelete), and the posting
// operations, which cannot be reached without an edit state. The refusal
// is a database error, so OnEditError and OnDeleteError see it.
#include "DataSetRecords.h"
#include "RecordList.h"
#include "vorn/dataset/OracleDataSet.h"
#include "vorn/host/DbConsts.h"

namespace vorn {

void TOracleDataSet::RefuseModification() const {
  DatabaseError("Record modification is not supported by this dataset yet", this);
}

void TOracleDataSet::InternalEdit() {
  RefuseModification();
}

void TOracleDataSet::InternalPost() {
  RefuseModification();
}

void TOracleDataSet::InternalAddRecord(TRecordBuffer /*buffer*/, bool /*append*/) {
  RefuseModification();
}

void TOracleDataSet::InternalDelete() {
  RefuseModification();
}

bool TOracleDataSet::GetCanModify() const {
  if (qbeMode_) return true;
  if (!Active()) return false;
  // A record is found again by its rowid, or the application writes it.
  if (!hasRowId_ && !onApplyRecord_) return false;
  if (readOnly_) return false;
  return MasterAllowsModification();
}

}  // namespace vorn
