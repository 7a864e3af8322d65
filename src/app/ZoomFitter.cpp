#include "ZoomFitter.h"

#include <QAction>
#include <QActionGroup>
#include <QEvent>
#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QScreen>
#include <QWindow>
#include <algorithm>

#include "ScreenSide.h"
#include "ScreenView.h"
#include "Retranslate.h"

namespace rxt4 {

ZoomFitter::ZoomFitter(QMainWindow& window, ScreenSide& side, const QLayout& screenColumn, const QLayout& keyColumn)
    : QObject(&window), window_(window), side_(side), screenColumn_(screenColumn), keyColumn_(keyColumn) {
  setObjectName(QStringLiteral("zoomFitter"));
  // Shown: from then on the window follows its screen.
  window_.installEventFilter(this);
}

void ZoomFitter::AddActions(QMenu& menu) {
  auto* group = new QActionGroup(&menu);
  const StringId texts[] = {StringId::MenuZoom1, StringId::MenuZoom2, StringId::MenuZoom3};
  for (int z = 1; z <= ScreenView::kMaxZoom; ++z) {
    QAction* a = menu.addAction(QString(), this, [this, z] { SetZoom(z); });
    BindText(a, texts[z - 1]);
    a->setObjectName(QStringLiteral("zoom%1").arg(z));
    a->setCheckable(true);
    a->setChecked(z == 1);
    group->addAction(a);
    actions_[z - 1] = a;
  }
  connect(&menu, &QMenu::aboutToShow, this, [this] { OfferZoomsThatFit(AvailableArea()); });
}

int ZoomFitter::zoom() const { return side_.view().zoom(); }

void ZoomFitter::SetZoom(int zoom) {
  // What the user added to the window's least size stays added.
  const QSize enlarged = (window_.size() - window_.minimumSize()).expandedTo(QSize(0, 0));
  side_.SetZoom(zoom);
  if (actions_[this->zoom() - 1] != nullptr) actions_[this->zoom() - 1]->setChecked(true);
  // Laid out at once rather than by the event loop, so that the window's size (and
  // what WindowSizeAt says) follows the enlargement as soon as it is set.
  for (QWidget* w : {window_.centralWidget(), static_cast<QWidget*>(&window_)}) {
    w->layout()->invalidate();
    w->layout()->activate();
  }
  // The enlargement the user added gives way first where the screen is too small.
  QSize wanted = window_.minimumSize() + enlarged;
  if (const QScreen* s = window_.screen(); s != nullptr && window_.isVisible())
    wanted = wanted.boundedTo(s->availableGeometry().size() - (window_.frameGeometry().size() - window_.size()))
                 .expandedTo(window_.minimumSize());
  window_.resize(wanted);
  KeepInside();
}

QSize ZoomFitter::WindowSizeAt(int zoom) const {
  // Only the screen area changes with the enlargement. It widens the window by its own
  // growth; it heightens it only where the screen side outgrows the key column.
  const ScreenView& view = side_.view();
  const int steps = zoom - view.zoom();
  const QSize area = view.sizeHint() / view.zoom();
  const int keysHeight = keyColumn_.sizeHint().height();
  const int sideHeight = screenColumn_.sizeHint().height();
  const int rowNow = std::max(keysHeight, sideHeight);
  const int rowThen = std::max(keysHeight, sideHeight + steps * area.height());
  const QSize frame = window_.frameGeometry().size() - window_.size();
  return window_.sizeHint() + QSize(steps * area.width(), rowThen - rowNow) + frame;
}

bool ZoomFitter::ZoomFits(int zoom, const QSize& available) const {
  const QSize needed = WindowSizeAt(zoom);
  return needed.width() <= available.width() && needed.height() <= available.height();
}

void ZoomFitter::OfferZoomsThatFit(const QSize& available) {
  for (int z = 2; z <= ScreenView::kMaxZoom; ++z)
    if (actions_[z - 1] != nullptr) actions_[z - 1]->setEnabled(ZoomFits(z, available));
}

void ZoomFitter::FitZoom(const QSize& available) {
  int fitting = zoom();
  while (fitting > 1 && !ZoomFits(fitting, available)) --fitting;
  if (fitting != zoom()) SetZoom(fitting);
  OfferZoomsThatFit(available);
}

QSize ZoomFitter::AvailableArea() const {
  const QScreen* s = window_.screen();
  return s ? s->availableGeometry().size() : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

void ZoomFitter::OnScreenChanged(QScreen* screen) {
  if (watchedScreen_) disconnect(watchedScreen_, nullptr, this, nullptr);
  watchedScreen_ = screen;
  if (screen == nullptr) return;
  connect(screen, &QScreen::availableGeometryChanged, this, [this](const QRect& area) { FitZoom(area.size()); });
  FitZoom(screen->availableGeometry().size());
}

bool ZoomFitter::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &window_ && event->type() == QEvent::Show) {
    if (QWindow* handle = window_.windowHandle()) {
      connect(handle, &QWindow::screenChanged, this, &ZoomFitter::OnScreenChanged, Qt::UniqueConnection);
      if (watchedScreen_ != handle->screen()) OnScreenChanged(handle->screen());
    }
  }
  return false;
}

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
