// TOracleDataSet: master/detail links.
//
// Not built yet: SetMaster refuses a master, so a dataset is never a
// detail and has no details. These are the places where the link takes
// part in running the query, fetching, scrolling, inserting, closing and
// modifying; each answers for a dataset without a link.
#include "vorn/dataset/OracleDataSet.h"
#include "vorn/host/Exceptions.h"

namespace vorn {

void TOracleDataSet::SetMaster(TOracleDataSet* value) {
  if (value == master_) return;
  if (value != nullptr)
    throw Exception("Master/detail links are not supported by this dataset yet");
  master_ = nullptr;
}

bool TOracleDataSet::MasterHasUsableRecord() const {
  return master_ == nullptr;
}

int TOracleDataSet::MasterCurrentRecordId() const {
  return -1;
}

void TOracleDataSet::NotifyMaster() {}

void TOracleDataSet::BindMasterValues() {}

void TOracleDataSet::PostDetails() {}

void TOracleDataSet::ResetDetailRecordIds() {}

void TOracleDataSet::NotifyDetailsClosing() {}

void TOracleDataSet::UpdateDetails(TDataEvent /*event*/) {}

bool TOracleDataSet::NotifyingDetails() const {
  return false;
}

void TOracleDataSet::CheckMasterFieldValues() {}

void TOracleDataSet::CopyMasterFieldValues() {}

bool TOracleDataSet::MasterAllowsModification() const {
  return true;
}

void TOracleDataSet::NotifyDetailsOfInsert(bool /*before*/) {}

void TOracleDataSet::NotifyDetailsOfCancel(bool /*before*/) {}

void TOracleDataSet::DetachMasterDetail() {}

void TOracleDataSet::PassRecordIdToDetails() {}

}  // namespace vorn
