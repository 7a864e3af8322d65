#include "KeyRouter.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QTreeView>

#include "KeyPad.h"
#include "rxt4/screens/ScreenSet.h"

namespace rxt4 {

KeyRouter::KeyRouter(QWidget& window, QWidget& keysArea, QTreeView& tree, KeyPad& keyPad, ScreenSet& screens,
                     Surface& surface)
    : QObject(&window),
      window_(window),
      keysArea_(keysArea),
      tree_(tree),
      keyPad_(keyPad),
      screens_(screens),
      surface_(surface) {
  qApp->installEventFilter(this);
  connect(&keyPad_, &KeyPad::keyPressed, this, &KeyRouter::Route);
  connect(&keyPad_, &KeyPad::shiftClicked, this, [this] { tree_.setFocus(); });
}

KeyRouter::~KeyRouter() { qApp->removeEventFilter(this); }

void KeyRouter::AddAccelerator(QKeyCombination keys, QAction* action) { accelerators_.emplace_back(keys, action); }

void KeyRouter::Route(const KeyPress& press, bool fromButton) {
  switch (screens_.PressKey(press, surface_)) {
    case KeyOutcome::Changed:  // the area was painted whole for the new state
      emit screenChanged();
      break;
    case KeyOutcome::Tree:
      MoveTree(press.key);
      break;
    case KeyOutcome::Nothing:
      break;
  }
  // 決定 gives the focus back to the tree from the keyboard too.
  if (fromButton || press.key == InstrumentKey::Enter) tree_.setFocus();
}

void KeyRouter::MoveTree(InstrumentKey key) {
  const Qt::Key qtKey = key == InstrumentKey::Up     ? Qt::Key_Up
                        : key == InstrumentKey::Down ? Qt::Key_Down
                        : key == InstrumentKey::Left ? Qt::Key_Left
                                                     : Qt::Key_Right;
  forwardingKey_ = true;
  QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier);
  QCoreApplication::sendEvent(&tree_, &press);
  forwardingKey_ = false;
}

bool KeyRouter::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) || forwardingKey_ || !RoutesKeysOf(watched)) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  return type == QEvent::KeyPress ? KeyDown(key) : KeyUp(key);
}

bool KeyRouter::RoutesKeysOf(QObject* watched) const {
  // A key travels from the focus widget up to its parents; it is routed once, at the
  // start. Keys of the menu bar and of open menus are theirs: a key pressed there
  // must not press an instrument key, whose release would never come here.
  if (QApplication::activePopupWidget() != nullptr) return false;
  const QWidget* focus = QApplication::focusWidget();
  if (focus == nullptr) return watched == &window_;
  return watched == focus && keysArea_.isAncestorOf(focus);
}

bool KeyRouter::KeyDown(QKeyEvent* event) {
  // Accelerators first: a matching key is consumed even when its command is greyed.
  const QKeyCombination combo = event->keyCombination();
  const QKeyCombination keys(combo.keyboardModifiers() & ~Qt::KeypadModifier, combo.key());
  for (const auto& [accelerator, action] : accelerators_) {
    if (accelerator != keys) continue;
    if (action != nullptr && action->isEnabled() && !event->isAutoRepeat()) action->trigger();
    return true;
  }
  const int k = combo.key();
  switch (k) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      keyPad_.HoldKey(k);
      keyPad_.Press(InstrumentKey::Enter, false);
      return true;
    case Qt::Key_Escape:
      return true;
    case Qt::Key_Shift:
      keyPad_.SetShift(true);
      return false;
    case Qt::Key_Left:
    case Qt::Key_Right:
      keyPad_.HoldKey(k);  // the held ← → count ticks (the delay profile's marker speed)
      if (screens_.Current() == nullptr) return false;  // the tree's, by the normal route
      keyPad_.Press(k == Qt::Key_Left ? InstrumentKey::Left : InstrumentKey::Right, false);
      return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
      keyPad_.HoldKey(k);
      if (!keyPad_.shift()) return false;  // without シフト ↑ ↓ move the tree's selection
      keyPad_.Press(k == Qt::Key_Up ? InstrumentKey::Up : InstrumentKey::Down, false);
      return true;
    default:
      return false;
  }
}

bool KeyRouter::KeyUp(QKeyEvent* event) {
  // The key pad lets the buttons go at their keys' release, wherever it goes; a
  // release kept here is handed on to it.
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (!event->isAutoRepeat()) keyPad_.ReleaseKey(event->key());
      return true;
    case Qt::Key_Escape:
      return true;
    case Qt::Key_Shift:
      keyPad_.SetShift(false);
      return false;
    default:
      return false;
  }
}

}  // namespace rxt4
