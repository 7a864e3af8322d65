#pragma once
// The font of the viewer's own widgets (menus, tree, dialogs, labels): the desktop's
// user-interface font. Where the desktop names none (a bare X session), Qt takes
// fontconfig's first face for the locale's language, which for Japanese may be a
// fixed- or dual-width face (IPAGothic) that makes every menu and label look typed;
// then the first proportional face that fontconfig offers for sans-serif Japanese
// takes its place, at the same size. Only the instrument's screen uses the
// instrument's fonts.

#include <QFont>

namespace rxt4 {

// desktop itself when its Latin letters are of different widths; else the first
// proportional sans-serif face covering Japanese (desktop when there is none).
QFont ProportionalUiFont(const QFont& desktop);

}  // namespace rxt4
