// The data-aware grid; see QtDataGrid.h.
#include "QtDataGrid.h"

#include <QHeaderView>

#include "DataSetTableModel.h"

namespace vorn {

QtDataGrid::QtDataGrid(QWidget* parent) : QTableView(parent), model_(new DataSetTableModel(this)) {
  setModel(model_);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setWordWrap(false);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  horizontalHeader()->setStretchLastSection(false);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  FitWindow();
}

QtDataGrid::~QtDataGrid() {
  // The link leaves its data source before the view goes.
  model_->SetDataSource(nullptr);
}

void QtDataGrid::SetDataSource(TDataSource* source) {
  model_->SetDataSource(source);
  FitWindow();
}

int QtDataGrid::GridColumnCount() const {
  return model_->columnCount();
}

void QtDataGrid::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  FitWindow();
}

void QtDataGrid::FitWindow() {
  const int rowHeight = std::max(1, verticalHeader()->defaultSectionSize());
  model_->Rows().SetVisibleRows(viewport()->height() / rowHeight + 2);
}

}  // namespace vorn
