#pragma once
// 表示 → 推移... and 表示 → 比較...: the visits of one installation, from the main
// window's data folder and tree selection, judged with the profile in use.

class QWidget;

namespace rxt4 {

class LimitsProfile;
class UiPrompts;
struct ReportSource;

// The chart of the selected measurement's place across every set folder; says so
// when no measurement with a judged reading is selected. profile: the one the viewer
// judges with; null for テレビ端子 (from the settings folder or the installed ones).
void TrendCommand(QWidget* owner, const ReportSource& source, const LimitsProfile* profile, UiPrompts& prompts);
// Two set folders compared: the selected one (or the last) after the one before it.
void CompareCommand(QWidget* owner, const ReportSource& source, const LimitsProfile* profile, UiPrompts& prompts);

}  // namespace rxt4
