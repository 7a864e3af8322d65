#include "IconButtons.h"

#include <QFrame>
#include <QPushButton>

#include "Retranslate.h"

namespace rxt4 {

QIcon ResourceIcon(const char* name) { return QIcon(QStringLiteral(":/viewer/") + QLatin1String(name) + QStringLiteral(".svg")); }

QPushButton* MakeIconButton(QPushButton* button, const char* icon, StringId accessibleText, StringId tip, QSize size) {
  button->setIcon(ResourceIcon(icon));
  button->setIconSize(QSize(kIconPx, kIconPx));
  button->setFixedSize(size);
  BindAccessibleName(button, accessibleText);
  BindToolTip(button, tip);
  button->setFocusPolicy(Qt::TabFocus);
  button->setAutoDefault(false);
  return button;
}

QFrame* GroupFrame(QWidget* parent) {
  auto* frame = new QFrame(parent);
  frame->setFrameShape(QFrame::Box);
  frame->setFrameShadow(QFrame::Sunken);
  return frame;
}

}  // namespace rxt4
