#include "ZoomFitter.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace rxt4 {

QPoint ZoomFitter::PlaceInside(const QRect& frame, const QRect& area) {
  const int x = std::max(area.left(), std::min(frame.left(), area.right() + 1 - frame.width()));
  const int y = std::max(area.top(), std::min(frame.top(), area.bottom() + 1 - frame.height()));
  return QPoint(x, y);
}

void ZoomFitter::KeepInside() const {
  const QScreen* screen = window_.screen();
  if (screen == nullptr || !window_.isVisible()) return;
  // The frame as it is after the resize: the window's new size with the frame's margins.
  const QRect frame = window_.frameGeometry();
  const QSize margins = frame.size() - window_.geometry().size();
  const QRect resized(frame.topLeft(), window_.size() + margins);
  const QPoint place = PlaceInside(resized, screen->availableGeometry());
  if (place != frame.topLeft()) window_.move(place);
}

}  // namespace rxt4
