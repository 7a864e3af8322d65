// rxt4-viewer [DATA_FOLDER]: shows the measurements of a data folder as the
// instrument's screens.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ViewerApp.h"
#include "rxt4/data/LocaleLanguage.h"

namespace {

// Answers --help and --version before Qt starts, so that they work without a display.
// Returns -1 when the viewer is to run.
int AnswerWithoutDisplay(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(std::string(rxt4::Text(rxt4::StringId::ViewerUsage, rxt4::LanguageOfEnvironment())).c_str(), stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::puts("rxt4-viewer (RXT4 Viewer) " RXT4_VERSION);
      return 0;
    }
  }
  return -1;
}

// Takes "--quit-after MS" out of the arguments and arms the timer that ends the run.
// verdict: -1 without the option; else 3 until the timer finds the main window showing
// with no message box waiting (0). False when MS is not a number.
bool TakeQuitAfter(QStringList& arguments, int& verdict) {
  const qsizetype at = arguments.indexOf(QStringLiteral("--quit-after"));
  if (at < 0) return true;
  bool ok = false;
  const int ms = at + 1 < arguments.size() ? arguments.at(at + 1).toInt(&ok) : 0;
  if (!ok || ms < 0) return false;
  arguments.remove(at, 2);
  verdict = 3;
  QTimer::singleShot(ms, qApp, [&verdict] {
    for (const QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible() && QApplication::activeModalWidget() == nullptr) verdict = 0;
    // exit() also ends a message box's own event loop.
    QApplication::exit(verdict);
  });
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (const int status = AnswerWithoutDisplay(argc, argv); status >= 0) return status;
  QApplication application(argc, argv);
  // Names the window after the desktop entry (Wayland app id, the menu's icon).
  QGuiApplication::setDesktopFileName(QStringLiteral("org.rxt4.viewer"));
  QStringList arguments = QApplication::arguments();
  int verdict = -1;
  if (!TakeQuitAfter(arguments, verdict)) {
    std::fputs("rxt4-viewer: --quit-after needs a number of milliseconds\n", stderr);
    return 2;
  }
  rxt4::CViewerApp viewer;
  const int status = viewer.Run(arguments);
  return verdict >= 0 ? verdict : status;
}
