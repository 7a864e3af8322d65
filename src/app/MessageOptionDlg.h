#pragma once
// CMessageOptionDlg: the switch of the warning about folders not named after the instrument.

#include <QDialog>

class QCheckBox;

namespace rxt4 {

class CMessageOptionDlg : public QDialog {
  Q_OBJECT
 public:
  // The box starts ticked when folderAlert is nonzero.
  explicit CMessageOptionDlg(int folderAlert, QWidget* parent = nullptr);

  // 1 when the box was ticked at OK, 0 otherwise.
  int folderAlert() const { return folderAlert_; }
  QCheckBox* checkBox() const { return check_; }

  void accept() override;

 private:
  QCheckBox* check_ = nullptr;
  int folderAlert_ = 1;
};

}  // namespace rxt4
