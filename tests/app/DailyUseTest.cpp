// The viewer in daily use: a window the user enlarges, the recent folders, a folder
// dropped onto the window, the user guide and the about box, and a restart that shows
// the tree as it was left.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTreeView>
#include <QUrl>

#include "AboutDlg.h"
#include "AppTests.h"
#include "GuideWindow.h"
#include "ScreenSide.h"
#include "ScreenView.h"

namespace rxt4::test {
namespace {

// The entries the recent menu offers, as it shows them when opened.
QList<QAction*> RecentEntries(QWidget& w) {
  QMenu& menu = Find<QMenu>(w, "recentMenu");
  emit menu.aboutToShow();
  QList<QAction*> entries;
  for (QAction* a : menu.actions())
    if (!a->isSeparator()) entries << a;
  return entries;
}

QStringList RecentTexts(QWidget& w) {
  QStringList texts;
  for (const QAction* a : RecentEntries(w)) texts << a->text();
  return texts;
}

QRect InWindow(const QWidget* widget, const QWidget* window) { return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size()); }

}  // namespace

class DailyUseTest : public QObject {
  Q_OBJECT
 private slots:
  void anEnlargedWindowGivesItsRoomToTheTree() {
    ViewerFixture f;
    CMainWindow& w = *f.window;
    QApplication::processEvents();
    const QSize least = w.size();
    QCOMPARE(w.minimumSize(), least);
    const QWidget& screenSide = Find<ScreenSide>(w, "screenSide");
    const QWidget& shiftKey = Find<QPushButton>(w, "shiftKey");
    const QRect side = InWindow(&screenSide, &w);
    const QRect shift = InWindow(&shiftKey, &w);
    const QSize tree = Tree(w).size();
    const QSize more(200, 150);
    w.resize(least + more);
    QApplication::processEvents();
    QCOMPARE(Tree(w).size(), tree + more);
    // The screen side and the keys keep their size and their place beside the tree, at the top.
    QCOMPARE(InWindow(&screenSide, &w), side.translated(more.width(), 0));
    QCOMPARE(InWindow(&shiftKey, &w), shift.translated(more.width(), 0));
    // The enlargement stays through a change of zoom; 1× is the enlarged size again.
    Trigger(w, "zoom2");
    QCOMPARE(w.size(), w.minimumSize() + more);
    Trigger(w, "zoom1");
    QCOMPARE(w.size(), least + more);
    // Showing data never changes it.
    w.OpenFolder(MakeDataFolder(f.dir));
    Tree(w).expandAll();
    Tree(w).setCurrentIndex(TreeItem(w, {0, 0, 0}));
    QApplication::processEvents();
    QCOMPARE(w.size(), least + more);
  }

  void aZoomChangeKeepsTheWindowOnItsScreen() {
    ViewerFixture f;
    CMainWindow& w = *f.window;
    const QRect area = w.screen()->availableGeometry();
    QVERIFY2(area.width() >= 1400, "the tests' offscreen screen is 1400 x 900");
    // Near the right edge, as a fresh start centred on the screen would leave it at 2×.
    w.move(area.right() + 1 - w.frameGeometry().width() - 20, area.top() + 60);
    QApplication::processEvents();
    Trigger(w, "zoom2");
    QCOMPARE(Find<ScreenView>(w, "screenArea").zoom(), 2);
    QVERIFY2(area.contains(w.frameGeometry()), qPrintable(QStringLiteral("%1,%2 %3x%4").arg(w.frameGeometry().x())
                                                          .arg(w.frameGeometry().y()).arg(w.frameGeometry().width())
                                                          .arg(w.frameGeometry().height())));
  }

  void recentFoldersKeepTheLastEightNewestFirstAndOpenOnChoice() {
    ViewerFixture f;
    CMainWindow& w = *f.window;
    QVERIFY(RecentEntries(w).isEmpty());
    QStringList folders;
    for (int i = 1; i <= 9; ++i) {
      folders << f.dir.path() + QStringLiteral("/data%1/RXT4").arg(i);
      QDir().mkpath(folders.last());
      w.OpenFolder(folders.last());
    }
    w.OpenFolder(folders[4]);  // opened again: to the front
    const QStringList entries = RecentTexts(w);
    QCOMPARE(entries.size(), 8 + 1);  // and 一覧を消去
    QCOMPARE(entries[0], QStringLiteral("&1 ") + folders[4]);
    QCOMPARE(entries[1], QStringLiteral("&2 ") + folders[8]);
    QCOMPARE(entries[7], QStringLiteral("&8 ") + folders[1]);  // data1 is gone
    QCOMPARE(entries[8], Tr(StringId::RecentFoldersClear));
    RecentEntries(w).at(1)->trigger();
    QCOMPARE(LabelText(w, "folderPath"), folders[8]);
    // A folder removed since is said so.
    QDir(folders[3]).removeRecursively();
    const QList<QAction*> offered = RecentEntries(w);
    QCOMPARE(offered.at(5)->text(), QStringLiteral("&6 ") + folders[3]);
    offered.at(5)->trigger();
    QCOMPARE(f.prompts.informed.last(), folders[3] + QStringLiteral("\nフォルダが見つかりません。"));
    QCOMPARE(LabelText(w, "folderPath"), folders[8]);
  }

  void aRestartShowsTheTreeAsItWasLeft() {
    ViewerFixture f;
    const QString root = MakeDataFolder(f.dir);
    const QString other = f.dir.path() + QStringLiteral("/other/RXT4");
    QDir().mkpath(other);
    {
      CMainWindow& w = *f.window;
      w.OpenFolder(other);
      w.OpenFolder(root);
      Tree(w).expand(TreeItem(w, {0}));        // level
      Tree(w).expand(TreeItem(w, {0, 0}));     // level / 0412
      Tree(w).expand(TreeItem(w, {1}));        // BER
      Tree(w).setCurrentIndex(TreeItem(w, {0, 0, 1}));
      QVERIFY(w.close());
    }
    f.window.reset();
    CMainWindow again(TestServices(f.prompts, *f.settings));
    again.Initialise();
    again.show();
    again.OpenRememberedFolder();
    QCOMPARE(LabelText(again, "dataName"), QStringLiteral("A2"));
    QCOMPARE(LabelText(again, "dataNo"), QStringLiteral("2"));
    QTreeView& tree = Tree(again);
    QVERIFY(tree.isExpanded(TreeItem(again, {0})));
    QVERIFY(tree.isExpanded(TreeItem(again, {0, 0})));
    QVERIFY(tree.isExpanded(TreeItem(again, {1})));
    QVERIFY(!tree.isExpanded(TreeItem(again, {1, 0})));
    QVERIFY(!tree.isExpanded(TreeItem(again, {5})));
    QCOMPARE(RecentTexts(again).mid(0, 2), (QStringList{QStringLiteral("&1 ") + root, QStringLiteral("&2 ") + other}));
  }

  void aFolderDroppedOnTheWindowOpens() {
    ViewerFixture f;
    CMainWindow& w = *f.window;
    const QString root = MakeDataFolder(f.dir);
    const struct {
      QList<QUrl> urls;
      bool taken;
    } cases[] = {{{QUrl::fromLocalFile(root + QStringLiteral("/0412/LEVEL/0412.CSV"))}, false},
                 {{QUrl::fromLocalFile(root), QUrl::fromLocalFile(f.dir.path())}, false},
                 {{QUrl(QStringLiteral("https://example.org/RXT4"))}, false},
                 {{QUrl::fromLocalFile(root + QLatin1Char('/'))}, true}};
    for (const auto& c : cases) {
      QMimeData data;
      data.setUrls(c.urls);
      QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(&w, &enter);
      QCOMPARE(enter.isAccepted(), c.taken);
      QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(&w, &drop);
    }
    QTRY_COMPARE(LabelText(w, "folderPath"), root);
    QCOMPARE(MeasurementCount(w), 6);
  }

  void f1OpensTheGuideAndTheAboutBoxNamesVersionAndLicence() {
    ViewerFixture f;
    CMainWindow& w = *f.window;
    QVERIFY(Activate(w));
    QTest::keyClick(&Tree(w), Qt::Key_F1);
    auto* guide = w.findChild<CGuideWindow*>();
    QVERIFY(guide != nullptr && guide->isVisible());
    QCOMPARE(guide->windowTitle(), QStringLiteral("RXT4 ビューア ユーザーガイド"));
    QTextDocument* page = guide->browser()->document();
    QVERIFY(page->toPlainText().startsWith(QStringLiteral("RXT4 ビューア 利用ガイド")));
    QVERIFY(!page->resource(QTextDocument::ImageResource, QUrl(QStringLiteral("guide/viewer.png"))).isNull());
    // A link to a heading moves there.
    emit guide->browser()->anchorClicked(QUrl(QStringLiteral("#データ転送")));
    QCOMPARE(guide->browser()->textCursor().block().text(), QStringLiteral("データ転送"));

    CAboutDlg about(&w);
    QStringList texts;
    for (const QLabel* label : about.findChildren<QLabel*>()) texts << label->text();
    QVERIFY(texts.join(QLatin1Char('\n')).contains(QStringLiteral("RXT4 ビューア Version 1.0.0\n"
                                                                  "このソフトウェアは MIT ライセンスで提供されます。")));
  }
};

QObject* NewDailyUseTest() { return new DailyUseTest; }

}  // namespace rxt4::test

#include "DailyUseTest.moc"
