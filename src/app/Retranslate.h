#pragma once
// Texts that follow the display language. A widget, menu or action set through Bind...
// keeps the string id of its text as a property and takes the text from the table
// again when Retranslate walks it: the main window switches language without being
// built again (its tree, selection, screen and enlargement stay as they are).

#include "rxt4/data/Strings.h"

class QObject;
class QWidget;

namespace rxt4 {

// The text of an action, a button, a label, a check box, a group box (its title) or a
// menu (its title), now and after each switch.
void BindText(QObject* object, StringId id);
// The tool tip of a widget or an action.
void BindToolTip(QObject* object, StringId id);
// The name a screen reader gives a widget.
void BindAccessibleName(QWidget* widget, StringId id);
// The title of a window.
void BindWindowTitle(QWidget* window, StringId id);

// Takes the bound texts of root and of every object below it from the table again,
// in the current language.
void Retranslate(QObject& root);

}  // namespace rxt4
