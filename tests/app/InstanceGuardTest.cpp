// The single-instance guard: a second holder is refused, a released or dead holder
// frees it.
#include <QTemporaryDir>
#include <QTest>

#include <QProcess>

#include "AppTests.h"
#include "InstanceGuard.h"
#include "ViewerApp.h"
#include <QApplication>

namespace rxt4::test {

class InstanceGuardTest : public QObject {
  Q_OBJECT
 private slots:
  void init() {
    QVERIFY(runtime_.isValid());
    qputenv("XDG_RUNTIME_DIR", runtime_.path().toUtf8());
  }

  void secondCopyIsRefusedUntilTheFirstReleases() {
    InstanceGuard first("RXT4_Viewer");
    InstanceGuard second("RXT4_Viewer");
    QVERIFY(first.Acquire());
    QVERIFY(!second.Acquire());
    QVERIFY(!second.held());
    InstanceGuard other("Other_App");
    QVERIFY(other.Acquire());
    first.Release();
    QVERIFY(second.Acquire());
  }

  void aKilledFirstCopyDoesNotBlockTheNext() {
    // Another process holds the lock the way a running viewer does (flock of util-linux;
    // its command, cat, ends when its input closes).
    QProcess holder;
    holder.start(QStringLiteral("flock"), {QStringLiteral("-o"), runtime_.path() + QStringLiteral("/RXT4_Viewer.lock"), QStringLiteral("cat")});
    QVERIFY(holder.waitForStarted(5000));
    InstanceGuard next("RXT4_Viewer");
    QTRY_VERIFY_WITH_TIMEOUT(!InstanceGuard("RXT4_Viewer").Acquire(), 5000);
    QVERIFY(!next.Acquire());
    holder.kill();  // killed, never released by the program itself
    QVERIFY(holder.waitForFinished(5000));
    QTRY_VERIFY_WITH_TIMEOUT(next.Acquire(), 5000);
  }

  void secondViewerSaysSoAndEndsWithoutAWindow() {
    InstanceGuard first("RXT4_Viewer");
    QVERIFY(first.Acquire());
    FakePrompts prompts;
    CViewerApp second(prompts, (runtime_.path() + QStringLiteral("/cfg/RXT4_Viewer.ini")).toStdString());
    QCOMPARE(second.Run({QStringLiteral("RXT4_Viewer"), runtime_.path()}), 0);
    QCOMPARE(prompts.informed, QStringList{QStringLiteral("多重起動は禁止されています")});
    QCOMPARE(prompts.lastIcon, UiPrompts::Icon::Warning);
    for (QWidget* w : QApplication::topLevelWidgets()) QVERIFY(!qobject_cast<CMainWindow*>(w));
  }

 private:
  QTemporaryDir runtime_;
};

QObject* NewInstanceGuardTest() { return new InstanceGuardTest; }

}  // namespace rxt4::test

#include "InstanceGuardTest.moc"
