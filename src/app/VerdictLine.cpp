#include "VerdictLine.h"

#include <QPainter>

#include "VerdictMarks.h"

namespace rxt4 {
namespace {

constexpr int kMarkGapPx = 4;

}  // namespace

VerdictLine::VerdictLine(QWidget* parent) : ElidedLabel(Qt::ElideRight, parent) {
  setObjectName(QStringLiteral("verdictLine"));
  setFixedHeight(kHeightPx);
  // The mark's place at the left, whether a mark is shown or not.
  setContentsMargins(kMarkPx + kMarkGapPx, 0, 0, 0);
}

void VerdictLine::Show(std::optional<Verdict> verdict, const QString& text) {
  verdict_ = verdict;
  SetText(text);
  update();
}

void VerdictLine::paintEvent(QPaintEvent* event) {
  ElidedLabel::paintEvent(event);
  if (!verdict_) return;
  QPainter painter(this);
  PaintVerdictMark(painter, QRectF(0, (height() - kMarkPx) / 2.0, kMarkPx, kMarkPx), *verdict_);
}

}  // namespace rxt4
