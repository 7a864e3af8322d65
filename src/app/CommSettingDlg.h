#pragma once
// CCommSettingDlg: the communication settings dialog. The user sees the port and
// the speed; data size, parity, stop bits and flow control are hidden lists that
// still take part in loading and saving. The port box shows the stored port when it
// names a device present (listed or not); OK changes the stored port only when the
// user picked or typed one. Under the port box a line says why the chosen port
// would not open (and what to do), checked each time the choice changes.

#include <QComboBox>
#include <QDialog>
#include <functional>
#include <vector>

#include "rxt4/link/CommSettings.h"
#include "rxt4/link/PortInfo.h"

class QLabel;

namespace rxt4 {

// The speed list, which announces that it is about to drop down.
class SpeedComboBox : public QComboBox {
  Q_OBJECT
 public:
  using QComboBox::QComboBox;
  void showPopup() override;
 signals:
  void aboutToDropDown();
};

class CCommSettingDlg : public QDialog {
  Q_OBJECT
 public:
  // Builds the dialog over a copy of the settings and the ports present now.
  CCommSettingDlg(const CommSettings& settings, std::vector<PortInfo> ports, QWidget* parent = nullptr);

  // The record as edited; valid after OK.
  const CommSettings& settings() const { return settings_; }

  // The speed list's drop-down rule (public so that tests can run it).
  void OnSpeedDropDown();
  // Where the Shift key's state comes from (the keyboard; tests replace it).
  std::function<bool()> shiftHeld;
  // Tries a port: 0 when it opens, else the system's reason (the serial port's own
  // probe; tests replace it).
  std::function<int(const std::string&)> probePort;

  // Tries the chosen port and shows why it would not open, or nothing when it opens.
  void CheckPort();

  QComboBox* portBox() const { return port_; }
  QComboBox* speedBox() const { return speed_; }
  QComboBox* dataSizeBox() const { return dataSize_; }
  QComboBox* parityBox() const { return parity_; }
  QComboBox* stopBitsBox() const { return stopBits_; }
  QComboBox* flowBox() const { return flow_; }
  QLabel* portProblemLabel() const { return portProblem_; }

  void accept() override;

 private:
  void ShowStoredPort();
  void AppendHighSpeeds();
  QString SelectedPortName() const;

  CommSettings settings_;
  bool portTouched_ = false;  // the user picked or typed a port
  QComboBox* port_ = nullptr;
  QLabel* portProblem_ = nullptr;
  SpeedComboBox* speed_ = nullptr;
  QComboBox* dataSize_ = nullptr;
  QComboBox* parity_ = nullptr;
  QComboBox* stopBits_ = nullptr;
  QComboBox* flow_ = nullptr;
};

}  // namespace rxt4
