// DataSetTableModel: a Qt table model over a dataset, through the grid's
// data link (GridRows.h): one column per visible field, titled with its
// display name and aligned as the field says; one row per record the
// dataset holds; cells show the fields' display texts, nulls nothing.
//
// The model tells its views what GridRows reports: a model reset when the
// dataset opens, closes or changes its layout; rows inserted or removed and
// every cell changed when the records change. A change noticed while a
// view reads a cell (a read that fetched rows) is passed on from the event
// loop, never in the middle of painting. With a dataset that fetches as it
// goes, a view scrolled to the end asks for more rows (canFetchMore and
// fetchMore); the model fetches them a screenful at a time.
//
// A failure while a cell is read (the connection lost during a fetch)
// shows the cell empty and goes to the application's exception display
// from the event loop, once for a burst of failing reads.
#pragma once

#include <QAbstractTableModel>

#include "GridRows.h"

namespace vorn {

class TDataSource;

class DataSetTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit DataSetTableModel(QObject* parent = nullptr);
  ~DataSetTableModel() override;

  void SetDataSource(TDataSource* source) { rows_.SetDataSource(source); }
  GridRows& Rows() { return rows_; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool canFetchMore(const QModelIndex& parent) const override;
  void fetchMore(const QModelIndex& parent) override;

 private:
  void Changed(GridRows::Change change);
  void Reset();
  // Brings the rows the views know up to the dataset's.
  void Sync();
  void QueueSync() const;
  void ReportReadFailure() const;

  // Reading a cell moves the dataset's window: logically a read.
  mutable GridRows rows_;
  mutable bool reading_ = false;
  mutable bool syncQueued_ = false;
  mutable bool failureQueued_ = false;
  int knownRows_ = 0;
  int knownColumns_ = 0;
};

}  // namespace vorn
