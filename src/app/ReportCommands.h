#pragma once
// ファイル → レポートを作成... and ファイル → エクスポート...: the measurements of the set
// folder selected in the tree (or of the whole data folder when a root or nothing is
// selected), a save dialog, the job in a progress dialog, and the outcome in a
// message box.

#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace rxt4 {

class DataFolderModel;
class FontSet;
class UiPrompts;

// What the commands read of the main window.
struct ReportSource {
  const DataFolderModel* data = nullptr;
  std::string dataFolder;  // as the file system takes it
  int currentItem = 0;     // the tree's current item number (0: none)
};

// The set folder the current item belongs to (a set folder item or a measurement);
// none (all set folders) for a root or no item.
std::vector<std::string> SelectedSetFolders(const ReportSource& source);

void ReportCommand(QWidget* owner, const ReportSource& source, UiPrompts& prompts,
                   std::shared_ptr<const FontSet> fonts);
// 比較レポート...: the report of two set folders, before and after an adjustment, with
// a compare page per kind (the same report as rxt4 report --compare BEFORE AFTER).
void CompareReportCommand(QWidget* owner, const ReportSource& source, const std::string& before,
                          const std::string& after, UiPrompts& prompts, std::shared_ptr<const FontSet> fonts);
void ExportCommand(QWidget* owner, const ReportSource& source, UiPrompts& prompts);

}  // namespace rxt4
