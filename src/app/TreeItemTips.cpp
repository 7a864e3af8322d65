#include "TreeItemTips.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QToolTip>

namespace rxt4 {

bool TreeItemTips::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                             const QModelIndex& index) {
  if (event->type() != QEvent::ToolTip || !index.isValid()) return QStyledItemDelegate::helpEvent(event, view, option, index);
  QStyleOptionViewItem item = option;
  initStyleOption(&item, index);
  // The item's own rectangle, cut at the view's edge.
  item.rect = item.rect.intersected(view->viewport()->rect());
  const QRect textRect = view->style()->subElementRect(QStyle::SE_ItemViewItemText, &item, view);
  const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, &item, view) + 1;
  if (item.fontMetrics.horizontalAdvance(item.text) + 2 * margin > textRect.width()) {
    QToolTip::showText(event->globalPos(), item.text, view->viewport(), option.rect);
  } else {
    QToolTip::hideText();
  }
  return true;
}

}  // namespace rxt4
