#pragma once
// The enlargement of the screen area (表示 → 等倍, 2倍, 3倍) and the window around it.
// The window's size follows the enlargement alone (what the user added by enlarging
// the window stays added); the menu offers only the enlargements whose window fits the
// screen's available area (the screen less the desktop's panels and docks); a window
// moved to a smaller screen, or on a screen that shrank, falls back to the largest
// enlargement that fits; and after a change the window is moved, no further than
// needed, to lie wholly on its screen.

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>

class QAction;
class QLayout;
class QMainWindow;
class QMenu;
class QScreen;

namespace rxt4 {

class ScreenSide;

class ZoomFitter : public QObject {
  Q_OBJECT
 public:
  // screenColumn: the screen side with what lies under it; keyColumn: the keys beside
  // it, whose height the enlarged side may outgrow.
  ZoomFitter(QMainWindow& window, ScreenSide& side, const QLayout& screenColumn, const QLayout& keyColumn);

  // Adds the enlargements to menu (the 表示 menu), checkable, 等倍 checked.
  void AddActions(QMenu& menu);

  // Sets the enlargement (1 to 3) and sizes the window for it.
  void SetZoom(int zoom);
  int zoom() const;
  // The size of the window, with its frame, at an enlargement.
  QSize WindowSizeAt(int zoom) const;
  // Offers in the menu only the enlargements whose window fits the available area.
  void OfferZoomsThatFit(const QSize& available);
  // Falls back to the largest enlargement whose window fits the available area.
  void FitZoom(const QSize& available);

  // Where a frame goes to lie inside area: moved no further than needed; its top-left
  // corner inside first when it is larger than the area.
  static QPoint PlaceInside(const QRect& frame, const QRect& area);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Moves the window (frame included) inside its screen's available area.
  void KeepInside() const;
  bool ZoomFits(int zoom, const QSize& available) const;
  QSize AvailableArea() const;
  void OnScreenChanged(QScreen* screen);

  QMainWindow& window_;
  ScreenSide& side_;
  const QLayout& screenColumn_;
  const QLayout& keyColumn_;
  QAction* actions_[3] = {};
  QPointer<QScreen> watchedScreen_;
};

}  // namespace rxt4
