#include "Retranslate.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QVariant>
#include <QWidget>

#include "UiPrompts.h"

namespace rxt4 {
namespace {

constexpr const char* kTextProperty = "rxt4TextId";
constexpr const char* kTipProperty = "rxt4ToolTipId";
constexpr const char* kNameProperty = "rxt4AccessibleNameId";
constexpr const char* kTitleProperty = "rxt4WindowTitleId";

void SetText(QObject* object, const QString& text) {
  if (auto* action = qobject_cast<QAction*>(object)) action->setText(text);
  else if (auto* menu = qobject_cast<QMenu*>(object)) menu->setTitle(text);
  else if (auto* button = qobject_cast<QAbstractButton*>(object)) button->setText(text);
  else if (auto* label = qobject_cast<QLabel*>(object)) label->setText(text);
  else if (auto* group = qobject_cast<QGroupBox*>(object)) group->setTitle(text);
}

void SetToolTip(QObject* object, const QString& text) {
  if (auto* action = qobject_cast<QAction*>(object)) action->setToolTip(text);
  else if (auto* widget = qobject_cast<QWidget*>(object)) widget->setToolTip(text);
}

void Apply(QObject* object) {
  const auto apply = [object](const char* property, auto set) {
    const QVariant id = object->property(property);
    if (id.isValid()) set(Tr(static_cast<StringId>(id.toInt())));
  };
  apply(kTextProperty, [object](const QString& t) { SetText(object, t); });
  apply(kTipProperty, [object](const QString& t) { SetToolTip(object, t); });
  if (auto* widget = qobject_cast<QWidget*>(object)) {
    apply(kNameProperty, [widget](const QString& t) { widget->setAccessibleName(t); });
    apply(kTitleProperty, [widget](const QString& t) { widget->setWindowTitle(t); });
  }
}

void Bind(QObject* object, const char* property, StringId id) {
  object->setProperty(property, static_cast<int>(id));
  Apply(object);
}

}  // namespace

void BindText(QObject* object, StringId id) { Bind(object, kTextProperty, id); }
void BindToolTip(QObject* object, StringId id) { Bind(object, kTipProperty, id); }
void BindAccessibleName(QWidget* widget, StringId id) { Bind(widget, kNameProperty, id); }
void BindWindowTitle(QWidget* window, StringId id) { Bind(window, kTitleProperty, id); }

void Retranslate(QObject& root) {
  Apply(&root);
  for (QObject* object : root.findChildren<QObject*>()) Apply(object);
}

}  // namespace rxt4
