#include "JobCommands.h"

#include <string>
#include <system_error>
#include <vector>

#include "JobRecordDlg.h"
#include "ReportCommands.h"
#include "UiPrompts.h"
#include "rxt4/data/DataFolderModel.h"
#include "rxt4/data/JobRecord.h"
#include "rxt4/data/Sjis.h"

namespace rxt4 {
namespace {

QString FromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The set folder of the current item; empty when it belongs to none.
std::filesystem::path SetFolderOf(const ReportSource& source) {
  const std::vector<std::string> sets = SelectedSetFolders(source);
  if (sets.size() != 1) return {};
  return std::filesystem::path(source.dataFolder) / sets.front();
}

// False when a record that cannot be read is to be kept (the user said no).
bool MayReplace(QWidget* owner, const RecordError& error, UiPrompts& prompts) {
  return !error || prompts.AskYesNo(owner, Tr(StringId::RecordReplaceDamaged, {FromUtf8(error.Text())}));
}

}  // namespace

void JobRecordCommand(QWidget* owner, const ReportSource& source, UiPrompts& prompts) {
  const std::filesystem::path setFolder = SetFolderOf(source);
  if (setFolder.empty()) {
    prompts.Inform(owner, Tr(StringId::JobNoSetFolder), UiPrompts::Icon::Information);
    return;
  }
  JobRecordRead read = ReadJobRecord(setFolder);
  if (!MayReplace(owner, read.error, prompts)) return;
  CJobRecordDlg dialog(FromUtf8(setFolder.filename().string()), read.record, prompts, owner);
  if (dialog.exec() != QDialog::Accepted) return;
  RecordError error;
  if (!WriteJobRecord(setFolder, dialog.record(), error))
    prompts.Inform(owner, Tr(StringId::JobSaveFailed, {FromUtf8(error.Text())}), UiPrompts::Icon::Error);
}

void MeasurementNoteCommand(QWidget* owner, const ReportSource& source, UiPrompts& prompts) {
  const CDataSet* record = source.data && source.currentItem > 0 ? source.data->Record(source.currentItem) : nullptr;
  const std::filesystem::path setFolder = SetFolderOf(source);
  if (record == nullptr || record->kind == DataKind::None || setFolder.empty()) {
    prompts.Inform(owner, Tr(StringId::JobNoMeasurement), UiPrompts::Icon::Information);
    return;
  }
  const MeasurementKey key{FindKind(record->kind)->transfer, record->index};
  JobRecordRead read = ReadJobRecord(setFolder);
  if (!MayReplace(owner, read.error, prompts)) return;
  const MeasurementNote* note = read.record.Note(key.kind, key.number);
  // The data name as the instrument stored it (Shift-JIS), without its padding.
  QString dataName = FromUtf8(DecodeSjis(record->firstRow().Field(1))).trimmed();
  CMeasurementNoteDlg dialog(dataName, note ? *note : MeasurementNote{}, prompts, owner);
  if (dialog.exec() != QDialog::Accepted) return;
  read.record.SetNote(key, dialog.note());
  RecordError error;
  if (!WriteJobRecord(setFolder, read.record, error))
    prompts.Inform(owner, Tr(StringId::JobSaveFailed, {FromUtf8(error.Text())}), UiPrompts::Icon::Error);
}

void CompanyCommand(QWidget* owner, const std::filesystem::path& settingsFolder, UiPrompts& prompts) {
  const std::filesystem::path file = CompanyRecordPath(settingsFolder);
  CompanyRecordRead read = ReadCompanyRecord(file);
  if (!MayReplace(owner, read.error, prompts)) return;
  CCompanyDlg dialog(read.record, prompts, owner);
  if (dialog.exec() != QDialog::Accepted) return;
  std::error_code ec;
  std::filesystem::create_directories(settingsFolder, ec);
  RecordError error;
  if (!WriteCompanyRecord(file, dialog.record(), error))
    prompts.Inform(owner, Tr(StringId::CompanySaveFailed, {FromUtf8(error.Text())}), UiPrompts::Icon::Error);
}

}  // namespace rxt4
