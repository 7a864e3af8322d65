#include "CommSettingDlg.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdint>
#include <initializer_list>

#include "PortAdviceLabel.h"
#include "UiPrompts.h"
#include "rxt4/link/PortAdvice.h"
#include "rxt4/link/PortBackend.h"

namespace rxt4 {
namespace {

// Every list keeps the value of each entry as its item data: the rate, the data size,
// or the code of the parity, the stop bits or the flow control (its position).
constexpr int kBaseSpeeds[] = {4800, 9600, 19200};
constexpr int kHighSpeeds[] = {38400, 57600, 115200, 230400};
constexpr int kBaseSpeedCount = 3;
constexpr int kHighestBaseSpeed = 19200;
constexpr int kNameRole = Qt::UserRole;

void AddCodes(QComboBox* box, std::initializer_list<StringId> texts) {
  int code = 0;
  for (StringId text : texts) box->addItem(Tr(text), code++);
}

// Selects the entry of value; with none, the selection stays as it is (none at first).
void SelectValue(QComboBox* box, int value) {
  if (const int i = box->findData(value); i >= 0) box->setCurrentIndex(i);
}

// A code the list does not hold selects its first entry.
void SelectCode(QComboBox* box, std::uint8_t code) { box->setCurrentIndex(std::max(box->findData(int{code}), 0)); }

// The selected entry's value; with nothing selected, the code 255 (the position -1 as a byte).
std::uint8_t SelectedCode(const QComboBox* box) {
  return box->currentIndex() >= 0 ? static_cast<std::uint8_t>(box->currentData().toInt()) : std::uint8_t{0xFF};
}

}  // namespace

void SpeedComboBox::showPopup() {
  emit aboutToDropDown();
  QComboBox::showPopup();
}

CCommSettingDlg::CCommSettingDlg(const CommSettings& settings, std::vector<PortInfo> ports, QWidget* parent)
    : QDialog(parent), settings_(settings) {
  shiftHeld = [] { return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier); };
  probePort = ProbePort;
  setWindowTitle(Tr(StringId::CommDialogTitle));

  auto* grid = new QGridLayout;
  grid->setColumnStretch(1, 1);  // the boxes take the width the advice area gives
  auto addRow = [&](int row, StringId label, QComboBox* box, bool visible) {
    auto* caption = new QLabel(Tr(label), this);
    grid->addWidget(caption, row, 0);
    grid->addWidget(box, row, 1);
    caption->setVisible(visible);
    box->setVisible(visible);
  };

  // The port box is editable so that a device the listing cannot show (a
  // pseudo-terminal, a renamed device) can be typed as a path.
  port_ = new QComboBox(this);
  port_->setEditable(true);
  port_->setInsertPolicy(QComboBox::NoInsert);
  port_->setMinimumContentsLength(24);
  port_->setToolTip(QStringLiteral("/dev/ttyUSB0, /dev/ttyACM0 ..."));
  for (const PortInfo& p : ports) {
    QString name = QString::fromStdString(p.name);
    QString shown = p.description.empty() ? name : name + QStringLiteral("  (") + QString::fromStdString(p.description) + QLatin1Char(')');
    port_->addItem(shown, name);
  }
  speed_ = new SpeedComboBox(this);
  for (int rate : kBaseSpeeds) speed_->addItem(QString::number(rate), rate);
  dataSize_ = new QComboBox(this);
  dataSize_->addItem(Tr(StringId::DataSize7), 7);
  dataSize_->addItem(Tr(StringId::DataSize8), 8);
  parity_ = new QComboBox(this);
  AddCodes(parity_, {StringId::ParityNone, StringId::ParityOdd, StringId::ParityEven});
  stopBits_ = new QComboBox(this);
  AddCodes(stopBits_, {StringId::StopBitsOne, StringId::StopBitsOneHalf, StringId::StopBitsTwo});
  flow_ = new QComboBox(this);
  AddCodes(flow_, {StringId::FlowNone, StringId::FlowHardware, StringId::FlowXonXoff});
  for (QComboBox* box : {port_, static_cast<QComboBox*>(speed_), dataSize_, parity_, stopBits_, flow_})
    box->setCurrentIndex(-1);
  port_->setEditText(QString());

  // Why the chosen port would not open, under the settings: an area of fixed size, so
  // that the dialog keeps its size whether there is advice or not.
  portProblem_ = new PortAdviceLabel(this);

  addRow(0, StringId::CommLabelPort, port_, true);
  addRow(2, StringId::CommLabelSpeed, speed_, true);
  addRow(3, StringId::CommLabelDataSize, dataSize_, false);
  addRow(4, StringId::CommLabelParity, parity_, false);
  addRow(5, StringId::CommLabelStopBits, stopBits_, false);
  addRow(6, StringId::CommLabelFlow, flow_, false);
  grid->addWidget(portProblem_, 7, 0, 1, 2);

  QDialogButtonBox* buttons = OkCancelButtons(this);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addStretch();
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  // Selections from the stored record.
  ShowStoredPort();
  // Only the user's own choice or typing changes the stored port on OK.
  connect(port_, &QComboBox::activated, this, [this] { portTouched_ = true; });
  connect(port_->lineEdit(), &QLineEdit::textEdited, this, [this] { portTouched_ = true; });
  // A typed path is tried once it is complete, not at every character.
  connect(port_, &QComboBox::currentIndexChanged, this, &CCommSettingDlg::CheckPort);
  connect(port_->lineEdit(), &QLineEdit::editingFinished, this, &CCommSettingDlg::CheckPort);
  CheckPort();
  if (settings_.baudRate > kHighestBaseSpeed) AppendHighSpeeds();
  SelectValue(speed_, settings_.baudRate);
  SelectValue(dataSize_, settings_.dataSize);
  SelectCode(parity_, settings_.parity);
  SelectCode(stopBits_, settings_.stopBits);
  SelectCode(flow_, settings_.flowControl);

  connect(speed_, &SpeedComboBox::aboutToDropDown, this, &CCommSettingDlg::OnSpeedDropDown);
}

void CCommSettingDlg::ShowStoredPort() {
  // A listed device is selected by its name (device names are case-sensitive paths);
  // a device the listing cannot show (a symlink, a pseudo-terminal) stands in the box
  // as typed, as long as it exists. A port that is gone shows nothing.
  const QString stored = QString::fromStdString(settings_.comPort);
  if (stored.isEmpty()) return;
  for (int i = 0; i < port_->count(); ++i) {
    if (port_->itemData(i, kNameRole).toString() == stored) {
      port_->setCurrentIndex(i);
      return;
    }
  }
  const QFileInfo device(stored);
  if (device.exists() && !device.isDir()) port_->setEditText(stored);
}

void CCommSettingDlg::AppendHighSpeeds() {
  for (int rate : kHighSpeeds) speed_->addItem(QString::number(rate), rate);
}

void CCommSettingDlg::OnSpeedDropDown() {
  // The four high speeds are offered only when one is already chosen or when the
  // user holds Shift while opening the list.
  bool shift = shiftHeld && shiftHeld();
  if (!shift && speed_->currentIndex() < kBaseSpeedCount) {
    while (speed_->count() > kBaseSpeedCount) speed_->removeItem(speed_->count() - 1);
  } else if (speed_->count() <= kBaseSpeedCount) {
    AppendHighSpeeds();
  }
}

QString CCommSettingDlg::SelectedPortName() const {
  int i = port_->currentIndex();
  QString typed = port_->currentText().trimmed();
  if (i >= 0 && typed == port_->itemText(i)) return port_->itemData(i, kNameRole).toString();
  return typed;  // a path typed by the user, or empty
}

void CCommSettingDlg::CheckPort() {
  const std::string port = SelectedPortName().toStdString();
  const int error = port.empty() || !probePort ? 0 : probePort(port);
  portProblem_->setText(error != 0 ? QString::fromStdString(PortOpenDetail(port, error)) : QString());
}

void CCommSettingDlg::accept() {
  if (portTouched_) settings_.comPort = SelectedPortName().toStdString();
  // Nothing selected: rate and data size 0.
  settings_.baudRate = speed_->currentData().toInt();
  settings_.dataSize = static_cast<std::uint8_t>(dataSize_->currentData().toInt());
  settings_.parity = SelectedCode(parity_);
  settings_.stopBits = SelectedCode(stopBits_);
  settings_.flowControl = SelectedCode(flow_);
  QDialog::accept();
}

}  // namespace rxt4
