#include "VerdictMarks.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <algorithm>

namespace rxt4 {

QColor VerdictColor(Verdict verdict) {
  switch (verdict) {
    case Verdict::Pass: return QColor(0x1a, 0x7f, 0x37);
    case Verdict::Caution: return QColor(0xb3, 0x59, 0x00);
    case Verdict::Fail: return QColor(0xcf, 0x22, 0x2e);
    case Verdict::None: break;
  }
  return QColor(0x6e, 0x77, 0x81);
}

void PaintVerdictMark(QPainter& painter, const QRectF& area, Verdict verdict) {
  const qreal side = std::min(area.width(), area.height());
  const QRectF box(area.center().x() - side / 2, area.center().y() - side / 2, side, side);
  // Strokes thick enough to keep their shape at 10 px; drawn inside the box.
  const qreal pen = std::max<qreal>(1.5, side / 6);
  const QRectF in = box.adjusted(pen / 2, pen / 2, -pen / 2, -pen / 2);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(VerdictColor(verdict), pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  switch (verdict) {
    case Verdict::Pass:  // ○ a ring
      painter.drawEllipse(in);
      break;
    case Verdict::Caution: {  // △ a triangle standing on its base
      QPainterPath triangle;
      triangle.moveTo(in.center().x(), in.top());
      triangle.lineTo(in.right(), in.bottom());
      triangle.lineTo(in.left(), in.bottom());
      triangle.closeSubpath();
      painter.drawPath(triangle);
      break;
    }
    case Verdict::Fail: {  // × a cross, heavier: the one mark that must not be missed
      const QRectF x = in.adjusted(side / 12, side / 12, -side / 12, -side / 12);
      painter.setPen(QPen(VerdictColor(verdict), pen * 1.3, Qt::SolidLine, Qt::RoundCap));
      painter.drawLine(x.topLeft(), x.bottomRight());
      painter.drawLine(x.topRight(), x.bottomLeft());
      break;
    }
    case Verdict::None:  // – a short dash at mid height
      painter.drawLine(QPointF(in.left() + side / 6, in.center().y()), QPointF(in.right() - side / 6, in.center().y()));
      break;
  }
  painter.restore();
}

QIcon VerdictIcon(Verdict verdict, int px) {
  const qreal ratio = qGuiApp != nullptr ? qGuiApp->devicePixelRatio() : 1.0;
  QPixmap pixmap(QSize(px, px) * ratio);
  pixmap.setDevicePixelRatio(ratio);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  PaintVerdictMark(painter, QRectF(0, 0, px, px), verdict);
  painter.end();
  return QIcon(pixmap);
}

}  // namespace rxt4
