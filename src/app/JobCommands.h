#pragma once
// 編集 → 案件情報...: the job record of the set folder the tree's current item belongs
// to; 編集 → ラベル・備考...: the label and remark of the current measurement;
// オプション → 会社情報...: the company record in the settings folder. Each reads its
// record (one that cannot be read is said, and replaced only when the user agrees),
// shows its form and writes what was entered, staged; a failure is said with the file
// and the reason, and the earlier file stays as it was.

#include <filesystem>

class QWidget;

namespace rxt4 {

struct ReportSource;
class UiPrompts;

void JobRecordCommand(QWidget* owner, const ReportSource& source, UiPrompts& prompts);
void MeasurementNoteCommand(QWidget* owner, const ReportSource& source, UiPrompts& prompts);
void CompanyCommand(QWidget* owner, const std::filesystem::path& settingsFolder, UiPrompts& prompts);

}  // namespace rxt4
