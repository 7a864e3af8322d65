#pragma once
// The instrument's keys beside the screen: シフト, ↑ ↓ ← → and 決定. The key pad turns a
// click, the repetition of a held arrow button or a key the keyboard gives (through the
// key router) into one key press, with the シフト state and, for ← and →, the ticks
// their button has been held (the delay profile's marker speed).
//
// Holding: the 500 ms poll starts a 100 ms repetition while the left mouse button
// holds an arrow button (or the space bar holds the button with the focus); moving the
// pointer off the button pauses it. A key of the keyboard shows its button pressed
// until the key's release, wherever that release goes. A menu opening, the window's
// keys going elsewhere or the window losing the keyboard lets every button go and ends
// the repetition, so that no button stays drawn pressed and nothing repeats on.

#include <QBasicTimer>
#include <QFrame>
#include <QMetaType>
#include <utility>
#include <vector>

#include "rxt4/screens/InstrumentKey.h"

class QPushButton;

namespace rxt4 {

class CRepeatButton;

class KeyPad : public QFrame {
  Q_OBJECT
 public:
  static constexpr int kPollTimerMs = 500;
  static constexpr int kRepeatTimerMs = 100;

  // keysArea: the part of the window whose keys the key pad follows (the focus leaving
  // it lets every button go); it is also the key pad's parent.
  explicit KeyPad(QWidget* keysArea);
  ~KeyPad() override;

  bool shift() const;
  // シフト follows the Shift key: checked while it is held.
  void SetShift(bool held);
  // Shows the button of a key (Qt::Key) pressed until the key's release; the ← and →
  // buttons count held ticks meanwhile.
  void HoldKey(int qtKey);
  // Lets the key's button go (the key pad sees every release itself; the key router
  // hands on those it keeps from everyone else).
  void ReleaseKey(int qtKey);
  // One press of an instrument key: emits keyPressed.
  void Press(InstrumentKey key, bool fromButton);

  // What the two timers run: the 500 ms poll starts the repetition of a held arrow
  // button, the 100 ms repetition presses its key again while it stays held.
  void Poll();
  void Repeat();

 signals:
  // One key press; fromButton when it came from a click (the focus then goes back to
  // the tree), else from the keyboard or the repetition.
  void keyPressed(rxt4::KeyPress press, bool fromButton);
  // The シフト button was clicked.
  void shiftClicked();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void timerEvent(QTimerEvent* event) override;

 private:
  // Lets every button go and ends the repetition.
  void ReleaseAll();
  void ShowShiftImages();
  QPushButton* ButtonOf(int qtKey) const;
  QPushButton* ArrowButton(InstrumentKey key) const;
  // Finds the arrow button the mouse (or the space bar) holds, testing ↑ ← → ↓ in turn;
  // its key becomes the one that repeats. With none held the repetition stops.
  bool TakeHeldArrow();

  QWidget* keysArea_;
  QPushButton* shift_ = nullptr;
  QPushButton* up_ = nullptr;
  QPushButton* down_ = nullptr;
  CRepeatButton* left_ = nullptr;
  CRepeatButton* right_ = nullptr;
  QPushButton* enter_ = nullptr;
  std::vector<std::pair<int, QPushButton*>> keyButtons_;  // the button each key (Qt::Key) holds down
  InstrumentKey lastArrow_ = InstrumentKey::Up;           // the arrow pressed last: the one that repeats
  QPushButton* mouseHolder_ = nullptr;                    // the arrow button the left mouse button holds
  bool spaceDown_ = false;
  QBasicTimer pollTimer_;    // the 500 ms poll, for the key pad's whole life
  QBasicTimer repeatTimer_;  // the 100 ms repetition, while an arrow button is held
};

}  // namespace rxt4

Q_DECLARE_METATYPE(rxt4::KeyPress)
