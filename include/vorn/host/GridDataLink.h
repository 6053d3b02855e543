// TGridDataLink: the link of a grid, which shows BufferCount rows of the
// dataset's window and one column per visible field.
//
// The columns are rebuilt, in Fields order, when the link becomes active
// and on every layout change; an inactive link has none. Each callback of
// the link is passed on as an event, so a grid of any toolkit can react
// without deriving: OnActiveChanged (rebuild or clear), OnDataSetChanged
// (repaint everything, row count may differ), OnDataSetScrolled(d) (the
// rows moved by d), OnRecordChanged(field or nullptr: repaint the active
// row), OnEditingChanged (the row indicator), OnLayoutChanged (columns
// rebuilt), OnUpdateData (write pending cell text), OnFocusControl.
//
// To paint, a grid saves ActiveRecord, sets it to each row below
// RecordCount, reads the columns' DisplayText, and restores it. Moving goes
// through MoveBy.
#pragma once

#include <functional>
#include <vector>

#include "vorn/host/DataLink.h"
#include "vorn/host/Object.h"

namespace vorn {

class TGridDataLink : public TDataLink {
  VORN_CLASS(TGridDataLink, TDataLink)
  using TScrollEvent = std::function<void(TObject* sender, int distance)>;
  using TFieldEvent = std::function<void(TObject* sender, TField* field)>;
  using TFocusEvent = std::function<void(TObject* sender, TFieldRef field)>;

  TGridDataLink() = default;

  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  // The field of column `index`; EListError outside the columns.
  TField* Columns(int index) const;

  const TNotifyEvent& OnActiveChanged() const { return onActiveChanged_; }
  void SetOnActiveChanged(TNotifyEvent handler) { onActiveChanged_ = std::move(handler); }
  const TNotifyEvent& OnDataSetChanged() const { return onDataSetChanged_; }
  void SetOnDataSetChanged(TNotifyEvent handler) { onDataSetChanged_ = std::move(handler); }
  const TScrollEvent& OnDataSetScrolled() const { return onDataSetScrolled_; }
  void SetOnDataSetScrolled(TScrollEvent handler) { onDataSetScrolled_ = std::move(handler); }
  const TFieldEvent& OnRecordChanged() const { return onRecordChanged_; }
  void SetOnRecordChanged(TFieldEvent handler) { onRecordChanged_ = std::move(handler); }
  const TNotifyEvent& OnEditingChanged() const { return onEditingChanged_; }
  void SetOnEditingChanged(TNotifyEvent handler) { onEditingChanged_ = std::move(handler); }
  const TNotifyEvent& OnLayoutChanged() const { return onLayoutChanged_; }
  void SetOnLayoutChanged(TNotifyEvent handler) { onLayoutChanged_ = std::move(handler); }
  const TNotifyEvent& OnUpdateData() const { return onUpdateData_; }
  void SetOnUpdateData(TNotifyEvent handler) { onUpdateData_ = std::move(handler); }
  const TFocusEvent& OnFocusControl() const { return onFocusControl_; }
  void SetOnFocusControl(TFocusEvent handler) { onFocusControl_ = std::move(handler); }

 protected:
  void ActiveChanged() override;
  void EditingChanged() override;
  void RecordChanged(TField* field) override;
  void DataSetChanged() override;
  void DataSetScrolled(int distance) override;
  void LayoutChanged() override;
  void UpdateData() override;
  void FocusControl(TFieldRef field) override;

 private:
  void BuildColumns();

  std::vector<TField*> columns_;
  TNotifyEvent onActiveChanged_;
  TNotifyEvent onDataSetChanged_;
  TScrollEvent onDataSetScrolled_;
  TFieldEvent onRecordChanged_;
  TNotifyEvent onEditingChanged_;
  TNotifyEvent onLayoutChanged_;
  TNotifyEvent onUpdateData_;
  TFocusEvent onFocusControl_;
};

}  // namespace vorn
