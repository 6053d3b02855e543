// TOracleDataSet: master/detail links.
//
// A detail runs its query with the values of its master's current record
// bound to the variables named after DetailFields, and remembers the number
// of the master record it ran for (masterRecordId_, -1 for none). The
// master reacts to its own data events (a data-set change or a scroll, and
// the first state change after it opened or ran its query again): each
// active detail whose remembered number is no longer the master's current
// one is refreshed. Record numbers start again at 1 whenever a query runs,
// so a master that ran its query again first forgets every detail's number
// (ResetDetailRecordIds).
//
// What must hold:
//   - a detail of a master without a usable record (closed, empty,
//     inserting, in QBE mode) executes nothing and shows no records;
//   - a pending detail edit is posted before its master scrolls, refreshes
//     or closes, down the whole tree of details;
//   - the master's link fields are read-only exactly while some detail
//     holds records or inserts one, and otherwise as the application made
//     them (their ReadOnly when the master opened);
//   - no chain of masters comes back to a dataset.
#include <algorithm>

#include "DataSetRecords.h"
#include "MasterDetailConfig.h"
#include "RecordList.h"
#include "vorn/client/OciConstants.h"
#include "vorn/dataset/OracleDataSet.h"
#include "vorn/host/DbConsts.h"
#include "vorn/host/Exceptions.h"
#include "vorn/host/Field.h"
#include "vorn/host/TextUtils.h"
#include "vorn/query/OracleQuery.h"

namespace vorn {

namespace {

// The names of "A;B", trimmed. An empty name keeps its place, so that the
// names after it still pair with their partners.
std::vector<std::string> SplitLinkNames(const std::string& names) {
  std::vector<std::string> result;
  if (Trim(names).empty()) return result;
  size_t start = 0;
  while (start <= names.size()) {
    size_t end = names.find(';', start);
    if (end == std::string::npos) end = names.size();
    result.push_back(Trim(std::string_view(names).substr(start, end - start)));
    start = end + 1;
  }
  return result;
}

// Restores a flag on every path out of a scope.
class FlagFrame {
 public:
  explicit FlagFrame(bool& flag) : flag_(flag), saved_(flag) { flag_ = true; }
  ~FlagFrame() { flag_ = saved_; }
  FlagFrame(const FlagFrame&) = delete;
  FlagFrame& operator=(const FlagFrame&) = delete;

 private:
  bool& flag_;
  bool saved_;
};

}  // namespace

// --- The link ---

void TOracleDataSet::SetMaster(TOracleDataSet* value) {
  if (value == master_) return;
  for (const TOracleDataSet* link = value; link != nullptr; link = link->master_) {
    if (link == this) throw Exception("Circular master/detail dependency not allowed");
  }
  Close();
  if (master_ != nullptr) {
    auto& siblings = master_->details_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
  master_ = value;
  if (value != nullptr) value->details_.push_back(this);
  if (DesigningAlone() && (value == nullptr || (value->ComponentState() & csDesigning))) {
    TMasterDetailConfig(*this).Run();
  }
}

void TOracleDataSet::DetachMasterDetail() {
  if (master_ != nullptr) {
    auto& siblings = master_->details_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    master_->ProtectLinkFields();
    master_ = nullptr;
  }
  // The details lose their master: they close, since their variables would
  // go on holding the values of a record that no longer exists.
  const std::vector<TOracleDataSet*> details = details_;
  details_.clear();
  for (TOracleDataSet* detail : details) {
    detail->master_ = nullptr;
    try {
      detail->Close();
    } catch (const std::exception&) {
      // The detail is closed as far as closing got; the master goes on
      // being destroyed.
    }
  }
}

std::vector<std::pair<std::string, std::string>> TOracleDataSet::LinkPairs() const {
  const std::vector<std::string> masterNames = SplitLinkNames(masterFields_);
  const std::vector<std::string> detailNames = SplitLinkNames(detailFields_);
  std::vector<std::pair<std::string, std::string>> pairs;
  const size_t count = std::min(masterNames.size(), detailNames.size());
  for (size_t i = 0; i < count; ++i) {
    if (!masterNames[i].empty() && !detailNames[i].empty())
      pairs.emplace_back(masterNames[i], detailNames[i]);
  }
  return pairs;
}

// --- The master's current record ---

bool TOracleDataSet::HasUsableRecord() const {
  if (!Active() || records_ == nullptr || IsEmpty() || qbeMode_) return false;
  if (State() == dsInsert) return false;
  return const_cast<TOracleDataSet*>(this)->UpdateStatus() != usInserted;
}

int TOracleDataSet::CurrentRecordId() const {
  if (State() != dsBrowse && State() != dsEdit) return -1;
  if (records_ == nullptr || IsEmpty() || ActiveBuffer() == nullptr) return -1;
  return static_cast<int>(HeaderOf(ActiveBuffer()).RecordId);
}

bool TOracleDataSet::MasterHasUsableRecord() const {
  return master_ == nullptr || master_->HasUsableRecord();
}

int TOracleDataSet::MasterCurrentRecordId() const {
  return master_ != nullptr ? master_->CurrentRecordId() : -1;
}

void TOracleDataSet::BindMasterValues() {
  if (master_ == nullptr) return;
  for (const auto& [masterName, detailName] : LinkPairs()) {
    const TField* masterField = master_->FieldByName(masterName);
    const TField* detailField = FindField(detailName);
    Variant value = masterField->Value();
    if (detailField != nullptr && !masterField->IsNull()) {
      const int fieldNo = detailField->FieldNo();
      if (fieldNo > 0 && fieldNo < static_cast<int>(fieldInfo_.size())) {
        const int column = fieldInfo_[static_cast<size_t>(fieldNo)].ColumnIndex;
        // CHAR values are blank-padded: a value compared with one must be too.
        if (fetchQuery_->FieldOracleType(column) == client::SQLT_AFC) {
          std::string text = masterField->AsString();
          const auto size = static_cast<size_t>(std::max(fetchQuery_->FieldSize(column), 0));
          if (text.size() < size) text.append(size - text.size(), ' ');
          value = Variant(text);
        }
      }
    }
    InternalQuery().SetVariable(detailField != nullptr ? detailField->FieldName() : detailName,
                                value);
  }
}

bool TOracleDataSet::BelongsToMaster(TRecordBuffer record) {
  if (master_ == nullptr || !master_->Active()) return true;
  const std::vector<std::pair<std::string, std::string>> pairs = LinkPairs();
  TRecordBuffer saved = fetchBuffer_;
  fetchBuffer_ = record;
  const TDataSetState previous = SetTempState(dsFilter);
  bool belongs = true;
  try {
    for (const auto& [masterName, detailName] : pairs) {
      const Variant detailValue = FieldByName(detailName)->Value();
      const Variant masterValue = master_->FieldByName(masterName)->Value();
      const bool detailNull = detailValue.IsNull() || detailValue.IsEmpty();
      const bool masterNull = masterValue.IsNull() || masterValue.IsEmpty();
      if (detailNull || masterNull) {
        belongs = detailNull && masterNull;
      } else {
        belongs = VarCompareValue(detailValue, masterValue) == vrEqual;
      }
      if (!belongs) break;
    }
  } catch (...) {
    RestoreState(previous);
    fetchBuffer_ = saved;
    throw;
  }
  RestoreState(previous);
  fetchBuffer_ = saved;
  return belongs;
}

// --- Following the master ---

bool TOracleDataSet::NotifyingDetails() const {
  return notifyingDetails_;
}

void TOracleDataSet::UpdateDetails(TDataEvent event) {
  if (details_.empty()) return;
  const bool follow = event == deDataSetChange || event == deDataSetScroll ||
                      (event == deUpdateState && detailRefreshPending_);
  if (!follow || ControlsDisabled()) return;
  detailRefreshPending_ = false;
  FlagFrame notifying(notifyingDetails_);
  const bool usable = HasUsableRecord();
  const int recordId = CurrentRecordId();
  // A detail may leave the list while another one follows.
  const std::vector<TOracleDataSet*> details = details_;
  for (TOracleDataSet* detail : details) {
    if (std::find(details_.begin(), details_.end(), detail) == details_.end()) continue;
    if (detail->Active() && !detail->qbeMode_) {
      if (usable && recordId == detail->masterRecordId_) continue;
      detail->FollowMaster();
    } else if (detail->fetchQuery_ != nullptr) {
      detail->fetchQuery_->MarkEof();
    }
  }
}

void TOracleDataSet::FollowMaster() {
  Refresh();
}

void TOracleDataSet::ResetDetailRecordIds() {
  for (TOracleDataSet* detail : details_)
    detail->masterRecordId_ = -1;
  detailRefreshPending_ = true;
}

void TOracleDataSet::PassRecordIdToDetails() {
  // The record just inserted has no details yet: the details, emptied when
  // the insert began, need not run their query for it.
  const int recordId =
      ActiveBuffer() != nullptr ? static_cast<int>(HeaderOf(ActiveBuffer()).RecordId) : -1;
  for (TOracleDataSet* detail : details_)
    detail->masterRecordId_ = recordId;
}

void TOracleDataSet::PostDetails() {
  for (TOracleDataSet* detail : details_) {
    if (detail->Active() && !detail->qbeMode_ &&
        (detail->State() == dsEdit || detail->State() == dsInsert)) {
      detail->Post();
    }
    detail->PostDetails();
  }
}

void TOracleDataSet::NotifyDetailsClosing() {
  if (details_.empty()) return;
  ProtectLinkFields(false);
  // The master is inactive by now: each detail follows it into emptiness.
  const std::vector<TOracleDataSet*> details = details_;
  for (TOracleDataSet* detail : details) {
    if (detail->Active() && !detail->qbeMode_) detail->FollowMaster();
  }
}

void TOracleDataSet::NotifyMaster() {
  if (master_ != nullptr) master_->ProtectLinkFields();
}

// --- The master's link fields ---

void TOracleDataSet::ProtectLinkFields(bool protect) {
  if (details_.empty()) return;
  // The state every link field should end in, decided before any field
  // changes, so that a field that stays read-only never flickers.
  std::vector<std::pair<TField*, bool>> targets;
  auto target = [&](TField* field) -> bool* {
    for (auto& [known, readOnly] : targets) {
      if (known == field) return &readOnly;
    }
    const int fieldNo = field->FieldNo();
    if (fieldNo <= 0 || fieldNo >= static_cast<int>(fieldInfo_.size())) return nullptr;
    targets.emplace_back(field, fieldInfo_[static_cast<size_t>(fieldNo)].ReadOnly);
    return &targets.back().second;
  };
  for (const TOracleDataSet* detail : details_) {
    for (const std::string& name : SplitLinkNames(detail->masterFields_)) {
      if (TField* field = FindField(name)) target(field);
    }
  }
  if (protect && Active()) {
    for (const TOracleDataSet* detail : details_) {
      const bool holdsRecords = detail->records_ != nullptr && detail->records_->Count() > 0;
      if (!holdsRecords && detail->State() != dsInsert) continue;
      for (const std::string& name : SplitLinkNames(detail->masterFields_)) {
        TField* field = FindField(name);
        if (field == nullptr) continue;
        if (bool* readOnly = target(field)) *readOnly = true;
      }
    }
  }
  for (auto& [field, readOnly] : targets)
    field->SetReadOnly(readOnly);
}

// --- New detail records ---

void TOracleDataSet::CheckMasterFieldValues() {
  if (master_ == nullptr) return;
  for (const auto& [masterName, detailName] : LinkPairs()) {
    TField* field = master_->FieldByName(masterName);
    const bool blank =
        field->IsNull() || (field->DataType() == ftString && Trim(field->AsString()).empty());
    if (blank) {
      field->FocusControl();
      DatabaseErrorFmt(SFieldRequired, {field->DisplayName()});
    }
  }
}

void TOracleDataSet::CopyMasterFieldValues() {
  if (master_ == nullptr) return;
  for (const auto& [masterName, detailName] : LinkPairs()) {
    // A detail that does not show its link column leaves it to the
    // server (a default or a trigger).
    if (TField* field = FindField(detailName)) {
      field->SetValue(master_->FieldByName(masterName)->Value());
    }
  }
}

bool TOracleDataSet::MasterAllowsModification() const {
  if (master_ == nullptr) return true;
  return master_->Active() && master_->records_ != nullptr && !master_->IsEmpty() &&
         !master_->qbeMode_;
}

void TOracleDataSet::NotifyDetailsOfInsert(bool before) {
  // A new master record needs its link fields typed in.
  if (before) {
    ProtectLinkFields(false);
  } else if (master_ != nullptr) {
    master_->ProtectLinkFields();
  }
}

void TOracleDataSet::NotifyDetailsOfCancel(bool before) {
  if (before) return;
  if (master_ != nullptr) master_->ProtectLinkFields();
  ProtectLinkFields();
}

}  // namespace vorn
