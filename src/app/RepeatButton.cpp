#include "RepeatButton.h"

#include <QMouseEvent>
#include <QTimerEvent>

namespace rxt4 {

CRepeatButton::CRepeatButton(QWidget* parent) : QPushButton(parent) {}

void CRepeatButton::StartHolding() {
  if (holding_) return;
  holding_ = true;
  heldTicks_ = 0;
  tickTimer_.start(kHeldTickMs, this);
}

void CRepeatButton::StopHolding() {
  holding_ = false;
  heldTicks_ = 0;
  tickTimer_.stop();
}

void CRepeatButton::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) StartHolding();
  QPushButton::mousePressEvent(event);
}

void CRepeatButton::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) StopHolding();
  QPushButton::mouseReleaseEvent(event);
}

void CRepeatButton::timerEvent(QTimerEvent* event) {
  if (event->timerId() == tickTimer_.timerId()) {
    Tick();
    return;
  }
  QPushButton::timerEvent(event);
}

}  // namespace rxt4
