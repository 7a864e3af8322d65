#include <QDateTime>
#include <QDialog>
#include <QHeaderView>
#include <QLocale>
#include <QTreeView>
#include <algorithm>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStringList>
#include <QToolButton>
#include <QVBoxLayout>

#include "UiPrompts.h"

namespace rxt4 {
namespace {

constexpr int kFileDialogMinWidthPx = 720;  // room for the name, size, type and date columns

}  // namespace

QString Tr(StringId id) {
  std::string_view t = Text(id);
  return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
}

QString Tr(StringId id, std::initializer_list<QString> values) {
  std::vector<std::string> utf8;
  for (const QString& v : values) utf8.push_back(v.toStdString());
  const std::vector<std::string_view> views(utf8.begin(), utf8.end());
  return QString::fromStdString(FillIn(Text(id), views));
}

QDialogButtonBox* OkCancelButtons(QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(dialog);
  buttons->addButton(Tr(StringId::ButtonOk), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(Tr(StringId::ButtonCancel), QDialogButtonBox::RejectRole);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

ProgressRow LayOutProgress(QDialog* dialog, QWidget* text) {
  auto* progress = new QProgressBar(dialog);
  progress->setRange(0, 0);
  auto* cancel = new QPushButton(Tr(StringId::ButtonCancel), dialog);
  cancel->setAutoDefault(false);
  auto* row = new QHBoxLayout;
  row->addWidget(progress, 1);
  row->addWidget(cancel);
  auto* layout = new QVBoxLayout(dialog);
  layout->addWidget(text);
  layout->addLayout(row);
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  return {progress, cancel};
}

std::filesystem::path FsPath(const QString& name) { return std::filesystem::path(QFile::encodeName(name).toStdString()); }

QString DialogFilter(const QString& pipeFilter) {
  QStringList parts = pipeFilter.split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].isEmpty()) break;
    // The description already names its pattern in parentheses; the dialog takes
    // the pattern from there.
    QString entry = parts[i];
    if (!entry.contains(QLatin1Char('('))) entry += QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')');
    filters << entry;
  }
  return filters.join(QStringLiteral(";;"));
}

std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* owner, const QString& text, UiPrompts::Icon icon,
                                            const QString& caption, bool yesNo) {
  using Icon = UiPrompts::Icon;
  QMessageBox::Icon boxIcon = QMessageBox::NoIcon;
  if (icon == Icon::Information) boxIcon = QMessageBox::Information;
  if (icon == Icon::Warning) boxIcon = QMessageBox::Warning;
  if (icon == Icon::Error) boxIcon = QMessageBox::Critical;
  if (icon == Icon::Question) boxIcon = QMessageBox::Question;
  return std::make_unique<QMessageBox>(boxIcon, caption.isEmpty() ? Tr(StringId::AppCaption) : caption, text,
                                       yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, owner);
}

void GiveDateColumnRoom(QFileDialog& dialog) {
  // The detail view's last column shows the date and time of the last change: as wide
  // as the longest that the locale writes, so that it is never cut.
  auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
  if (view == nullptr) return;
  const QString longest = QLocale().toString(QDateTime(QDate(2088, 12, 28), QTime(23, 58, 58)), QLocale::ShortFormat);
  constexpr int kDateColumn = 3;
  constexpr int kPaddingPx = 24;  // the cell's margins and the sort arrow
  const int width = view->fontMetrics().horizontalAdvance(longest) + kPaddingPx;
  if (view->header()->sectionSize(kDateColumn) < width) view->header()->resizeSection(kDateColumn, width);
  dialog.resize(std::max(dialog.width(), kFileDialogMinWidthPx), dialog.height());
}

std::unique_ptr<QFileDialog> MakeFolderDialog(QWidget* owner, const QString& title, const QString& start,
                                              bool offerNewFolder) {
  auto dialog = std::make_unique<QFileDialog>(owner, title, start);
  dialog->setFileMode(QFileDialog::Directory);
  // Qt's own dialog, so that the new-folder button can be withheld: ReadOnly disables
  // it (and the menu's new-folder entry), and the button is hidden as well.
  QFileDialog::Options options = QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog;
  if (!offerNewFolder) options |= QFileDialog::ReadOnly;
  dialog->setOptions(options);
  if (auto* newFolder = dialog->findChild<QToolButton*>(QStringLiteral("newFolderButton")))
    newFolder->setVisible(offerNewFolder);
  GiveDateColumnRoom(*dialog);
  return dialog;
}

void QtUiPrompts::Inform(QWidget* owner, const QString& text, Icon icon, const QString& caption) {
  MakeMessageBox(owner, text, icon, caption, false)->exec();
}

bool QtUiPrompts::InformOrSkipRest(QWidget* owner, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, Tr(StringId::AppCaption), text, QMessageBox::Ok, owner);
  QPushButton* skip = box.addButton(Tr(StringId::SkipLoadMessages), QMessageBox::ActionRole);
  box.setDefaultButton(QMessageBox::Ok);
  box.setEscapeButton(QMessageBox::Ok);  // Esc dismisses this message only
  box.exec();
  return box.clickedButton() == skip;
}

void QtUiPrompts::InformWithDetails(QWidget* owner, const QString& text, const QString& details, Icon icon) {
  std::unique_ptr<QMessageBox> box = MakeMessageBox(owner, text, icon, QString(), false);
  box->setDetailedText(details);
  box->exec();
}

bool QtUiPrompts::AskYesNo(QWidget* owner, const QString& text, const QString& caption) {
  return MakeMessageBox(owner, text, Icon::None, caption, true)->exec() == QMessageBox::Yes;
}

std::optional<QString> QtUiPrompts::ChooseFolder(QWidget* owner, const QString& title, const QString& start,
                                                 bool offerNewFolder) {
  std::unique_ptr<QFileDialog> dialog = MakeFolderDialog(owner, title, start, offerNewFolder);
  if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return std::nullopt;
  return dialog->selectedFiles().front();
}

std::optional<QString> QtUiPrompts::ChooseSaveFile(QWidget* owner, const QString& title, const QString& proposed,
                                                   const QString& filter, const QString& defaultSuffix) {
  QFileDialog dialog(owner, title);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters(filter.split(QStringLiteral(";;")));
  dialog.setDefaultSuffix(defaultSuffix);
  // Without a fixed suffix, the chosen file type gives a name without one its own
  // ("*.xlsx" → ".xlsx"), and the proposed name takes it.
  if (defaultSuffix.isEmpty())
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& chosen) {
      const qsizetype star = chosen.indexOf(QLatin1String("*."));
      if (star < 0) return;
      QString suffix = chosen.mid(star + 2);
      const qsizetype end = suffix.indexOf(QRegularExpression(QStringLiteral("[^A-Za-z0-9]")));
      if (end >= 0) suffix.truncate(end);
      dialog.setDefaultSuffix(suffix);
      const QStringList files = dialog.selectedFiles();
      if (!files.isEmpty() && !files.front().isEmpty())
        dialog.selectFile(QFileInfo(files.front()).completeBaseName() + QLatin1Char('.') + suffix);
    });
  if (!proposed.isEmpty()) dialog.selectFile(proposed);
  GiveDateColumnRoom(dialog);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front();
}

std::optional<QString> QtUiPrompts::ChooseOpenFile(QWidget* owner, const QString& filter, const QString& defaultSuffix) {
  QFileDialog dialog(owner);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters(filter.split(QStringLiteral(";;")));
  dialog.setDefaultSuffix(defaultSuffix);
  GiveDateColumnRoom(dialog);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front();
}

}  // namespace rxt4
