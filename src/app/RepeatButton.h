#pragma once
// CRepeatButton: the ← and → key buttons. While pressed it counts 1400 ms ticks
// (heldTicks), which the delay profile screen uses to move its marker faster.

#include <QBasicTimer>
#include <QPushButton>

namespace rxt4 {

class CRepeatButton : public QPushButton {
  Q_OBJECT
 public:
  static constexpr int kHeldTickMs = 1400;

  explicit CRepeatButton(QWidget* parent = nullptr);

  // Starts counting held ticks unless already counting.
  void StartHolding();
  // Stops counting; heldTicks returns to 0.
  void StopHolding();
  // Advances the held count by one tick, as the tick timer does.
  void Tick() { ++heldTicks_; }

  int heldTicks() const { return heldTicks_; }
  bool holding() const { return holding_; }

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void timerEvent(QTimerEvent* event) override;

 private:
  QBasicTimer tickTimer_;
  int heldTicks_ = 0;
  bool holding_ = false;
};

}  // namespace rxt4
