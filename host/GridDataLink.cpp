// TGridDataLink: the link of a grid, its columns and its callbacks as
// events.
#include "vorn/host/GridDataLink.h"

#include "vorn/host/DataSet.h"
#include "vorn/host/DbConsts.h"
#include "vorn/host/Field.h"

namespace vorn {

TField* TGridDataLink::Columns(int index) const {
  if (index < 0 || index >= ColumnCount()) {
    throw EListError(FormatDbMessage(SListIndexError, {index}));
  }
  return columns_[static_cast<size_t>(index)];
}

void TGridDataLink::BuildColumns() {
  columns_.clear();
  if (!Active()) return;
  for (TField* field : DataSet()->Fields()) {
    if (field->Visible()) columns_.push_back(field);
  }
}

void TGridDataLink::ActiveChanged() {
  BuildColumns();
  if (onActiveChanged_) onActiveChanged_(this);
}

void TGridDataLink::EditingChanged() {
  if (onEditingChanged_) onEditingChanged_(this);
}

void TGridDataLink::RecordChanged(TField* field) {
  if (onRecordChanged_) onRecordChanged_(this, field);
}

void TGridDataLink::DataSetChanged() {
  if (onDataSetChanged_) onDataSetChanged_(this);
}

void TGridDataLink::DataSetScrolled(int distance) {
  if (onDataSetScrolled_) onDataSetScrolled_(this, distance);
}

void TGridDataLink::LayoutChanged() {
  BuildColumns();
  if (onLayoutChanged_) onLayoutChanged_(this);
}

void TGridDataLink::UpdateData() {
  if (onUpdateData_) onUpdateData_(this);
}

void TGridDataLink::FocusControl(TFieldRef field) {
  if (onFocusControl_) onFocusControl_(this, field);
}

}  // namespace vorn
