// Keyboard routing and the instrument key buttons: arrows to the tree or the screen,
// シフト, 決定, Escape, the accelerators, the held count of the ← → buttons, and the
// buttons the keys hold let go wherever the keys go.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

#include "AppTests.h"
#include "KeyPad.h"
#include "RepeatButton.h"

namespace rxt4::test {
namespace {

QPushButton& Key(QWidget& w, const char* name) { return Find<QPushButton>(w, name); }

// The arrow buttons show their シフト pictures (or their plain ones).
bool ShowShiftImages(QWidget& w, bool shifted) {
  for (const char* arrow : {"up", "down", "left", "right"}) {
    const QString icon = QStringLiteral(":/viewer/%1%2.svg").arg(QLatin1String(arrow), shifted ? "_shift" : "");
    const QImage expected = QIcon(icon).pixmap(QSize(28, 28)).toImage();
    if (Key(w, (std::string(arrow) + "Key").c_str()).icon().pixmap(QSize(28, 28)).toImage() != expected) return false;
  }
  return true;
}

// The instrument keys each key press of the key pad carried.
QList<InstrumentKey> Keys(const QSignalSpy& presses) {
  QList<InstrumentKey> keys;
  for (const QList<QVariant>& args : presses) keys << args.at(0).value<KeyPress>().key;
  return keys;
}

// No key button shows pressed, none counts held ticks, and no repetition runs on.
bool NothingHeld(QWidget& w) {
  for (const char* name : {"upKey", "downKey", "leftKey", "rightKey", "enterKey"})
    if (Key(w, name).isDown()) return false;
  KeyPad& pad = Find<KeyPad>(w, "keyPad");
  QSignalSpy presses(&pad, &KeyPad::keyPressed);
  pad.Repeat();
  return !Find<CRepeatButton>(w, "leftKey").holding() && !Find<CRepeatButton>(w, "rightKey").holding() &&
         presses.isEmpty();
}

}  // namespace

class KeyRoutingTest : public QObject {
  Q_OBJECT
 private slots:
  void upDownMoveTheTreeWithoutShiftAndNotWithIt() {
    ViewerFixture f;
    CMainWindow& w = *f.window;
    w.OpenFolder(MakeDataFolder(f.dir));
    QVERIFY(Activate(w));
    QSignalSpy presses(&Find<KeyPad>(w, "keyPad"), &KeyPad::keyPressed);
    QTreeView& tree = Tree(w);
    tree.expandAll();
    tree.setCurrentIndex(TreeItem(w, {0, 0, 0}));
    QTest::keyClick(&tree, Qt::Key_Down);
    QCOMPARE(tree.currentIndex(), TreeItem(w, {0, 0, 1}));
    QCOMPARE(LabelText(w, "dataNo"), QStringLiteral("2"));
    QTest::keyClick(&tree, Qt::Key_Up);
    QCOMPARE(tree.currentIndex(), TreeItem(w, {0, 0, 0}));
    QVERIFY(presses.isEmpty());  // the keys went to the tree by the normal route

    // The ↓ button without シフト: the same, and the focus returns to the tree.
    QTest::mouseClick(&Key(w, "downKey"), Qt::LeftButton);
    QCOMPARE(tree.currentIndex(), TreeItem(w, {0, 0, 1}));
    QVERIFY(tree.hasFocus());

    // Shift held: シフト checked, images swapped; ↓ no longer moves the tree.
    QTest::keyPress(&tree, Qt::Key_Shift);
    QVERIFY(Key(w, "shiftKey").isChecked());
    QVERIFY(ShowShiftImages(w, true));
    // (QTest would press and release Shift around a key given with the modifier.)
    QTest::keyClick(&tree, Qt::Key_Down);
    QCOMPARE(tree.currentIndex(), TreeItem(w, {0, 0, 1}));
    QTest::mouseClick(&Key(w, "upKey"), Qt::LeftButton);
    QCOMPARE(tree.currentIndex(), TreeItem(w, {0, 0, 1}));
    QCOMPARE(Keys(presses), (QList<InstrumentKey>{InstrumentKey::Down, InstrumentKey::Down, InstrumentKey::Up}));
    QVERIFY(presses.at(1).at(0).value<KeyPress>().shift);
    QTest::keyRelease(&tree, Qt::Key_Shift);
    QVERIFY(!Key(w, "shiftKey").isChecked());
    QVERIFY(ShowShiftImages(w, false));

    // The シフト button itself.
    QTest::mouseClick(&Key(w, "shiftKey"), Qt::LeftButton);
    QVERIFY(Key(w, "shiftKey").isChecked());
    QVERIFY(ShowShiftImages(w, true));
    QVERIFY(tree.hasFocus());
  }

  void leftRightReachTheTreeOnlyWhenNothingIsShown() {
    ViewerFixture f;
    CMainWindow& w = *f.window;
    w.OpenFolder(MakeDataFolder(f.dir));
    QVERIFY(Activate(w));
    QTreeView& tree = Tree(w);
    const QModelIndex root = TreeItem(w, {0});
    tree.setCurrentIndex(root);
    QVERIFY(!tree.isExpanded(root));
    QTest::mouseClick(&Key(w, "rightKey"), Qt::LeftButton);
    QVERIFY(tree.isExpanded(root));
    QTest::mouseClick(&Key(w, "leftKey"), Qt::LeftButton);
    QVERIFY(!tree.isExpanded(root));
    QTest::keyClick(&tree, Qt::Key_Right);
    QVERIFY(tree.isExpanded(root));

    // With シフト all four do nothing when no screen is shown.
    Key(w, "shiftKey").setChecked(true);
    for (const char* name : {"leftKey", "rightKey", "upKey", "downKey"}) QTest::mouseClick(&Key(w, name), Qt::LeftButton);
    QCOMPARE(tree.currentIndex(), root);
    QVERIFY(tree.isExpanded(root));
    Key(w, "shiftKey").setChecked(false);

    // On the level screen ← and → do nothing: selection and pixels stay.
    tree.expandAll();
    tree.setCurrentIndex(TreeItem(w, {0, 0, 1}));
    const QImage before = ScreenArea(w);
    QTest::keyClick(&tree, Qt::Key_Left);
    QTest::keyClick(&tree, Qt::Key_Right);
    QTest::mouseClick(&Key(w, "leftKey"), Qt::LeftButton);
    QCOMPARE(tree.currentIndex(), TreeItem(w, {0, 0, 1}));
    QCOMPARE(ScreenArea(w), before);
  }

  void escapeAltF4AndEnterAreHandledByTheWindow() {
    ViewerFixture f;
    CMainWindow& w = *f.window;
    w.OpenFolder(MakeDataFolder(f.dir));
    QVERIFY(Activate(w));
    QTreeView& tree = Tree(w);
    tree.expandAll();
    const QModelIndex item = TreeItem(w, {0, 0, 0});
    tree.setCurrentIndex(item);
    QTest::keyClick(&tree, Qt::Key_Escape);
    QTest::keyClick(&tree, Qt::Key_F4, Qt::AltModifier);
    QVERIFY(w.isVisible());
    QVERIFY(f.prompts.asked.isEmpty());
    QCOMPARE(tree.currentIndex(), item);

    QSignalSpy presses(&Find<KeyPad>(w, "keyPad"), &KeyPad::keyPressed);
    QTest::keyPress(&tree, Qt::Key_Return);
    QVERIFY(Key(w, "enterKey").isDown());
    QTest::keyRelease(&tree, Qt::Key_Return);
    QVERIFY(!Key(w, "enterKey").isDown());
    QCOMPARE(tree.currentIndex(), item);  // Enter does not reach the tree
    QCOMPARE(Keys(presses), QList<InstrumentKey>{InstrumentKey::Enter});
  }

  void acceleratorsComeBeforeTheTree() {
    ViewerFixture f;
    CMainWindow& w = *f.window;
    w.OpenFolder(MakeDataFolder(f.dir));
    QVERIFY(Activate(w));
    QTreeView& tree = Tree(w);
    // Greyed while nothing is shown: Ctrl+S is consumed and asks nothing.
    QTest::keyClick(&tree, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(f.prompts.saveTitle.isEmpty());
    tree.expandAll();
    tree.setCurrentIndex(TreeItem(w, {0, 0, 2}));
    QTest::keyClick(&tree, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(f.prompts.saveTitle, QStringLiteral("画面を保存"));
    QCOMPARE(f.prompts.saveProposed, QStringLiteral("A3"));
    QCOMPARE(f.prompts.saveSuffix, QStringLiteral("bmp"));
    QCOMPARE(f.prompts.saveFilter, QStringLiteral("ビットマップ(*.bmp);;すべて (*.*)"));
    QApplication::clipboard()->clear();
    QTest::keyClick(&tree, Qt::Key_C, Qt::ControlModifier);
    QVERIFY(!QApplication::clipboard()->image().isNull());
    f.prompts.folder.reset();
    QTest::keyClick(&tree, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(f.prompts.folderTitles.size(), 1);
  }

  void keysOfTheMenusLeaveNoInstrumentKeyDown() {
    ViewerFixture f;
    CMainWindow& w = *f.window;
    QVERIFY(Activate(w));
    // The menu bar in keyboard mode (after Alt+F and Esc): its keys open and walk the
    // menus, and their releases go to the menus.
    w.menuBar()->setFocus(Qt::MenuBarFocusReason);
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Right, Qt::Key_Left, Qt::Key_Up, Qt::Key_Return}) {
      QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
      QApplication::sendEvent(w.menuBar(), &press);
      while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    }
    QVERIFY(NothingHeld(w));

    // A key held while the window loses the keyboard is let go.
    CRepeatButton& left = Find<CRepeatButton>(w, "leftKey");
    Tree(w).setFocus();
    QTest::keyPress(&Tree(w), Qt::Key_Left);
    QVERIFY(left.isDown());
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QVERIFY(!left.isDown());
    QVERIFY(!left.holding());
  }

  void aMenuOrAReleaseElsewhereLeavesNoButtonDownAndNoRepetition() {
    ViewerFixture f;
    CMainWindow& w = *f.window;
    QVERIFY(Activate(w));
    QTreeView& tree = Tree(w);
    // An arrow button held by the mouse repeats; the menu bar taking the keys ends it.
    KeyPad& pad = Find<KeyPad>(w, "keyPad");
    QPushButton& right = Key(w, "rightKey");
    QCursor::setPos(right.mapToGlobal(right.rect().center()));
    QTest::mousePress(&right, Qt::LeftButton);
    QSignalSpy presses(&pad, &KeyPad::keyPressed);
    pad.Poll();
    QTRY_VERIFY(!presses.isEmpty());  // the repetition's next tick
    QVERIFY(Keys(presses).startsWith(InstrumentKey::Right));
    QTest::keyPress(&tree, Qt::Key_Up);
    w.menuBar()->setFocus(Qt::MenuBarFocusReason);
    QVERIFY(!Key(w, "upKey").isDown());
    QVERIFY(NothingHeld(w));
    QTest::mouseRelease(&right, Qt::LeftButton);
    QVERIFY(NothingHeld(w));

    // → held, Alt+V opens 表示, → is let go while the menu has the keys, Esc twice.
    tree.setFocus();
    QTest::keyPress(&tree, Qt::Key_Right);
    QVERIFY(Key(w, "rightKey").isDown());
    QTest::keyClick(&tree, Qt::Key_V, Qt::AltModifier);
    QWidget* menu = QApplication::activePopupWidget();
    QVERIFY(menu != nullptr);
    QTest::keyRelease(menu, Qt::Key_Right);
    QTest::keyClick(menu, Qt::Key_Escape);
    QTest::keyClick(w.menuBar(), Qt::Key_Escape);
    QVERIFY(NothingHeld(w));

    // A menu opening while a key is still held lets it go too.
    tree.setFocus();
    QTest::keyPress(&tree, Qt::Key_Left);
    QVERIFY(Find<CRepeatButton>(w, "leftKey").holding());
    w.menuBar()->actions().at(2)->menu()->popup(w.mapToGlobal(QPoint(0, 0)));
    QVERIFY(NothingHeld(w));
    while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  }

  void repeatButtonCountsHeldTicksBetweenPressAndRelease() {
    ViewerFixture f;
    CMainWindow& w = *f.window;
    QVERIFY(Activate(w));
    CRepeatButton& right = Find<CRepeatButton>(w, "rightKey");
    QCOMPARE(right.heldTicks(), 0);
    QTest::mousePress(&right, Qt::LeftButton);
    QVERIFY(right.holding());
    right.Tick();
    right.Tick();
    QCOMPARE(right.heldTicks(), 2);
    right.StartHolding();  // already holding: the count goes on
    QCOMPARE(right.heldTicks(), 2);
    QTest::mouseRelease(&right, Qt::LeftButton);
    QVERIFY(!right.holding());
    QCOMPARE(right.heldTicks(), 0);

    // The keyboard holds the button too; the X11 repeat's release does not end it.
    CRepeatButton& left = Find<CRepeatButton>(w, "leftKey");
    QTest::keyPress(&Tree(w), Qt::Key_Left);
    QVERIFY(left.holding());
    QVERIFY(left.isDown());
    left.Tick();
    QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_Left, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(&Tree(w), &repeatRelease);
    QCOMPARE(left.heldTicks(), 1);
    QTest::keyRelease(&Tree(w), Qt::Key_Left);
    QVERIFY(!left.holding());
    QVERIFY(!left.isDown());
    QCOMPARE(left.heldTicks(), 0);
  }
};

QObject* NewKeyRoutingTest() { return new KeyRoutingTest; }

}  // namespace rxt4::test

#include "KeyRoutingTest.moc"
