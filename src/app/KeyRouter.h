#pragma once
// Where a key goes. Every key of the main window passes here before anything else sees
// it: the accelerators first (consumed even when their command is greyed), then the
// keys of the instrument (↑ ↓ ← → Enter, and Shift for シフト), which go to the key pad
// or on to the tree; Escape never closes the window. A key press of the key pad goes to
// the screen shown, or moves the tree when the screen says that the key is the tree's.

#include <QKeyCombination>
#include <QObject>
#include <vector>

#include "rxt4/screens/InstrumentKey.h"

class QAction;
class QKeyEvent;
class QTreeView;

namespace rxt4 {

class KeyPad;
class ScreenSet;
class Surface;

class KeyRouter : public QObject {
  Q_OBJECT
 public:
  // window: whose keys are routed; keysArea: the part of it whose keys reach the
  // instrument keys (not the menu bar). The screens draw into surface.
  KeyRouter(QWidget& window, QWidget& keysArea, QTreeView& tree, KeyPad& keyPad, ScreenSet& screens, Surface& surface);
  ~KeyRouter() override;

  // A key that runs action when enabled, and is consumed in any case; a null action
  // only consumes the key.
  void AddAccelerator(QKeyCombination keys, QAction* action);
  // A key press of the instrument: to the screen shown, or to the tree.
  void Route(const KeyPress& press, bool fromButton);
  // Moves the tree's selection (↑ ↓) or folds and unfolds (← →) as the tree does for the keyboard.
  void MoveTree(InstrumentKey key);

 signals:
  // A key changed what the screen shows: the area is to be painted again.
  void screenChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool RoutesKeysOf(QObject* watched) const;
  bool KeyDown(QKeyEvent* event);
  bool KeyUp(QKeyEvent* event);

  QWidget& window_;
  QWidget& keysArea_;
  QTreeView& tree_;
  KeyPad& keyPad_;
  ScreenSet& screens_;
  Surface& surface_;
  std::vector<std::pair<QKeyCombination, QAction*>> accelerators_;
  bool forwardingKey_ = false;  // a key on its way to the tree must not be routed a second time
};

}  // namespace rxt4
