// The transfer and update dialogs: their states and texts as the job reports, the
// cancel confirmation, an instrument that never answers, and an invalid image.
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "AppTests.h"
#include "CommSettingDlg.h"
#include "PortAdviceLabel.h"
#include "TransferDlg.h"
#include "UpdateDlg.h"
#include "rxt4/link/DemoFirmware.h"

namespace rxt4::test {
namespace {

// A port that opens and accepts every byte but never answers.
class SilentPort : public PortBackend {
 public:
  PortError Open(const std::string&, int baud) override {
    baud_ = baud;
    return PortError::Success;
  }
  void Close() override {}
  PortError Write(const std::uint8_t*, std::size_t, int, const std::atomic<bool>&) override { return PortError::Success; }
  PortError Read(std::uint8_t*, std::size_t& length, int) override {
    length = 0;
    return PortError::Success;
  }
  PortError Poll(int timeoutMs, const std::atomic<bool>& abort) override {
    for (int waited = 0; waited < timeoutMs; waited += 5) {
      if (abort.load()) return PortError::Aborted;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return PortError::Timeout;
  }
  PortError Queued(std::uint32_t& count) override {
    count = 0;
    return PortError::Success;
  }
  int BaudRate() const override { return baud_; }
  int SystemError() const override { return 0; }

 private:
  int baud_ = 0;
};

// A port the user may not open.
class DeniedPort : public SilentPort {
 public:
  PortError Open(const std::string&, int) override { return PortError::OpenFailed; }
  int SystemError() const override { return EACCES; }
};

// Passes a job's reports on to the dialog and notes when the worker itself has
// reported its end (after the dialog has already shown a cancel, say).
class EndTap : public TransferObserver {
 public:
  void progress(TransferKind kind, int percent) override { dialog->progress(kind, percent); }
  void modeWait() override { dialog->modeWait(); }
  void retrying(TransferKind kind, int retry) override { dialog->retrying(kind, retry); }
  void finished(LinkResult result, int value) override {
    dialog->finished(result, value);  // queued onto the dialog's thread before ended is seen
    ended = true;
  }

  TransferObserver* dialog = nullptr;
  std::atomic<bool> ended{false};
};

// Every line of the advice shown lies inside its area, and the area inside the dialog.
void AdviceLiesInside(QDialog& dialog) {
  dialog.adjustSize();
  QApplication::processEvents();
  const auto* advice = dialog.findChild<PortAdviceLabel*>();
  QVERIFY(advice != nullptr && advice->isVisible());
  QVERIFY(advice->text().contains(QStringLiteral("dialout")));
  const QRect text = advice->fontMetrics().boundingRect(QRect(0, 0, advice->contentsRect().width(), 100000),
                                                        Qt::TextWordWrap, advice->text());
  QVERIFY2(text.height() <= advice->contentsRect().height(), qPrintable(QString::number(text.height())));
  const QRect area(advice->mapTo(&dialog, QPoint(0, 0)), advice->size());
  QVERIFY(dialog.rect().contains(area));
}

const QString kConnecting = QStringLiteral("RXT4との接続確認を行います。");
const QString kLinkFailed = QStringLiteral("通信に失敗しました。\nRXT4との接続を確認してください。");

}  // namespace

class LinkDialogsTest : public QObject {
  Q_OBJECT
 private slots:
  void transferShowsProgressModeWaitAndTheEnd() {
    FakePrompts prompts;
    QTemporaryDir dir;
    EndTap tap;
    CTransferDlg dialog(CommSettings{}, dir.path().toStdString(), prompts, nullptr, [&tap](TransferObserver* o) {
      tap.dialog = o;
      tap.ended = false;
      return std::make_unique<CTransferThread>(&tap, std::make_unique<SilentPort>());
    });
    QCOMPARE(dialog.message(), kConnecting);
    QVERIFY(dialog.startButton()->isVisibleTo(&dialog));
    QVERIFY(dialog.cancelButton()->isVisibleTo(&dialog));
    QVERIFY(!dialog.okButton()->isVisibleTo(&dialog));
    QVERIFY(!dialog.progressBar()->isVisibleTo(&dialog));

    dialog.Start();
    QCOMPARE(dialog.state(), CTransferDlg::kRunning);
    QVERIFY(dialog.okButton()->isVisibleTo(&dialog));
    QVERIFY(!dialog.cancelButton()->isVisibleTo(&dialog));
    QVERIFY(dialog.progressBar()->isVisibleTo(&dialog));
    QCOMPARE(dialog.progressBar()->maximum(), 700);
    dialog.OnModeWait();
    QCOMPARE(dialog.message(), QStringLiteral("通信に成功しました。\nRXT4をデータ転送モードに設定して下さい。"));
    QVERIFY(!dialog.okButton()->isEnabled());
    dialog.OnProgress(1, 100);
    QCOMPARE(dialog.message(), QStringLiteral("データ転送中"));
    QCOMPARE(dialog.progressBar()->value(), 200);

    // Cancel answered No: still running. Yes: cancelled at once, the late report is ignored.
    prompts.answerYes = false;
    dialog.reject();
    QCOMPARE(dialog.state(), CTransferDlg::kRunning);
    QCOMPARE(prompts.asked.last(), QStringLiteral("データ転送を中止します。\nよろしいですか？"));
    QCOMPARE(prompts.lastCaption, QStringLiteral("データ転送"));
    prompts.answerYes = true;
    dialog.reject();
    QCOMPARE(dialog.state(), CTransferDlg::kFailed);
    QCOMPARE(dialog.message(), QStringLiteral("データ転送を中止しました。"));
    QVERIFY(dialog.okButton()->isEnabled());
    QTRY_VERIFY(tap.ended);
    QCoreApplication::processEvents();  // the worker's own report has reached the dialog
    QCOMPARE(dialog.message(), QStringLiteral("データ転送を中止しました。"));
    // OK resets to the first message.
    dialog.Ok();
    QCOMPARE(dialog.state(), CTransferDlg::kIdle);
    QCOMPARE(dialog.message(), kConnecting);
    QCOMPARE(dialog.progressBar()->value(), 0);

    // A finished transfer: OK closes.
    dialog.Start();
    dialog.OnFinished(LinkResult::Success, 0);
    QCOMPARE(dialog.state(), CTransferDlg::kDone);
    QCOMPARE(dialog.message(), QStringLiteral("データ転送が完了しました。"));
    dialog.Ok();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
  }

  void transferToAMissingPortFailsWithTheLinkMessage() {
    FakePrompts prompts;
    QTemporaryDir dir;
    CommSettings settings;
    settings.comPort = (dir.path() + QStringLiteral("/no-such-tty")).toStdString();
    CTransferDlg dialog(settings, dir.path().toStdString(), prompts);
    dialog.Start();
    QTRY_COMPARE_WITH_TIMEOUT(int(dialog.state()), int(CTransferDlg::kFailed), 3000);
    QCOMPARE(dialog.message(), kLinkFailed);
    // The reason appears below the message: the device and the system's words for ENOENT.
    QVERIFY(dialog.detail().startsWith(QString::fromStdString(settings.comPort) + QStringLiteral(": ")));
    QVERIFY(dialog.detail().contains(QString::fromLocal8Bit(std::strerror(ENOENT))));
    QVERIFY(!dialog.detail().contains(QStringLiteral("dialout")));
    dialog.reject();  // Cancel in the failed state resets
    QVERIFY(dialog.detail().isEmpty());
    QCOMPARE(dialog.state(), CTransferDlg::kIdle);
    QVERIFY(prompts.asked.isEmpty());
  }

  void transferIntoAFileNamesTheFolderAndTheReason() {
    FakePrompts prompts;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("0412"));
    QFile(file).open(QIODevice::WriteOnly);
    CTransferDlg dialog(CommSettings{}, file.toStdString(), prompts, nullptr,
                        [](TransferObserver* o) { return std::make_unique<CTransferThread>(o, std::make_unique<SilentPort>()); });
    dialog.Start();
    QTRY_COMPARE_WITH_TIMEOUT(int(dialog.state()), int(CTransferDlg::kFailed), 3000);
    // A folder problem is a saving failure, not one of the cable; the reason in words.
    QCOMPARE(dialog.message(), QStringLiteral("データを保存できませんでした。"));
    QCOMPARE(dialog.detail(), QStringLiteral("保存先のフォルダに書き込めません: ") + file + QStringLiteral("（フォルダではありません）"));
  }

  void updateRefusesAnInvalidImageAndReportsTheEnd() {
    FakePrompts prompts;
    QTemporaryDir dir;
    PutFile(dir.path(), QStringLiteral("bad.img"), "not an image");
    CUpdateDlg dialog(CommSettings{}, prompts, nullptr,
                      [](UpdateObserver* o) { return std::make_unique<CUpdateThread>(o, std::make_unique<SilentPort>()); });
    QVERIFY(!dialog.cancelButton()->isVisibleTo(&dialog));
    QVERIFY(!dialog.okButton()->isVisibleTo(&dialog));
    // A damaged image is refused when it is chosen, with the failed check as rxt4 image words it.
    prompts.openFile = dir.path() + QStringLiteral("/bad.img");
    dialog.Browse();
    QCOMPARE(prompts.openSuffix, QStringLiteral("img"));
    QCOMPARE(prompts.openFilter, QStringLiteral("firm image(*.img);;すべて(*.*)"));
    QCOMPARE(prompts.informed.last(),
             QStringLiteral("指定したファイルは有効なアップデート用ファイルではありません。\nフォルダ・ファイルを選択しなおしてください。\n"
                            "Main 部分: ヘッダーの途中でファイルが終わっています"));
    QVERIFY(dialog.pathEdit()->text().isEmpty());
    // Typed, it is refused at UPDATE with the general message.
    dialog.pathEdit()->setText(*prompts.openFile);
    dialog.StartUpdate();
    QVERIFY(!dialog.busy());
    QCOMPARE(prompts.informed.last(),
             QStringLiteral("指定したファイルは有効なアップデート用ファイルではありません。\nフォルダ・ファイルを選択しなおしてください。"));
    QCOMPARE(prompts.lastCaption, QStringLiteral("アップデート"));
    QVERIFY(dialog.updateButton()->isVisibleTo(&dialog));

    // The reports of a run, as the job gives them.
    dialog.OnState(false, 0);
    QCOMPARE(dialog.message(), QStringLiteral("リモート更新モードで接続します。\nRXT4 を更新モードで起動してください。"));
    QVERIFY(dialog.cancelButton()->isVisibleTo(&dialog));
    dialog.OnState(true, 5);
    QCOMPARE(dialog.message(), QStringLiteral("アップデート中。\nUSBケーブルを抜かないでください。"));
    QVERIFY(!dialog.cancelButton()->isVisibleTo(&dialog));
    QCOMPARE(dialog.progressBar()->maximum(), 5);
    for (std::uint32_t block : {1u, 1u, 0u, 2u, 2u}) dialog.OnProgress(block, 2);
    QCOMPARE(dialog.progressBar()->value(), 2);  // repeated numbers and 0 do not move the bar
    dialog.OnVersions("1.02    ", "1.03    ");
    dialog.OnVersions("9.99    ", "9.99    ");  // only the first part's versions are shown
    dialog.OnFinished(LinkResult::Success, 0);
    QCOMPARE(dialog.message(), QStringLiteral("Ver.1.02 から Ver.1.03 にアップデートが完了しました。"));
    QVERIFY(dialog.okButton()->isVisibleTo(&dialog));

    prompts.informed.clear();
    dialog.OnFinished(LinkResult::WaitFailed, 0x01);
    QCOMPARE(prompts.informed.last(), kLinkFailed);
    QVERIFY(dialog.updateButton()->isVisibleTo(&dialog));
    QVERIFY(!dialog.progressBar()->isVisibleTo(&dialog));
  }

  void enterInTheFirstStepStartsTheTransfer() {
    FakePrompts prompts;
    QTemporaryDir dir;
    CTransferDlg dialog(CommSettings{}, dir.path().toStdString(), prompts, nullptr,
                        [](TransferObserver* o) { return std::make_unique<CTransferThread>(o, std::make_unique<SilentPort>()); });
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(dialog.startButton()->isDefault());
    QTest::keyClick(&dialog, Qt::Key_Return);
    QCOMPARE(dialog.state(), CTransferDlg::kRunning);
    QVERIFY(dialog.isVisible());
    QVERIFY(dialog.okButton()->isDefault());
  }

  void thePortAdviceIsShownWholeInEveryLinkDialog() {
    FakePrompts prompts;
    QTemporaryDir dir;
    CommSettings settings;
    settings.comPort = "/dev/ttyACM0";
    CTransferDlg transfer(settings, dir.path().toStdString(), prompts, nullptr,
                          [](TransferObserver* o) { return std::make_unique<CTransferThread>(o, std::make_unique<DeniedPort>()); });
    transfer.show();
    transfer.Start();
    QTRY_COMPARE_WITH_TIMEOUT(int(transfer.state()), int(CTransferDlg::kFailed), 3000);
    AdviceLiesInside(transfer);

    const QString image = dir.path() + QStringLiteral("/demo.img");
    QVERIFY(WriteDemoFirmwareImage(FsPath(image)));
    CUpdateDlg update(settings, prompts, nullptr,
                      [](UpdateObserver* o) { return std::make_unique<CUpdateThread>(o, std::make_unique<DeniedPort>()); });
    update.show();
    update.pathEdit()->setText(image);
    update.StartUpdate();
    QTRY_VERIFY_WITH_TIMEOUT(!update.busy(), 3000);
    AdviceLiesInside(update);

    CCommSettingDlg comm(settings, {}, nullptr);
    comm.probePort = [](const std::string&) { return EACCES; };
    comm.show();
    comm.portBox()->setEditText(QStringLiteral("/dev/ttyACM0"));
    comm.CheckPort();
    AdviceLiesInside(comm);
  }

  void updateCancelledWhileWaitingSaysSoAndTheDialogShrinksBack() {
    FakePrompts prompts;
    QTemporaryDir dir;
    const QString image = dir.path() + QStringLiteral("/demo.img");
    QVERIFY(WriteDemoFirmwareImage(FsPath(image)));
    CUpdateDlg dialog(CommSettings{}, prompts, nullptr,
                      [](UpdateObserver* o) { return std::make_unique<CUpdateThread>(o, std::make_unique<SilentPort>()); });
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QSize compact = dialog.size();
    dialog.pathEdit()->setText(image);
    dialog.StartUpdate();
    QVERIFY(dialog.busy());
    QVERIFY(!dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));  // no closing while busy
    QTRY_VERIFY(dialog.cancelButton()->isVisible());  // waiting for the update mode
    QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
    QTRY_VERIFY(!dialog.busy());
    QCOMPARE(prompts.informed, QStringList{QStringLiteral("アップデートを中止しました。")});
    QCOMPARE(prompts.lastCaption, QStringLiteral("アップデート"));
    QVERIFY(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    QTRY_COMPARE(dialog.size(), compact);  // no gap above UPDATE

    // After a success Enter is OK, which closes the dialog.
    dialog.OnFinished(LinkResult::Success, 0);
    QVERIFY(dialog.okButton()->isVisible());
    QTest::keyClick(&dialog, Qt::Key_Return);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
  }
};

QObject* NewLinkDialogsTest() { return new LinkDialogsTest; }

}  // namespace rxt4::test

#include "LinkDialogsTest.moc"
