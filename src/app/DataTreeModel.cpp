#include "DataTreeModel.h"

namespace rxt4 {

DataTreeModel::DataTreeModel(const DataFolderModel& data, QObject* parent) : QAbstractItemModel(parent), data_(data) {}

int DataTreeModel::ItemNumber(const QModelIndex& index) {
  return index.isValid() ? static_cast<int>(index.internalId()) : 0;
}

QModelIndex DataTreeModel::IndexOf(int number) const {
  if (number <= 0 || number > data_.itemCount()) return {};
  return createIndex(data_.RowInParent(number), 0, static_cast<quintptr>(number));
}

QModelIndex DataTreeModel::index(int row, int column, const QModelIndex& parent) const {
  int parentNumber = ItemNumber(parent);
  if (column != 0 || row < 0 || row >= data_.ChildCount(parentNumber)) return {};
  return createIndex(row, 0, static_cast<quintptr>(data_.ChildAt(parentNumber, row)));
}

QModelIndex DataTreeModel::parent(const QModelIndex& child) const {
  int p = data_.Parent(ItemNumber(child));
  return p == 0 ? QModelIndex() : IndexOf(p);
}

int DataTreeModel::rowCount(const QModelIndex& parent) const {
  if (parent.column() > 0) return 0;
  return data_.ChildCount(ItemNumber(parent));
}

int DataTreeModel::columnCount(const QModelIndex&) const { return 1; }

bool DataTreeModel::hasChildren(const QModelIndex& parent) const { return rowCount(parent) > 0; }

QVariant DataTreeModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || role != Qt::DisplayRole) return {};
  return QString::fromStdString(data_.Label(ItemNumber(index)));
}

}  // namespace rxt4
