// The single-instance guard: a second holder is refused, a released or dead holder
// frees it.
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

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
    int ready[2];
    QCOMPARE(pipe(ready), 0);
    const pid_t child = fork();
    if (child == 0) {
      InstanceGuard guard("RXT4_Viewer");
      char c = guard.Acquire() ? '1' : '0';
      (void)!write(ready[1], &c, 1);
      pause();
      _exit(0);
    }
    QVERIFY(child > 0);
    char c = 0;
    QCOMPARE(read(ready[0], &c, 1), ssize_t{1});
    QCOMPARE(c, '1');
    InstanceGuard next("RXT4_Viewer");
    QVERIFY(!next.Acquire());
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    QVERIFY(next.Acquire());
    close(ready[0]);
    close(ready[1]);
  }

  void secondViewerSaysSoAndEndsWithoutAWindow() {
    InstanceGuard first("RXT4_Viewer");
    QVERIFY(first.Acquire());
    FakePrompts prompts;
    CViewerApp second(prompts, (runtime_.path() + QStringLiteral("/cfg/RXT4_Viewer.ini")).toStdString());
    QCOMPARE(second.Run({QStringLiteral("RXT4_Viewer"), runtime_.path()}), 0);
    QCOMPARE(prompts.informed, QStringList{QStringLiteral("多重起動は禁止されています")});
    QCOMPARE(prompts.lastIcon, UiPrompts::Icon::Warning);
    for (QWidget* w : QApplication::topLevelWidgets()) QVERIFY(!qobject_cast<CViewerDlg*>(w));
  }

 private:
  QTemporaryDir runtime_;
};

QObject* NewInstanceGuardTest() { return new InstanceGuardTest; }

}  // namespace rxt4::test

#include "InstanceGuardTest.moc"
