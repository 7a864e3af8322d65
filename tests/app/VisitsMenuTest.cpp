// 表示 → 推移... and 比較...: the chart of the selected measurement's channel across the
// visits of a hand-built data folder (its points, verdict marks and limits, another
// reading, the saved picture), and two visits compared in a table.
#include <QAction>
#include <QApplication>
#include <QChartView>
#include <QComboBox>
#include <QFile>
#include <QLineSeries>
#include <QPushButton>
#include <QScatterSeries>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <filesystem>
#include <functional>

#include "../judge/VisitsFolder.h"
#include "AppTests.h"
#include "CompareWindow.h"
#include "TrendWindow.h"

namespace rxt4::test {
namespace {

// Triggers the menu command and runs check on the dialog it opens, from inside the
// dialog's modal loop; then closes it. False when no dialog opened.
template <class Dialog>
bool WithDialog(CMainWindow& window, const char* action, std::function<void(Dialog&)> check) {
  bool opened = false;
  // Fires once the dialog's modal loop runs; goes with this call when none opens.
  QTimer inside;
  inside.setSingleShot(true);
  QObject::connect(&inside, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    opened = true;
    check(*dialog);
    dialog->reject();
  });
  inside.start(0);
  Trigger(window, action);
  return opened;
}

QModelIndex SetFolderItem(QWidget& window, int kindRow, const QString& name) {
  const QAbstractItemModel& model = *Tree(window).model();
  const QModelIndex kind = model.index(kindRow, 0);
  for (int i = 0; i < model.rowCount(kind); ++i)
    if (model.index(i, 0, kind).data().toString() == name) return model.index(i, 0, kind);
  return {};
}

// The marks of a chart: per verdict text, the visits (x) marked so.
QMap<QString, QList<double>> Marks(const QChart& chart) {
  QMap<QString, QList<double>> marks;
  for (QAbstractSeries* s : chart.series())
    if (auto* scatter = qobject_cast<QScatterSeries*>(s))
      for (const QPointF& p : scatter->points()) marks[scatter->name()] << p.x();
  return marks;
}

}  // namespace

class VisitsMenuTest : public QObject {
  Q_OBJECT
 private slots:
  void trendOfTheSelectedChannelAcrossTheVisits() {
    ViewerFixture f;
    TempFolder data;
    PutVisits(data);
    CMainWindow& w = *f.window;
    w.OpenFolder(QString::fromStdString(data.path().string()));
    // No measurement selected: said so, no chart.
    QVERIFY(!WithDialog<CTrendWindow>(w, "trendAction", [](CTrendWindow&) {}));
    QCOMPARE(f.prompts.informed.last(), Tr(StringId::TrendSelectMeasurement));

    // 0501's level measurement of channel 27.
    Tree(w).setCurrentIndex(Tree(w).model()->index(0, 0, SetFolderItem(w, 0, QStringLiteral("0501"))));
    const QString saved = f.dir.path() + QStringLiteral("/trend.png");
    const bool opened = WithDialog<CTrendWindow>(w, "trendAction", [&](CTrendWindow& d) {
      QCOMPARE(d.findChild<QComboBox*>(QStringLiteral("trendPlace"))->currentText(), QStringLiteral("UHF 27"));
      const QChart& chart = *d.findChild<QChartView*>(QStringLiteral("trendChart"))->chart();
      QCOMPARE(chart.title(), QStringLiteral("UHF 27 のレベルの推移"));
      // 0412 不合格, 0413 注意, 0501 合格, 0502 不合格 (below the range); 0420 has no ch 27.
      const QMap<QString, QList<double>> marks = Marks(chart);
      QCOMPARE(marks.value(QStringLiteral("不合格")), (QList<double>{0, 3}));
      QCOMPARE(marks.value(QStringLiteral("注意")), (QList<double>{1}));
      QCOMPARE(marks.value(QStringLiteral("合格")), (QList<double>{2}));
      QStringList lines;
      for (QAbstractSeries* s : chart.series())
        if (qobject_cast<QLineSeries*>(s) && !qobject_cast<QScatterSeries*>(s)) lines << s->name();
      QVERIFY(lines.contains(QStringLiteral("下限 50")));
      QVERIFY(lines.contains(QStringLiteral("上限 81")));
      QVERIFY(lines.contains(QStringLiteral("注意 (3 dB)")));

      // The C/N: only the visits whose BER measurement shows it.
      auto* reading = d.findChild<QComboBox*>(QStringLiteral("trendReading"));
      reading->setCurrentIndex(reading->findText(QStringLiteral("C/N")));
      const QChart& cn = *d.findChild<QChartView*>(QStringLiteral("trendChart"))->chart();
      QCOMPARE(cn.title(), QStringLiteral("UHF 27 のC/Nの推移"));
      QCOMPARE(Marks(cn).value(QStringLiteral("不合格")), (QList<double>{0}));
      QCOMPARE(Marks(cn).value(QStringLiteral("合格")), (QList<double>{1}));

      QString reason;
      QVERIFY2(d.SavePicture(saved, &reason), qPrintable(reason));
    });
    QVERIFY(opened);
    QImage picture(saved);
    QVERIFY(!picture.isNull());
    QVERIFY(picture.width() >= 900);
  }

  void compareTwoVisits() {
    ViewerFixture f;
    TempFolder data;
    PutVisits(data);
    CMainWindow& w = *f.window;
    w.OpenFolder(QString::fromStdString(data.path().string()));
    Tree(w).setCurrentIndex(SetFolderItem(w, 0, QStringLiteral("0501")));
    const bool opened = WithDialog<CCompareWindow>(w, "compareAction", [&](CCompareWindow& d) {
      // The selected visit after the one before it.
      QCOMPARE(d.findChild<QComboBox*>(QStringLiteral("compareBefore"))->currentText(), QStringLiteral("0420"));
      QCOMPARE(d.findChild<QComboBox*>(QStringLiteral("compareAfter"))->currentText(), QStringLiteral("0501"));
      auto* before = d.findChild<QComboBox*>(QStringLiteral("compareBefore"));
      before->setCurrentIndex(before->findText(QStringLiteral("0412")));
      const QTableWidget& table = *d.table();
      QCOMPARE(table.rowCount(), 4);
      QStringList first;
      for (int c = 0; c < table.columnCount(); ++c) first << table.item(0, c)->text();
      QCOMPARE(first, (QStringList{QStringLiteral("レベル測定データ"), QStringLiteral("UHF"), QStringLiteral("27"),
                                   QStringLiteral("レベル"), QStringLiteral("45.5 dBμV"), QStringLiteral("不合格"),
                                   QStringLiteral("58.0 dBμV"), QStringLiteral("合格"), QStringLiteral("+12.5 dB")}));
      // Channel 16 only before.
      QCOMPARE(table.item(1, 6)->text(), QStringLiteral("なし"));
      QCOMPARE(table.item(1, 7)->text(), QString());
      // 比較レポート... writes the report of the two visits chosen, with its compare pages.
      f.prompts.saveFile = QString::fromStdString((data.path() / "compare.pdf").string());
      d.findChild<QPushButton*>(QStringLiteral("compareReportButton"))->click();
      QVERIFY2(f.prompts.informed.last().startsWith(QStringLiteral("レポートを作成しました。")),
               qPrintable(f.prompts.informed.last()));
      QVERIFY(std::filesystem::file_size(data.path() / "compare.pdf") > 0);
    });
    QVERIFY(opened);
  }
};

QObject* NewVisitsMenuTest() { return new VisitsMenuTest; }

}  // namespace rxt4::test

#include "VisitsMenuTest.moc"
