#pragma once
// The screen area: shows the screens' pixel surface unscaled or enlarged by a whole
// factor (nearest neighbour, never smoothed). Until a data set is first shown a
// blank white panel covers the inside of the frame.

#include <QWidget>

namespace rxt4 {

class Surface;

class ScreenView : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kMaxZoom = 3;

  ScreenView(const Surface& surface, QWidget* parent = nullptr);

  // Sets the enlargement (1 to kMaxZoom) and resizes the widget to fit.
  void SetZoom(int zoom);
  int zoom() const { return zoom_; }
  // Hides the blank panel for good.
  void HideBlankPanel();

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const Surface& surface_;
  int zoom_ = 1;
  bool blankPanel_ = true;
};

}  // namespace rxt4
