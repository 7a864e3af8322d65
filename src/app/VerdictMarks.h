#pragma once
// The verdict marks of the tree and of the verdict line: ○ 合格, △ 注意, × 不合格 and
// – 判定なし, each a shape of its own in a colour of its own, so that they read apart
// in grey (a printout, a colour-blind eye) as well as in colour.

#include <QColor>
#include <QIcon>
#include <QRectF>

#include "rxt4/judge/Verdict.h"

class QPainter;

namespace rxt4 {

// The mark's colour: green, amber, red, grey.
QColor VerdictColor(Verdict verdict);
// Draws the mark centred in a square inside area.
void PaintVerdictMark(QPainter& painter, const QRectF& area, Verdict verdict);
// The mark as an icon of side px (drawn for the screens' pixel ratio).
QIcon VerdictIcon(Verdict verdict, int px);

}  // namespace rxt4
