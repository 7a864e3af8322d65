// 編集 → 案件情報... and ラベル・備考..., オプション → 会社情報...: the forms show the records
// of the sample, refuse what the record file cannot hold (staying open), and write
// what was entered.
#include <QApplication>
#include <QTreeView>
#include <functional>
#include <QLineEdit>
#include <QTimer>

#include "AppTests.h"
#include "JobRecordDlg.h"
#include "rxt4/data/DemoImages.h"
#include "rxt4/data/JobRecord.h"

namespace rxt4::test {
namespace {

// Runs fill on the dialog of type D the command opens, from inside its modal loop.
template <class D>
void WithDialog(CMainWindow& w, const char* action, std::function<void(D&)> fill) {
  bool seen = false;
  QTimer::singleShot(0, &w, [&] {
    D* dialog = w.findChild<D*>();
    if (dialog == nullptr) return;
    seen = true;
    fill(*dialog);
    if (dialog->isVisible()) dialog->reject();
  });
  Trigger(w, action);
  QVERIFY2(seen, action);
}

QString Q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The row of set folder name under the level root.
int SetRow(CMainWindow& w, const QString& name) {
  const QModelIndex level = TreeItem(w, {0});
  for (int row = 0; row < Tree(w).model()->rowCount(level); ++row)
    if (Tree(w).model()->index(row, 0, level).data().toString() == name) return row;
  return -1;
}

}  // namespace

class JobRecordMenuTest : public QObject {
  Q_OBJECT
 private slots:
  void editsTheJobRecordAndAMeasurementsLabel() {
    ViewerFixture f;
    const QString root = f.dir.path() + QStringLiteral("/RXT4");
    QVERIFY(WriteDemoFolder(FsPath(root)));
    CMainWindow& w = *f.window;
    w.OpenFolder(root);
    const std::filesystem::path set = FsPath(root) / "0412";

    Tree(w).setCurrentIndex(TreeItem(w, {0}));  // a root: no set folder
    Trigger(w, "jobRecordAction");
    QCOMPARE(f.prompts.informed.last(), Tr(StringId::JobNoSetFolder));

    const int row = SetRow(w, QStringLiteral("0412"));
    QVERIFY(row >= 0);
    Tree(w).setCurrentIndex(TreeItem(w, {0, row}));
    WithDialog<CJobRecordDlg>(w, "jobRecordAction", [&](CJobRecordDlg& d) {
      QCOMPARE(EditorText(d.editor(JobField::Title)), QStringLiteral("共聴設備 受信状況調査"));
      SetEditorText(d.editor(JobField::Title), QStringLiteral("  定期点検  "));
      SetEditorText(d.editor(JobField::MeasuredAt), QStringLiteral("4月12日"));
      d.accept();  // refused: the date is said and the form stays
      QVERIFY(d.isVisible());
      QVERIFY(f.prompts.informed.last().contains(QStringLiteral("YYYY-MM-DD")));
      SetEditorText(d.editor(JobField::MeasuredAt), QStringLiteral("2026-04-12 11:00"));
      SetEditorText(d.editor(JobField::Findings), QStringLiteral("一行目\n二行目"));
      d.accept();
    });
    JobRecord record = ReadJobRecord(set).record;
    QCOMPARE(Q(record.title), QStringLiteral("定期点検"));
    QCOMPARE(Q(record.measuredAt), QStringLiteral("2026-04-12 11:00"));
    QCOMPARE(Q(record.findings), QStringLiteral("一行目\n二行目"));
    QCOMPARE(Q(record.Label(TransferKind::Level, 2)), QStringLiteral("101号室 寝室"));  // kept

    Tree(w).setCurrentIndex(TreeItem(w, {0, row, 1}));
    WithDialog<CMeasurementNoteDlg>(w, "noteAction", [&](CMeasurementNoteDlg& d) {
      QCOMPARE(d.labelEdit()->text(), QStringLiteral("101号室 寝室"));
      d.labelEdit()->setText(QStringLiteral("101号室 寝室（北側）"));
      d.accept();
    });
    record = ReadJobRecord(set).record;
    QCOMPARE(Q(record.Label(TransferKind::Level, 2)), QStringLiteral("101号室 寝室（北側）"));
    QCOMPARE(Q(record.title), QStringLiteral("定期点検"));

    // A record that cannot be read is replaced only when the user agrees.
    PutFile(root, QStringLiteral("0412/job.toml"), "title = \"unterminated\n");
    f.prompts.answerYes = false;
    Trigger(w, "noteAction");
    QVERIFY(f.prompts.asked.last().contains(QStringLiteral("job.toml:1:")));
    QVERIFY(ReadJobRecord(set).error);
  }

  void editsTheCompanyInTheSettingsFolder() {
    ViewerFixture f;
    CMainWindow& w = *f.window;
    WithDialog<CCompanyDlg>(w, "companyAction", [&](CCompanyDlg& d) {
      SetEditorText(d.editor(CompanyField::Name), QStringLiteral("株式会社サンプル電設"));
      f.prompts.openFile = QStringLiteral("/logos/logo.bmp");
      QMetaObject::invokeMethod(d.findChild<QObject*>(QStringLiteral("browseLogo")), "click");
      QCOMPARE(EditorText(d.editor(CompanyField::Logo)), QStringLiteral("/logos/logo.bmp"));
      d.accept();  // refused: no PNG or SVG
      QVERIFY(d.isVisible());
      SetEditorText(d.editor(CompanyField::Logo), QStringLiteral("/logos/logo.svg"));
      d.accept();
    });
    const CompanyRecordRead read = ReadCompanyRecord(FsPath(f.dir.path() + QStringLiteral("/cfg/company.toml")));
    QVERIFY(!read.error);
    QCOMPARE(Q(read.record.name), QStringLiteral("株式会社サンプル電設"));
    QCOMPARE(Q(read.record.logo), QStringLiteral("/logos/logo.svg"));
  }
};

QObject* NewJobRecordMenuTest() { return new JobRecordMenuTest; }

}  // namespace rxt4::test

#include "JobRecordMenuTest.moc"
