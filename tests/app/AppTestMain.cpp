// Runs every test object of the viewer in one process (offscreen platform).
#include <QApplication>
#include <QTest>

#include "AppTests.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  int failures = 0;
  for (QObject* test : rxt4::test::AllTests()) {
    failures += QTest::qExec(test, argc, argv);
    delete test;
  }
  return failures == 0 ? 0 : 1;
}
