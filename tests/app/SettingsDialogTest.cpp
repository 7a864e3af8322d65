// The communication settings and message option dialogs: the speed list rules, the
// stored values each list shows, the OK rules, and the commands writing the settings file.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "AppTests.h"
#include "CommSettingDlg.h"
#include "MessageOptionDlg.h"

namespace rxt4::test {
namespace {

const std::vector<PortInfo> kPorts = {{"/dev/ttyUSB0", "RXT4 USB", 1, 2}, {"/dev/ttyACM0", "", -1, -1}};

QStringList Items(const QComboBox* box) {
  QStringList items;
  for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
  return items;
}

CommSettings Stored(int baud, std::string port = "/dev/ttyACM0") {
  CommSettings s;
  s.comPort = std::move(port);
  s.baudRate = baud;
  return s;
}

const QStringList kThreeSpeeds = {"4800", "9600", "19200"};
const QStringList kSevenSpeeds = {"4800", "9600", "19200", "38400", "57600", "115200", "230400"};

}  // namespace

class SettingsDialogTest : public QObject {
  Q_OBJECT
 private slots:
  void cleanup() { SetLanguage(Language::Japanese); }  // a failed check in English leaves no English behind

  void highSpeedsAreOfferedWhenStoredOrWithShift() {
    CCommSettingDlg high(Stored(115200), kPorts);
    QCOMPARE(Items(high.speedBox()), kSevenSpeeds);
    QCOMPARE(high.speedBox()->currentText(), QStringLiteral("115200"));
    high.shiftHeld = [] { return false; };
    high.OnSpeedDropDown();  // a high rate selected: all seven stay
    QCOMPARE(Items(high.speedBox()), kSevenSpeeds);
    QCOMPARE(high.speedBox()->currentText(), QStringLiteral("115200"));

    CCommSettingDlg normal(Stored(9600), kPorts);
    QCOMPARE(Items(normal.speedBox()), kThreeSpeeds);
    QCOMPARE(normal.speedBox()->currentText(), QStringLiteral("9600"));
    normal.shiftHeld = [] { return false; };
    normal.OnSpeedDropDown();
    QCOMPARE(Items(normal.speedBox()), kThreeSpeeds);
    normal.shiftHeld = [] { return true; };
    normal.OnSpeedDropDown();
    QCOMPARE(Items(normal.speedBox()), kSevenSpeeds);
    normal.OnSpeedDropDown();  // no duplicates
    QCOMPARE(normal.speedBox()->count(), 7);
    normal.speedBox()->setCurrentIndex(6);
    normal.accept();
    QCOMPARE(normal.settings().baudRate, 230400);

    // Opened again without Shift while 9600 is selected: back to three.
    CCommSettingDlg again(Stored(9600), kPorts);
    again.shiftHeld = [] { return true; };
    again.OnSpeedDropDown();
    again.shiftHeld = [] { return false; };
    again.OnSpeedDropDown();
    QCOMPARE(Items(again.speedBox()), kThreeSpeeds);
  }

  void okRulesForUnlistedValuesAndHiddenLists() {
    CCommSettingDlg dialog(Stored(9600, "/dev/ttyS9"), kPorts);  // the port is not listed
    QCOMPARE(dialog.portBox()->currentIndex(), -1);
    QVERIFY(dialog.portBox()->currentText().isEmpty());
    QVERIFY(!dialog.dataSizeBox()->isVisibleTo(&dialog));
    QVERIFY(!dialog.parityBox()->isVisibleTo(&dialog));
    dialog.flowBox()->setCurrentIndex(-1);
    dialog.accept();
    QCOMPARE(dialog.settings().comPort, std::string("/dev/ttyS9"));  // the port box was not touched
    QCOMPARE(dialog.settings().flowControl, 255);  // no selection: position -1

    // The listed port is selected by its name; its description is shown beside it.
    CCommSettingDlg listed(Stored(9600, "/dev/ttyUSB0"), kPorts);
    QCOMPARE(listed.portBox()->currentIndex(), 0);
    QCOMPARE(listed.portBox()->currentText(), QStringLiteral("/dev/ttyUSB0  (RXT4 USB)"));
    listed.accept();
    QCOMPARE(listed.settings().comPort, std::string("/dev/ttyUSB0"));

    // A typed device path is taken as it is.
    CCommSettingDlg typed(Stored(9600), kPorts);
    typed.portBox()->lineEdit()->selectAll();
    QTest::keyClicks(typed.portBox()->lineEdit(), QStringLiteral(" /dev/pts/7 "));
    typed.accept();
    QCOMPARE(typed.settings().comPort, std::string("/dev/pts/7"));
  }

  void aStoredPortThatExistsShowsAndStaysUnlessChanged() {
    // A device the listing cannot show (the simulator's symlink to a pseudo-terminal).
    QTemporaryDir dir;
    const QString link = dir.path() + QStringLiteral("/rxt4");
    QVERIFY(QFile::link(QStringLiteral("/dev/null"), link));
    CCommSettingDlg typed(Stored(9600, link.toStdString()), kPorts);
    QCOMPARE(typed.portBox()->currentText(), link);
    typed.accept();
    QCOMPARE(typed.settings().comPort, link.toStdString());

    // Once the device is gone the box is empty, and OK still keeps the port.
    QVERIFY(QFile::remove(link));
    CCommSettingDlg gone(Stored(9600, link.toStdString()), kPorts);
    QVERIFY(gone.portBox()->currentText().isEmpty());
    gone.accept();
    QCOMPARE(gone.settings().comPort, link.toStdString());

    // Picking a listed port changes it.
    CCommSettingDlg picked(Stored(9600, link.toStdString()), kPorts);
    picked.portBox()->setCurrentIndex(1);
    emit picked.portBox()->activated(1);
    picked.accept();
    QCOMPARE(picked.settings().comPort, std::string("/dev/ttyACM0"));
  }

  void theChosenPortSaysWhyItWouldNotOpen() {
    // The stored port, tried for real: /dev/null is no serial port.
    CCommSettingDlg dialog(Stored(9600, "/dev/null"), kPorts);
    const QLabel* problem = dialog.portProblemLabel();
    dialog.show();
    const QSize size = dialog.size();
    QVERIFY(problem->text().startsWith(QStringLiteral("/dev/null: ")));
    QVERIFY(problem->text().contains(QStringLiteral("シリアルポートとして使えない")));

    QStringList tried;
    dialog.probePort = [&tried](const std::string& port) {
      tried << QString::fromStdString(port);
      return port == "/dev/ttyUSB0" ? EACCES : port == "/dev/ttyRXT4" ? EWOULDBLOCK : 0;
    };
    dialog.portBox()->setCurrentIndex(0);
    QVERIFY(problem->text().startsWith(QStringLiteral("/dev/ttyUSB0: ")));
    QVERIFY(problem->text().contains(QStringLiteral("dialout")));
    dialog.portBox()->setCurrentIndex(1);  // opens: nothing shown, and the dialog keeps its size
    QVERIFY(problem->text().isEmpty());
    QCOMPARE(dialog.size(), size);
    // A typed path is tried when the typing ends, not at each character.
    dialog.portBox()->lineEdit()->selectAll();
    QTest::keyClicks(dialog.portBox()->lineEdit(), QStringLiteral("/dev/ttyRXT4"));
    QCOMPARE(tried, QStringList({"/dev/ttyUSB0", "/dev/ttyACM0"}));
    emit dialog.portBox()->lineEdit()->editingFinished();
    QCOMPARE(tried.last(), QStringLiteral("/dev/ttyRXT4"));
    QVERIFY(problem->text().contains(QStringLiteral("使用中")));
    QCOMPARE(dialog.size(), size);
  }

  void eachListShowsTheStoredValueAndOkGivesItBack() {
    // Each entry is the table's text of its value (the value is its item data): both
    // languages show the same choices.
    using S = StringId;
    constexpr S kNone = static_cast<S>(0);
    const struct {
      int baud;
      int dataSize, parity, stopBits, flow;
      const char* speed;  // "" for none
      S shown[4];         // data size, parity, stop bits, flow control; kNone for none
      int back[5];        // the values OK gives
    } cases[] = {
        {115200, 8, 0, 2, 1, "115200", {S::DataSize8, S::ParityNone, S::StopBitsTwo, S::FlowHardware}, {115200, 8, 0, 2, 1}},
        {4800, 7, 1, 0, 0, "4800", {S::DataSize7, S::ParityOdd, S::StopBitsOne, S::FlowNone}, {4800, 7, 1, 0, 0}},
        {1200, 7, 2, 1, 2, "", {S::DataSize7, S::ParityEven, S::StopBitsOneHalf, S::FlowXonXoff}, {0, 7, 2, 1, 2}},
        // Values no entry holds: a rate or size shows nothing (OK gives 0), and a code
        // outside 0..2 shows the first entry; a leading part of a rate is no rate.
        {96, 9, 3, 255, 7, "", {kNone, S::ParityNone, S::StopBitsOne, S::FlowNone}, {0, 0, 0, 0, 0}},
    };
    for (Language language : {Language::Japanese, Language::English}) {
      SetLanguage(language);
      for (const auto& c : cases) {
        CommSettings s = Stored(c.baud);
        s.dataSize = static_cast<std::uint8_t>(c.dataSize);
        s.parity = static_cast<std::uint8_t>(c.parity);
        s.stopBits = static_cast<std::uint8_t>(c.stopBits);
        s.flowControl = static_cast<std::uint8_t>(c.flow);
        CCommSettingDlg dialog(s, kPorts);
        QCOMPARE(dialog.speedBox()->currentText(), QString::fromUtf8(c.speed));
        const QComboBox* boxes[] = {dialog.dataSizeBox(), dialog.parityBox(), dialog.stopBitsBox(), dialog.flowBox()};
        for (int i = 0; i < 4; ++i) QCOMPARE(boxes[i]->currentText(), c.shown[i] == kNone ? QString() : Tr(c.shown[i]));
        dialog.accept();
        const CommSettings& back = dialog.settings();
        QCOMPARE((std::vector<int>{back.baudRate, back.dataSize, back.parity, back.stopBits, back.flowControl}),
                 (std::vector<int>(std::begin(c.back), std::end(c.back))));
      }
    }
  }

  void messageOptionDialogGivesTheTickAtOk() {
    CMessageOptionDlg on(true);
    QVERIFY(on.checkBox()->isChecked());
    on.accept();
    QVERIFY(on.folderAlert());
    CMessageOptionDlg off(false);
    QVERIFY(!off.checkBox()->isChecked());
    off.checkBox()->setChecked(true);
    off.accept();
    QVERIFY(off.folderAlert());
    CMessageOptionDlg cleared(true);
    cleared.checkBox()->setChecked(false);
    cleared.accept();
    QVERIFY(!cleared.folderAlert());
  }

  void startUpDefaultPortIsTheFirstListed() {
    ViewerFixture f;
    QCOMPARE(f.settings->Comm().comPort, std::string("/dev/ttyUSB0"));
    QCOMPARE(f.settings->Comm().baudRate, 9600);
    QVERIFY(f.settings->FolderAlert());
  }
};

QObject* NewSettingsDialogTest() { return new SettingsDialogTest; }

}  // namespace rxt4::test

#include "SettingsDialogTest.moc"
