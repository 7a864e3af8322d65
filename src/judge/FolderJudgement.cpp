#include "rxt4/judge/FolderJudgement.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <memory>
#include <thread>
#include <utility>

namespace rxt4 {
namespace {

constexpr int kMaxThreads = 4;
// Fewer set folders than this per thread are not worth a thread of their own.
constexpr std::size_t kSetFoldersPerThread = 16;

// A set folder item under a root: the kind and the item's number.
struct KindItem {
  TransferKind kind;
  int item;
};

// One set folder to judge: its kinds' items, then what judging found.
struct SetJob {
  std::vector<KindItem> kinds;
  std::atomic<bool> done{false};
};

}  // namespace

FolderJudgement::FolderJudgement(const DataFolderModel& model, const LimitsProfile& profile,
                                 const std::vector<std::string>& onlySets, JudgementObserver* observer,
                                 const JudgeOptions& options) {
  items_.assign(static_cast<std::size_t>(model.itemCount()) + 1, Verdict::None);

  // The set folder items of each chosen set folder. Under every root they follow the
  // set folders' order, so one cursor per root finds them.
  std::vector<std::unique_ptr<SetJob>> jobs;
  {
    std::array<int, DataFolderModel::kRootCount> next{};
    for (const std::string& name : model.SetFolders()) {
      const bool chosen = onlySets.empty() || std::find(onlySets.begin(), onlySets.end(), name) != onlySets.end();
      auto job = std::make_unique<SetJob>();
      for (TransferKind kind : kAllTransferKinds) {
        const int root = DataFolderModel::RootNumber(kind);
        int& cursor = next[static_cast<std::size_t>(root - 1)];
        if (cursor >= model.ChildCount(root)) continue;
        const int setItem = model.ChildAt(root, cursor);
        if (model.Label(setItem) != name) continue;
        ++cursor;
        job->kinds.push_back({kind, setItem});
      }
      if (!chosen) continue;
      sets_.emplace_back().name = name;
      jobs.push_back(std::move(job));
    }
  }

  // Set folders judged whole go to the observer in order, from this thread.
  std::size_t reported = 0;
  auto report = [&] {
    for (; reported < jobs.size() && jobs[reported]->done.load(std::memory_order_acquire); ++reported)
      if (observer) observer->SetFolderDone(reported, sets_[reported]);
  };
  // Each thread takes the next set folder in turn. A set folder's items and summary
  // are its own: threads never write the same element.
  std::atomic<std::size_t> nextJob{0};
  auto judgeSets = [&](bool reporting) {
    MeasurementJudgement judgement;
    for (std::size_t s; (s = nextJob.fetch_add(1)) < jobs.size();) {
      SetFolderSummary& set = sets_[s];
      for (const KindItem& k : jobs[s]->kinds) {
        Verdict setVerdict = Verdict::None;
        // A set folder item's measurements follow it in numbering.
        const int count = model.ChildCount(k.item);
        for (int item = k.item + 1; item <= k.item + count; ++item) {
          const CDataSet* record = model.Record(item);
          if (!record) continue;
          Verdict verdict;
          Reason reason;
          if (observer) {
            JudgeMeasurement(*record, profile, judgement);
            verdict = judgement.verdict;
            reason = judgement.reason;
            set.readings.Add(judgement.counts);
            observer->Measurement(s, set, k.kind, item, *record, judgement);
          } else {
            verdict = JudgeMeasurementVerdict(*record, profile, &set.readings, &reason);
          }
          set.measurements.Add(verdict, reason);
          items_[static_cast<std::size_t>(item)] = verdict;
          setVerdict = Worst(setVerdict, verdict);
        }
        items_[static_cast<std::size_t>(k.item)] = setVerdict;
      }
      set.verdict = set.measurements.worst();
      jobs[s]->done.store(true, std::memory_order_release);
      if (reporting) report();
    }
  };

  const int sets = static_cast<int>(std::min<std::size_t>(jobs.size(), kMaxThreads));
  const int threads =
      options.threads > 0
          ? std::clamp(options.threads, 1, std::max(sets, 1))
          : std::clamp(std::min(static_cast<int>(std::thread::hardware_concurrency()),
                                static_cast<int>(jobs.size() / kSetFoldersPerThread)),
                       1, kMaxThreads);
  {
    std::vector<std::jthread> helpers;
    for (int t = 1; t < threads; ++t) helpers.emplace_back(judgeSets, false);
    judgeSets(true);
  }  // the helpers are joined here
  report();

  // The roots take the worst of their set folder items, of those judged.
  for (const auto& job : jobs)
    for (const KindItem& k : job->kinds) {
      Verdict& root = items_[static_cast<std::size_t>(DataFolderModel::RootNumber(k.kind))];
      root = Worst(root, items_[static_cast<std::size_t>(k.item)]);
    }
  for (const SetFolderSummary& set : sets_) {
    overall_.measurements.Add(set.measurements);
    overall_.readings.Add(set.readings);
  }
  overall_.verdict = overall_.measurements.worst();
}

Verdict FolderJudgement::ItemVerdict(int number) const {
  if (number <= 0 || static_cast<std::size_t>(number) >= items_.size()) return Verdict::None;
  return items_[static_cast<std::size_t>(number)];
}

}  // namespace rxt4
