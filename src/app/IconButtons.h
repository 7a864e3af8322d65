#pragma once
// The main window's buttons with pictures: the tool buttons and the instrument keys
// share their icon size, their look and their keyboard focus rule.

#include <QIcon>
#include <QSize>

#include "rxt4/data/Strings.h"

class QFrame;
class QPushButton;
class QWidget;

namespace rxt4 {

constexpr int kIconPx = 28;
constexpr int kToolButtonPx = 42;

// An icon of the viewer's resources by its name ("up", "up_shift", "save"...).
QIcon ResourceIcon(const char* name);
// Gives button its icon, fixed size, accessible name and tool tip; it takes the focus
// by the Tab key only (a click leaves the focus where it was) and is never a default button.
QPushButton* MakeIconButton(QPushButton* button, const char* icon, StringId accessibleText, StringId tip, QSize size);
// The sunken box around a group of buttons.
QFrame* GroupFrame(QWidget* parent);

}  // namespace rxt4
