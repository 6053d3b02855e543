// The Qt table model over a dataset; see DataSetTableModel.h.
#include "DataSetTableModel.h"

#include <algorithm>
#include <exception>

#include "vorn/host/Application.h"

namespace vorn {
namespace {

// Rows fetched per request of a view at the end of the rows.
constexpr int kMinimumFetch = 50;

Qt::Alignment AlignmentOf(TAlignment alignment) {
  switch (alignment) {
    case taRightJustify:
      return Qt::AlignRight | Qt::AlignVCenter;
    case taCenter:
      return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
      return Qt::AlignLeft | Qt::AlignVCenter;
  }
}

QString ToQt(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

DataSetTableModel::DataSetTableModel(QObject* parent) : QAbstractTableModel(parent) {
  rows_.SetOnChange([this](GridRows::Change change) { Changed(change); });
}

DataSetTableModel::~DataSetTableModel() {
  rows_.SetOnChange(nullptr);
}

void DataSetTableModel::Changed(GridRows::Change change) {
  if (reading_) {
    // A read fetched rows: tell the views once the painting is over.
    QueueSync();
  } else if (change == GridRows::Change::Reset) {
    Reset();
  } else {
    Sync();
  }
}

void DataSetTableModel::Reset() {
  beginResetModel();
  knownRows_ = rows_.RowCount();
  knownColumns_ = rows_.ColumnCount();
  endResetModel();
}

void DataSetTableModel::Sync() {
  if (rows_.ColumnCount() != knownColumns_) {
    Reset();
    return;
  }
  const int rows = rows_.RowCount();
  if (rows > knownRows_) {
    beginInsertRows(QModelIndex(), knownRows_, rows - 1);
    knownRows_ = rows;
    endInsertRows();
  } else if (rows < knownRows_) {
    beginRemoveRows(QModelIndex(), rows, knownRows_ - 1);
    knownRows_ = rows;
    endRemoveRows();
  }
  if (knownRows_ > 0 && knownColumns_ > 0) {
    emit dataChanged(index(0, 0), index(knownRows_ - 1, knownColumns_ - 1));
  }
}

void DataSetTableModel::QueueSync() const {
  if (syncQueued_) return;
  syncQueued_ = true;
  auto* self = const_cast<DataSetTableModel*>(this);
  QMetaObject::invokeMethod(
      self,
      [self] {
        self->syncQueued_ = false;
        self->Sync();
      },
      Qt::QueuedConnection);
}

void DataSetTableModel::ReportReadFailure() const {
  const std::exception_ptr failure = std::current_exception();
  if (failureQueued_) return;
  failureQueued_ = true;
  auto* self = const_cast<DataSetTableModel*>(this);
  QMetaObject::invokeMethod(
      self,
      [self, failure] {
        Application().HandleException(failure, nullptr);
        self->failureQueued_ = false;
      },
      Qt::QueuedConnection);
}

int DataSetTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : knownRows_;
}

int DataSetTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : knownColumns_;
}

QVariant DataSetTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= knownRows_ || index.column() >= knownColumns_) {
    return QVariant();
  }
  if (role == Qt::TextAlignmentRole) {
    return QVariant::fromValue(AlignmentOf(rows_.ColumnAlignment(index.column())));
  }
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return QVariant();
  reading_ = true;
  QVariant value;
  try {
    if (!rows_.CellIsNull(index.row(), index.column())) {
      value = ToQt(rows_.CellText(index.row(), index.column()));
    }
  } catch (...) {
    ReportReadFailure();
  }
  reading_ = false;
  return value;
}

QVariant DataSetTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && section >= 0 && section < knownColumns_) {
    if (role == Qt::DisplayRole) return ToQt(rows_.ColumnTitle(section));
    if (role == Qt::TextAlignmentRole) {
      return QVariant::fromValue(AlignmentOf(rows_.ColumnAlignment(section)));
    }
  }
  if (orientation == Qt::Vertical && role == Qt::DisplayRole) return section + 1;
  return QVariant();
}

Qt::ItemFlags DataSetTableModel::flags(const QModelIndex& index) const {
  // Browsing only: the data source's AutoEdit is off.
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

bool DataSetTableModel::canFetchMore(const QModelIndex& parent) const {
  return !parent.isValid() && rows_.CanFetchMore();
}

void DataSetTableModel::fetchMore(const QModelIndex& parent) {
  if (parent.isValid()) return;
  try {
    rows_.FetchMore(std::max(kMinimumFetch, rows_.VisibleRows()));
  } catch (...) {
    ReportReadFailure();
  }
  Sync();
}

}  // namespace vorn
