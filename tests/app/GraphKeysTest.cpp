// The instrument keys on the graph screens of the demonstration data: the delay
// profile marker and its acceleration while → is held, シフト + ↓ on the
// multi-channel screen, and the spectrum screen's ranges.
#include <QCursor>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include "AppTests.h"
#include "RepeatButton.h"
#include "rxt4/data/DemoImages.h"
#include "rxt4/screens/MultiScreen.h"
#include "rxt4/screens/ProfileScreen.h"
#include "rxt4/screens/SpectrumScreen.h"

namespace rxt4::test {
namespace {

// The first measurement under a kind's root (roots: level, BER, constellation,
// spectrum, delay profile, SKY, multi-channel).
QModelIndex FirstMeasurement(const QAbstractItemModel& model, int root) {
  return model.index(0, 0, model.index(0, 0, model.index(root, 0)));
}

constexpr int kProfileRoot = 4;
constexpr int kSpectrumRoot = 3;
constexpr int kMultiRoot = 6;
constexpr int kProfileColumns = 261;

}  // namespace

class GraphKeysTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    folder_ = dir_.path() + QStringLiteral("/RXT4");
    QVERIFY(WriteDemoFolder(folder_.toStdString()));
  }

  void heldRightButtonAcceleratesTheProfileMarker() {
    ViewerFixture f;
    CViewerDlg& w = *f.window;
    w.OpenFolder(folder_);
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.tree()->setCurrentIndex(FirstMeasurement(*w.tree()->model(), kProfileRoot));
    QCOMPARE(w.currentScreenIndex(), 7);
    auto* profile = dynamic_cast<CProfileScreen*>(w.screens().Screen(DataKind::Profile));
    QVERIFY(profile && profile->sampleBytes > 0);
    QCOMPARE(profile->zoom, 0);
    // At zoom 0 the marker moves 3 columns a step in FFT mode 1, otherwise 1.
    const int base = profile->fftMode == 1 ? 3 : 1;
    auto moved = [&](int before) { return ((profile->cursor - before) % kProfileColumns + kProfileColumns) % kProfileColumns; };

    int before = profile->cursor;
    QTest::mouseClick(w.rightButton(), Qt::LeftButton);  // a click: single step
    QCOMPARE(moved(before), base);
    QVERIFY(w.tree()->hasFocus());

    // Held: the repeat timer's action uses the held ticks (1.4 s, 2.8 s, longer).
    CRepeatButton* right = w.rightButton();
    right->StartHolding();
    const int expected[] = {1, 2, 3, 3, 3};
    for (int ticks = 0; ticks < 5; ++ticks) {
      before = profile->cursor;
      w.ArrowAction(InstrumentKey::Right, false);
      QCOMPARE(moved(before), expected[ticks] * base);
      right->Tick();
    }
    right->StopHolding();

    // Held with the mouse: the poll starts the repetition, each repeat tick moves the
    // marker while the pointer stays on the button, releasing stops it.
    const QPoint centre = right->rect().center();
    QCursor::setPos(right->mapToGlobal(centre));
    QTest::mousePress(right, Qt::LeftButton, Qt::NoModifier, centre);
    QVERIFY(right->isDown());
    w.TimerTick(true);
    QVERIFY(w.repeating());
    QVERIFY(w.lastArrowKey() == InstrumentKey::Right);
    before = profile->cursor;
    w.TimerTick(false);
    QCOMPARE(moved(before), base);
    QCursor::setPos(right->mapToGlobal(QPoint(-50, -50)));  // off the button: paused
    before = profile->cursor;
    w.TimerTick(false);
    QCOMPARE(profile->cursor, before);
    QVERIFY(!w.repeating());
    QCursor::setPos(right->mapToGlobal(centre));
    QTest::mouseRelease(right, Qt::LeftButton, Qt::NoModifier, centre);
    before = profile->cursor;
    w.TimerTick(true);
    QVERIFY(!w.repeating());
    QCOMPARE(profile->cursor, before);

    before = profile->cursor;
    w.ArrowAction(InstrumentKey::Left, false);
    QCOMPARE(moved(before), kProfileColumns - base);

    // シフト + →: zoom in, and the marker keys no longer move the tree.
    const QModelIndex item = w.tree()->currentIndex();
    w.shiftButton()->setChecked(true);
    QTest::mouseClick(w.rightButton(), Qt::LeftButton);
    QCOMPARE(profile->zoom, 1);
    QTest::mouseClick(w.downButton(), Qt::LeftButton);
    QCOMPARE(w.tree()->currentIndex(), item);
  }

  void shiftDownActsOnTheMultiChannelScreenInsteadOfTheTree() {
    ViewerFixture f;
    CViewerDlg& w = *f.window;
    w.OpenFolder(folder_);
    const QModelIndex item = FirstMeasurement(*w.tree()->model(), kMultiRoot);
    w.tree()->setCurrentIndex(item);
    QCOMPARE(w.currentScreenIndex(), 5);
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.tree()->setFocus();
    const std::vector<std::uint8_t> before = w.surface().pixels();
    QTest::keyPress(w.tree(), Qt::Key_Shift);
    QTest::keyClick(w.tree(), Qt::Key_Down);
    QTest::keyRelease(w.tree(), Qt::Key_Shift);
    QCOMPARE(w.tree()->currentIndex(), item);
    QVERIFY(w.surface().pixels() != before);
    // 決定 (the Enter key) toggles the reference on this screen.
    const std::vector<std::uint8_t> beforeEnter = w.surface().pixels();
    QTest::keyClick(w.tree(), Qt::Key_Return);
    QVERIFY(w.surface().pixels() != beforeEnter);
    QCOMPARE(w.tree()->currentIndex(), item);
    // Without シフト ↓ selects the next item (the next table, or the next folder).
    QTest::keyClick(w.tree(), Qt::Key_Down);
    QVERIFY(w.tree()->currentIndex() != item);
  }

  void spectrumAnswersOnlyShiftLeftAndRight() {
    ViewerFixture f;
    CViewerDlg& w = *f.window;
    w.OpenFolder(folder_);
    w.tree()->setCurrentIndex(FirstMeasurement(*w.tree()->model(), kSpectrumRoot));
    QCOMPARE(w.currentScreenIndex(), 6);
    auto* spectrum = dynamic_cast<CSpectrumScreen*>(w.screens().Screen(DataKind::Spectrum));
    QVERIFY(spectrum);
    const int range = spectrum->scaleIndex;
    const std::vector<std::uint8_t> before = w.surface().pixels();
    QTest::mouseClick(w.leftButton(), Qt::LeftButton);
    QTest::mouseClick(w.rightButton(), Qt::LeftButton);
    QVERIFY(w.surface().pixels() == before);
    QCOMPARE(spectrum->scaleIndex, range);
    w.shiftButton()->setChecked(true);
    QTest::mouseClick(w.rightButton(), Qt::LeftButton);
    QCOMPARE(spectrum->scaleIndex, (range + 1) % 4);
    QVERIFY(w.surface().pixels() != before);
    QTest::mouseClick(w.leftButton(), Qt::LeftButton);
    QTest::mouseClick(w.leftButton(), Qt::LeftButton);
    QCOMPARE(spectrum->scaleIndex, (range + 3) % 4);
    w.shiftButton()->setChecked(false);
  }

 private:
  QTemporaryDir dir_;
  QString folder_;
};

QObject* NewGraphKeysTest() { return new GraphKeysTest; }

}  // namespace rxt4::test

#include "GraphKeysTest.moc"
