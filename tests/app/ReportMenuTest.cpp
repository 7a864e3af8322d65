// ファイル → レポートを作成... and エクスポート...: what they cover (the selected set folder,
// or the whole data folder), the files they write, their messages, and the progress
// dialog's cancel.
#include <QAction>
#include <QFile>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <chrono>
#include <thread>

#include "AppTests.h"
#include "DataTreeModel.h"
#include "ReportDlg.h"

namespace rxt4::test {
namespace {

QByteArray Head(const QString& file, int bytes) {
  QFile f(file);
  return f.open(QIODevice::ReadOnly) ? f.read(bytes) : QByteArray();
}

int Lines(const QString& file) {
  QFile f(file);
  return f.open(QIODevice::ReadOnly) ? static_cast<int>(f.readAll().count('\n')) : -1;
}

}  // namespace

class ReportMenuTest : public QObject {
  Q_OBJECT
 private slots:
  void withoutMeasurementsSaysSoAndAsksNothing() {
    ViewerFixture f;
    for (const char* action : {"reportAction", "exportAction"}) {
      Trigger(*f.window, action);
      QCOMPARE(f.prompts.informed.last(), Tr(StringId::ReportNothing));
      QVERIFY(f.prompts.saveTitle.isEmpty());
    }
  }

  void coversTheSelectedSetFolderOrTheWholeFolder() {
    ViewerFixture f;
    const QString root = MakeDataFolder(f.dir);
    PutFile(root, QStringLiteral("0413/LEVEL/0413.cnt"), "1\n2.00");
    PutFile(root, QStringLiteral("0413/LEVEL/0413.CSV"), "No.,Name\n" + MeasurementLine(1, "C1"));
    CMainWindow& w = *f.window;
    w.OpenFolder(root);
    const QAbstractItemModel& model = *Tree(w).model();
    const QModelIndex levelRoot = model.index(0, 0);
    // Set folders appear in the order the file system lists them.
    const int row0413 = model.index(0, 0, levelRoot).data().toString() == QStringLiteral("0413") ? 0 : 1;
    const QModelIndex set0413 = model.index(row0413, 0, levelRoot);
    const QModelIndex set0412 = model.index(1 - row0413, 0, levelRoot);
    QCOMPARE(set0413.data().toString(), QStringLiteral("0413"));

    // A set folder selected: that folder only, as CSV files.
    Tree(w).setCurrentIndex(set0413);
    f.prompts.saveFile = f.dir.path() + QStringLiteral("/sel.csv");
    Trigger(w, "exportAction");
    QCOMPARE(f.prompts.saveTitle, QStringLiteral("エクスポート"));
    QVERIFY(f.prompts.saveProposed.endsWith(QStringLiteral("/0413.db")));
    QCOMPARE(f.prompts.informed.last(),
             QStringLiteral("エクスポートが完了しました。\n") + f.dir.path() + QStringLiteral("/sel"));
    QCOMPARE(Lines(f.dir.path() + QStringLiteral("/sel/level.csv")), 1 + 1);
    QCOMPARE(Lines(f.dir.path() + QStringLiteral("/sel/ber.csv")), 1);

    // A measurement selected: its set folder, as a database (".db" added).
    Tree(w).setCurrentIndex(model.index(0, 0, set0412));
    f.prompts.saveFile = f.dir.path() + QStringLiteral("/one");
    Trigger(w, "exportAction");
    QVERIFY(f.prompts.saveProposed.endsWith(QStringLiteral("/0412.db")));
    QCOMPARE(Head(f.dir.path() + QStringLiteral("/one.db"), 15), QByteArray("SQLite format 3"));

    // A root selected: the whole data folder, as a report.
    Tree(w).setCurrentIndex(levelRoot);
    f.prompts.saveFile = f.dir.path() + QStringLiteral("/all.pdf");
    Trigger(w, "reportAction");
    QCOMPARE(f.prompts.saveTitle, QStringLiteral("レポートを作成"));
    QVERIFY(f.prompts.saveProposed.endsWith(QStringLiteral("/RXT4.pdf")));
    QCOMPARE(f.prompts.informed.last(),
             QStringLiteral("レポートを作成しました。\n") + f.dir.path() + QStringLiteral("/all.pdf"));
    QCOMPARE(Head(f.dir.path() + QStringLiteral("/all.pdf"), 5), QByteArray("%PDF-"));
    QVERIFY(!QFile::exists(f.dir.path() + QStringLiteral("/all.pdf.part")));

    // Cancelled in the save dialog: nothing happens.
    const qsizetype messages = f.prompts.informed.size();
    f.prompts.saveFile.reset();
    Trigger(w, "reportAction");
    QCOMPARE(f.prompts.informed.size(), messages);
  }

  void theDoneBoxShowsEachWarningInItsDetails() {
    ViewerFixture f;
    const QString root = MakeDataFolder(f.dir);
    // A spectrum measurement whose graph file is missing.
    PutFile(root, QStringLiteral("0412/SPECTRUM/0412.cnt"), "1\n2.00");
    PutFile(root, QStringLiteral("0412/SPECTRUM/0412.CSV"), "No.,Name\n" + MeasurementLine(1, "P1"));
    CMainWindow& w = *f.window;
    w.OpenFolder(root);
    // The report draws the measurement's screen, so it reads the graph file (the
    // export reads it only when asked for the graph samples).
    f.prompts.saveFile = f.dir.path() + QStringLiteral("/w.pdf");
    Trigger(w, "reportAction");
    QCOMPARE(f.prompts.informed.last(), QStringLiteral("レポートを作成しました。\n") + f.dir.path() +
                                            QStringLiteral("/w.pdf\n警告が 1 件ありました。"));
    QCOMPARE(f.prompts.details.size(), 1);
    const QStringList lines = f.prompts.details.last().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0], QStringLiteral("警告の内容:"));
    QVERIFY2(lines[1].startsWith(root + QStringLiteral("/0412/SPECTRUM/0412.")), qPrintable(lines[1]));
    // Worded for the user, in the interface's language: no English left in it.
    QVERIFY2(lines[1].endsWith(QStringLiteral(": 付属ファイルがないか壊れているため、グラフを載せていません")),
             qPrintable(lines[1]));
  }

  void cancelStopsTheJobAndWaitsForIt() {
    std::atomic<bool> sawAbort{false};
    CReportDlg dialog(QStringLiteral("..."), [&](JobObserver& o, const std::atomic<bool>& abort) {
      o.Progress(1, 10);
      while (!abort.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      sawAbort = true;
      return JobOutcome::Cancelled();
    });
    // キャンセル once the job's first report has reached the dialog.
    connect(dialog.progressBar(), &QProgressBar::valueChanged, dialog.cancelButton(), &QPushButton::click,
            Qt::QueuedConnection);
    QCOMPARE(dialog.Run().status, JobOutcome::Status::Cancelled);
    QVERIFY(sawAbort.load());
    QCOMPARE(dialog.progressBar()->maximum(), 10);
  }
};

QObject* NewReportMenuTest() { return new ReportMenuTest; }

}  // namespace rxt4::test

#include "ReportMenuTest.moc"
