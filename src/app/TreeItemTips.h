#pragma once
// The tree's items that its edge cuts (elided with "…") show their whole text as a
// tool tip; items shown whole show none.

#include <QStyledItemDelegate>

namespace rxt4 {

class TreeItemTips : public QStyledItemDelegate {
  Q_OBJECT
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                 const QModelIndex& index) override;
};

}  // namespace rxt4
