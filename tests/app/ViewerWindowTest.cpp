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
#include "DataTreeModel.h"
#include "ScreenView.h"
#include "ViewerApp.h"
#include "rxt4/data/Sjis.h"

namespace rxt4::test {
namespace {

const char* const kRootTexts[] = {"レベル測定データ", "BER測定データ", "コンスタレーションデータ", "スペクトラムデータ",
                                  "遅延プロファイルデータ", "スカパー測定データ", "多チャンネル測定データ"};

QModelIndex Child(const QAbstractItemModel& model, std::initializer_list<int> rows) {
  QModelIndex index;
  for (int r : rows) index = model.index(r, 0, index);
  return index;
}

}  // namespace

class ViewerWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void startsWithSevenRootsBlankLabelsAndWhiteFramedArea() {
    ViewerFixture f;
    CViewerDlg& w = *f.window;
    QCOMPARE(w.windowTitle(), QStringLiteral("RXT4 ビューア"));
    const QAbstractItemModel& model = *w.tree()->model();
    QCOMPARE(model.rowCount(), 7);
    for (int i = 0; i < 7; ++i) QCOMPARE(model.index(i, 0).data().toString(), QString::fromUtf8(kRootTexts[i]));
    QCOMPARE(w.indexLabel()->text(), QStringLiteral("0"));
    QCOMPARE(w.countLabel()->text(), QStringLiteral("0"));
    QCOMPARE(w.currentScreenIndex(), 0);
    QVERIFY(w.screenView()->blankPanelShown());
    // White inside, one-pixel black frame around the 321 x 240 area.
    const Surface& s = w.surface();
    QCOMPARE(s.width(), 321);
    QCOMPARE(s.height(), 240);
    for (auto [x, y] : {std::pair{0, 0}, {320, 0}, {0, 239}, {320, 239}, {160, 0}, {0, 120}}) QVERIFY(s.IsBlack(x, y));
    for (auto [x, y] : {std::pair{1, 1}, {319, 238}, {160, 120}}) QVERIFY(s.Pixel(x, y) == kWhite);
    QVERIFY(!w.saveButton()->isEnabled());
    QVERIFY(!w.copyButton()->isEnabled());
    QVERIFY(!w.saveAction()->isEnabled());
    QVERIFY(!w.copyAction()->isEnabled());
    QVERIFY(w.folderLabel()->text().isEmpty());
    // No settings file appears just from starting.
    QVERIFY(!QFile::exists(f.dir.path() + QStringLiteral("/cfg/RXT4_Viewer.ini")));
  }

  void selectingEachKindShowsItsLabelsAndAFolderItemBlanksThem() {
    ViewerFixture f;
    CViewerDlg& w = *f.window;
    w.OpenFolder(MakeDataFolder(f.dir));
    QVERIFY(w.folderLabel()->text().endsWith(QStringLiteral("/RXT4")));
    const QAbstractItemModel& model = *w.tree()->model();
    // Level root: one set folder with three measurements, labelled "%3d:" + name.
    QCOMPARE(model.rowCount(Child(model, {0})), 1);
    QCOMPARE(Child(model, {0, 0}).data().toString(), QStringLiteral("0412"));
    // Padded with figure spaces, as wide as a digit.
    QCOMPARE(Child(model, {0, 0, 1}).data().toString(), QStringLiteral("\u2007\u20072:A2"));

    struct Case {
      std::initializer_list<int> path;
      int screen;
      const char* index;
      const char* count;
      const char* name;
    };
    const Case cases[] = {{{0, 0, 1}, 1, "2", "3", "A2"}, {{1, 0, 0}, 2, "1", "2", "B1"}, {{5, 0, 0}, 3, "1", "1", "S1"}};
    for (const Case& c : cases) {
      w.tree()->setCurrentIndex(Child(model, c.path));
      QCOMPARE(w.currentScreenIndex(), c.screen);
      QCOMPARE(w.indexLabel()->text(), QString::fromLatin1(c.index));
      QCOMPARE(w.countLabel()->text(), QString::fromLatin1(c.count));
      QCOMPARE(w.dataNameLabel()->text(), QString::fromLatin1(c.name));
      QVERIFY(!w.titleLabel()->text().trimmed().isEmpty());
      QVERIFY(w.saveButton()->isEnabled());
      QVERIFY(w.copyButton()->isEnabled());
      QVERIFY(w.saveAction()->isEnabled());
      QVERIFY(w.copyAction()->isEnabled());
      QVERIFY(!w.screenView()->blankPanelShown());
    }
    // Something was drawn inside the frame.
    bool inked = false;
    for (int y = 1; y < 239 && !inked; ++y)
      for (int x = 1; x < 320 && !inked; ++x) inked = w.surface().IsBlack(x, y);
    QVERIFY(inked);

    for (std::initializer_list<int> path : {std::initializer_list<int>{0, 0}, {3}}) {
      w.tree()->setCurrentIndex(Child(model, path));
      QCOMPARE(w.currentScreenIndex(), 0);
      QCOMPARE(w.indexLabel()->text(), QStringLiteral("  "));
      QCOMPARE(w.countLabel()->text(), QStringLiteral("  "));
      QCOMPARE(w.titleLabel()->text(), QStringLiteral(" "));
      QCOMPARE(w.dataNameLabel()->text(), QStringLiteral(" "));
      QVERIFY(!w.saveButton()->isEnabled());
      QVERIFY(!w.copyAction()->isEnabled());
      for (int y = 1; y < 239; ++y)
        for (int x = 1; x < 320; ++x)
          if (!(w.surface().Pixel(x, y) == kWhite)) QFAIL("screen area not cleared");
      QVERIFY(w.surface().IsBlack(0, 0));
    }
  }

  void loaderMessagesAreShownWithTheirTexts() {
    ViewerFixture f;
    const QString root = MakeDataFolder(f.dir);
    PutFile(root, QStringLiteral("0412/LEVEL/0412.cnt"), "4\n2.00");  // three rows on file
    f.window->OpenFolder(root);
    QCOMPARE(f.prompts.informed.size(), 1);
    QCOMPARE(f.prompts.informed[0], root + QStringLiteral("/0412/LEVEL/0412.CSV のデータ数が記録情報と異なります。\n"
                                                          "データが正常に表示できない可能性があります。\n"
                                                          "CSVファイルを確認してください。"));
  }

  void folderNameWarningIsAskedOnlyForOtherNamesAndNoKeepsTheTree() {
    ViewerFixture f;
    CViewerDlg& w = *f.window;
    const QString rxt4 = MakeDataFolder(f.dir);
    // A folder ending in RXT4: no question.
    f.prompts.folder = rxt4;
    w.ChooseFolder();
    QVERIFY(f.prompts.asked.isEmpty());
    QVERIFY(!f.prompts.lastOfferNewFolder);
    QCOMPARE(f.prompts.folderTitles.last(), QStringLiteral("フォルダ選択"));
    QCOMPARE(w.dataFolder(), rxt4);
    QCOMPARE(w.dataModel().measurementCount(), 6);

    // "rxt4" differs in case: asked; No keeps everything.
    const QString lower = f.dir.path() + QStringLiteral("/data/rxt4");
    PutFile(lower, QStringLiteral("x.txt"), "");
    f.prompts.folder = lower;
    f.prompts.answerYes = false;
    w.ChooseFolder();
    QCOMPARE(f.prompts.asked.size(), 1);
    QCOMPARE(f.prompts.asked[0], QStringLiteral("RXT4以外のフォルダを選択した場合\n正常にデータが読み込めない可能性があります。\nよろしいですか？"));
    QCOMPARE(w.dataFolder(), rxt4);
    QCOMPARE(w.dataModel().measurementCount(), 6);
    // The picker opens at the folder chosen last.
    w.ChooseFolder();
    QCOMPARE(f.prompts.lastStart, lower);

    // Yes loads it.
    f.prompts.answerYes = true;
    w.ChooseFolder();
    QCOMPARE(w.dataFolder(), lower);
    QCOMPARE(w.dataModel().measurementCount(), 0);
    QCOMPARE(w.tree()->model()->rowCount(), 7);

    // With the alert switched off nothing is asked.
    f.settings->SaveFolderAlert(0);
    f.prompts.asked.clear();
    f.prompts.folder = rxt4;
    w.ChooseFolder();
    f.prompts.folder = lower;
    w.ChooseFolder();
    QVERIFY(f.prompts.asked.isEmpty());

    // Cancelled: nothing changes.
    f.prompts.folder.reset();
    w.ChooseFolder();
    QCOMPARE(w.dataFolder(), lower);
  }

  void exitIsConfirmedAndNoLeavesTheWindowAsItWas() {
    ViewerFixture f;
    CViewerDlg& w = *f.window;
    w.OpenFolder(MakeDataFolder(f.dir));
    w.tree()->setCurrentIndex(Child(*w.tree()->model(), {0, 0, 0}));
    f.prompts.answerYes = false;
    QVERIFY(!w.ExitCommand());
    QVERIFY(!w.close());  // the close box asks too
    QCOMPARE(f.prompts.asked.size(), 2);
    QCOMPARE(f.prompts.asked[0], QStringLiteral("RXT4 ビューアを終了します\nよろしいですか？"));
    QVERIFY(w.isVisible());
    QCOMPARE(w.currentScreenIndex(), 1);
    f.prompts.answerYes = true;
    QVERIFY(w.ExitCommand());
    QVERIFY(!w.isVisible());
    QCOMPARE(f.prompts.asked.size(), 3);
  }

  void noItemIsCurrentUntilTheUserPicksOne() {
    ViewerFixture f;
    CViewerDlg& w = *f.window;
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.tree()->setFocus(Qt::TabFocusReason);  // the tree's first focus
    QVERIFY(!w.tree()->currentIndex().isValid());
    QCOMPARE(w.indexLabel()->text(), QStringLiteral("0"));
    QCOMPARE(w.countLabel()->text(), QStringLiteral("0"));
    w.OpenFolder(MakeDataFolder(f.dir));  // gives the tree the focus again
    w.setFocus();
    w.tree()->setFocus(Qt::TabFocusReason);
    QVERIFY(!w.tree()->currentIndex().isValid());
    QCOMPARE(w.indexLabel()->text(), QStringLiteral("0"));
  }

  void longNamesAndPathsNeitherWidenTheWindowNorTheSnapshot() {
    ViewerFixture f;
    CViewerDlg& w = *f.window;
    QApplication::processEvents();
    const QSize window = w.size();
    const QSize side = w.screenSide()->size();
    // A set folder path of about 200 characters and a data name of 33 full-width ones.
    const QString root = f.dir.path() + QLatin1Char('/') + QString(150, QLatin1Char('p')) + QStringLiteral("/RXT4");
    const std::string name = EncodeSjis("長いデータ名長いデータ名長いデータ名長いデータ名長いデータ名長いデ");
    PutFile(root, QStringLiteral("0412/LEVEL/0412.cnt"), "1\n2.00");
    PutFile(root, QStringLiteral("0412/LEVEL/0412.CSV"), "No.,Name\n" + MeasurementLine(1, name));
    w.OpenFolder(root);
    w.tree()->setCurrentIndex(Child(*w.tree()->model(), {0, 0, 0}));
    QCOMPARE(w.dataNameLabel()->text(), QString::fromStdString(DecodeSjis(name)));
    QApplication::processEvents();
    QCOMPARE(w.size(), window);
    QCOMPARE(w.screenSide()->size(), side);
    // The folder path is elided in the middle; the whole path is its tool tip.
    QCOMPARE(w.folderLabel()->toolTip(), root);
    QVERIFY(w.folderLabel()->shownText().contains(QChar(0x2026)));
    QVERIFY(w.folderLabel()->shownText().endsWith(QStringLiteral("/RXT4")));
    QCOMPARE(w.RenderScreenSide().size(), side * w.devicePixelRatio());
    // The data name is elided with "…" and whole in its tool tip.
    QVERIFY(w.dataNameLabel()->shownText().endsWith(QChar(0x2026)));
    QCOMPARE(w.dataNameLabel()->toolTip(), QString::fromStdString(DecodeSjis(name)));
    // A tree item the tree's edge cuts has its whole text as tool tip; one shown whole has none.
    const QModelIndex longItem = Child(*w.tree()->model(), {0, 0, 0});
    const QModelIndex shortItem = Child(*w.tree()->model(), {0, 0});
    for (const QModelIndex& item : {shortItem, longItem}) {
      const QPoint at = w.tree()->visualRect(item).center();
      QHelpEvent help(QEvent::ToolTip, at, w.tree()->viewport()->mapToGlobal(at));
      QApplication::sendEvent(w.tree()->viewport(), &help);
      QCOMPARE(QToolTip::text() == item.data().toString(), item == longItem);
    }
  }

  void aSetFolderChosenAsTheDataFolderOffersItsParent() {
    ViewerFixture f;
    CViewerDlg& w = *f.window;
    const QString root = MakeDataFolder(f.dir);
    const QString set = root + QStringLiteral("/0412");
    const QString question = QStringLiteral("選択したフォルダ「") + set +
                             QStringLiteral("」は、種類のフォルダ（LEVEL、BER など）を直接含むセットフォルダです。\n"
                                            "一つ上のフォルダ「") + root + QStringLiteral("」をデータフォルダとして開きますか？");
    f.prompts.folder = set;
    f.prompts.answers = {false};  // No: nothing changes
    w.ChooseFolder();
    QCOMPARE(f.prompts.asked, QStringList{question});
    QVERIFY(w.dataFolder().isEmpty());
    f.prompts.answers = {true};  // Yes: the parent opens, without the name warning (it ends in RXT4)
    w.ChooseFolder();
    QCOMPARE(f.prompts.asked, (QStringList{question, question}));
    QCOMPARE(w.dataFolder(), root);
    QCOMPARE(w.dataModel().measurementCount(), 6);
  }

  void aMissingStartFolderIsSaidAndNothingIsLoaded() {
    ViewerFixture f;
    const QString missing = f.dir.path() + QStringLiteral("/no/such/RXT4");
    f.window->OpenStartFolder(missing);
    QCOMPARE(f.prompts.informed, QStringList{missing + QStringLiteral("\nフォルダが見つかりません。")});
    QVERIFY(f.window->dataFolder().isEmpty());
    QVERIFY(f.window->folderLabel()->text().isEmpty());
    f.window->OpenStartFolder(MakeDataFolder(f.dir));
    QCOMPARE(f.window->dataModel().measurementCount(), 6);
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
    f.window->TransferCommand();  // cancelled: nothing runs
    QVERIFY(f.prompts.lastOfferNewFolder);
  }
};

QObject* NewViewerWindowTest() { return new ViewerWindowTest; }

}  // namespace rxt4::test

#include "ViewerWindowTest.moc"
