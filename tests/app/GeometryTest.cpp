// The window's and the snapshot's sizes depend on the enlargement alone: not on the
// locale (ctest runs this object under C.UTF-8 and ja_JP.UTF-8 as well), the display
// language nor the fonts the desktop gives.
#include <QApplication>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QtEndian>
#include <QTest>
#include <QTreeView>
#include <clocale>

#include "AppTests.h"
#include "ElidedLabel.h"
#include "UiFont.h"

namespace rxt4::test {

class GeometryTest : public QObject {
  Q_OBJECT
 private slots:
  void theInterfaceFontIsProportional() {
    // A desktop font whose Latin letters share one width (IPAGothic, fontconfig's
    // first Japanese face) gives way to a proportional face of the same size; a
    // proportional one is kept.
    auto proportional = [](const QFont& font) {
      const QFontMetricsF metrics(font);
      return metrics.horizontalAdvance(QLatin1Char('i')) < metrics.horizontalAdvance(QLatin1Char('M'));
    };
    QFont typed(QStringLiteral("IPAGothic"));
    typed.setPointSize(9);
    QVERIFY(!proportional(typed));
    const QFont ui = ProportionalUiFont(typed);
    QVERIFY2(proportional(ui), qPrintable(ui.family()));
    QCOMPARE(ui.pointSize(), 9);
    QVERIFY(QFontMetricsF(ui).inFont(QChar(0x30C7)));  // デ
    const QFont dejavu(QStringLiteral("DejaVu Sans"), 9);
    QCOMPARE(ProportionalUiFont(dejavu), dejavu);
  }

  void sizesFollowOnlyTheEnlargement_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("pixels");
    QTest::addColumn<bool>("english");
    const std::pair<const char*, int> fonts[] = {{"", 0}, {"IPAGothic", 12}, {"IPAPGothic", 16}, {"DejaVu Sans", 10}};
    for (bool english : {false, true})
      for (const auto& [family, pixels] : fonts)
        QTest::addRow("%s %d px%s", *family ? family : "desktop font", pixels, english ? ", English" : "")
            << QString::fromLatin1(family) << pixels << english;
  }

  void sizesFollowOnlyTheEnlargement() {
    // A run meant for Japanese must really have it (scripts/test generates the locale).
    if (qEnvironmentVariable("LC_ALL").startsWith(QLatin1String("ja_JP")))
      QVERIFY2(QByteArray(std::setlocale(LC_CTYPE, nullptr)).startsWith("ja_JP"),
               "the ja_JP.UTF-8 locale is not generated (scripts/test generates it)");
    QFETCH(QString, family);
    QFETCH(int, pixels);
    QFETCH(bool, english);
    SetLanguage(english ? Language::English : Language::Japanese);
    const QFont desktop = QApplication::font();
    if (!family.isEmpty()) {
      QFont font(family);
      font.setPixelSize(pixels);
      QApplication::setFont(font);
    }
    {
      ViewerFixture f;
      CMainWindow& w = *f.window;
      w.OpenFolder(MakeJudgedFolder(f.dir));
      Tree(w).expandAll();
      const struct {
        const char* zoom;
        QSize window;
        QSize snapshot;
      } cases[] = {{"zoom1", QSize(857, 438), QSize(341, 300)}, {"zoom2", QSize(1178, 630), QSize(662, 540)}};
      for (const auto& c : cases) {
        Trigger(w, c.zoom);
        // Without a verdict line (a set folder), with a short one and with one too long
        // for the row (two field rows of a SKY row): one size.
        for (QModelIndex item : {TreeItem(w, {0, 0}), TreeItem(w, {5, 0, 0}), TreeItem(w, {0, 0, 0})}) {
          Tree(w).setCurrentIndex(item);
          QApplication::processEvents();
          QCOMPARE(w.size(), c.window);
        }
        // The bitmap file as 画面を保存 writes it: its width and height in the header.
        const QString path = f.dir.path() + QStringLiteral("/shot.bmp");
        f.prompts.saveFile = path;
        Trigger(w, "saveAction");
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray header = file.read(26);
        QCOMPARE(QSize(qFromLittleEndian<qint32>(header.constData() + 18), qFromLittleEndian<qint32>(header.constData() + 22)),
                 c.snapshot);
      }
      // At 1x the long line is cut with "…", the whole of it the tool tip.
      Trigger(w, "zoom1");
      Tree(w).setCurrentIndex(TreeItem(w, {5, 0, 0}));
      QApplication::processEvents();
      const ElidedLabel& line = Find<ElidedLabel>(w, "verdictLine");
      QVERIFY2(line.shownText().endsWith(QChar(0x2026)), qPrintable(line.shownText()));
      QVERIFY(line.text().startsWith(line.shownText().chopped(1)));
      QCOMPARE(line.toolTip(), line.text());
    }
    QApplication::setFont(desktop);
  }

  void cleanup() { SetLanguage(Language::Japanese); }
};

QObject* NewGeometryTest() { return new GeometryTest; }

}  // namespace rxt4::test

#include "GeometryTest.moc"
