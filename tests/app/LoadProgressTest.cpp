// Opening a data folder: the progress dialog of a long load and its Cancel, and the
// load's messages shown at its end with the offer to skip the rest.
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "AppTests.h"
#include "LoadProgressDlg.h"

namespace rxt4::test {

class LoadProgressTest : public QObject {
  Q_OBJECT
 private slots:
  void aQuickLoadShowsNoDialog() {
    QTemporaryDir dir;
    CLoadProgressDlg dialog;
    FolderLoadJob job(&dialog);
    QVERIFY(job.Start(FsPath(MakeDataFolder(dir))));
    QVERIFY(dialog.Wait(job, 10000));
    QVERIFY(!dialog.isVisible());
    job.Join();
    QCOMPARE(job.model().measurementCount(), 6);
  }

  void cancelEndsTheWaitAndStopsTheJob() {
    CLoadProgressDlg dialog;
    FolderLoadJob job(&dialog);  // never started: it would not end by itself
    bool shown = false;
    OnceShown(dialog, [&] {
      shown = dialog.isVisible();
      QCOMPARE(dialog.progressBar()->maximum(), 0);  // busy: nothing counted yet
      dialog.cancelButton()->click();
    });
    QVERIFY(!dialog.Wait(job, 0));
    QVERIFY(shown);
  }

  void laterMessagesOfALoadOfferToSkipTheRest() {
    ViewerFixture f;
    const QString root = MakeDataFolder(f.dir);
    PutFile(root, QStringLiteral("0412/LEVEL/0412.cnt"), "4\n2.00");  // three warnings
    PutFile(root, QStringLiteral("0412/BER/0412.cnt"), "5\n2.00");
    PutFile(root, QStringLiteral("0412/SKY/0412.cnt"), "6\n2.00");
    f.window->OpenFolder(root);
    QCOMPARE(f.prompts.informed.size(), 3);
    QCOMPARE(f.prompts.skipOffers, 2);  // the first box has OK alone
    QVERIFY(f.prompts.informed[1].startsWith(root + QStringLiteral("/0412/BER/0412.CSV ")));

    f.prompts.informed.clear();
    f.prompts.skipOffers = 0;
    f.prompts.skipRest = true;
    f.window->OpenFolder(root);
    QCOMPARE(f.prompts.informed.size(), 2);  // the second box skipped the third
    QCOMPARE(MeasurementCount(*f.window), 6);
  }
};

QObject* NewLoadProgressTest() { return new LoadProgressTest; }

}  // namespace rxt4::test

#include "LoadProgressTest.moc"
