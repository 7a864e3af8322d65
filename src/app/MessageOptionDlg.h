#pragma once
// CMessageOptionDlg: the switch of the warning about folders not named after the instrument.

#include <QDialog>

class QCheckBox;

namespace rxt4 {

class CMessageOptionDlg : public QDialog {
  Q_OBJECT
 public:
  // The box starts ticked when folderAlert is set.
  explicit CMessageOptionDlg(bool folderAlert, QWidget* parent = nullptr);

  // Whether the box was ticked at OK.
  bool folderAlert() const { return folderAlert_; }
  QCheckBox* checkBox() const { return check_; }

  void accept() override;

 private:
  QCheckBox* check_ = nullptr;
  bool folderAlert_ = true;
};

}  // namespace rxt4
