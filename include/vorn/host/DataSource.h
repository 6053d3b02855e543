// TDataSource: the component between one dataset and the data links of the
// controls that show it.
//
// Assigning DataSet attaches the source (the dataset resizes its window for
// the source's links) and detaches it from the previous one. State is the
// dataset's state while Enabled and attached, else dsInactive; temporary
// states are never seen. When it changes, every link hears deUpdateState,
// then OnStateChange fires, then OnDataChange(nullptr) when the source was
// inactive before. Other events reach the links (in the order they were
// attached) only while State is not dsInactive, followed by OnDataChange
// (field changes: the field; record, dataset, scroll and layout changes:
// nullptr) or OnUpdateData (deUpdateRecord).
//
// Edit puts the dataset into dsEdit only when AutoEdit is on and the
// dataset is browsing.
#pragma once

#include <vector>

#include "vorn/host/Component.h"
#include "vorn/host/DataSetTypes.h"

namespace vorn {

class TDataLink;

class TDataSource : public TComponent {
  VORN_CLASS(TDataSource, TComponent)
  explicit TDataSource(TComponent* owner);
  ~TDataSource() override;

  TDataSet* DataSet() const { return dataSet_; }
  void SetDataSet(TDataSet* dataSet);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool AutoEdit() const { return autoEdit_; }
  void SetAutoEdit(bool autoEdit) { autoEdit_ = autoEdit; }
  TDataSetState State() const { return state_; }
  void Edit();

  int DataLinkCount() const { return static_cast<int>(dataLinks_.size()); }
  TDataLink* DataLinks(int index) const;

  const TNotifyEvent& OnStateChange() const { return onStateChange_; }
  void SetOnStateChange(TNotifyEvent handler) { onStateChange_ = std::move(handler); }
  const TDataChangeEvent& OnDataChange() const { return onDataChange_; }
  void SetOnDataChange(TDataChangeEvent handler) { onDataChange_ = std::move(handler); }
  const TNotifyEvent& OnUpdateData() const { return onUpdateData_; }
  void SetOnUpdateData(TNotifyEvent handler) { onUpdateData_ = std::move(handler); }

 private:
  friend class TDataSet;
  friend class TDataLink;

  void DataEvent(TDataEvent event, intptr_t info);
  void UpdateState();
  void SetState(TDataSetState state);
  void NotifyDataLinks(TDataEvent event, intptr_t info);
  void AddDataLink(TDataLink* link);
  void RemoveDataLink(TDataLink* link);

  TDataSet* dataSet_ = nullptr;
  std::vector<TDataLink*> dataLinks_;
  bool enabled_ = true;
  bool autoEdit_ = true;
  TDataSetState state_ = dsInactive;
  TNotifyEvent onStateChange_;
  TDataChangeEvent onDataChange_;
  TNotifyEvent onUpdateData_;
};

}  // namespace vorn
