#include "rxt4/judge/FolderJudgement.h"

#include <algorithm>
#include <array>

namespace rxt4 {

FolderJudgement::FolderJudgement(const DataFolderModel& model, const LimitsProfile& profile,
                                 const std::vector<std::string>& onlySets, JudgementObserver* observer) {
  items_.assign(static_cast<std::size_t>(model.itemCount()) + 1, Verdict::None);
  // Under every root the set folder items follow the set folders' order: one cursor
  // per root walks them set folder by set folder.
  std::array<int, DataFolderModel::kRootCount> next{};
  MeasurementJudgement judgement;
  for (const std::string& name : model.SetFolders()) {
    const bool chosen = onlySets.empty() || std::find(onlySets.begin(), onlySets.end(), name) != onlySets.end();
    SetFolderSummary set;
    set.name = name;
    for (TransferKind kind : kAllTransferKinds) {
      const int root = DataFolderModel::RootNumber(kind);
      int& cursor = next[static_cast<std::size_t>(root - 1)];
      if (cursor >= model.ChildCount(root)) continue;
      const int setItem = model.ChildAt(root, cursor);
      if (model.Label(setItem) != name) continue;
      ++cursor;
      if (!chosen) continue;
      Verdict setVerdict = Verdict::None;
      const int count = model.ChildCount(setItem);
      for (int m = 0; m < count; ++m) {
        const int item = model.ChildAt(setItem, m);
        const CDataSet* record = model.Record(item);
        if (!record) continue;
        Verdict verdict;
        Reason reason;
        if (observer) {
          JudgeMeasurement(*record, profile, judgement);
          verdict = judgement.verdict;
          reason = judgement.reason;
          set.readings.Add(judgement.counts);
        } else {
          verdict = JudgeMeasurementVerdict(*record, profile, &set.readings, &reason);
        }
        set.measurements.Add(verdict, reason);
        items_[static_cast<std::size_t>(item)] = verdict;
        setVerdict = Worst(setVerdict, verdict);
        if (observer) observer->Measurement(set, kind, item, *record, judgement);
      }
      items_[static_cast<std::size_t>(setItem)] = setVerdict;
      items_[static_cast<std::size_t>(root)] = Worst(items_[static_cast<std::size_t>(root)], setVerdict);
    }
    if (!chosen) continue;
    set.verdict = set.measurements.worst();
    if (observer) observer->SetFolderDone(set);
    overall_.measurements.Add(set.measurements);
    overall_.readings.Add(set.readings);
    sets_.push_back(std::move(set));
  }
  overall_.verdict = overall_.measurements.worst();
}

Verdict FolderJudgement::ItemVerdict(int number) const {
  if (number <= 0 || static_cast<std::size_t>(number) >= items_.size()) return Verdict::None;
  return items_[static_cast<std::size_t>(number)];
}

}  // namespace rxt4
