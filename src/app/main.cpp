// rxt4-viewer [DATA_FOLDER]: shows the measurements of a data folder as the
// instrument's screens.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstring>

#include "ViewerApp.h"

namespace {

constexpr const char* kHelp =
    "Usage: rxt4-viewer [DATA_FOLDER]\n"
    "\n"
    "RXT4 Viewer shows the measurements of an RXT4 data folder (a folder of data set\n"
    "folders downloaded from the instrument) as the instrument's screens, downloads\n"
    "the measurements stored in the instrument over its USB serial port (menu\n"
    "通信 → データ転送) and updates its firmware (menu 通信 → アップデート).\n"
    "DATA_FOLDER is opened at start; without it, the data folder open at the last\n"
    "exit (when it is still there), or none: choose one with Ctrl+O.\n"
    "Only one copy runs per user.\n"
    "\n"
    "  --help             show this text and exit\n"
    "  --version          show the version and exit\n"
    "  --quit-after MS    end MS milliseconds after start (for smoke tests); the exit\n"
    "                     status is 0 only when the main window is then showing and\n"
    "                     no message box waits for an answer, else 3\n"
    "\n"
    "The settings (serial port and speed, the folder name warning; the last data\n"
    "folder, enlargement and window position) live in\n"
    "$XDG_CONFIG_HOME/RXT4_Viewer/RXT4_Viewer.ini (by default\n"
    "~/.config/RXT4_Viewer/RXT4_Viewer.ini).\n"
    "\n"
    "The serial port needs permission: see rxt4 udev-rule --help.\n";

// Answers --help and --version before Qt starts, so that they work without a display.
// Returns -1 when the viewer is to run.
int AnswerWithoutDisplay(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(kHelp, stdout);
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
