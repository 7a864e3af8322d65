#pragma once
// 表示 → 推移... and 表示 → 比較...: the visits of one installation, from the main
// window's data folder and tree selection, judged with the profile in use.

#include <memory>

class QWidget;

namespace rxt4 {

class FontSet;
class LimitsProfile;
class UiPrompts;
struct ReportSource;

// The chart of the selected measurement's place across every set folder; says so
// when no measurement with a judged reading is selected. profile: the one the viewer
// judges with (オプション → 判定基準).
void TrendCommand(QWidget* owner, const ReportSource& source, const LimitsProfile& profile, UiPrompts& prompts);
// Two set folders compared: the selected one (or the last) after the one before it.
// fonts, when given, offer 比較レポート... in the window (the report of the two set
// folders chosen, with its compare pages).
void CompareCommand(QWidget* owner, const ReportSource& source, const LimitsProfile& profile, UiPrompts& prompts,
                    std::shared_ptr<const FontSet> fonts = nullptr);

}  // namespace rxt4
