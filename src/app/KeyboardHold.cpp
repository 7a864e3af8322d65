#include "KeyboardHold.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>

#include "RepeatButton.h"

namespace rxt4 {

KeyboardHold::KeyboardHold(QWidget* keysArea, std::function<void()> onReleaseAll)
    : keysArea_(keysArea), onReleaseAll_(std::move(onReleaseAll)) {
  qApp->installEventFilter(this);
  // The keys go elsewhere (the menu bar in keyboard mode, another window): whatever
  // they hold is let go, as its release will not come back here.
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (now == nullptr || !keysArea_->isAncestorOf(now)) ReleaseAll();
  });
}

KeyboardHold::~KeyboardHold() { qApp->removeEventFilter(this); }

void KeyboardHold::Add(int key, QPushButton* button) { buttons_.emplace_back(key, button); }

QPushButton* KeyboardHold::ButtonOf(int key) const {
  for (const auto& [k, button] : buttons_)
    if (k == key) return button;
  return nullptr;
}

void KeyboardHold::Press(int key) {
  QPushButton* button = ButtonOf(key);
  if (button == nullptr) return;
  button->setDown(true);
  if (auto* repeat = qobject_cast<CRepeatButton*>(button)) repeat->StartHolding();
}

void KeyboardHold::Release(int key) {
  QPushButton* button = ButtonOf(key);
  if (button == nullptr) return;
  button->setDown(false);
  if (auto* repeat = qobject_cast<CRepeatButton*>(button)) repeat->StopHolding();
}

void KeyboardHold::ReleaseAll() {
  for (const auto& [key, button] : buttons_) Release(key);
  if (onReleaseAll_) onReleaseAll_();
}

bool KeyboardHold::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyRelease: {
      // X11 repeats a held key as release/press pairs: only the real release lets go.
      auto* key = static_cast<QKeyEvent*>(event);
      if (!key->isAutoRepeat()) Release(key->key());
      break;
    }
    case QEvent::Show:
      if (qobject_cast<QMenu*>(watched) != nullptr) ReleaseAll();
      break;
    default:
      break;
  }
  return false;
}

}  // namespace rxt4
