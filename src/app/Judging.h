#pragma once
// The viewer's judging of the open data folder: the limits profile in use (chosen under
// オプション → 判定基準 and kept in the settings file), the verdict of every tree item,
// which the tree shows as marks, and the verdict line of the measurement shown.
// Another profile is read whole before it takes the place of the one in use (a file
// that does not parse is refused with its file, line and reason, and nothing
// changes); the tree is then judged again at once, from the model already loaded.
// Judging the 1,000-set archive again takes under a tenth of a second
// (bench/judge.cpp), so it is done on the user-interface thread.

#include <QObject>
#include <filesystem>
#include <memory>
#include <string>

#include "rxt4/data/DataFolderModel.h"
#include "rxt4/judge/FolderJudgement.h"
#include "rxt4/judge/LimitsProfile.h"
#include "rxt4/judge/MeasurementJudge.h"
#include "rxt4/judge/ProfileCatalog.h"
#include "rxt4/judge/VerdictLineFormatter.h"

class QMenu;
class QTreeView;
class QWidget;

namespace rxt4 {

class DataTreeModel;
class SettingsFile;
class UiPrompts;
class VerdictLine;

class Judging : public QObject {
  Q_OBJECT
 public:
  // Marks the tree's items and follows its current item with the verdict line, which
  // it makes (a child of window, for the window's layout to place).
  Judging(const DataFolderModel& data, QTreeView& tree, DataTreeModel& model, SettingsFile& settings,
          UiPrompts& prompts, QWidget& window);
  ~Judging() override;

  VerdictLine& line() const { return *line_; }
  // The 判定基準 submenu of menu: the profiles found, listed afresh each time it opens.
  QMenu* AddMenu(QMenu& menu);

  // At start: the profile of the settings file, else the default one (a remembered
  // profile that cannot be read is said so, with its file, line and reason).
  void UseRemembered();
  // Chooses the profile of a file (the menu's entries): false, after saying why, when
  // it cannot be read; the profile in use then stays. On success the choice is stored
  // and the tree judged again.
  bool Choose(const std::filesystem::path& file);
  // Judges the data folder as it is loaded now (after every load and profile change).
  void Judge();
  // The display language changed: the verdict line in its words (the formatter keeps
  // the texts of the language it was made in).
  void Retranslate();

  const LimitsProfile& profile() const { return profile_; }
  Verdict ItemVerdict(int number) const { return judgement_.ItemVerdict(number); }
  // The verdict line's text for a record: its judged readings, each as ReadingLine
  // gives it, channel and field rows named as rxt4 check names them.
  QString LineText(const CDataSet& record);

 private:
  void FillMenu();
  void ShowLine();

  const DataFolderModel& data_;
  QTreeView& tree_;
  DataTreeModel& model_;
  SettingsFile& settings_;
  UiPrompts& prompts_;
  QWidget& window_;
  ProfileCatalog catalog_;
  LimitsProfile profile_;
  std::unique_ptr<VerdictLineFormatter> lines_;
  FolderJudgement judgement_;
  MeasurementJudgement scratch_;
  VerdictLine* line_ = nullptr;
  QMenu* menu_ = nullptr;
};

}  // namespace rxt4
