#include "AboutDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include "UiPrompts.h"

namespace rxt4 {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(Tr(StringId::AboutCaption));
  auto* logo = new QLabel(this);
  logo->setPixmap(QIcon(QStringLiteral(":/viewer/logo.svg")).pixmap(QSize(210, 60)));
  auto* icon = new QLabel(this);
  icon->setPixmap(QIcon(QStringLiteral(":/viewer/app.svg")).pixmap(QSize(32, 32)));
  auto* text = new QLabel(Tr(StringId::AboutVersion, {QStringLiteral(RXT4_VERSION)}) + QLatin1Char('\n') +
                              Tr(StringId::AboutLicence),
                          this);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(Tr(StringId::ButtonOk), QDialogButtonBox::AcceptRole);
  ok->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* grid = new QGridLayout(this);
  grid->addWidget(logo, 0, 0, 1, 2);
  grid->addWidget(buttons, 0, 2, Qt::AlignTop);
  grid->addWidget(icon, 1, 0);
  grid->addWidget(text, 1, 1, 1, 2);
}

}  // namespace rxt4
