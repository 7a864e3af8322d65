#include "MessageOptionDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

#include "UiPrompts.h"

namespace rxt4 {

CMessageOptionDlg::CMessageOptionDlg(int folderAlert, QWidget* parent) : QDialog(parent), folderAlert_(folderAlert) {
  setWindowTitle(Tr(StringId::MessageOptionTitle));
  check_ = new QCheckBox(Tr(StringId::MessageOptionText), this);
  check_->setChecked(folderAlert != 0);
  QDialogButtonBox* buttons = OkCancelButtons(this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(check_);
  layout->addWidget(buttons);
}

void CMessageOptionDlg::accept() {
  folderAlert_ = check_->isChecked() ? 1 : 0;
  QDialog::accept();
}

}  // namespace rxt4
