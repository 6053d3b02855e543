// TDataSource: state tracking and the dispatch of data events to links.
#include "vorn/host/DataSource.h"

#include <algorithm>

#include "vorn/host/DataLink.h"
#include "vorn/host/DataSet.h"
#include "vorn/host/DbConsts.h"

namespace vorn {

TDataSource::TDataSource(TComponent* owner) : TComponent(owner) {}

TDataSource::~TDataSource() {
  Destroying();
  SetDataSet(nullptr);
  while (!dataLinks_.empty())
    RemoveDataLink(dataLinks_.back());
}

void TDataSource::SetDataSet(TDataSet* dataSet) {
  if (dataSet == dataSet_) return;
  if (dataSet_ != nullptr) dataSet_->RemoveDataSource(this);
  if (dataSet != nullptr) dataSet->AddDataSource(this);
}

void TDataSource::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  UpdateState();
}

void TDataSource::Edit() {
  if (autoEdit_ && state_ == dsBrowse) dataSet_->Edit();
}

TDataLink* TDataSource::DataLinks(int index) const {
  if (index < 0 || index >= DataLinkCount()) {
    throw EListError(FormatDbMessage(SListIndexError, {index}));
  }
  return dataLinks_[static_cast<size_t>(index)];
}

void TDataSource::UpdateState() {
  SetState(enabled_ && dataSet_ != nullptr ? dataSet_->State() : dsInactive);
}

void TDataSource::SetState(TDataSetState state) {
  if (state == state_) return;
  TDataSetState prior = state_;
  state_ = state;
  NotifyDataLinks(deUpdateState, 0);
  if (ComponentState() & csDestroying) return;
  if (onStateChange_) onStateChange_(this);
  if (prior == dsInactive && onDataChange_) onDataChange_(this, nullptr);
}

void TDataSource::NotifyDataLinks(TDataEvent event, intptr_t info) {
  // A link's reaction may detach links (a control closing); those still
  // attached hear the event.
  std::vector<TDataLink*> links = dataLinks_;
  for (TDataLink* link : links) {
    if (std::find(dataLinks_.begin(), dataLinks_.end(), link) != dataLinks_.end()) {
      link->DataEvent(event, info);
    }
  }
}

void TDataSource::DataEvent(TDataEvent event, intptr_t info) {
  if (event == deUpdateState) {
    UpdateState();
    return;
  }
  if (state_ == dsInactive) return;
  NotifyDataLinks(event, info);
  switch (event) {
    case deFieldChange:
      if (onDataChange_) onDataChange_(this, reinterpret_cast<TField*>(info));
      break;
    case deRecordChange:
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange:
      if (onDataChange_) onDataChange_(this, nullptr);
      break;
    case deUpdateRecord:
      if (onUpdateData_) onUpdateData_(this);
      break;
    default:
      break;
  }
}

void TDataSource::AddDataLink(TDataLink* link) {
  dataLinks_.push_back(link);
  link->dataSource_ = this;
  if (dataSet_ != nullptr) dataSet_->UpdateBufferCount();
  link->UpdateState();
}

void TDataSource::RemoveDataLink(TDataLink* link) {
  link->dataSource_ = nullptr;
  dataLinks_.erase(std::remove(dataLinks_.begin(), dataLinks_.end(), link), dataLinks_.end());
  link->UpdateState();
  if (dataSet_ != nullptr) dataSet_->UpdateBufferCount();
}

}  // namespace vorn
