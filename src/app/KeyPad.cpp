#include "KeyPad.h"

#include <QApplication>
#include <QCursor>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimerEvent>
#include <QVBoxLayout>

#include "IconButtons.h"
#include "RepeatButton.h"

namespace rxt4 {
namespace {

const QSize kArrowSize(48, 40);
const QSize kTallSize(40, 82);  // ← and →, side by side beside ↑ over ↓

}  // namespace

KeyPad::KeyPad(QWidget* keysArea) : QFrame(keysArea), keysArea_(keysArea) {
  setObjectName(QStringLiteral("keyPad"));
  setFrameShape(QFrame::Box);
  setFrameShadow(QFrame::Sunken);
  const QSize toolSize(kToolButtonPx, kToolButtonPx);
  // シフト top right, ↑ ↓ on the left, ← → tall on the right, 決定 below.
  shift_ = MakeIconButton(new QPushButton(this), "shift", StringId::ButtonShift, StringId::TipShift, toolSize);
  shift_->setCheckable(true);
  up_ = MakeIconButton(new QPushButton(this), "up", StringId::TipUp, StringId::TipUp, kArrowSize);
  down_ = MakeIconButton(new QPushButton(this), "down", StringId::TipDown, StringId::TipDown, kArrowSize);
  left_ = new CRepeatButton(this);
  MakeIconButton(left_, "left", StringId::TipLeft, StringId::TipLeft, kTallSize);
  right_ = new CRepeatButton(this);
  MakeIconButton(right_, "right", StringId::TipRight, StringId::TipRight, kTallSize);
  enter_ = MakeIconButton(new QPushButton(this), "enter", StringId::ButtonEnter, StringId::TipEnter, toolSize);
  const std::pair<QPushButton*, const char*> names[] = {{shift_, "shiftKey"}, {up_, "upKey"},       {down_, "downKey"},
                                                        {left_, "leftKey"},   {right_, "rightKey"}, {enter_, "enterKey"}};
  for (const auto& [button, name] : names) button->setObjectName(QLatin1String(name));

  auto* grid = new QGridLayout(this);
  auto* upDown = GroupFrame(this);
  auto* upDownLayout = new QVBoxLayout(upDown);
  upDownLayout->addWidget(up_);
  upDownLayout->addWidget(down_);
  auto* leftRight = GroupFrame(this);
  auto* leftRightLayout = new QHBoxLayout(leftRight);
  leftRightLayout->setSpacing(0);
  leftRightLayout->addWidget(left_);
  leftRightLayout->addWidget(right_);
  grid->addWidget(shift_, 0, 1, Qt::AlignRight);
  grid->addWidget(upDown, 1, 0);
  grid->addWidget(leftRight, 1, 1);
  grid->addWidget(enter_, 2, 1, Qt::AlignRight);

  connect(up_, &QPushButton::clicked, this, [this] { Press(InstrumentKey::Up, true); });
  connect(down_, &QPushButton::clicked, this, [this] { Press(InstrumentKey::Down, true); });
  connect(left_, &QPushButton::clicked, this, [this] { Press(InstrumentKey::Left, true); });
  connect(right_, &QPushButton::clicked, this, [this] { Press(InstrumentKey::Right, true); });
  connect(enter_, &QPushButton::clicked, this, [this] { Press(InstrumentKey::Enter, true); });
  connect(shift_, &QPushButton::toggled, this, &KeyPad::ShowShiftImages);
  connect(shift_, &QPushButton::clicked, this, &KeyPad::shiftClicked);

  keyButtons_ = {{Qt::Key_Left, left_}, {Qt::Key_Right, right_}, {Qt::Key_Up, up_},
                 {Qt::Key_Down, down_}, {Qt::Key_Return, enter_}, {Qt::Key_Enter, enter_}};
  qApp->installEventFilter(this);
  // The keys go elsewhere (the menu bar in keyboard mode, another window): whatever
  // they hold is let go, as its release will not come back here.
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (now == nullptr || !keysArea_->isAncestorOf(now)) ReleaseAll();
  });
  pollTimer_.start(kPollTimerMs, this);
}

KeyPad::~KeyPad() {
  // Going before its buttons: the focus they lose must not reach a half-destroyed key pad.
  disconnect(qApp, nullptr, this, nullptr);
  qApp->removeEventFilter(this);
}

bool KeyPad::shift() const { return shift_->isChecked(); }

void KeyPad::SetShift(bool held) { shift_->setChecked(held); }

void KeyPad::ShowShiftImages() {
  const bool s = shift_->isChecked();
  up_->setIcon(ResourceIcon(s ? "up_shift" : "up"));
  down_->setIcon(ResourceIcon(s ? "down_shift" : "down"));
  left_->setIcon(ResourceIcon(s ? "left_shift" : "left"));
  right_->setIcon(ResourceIcon(s ? "right_shift" : "right"));
}

QPushButton* KeyPad::ButtonOf(int qtKey) const {
  for (const auto& [key, button] : keyButtons_)
    if (key == qtKey) return button;
  return nullptr;
}

void KeyPad::HoldKey(int qtKey) {
  QPushButton* button = ButtonOf(qtKey);
  if (button == nullptr) return;
  button->setDown(true);
  if (auto* repeat = qobject_cast<CRepeatButton*>(button)) repeat->StartHolding();
}

void KeyPad::ReleaseKey(int qtKey) {
  QPushButton* button = ButtonOf(qtKey);
  if (button == nullptr) return;
  button->setDown(false);
  if (auto* repeat = qobject_cast<CRepeatButton*>(button)) repeat->StopHolding();
}

void KeyPad::ReleaseAll() {
  for (const auto& [key, button] : keyButtons_) ReleaseKey(key);
  // Whatever held a button has let it go: the mouse, the space bar, the repetition.
  mouseHolder_ = nullptr;
  spaceDown_ = false;
  repeatTimer_.stop();
}

void KeyPad::Press(InstrumentKey key, bool fromButton) {
  if (key != InstrumentKey::Enter) lastArrow_ = key;
  const int held = key == InstrumentKey::Left ? left_->heldTicks() : key == InstrumentKey::Right ? right_->heldTicks() : 0;
  emit keyPressed(KeyPress{key, shift(), held}, fromButton);
}

QPushButton* KeyPad::ArrowButton(InstrumentKey key) const {
  switch (key) {
    case InstrumentKey::Up: return up_;
    case InstrumentKey::Down: return down_;
    case InstrumentKey::Left: return left_;
    case InstrumentKey::Right: return right_;
    case InstrumentKey::Enter: return enter_;
  }
  return nullptr;
}

bool KeyPad::TakeHeldArrow() {
  // Pressed with the left button and not released, or held down by the space bar.
  bool found = false;
  const std::pair<QPushButton*, InstrumentKey> order[] = {
      {up_, InstrumentKey::Up}, {left_, InstrumentKey::Left}, {right_, InstrumentKey::Right}, {down_, InstrumentKey::Down}};
  for (const auto& [button, arrow] : order) {
    if (button == mouseHolder_ || (button->isDown() && button->hasFocus() && spaceDown_)) {
      lastArrow_ = arrow;
      found = true;
    }
  }
  if (!found) repeatTimer_.stop();
  return found;
}

void KeyPad::Poll() {
  if (TakeHeldArrow() && !repeatTimer_.isActive()) repeatTimer_.start(kRepeatTimerMs, this);
}

void KeyPad::Repeat() {
  if (!TakeHeldArrow()) return;
  QPushButton* button = ArrowButton(lastArrow_);
  const bool leftDown = QGuiApplication::mouseButtons().testFlag(Qt::LeftButton);
  const bool inside = button->rect().contains(button->mapFromGlobal(QCursor::pos()));
  // Moving off the button pauses the repetition; a button held by the space bar repeats too.
  if ((inside && leftDown) || (spaceDown_ && !leftDown)) Press(lastArrow_, false);
  else repeatTimer_.stop();
}

void KeyPad::timerEvent(QTimerEvent* event) {
  if (event->timerId() == pollTimer_.timerId()) Poll();
  else if (event->timerId() == repeatTimer_.timerId()) Repeat();
  else QFrame::timerEvent(event);
}

bool KeyPad::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress: {
      // The space bar presses the arrow button that has the focus.
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_Space && watched == QApplication::focusWidget() &&
          (watched == up_ || watched == down_ || watched == left_ || watched == right_))
        spaceDown_ = true;
      break;
    }
    case QEvent::KeyRelease: {
      // X11 repeats a held key as release/press pairs: only the real release lets go.
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->isAutoRepeat()) break;
      if (key->key() == Qt::Key_Space) spaceDown_ = false;
      else ReleaseKey(key->key());
      break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease: {
      if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) break;
      auto* widget = qobject_cast<QWidget*>(watched);
      if (widget == nullptr || widget->window() != window()) break;
      if (event->type() == QEvent::MouseButtonRelease) mouseHolder_ = nullptr;
      else if (widget == up_ || widget == down_ || widget == left_ || widget == right_)
        mouseHolder_ = static_cast<QPushButton*>(widget);
      break;
    }
    case QEvent::Show:
      if (qobject_cast<QMenu*>(watched) != nullptr) ReleaseAll();
      break;
    case QEvent::WindowDeactivate:
      if (watched == window()) ReleaseAll();  // the key's release goes to another window
      break;
    default:
      break;
  }
  return false;
}

}  // namespace rxt4
