// TDataLink: a control's connection to a data source, and the window of
// records it shows.
//
// A link shows BufferCount records (default 1) of the dataset's window,
// starting at its own first offset: ActiveRecord is the dataset's active
// index relative to that offset, RecordCount the number of records the
// link can show now. Setting ActiveRecord (to paint row i) moves the
// dataset's active buffer directly: no events, no cursor movement; restore
// it afterwards. Changing BufferCount while active resizes the dataset's
// window for all its links.
//
// The framework calls the virtual callbacks: ActiveChanged (Active
// changed), EditingChanged, RecordChanged (a field, or the whole record
// with nullptr), DataSetChanged, DataSetScrolled(d) (the shown rows moved
// by d), LayoutChanged, UpdateData (write pending text into the fields),
// CheckBrowseMode and FocusControl. By default DataSetScrolled and
// LayoutChanged call DataSetChanged, which calls RecordChanged(nullptr).
// While UpdateRecord runs, field and record changes do not reach
// RecordChanged: the link is the one changing them.
#pragma once

#include "vorn/host/DataSetTypes.h"
#include "vorn/host/Persistent.h"

namespace vorn {

class TDataSource;

class TDataLink : public TPersistent {
  VORN_CLASS(TDataLink, TPersistent)
  TDataLink();
  ~TDataLink() override;
  TDataLink(const TDataLink&) = delete;
  TDataLink& operator=(const TDataLink&) = delete;

  TDataSource* DataSource() const { return dataSource_; }
  void SetDataSource(TDataSource* dataSource);
  TDataSet* DataSet() const;
  // The source's state is neither dsInactive nor dsOpening.
  bool Active() const { return active_; }
  // The source is in an edit mode and the link is not ReadOnly.
  bool Editing() const { return editing_; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly);
  int BufferCount() const { return bufferCount_; }
  void SetBufferCount(int count);
  int ActiveRecord() const;
  void SetActiveRecord(int index);
  int RecordCount() const;

  // Asks the source to Edit unless ReadOnly; answers Editing.
  bool Edit();
  // Calls UpdateData with the link marked as updating.
  void UpdateRecord();
  int MoveBy(int distance);

 protected:
  virtual void ActiveChanged() {}
  virtual void EditingChanged() {}
  virtual void RecordChanged(TField* field) { (void)field; }
  virtual void DataSetChanged() { RecordChanged(nullptr); }
  virtual void DataSetScrolled(int distance) {
    (void)distance;
    DataSetChanged();
  }
  virtual void LayoutChanged() { DataSetChanged(); }
  virtual void UpdateData() {}
  virtual void CheckBrowseMode() {}
  virtual void FocusControl(TFieldRef field) { (void)field; }

  // The link's first record in the dataset's window.
  int FirstRecord() const { return firstRecord_; }

 private:
  friend class TDataSet;
  friend class TDataSource;

  void DataEvent(TDataEvent event, intptr_t info);
  void UpdateState();
  void SetActive(bool active);
  void SetEditing(bool editing);
  // Keeps the first offset such that the active record is shown and the
  // link's rows lie inside the dataset's window.
  void UpdateRange();

  TDataSource* dataSource_ = nullptr;
  int firstRecord_ = 0;
  int bufferCount_ = 1;
  bool active_ = false;
  bool editing_ = false;
  bool readOnly_ = false;
  bool updating_ = false;
};

}  // namespace vorn
