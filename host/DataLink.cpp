// TDataLink: a control's view of a data source and its row range in the
// dataset's window.
#include "vorn/host/DataLink.h"

#include <algorithm>

#include "vorn/host/DataSet.h"
#include "vorn/host/DataSource.h"
#include "vorn/host/DbConsts.h"

namespace vorn {

TDataLink::TDataLink() = default;

TDataLink::~TDataLink() {
  // Callbacks of a link being destroyed would reach a half-destroyed
  // control: the flags go first, so leaving the source changes nothing.
  active_ = false;
  editing_ = false;
  if (dataSource_ != nullptr) dataSource_->RemoveDataLink(this);
}

void TDataLink::SetDataSource(TDataSource* dataSource) {
  if (dataSource == dataSource_) return;
  if (dataSource_ != nullptr) dataSource_->RemoveDataLink(this);
  if (dataSource != nullptr) dataSource->AddDataLink(this);
}

TDataSet* TDataLink::DataSet() const {
  return dataSource_ != nullptr ? dataSource_->DataSet() : nullptr;
}

void TDataLink::SetReadOnly(bool readOnly) {
  if (readOnly == readOnly_) return;
  readOnly_ = readOnly;
  UpdateState();
}

void TDataLink::SetBufferCount(int count) {
  // A link shows at least one row (a grid shrunk to nothing still has an
  // active record).
  count = std::max(count, 1);
  if (count == bufferCount_) return;
  bufferCount_ = count;
  if (active_) {
    UpdateRange();
    DataSet()->UpdateBufferCount();
    UpdateRange();
  }
}

int TDataLink::ActiveRecord() const {
  if (!active_ || dataSource_->State() == dsSetKey) return 0;
  return DataSet()->activeRecord_ - firstRecord_;
}

void TDataLink::SetActiveRecord(int index) {
  if (!active_ || dataSource_->State() == dsSetKey) return;
  TDataSet* dataSet = DataSet();
  int target = index + firstRecord_;
  // Outside the window there is no record buffer to address.
  if (target < 0 || target >= std::max(dataSet->bufferCount_, 1)) {
    throw EListError(FormatDbMessage(SListIndexError, {index}));
  }
  dataSet->activeRecord_ = target;
}

int TDataLink::RecordCount() const {
  if (!active_) return 0;
  // Rows past the window's filled records would show the scratch buffer.
  return std::clamp(DataSet()->recordCount_ - firstRecord_, 0, bufferCount_);
}

bool TDataLink::Edit() {
  if (!readOnly_ && dataSource_ != nullptr) dataSource_->Edit();
  return editing_;
}

void TDataLink::UpdateRecord() {
  updating_ = true;
  try {
    UpdateData();
  } catch (...) {
    updating_ = false;
    throw;
  }
  updating_ = false;
}

int TDataLink::MoveBy(int distance) {
  TDataSet* dataSet = DataSet();
  return dataSet != nullptr ? dataSet->MoveBy(distance) : 0;
}

void TDataLink::UpdateState() {
  const TDataSetState state = dataSource_ != nullptr ? dataSource_->State() : dsInactive;
  SetActive(state != dsInactive && state != dsOpening);
  SetEditing(IsEditMode(state) && !readOnly_);
}

void TDataLink::SetActive(bool active) {
  if (active == active_) return;
  active_ = active;
  if (active) {
    UpdateRange();
  } else {
    firstRecord_ = 0;
  }
  ActiveChanged();
}

void TDataLink::SetEditing(bool editing) {
  if (editing == editing_) return;
  editing_ = editing;
  EditingChanged();
}

void TDataLink::UpdateRange() {
  TDataSet* dataSet = DataSet();
  if (dataSet == nullptr) return;
  int min = std::max(dataSet->activeRecord_ - bufferCount_ + 1, 0);
  int max = std::min(std::max(dataSet->bufferCount_ - bufferCount_, 0), dataSet->activeRecord_);
  firstRecord_ = std::clamp(firstRecord_, min, std::max(min, max));
}

void TDataLink::DataEvent(TDataEvent event, intptr_t info) {
  if (event == deUpdateState) {
    UpdateState();
    return;
  }
  if (event == deDisabledStateChange) {
    if (info != 0) {
      UpdateState();
    } else {
      SetActive(false);
    }
    return;
  }
  if (!active_) return;
  switch (event) {
    case deFieldChange:
    case deRecordChange:
      if (!updating_)
        RecordChanged(event == deFieldChange ? reinterpret_cast<TField*>(info) : nullptr);
      break;
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange: {
      int shift = 0;
      if (dataSource_->State() != dsSetKey) {
        // The window slid by Info rows; keep showing the same records, then
        // follow the active record when it left the link's rows.
        const int active = DataSet()->activeRecord_;
        const int first = firstRecord_ + static_cast<int>(info);
        const int last = first + bufferCount_ - 1;
        if (active > last) {
          shift = active - last;
        } else if (active < first) {
          shift = active - first;
        }
        firstRecord_ = first + shift;
      }
      if (event == deDataSetChange) {
        DataSetChanged();
      } else if (event == deDataSetScroll) {
        DataSetScrolled(shift);
      } else {
        LayoutChanged();
      }
      break;
    }
    case deUpdateRecord:
      UpdateRecord();
      break;
    case deCheckBrowseMode:
      CheckBrowseMode();
      break;
    case deFocusControl:
      FocusControl(reinterpret_cast<TFieldRef>(info));
      break;
    default:
      break;
  }
}

}  // namespace vorn
