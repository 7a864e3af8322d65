// Whole jobs through the dialogs against the instrument simulator on a
// pseudo-terminal: a data transfer, then the downloaded set opened in the main
// window; a firmware update of a Main and a TSNM part.
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProgressBar>
#include <QTest>
#include <QTreeView>

#include "AppTests.h"
#include "../link/FirmwareImageBuilder.h"
#include "TransferDlg.h"
#include "UpdateDlg.h"
#include <QLineEdit>
#include <QPushButton>

namespace rxt4::test {

class TransferEndToEndTest : public QObject {
  Q_OBJECT
 private slots:
  void downloadIntoAFolderAndOpenIt() {
    QTemporaryDir dir;
    const QString link = dir.path() + QStringLiteral("/port");
    QProcess sim;
    sim.start(QStringLiteral(RXT4_BIN_DIR "/rxt4-sim"), {QStringLiteral("--link"), link});
    QVERIFY(sim.waitForStarted(5000));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(link).isSymLink(), 5000);

    const QString setFolder = dir.path() + QStringLiteral("/RXT4/SET");
    QVERIFY(QDir().mkpath(setFolder));
    FakePrompts prompts;
    CommSettings settings;
    settings.comPort = link.toStdString();
    CTransferDlg dialog(settings, setFolder.toStdString(), prompts);
    dialog.Start();
    QTRY_COMPARE_WITH_TIMEOUT(int(dialog.state()), int(CTransferDlg::kDone), 20000);
    QCOMPARE(dialog.message(), QStringLiteral("データ転送が完了しました。"));
    QCOMPARE(dialog.progressBar()->value(), 700);
    sim.terminate();
    sim.waitForFinished(5000);

    // Every kind arrived and reads back: one folder "SET" under each root.
    ViewerFixture f;
    f.window->OpenFolder(dir.path() + QStringLiteral("/RXT4"));
    QVERIFY(f.prompts.informed.isEmpty());
    const QAbstractItemModel& model = *Tree(*f.window).model();
    for (int root = 0; root < 7; ++root) {
      QCOMPARE(model.rowCount(model.index(root, 0)), 1);
      QCOMPARE(model.index(0, 0, model.index(root, 0)).data().toString(), QStringLiteral("SET"));
      QVERIFY(model.rowCount(model.index(0, 0, model.index(root, 0))) > 0);
    }
  }

  void anInstrumentAtAnotherRateIsNamedWithBothRates() {
    QTemporaryDir dir;
    const QString link = dir.path() + QStringLiteral("/port");
    QProcess sim;
    sim.start(QStringLiteral(RXT4_BIN_DIR "/rxt4-sim"), {QStringLiteral("--link"), link, QStringLiteral("--baud"),
                                                          QStringLiteral("19200")});
    QVERIFY(sim.waitForStarted(5000));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(link).isSymLink(), 5000);
    FakePrompts prompts;
    CommSettings settings;
    settings.comPort = link.toStdString();
    settings.baudRate = 9600;
    CTransferDlg dialog(settings, dir.path().toStdString(), prompts);
    dialog.Start();
    QTRY_COMPARE_WITH_TIMEOUT(int(dialog.state()), int(CTransferDlg::kFailed), 10000);
    QCOMPARE(dialog.message(), QStringLiteral("RXT4との接続が確認できません。"));
    QCOMPARE(dialog.detail(), QStringLiteral("通信速度が一致しません（PC: 9600 bps、RXT4: 19200 bps）"));
    sim.terminate();
    sim.waitForFinished(5000);
  }

  void updateMainAndTsnmThroughTheDialog() {
    QTemporaryDir dir;
    const QString link = dir.path() + QStringLiteral("/port");
    QProcess sim;
    sim.start(QStringLiteral(RXT4_BIN_DIR "/rxt4-sim"),
              {QStringLiteral("--link"), link, QStringLiteral("--update-mode"), QStringLiteral("--received"),
               dir.path() + QStringLiteral("/rx"), QStringLiteral("--fw-version"), QStringLiteral("main:1.02    ")});
    QVERIFY(sim.waitForStarted(5000));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(link).isSymLink(), 5000);

    imagetest::Bytes image = imagetest::MainPart("1.03", imagetest::Pattern(3000), imagetest::Pattern(100, 5));
    imagetest::Append(image, imagetest::TsnmPart("T2.00", imagetest::Pattern(992, 6)));
    const QString file = dir.path() + QStringLiteral("/fw.img");
    imagetest::WriteFile(file.toStdString(), image);

    FakePrompts prompts;
    CommSettings settings;
    settings.comPort = link.toStdString();  // 9600 in the settings: the update runs at 115200 anyway
    CUpdateDlg dialog(settings, prompts);
    dialog.pathEdit()->setText(file);
    dialog.StartUpdate();
    QVERIFY(dialog.busy());
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.busy(), 20000);
    QVERIFY(prompts.informed.isEmpty());
    QCOMPARE(dialog.message(), QStringLiteral("Ver.1.02 から Ver.1.03 にアップデートが完了しました。"));
    QVERIFY(dialog.okButton()->isVisibleTo(&dialog));
    sim.terminate();
    sim.waitForFinished(5000);
  }
};

QObject* NewTransferEndToEndTest() { return new TransferEndToEndTest; }

}  // namespace rxt4::test

#include "TransferEndToEndTest.moc"
