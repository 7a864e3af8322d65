// The screen snapshot: the bitmap file's headers, size and pixels, and the
// clipboard image, both equal to the screen side as the window shows it.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QTest>
#include <QTreeView>
#include <sys/resource.h>

#include <QDir>
#include <csignal>
#include <cstring>

#include "AppTests.h"
#include "ScreenSide.h"
#include "ScreenView.h"
#include "ZoomFitter.h"

namespace rxt4::test {
namespace {

uint32_t U32(const QByteArray& b, int at) {
  return static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8 | static_cast<uint8_t>(b[at + 2]) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}
uint16_t U16(const QByteArray& b, int at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}

}  // namespace

class SnapshotTest : public QObject {
  Q_OBJECT
 private slots:
  void savedFileHoldsTheScreenSideAsA32BitBitmap() {
    ViewerFixture f;
    CMainWindow& w = *f.window;
    w.OpenFolder(MakeDataFolder(f.dir));
    Tree(w).expandAll();
    Tree(w).setCurrentIndex(TreeItem(w, {0, 0, 0}));
    const QString path = f.dir.path() + QStringLiteral("/A1.bmp");
    f.prompts.saveFile = path;
    QTest::mouseClick(&Find<QPushButton>(w, "saveButton"), Qt::LeftButton);
    QCOMPARE(f.prompts.saveProposed, QStringLiteral("A1"));
    QVERIFY(Tree(w).hasFocus() || !w.isActiveWindow());

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray b = file.readAll();
    const ScreenSide& side = Find<ScreenSide>(w, "screenSide");
    const int width = side.width();
    const int height = side.height();
    QVERIFY(width > 321 && height > 240);
    QCOMPARE(b.size(), 54 + 4 * width * height);
    QCOMPARE(b[0], 'B');
    QCOMPARE(b[1], 'M');
    QCOMPARE(U32(b, 2), static_cast<uint32_t>(b.size()));
    QCOMPARE(U32(b, 6), 0u);  // both reserved fields
    QCOMPARE(U32(b, 10), 54u);
    QCOMPARE(U32(b, 14), 40u);
    QCOMPARE(U32(b, 18), static_cast<uint32_t>(width));
    QCOMPARE(U32(b, 22), static_cast<uint32_t>(height));
    QCOMPARE(U16(b, 26), uint16_t{1});
    QCOMPARE(U16(b, 28), uint16_t{32});
    QCOMPARE(U32(b, 30), 0u);
    QCOMPARE(U32(b, 34), static_cast<uint32_t>(4 * width * height));
    for (int at : {38, 42, 46, 50}) QCOMPARE(U32(b, at), 0u);

    // The screen area inside the file is the area shown, pixel for pixel (rows bottom-up, BGR0).
    const QPoint origin = side.view().mapTo(&side, QPoint(0, 0));
    const QImage area = ScreenArea(w);
    auto filePixel = [&](int x, int y) {
      const int at = 54 + (height - 1 - y) * width * 4 + x * 4;
      return qRgb(static_cast<uint8_t>(b[at + 2]), static_cast<uint8_t>(b[at + 1]), static_cast<uint8_t>(b[at]));
    };
    for (int y = 0; y < 240; y += 3)
      for (int x = 0; x < 321; x += 2)
        if (filePixel(origin.x() + x, origin.y() + y) != area.pixel(x, y)) QFAIL("pixel differs from the screen area");
    QCOMPARE(filePixel(origin.x(), origin.y()), qRgb(0, 0, 0));
    QCOMPARE(filePixel(origin.x() + 1, origin.y() + 1), qRgb(255, 255, 255));

    // The clipboard gets the same picture.
    Trigger(w, "copyAction");
    const QImage copied = QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB888);
    QCOMPARE(copied.size(), QSize(width, height));
    for (int y = 0; y < height; y += 7)
      for (int x = 0; x < width; x += 5) {
        if (filePixel(x, y) != copied.pixel(x, y)) QFAIL("clipboard differs from the file");
      }
  }

  void aFileThatCannotBeWrittenIsSaidWithTheSystemsReason() {
    ViewerFixture f;
    CMainWindow& w = *f.window;
    w.OpenFolder(MakeDataFolder(f.dir));
    Tree(w).setCurrentIndex(TreeItem(w, {0, 0, 0}));
    const QString path = f.dir.path() + QStringLiteral("/no-such-folder/A1.bmp");
    f.prompts.saveFile = path;
    Trigger(w, "saveAction");
    QCOMPARE(f.prompts.informed.size(), 1);
    QCOMPARE(f.prompts.informed[0], path + QStringLiteral("\n画面を保存できませんでした。\nファイルまたはフォルダがありません"));

    // A disk that fills up on the way (here: a file size limit) leaves an earlier file
    // of the name whole, and nothing beside it.
    const QString earlier = f.dir.path() + QStringLiteral("/earlier.bmp");
    PutFile(f.dir.path(), QStringLiteral("earlier.bmp"), "the earlier picture");
    f.prompts.saveFile = earlier;
    struct rlimit old {};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    const struct rlimit small = {4096, old.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &small);
    Trigger(w, "saveAction");
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    QCOMPARE(f.prompts.informed.size(), 2);
    QCOMPARE(f.prompts.informed[1], earlier + QStringLiteral("\n画面を保存できませんでした。\nファイルが大きすぎます"));
    QFile kept(earlier);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("the earlier picture"));
    QCOMPARE(QDir(f.dir.path()).entryList({QStringLiteral("earlier.bmp*")}, QDir::Files), QStringList{QStringLiteral("earlier.bmp")});
  }

  void onlyTheZoomsWhoseWindowFitsAreOffered() {
    ViewerFixture f;
    CMainWindow& w = *f.window;
    QApplication::processEvents();
    ZoomFitter& fitter = Find<ZoomFitter>(w, "zoomFitter");
    // The predicted sizes are the sizes the window takes.
    const QSize sizes[] = {fitter.WindowSizeAt(1), fitter.WindowSizeAt(2), fitter.WindowSizeAt(3)};
    QCOMPARE(sizes[0], w.frameGeometry().size());
    for (const char* zoom : {"zoom3", "zoom2", "zoom1"}) {
      Trigger(w, zoom);
      QCOMPARE(w.frameGeometry().size(), sizes[fitter.zoom() - 1]);
      QCOMPARE(fitter.WindowSizeAt(1), sizes[0]);
    }
    // An area that holds the 2x window but not the 3x one (the 1400 x 900 desktop).
    fitter.OfferZoomsThatFit(sizes[1] + QSize(100, 0));
    QVERIFY(Find<QAction>(w, "zoom2").isEnabled());
    QVERIFY(!Find<QAction>(w, "zoom3").isEnabled());
    fitter.OfferZoomsThatFit(sizes[2]);
    QVERIFY(Find<QAction>(w, "zoom3").isEnabled());
    // Moved to a smaller screen: the largest zoom that fits.
    fitter.SetZoom(3);
    fitter.FitZoom(sizes[1] - QSize(0, 1));
    QCOMPARE(fitter.zoom(), 1);
    QVERIFY(Find<QAction>(w, "zoom1").isChecked());
    QVERIFY(!Find<QAction>(w, "zoom2").isEnabled());
    fitter.SetZoom(3);
    fitter.FitZoom(sizes[2] - QSize(1, 0));
    QCOMPARE(fitter.zoom(), 2);
  }

  void zoomEnlargesWithoutSmoothing() {
    ViewerFixture f;
    CMainWindow& w = *f.window;
    Trigger(w, "zoom2");
    ScreenView& view = Find<ScreenView>(w, "screenArea");
    QCOMPARE(view.size(), QSize(642, 480));
    const QImage shown = view.grab().toImage();
    // The frame pixel (0, 0) becomes a 2 x 2 black block; (1, 1) a 2 x 2 white block.
    QCOMPARE(shown.pixel(0, 0), qRgb(0, 0, 0));
    QCOMPARE(shown.pixel(1, 1), qRgb(0, 0, 0));
    QCOMPARE(shown.pixel(2, 2), qRgb(255, 255, 255));
    QCOMPARE(shown.pixel(641, 479), qRgb(0, 0, 0));
    QCOMPARE(shown.pixel(639, 477), qRgb(255, 255, 255));
    Find<ZoomFitter>(w, "zoomFitter").SetZoom(9);
    QCOMPARE(view.zoom(), 3);
  }
};

QObject* NewSnapshotTest() { return new SnapshotTest; }

}  // namespace rxt4::test

#include "SnapshotTest.moc"
