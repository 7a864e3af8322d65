#pragma once
// How the tree draws its items: a measurement's number is padded to three places with
// blanks as wide as a digit (figure spaces, which many Japanese faces lack or draw
// wider), so that the numbers line up in any face whose digits share one width; and an
// item's tool tip is its verdict word, after its whole text when the tree's edge cuts it
// (elided with "…").

#include <QStyledItemDelegate>

namespace rxt4 {

class TreeItemDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                 const QModelIndex& index) override;
};

}  // namespace rxt4
