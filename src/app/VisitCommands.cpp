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
#include "rxt4/judge/Trend.h"

namespace rxt4 {

namespace {

// The 測定日時 of the set folders whose job record gives one (a record that cannot be
// read gives none).
std::map<std::string, std::string> MeasuredAt(const ReportSource& source) {
  return ReadMeasuredAt(source.dataFolder, source.data->SetFolders());
}

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

}  // namespace

void TrendCommand(QWidget* owner, const ReportSource& source, const LimitsProfile& profile, UiPrompts& prompts) {
  const CDataSet* record = source.data ? source.data->Record(source.currentItem) : nullptr;
  if (!record || source.data->Kind(source.currentItem) == DataKind::None) {
    prompts.Inform(owner, Tr(StringId::TrendSelectMeasurement), UiPrompts::Icon::Information);
    return;
  }
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

void CompareCommand(QWidget* owner, const ReportSource& source, const LimitsProfile& profile, UiPrompts& prompts,
                    std::shared_ptr<const FontSet> fonts) {
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
  // The visit before; for the first, the one after it.
  const std::size_t before = after > 0 ? after - 1 : 1;
  CCompareWindow window(*source.data, profile, visits, std::min(before, after), std::max(before, after), owner);
  if (fonts)
    window.SetReportAction([&window, &source, &prompts, fonts](const std::string& a, const std::string& b) {
      CompareReportCommand(&window, source, a, b, prompts, fonts);
    });
  window.exec();
}

}  // namespace rxt4
