#pragma once
// A label of fixed width whatever its text: the window's layout never makes room for
// a long text. A text too long is elided ("…" at its end, or in the middle for paths)
// and the whole text is the tool tip; text() stays the whole text.

#include <QLabel>

namespace rxt4 {

class ElidedLabel : public QLabel {
  Q_OBJECT
 public:
  // mode: Qt::ElideRight or Qt::ElideMiddle, where "…" replaces what does not fit.
  explicit ElidedLabel(Qt::TextElideMode mode, QWidget* parent = nullptr);

  // Sets the text and its tool tip.
  void SetText(const QString& text);
  // The text as painted at the label's present width.
  QString shownText() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Qt::TextElideMode mode_;
};

}  // namespace rxt4
