#pragma once
// The area under a link dialog's controls that says why a port would not open and
// what to do about it (also, in the transfer dialog, why the folder takes no files or
// which rates differ). Its size is fixed: wide enough for the advice wrapped into a
// few lines and tall enough for the longest advice in the label's own font, so the
// dialog keeps one size whether there is advice or not, and no line is ever cut.

#include <QLabel>

namespace rxt4 {

class PortAdviceLabel : public QLabel {
  Q_OBJECT
 public:
  static constexpr int kWidthPx = 420;

  explicit PortAdviceLabel(QWidget* parent = nullptr);

 protected:
  void changeEvent(QEvent* event) override;

 private:
  // Sized for the longest advice in the present font.
  void FitLongestAdvice();
};

}  // namespace rxt4
