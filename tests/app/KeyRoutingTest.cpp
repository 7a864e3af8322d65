// Keyboard routing and the instrument key buttons: arrows to the tree or the screen,
// シフト, 決定, Escape, the accelerators, and the held count of the ← → buttons.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include "AppTests.h"
#include "RepeatButton.h"

namespace rxt4::test {
namespace {

QModelIndex Item(const QAbstractItemModel& model, std::initializer_list<int> rows) {
  QModelIndex index;
  for (int r : rows) index = model.index(r, 0, index);
  return index;
}

void Activate(CViewerDlg& w) {
  w.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&w));
  w.tree()->setFocus();
  QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.tree()));
}

}  // namespace

class KeyRoutingTest : public QObject {
  Q_OBJECT
 private slots:
  void upDownMoveTheTreeWithoutShiftAndNotWithIt() {
    ViewerFixture f;
    CViewerDlg& w = *f.window;
    w.OpenFolder(MakeDataFolder(f.dir));
    Activate(w);
    const QAbstractItemModel& model = *w.tree()->model();
    w.tree()->expandAll();
    w.tree()->setCurrentIndex(Item(model, {0, 0, 0}));
    QTest::keyClick(w.tree(), Qt::Key_Down);
    QCOMPARE(w.tree()->currentIndex(), Item(model, {0, 0, 1}));
    QCOMPARE(w.indexLabel()->text(), QStringLiteral("2"));
    QTest::keyClick(w.tree(), Qt::Key_Up);
    QCOMPARE(w.tree()->currentIndex(), Item(model, {0, 0, 0}));

    // The ↓ button without シフト: the same, and the focus returns to the tree.
    QTest::mouseClick(w.downButton(), Qt::LeftButton);
    QCOMPARE(w.tree()->currentIndex(), Item(model, {0, 0, 1}));
    QVERIFY(w.lastArrowKey() == InstrumentKey::Down);
    QVERIFY(w.tree()->hasFocus());

    // Shift held: シフト checked, images swapped; ↓ no longer moves the tree.
    QTest::keyPress(w.tree(), Qt::Key_Shift);
    QVERIFY(w.shiftButton()->isChecked());
    QVERIFY(w.downButton()->property("shiftImage").toBool());
    // (QTest would press and release Shift around a key given with the modifier.)
    QTest::keyClick(w.tree(), Qt::Key_Down);
    QCOMPARE(w.tree()->currentIndex(), Item(model, {0, 0, 1}));
    QVERIFY(w.lastArrowKey() == InstrumentKey::Down);
    QTest::mouseClick(w.upButton(), Qt::LeftButton);
    QCOMPARE(w.tree()->currentIndex(), Item(model, {0, 0, 1}));
    QVERIFY(w.lastArrowKey() == InstrumentKey::Up);
    QTest::keyRelease(w.tree(), Qt::Key_Shift);
    QVERIFY(!w.shiftButton()->isChecked());
    QVERIFY(!w.leftButton()->property("shiftImage").toBool());

    // The シフト button itself.
    QTest::mouseClick(w.shiftButton(), Qt::LeftButton);
    QVERIFY(w.shiftButton()->isChecked());
    QVERIFY(w.upButton()->property("shiftImage").toBool());
    QVERIFY(w.tree()->hasFocus());
  }

  void leftRightReachTheTreeOnlyWhenNothingIsShown() {
    ViewerFixture f;
    CViewerDlg& w = *f.window;
    w.OpenFolder(MakeDataFolder(f.dir));
    Activate(w);
    const QAbstractItemModel& model = *w.tree()->model();
    const QModelIndex root = Item(model, {0});
    w.tree()->setCurrentIndex(root);
    QVERIFY(!w.tree()->isExpanded(root));
    QTest::mouseClick(w.rightButton(), Qt::LeftButton);
    QVERIFY(w.tree()->isExpanded(root));
    QVERIFY(w.lastArrowKey() == InstrumentKey::Right);
    QTest::mouseClick(w.leftButton(), Qt::LeftButton);
    QVERIFY(!w.tree()->isExpanded(root));
    QTest::keyClick(w.tree(), Qt::Key_Right);
    QVERIFY(w.tree()->isExpanded(root));

    // With シフト all four do nothing when no screen is shown.
    w.shiftButton()->setChecked(true);
    for (QPushButton* b : {static_cast<QPushButton*>(w.leftButton()), static_cast<QPushButton*>(w.rightButton()), w.upButton(), w.downButton()})
      QTest::mouseClick(b, Qt::LeftButton);
    QCOMPARE(w.tree()->currentIndex(), root);
    QVERIFY(w.tree()->isExpanded(root));
    w.shiftButton()->setChecked(false);

    // On the level screen ← and → do nothing: selection and pixels stay.
    w.tree()->expandAll();
    w.tree()->setCurrentIndex(Item(model, {0, 0, 1}));
    const std::vector<std::uint8_t> before = w.surface().pixels();
    QTest::keyClick(w.tree(), Qt::Key_Left);
    QTest::keyClick(w.tree(), Qt::Key_Right);
    QTest::mouseClick(w.leftButton(), Qt::LeftButton);
    QCOMPARE(w.tree()->currentIndex(), Item(model, {0, 0, 1}));
    QVERIFY(w.surface().pixels() == before);
    QVERIFY(w.lastArrowKey() == InstrumentKey::Left);
  }

  void escapeAltF4AndEnterAreHandledByTheWindow() {
    ViewerFixture f;
    CViewerDlg& w = *f.window;
    w.OpenFolder(MakeDataFolder(f.dir));
    Activate(w);
    w.tree()->expandAll();
    const QModelIndex item = Item(*w.tree()->model(), {0, 0, 0});
    w.tree()->setCurrentIndex(item);
    QTest::keyClick(w.tree(), Qt::Key_Escape);
    QTest::keyClick(w.tree(), Qt::Key_F4, Qt::AltModifier);
    QVERIFY(w.isVisible());
    QVERIFY(f.prompts.asked.isEmpty());
    QCOMPARE(w.tree()->currentIndex(), item);

    QTest::keyPress(w.tree(), Qt::Key_Return);
    QVERIFY(w.enterButton()->isDown());
    QTest::keyRelease(w.tree(), Qt::Key_Return);
    QVERIFY(!w.enterButton()->isDown());
    QCOMPARE(w.tree()->currentIndex(), item);  // Enter does not reach the tree
  }

  void acceleratorsComeBeforeTheTree() {
    ViewerFixture f;
    CViewerDlg& w = *f.window;
    w.OpenFolder(MakeDataFolder(f.dir));
    Activate(w);
    // Greyed while nothing is shown: Ctrl+S is consumed and asks nothing.
    QTest::keyClick(w.tree(), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(f.prompts.saveTitle.isEmpty());
    w.tree()->expandAll();
    w.tree()->setCurrentIndex(Item(*w.tree()->model(), {0, 0, 2}));
    QTest::keyClick(w.tree(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(f.prompts.saveTitle, QStringLiteral("画面を保存"));
    QCOMPARE(f.prompts.saveProposed, QStringLiteral("A3"));
    QCOMPARE(f.prompts.saveSuffix, QStringLiteral("bmp"));
    QCOMPARE(f.prompts.saveFilter, QStringLiteral("ビットマップ(*.bmp);;すべて (*.*)"));
    QApplication::clipboard()->clear();
    QTest::keyClick(w.tree(), Qt::Key_C, Qt::ControlModifier);
    QVERIFY(!QApplication::clipboard()->image().isNull());
    f.prompts.folder.reset();
    QTest::keyClick(w.tree(), Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(f.prompts.folderTitles.size(), 1);
  }

  void keysOfTheMenusLeaveNoInstrumentKeyDown() {
    ViewerFixture f;
    CViewerDlg& w = *f.window;
    Activate(w);
    // The menu bar in keyboard mode (after Alt+F and Esc): its keys open and walk the
    // menus, and their releases go to the menus.
    w.menuBar()->setFocus(Qt::MenuBarFocusReason);
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Right, Qt::Key_Left, Qt::Key_Up, Qt::Key_Return}) {
      QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
      QApplication::sendEvent(w.menuBar(), &press);
      while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    }
    for (QPushButton* b : {w.upButton(), w.downButton(), static_cast<QPushButton*>(w.leftButton()),
                           static_cast<QPushButton*>(w.rightButton()), w.enterButton()})
      QVERIFY(!b->isDown());
    QVERIFY(!w.leftButton()->holding());

    // A key held while the window loses the keyboard is let go.
    w.tree()->setFocus();
    QTest::keyPress(w.tree(), Qt::Key_Left);
    QVERIFY(w.leftButton()->isDown());
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QVERIFY(!w.leftButton()->isDown());
    QVERIFY(!w.leftButton()->holding());
  }

  void aMenuOrAReleaseElsewhereLeavesNoButtonDownAndNoRepetition() {
    ViewerFixture f;
    CViewerDlg& w = *f.window;
    Activate(w);
    auto nothingHeld = [&w] {
      for (QPushButton* b : {w.upButton(), w.downButton(), static_cast<QPushButton*>(w.leftButton()),
                             static_cast<QPushButton*>(w.rightButton()), w.enterButton()})
        if (b->isDown()) return false;
      return !w.leftButton()->holding() && !w.rightButton()->holding() && !w.repeating();
    };
    // → held, Alt+V opens 表示, → is let go while the menu has the keys, Esc twice.
    QTest::keyPress(w.tree(), Qt::Key_Right);
    QVERIFY(w.rightButton()->isDown());
    QTest::keyClick(w.tree(), Qt::Key_V, Qt::AltModifier);
    QWidget* menu = QApplication::activePopupWidget();
    QVERIFY(menu != nullptr);
    QTest::keyRelease(menu, Qt::Key_Right);
    QTest::keyClick(menu, Qt::Key_Escape);
    QTest::keyClick(w.menuBar(), Qt::Key_Escape);
    QVERIFY(nothingHeld());

    // A menu opening while a key is still held lets it go too.
    w.tree()->setFocus();
    QTest::keyPress(w.tree(), Qt::Key_Left);
    QVERIFY(w.leftButton()->holding());
    w.menuBar()->actions().at(2)->menu()->popup(w.mapToGlobal(QPoint(0, 0)));
    QVERIFY(nothingHeld());
    while (QWidget* popup = QApplication::activePopupWidget()) popup->close();

    // An arrow button held by the mouse repeats; the menu bar taking the keys ends it.
    w.tree()->setFocus();
    QTest::mousePress(w.rightButton(), Qt::LeftButton);
    w.TimerTick(true);
    QVERIFY(w.repeating());
    QTest::keyPress(w.tree(), Qt::Key_Up);
    w.menuBar()->setFocus(Qt::MenuBarFocusReason);
    QVERIFY(!w.upButton()->isDown());
    QVERIFY(!w.repeating());
    w.TimerTick(false);
    QVERIFY(!w.repeating());
    QTest::mouseRelease(w.rightButton(), Qt::LeftButton);
    QVERIFY(nothingHeld());
  }

  void repeatButtonCountsHeldTicksBetweenPressAndRelease() {
    ViewerFixture f;
    CViewerDlg& w = *f.window;
    Activate(w);
    CRepeatButton* right = w.rightButton();
    QCOMPARE(right->heldTicks(), 0);
    QTest::mousePress(right, Qt::LeftButton);
    QVERIFY(right->holding());
    right->Tick();
    right->Tick();
    QCOMPARE(right->heldTicks(), 2);
    right->StartHolding();  // already holding: the count goes on
    QCOMPARE(right->heldTicks(), 2);
    QTest::mouseRelease(right, Qt::LeftButton);
    QVERIFY(!right->holding());
    QCOMPARE(right->heldTicks(), 0);

    // The keyboard holds the button too; the X11 repeat's release does not end it.
    CRepeatButton* left = w.leftButton();
    QTest::keyPress(w.tree(), Qt::Key_Left);
    QVERIFY(left->holding());
    QVERIFY(left->isDown());
    left->Tick();
    QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_Left, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(w.tree(), &repeatRelease);
    QCOMPARE(left->heldTicks(), 1);
    QTest::keyRelease(w.tree(), Qt::Key_Left);
    QVERIFY(!left->holding());
    QVERIFY(!left->isDown());
    QCOMPARE(left->heldTicks(), 0);
  }
};

QObject* NewKeyRoutingTest() { return new KeyRoutingTest; }

}  // namespace rxt4::test

#include "KeyRoutingTest.moc"
