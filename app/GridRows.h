// GridRows: the rows and columns of a data-aware grid, read from a dataset
// through a TDataSource and a TGridDataLink, for grids that ask for any
// cell at any time (a Qt item view, the console's table).
//
// The link's window holds BufferCount records (SetVisibleRows: the rows a
// grid shows at once, plus one). A cell outside the window moves the
// dataset so that the window covers the cell's row: forwards, the row ends
// up near the top of the window, backwards at its top, so a grid painting
// its visible rows in order moves the dataset at most once. Reading a cell
// sets the link's ActiveRecord to the row, reads the field's DisplayText
// (empty for null) and restores it. The dataset's current record is
// therefore wherever the last read left it; Vornix's grid only shows rows.
//
// Rows are the records the dataset holds (its RecordCount). A dataset that
// fetches as it goes (QueryAllRecords off) gets more rows with FetchMore,
// as a view asks when it is scrolled to the end; CanFetchMore is false once
// the query had no more rows.
//
// Columns are the link's: one per visible field in field order, rebuilt
// when the dataset opens and on every layout change.
//
// OnChange reports what grids must redraw: Reset when the columns may have
// changed (the dataset opened, closed, or changed its layout), Rows when
// the records may have (count included). Moves made to read a cell report
// nothing unless they fetched rows, in which case Rows is reported after
// the read; a view must not relayout itself in the middle of painting, so
// it defers its reaction (the Qt model queues it).
#pragma once

#include <functional>
#include <string>

#include "vorn/host/DataSetTypes.h"
#include "vorn/host/GridDataLink.h"

namespace vorn {

class TDataSource;
class TField;

class GridRows {
 public:
  enum class Change { Reset, Rows };
  using ChangeEvent = std::function<void(Change change)>;

  explicit GridRows(TDataSource* source = nullptr);
  ~GridRows();
  GridRows(const GridRows&) = delete;
  GridRows& operator=(const GridRows&) = delete;

  TDataSource* DataSource() const { return link_.DataSource(); }
  void SetDataSource(TDataSource* source);
  // The link's BufferCount: at least 1.
  void SetVisibleRows(int rows);
  int VisibleRows() const { return link_.BufferCount(); }

  int ColumnCount() const { return link_.Active() ? link_.ColumnCount() : 0; }
  TField* Column(int column) const;
  std::string ColumnTitle(int column) const;
  TAlignment ColumnAlignment(int column) const;

  int RowCount() const;
  bool CanFetchMore() const;
  // Fetches up to `count` more records; returns how many came.
  int FetchMore(int count);

  // Empty for a cell outside the rows and columns.
  std::string CellText(int row, int column);
  bool CellIsNull(int row, int column);

  const ChangeEvent& OnChange() const { return onChange_; }
  void SetOnChange(ChangeEvent handler) { onChange_ = std::move(handler); }

 private:
  // Moves the window over `row`; false when it cannot.
  bool ShowRow(int row);
  // The row of the window's first record.
  int WindowTop() const;
  // Reads `read(field)` of the cell with the link's active record on it.
  template <typename Read>
  auto ReadCell(int row, int column, Read read) -> decltype(read(nullptr));
  void Notify(Change change);

  TGridDataLink link_;
  // Set while a read moves the dataset: its scroll events are ours.
  bool moving_ = false;
  bool endReached_ = false;
  ChangeEvent onChange_;
};

}  // namespace vorn
