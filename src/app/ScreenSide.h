#pragma once
// The screen side of the main window: the shown screen's title, "データNo." with the
// data set's number and count, the screen area and the data name, in a frame. Its size
// follows the enlargement of the screen area alone, never the texts or the fonts; it is
// what 画面を保存 and 画面をコピー take.

#include <QFrame>
#include <QImage>
#include <optional>

class QLabel;

namespace rxt4 {

class ElidedLabel;
class ScreenView;
class Surface;

class ScreenSide : public QFrame {
  Q_OBJECT
 public:
  ScreenSide(const Surface& surface, QWidget* parent = nullptr);

  ScreenView& view() const { return *view_; }
  // Sets the enlargement of the screen area and the side's size with it.
  void SetZoom(int zoom);

  // A data set shown: its screen's title, its data name (the one shown before stays
  // when the screen names none), its number and the count of its table.
  void ShowLabels(const QString& title, const std::optional<QString>& dataName, const QString& index,
                  const QString& count);
  // Nothing shown: the labels blank.
  void BlankLabels();
  // The data name shown (the snapshot's proposed file name).
  QString dataName() const;

  // The side as it is shown, pixel for pixel.
  QImage Render();

 private:
  void FitSize();

  ElidedLabel* title_ = nullptr;
  QLabel* index_ = nullptr;
  QLabel* count_ = nullptr;
  ScreenView* view_ = nullptr;
  ElidedLabel* dataName_ = nullptr;
};

}  // namespace rxt4
