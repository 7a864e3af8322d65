#include "DataTreeModel.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <utility>

#include "VerdictMarks.h"
#include "rxt4/data/Kinds.h"
#include "rxt4/data/Strings.h"

namespace rxt4 {
namespace {

constexpr QChar kFigureSpace(0x2007);

}  // namespace

DataTreeModel::DataTreeModel(const DataFolderModel& data, QObject* parent) : QAbstractItemModel(parent), data_(data) {}

int DataTreeModel::ItemNumber(const QModelIndex& index) {
  return index.isValid() ? static_cast<int>(index.internalId()) : 0;
}

QModelIndex DataTreeModel::IndexOf(int number) const {
  if (number <= 0 || number > data_.itemCount()) return {};
  return createIndex(data_.RowInParent(number), 0, static_cast<quintptr>(number));
}

QModelIndex DataTreeModel::FirstMeasurementOf(const QString& setFolder) const {
  // Set folders are labelled with their names as the file system gives them.
  const std::string name = QFile::encodeName(setFolder).toStdString();
  for (TransferKind kind : kAllTransferKinds) {
    const int root = DataFolderModel::RootNumber(kind);
    for (int row = 0; row < data_.ChildCount(root); ++row) {
      const int folder = data_.ChildAt(root, row);
      if (data_.Label(folder) == name && data_.ChildCount(folder) > 0) return IndexOf(data_.ChildAt(folder, 0));
    }
  }
  return {};
}

QModelIndex DataTreeModel::index(int row, int column, const QModelIndex& parent) const {
  int parentNumber = ItemNumber(parent);
  if (column != 0 || row < 0 || row >= data_.ChildCount(parentNumber)) return {};
  return createIndex(row, 0, static_cast<quintptr>(data_.ChildAt(parentNumber, row)));
}

QModelIndex DataTreeModel::parent(const QModelIndex& child) const {
  int p = data_.Parent(ItemNumber(child));
  return p == 0 ? QModelIndex() : IndexOf(p);
}

int DataTreeModel::rowCount(const QModelIndex& parent) const {
  if (parent.column() > 0) return 0;
  return data_.ChildCount(ItemNumber(parent));
}

int DataTreeModel::columnCount(const QModelIndex&) const { return 1; }

bool DataTreeModel::hasChildren(const QModelIndex& parent) const { return rowCount(parent) > 0; }

void DataTreeModel::SetVerdictSource(VerdictSource source, int markPx) {
  verdicts_ = std::move(source);
  for (Verdict v : {Verdict::None, Verdict::Pass, Verdict::Caution, Verdict::Fail})
    marks_[static_cast<std::size_t>(v)] = VerdictIcon(v, markPx);
  VerdictsChanged();
}

void DataTreeModel::VerdictsChanged() { RootsChanged({Qt::DecorationRole, Qt::ToolTipRole}); }

void DataTreeModel::TextsChanged() { RootsChanged({Qt::DisplayRole, Qt::ToolTipRole}); }

void DataTreeModel::RootsChanged(const QList<int>& roles) {
  // A range of more than one index has the view draw all it shows again.
  const int roots = rowCount();
  if (roots > 0) emit dataChanged(index(0, 0), index(roots - 1, 0), roles);
}

QVariant DataTreeModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int number = ItemNumber(index);
  if ((role == Qt::DecorationRole || role == Qt::ToolTipRole) && verdicts_) {
    const Verdict verdict = verdicts_(number);
    if (role == Qt::DecorationRole) return marks_[static_cast<std::size_t>(verdict)];
    return QString::fromUtf8(VerdictText(verdict).data(), static_cast<qsizetype>(VerdictText(verdict).size()));
  }
  if (role != Qt::DisplayRole) return {};
  // A kind root in the current language (the loaded model keeps the texts of its load).
  if (number <= DataFolderModel::kRootCount && data_.Parent(number) == 0) {
    const std::string_view root = Text(RootTextId(static_cast<TransferKind>(number - 1)));
    return QString::fromUtf8(root.data(), static_cast<qsizetype>(root.size()));
  }
  QString label = QString::fromStdString(data_.Label(number));
  // A measurement's number is padded to three places: with figure spaces, as wide as
  // a digit, the numbers line up (a blank is half a digit in most fonts).
  if (data_.Kind(number) != DataKind::None)
    for (qsizetype i = 0; i < label.size() && label[i] == QLatin1Char(' '); ++i) label[i] = kFigureSpace;
  return label;
}

QFont DataTreeModel::WithTabularDigits(const QFont& font) {
  // The figure spaces that pad the numbers are drawn as blanks of a digit's width
  // (TreeItemDelegate): the digits alone must share one width.
  const QFontMetricsF metrics(font);
  const qreal width = metrics.horizontalAdvance(QLatin1Char('0'));
  bool tabular = true;
  for (char digit = '1'; digit <= '9'; ++digit)
    tabular = tabular && metrics.horizontalAdvance(QLatin1Char(digit)) == width;
  if (tabular) return font;
  QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  if (font.pointSizeF() > 0) fixed.setPointSizeF(font.pointSizeF());
  else fixed.setPixelSize(font.pixelSize());
  return fixed;
}

}  // namespace rxt4
