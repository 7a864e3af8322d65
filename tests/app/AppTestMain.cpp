// Runs every test object of the viewer in one process (offscreen platform).
//   app_tests [-only CLASS] [QtTest arguments]
// -only runs the one test object named (its functions chosen by the arguments that
// follow), as the locale runs of the window's geometry do.
#include <QApplication>
#include <QTest>
#include <cstring>
#include <string>
#include <vector>

#include "AppTests.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  std::vector<char*> args(argv, argv + argc);
  const char* only = nullptr;
  if (args.size() > 2 && std::strcmp(args[1], "-only") == 0) {
    only = args[2];
    args.erase(args.begin() + 1, args.begin() + 3);
  }
  int failures = 0;
  int run = 0;
  for (QObject* test : rxt4::test::AllTests()) {
    const std::string name = test->metaObject()->className();  // with its namespaces
    if (only == nullptr || name == only || name.ends_with(std::string("::") + only)) {
      failures += QTest::qExec(test, static_cast<int>(args.size()), args.data());
      ++run;
    }
    delete test;
  }
  return failures == 0 && run > 0 ? 0 : 1;
}
