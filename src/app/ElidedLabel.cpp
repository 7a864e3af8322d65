#include "ElidedLabel.h"

#include <QPainter>
#include <QStyle>

namespace rxt4 {

ElidedLabel::ElidedLabel(Qt::TextElideMode mode, QWidget* parent) : QLabel(parent), mode_(mode) {
  // Ignored: the layout gives the label its width and never asks the text for more.
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void ElidedLabel::SetText(const QString& text) {
  setText(text);
  setToolTip(text.trimmed().isEmpty() ? QString() : text);
}

QString ElidedLabel::shownText() const {
  return fontMetrics().elidedText(text(), mode_, contentsRect().width() - 2 * margin());
}

void ElidedLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  drawFrame(&painter);
  const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
  painter.setClipRect(area);
  style()->drawItemText(&painter, area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, palette(), isEnabled(),
                        shownText(), foregroundRole());
}

}  // namespace rxt4
