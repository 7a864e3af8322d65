#include "CompareWindow.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "TrendWindow.h"  // VerdictMarkImage
#include "UiPrompts.h"
#include "rxt4/data/DataFolderModel.h"
#include "rxt4/data/Kinds.h"

namespace rxt4 {

namespace {

// The kind as the tree's root names it, in the current language.
QString KindName(TransferKind kind) { return Tr(RootTextId(kind)); }

QTableWidgetItem* Cell(const QString& text, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
  auto* item = new QTableWidgetItem(text);
  item->setTextAlignment(align);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  return item;
}

QTableWidgetItem* VerdictCell(Verdict v, bool missing) {
  if (missing) return Cell(QString());
  auto* item = Cell(QString::fromUtf8(VerdictText(v)));
  item->setIcon(QIcon(QPixmap::fromImage(VerdictMarkImage(v, 18))));
  return item;
}

}  // namespace

CCompareWindow::CCompareWindow(const DataFolderModel& model, LimitsProfile profile, std::vector<std::string> setFolders,
                               std::size_t before, std::size_t after, QWidget* parent)
    : QDialog(parent), model_(model), profile_(std::move(profile)), setFolders_(std::move(setFolders)) {
  setObjectName(QStringLiteral("compareWindow"));
  setWindowTitle(Tr(StringId::CompareWindowTitle));
  before_ = new QComboBox(this);
  before_->setObjectName(QStringLiteral("compareBefore"));
  after_ = new QComboBox(this);
  after_->setObjectName(QStringLiteral("compareAfter"));
  for (const std::string& name : setFolders_) {
    before_->addItem(QString::fromStdString(name));
    after_->addItem(QString::fromStdString(name));
  }
  before_->setCurrentIndex(static_cast<int>(before));
  after_->setCurrentIndex(static_cast<int>(after));

  auto* choices = new QHBoxLayout;
  choices->addWidget(new QLabel(Tr(StringId::CompareBefore), this));
  choices->addWidget(before_);
  choices->addSpacing(12);
  choices->addWidget(new QLabel(Tr(StringId::CompareAfter), this));
  choices->addWidget(after_);
  choices->addStretch();
  choices->addWidget(new QLabel(Tr(StringId::TrendProfile, {QString::fromStdString(profile_.name())}), this));

  table_ = new QTableWidget(this);
  table_->setObjectName(QStringLiteral("compareTable"));
  const StringId headers[] = {StringId::CompareKind,         StringId::CompareBand,         StringId::CompareChannel,
                              StringId::CompareReading,      StringId::CompareValueBefore,  StringId::CompareVerdictBefore,
                              StringId::CompareValueAfter,   StringId::CompareVerdictAfter, StringId::CompareChange};
  table_->setColumnCount(static_cast<int>(std::size(headers)));
  QStringList titles;
  for (StringId id : headers) titles << Tr(id);
  table_->setHorizontalHeaderLabels(titles);
  table_->verticalHeader()->hide();
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setMinimumSize(860, 420);

  auto* buttons = new QDialogButtonBox(this);
  reportButton_ = buttons->addButton(Tr(StringId::MenuCompareReport), QDialogButtonBox::ActionRole);
  reportButton_->setObjectName(QStringLiteral("compareReportButton"));
  reportButton_->setVisible(false);
  connect(reportButton_, &QPushButton::clicked, this, [this] {
    const auto pick = [this](const QComboBox* box) { return setFolders_[static_cast<std::size_t>(box->currentIndex())]; };
    if (report_ && before_->currentIndex() >= 0 && after_->currentIndex() >= 0) report_(pick(before_), pick(after_));
  });
  buttons->addButton(Tr(StringId::TrendClose), QDialogButtonBox::RejectRole)->setDefault(true);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(choices);
  layout->addWidget(table_, 1);
  layout->addWidget(buttons);

  connect(before_, &QComboBox::currentIndexChanged, this, &CCompareWindow::Rebuild);
  connect(after_, &QComboBox::currentIndexChanged, this, &CCompareWindow::Rebuild);
  Rebuild();
}

void CCompareWindow::SetReportAction(std::function<void(const std::string&, const std::string&)> report) {
  report_ = std::move(report);
  reportButton_->setVisible(static_cast<bool>(report_));
}

void CCompareWindow::Rebuild() {
  const std::string before = before_->currentText().toStdString(), after = after_->currentText().toStdString();
  const std::vector<ChannelPoint> a = PointsOfSet(model_, before, profile_);
  const std::vector<ChannelPoint> b = PointsOfSet(model_, after, profile_);
  rows_ = CompareRows(ComparePoints(a, b));

  table_->setRowCount(0);
  table_->setRowCount(static_cast<int>(rows_.size()));
  const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const CompareRow& r = rows_[i];
    const int row = static_cast<int>(i);
    table_->setItem(row, 0, Cell(KindName(r.kind)));
    table_->setItem(row, 1, Cell(QString::fromStdString(r.band)));
    table_->setItem(row, 2, Cell(QString::fromStdString(r.channel)));
    table_->setItem(row, 3, Cell(QString::fromUtf8(ReadingName(r.reading))));
    table_->setItem(row, 4, Cell(QString::fromStdString(r.before), right));
    table_->setItem(row, 5, VerdictCell(r.beforeVerdict, r.beforeMissing));
    table_->setItem(row, 6, Cell(QString::fromStdString(r.after), right));
    table_->setItem(row, 7, VerdictCell(r.afterVerdict, r.afterMissing));
    table_->setItem(row, 8, Cell(QString::fromStdString(r.change), right));
  }
  table_->resizeColumnsToContents();
}

}  // namespace rxt4
