#include "ReportCommands.h"

#include <QDir>
#include <QFileInfo>
#include <ctime>
#include <optional>

#include "ReportDlg.h"
#include "UiPrompts.h"
#include "rxt4/data/DataFolderModel.h"
#include "rxt4/judge/ProfileCatalog.h"
#include "rxt4/link/SettingsFile.h"
#include "rxt4/report/Export.h"
#include "rxt4/report/Report.h"

namespace rxt4 {

namespace {

QString FromFs(const std::string& name) { return QFile::decodeName(QByteArray::fromStdString(name)); }

// The measurements to report, or nothing (after saying so) when there are none.
std::optional<MeasurementSelection> Selection(QWidget* owner, const ReportSource& source, UiPrompts& prompts) {
  if (source.data != nullptr) {
    MeasurementSelection selection = SelectMeasurements(*source.data, source.dataFolder, SelectedSetFolders(source));
    if (!selection.measurements.empty()) return selection;
  }
  prompts.Inform(owner, Tr(StringId::ReportNothing), UiPrompts::Icon::Information);
  return std::nullopt;
}

// The proposed file: beside the data folder, named after the set folder or the data folder.
QString Proposed(const ReportSource& source, const MeasurementSelection& selection, const char* suffix) {
  const QFileInfo folder(FromFs(source.dataFolder));
  const QString name = selection.setFolders.size() == 1 ? FromFs(selection.setFolders.front()) : folder.fileName();
  return folder.dir().filePath(name + QLatin1String(suffix));
}

// Runs the job in the progress dialog and tells the user how it ended.
void RunJob(QWidget* owner, UiPrompts& prompts, StringId running, StringId done, StringId failed, const QString& target,
            ReportJob::Work work) {
  CReportDlg dialog(Tr(running), std::move(work), owner);
  const JobOutcome outcome = dialog.Run();
  if (outcome.status == JobOutcome::Status::Cancelled) return;
  if (!outcome.done()) {
    prompts.Inform(owner, Tr(failed, {QString::fromStdString(outcome.message)}),
                   UiPrompts::Icon::Error);
    return;
  }
  const QString text = Tr(done, {target});
  const QStringList& warnings = dialog.warnings();
  if (warnings.isEmpty()) {
    prompts.Inform(owner, text, UiPrompts::Icon::Information);
    return;
  }
  // How many, and behind the details button what each of them says.
  prompts.InformWithDetails(
      owner, text + QLatin1Char('\n') + Tr(StringId::ReportWarnings, {QString::number(warnings.size())}),
      Tr(StringId::ReportWarningList) + QLatin1Char('\n') + warnings.join(QLatin1Char('\n')), UiPrompts::Icon::Warning);
}

}  // namespace

std::vector<std::string> SelectedSetFolders(const ReportSource& source) {
  if (source.data == nullptr || source.currentItem <= 0) return {};
  const DataFolderModel& data = *source.data;
  const int setItem =
      data.Kind(source.currentItem) != DataKind::None ? data.Parent(source.currentItem) : source.currentItem;
  if (setItem <= 0 || data.Parent(setItem) == 0) return {};  // a root
  return {data.Label(setItem)};
}

namespace {

// The report of the selection (of the two set folders compared, with their compare
// pages, when compare is given): a save dialog, then the job.
void WriteReportOf(QWidget* owner, const ReportSource& source, std::optional<std::pair<std::string, std::string>> compare,
                   UiPrompts& prompts, std::shared_ptr<const FontSet> fonts) {
  std::optional<MeasurementSelection> selection;
  if (compare && source.data != nullptr)
    selection = SelectMeasurements(*source.data, source.dataFolder, {compare->first, compare->second});
  else if (!compare)
    selection = Selection(owner, source, prompts);
  if (!selection) return;
  const QString proposed =
      compare ? QFileInfo(FromFs(source.dataFolder))
                    .dir()
                    .filePath(FromFs(compare->first) + QLatin1Char('-') + FromFs(compare->second) + QLatin1String(".pdf"))
              : Proposed(source, *selection, ".pdf");
  const std::optional<QString> path = prompts.ChooseSaveFile(owner, Tr(StringId::ReportDialogTitle), proposed,
                                                             DialogFilter(Tr(StringId::ReportFilter)), QStringLiteral("pdf"));
  if (!path) return;
  ReportOptions options;
  const std::time_t now = std::time(nullptr);
  options.date = ReportDateText(now);
  options.number = ReportNumberText(now);
  options.screenFonts = std::move(fonts);
  options.compare = std::move(compare);
  // The limits the viewer judges with (else the default profile; one that cannot be
  // read leaves the report without verdicts, as the summary says).
  auto profile = std::make_shared<LimitsProfile>();
  ProfileError error;
  if (source.profile != nullptr)
    *profile = *source.profile;
  if (source.profile != nullptr ||
      ProfileCatalog::Standard(DefaultSettingsPath().parent_path()).Find(kDefaultProfileName, *profile, error))
    options.profile = std::move(profile);
  auto shared = std::make_shared<const MeasurementSelection>(std::move(*selection));
  const std::filesystem::path file = FsPath(*path);
  const std::filesystem::path settingsFolder = DefaultSettingsPath().parent_path();
  RunJob(owner, prompts, StringId::ReportRunning, StringId::ReportDone, StringId::ReportFailed, *path,
         [shared, file, options, settingsFolder](JobObserver& o, const std::atomic<bool>& abort) {
           ReportOptions withRecords = options;
           TakeRecords(*shared, settingsFolder, withRecords, o);
           return WriteReport(*shared, file, withRecords, o, abort);
         });
}

}  // namespace

void ReportCommand(QWidget* owner, const ReportSource& source, UiPrompts& prompts,
                   std::shared_ptr<const FontSet> fonts) {
  WriteReportOf(owner, source, std::nullopt, prompts, std::move(fonts));
}

void CompareReportCommand(QWidget* owner, const ReportSource& source, const std::string& before,
                          const std::string& after, UiPrompts& prompts, std::shared_ptr<const FontSet> fonts) {
  WriteReportOf(owner, source, std::make_pair(before, after), prompts, std::move(fonts));
}

void ExportCommand(QWidget* owner, const ReportSource& source, UiPrompts& prompts) {
  std::optional<MeasurementSelection> selection = Selection(owner, source, prompts);
  if (!selection) return;
  // The verdicts are the default profile's (the user's edited copy of it first).
  ExportOptions options;
  ProfileError error;
  if (!ProfileCatalog::Standard(DefaultSettingsPath().parent_path()).Find(kDefaultProfileName, options.profile, error)) {
    prompts.Inform(owner, Tr(StringId::ExportFailed, {QString::fromStdString(error.file.empty() ? error.reason : error.Text())}),
                   UiPrompts::Icon::Error);
    return;
  }
  const std::optional<QString> path =
      prompts.ChooseSaveFile(owner, Tr(StringId::ExportDialogTitle), Proposed(source, *selection, ".db"),
                             DialogFilter(Tr(StringId::ExportFilter)), QString());
  if (!path) return;
  // The file type by the name's extension: ".csv" stands for a folder of CSV files,
  // ".xlsx" for an Excel workbook; anything else is the database file (".db" added
  // when the name has no extension).
  enum class Format { Sqlite, Csv, Xlsx };
  const Format format = path->endsWith(QLatin1String(".csv"), Qt::CaseInsensitive)    ? Format::Csv
                        : path->endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive) ? Format::Xlsx
                                                                                       : Format::Sqlite;
  QString target = *path;
  if (format == Format::Csv)
    target.chop(4);
  else if (QFileInfo(target).suffix().isEmpty())
    target += QLatin1String(".db");
  auto shared = std::make_shared<const MeasurementSelection>(std::move(*selection));
  const std::filesystem::path file = FsPath(target);
  RunJob(owner, prompts, StringId::ExportRunning, StringId::ExportDone, StringId::ExportFailed, target,
         [shared, file, format, options](JobObserver& o, const std::atomic<bool>& abort) {
           switch (format) {
             case Format::Csv: return ExportCsv(*shared, file, options, o, abort);
             case Format::Xlsx: return ExportXlsx(*shared, file, options, o, abort);
             case Format::Sqlite: break;
           }
           return ExportSqlite(*shared, file, options, o, abort);
         });
}

}  // namespace rxt4
