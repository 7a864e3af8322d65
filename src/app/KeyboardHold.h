#pragma once
// The instrument key buttons that keys hold down. A key shows its button pressed
// while it is held; the button is let go at the key's release wherever that release
// goes (to a menu opened meanwhile, to another window), and every button is let go
// when a menu opens or the main window's keys go elsewhere, so that no button stays
// drawn pressed and no repetition runs on.

#include <QObject>
#include <functional>
#include <vector>

class QPushButton;
class QWidget;

namespace rxt4 {

class KeyboardHold : public QObject {
  Q_OBJECT
 public:
  // keysArea: the part of the window whose keys press the buttons (focus leaving it
  // lets them go). onReleaseAll: also run when everything is let go (the window stops
  // its repetition there).
  KeyboardHold(QWidget* keysArea, std::function<void()> onReleaseAll);
  ~KeyboardHold() override;

  // The button a key (Qt::Key) presses.
  void Add(int key, QPushButton* button);
  // Shows the key's button pressed (a ← → button starts counting held ticks).
  void Press(int key);
  // Lets the key's button go.
  void Release(int key);
  // Lets every button go.
  void ReleaseAll();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPushButton* ButtonOf(int key) const;

  QWidget* keysArea_;
  std::function<void()> onReleaseAll_;
  std::vector<std::pair<int, QPushButton*>> buttons_;
};

}  // namespace rxt4
