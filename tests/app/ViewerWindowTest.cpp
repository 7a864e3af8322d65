// The main window: start-up state, selection of each kind and of folder items, the
// folder choice with its name warning, and the exit confirmation.
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QDateTime>
#include <QFileIconProvider>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLocale>
#include <QToolTip>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTranslator>
#include <QTreeView>

#include "AppTests.h"
#include "ElidedLabel.h"
#include "ScreenSide.h"
#include "ViewerApp.h"
#include "rxt4/data/Sjis.h"

namespace rxt4::test {
namespace {

const char* const kRootTexts[] = {"レベル測定データ", "BER測定データ", "コンスタレーションデータ", "スペクトラムデータ",
                                  "遅延プロファイルデータ", "スカパー測定データ", "多チャンネル測定データ"};

// The screen area shows a white inside in a one-pixel black frame.
bool BlankArea(const QImage& area) {
  if (area.size() != QSize(321, 240)) return false;
  for (int y = 0; y < area.height(); ++y)
    for (int x = 0; x < area.width(); ++x) {
      const bool edge = x == 0 || y == 0 || x == area.width() - 1 || y == area.height() - 1;
      if (area.pixel(x, y) != (edge ? qRgb(0, 0, 0) : qRgb(255, 255, 255))) return false;
    }
  return true;
}

// Both buttons and both menu items of 画面を保存 and 画面をコピー are enabled (or all are not).
bool SaveAndCopyAre(QWidget& w, bool enabled) {
  for (const char* button : {"saveButton", "copyButton"})
    if (Find<QPushButton>(w, button).isEnabled() != enabled) return false;
  for (const char* action : {"saveAction", "copyAction"})
    if (Find<QAction>(w, action).isEnabled() != enabled) return false;
  return true;
}

}  // namespace

class ViewerWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void startsWithSevenRootsBlankLabelsAndWhiteFramedArea() {
    ViewerFixture f;
    CMainWindow& w = *f.window;
    QCOMPARE(w.windowTitle(), QStringLiteral("RXT4 ビューア"));
    const QAbstractItemModel& model = *Tree(w).model();
    QCOMPARE(model.rowCount(), 7);
    for (int i = 0; i < 7; ++i) QCOMPARE(model.index(i, 0).data().toString(), QString::fromUtf8(kRootTexts[i]));
    QCOMPARE(LabelText(w, "dataNo"), QStringLiteral("0"));
    QCOMPARE(LabelText(w, "dataCount"), QStringLiteral("0"));
    QVERIFY(BlankArea(ScreenArea(w)));
    QVERIFY(SaveAndCopyAre(w, false));
    QVERIFY(LabelText(w, "folderPath").isEmpty());
    // No settings file appears just from starting.
    QVERIFY(!QFile::exists(f.dir.path() + QStringLiteral("/cfg/RXT4_Viewer.ini")));
  }

  void selectingEachKindShowsItsLabelsAndAFolderItemBlanksThem() {
    ViewerFixture f;
    CMainWindow& w = *f.window;
    const QString folder = MakeDataFolder(f.dir);
    w.OpenFolder(folder);
    QVERIFY(LabelText(w, "folderPath").endsWith(QStringLiteral("/RXT4")));
    const QAbstractItemModel& model = *Tree(w).model();
    // Level root: one set folder with three measurements, labelled "%3d:" + name.
    QCOMPARE(model.rowCount(TreeItem(w, {0})), 1);
    QCOMPARE(TreeItem(w, {0, 0}).data().toString(), QStringLiteral("0412"));
    // Padded with figure spaces, as wide as a digit.
    QCOMPARE(TreeItem(w, {0, 0, 1}).data().toString(), QStringLiteral("\u2007\u20072:A2"));

    struct Case {
      std::initializer_list<int> path;
      const char* index;
      const char* count;
      const char* name;
    };
    const Case cases[] = {{{0, 0, 1}, "2", "3", "A2"}, {{1, 0, 0}, "1", "2", "B1"}, {{5, 0, 0}, "1", "1", "S1"}};
    for (const Case& c : cases) {
      const QModelIndex item = TreeItem(w, c.path);
      Tree(w).setCurrentIndex(item);
      QCOMPARE(LabelText(w, "dataNo"), QString::fromLatin1(c.index));
      QCOMPARE(LabelText(w, "dataCount"), QString::fromLatin1(c.count));
      QCOMPARE(LabelText(w, "dataName"), QString::fromLatin1(c.name));
      QVERIFY(!LabelText(w, "title").trimmed().isEmpty());
      QVERIFY(SaveAndCopyAre(w, true));
      // The screen of the item's kind, drawn for its row, and no blank panel over it.
      const QImage shown = ScreenArea(w);
      QVERIFY(!BlankArea(shown));
      QCOMPARE(shown, DrawnApart(folder, item));
    }

    for (std::initializer_list<int> path : {std::initializer_list<int>{0, 0}, {3}}) {
      Tree(w).setCurrentIndex(TreeItem(w, path));
      QCOMPARE(LabelText(w, "dataNo"), QStringLiteral("  "));
      QCOMPARE(LabelText(w, "dataCount"), QStringLiteral("  "));
      QCOMPARE(LabelText(w, "title"), QStringLiteral(" "));
      QCOMPARE(LabelText(w, "dataName"), QStringLiteral(" "));
      QVERIFY(SaveAndCopyAre(w, false));
      QVERIFY(BlankArea(ScreenArea(w)));
    }
  }

  void loaderMessagesAreShownWithTheirTexts() {
    ViewerFixture f;
    const QString root = MakeDataFolder(f.dir);
    PutFile(root, QStringLiteral("0412/LEVEL/0412.cnt"), "4\n2.00");  // three rows on file
    PutFile(root, QStringLiteral("0412/BER/0412.cnt"), std::string(6, '\0'));  // no count at all
    f.window->OpenFolder(root);
    QCOMPARE(f.prompts.informed.size(), 2);
    QCOMPARE(f.prompts.informed[0], root + QStringLiteral("/0412/LEVEL/0412.CSV のデータ数が記録情報と異なります。\n"
                                                          "データが正常に表示できない可能性があります。\n"
                                                          "CSVファイルを確認してください。"));
    QCOMPARE(f.prompts.informed[1], root + QStringLiteral("/0412/BER/0412.cnt の記録情報が正しくありません。\n"
                                                          "このフォルダのデータは表示されません。"));
  }

  void folderNameWarningIsAskedOnlyForOtherNamesAndNoKeepsTheTree() {
    ViewerFixture f;
    CMainWindow& w = *f.window;
    const QString rxt4 = MakeDataFolder(f.dir);
    // A folder ending in RXT4: no question.
    f.prompts.folder = rxt4;
    Trigger(w, "folderAction");
    QVERIFY(f.prompts.asked.isEmpty());
    QVERIFY(!f.prompts.lastOfferNewFolder);
    QCOMPARE(f.prompts.folderTitles.last(), QStringLiteral("フォルダ選択"));
    QCOMPARE(LabelText(w, "folderPath"), rxt4);
    QCOMPARE(MeasurementCount(w), 6);

    // "rxt4" differs in case: asked; No keeps everything.
    const QString lower = f.dir.path() + QStringLiteral("/data/rxt4");
    PutFile(lower, QStringLiteral("x.txt"), "");
    f.prompts.folder = lower;
    f.prompts.answerYes = false;
    Trigger(w, "folderAction");
    QCOMPARE(f.prompts.asked.size(), 1);
    QCOMPARE(f.prompts.asked[0], QStringLiteral("RXT4以外のフォルダを選択した場合\n正常にデータが読み込めない可能性があります。\nよろしいですか？"));
    QCOMPARE(LabelText(w, "folderPath"), rxt4);
    QCOMPARE(MeasurementCount(w), 6);
    // The picker opens at the folder chosen last (the button is the same command).
    QTest::mouseClick(&Find<QPushButton>(w, "folderButton"), Qt::LeftButton);
    QCOMPARE(f.prompts.lastStart, lower);

    // Yes loads it.
    f.prompts.answerYes = true;
    Trigger(w, "folderAction");
    QCOMPARE(LabelText(w, "folderPath"), lower);
    QCOMPARE(MeasurementCount(w), 0);
    QCOMPARE(Tree(w).model()->rowCount(), 7);

    // With the alert switched off nothing is asked.
    f.settings->SaveFolderAlert(false);
    f.prompts.asked.clear();
    f.prompts.folder = rxt4;
    Trigger(w, "folderAction");
    f.prompts.folder = lower;
    Trigger(w, "folderAction");
    QVERIFY(f.prompts.asked.isEmpty());

    // Cancelled: nothing changes.
    f.prompts.folder.reset();
    Trigger(w, "folderAction");
    QCOMPARE(LabelText(w, "folderPath"), lower);
  }

  void exitIsConfirmedAndNoLeavesTheWindowAsItWas() {
    ViewerFixture f;
    CMainWindow& w = *f.window;
    w.OpenFolder(MakeDataFolder(f.dir));
    Tree(w).setCurrentIndex(TreeItem(w, {0, 0, 0}));
    f.prompts.answerYes = false;
    Trigger(w, "exitAction");
    QVERIFY(!w.close());  // the close box asks too
    QCOMPARE(f.prompts.asked.size(), 2);
    QCOMPARE(f.prompts.asked[0], QStringLiteral("RXT4 ビューアを終了します\nよろしいですか？"));
    QVERIFY(w.isVisible());
    QCOMPARE(LabelText(w, "dataName"), QStringLiteral("A1"));
    f.prompts.answerYes = true;
    QTest::mouseClick(&Find<QPushButton>(w, "exitButton"), Qt::LeftButton);
    QVERIFY(!w.isVisible());
    QCOMPARE(f.prompts.asked.size(), 3);
  }

  void noItemIsCurrentUntilTheUserPicksOne() {
    ViewerFixture f;
    CMainWindow& w = *f.window;
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    Tree(w).setFocus(Qt::TabFocusReason);  // the tree's first focus
    QVERIFY(!Tree(w).currentIndex().isValid());
    QCOMPARE(LabelText(w, "dataNo"), QStringLiteral("0"));
    QCOMPARE(LabelText(w, "dataCount"), QStringLiteral("0"));
    w.OpenFolder(MakeDataFolder(f.dir));  // gives the tree the focus again
    w.setFocus();
    Tree(w).setFocus(Qt::TabFocusReason);
    QVERIFY(!Tree(w).currentIndex().isValid());
    QCOMPARE(LabelText(w, "dataNo"), QStringLiteral("0"));
  }

  void longNamesAndPathsNeitherWidenTheWindowNorTheSnapshot() {
    ViewerFixture f;
    CMainWindow& w = *f.window;
    QApplication::processEvents();
    const QSize window = w.size();
    ScreenSide& screenSide = Find<ScreenSide>(w, "screenSide");
    const QSize side = screenSide.size();
    // A set folder path of about 200 characters and a data name of 33 full-width ones.
    const QString root = f.dir.path() + QLatin1Char('/') + QString(150, QLatin1Char('p')) + QStringLiteral("/RXT4");
    const std::string name = EncodeSjis("長いデータ名長いデータ名長いデータ名長いデータ名長いデータ名長いデ");
    PutFile(root, QStringLiteral("0412/LEVEL/0412.cnt"), "1\n2.00");
    PutFile(root, QStringLiteral("0412/LEVEL/0412.CSV"), "No.,Name\n" + MeasurementLine(1, name));
    w.OpenFolder(root);
    Tree(w).setCurrentIndex(TreeItem(w, {0, 0, 0}));
    const ElidedLabel& dataName = Find<ElidedLabel>(w, "dataName");
    QCOMPARE(dataName.text(), QString::fromStdString(DecodeSjis(name)));
    QApplication::processEvents();
    QCOMPARE(w.size(), window);
    QCOMPARE(screenSide.size(), side);
    // The folder path is elided in the middle; the whole path is its tool tip.
    const ElidedLabel& folder = Find<ElidedLabel>(w, "folderPath");
    QCOMPARE(folder.toolTip(), root);
    QVERIFY(folder.shownText().contains(QChar(0x2026)));
    QVERIFY(folder.shownText().endsWith(QStringLiteral("/RXT4")));
    QCOMPARE(screenSide.Render().size(), side * w.devicePixelRatio());
    // The data name is elided with "…" and whole in its tool tip.
    QVERIFY(dataName.shownText().endsWith(QChar(0x2026)));
    QCOMPARE(dataName.toolTip(), QString::fromStdString(DecodeSjis(name)));
    // A tree item the tree's edge cuts has its whole text as tool tip, before its verdict
    // word; one shown whole has the word alone.
    const QModelIndex longItem = TreeItem(w, {0, 0, 0});
    const QModelIndex shortItem = TreeItem(w, {0, 0});
    for (const QModelIndex& item : {shortItem, longItem}) {
      const QPoint at = Tree(w).visualRect(item).center();
      QHelpEvent help(QEvent::ToolTip, at, Tree(w).viewport()->mapToGlobal(at));
      QApplication::sendEvent(Tree(w).viewport(), &help);
      const QString word = item.data(Qt::ToolTipRole).toString();
      QVERIFY(!word.isEmpty());
      QCOMPARE(QToolTip::text(), item == longItem ? item.data().toString() + QLatin1Char('\n') + word : word);
    }
  }

  void aSetFolderChosenAsTheDataFolderOffersItsParent() {
    ViewerFixture f;
    CMainWindow& w = *f.window;
    const QString root = MakeDataFolder(f.dir);
    const QString set = root + QStringLiteral("/0412");
    const QString question = QStringLiteral("選択したフォルダ「") + set +
                             QStringLiteral("」は、種類のフォルダ（LEVEL、BER など）を直接含むセットフォルダです。\n"
                                            "一つ上のフォルダ「") + root + QStringLiteral("」をデータフォルダとして開きますか？");
    f.prompts.folder = set;
    f.prompts.answers = {false};  // No: nothing changes
    Trigger(w, "folderAction");
    QCOMPARE(f.prompts.asked, QStringList{question});
    QVERIFY(LabelText(w, "folderPath").isEmpty());
    f.prompts.answers = {true};  // Yes: the parent opens, without the name warning (it ends in RXT4)
    Trigger(w, "folderAction");
    QCOMPARE(f.prompts.asked, (QStringList{question, question}));
    QCOMPARE(LabelText(w, "folderPath"), root);
    QCOMPARE(MeasurementCount(w), 6);
  }

  void aMissingStartFolderIsSaidAndNothingIsLoaded() {
    ViewerFixture f;
    const QString missing = f.dir.path() + QStringLiteral("/no/such/RXT4");
    f.window->OpenStartFolder(missing);
    QCOMPARE(f.prompts.informed, QStringList{missing + QStringLiteral("\nフォルダが見つかりません。")});
    QVERIFY(LabelText(*f.window, "folderPath").isEmpty());
    f.window->OpenStartFolder(MakeDataFolder(f.dir));
    QCOMPARE(MeasurementCount(*f.window), 6);
  }

  void qtsOwnTextsAreJapaneseAndQuestionsCarryNoIcon() {
    JapaneseQtTexts texts;
    QVERIFY(UseJapaneseQtTexts(texts));
    // The file dialogs' type column, which Qt's own translations lack.
    QCOMPARE(QFileIconProvider().type(QFileInfo(QDir::tempPath())), QStringLiteral("フォルダ"));
    const auto question = MakeMessageBox(nullptr, QStringLiteral("?"), UiPrompts::Icon::None, QString(), true);
    QCOMPARE(question->icon(), QMessageBox::NoIcon);
    QCOMPARE(question->button(QMessageBox::Yes)->text(), QStringLiteral("はい(&Y)"));
    QCOMPARE(question->button(QMessageBox::No)->text(), QStringLiteral("いいえ(&N)"));
    QCOMPARE(question->windowTitle(), QStringLiteral("RXT4 ビューア"));
    QCOMPARE(MakeMessageBox(nullptr, QString(), UiPrompts::Icon::Warning, QString(), false)->icon(), QMessageBox::Warning);

    // The data folder picker shows no new-folder button at all; the transfer's does.
    const auto picker = MakeFolderDialog(nullptr, QStringLiteral("フォルダ選択"), QDir::tempPath(), false);
    QCOMPARE(picker->labelText(QFileDialog::LookIn), QStringLiteral("アドレス:"));
    QCOMPARE(picker->labelText(QFileDialog::Reject), QStringLiteral("キャンセル"));
    QVERIFY(!picker->findChild<QToolButton*>(QStringLiteral("newFolderButton"))->isVisibleTo(picker.get()));
    const auto transfer = MakeFolderDialog(nullptr, QStringLiteral("フォルダ選択"), QDir::tempPath(), true);
    QVERIFY(transfer->findChild<QToolButton*>(QStringLiteral("newFolderButton"))->isVisibleTo(transfer.get()));
    // The date column has room for a date and time as the locale writes them.
    const auto* details = picker->findChild<QTreeView*>(QStringLiteral("treeView"));
    const QString date = QLocale().toString(QDateTime(QDate(2026, 12, 8), QTime(21, 37)), QLocale::ShortFormat);
    QVERIFY(details->header()->sectionSize(3) > details->fontMetrics().horizontalAdvance(date) + 8);
  }

  void transferAsksForAFolderWithTheNewFolderButton() {
    ViewerFixture f;
    f.prompts.folder.reset();
    Trigger(*f.window, "transferAction");  // cancelled: nothing runs
    QVERIFY(f.prompts.lastOfferNewFolder);
  }
};

QObject* NewViewerWindowTest() { return new ViewerWindowTest; }

}  // namespace rxt4::test

#include "ViewerWindowTest.moc"
