// QtDataGrid: Vornix's data-aware grid (dbGrid): a read-only table view over
// DataSetTableModel, the result grid the statement processor sizes.
//
// Rows are selected whole; nothing is edited (the data source's AutoEdit is
// off). The link's window follows the view's height: every resize makes it
// the number of rows that fit, plus one, so painting a screenful moves the
// dataset at most once. Column widths are the view's own until the
// statement processor sets them (SetGridColumnWidth); the header neither
// stretches nor resizes them by itself.
#pragma once

#include <QTableView>

#include "ResultGrid.h"

namespace vorn {

class DataSetTableModel;
class TDataSource;

class QtDataGrid : public QTableView, public ResultGrid {
  Q_OBJECT

 public:
  explicit QtDataGrid(QWidget* parent = nullptr);
  ~QtDataGrid() override;

  void SetDataSource(TDataSource* source);
  DataSetTableModel* DataModel() const { return model_; }

  int GridWidth() const override { return width(); }
  int GridColumnCount() const override;
  void SetGridColumnWidth(int column, int width) override { setColumnWidth(column, width); }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FitWindow();

  DataSetTableModel* model_;
};

}  // namespace vorn
