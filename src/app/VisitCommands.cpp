#include "VisitCommands.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "CompareWindow.h"
#include "ReportCommands.h"
#include "TrendWindow.h"
#include "UiPrompts.h"
#include "rxt4/data/DataFolderModel.h"
#include "rxt4/judge/ProfileCatalog.h"
#include "rxt4/judge/Trend.h"
#include "rxt4/link/SettingsFile.h"

namespace rxt4 {

namespace {

// The 測定日時 of the set folders that have a job record.
std::map<std::string, std::string> MeasuredAt(const ReportSource&) { return {}; }

// The set folders with data, in visit order.
std::vector<std::string> Visits(const DataFolderModel& model, const std::map<std::string, std::string>& dates) {
  std::vector<std::string> withData;
  for (const TrendVisit& visit : VisitOrder(model, dates)) {
    bool has = false;
    for (TransferKind kind : kAllTransferKinds) {
      const int root = DataFolderModel::RootNumber(kind);
      for (int i = 0; i < model.ChildCount(root) && !has; ++i) has = model.Label(model.ChildAt(root, i)) == visit.setFolder;
    }
    if (has) withData.push_back(visit.setFolder);
  }
  return withData;
}

// The profile given, else the default one; false after saying why it cannot be read.
bool ProfileToUse(QWidget* owner, UiPrompts& prompts, const LimitsProfile* given, LimitsProfile& profile) {
  if (given) {
    profile = *given;
    return true;
  }
  const ProfileCatalog catalog = ProfileCatalog::Standard(DefaultSettingsPath().parent_path());
  ProfileError error;
  if (catalog.Find(kDefaultProfileName, profile, error)) return true;
  prompts.Inform(owner,
                 QString::fromStdString(error.file.empty() ? error.reason
                                                           : FillIn(Text(StringId::ProfileUnreadable), {error.Text()})),
                 UiPrompts::Icon::Error);
  return false;
}

}  // namespace

void TrendCommand(QWidget* owner, const ReportSource& source, const LimitsProfile* given, UiPrompts& prompts) {
  const CDataSet* record = source.data ? source.data->Record(source.currentItem) : nullptr;
  if (!record || source.data->Kind(source.currentItem) == DataKind::None) {
    prompts.Inform(owner, Tr(StringId::TrendSelectMeasurement), UiPrompts::Icon::Information);
    return;
  }
  LimitsProfile profile;
  if (!ProfileToUse(owner, prompts, given, profile)) return;
  MeasurementJudgement judgement;
  JudgeMeasurement(*record, profile, judgement);
  std::vector<PointKey> places;
  std::optional<Reading> first;
  for (const PartJudgement& part : judgement.parts) {
    if (part.count == 0) continue;
    if (!first) first = judgement.readings[part.first].reading;
    const PointKey key{TransferKind::None, part.band, part.channel};
    if (std::find(places.begin(), places.end(), key) == places.end()) places.push_back(key);
  }
  if (places.empty()) {
    prompts.Inform(owner, Tr(StringId::TrendNoPlace), UiPrompts::Icon::Information);
    return;
  }
  CTrendWindow window(*source.data, MeasuredAt(source), profile, std::move(places), *first, prompts, owner);
  window.exec();
}

void CompareCommand(QWidget* owner, const ReportSource& source, const LimitsProfile* given, UiPrompts& prompts) {
  const std::vector<std::string> visits =
      source.data ? Visits(*source.data, MeasuredAt(source)) : std::vector<std::string>();
  if (visits.size() < 2) {
    prompts.Inform(owner, Tr(StringId::CompareNeedTwo), UiPrompts::Icon::Information);
    return;
  }
  std::size_t after = visits.size() - 1;
  const std::vector<std::string> selected = SelectedSetFolders(source);
  if (!selected.empty()) {
    const auto at = std::find(visits.begin(), visits.end(), selected.front());
    if (at != visits.end()) after = static_cast<std::size_t>(at - visits.begin());
  }
  LimitsProfile profile;
  if (!ProfileToUse(owner, prompts, given, profile)) return;
  // The visit before; for the first, the one after it.
  const std::size_t before = after > 0 ? after - 1 : 1;
  CCompareWindow window(*source.data, profile, visits, std::min(before, after), std::max(before, after), owner);
  window.exec();
}

}  // namespace rxt4
