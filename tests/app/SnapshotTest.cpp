// The screen snapshot: the bitmap file's headers, size and pixels, and the
// clipboard image, both equal to the screen side as the window shows it.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFrame>
#include <QTest>
#include <QTreeView>
#include <sys/resource.h>

#include <QDir>
#include <csignal>
#include <cstring>

#include "AppTests.h"
#include "ScreenView.h"

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
    CViewerDlg& w = *f.window;
    w.OpenFolder(MakeDataFolder(f.dir));
    w.tree()->expandAll();
    w.tree()->setCurrentIndex(w.tree()->model()->index(0, 0, w.tree()->model()->index(0, 0, w.tree()->model()->index(0, 0))));
    const QString path = f.dir.path() + QStringLiteral("/A1.bmp");
    f.prompts.saveFile = path;
    w.SaveScreen();
    QCOMPARE(f.prompts.saveProposed, QStringLiteral("A1"));
    QVERIFY(w.tree()->hasFocus() || !w.isActiveWindow());

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray b = file.readAll();
    const int width = w.screenSide()->width();
    const int height = w.screenSide()->height();
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

    // The screen area inside the file is the surface, pixel for pixel (rows bottom-up, BGR0).
    const QPoint origin = w.screenView()->mapTo(w.screenSide(), QPoint(0, 0));
    auto filePixel = [&](int x, int y) {
      const int at = 54 + (height - 1 - y) * width * 4 + x * 4;
      return Rgb{static_cast<uint8_t>(b[at + 2]), static_cast<uint8_t>(b[at + 1]), static_cast<uint8_t>(b[at])};
    };
    for (int y = 0; y < 240; y += 3)
      for (int x = 0; x < 321; x += 2)
        if (!(filePixel(origin.x() + x, origin.y() + y) == w.surface().Pixel(x, y))) QFAIL("pixel differs from the surface");
    QVERIFY(filePixel(origin.x(), origin.y()) == kBlack);
    QVERIFY(filePixel(origin.x() + 1, origin.y() + 1) == kWhite);

    // The clipboard gets the same picture.
    w.CopyScreen();
    const QImage copied = QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB888);
    QCOMPARE(copied.size(), QSize(width, height));
    for (int y = 0; y < height; y += 7)
      for (int x = 0; x < width; x += 5) {
        const QRgb c = copied.pixel(x, y);
        if (!(filePixel(x, y) == Rgb{static_cast<uint8_t>(qRed(c)), static_cast<uint8_t>(qGreen(c)), static_cast<uint8_t>(qBlue(c))}))
          QFAIL("clipboard differs from the file");
      }
  }

  void aFileThatCannotBeWrittenIsSaidWithTheSystemsReason() {
    ViewerFixture f;
    CViewerDlg& w = *f.window;
    w.OpenFolder(MakeDataFolder(f.dir));
    w.tree()->expandAll();
    w.tree()->setCurrentIndex(w.tree()->model()->index(0, 0, w.tree()->model()->index(0, 0, w.tree()->model()->index(0, 0))));
    const QString path = f.dir.path() + QStringLiteral("/no-such-folder/A1.bmp");
    f.prompts.saveFile = path;
    w.SaveScreen();
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
    w.SaveScreen();
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
    CViewerDlg& w = *f.window;
    QApplication::processEvents();
    // The predicted sizes are the sizes the window takes.
    const QSize sizes[] = {w.WindowSizeAt(1), w.WindowSizeAt(2), w.WindowSizeAt(3)};
    QCOMPARE(sizes[0], w.frameGeometry().size());
    for (int z : {3, 2, 1}) {
      w.SetZoom(z);
      QCOMPARE(w.frameGeometry().size(), sizes[z - 1]);
      QCOMPARE(w.WindowSizeAt(1), sizes[0]);
    }
    // An area that holds the 2x window but not the 3x one (the 1400 x 900 desktop).
    w.OfferZoomsThatFit(sizes[1] + QSize(100, 0));
    QVERIFY(w.zoomAction(2)->isEnabled());
    QVERIFY(!w.zoomAction(3)->isEnabled());
    w.OfferZoomsThatFit(sizes[2]);
    QVERIFY(w.zoomAction(3)->isEnabled());
    // Moved to a smaller screen: the largest zoom that fits.
    w.SetZoom(3);
    w.FitZoom(sizes[1] - QSize(0, 1));
    QCOMPARE(w.screenView()->zoom(), 1);
    QVERIFY(w.zoomAction(1)->isChecked());
    QVERIFY(!w.zoomAction(2)->isEnabled());
    w.SetZoom(3);
    w.FitZoom(sizes[2] - QSize(1, 0));
    QCOMPARE(w.screenView()->zoom(), 2);
  }

  void zoomEnlargesWithoutSmoothing() {
    ViewerFixture f;
    CViewerDlg& w = *f.window;
    w.SetZoom(2);
    QCOMPARE(w.screenView()->size(), QSize(642, 480));
    const QImage shown = w.screenView()->grab().toImage();
    // The frame pixel (0, 0) becomes a 2 x 2 black block; (1, 1) a 2 x 2 white block.
    QCOMPARE(shown.pixel(0, 0), qRgb(0, 0, 0));
    QCOMPARE(shown.pixel(1, 1), qRgb(0, 0, 0));
    QCOMPARE(shown.pixel(2, 2), qRgb(255, 255, 255));
    QCOMPARE(shown.pixel(641, 479), qRgb(0, 0, 0));
    QCOMPARE(shown.pixel(639, 477), qRgb(255, 255, 255));
    w.SetZoom(9);
    QCOMPARE(w.screenView()->zoom(), 3);
  }
};

QObject* NewSnapshotTest() { return new SnapshotTest; }

}  // namespace rxt4::test

#include "SnapshotTest.moc"
