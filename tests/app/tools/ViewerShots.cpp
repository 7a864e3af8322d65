// Pictures and figures of the viewer for the documentation:
//   viewer_shots <data folder> <out dir> [item path ...]
// Opens the folder as the viewer does, prints the time to the first painted window
// and to the loaded tree, and writes one PNG of the whole window per item path
// (rows from the top, e.g. 0/0/1 = first set folder's second level measurement),
// or of a dialog: about, comm, message, transfer, update; trend and compare open
// 表示 → 推移... / 比較... for the item selected last; zoom1..zoom3 set the
// enlargement for the pictures that follow, expand:PATH opens a tree node for them,
// language:en and language:ja switch the display language (オプション → 表示言語) for
// them; a picture named name=NAME.png follows as NAME.png.
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <QTreeView>
#include <cstdio>
#include <memory>
#include <fstream>
#include <string>
#include <utility>

#include "AboutDlg.h"
#include "CommSettingDlg.h"
#include "MessageOptionDlg.h"
#include "TransferDlg.h"
#include "UiPrompts.h"
#include "UiFont.h"
#include "UpdateDlg.h"
#include "ViewerApp.h"
#include "ZoomFitter.h"
#include "MainWindow.h"
#include "rxt4/link/SettingsFile.h"
#include "rxt4/screens/Fonts.h"

namespace {

long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

// The measurements in the window's tree: the items below the set folders.
int Measurements(const QAbstractItemModel& model) {
  int count = 0;
  for (int kind = 0; kind < model.rowCount(); ++kind)
    for (int set = 0; set < model.rowCount(model.index(kind, 0)); ++set)
      count += model.rowCount(model.index(set, 0, model.index(kind, 0)));
  return count;
}

}  // namespace

int main(int argc, char** argv) {
  QElapsedTimer clock;
  clock.start();
  QApplication app(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: viewer_shots <data folder> <out dir> [item path ...]\n");
    return 2;
  }
  QApplication::setFont(rxt4::ProportionalUiFont(QApplication::font()));
  rxt4::QtUiPrompts prompts;
  rxt4::SettingsFile settings(rxt4::DefaultSettingsPath());
  rxt4::JapaneseQtTexts qtTexts;
  rxt4::UseLanguage(rxt4::Language::Japanese, qtTexts);
  rxt4::ViewerServices services{&settings, &prompts, [] { return rxt4::ListSerialPorts(); },
                                rxt4::FontSet::CreateDefault(),
                                [&qtTexts](rxt4::Language language) { rxt4::UseLanguage(language, qtTexts); }};
  rxt4::CMainWindow window(std::move(services));
  QTreeView& tree = *window.findChild<QTreeView*>(QStringLiteral("tree"));
  window.Initialise();
  window.show();
  QApplication::processEvents();
  (void)window.grab();
  std::printf("first painted window: %lld ms (RSS %ld KiB)\n", static_cast<long long>(clock.elapsed()), ResidentKiB());
  QElapsedTimer load;
  load.start();
  window.OpenFolder(QString::fromLocal8Bit(argv[1]));
  QApplication::processEvents();
  (void)window.grab();
  std::printf("folder loaded and tree painted: %lld ms, %d measurements (RSS %ld KiB)\n",
              static_cast<long long>(load.elapsed()), Measurements(*tree.model()), ResidentKiB());
  const QString out = QString::fromLocal8Bit(argv[2]);
  QString nextName;  // the file name of the next window picture, when given
  for (int i = 3; i < argc; ++i) {
    const QString name = QString::fromLocal8Bit(argv[i]);
    std::unique_ptr<QDialog> dialog;
    if (name == QStringLiteral("about")) dialog = std::make_unique<rxt4::CAboutDlg>(&window);
    if (name == QStringLiteral("comm")) dialog = std::make_unique<rxt4::CCommSettingDlg>(settings.Comm(), rxt4::ListSerialPorts(), &window);
    if (name == QStringLiteral("message")) dialog = std::make_unique<rxt4::CMessageOptionDlg>(settings.FolderAlert(), &window);
    if (name == QStringLiteral("transfer")) dialog = std::make_unique<rxt4::CTransferDlg>(settings.Comm(), "/tmp", prompts, &window);
    if (name == QStringLiteral("update")) dialog = std::make_unique<rxt4::CUpdateDlg>(settings.Comm(), prompts, &window);
    if (name == QStringLiteral("trend") || name == QStringLiteral("compare")) {
      // The menu command's own dialog, pictured from inside its modal loop.
      const QString file = out + QStringLiteral("/dialog-") + name + QStringLiteral(".png");
      QTimer inside;
      inside.setSingleShot(true);
      QObject::connect(&inside, &QTimer::timeout, [file] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog) return;
        dialog->grab().toImage().save(file);
        std::printf("%s\n", file.toLocal8Bit().constData());
        dialog->close();
      });
      inside.start(0);
      window.findChild<QAction*>(name + QStringLiteral("Action"))->trigger();
      continue;
    }
    if (name.startsWith(QStringLiteral("zoom"))) {
      // Any enlargement, whether or not the window fits the screen at it.
      window.findChild<rxt4::ZoomFitter*>()->SetZoom(name.mid(4).toInt());
      continue;
    }
    if (name.startsWith(QStringLiteral("language:"))) {
      window.SwitchLanguage(name.mid(9) == QStringLiteral("en") ? rxt4::Language::English : rxt4::Language::Japanese);
      QApplication::processEvents();
      continue;
    }
    if (name.startsWith(QStringLiteral("name="))) {
      nextName = name.mid(5);
      continue;
    }
    if (name.startsWith(QStringLiteral("expand:"))) {
      // Opens a tree node for the pictures that follow (rows from the top, as item paths).
      QModelIndex node;
      for (const QString& row : name.mid(7).split(QLatin1Char('/'))) node = tree.model()->index(row.toInt(), 0, node);
      tree.expand(node);
      continue;
    }
    if (dialog) {
      dialog->show();
      QApplication::processEvents();
      const QString file = out + QStringLiteral("/dialog-") + name + QStringLiteral(".png");
      dialog->grab().toImage().save(file);
      std::printf("%s\n", file.toLocal8Bit().constData());
      continue;
    }
    QModelIndex index;
    const QString itemPath = QString::fromLocal8Bit(argv[i]);
    for (const QString& row : itemPath.split(QLatin1Char('/'))) index = tree.model()->index(row.toInt(), 0, index);
    tree.setCurrentIndex(index);
    tree.scrollTo(index);
    QApplication::processEvents();
    const QString file = out + QLatin1Char('/') +
                         (nextName.isEmpty() ? QStringLiteral("viewer-") + QString(itemPath).replace(QLatin1Char('/'), QLatin1Char('-')) + QStringLiteral(".png")
                                             : std::exchange(nextName, QString()));
    window.grab().toImage().save(file);
    std::printf("%s\n", file.toLocal8Bit().constData());
  }
  return 0;
}
