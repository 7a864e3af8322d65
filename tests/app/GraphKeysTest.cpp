// The instrument keys on the graph screens of the demonstration data, from the key
// pad and the keyboard to what the screen area shows: the delay profile marker with
// the held ticks of →, the repetition of a held button, シフト + ↓ and 決定 on the
// multi-channel screen, and the spectrum screen's ranges. What each key does to a
// screen is the screens library's (its own tests); here the window must show what the
// library draws for the same presses.
#include <QCursor>
#include <QKeyEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

#include "AppTests.h"
#include "KeyPad.h"
#include "RepeatButton.h"
#include "rxt4/data/DemoImages.h"

namespace rxt4::test {
namespace {

// The first measurement under a kind's root (roots: level, BER, constellation,
// spectrum, delay profile, SKY, multi-channel).
QModelIndex FirstMeasurement(QWidget& w, int root) { return TreeItem(w, {root, 0, 0}); }

constexpr int kProfileRoot = 4;
constexpr int kSpectrumRoot = 3;
constexpr int kMultiRoot = 6;

std::vector<KeyPress> Presses(const QSignalSpy& spy) {
  std::vector<KeyPress> presses;
  for (const QList<QVariant>& args : spy) presses.push_back(args.at(0).value<KeyPress>());
  return presses;
}

}  // namespace

class GraphKeysTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    folder_ = dir_.path() + QStringLiteral("/RXT4");
    QVERIFY(WriteDemoFolder(folder_.toStdString()));
  }

  void theProfileMarkerFollowsClicksHeldKeysAndTheRepetition() {
    ViewerFixture f;
    CMainWindow& w = *f.window;
    w.OpenFolder(folder_);
    QVERIFY(Activate(w));
    const QModelIndex item = FirstMeasurement(w, kProfileRoot);
    Tree(w).setCurrentIndex(item);
    QCOMPARE(ScreenArea(w), DrawnApart(folder_, item));
    KeyPad& pad = Find<KeyPad>(w, "keyPad");
    CRepeatButton& right = Find<CRepeatButton>(w, "rightKey");
    QSignalSpy presses(&pad, &KeyPad::keyPressed);

    // A click: one step, and the focus back to the tree.
    QTest::mouseClick(&right, Qt::LeftButton);
    QCOMPARE(presses.size(), 1);
    QVERIFY(presses.at(0).at(1).toBool());  // from the button
    QVERIFY(Tree(w).hasFocus());
    QCOMPARE(ScreenArea(w), DrawnApart(folder_, item, Presses(presses)));

    // → held on the keyboard: its repeats press again with the ticks the button counted.
    QTest::keyPress(&Tree(w), Qt::Key_Right);
    for (int tick = 0; tick < 3; ++tick) {
      right.Tick();
      QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString(), true);
      QApplication::sendEvent(&Tree(w), &repeat);
    }
    QTest::keyRelease(&Tree(w), Qt::Key_Right);
    std::vector<int> ticks;
    for (const KeyPress& p : Presses(presses)) ticks.push_back(p.heldTicks);
    QCOMPARE(ticks, (std::vector<int>{0, 0, 1, 2, 3}));
    QCOMPARE(ScreenArea(w), DrawnApart(folder_, item, Presses(presses)));
    QCOMPARE(right.heldTicks(), 0);

    // Held with the mouse: the poll starts the repetition, which presses → while the
    // pointer stays on the button; off the button it pauses; released, it ends.
    const QPoint centre = right.rect().center();
    QCursor::setPos(right.mapToGlobal(centre));
    QTest::mousePress(&right, Qt::LeftButton, Qt::NoModifier, centre);
    const qsizetype before = presses.size();
    pad.Poll();
    QTRY_VERIFY(presses.size() > before);
    QCursor::setPos(right.mapToGlobal(QPoint(-50, -50)));
    const qsizetype held = presses.size();
    pad.Repeat();
    QCOMPARE(presses.size(), held);
    QCursor::setPos(right.mapToGlobal(centre));
    QTest::mouseRelease(&right, Qt::LeftButton, Qt::NoModifier, centre);  // the click presses once more
    QCOMPARE(presses.size(), held + 1);
    pad.Poll();
    pad.Repeat();
    QCOMPARE(presses.size(), held + 1);
    for (qsizetype i = before; i < presses.size(); ++i) {
      const KeyPress p = presses.at(i).at(0).value<KeyPress>();
      QVERIFY(p.key == InstrumentKey::Right && !p.shift);
    }
    QCOMPARE(ScreenArea(w), DrawnApart(folder_, item, Presses(presses)));

    // ← back; シフト + → zooms in, and ↓ no longer moves the tree.
    QTest::keyClick(&Tree(w), Qt::Key_Left);
    Find<QPushButton>(w, "shiftKey").setChecked(true);
    QTest::mouseClick(&right, Qt::LeftButton);
    QTest::mouseClick(&Find<QPushButton>(w, "downKey"), Qt::LeftButton);
    QCOMPARE(Tree(w).currentIndex(), item);
    QVERIFY(Presses(presses).back().shift);
    QCOMPARE(ScreenArea(w), DrawnApart(folder_, item, Presses(presses)));
  }

  void shiftDownActsOnTheMultiChannelScreenInsteadOfTheTree() {
    ViewerFixture f;
    CMainWindow& w = *f.window;
    w.OpenFolder(folder_);
    const QModelIndex item = FirstMeasurement(w, kMultiRoot);
    Tree(w).setCurrentIndex(item);
    QVERIFY(Activate(w));
    const QImage before = ScreenArea(w);
    QTest::keyPress(&Tree(w), Qt::Key_Shift);
    QTest::keyClick(&Tree(w), Qt::Key_Down);
    QTest::keyRelease(&Tree(w), Qt::Key_Shift);
    QCOMPARE(Tree(w).currentIndex(), item);
    const QImage shifted = DrawnApart(folder_, item, {{InstrumentKey::Down, true, 0}});
    QVERIFY(shifted != before);
    QCOMPARE(ScreenArea(w), shifted);
    // 決定 (the Enter key) toggles the reference on this screen.
    QTest::keyClick(&Tree(w), Qt::Key_Return);
    const QImage entered = DrawnApart(folder_, item, {{InstrumentKey::Down, true, 0}, {InstrumentKey::Enter, false, 0}});
    QVERIFY(entered != shifted);
    QCOMPARE(ScreenArea(w), entered);
    QCOMPARE(Tree(w).currentIndex(), item);
    // Without シフト ↓ selects the next item (the next table, or the next folder).
    QTest::keyClick(&Tree(w), Qt::Key_Down);
    QVERIFY(Tree(w).currentIndex() != item);
  }

  void spectrumAnswersOnlyShiftLeftAndRight() {
    ViewerFixture f;
    CMainWindow& w = *f.window;
    w.OpenFolder(folder_);
    const QModelIndex item = FirstMeasurement(w, kSpectrumRoot);
    Tree(w).setCurrentIndex(item);
    const QImage before = ScreenArea(w);
    QTest::mouseClick(&Find<QPushButton>(w, "leftKey"), Qt::LeftButton);
    QTest::mouseClick(&Find<QPushButton>(w, "rightKey"), Qt::LeftButton);
    QCOMPARE(ScreenArea(w), before);
    Find<QPushButton>(w, "shiftKey").setChecked(true);
    QTest::mouseClick(&Find<QPushButton>(w, "rightKey"), Qt::LeftButton);
    const QImage next = DrawnApart(folder_, item, {{InstrumentKey::Right, true, 0}});
    QVERIFY(next != before);
    QCOMPARE(ScreenArea(w), next);
    QTest::mouseClick(&Find<QPushButton>(w, "leftKey"), Qt::LeftButton);
    QTest::mouseClick(&Find<QPushButton>(w, "leftKey"), Qt::LeftButton);
    QCOMPARE(ScreenArea(w), DrawnApart(folder_, item, {{InstrumentKey::Right, true, 0}, {InstrumentKey::Left, true, 0},
                                                       {InstrumentKey::Left, true, 0}}));
  }

 private:
  QTemporaryDir dir_;
  QString folder_;
};

QObject* NewGraphKeysTest() { return new GraphKeysTest; }

}  // namespace rxt4::test

#include "GraphKeysTest.moc"
