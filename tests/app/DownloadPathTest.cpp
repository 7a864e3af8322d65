// The everyday download path of the viewer: the destination guards before the
// transfer, what the transfer dialog shows, the downloaded set shown afterwards, what
// is remembered between runs, and item numbers that line up.
#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QTest>
#include <QTreeView>

#include "AppTests.h"
#include "DataTreeModel.h"
#include "ScreenView.h"
#include "TransferDlg.h"
#include "ViewerApp.h"

namespace rxt4::test {
namespace {

const QDate kToday(2024, 4, 12);
const QString kOverwrite = QStringLiteral("このフォルダには既にデータがあります。上書きしますか？");
const QString kOpenDownloaded = QStringLiteral("ダウンロードしたデータを開きますか？");

QString NewSetQuestion(const QString& dataFolder, const QString& name) {
  return QStringLiteral("データフォルダ「") + dataFolder + QStringLiteral("」の中に新しいフォルダ「") + name +
         QStringLiteral("」を作成して保存しますか？");
}

// Writes the level table of a download into a set folder: two measurements.
void WriteLevelSet(const QString& setFolder, const std::string& firstName) {
  const std::string name = QFile::encodeName(QFileInfo(setFolder).fileName()).toStdString();
  PutFile(setFolder, QString::fromStdString("LEVEL/" + name + ".cnt"), "2\n2.00");
  PutFile(setFolder, QString::fromStdString("LEVEL/" + name + ".CSV"),
          "No.,Name\n" + MeasurementLine(1, firstName) + MeasurementLine(2, "second"));
}

// A main window whose transfer writes a level table into the folder (or fails), on a fixed day.
class DownloadingViewer : public CMainWindow {
 public:
  using CMainWindow::CMainWindow;
  bool succeed = true;
  QStringList transfers;

 protected:
  bool RunTransferDialog(const QString& folder) override {
    transfers << folder;
    if (succeed) WriteLevelSet(folder, "new");
    return succeed;
  }
  QDate Today() const override { return kToday; }
};

struct DownloadingFixture {
  DownloadingFixture() : settings((dir.path() + QStringLiteral("/cfg/RXT4_Viewer.ini")).toStdString()) {
    window = std::make_unique<DownloadingViewer>(TestServices(prompts, settings));
    window->Initialise();
    window->show();
  }
  QTemporaryDir dir;
  FakePrompts prompts;
  SettingsFile settings;
  std::unique_ptr<DownloadingViewer> window;
};

QString CurrentLabel(QWidget& w) { return Tree(w).currentIndex().data().toString(); }
QString CurrentParentLabel(QWidget& w) { return Tree(w).currentIndex().parent().data().toString(); }

}  // namespace

class DownloadPathTest : public QObject {
  Q_OBJECT
 private slots:
  void destinationGuardsAskAndReturnToTheFolderChoice() {
    const std::optional<QString> cancel;
    const struct {
      const char* what;
      QStringList folders;  // relative to the temporary folder; "-" cancels the picker
      QList<bool> answers;
      const char* result;   // relative; nullptr: nothing chosen
      QStringList asked;    // with "%D" for the temporary folder
      bool made0412_2;
    } cases[] = {
        {"empty set folder", {"Other/0413"}, {}, "Other/0413", {}, false},
        {"plain folder", {"Other"}, {}, "Other", {}, false},
        {"measurements: No, then Yes", {"RXT4/0412", "RXT4/0412"}, {false, true}, "RXT4/0412", {kOverwrite, kOverwrite},
         false},
        {"data folder: Yes", {"RXT4"}, {true}, "RXT4/0412-2", {NewSetQuestion("%D/RXT4", "0412-2")}, true},
        {"data folder by its sets: No, then cancel", {"Archive", "-"}, {false}, nullptr,
         {NewSetQuestion("%D/Archive", "0412")}, false},
        {"cancelled", {"-"}, {}, nullptr, {}, false},
    };
    for (const auto& c : cases) {
      QTemporaryDir dir;
      const QString root = dir.path();
      WriteLevelSet(root + QStringLiteral("/RXT4/0412"), "old");
      WriteLevelSet(root + QStringLiteral("/Archive/0101"), "old");
      QDir().mkpath(root + QStringLiteral("/Other/0413"));
      FakePrompts prompts;
      for (const QString& f : c.folders) prompts.folders << (f == QStringLiteral("-") ? cancel : root + '/' + f);
      prompts.answers = c.answers;
      QString start = QStringLiteral("/start");
      const auto chosen = CTransferDlg::ChooseDestination(nullptr, prompts, start, kToday);
      QVERIFY2(chosen.has_value() == (c.result != nullptr), c.what);
      if (c.result) QCOMPARE(chosen->folder, root + '/' + QString::fromUtf8(c.result));
      if (c.result) QCOMPARE(chosen->made, c.made0412_2);
      QStringList asked = c.asked;
      asked.replaceInStrings(QStringLiteral("%D"), root);
      QCOMPARE(prompts.asked, asked);
      QVERIFY2(prompts.folders.isEmpty(), c.what);  // every folder choice was asked for
      QCOMPARE(QFileInfo(root + QStringLiteral("/RXT4/0412-2")).isDir(), c.made0412_2);
      QCOMPARE(prompts.informed, QStringList());
      if (!c.folders.isEmpty() && c.folders.first() != QStringLiteral("-"))
        QCOMPARE(start, root + '/' + c.folders.first());  // the picker starts there next time
    }
  }

  void aCompletedDownloadIsShownOrOffered() {
    DownloadingFixture f;
    DownloadingViewer& w = *f.window;
    const QString data = MakeDataFolder(f.dir);
    w.OpenFolder(data);

    // Into the open data folder, through the new-folder offer: reloaded and selected, no question.
    f.prompts.folders << data;
    Trigger(w, "transferAction");
    QCOMPARE(w.transfers, QStringList{data + QStringLiteral("/0412-2")});
    QCOMPARE(f.prompts.asked, QStringList{NewSetQuestion(data, QStringLiteral("0412-2"))});
    QCOMPARE(CurrentParentLabel(w), QStringLiteral("0412-2"));
    QCOMPARE(CurrentLabel(w), QStringLiteral("\u2007\u20071:new"));
    QCOMPARE(LabelText(w, "dataName"), QStringLiteral("new"));
    QCOMPARE(LabelText(w, "folderPath"), data);

    // A failed transfer changes nothing.
    w.succeed = false;
    const QString elsewhere = f.dir.path() + QStringLiteral("/Elsewhere");
    QDir().mkpath(elsewhere + QStringLiteral("/0501"));
    f.prompts.folders << elsewhere + QStringLiteral("/0501");
    f.prompts.asked.clear();
    Trigger(w, "transferAction");
    QCOMPARE(f.prompts.asked, QStringList());
    QCOMPARE(CurrentParentLabel(w), QStringLiteral("0412-2"));
    QVERIFY(QFileInfo(elsewhere + QStringLiteral("/0501")).isDir());  // the user's own folder stays
    // ...and through the new-folder offer the folder made for it goes again.
    f.prompts.folders << data;
    Trigger(w, "transferAction");
    QCOMPARE(w.transfers.last(), data + QStringLiteral("/0412-3"));
    QVERIFY(!QFileInfo::exists(data + QStringLiteral("/0412-3")));
    f.prompts.asked.clear();

    // Elsewhere: offered; No keeps the open folder, Yes opens the download's data folder.
    w.succeed = true;
    f.prompts.folders << elsewhere + QStringLiteral("/0501");
    f.prompts.answers = {false};
    Trigger(w, "transferAction");
    QCOMPARE(f.prompts.asked, QStringList{kOpenDownloaded});
    QCOMPARE(LabelText(w, "folderPath"), data);
    QDir().mkpath(elsewhere + QStringLiteral("/0502"));
    f.prompts.folders << elsewhere + QStringLiteral("/0502");
    f.prompts.answers = {true};
    Trigger(w, "transferAction");
    QCOMPARE(LabelText(w, "folderPath"), elsewhere);
    QCOMPARE(CurrentParentLabel(w), QStringLiteral("0502"));
    QCOMPARE(CurrentLabel(w), QStringLiteral("\u2007\u20071:new"));
    QCOMPARE(f.prompts.informed, QStringList());
  }

  void theTransferDialogShowsWhereWhatAndRetries() {
    FakePrompts prompts;
    CTransferDlg dialog(CommSettings{}, "/media/usb/RXT4/0412", prompts);
    QCOMPARE(dialog.destinationText(), QStringLiteral("保存先: /media/usb/RXT4/0412"));
    QCOMPARE(dialog.kindText(), QString());
    dialog.OnProgress(2, 40);
    QCOMPARE(dialog.kindText(), QStringLiteral("コンスタレーションデータ (3/7)"));
    QVERIFY(!dialog.retryShown());
    dialog.OnRetry(2, 1);
    QVERIFY(dialog.retryShown());
    // The block arrives at once: the mark stays a moment, long enough to be seen.
    dialog.OnProgress(2, 60);
    QVERIFY(dialog.retryShown());
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.retryShown(), CTransferDlg::kRetryShownMs + 1000);
    // Retried and still waiting when the moment is over: it stays until the block arrives.
    dialog.OnRetry(2, 1);
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.retryMomentRunning(), CTransferDlg::kRetryShownMs + 5000);
    QVERIFY(dialog.retryShown());
    dialog.OnProgress(2, 80);
    QVERIFY(!dialog.retryShown());
    dialog.OnRetry(6, 3);
    dialog.OnFinished(LinkResult::ReplyFailed, 0x24);
    QVERIFY(!dialog.retryShown());
    QCOMPARE(dialog.kindText(), QString());
  }

  void theViewIsRememberedBetweenRuns() {
    QTemporaryDir dir;
    const QString data = MakeDataFolder(dir);
    SettingsFile settings((dir.path() + QStringLiteral("/cfg/RXT4_Viewer.ini")).toStdString());
    QPoint left;
    {
      FakePrompts prompts;
      CMainWindow w(TestServices(prompts, settings));
      w.Initialise();
      w.show();
      w.OpenFolder(data);
      Trigger(w, "zoom2");
      left = w.geometry().topLeft();
      Trigger(w, "exitAction");
      QVERIFY(!w.isVisible());
    }
    QCOMPARE(settings.Remembered().dataFolder, data.toStdString());
    QCOMPARE(settings.Remembered().zoom, 2);
    QVERIFY(settings.Remembered().hasPosition);
    QCOMPARE(QPoint(settings.Remembered().left, settings.Remembered().top), left);

    FakePrompts prompts;
    SettingsFile next(settings.IniPath());
    CMainWindow w(TestServices(prompts, next));
    w.Initialise();
    const ScreenView& view = Find<ScreenView>(w, "screenArea");
    QCOMPARE(view.zoom(), 2);
    w.show();
    // Still limited to what fits the screen.
    QCOMPARE(view.zoom(), Find<QAction>(w, "zoom2").isEnabled() ? 2 : 1);
    w.OpenRememberedFolder();
    QCOMPARE(LabelText(w, "folderPath"), data);
    QCOMPARE(Tree(w).model()->rowCount(TreeItem(w, {0})), 1);

    // A remembered folder that is gone: nothing opens, nothing is said.
    QDir(data).removeRecursively();
    CMainWindow again(TestServices(prompts, next));
    again.Initialise();
    again.OpenRememberedFolder();
    QCOMPARE(LabelText(again, "folderPath"), QString());
    QCOMPARE(prompts.informed, QStringList());
  }

  void theRememberedPositionIsKeptOnAScreen() {
    const QList<QRect> screens = {QRect(0, 0, 1400, 900), QRect(1400, 0, 1920, 1080)};
    const struct {
      QRect frame;
      std::optional<QPoint> placed;
    } cases[] = {
        {QRect(100, 100, 800, 600), QPoint(100, 100)},
        {QRect(-300, -50, 800, 600), QPoint(0, 0)},
        {QRect(1300, 100, 800, 600), QPoint(1400, 100)},  // mostly on the second screen
        {QRect(1000, 500, 800, 600), QPoint(1400, 480)},
        {QRect(0, 0, 2000, 1000), QPoint(0, 0)},          // larger than the screen: its corner
        {QRect(5000, 5000, 800, 600), std::nullopt},       // a screen since removed
    };
    for (const auto& c : cases) QCOMPARE(KeepOnScreens(c.frame, screens), c.placed);
  }

  void itemNumbersLineUp() {
    ViewerFixture f;
    std::string rows = "No.,Name\n";
    for (int i = 1; i <= 12; ++i) rows += MeasurementLine(i, "M" + std::to_string(i));
    PutFile(f.dir.path(), QStringLiteral("RXT4/0412/LEVEL/0412.cnt"), "12\n2.00");
    PutFile(f.dir.path(), QStringLiteral("RXT4/0412/LEVEL/0412.CSV"), rows);
    f.window->OpenFolder(f.dir.path() + QStringLiteral("/RXT4"));
    const QAbstractItemModel& model = *Tree(*f.window).model();
    const QModelIndex set = model.index(0, 0, model.index(0, 0));
    const QString seven = model.index(6, 0, set).data().toString();
    const QString twelve = model.index(11, 0, set).data().toString();
    QCOMPARE(seven, QStringLiteral("\u2007\u20077:M7"));
    QCOMPARE(twelve, QStringLiteral("\u200712:M12"));
    const QFontMetricsF metrics(Tree(*f.window).font());
    QCOMPARE(metrics.horizontalAdvance(seven.left(4)), metrics.horizontalAdvance(twelve.left(4)));
    QCOMPARE(metrics.horizontalAdvance(seven.left(4)), metrics.horizontalAdvance(QStringLiteral("123:")));
  }
};

QObject* NewDownloadPathTest() { return new DownloadPathTest; }

}  // namespace rxt4::test

#include "DownloadPathTest.moc"
