#pragma once
// Keeps the main window wholly on its screen when the enlargement changes its size:
// the window is moved, no further than needed, into the screen's available area (the
// screen less the panels and docks of the desktop).

#include <QPoint>
#include <QRect>

class QWidget;

namespace rxt4 {

class ZoomFitter {
 public:
  explicit ZoomFitter(QWidget& window) : window_(window) {}

  // Moves the window (frame included) inside its screen's available area.
  void KeepInside() const;

  // Where a frame goes to lie inside area: moved no further than needed; its top-left
  // corner inside first when it is larger than the area.
  static QPoint PlaceInside(const QRect& frame, const QRect& area);

 private:
  QWidget& window_;
};

}  // namespace rxt4
