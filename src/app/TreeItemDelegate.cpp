#include "TreeItemDelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>
#include <QHelpEvent>
#include <QToolTip>

namespace rxt4 {
namespace {

constexpr QChar kFigureSpace(0x2007);

qsizetype LeadingFigureSpaces(const QString& text) {
  qsizetype n = 0;
  while (n < text.size() && text[n] == kFigureSpace) ++n;
  return n;
}

}  // namespace

void TreeItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QStyleOptionViewItem item = option;
  initStyleOption(&item, index);
  const qsizetype pad = LeadingFigureSpaces(item.text);
  if (pad == 0) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  // The row (selection, focus) without its text, then the text after blanks of digit width.
  const QString text = item.text.mid(pad);
  item.text.clear();
  const QWidget* view = item.widget;
  QStyle* style = view != nullptr ? view->style() : QApplication::style();
  style->drawControl(QStyle::CE_ItemViewItem, &item, painter, view);
  item.text = text;
  const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, &item, view) + 1;
  QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &item, view).adjusted(margin, 0, -margin, 0);
  area.setLeft(area.left() + qRound(static_cast<qreal>(pad) * item.fontMetrics.horizontalAdvance(QLatin1Char('0'))));
  const bool selected = item.state.testFlag(QStyle::State_Selected);
  const QPalette::ColorGroup group = item.state.testFlag(QStyle::State_Enabled)
                                         ? (item.state.testFlag(QStyle::State_Active) ? QPalette::Normal : QPalette::Inactive)
                                         : QPalette::Disabled;
  painter->save();
  painter->setFont(item.font);
  painter->setPen(item.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
  painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                    item.fontMetrics.elidedText(text, item.textElideMode, area.width()));
  painter->restore();
}

bool TreeItemDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                             const QModelIndex& index) {
  if (event->type() != QEvent::ToolTip || !index.isValid()) return QStyledItemDelegate::helpEvent(event, view, option, index);
  QStyleOptionViewItem item = option;
  initStyleOption(&item, index);
  // The item's own rectangle, cut at the view's edge.
  item.rect = item.rect.intersected(view->viewport()->rect());
  const QRect textRect = view->style()->subElementRect(QStyle::SE_ItemViewItemText, &item, view);
  const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, &item, view) + 1;
  // The item's verdict word, after the whole text when the edge cuts it.
  QString tip = index.data(Qt::ToolTipRole).toString();
  if (item.fontMetrics.horizontalAdvance(item.text) + 2 * margin > textRect.width())
    tip = tip.isEmpty() ? item.text : item.text + QLatin1Char('\n') + tip;
  if (!tip.isEmpty()) QToolTip::showText(event->globalPos(), tip, view->viewport(), option.rect);
  else QToolTip::hideText();
  return true;
}

}  // namespace rxt4
