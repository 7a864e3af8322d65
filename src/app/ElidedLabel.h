#pragma once
// A label of fixed width whatever its text: the window's layout never makes room for
// a long text. The text is cut at the label's edge, or elided in the middle (with the
// whole text as tool tip) for paths; text() stays the whole text.

#include <QLabel>

namespace rxt4 {

class ElidedLabel : public QLabel {
  Q_OBJECT
 public:
  // mode: Qt::ElideNone cuts the text at the right edge; Qt::ElideMiddle replaces the
  // middle by "…" and shows the whole text as tool tip.
  explicit ElidedLabel(Qt::TextElideMode mode, QWidget* parent = nullptr);

  void SetText(const QString& text);
  // The text as painted at the label's present width.
  QString shownText() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Qt::TextElideMode mode_;
};

}  // namespace rxt4
