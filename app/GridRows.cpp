// A grid's rows through a data link; see GridRows.h.
#include "GridRows.h"

#include <algorithm>

#include "vorn/dataset/OracleDataSet.h"
#include "vorn/host/DataSet.h"
#include "vorn/host/DataSource.h"
#include "vorn/host/Field.h"

namespace vorn {

GridRows::GridRows(TDataSource* source) {
  link_.SetOnActiveChanged([this](TObject*) {
    endReached_ = false;
    Notify(Change::Reset);
  });
  link_.SetOnLayoutChanged([this](TObject*) { Notify(Change::Reset); });
  link_.SetOnDataSetChanged([this](TObject*) {
    if (moving_) return;
    endReached_ = false;
    Notify(Change::Rows);
  });
  link_.SetOnDataSetScrolled([this](TObject*, int) {
    if (!moving_) Notify(Change::Rows);
  });
  link_.SetOnRecordChanged([this](TObject*, TField*) {
    if (!moving_) Notify(Change::Rows);
  });
  SetDataSource(source);
}

GridRows::~GridRows() {
  onChange_ = nullptr;
  link_.SetDataSource(nullptr);
}

void GridRows::SetDataSource(TDataSource* source) {
  link_.SetDataSource(source);
}

void GridRows::SetVisibleRows(int rows) {
  link_.SetBufferCount(std::max(1, rows));
}

void GridRows::Notify(Change change) {
  if (onChange_) onChange_(change);
}

TField* GridRows::Column(int column) const {
  if (column < 0 || column >= ColumnCount()) return nullptr;
  return link_.Columns(column);
}

std::string GridRows::ColumnTitle(int column) const {
  TField* field = Column(column);
  return field != nullptr ? field->DisplayName() : std::string();
}

TAlignment GridRows::ColumnAlignment(int column) const {
  TField* field = Column(column);
  return field != nullptr ? field->Alignment() : taLeftJustify;
}

int GridRows::RowCount() const {
  if (!link_.Active()) return 0;
  return std::max(0, link_.DataSet()->RecordCount());
}

bool GridRows::CanFetchMore() const {
  if (!link_.Active() || endReached_) return false;
  auto* dataSet = dynamic_cast<TOracleDataSet*>(link_.DataSet());
  return dataSet != nullptr && !dataSet->QueryAllRecords();
}

int GridRows::FetchMore(int count) {
  if (!CanFetchMore()) return 0;
  auto* dataSet = static_cast<TOracleDataSet*>(link_.DataSet());
  int fetched = 0;
  while (fetched < count) {
    if (!dataSet->FetchRecord()) {
      endReached_ = true;
      break;
    }
    ++fetched;
  }
  return fetched;
}

int GridRows::WindowTop() const {
  return link_.DataSet()->RecNo() - 1 - link_.ActiveRecord();
}

bool GridRows::ShowRow(int row) {
  const int rows = RowCount();
  if (row < 0 || row >= rows) return false;
  int top = WindowTop();
  if (row >= top && row < top + link_.RecordCount()) return true;
  const int current = link_.DataSet()->RecNo() - 1;
  const int target = row < top ? row : std::min(row + link_.BufferCount() - 1, rows - 1);
  moving_ = true;
  try {
    link_.MoveBy(target - current);
  } catch (...) {
    moving_ = false;
    throw;
  }
  moving_ = false;
  // Moving forwards may have fetched rows (QueryAllRecords off).
  if (RowCount() != rows) Notify(Change::Rows);
  top = WindowTop();
  return row >= top && row < top + link_.RecordCount();
}

template <typename Read>
auto GridRows::ReadCell(int row, int column, Read read) -> decltype(read(nullptr)) {
  TField* field = Column(column);
  if (field == nullptr || !ShowRow(row)) return decltype(read(nullptr))();
  const int active = link_.ActiveRecord();
  link_.SetActiveRecord(row - WindowTop());
  struct Restore {
    TGridDataLink& link;
    int active;
    ~Restore() { link.SetActiveRecord(active); }
  } restore{link_, active};
  return read(field);
}

std::string GridRows::CellText(int row, int column) {
  return ReadCell(row, column, [](TField* field) {
    return field != nullptr ? field->DisplayText() : std::string();
  });
}

bool GridRows::CellIsNull(int row, int column) {
  return ReadCell(row, column, [](TField* field) { return field != nullptr && field->IsNull(); });
}

}  // namespace vorn
