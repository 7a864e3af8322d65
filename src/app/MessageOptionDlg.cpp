#include "MessageOptionDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

#include "UiPrompts.h"

namespace rxt4 {

CMessageOptionDlg::CMessageOptionDlg(bool folderAlert, QWidget* parent) : QDialog(parent), folderAlert_(folderAlert) {
  setWindowTitle(Tr(StringId::MessageOptionTitle));
  check_ = new QCheckBox(Tr(StringId::MessageOptionText), this);
  check_->setChecked(folderAlert);
  QDialogButtonBox* buttons = OkCancelButtons(this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(check_);
  layout->addWidget(buttons);
}

void CMessageOptionDlg::accept() {
  folderAlert_ = check_->isChecked();
  QDialog::accept();
}

}  // namespace rxt4
