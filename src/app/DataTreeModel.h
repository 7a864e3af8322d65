#pragma once
// The tree of data sets as a Qt item model over the loader's DataFolderModel: an
// index carries the item number, so no object exists per item and a large archive
// appears at once. Every item carries its verdict mark (decoration) and word (tool tip)
// when a verdict source is set.

#include <QAbstractItemModel>
#include <QFont>
#include <QIcon>
#include <array>
#include <functional>

#include "rxt4/data/DataFolderModel.h"
#include "rxt4/judge/Verdict.h"

namespace rxt4 {

class DataTreeModel : public QAbstractItemModel {
  Q_OBJECT
 public:
  explicit DataTreeModel(const DataFolderModel& data, QObject* parent = nullptr);

  // Brackets a reload of the underlying model.
  void BeginReload() { beginResetModel(); }
  void EndReload() { endResetModel(); }

  // Item number of an index; 0 for an invalid index.
  static int ItemNumber(const QModelIndex& index);
  // font itself when its ten digits are of one width, so that "  7:" and " 12:" line
  // up (the figure spaces, U+2007, that pad the numbers are drawn as wide as a digit);
  // else the system's fixed-pitch font of the same size.
  static QFont WithTabularDigits(const QFont& font);
  // Where the items' verdicts come from (by item number); nothing: no marks.
  using VerdictSource = std::function<Verdict(int)>;
  void SetVerdictSource(VerdictSource source, int markPx);
  // The verdicts changed (another profile, another judgement): the marks are drawn again.
  void VerdictsChanged();
  // The display language changed: the kind roots' texts.
  void TextsChanged();
  // Index of an item number; invalid for 0 and unknown numbers.
  QModelIndex IndexOf(int number) const;
  // The first measurement of the set folder named setFolder, under the first kind (in
  // the tree's order) that has one; invalid when the tree has none.
  QModelIndex FirstMeasurementOf(const QString& setFolder) const;

  QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;

 private:
  void RootsChanged(const QList<int>& roles);
  const DataFolderModel& data_;
  VerdictSource verdicts_;
  std::array<QIcon, 4> marks_;  // by Verdict
};

}  // namespace rxt4
