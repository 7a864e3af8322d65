#pragma once
// CAboutDlg: the program icon, name and version, and the logo.

#include <QDialog>

namespace rxt4 {

class CAboutDlg : public QDialog {
  Q_OBJECT
 public:
  explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace rxt4
