#include "CommSettingDlg.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "PortAdviceLabel.h"
#include "UiPrompts.h"
#include "rxt4/data/TextRules.h"
#include "rxt4/link/PortAdvice.h"
#include "rxt4/link/PortBackend.h"

namespace rxt4 {
namespace {

constexpr int kBaseSpeedCount = 3;  // "4800", "9600", "19200"
constexpr int kHighestBaseSpeed = 19200;
constexpr int kNameRole = Qt::UserRole;

int LeadingValue(const QString& text) { return static_cast<int>(ParseInt(text.toStdString())); }

uint8_t PositionCode(const QComboBox* box) {
  // With nothing selected the position -1 is kept as its low byte.
  return static_cast<uint8_t>(box->currentIndex() & 0xFF);
}

QString CodeText(uint8_t code, StringId zero, StringId one, StringId two) {
  if (code == 0) return Tr(zero);
  if (code == 1) return Tr(one);
  if (code == 2) return Tr(two);
  return QString();
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
  speed_->addItems({QStringLiteral("4800"), QStringLiteral("9600"), QStringLiteral("19200")});
  dataSize_ = new QComboBox(this);
  dataSize_->addItems({Tr(StringId::DataSize7), Tr(StringId::DataSize8)});
  parity_ = new QComboBox(this);
  parity_->addItems({Tr(StringId::ParityNone), Tr(StringId::ParityOdd), Tr(StringId::ParityEven)});
  stopBits_ = new QComboBox(this);
  stopBits_->addItems({Tr(StringId::StopBitsOne), Tr(StringId::StopBitsOneHalf), Tr(StringId::StopBitsTwo)});
  flow_ = new QComboBox(this);
  flow_->addItems({Tr(StringId::FlowNone), Tr(StringId::FlowHardware), Tr(StringId::FlowXonXoff)});
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
  SelectByPrefix(speed_, QString::number(static_cast<unsigned>(settings_.baudRate)));
  SelectByPrefix(dataSize_, QString::number(settings_.dataSize) + QStringLiteral(" ビット"));
  SelectByPrefix(parity_, CodeText(settings_.parity, StringId::ParityNone, StringId::ParityOdd, StringId::ParityEven));
  SelectByPrefix(stopBits_,
                 CodeText(settings_.stopBits, StringId::StopBitsOne, StringId::StopBitsOneHalf, StringId::StopBitsTwo));
  SelectByPrefix(flow_, CodeText(settings_.flowControl, StringId::FlowNone, StringId::FlowHardware, StringId::FlowXonXoff));

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

void CCommSettingDlg::SelectByPrefix(QComboBox* box, const QString& prefix) {
  for (int i = 0; i < box->count(); ++i) {
    if (box->itemText(i).startsWith(prefix, Qt::CaseInsensitive)) {
      box->setCurrentIndex(i);
      return;
    }
  }
}

void CCommSettingDlg::AppendHighSpeeds() {
  speed_->addItems({QStringLiteral("38400"), QStringLiteral("57600"), QStringLiteral("115200"), QStringLiteral("230400")});
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
  settings_.baudRate = speed_->currentIndex() >= 0 ? LeadingValue(speed_->currentText()) : 0;
  settings_.dataSize = static_cast<uint8_t>(dataSize_->currentIndex() >= 0 ? LeadingValue(dataSize_->currentText()) : 0);
  settings_.parity = PositionCode(parity_);
  settings_.stopBits = PositionCode(stopBits_);
  settings_.flowControl = PositionCode(flow_);
  QDialog::accept();
}

}  // namespace rxt4
