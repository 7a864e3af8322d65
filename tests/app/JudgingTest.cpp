// The viewer's verdicts: the marks of the tree's three kinds of node, the verdict line
// of the measurement shown, another profile judging at once without a reload, and a
// profile that does not parse refused with its file and line.
#include <QAction>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QTest>
#include <QTreeView>
#include <map>

#include "AppTests.h"
#include "VerdictLine.h"
#include "VerdictMarks.h"

namespace rxt4::test {
namespace {

QString VerdictWord(Verdict v) { return QString::fromUtf8(VerdictText(v).data(), VerdictText(v).size()); }

QImage MarkImage(const QIcon& icon) { return icon.pixmap(QSize(VerdictLine::kMarkPx, VerdictLine::kMarkPx)).toImage(); }

// The item's mark is the verdict's, and its tool tip the verdict's word.
bool HasMark(const QModelIndex& item, Verdict v) {
  return item.data(Qt::ToolTipRole).toString() == VerdictWord(v) &&
         MarkImage(item.data(Qt::DecorationRole).value<QIcon>()) == MarkImage(VerdictIcon(v, VerdictLine::kMarkPx));
}

void Select(CMainWindow& w, std::initializer_list<int> rows) {
  Tree(w).expandAll();
  Tree(w).setCurrentIndex(TreeItem(w, rows));
}

// Opens the 判定基準 menu (filled as it opens) and chooses the entry of a profile file.
bool ChooseProfile(CMainWindow& w, const QString& stem) {
  QMenu& menu = Find<QMenu>(w, "limitsMenu");
  emit menu.aboutToShow();
  QAction* entry = menu.findChild<QAction*>(QStringLiteral("limits:") + stem);
  if (entry == nullptr) {
    for (QAction* a : menu.actions())
      if (a->objectName() == QStringLiteral("limits:") + stem) entry = a;
  }
  if (entry == nullptr) return false;
  entry->trigger();
  return true;
}

}  // namespace

class JudgingTest : public QObject {
  Q_OBJECT
 private slots:
  void marksReadApartInGrey() {
    // Each mark has a shape of its own: their inked pixels differ even without colour.
    const Verdict all[] = {Verdict::None, Verdict::Pass, Verdict::Caution, Verdict::Fail};
    for (Verdict a : all)
      for (Verdict b : all) {
        if (a >= b) continue;
        auto ink = [](Verdict v) {
          QImage image = MarkImage(VerdictIcon(v, 24));
          QImage mask(image.size(), QImage::Format_Mono);
          for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) mask.setPixel(x, y, qAlpha(image.pixel(x, y)) > 128 ? 1 : 0);
          return mask;
        };
        QVERIFY2(ink(a) != ink(b), qPrintable(VerdictWord(a) + QLatin1Char('/') + VerdictWord(b)));
      }
  }

  void marksOfEveryNode_data() {
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<int>("verdict");
    const auto add = [](const char* name, QList<int> rows, Verdict v) {
      QTest::newRow(name) << rows << static_cast<int>(v);
    };
    add("レベル root: its worst", {0}, Verdict::Fail);
    add("BER root", {1}, Verdict::Caution);
    add("SKY root", {5}, Verdict::Pass);
    add("empty root", {2}, Verdict::None);
    add("set folder 0601 under レベル", {0, 0}, Verdict::Fail);
    add("set folder 0602 under レベル", {0, 1}, Verdict::Pass);
    add("set folder 0601 under BER", {1, 0}, Verdict::Caution);
    add("set folder of nothing judged", {1, 1}, Verdict::None);
    add("measurement 合格", {0, 0, 0}, Verdict::Pass);
    add("measurement 注意", {0, 0, 1}, Verdict::Caution);
    add("measurement 不合格", {0, 0, 2}, Verdict::Fail);
    add("measurement 測定なし", {0, 0, 3}, Verdict::None);
    add("measurement unplaced", {1, 1, 0}, Verdict::None);
  }
  void marksOfEveryNode() {
    QFETCH(QList<int>, rows);
    QFETCH(int, verdict);
    ViewerFixture f;
    f.window->OpenFolder(MakeJudgedFolder(f.dir));
    QModelIndex item;
    for (int r : rows) item = Tree(*f.window).model()->index(r, 0, item);
    QVERIFY(item.isValid());
    QVERIFY2(HasMark(item, static_cast<Verdict>(verdict)), qPrintable(item.data(Qt::ToolTipRole).toString()));
  }

  void verdictLineOfTheMeasurementShown_data() {
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QString>("line");
    QTest::newRow("合格") << QList<int>{0, 0, 0} << QStringLiteral("レベル 65.2 dBμV 合格 (50〜81)");
    QTest::newRow("不合格") << QList<int>{0, 0, 2} << QStringLiteral("レベル 45.0 dBμV 不合格 (50〜81)");
    QTest::newRow("測定なし") << QList<int>{0, 0, 3} << QStringLiteral("レベル 測定なし 判定なし (測定なし)");
    QTest::newRow("two readings")
        << QList<int>{1, 0, 0} << QStringLiteral("BER 2.0E-05 合格 (2.0E-4 以下)　C/N 26.0 dB 注意 (24 以上)");
    QTest::newRow("two field rows")
        << QList<int>{5, 0, 0}
        << QStringLiteral("#1 ch 13 レベル 65.2 dBμV 合格 (57〜81)　#2 ch 15 レベル 70.0 dBμV 合格 (57〜81)");
    QTest::newRow("nothing judged") << QList<int>{1, 1, 0} << QStringLiteral("判定なし (区分を決められません)");
    QTest::newRow("a set folder: no line") << QList<int>{0, 0} << QString();
  }
  void verdictLineOfTheMeasurementShown() {
    QFETCH(QList<int>, rows);
    QFETCH(QString, line);
    ViewerFixture f;
    CMainWindow& w = *f.window;
    w.OpenFolder(MakeJudgedFolder(f.dir));
    Tree(w).expandAll();
    QModelIndex item;
    for (int r : rows) item = Tree(w).model()->index(r, 0, item);
    Tree(w).setCurrentIndex(item);
    const VerdictLine& shown = Find<VerdictLine>(w, "verdictLine");
    QCOMPARE(shown.text(), line);
    QCOMPARE(shown.toolTip(), line);
  }

  void anotherProfileJudgesAtOnce() {
    ViewerFixture f;
    CMainWindow& w = *f.window;
    w.OpenFolder(MakeJudgedFolder(f.dir));
    Select(w, {0, 0, 2});
    int resets = 0;
    connect(Tree(w).model(), &QAbstractItemModel::modelReset, this, [&] { ++resets; });
    QVERIFY(HasMark(TreeItem(w, {0, 0, 2}), Verdict::Fail));
    QVERIFY(ChooseProfile(w, QStringLiteral("receiver-minimum")));
    // 受信機入力 最低値: 34〜89 dBμV. The same tree, the same item shown, judged anew.
    QCOMPARE(resets, 0);
    QCOMPARE(Tree(w).currentIndex(), TreeItem(w, {0, 0, 2}));
    QVERIFY(HasMark(TreeItem(w, {0, 0, 2}), Verdict::Pass));
    QVERIFY(HasMark(TreeItem(w, {0}), Verdict::Pass));
    QCOMPARE(Find<VerdictLine>(w, "verdictLine").text(), QStringLiteral("レベル 45.0 dBμV 合格 (34〜89)"));
    QCOMPARE(f.prompts.informed, QStringList());
    // The choice is kept for the next start.
    f.settings->LoadSettings({});
    QVERIFY(QString::fromStdString(f.settings->LimitsProfile()).endsWith(QStringLiteral("/receiver-minimum.toml")));
  }

  void aProfileThatDoesNotParseIsRefused() {
    ViewerFixture f;
    CMainWindow& w = *f.window;
    w.OpenFolder(MakeJudgedFolder(f.dir));
    Select(w, {0, 0, 2});
    // A copy in the settings folder, edited with a slip on its third line.
    const QString bad = f.dir.path() + QStringLiteral("/cfg/mine.toml");
    PutFile(f.dir.path(), QStringLiteral("cfg/mine.toml"),
            "name = \"自分の基準\"\n[terrestrial]\nlevel_min_dbuv = \"fifty\"\n");
    QVERIFY(ChooseProfile(w, QStringLiteral("mine")));
    QCOMPARE(f.prompts.informed.size(), 1);
    const QString message = f.prompts.informed.last();
    QVERIFY2(message.contains(bad + QStringLiteral(":3:")), qPrintable(message));
    QVERIFY2(message.contains(QStringLiteral("「テレビ端子」のまま")), qPrintable(message));
    // Nothing changed: the marks, the line, the settings file.
    QVERIFY(HasMark(TreeItem(w, {0, 0, 2}), Verdict::Fail));
    QCOMPARE(Find<VerdictLine>(w, "verdictLine").text(), QStringLiteral("レベル 45.0 dBμV 不合格 (50〜81)"));
    f.settings->LoadSettings({});
    QCOMPARE(f.settings->LimitsProfile(), std::string());
  }

  void theRememberedProfileAtStart_data() {
    QTest::addColumn<QString>("remembered");
    QTest::addColumn<int>("verdict");   // of the 45.0 dBμV reading
    QTest::addColumn<QString>("said");  // what the start says, in part
    QTest::newRow("readable") << QStringLiteral("receiver-minimum") << static_cast<int>(Verdict::Pass) << QString();
    QTest::newRow("broken since") << QStringLiteral("%1/cfg/mine.toml") << static_cast<int>(Verdict::Fail)
                                  << QStringLiteral("/cfg/mine.toml:2:");
    QTest::newRow("gone") << QStringLiteral("%1/cfg/gone.toml") << static_cast<int>(Verdict::Fail)
                          << QStringLiteral("gone.toml");
  }
  void theRememberedProfileAtStart() {
    QFETCH(QString, remembered);
    QFETCH(int, verdict);
    QFETCH(QString, said);
    QTemporaryDir dir;
    PutFile(dir.path(), QStringLiteral("cfg/mine.toml"), "name = \"自分の基準\"\n[terrestrial\n");
    SettingsFile settings((dir.path() + QStringLiteral("/cfg/RXT4_Viewer.ini")).toStdString());
    settings.SaveLimitsProfile(QString(remembered).replace(QStringLiteral("%1"), dir.path()).toStdString());
    FakePrompts prompts;
    CMainWindow w(TestServices(prompts, settings));
    w.Initialise();
    w.OpenFolder(MakeJudgedFolder(dir));
    Tree(w).expandAll();
    QVERIFY(HasMark(TreeItem(w, {0, 0, 2}), static_cast<Verdict>(verdict)));
    if (said.isEmpty()) {
      QCOMPARE(prompts.informed, QStringList());
    } else {
      QCOMPARE(prompts.informed.size(), 1);
      QVERIFY2(prompts.informed[0].contains(said), qPrintable(prompts.informed[0]));
      QVERIFY2(prompts.informed[0].contains(QStringLiteral("「テレビ端子」で判定します")), qPrintable(prompts.informed[0]));
    }
  }
};

QObject* NewJudgingTest() { return new JudgingTest; }

}  // namespace rxt4::test

#include "JudgingTest.moc"
