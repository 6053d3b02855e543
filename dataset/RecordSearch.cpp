// TOracleDataSet: searching the records and counting them.
//
// RecordCount is the number of visible records. Searching (Locate,
// Lookup) and counting on the server (CountAllRecords) are not built yet:
// they raise rather than answer "not found" or a count of the rows
// fetched so far, which would be wrong answers.
#include "RecordList.h"
#include "vorn/dataset/OracleDataSet.h"
#include "vorn/host/DbConsts.h"
#include "vorn/host/Exceptions.h"

namespace vorn {

int TOracleDataSet::GetRecordCount() {
  return records_ != nullptr ? records_->VisibleCount() : 0;
}

void TOracleDataSet::SetCountAllRecords(bool value) {
  if (value == countAllRecords_) return;
  if (value) throw Exception("CountAllRecords is not supported by this dataset yet");
  countAllRecords_ = false;
}

void TOracleDataSet::InvalidateRecordCount() {}

bool TOracleDataSet::Locate(const std::string& /*keyFields*/, const Variant& /*keyValues*/,
                            TLocateOptions /*options*/) {
  DatabaseError("Locate is not supported by this dataset yet", this);
}

Variant TOracleDataSet::Lookup(const std::string& /*keyFields*/, const Variant& /*keyValues*/,
                               const std::string& /*resultFields*/) {
  DatabaseError("Lookup is not supported by this dataset yet", this);
}

}  // namespace vorn
