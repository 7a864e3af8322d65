#include "PortAdviceLabel.h"

#include <QEvent>
#include <QFontMetrics>
#include <algorithm>
#include <cerrno>

#include "rxt4/link/PortAdvice.h"

namespace rxt4 {
namespace {

// A port name as long as a typed by-id path, so that the first line of the longest
// advice wraps as it would for a real device.
constexpr const char* kLongPortName = "/dev/serial/by-id/usb-RXT4_Signal_Meter_0001-if00";
// The errors that have advice (permission, busy, missing, not a serial port).
constexpr int kAdvisedErrors[] = {EACCES, EBUSY, ENOENT, EINVAL};

}  // namespace

PortAdviceLabel::PortAdviceLabel(QWidget* parent) : QLabel(parent) {
  setWordWrap(true);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setTextInteractionFlags(Qt::TextSelectableByMouse);  // the commands can be copied
  FitLongestAdvice();
}

void PortAdviceLabel::changeEvent(QEvent* event) {
  QLabel::changeEvent(event);
  if (event->type() == QEvent::FontChange) FitLongestAdvice();
}

void PortAdviceLabel::FitLongestAdvice() {
  const QFontMetrics metrics = fontMetrics();
  int height = 0;
  for (int error : kAdvisedErrors) {
    const QString text = QString::fromStdString(PortOpenDetail(kLongPortName, error));
    height = std::max(height, metrics.boundingRect(QRect(0, 0, kWidthPx, 100000), Qt::TextWordWrap, text).height());
  }
  // One line more for a longer port path than the one measured.
  setFixedSize(kWidthPx, height + metrics.lineSpacing() + 2 * margin());
}

}  // namespace rxt4
