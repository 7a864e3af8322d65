#include "ScreenView.h"

#include <QImage>
#include <algorithm>
#include <QPainter>

#include "rxt4/screens/Surface.h"

namespace rxt4 {

ScreenView::ScreenView(const Surface& surface, QWidget* parent) : QWidget(parent), surface_(surface) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  SetZoom(1);
}

void ScreenView::SetZoom(int zoom) {
  zoom_ = std::clamp(zoom, 1, kMaxZoom);
  setFixedSize(sizeHint());
  update();
}

void ScreenView::HideBlankPanel() {
  blankPanel_ = false;
  update();
}

QSize ScreenView::sizeHint() const { return QSize(surface_.width() * zoom_, surface_.height() * zoom_); }

void ScreenView::paintEvent(QPaintEvent*) {
  RgbImageView view = surface_.View();
  QImage image(view.pixels, view.width, view.height, static_cast<qsizetype>(view.stride), QImage::Format_RGB888);
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  // Whole-number scaling with smoothing off keeps every pixel a sharp square.
  painter.drawImage(QRect(0, 0, view.width * zoom_, view.height * zoom_), image);
  if (blankPanel_) painter.fillRect(QRect(zoom_, zoom_, (view.width - 2) * zoom_, (view.height - 2) * zoom_), Qt::white);
}

}  // namespace rxt4
